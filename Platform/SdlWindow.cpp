#include "Platform/SdlWindow.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>

namespace ui {

namespace {

bool hasDisplay() {
    auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("SDL_VIDEODRIVER");
}

// With no display SDL may settle for a driver that shows nothing; only an explicit request counts.
bool driverShowsNothing() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    std::string name = driver ? driver : "";
    return (name == "offscreen" || name == "dummy") && !(requested && name == requested);
}

// The bit a modifier key holds in SdlWindow::heldModifiers_, 0 for other keys.
unsigned modifierBit(SDL_Keycode key) {
    switch (key) {
    case SDLK_LSHIFT:
        return 1;
    case SDLK_RSHIFT:
        return 2;
    case SDLK_LCTRL:
        return 4;
    case SDLK_RCTRL:
        return 8;
    case SDLK_LALT:
        return 16;
    case SDLK_RALT:
        return 32;
    default:
        return 0;
    }
}

const char* keyName(SDL_Keycode key) {
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return "Return";
    case SDLK_ESCAPE:
        return "Escape";
    case SDLK_BACKSPACE:
        return "BackSpace";
    default:
        return nullptr;
    }
}

bool isExpose(Uint8 windowEvent) {
    return windowEvent == SDL_WINDOWEVENT_EXPOSED || windowEvent == SDL_WINDOWEVENT_SHOWN ||
           windowEvent == SDL_WINDOWEVENT_RESTORED || windowEvent == SDL_WINDOWEVENT_SIZE_CHANGED;
}

} // namespace

std::unique_ptr<SdlWindow> SdlWindow::open(const std::string& title, Size points, Float scale,
                                           std::string& error) {
    if (!hasDisplay()) {
        error = "no display to open a window on (DISPLAY is not set)";
        return nullptr;
    }
    // The first click into the window is a touch too, not just a focus change.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot start SDL video: ") + SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<SdlWindow> window(new SdlWindow(points, scale > 0 ? scale : 1));
    if (driverShowsNothing()) {
        error =
            std::string("no display: SDL fell back to its \"") + SDL_GetCurrentVideoDriver() + "\" driver";
        return nullptr;
    }
    int width = static_cast<int>(std::lround(points.width * window->scale_));
    int height = static_cast<int>(std::lround(points.height * window->scale_));
    window->window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                       height, SDL_WINDOW_SHOWN);
    if (window->window_)
        window->renderer_ = SDL_CreateRenderer(window->window_, -1, SDL_RENDERER_ACCELERATED);
    if (window->window_ && !window->renderer_)
        window->renderer_ = SDL_CreateRenderer(window->window_, -1, SDL_RENDERER_SOFTWARE);
    if (!window->renderer_ || !window->createTexture(width, height)) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    SDL_StartTextInput();
    return window;
}

SdlWindow::~SdlWindow() {
    if (texture_)
        SDL_DestroyTexture(texture_);
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    if (window_)
        SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::string SdlWindow::rendererName() const {
    SDL_RendererInfo info;
    if (!renderer_ || SDL_GetRendererInfo(renderer_, &info) != 0)
        return "";
    return info.name;
}

// A streaming texture in Cairo's own byte order: a frame is copied up without conversion.
bool SdlWindow::createTexture(int width, int height) {
    if (texture_)
        SDL_DestroyTexture(texture_);
    texture_ =
        SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    textureWidth_ = texture_ ? width : 0;
    textureHeight_ = texture_ ? height : 0;
    if (texture_)
        SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    return texture_ != nullptr;
}

void SdlWindow::present(cairo_surface_t* frame) {
    if (!frame || cairo_surface_get_type(frame) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(frame) != CAIRO_FORMAT_ARGB32)
        return;
    cairo_surface_flush(frame);
    int width = cairo_image_surface_get_width(frame), height = cairo_image_surface_get_height(frame);
    if ((width != textureWidth_ || height != textureHeight_) && !createTexture(width, height))
        return;
    SDL_UpdateTexture(texture_, nullptr, cairo_image_surface_get_data(frame),
                      cairo_image_surface_get_stride(frame));
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

std::vector<InputEvent> SdlWindow::waitEvent(double timeoutSeconds) {
    std::vector<InputEvent> events;
    SDL_Event event;
    bool got = timeoutSeconds < 0 ? SDL_WaitEvent(&event) != 0
               : timeoutSeconds > 0
                   ? SDL_WaitEventTimeout(&event, static_cast<int>(std::ceil(timeoutSeconds * 1000))) != 0
                   : SDL_PollEvent(&event) != 0;
    while (got) {
        translate(event, events);
        got = SDL_PollEvent(&event) != 0;
    }
    return events;
}

void SdlWindow::translate(const SDL_Event& event, std::vector<InputEvent>& out) {
    switch (event.type) {
    case SDL_QUIT:
        out.push_back(InputEvent::plain(InputEvent::Type::Quit));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
        translateMouse(event, out);
        break;
    case SDL_TEXTINPUT:
        out.push_back(InputEvent::withText(InputEvent::Type::Text, event.text.text));
        break;
    case SDL_KEYDOWN:
        heldModifiers_ |= modifierBit(event.key.keysym.sym);
        if (const char* name = keyName(event.key.keysym.sym))
            out.push_back(InputEvent::withText(InputEvent::Type::Key, name));
        break;
    case SDL_KEYUP:
        heldModifiers_ &= ~modifierBit(event.key.keysym.sym);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            heldModifiers_ = 0;
        if (isExpose(event.window.event))
            out.push_back(InputEvent::plain(InputEvent::Type::Expose));
        break;
    default:
        break;
    }
}

void SdlWindow::translateMouse(const SDL_Event& event, std::vector<InputEvent>& out) {
    InputEvent::Type type;
    Point point;
    if (event.type == SDL_MOUSEMOTION) {
        if (!pressed_)
            return;
        type = InputEvent::Type::FingerMove;
        point = pointFromWindow(event.motion.x, event.motion.y);
    } else {
        if (event.button.button != SDL_BUTTON_LEFT)
            return;
        bool down = event.type == SDL_MOUSEBUTTONDOWN;
        if (down == pressed_)
            return; // a release without its press (the press went to another window)
        type = down ? InputEvent::Type::FingerDown : InputEvent::Type::FingerUp;
        point = pointFromWindow(event.button.x, event.button.y);
        if (down)
            mirrored_ = heldModifiers_ != 0;
        pressed_ = down;
    }
    out.push_back(InputEvent::touch(type, 0, point));
    if (mirrored_)
        out.push_back(InputEvent::touch(type, 1, {points_.width - point.x, points_.height - point.y}));
}

Point SdlWindow::pointFromWindow(int x, int y) const {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (width <= 0 || height <= 0)
        return {x / scale_, y / scale_};
    return {x * points_.width / width, y * points_.height / height};
}

} // namespace ui
