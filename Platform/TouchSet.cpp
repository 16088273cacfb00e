#include "Platform/TouchSet.h"

namespace ui {

const Touch& TouchSet::anyObject() const {
    static const Touch none(-1, {}, {}, {}, TouchPhase::Cancelled);
    return touches_.empty() ? none : touches_.front();
}

} // namespace ui
