#include "Platform/Touch.h"

#include "Platform/View.h"

namespace ui {

Point Touch::locationIn(const View* view) const {
    return view ? view->convertFrom(location_, nullptr) : location_;
}

Point Touch::previousLocationIn(const View* view) const {
    return view ? view->convertFrom(previous_, nullptr) : previous_;
}

} // namespace ui
