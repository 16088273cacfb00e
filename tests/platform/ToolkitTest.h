#pragma once
// Every toolkit test starts from a fresh window on a virtual clock at 0.

#include "Platform/Driver.h"
#include "Platform/Image.h"
#include "Platform/Label.h"

#include <gtest/gtest.h>

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override { ui::Driver::resetToolkit(); }
    void TearDown() override { ui::Driver::resetToolkit(); }

    ui::View& window() { return *ui::Application::shared().window(); }
    ui::Driver driver;
};

// Adds a plain view with `frame` to `parent` and returns it.
inline ui::ViewPtr addView(ui::View& parent, const ui::Rect& frame, const std::string& id = "") {
    auto view = ui::make<ui::View>(frame);
    view->setIdentifier(id);
    parent.addSubview(view);
    return view;
}

// A picture of `size` points at `scale`, all of `color`.
inline ui::Image solidPicture(ui::Size size, ui::Color color = ui::Color::clear(), ui::Float scale = 2) {
    ui::ImageContext context(size, scale);
    cairo_set_source_rgba(context.cairo(), color.r, color.g, color.b, color.a);
    cairo_paint(context.cairo());
    return context.image();
}

// A label of white text on nothing, as the atlas's titles are.
inline ui::LabelPtr whiteTextLabel(const ui::Rect& frame, const std::string& text) {
    auto label = ui::make<ui::Label>(frame);
    label->setBackgroundColor(ui::Color::clear());
    label->setTextColor(ui::Color::white());
    label->setText(text);
    return label;
}
