#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.

#include <filesystem>
#include <string>
#include <vector>

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // The names of the entries in `folder` (default: this folder), sorted.
    std::vector<std::string> entries(const std::filesystem::path& folder = {}) const;

private:
    std::filesystem::path path_;
};

// The program's home for this test process: a temporary folder, set with ui::Paths::setHome on the
// first call and kept until the process ends, so no test writes into the user's real folders.
const TemporaryFolder& testHome();

std::string readFile(const std::string& path);
