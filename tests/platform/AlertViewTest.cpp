// The toolkit's modal alert: numbered buttons, the delegate called once the alert is gone, every touch
// held meanwhile, and the automation's view of it.
#include "ToolkitTest.h"

#include "Platform/AlertView.h"

#include <vector>

namespace {

class AlertViewTest : public ToolkitTest {
protected:
    ui::AlertViewPtr makeAlert(const std::string& title, const std::string& cancel,
                               std::vector<std::string> others) {
        return ui::make<ui::AlertView>(
            title, "Message",
            [this](ui::AlertView* alert, int index) {
                presses.push_back(index);
                openWhenCalled.push_back(alert->isVisible());
            },
            cancel, std::move(others));
    }

    std::vector<int> presses;
    std::vector<bool> openWhenCalled;
};

TEST_F(AlertViewTest, AShownAlertIsTheOpenAlertUntilAButtonClosesItThenTellsTheDelegate) {
    auto alert = makeAlert("Leave?", "NO", {"YES"});
    EXPECT_TRUE(driver.state()["alert"].is_null());
    alert->show();
    EXPECT_EQ(driver.state()["alert"],
              (ui::Json{{"title", "Leave?"}, {"message", "Message"}, {"buttons", {"NO", "YES"}}}));
    EXPECT_FALSE(driver.alert("Perhaps")) << "no such button";
    ASSERT_TRUE(driver.alert("YES"));
    EXPECT_EQ(presses, (std::vector<int>{1})) << "the cancel button is number 0, the others follow";
    EXPECT_EQ(openWhenCalled, (std::vector<bool>{false}));
    EXPECT_TRUE(driver.state()["alert"].is_null());
    EXPECT_FALSE(driver.alert("YES")) << "nothing is open any more";
    alert->show();
    ASSERT_TRUE(driver.press("NO")) << "a tap on a button presses it too";
    EXPECT_EQ(presses, (std::vector<int>{1, 0}));
}

// Two buttons share a row, cancel on the left, as the quiz's alerts in the picture tour show.
TEST_F(AlertViewTest, MoreThanTwoButtonsAreStackedWithCancelAtTheBottom) {
    auto three = makeAlert("Three", "Cancel", {"One", "Two"});
    three->show();
    double cancelY = three->findView("alertButton0")->frame().y();
    EXPECT_GT(cancelY, three->findView("alertButton2")->frame().y());
    EXPECT_GT(three->findView("alertButton2")->frame().y(), three->findView("alertButton1")->frame().y());
}

TEST_F(AlertViewTest, AnAlertShownOverAnotherHoldsEveryTouchAndGivesTheScreenBackToItWhenItCloses) {
    bool pressedBehind = false;
    auto behind = ui::make<ui::Button>(ui::ButtonType::RoundedRect, ui::Rect(10, 10, 100, 40));
    behind->setTitle("Behind");
    behind->addAction([&](ui::Button*) { pressedBehind = true; });
    ui::Application::shared().window()->addSubview(behind);
    makeAlert("First", "OK", {})->show();
    makeAlert("Second", "Fine", {})->show();
    driver.tap({60, 30});
    EXPECT_FALSE(pressedBehind);
    EXPECT_TRUE(presses.empty());
    EXPECT_EQ(driver.state()["alert"]["title"], "Second");
    ASSERT_TRUE(driver.alert("Fine"));
    EXPECT_EQ(driver.state()["alert"]["title"], "First");
    ASSERT_TRUE(driver.alert("OK"));
    EXPECT_TRUE(driver.state()["alert"].is_null());
}

} // namespace
