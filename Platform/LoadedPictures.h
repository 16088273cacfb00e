#pragma once
// Decoded picture files, remembered for as long as some picture still holds their pixels: a flag
// or ring shown twenty times, or a picture loaded again while it is on screen, is decoded once.
// Nothing is kept alive by the table itself, and a file rewritten since (another size or
// modification time, as when fresh start content is downloaded) is decoded anew.

#include "Platform/ImageDecoder.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>

namespace ui {

class LoadedPictures {
public:
    static LoadedPictures& shared();

    // The pixels decoded earlier from `path`, if they are still in use and the file is unchanged.
    SurfacePtr find(const std::string& path) const;
    void remember(const std::string& path, const SurfacePtr& surface);

private:
    struct Stamp {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    struct Entry {
        std::weak_ptr<cairo_surface_t> surface;
        Stamp stamp;
    };
    static std::optional<Stamp> stampOf(const std::string& path);
    void forgetUnused();

    std::unordered_map<std::string, Entry> entries_;
};

} // namespace ui
