#pragma once
// The application delegate: sets up the window, watches the network, keeps the one online flag and
// hands the screen to the start screen.
//
// Launch (`applicationDidFinishLaunching`), in this order: window frame; `internet` off;
// observe kNetworkReachabilityChangedNotification; the content server host's watcher, started and read;
// the default route's watcher, started and read (so after launch the flag is the default route's
// answer); the start screen, loaded, framed and put into the window; `viewLoading`.
//
// Status -> `internet`, whichever watcher reported last:
//     NotReachable               false
//     ReachableViaWiFi / WWAN    true
//     anything else              unchanged
//
// The start screen is told at construction whether the network is reachable and the term to start at,
// and calls back when it gives way. Keys reach the viewer through KeyboardCommands once the start screen
// is gone.

#include "Platform/Application.h"
#include "Platform/Reachability.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
struct Notification;
}

class KeyboardCommands;
class StartViewController;
class TorvexView;

class TorvexAppDelegate {
public:
    // Stands for the default route among the targets below.
    static constexpr const char* defaultRoute = "0.0.0.0";

    // What the two watchers follow. The program watches the content server host that the bundle's
    // address file names (none when it names none) and the default route. Tests point both at the
    // loopback address, which always has a route, to be online; an empty name gives no watcher, so a
    // launch with two empty names stays offline (the --offline option).
    struct ReachabilityTargets {
        std::string host;
        std::string internet = defaultRoute;

        static ReachabilityTargets offline() { return ReachabilityTargets{"", ""}; }
    };

    // Watches the bundle's content server host and the default route.
    TorvexAppDelegate();
    explicit TorvexAppDelegate(ReachabilityTargets targets);
    ~TorvexAppDelegate();
    TorvexAppDelegate(const TorvexAppDelegate&) = delete;
    TorvexAppDelegate& operator=(const TorvexAppDelegate&) = delete;

    void applicationDidFinishLaunching(ui::Application& application);
    // The notification's object must be the Reachability* whose state changed.
    void reachabilityChanged(const ui::Notification& notification);
    void updateInterfaceWithReachability(const ui::Reachability& curReach);
    // The status table above; `status` may be any number.
    void updateInterfaceWithStatus(int status);
    // Takes the start screen's view out of the window; nothing when it is not in one.
    void removeStart();
    // The viewer once the start screen has left the window, else null.
    TorvexView* viewerOnScreen() const;

    // A term to start at (DeepLink): once the viewer has loaded, the start screen gives way at once
    // and the journey to the term runs; an unknown term ends the program with status 2.
    std::optional<std::string> startTerm;

    ui::ViewPtr window;
    std::shared_ptr<StartViewController> stViewContr;
    std::shared_ptr<ui::Reachability> hostReach;
    std::shared_ptr<ui::Reachability> internetReach;
    bool internet = false;

private:
    std::shared_ptr<ui::Reachability> makeWatcher(const std::string& target) const;
    void watch(const std::shared_ptr<ui::Reachability>& watcher);
    void registerStateProvider(ui::Application& application);
    void registerKeys(ui::Application& application);

    ReachabilityTargets targets_;
    std::shared_ptr<KeyboardCommands> keys_;
};
