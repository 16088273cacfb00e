#pragma once
// Opening a web address in the desktop's browser.

#include <string>

namespace ui {

// Whether `url` may be handed to the browser: an http or https address with a host, made only of the
// characters that addresses may hold (no spaces, quotes, backslashes or control characters).
bool isOpenableURL(const std::string& url);

// Opens `url` with `xdg-open`, started with an argument vector (never through a shell) and not waited
// for. Headless runs record the address instead (Application::openedURLs lists both kinds). Anything
// that is not an openable address is refused with a line on stderr; the answer says whether it went.
bool openURL(const std::string& url);

} // namespace ui
