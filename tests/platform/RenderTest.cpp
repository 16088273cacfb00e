#include "ToolkitTest.h"

#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/LayerCache.h"
#include "Platform/Renderer.h"
#include "Platform/RunLoop.h"
#include "Platform/ScrollView.h"
#include "tests/support/PictureBytes.h"

#include <filesystem>
#include <utility>
#include <vector>

using namespace ui;

namespace {

using Pixel = testpictures::Rgba;
using testpictures::near;
using testpictures::pixelAt;
using testpictures::pixelsDiffering;

class RenderTest : public ToolkitTest {
protected:
    cairo_surface_t* screen() { return driver.render(); }
    // The pixel at screen point (x, y) at scale 2.
    Pixel at(double x, double y) {
        return pixelAt(screen(), static_cast<int>(x * 2), static_cast<int>(y * 2));
    }
    void advance(double seconds) { RunLoop::main().advance(seconds); }
};

TEST_F(RenderTest, HalfWayThroughACrossFadeAndAMoveTheScreenShowsTheMiddle) {
    auto first = make<ImageView>(solidPicture({320, 480}, Color::white()));
    auto second = make<ImageView>(solidPicture({320, 480}, Color::rgb255(0, 0, 255)));
    second->setAlpha(0);
    window().addSubview(first);
    window().addSubview(second);
    auto square = addView(window(), {0, 0, 20, 20});
    square->setBackgroundColor(Color::rgb255(255, 0, 0));
    Animation::run(1.0, [&] {
        first->setAlpha(0);
        second->setAlpha(1);
        square->setCenter({110, 10});
    });
    advance(0.5);
    EXPECT_TRUE(near(at(160, 240), {64, 64, 191}, 3)) << at(160, 240);
    EXPECT_EQ(at(60, 10), (Pixel{255, 0, 0}));
    EXPECT_TRUE(near(at(5, 10), {64, 64, 191}, 3)) << at(5, 10);
    advance(0.5);
    EXPECT_EQ(at(160, 240), (Pixel{0, 0, 255}));
    EXPECT_EQ(at(110, 10), (Pixel{255, 0, 0}));
}

TEST_F(RenderTest, ATranslucentViewWithSubviewsFadesAsOnePicture) {
    auto group = addView(window(), {0, 0, 100, 100});
    group->setAlpha(0.5);
    addView(*group, {0, 0, 60, 60})->setBackgroundColor(Color::white());
    addView(*group, {40, 40, 60, 60})->setBackgroundColor(Color::white());
    EXPECT_TRUE(near(at(50, 50), {128, 128, 128}, 2)) << "overlap must not add up: " << at(50, 50);
    EXPECT_TRUE(near(at(10, 10), {128, 128, 128}, 2)) << at(10, 10);
    // Two layers of one view, its background and its picture, fade as one too.
    auto picture = make<ImageView>(solidPicture({60, 60}, Color::white()));
    picture->setFrame({200, 0, 60, 60});
    picture->setBackgroundColor(Color::white());
    picture->setAlpha(0.5);
    window().addSubview(picture);
    EXPECT_TRUE(near(at(230, 30), {128, 128, 128}, 2)) << at(230, 30);
}

TEST_F(RenderTest, AFlipShowsTheOldScreenNarrowingThenTheNewOneWidening) {
    auto screen = addView(window(), {0, 0, 320, 480});
    screen->setBackgroundColor(Color::white());
    Animation::begin(1.0);
    Animation::setTransition(Transition::FlipFromRight, &window());
    screen->setBackgroundColor(Color::rgb255(255, 0, 0));
    Animation::commit();
    advance(0.25);
    EXPECT_EQ(at(160, 240), (Pixel{255, 255, 255})) << "the old screen is on the front";
    EXPECT_EQ(at(2, 240), (Pixel{0, 0, 0})) << "turned away from the edges";
    advance(0.5);
    EXPECT_EQ(at(160, 240), (Pixel{255, 0, 0}));
    EXPECT_EQ(at(2, 240), (Pixel{0, 0, 0}));
    advance(0.25);
    EXPECT_EQ(at(2, 240), (Pixel{255, 0, 0}));
}

// A title in a font of size zero draws nothing, yet stays the title the button is pressed by.
TEST_F(RenderTest, AButtonShowsItsPictureCentredAndDarkerWhilePressed) {
    auto button = make<Button>(ButtonType::Custom, Rect{100, 100, 60, 60});
    button->setImage(solidPicture({20, 20}, Color::white()));
    button->setTitleFont(Font::system(0));
    button->setTitle("circle");
    int pressedByTitle = 0;
    button->addAction([&](Button* sender) { pressedByTitle += sender->currentTitle() == "circle"; });
    window().addSubview(button);
    EXPECT_EQ(at(130, 130), (Pixel{255, 255, 255}));
    EXPECT_EQ(at(105, 130), (Pixel{0, 0, 0}));
    EXPECT_EQ(button->layerCount(), 1) << "the picture only: an unseen title is no layer";
    Application::shared().beginTouches({{0, {130, 130}}});
    Pixel pressed = at(130, 130);
    EXPECT_LT(pressed.r, 200) << pressed;
    Application::shared().endTouches({{0, {130, 130}}});
    EXPECT_EQ(at(130, 130), (Pixel{255, 255, 255}));
    EXPECT_TRUE(driver.press("circle"));
    EXPECT_EQ(pressedByTitle, 2);
}

// The bands of lit rows (white text on black) inside `box`, at scale 2, as [first, last] pixel rows.
std::vector<std::pair<int, int>> litBands(cairo_surface_t* surface, const Rect& box) {
    std::vector<std::pair<int, int>> bands;
    for (int y = static_cast<int>(box.minY() * 2); y < static_cast<int>(box.maxY() * 2); ++y) {
        bool lit = false;
        for (int x = static_cast<int>(box.minX() * 2); x < static_cast<int>(box.maxX() * 2) && !lit; ++x)
            lit = pixelAt(surface, x, y).r > 100;
        if (lit && !bands.empty() && bands.back().second == y - 1)
            bands.back().second = y;
        else if (lit)
            bands.emplace_back(y, y);
    }
    return bands;
}

// As on the phone, a label hides what is beneath it until it is given a clear background.
TEST_F(RenderTest, ANewLabelIsWhiteBehindItsText) {
    window().setBackgroundColor(Color::black());
    window().addSubview(make<Label>(Rect{10, 10, 100, 20}));
    EXPECT_TRUE(near(at(60, 20), Pixel{255, 255, 255, 255}));
}

TEST_F(RenderTest, ALabelEndsTextThatDoesNotFitWithAnEllipsisAfterTheWholeLinesThatFit) {
    const std::string longName = "Gastro-oesophageal junction of the stomach and the lower end of the gullet";
    struct Case {
        std::string text;
        Rect frame;
        int numberOfLines, linesShown;
    };
    const Case cases[] = {{"Head and Neck", {10, 10, 68, 14}, 1, 1},
                          {longName, {10, 40, 120, 50}, 0, 3},
                          {longName, {10, 100, 120, 50}, 2, 2}};
    Float dots = textWidth("\u2026", Font::system(12));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.frame.width()));
        auto label = whiteTextLabel(c.frame, c.text);
        label->setFont(Font::system(12));
        label->setNumberOfLines(c.numberOfLines);
        window().addSubview(label);
        cairo_surface_t* surface = screen();
        auto bands = litBands(surface, c.frame);
        ASSERT_EQ(static_cast<int>(bands.size()), c.linesShown);
        auto [top, bottom] = bands.back();
        int right = -1;
        for (int x = static_cast<int>(c.frame.minX() * 2); x < static_cast<int>(c.frame.maxX() * 2); ++x) {
            for (int y = top; y <= bottom; ++y)
                right = pixelAt(surface, x, y).r > 100 ? x : right;
        }
        EXPECT_LT(right, static_cast<int>(c.frame.maxX() * 2) - 1) << "no letter is cut at the edge";
        int highest = bottom;
        // The dots' ink: the last 60 % of the ellipsis's advance.
        for (int x = right - static_cast<int>(dots * 2 * 0.6); x <= right; ++x) {
            for (int y = top; y <= bottom; ++y) {
                if (pixelAt(surface, x, y).r > 100)
                    highest = std::min(highest, y);
            }
        }
        EXPECT_GT(highest, top + 0.55 * (bottom - top)) << "the line ends with dots on its baseline";
        label->removeFromSuperview();
    }
}

