#include "Placement.h"

#include "ViewFrame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace atlas {

namespace {

// The picture of the hotspot ring is this many points across at full size.
constexpr double ringPoints = 60;
// The flag picture is 20 x 28 points, centred 5 points right of and 10 below its point. Its button takes
// touches a little beyond the picture too, but the picture is where a finger aims.
constexpr double flagWidth = 20, flagHeight = 28, flagOffsetX = 5, flagOffsetY = 10;
// A pressable square is between these sizes, in pixels of the picture.
constexpr double smallestSquare = 56, largestSquare = 112;
constexpr int searchStep = 6;

double overlap(const Box& a, const Box& b) {
    double w = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    double h = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

Box squareAt(double cx, double cy, double side) {
    double x = std::clamp(cx - side / 2, 0.0, pictureWidth - side);
    double y = std::clamp(cy - side / 2, 0.0, pictureHeight - side);
    return {x, y, side, side};
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

Box flagFrame(const BuiltPoint& point) {
    double x = point.x / 1.5 + flagOffsetX, y = point.y / 1.5 - 30 + flagOffsetY; // centre, picture points
    return {2 * (x - flagWidth / 2), 2 * (y - flagHeight / 2), 2 * flagWidth, 2 * flagHeight};
}

namespace {

struct Candidate {
    Box square;
    double covered = std::numeric_limits<double>::max(); // area of obstacles under the square
    double offCentre = 0;
};

// The square of SIDE inside AREA that covers least of the obstacles, nearest to the middle among equals.
Candidate bestSquare(const Mask& area, const Box& around, double side, const std::vector<Box>& obstacles) {
    Candidate best{squareAt(around.centreX(), around.centreY(), side)};
    for (int y = int(around.y); y < around.bottom(); y += searchStep) {
        for (int x = int(around.x); x < around.right(); x += searchStep) {
            if (area.at(x, y) <= 127)
                continue;
            Candidate candidate{squareAt(x, y, side), 0,
                                std::hypot(x - around.centreX(), y - around.centreY())};
            for (const Box& obstacle : obstacles)
                candidate.covered += overlap(candidate.square, obstacle);
            if (candidate.covered < best.covered ||
                (candidate.covered == best.covered && candidate.offCentre < best.offCentre))
                best = candidate;
        }
    }
    return best;
}

} // namespace

Box pressSquare(const Mask& area, const std::vector<Box>& obstacles) {
    // The largest square that fits the region and covers no flag; failing that, a smaller one that
    // covers as little as possible.
    Box around = area.bounds();
    double largest = std::clamp(std::min(around.width, around.height), smallestSquare, largestSquare);
    Candidate best;
    for (double side = largest; side >= smallestSquare; side -= 8) {
        Candidate candidate = bestSquare(area, around, side, obstacles);
        if (candidate.covered < best.covered)
            best = candidate;
        if (best.covered == 0)
            break;
    }
    return best.square;
}

} // namespace atlas
