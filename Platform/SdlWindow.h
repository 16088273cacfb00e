#pragma once
// The program's window on a desktop, through SDL2: composites frames of cached layers on the graphics
// processor (GpuCompositor.h), or with Cairo where OpenGL draws with the processor too, and turns the
// mouse and keyboard into touches and keys the way phone simulators do. Headless runs never create one
// (SDL's video part is not even started then).
//
// The window is resizable and high-DPI aware: frames are drawn at the pixels per point of its drawable
// size and copied unstretched into the middle of it, the rest a plain dark margin (Letterbox.h).
// Mouse positions are mapped back through the same letterbox: a press in the margin touches nothing.
//
// Mouse to fingers:
//   press          -> FingerDown finger 0 (and finger 1 mirrored about the screen centre while Ctrl,
//                     Alt or Shift is held at the press)
//   move, pressed  -> FingerMove for each finger down
//   release        -> FingerUp for each finger down
//   move, released -> nothing

#include "Platform/FrameDamage.h"
#include "Platform/Geometry.h"
#include "Platform/GpuCompositor.h"
#include "Platform/Letterbox.h"
#include "Platform/Renderer.h"

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Rect;
struct SDL_Surface;
union SDL_Event;

namespace ui {

struct InputEvent {
    enum class Type { FingerDown, FingerMove, FingerUp, Text, Key, Wheel, Quit, Expose, Resized };
    Type type = Type::Expose;
    int finger = 0;   // 0 = the mouse, 1 = its mirrored twin
    Point point;      // screen points, for finger and wheel events
    std::string text; // typed UTF-8 text, or the key name (Application::keyName)
    Float scroll = 0; // wheel: points further down the content

    static InputEvent plain(Type type) { return withText(type, ""); }
    static InputEvent withText(Type type, std::string text) { return {type, 0, {}, std::move(text), 0}; }
    static InputEvent touch(Type type, int finger, Point point) { return {type, finger, point, "", 0}; }
    static InputEvent wheel(Point point, Float scroll) { return {Type::Wheel, 0, point, "", scroll}; }
};

// How large a new window is.
struct WindowSizing {
    std::optional<Float> scale;   // forced pixels per point (--scale)
    std::optional<Size> lastSize; // the size the window had when last closed (window coordinates)
};

class SdlWindow {
public:
    // A window titled `title` (also its X11 class) showing a screen of `points`, or null with `error` saying
    // why (no display, SDL failed). Its size: `sizing.scale` times the screen when forced; else the last size
    // when it still fits the display's usable area; else the largest of 1, 1.5, 2, 2.5 ... times the screen
    // that fits there.
    static std::unique_ptr<SdlWindow> open(const std::string& title, Size points, const WindowSizing& sizing,
                                           std::string& error);
    ~SdlWindow();
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    Size pointSize() const { return points_; }
    // The drawable size in pixels, and the window's size in window coordinates (they differ on high-DPI
    // displays).
    Size pixelSize() const;
    Size windowSize() const;
    bool isFullScreen() const;
    // SDL's name of the renderer in use ("opengl", ...), or "window surface" when frames composited with
    // Cairo are copied into the window's own surface.
    std::string rendererName() const;

    // Asks for another drawable size in pixels, or for full screen (on the desktop's own resolution).
    void resize(Size pixels);
    void setFullScreen(bool fullScreen);
    // Window icons, largest first; pictures that are not ARGB32 are skipped.
    void setIcons(const std::vector<cairo_surface_t*>& icons);

    // Shows an ARGB32 frame of the letterboxed screen's pixel size in the middle of the window (another
    // size is stretched to that place).
    void present(cairo_surface_t* frame);
    // Composites `frame` into the middle of the window and shows it, on the graphics processor or with
    // Cairo (see compositesOnGpu). Only what changed since the last frame is composited and shown, unless
    // `whole` (the window was uncovered or resized). Returns whether anything was drawn.
    bool present(const Composition& frame, bool whole = false);
    // Whether frames are composited on the graphics processor: only when it is a real one. When OpenGL
    // draws with the processor (llvmpipe), or SDL offers only its software renderer, or
    // TORVEX_CPU_COMPOSITING=1 asks for it, they are composited with Cairo and copied into the window's own
    // surface; TORVEX_GPU_COMPOSITING=1 uses any renderer that can composite.
    bool compositesOnGpu() const { return gpu_ != nullptr; }
    // With `keep`, each shown frame's screen pixels are read back before they are shown (for tests).
    void setKeepsShownFrames(bool keep) { keepsShownFrames_ = keep; }
    // The screen pixels of the last frame shown while keeping them (ARGB32), else null.
    cairo_surface_t* lastShownFrame() const { return shownFrame_.get(); }

    // Waits at most `timeoutSeconds` for input (a negative timeout waits for ever, 0 takes only what is
    // pending) and returns all input that arrived, in order; empty when the time ran out. Blocking
    // here is what keeps an idle program from using the processor.
    std::vector<InputEvent> waitEvent(double timeoutSeconds);
    // Ends a `waitEvent` early, with no input; safe from any thread.
    static void wake();

private:
    explicit SdlWindow(Size points) : points_(points) {}
    void chooseCompositor(int width, int height);
    bool createTexture(int width, int height);
    SDL_Rect screenPlace() const;
    SDL_Rect clearRendererToMargins();
    bool presentWithCairo(const Composition& frame, bool whole);
    static std::shared_ptr<cairo_surface_t> screenPixels(SDL_Surface* target, const SDL_Rect& place,
                                                         Size frame);
    static void fillMargin(SDL_Surface* target, const SDL_Rect& place);
    void show(cairo_surface_t* frame, const Rect* part);
    static void copyPixels(cairo_surface_t* frame, const SDL_Rect& from, SDL_Surface* target,
                           const SDL_Rect& to);
    void keepShownFrame(const SDL_Rect& place);
    void keepShownFrame(SDL_Surface* target, const SDL_Rect& place);
    void translate(const SDL_Event& event, std::vector<InputEvent>& out);
    void translateKey(const SDL_Event& event, std::vector<InputEvent>& out);
    void translateMouse(const SDL_Event& event, std::vector<InputEvent>& out);
    void translateWheel(const SDL_Event& event, std::vector<InputEvent>& out);
    Letterbox letterbox() const { return Letterbox(points_, pixelSize()); }
    // The screen point under a mouse position in window coordinates, nullopt in the margin; `anywhere`
    // maps points beyond the screen too (a drag that leaves it).
    std::optional<Point> pointFromWindow(int x, int y, bool anywhere = false) const;

    Size points_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0, textureHeight_ = 0;
    std::unique_ptr<GpuCompositor> gpu_;
    std::unique_ptr<Renderer> cairoRenderer_;
    // The window's surface and the screen's place in it that cairoRenderer_ was made for.
    struct WindowPixels {
        void* surface = nullptr;
        void* pixels = nullptr;
        int width = 0, height = 0, x = 0, y = 0, placeWidth = 0, placeHeight = 0;
        friend bool operator==(const WindowPixels&, const WindowPixels&) = default;
    };
    WindowPixels windowPixels_;
    bool drawsIntoWindow_ = false;
    FrameDamage damage_;
    bool keepsShownFrames_ = false;
    std::shared_ptr<cairo_surface_t> shownFrame_;
    bool pressed_ = false, mirrored_ = false;
    // Modifier keys down, followed through the key events themselves: SDL's own modifier state is
    // already that of the last pending event when a whole batch is read at once.
    unsigned heldModifiers_ = 0;
};

} // namespace ui
