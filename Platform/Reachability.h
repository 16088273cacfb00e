#pragma once
// Whether a host, an address or the default route can be reached, and over which kind of link,
// with a notification when that changes.
//
// The answers come from the kernel's routing table over a netlink route socket: a target is
// reachable when the kernel has a usable route to it (not a blackhole, not on a link without
// carrier), "direct" when that route needs no gateway, and "wide-area" when its output interface is
// a cellular one (named wwan*). The all-zero address stands for the default route itself.
//
// Change notifications: after `startNotifer`, the watcher's socket receives the kernel's link,
// IPv4 address and IPv4 route events. The run loop watches `fileDescriptor()` and calls
// `handleEvents()` when it is readable; when the watcher's flags changed, the notification named
// kNetworkReachabilityChangedNotification is posted on the default notification centre with the
// watcher (a Reachability*) as its object. Receivers ask `currentReachabilityStatus()` for the new state.

#include <cstdint>
#include <memory>
#include <netinet/in.h>
#include <optional>
#include <string>

namespace ui {

inline constexpr const char* kNetworkReachabilityChangedNotification =
    "kNetworkReachabilityChangedNotification";

enum NetworkStatus { NotReachable = 0, ReachableViaWiFi = 1, ReachableViaWWAN = 2 };

using ReachabilityFlags = std::uint32_t;

// Bit n of the flag word has the value 1 << n; the bits keep the places that reachability flag words
// have always had, so flag words written elsewhere read the same here.
namespace ReachabilityFlag {
inline constexpr ReachabilityFlags Reachable = 1u << 1;
inline constexpr ReachabilityFlags ConnectionRequired = 1u << 2;
inline constexpr ReachabilityFlags ConnectionOnTraffic = 1u << 3;
inline constexpr ReachabilityFlags InterventionRequired = 1u << 4;
inline constexpr ReachabilityFlags ConnectionOnDemand = 1u << 5;
inline constexpr ReachabilityFlags IsDirect = 1u << 17;
inline constexpr ReachabilityFlags IsWWAN = 1u << 18;
} // namespace ReachabilityFlag

class Reachability {
public:
    // A dotted IPv4 address is used as it is; any other name is looked up (IPv4, at most two seconds;
    // a name that does not resolve is not reachable) at every reading, or once per network change
    // while notifying. None for an empty or overlong name.
    static std::shared_ptr<Reachability> reachabilityWithHostName(const std::string& hostName);
    // None unless the address is an AF_INET one.
    static std::shared_ptr<Reachability> reachabilityWithAddress(const sockaddr_in& hostAddress);
    // The default route (address 0.0.0.0).
    static std::shared_ptr<Reachability> reachabilityForInternetConnection();
    // The link-local network 169.254.0.0, judged by the local Wi-Fi rule.
    static std::shared_ptr<Reachability> reachabilityForLocalWiFi();

    ~Reachability();
    Reachability(const Reachability&) = delete;
    Reachability& operator=(const Reachability&) = delete;

    // Opens the event socket and remembers the present flags, so that only real changes are posted.
    // False, with nothing open, when the socket cannot be made. Starting twice keeps the first socket.
    bool startNotifer();
    void stopNotifer();
    bool isNotifying() const;

    // The event socket while notifying, else -1.
    int fileDescriptor() const;
    // Reads every pending event without blocking; posts the notification when the flags changed.
    void handleEvents();
    // The same for a run loop that hands back an opaque context: `info` must be a notifying watcher.
    static void reachabilityCallback(void* info);

    // The kernel's present answer as a flag word, or none when the routing table cannot be read.
    std::optional<ReachabilityFlags> currentFlags() const;

    NetworkStatus currentReachabilityStatus() const;
    bool connectionRequired() const;

    // Flag word -> status:
    //   not Reachable                                   -> NotReachable
    //   Reachable, ConnectionRequired clear             -> ReachableViaWiFi
    //   Reachable, ConnectionRequired set               -> NotReachable, unless
    //     ConnectionOnDemand or ConnectionOnTraffic is set without InterventionRequired -> ReachableViaWiFi
    //   any reachable word with IsWWAN                  -> ReachableViaWWAN
    static NetworkStatus networkStatusForFlags(ReachabilityFlags flags);
    // ReachableViaWiFi when both Reachable and IsDirect are set, else NotReachable.
    static NetworkStatus localWiFiStatusForFlags(ReachabilityFlags flags);

    bool isLocalWiFi() const { return localWiFiRef_; }

private:
    struct Handle;
    struct Key {
        explicit Key() = default;
    };

public:
    // For the factories only: the key is theirs.
    Reachability(Key, std::unique_ptr<Handle> handle);

private:
    bool readEvents();

    std::unique_ptr<Handle> reachabilityRef_;
    bool localWiFiRef_ = false;
};

} // namespace ui
