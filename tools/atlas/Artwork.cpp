#include "Artwork.h"

#include "IndentedText.h"

#include <algorithm>
#include <cmath>
#include <expat.h>
#include <fstream>
#include <librsvg/rsvg.h>
#include <set>
#include <sstream>

namespace atlas {

namespace {

// Every element filled opaque: the generator gives shapes their colours itself.
constexpr char maskStyle[] = "* { fill: #000 !important; fill-opacity: 1 !important; opacity: 1 !important;"
                             " stroke-opacity: 1 !important; }";

// Fine enough that a shape's box is measured to a twentieth of a point in the closest views.
constexpr double measuringPixels = 3000;

struct CairoContext {
    explicit CairoContext(cairo_surface_t* surface) : cr(cairo_create(surface)) {}
    ~CairoContext() { cairo_destroy(cr); }
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;
    cairo_t* cr;
};

} // namespace

Artwork::Artwork(const std::filesystem::path& file, const std::string& silhouette) : file_(file) {
    GError* error = nullptr;
    handle_ = rsvg_handle_new_from_file(file.c_str(), &error);
    if (!handle_) {
        std::string message = error ? error->message : "unreadable";
        g_clear_error(&error);
        throw AuthoringError(file.string(), 0, "cannot read the drawing: " + message);
    }
    rsvg_handle_set_stylesheet(handle_, reinterpret_cast<const guint8*>(maskStyle), sizeof maskStyle - 1,
                               &error);
    g_clear_error(&error);
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle_, &width_, &height_)) {
        gboolean hasWidth, hasHeight, hasViewBox;
        RsvgLength w, h;
        RsvgRectangle viewBox;
        rsvg_handle_get_intrinsic_dimensions(handle_, &hasWidth, &w, &hasHeight, &h, &hasViewBox, &viewBox);
        width_ = hasViewBox ? viewBox.width : 0;
        height_ = hasViewBox ? viewBox.height : 0;
    }
    if (width_ <= 0 || height_ <= 0)
        throw AuthoringError(file.string(), 0, "the drawing has no size");
    double k = measuringPixels / std::max(width_, height_);
    whole_ =
        ViewFrame({0, 0, width_, height_}, false, int(std::ceil(width_ * k)), int(std::ceil(height_ * k)));
    if (silhouette.empty()) {
        bodyOfWhole_ = Mask(whole_.width(), whole_.height());
        return;
    }
    if (!hasElement(silhouette))
        throw AuthoringError(file.string(), 0, "the drawing has no element \"" + silhouette + "\"");
    Mask outside = Mask::outsideOf(mask(silhouette, whole_), 40);
    bodyOfWhole_ = Mask(outside.width(), outside.height());
    for (int y = 0; y < outside.height(); ++y)
        for (int x = 0; x < outside.width(); ++x)
            bodyOfWhole_.at(x, y) = static_cast<std::uint8_t>(255 - outside.at(x, y));
}

Artwork::~Artwork() {
    if (handle_)
        g_object_unref(handle_);
}

bool Artwork::hasElement(const std::string& id) const {
    return !id.empty() && rsvg_handle_has_sub(handle_, ("#" + id).c_str());
}

Mask Artwork::mask(const std::string& id, const ViewFrame& frame) const {
    Mask result(frame.width(), frame.height());
    if (!hasElement(id))
        return result;
    auto surface = result.surface();
    {
        CairoContext context(surface.get());
        cairo_matrix_t m = frame.matrix();
        cairo_set_matrix(context.cr, &m);
        RsvgRectangle viewport{0, 0, width_, height_};
        GError* error = nullptr;
        rsvg_handle_render_layer(handle_, context.cr, ("#" + id).c_str(), &viewport, &error);
        g_clear_error(&error);
    }
    cairo_surface_flush(surface.get());
    return result;
}

Box Artwork::box(const std::string& id) const {
    if (auto known = boxes_.find(id); known != boxes_.end())
        return known->second;
    Box pixels = mask(id, whole_).bounds(20);
    Box units;
    if (!pixels.empty()) {
        double k = whole_.pixelsPerUnit();
        units = {whole_.window().x + pixels.x / k, whole_.window().y + pixels.y / k, pixels.width / k,
                 pixels.height / k};
    }
    boxes_[id] = units;
    return units;
}

Mask Artwork::body(const ViewFrame& frame) const {
    Mask result(frame.width(), frame.height());
    auto target = result.surface();
    auto source = bodyOfWhole_.surface();
    {
        CairoContext context(target.get());
        cairo_matrix_t toFrame = frame.matrix(), fromWhole = whole_.matrix();
        cairo_matrix_invert(&fromWhole);
        cairo_matrix_t m;
        cairo_matrix_multiply(&m, &fromWhole, &toFrame);
        cairo_set_matrix(context.cr, &m);
        cairo_set_source_surface(context.cr, source.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(context.cr), CAIRO_FILTER_BILINEAR);
        cairo_paint(context.cr);
    }
    cairo_surface_flush(target.get());
    return result;
}

namespace {

struct TitleScan {
    std::vector<std::string> ids; // the id of each open element, "" when it has none
    bool inTitle = false;
    std::string title;
    std::vector<Artwork::Shape> shapes;
    std::set<std::string> seen;

    static void start(void* data, const char* name, const char** attributes) {
        auto* scan = static_cast<TitleScan*>(data);
        std::string id;
        for (int i = 0; attributes[i]; i += 2)
            if (std::string(attributes[i]) == "id")
                id = attributes[i + 1];
        scan->inTitle = std::string(name).ends_with("title");
        scan->title.clear();
        scan->ids.push_back(id);
    }
    static void text(void* data, const char* s, int length) {
        auto* scan = static_cast<TitleScan*>(data);
        if (scan->inTitle)
            scan->title.append(s, length);
    }
    static void end(void* data, const char*) {
        auto* scan = static_cast<TitleScan*>(data);
        scan->ids.pop_back();
        if (scan->inTitle && !scan->ids.empty()) {
            const std::string& owner = scan->ids.back();
            if (!owner.empty() && scan->seen.insert(owner).second)
                scan->shapes.push_back({owner, scan->title});
        }
        scan->inTitle = false;
    }
};

} // namespace

std::vector<Artwork::Shape> Artwork::titledShapes() const {
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    TitleScan scan;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &scan);
    XML_SetElementHandler(parser, TitleScan::start, TitleScan::end);
    XML_SetCharacterDataHandler(parser, TitleScan::text);
    XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1);
    XML_ParserFree(parser);
    return scan.shapes;
}

} // namespace atlas
