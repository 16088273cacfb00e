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
    // For pictures, the file NAME@2x.TYPE also counts as present.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type,
                                               const std::string& dir = "") const;
    // The picture NAME.TYPE in DIR (type "png" when omitted and the name has no extension).
    Image image(const std::string& name, const std::string& type = "", const std::string& dir = "") const;
    // The whole file as text, or nullopt.
    std::optional<std::string> text(const std::string& name, const std::string& type) const;

private:
    std::string path_;
};

} // namespace ui
