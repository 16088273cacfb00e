#pragma once
// The program launched as its entry does on the flat test bundle, with its own home and loopback content
// server (404 until `serve` says otherwise); `settle` lets finished downloads in at the current time.

#include "Classes/StartContent.h"
#include "Platform/Button.h"
#include "Platform/DownloadTask.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestBundle.h"
#include "tests/support/TestProgram.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

class ShellTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!bundleDirectory().empty())
            return;
        bundleDirectory() = testbundle::withFlatArtwork("shell");
        writeFile(bundleDirectory() + "/TitlesAndUrls.txt",
                  "Bundle atlas||http://127.0.0.1/bundle\nBundle help");
        writeFile(bundleDirectory() + "/torvexStart.jpg", testpictures::solidPng(16, 16, 0.1, 0.1, 0.8));
    }
    void SetUp() override {
        using namespace std::chrono_literals;
        program_ = std::make_unique<TestProgram>(bundleDirectory(), home.string());
        savedLimits_ = StartViewController::downloadLimits;
        StartViewController::downloadLimits = {1000ms, 5000ms};
        server_ = std::make_unique<LoopbackHttpServer>([this](const std::string& path) {
            std::lock_guard lock(repliesMutex_);
            auto reply = replies_.find(path);
            return reply == replies_.end() ? LoopbackHttpServer::Reply::answer(404, "no such page")
                                           : reply->second;
        });
        writeFile(bundleDirectory() + "/url.txt",
                  server_->url("/torvexStart.jpg") + "\n" + server_->url("/TitlesAndUrls.txt"));
    }
    void TearDown() override {
        program_.reset();
        server_.reset();
        StartViewController::downloadLimits = savedLimits_;
    }

    // Runs the launch sequence as the program's entry does.
    void launch(Network network) { program_->launch(network); }
    void launch(const TorvexAppDelegate::ReachabilityTargets& targets) { program_->launch(targets); }
    // Ends the program: the delegate and everything it owns go, the toolkit starts afresh.
    void quit() { program_->quit(); }

    // The next answers of the content server for `path` ("/TitlesAndUrls.txt", "/torvexStart.jpg").
    void serve(const std::string& path, LoopbackHttpServer::Reply reply) {
        std::lock_guard lock(repliesMutex_);
        replies_[path] = std::move(reply);
    }
    int requests() const { return server_->requestCount(); }
    // Lets the server's held answers go.
    void releaseServer() { server_->release(); }

    void wait(double seconds) { ASSERT_TRUE(driver().advance(seconds)); }
    // Waits (on the real clock, boundedly) until at most `stillOnTheNetwork` downloads run, then lets
    // the results in without moving the clock.
    void settle(int stillOnTheNetwork = 0) {
        using namespace std::chrono_literals;
        ASSERT_TRUE(ui::DownloadTask::waitUntilRunning(stillOnTheNetwork, 10s)) << "a download did not end";
        wait(0);
    }
    // Waits until the start picture is fetched (the fifth blink).
    void waitForStartPictureTick() { wait(5 * 0.7); }

    TorvexAppDelegate& delegate() { return program_->delegate(); }
    StartViewController& start() { return program_->start(); }
    std::vector<ui::Button*> titleButtons() {
        std::vector<ui::Button*> buttons;
        for (const auto& view : start().startView->subviews())
            if (auto* button = dynamic_cast<ui::Button*>(view.get()))
                buttons.push_back(button);
        return buttons;
    }
    std::vector<std::string> titles() {
        std::vector<std::string> titles;
        for (ui::Button* button : titleButtons())
            titles.push_back(button->currentTitle());
        return titles;
    }
    ui::Size shownPictureSize() { return start().startView->image().size(); }

    // Start content in the cache folder, and in the documents folder where earlier versions kept it.
    std::string cachedFile(const std::string& name) const { return StartContent::cachePath(name); }
    std::optional<std::string> readCached(const std::string& name) const {
        if (!std::filesystem::exists(cachedFile(name)))
            return std::nullopt;
        return readFile(cachedFile(name));
    }
    void writeCached(const std::string& name, const std::string& bytes) const {
        writeFile(cachedFile(name), bytes);
    }
    std::string documentsFile(const std::string& name) const {
        return ui::Paths::documentsDirectory() + "/" + name;
    }

    static std::string& bundleDirectory() {
        static std::string folder;
        return folder;
    }
    TemporaryFolder homeFolder;
    const std::filesystem::path& home = homeFolder.path();
    ui::Driver& driver() { return program_->driver; }

private:
    std::unique_ptr<LoopbackHttpServer> server_;
    std::mutex repliesMutex_;
    std::map<std::string, LoopbackHttpServer::Reply> replies_;
    std::unique_ptr<TestProgram> program_;
    ui::DownloadLimits savedLimits_;
};
