#pragma once
// The whole program in process on a bundle and a home, on a virtual clock at 0, driven by script lines
// (`run`) or the driver; offline launches watch no network, online ones watch the loopback address.

#include "Classes/Managers/SettingsManager.h"
#include "Classes/StartViewController.h"
#include "Classes/TorvexAppDelegate.h"
#include "Classes/TorvexView.h"
#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Driver.h"
#include "Platform/Paths.h"
#include "Platform/Script.h"

#include <memory>
#include <sstream>
#include <string>

enum class Network { Online, Offline };

class TestProgram {
public:
    TestProgram(const std::string& bundle, const std::string& home) : bundle_(bundle) {
        ui::Paths::setHome(home);
        SettingsManager::getInstance().load(ui::Paths::cachesDirectory() + "/inner_cache/settings.file");
        startAfresh();
    }
    ~TestProgram() {
        quit();
        ui::Paths::setHome("");
    }
    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    void launch(Network network = Network::Offline) {
        std::string watched = network == Network::Online ? "127.0.0.1" : "";
        launch(TorvexAppDelegate::ReachabilityTargets{watched, watched});
    }
    void launch(const TorvexAppDelegate::ReachabilityTargets& targets) {
        delegate_ = std::make_unique<TorvexAppDelegate>(targets);
        delegate_->applicationDidFinishLaunching(ui::Application::shared());
    }
    // Ends the program: the delegate and everything it owns go, the toolkit starts afresh.
    void quit() {
        delegate_.reset();
        startAfresh();
    }

    // Carries out one script line as the script reader does; what it prints is dropped.
    ui::Result run(const std::string& line) {
        std::ostringstream printed;
        return ui::Script::runLine(line, driver, printed);
    }

    TorvexAppDelegate& delegate() { return *delegate_; }
    StartViewController& start() { return *delegate_->stViewContr; }
    // The viewer, once the start screen has made it (0.2 s after launch); null before.
    TorvexView* viewer() const {
        return delegate_ && delegate_->stViewContr ? delegate_->stViewContr->torvexViewController.get()
                                                   : nullptr;
    }

    ui::Driver driver;

private:
    void startAfresh() {
        ui::Driver::resetToolkit();
        ui::Bundle::main().setResourcePath(bundle_);
    }

    std::string bundle_;
    std::unique_ptr<TorvexAppDelegate> delegate_;
};
