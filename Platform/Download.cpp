#include "Platform/Download.h"

#include "Platform/ImageDecoder.h"
#include "Platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <curl/curl.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace ui {

namespace {

struct CurlCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;

struct MultiCleanup {
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;

// How long one wait for the network may last before the loop looks at the cancel flag again (a
// cancel also wakes the wait at once).
constexpr int pollMilliseconds = 200;

// Runs the transfer to its end, or until `cancel` says stop; the transfer's own result.
CURLcode perform(CURLM* multi, CURL* easy, DownloadCancel* cancel) {
    curl_multi_add_handle(multi, easy);
    if (cancel)
        cancel->attach(multi);
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int running = 1;
    while (running > 0 && !(cancel && cancel->cancelled())) {
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            break;
        if (running > 0)
            curl_multi_poll(multi, nullptr, 0, pollMilliseconds, nullptr);
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            result = message->data.result;
    if (cancel)
        cancel->attach(nullptr);
    curl_multi_remove_handle(multi, easy);
    return result;
}

struct Body {
    std::string bytes;
    std::size_t maxBytes;
    bool tooLarge = false;
};

size_t appendToBody(char* data, size_t size, size_t count, void* userData) {
    auto* body = static_cast<Body*>(userData);
    size_t length = size * count;
    if (body->bytes.size() + length > body->maxBytes) {
        body->tooLarge = true;
        return 0; // makes curl stop with a write error
    }
    body->bytes.append(data, length);
    return length;
}

CurlHandle makeHandle(const std::string& url, const DownloadLimits& limits, Body& body,
                      char (&errorText)[CURL_ERROR_SIZE]) {
    static std::once_flag globalInit;
    std::call_once(globalInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CurlHandle handle(curl_easy_init());
    if (!handle)
        return handle;
    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);   // timeouts must not rely on SIGALRM
    curl_easy_setopt(h, CURLOPT_QUICK_EXIT, 1L); // a cancel does not wait for a name lookup to end
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendToBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "torvex");
    return handle;
}

void logFailure(const std::string& url, const std::string& why) {
    std::fprintf(stderr, "torvex: download of %s failed: %s\n", url.c_str(), why.c_str());
}

bool writeAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Fills a new temporary file beside the target; its name, or "" when that failed (nothing is left).
std::string writeTemporaryBeside(const std::filesystem::path& target, const std::string& bytes) {
    std::string name = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return "";
    bool ok = writeAll(fd, bytes) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(pattern.data());
        return "";
    }
    return pattern.data();
}

} // namespace

void DownloadCancel::cancel() {
    cancelled_ = true;
    std::lock_guard lock(mutex_);
    if (multi_)
        curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

void DownloadCancel::attach(void* multiHandle) {
    std::lock_guard lock(mutex_);
    multi_ = multiHandle;
}

std::optional<std::string> download(const std::string& url, const DownloadLimits& limits,
                                    DownloadCancel* cancel) {
    Body body{"", limits.maxBytes};
    char errorText[CURL_ERROR_SIZE] = "";
    CurlHandle handle = makeHandle(url, limits, body, errorText);
    MultiHandle multi(curl_multi_init());
    if (!handle || !multi) {
        logFailure(url, "no curl handle");
        return std::nullopt;
    }
    CURLcode result = perform(multi.get(), handle.get(), cancel);
    if (cancel && cancel->cancelled())
        return std::nullopt;
    if (body.tooLarge) {
        logFailure(url, "the answer is larger than " + std::to_string(limits.maxBytes) + " bytes");
        return std::nullopt;
    }
    if (result != CURLE_OK) {
        logFailure(url, errorText[0] ? errorText : curl_easy_strerror(result));
        return std::nullopt;
    }
    long status = 0;
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        logFailure(url, "HTTP status " + std::to_string(status));
        return std::nullopt;
    }
    if (body.bytes.empty()) {
        logFailure(url, "empty body");
        return std::nullopt;
    }
    return std::move(body.bytes);
}

bool isPicture(const std::string& bytes) {
    std::string error;
    return decodePicture(bytes, error) != nullptr && error.empty();
}

bool writeFileAtomically(const std::string& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::path target = std::filesystem::absolute(path, error);
    if (error || target.filename().empty() || !Paths::createDirectories(target.parent_path().string()))
        return false;
    std::string temporary = writeTemporaryBeside(target, bytes);
    if (temporary.empty())
        return false;
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(target.parent_path().string());
    return true;
}

} // namespace ui
