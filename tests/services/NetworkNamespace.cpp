#include "NetworkNamespace.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <net/route.h>
#include <poll.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int skippedExitCode = 77;

std::string enterNewNetworkNamespace() {
    if (::unshare(CLONE_NEWNET) == 0)
        return "";
    int direct = errno;
    // Without the privilege, a user namespace of our own grants it inside.
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0)
        return "";
    return std::string("no network namespace: ") + std::strerror(direct) + " / " + std::strerror(errno);
}

void writeAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0)
            return;
        written += static_cast<size_t>(n);
    }
}

std::string readAll(int fd) {
    std::string text;
    char buffer[1024];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
    return text;
}

[[noreturn]] void runChild(int reportFd, const std::function<void(ScenarioChecks&)>& scenario) {
    std::string why = enterNewNetworkNamespace();
    if (!why.empty()) {
        writeAll(reportFd, why);
        ::_exit(skippedExitCode);
    }
    ScenarioChecks checks;
    scenario(checks);
    writeAll(reportFd, checks.failures);
    ::_exit(checks.failures.empty() ? 0 : 1);
}

int interfaceIoctl(unsigned long request, ifreq& interface) {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int result = ::ioctl(fd, request, &interface);
    ::close(fd);
    return result;
}

ifreq interfaceNamed(const std::string& name) {
    ifreq interface {};
    std::strncpy(interface.ifr_name, name.c_str(), IFNAMSIZ - 1);
    return interface;
}

void setAddress(sockaddr& target, const std::string& dotted) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, dotted.c_str(), &address.sin_addr);
    std::memcpy(&target, &address, sizeof address);
}

void setMask(sockaddr& target, int prefixLength) {
    sockaddr_in mask{};
    mask.sin_family = AF_INET;
    mask.sin_addr.s_addr = prefixLength == 0 ? 0 : htonl(~0u << (32 - prefixLength));
    std::memcpy(&target, &mask, sizeof mask);
}

bool routeIoctl(unsigned long request, rtentry& route) {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool ok = ::ioctl(fd, request, &route) == 0;
    ::close(fd);
    return ok;
}

} // namespace

ScenarioOutcome runInNewNetworkNamespace(const std::function<void(ScenarioChecks&)>& scenario) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return {ScenarioOutcome::Result::Failed, "no pipe"};
    pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        runChild(report[1], scenario);
    }
    ::close(report[1]);
    std::string text = readAll(report[0]);
    ::close(report[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return {ScenarioOutcome::Result::Failed, "the scenario's process did not end normally\n" + text};
    if (WEXITSTATUS(status) == skippedExitCode)
        return {ScenarioOutcome::Result::Skipped, text};
    return {WEXITSTATUS(status) == 0 ? ScenarioOutcome::Result::Passed : ScenarioOutcome::Result::Failed,
            text};
}

bool setLinkUp(const std::string& link) {
    ifreq interface = interfaceNamed(link);
    if (interfaceIoctl(SIOCGIFFLAGS, interface) != 0)
        return false;
    interface.ifr_flags |= IFF_UP;
    return interfaceIoctl(SIOCSIFFLAGS, interface) == 0;
}

bool renameLink(const std::string& from, const std::string& to) {
    ifreq interface = interfaceNamed(from);
    std::strncpy(interface.ifr_newname, to.c_str(), IFNAMSIZ - 1);
    return interfaceIoctl(SIOCSIFNAME, interface) == 0;
}

bool addRoute(const std::string& destination, int prefixLength, const std::string& link,
              const std::string& gateway) {
    rtentry route{};
    setAddress(route.rt_dst, destination);
    setMask(route.rt_genmask, prefixLength);
    route.rt_flags = RTF_UP;
    if (!gateway.empty()) {
        setAddress(route.rt_gateway, gateway);
        route.rt_flags |= RTF_GATEWAY;
    }
    std::string device = link;
    route.rt_dev = device.data();
    return routeIoctl(SIOCADDRT, route);
}

bool deleteRoute(const std::string& destination, int prefixLength) {
    rtentry route{};
    setAddress(route.rt_dst, destination);
    setMask(route.rt_genmask, prefixLength);
    return routeIoctl(SIOCDELRT, route);
}

bool waitReadable(int fd) {
    pollfd watched{fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&watched, 1, 2000);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}
