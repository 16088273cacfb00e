#include "Platform/Image.h"

#include "Platform/ImageDecoder.h"
#include "Platform/LoadedPictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace ui {

// A stretchable picture cut once into its nine pieces, so that each piece is resampled on its own
// and a stretched middle never blends with the caps beside it. Columns and rows are left cap,
// middle, right cap (top, middle, bottom); a piece of zero size stays empty.
struct StretchSlices {
    std::array<Image, 9> pieces;
    std::array<Float, 3> columnWidths; // points
    std::array<Float, 3> rowHeights;
};

namespace {

bool endsWith(const std::string& s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool fileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

// "dir/name.png" -> "dir/name@2x.png"; "" for names that are not PNG or already are @2x.
std::string doubleScalePath(const std::string& path) {
    if (!endsWith(path, ".png") || endsWith(path, "@2x.png"))
        return "";
    return path.substr(0, path.size() - 4) + "@2x.png";
}

cairo_filter_t cairoFilter(ImageFilter filter) {
    switch (filter) {
    case ImageFilter::Good: // the shrinking it needs beyond bilinear is done by halving first
    case ImageFilter::Bilinear:
        return CAIRO_FILTER_BILINEAR;
    case ImageFilter::Fast:
        return CAIRO_FILTER_FAST;
    }
    return CAIRO_FILTER_BILINEAR;
}

// How many device pixels one pixel of a picture of `pixels` covers when drawn into `rect`.
Size deviceScaleFactor(cairo_t* cr, const Rect& rect, Size pixels) {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    return {rect.width() * std::hypot(m.xx, m.yx) / pixels.width,
            rect.height() * std::hypot(m.xy, m.yy) / pixels.height};
}

// The picture at half its size, each pixel the exact mean of four.
SurfacePtr halved(cairo_surface_t* surface) {
    int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    SurfacePtr half = makeArgbSurface((width + 1) / 2, (height + 1) / 2);
    if (!half)
        return nullptr;
    cairo_t* cr = cairo_create(half.get());
    cairo_scale(cr, 0.5, 0.5);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    return half;
}

// Bilinear sampling skips pixels when shrinking by more than half, and Cairo's good filter runs a
// convolution instead that costs 5 to 8 ms for a full-screen picture shrunk to 40 or 75 %. Halving
// (exact averages of four, a mipmap step) until at most half is left, then finishing bilinearly,
// looks alike for well under a millisecond.
SurfacePtr shrunkTowards(const SurfacePtr& surface, Size factor) {
    SurfacePtr source = surface;
    while (factor.width < 0.5 && factor.height < 0.5 && cairo_image_surface_get_width(source.get()) > 1 &&
           cairo_image_surface_get_height(source.get()) > 1) {
        SurfacePtr half = halved(source.get());
        if (!half)
            break;
        source = std::move(half);
        factor = {factor.width * 2, factor.height * 2};
    }
    return source;
}

// Splits `total` pixels into cap, one-point middle and rest; a cap of 0 means the whole length
// stretches (no caps on that axis). A cap reaching the far edge leaves the last point as the middle.
std::array<int, 3> splitPixels(int total, Float cap, Float scale) {
    if (cap <= 0)
        return {0, total, 0};
    int middle = std::clamp(static_cast<int>(std::lround(scale)), 1, std::max(total, 1));
    int capPixels = std::clamp(static_cast<int>(std::lround(cap * scale)), 0, std::max(total - middle, 0));
    middle = std::min(middle, total - capPixels);
    return {capPixels, middle, total - capPixels - middle};
}

// The lengths the three parts get when drawn `length` points long: caps keep their size, the middle
// takes the rest; when even the caps do not fit they shrink in proportion and the middle vanishes.
std::array<Float, 3> spreadLengths(const std::array<Float, 3>& parts, Float length) {
    Float caps = parts[0] + parts[2];
    if (caps >= length && caps > 0)
        return {parts[0] * length / caps, 0, parts[2] * length / caps};
    return {parts[0], length - caps, parts[2]};
}

// Clamped before the conversion: a huge or NaN coordinate must not reach the int cast.
int pixelIndex(Float value, Float low, Float high) {
    if (std::isnan(value))
        return static_cast<int>(low);
    return static_cast<int>(std::clamp(value, low, high));
}

bool contextIsAxisAligned(cairo_t* cr) {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    return m.xy == 0 && m.yx == 0;
}

// Moves a coordinate to the nearest device pixel edge, so that neighbouring pieces share whole
// pixels and no seam shows between them.
Point snapToDevicePixels(cairo_t* cr, Point p) {
    double x = p.x, y = p.y;
    cairo_user_to_device(cr, &x, &y);
    x = std::round(x), y = std::round(y);
    cairo_device_to_user(cr, &x, &y);
    return {x, y};
}

SurfacePtr decodeFile(const std::string& path) {
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        std::cerr << "picture not found: " << path << "\n";
        return nullptr;
    }
    std::string error;
    SurfacePtr surface = decodePicture(*bytes, error);
    if (!surface)
        std::cerr << "picture not loaded: " << path << ": " << error << "\n";
    else if (!error.empty())
        std::cerr << "picture damaged: " << path << ": " << error << "\n";
    return surface;
}

} // namespace

