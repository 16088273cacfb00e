#include "TemporaryFolder.h"

#include "Managers/SettingsManager.h"
#include "Managers/Utils.h"
#include "Platform/Download.h"
#include "Platform/Paths.h"

#include <algorithm>
#include <future>
#include <gtest/gtest.h>

namespace {

const char* const arrayPlist = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><string>not a dictionary</string></array></plist>
)";

PlistPtr readPlist(const std::string& path) {
    std::string bytes = readFile(path);
    plist_t node = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &node);
    return PlistPtr(node);
}

bool isEmptyDictionary(plist_t node) {
    return node && plist_get_node_type(node) == PLIST_DICT && plist_dict_get_size(node) == 0;
}

TEST(SettingsManager, anArrayInTheFileIsReplacedByAnEmptyDictionaryThatIsSaved) {
    TemporaryFolder folder;
    std::string path = folder / "settings.file";
    ASSERT_TRUE(ui::writeFileAtomically(path, arrayPlist));
    SettingsManager manager(path);
    EXPECT_TRUE(isEmptyDictionary(manager.settings()));
    EXPECT_TRUE(isEmptyDictionary(readPlist(path).get()));
}

TEST(SettingsManager, aMissingOrDamagedFileStartsEmptyAndIsWrittenWithItsFolder) {
    TemporaryFolder folder;
    std::string missing = folder / "inner_cache/settings.file";
    SettingsManager fresh(missing);
    EXPECT_TRUE(isEmptyDictionary(fresh.settings()));
    EXPECT_TRUE(isEmptyDictionary(readPlist(missing).get()));

    std::string damaged = folder / "damaged.file";
    ASSERT_TRUE(ui::writeFileAtomically(damaged, "<plist><dict><key>unterminated"));
    SettingsManager repaired(damaged);
    EXPECT_TRUE(isEmptyDictionary(repaired.settings()));
    EXPECT_TRUE(isEmptyDictionary(readPlist(damaged).get()));
}

TEST(SettingsManager, savedSettingsAreReadBackByTheNextStart) {
    TemporaryFolder folder;
    std::string path = folder / "settings.file";
    {
        SettingsManager first(path);
        plist_dict_set_item(first.settings(), "background", plist_new_string("black"));
        first.saveSettings();
    }
    SettingsManager second(path);
    plist_t value = plist_dict_get_item(second.settings(), "background");
    ASSERT_NE(value, nullptr);
    char* text = nullptr;
    plist_get_string_val(value, &text);
    EXPECT_STREQ(text, "black");
    std::free(text);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"settings.file"});
}

TEST(SettingsManager, settingSomethingElseThanADictionaryKeepsADictionary) {
    TemporaryFolder folder;
    SettingsManager manager(folder / "settings.file");
    manager.setSettings(PlistPtr(plist_new_array()));
    EXPECT_TRUE(isEmptyDictionary(manager.settings()));
    manager.setSettings(nullptr);
    EXPECT_TRUE(isEmptyDictionary(manager.settings()));
}

TEST(SettingsManager, theInstanceIsOneAndLivesInTheCacheFolder) {
    testHome();
    auto fromAnotherThread = std::async(std::launch::async, [] { return &SettingsManager::getInstance(); });
    SettingsManager* here = &SettingsManager::getInstance();
    EXPECT_EQ(fromAnotherThread.get(), here);
    EXPECT_EQ(here->path(), Utils::cacheDirectory() + "/settings.file");
    EXPECT_TRUE(isEmptyDictionary(readPlist(here->path()).get()));
}

TEST(Utils, theFoldersLieBelowTheProgramsFoldersAndNeverChange) {
    testHome();
    const std::string& cache = Utils::cacheDirectory();
    EXPECT_EQ(cache, ui::Paths::cachesDirectory() + "/inner_cache");
    EXPECT_EQ(Utils::documentsDirectory(), ui::Paths::documentsDirectory());
    std::string documents = Utils::documentsDirectory();
    ui::Paths::setHome(testHome() / "elsewhere");
    EXPECT_EQ(Utils::cacheDirectory(), cache);
    EXPECT_EQ(&Utils::cacheDirectory(), &cache);
    EXPECT_EQ(Utils::documentsDirectory(), documents);
    ui::Paths::setHome(testHome().path().string());
}

TEST(Utils, shakeArrayKeepsEveryElementOnce) {
    EXPECT_TRUE(Utils::shakeArray(std::vector<std::string>{}).empty());
    EXPECT_EQ(Utils::shakeArray(std::vector<std::string>{"Heart"}), std::vector<std::string>{"Heart"});

    std::vector<std::string> list{"a", "b", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n"};
    const std::vector<std::string> original = list;
    bool orderChanged = false;
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> shaken = Utils::shakeArray(list);
        orderChanged = orderChanged || shaken != list;
        std::sort(shaken.begin(), shaken.end());
        EXPECT_EQ(shaken, original);
    }
    EXPECT_EQ(list, original);
    EXPECT_TRUE(orderChanged);
}

// Sets environment variables for one test and puts the old values back.
class Environment {
public:
    void set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~Environment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            it->second ? ::setenv(it->first.c_str(), it->second->c_str(), 1) : ::unsetenv(it->first.c_str());
        ui::Paths::setHome(testHome().path().string());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(Paths, withoutAHomeOptionTheFoldersFollowTheDesktopsVariables) {
    Environment environment;
    environment.set("XDG_DATA_HOME", "/data");
    environment.set("XDG_CACHE_HOME", "/cache");
    ui::Paths::setHome("");
    EXPECT_EQ(ui::Paths::home(), "/data/torvex");
    EXPECT_EQ(ui::Paths::documentsDirectory(), "/data/torvex/Documents");
    EXPECT_EQ(ui::Paths::cachesDirectory(), "/cache/torvex");
}

TEST(Paths, unsetOrRelativeVariablesFallBackToTheUsersHome) {
    Environment environment;
    environment.set("HOME", "/home/anna");
    environment.set("XDG_DATA_HOME", "relative/data");
    environment.set("XDG_CACHE_HOME", nullptr);
    ui::Paths::setHome("");
    EXPECT_EQ(ui::Paths::home(), "/home/anna/.local/share/torvex");
    EXPECT_EQ(ui::Paths::documentsDirectory(), "/home/anna/.local/share/torvex/Documents");
    EXPECT_EQ(ui::Paths::cachesDirectory(), "/home/anna/.cache/torvex");
}

TEST(Paths, aHomeOptionPutsEveryFolderBelowIt) {
    Environment environment;
    ui::Paths::setHome("/srv/atlas/");
    EXPECT_EQ(ui::Paths::home(), "/srv/atlas");
    EXPECT_EQ(ui::Paths::documentsDirectory(), "/srv/atlas/Documents");
    EXPECT_EQ(ui::Paths::cachesDirectory(), "/srv/atlas/Caches");
}

TEST(Paths, createDirectoriesMakesMissingParentsAndRefusesAFileInTheWay) {
    TemporaryFolder folder;
    EXPECT_TRUE(ui::Paths::createDirectories(folder / "a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "a/b/c"));
    EXPECT_TRUE(ui::Paths::createDirectories(folder / "a/b/c"));
    ASSERT_TRUE(ui::writeFileAtomically(folder / "file", "x"));
    EXPECT_FALSE(ui::Paths::createDirectories(folder / "file/d"));
}

} // namespace
