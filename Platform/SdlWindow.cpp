#include "Platform/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

constexpr unsigned ctrlBits = 4 | 8, altBits = 16 | 32;

// The name of a key that types no text (characters arrive as text), or null.
const char* keyName(SDL_Keycode key) {
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return "Return";
    case SDLK_ESCAPE:
        return "Escape";
    case SDLK_BACKSPACE:
        return "BackSpace";
    case SDLK_TAB:
        return "Tab";
    case SDLK_LEFT:
        return "Left";
    case SDLK_RIGHT:
        return "Right";
    case SDLK_UP:
        return "Up";
    case SDLK_DOWN:
        return "Down";
    case SDLK_HOME:
        return "Home";
    case SDLK_END:
        return "End";
    case SDLK_PAGEUP:
        return "PageUp";
    case SDLK_PAGEDOWN:
        return "PageDown";
    default:
        break;
    }
    static constexpr std::array functionKeys{"F1", "F2", "F3", "F4",  "F5",  "F6",
                                             "F7", "F8", "F9", "F10", "F11", "F12"};
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return functionKeys[static_cast<std::size_t>(key - SDLK_F1)];
    return nullptr;
}

// Points the content moves per notch of a mouse wheel.
constexpr Float pointsPerWheelNotch = 40;
// Room the desktop's window decorations take around a window.
constexpr int decorationWidth = 16, decorationHeight = 48;
constexpr Float startScaleStep = 0.5, largestStartScale = 8;

bool fitsIn(Size window, const SDL_Rect& area) {
    return window.width <= area.w - decorationWidth && window.height <= area.h - decorationHeight;
}

// The window's size in window coordinates at the start (see SdlWindow::open).
Size startSize(Size points, const WindowSizing& sizing) {
    if (sizing.scale)
        return {std::round(points.width * *sizing.scale), std::round(points.height * *sizing.scale)};
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0)
        return {points.width * 2, points.height * 2};
    if (sizing.lastSize && sizing.lastSize->width >= 1 && sizing.lastSize->height >= 1 &&
        fitsIn(*sizing.lastSize, usable))
        return *sizing.lastSize;
    Float scale = 1;
    for (Float next = 1 + startScaleStep; next <= largestStartScale; next += startScaleStep) {
        if (!fitsIn({points.width * next, points.height * next}, usable))
            break;
        scale = next;
    }
    // A display smaller than the screen at 1 still gets the whole window on it.
    Float room =
        std::min((usable.w - decorationWidth) / points.width, (usable.h - decorationHeight) / points.height);
    if (room > 0.25 && room < scale)
        scale = room;
    return {std::round(points.width * scale), std::round(points.height * scale)};
}

// Whether OpenGL draws with the processor (Mesa's llvmpipe, softpipe or swrast, as under a virtual
// display): asked of the renderer's context, which is current once the renderer is made.
bool openGlDrawsWithProcessor() {
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned rendererString = 0x1F01; // GL_RENDERER
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(rendererString) : nullptr;
    if (!name)
        return false;
    std::string lower(reinterpret_cast<const char*>(name));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer"}) {
        if (lower.find(software) != std::string::npos)
            return true;
    }
    return false;
}

// Whether `renderer` draws with the processor: SDL's software renderer, or an OpenGL one that does.
bool drawsWithProcessor(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0)
        return true;
    std::string name = info.name;
    if (name == "software")
        return true;
    return name.rfind("opengl", 0) == 0 && openGlDrawsWithProcessor();
}

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value && std::string_view(value) != "0";
}

bool isExpose(Uint8 windowEvent) {
    return windowEvent == SDL_WINDOWEVENT_EXPOSED || windowEvent == SDL_WINDOWEVENT_SHOWN ||
           windowEvent == SDL_WINDOWEVENT_RESTORED;
}

} // namespace

