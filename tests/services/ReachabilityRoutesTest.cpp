#include "tests/support/NetworkNamespace.h"

#include "Platform/NotificationCenter.h"
#include "Platform/Reachability.h"

#include <arpa/inet.h>
#include <vector>

namespace {

using namespace ui::ReachabilityFlag;
using ui::NetworkStatus, ui::NotReachable, ui::Reachability, ui::ReachabilityFlags, ui::ReachableViaWiFi,
    ui::ReachableViaWWAN;

sockaddr_in ipv4(const char* dotted) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, dotted, &address.sin_addr);
    return address;
}

TEST(ReachabilityFactories, makeWatchersOnlyForUsableTargets) {
    EXPECT_EQ(Reachability::reachabilityWithHostName(""), nullptr);
    EXPECT_EQ(Reachability::reachabilityWithHostName(std::string(300, 'a')), nullptr);
    sockaddr_in notIPv4 = ipv4("10.0.0.1");
    notIPv4.sin_family = AF_INET6;
    EXPECT_EQ(Reachability::reachabilityWithAddress(notIPv4), nullptr);

    auto internet = Reachability::reachabilityForInternetConnection();
    auto localWiFi = Reachability::reachabilityForLocalWiFi();
    ASSERT_NE(internet, nullptr);
    ASSERT_NE(localWiFi, nullptr);
    EXPECT_FALSE(internet->isLocalWiFi());
    EXPECT_TRUE(localWiFi->isLocalWiFi());
    EXPECT_FALSE(Reachability::reachabilityWithHostName("127.0.0.1")->isLocalWiFi());
}

TEST(ReachabilityRoutes, theLoopbackAddressIsReachableAndDirect) {
    auto byAddress = Reachability::reachabilityWithAddress(ipv4("127.0.0.1"));
    auto byDottedName = Reachability::reachabilityWithHostName("127.0.0.1");
    auto byName = Reachability::reachabilityWithHostName("localhost");
    for (const auto& watcher : {byAddress, byDottedName, byName}) {
        ASSERT_NE(watcher, nullptr);
        std::optional<ReachabilityFlags> flags = watcher->currentFlags();
        ASSERT_TRUE(flags);
        EXPECT_EQ(*flags & (Reachable | IsDirect), Reachable | IsDirect);
        EXPECT_EQ(watcher->currentReachabilityStatus(), ReachableViaWiFi);
        EXPECT_FALSE(watcher->connectionRequired());
    }
}

// Delivers the pending events of every watcher, as the run loop does when their sockets are readable.
void deliverEvents(const std::vector<Reachability*>& watchers) {
    for (Reachability* watcher : watchers)
        watcher->handleEvents();
}

