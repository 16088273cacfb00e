#pragma once
// How the fixed screen of points reaches a window of any pixel size: scaled as large as fits with its
// aspect ratio kept, centred, the rest a plain dark margin.
//
//     Letterbox box({320, 480}, {1000, 600});   // 400 x 600 pixels of screen at 1.25 pixels per point
//     box.origin();                              // (300, 0): where the screen starts in the window
//     box.screenPoint({310, 10});                // (8, 8) in points
//     box.screenPoint({10, 10});                 // nullopt: the margin touches nothing
//
// The screen's pixel size and origin are whole pixels, so the screen is drawn at its real pixel scale
// and copied to the window without stretching.

#include "Platform/Geometry.h"

#include <optional>

namespace ui {

class Letterbox {
public:
    // The margin's grey, 0..255 in each channel.
    static constexpr int marginGrey = 28;

    Letterbox(Size screenPoints, Size windowPixels);

    Size windowPixels() const { return window_; }
    // Pixels per point of the screen in the window.
    Float scale() const { return scale_; }
    // The screen's size in whole pixels and its top left corner in the window.
    Size screenPixels() const { return screenPixels_; }
    Point origin() const { return origin_; }
    // The screen point under a window pixel position, or nullopt in the margin.
    std::optional<Point> screenPoint(Point windowPixel) const;

private:
    Size screen_, window_;
    Float scale_ = 1;
    Size screenPixels_;
    Point origin_;
};

} // namespace ui
