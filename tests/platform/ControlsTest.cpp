#include "ToolkitTest.h"

#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/NotificationCenter.h"
#include "Platform/TextView.h"

using namespace ui;

namespace {

using ControlsTest = ToolkitTest;

TEST_F(ControlsTest, AButtonShowsTheNormalValuesWhereTheHighlightedStateHasNone) {
    Button button(ButtonType::Custom, {0, 0, 40, 40});
    button.setTitle("quiz");
    button.setImage(solidPicture({10, 10}));
    Image pressed = solidPicture({12, 12});
    button.setImage(pressed, ControlState::Highlighted);
    button.setHighlighted(true);
    EXPECT_EQ(button.currentTitle(), "quiz");
    EXPECT_EQ(button.currentImage().size(), (Size{12, 12}));
    EXPECT_EQ(button.title(ControlState::Highlighted), "");
    button.setHighlighted(false);
    EXPECT_EQ(button.currentImage().size(), (Size{10, 10}));
}

TEST_F(ControlsTest, AnImageViewPlacesItsPictureByItsContentMode) {
    ImageView view(Rect{0, 0, 100, 60});
    view.setImage(solidPicture({20, 10}));
    EXPECT_EQ(view.imageRect(), (Rect{0, 0, 100, 60}));
    view.setContentMode(ContentMode::Center);
    EXPECT_EQ(view.imageRect(), (Rect{40, 25, 20, 10}));
    view.setContentMode(ContentMode::BottomRight);
    EXPECT_EQ(view.imageRect(), (Rect{80, 50, 20, 10}));
    view.setContentMode(ContentMode::ScaleAspectFit);
    EXPECT_EQ(view.imageRect(), (Rect{0, 5, 100, 50}));
}

TEST_F(ControlsTest, ATextViewMeasuresItsContentAndScrollsOnlyWhenInteractive) {
    auto panel = addView(window(), {0, 0, 300, 200}, "panel");
    auto text = make<TextView>(Rect{0, 0, 300, 100});
    text->setFont(Font::system(13));
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "A long description of a structure. ";
    text->setText(words);
    panel->addSubview(text);
    EXPECT_EQ(text->contentSize().width, 300);
    EXPECT_GT(text->contentSize().height, 200);

    text->setUserInteractionEnabled(false);
    driver.drag({150, 90}, {150, 10});
    EXPECT_EQ(text->contentOffset().y, 0);
    text->setUserInteractionEnabled(true);
    driver.drag({150, 90}, {150, 10});
    EXPECT_EQ(text->contentOffset().y, 80);
    driver.drag({150, 99}, {150, -400});
    EXPECT_EQ(text->contentOffset().y, text->contentSize().height - 100)
        << "scrolls to the end and no further";

    text->setText("");
    EXPECT_EQ(text->contentSize(), (Size{300, 2 * TextView::margin}));
    EXPECT_EQ(text->contentOffset().y, 0) << "a shorter text does not leave the view scrolled past its end";
}

TEST_F(ControlsTest, NotificationsReachTheObserversOfTheirNameWithTheirObject) {
    auto& center = NotificationCenter::defaultCenter();
    int sender = 42, received = 0, others = 0;
    int owner = 0, otherOwner = 0;
    center.addObserver(&owner, "kNetworkReachabilityChangedNotification", [&](const Notification& n) {
        if (auto value = n.objectAs<int*>())
            received = **value;
        center.removeObserver(&otherOwner);
    });
    center.addObserver(&otherOwner, "kNetworkReachabilityChangedNotification",
                       [&](const Notification&) { ++others; });
    center.post("somethingElse", &sender);
    EXPECT_EQ(received, 0);
    center.post("kNetworkReachabilityChangedNotification", &sender);
    EXPECT_EQ(received, 42);
    EXPECT_EQ(others, 0) << "removed by the first observer before its turn";
    center.removeObserver(&owner);
    sender = 7;
    center.post("kNetworkReachabilityChangedNotification", &sender);
    EXPECT_EQ(received, 42);
}

} // namespace