TEST(ReachabilityNotifier, aRouteChangePostsTheNotificationWithTheWatcher) {
    runScenario([](ScenarioChecks& checks) {
        auto host = Reachability::reachabilityWithHostName("10.1.2.3");
        auto internet = Reachability::reachabilityForInternetConnection();
        std::vector<Reachability*> posted; // the watchers of the notifications, in order
        ui::NotificationCenter::defaultCenter().addObserver(
            &posted, "kNetworkReachabilityChangedNotification",
            [&posted](const ui::Notification& notification) {
                auto* watcher = notification.objectAs<Reachability*>();
                posted.push_back(watcher ? *watcher : nullptr);
            });
        checks.check(host->currentReachabilityStatus() == NotReachable, "a fresh namespace reaches no host");
        checks.check(internet->currentReachabilityStatus() == NotReachable, "no default route yet");
        checks.check(host->fileDescriptor() == -1, "no descriptor before the notifier starts");
        checks.check(host->startNotifer() && host->startNotifer() && internet->startNotifer(),
                     "the notifiers start, a second start too");

        checks.check(ip("link set lo up"), "loopback goes up");
        deliverEvents({host.get(), internet.get()});
        checks.check(posted.empty(), "events that change no watcher's flags post nothing");

        checks.check(ip("route add 10.0.0.0/8 dev lo"), "a route to 10/8 is added");
        checks.check(waitReadable(host->fileDescriptor()), "the route event arrives");
        deliverEvents({host.get(), internet.get()});
        checks.check(posted.size() == 1 && posted[0] == host.get(),
                     "one notification, with the host watcher");
        checks.check(host->currentFlags() == (Reachable | IsDirect), "the host is reachable without gateway");

        checks.check(ip("route add default via 10.0.0.1 dev lo"), "default route added");
        checks.check(waitReadable(internet->fileDescriptor()), "the default route event arrives");
        deliverEvents({host.get(), internet.get()});
        checks.check(posted.size() == 2 && posted.back() == internet.get(), "one for the internet");
        checks.check(internet->currentFlags() == Reachable, "the default route goes through a gateway");

        checks.check(ip("route del default"), "the default route is deleted");
        checks.check(waitReadable(internet->fileDescriptor()), "the deletion event arrives");
        deliverEvents({host.get(), internet.get()});
        checks.check(posted.size() == 3 && posted.back() == internet.get(), "the loss is posted");
        checks.check(internet->currentReachabilityStatus() == NotReachable, "the internet is gone");

        host->stopNotifer();
        checks.check(host->fileDescriptor() == -1, "a stopped notifier closes its descriptor");
        checks.check(ip("route del 10.0.0.0/8"), "the host route is deleted");
        deliverEvents({host.get()});
        checks.check(posted.size() == 3, "a stopped watcher posts nothing");
        checks.check(host->currentReachabilityStatus() == NotReachable, "the host is unreachable again");
    });
}

TEST(ReachabilityRoutes, aRouteOverACellularLinkIsWideArea) {
    runScenario([](ScenarioChecks& checks) {
        auto internet = Reachability::reachabilityForInternetConnection();
        auto host = Reachability::reachabilityWithHostName("10.1.2.3");
        checks.check(ip("link set lo name wwan0") && ip("link set wwan0 up"), "a modem link");
        checks.check(ip("route add 10.0.0.0/8 dev wwan0") && ip("route add default via 10.0.0.1 dev wwan0"),
                     "routes over the modem are added");
        checks.check(host->currentFlags() == (Reachable | IsDirect | IsWWAN), "host direct by modem");
        checks.check(internet->currentFlags() == (Reachable | IsWWAN), "the internet is behind a gateway");
    });
}

struct RuleCase {
    ReachabilityFlags flags;
    NetworkStatus expected;
};

TEST(GeneralReachabilityRule, judgesEveryFlagWordCase) {
    const RuleCase cases[] = {
        {Reachable, ReachableViaWiFi},
        {Reachable | IsWWAN, ReachableViaWWAN},
        {Reachable | ConnectionRequired, NotReachable},
        {Reachable | ConnectionRequired | ConnectionOnTraffic, ReachableViaWiFi},
        {Reachable | ConnectionRequired | ConnectionOnTraffic | InterventionRequired, NotReachable},
        {Reachable | ConnectionRequired | ConnectionOnDemand, ReachableViaWiFi},
        // Intervention only withholds the on-demand upgrade; without ConnectionRequired it changes nothing.
        {Reachable | ConnectionOnTraffic | InterventionRequired, ReachableViaWiFi},
        {~Reachable, NotReachable}, // without Reachable no other flag counts
        {~0u, ReachableViaWWAN},    // once reachable, the wide-area link wins over everything
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(Reachability::networkStatusForFlags(c.flags), c.expected)
            << "flags 0x" << std::hex << c.flags;
}

TEST(LocalWiFiReachabilityRule, needsBothReachableAndDirect) {
    const RuleCase cases[] = {
        {Reachable, NotReachable}, {IsDirect, NotReachable}, {Reachable | IsDirect, ReachableViaWiFi},
        {~IsDirect, NotReachable}, {~0u, ReachableViaWiFi},
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(Reachability::localWiFiStatusForFlags(c.flags), c.expected)
            << "flags 0x" << std::hex << c.flags;
}

} // namespace
