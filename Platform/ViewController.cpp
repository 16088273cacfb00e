#include "Platform/ViewController.h"

namespace ui {

ViewController::~ViewController() {
    if (view_ && view_->controller_ == this)
        view_->controller_ = nullptr;
}

const ViewPtr& ViewController::view() {
    if (!view_) {
        loadView();
        if (!view_)
            setView(make<View>(Rect(0, 0, 320, 480)));
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(ViewPtr view) {
    if (view_ && view_->controller_ == this)
        view_->controller_ = nullptr;
    view_ = std::move(view);
    if (view_)
        view_->controller_ = this;
}

void ViewController::loadView() {
    setView(make<View>(Rect(0, 0, 320, 480)));
}

Responder* ViewController::nextResponder() const {
    return view_ ? view_->superview() : nullptr;
}

} // namespace ui
