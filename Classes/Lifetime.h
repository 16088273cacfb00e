#pragma once
// A token that the callbacks an object hands to timers, animations and controls check before they run:
// those may outlive the object (tests make and drop viewers), and a callback of a gone object does
// nothing.

#include <memory>
#include <utility>

class Lifetime {
public:
    template <class Callback> auto guard(Callback callback) const {
        return [alive = std::weak_ptr<const int>(token_), callback = std::move(callback)](auto&&... args) {
            if (!alive.expired())
                callback(std::forward<decltype(args)>(args)...);
        };
    }
    std::weak_ptr<const int> token() const { return token_; }

private:
    std::shared_ptr<const int> token_ = std::make_shared<const int>(0);
};
