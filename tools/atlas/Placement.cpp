#include "Placement.h"

#include "ViewFrame.h"

#include <algorithm>
#include <cmath>

namespace atlas {

namespace {

// The picture of the hotspot ring is this many points across at full size.
constexpr double ringPoints = 60;

bool overlapping(const Box& a, const Box& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool contains(const Box& outer, const Box& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

void splitApart(Box& a, Box& b) {
    double overlapX = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    double overlapY = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    Box& first =
        overlapX < overlapY ? (a.centreX() <= b.centreX() ? a : b) : (a.centreY() <= b.centreY() ? a : b);
    Box& second = &first == &a ? b : a;
    if (overlapX < overlapY) {
        double middle = std::max(a.x, b.x) + overlapX / 2;
        first.width = middle - first.x;
        second.width = second.right() - middle;
        second.x = middle;
    } else {
        double middle = std::max(a.y, b.y) + overlapY / 2;
        first.height = middle - first.y;
        second.height = second.bottom() - middle;
        second.y = middle;
    }
}

} // namespace

BuiltPoint pointAt(Pixel pixel, const std::string& infoid) {
    return {pixel.x * designPerPixel, pixel.y * designPerPixel + pictureTopInDesign, infoid};
}

BuiltPoint pointAtPoints(double x, double y, const std::string& infoid) {
    return {x * 1.5, (y + 30) * 1.5, infoid};
}

BuiltHit hitFrom(const Box& pixels) {
    BuiltHit hit;
    hit.x = pixels.x * designPerPixel;
    hit.y = pixels.y * designPerPixel;
    hit.width = pixels.width * designPerPixel;
    hit.height = pixels.height * designPerPixel;
    hit.sx = pixels.centreX() * designPerPixel;
    hit.sy = pixels.centreY() * designPerPixel;
    double smallerSide = std::min(pixels.width, pixels.height) / 2;
    hit.sscale = 100 * std::clamp(smallerSide / ringPoints, 0.6, 1.6);
    return hit;
}

BuiltZoom zoomFrom(const Box& pixels) {
    BuiltZoom zoom;
    zoom.x = pixels.x * designPerPixel;
    zoom.y = pixels.y * designPerPixel;
    // The program reads a zero x as "no placement" and would zoom about the screen's centre instead.
    if (std::abs(zoom.x) < 0.05)
        zoom.x = 0.1;
    zoom.scale = 100 * pixels.width / pictureWidth;
    return zoom;
}

Box pictureShaped(const Box& box) {
    double shape = double(pictureWidth) / pictureHeight;
    Box result = box;
    if (box.width / box.height > shape) {
        result.height = box.width / shape;
        result.y = box.centreY() - result.height / 2;
    } else {
        result.width = box.height * shape;
        result.x = box.centreX() - result.width / 2;
    }
    return result;
}

void separate(std::vector<Box>& boxes) {
    for (int pass = 0; pass < 4; ++pass) {
        bool changed = false;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                Box& a = boxes[i];
                Box& b = boxes[j];
                if (a.empty() || b.empty() || !overlapping(a, b) || contains(a, b) || contains(b, a))
                    continue;
                splitApart(a, b);
                changed = true;
            }
        }
        if (!changed)
            return;
    }
}

} // namespace atlas
