#include "Platform/Browser.h"

#include "Platform/Application.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace ui {

namespace {

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
}

// Unreserved and reserved characters of an address, and '%' for escapes.
bool isAddressCharacter(char c) {
    static const std::string punctuation = "-._~:/?#[]@!$&'()*+,;=%";
    return std::isalnum(static_cast<unsigned char>(c)) || punctuation.find(c) != std::string::npos;
}

std::size_t schemeLength(const std::string& url) {
    if (startsWithIgnoringCase(url, "https://"))
        return 8;
    if (startsWithIgnoringCase(url, "http://"))
        return 7;
    return 0;
}

// Browsers that are still open keep their xdg-open child around; collect the ones that finished.
void reapFinishedChildren(std::vector<pid_t>& children) {
    std::erase_if(children, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool spawnBrowser(const std::string& url) {
    static std::vector<pid_t> children;
    reapFinishedChildren(children);
    std::string program = "xdg-open";
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    int error = posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ);
    if (error != 0) {
        std::cerr << "openURL: could not start xdg-open for " << url << "\n";
        return false;
    }
    children.push_back(pid);
    return true;
}

} // namespace

bool isOpenableURL(const std::string& url) {
    std::size_t start = schemeLength(url);
    if (start == 0 || start == url.size() || url[start] == '/')
        return false;
    return std::all_of(url.begin(), url.end(), isAddressCharacter);
}

bool openURL(const std::string& url) {
    if (!isOpenableURL(url)) {
        std::cerr << "openURL: refused to open \"" << url << "\": only http and https addresses are opened\n";
        return false;
    }
    auto& app = Application::shared();
    app.recordOpenedURL(url);
    return app.isHeadless() || spawnBrowser(url);
}

} // namespace ui
