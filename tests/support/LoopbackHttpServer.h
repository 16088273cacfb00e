#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 (a port the kernel picks) for download tests: it answers
// every request with what `answer` says for its path, one connection at a time, on a thread of its
// own. A Silent reply accepts the connection and never answers, like a stalled server. Header-only, so
// that every test group may use it.

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class LoopbackHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        std::string extraHeaders; // whole lines, each ending in "\r\n"
        bool silent = false;

        static Reply answer(int status, std::string body, std::string extraHeaders = "") {
            return Reply{status, std::move(body), std::move(extraHeaders), false};
        }
        static Reply redirect(const std::string& location) {
            return answer(302, "", "Location: " + location + "\r\n");
        }
        static Reply stalled() { return Reply{0, "", "", true}; }
    };
    using Answer = std::function<Reply(const std::string& path)>;

    explicit LoopbackHttpServer(Answer answer);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string url(const std::string& path) const;
    int requestCount() const { return requests_; }

private:
    void serve();
    bool waitReadable(int fd) const;
    void answerConnection(int connection);

    Answer answer_;
    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<int> requests_ = 0;
    std::vector<int> stalled_;
    std::thread thread_;
};

namespace loopback_http_detail {

inline std::string statusLine(int status) {
    const char* reason = status == 200       ? "OK"
                         : status == 404     ? "Not Found"
                         : status / 100 == 3 ? "Found"
                                             : "Status";
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
}

inline void sendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
}

inline std::string requestPath(const std::string& request) {
    size_t start = request.find(' ');
    size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
    return end == std::string::npos ? "/" : request.substr(start + 1, end - start - 1);
}

} // namespace loopback_http_detail

inline LoopbackHttpServer::LoopbackHttpServer(Answer answer) : answer_(std::move(answer)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(stopPipe_, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot open a loopback server");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

inline LoopbackHttpServer::~LoopbackHttpServer() {
    ::close(stopPipe_[1]);
    thread_.join();
    for (int fd : stalled_)
        ::close(fd);
    ::close(stopPipe_[0]);
    ::close(listener_);
}

inline std::string LoopbackHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

// False when the server is being stopped.
inline bool LoopbackHttpServer::waitReadable(int fd) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    int ready;
    do
        ready = ::poll(fds, 2, -1);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && !(fds[1].revents & (POLLIN | POLLHUP));
}

inline void LoopbackHttpServer::serve() {
    while (waitReadable(listener_)) {
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
            answerConnection(connection);
    }
}

inline void LoopbackHttpServer::answerConnection(int connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        if (!waitReadable(connection)) {
            ::close(connection);
            return;
        }
        ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<size_t>(n));
    }
    ++requests_;
    Reply reply = answer_(loopback_http_detail::requestPath(request));
    if (reply.silent) {
        stalled_.push_back(connection); // held open until the server stops
        return;
    }
    loopback_http_detail::sendAll(connection, loopback_http_detail::statusLine(reply.status) +
                                                  "Content-Length: " + std::to_string(reply.body.size()) +
                                                  "\r\nConnection: close\r\n" + reply.extraHeaders + "\r\n" +
                                                  reply.body);
    ::close(connection);
}
