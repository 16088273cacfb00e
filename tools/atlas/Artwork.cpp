#include "Artwork.h"

#include "IndentedText.h"

#include "Platform/EditDistance.h"

#include <algorithm>
#include <cctype>
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
// The drawing's own fills and strokes, opaque where it paints.
constexpr char paintedStyle[] = "* { fill-opacity: 1 !important; opacity: 1 !important;"
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

Artwork::Artwork(const std::filesystem::path& file, const std::string& silhouette) : Artwork(file) {
    setSilhouette(silhouette);
}

namespace {

RsvgHandle* openDrawing(const std::filesystem::path& file, const char* style, std::size_t styleLength) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(file.c_str(), &error);
    if (!handle) {
        std::string message = error ? error->message : "unreadable";
        message.erase(message.find_last_not_of(" \n") + 1);
        g_clear_error(&error);
        throw AuthoringError(file.string(), 0, "cannot read the drawing: " + message);
    }
    rsvg_handle_set_stylesheet(handle, reinterpret_cast<const guint8*>(style), styleLength, &error);
    g_clear_error(&error);
    return handle;
}

} // namespace

Artwork::Artwork(const std::filesystem::path& file) : file_(file) {
    handle_ = openDrawing(file, maskStyle, sizeof maskStyle - 1);
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
    bodyOfWhole_ = Mask(whole_.width(), whole_.height());
    paintedHandle_ = openDrawing(file, paintedStyle, sizeof paintedStyle - 1);
}

void Artwork::setSilhouette(const std::string& silhouette) {
    if (silhouette.empty())
        return;
    if (!hasElement(silhouette))
        throw AuthoringError(file_.string(), 0,
                             "the drawing has no element \"" + silhouette + "\"" + didYouMean(silhouette));
    Mask outside = Mask::outsideOf(mask(silhouette, whole_), 40);
    bodyOfWhole_ = Mask(outside.width(), outside.height());
    for (int y = 0; y < outside.height(); ++y)
        for (int x = 0; x < outside.width(); ++x)
            bodyOfWhole_.at(x, y) = static_cast<std::uint8_t>(255 - outside.at(x, y));
}

Artwork::~Artwork() {
    if (handle_)
        g_object_unref(handle_);
    if (paintedHandle_)
        g_object_unref(paintedHandle_);
}

bool Artwork::hasElement(const std::string& id) const {
    return !id.empty() && rsvg_handle_has_sub(handle_, ("#" + id).c_str());
}

namespace {

Mask renderLayer(RsvgHandle* handle, const std::string& id, const ViewFrame& frame, double width,
                 double height) {
    Mask result(frame.width(), frame.height());
    auto surface = result.surface();
    {
        CairoContext context(surface.get());
        cairo_matrix_t m = frame.matrix();
        cairo_set_matrix(context.cr, &m);
        RsvgRectangle viewport{0, 0, width, height};
        GError* error = nullptr;
        rsvg_handle_render_layer(handle, context.cr, ("#" + id).c_str(), &viewport, &error);
        g_clear_error(&error);
    }
    cairo_surface_flush(surface.get());
    return result;
}

} // namespace

Mask Artwork::mask(const std::string& id, const ViewFrame& frame) const {
    if (!hasElement(id))
        return Mask(frame.width(), frame.height());
    return renderLayer(handle_, id, frame, width_, height_);
}

Mask Artwork::paintedMask(const std::string& id, const ViewFrame& frame) const {
    if (!hasElement(id))
        return Mask(frame.width(), frame.height());
    return renderLayer(paintedHandle_, id, frame, width_, height_);
}

Box Artwork::geometry(const std::string& id) const {
    if (!hasElement(id))
        return {};
    RsvgRectangle viewport{0, 0, width_, height_}, ink{}, logical{};
    GError* error = nullptr;
    bool measured =
        rsvg_handle_get_geometry_for_layer(handle_, ("#" + id).c_str(), &viewport, &ink, &logical, &error);
    g_clear_error(&error);
    return measured ? Box{ink.x, ink.y, ink.width, ink.height} : Box{};
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

// Every element with an id, with its inkscape:label attribute and the text of its <title> child.
struct ElementScan {
    std::vector<int> open; // per open element: its index in shapes, -1 when it has no id
    bool inTitle = false;
    std::string title;
    std::vector<Artwork::Shape> shapes;
    std::set<std::string> seen;

    static void start(void* data, const char* name, const char** attributes) {
        auto* scan = static_cast<ElementScan*>(data);
        Artwork::Shape shape;
        for (int i = 0; attributes[i]; i += 2) {
            std::string attribute = attributes[i];
            if (attribute == "id")
                shape.id = attributes[i + 1];
            else if (attribute == "inkscape:label")
                shape.label = attributes[i + 1];
        }
        scan->inTitle = std::string(name).ends_with("title");
        scan->title.clear();
        int index = -1;
        if (!shape.id.empty() && scan->seen.insert(shape.id).second) {
            index = int(scan->shapes.size());
            scan->shapes.push_back(shape);
        }
        scan->open.push_back(index);
    }
    static void text(void* data, const char* s, int length) {
        auto* scan = static_cast<ElementScan*>(data);
        if (scan->inTitle)
            scan->title.append(s, length);
    }
    static void end(void* data, const char*) {
        auto* scan = static_cast<ElementScan*>(data);
        scan->open.pop_back();
        if (scan->inTitle && !scan->open.empty() && scan->open.back() >= 0) {
            std::string& title = scan->shapes[std::size_t(scan->open.back())].title;
            if (title.empty())
                title = scan->title;
        }
        scan->inTitle = false;
    }
};

std::string lowered(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

} // namespace

std::vector<Artwork::Shape> Artwork::namedShapes() const {
    if (shapesScanned_)
        return shapes_;
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    ElementScan scan;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &scan);
    XML_SetElementHandler(parser, ElementScan::start, ElementScan::end);
    XML_SetCharacterDataHandler(parser, ElementScan::text);
    XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1);
    XML_ParserFree(parser);
    shapes_ = std::move(scan.shapes);
    shapesScanned_ = true;
    return shapes_;
}

std::vector<std::string> Artwork::nearestIds(const std::string& id, std::size_t count) const {
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (const Shape& shape : namedShapes())
        ranked.emplace_back(ui::editDistance(lowered(id), lowered(shape.id)), shape.id);
    std::ranges::stable_sort(ranked, {}, &std::pair<std::size_t, std::string>::first);
    std::vector<std::string> nearest;
    for (std::size_t i = 0; i < ranked.size() && i < count; ++i)
        nearest.push_back(ranked[i].second);
    return nearest;
}

std::string Artwork::didYouMean(const std::string& id) const {
    std::vector<std::string> nearest = nearestIds(id);
    if (nearest.empty())
        return "";
    std::string text = " (did you mean ";
    for (std::size_t i = 0; i < nearest.size(); ++i)
        text += (i == 0 ? "" : i + 1 == nearest.size() ? " or " : ", ") + nearest[i];
    return text + "?)";
}

} // namespace atlas
