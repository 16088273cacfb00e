#pragma once
// A view controller: owns a screen's root view and receives the touches that its views pass up.
//
//     class StartViewController : public ui::ViewController {
//         void viewDidLoad() override { view()->addSubview(startView); }
//         void touchesBegan(const ui::TouchSet& touches) override {
//             ui::Point p = touches.anyObject().locationIn(view().get());
//             if (touches.anyObject().view() == startView.get()) ...
//         }
//     };
//
// The view is made on first access by `loadView()` (a plain 320 x 480 view unless overridden or set
// with `setView`), followed by `viewDidLoad()`. Touches that reach the controller and are not handled
// go on to the view's superview.

#include "Platform/Responder.h"
#include "Platform/View.h"

namespace ui {

class ViewController : public Responder {
public:
    ViewController() = default;
    ~ViewController() override;

    // The root view, loaded on first access.
    const ViewPtr& view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(ViewPtr view);

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}

    Responder* nextResponder() const override;

private:
    ViewPtr view_;
};

} // namespace ui
