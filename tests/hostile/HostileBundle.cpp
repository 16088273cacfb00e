#include "HostileBundle.h"

#include "tests/support/PictureBytes.h"
#include "tools/atlas/DataFile.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string doubleScaleName(const std::string& name) {
    return endsWith(name, ".png") ? name.substr(0, name.size() - 4) + "@2x.png" : "";
}

fs::path newTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "torvex-hostile-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

void appendBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

std::uint32_t crc32(const std::string& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t c = 0xffffffffu;
    for (unsigned char byte : bytes)
        c = table[(c ^ byte) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

void appendChunk(std::string& png, const std::string& type, const std::string& data) {
    appendBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    std::string typed = type + data;
    png += typed;
    appendBigEndian32(png, crc32(typed));
}

// Deflate bits, least significant first; Huffman codes go in from their most significant bit.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bit((value >> i) & 1);
    }
    void code(std::uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i)
            bit((value >> i) & 1);
    }
    std::string finish() {
        if (used_ > 0)
            out_ += static_cast<char>(current_);
        return std::move(out_);
    }

private:
    void bit(std::uint32_t value) {
        current_ |= value << used_;
        if (++used_ == 8) {
            out_ += static_cast<char>(current_);
            current_ = 0;
            used_ = 0;
        }
    }
    std::string out_;
    std::uint32_t current_ = 0;
    int used_ = 0;
};

// A zlib stream of `count` zero bytes in one block of fixed codes: a literal zero, then copies of 258
// bytes at distance 1, then the rest as literals.
std::string zeroBytesZlib(std::uint64_t count) {
    constexpr std::uint32_t literalZero = 0x30, length258 = 0xc5, endOfBlock = 0;
    BitWriter writer;
    writer.bits(1, 1); // the final block
    writer.bits(1, 2); // fixed codes
    std::uint64_t left = count;
    if (left > 0) {
        writer.code(literalZero, 8);
        --left;
    }
    for (; left >= 258; left -= 258) {
        writer.code(length258, 8);
        writer.code(0, 5); // distance 1
    }
    for (; left > 0; --left)
        writer.code(literalZero, 8);
    writer.code(endOfBlock, 7);
    std::string stream = "\x78\x01";
    stream += writer.finish();
    // Adler-32 of zeros: the sum stays 1 and the second sum adds it once per byte.
    appendBigEndian32(stream, static_cast<std::uint32_t>(count % 65521) << 16 | 1);
    return stream;
}

} // namespace

HostileBundle::HostileBundle() : root_(newTemporaryFolder()), path_(root_ / "bundle"), home_(root_ / "home") {
    fs::copy(TORVEX_BUILD_BUNDLE_DIR, path_, fs::copy_options::recursive);
    fs::remove(path_ / "url.txt");
    fs::create_directories(home_);
}

HostileBundle::~HostileBundle() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void HostileBundle::write(const std::string& name, const std::string& bytes) const {
    fs::path target = file(name);
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary | std::ios::trunc) << bytes;
}

void HostileBundle::remove(const std::string& name) const {
    fs::remove_all(file(name));
}

void HostileBundle::removePicture(const std::string& name) const {
    remove(name);
    if (std::string doubled = doubleScaleName(name); !doubled.empty())
        remove(doubled);
}

void HostileBundle::replacePicture(const std::string& name, const std::string& bytes) const {
    removePicture(name);
    write(name, bytes);
}

std::vector<std::string> HostileBundle::pictureNames(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(file(folder))) {
        std::string name = entry.path().lexically_relative(path_).string();
        if (endsWith(name, "@2x.png"))
            names.push_back(name.substr(0, name.size() - 7) + ".png");
        else if (endsWith(name, ".png") || endsWith(name, ".jpg"))
            names.push_back(name);
    }
    return names;
}

std::string readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string pngBytes(int width, int height, double shade) {
    return testpictures::solidPng(width, height, shade, 1 - shade, 0.5);
}

