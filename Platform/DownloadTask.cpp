#include "Platform/DownloadTask.h"

#include "Platform/RunLoop.h"

#include <condition_variable>
#include <mutex>

namespace ui {

namespace {

// Downloads still on the network, for `waitUntilRunning`.
std::mutex runningMutex;
std::condition_variable runningChanged;
int running = 0;

void changeRunning(int by) {
    std::lock_guard lock(runningMutex);
    running += by;
    runningChanged.notify_all();
}

} // namespace

// What the worker, the posted completion and the task share; it outlives whichever goes first.
struct DownloadTask::Shared {
    DownloadCancel cancel;
    Completion completion;
};

std::unique_ptr<DownloadTask> DownloadTask::start(std::string url, DownloadLimits limits,
                                                  Completion completion) {
    std::unique_ptr<DownloadTask> task(new DownloadTask());
    task->shared_ = std::make_shared<Shared>();
    task->shared_->completion = std::move(completion);
    changeRunning(+1);
    task->worker_ = std::thread([shared = task->shared_, url = std::move(url), limits] {
        std::optional<std::string> bytes = download(url, limits, &shared->cancel);
        if (!shared->cancel.cancelled())
            RunLoop::main().post([shared, bytes = std::move(bytes)]() mutable {
                if (!shared->cancel.cancelled())
                    shared->completion(std::move(bytes));
            });
        changeRunning(-1);
    });
    return task;
}

DownloadTask::~DownloadTask() {
    cancel();
    if (worker_.joinable())
        worker_.join();
}

void DownloadTask::cancel() {
    if (shared_)
        shared_->cancel.cancel();
}

bool DownloadTask::waitUntilRunning(int count, std::chrono::milliseconds limit) {
    std::unique_lock lock(runningMutex);
    return runningChanged.wait_for(lock, limit, [count] { return running <= count; });
}

} // namespace ui
