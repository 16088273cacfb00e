#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 (a port the kernel picks) for download tests: it answers
// every request with what `answer` says for its path, one connection at a time, on a thread of its
// own. A Silent reply accepts the connection and never answers, like a stalled server.

#include <atomic>
#include <functional>
#include <string>
#include <thread>
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
