#pragma once
// Fetching a web address into memory, and writing a file so that readers see either the old or the
// new contents, never a mix.
//
// `download` is synchronous: the caller's thread waits (DownloadTask runs it on a worker). It is bounded
// in time so that a stalled server cannot hold the caller for ever, another thread may cut it short
// through a DownloadCancel, and only a successful answer counts: an error page is a failure, not content.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

namespace ui {

struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{3000};
    std::chrono::milliseconds totalTimeout{8000}; // connection, redirects and body together
    long maxRedirects = 5;
    std::size_t maxBytes = 32 * 1024 * 1024; // a larger body is a failure
};

// Cuts a download short from another thread: `cancel` wakes the download at once, wherever it waits.
class DownloadCancel {
public:
    void cancel();
    bool cancelled() const { return cancelled_; }

    // For `download`: the transfer that `cancel` wakes (null when none runs).
    void attach(void* multiHandle);

private:
    std::atomic<bool> cancelled_ = false;
    std::mutex mutex_;
    void* multi_ = nullptr;
};

// The body of an http or https address when the final answer is 2xx and not empty, else nullopt
// (with a line on stderr saying why; a cancelled download fails without a word). Redirects are
// followed, to http and https addresses only.
std::optional<std::string> download(const std::string& url, const DownloadLimits& limits = {},
                                    DownloadCancel* cancel = nullptr);

// Whether `bytes` decode as a PNG or JPEG picture. A downloaded picture replaces a cached copy only
// when they do, so that an error page or a cut-off file never takes the place of a good picture.
bool isPicture(const std::string& bytes);

// Replaces the file at `path` with `bytes`: they go to a temporary file in the same folder, which is
// flushed to disk and then renamed over `path`. The folder is created when missing. On failure the
// old file is left as it was, no temporary file remains, and the answer is false.
bool writeFileAtomically(const std::string& path, const std::string& bytes);

} // namespace ui
