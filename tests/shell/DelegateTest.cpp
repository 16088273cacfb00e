// The launch sequence, the online flag and the reachability watchers the delegate keeps.

#include "ShellTest.h"

#include "Platform/NotificationCenter.h"
#include "Platform/RunLoop.h"
#include "tests/support/NetworkNamespace.h"

namespace {

using DelegateTest = ShellTest;

TEST(InternetFlag, followsTheStatusOfWhicheverWatcherReportedLast) {
    TorvexAppDelegate delegate;
    struct Case {
        bool before;
        int status;
        bool after;
    } cases[] = {{true, ui::NotReachable, false},
                 {false, ui::ReachableViaWiFi, true},
                 {false, ui::ReachableViaWWAN, true},
                 {true, 3, true},
                 {false, -1, false}};
    for (const Case& c : cases) {
        delegate.internet = c.before;
        delegate.updateInterfaceWithStatus(c.status);
        EXPECT_EQ(delegate.internet, c.after) << "from " << c.before << " with status " << c.status;
    }
}

TEST_F(DelegateTest, onlyAnOnlineLaunchWatchesTheNetworkAndOnlyUntilTheProgramEnds) {
    launch(Network::Offline);
    EXPECT_FALSE(delegate().internet);
    EXPECT_FALSE(delegate().hostReach || delegate().internetReach);
    quit();

    launch(Network::Online);
    EXPECT_TRUE(delegate().internet);
    ASSERT_TRUE(delegate().hostReach && delegate().internetReach);
    EXPECT_TRUE(delegate().hostReach->isNotifying() && delegate().internetReach->isNotifying());
    EXPECT_TRUE(ui::RunLoop::main().hasWatches());
    quit();
    EXPECT_FALSE(ui::RunLoop::main().hasWatches());
}

// In a network of its own: the content server host 10.1.2.3 becomes reachable and unreachable again.
TEST_F(DelegateTest, routeChangesReachTheFlagThroughTheRunLoop) {
    runScenario([this](ScenarioChecks& checks) {
        launch(TorvexAppDelegate::ReachabilityTargets{"10.1.2.3", "10.1.2.3"});
        checks.check(!delegate().internet, "a fresh network reaches nothing");
        checks.check(delegate().hostReach && delegate().hostReach->isNotifying(), "the host is watched");
        int events = delegate().hostReach->fileDescriptor();

        checks.check(ip("link set lo up") && ip("route add 10.0.0.0/8 dev lo"), "a route to 10/8 is added");
        checks.check(waitReadable(events), "the route event arrives");
        checks.check(!delegate().internet, "nothing changes before the clock moves");
        driver().advance(0.1);
        checks.check(delegate().internet, "the route makes the host reachable");

        checks.check(ip("route del 10.0.0.0/8"), "the route is deleted");
        checks.check(waitReadable(events), "the deletion event arrives");
        driver().advance(0.1);
        checks.check(!delegate().internet, "without the route the host is unreachable");
    });
}

TEST_F(DelegateTest, removingTheStartScreenTwiceIsHarmless) {
    launch(Network::Offline);

    delegate().removeStart();
    delegate().removeStart();

    EXPECT_EQ(start().view()->superview(), nullptr);
    EXPECT_TRUE(ui::Application::shared().window()->subviews().empty());
}

} // namespace
