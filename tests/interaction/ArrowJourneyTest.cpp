// View changes play the turning arrow; distant views are reached through neighbours, 1.25 s a step.
#include "tests/support/TestViewer.h"

#include <cmath>

namespace {

const ui::AffineTransform turn = ui::AffineTransform::identity();
const ui::AffineTransform turnBack = ui::AffineTransform::rotation(-M_PI);
const ui::AffineTransform tilt = ui::AffineTransform::rotation(M_PI / 2).scaled(1, 1.31);
const ui::AffineTransform tiltBack = ui::AffineTransform::rotation(-M_PI / 2).scaled(1, 1.31);

} // namespace

class ArrowJourneyTest : public testviewer::LoadedViewerTest {
protected:
    ArrowJourneyTest() : LoadedViewerTest("interaction") {}
    ui::ImageView& arrow() { return dynamic_cast<ui::ImageView&>(*driver.find("arrow")); }
    bool arrowPlays(const ui::AffineTransform& direction) {
        return arrow().isAnimating() && arrow().transform() == direction;
    }
    std::string pictureOnScreen() { return picture().image().fileName(); }
};

TEST_F(ArrowJourneyTest, DistantViewsAreReachedThroughTheirNeighboursOneAndAQuarterSecondsApart) {
    viewer().showView("Posterior");
    EXPECT_EQ(viewer().currentView(), "Lateral");
    EXPECT_EQ(viewer().journey().tempView(), "Posterior");
    EXPECT_TRUE(arrowPlays(turn));
    driver.advance(0.6);
    EXPECT_FALSE(arrow().isAnimating()) << "one round of the pictures";
    EXPECT_NE(pictureOnScreen().find("body/lateral"), std::string::npos);

    driver.advance(0.649);
    EXPECT_EQ(viewer().currentView(), "Lateral");
    driver.advance(0.001);
    EXPECT_EQ(viewer().currentView(), "Posterior");
    EXPECT_EQ(viewer().previousView(), "Lateral");
    EXPECT_TRUE(arrowPlays(turn));
    driver.advance(1);
    EXPECT_NE(pictureOnScreen().find("body/posterior"), std::string::npos);
    EXPECT_EQ(driver.state()["interaction"], true);
    showRegion("Test Body", "Superior"); // Superior to Posterior tilts to Anterior, then turns twice
    viewer().showView("Posterior");
    EXPECT_EQ(viewer().currentView(), "Anterior");
    EXPECT_TRUE(arrowPlays(tilt));
    driver.advance(1.25);
    EXPECT_EQ(viewer().currentView(), "Lateral");
    EXPECT_TRUE(arrowPlays(turn));
    driver.advance(1.25);
    EXPECT_EQ(viewer().currentView(), "Posterior");
    EXPECT_TRUE(arrowPlays(turn));
    driver.advance(1.25);
    EXPECT_EQ(viewer().currentView(), "Posterior") << "the journey is over";
}

TEST_F(ArrowJourneyTest, NeighbouringViewsPlayOneArrowInTheirDirectionAndViewsOfOneBaseNone) {
    struct Change {
        const char* from;
        const char* to;
        ui::AffineTransform direction;
    };
    const Change changes[] = {
        {"Anterior", "Lateral", turn},         {"Lateral", "Posterior", turn},
        {"Posterior", "Medial", turn},         {"Medial", "Anterior", turn},
        {"Anterior", "Medial", turnBack},      {"Left Side", "Anterior", turnBack},
        {"Right Lat.", "Posterior", turnBack}, {"Anterior", "Superior", tiltBack},
        {"Superior", "Anterior", tilt},        {"Anterior", "Inferior", tilt},
        {"Inferior", "Anterior", tiltBack},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(std::string(change.from) + " -> " + change.to);
        arrow().stopAnimating();
        viewer().planViewChange(change.from, change.to);
        EXPECT_TRUE(arrowPlays(change.direction));
        EXPECT_EQ(viewer().currentView(), change.to) << "no intermediate view";
        driver.advance(1.3);
        EXPECT_EQ(viewer().currentView(), change.to) << "and no later step";
    }
    viewer().planViewChange("Anterior", "Anterior Skin"); // a change within the same base view plays nothing
    EXPECT_FALSE(arrow().isAnimating());
    viewer().planViewChange("", "Anterior");
    EXPECT_FALSE(arrow().isAnimating()) << "the very first view contains the empty name";
    driver.advance(1.3);
    EXPECT_EQ(viewer().currentView(), "Anterior");
}

TEST_F(ArrowJourneyTest, AnExplodedViewIsReachedThroughItsBaseAndAViewNamingItselfItsBaseEnds) {
    showRegion("Foot", "Posterior");
    viewer().showView("Anterior Exp");
    EXPECT_EQ(viewer().currentView(), "Left Side");
    EXPECT_TRUE(arrowPlays(turnBack));
    EXPECT_EQ(viewer().journey().needView(), "Anterior Exp");
    driver.advance(1.25);
    EXPECT_EQ(viewer().currentView(), "Anterior");
    EXPECT_TRUE(arrowPlays(turnBack));
    EXPECT_EQ(viewer().journey().tstr(), "");
    driver.advance(1.25);
    EXPECT_EQ(viewer().currentView(), "Anterior Exp");
    EXPECT_EQ(viewer().journey().needView(), "");
    driver.advance(1.25);
    EXPECT_EQ(viewer().currentView(), "Anterior Exp");
    showRegion("Toe", "Lateral"); // a view naming itself its base does not plan for ever
    viewer().showView("Loop.");
    EXPECT_EQ(viewer().currentView(), "Loop.");
    driver.advance(3);
    EXPECT_EQ(driver.state()["interaction"], true);
}
