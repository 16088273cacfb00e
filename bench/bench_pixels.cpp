// Costs of the pixel side of the toolkit at the phone's scale 2: decoding, drawing pictures with each
// filter, stretched panels, text measuring and drawing, and presenting a frame in a window (that last
// one only when a display is there: run under `xvfb-run -a -s "-screen 0 1024x1200x24"`).

#include "Platform/Font.h"
#include "Platform/Image.h"
#include "Platform/SdlWindow.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sstream>

using namespace ui;

namespace {

constexpr Float screenWidth = 320, screenHeight = 480, scale = 2;

// A full-screen picture with smooth shading and shapes, so that it compresses like artwork does.
Image syntheticArtwork(bool opaque) {
    ImageContext context({screenWidth, screenHeight}, scale);
    cairo_t* cr = context.cairo();
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, screenWidth, screenHeight);
    cairo_pattern_add_color_stop_rgba(shade, 0, 0.8, 0.5, 0.4, opaque ? 1 : 0.2);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0.3, 0.1, 0.1, 1);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    for (int i = 0; i < 40; ++i) {
        cairo_set_source_rgba(cr, (i % 7) / 7.0, (i % 5) / 5.0, (i % 3) / 3.0, 0.7);
        cairo_arc(cr, (i * 37) % 320, (i * 53) % 480, 10 + i % 30, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    return context.image();
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string encodedPng(const Image& image) {
    std::string path = (std::filesystem::temp_directory_path() / "bench-pixels.png").string();
    writePng(image.surface(), path);
    std::string bytes = fileBytes(path);
    std::filesystem::remove(path);
    return bytes;
}

// The opaque picture's pixels as a gdk-pixbuf, to encode a JPEG from.
GdkPixbuf* opaquePixbuf(const Image& image) {
    cairo_surface_t* surface = image.surface();
    int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    for (int y = 0; y < height; ++y) {
        auto* in = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                     y * cairo_image_surface_get_stride(surface));
        guchar* out = gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = in[x] >> 16 & 0xff, out[3 * x + 1] = in[x] >> 8 & 0xff,
                    out[3 * x + 2] = in[x] & 0xff;
        }
    }
    return pixbuf;
}

std::string encodedJpeg(const Image& image) {
    std::string path = (std::filesystem::temp_directory_path() / "bench-pixels.jpg").string();
    GdkPixbuf* pixbuf = opaquePixbuf(image);
    gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", nullptr, "quality", "90", nullptr);
    g_object_unref(pixbuf);
    std::string bytes = fileBytes(path);
    std::filesystem::remove(path);
    return bytes;
}

struct Screen {
    ImageContext context{{screenWidth, screenHeight}, scale};
    cairo_t* cr() const { return context.cairo(); }
};

