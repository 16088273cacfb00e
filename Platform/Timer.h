#pragma once
// One-shot and repeating timers on the main run loop's clock (NSTimer's semantics).
//
//     auto timer = ui::Timer::scheduled(0.85, ui::Timer::Repeats::Yes, [this] { pulse(); });
//     ...
//     timer->invalidate();
//
// The run loop keeps a valid timer alive, so a one-shot timer may be scheduled and forgotten. A
// repeating timer fires at start + k * interval: a late callback does not push the later ones back.

#include "Platform/RunLoop.h"

#include <functional>
#include <memory>

namespace ui {

class Timer : public std::enable_shared_from_this<Timer> {
public:
    enum class Repeats { No, Yes };

    // Schedules `callback` `interval` seconds from now (intervals below 0.1 ms count as 0.1 ms).
    static std::shared_ptr<Timer> scheduled(Float interval, Repeats repeats, std::function<void()> callback);
    static std::shared_ptr<Timer> scheduled(Float interval, bool repeats, std::function<void()> callback) {
        return scheduled(interval, repeats ? Repeats::Yes : Repeats::No, std::move(callback));
    }

    // Stops the timer for good; safe to call from its own callback and more than once.
    void invalidate();
    bool isValid() const { return valid_; }
    Float interval() const { return interval_; }
    // When the timer fires next (meaningless once invalid).
    Float fireTime() const { return next_.due; }

    // Use `scheduled`; public only for make_shared.
    Timer(Float interval, Repeats repeats, std::function<void()> callback);

private:
    void scheduleFire(Float due);
    Float nextPeriodicDueTime();
    void fire();

    Float interval_;
    Repeats repeats_;
    std::function<void()> callback_;
    Float start_ = 0;
    std::uint64_t periods_ = 1; // the multiple of the interval at which the timer fires next
    bool valid_ = true;
    RunLoop::EventId next_;
};

using TimerPtr = std::shared_ptr<Timer>;

} // namespace ui
