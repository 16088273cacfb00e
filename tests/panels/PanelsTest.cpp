#include "PanelsTest.h"

#include "Classes/ForInfo.h"
#include "Classes/IndexViewController.h"
#include "Platform/Button.h"
#include "Platform/Switch.h"

#include "tests/support/TestViewer.h"

void PanelsTest::showRegion(const std::string& region) {
    TreeNode* found = testviewer::regionInTree(viewer().root, region);
    ASSERT_NE(found, nullptr) << region;
    viewer().showRegion(*found, "Anterior");
    driver.advance(1.0);
}

void PanelsTest::press(const std::string& text) {
    auto pressed = driver.press(text);
    ASSERT_TRUE(pressed) << pressed.error();
}

void PanelsTest::pressAlertButton(const std::string& title) {
    auto pressed = driver.alert(title);
    ASSERT_TRUE(pressed) << pressed.error();
}

ui::Button* PanelsTest::flagOf(const std::string& infoId) {
    for (std::size_t i = 0; i < viewer().flags.size() && i < viewer().nodesOfFlags.size(); ++i) {
        if (viewer().nodesOfFlags[i]->attribute("infoid") == infoId)
            return viewer().flags[i].get();
    }
    return nullptr;
}

void PanelsTest::pressFlag(ui::Button& flag) {
    driver.tap(flag.convertTo(flag.bounds().center(), nullptr));
}

std::string PanelsTest::alertTitle() {
    auto alert = driver.state()["alert"];
    return alert.is_null() ? std::string() : alert["title"].get<std::string>();
}

void PanelsTest::openQuizWithAreas(std::initializer_list<const char*> areas) {
    press("quiz");
    wait(1.0);
    for (const char* area : areas) {
        ui::View* areaSwitch = driver.find(std::string("quizArea ") + area);
        ASSERT_NE(areaSwitch, nullptr) << area;
        driver.tap(areaSwitch->convertTo(areaSwitch->bounds().center(), nullptr));
    }
    wait(0.3);
}
