#include "Platform/Reachability.h"

#include <gtest/gtest.h>

namespace {

using namespace ui::ReachabilityFlag;
using ui::NetworkStatus, ui::NotReachable, ui::Reachability, ui::ReachabilityFlags, ui::ReachableViaWiFi,
    ui::ReachableViaWWAN;

struct Case {
    ReachabilityFlags flags;
    NetworkStatus expected;
};

TEST(GeneralReachabilityRule, judgesEveryFlagWordCase) {
    const Case cases[] = {
        {0, NotReachable},
        {Reachable, ReachableViaWiFi},
        {Reachable | IsDirect, ReachableViaWiFi},
        {Reachable | IsWWAN, ReachableViaWWAN},
        {Reachable | ConnectionRequired, NotReachable},
        {Reachable | ConnectionRequired | ConnectionOnTraffic, ReachableViaWiFi},
        {Reachable | ConnectionRequired | ConnectionOnTraffic | InterventionRequired, NotReachable},
        {Reachable | ConnectionRequired | ConnectionOnDemand, ReachableViaWiFi},
        {Reachable | ConnectionRequired | ConnectionOnDemand | InterventionRequired, NotReachable},
        {Reachable | ConnectionRequired | InterventionRequired, NotReachable},
        // Intervention only withholds the on-demand upgrade; without ConnectionRequired it changes nothing.
        {Reachable | ConnectionOnTraffic | InterventionRequired, ReachableViaWiFi},
        {Reachable | InterventionRequired, ReachableViaWiFi},
        // The wide-area link wins over everything once the target is reachable.
        {Reachable | ConnectionRequired | IsWWAN, ReachableViaWWAN},
        {Reachable | ConnectionRequired | ConnectionOnTraffic | InterventionRequired | IsWWAN,
         ReachableViaWWAN},
        // Without Reachable no other flag counts.
        {IsWWAN, NotReachable},
        {ConnectionOnTraffic | ConnectionOnDemand | IsDirect, NotReachable},
        {~Reachable, NotReachable},
        {~0u, ReachableViaWWAN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Reachability::networkStatusForFlags(c.flags), c.expected)
            << "flags 0x" << std::hex << c.flags;
}

TEST(LocalWiFiReachabilityRule, needsBothReachableAndDirect) {
    const Case cases[] = {
        {0, NotReachable},
        {Reachable, NotReachable},
        {IsDirect, NotReachable},
        {Reachable | IsDirect, ReachableViaWiFi},
        {Reachable | IsDirect | IsWWAN, ReachableViaWiFi},
        {Reachable | IsDirect | ConnectionRequired | InterventionRequired, ReachableViaWiFi},
        {~IsDirect, NotReachable},
        {~0u, ReachableViaWiFi},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Reachability::localWiFiStatusForFlags(c.flags), c.expected)
            << "flags 0x" << std::hex << c.flags;
}

} // namespace
