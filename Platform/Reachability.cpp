#include "Platform/Reachability.h"

#include "Platform/NotificationCenter.h"
#include "Platform/RunLoop.h"

#include <arpa/inet.h>
#include <cassert>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <memory>
#include <mutex>
#include <net/if.h>
#include <netdb.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace ui {

namespace {

constexpr auto hostLookupTimeout = std::chrono::seconds(2);
constexpr std::size_t maxHostNameLength = 253;

// Watchers whose notifier runs; a run loop context is trusted only when it is one of them. Never
// destroyed, since watchers kept by other statics may stop after this function's statics are gone.
std::set<Reachability*>& notifyingWatchers() {
    static std::set<Reachability*>* watchers = std::make_unique<std::set<Reachability*>>().release();
    return *watchers;
}

void programmingError(const char* message) {
    std::fprintf(stderr, "torvex: %s\n", message);
    assert(!"reachability programming error");
}

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        reset(std::exchange(other.fd_, -1));
        return *this;
    }
    ~FileDescriptor() { reset(); }
    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

FileDescriptor openRouteSocket(std::uint32_t groups, int extraType) {
    FileDescriptor socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | extraType, NETLINK_ROUTE));
    if (!socket)
        return socket;
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = groups;
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return FileDescriptor();
    return socket;
}

// What the reachability flags need to know of one route.
struct Route {
    bool usable = false;
    bool viaGateway = false;
    int outputInterface = 0;
    std::uint32_t table = RT_TABLE_UNSPEC;
    std::uint32_t priority = 0;
    unsigned char destinationLength = 0;
};

void readNexthop(const rtnexthop* nexthop, Route& route) {
    route.outputInterface = nexthop->rtnh_ifindex;
    if (nexthop->rtnh_flags & (RTNH_F_DEAD | RTNH_F_LINKDOWN))
        route.usable = false;
    int length = nexthop->rtnh_len - static_cast<int>(RTNH_LENGTH(0));
    for (auto* attribute = RTNH_DATA(nexthop); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length))
        if (attribute->rta_type == RTA_GATEWAY)
            route.viaGateway = true;
}

Route parseRoute(const nlmsghdr* message) {
    const auto* header = static_cast<const rtmsg*>(NLMSG_DATA(message));
    Route route;
    route.usable = (header->rtm_type == RTN_UNICAST || header->rtm_type == RTN_LOCAL) &&
                   !(header->rtm_flags & (RTNH_F_DEAD | RTNH_F_LINKDOWN));
    route.table = header->rtm_table;
    route.destinationLength = header->rtm_dst_len;
    int length = static_cast<int>(RTM_PAYLOAD(message));
    for (auto* attribute = RTM_RTA(header); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        const void* data = RTA_DATA(attribute);
        switch (attribute->rta_type) {
        case RTA_GATEWAY:
            route.viaGateway = true;
            break;
        case RTA_OIF:
            std::memcpy(&route.outputInterface, data, sizeof route.outputInterface);
            break;
        case RTA_TABLE:
            std::memcpy(&route.table, data, sizeof route.table);
            break;
        case RTA_PRIORITY:
            std::memcpy(&route.priority, data, sizeof route.priority);
            break;
        case RTA_MULTIPATH: // the first next hop stands for the route
            if (RTA_PAYLOAD(attribute) >= sizeof(rtnexthop))
                readNexthop(static_cast<const rtnexthop*>(data), route);
            break;
        }
    }
    return route;
}

bool sendRouteRequest(int socket, const nlmsghdr& request) {
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    return ::sendto(socket, &request, request.nlmsg_len, 0, reinterpret_cast<const sockaddr*>(&kernel),
                    sizeof kernel) == static_cast<ssize_t>(request.nlmsg_len);
}

// NLMSG_OK for a signed count of bytes left: the header's length is unsigned, and the macro's own
// comparison of the two mixes signs.
bool holdsWholeMessage(const nlmsghdr* message, int bytesLeft) {
    return bytesLeft >= static_cast<int>(sizeof(nlmsghdr)) && message->nlmsg_len >= sizeof(nlmsghdr) &&
           message->nlmsg_len <= static_cast<std::uint32_t>(bytesLeft);
}