std::string jpegBytes(int width, int height, double shade) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    auto level = static_cast<guint32>(shade * 255);
    gdk_pixbuf_fill(pixbuf, level << 24 | (255 - level) << 16 | 0x80 << 8 | 0xff);
    gchar* buffer = nullptr;
    gsize size = 0;
    bool saved = gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "jpeg", nullptr, "quality", "90", nullptr);
    g_object_unref(pixbuf);
    if (!saved)
        throw std::runtime_error("cannot encode a JPEG");
    std::string bytes(buffer, size);
    g_free(buffer);
    return bytes;
}

std::string blackPngBytes(std::uint32_t width, std::uint32_t height) {
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    appendBigEndian32(header, width);
    appendBigEndian32(header, height);
    header += std::string("\x08\x00\x00\x00\x00", 5); // 8-bit grey, no interlace
    appendChunk(png, "IHDR", header);
    // Every row is its filter byte and its pixels, all zero.
    appendChunk(png, "IDAT", zeroBytesZlib(static_cast<std::uint64_t>(height) * (1 + width)));
    appendChunk(png, "IEND", "");
    return png;
}

namespace {

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

void writeView(std::ostringstream& out, const ViewSketch& view, const RegionSketch& region, bool top) {
    out << "<view header=\"" << atlas::escaped(view.header) << "\" src=\"" << atlas::escaped(view.src)
        << "\"><points>\n";
    for (const PointSketch& point : view.points)
        out << "<point x=\"" << number(point.x) << "\" y=\"" << number(point.y) << "\" infoid=\""
            << atlas::escaped(point.infoid) << "\"/>\n";
    out << "</points>";
    if (top) {
        out << "<hitarea exist=\"true\"/>";
    } else {
        // The hit area is the region's place in its parent's picture; the ring pulses at its centre.
        double width = 4.8 * region.scale, height = 6.3 * region.scale;
        out << "<hitarea x=\"" << number(region.x) << "\" y=\"" << number(region.y) << "\" width=\""
            << number(width) << "\" height=\"" << number(height) << "\" sx=\"" << number(region.x + width / 2)
            << "\" sy=\"" << number(region.y + height / 2) << "\" sscale=\"40\"/>";
    }
    if (!view.info.empty())
        out << "<info id=\"" << atlas::escaped(view.info) << "\"/>";
    if (!top)
        out << "<zoomout x=\"" << number(region.x) << "\" y=\"" << number(region.y) << "\" scale=\""
            << number(region.scale) << "\"/>";
    out << "</view>\n";
}

void writeRegion(std::ostringstream& out, const RegionSketch& region, bool top) {
    out << "<part header=\"" << atlas::escaped(region.header) << "\"><views>\n";
    for (const ViewSketch& view : region.views)
        writeView(out, view, region, top);
    out << "</views><parts>\n";
    for (const RegionSketch& sub : region.subRegions)
        writeRegion(out, sub, false);
    out << "</parts></part>\n";
}

} // namespace

RegionSketch regionSketch(const std::string& header, const std::string& folder,
                          std::vector<PointSketch> points, const std::string& info) {
    RegionSketch region;
    region.header = header;
    region.views = {ViewSketch{"Anterior", folder + "/Anterior.png", std::move(points), info},
                    ViewSketch{"Posterior", folder + "/Posterior.png", {}, info}};
    return region;
}

std::string atlasXml(const RegionSketch& top, const std::vector<EntrySketch>& entries) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<torvex>\n<regions>\n";
    writeRegion(out, top, true);
    out << "</regions>\n<information>\n<entries>\n";
    for (const EntrySketch& entry : entries)
        out << "<entry id=\"" << atlas::escaped(entry.id) << "\" title=\"" << atlas::escaped(entry.title)
            << "\" titlelatin=\"" << atlas::escaped(entry.latin) << "\">" << atlas::escaped(entry.text)
            << "</entry>\n";
    out << "</entries>\n</information>\n</torvex>\n";
    return out.str();
}
