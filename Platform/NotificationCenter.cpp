#include "Platform/NotificationCenter.h"

#include <algorithm>

namespace ui {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* owner, std::string name, Callback callback) {
    observers_.push_back({nextId_++, owner, std::move(name), std::move(callback)});
}

void NotificationCenter::removeObserver(const void* owner) {
    std::erase_if(observers_, [owner](const Observer& o) { return o.owner == owner; });
}

bool NotificationCenter::isRegistered(std::uint64_t id) const {
    return std::any_of(observers_.begin(), observers_.end(), [id](const Observer& o) { return o.id == id; });
}

void NotificationCenter::post(const std::string& name, std::any object) {
    Notification notification{name, std::move(object)};
    // Deliver to a snapshot: callbacks may add and remove observers.
    auto snapshot = observers_;
    for (auto& observer : snapshot) {
        if ((observer.name.empty() || observer.name == name) && isRegistered(observer.id))
            observer.callback(notification);
    }
}

} // namespace ui
