#pragma once
// The atlas's keys. Each key acts through the control or gesture a finger would use (a tap on the
// control's centre, a swipe over the picture), so every rule of the atlas applies unchanged: nothing
// acts while interaction is off during a journey, an open alert holds the screen, panels close each
// other as their buttons do.
//
//     key                what a finger does
//     Left/Right/Up/Down the swipe that way over the picture, when a swipe would be taken there
//                        (never while the picture is magnified)
//     Escape             the open alert's "NO" or "OK"; else the open panel's button (info, help,
//                        index, views); else the back button, which also leaves magnification
//     / or ctrl+f        the index button, then the cursor into the index's search field
//     F1 or ?            help      i  info      f  flags      v  views      q  quiz
//     + / -              the magnifier button / the back button, while magnification is off / on
//     1 ... 9            the open alert's buttons in order
//     ctrl+q, ctrl+w     quit
//
// While a text field has the focus only ctrl+q and ctrl+w act (the field takes Return, Escape,
// BackSpace and characters itself).

#include "Platform/Application.h"

#include <functional>
#include <string>

class TorvexView;

namespace ui {
class View;
}

class KeyboardCommands {
public:
    // `viewer` gives the viewer once it is on screen, null before (on the start screen).
    explicit KeyboardCommands(std::function<TorvexView*()> viewer) : viewer_(std::move(viewer)) {}

    // Carries out `key` (a name as ui::Application::keyName gives it); whether it acted.
    bool handle(const std::string& key, ui::Application::KeyFocus focus);

    // The table above for --help.
    static const char* help();

private:
    bool swipe(TorvexView& viewer, const std::string& arrow);
    bool escape(TorvexView& viewer);
    bool openSearch(TorvexView& viewer);
    static bool pressAlertButton(const std::string& key);
    // A finger's tap on the centre of `control`, when it is shown and a tap there reaches it.
    static bool tap(ui::View* control);

    std::function<TorvexView*()> viewer_;
};
