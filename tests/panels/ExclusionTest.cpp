// The panels exclude each other: opening one closes whichever other is open.
#include "tests/support/TestViewer.h"

#include <functional>

namespace {

struct ExclusivePanel {
    const char* name;
    std::function<void(TorvexView&, ui::Button& flag)> open;
    std::function<bool(TorvexView&)> isShown;
};

const ExclusivePanel exclusivePanels[] = {
    {"info", [](TorvexView& v, ui::Button&) { v.infoPanel().displayInfoClickOfButton(); },
     [](TorvexView& v) { return v.infoPanel().regionPanel()->alpha() == 1; }},
    {"help", [](TorvexView& v, ui::Button&) { v.help().displayHelp(); },
     [](TorvexView& v) { return v.help().isShown(); }},
    {"views", [](TorvexView& v, ui::Button&) { v.viewsChooser().displayViews(); },
     [](TorvexView& v) { return v.viewsChooser().isShown(); }},
    {"index", [](TorvexView& v, ui::Button&) { v.index().displayIndex(); },
     [](TorvexView& v) { return v.index().isOpen(); }},
    {"bubble", [](TorvexView& v, ui::Button& flag) { v.flagBubbles().displayHint(&flag); },
     [](TorvexView& v) {
         return v.flagBubbles().hintOfFlag() && v.flagBubbles().hintOfFlag()->alpha() == 1;
     }},
};

class Exclusion : public testviewer::LoadedViewerTest {
protected:
    Exclusion() : LoadedViewerTest("panels") {}
};

TEST_F(Exclusion, OpeningAPanelClosesEveryOtherOne) {
    for (const auto& first : exclusivePanels) {
        for (const auto& second : exclusivePanels) {
            if (&first == &second)
                continue;
            TearDown();
            SetUp();
            showRegion("Chest");
            bubbles().displayFlags();
            ui::Button* flag = flagOf("Label Heart");
            ASSERT_NE(flag, nullptr);
            first.open(viewer(), *flag);
            wait(1.5);
            ASSERT_TRUE(first.isShown(viewer())) << first.name;
            second.open(viewer(), *flag);
            wait(1.5);
            EXPECT_TRUE(second.isShown(viewer())) << second.name << " after " << first.name;
            EXPECT_FALSE(first.isShown(viewer())) << first.name << " stays under " << second.name;
        }
    }
}

} // namespace
