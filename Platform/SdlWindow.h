#pragma once
// The program's window on a desktop, through SDL2: shows frames drawn with Cairo and turns the mouse
// and keyboard into touches and keys the way phone simulators do. Headless runs never create one
// (SDL's video part is not even started then).
//
// Mouse to fingers:
//   press          -> FingerDown finger 0 (and finger 1 mirrored about the screen centre while Ctrl,
//                     Alt or Shift is held at the press)
//   move, pressed  -> FingerMove for each finger down
//   release        -> FingerUp for each finger down
//   move, released -> nothing

#include "Platform/Geometry.h"

#include <cairo.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace ui {

struct InputEvent {
    enum class Type { FingerDown, FingerMove, FingerUp, Text, Key, Quit, Expose };
    Type type = Type::Expose;
    int finger = 0;   // 0 = the mouse, 1 = its mirrored twin
    Point point;      // screen points, for finger events
    std::string text; // typed UTF-8 text, or the key name: "Return", "Escape", "BackSpace"

    static InputEvent plain(Type type) { return withText(type, ""); }
    static InputEvent withText(Type type, std::string text) { return {type, 0, {}, std::move(text)}; }
    static InputEvent touch(Type type, int finger, Point point) { return {type, finger, point, ""}; }
};

class SdlWindow {
public:
    // A window of `points` x `scale` pixels, or null with `error` saying why (no display, SDL failed).
    static std::unique_ptr<SdlWindow> open(const std::string& title, Size points, Float scale,
                                           std::string& error);
    ~SdlWindow();
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    Size pointSize() const { return points_; }
    Float scale() const { return scale_; }
    // SDL's name of the renderer in use ("opengl", "software", ...).
    std::string rendererName() const;

    // Shows an ARGB32 frame (normally points x scale pixels; another size is stretched to the window).
    void present(cairo_surface_t* frame);

    // Waits at most `timeoutSeconds` for input (a negative timeout waits for ever, 0 takes only what is
    // pending) and returns all input that arrived, in order; empty when the time ran out. Blocking
    // here is what keeps an idle program from using the processor.
    std::vector<InputEvent> waitEvent(double timeoutSeconds);

private:
    SdlWindow(Size points, Float scale) : points_(points), scale_(scale) {}
    bool createTexture(int width, int height);
    void translate(const SDL_Event& event, std::vector<InputEvent>& out);
    void translateMouse(const SDL_Event& event, std::vector<InputEvent>& out);
    Point pointFromWindow(int x, int y) const;

    Size points_;
    Float scale_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0, textureHeight_ = 0;
    bool pressed_ = false, mirrored_ = false;
    // Modifier keys down, followed through the key events themselves: SDL's own modifier state is
    // already that of the last pending event when a whole batch is read at once.
    unsigned heldModifiers_ = 0;
};

} // namespace ui
