#include "tests/support/PictureBytes.h"
#include "tests/support/TemporaryFolder.h"

#include "Platform/Image.h"
#include "Platform/ImageDecoder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;
using namespace testpictures;

namespace {

const Rgba red{255, 0, 0, 255}, blue{0, 0, 255, 255};

// A picture whose red channel tells the column band (left cap 255, middle 128, rest 0) and whose
// green channel tells the row band, for caps of `cap` pixels and a middle of `middle` pixels.
Image bandedPicture(int side, int cap, int middle, Float scale) {
    ImageContext context({static_cast<Float>(side), static_cast<Float>(side)}, 1);
    cairo_t* cr = context.cairo();
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            auto band = [&](int v) { return v < cap ? 1.0 : v < cap + middle ? 128 / 255.0 : 0.0; };
            cairo_set_source_rgb(cr, band(x), band(y), 0);
            cairo_rectangle(cr, x, y, 1, 1);
            cairo_fill(cr);
        }
    }
    return Image::fromSurface(context.image().surface(), scale);
}

} // namespace

TEST(PictureFiles, TheDoubleScaleFileIsPreferredAndAPictureHeldIsSharedUntilItsFileChanges) {
    TemporaryFolder folder;
    writeFile(folder / "plain.png", solidPng(30, 20, red));
    Image plain = Image::fromFile((folder / "plain.png"));
    EXPECT_EQ(plain.size(), (Size{30, 20})) << "one point per pixel without @2x";
    EXPECT_EQ(plain.fileName(), (folder / "plain.png"));
    writeFile(folder / "ring.png", solidPng(10, 10, red));
    writeFile(folder / "ring@2x.png", solidPng(40, 30, blue));
    Image image = Image::fromFile((folder / "ring.png"));
    EXPECT_EQ(image.size(), (Size{20, 15}));
    EXPECT_EQ(image.pixelSize(), (Size{40, 30}));
    EXPECT_EQ(image.scale(), 2);
    EXPECT_EQ(image.fileName(), (folder / "ring@2x.png"));
    EXPECT_EQ(pixelAt(image.surface(), 0, 0), blue);
    EXPECT_EQ(Image::fromFile((folder / "ring@2x.png")).size(), (Size{20, 15}));
    // A picture loaded again while held shares its pixels until the file changes.
    Image again = Image::fromFile((folder / "plain.png"));
    EXPECT_EQ(again.surface(), plain.surface());
    writeFile(folder / "plain.png", solidPng(12, 10, blue));
    Image rewritten = Image::fromFile((folder / "plain.png"));
    EXPECT_EQ(rewritten.pixelSize(), (Size{12, 10}));
    EXPECT_EQ(pixelAt(rewritten.surface(), 0, 0), blue);
    EXPECT_EQ(pixelAt(plain.surface(), 0, 0), red) << "a picture already loaded never changes";
}

TEST(PictureFiles, OpaquePngAndJpegFilesBecomeArgbWithFullAlpha) {
    TemporaryFolder folder;
    writeFile(folder / "opaque.png", solidPng(8, 8, {10, 200, 30, 255}, CAIRO_FORMAT_RGB24));
    writeFile(folder / "start.jpg", solidJpeg(64, 48, {200, 100, 50, 255}));
    Image png = Image::fromFile(folder / "opaque.png"), jpeg = Image::fromFile(folder / "start.jpg");
    EXPECT_EQ(pixelAt(png.surface(), 3, 3), (Rgba{10, 200, 30, 255}));
    EXPECT_EQ(jpeg.size(), (Size{64, 48})) << "one point per pixel";
    EXPECT_TRUE(near(pixelAt(jpeg.surface(), 30, 20), {200, 100, 50, 255}, 6));
    for (const Image& image : {png, jpeg})
        EXPECT_EQ(cairo_image_surface_get_format(image.surface()), CAIRO_FORMAT_ARGB32);
}

// Sides up to 8192 pixels and up to 32 Mi pixels in all are decoded; beyond, the header alone refuses.
TEST(PictureFiles, PicturesBeyondTheSideOrPixelLimitAreRefusedFromTheirHeader) {
    struct Case {
        std::uint32_t width, height;
        bool decodes;
    } cases[] = {{8192, 1, true}, {8193, 1, false}, {1, 8192, true}, {1, 8193, false}, {65536, 1, false}};
    for (const Case& c : cases) {
        std::string error;
        SurfacePtr png = decodePicture(blackPng(c.width, c.height), error);
        EXPECT_EQ(png != nullptr, c.decodes) << c.width << " x " << c.height << ": " << error;
        EXPECT_EQ(error, c.decodes ? "" : "PNG picture too large");
    }
    EXPECT_TRUE(pictureSizeIsAcceptable(8192, 4096));
    EXPECT_FALSE(pictureSizeIsAcceptable(8192, 4097));

    std::string jpeg = solidJpeg(16, 16, red);
    size_t frame = jpeg.find("\xff\xc0");
    ASSERT_NE(frame, std::string::npos) << "baseline frame header";
    auto withSides = [&](int height, int width) {
        std::string sides{char(height >> 8), char(height), char(width >> 8), char(width)};
        return std::string(jpeg).replace(frame + 5, 4, sides);
    };
    EXPECT_FALSE(Image::fromData(withSides(16, 16)).empty()) << "the patching itself keeps a valid picture";
    EXPECT_TRUE(Image::fromData(withSides(1, 8193)).empty());
    EXPECT_TRUE(Image::fromData(withSides(8000, 8000)).empty()) << "64 million pixels";
}

