#include "InteractionTest.h"

#include "Platform/Application.h"
#include "Platform/Button.h"
#include "Platform/Image.h"
#include "Platform/ImageView.h"

#include "tests/support/TestViewer.h"

void InteractionTest::showRegion(const std::string& region, const std::string& view) {
    TreeNode* found = testviewer::regionInTree(viewer().root, region);
    ASSERT_NE(found, nullptr) << region;
    viewer().showRegion(*found, view);
    driver.advance(1.0);
}

void InteractionTest::changeViewTo(const std::string& view) {
    viewer().showView(view);
}

void InteractionTest::swipe(ui::Point from, ui::Point to) {
    auto& app = ui::Application::shared();
    app.beginTouches({{0, from}});
    app.moveTouches({{0, to}});
    app.endTouches({{0, to}});
}

void InteractionTest::tap(ui::Point point) {
    driver.tap(point);
}

void InteractionTest::showFlags() {
    viewer().displayFlags();
    driver.advance(0.5);
}

ui::Button& InteractionTest::flag(int index) {
    return *viewer().flags.at(static_cast<std::size_t>(index));
}

ui::Point InteractionTest::flagOnScreen(int index) {
    ui::Button& button = flag(index);
    return button.convertTo(button.bounds().center(), nullptr);
}

void InteractionTest::pressFlag(int index) {
    tap(flagOnScreen(index));
}

ui::ImageView& InteractionTest::picture() {
    return *viewer().displayedImage();
}

int InteractionTest::alphaAt(const ui::Image& image, ui::Point point) {
    cairo_surface_t* surface = image.surface();
    cairo_surface_flush(surface);
    int x = static_cast<int>(point.x * image.scale()), y = static_cast<int>(point.y * image.scale());
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t pixel = reinterpret_cast<const std::uint32_t*>(row)[x];
    return static_cast<int>(pixel >> 24);
}