Image Image::fromFile(const std::string& path) {
    std::string preferred = doubleScalePath(path);
    bool useDouble = !preferred.empty() && fileExists(preferred);
    const std::string& chosen = useDouble ? preferred : path;
    Image image;
    image.surface_ = LoadedPictures::shared().find(chosen);
    if (!image.surface_)
        image.surface_ = decodeFile(chosen);
    if (!image.surface_)
        return {};
    LoadedPictures::shared().remember(chosen, image.surface_);
    image.scale_ = useDouble || endsWith(path, "@2x.png") ? 2 : 1;
    image.fileName_ = chosen;
    return image;
}

Image Image::fromData(const std::string& bytes, Float scale) {
    std::string error;
    SurfacePtr surface = decodePicture(bytes, error);
    if (!surface) {
        std::cerr << "picture not loaded from memory: " << error << "\n";
        return {};
    }
    if (!error.empty())
        std::cerr << "picture damaged, from memory: " << error << "\n";
    Image image;
    image.surface_ = std::move(surface);
    image.scale_ = scale > 0 ? scale : 1;
    return image;
}

Image Image::fromSurface(cairo_surface_t* surface, Float scale) {
    Image image;
    image.surface_ = asArgbSurface(surface);
    image.scale_ = scale > 0 ? scale : 1;
    if (image.pixelSize() == Size{0, 0})
        image.surface_.reset();
    return image;
}

Size Image::pixelSize() const {
    if (!surface_)
        return {0, 0};
    return {static_cast<Float>(cairo_image_surface_get_width(surface_.get())),
            static_cast<Float>(cairo_image_surface_get_height(surface_.get()))};
}

Size Image::size() const {
    Size pixels = pixelSize();
    return {pixels.width / scale_, pixels.height / scale_};
}

Image Image::cropped(const Rect& rectInPixels) const {
    Size pixels = pixelSize();
    int x0 = pixelIndex(std::floor(rectInPixels.minX()), 0, pixels.width);
    int y0 = pixelIndex(std::floor(rectInPixels.minY()), 0, pixels.height);
    int x1 = pixelIndex(std::ceil(rectInPixels.maxX()), x0, pixels.width);
    int y1 = pixelIndex(std::ceil(rectInPixels.maxY()), y0, pixels.height);
    if (x1 == x0 || y1 == y0)
        return {};
    SurfacePtr piece = makeArgbSurface(x1 - x0, y1 - y0);
    if (!piece)
        return {};
    cairo_t* cr = cairo_create(piece.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface_.get(), -x0, -y0);
    cairo_paint(cr);
    cairo_destroy(cr);
    Image image;
    image.surface_ = std::move(piece);
    image.scale_ = scale_;
    image.fileName_ = fileName_;
    return image;
}

