#pragma once
// Every interaction test starts from the loaded viewer showing "Test Body" in "Anterior" (the atlas in
// tests/data/interaction, with the build's artwork), on a virtual clock, with nothing pending.

#include "Classes/TorvexView.h"
#include "Platform/Driver.h"
#include "tests/support/TestViewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ui {
class Button;
class ImageView;
} // namespace ui

class InteractionTest : public testviewer::LoadedViewerTest {
protected:
    InteractionTest() : LoadedViewerTest("interaction") {}

    // Puts `region` (a header in the tree) on screen in `view`, as if the user had got there, and lets
    // the cross-fade end.
    void showRegion(const std::string& region, const std::string& view);
    // Changes the view as a swipe or the views chooser does, and runs the planning of the change.
    void changeViewTo(const std::string& view);

    // One finger from `from` to `to` and up, with no time passing.
    void swipe(ui::Point from, ui::Point to);
    // One finger down and up at `point`.
    void tap(ui::Point point);

    // Opens the flags as the flags button does.
    void showFlags();
    ui::Button& flag(int index);
    // Taps a flag where it shows on screen.
    void pressFlag(int index);
    // The flag's centre in screen points.
    ui::Point flagOnScreen(int index);

    ui::ImageView& picture();
    // A picture's pixel alpha (0 to 255) at a point of the picture.
    static int alphaAt(const ui::Image& image, ui::Point point);
};
