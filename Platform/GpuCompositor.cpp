#include "Platform/GpuCompositor.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace ui {

namespace {

using Kind = CompositeItem::Kind;

// Layers hold premultiplied colour, as Cairo draws it: the source is added as it is and the target
// keeps what the source's alpha leaves over.
SDL_BlendMode premultipliedBlending() {
    return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA,
                                      SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ONE,
                                      SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
}

Uint8 channel(Float value) {
    return static_cast<Uint8>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

Rect intersection(const Rect& a, const Rect& b) {
    Float x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    Float x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

// Whole pixels: the nearest edges for a clip (as an upright clip on whole points at whole scales falls),
// outwards for a group's texture.
Rect roundedToPixels(const Rect& r) {
    Float x0 = std::round(r.minX()), y0 = std::round(r.minY());
    return {x0, y0, std::round(r.maxX()) - x0, std::round(r.maxY()) - y0};
}

Rect outwardToPixels(const Rect& r) {
    Float x0 = std::floor(r.minX()), y0 = std::floor(r.minY());
    return {x0, y0, std::ceil(r.maxX()) - x0, std::ceil(r.maxY()) - y0};
}

} // namespace

GpuCompositor::GpuCompositor(SDL_Renderer* renderer) : renderer_(renderer) {
    blendMode_ = premultipliedBlending();
}

GpuCompositor::~GpuCompositor() {
    for (auto& [id, cached] : textures_)
        SDL_DestroyTexture(cached.texture);
    for (SDL_Texture* texture : groupTextures_)
        SDL_DestroyTexture(texture);
}

bool GpuCompositor::isSupported(SDL_Renderer* renderer) {
    if (SDL_RenderTargetSupported(renderer) != SDL_TRUE)
        return false;
    SDL_Texture* probe =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 1, 1);
    bool blends = probe && SDL_SetTextureBlendMode(probe, premultipliedBlending()) == 0;
    if (probe)
        SDL_DestroyTexture(probe);
    return blends && SDL_SetRenderDrawBlendMode(renderer, premultipliedBlending()) == 0;
}

void GpuCompositor::draw(const Composition& composition, Point origin) {
    ++frame_;
    scale_ = composition.scale;
    Rect screen{origin, {composition.screen.width * scale_, composition.screen.height * scale_}};
    targets_.assign(1, Target{nullptr, origin, {roundedToPixels(screen)}, {}, 1});
    SDL_SetRenderDrawBlendMode(renderer_, static_cast<SDL_BlendMode>(blendMode_));
    applyClip();
    quadInPixels(nullptr, screen, 0, 0, 0, 1);
    for (const CompositeItem& item : composition.items) {
        switch (item.kind) {
        case Kind::Fill:
            fill(item);
            break;
        case Kind::Layer:
            drawLayer(item);
            break;
        case Kind::PushClip:
            pushClip(item);
            break;
        case Kind::PopClip:
            popClip();
            break;
        case Kind::PushGroup:
            pushGroup(item);
            break;
        case Kind::PopGroup:
            popGroup();
            break;
        }
    }
    SDL_RenderSetClipRect(renderer_, nullptr);
    endFrame();
}

Point GpuCompositor::toPixels(const AffineTransform& toRoot, Point point) const {
    Point onScreen = toRoot.apply(point);
    const Point& origin = targets_.back().origin;
    return {onScreen.x * scale_ + origin.x, onScreen.y * scale_ + origin.y};
}

void GpuCompositor::quad(SDL_Texture* texture, const AffineTransform& toRoot, const Rect& rect, Float r,
                         Float g, Float b, Float a) {
    std::array<Point, 4> corners{
        toPixels(toRoot, {rect.minX(), rect.minY()}), toPixels(toRoot, {rect.maxX(), rect.minY()}),
        toPixels(toRoot, {rect.minX(), rect.maxY()}), toPixels(toRoot, {rect.maxX(), rect.maxY()})};
    drawQuad(texture, corners, r, g, b, a);
}

void GpuCompositor::quadInPixels(SDL_Texture* texture, const Rect& rect, Float r, Float g, Float b, Float a) {
    std::array<Point, 4> corners{Point{rect.minX(), rect.minY()}, Point{rect.maxX(), rect.minY()},
                                 Point{rect.minX(), rect.maxY()}, Point{rect.maxX(), rect.maxY()}};
    drawQuad(texture, corners, r, g, b, a);
}

void GpuCompositor::drawQuad(SDL_Texture* texture, const std::array<Point, 4>& corners, Float r, Float g,
                             Float b, Float a) {
    if (clippedAway())
        return;
    SDL_Color color{channel(r), channel(g), channel(b), channel(a)};
    constexpr std::array<SDL_FPoint, 4> textureCorners{SDL_FPoint{0, 0}, SDL_FPoint{1, 0}, SDL_FPoint{0, 1},
                                                       SDL_FPoint{1, 1}};
    std::array<SDL_Vertex, 4> vertices{};
    for (std::size_t i = 0; i < 4; ++i) {
        vertices[i].position = {static_cast<float>(corners[i].x), static_cast<float>(corners[i].y)};
        vertices[i].color = color;
        vertices[i].tex_coord = textureCorners[i];
    }
    constexpr std::array<int, 6> triangles{0, 1, 2, 1, 3, 2};
    SDL_RenderGeometry(renderer_, texture, vertices.data(), 4, triangles.data(), 6);
}

void GpuCompositor::fill(const CompositeItem& item) {
    const Color& c = item.color;
    quad(nullptr, item.toRoot, item.rect, c.r * c.a, c.g * c.a, c.b * c.a, c.a);
}

void GpuCompositor::drawLayer(const CompositeItem& item) {
    if (clippedAway())
        return;
    SDL_Texture* texture = textureFor(*item.layer);
    if (!texture)
        return;
    // The texture's clear border, one texel wide, lies outside the layer's place.
    Float texelWidth = item.rect.width() / cairo_image_surface_get_width(item.layer->surface.get());
    Float texelHeight = item.rect.height() / cairo_image_surface_get_height(item.layer->surface.get());
    Rect padded{item.rect.x() - texelWidth, item.rect.y() - texelHeight, item.rect.width() + 2 * texelWidth,
                item.rect.height() + 2 * texelHeight};
    Float o = item.opacity;
    quad(texture, item.toRoot, padded, o, o, o, o);
}

SDL_Texture* GpuCompositor::textureFor(const Layer& layer) {
    Cached& cached = textures_[layer.id];
    cached.frame = frame_;
    if (cached.texture)
        return cached.texture;
    // With a clear border of one texel: the graphics processor does not smooth the edges of what it
    // draws, but sampling the border smooths a turned or scaled layer's edges as Cairo does.
    cairo_surface_t* surface = layer.surface.get();
    int width = cairo_image_surface_get_width(surface) + 2,
        height = cairo_image_surface_get_height(surface) + 2;
    cached.texture =
        SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
    if (!cached.texture)
        return nullptr;
    std::vector<std::uint32_t> padded(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height - 2; ++y)
        std::memcpy(&padded[static_cast<std::size_t>((y + 1) * width + 1)], data + y * stride,
                    static_cast<std::size_t>(width - 2) * 4);
    SDL_UpdateTexture(cached.texture, nullptr, padded.data(), width * 4);
    SDL_SetTextureBlendMode(cached.texture, static_cast<SDL_BlendMode>(blendMode_));
    SDL_SetTextureScaleMode(cached.texture, SDL_ScaleModeLinear);
    cached.bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    textureBytes_ += cached.bytes;
    return cached.texture;
}

void GpuCompositor::pushClip(const CompositeItem& item) {
    Target& target = targets_.back();
    Rect box = item.toRoot.apply(item.rect);
    Rect pixels{box.x() * scale_ + target.origin.x, box.y() * scale_ + target.origin.y, box.width() * scale_,
                box.height() * scale_};
    target.clips.push_back(intersection(roundedToPixels(pixels), target.clips.back()));
    applyClip();
}

void GpuCompositor::popClip() {
    Target& target = targets_.back();
    if (target.clips.size() > 1)
        target.clips.pop_back();
    applyClip();
}

void GpuCompositor::pushGroup(const CompositeItem& item) {
    const Target& parent = targets_.back();
    Rect pixels{item.rect.x() * scale_ + parent.origin.x, item.rect.y() * scale_ + parent.origin.y,
                item.rect.width() * scale_, item.rect.height() * scale_};
    Rect box = intersection(outwardToPixels(pixels), parent.clips.back());
    Target group{nullptr, {parent.origin.x - box.x(), parent.origin.y - box.y()}, {}, box, item.opacity};
    int width = static_cast<int>(box.width()), height = static_cast<int>(box.height());
    if (width > 0 && height > 0)
        group.texture =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
    group.clips.push_back(group.texture ? Rect(0, 0, box.width(), box.height()) : Rect());
    if (group.texture) {
        groupTextures_.push_back(group.texture);
        SDL_SetTextureBlendMode(group.texture, static_cast<SDL_BlendMode>(blendMode_));
        SDL_SetRenderTarget(renderer_, group.texture);
        SDL_RenderSetClipRect(renderer_, nullptr);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 0);
        SDL_RenderClear(renderer_);
    }
    targets_.push_back(std::move(group));
    applyClip();
}

