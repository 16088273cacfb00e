#pragma once
// The program's bundle: the folder of resources (data file, pictures, texts) it reads.

#include "Platform/Image.h"

#include <optional>
#include <string>

namespace ui {

class Bundle {
public:
    static Bundle& main();
    void setResourcePath(const std::string& folder);
    const std::string& resourcePath() const { return path_; }

    // The path of NAME.TYPE inside DIR of the bundle, or nullopt when no such file exists.
    // `name` may already end in ".TYPE" and may hold folders; an empty type means the name is whole.
    // For PNG pictures, the file NAME@2x.png also counts as present (the path returned is still
    // NAME.png: Image::fromFile picks the @2x file). Absolute names and names with ".." are refused.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type,
                                               const std::string& dir = "") const;
    // The picture NAME.TYPE in DIR (type "png" when omitted and the name does not end in .png, .jpg
    // or .jpeg); the empty picture, with a line on stderr, when it is missing.
    Image image(const std::string& name, const std::string& type = "", const std::string& dir = "") const;
    // `path` relative to the bundle ("Buttons/info@2x.png") when it lies inside it, else unchanged;
    // for dumps and logs that must not depend on where the bundle is.
    std::string nameInBundle(const std::string& path) const;

    // The whole file as text, or nullopt. An empty resource path means the current folder.
    std::optional<std::string> text(const std::string& name, const std::string& type) const;

private:
    std::string path_;
};

} // namespace ui
