#pragma once
// A download on a worker thread of its own, whose result comes back on the run loop's thread.
//
//     task_ = ui::DownloadTask::start(url, limits, [this](std::optional<std::string> bytes) { ... });
//
// The completion runs through RunLoop::post: headless, at the virtual time the result arrived; in a
// window, as soon as the loop wakes for it. Destroying the task (or `cancel`) cuts the download short
// and joins its worker without waiting on the network; a completion not yet run is then dropped.

#include "Platform/Download.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace ui {

class DownloadTask {
public:
    using Completion = std::function<void(std::optional<std::string> bytes)>;

    static std::unique_ptr<DownloadTask> start(std::string url, DownloadLimits limits, Completion completion);
    ~DownloadTask();
    DownloadTask(const DownloadTask&) = delete;
    DownloadTask& operator=(const DownloadTask&) = delete;

    // Stops the download; its completion never runs.
    void cancel();

    // Tests: waits (at most `limit`) until at most `count` downloads of the process are still on the
    // network, the others' results being posted; false when the time ran out.
    static bool waitUntilRunning(int count, std::chrono::milliseconds limit);

private:
    struct Shared;
    DownloadTask() = default;

    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

} // namespace ui
