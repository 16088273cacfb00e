#pragma once
// Fetching a web address into memory, and writing a file so that readers see either the old or the
// new contents, never a mix.
//
// Downloads are synchronous: the caller's thread waits. They are bounded in time so that a stalled
// server cannot hold the caller for ever, and only a successful answer counts: an error page is a
// failure, not content.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace ui {

struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{3000};
    std::chrono::milliseconds totalTimeout{8000}; // connection, redirects and body together
    long maxRedirects = 5;
    std::size_t maxBytes = 32 * 1024 * 1024; // a larger body is a failure
};

// The body of an http or https address when the final answer is 2xx and not empty, else nullopt
// (with a line on stderr saying why). Redirects are followed, to http and https addresses only.
std::optional<std::string> download(const std::string& url, const DownloadLimits& limits = {});

// Whether `bytes` decode as a PNG or JPEG picture. A downloaded picture replaces a cached copy only
// when they do, so that an error page or a cut-off file never takes the place of a good picture.
bool isPicture(const std::string& bytes);

// Replaces the file at `path` with `bytes`: they go to a temporary file in the same folder, which is
// flushed to disk and then renamed over `path`. The folder is created when missing. On failure the
// old file is left as it was, no temporary file remains, and the answer is false.
bool writeFileAtomically(const std::string& path, const std::string& bytes);

} // namespace ui
