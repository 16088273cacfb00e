#pragma once
// The views chooser: a strip of thumbnails, one per plain view of the region, that slides in from the
// left over the lower part of the picture. The part owns the strip and knows when its thumbnails are
// out of date; the thumbnails themselves (and what choosing one does) are the viewer's, made through
// a hook. The strip is shown exactly when its x origin is 0.

#include "Classes/Lifetime.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class Button;
class ScrollView;
class View;
} // namespace ui

class ViewsChooser {
public:
    using PlainViews = std::vector<std::pair<std::string, std::string>>;
    struct Hooks {
        // The rings stop pulsing.
        std::function<void()> quietRings;
        // Closes the index, the information panel and the help.
        std::function<void()> closeOtherPanels;
        std::function<void(bool pressed)> showButtonPressed;
        // The current region's plain views, name -> picture, in document order.
        std::function<const PlainViews&()> plainViews;
        // The thumbnail of the view `name`, centred at `x` and 82 in the strip.
        std::function<std::shared_ptr<ui::Button>(const std::string& name, float x)> makeThumbnail;
    };

    explicit ViewsChooser(Hooks hooks);
    ~ViewsChooser();

    // Loading: the strip, off screen to the left, joins `host` (the viewer's view).
    void addTo(ui::View& host);
    // A region or view was shown: the next press of the views button rebuilds the strip first.
    void viewsChanged() { updateViewFlag = true; }

    // The views button's action: the strip slides in, or out when it is shown. The first press after
    // a region or view was shown rebuilds the strip and shows it 0.15 s later.
    void displayViews();
    void updateViewButtons(const PlainViews& names, bool flag);
    void animatedViews();
    void hideViews();

    bool isShown() const;
    ui::ScrollView* strip() const { return typeViews.get(); }

private:
    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::shared_ptr<ui::ScrollView> typeViews;
    bool updateViewFlag = false; // a region or view was shown since the strip was last shown
    Lifetime lifetime_;
};
