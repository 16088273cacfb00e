#pragma once
// The one run loop of the program: a clock and a queue of events due at times on that clock.
//
// The clock is an input. Headless, it is virtual: time moves only through `advance(seconds)`, so every
// timed behaviour is exact and a test never waits. In a window it follows the monotonic wall clock
// from program start; the window backend calls `advanceTo(wallTime())` each time it wakes.
//
// Events run in due order, ties in the order they were scheduled, and while an event runs `now()` is
// its due time, so chains of timers and animations keep exact spacing whatever the real delays were.
// Callbacks may schedule and cancel events (themselves included) while the loop runs.
//
// The loop also watches file descriptors (a netlink socket, say): each time the clock moves, every
// watched descriptor that is readable has its callback run, before the events that fall due. A window
// run wakes at least once a second while something is watched, so readiness is noticed without input.
//
// Other threads hand work back with `post`: the callback runs on the loop's thread the next time the
// clock moves, before the events that fall due, at the loop's time then. Headless, that is the virtual
// time at which the work arrived; a window run is woken at once through the waker.

#include "Platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace ui {

class RunLoop {
public:
    enum class Clock { Virtual, Real };

    // Names a scheduled event, to cancel it.
    struct EventId {
        Float due = 0;
        std::uint64_t sequence = 0;
        auto operator<=>(const EventId&) const = default;
    };

    static RunLoop& main();

    // Seconds on the loop's clock.
    Float now() const { return now_; }
    Clock clock() const { return clock_; }
    // Switches the clock and starts it again at 0 with no events (also what tests call between cases).
    void reset(Clock clock = Clock::Virtual);
    // Seconds since the real clock was started; meaningful for the Real clock only.
    Float wallTime() const;

    // Runs `callback` once when the clock reaches `due` (at once on the next advance when it already has).
    EventId schedule(Float due, std::function<void()> callback);
    EventId scheduleAfter(Float delay, std::function<void()> callback) {
        return schedule(now_ + delay, std::move(callback));
    }
    // Forgets an event; cancelling one that ran or was cancelled already does nothing.
    void cancel(const EventId& id);

    // Moves the clock forward by `seconds`, running every event that falls due on the way.
    void advance(Float seconds) { advanceTo(now_ + seconds); }
    // Moves the clock to `time` (never backwards), running due events in order.
    void advanceTo(Float time);

    // The due time of the next event, if any.
    std::optional<Float> nextDueTime() const;

    // Runs `callback` whenever `fd` is readable, checked each time the clock moves, until `unwatch`.
    // Watches belong to their descriptors' owners, so `reset` keeps them.
    using WatchId = std::uint64_t;
    WatchId watchReadable(int fd, std::function<void()> callback);
    // Forgets a watch; forgetting one that is gone does nothing.
    void unwatch(WatchId id);
    bool hasWatches() const { return !watches_.empty(); }
    // Runs the callbacks of the watched descriptors that are readable now, without waiting.
    void pollWatched();

    // Hands `callback` to the loop's thread; safe from any thread. `reset` drops what is still waiting.
    void post(std::function<void()> callback);
    // Whether posted callbacks wait to run (any thread).
    bool hasPosted() const;
    // Runs the posted callbacks now, in the order they were posted.
    void runPosted();
    // Called (on the posting thread) after each post, so that a loop asleep in a window's wait wakes.
    void setWaker(std::function<void()> waker);

private:
    RunLoop();

    Clock clock_ = Clock::Virtual;
    Float now_ = 0;
    Float realStart_ = 0;
    std::uint64_t nextSequence_ = 0;
    std::map<EventId, std::function<void()>> events_;
    struct Watch {
        int fd;
        std::function<void()> callback;
    };
    WatchId nextWatch_ = 0;
    std::map<WatchId, Watch> watches_;
    mutable std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
    std::function<void()> waker_;
};

} // namespace ui