void BM_DecodePng(benchmark::State& state) {
    std::string bytes = encodedPng(syntheticArtwork(true));
    for (auto _ : state)
        benchmark::DoNotOptimize(Image::fromData(bytes, 2));
    state.SetLabel(std::to_string(bytes.size() / 1024) + " KiB, 640x960");
}
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg(benchmark::State& state) {
    std::string bytes = encodedJpeg(syntheticArtwork(true));
    for (auto _ : state)
        benchmark::DoNotOptimize(Image::fromData(bytes, 2));
    state.SetLabel(std::to_string(bytes.size() / 1024) + " KiB, 640x960");
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

// range(0): filter; range(1): zoom in percent of the screen (100 = pixel for pixel); range(2): alpha %.
void BM_DrawFullScreenPicture(benchmark::State& state) {
    Image picture = syntheticArtwork(true);
    Screen screen;
    auto filter = static_cast<ImageFilter>(state.range(0));
    Float zoom = state.range(1) / 100.0, alpha = state.range(2) / 100.0;
    Rect rect((screenWidth - screenWidth * zoom) / 2, (screenHeight - screenHeight * zoom) / 2,
              screenWidth * zoom, screenHeight * zoom);
    for (auto _ : state)
        picture.draw(screen.cr(), rect, alpha, filter);
    const char* names[] = {"good", "bilinear", "fast"};
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_DrawFullScreenPicture)
    ->ArgsProduct({{0, 1, 2}, {100, 95, 87, 75, 130, 40}, {100, 60}})
    ->Unit(benchmark::kMillisecond);

// A view button's thumbnail: a full-screen picture drawn into 96 x 127 points.
void BM_DrawThumbnail(benchmark::State& state) {
    Image picture = syntheticArtwork(true);
    auto filter = static_cast<ImageFilter>(state.range(0));
    for (auto _ : state) {
        ImageContext thumbnail({96, 127});
        picture.draw(thumbnail.cairo(), Rect(0, 0, 96, 127), 1, filter);
        benchmark::DoNotOptimize(thumbnail.image());
    }
}
BENCHMARK(BM_DrawThumbnail)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_DrawStretchedPanel(benchmark::State& state) {
    ImageContext artwork({60, 60}, 2);
    cairo_set_source_rgba(artwork.cairo(), 0.1, 0.1, 0.1, 0.8);
    cairo_paint(artwork.cairo());
    Image panel = artwork.image().stretchable(17, 21);
    Screen screen;
    for (auto _ : state)
        panel.draw(screen.cr(), Rect(10, 40, 300, 380), 1);
}
BENCHMARK(BM_DrawStretchedPanel)->Unit(benchmark::kMicrosecond);

void BM_TextWidthCached(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(textWidth("Musculus biceps brachii", Font::italicSystem(13)));
}
BENCHMARK(BM_TextWidthCached)->Unit(benchmark::kMicrosecond);

void BM_TextWidthFresh(benchmark::State& state) {
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            textWidth("Musculus biceps brachii " + std::to_string(n++), Font::italicSystem(13)));
}
BENCHMARK(BM_TextWidthFresh)->Unit(benchmark::kMicrosecond);

const std::string longText = [] {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "The deltoid muscle forms the rounded contour of the shoulder and abducts the arm. ";
    return text;
}();

void BM_TextSizeWrappedFresh(benchmark::State& state) {
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(textSize(longText + std::to_string(n++), Font::system(13), 280));
}
BENCHMARK(BM_TextSizeWrappedFresh)->Unit(benchmark::kMicrosecond);

void BM_DrawThirtyLabels(benchmark::State& state) {
    Screen screen;
    TextStyle style;
    style.font = Font::boldSystem(14);
    style.color = Color::white();
    style.alignment = TextAlignment::Center;
    for (auto _ : state)
        for (int i = 0; i < 30; ++i)
            drawText(screen.cr(), "Label number " + std::to_string(i), style, Rect(10, 10 + 15 * i, 300, 20));
}
BENCHMARK(BM_DrawThirtyLabels)->Unit(benchmark::kMicrosecond);

void BM_DrawLongWrappedText(benchmark::State& state) {
    Screen screen;
    TextStyle style;
    style.font = Font::system(13);
    style.color = Color::white();
    style.numberOfLines = 0;
    for (auto _ : state)
        drawText(screen.cr(), longText, style, Rect(20, 60, 280, 360));
}
BENCHMARK(BM_DrawLongWrappedText)->Unit(benchmark::kMicrosecond);

void BM_PresentFrame(benchmark::State& state) {
    std::string error;
    auto window = SdlWindow::open("bench_pixels", {screenWidth, screenHeight},
                                  WindowSizing{scale, std::nullopt}, error);
    if (!window) {
        state.SkipWithError(("no window: " + error).c_str());
        return;
    }
    Image frame = syntheticArtwork(true);
    for (auto _ : state) {
        window->present(frame.surface());
        window->waitEvent(0);
    }
    state.SetLabel(window->rendererName());
}
BENCHMARK(BM_PresentFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