// Reads the kernel's answers to request `sequence` and hands every route to `onRoute`; true when the
// answer ended normally (a lookup without a route ends with an error message, which counts as ending).
template <typename OnRoute> bool receiveRoutes(int socket, std::uint32_t sequence, OnRoute onRoute) {
    alignas(nlmsghdr) char buffer[32768];
    for (;;) {
        ssize_t received = ::recv(socket, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0)
            return false;
        int length = static_cast<int>(received);
        for (auto* message = reinterpret_cast<const nlmsghdr*>(buffer); holdsWholeMessage(message, length);
             message = NLMSG_NEXT(message, length)) {
            if (message->nlmsg_seq != sequence)
                continue;
            if (message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR)
                return true;
            if (message->nlmsg_type == RTM_NEWROUTE)
                onRoute(parseRoute(message));
            if (!(message->nlmsg_flags & NLM_F_MULTI))
                return true;
        }
    }
}

FileDescriptor openQuerySocket() {
    FileDescriptor socket = openRouteSocket(0, 0);
    if (socket) {
        timeval timeout{1, 0}; // the kernel answers at once; this only guards against a lost answer
        ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    }
    return socket;
}

std::uint32_t nextSequence() {
    static std::uint32_t sequence = 0;
    return ++sequence;
}

// Sends `request`, an IPv4 route request of `length` bytes whose body the caller has filled, and hands
// every route of the answer to `onRoute`; false when the table cannot be read.
template <typename Request, typename OnRoute>
bool askForRoutes(Request& request, std::uint32_t length, std::uint16_t flags, OnRoute onRoute) {
    FileDescriptor socket = openQuerySocket();
    if (!socket)
        return false;
    request.header.nlmsg_len = length;
    request.header.nlmsg_type = RTM_GETROUTE;
    request.header.nlmsg_flags = flags;
    request.header.nlmsg_seq = nextSequence();
    request.route.rtm_family = AF_INET;
    return sendRouteRequest(socket.get(), request.header) &&
           receiveRoutes(socket.get(), request.header.nlmsg_seq, onRoute);
}

// The route the kernel would take to `destination`: none when there is none, nullopt when the
// table cannot be read.
std::optional<std::optional<Route>> lookUpRoute(in_addr destination) {
    struct {
        nlmsghdr header;
        rtmsg route;
        alignas(NLMSG_ALIGNTO) char attributes[RTA_SPACE(sizeof(in_addr))];
    } request{};
    request.route.rtm_dst_len = 32;
    auto* attribute = reinterpret_cast<rtattr*>(request.attributes);
    attribute->rta_type = RTA_DST;
    attribute->rta_len = RTA_LENGTH(sizeof(in_addr));
    std::memcpy(RTA_DATA(attribute), &destination, sizeof destination);
    std::optional<Route> found;
    if (!askForRoutes(request, NLMSG_LENGTH(sizeof(rtmsg)) + RTA_LENGTH(sizeof(in_addr)), NLM_F_REQUEST,
                      [&](const Route& route) { found = route; }))
        return std::nullopt;
    return found;
}

bool isBetterDefaultRoute(const Route& candidate, const std::optional<Route>& best) {
    return candidate.destinationLength == 0 && candidate.table != RT_TABLE_LOCAL && candidate.usable &&
           (!best || candidate.priority < best->priority);
}

// The preferred usable default route of any table: none when there is none, nullopt when the
// table cannot be read.
std::optional<std::optional<Route>> lookUpDefaultRoute() {
    struct {
        nlmsghdr header;
        rtmsg route;
    } request{};
    std::optional<Route> best;
    auto keepBest = [&](const Route& route) {
        if (isBetterDefaultRoute(route, best))
            best = route;
    };
    if (!askForRoutes(request, NLMSG_LENGTH(sizeof(rtmsg)), NLM_F_REQUEST | NLM_F_DUMP, keepBest))
        return std::nullopt;
    return best;
}

bool isWideAreaInterface(int index) {
    char name[IF_NAMESIZE] = "";
    return index > 0 && ::if_indextoname(static_cast<unsigned>(index), name) &&
           std::strncmp(name, "wwan", 4) == 0;
}