Image Image::stretchable(Float leftCap, Float topCap) const {
    Image image = *this;
    image.leftCap_ = std::max<Float>(leftCap, 0);
    image.topCap_ = std::max<Float>(topCap, 0);
    image.slices_.reset();
    if (empty() || !image.isStretchable())
        return image;
    Size pixels = pixelSize();
    auto columns = splitPixels(static_cast<int>(pixels.width), image.leftCap_, scale_);
    auto rows = splitPixels(static_cast<int>(pixels.height), image.topCap_, scale_);
    auto slices = std::make_shared<StretchSlices>();
    int y = 0;
    for (int row = 0; row < 3; ++row) {
        int x = 0;
        for (int column = 0; column < 3; ++column) {
            slices->pieces[row * 3 + column] = cropped(Rect(x, y, columns[column], rows[row]));
            x += columns[column];
        }
        y += rows[row];
    }
    for (int i = 0; i < 3; ++i) {
        slices->columnWidths[i] = columns[i] / scale_;
        slices->rowHeights[i] = rows[i] / scale_;
    }
    image.slices_ = std::move(slices);
    return image;
}

void Image::draw(cairo_t* cr, const Rect& rect, Float alpha, ImageFilter filter) const {
    if (empty() || !cr || rect.width() <= 0 || rect.height() <= 0 || alpha <= 0)
        return;
    if (slices_)
        drawStretched(cr, rect, alpha, filter);
    else
        drawWhole(cr, rect, alpha, filter);
}

void Image::drawWhole(cairo_t* cr, const Rect& rect, Float alpha, ImageFilter filter) const {
    SurfacePtr source = surface_;
    if (filter == ImageFilter::Good)
        source = shrunkTowards(surface_, deviceScaleFactor(cr, rect, pixelSize()));
    Size pixels{static_cast<Float>(cairo_image_surface_get_width(source.get())),
                static_cast<Float>(cairo_image_surface_get_height(source.get()))};
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source.get());
    cairo_matrix_t toPixels;
    cairo_matrix_init_scale(&toPixels, pixels.width / rect.width(), pixels.height / rect.height());
    cairo_matrix_translate(&toPixels, -rect.x(), -rect.y());
    cairo_pattern_set_matrix(pattern, &toPixels);
    // Padding keeps the outermost pixels from fading into transparency when the picture is scaled.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, cairoFilter(filter));
    cairo_save(cr);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
    if (alpha >= 1) {
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
}

void Image::drawStretched(cairo_t* cr, const Rect& rect, Float alpha, ImageFilter filter) const {
    auto widths = spreadLengths(slices_->columnWidths, rect.width());
    auto heights = spreadLengths(slices_->rowHeights, rect.height());
    std::array<Float, 4> xs{rect.x()}, ys{rect.y()};
    for (int i = 0; i < 3; ++i) {
        xs[i + 1] = xs[i] + widths[i];
        ys[i + 1] = ys[i] + heights[i];
    }
    if (contextIsAxisAligned(cr)) {
        for (int i = 0; i < 4; ++i) {
            Point snapped = snapToDevicePixels(cr, {xs[i], ys[i]});
            xs[i] = snapped.x, ys[i] = snapped.y;
        }
    }
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            Rect cell(xs[column], ys[row], xs[column + 1] - xs[column], ys[row + 1] - ys[row]);
            // A stretched piece is one point thick along its stretch, so interpolating would only smear
            // its one or two pixels into a gradient; nearest-neighbour keeps them and costs less.
            bool corner = row != 1 && column != 1;
            slices_->pieces[row * 3 + column].draw(cr, cell, alpha, corner ? filter : ImageFilter::Fast);
        }
    }
}

} // namespace ui
