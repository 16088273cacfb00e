#include "Managers/SettingsManager.h"

#include "Managers/Utils.h"
#include "Platform/Download.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

// A settings file is a few lines; anything far larger is not one of ours.
constexpr std::uintmax_t maxSettingsFileSize = 16 * 1024 * 1024;

PlistPtr emptyDictionary() {
    return PlistPtr(plist_new_dict());
}

std::string fileContents(const std::string& path) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > maxSettingsFileSize)
        return "";
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The dictionary stored in the file, or null when there is none.
PlistPtr readDictionary(const std::string& path) {
    std::string bytes = fileContents(path);
    if (bytes.empty())
        return nullptr;
    plist_t node = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &node);
    PlistPtr root(node);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT)
        return nullptr;
    return root;
}

} // namespace

SettingsManager& SettingsManager::getInstance() {
    static SettingsManager instance(Utils::cacheDirectory() + "/settings.file");
    return instance;
}

SettingsManager::SettingsManager(std::string path)
    : path_(std::move(path)), settings_(readDictionary(path_)) {
    if (settings_)
        return;
    settings_ = emptyDictionary();
    setDefaults();
    saveSettings();
}

void SettingsManager::setSettings(PlistPtr settings) {
    if (!settings || plist_get_node_type(settings.get()) != PLIST_DICT)
        settings = emptyDictionary();
    settings_ = std::move(settings);
}

void SettingsManager::saveSettings() {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(settings_.get(), &xml, &length);
    std::unique_ptr<char, void (*)(char*)> text(xml, plist_to_xml_free);
    if (!text || !ui::writeFileAtomically(path_, std::string(text.get(), length)))
        std::fprintf(stderr, "torvex: could not save the settings to %s\n", path_.c_str());
}
