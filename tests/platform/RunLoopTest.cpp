#include "ToolkitTest.h"

#include "Platform/RunLoop.h"
#include "Platform/Timer.h"

#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace ui;

namespace {

class RunLoopTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    }
    void TearDown() override {
        ::close(pipe[0]);
        ::close(pipe[1]);
        ToolkitTest::TearDown();
    }
    RunLoop& loop = RunLoop::main();
    std::vector<std::string> log;
    int pipe[2] = {-1, -1}; // for watching a descriptor
};

TEST_F(RunLoopTest, EventsRunInDueOrderWithTiesInSchedulingOrderAndSeeTheirDueTime) {
    std::vector<double> seen;
    loop.schedule(0.5, [&] { log.push_back("b"), seen.push_back(loop.now()); });
    loop.schedule(0.2, [&] { log.push_back("a"), seen.push_back(loop.now()); });
    loop.schedule(0.5, [&] { log.push_back("c"), seen.push_back(loop.now()); });
    loop.advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(seen, (std::vector<double>{0.2, 0.5, 0.5}));
    EXPECT_DOUBLE_EQ(loop.now(), 1);
}

TEST_F(RunLoopTest, CallbacksMayScheduleAndCancelEventsWhileTheLoopRuns) {
    RunLoop::EventId later;
    loop.schedule(0.1, [&] {
        log.push_back("first");
        loop.cancel(later);
        loop.scheduleAfter(0.1, [&] { log.push_back("added"); });
        loop.scheduleAfter(5, [&] { log.push_back("too late"); });
    });
    later = loop.schedule(0.15, [&] { log.push_back("cancelled"); });
    loop.advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "added"}));
}

TEST_F(RunLoopTest, TimersRepeatAtTheirPeriodOrFireOnceAndStopWhenInvalidatedEvenFromTheirCallback) {
    std::vector<double> fired;
    std::shared_ptr<Timer> timer;
    timer = Timer::scheduled(0.7, Timer::Repeats::Yes, [&] {
        fired.push_back(loop.now());
        if (fired.size() == 4)
            timer->invalidate();
    });
    loop.advance(0.5);
    loop.advance(10);
    ASSERT_EQ(fired.size(), 4u);
    for (std::size_t k = 0; k < fired.size(); ++k)
        EXPECT_NEAR(fired[k], 0.7 * static_cast<double>(k + 1), 1e-9);
    EXPECT_FALSE(timer->isValid());
    // A one-shot timer fires once even when nobody keeps it, and an invalidated one never.
    int firedOnce = 0;
    Timer::scheduled(1.25, false, [&] { ++firedOnce; });
    auto invalidated = Timer::scheduled(0.2, false, [&] { log.push_back("fired"); });
    invalidated->invalidate();
    invalidated->invalidate();
    loop.advance(5);
    EXPECT_EQ(firedOnce, 1);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(invalidated->isValid());
}

TEST_F(RunLoopTest, AWatchedDescriptorsCallbackRunsWhileItIsReadableAndMayUnwatchItselfAndOthers) {
    int calls = 0;
    RunLoop::WatchId id = loop.watchReadable(pipe[0], [&] { ++calls; });
    loop.advance(0);
    EXPECT_EQ(calls, 0) << "nothing to read yet";
    ASSERT_EQ(::write(pipe[1], "x", 1), 1);
    loop.advance(0);
    loop.advance(0);
    EXPECT_EQ(calls, 2) << "readable until read";
    loop.unwatch(id);
    loop.advance(0);
    EXPECT_EQ(calls, 2);
    // A watch callback may unwatch itself and others.
    RunLoop::WatchId first = 0, second = 0;
    calls = 0;
    first = loop.watchReadable(pipe[0], [&] {
        ++calls;
        loop.unwatch(first);
        loop.unwatch(second);
    });
    second = loop.watchReadable(pipe[0], [&] { ++calls; });
    loop.advance(0);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(loop.hasWatches());
}

} // namespace
