#pragma once
// Immutable pictures. A picture has a size in points and a pixel scale (points x scale = pixels),
// optional stretch caps, and is shared between views. A picture that could not be loaded is
// empty: size 0, nothing drawn, never a crash.

#include "Platform/Geometry.h"

#include <cairo.h>
#include <memory>
#include <string>

namespace ui {

// How a picture is resampled when drawn at another size than its own pixels.
//   Good     for pictures at rest: every pixel counts when shrinking (halving steps, then bilinear),
//            bilinear when growing. Under 1 ms for a full-screen picture at any size.
//   Bilinear plain bilinear: cheap, but shrinking by more than half aliases fine detail.
//   Fast     for pictures rescaled every frame while they move: nearest-neighbour when opaque,
//            bilinear when blended at an alpha (Pixman's fast paths make that the cheaper one).
// A picture drawn pixel for pixel (at its own scale, on whole pixels) costs the same with all three.
enum class ImageFilter { Good, Bilinear, Fast };

struct StretchSlices;

class Image {
public:
    Image() = default; // the empty picture

    // Decodes PNG or JPEG bytes from a file. For NAME.png, NAME@2x.png is preferred when it exists
    // (scale 2: its size in points is half its pixel size); a file named NAME@2x.png has scale 2 too;
    // other files have one point per pixel. A missing or undecodable file gives the empty picture and
    // a line on stderr naming the file; a JPEG cut off before its end shows the part that is there,
    // with such a line too. Loading a file again while a picture of it is alive shares
    // its pixels instead of decoding them again.
    static Image fromFile(const std::string& path);
    // Decodes PNG or JPEG bytes; the empty picture when they are neither or are damaged.
    static Image fromData(const std::string& bytes, Float scale = 1);
    // Wraps an image surface (takes a reference of its own). Other formats than ARGB32 are converted
    // to a premultiplied ARGB32 copy, which blends several times faster than RGB24.
    static Image fromSurface(cairo_surface_t* surface, Float scale);

    bool empty() const { return !surface_; }
    Size size() const;      // in points; {0, 0} when empty
    Size pixelSize() const; // {0, 0} when empty
    Float scale() const { return scale_; }
    cairo_surface_t* surface() const { return surface_.get(); }

    // The same pixels, stretched when drawn larger: the left `leftCap` and top `topCap` points stay
    // unscaled, one middle column and row (one point wide) stretch, and the rest is the right and
    // bottom cap (UIKit's stretchableImageWithLeftCapWidth:topCapHeight:).
    Image stretchable(Float leftCap, Float topCap) const;
    bool isStretchable() const { return leftCap_ > 0 || topCap_ > 0; }
    Float leftCap() const { return leftCap_; }
    Float topCap() const { return topCap_; }

    // The part of the picture inside `rectInPixels` (CGImageCreateWithImageInRect works in pixels),
    // clipped to the picture; a copy with the same scale and no caps. Empty when nothing is left.
    Image cropped(const Rect& rectInPixels) const;

    // Draws the picture into `rect` (points) of the context, stretched by its caps when it has any.
    // The edges stay crisp: the picture is not blended with what lies outside it.
    void draw(cairo_t* cr, const Rect& rect, Float alpha = 1, ImageFilter filter = ImageFilter::Good) const;

    // The file the picture was loaded from, "" when it was made in memory.
    const std::string& fileName() const { return fileName_; }

private:
    void drawWhole(cairo_t* cr, const Rect& rect, Float alpha, ImageFilter filter) const;
    void drawStretched(cairo_t* cr, const Rect& rect, Float alpha, ImageFilter filter) const;

    std::shared_ptr<cairo_surface_t> surface_;
    Float scale_ = 1;
    Float leftCap_ = 0, topCap_ = 0;
    std::shared_ptr<const StretchSlices> slices_; // the nine pieces of a stretchable picture
    std::string fileName_;
};

// An offscreen picture context (UIGraphicsBeginImageContext): draw with Cairo in points, then take
// the picture. Transforms applied to `cairo()` work like CGContext transforms.
class ImageContext {
public:
    explicit ImageContext(Size sizeInPoints, Float scale = 2);
    ~ImageContext();
    ImageContext(const ImageContext&) = delete;
    ImageContext& operator=(const ImageContext&) = delete;

    cairo_t* cairo() const { return cr_; }
    Image image() const;

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    Float scale_;
};

// Writes an image surface as a PNG file; false on failure (also for a null surface).
bool writePng(cairo_surface_t* surface, const std::string& path);

} // namespace ui