void GpuCompositor::popGroup() {
    if (targets_.size() < 2)
        return;
    Target group = std::move(targets_.back());
    targets_.pop_back();
    if (!group.texture) {
        applyClip();
        return;
    }
    SDL_SetRenderTarget(renderer_, targets_.back().texture);
    applyClip();
    Float o = group.opacity;
    quadInPixels(group.texture, group.box, o, o, o, o);
}

void GpuCompositor::applyClip() {
    const Rect& clip = targets_.back().clips.back();
    SDL_Rect rect{static_cast<int>(clip.x()), static_cast<int>(clip.y()), static_cast<int>(clip.width()),
                  static_cast<int>(clip.height())};
    if (rect.w > 0 && rect.h > 0)
        SDL_RenderSetClipRect(renderer_, &rect);
}

bool GpuCompositor::clippedAway() const {
    const Rect& clip = targets_.back().clips.back();
    return clip.width() < 1 || clip.height() < 1;
}

void GpuCompositor::endFrame() {
    for (auto it = textures_.begin(); it != textures_.end();) {
        if (it->second.frame < frame_) {
            if (it->second.texture)
                SDL_DestroyTexture(it->second.texture);
            textureBytes_ -= it->second.bytes;
            it = textures_.erase(it);
        } else {
            ++it;
        }
    }
    for (SDL_Texture* texture : groupTextures_)
        SDL_DestroyTexture(texture);
    groupTextures_.clear();
}

} // namespace ui
