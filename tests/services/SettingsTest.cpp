#include "tests/support/TemporaryFolder.h"

#include "Managers/SettingsManager.h"
#include "Managers/Utils.h"
#include "Platform/Download.h"
#include "Platform/Paths.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

PlistPtr readPlist(const std::string& path) {
    std::string bytes = readFile(path);
    plist_t node = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &node);
    return PlistPtr(node);
}

bool isEmptyDictionary(plist_t node) {
    return node && plist_get_node_type(node) == PLIST_DICT && plist_dict_get_size(node) == 0;
}

TEST(SettingsManager, aMissingDamagedOrForeignFileStartsEmptyAndIsWrittenWithItsFolder) {
    const std::optional<std::string> contents[] = {
        std::nullopt,
        "<plist><dict><key>unterminated",
        R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><string>not a dictionary</string></array></plist>
)",
    };
    for (const auto& content : contents) {
        TemporaryFolder folder;
        std::string path = folder / "inner_cache/settings.file";
        if (content) {
            ASSERT_TRUE(ui::writeFileAtomically(path, *content));
        }
        SettingsManager manager(path);
        EXPECT_TRUE(isEmptyDictionary(manager.settings())) << content.value_or("missing");
        EXPECT_TRUE(isEmptyDictionary(readPlist(path).get())) << content.value_or("missing");
    }
}

TEST(SettingsManager, savedSettingsAndTheWindowsLastPositiveSizeAreReadBackByTheNextStart) {
    TemporaryFolder folder;
    std::string path = folder / "settings.file";
    {
        SettingsManager first(path);
        plist_dict_set_item(first.settings(), "background", plist_new_string("black"));
        first.saveSettings();
        EXPECT_FALSE(first.windowSize());
        first.setWindowSize({700, 500}); // saved at once
        first.setWindowSize({0, 300});
    }
    SettingsManager second(path);
    plist_t value = plist_dict_get_item(second.settings(), "background");
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(plist_get_string_ptr(value, nullptr), "black");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"settings.file"});
    ASSERT_TRUE(second.windowSize());
    EXPECT_EQ(second.windowSize()->width, 700);
    EXPECT_EQ(second.windowSize()->height, 500);
    plist_dict_set_item(second.settings(), "windowWidth", plist_new_string("wide"));
    EXPECT_FALSE(second.windowSize());
}

TEST(Utils, theDocumentsFolderIsTheUsersOwn) {
    EXPECT_EQ(Utils::documentsDirectory(), ui::Paths::documentsDirectory());
}

} // namespace
