#include "Platform/LoadedPictures.h"

#include <optional>

namespace ui {

namespace {

// Entries whose pixels nobody holds any more are dropped once the table grows past this.
constexpr size_t pruneThreshold = 256;

} // namespace

LoadedPictures& LoadedPictures::shared() {
    static LoadedPictures pictures;
    return pictures;
}

std::optional<LoadedPictures::Stamp> LoadedPictures::stampOf(const std::string& path) {
    std::error_code error;
    Stamp stamp{std::filesystem::last_write_time(path, error), 0};
    if (error)
        return std::nullopt;
    stamp.size = std::filesystem::file_size(path, error);
    if (error)
        return std::nullopt;
    return stamp;
}

SurfacePtr LoadedPictures::find(const std::string& path) const {
    auto found = entries_.find(path);
    if (found == entries_.end())
        return nullptr;
    SurfacePtr surface = found->second.surface.lock();
    if (!surface || stampOf(path) != found->second.stamp)
        return nullptr;
    return surface;
}

void LoadedPictures::remember(const std::string& path, const SurfacePtr& surface) {
    std::optional<Stamp> stamp = stampOf(path);
    if (!stamp || !surface)
        return;
    if (entries_.size() >= pruneThreshold)
        forgetUnused();
    entries_[path] = {surface, *stamp};
}

void LoadedPictures::forgetUnused() {
    std::erase_if(entries_, [](const auto& entry) { return entry.second.surface.expired(); });
}

} // namespace ui