TEST(PictureFiles, EveryTruncationAndByteFlipOfAPictureDecodesOrGivesTheEmptyPicture) {
    TemporaryFolder folder;
    writeFile(folder / "p.png", solidPng(9, 7, {10, 20, 30, 255}));
    writeFile(folder / "p.jpg", solidJpeg(9, 7, {10, 20, 30, 255}));
    testing::internal::CaptureStderr(); // one complaint per damaged variant
    for (const char* name : {"p.png", "p.jpg"}) {
        std::string bytes = readFile((folder / name));
        for (size_t length = 0; length < bytes.size(); ++length) {
            Image image = Image::fromData(bytes.substr(0, length));
            EXPECT_TRUE(image.empty() || image.pixelSize() == (Size{9, 7})) << name << " cut at " << length;
        }
        for (size_t at = 0; at < bytes.size(); ++at) {
            std::string flipped = bytes;
            flipped[at] = static_cast<char>(~flipped[at]);
            Image image = Image::fromData(flipped);
            EXPECT_TRUE(image.empty() ||
                        pictureSizeIsAcceptable(static_cast<uint64_t>(image.pixelSize().width),
                                                static_cast<uint64_t>(image.pixelSize().height)));
        }
    }
    testing::internal::GetCapturedStderr();
}

TEST(StretchablePictures, CapsAreInPointsAndShrinkWithoutGapsInARectSmallerThanThem) {
    // 42 pixels at scale 2: caps of 10 points are 20 pixels, the one-point middle is 2 pixels.
    ImageContext context({100, 60}, 2);
    bandedPicture(42, 20, 2, 2).stretchable(10, 10).draw(context.cairo(), Rect(0, 0, 100, 60));
    // Red tells the column band along pixel row 60, green the row band down pixel column 100.
    Image shot = context.image();
    for (auto [x, red] : {std::pair{19, 255}, {20, 128}, {179, 128}, {180, 0}})
        EXPECT_EQ(pixelAt(shot.surface(), x, 60).r, red) << "x " << x;
    for (auto [y, green] : {std::pair{19, 255}, {20, 128}, {99, 128}, {100, 0}})
        EXPECT_EQ(pixelAt(shot.surface(), 100, y).g, green) << "y " << y;
    // A rect smaller than the caps shrinks them without gaps.
    ImageContext small({10, 10}, 1);
    bandedPicture(21, 10, 1, 1).stretchable(10, 10).draw(small.cairo(), Rect(0, 0, 10, 10));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(pixelAt(small.image().surface(), x, 5).a, 255) << x;
}

TEST(DrawingContexts, AContextLetsGoOfItsPixelsWhenItEnds) {
    cairo_surface_t* target;
    {
        ImageContext context({10, 10}, 2);
        target = cairo_surface_reference(cairo_get_target(context.cairo()));
    }
    EXPECT_EQ(cairo_surface_get_reference_count(target), 1u);
    cairo_surface_destroy(target);
}

TEST(CroppedPictures, ACropTakesThePixelsOfItsRectClippedToThePictureAndKeepsTheScale) {
    Image picture = bandedPicture(42, 20, 2, 2);
    Image piece = picture.cropped(Rect(20, 0, 22, 10));
    EXPECT_EQ(piece.pixelSize(), (Size{22, 10}));
    EXPECT_EQ(piece.size(), (Size{11, 5}));
    EXPECT_EQ(pixelAt(piece.surface(), 0, 0).r, 128);
    EXPECT_EQ(pixelAt(piece.surface(), 2, 0).r, 0);
    EXPECT_EQ(picture.cropped(Rect(30, 10, 50, 50)).pixelSize(), (Size{12, 32}));
    EXPECT_EQ(picture.cropped(Rect(-5, -5, 10, 10)).pixelSize(), (Size{5, 5}));
    EXPECT_TRUE(picture.cropped(Rect(42, 0, 10, 10)).empty());
    EXPECT_TRUE(picture.cropped(Rect(0, 0, 0, 10)).empty());
}
