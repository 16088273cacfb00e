#pragma once
// From pixels of a view picture to the data file's design units: flag points, hit areas with their
// rings, and where a sub-region's picture sits inside its parent's.

#include "AtlasSource.h"
#include "BuiltAtlas.h"
#include "Mask.h"

#include <string>
#include <vector>

namespace atlas {

// Flags are shown only when they stand more than 28 points below the top of the picture, and a flag
// needs room beside the picture's edges: labels go inside this band of the 2x picture.
constexpr Box flagBand{16, 60, 608, 760};

BuiltPoint pointAt(Pixel pixel, const std::string& infoid);
// A flag placed by hand at (X, Y) points of the picture.
BuiltPoint pointAtPoints(double x, double y, const std::string& infoid);

// The ring of the hotspot pulses to about the size of the pressable square it marks.
BuiltHit hitFrom(const Box& pixels);
BuiltZoom zoomFrom(const Box& pixels);
// The smallest box of the picture's shape around BOX, centred on it.
Box pictureShaped(const Box& box);

// Where the flag picture of POINT stands, in pixels of the picture.
Box flagFrame(const BuiltPoint& point);
// The pressable square of a sub-region on its parent's picture. The program lays sub-region buttons
// over the picture and its flags, so a button as large as the sub-region would swallow every flag in
// it: the square is centred inside AREA (the sub-region's shapes there), kept as clear as it can be of
// OBSTACLES (flag pictures, the squares of sister regions) and otherwise near AREA's middle.
Box pressSquare(const Mask& area, const std::vector<Box>& obstacles);

} // namespace atlas
