#include "Platform/Bundle.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace ui {

namespace {

namespace fs = std::filesystem;

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string wholeName(const std::string& name, const std::string& type) {
    if (type.empty() || endsWith(name, "." + type))
        return name;
    return name + "." + type;
}

// Names come from the data file; none of them may reach outside the bundle.
bool staysInsideBundle(const fs::path& relative) {
    if (relative.is_absolute())
        return false;
    for (const fs::path& part : relative)
        if (part == "..")
            return false;
    return true;
}

bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool isPictureType(const std::string& fileName) {
    return endsWith(fileName, ".png") && !endsWith(fileName, "@2x.png");
}

bool namesPictureFile(const std::string& name) {
    return endsWith(name, ".png") || endsWith(name, ".jpg") || endsWith(name, ".jpeg");
}

fs::path doubleScaleVariant(const fs::path& path) {
    std::string text = path.string();
    return text.substr(0, text.size() - 4) + "@2x.png";
}

} // namespace

Bundle& Bundle::main() {
    static Bundle bundle;
    return bundle;
}

void Bundle::setResourcePath(const std::string& folder) {
    path_ = folder;
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type,
                                                   const std::string& dir) const {
    if (name.empty())
        return std::nullopt;
    fs::path relative = fs::path(dir) / wholeName(name, type);
    if (!staysInsideBundle(relative)) {
        std::cerr << "resource name leaves the bundle, refused: " << relative.string() << "\n";
        return std::nullopt;
    }
    fs::path full = fs::path(path_.empty() ? "." : path_) / relative;
    if (isRegularFile(full))
        return full.string();
    if (isPictureType(full.string()) && isRegularFile(doubleScaleVariant(full)))
        return full.string();
    return std::nullopt;
}

Image Bundle::image(const std::string& name, const std::string& type, const std::string& dir) const {
    std::string pictureType = type.empty() && !namesPictureFile(name) ? "png" : type;
    std::optional<std::string> path = pathForResource(name, pictureType, dir);
    if (!path) {
        std::cerr << "picture not in bundle: " << (fs::path(dir) / wholeName(name, pictureType)).string()
                  << "\n";
        return {};
    }
    return Image::fromFile(*path);
}

std::string Bundle::nameInBundle(const std::string& path) const {
    if (path.empty())
        return path;
    fs::path root = fs::path(path_.empty() ? "." : path_).lexically_normal();
    fs::path relative = fs::path(path).lexically_normal().lexically_relative(root);
    if (relative.empty() || !staysInsideBundle(relative))
        return path;
    return relative.string();
}

std::optional<std::string> Bundle::text(const std::string& name, const std::string& type) const {
    std::optional<std::string> path = pathForResource(name, type);
    if (!path)
        return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

} // namespace ui