TEST_F(RenderTest, ALabelsNewTextShowsInTheNextFrameWhileItFadesAndMoves) {
    auto label = whiteTextLabel({10, 10, 200, 30}, "Loading...");
    window().addSubview(label);
    screen();
    Animation::run(1, [&] {
        label->setAlpha(0.2);
        label->setCenter({150, 200});
    });
    advance(0.3);
    screen();
    label->setText("touch to continue");
    cairo_surface_t* shown = screen();
    LayerCache::shared().clear();
    EXPECT_EQ(pixelsDiffering(shown, Renderer({320, 480}, 2).render(window())), 0)
        << "the frame after the change shows the new text";
}

// The window repaints only what changed since its last frame; what it then shows must be the full frame.
TEST_F(RenderTest, RepaintingOnlyWhatChangedGivesTheFullFrame) {
    auto backdrop = make<ImageView>(solidPicture({320, 480}, Color::rgb255(30, 60, 90)));
    window().addSubview(backdrop);
    auto title = whiteTextLabel({10, 10, 200, 30}, "Loading...");
    window().addSubview(title);
    auto panel = addView(window(), {20, 60, 280, 300});
    panel->setBackgroundColor(Color::rgb255(200, 200, 200));
    auto list = make<ScrollView>(Rect{10, 10, 260, 200});
    list->setContentSize({260, 800});
    for (int row = 0; row < 20; ++row) {
        auto label = make<Label>(Rect{10, 40.0 * row, 240, 36});
        label->setText("Row " + std::to_string(row));
        list->addSubview(label);
    }
    panel->addSubview(list);
    // Stripes a point wide: sampled through a turn, the filters differ.
    ImageContext stripes({40, 20}, 2);
    for (int x = 0; x < 40; x += 2)
        cairo_rectangle(stripes.cairo(), x, 0, 1, 20);
    cairo_set_source_rgb(stripes.cairo(), 0.9, 0.2, 0.2);
    cairo_fill(stripes.cairo());
    auto turned = make<ImageView>(stripes.image());
    turned->setCenter({160, 420});
    turned->setTransform(AffineTransform::rotation(0.4));
    window().addSubview(turned);

    Renderer window({320, 480}, 2);
    window.setKeepsTransformedLayers(true);
    auto repaint = [&] { return window.renderChanges(compose(this->window(), {320, 480}, 2)); };
    EXPECT_EQ(repaint(), (Rect{0, 0, 640, 960})) << "the first frame is painted whole";
    EXPECT_EQ(repaint(), Rect()) << "a still screen paints nothing";
    auto sameAsFull = [&] {
        return pixelsDiffering(window.surface(), Renderer({320, 480}, 2).render(this->window())) == 0;
    };

    title->setText("touch to continue");
    Rect changed = repaint();
    EXPECT_TRUE(Rect(16, 16, 412, 68).contains(changed.origin) && changed.maxX() <= 428 &&
                changed.maxY() <= 84)
        << changed.x() << ", " << changed.y() << ", " << changed.width() << " x " << changed.height();
    EXPECT_TRUE(sameAsFull()) << "a label's new text";
    list->setContentOffset({0, 90});
    repaint();
    EXPECT_TRUE(sameAsFull()) << "a scrolled list, clipped";
    panel->setAlpha(0.6);
    repaint();
    EXPECT_TRUE(sameAsFull()) << "a translucent panel, a group";
    Animation::run(1, [&] { turned->setCenter({200, 400}); });
    advance(0.37);
    repaint();
    EXPECT_TRUE(sameAsFull()) << "a turned picture moving";
    advance(1);
    repaint();
    // While anything moves, turned pictures are drawn with a faster filter, and smoothed again after.
    Animation::run(1, [&] { title->setAlpha(0.3); });
    advance(0.37);
    repaint();
    EXPECT_TRUE(sameAsFull()) << "a label fading";
    advance(0.2);
    repaint();
    EXPECT_TRUE(sameAsFull()) << "a label fading, the turned picture copied from the frame before";
    advance(1);
    repaint();
    EXPECT_TRUE(sameAsFull()) << "the still screen after the animation";
}