std::unique_ptr<SdlWindow> SdlWindow::open(const std::string& title, Size points, const WindowSizing& sizing,
                                           std::string& error) {
    if (!hasDisplay()) {
        error = "no display to open a window on (DISPLAY is not set)";
        return nullptr;
    }
    // The first click into the window is a touch too, not just a focus change.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The desktop matches the window to its menu entry by this class (StartupWMClass).
    // SDL reads it from the environment when its video starts; the user's own choice stays.
    setenv("SDL_VIDEO_X11_WMCLASS", title.c_str(), 0);
    // Frames composited with Cairo go straight into the window's own surface (X11 shared memory), not
    // through a renderer of SDL's own.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot start SDL video: ") + SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<SdlWindow> window(new SdlWindow(points));
    if (driverShowsNothing()) {
        error =
            std::string("no display: SDL fell back to its \"") + SDL_GetCurrentVideoDriver() + "\" driver";
        return nullptr;
    }
    Size size = startSize(points, sizing);
    int width = static_cast<int>(size.width), height = static_cast<int>(size.height);
    window->window_ =
        SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                         SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window->window_)
        SDL_SetWindowMinimumSize(window->window_, static_cast<int>(points.width / 2),
                                 static_cast<int>(points.height / 2));
    if (window->window_)
        window->chooseCompositor(width, height);
    if (!window->window_ || (!window->gpu_ && !SDL_GetWindowSurface(window->window_))) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    SDL_StartTextInput();
    return window;
}

// The graphics processor composites the layers when there is a real one. When OpenGL draws with the
// processor too (llvmpipe under a virtual display), sampling the layers' textures costs more than
// compositing them with Cairo, and copying the changed part of the frame into the window's surface costs
// next to nothing: the renderer goes again. TORVEX_CPU_COMPOSITING=1 always composites with Cairo (no
// OpenGL is loaded then), TORVEX_GPU_COMPOSITING=1 uses any renderer that can (for tests).
void SdlWindow::chooseCompositor(int width, int height) {
    if (isSet("TORVEX_CPU_COMPOSITING"))
        return;
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_)
        return;
    bool wanted = isSet("TORVEX_GPU_COMPOSITING") || !drawsWithProcessor(renderer_);
    if (wanted && GpuCompositor::isSupported(renderer_) && createTexture(width, height)) {
        gpu_ = std::make_unique<GpuCompositor>(renderer_);
        return;
    }
    if (texture_)
        SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

