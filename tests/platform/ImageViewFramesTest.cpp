// A sequence of pictures given as a function is played like one given whole, each picture made only
// when its frame first comes up.
#include "ToolkitTest.h"

#include "Platform/ImageView.h"
#include "Platform/RunLoop.h"

#include <vector>

using namespace ui;

namespace {

class ImageViewFrames : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        window().addSubview(view);
        view->setAnimationImages(4, [this](std::size_t index) {
            made.push_back(index);
            return solidPicture({static_cast<Float>(index + 1), 1}, Color::clear(), 1);
        });
        view->setAnimationDuration(0.4);
    }
    Float shownWidth() const { return view->displayedImage().size().width; }

    ImageViewPtr view = make<ImageView>(solidPicture({10, 1}, Color::clear(), 1));
    std::vector<std::size_t> made;
};

TEST_F(ImageViewFrames, EachPictureIsMadeOnceWhenItsFrameFirstComesUpAndShownForItsWholePeriod) {
    RunLoop::main().advance(1);
    EXPECT_TRUE(made.empty()) << "nothing is made until the sequence plays";
    EXPECT_EQ(shownWidth(), 10);
    view->setAnimationRepeatCount(1);
    view->startAnimating();
    EXPECT_EQ(made, (std::vector<std::size_t>{0}));
    EXPECT_EQ(shownWidth(), 1);
    RunLoop::main().advance(0.099);
    EXPECT_EQ(shownWidth(), 1);
    EXPECT_EQ(made.size(), 1u);
    RunLoop::main().advance(0.002);
    EXPECT_EQ(shownWidth(), 2);
    EXPECT_EQ(made, (std::vector<std::size_t>{0, 1}));
    RunLoop::main().advance(0.2);
    EXPECT_EQ(shownWidth(), 4);
    RunLoop::main().advance(0.1);
    EXPECT_FALSE(view->isAnimating());
    EXPECT_EQ(shownWidth(), 10);
    // Later rounds and plays reuse the pictures made once.
    view->setAnimationRepeatCount(2);
    view->startAnimating();
    RunLoop::main().advance(0.75);
    EXPECT_EQ(shownWidth(), 4) << "the second round's last frame";
    view->startAnimating();
    RunLoop::main().advance(1);
    EXPECT_EQ(made, (std::vector<std::size_t>{0, 1, 2, 3}));
}

} // namespace
