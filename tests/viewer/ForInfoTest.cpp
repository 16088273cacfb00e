#include "Classes/ForInfo.h"

#include "Platform/Driver.h"

#include <gtest/gtest.h>

namespace {

ui::Rect frameOf(const ui::View& view) {
    return view.frame();
}

} // namespace

TEST(ForInfo, aPanelMadeWithoutFrameHasATextViewOfNegativeHeightUntilItIsLaidOut) {
    ui::Driver::resetToolkit();
    ForInfo panel;
    EXPECT_EQ(panel.textViewForInfo()->bounds().height(), -20);
    panel.drawRect({50, 60, 200, 100});
    EXPECT_EQ(frameOf(*panel.textViewForInfo()), ui::Rect(-1, 5, 195, 80));
    EXPECT_EQ(panel.textViewForInfo()->bounds(), ui::Rect(-1, 5, 195, 80));
    ASSERT_EQ(panel.subviews().size(), 2u);
    // The picture overhangs by one point at the top and sides and four at the bottom, behind the text.
    EXPECT_EQ(frameOf(*panel.subviews()[0]), ui::Rect(-1, -1, 202, 105));
    EXPECT_EQ(panel.subviews()[1], panel.textViewForInfo());
}

TEST(ForInfo, layingOutAgainAddsNothingAndSwitchesTheTextsTouchesOff) {
    ui::Driver::resetToolkit();
    ForInfo panel({0, 0, 300, 120});
    panel.textViewForInfo()->setUserInteractionEnabled(true);
    panel.updateView();
    panel.drawRect({0, 0, 300, 120});
    panel.updateView();
    EXPECT_EQ(panel.subviews().size(), 2u);
    EXPECT_FALSE(panel.textViewForInfo()->isUserInteractionEnabled());
    EXPECT_EQ(panel.textViewForInfo()->font().size, 13);
    EXPECT_EQ(panel.textViewForInfo()->textColor(), ui::Color::white());
    EXPECT_FALSE(panel.textViewForInfo()->isEditable());
}

TEST(ForInfo, aNewSizeLaysThePanelOutAsItWillBeShown) {
    ui::Driver::resetToolkit();
    ForInfo panel({400, 245, 300, 205});
    panel.setFrame({400, 200, 300, 190});
    EXPECT_EQ(frameOf(*panel.textViewForInfo()), ui::Rect(-1, 5, 295, 170));
    EXPECT_EQ(frameOf(*panel.subviews()[0]), ui::Rect(-1, -1, 302, 195));
}