SdlWindow::~SdlWindow() {
    gpu_.reset();
    if (texture_)
        SDL_DestroyTexture(texture_);
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    if (window_)
        SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

Size SdlWindow::pixelSize() const {
    int width = 0, height = 0;
    if (renderer_ && SDL_GetRendererOutputSize(renderer_, &width, &height) == 0 && width > 0 && height > 0)
        return {static_cast<Float>(width), static_cast<Float>(height)};
    if (!renderer_)
        SDL_GetWindowSizeInPixels(window_, &width, &height);
    if (width > 0 && height > 0)
        return {static_cast<Float>(width), static_cast<Float>(height)};
    return windowSize();
}

Size SdlWindow::windowSize() const {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    return {static_cast<Float>(width), static_cast<Float>(height)};
}

bool SdlWindow::isFullScreen() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlWindow::resize(Size pixels) {
    Size window = windowSize(), drawable = pixelSize();
    Float ratio = window.width > 0 && drawable.width > 0 ? window.width / drawable.width : 1;
    if (isFullScreen())
        setFullScreen(false);
    SDL_SetWindowSize(window_, static_cast<int>(std::lround(pixels.width * ratio)),
                      static_cast<int>(std::lround(pixels.height * ratio)));
}

void SdlWindow::setFullScreen(bool fullScreen) {
    SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void SdlWindow::setIcons(const std::vector<cairo_surface_t*>& icons) {
    for (cairo_surface_t* icon : icons) {
        if (!icon || cairo_surface_get_type(icon) != CAIRO_SURFACE_TYPE_IMAGE ||
            cairo_image_surface_get_format(icon) != CAIRO_FORMAT_ARGB32)
            continue;
        cairo_surface_flush(icon);
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            cairo_image_surface_get_data(icon), cairo_image_surface_get_width(icon),
            cairo_image_surface_get_height(icon), 32, cairo_image_surface_get_stride(icon),
            SDL_PIXELFORMAT_ARGB8888);
        if (!surface)
            continue;
        // X11 takes one picture; the largest makes the sharpest scaled copies.
        SDL_SetWindowIcon(window_, surface);
        SDL_FreeSurface(surface);
        return;
    }
}

std::string SdlWindow::rendererName() const {
    SDL_RendererInfo info;
    if (!renderer_)
        return "window surface";
    if (SDL_GetRendererInfo(renderer_, &info) != 0)
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
    if (!renderer_) {
        show(frame, nullptr);
        windowPixels_ = {};
        return;
    }
    int width = cairo_image_surface_get_width(frame), height = cairo_image_surface_get_height(frame);
    if ((width != textureWidth_ || height != textureHeight_) && !createTexture(width, height))
        return;
    SDL_UpdateTexture(texture_, nullptr, cairo_image_surface_get_data(frame),
                      cairo_image_surface_get_stride(frame));
    SDL_Rect place = clearRendererToMargins();
    SDL_RenderCopy(renderer_, texture_, nullptr, &place);
    if (keepsShownFrames_)
        keepShownFrame(place);
    SDL_RenderPresent(renderer_);
    // The next composited frame replaces this picture whole.
    damage_.forget();
}

bool SdlWindow::present(const Composition& frame, bool whole) {
    if (!gpu_)
        return presentWithCairo(frame, whole);
    Rect changed = damage_.next(frame);
    if (!whole && (changed.width() <= 0 || changed.height() <= 0))
        return false;
    SDL_Rect place = clearRendererToMargins();
    gpu_->draw(frame, {static_cast<Float>(place.x), static_cast<Float>(place.y)});
    if (keepsShownFrames_)
        keepShownFrame(place);
    SDL_RenderPresent(renderer_);
    return true;
}

// The window's pixels where the screen goes, for Cairo to draw into; null when their layout is not one
// Cairo draws (the frame is then drawn apart and copied).
std::shared_ptr<cairo_surface_t> SdlWindow::screenPixels(SDL_Surface* target, const SDL_Rect& place,
                                                         Size frame) {
    Uint32 format = target->format->format;
    bool drawable = (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) &&
                    place.x >= 0 && place.y >= 0 && place.x + place.w <= target->w &&
                    place.y + place.h <= target->h && place.w == static_cast<int>(frame.width) &&
                    place.h == static_cast<int>(frame.height) && !SDL_MUSTLOCK(target);
    if (!drawable)
        return nullptr;
    unsigned char* origin =
        static_cast<unsigned char*>(target->pixels) + place.y * target->pitch + place.x * 4;
    std::shared_ptr<cairo_surface_t> pixels(
        cairo_image_surface_create_for_data(origin, CAIRO_FORMAT_RGB24, place.w, place.h, target->pitch),
        cairo_surface_destroy);
    if (cairo_surface_status(pixels.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return pixels;
}

// Composites with Cairo straight into the window's own surface where it can (else into a frame that is
// then copied there), and shows the part that changed (X11 shared memory).
bool SdlWindow::presentWithCairo(const Composition& frame, bool whole) {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target)
        return false;
    SDL_Rect place = screenPlace();
    WindowPixels now{target, target->pixels, target->w, target->h, place.x, place.y, place.w, place.h};
    if (!cairoRenderer_ || cairoRenderer_->scale() != frame.scale || cairoRenderer_->size() != frame.screen ||
        now != windowPixels_) {
        Size pixels{std::round(frame.screen.width * frame.scale),
                    std::round(frame.screen.height * frame.scale)};
        auto into = screenPixels(target, place, pixels);
        drawsIntoWindow_ = into != nullptr;
        cairoRenderer_ = std::make_unique<Renderer>(frame.screen, frame.scale, std::move(into));
        cairoRenderer_->setKeepsTransformedLayers(true);
        windowPixels_ = now;
        whole = true;
    }
    Rect changed = cairoRenderer_->renderChanges(frame);
    if (whole) {
        fillMargin(target, place);
        if (!drawsIntoWindow_)
            copyPixels(cairoRenderer_->surface(), {0, 0, place.w, place.h}, target, place);
    } else if (changed.width() <= 0 || changed.height() <= 0) {
        return false;
    }
    SDL_Rect part{static_cast<int>(changed.x()), static_cast<int>(changed.y()),
                  static_cast<int>(changed.width()), static_cast<int>(changed.height())};
    SDL_Rect shown{place.x + part.x, place.y + part.y, part.w, part.h};
    if (!whole && !drawsIntoWindow_)
        copyPixels(cairoRenderer_->surface(), part, target, shown);
    if (keepsShownFrames_)
        keepShownFrame(target, place);
    if (whole)
        SDL_UpdateWindowSurface(window_);
    else
        SDL_UpdateWindowSurfaceRects(window_, &shown, 1);
    return true;
}

void SdlWindow::fillMargin(SDL_Surface* target, const SDL_Rect& place) {
    Uint32 grey =
        SDL_MapRGB(target->format, Letterbox::marginGrey, Letterbox::marginGrey, Letterbox::marginGrey);
    SDL_Rect margins[] = {{0, 0, target->w, place.y},
                          {0, place.y + place.h, target->w, target->h - place.y - place.h},
                          {0, place.y, place.x, place.h},
                          {place.x + place.w, place.y, target->w - place.x - place.w, place.h}};
    for (const SDL_Rect& margin : margins) {
        if (margin.w > 0 && margin.h > 0)
            SDL_FillRect(target, &margin, grey);
    }
}

// Copies `part` of `frame` (the whole frame when null, with the margin around it) into the window's
// surface and shows just that. A frame of another size than the screen's place is stretched to it.
void SdlWindow::show(cairo_surface_t* frame, const Rect* part) {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target)
        return;
    SDL_Rect place = screenPlace();
    int width = cairo_image_surface_get_width(frame), height = cairo_image_surface_get_height(frame);
    bool sameSize = width == place.w && height == place.h;
    SDL_Rect from{0, 0, width, height};
    if (part && sameSize)
        from = {static_cast<int>(part->x()), static_cast<int>(part->y()), static_cast<int>(part->width()),
                static_cast<int>(part->height())};
    bool whole = !part || !sameSize;
    if (whole)
        SDL_FillRect(
            target, nullptr,
            SDL_MapRGB(target->format, Letterbox::marginGrey, Letterbox::marginGrey, Letterbox::marginGrey));
    SDL_Rect to{place.x + from.x, place.y + from.y, sameSize ? from.w : place.w, sameSize ? from.h : place.h};
    copyPixels(frame, from, target, to);
    if (keepsShownFrames_)
        keepShownFrame(target, place);
    if (whole)
        SDL_UpdateWindowSurface(window_);
    else
        SDL_UpdateWindowSurfaceRects(window_, &to, 1);
}

void SdlWindow::copyPixels(cairo_surface_t* frame, const SDL_Rect& from, SDL_Surface* target,
                           const SDL_Rect& to) {
    unsigned char* data = cairo_image_surface_get_data(frame);
    int stride = cairo_image_surface_get_stride(frame);
    Uint32 format = target->format->format;
    bool plainCopy = from.w == to.w && from.h == to.h &&
                     (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) && to.x >= 0 &&
                     to.y >= 0 && to.x + to.w <= target->w && to.y + to.h <= target->h;
    if (plainCopy) {
        // Cairo's premultiplied ARGB of an opaque frame is the window's own pixel layout.
        if (SDL_MUSTLOCK(target))
            SDL_LockSurface(target);
        for (int y = 0; y < from.h; ++y)
            std::memcpy(static_cast<unsigned char*>(target->pixels) + (to.y + y) * target->pitch + to.x * 4,
                        data + (from.y + y) * stride + from.x * 4, static_cast<std::size_t>(from.w) * 4);
        if (SDL_MUSTLOCK(target))
            SDL_UnlockSurface(target);
        return;
    }
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(data, cairo_image_surface_get_width(frame),
                                                             cairo_image_surface_get_height(frame), 32,
                                                             stride, SDL_PIXELFORMAT_ARGB8888);
    if (!source)
        return;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_Rect source_rect = from, target_rect = to;
    SDL_BlitScaled(source, &source_rect, target, &target_rect);
    SDL_FreeSurface(source);
}

SDL_Rect SdlWindow::screenPlace() const {
    Letterbox box = letterbox();
    return {static_cast<int>(box.origin().x), static_cast<int>(box.origin().y),
            static_cast<int>(box.screenPixels().width), static_cast<int>(box.screenPixels().height)};
}

// Clears the whole window to the margins' grey and answers where the screen goes in it.
SDL_Rect SdlWindow::clearRendererToMargins() {
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, Letterbox::marginGrey, Letterbox::marginGrey, Letterbox::marginGrey,
                           255);
    SDL_RenderClear(renderer_);
    return screenPlace();
}

