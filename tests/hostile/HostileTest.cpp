#include "HostileTest.h"

#include "Classes/IndexViewController.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/TableView.h"

void HostileTest::TearDown() {
    program_.reset();
    if (capturing_)
        ::testing::internal::GetCapturedStderr();
    capturing_ = false;
}

void HostileTest::launch(const HostileBundle& bundle) {
    program_ = std::make_unique<TestProgram>(bundle.path().string(), bundle.home().string());
    ::testing::internal::CaptureStderr();
    capturing_ = true;
    program_->launch();
}

void HostileTest::openViewer() {
    wait(0.3);
    ASSERT_EQ(state()["startLabel"], StartViewController::readyText) << log();
    driver().tap({160, 420});
    wait(1.0);
    ASSERT_EQ(state()["startScreenShown"], false);
    ASSERT_EQ(state()["interaction"], true);
}

const std::string& HostileTest::log() {
    if (capturing_) {
        log_ += ::testing::internal::GetCapturedStderr();
        ::testing::internal::CaptureStderr();
    }
    return log_;
}

void HostileTest::wait(double seconds) {
    ASSERT_TRUE(driver().advance(seconds));
}

void HostileTest::tapView(const std::string& identifier) {
    ui::View* view = driver().find(identifier);
    ASSERT_NE(view, nullptr) << identifier;
    ui::Rect frame = view->convertTo(view->bounds(), nullptr);
    driver().tap({frame.midX(), frame.midY()});
}

void HostileTest::press(const std::string& title) {
    ui::Result pressed = driver().press(title);
    ASSERT_TRUE(pressed) << pressed.error();
}

void HostileTest::enter(const std::string& header) {
    wait(1);
    press(header);
    wait(0.85);
}

void HostileTest::chooseFromIndex(const std::string& term) {
    press("index");
    wait(0.5);
    tapView("mySearchBar");
    ASSERT_TRUE(driver().type(term));
    // The search field holds the same text: the row is tapped where it is.
    ui::TableViewCell* row = nullptr;
    for (const auto& [path, cell] : viewer().index().navigationController()->myTableView->visibleCells()) {
        if (cell->textLabel().text() == term)
            row = cell;
    }
    ASSERT_NE(row, nullptr) << "no row " << term;
    ui::Rect frame = row->convertTo(row->bounds(), nullptr);
    driver().tap({frame.midX(), frame.midY()});
    wait(8);
}

void HostileTest::goBack() {
    wait(1);
    tapView("backButton");
    wait(0.85);
}

void HostileTest::drawFrame() {
    cairo_surface_t* frame = driver().render();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(cairo_surface_status(frame), CAIRO_STATUS_SUCCESS);
}

bool HostileTest::showsAPicture() {
    return !viewer().displayedImage()->image().empty();
}

std::vector<std::string> HostileTest::visibleFlagTitles() {
    std::vector<std::string> titles;
    for (const auto& flag : viewer().flags) {
        if (!flag->isHidden() && flag->superview())
            titles.push_back(flag->currentTitle());
    }
    return titles;
}

std::string HostileTest::bubbleTitle() {
    return viewer().labelForFlag ? viewer().labelForFlag->text() : "";
}
