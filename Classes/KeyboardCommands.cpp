#include "KeyboardCommands.h"

#include "ForInfo.h"
#include "IndexViewController.h"
#include "TorvexView.h"

#include "Platform/ImageView.h"
#include "Platform/ScrollView.h"
#include "Platform/SearchBar.h"
#include "Platform/TextField.h"

#include <array>

namespace {

bool isShownInWindow(const ui::View& view) {
    for (const ui::View* v = &view; v; v = v->superview()) {
        if (v->isHidden() || v->alpha() <= 0.01)
            return false;
        if (v == ui::Application::shared().window().get())
            return true;
    }
    return false;
}

// Where a swipe's finger goes down and lifts: long enough for the viewer's swipe rules (more than 180
// points across or 220 down), in the picture band. Several rows are tried, since a ring or flag may
// sit under the first.
struct SwipePath {
    ui::Point from, to;
};

std::array<SwipePath, 3> swipePaths(const std::string& arrow) {
    // Left arrow = a left swipe: the finger moves from right to left.
    auto across = [](ui::Float startX, ui::Float endX) {
        return std::array<SwipePath, 3>{SwipePath{{startX, 240}, {endX, 240}},
                                        SwipePath{{startX, 160}, {endX, 160}},
                                        SwipePath{{startX, 330}, {endX, 330}}};
    };
    auto upright = [](ui::Float startY, ui::Float endY) {
        return std::array<SwipePath, 3>{SwipePath{{260, startY}, {260, endY}},
                                        SwipePath{{60, startY}, {60, endY}},
                                        SwipePath{{160, startY}, {160, endY}}};
    };
    if (arrow == "Left")
        return across(280, 40);
    if (arrow == "Right")
        return across(40, 280);
    if (arrow == "Down")
        return upright(100, 370);
    return upright(370, 100);
}

bool isAlertOpen() {
    return ui::Application::shared().modalAlert() != nullptr;
}

} // namespace

const char* KeyboardCommands::help() {
    return "Keys in the atlas window:\n"
           "  Left Right Up Down  turn the figure as a swipe that way does\n"
           "  Escape              answer NO/OK, close the open panel, go back, leave magnification\n"
           "  / or Ctrl+F         search the index\n"
           "  F1 or ?             help            i  information       f  flags\n"
           "  v                   views           q  quiz              + / -  magnification on / off\n"
           "  1 ... 9             the buttons of an open question, in order\n"
           "  F11                 full screen     Ctrl+Q or Ctrl+W     quit\n"
           "  The mouse wheel scrolls the index, the information text and lists.\n";
}

bool KeyboardCommands::handle(const std::string& key, ui::Application::KeyFocus focus) {
    if (key == "ctrl+q" || key == "ctrl+w") {
        ui::Application::shared().quit(0);
        return true;
    }
    if (focus == ui::Application::KeyFocus::TextField)
        return false;
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '9')
        return pressAlertButton(key);
    TorvexView* viewer = viewer_ ? viewer_() : nullptr;
    if (!viewer || !viewer->isViewLoaded())
        return false;
    if (key == "Left" || key == "Right" || key == "Up" || key == "Down")
        return swipe(*viewer, key);
    if (key == "Escape")
        return escape(*viewer);
    if (key == "/" || key == "ctrl+f")
        return openSearch(*viewer);
    if (key == "F1" || key == "?")
        return tap(viewer->bar().button(Bar::Help));
    if (key == "i")
        return tap(viewer->bar().button(Bar::Info));
    if (key == "f")
        return tap(viewer->bar().button(Bar::Flags));
    if (key == "v")
        return tap(viewer->bar().button(Bar::Views));
    if (key == "q")
        return tap(viewer->bar().button(Bar::Quiz));
    if (key == "+")
        return !viewer->isMagnified() && tap(viewer->bar().button(Bar::Magnifier));
    if (key == "-")
        return viewer->isMagnified() && tap(viewer->bar().button(Bar::Back));
    return false;
}

// A swipe is taken only where a finger's would be: on the picture itself, while the viewer takes
// touches and the picture is not magnified (a drag there pans instead).
bool KeyboardCommands::swipe(TorvexView& viewer, const std::string& arrow) {
    if (viewer.isMagnified())
        return false;
    auto& app = ui::Application::shared();
    for (const SwipePath& path : swipePaths(arrow)) {
        ui::View* hit = app.window()->hitTest(path.from);
        bool onPicture = hit && (hit == viewer.view().get() || hit == viewer.displayedImage() ||
                                 hit == viewer.hiddenImage());
        if (!onPicture)
            continue;
        app.beginTouches({{0, path.from}});
        app.moveTouches({{0, path.to}});
        app.endTouches({{0, path.to}});
        return true;
    }
    return false;
}

bool KeyboardCommands::escape(TorvexView& viewer) {
    if (auto* alert = ui::Application::shared().modalAlert())
        return alert->pressButton("NO") || alert->pressButton("OK");
    if (viewer.infoPanel().isRegionPanelShown())
        return tap(viewer.bar().button(Bar::Info));
    if (viewer.help().isShown())
        return tap(viewer.bar().button(Bar::Help));
    if (viewer.index().isOpen())
        return tap(viewer.bar().button(Bar::Index));
    if (viewer.viewsChooser().isShown())
        return tap(viewer.bar().button(Bar::Views));
    return tap(viewer.bar().button(Bar::Back));
}

bool KeyboardCommands::openSearch(TorvexView& viewer) {
    bool open = viewer.index().isOpen();
    if (!open && !tap(viewer.bar().button(Bar::Index)))
        return false;
    open = viewer.index().isOpen() && !isAlertOpen();
    IndexViewController* list = viewer.index().navigationController();
    if (!open || !list || !list->mySearchBar)
        return false;
    return list->mySearchBar->textField().becomeFirstResponder();
}

bool KeyboardCommands::pressAlertButton(const std::string& key) {
    auto* alert = ui::Application::shared().modalAlert();
    if (!alert)
        return false;
    const ui::Json buttons = alert->description().value("buttons", ui::Json::array());
    std::size_t index = static_cast<std::size_t>(key[0] - '1');
    if (index >= buttons.size() || !buttons[index].is_string())
        return false;
    return alert->pressButton(buttons[index].get<std::string>());
}

bool KeyboardCommands::tap(ui::View* control) {
    if (!control || !isShownInWindow(*control) || !control->isUserInteractionEnabled())
        return false;
    auto& app = ui::Application::shared();
    const ui::Rect& b = control->bounds();
    ui::Point center = control->convertTo(ui::Point{b.midX(), b.midY()}, nullptr);
    ui::View* hit = app.window()->hitTest(center);
    if (!hit || !hit->isDescendantOf(control))
        return false;
    app.beginTouches({{0, center}});
    app.endTouches({{0, center}});
    return true;
}