// The screen's pixels as the window's surface holds them.
void SdlWindow::keepShownFrame(SDL_Surface* target, const SDL_Rect& place) {
    shownFrame_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, place.w, place.h),
                      cairo_surface_destroy);
    cairo_surface_flush(shownFrame_.get());
    SDL_Surface* copy = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(shownFrame_.get()), place.w, place.h, 32,
        cairo_image_surface_get_stride(shownFrame_.get()), SDL_PIXELFORMAT_ARGB8888);
    if (copy) {
        SDL_Rect from = place;
        SDL_SetSurfaceBlendMode(target, SDL_BLENDMODE_NONE);
        SDL_BlitSurface(target, &from, copy, nullptr);
        SDL_FreeSurface(copy);
    }
    cairo_surface_mark_dirty(shownFrame_.get());
}

// Read before the frame is shown: what the back buffer holds after that is undefined.
void SdlWindow::keepShownFrame(const SDL_Rect& place) {
    shownFrame_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, place.w, place.h),
                      cairo_surface_destroy);
    cairo_surface_flush(shownFrame_.get());
    SDL_RenderReadPixels(renderer_, &place, SDL_PIXELFORMAT_ARGB8888,
                         cairo_image_surface_get_data(shownFrame_.get()),
                         cairo_image_surface_get_stride(shownFrame_.get()));
    cairo_surface_mark_dirty(shownFrame_.get());
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