ReachabilityFlags flagsForRoute(const std::optional<Route>& route) {
    if (!route || !route->usable)
        return 0;
    ReachabilityFlags flags = ReachabilityFlag::Reachable;
    if (!route->viaGateway)
        flags |= ReachabilityFlag::IsDirect;
    if (isWideAreaInterface(route->outputInterface))
        flags |= ReachabilityFlag::IsWWAN;
    return flags;
}

// The lookup runs on a thread of its own so that a slow resolver costs the caller at most `timeout`;
// a late answer is dropped with the shared state it writes into.
std::optional<in_addr> resolveIPv4(const std::string& hostName) {
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<in_addr> address;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, hostName] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* results = nullptr;
        std::optional<in_addr> address;
        if (::getaddrinfo(hostName.c_str(), nullptr, &hints, &results) == 0 && results)
            address = reinterpret_cast<const sockaddr_in*>(results->ai_addr)->sin_addr;
        if (results)
            ::freeaddrinfo(results);
        std::lock_guard lock(lookup->mutex);
        lookup->address = address;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    lookup->done.wait_for(lock, hostLookupTimeout, [&] { return lookup->finished; });
    return lookup->address;
}

} // namespace

// The target a watcher follows and its event socket.
struct Reachability::Handle {
    enum class Target { Address, DefaultRoute, HostName };
    Target target = Target::Address;
    in_addr address{};
    std::string hostName;
    // While notifying, a host name's address is looked up once per network change (the outer optional
    // says whether it was); otherwise at every reading.
    std::optional<std::optional<in_addr>> resolved;
    FileDescriptor events;
    std::optional<RunLoop::WatchId> watch; // the run loop's watch of `events`
    std::optional<ReachabilityFlags> lastFlags;

    std::optional<in_addr> destination() {
        if (target != Target::HostName)
            return address;
        if (!events)
            return resolveIPv4(hostName);
        if (!resolved)
            resolved = resolveIPv4(hostName);
        return *resolved;
    }

    std::optional<ReachabilityFlags> flags() {
        if (target == Target::DefaultRoute) {
            auto route = lookUpDefaultRoute();
            return route ? std::optional(flagsForRoute(*route)) : std::nullopt;
        }
        std::optional<in_addr> to = destination();
        if (!to)
            return ReachabilityFlags(0); // a name that does not resolve is not reachable
        auto route = lookUpRoute(*to);
        return route ? std::optional(flagsForRoute(*route)) : std::nullopt;
    }
};

Reachability::Reachability(Key, std::unique_ptr<Handle> handle) : reachabilityRef_(std::move(handle)) {}

Reachability::~Reachability() {
    stopNotifer();
}

std::shared_ptr<Reachability> Reachability::reachabilityWithHostName(const std::string& hostName) {
    if (hostName.empty() || hostName.size() > maxHostNameLength)
        return nullptr;
    auto handle = std::make_unique<Handle>();
    if (::inet_pton(AF_INET, hostName.c_str(), &handle->address) == 1) {
        handle->target =
            handle->address.s_addr == INADDR_ANY ? Handle::Target::DefaultRoute : Handle::Target::Address;
    } else {
        handle->target = Handle::Target::HostName;
        handle->hostName = hostName;
    }
    return std::make_shared<Reachability>(Key(), std::move(handle));
}

std::shared_ptr<Reachability> Reachability::reachabilityWithAddress(const sockaddr_in& hostAddress) {
    if (hostAddress.sin_family != AF_INET)
        return nullptr;
    auto handle = std::make_unique<Handle>();
    handle->address = hostAddress.sin_addr;
    handle->target =
        hostAddress.sin_addr.s_addr == INADDR_ANY ? Handle::Target::DefaultRoute : Handle::Target::Address;
    return std::make_shared<Reachability>(Key(), std::move(handle));
}

std::shared_ptr<Reachability> Reachability::reachabilityForInternetConnection() {
    sockaddr_in zeroAddress{};
    zeroAddress.sin_family = AF_INET;
    return reachabilityWithAddress(zeroAddress);
}

std::shared_ptr<Reachability> Reachability::reachabilityForLocalWiFi() {
    sockaddr_in linkLocal{};
    linkLocal.sin_family = AF_INET;
    linkLocal.sin_addr.s_addr = htonl(0xA9FE0000); // 169.254.0.0
    auto watcher = reachabilityWithAddress(linkLocal);
    if (watcher)
        watcher->localWiFiRef_ = true;
    return watcher;
}

