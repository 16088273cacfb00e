#include "Platform/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace ui {

Letterbox::Letterbox(Size screenPoints, Size windowPixels) : screen_(screenPoints), window_(windowPixels) {
    if (screen_.width > 0 && screen_.height > 0 && window_.width > 0 && window_.height > 0)
        scale_ = std::min(window_.width / screen_.width, window_.height / screen_.height);
    screenPixels_ = {std::max(1.0, std::round(screen_.width * scale_)),
                     std::max(1.0, std::round(screen_.height * scale_))};
    origin_ = {std::max(0.0, std::floor((window_.width - screenPixels_.width) / 2)),
               std::max(0.0, std::floor((window_.height - screenPixels_.height) / 2))};
}

std::optional<Point> Letterbox::screenPoint(Point windowPixel) const {
    Point inside = windowPixel - origin_;
    if (inside.x < 0 || inside.y < 0 || inside.x >= screenPixels_.width || inside.y >= screenPixels_.height)
        return std::nullopt;
    return Point{inside.x * screen_.width / screenPixels_.width,
                 inside.y * screen_.height / screenPixels_.height};
}

} // namespace ui