void SdlWindow::wake() {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
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
    case SDL_MOUSEWHEEL:
        translateWheel(event, out);
        break;
    case SDL_TEXTINPUT:
        // Characters typed with Ctrl or Alt held are that key's shortcut, which the key event names.
        if ((heldModifiers_ & (ctrlBits | altBits)) == 0)
            out.push_back(InputEvent::withText(InputEvent::Type::Text, event.text.text));
        break;
    case SDL_KEYDOWN:
        heldModifiers_ |= modifierBit(event.key.keysym.sym);
        translateKey(event, out);
        break;
    case SDL_KEYUP:
        heldModifiers_ &= ~modifierBit(event.key.keysym.sym);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            heldModifiers_ = 0;
        if (isExpose(event.window.event))
            out.push_back(InputEvent::plain(InputEvent::Type::Expose));
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            out.push_back(InputEvent::plain(InputEvent::Type::Resized));
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
        point = *pointFromWindow(event.motion.x, event.motion.y, true);
    } else {
        if (event.button.button != SDL_BUTTON_LEFT)
            return;
        bool down = event.type == SDL_MOUSEBUTTONDOWN;
        if (down == pressed_)
            return; // a release without its press (the press went to another window)
        auto onScreen = pointFromWindow(event.button.x, event.button.y, !down);
        if (!onScreen)
            return; // a press in the margin touches nothing
        type = down ? InputEvent::Type::FingerDown : InputEvent::Type::FingerUp;
        point = *onScreen;
        if (down)
            mirrored_ = heldModifiers_ != 0;
        pressed_ = down;
    }
    out.push_back(InputEvent::touch(type, 0, point));
    if (mirrored_)
        out.push_back(InputEvent::touch(type, 1, {points_.width - point.x, points_.height - point.y}));
}

void SdlWindow::translateKey(const SDL_Event& event, std::vector<InputEvent>& out) {
    SDL_Keycode key = event.key.keysym.sym;
    std::string name;
    if (const char* named = keyName(key))
        name = named;
    else if ((heldModifiers_ & (ctrlBits | altBits)) != 0 && key >= SDLK_SPACE && key < SDLK_DELETE)
        name = std::string(1, static_cast<char>(key));
    if (name.empty())
        return;
    if (heldModifiers_ & altBits)
        name = "alt+" + name;
    else if (heldModifiers_ & ctrlBits)
        name = "ctrl+" + name;
    out.push_back(InputEvent::withText(InputEvent::Type::Key, name));
}

void SdlWindow::translateWheel(const SDL_Event& event, std::vector<InputEvent>& out) {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    auto point = pointFromWindow(x, y);
    Float notches = event.wheel.preciseY;
    if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
        notches = -notches;
    // The wheel turned away from the user shows what is above: the content moves down.
    if (point && notches != 0)
        out.push_back(InputEvent::wheel(*point, -notches * pointsPerWheelNotch));
}

std::optional<Point> SdlWindow::pointFromWindow(int x, int y, bool anywhere) const {
    Size window = windowSize(), drawable = pixelSize();
    Float ratio = window.width > 0 ? drawable.width / window.width : 1;
    Letterbox box = letterbox();
    Point pixel{x * ratio, y * ratio};
    if (auto point = box.screenPoint(pixel))
        return point;
    if (!anywhere)
        return std::nullopt;
    return Point{(pixel.x - box.origin().x) / box.scale(), (pixel.y - box.origin().y) / box.scale()};
}

} // namespace ui
