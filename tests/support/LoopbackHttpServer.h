#pragma once
// The test content server: a tiny HTTP/1.1 server on 127.0.0.1 (a port the kernel picks) that answers
// every request with what `answer` says for its path, each connection on a thread of its own so that
// a slow answer never holds up another request. Header-only, so that every test group may use it.
//
// Besides plain answers and redirects it misbehaves as content servers do:
//   stalled()        accepts the connection and never answers
//   held(reply)      answers only once the test calls `release()` (or the server stops), so a test
//                    can check what the program does before and after the answer
//   slow(reply, n)   sends the answer in n pieces, a twentieth of a second apart
// and the bodies below give the hostile contents (a huge line, an HTML page, Latin-1 text, a picture
// that claims to be huge). Every loop ends when the answer is sent or the server stops.

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <mutex>
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
        bool waitsForRelease = false;
        int pieces = 1;

        static Reply answer(int status, std::string body, std::string extraHeaders = "") {
            Reply reply;
            reply.status = status;
            reply.body = std::move(body);
            reply.extraHeaders = std::move(extraHeaders);
            return reply;
        }
        static Reply redirect(const std::string& location) {
            return answer(302, "", "Location: " + location + "\r\n");
        }
        static Reply stalled() {
            Reply reply;
            reply.silent = true;
            return reply;
        }
        static Reply held(Reply reply) {
            reply.waitsForRelease = true;
            return reply;
        }
        static Reply slow(Reply reply, int pieces) {
            reply.pieces = pieces;
            return reply;
        }
    };
    using Answer = std::function<Reply(const std::string& path)>;

    // Hostile bodies.
    // One line of `bytes` bytes, a title with no end.
    static std::string hugeLine(std::size_t bytes) { return std::string(bytes, 'A'); }
    // What a captive portal answers instead of the page asked for, with status 200.
    static std::string htmlPage() {
        return "<!doctype html>\n<html><head><title>Sign in</title></head>\n"
               "<body><a href=\"http://portal.invalid/login\">Sign in to the hotel "
               "network</a></body></html>\n";
    }
    // A titles list in Latin-1, not UTF-8.
    static std::string latin1Titles() {
        return "Caf\xe9 anatomy||http://127.0.0.1/cafe\nNews||http://127.0.0.1/n";
    }

    explicit LoopbackHttpServer(Answer answer);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string url(const std::string& path) const;
    int requestCount() const { return requests_; }
    // Lets every held answer go, those to come included.
    void release();

private:
    void serve();
    bool waitReadable(int fd) const;
    bool stopsWithin(int milliseconds) const;
    void answerConnection(int connection);
    bool waitForRelease();
    void send(int connection, const Reply& reply);

    Answer answer_;
    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<int> requests_ = 0;
    std::mutex mutex_;
    std::condition_variable released_;
    bool releasedFlag_ = false;
    bool stopping_ = false;
    std::vector<int> stalled_;
    std::vector<std::thread> connections_;
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

inline bool sendAll(int fd, const char* bytes, size_t size) {
    size_t sent = 0;
    while (sent < size) {
        ssize_t n = ::send(fd, bytes + sent, size - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
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
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    released_.notify_all();
    ::close(stopPipe_[1]);
    thread_.join();
    for (std::thread& connection : connections_)
        connection.join();
    for (int fd : stalled_)
        ::close(fd);
    ::close(stopPipe_[0]);
    ::close(listener_);
}

inline std::string LoopbackHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

inline void LoopbackHttpServer::release() {
    {
        std::lock_guard lock(mutex_);
        releasedFlag_ = true;
    }
    released_.notify_all();
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

// Pauses a slow answer; true when the server is being stopped meanwhile.
inline bool LoopbackHttpServer::stopsWithin(int milliseconds) const {
    pollfd stop = {stopPipe_[0], POLLIN, 0};
    return ::poll(&stop, 1, milliseconds) > 0;
}

inline void LoopbackHttpServer::serve() {
    while (waitReadable(listener_)) {
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
            connections_.emplace_back([this, connection] { answerConnection(connection); });
    }
}

// False when the server stops first.
inline bool LoopbackHttpServer::waitForRelease() {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return releasedFlag_ || stopping_; });
    return !stopping_;
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
        std::lock_guard lock(mutex_);
        stalled_.push_back(connection); // held open until the server stops
        return;
    }
    if (!reply.waitsForRelease || waitForRelease())
        send(connection, reply);
    ::close(connection);
}

inline void LoopbackHttpServer::send(int connection, const Reply& reply) {
    constexpr int pauseMs = 50;
    std::string head = loopback_http_detail::statusLine(reply.status) +
                       "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n" +
                       reply.extraHeaders + "\r\n";
    if (!loopback_http_detail::sendAll(connection, head.data(), head.size()))
        return;
    size_t pieces = static_cast<size_t>(std::max(reply.pieces, 1));
    size_t pieceSize = (reply.body.size() + pieces - 1) / pieces;
    for (size_t at = 0; at < reply.body.size(); at += pieceSize) {
        if (at > 0 && stopsWithin(pauseMs))
            return;
        size_t length = std::min(pieceSize, reply.body.size() - at);
        if (!loopback_http_detail::sendAll(connection, reply.body.data() + at, length))
            return;
    }
}
