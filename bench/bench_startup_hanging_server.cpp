// From process start to the first frame and to "touch to continue" while the content server hangs:
// it accepts connections and never answers. The program runs on the sample atlas with its address
// file pointed at that server, with an empty home, each repetition a fresh process.
//
//   BM_HangingServerHeadless   headless, script "wait 1.7": the titles wait (1.5 s) and the viewer's
//                              delay (0.2 s) pass on the virtual clock, so this is what the hanging
//                              server costs in real time (goal: as offline, bench_startup).
//   BM_HangingServerWindow     in a window on a virtual X display (Xvfb, started once): `first_frame_ms`
//                              is the time to the first drawn frame (goal: under 500 ms, and no more
//                              than with no server, hanging:0); the manual time is the time to
//                              "touch to continue", 1.7 s by design plus the load.
//
// The figures are skipped when the machine has no default route (the program then stays offline and
// asks no server) or, for the window, when Xvfb is missing.

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path builtBundle = TORVEX_BUILD_BUNDLE_DIR;
const fs::path program = builtBundle.parent_path() / "torvex";
constexpr std::string_view readyState = "\"startLabel\":\"touch to continue\"";

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Accepts connections on 127.0.0.1 and holds them open without a word, until it is destroyed.
class HangingServer {
public:
    HangingServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 64);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        [[maybe_unused]] int piped = ::pipe2(stop_, O_CLOEXEC);
        thread_ = std::thread([this] { acceptForEver(); });
    }
    ~HangingServer() {
        ::close(stop_[1]);
        thread_.join();
        for (int fd : held_)
            ::close(fd);
        ::close(stop_[0]);
        ::close(listener_);
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int accepted() const { return accepted_; }

private:
    void acceptForEver() {
        for (;;) {
            pollfd fds[2] = {{listener_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || fds[1].revents)
                return;
            int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                held_.push_back(connection);
                ++accepted_;
            }
        }
    }
    int listener_ = -1;
    int stop_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<int> accepted_ = 0;
    std::vector<int> held_;
    std::thread thread_;
};

// The built bundle with its address file pointed at `server`: every other entry is a link.
fs::path bundlePointedAt(const HangingServer& server, const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(builtBundle))
        if (entry.path().filename() != "url.txt")
            fs::create_symlink(entry.path(), folder / entry.path().filename());
    std::ofstream(folder / "url.txt") << server.url("/torvexStart.jpg") << "\n"
                                      << server.url("/TitlesAndUrls.txt");
    return folder;
}

// The program with a script on its standard input, which the benchmark writes as it goes.
class ProgramRun {
public:
    ProgramRun(std::vector<std::string> arguments, const std::vector<std::string>& environment) {
        int input[2], output[2];
        [[maybe_unused]] int a = ::pipe2(input, O_CLOEXEC), b = ::pipe2(output, O_CLOEXEC);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<std::string> variables = environment;
        for (char** variable = environ; *variable; ++variable)
            variables.emplace_back(*variable);
        std::vector<char*> envp;
        for (std::string& variable : variables)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        started_ = Clock::now();
        spawned_ = posix_spawn(&child_, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        input_ = input[1];
        outputFd_ = output[0];
    }
    ~ProgramRun() {
        ::close(input_);
        ::close(outputFd_);
        if (spawned_)
            ::waitpid(child_, nullptr, 0);
    }
    bool spawned() const { return spawned_; }
    // Processor time the program has used so far, user and system: unlike the wall time, it does not
    // grow with the machine's load.
    double processorSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(child_) + "/stat");
        std::string line;
        std::getline(stat, line);
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string field;
        for (int skipped = 0; skipped < 11; ++skipped)
            fields >> field;
        double user = 0, system = 0;
        fields >> user >> system;
        return (user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    }
    Clock::time_point started() const { return started_; }

    bool send(const std::string& lines) { return ::write(input_, lines.data(), lines.size()) > 0; }
    // The next state line the program prints; nothing when it ended first.
    std::optional<std::string> nextState() {
        char buffer[65536];
        for (;;) {
            for (std::size_t end; (end = output_.find('\n')) != std::string::npos;) {
                std::string line = output_.substr(0, end);
                output_.erase(0, end + 1);
                if (!line.empty() && line.front() == '{')
                    return line;
            }
            ssize_t n = ::read(outputFd_, buffer, sizeof buffer);
            if (n <= 0)
                return std::nullopt;
            output_.append(buffer, static_cast<std::size_t>(n));
        }
    }

private:
    pid_t child_ = 0;
    bool spawned_ = false;
    int input_ = -1, outputFd_ = -1;
    std::string output_;
    Clock::time_point started_;
};

