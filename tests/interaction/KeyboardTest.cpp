// Keys act through the controls and gestures a finger uses; a focused text field keeps its keys.
#include "tests/support/TestViewer.h"

#include "Classes/IndexViewController.h"
#include "Classes/KeyboardCommands.h"
#include "Platform/Responder.h"
#include "Platform/Script.h"
#include "Platform/SearchBar.h"
#include "Platform/TableView.h"
#include "Platform/TextField.h"

#include <sstream>

class KeyboardTest : public testviewer::LoadedViewerTest {
protected:
    KeyboardTest() : LoadedViewerTest("interaction") {}
    void SetUp() override {
        LoadedViewerTest::SetUp();
        keys_ = std::make_shared<KeyboardCommands>([this] { return &viewer(); });
        ui::Application::shared().setKeyHandler(
            [keys = keys_](const std::string& key, ui::Application::KeyFocus focus) {
                return keys->handle(key, focus);
            });
    }
    // Runs script lines as the automation does, failing the test on a line that fails.
    void script(const std::string& lines) {
        std::istringstream in(lines);
        std::ostringstream out, err;
        ASSERT_EQ(ui::Script::run(in, driver, out, err), 0) << err.str();
    }
    std::string viewAfterArrow(const std::string& from, const std::string& arrow) {
        showRegion("Test Body", from);
        script("key " + arrow + "\nwait 2\n");
        return viewer().currentView();
    }
    bool indexOpen() { return viewer().index().isOpen(); }
    ui::Json alert() { return driver.state()["alert"]; }

    std::shared_ptr<KeyboardCommands> keys_;
};

TEST_F(KeyboardTest, ArrowsTurnTheFigureAsSwipesDoAndNothingDuringAJourneyOrWhileMagnified) {
    EXPECT_EQ(viewAfterArrow("Anterior", "Left"), "Lateral");
    EXPECT_EQ(viewAfterArrow("Anterior", "Right"), "Medial");
    EXPECT_EQ(viewAfterArrow("Anterior", "Down"), "Superior");
    EXPECT_EQ(viewAfterArrow("Anterior", "Up"), "Inferior");
    showRegion("Test Body", "Anterior");               // nothing during a journey or while magnified
    viewer().view()->setUserInteractionEnabled(false); // as every step of a journey does
    script("key Left\nwait 2\n");
    EXPECT_EQ(viewer().currentView(), "Anterior");
    viewer().view()->setUserInteractionEnabled(true);

    script("key +\nwait 1\n"); // the magnifier shows only with the flags
    EXPECT_FALSE(viewer().isMagnified());
    script("key f\nwait 1\nkey +\nwait 1\n");
    ASSERT_TRUE(viewer().isMagnified());
    script("key Left\nkey Down\nwait 2\n");
    EXPECT_EQ(viewer().currentView(), "Anterior");
    EXPECT_TRUE(viewer().isMagnified());
    script("key -\nwait 1\n");
    EXPECT_FALSE(viewer().isMagnified());
}

TEST_F(KeyboardTest, LettersOpenTheirPanelsEscapeClosesThemDigitsAnswerAlertsAndSlashSearches) {
    showRegion("Test Body", "Anterior");
    script("key i\nwait 1\n");
    EXPECT_NE(viewer().infoPanel().regionPanel()->alpha(), 0);
    script("key Escape\nwait 1\n");
    EXPECT_EQ(viewer().infoPanel().regionPanel()->alpha(), 0);

    script("key F1\nwait 1\n");
    EXPECT_EQ(driver.find("helpView1")->alpha(), 1);
    script("key ?\nwait 1\n");
    EXPECT_EQ(driver.find("helpView1")->alpha(), 0);

    script("key f\nwait 1\n");
    EXPECT_FALSE(bubbles().flagsIsHidden());
    script("key v\nwait 1\n");
    EXPECT_EQ(viewer().viewsChooser().strip()->frame().x(), 0);
    script("key Escape\nwait 1\n");
    EXPECT_NE(viewer().viewsChooser().strip()->frame().x(), 0);
    script("key q\nwait 1\n"); // digits press an alert's buttons in order, Escape answers no
    ASSERT_TRUE(viewer().quiz().inQuiz());
    script("key q\n");
    ASSERT_FALSE(alert().is_null());
    script("key Escape\nwait 1\n");
    EXPECT_TRUE(alert().is_null());
    EXPECT_TRUE(viewer().quiz().inQuiz());
    script("key q\nkey 2\nwait 1\n"); // NO, YES
    EXPECT_TRUE(alert().is_null());
    EXPECT_FALSE(viewer().quiz().inQuiz());
    showRegion("Test Body", "Anterior"); // slash opens the index with the cursor in its search field
    script("key /\nwait 1\n");
    ASSERT_TRUE(indexOpen());
    ui::TextField& field = viewer().index().navigationController()->mySearchBar->textField();
    EXPECT_TRUE(field.isEditing());
    // Letters are typed into the field rather than opening panels; Escape gives the focus up.
    script("key i\nkey q\nkey Left\nwait 1\n");
    EXPECT_EQ(field.text(), "iq");
    EXPECT_EQ(viewer().infoPanel().regionPanel()->alpha(), 0);
    EXPECT_FALSE(viewer().quiz().inQuiz());
    script("key BackSpace\nkey Escape\n");
    EXPECT_EQ(field.text(), "i");
    EXPECT_FALSE(field.isEditing());
    script("key Escape\nwait 1\n");
    EXPECT_FALSE(indexOpen());
    script("key ctrl+F\nwait 1\n");
    EXPECT_TRUE(indexOpen());
    EXPECT_TRUE(field.isEditing());
}

TEST_F(KeyboardTest, CtrlQQuitsEvenWhileTypingUnknownKeysAreRefusedAndTheWheelScrollsLikeADrag) {
    showRegion("Test Body", "Anterior");
    script("key /\nwait 1\nkey ctrl+q\n");
    EXPECT_TRUE(ui::Application::shared().quitRequested());
    EXPECT_FALSE(driver.key("Hyper"));
    EXPECT_FALSE(driver.key("ctrl+"));
    script("key Escape\n"); // the wheel scrolls the index list within the ends a drag has
    ui::TableView& list = *viewer().index().navigationController()->myTableView;
    ui::Point onList = list.convertTo(list.bounds().center(), nullptr);
    driver.wheel(onList, 30);
    EXPECT_EQ(list.contentOffset().y, 30);
    driver.wheel(onList, -1000);
    EXPECT_EQ(list.contentOffset().y, 0);
    driver.wheel(onList, 1e6);
    EXPECT_EQ(list.contentOffset().y, list.contentSize().height - list.bounds().height());
}
