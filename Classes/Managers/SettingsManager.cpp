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

SettingsManager::SettingsManager(std::string path) {
    load(std::move(path));
}

void SettingsManager::load(std::string path) {
    path_ = std::move(path);
    settings_ = readDictionary(path_);
    if (settings_)
        return;
    settings_ = emptyDictionary();
    setDefaults();
    saveSettings();
}

bool SettingsManager::hasSetting(const std::string& key) const {
    return plist_dict_get_item(settings_.get(), key.c_str()) != nullptr;
}

bool SettingsManager::boolSetting(const std::string& key, bool fallback) const {
    plist_t item = plist_dict_get_item(settings_.get(), key.c_str());
    if (!item || plist_get_node_type(item) != PLIST_BOOLEAN)
        return fallback;
    uint8_t value = 0;
    plist_get_bool_val(item, &value);
    return value != 0;
}

void SettingsManager::setBoolSetting(const std::string& key, bool value) {
    plist_dict_set_item(settings_.get(), key.c_str(), plist_new_bool(value ? 1 : 0));
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

namespace {

std::optional<int> positiveInteger(plist_t dictionary, const char* key) {
    plist_t node = plist_dict_get_item(dictionary, key);
    if (!node || plist_get_node_type(node) != PLIST_UINT)
        return std::nullopt;
    uint64_t value = 0;
    plist_get_uint_val(node, &value);
    if (value == 0 || value > 100000)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::optional<SettingsManager::WindowSize> SettingsManager::windowSize() const {
    auto width = positiveInteger(settings_.get(), "windowWidth");
    auto height = positiveInteger(settings_.get(), "windowHeight");
    if (!width || !height)
        return std::nullopt;
    return WindowSize{*width, *height};
}

void SettingsManager::setWindowSize(WindowSize size) {
    if (size.width <= 0 || size.height <= 0)
        return;
    plist_dict_set_item(settings_.get(), "windowWidth", plist_new_uint(static_cast<uint64_t>(size.width)));
    plist_dict_set_item(settings_.get(), "windowHeight", plist_new_uint(static_cast<uint64_t>(size.height)));
    saveSettings();
}
