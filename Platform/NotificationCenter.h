#pragma once
// Named notifications within the program (NSNotificationCenter).
//
//     ui::NotificationCenter::defaultCenter().addObserver(this, "kNetworkReachabilityChangedNotification",
//         [this](const ui::Notification& n) { if (auto r = n.objectAs<Reachability*>()) update(*r); });
//     ui::NotificationCenter::defaultCenter().post("kNetworkReachabilityChangedNotification", this);
//
// Observers run at once, in the order they were added. An observer removed while a notification is
// being delivered does not receive it any more; one added meanwhile receives the next one. An owner must
// remove its observers before it goes away.

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

struct Notification {
    std::string name;
    std::any object; // the sender, or whatever the poster attached

    // The object when it holds a T, else nullptr.
    template <class T> const T* objectAs() const { return std::any_cast<T>(&object); }
};

class NotificationCenter {
public:
    using Callback = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // `owner` only names the observer, for removal. An empty name observes every notification.
    void addObserver(const void* owner, std::string name, Callback callback);
    void removeObserver(const void* owner);
    void post(const std::string& name, std::any object = {});

private:
    struct Observer {
        std::uint64_t id;
        const void* owner;
        std::string name;
        Callback callback;
    };
    bool isRegistered(std::uint64_t id) const;

    std::vector<Observer> observers_;
    std::uint64_t nextId_ = 0;
};

} // namespace ui
