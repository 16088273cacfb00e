#include "Platform/RunLoop.h"

#include <chrono>

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

} // namespace ui
