#pragma once
// Composites a frame's layers (Compositor.h) with an SDL renderer on the graphics processor: each layer
// becomes a texture once, and each frame draws textured quads with SDL_RenderGeometry through any
// affine transform, with the view's opacity. Clips are rectangles of the target (scroll views and panels
// are upright), and a group is drawn into a texture of its own that is then blended with its opacity.
//
// Textures follow the layers: a texture whose layer a frame did not use is destroyed after that frame.

#include "Platform/Compositor.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

struct SDL_Renderer;
struct SDL_Texture;

namespace ui {

class GpuCompositor {
public:
    // Whether `renderer` can: blending of premultiplied colour and drawing into textures (the software
    // renderer cannot; the window then shows frames composited with Cairo).
    static bool isSupported(SDL_Renderer* renderer);
    explicit GpuCompositor(SDL_Renderer* renderer);
    ~GpuCompositor();
    GpuCompositor(const GpuCompositor&) = delete;
    GpuCompositor& operator=(const GpuCompositor&) = delete;

    // Draws `composition` into the renderer's window with screen point (0, 0) at pixel `origin`, clipped
    // to the screen. The renderer's target must be the window.
    void draw(const Composition& composition, Point origin);
    // Layer textures held now, in bytes.
    std::size_t textureBytes() const { return textureBytes_; }

private:
    struct Cached {
        SDL_Texture* texture = nullptr;
        std::size_t bytes = 0;
        std::uint64_t frame = 0;
    };
    // A texture being drawn into: the window or a group's texture. Clips are in its pixels.
    struct Target {
        SDL_Texture* texture = nullptr;
        Point origin; // where screen point (0, 0) is in its pixels
        std::vector<Rect> clips;
        Rect box; // a group's place in the window's pixels
        Float opacity = 1;
    };

    SDL_Texture* textureFor(const Layer& layer);
    void fill(const CompositeItem& item);
    void drawLayer(const CompositeItem& item);
    Point toPixels(const AffineTransform& toRoot, Point point) const;
    void quad(SDL_Texture* texture, const AffineTransform& toRoot, const Rect& rect, Float r, Float g,
              Float b, Float a);
    void quadInPixels(SDL_Texture* texture, const Rect& rect, Float r, Float g, Float b, Float a);
    void drawQuad(SDL_Texture* texture, const std::array<Point, 4>& corners, Float r, Float g, Float b,
                  Float a);
    void pushClip(const CompositeItem& item);
    void popClip();
    void pushGroup(const CompositeItem& item);
    void popGroup();
    void applyClip();
    bool clippedAway() const;
    void endFrame();

    SDL_Renderer* renderer_;
    int blendMode_ = 0;
    std::unordered_map<std::uint64_t, Cached> textures_;
    std::vector<Target> targets_;
    std::vector<SDL_Texture*> groupTextures_;
    Float scale_ = 1;
    std::uint64_t frame_ = 0;
    std::size_t textureBytes_ = 0;
};

} // namespace ui
