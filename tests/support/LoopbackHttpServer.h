#pragma once
// The test content server: HTTP/1.1 on 127.0.0.1, each connection on a thread of its own, answering
// what `answer` says for the path; it may stall, hold an answer until `release()`, or send it slowly.

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
        std::string location; // where a redirect sends the client
        bool silent = false, waitsForRelease = false;
        int pieces = 1;

        static Reply answer(int status, std::string body) { return {status, std::move(body), ""}; }
        static Reply redirect(std::string location) { return {302, "", std::move(location)}; }
        static Reply stalled() { return {0, "", "", true}; }
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

    explicit LoopbackHttpServer(Answer answer) : answer_(std::move(answer)) {
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
        thread_ = std::thread([this] {
            while (waitReadable(listener_, -1)) {
                int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                if (connection >= 0)
                    connections_.emplace_back([this, connection] { answerConnection(connection); });
            }
        });
    }
    ~LoopbackHttpServer() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        released_.notify_all();
        ::close(stopPipe_[1]); // wakes every poll
        thread_.join();
        for (std::thread& connection : connections_)
            connection.join();
        ::close(stopPipe_[0]);
        ::close(listener_);
    }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int requestCount() const { return requests_; }
    // Lets every held answer go, those to come included.
    void release() {
        {
            std::lock_guard lock(mutex_);
            releasedFlag_ = true;
        }
        released_.notify_all();
    }

private:
    // False when the server is being stopped first (or the wait of `milliseconds` is over).
    bool waitReadable(int fd, int milliseconds) const {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        int ready;
        while ((ready = ::poll(fds, 2, milliseconds)) < 0 && errno == EINTR) {
        }
        return ready > 0 && !(fds[1].revents & (POLLIN | POLLHUP));
    }

    void answerConnection(int connection) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            ssize_t n = waitReadable(connection, -1) ? ::recv(connection, buffer, sizeof buffer, 0) : -1;
            if (n <= 0)
                break;
            request.append(buffer, static_cast<size_t>(n));
        }
        ++requests_;
        size_t start = request.find(' '), end = request.find(' ', start + 1);
        Reply reply = answer_(start == std::string::npos || end == std::string::npos
                                  ? "/"
                                  : request.substr(start + 1, end - start - 1));
        // A stalled answer holds the connection open until the server stops.
        std::unique_lock lock(mutex_);
        released_.wait(
            lock, [&] { return stopping_ || (!reply.silent && (!reply.waitsForRelease || releasedFlag_)); });
        bool stopping = stopping_;
        lock.unlock();
        if (!stopping)
            send(connection, reply);
        ::close(connection);
    }

    void send(int connection, const Reply& reply) {
        const char* reason = reply.status == 200 ? "OK" : reply.status == 404 ? "Not Found" : "Found";
        std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reason +
                           "\r\nContent-Length: " + std::to_string(reply.body.size()) +
                           "\r\nConnection: close\r\n" +
                           (reply.location.empty() ? "" : "Location: " + reply.location + "\r\n") + "\r\n";
        size_t pieceSize = (reply.body.size() + reply.pieces - 1) / static_cast<size_t>(reply.pieces);
        std::vector<std::string> parts = {head};
        for (size_t at = 0; at < reply.body.size(); at += pieceSize)
            parts.push_back(reply.body.substr(at, pieceSize));
        for (size_t part = 0; part < parts.size(); ++part) {
            // The pieces of a slow answer a twentieth of a second apart, unless the server stops.
            pollfd stop = {stopPipe_[0], POLLIN, 0};
            if (part > 1 && ::poll(&stop, 1, 50) > 0)
                return;
            for (size_t sent = 0; sent < parts[part].size();) {
                ssize_t n =
                    ::send(connection, parts[part].data() + sent, parts[part].size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    return;
                sent += static_cast<size_t>(n);
            }
        }
    }

    Answer answer_;
    int listener_ = -1, port_ = 0;
    int stopPipe_[2] = {-1, -1};
    std::atomic<int> requests_ = 0;
    std::mutex mutex_;
    std::condition_variable released_;
    bool releasedFlag_ = false, stopping_ = false;
    std::vector<std::thread> connections_;
    std::thread thread_;
};
