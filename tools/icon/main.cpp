// torvex-icon DRAWING.svg FOLDER SIZE...: renders the program's icon drawing into FOLDER as
// torvex-SIZE.png, one square picture per size, for the window to show (the program itself reads
// PNG only).

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

bool renderIcon(RsvgHandle* drawing, int size, const std::filesystem::path& file) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle place{0, 0, static_cast<double>(size), static_cast<double>(size)};
    GError* error = nullptr;
    bool drawn = rsvg_handle_render_document(drawing, cr, &place, &error);
    if (!drawn)
        std::cerr << "torvex-icon: " << (error ? error->message : "cannot draw the icon") << "\n";
    g_clear_error(&error);
    cairo_destroy(cr);
    bool written = drawn && cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    if (drawn && !written)
        std::cerr << "torvex-icon: cannot write " << file << "\n";
    cairo_surface_destroy(surface);
    return written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: torvex-icon DRAWING.svg FOLDER SIZE...\n";
        return 2;
    }
    GError* error = nullptr;
    RsvgHandle* drawing = rsvg_handle_new_from_file(argv[1], &error);
    if (!drawing) {
        std::cerr << "torvex-icon: cannot read " << argv[1] << ": " << (error ? error->message : "") << "\n";
        g_clear_error(&error);
        return 1;
    }
    std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    int status = 0;
    for (int i = 3; i < argc; ++i) {
        int size = std::atoi(argv[i]);
        if (size <= 0 || !renderIcon(drawing, size, folder / ("torvex-" + std::to_string(size) + ".png")))
            status = 1;
    }
    g_object_unref(drawing);
    return status;
}
