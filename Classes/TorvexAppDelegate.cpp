#include "TorvexAppDelegate.h"

#include "KeyboardCommands.h"
#include "StartViewController.h"
#include "TorvexView.h"

#include "Platform/NotificationCenter.h"

#include <cassert>
#include <iostream>

namespace {

ui::Rect applicationFrame() {
    return ui::Rect(ui::Point{0, 0}, ui::Application::screenSize);
}

} // namespace

TorvexAppDelegate::TorvexAppDelegate()
    : TorvexAppDelegate(ReachabilityTargets{StartViewController::contentServerHost(), defaultRoute}) {}

TorvexAppDelegate::TorvexAppDelegate(ReachabilityTargets targets) : targets_(std::move(targets)) {}

TorvexAppDelegate::~TorvexAppDelegate() {
    ui::NotificationCenter::defaultCenter().removeObserver(this);
    ui::Application::shared().removeStateProvider("internet");
    ui::Application::shared().setKeyHandler(nullptr);
}

void TorvexAppDelegate::applicationDidFinishLaunching(ui::Application& application) {
    window = application.window();
    ui::Rect frame = applicationFrame();
    window->setFrame(frame);
    internet = false;
    ui::NotificationCenter::defaultCenter().addObserver(
        this, ui::kNetworkReachabilityChangedNotification,
        [this](const ui::Notification& notification) { reachabilityChanged(notification); });

    hostReach = makeWatcher(targets_.host);
    watch(hostReach);
    internetReach = makeWatcher(targets_.internet);
    watch(internetReach);

    stViewContr =
        std::make_shared<StartViewController>(StartOptions{internet, startTerm, [this] { removeStart(); }});
    stViewContr->view()->setFrame(frame);
    window->addSubview(stViewContr->view());
    stViewContr->viewLoading();
    registerStateProvider(application);
    registerKeys(application);
}

std::shared_ptr<ui::Reachability> TorvexAppDelegate::makeWatcher(const std::string& target) const {
    if (target == defaultRoute)
        return ui::Reachability::reachabilityForInternetConnection();
    return ui::Reachability::reachabilityWithHostName(target);
}

// A watcher that cannot be made or started leaves the flag to the other one.
void TorvexAppDelegate::watch(const std::shared_ptr<ui::Reachability>& watcher) {
    if (!watcher)
        return;
    watcher->startNotifer();
    updateInterfaceWithReachability(*watcher);
}

void TorvexAppDelegate::reachabilityChanged(const ui::Notification& notification) {
    ui::Reachability* const* curReach = notification.objectAs<ui::Reachability*>();
    if (!curReach || !*curReach) {
        std::cerr
            << "torvex: Invalid parameter not satisfying: [curReach isKindOfClass: [Reachability class]]\n";
        assert(!"reachability notification without a Reachability");
        return;
    }
    updateInterfaceWithReachability(**curReach);
}

void TorvexAppDelegate::updateInterfaceWithReachability(const ui::Reachability& curReach) {
    updateInterfaceWithStatus(curReach.currentReachabilityStatus());
}

void TorvexAppDelegate::updateInterfaceWithStatus(int status) {
    switch (status) {
    case ui::NotReachable:
        internet = false;
        break;
    case ui::ReachableViaWiFi:
    case ui::ReachableViaWWAN:
        internet = true;
        break;
    default:
        break;
    }
}

void TorvexAppDelegate::removeStart() {
    if (stViewContr)
        stViewContr->view()->removeFromSuperview();
}

void TorvexAppDelegate::registerStateProvider(ui::Application& application) {
    application.addStateProvider("internet", [this] { return ui::Json(internet); });
}

TorvexView* TorvexAppDelegate::viewerOnScreen() const {
    if (!stViewContr || !stViewContr->torvexViewController || stViewContr->view()->superview())
        return nullptr;
    TorvexView* viewer = stViewContr->torvexViewController.get();
    return viewer->isViewLoaded() && viewer->view()->superview() ? viewer : nullptr;
}

void TorvexAppDelegate::registerKeys(ui::Application& application) {
    keys_ = std::make_shared<KeyboardCommands>([this] { return viewerOnScreen(); });
    application.setKeyHandler([keys = keys_](const std::string& key, ui::Application::KeyFocus focus) {
        return keys->handle(key, focus);
    });
}