TEST_F(RenderTest, LayersOfHiddenViewsAreDroppedAndTheCacheKeepsToItsCap) {
    auto& cache = LayerCache::shared();
    auto first = make<ImageView>(solidPicture({320, 480}, Color::rgb255(200, 30, 30)));
    auto second = make<ImageView>(solidPicture({320, 480}, Color::rgb255(30, 200, 30)));
    window().addSubview(first);
    window().addSubview(second);
    second->setAlpha(0.5);
    screen();
    // A layer may take a row and a column of pixels more for the edges' smoothing.
    std::size_t fullScreen = 641 * 961 * 4;
    EXPECT_LE(cache.bytes(), 2 * fullScreen);
    EXPECT_GT(cache.bytes(), fullScreen);
    second->setHidden(true);
    screen();
    EXPECT_LE(cache.bytes(), fullScreen) << "a hidden view's layer goes";
    second->setHidden(false);
    cache.setCapacity(fullScreen + fullScreen / 2);
    Pixel blended = at(100, 100);
    EXPECT_LE(cache.bytes(), cache.capacity());
    EXPECT_TRUE(near(blended, Pixel{115, 115, 30})) << blended << ": a layer beyond the cap still shows";
    cache.setCapacity(LayerCache::defaultCapacity);
}

TEST_F(RenderTest, TheDisplayGenerationMovesOnlyWhenSomethingVisibleChanges) {
    auto view = addView(window(), {0, 0, 10, 10});
    auto before = View::displayGeneration();
    view->setAlpha(1);
    view->setHidden(false);
    view->setCenter(view->center());
    window().addSubview(view);
    window().insertSubview(view, 0);
    EXPECT_EQ(View::displayGeneration(), before) << "a view put where it already is changes nothing";
    view->setAlpha(0.5);
    EXPECT_GT(View::displayGeneration(), before);
}

} // namespace
