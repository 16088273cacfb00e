#include "ShellTest.h"

#include "Classes/StartContent.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/DownloadTask.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestBundle.h"

#include <fstream>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ShellTest::bundleDirectory;

void ShellTest::SetUpTestSuite() {
    if (!bundleDirectory.empty())
        return;
    bundleDirectory = testbundle::withFlatArtwork("shell");
    writeFile(fs::path(bundleDirectory) / "TitlesAndUrls.txt", bundleTitles);
    writeFile(fs::path(bundleDirectory) / "torvexStart.jpg", pictureBytes(16, 16, 0.1, 0.1, 0.8));
}

void ShellTest::SetUp() {
    program_ = std::make_unique<TestProgram>(bundleDirectory, home.string());
    savedLimits_ = StartViewController::downloadLimits;
    StartViewController::downloadLimits = {1000ms, 5000ms};
    server_ = std::make_unique<LoopbackHttpServer>([this](const std::string& path) {
        std::lock_guard lock(repliesMutex_);
        auto reply = replies_.find(path);
        return reply == replies_.end() ? LoopbackHttpServer::Reply::answer(404, "no such page")
                                       : reply->second;
    });
    writeFile(fs::path(bundleDirectory) / "url.txt",
              server_->url("/torvexStart.jpg") + "\n" + server_->url("/TitlesAndUrls.txt"));
}

void ShellTest::TearDown() {
    program_.reset();
    server_.reset();
    StartViewController::downloadLimits = savedLimits_;
}

void ShellTest::serve(const std::string& path, LoopbackHttpServer::Reply reply) {
    std::lock_guard lock(repliesMutex_);
    replies_[path] = std::move(reply);
}

void ShellTest::wait(double seconds) {
    ASSERT_TRUE(driver().advance(seconds));
}

void ShellTest::settle(int stillOnTheNetwork) {
    ASSERT_TRUE(ui::DownloadTask::waitUntilRunning(stillOnTheNetwork, 10s)) << "a download did not end";
    wait(0);
}

std::vector<ui::Button*> ShellTest::titleButtons() {
    std::vector<ui::Button*> buttons;
    for (const auto& view : start().startView->subviews())
        if (auto* button = dynamic_cast<ui::Button*>(view.get()))
            buttons.push_back(button);
    return buttons;
}

std::vector<std::string> ShellTest::titles() {
    std::vector<std::string> titles;
    for (ui::Button* button : titleButtons())
        titles.push_back(button->currentTitle());
    return titles;
}

std::vector<ui::View*> ShellTest::underlines() {
    std::vector<ui::View*> lines;
    for (const auto& view : start().startView->subviews())
        if (view->className() == "View")
            lines.push_back(view.get());
    return lines;
}

std::string ShellTest::cachedFile(const std::string& name) const {
    return StartContent::cachePath(name);
}

std::optional<std::string> ShellTest::readCached(const std::string& name) const {
    if (!fs::exists(cachedFile(name)))
        return std::nullopt;
    return readFile(cachedFile(name));
}

void ShellTest::writeCached(const std::string& name, const std::string& bytes) const {
    writeFile(cachedFile(name), bytes);
}

std::string ShellTest::documentsFile(const std::string& name) const {
    return ui::Paths::documentsDirectory() + "/" + name;
}