bool Reachability::startNotifer() {
    if (!reachabilityRef_)
        return false;
    if (reachabilityRef_->events)
        return true;
    reachabilityRef_->events =
        openRouteSocket(RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE, SOCK_NONBLOCK);
    if (!reachabilityRef_->events)
        return false;
    reachabilityRef_->lastFlags = reachabilityRef_->flags();
    notifyingWatchers().insert(this);
    reachabilityRef_->watch =
        RunLoop::main().watchReadable(fileDescriptor(), [this] { reachabilityCallback(this); });
    return true;
}

void Reachability::stopNotifer() {
    notifyingWatchers().erase(this);
    if (!reachabilityRef_)
        return;
    if (reachabilityRef_->watch)
        RunLoop::main().unwatch(*std::exchange(reachabilityRef_->watch, std::nullopt));
    reachabilityRef_->events.reset();
    reachabilityRef_->resolved.reset();
}

bool Reachability::isNotifying() const {
    return reachabilityRef_ && reachabilityRef_->events;
}

int Reachability::fileDescriptor() const {
    return reachabilityRef_ ? reachabilityRef_->events.get() : -1;
}

// Empties the socket; true when anything arrived. A lost event (the socket overflowed) counts too.
bool Reachability::readEvents() {
    char buffer[8192];
    bool anything = false;
    for (;;) {
        ssize_t received = ::recv(fileDescriptor(), buffer, sizeof buffer, MSG_DONTWAIT);
        if (received > 0 || (received < 0 && errno == ENOBUFS))
            anything = true;
        else if (!(received < 0 && errno == EINTR))
            return anything;
    }
}

void Reachability::handleEvents() {
    if (!isNotifying() || !readEvents())
        return;
    reachabilityRef_->resolved.reset();
    std::optional<ReachabilityFlags> flags = reachabilityRef_->flags();
    if (flags == reachabilityRef_->lastFlags)
        return;
    reachabilityRef_->lastFlags = flags;
    NotificationCenter::defaultCenter().post(kNetworkReachabilityChangedNotification, this);
}

void Reachability::reachabilityCallback(void* info) {
    if (!info) {
        programmingError("info was NULL in ReachabilityCallback");
        return;
    }
    auto* watcher = static_cast<Reachability*>(info);
    if (!notifyingWatchers().contains(watcher)) {
        programmingError("info was wrong class in ReachabilityCallback");
        return;
    }
    watcher->handleEvents();
}

std::optional<ReachabilityFlags> Reachability::currentFlags() const {
    return reachabilityRef_ ? reachabilityRef_->flags() : std::nullopt;
}

NetworkStatus Reachability::currentReachabilityStatus() const {
    if (!reachabilityRef_) {
        programmingError("currentNetworkStatus called with NULL reachabilityRef");
        return NotReachable;
    }
    std::optional<ReachabilityFlags> flags = currentFlags();
    if (!flags)
        return NotReachable;
    return localWiFiRef_ ? localWiFiStatusForFlags(*flags) : networkStatusForFlags(*flags);
}

bool Reachability::connectionRequired() const {
    if (!reachabilityRef_) {
        programmingError("connectionRequired called with NULL reachabilityRef");
        return false;
    }
    std::optional<ReachabilityFlags> flags = currentFlags();
    return flags && (*flags & ReachabilityFlag::ConnectionRequired);
}

NetworkStatus Reachability::networkStatusForFlags(ReachabilityFlags flags) {
    using namespace ReachabilityFlag;
    if (!(flags & Reachable))
        return NotReachable;
    NetworkStatus status = (flags & ConnectionRequired) ? NotReachable : ReachableViaWiFi;
    if ((flags & (ConnectionOnDemand | ConnectionOnTraffic)) && !(flags & InterventionRequired))
        status = ReachableViaWiFi;
    if (flags & IsWWAN)
        status = ReachableViaWWAN;
    return status;
}

NetworkStatus Reachability::localWiFiStatusForFlags(ReachabilityFlags flags) {
    using namespace ReachabilityFlag;
    return (flags & Reachable) && (flags & IsDirect) ? ReachableViaWiFi : NotReachable;
}

} // namespace ui
