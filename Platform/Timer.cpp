#include "Platform/Timer.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
constexpr Float shortestInterval = 0.0001;
}

Timer::Timer(Float interval, Repeats repeats, std::function<void()> callback)
    : interval_(std::max(interval, shortestInterval)), repeats_(repeats), callback_(std::move(callback)) {}

std::shared_ptr<Timer> Timer::scheduled(Float interval, Repeats repeats, std::function<void()> callback) {
    auto timer = std::make_shared<Timer>(interval, repeats, std::move(callback));
    timer->start_ = RunLoop::main().now();
    timer->scheduleFire(timer->start_ + timer->interval_);
    return timer;
}

void Timer::invalidate() {
    if (!valid_)
        return;
    valid_ = false;
    RunLoop::main().cancel(next_);
}

Float Timer::nextPeriodicDueTime() {
    ++periods_;
    // On the real clock a loop that was busy for several periods fires once, not once per missed
    // period (as NSTimer does); the virtual clock never falls behind, so every period fires.
    auto& loop = RunLoop::main();
    if (loop.clock() == RunLoop::Clock::Real) {
        auto behind = std::floor((loop.wallTime() - start_) / interval_);
        periods_ = std::max(periods_, static_cast<std::uint64_t>(std::max(behind, 0.0)) + 1);
    }
    return start_ + static_cast<Float>(periods_) * interval_;
}

void Timer::scheduleFire(Float due) {
    // The event holds the timer: that is what keeps a scheduled timer alive.
    next_ = RunLoop::main().schedule(due, [self = shared_from_this()] { self->fire(); });
}

void Timer::fire() {
    if (repeats_ == Repeats::Yes)
        scheduleFire(nextPeriodicDueTime());
    else
        valid_ = false;
    // The callback may invalidate or drop the last outside reference: keep this alive until it returns.
    auto keepAlive = shared_from_this();
    auto callback = callback_;
    callback();
}

} // namespace ui
