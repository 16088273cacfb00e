#pragma once
// The process's settings: one dictionary, kept as a property list in "settings.file" of the cache
// folder (Utils::cacheDirectory()). A file that is missing, unreadable or holds anything but a
// dictionary counts as no settings: the manager starts empty and saves that over it.

#include <memory>
#include <optional>
#include <plist/plist.h>
#include <string>
#include <type_traits>

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

class SettingsManager {
public:
    // The one instance, created on the first call (safe when several threads race to it).
    static SettingsManager& getInstance();

    // A manager of the settings file at `path`, for tools and tests; the program uses getInstance().
    explicit SettingsManager(std::string path);
    SettingsManager(const SettingsManager&) = delete;
    SettingsManager& operator=(const SettingsManager&) = delete;

    // The settings dictionary itself (owned by the manager; change it with libplist's dict calls).
    plist_t settings() const { return settings_.get(); }
    // Replaces the dictionary; anything but a dictionary is replaced by an empty one.
    void setSettings(PlistPtr settings);

    void setDefaults() {} // there are no default settings
    // Writes the dictionary as an XML property list, atomically: a crash mid-write leaves the old file.
    // Creates the folder when it is missing. A failure is logged and otherwise ignored.
    void saveSettings();

    const std::string& path() const { return path_; }

    // The window's size when the program last closed it ("windowWidth" and "windowHeight", whole
    // numbers of window coordinates); nothing when not stored or not positive.
    struct WindowSize {
        int width = 0, height = 0;
    };
    std::optional<WindowSize> windowSize() const;
    // Stores the size and saves the settings.
    void setWindowSize(WindowSize size);

    // A true/false setting, or `fallback` when it is missing or not a boolean.
    bool boolSetting(const std::string& key, bool fallback) const;
    bool hasSetting(const std::string& key) const;
    // Sets a true/false setting and saves the settings.
    void setBoolSetting(const std::string& key, bool value);

    // Points the manager at the settings file at `path` and reads it as `init` does. The program's
    // folders are fixed before the first use; tests move between homes.
    void load(std::string path);

private:
    std::string path_;
    PlistPtr settings_;
};
