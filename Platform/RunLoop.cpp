#include "Platform/RunLoop.h"

#include <chrono>
#include <poll.h>
#include <vector>

namespace ui {

namespace {

Float monotonicSeconds() {
    using namespace std::chrono;
    return duration<Float>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

RunLoop::RunLoop() : realStart_(monotonicSeconds()) {}

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

void RunLoop::reset(Clock clock) {
    clock_ = clock;
    now_ = 0;
    realStart_ = monotonicSeconds();
    events_.clear();
    std::lock_guard lock(postedMutex_);
    posted_.clear();
}

Float RunLoop::wallTime() const {
    return monotonicSeconds() - realStart_;
}

RunLoop::EventId RunLoop::schedule(Float due, std::function<void()> callback) {
    EventId id{due, nextSequence_++};
    events_.emplace(id, std::move(callback));
    return id;
}

void RunLoop::cancel(const EventId& id) {
    events_.erase(id);
}

void RunLoop::advanceTo(Float time) {
    runPosted();
    pollWatched();
    // Always take the earliest event afresh: a callback may have added or removed any other.
    while (!events_.empty() && events_.begin()->first.due <= time) {
        auto node = events_.extract(events_.begin());
        now_ = std::max(now_, node.key().due);
        node.mapped()();
    }
    now_ = std::max(now_, time);
}

std::optional<Float> RunLoop::nextDueTime() const {
    if (events_.empty())
        return std::nullopt;
    return events_.begin()->first.due;
}

RunLoop::WatchId RunLoop::watchReadable(int fd, std::function<void()> callback) {
    WatchId id = ++nextWatch_;
    watches_.emplace(id, Watch{fd, std::move(callback)});
    return id;
}

void RunLoop::unwatch(WatchId id) {
    watches_.erase(id);
}

void RunLoop::pollWatched() {
    if (watches_.empty())
        return;
    std::vector<WatchId> ids;
    std::vector<pollfd> fds;
    for (const auto& [id, watch] : watches_) {
        ids.push_back(id);
        fds.push_back({watch.fd, POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), 0) <= 0)
        return;
    // A callback may unwatch any descriptor, its own included: look each one up again, and run a copy
    // of its callback, which may outlive its watch.
    for (std::size_t i = 0; i < fds.size(); ++i) {
        auto watch = watches_.find(ids[i]);
        if (!(fds[i].revents & POLLIN) || watch == watches_.end())
            continue;
        auto callback = watch->second.callback;
        callback();
    }
}

void RunLoop::post(std::function<void()> callback) {
    std::function<void()> waker;
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(callback));
        waker = waker_;
    }
    if (waker)
        waker();
}

bool RunLoop::hasPosted() const {
    std::lock_guard lock(postedMutex_);
    return !posted_.empty();
}

void RunLoop::runPosted() {
    std::vector<std::function<void()>> due;
    {
        std::lock_guard lock(postedMutex_);
        due.swap(posted_);
    }
    for (auto& callback : due)
        callback();
}

void RunLoop::setWaker(std::function<void()> waker) {
    std::lock_guard lock(postedMutex_);
    waker_ = std::move(waker);
}

} // namespace ui
