#include "Platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace ui {

namespace {

std::mutex homeMutex;
std::string homeOverride;

// An environment variable that names an absolute folder, or "".
std::string absoluteFolderFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return "";
    return value;
}

std::string userHome() {
    std::string home = absoluteFolderFromEnvironment("HOME");
    if (!home.empty())
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "/tmp";
}

std::string xdgFolder(const char* variable, const char* fallbackBelowHome) {
    std::string folder = absoluteFolderFromEnvironment(variable);
    return folder.empty() ? userHome() + "/" + fallbackBelowHome : folder;
}

std::string currentOverride() {
    std::lock_guard lock(homeMutex);
    return homeOverride;
}

} // namespace

std::string Paths::home() {
    std::string dir = currentOverride();
    return dir.empty() ? xdgFolder("XDG_DATA_HOME", ".local/share") + "/torvex" : dir;
}

std::string Paths::documentsDirectory() {
    return home() + "/Documents";
}

std::string Paths::cachesDirectory() {
    std::string dir = currentOverride();
    return dir.empty() ? xdgFolder("XDG_CACHE_HOME", ".cache") + "/torvex" : dir + "/Caches";
}

void Paths::setHome(const std::string& dir) {
    std::string folder = dir.empty() ? "" : std::filesystem::absolute(dir).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::lock_guard lock(homeMutex);
    homeOverride = folder;
}

bool Paths::createDirectories(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return std::filesystem::is_directory(dir, error);
}

} // namespace ui
