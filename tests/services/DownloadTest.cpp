#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TemporaryFolder.h"

#include "Platform/Download.h"
#include "Platform/DownloadTask.h"
#include "Platform/RunLoop.h"

#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/resource.h>

using namespace std::chrono_literals;

namespace {

using Reply = LoopbackHttpServer::Reply;

const ui::DownloadLimits quickLimits{.connectTimeout = 1000ms, .totalTimeout = 300ms};

// Error pages, empty answers, bodies over the limit, redirect loops and redirects to local files.
TEST(Download, onlyAWebAnswerWithABodyWithinTheLimitIsContent) {
    TemporaryFolder folder;
    std::string local = folder / "local.txt";
    ASSERT_TRUE(ui::writeFileAtomically(local, "local bytes"));
    const std::map<std::string, Reply> refused = {
        {"/missing", Reply::answer(404, "<html>error page</html>")},
        {"/broken", Reply::answer(500, "<html>error page</html>")},
        {"/empty", Reply::answer(200, "")},
        {"/no-content", Reply::answer(204, "")},
        {"/big", Reply::answer(200, std::string(1001, 'x'))},
        {"/loop", Reply::redirect("/loop")},
        {"/to-file", Reply::redirect("file://" + local)},
    };
    LoopbackHttpServer server([&](const std::string& path) {
        if (path == "/moved")
            return Reply::redirect("/here");
        return refused.count(path) ? refused.at(path) : Reply::answer(200, std::string(1000, 'x'));
    });
    const ui::DownloadLimits limits{.maxBytes = 1000};
    for (const auto& [path, reply] : refused)
        EXPECT_EQ(ui::download(server.url(path), limits), std::nullopt) << path;
    EXPECT_EQ(ui::download(server.url("/moved"), limits), std::string(1000, 'x')) << "a redirect is followed";
    EXPECT_LE(server.requestCount(), 6 + 1 + limits.maxRedirects + 2) << "the loop is cut off";
    EXPECT_EQ(ui::download("file://" + local), std::nullopt);
}

TEST(Download, aServerThatNeverAnswersFailsWithinTheTimeoutAndTheLogSaysHowLongItWaited) {
    LoopbackHttpServer server([](const std::string&) { return Reply::stalled(); });
    auto start = std::chrono::steady_clock::now();
    testing::internal::CaptureStderr();
    EXPECT_EQ(ui::download(server.url("/stalled"), quickLimits), std::nullopt);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(" milliseconds"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(server.requestCount(), 1);
}

TEST(Download, aCancelFromAnotherThreadEndsAStalledDownloadAtOnce) {
    LoopbackHttpServer server([](const std::string&) { return Reply::stalled(); });
    ui::DownloadCancel cancel;
    const ui::DownloadLimits patient{.totalTimeout = 60s};
    std::thread canceller([&] {
        while (server.requestCount() == 0)
            std::this_thread::yield();
        cancel.cancel();
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ui::download(server.url("/stalled"), patient, &cancel), std::nullopt);
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "far below the minute it would wait";
}

TEST(DownloadTask, theResultComesInOnTheRunLoopAtTheVirtualTimeItArrived) {
    ui::RunLoop::main().reset();
    LoopbackHttpServer server([](const std::string&) { return Reply::held(Reply::answer(200, "titles")); });
    std::vector<std::string> arrivals;
    auto task = ui::DownloadTask::start(server.url("/t"), quickLimits, [&](std::optional<std::string> bytes) {
        arrivals.push_back(std::to_string(ui::RunLoop::main().now()) + " " + bytes.value_or("none"));
    });
    ui::RunLoop::main().advance(2);
    EXPECT_TRUE(arrivals.empty()) << "held by the server";
    server.release();
    ASSERT_TRUE(ui::DownloadTask::waitUntilRunning(0, 10s));
    EXPECT_TRUE(arrivals.empty()) << "nothing runs until the clock moves";
    ui::RunLoop::main().advance(1);
    EXPECT_EQ(arrivals, std::vector<std::string>{"2.000000 titles"});
}

TEST(DownloadTask, aTaskDestroyedBeforeItsResultIsInNeverCallsBack) {
    ui::RunLoop::main().reset();
    LoopbackHttpServer server([](const std::string&) { return Reply::stalled(); });
    bool called = false;
    auto task =
        ui::DownloadTask::start(server.url("/t"), {}, [&](std::optional<std::string>) { called = true; });
    auto start = std::chrono::steady_clock::now();
    task.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "the worker is not waited for on the network";
    ui::RunLoop::main().advance(1);
    EXPECT_FALSE(called);
}

TEST(Download, onlyBytesThatDecodeCountAsAPicture) {
    std::string picture = readFile(TORVEX_SOURCE_DIR "/tools/start-content/torvexStart.jpg");
    EXPECT_TRUE(ui::isPicture(picture));
    EXPECT_FALSE(ui::isPicture("<html>404 Not Found</html>"));
    EXPECT_FALSE(ui::isPicture(picture.substr(0, 64)));
}

TEST(AtomicWrite, writesTheFileWithItsFoldersAndReplacesAnOldFileWholeButNoFileInTheWay) {
    TemporaryFolder folder;
    std::string path = folder / "Documents/inner/TitlesAndUrls.txt";
    ASSERT_TRUE(ui::writeFileAtomically(path, std::string(5000, 'o')));
    EXPECT_TRUE(ui::writeFileAtomically(path, "short"));
    EXPECT_EQ(readFile(path), "short");
    EXPECT_EQ(folder.entries(folder.path() / "Documents/inner"),
              std::vector<std::string>{"TitlesAndUrls.txt"});
    EXPECT_FALSE(ui::writeFileAtomically(path + "/below", "x")) << "a file where a folder should be";
}

TEST(AtomicWrite, aWriteThatFailsPartWayLeavesTheOldFileAndNoTemporaryFile) {
    TemporaryFolder folder;
    std::string path = folder / "TitlesAndUrls.txt";
    ASSERT_TRUE(ui::writeFileAtomically(path, "old"));
    // A file size limit of this process makes the write fail part-way, as on a full disk.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit lowered = saved;
    lowered.rlim_cur = 16;
    auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    EXPECT_FALSE(ui::writeFileAtomically(path, std::string(4096, 'n')));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"TitlesAndUrls.txt"});
}

} // namespace
