#pragma once
// The touches of one phase that reach one view together.

#include "Platform/Touch.h"

#include <cstddef>
#include <vector>

namespace ui {

// In finger order.
class TouchSet {
public:
    TouchSet() = default;
    explicit TouchSet(std::vector<Touch> touches) : touches_(std::move(touches)) {}

    std::size_t size() const { return touches_.size(); }
    bool empty() const { return touches_.empty(); }
    // Some touch of the set (the first); an empty set answers a touch of no view at (0, 0).
    const Touch& anyObject() const;
    const Touch& operator[](std::size_t i) const { return touches_.at(i); }
    auto begin() const { return touches_.begin(); }
    auto end() const { return touches_.end(); }

private:
    std::vector<Touch> touches_;
};

} // namespace ui