// A virtual X display for the whole benchmark run, or none when Xvfb is missing.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int fds[2];
        if (::pipe2(fds, 0) != 0)
            return;
        std::string fd = std::to_string(fds[1]);
        std::vector<std::string> arguments = {"/usr/bin/Xvfb", "-displayfd", fd,  "-nolisten",
                                              "tcp",           "-screen",    "0", "1024x1024x24"};
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // Xvfb keeps neither of our output streams, so a reader of them is never held open by it.
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        bool spawned =
            fs::exists(argv[0]) && posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        char number[32] = {};
        if (spawned && ::read(fds[0], number, sizeof number - 1) > 0)
            display_ = ":" + std::string(number).substr(0, std::string(number).find('\n'));
        ::close(fds[0]);
    }
    ~VirtualDisplay() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

struct Folders {
    fs::path root = fs::temp_directory_path() / ("torvex-bench-hanging-" + std::to_string(::getpid()));
    fs::path bundle = root / "bundle";
    fs::path home = root / "home";
    ~Folders() { fs::remove_all(root); }
};

bool canRun(benchmark::State& state) {
    if (!fs::exists(builtBundle / "torvex.xml") || !fs::exists(program)) {
        state.SkipWithError("build the program and its bundle first");
        return false;
    }
    return true;
}

void BM_HangingServerHeadless(benchmark::State& state) {
    if (!canRun(state))
        return;
    HangingServer server;
    Folders folders;
    bundlePointedAt(server, folders.bundle);
    for (auto _ : state) {
        fs::remove_all(folders.home);
        ProgramRun run({program.string(), "--headless", "--bundle", folders.bundle.string(), "--home",
                        folders.home.string(), "--script", "-"},
                       {});
        run.send("wait 1.7\nstate\n");
        auto last = run.spawned() ? run.nextState() : std::nullopt;
        bool ready = last && last->find(readyState) != std::string::npos;
        state.SetIterationTime(secondsSince(run.started()));
        if (!ready) {
            state.SkipWithError("the program never showed \"touch to continue\"");
            break;
        }
    }
    if (server.accepted() == 0)
        state.SkipWithError("the program asked no server (no default route?)");
}

// Argument 1: against the hanging server; 0: the sample bundle as shipped, which names no server, for
// comparison (what a window costs to open on this machine).
void BM_HangingServerWindow(benchmark::State& state) {
    if (!canRun(state))
        return;
    static VirtualDisplay display;
    if (display.display().empty()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    bool hanging = state.range(0) == 1;
    HangingServer server;
    Folders folders;
    if (hanging)
        bundlePointedAt(server, folders.bundle);
    else {
        fs::create_directories(folders.root);
        fs::create_directory_symlink(builtBundle, folders.bundle);
    }
    double firstFrames = 0, firstFrameProcessor = 0;
    for (auto _ : state) {
        fs::remove_all(folders.home);
        ProgramRun run({program.string(), "--bundle", folders.bundle.string(), "--home",
                        folders.home.string(), "--script", "-"},
                       {"DISPLAY=" + display.display(), "SDL_AUDIODRIVER=dummy"});
        // A wait draws the frames that are due: the state after the shortest wait follows the first.
        run.send("wait 0.001\nstate\n");
        bool drawn = run.spawned() && run.nextState();
        firstFrames += secondsSince(run.started());
        firstFrameProcessor += run.processorSeconds();
        bool ready = false;
        for (int step = 0; drawn && !ready && step < 1000; ++step) {
            run.send("wait 0.005\nstate\n");
            auto next = run.nextState();
            ready = next && next->find(readyState) != std::string::npos;
        }
        state.SetIterationTime(secondsSince(run.started()));
        if (!ready) {
            state.SkipWithError("the program drew no frame or never showed \"touch to continue\"");
            break;
        }
    }
    state.counters["first_frame_ms"] =
        benchmark::Counter(firstFrames * 1000, benchmark::Counter::kAvgIterations);
    state.counters["first_frame_cpu_ms"] =
        benchmark::Counter(firstFrameProcessor * 1000, benchmark::Counter::kAvgIterations);
    if (hanging && server.accepted() == 0)
        state.SkipWithError("the program asked no server (no default route?)");
}

BENCHMARK(BM_HangingServerHeadless)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HangingServerWindow)
    ->ArgName("hanging")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
