#include "Platform/AlertView.h"
#include "Platform/ControlDrawing.h"

#include "Platform/Image.h"

#include <numbers>

namespace ui {

namespace {

constexpr Float boxWidth = 284, sidePadding = 12, topPadding = 16, bottomPadding = 16;
constexpr Float lineGap = 8, buttonHeight = 43, buttonGap = 8;
constexpr Float boxRadius = 10;
const Font titleFont = Font::boldSystem(18);
const Font messageFont = Font::system(16);
const Font buttonFont = Font::boldSystem(17);
const Color dimming = {0, 0, 0, 0.45};

// A glassy button face, stretched to any width: darker for the cancel button, lighter while pressed.
Image buttonFace(bool cancel, bool pressed) {
    constexpr Float w = 21, h = buttonHeight;
    ImageContext context({w, h});
    cairo_t* cr = context.cairo();
    Rect face(0.75, 0.75, w - 1.5, h - 1.5);
    roundedRectangle(cr, face, 6);
    Float base = cancel ? 0.18 : 0.32;
    if (pressed)
        base += 0.25;
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgba(fill, 0, base + 0.35, base + 0.40, base + 0.55, 0.9);
    cairo_pattern_add_color_stop_rgba(fill, 0.5, base + 0.08, base + 0.12, base + 0.28, 0.9);
    cairo_pattern_add_color_stop_rgba(fill, 1, base, base + 0.04, base + 0.20, 0.9);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    return context.image().stretchable(10, 21);
}

} // namespace

AlertView::AlertView(std::string title, std::string message, Delegate delegate, std::string cancelButtonTitle,
                     std::vector<std::string> otherButtonTitles)
    : View(Rect(Point{}, Application::screenSize)), title_(std::move(title)), message_(std::move(message)),
      delegate_(std::move(delegate)) {
    hasCancelButton_ = !cancelButtonTitle.empty();
    if (hasCancelButton_)
        buttonTitles_.push_back(std::move(cancelButtonTitle));
    for (auto& other : otherButtonTitles)
        buttonTitles_.push_back(std::move(other));
    setBackgroundColor(dimming);
    setIdentifier("alert");
    layout_ = layout();
}

std::string AlertView::buttonTitleAtIndex(int index) const {
    if (index < 0 || index >= numberOfButtons())
        return "";
    return buttonTitles_[index];
}

// Top to bottom (or left to right in a row): the other buttons in order, the cancel button last
// when stacked and first in a row of two.
std::vector<int> AlertView::buttonOrderOnScreen() const {
    std::vector<int> order;
    int first = hasCancelButton_ ? 1 : 0;
    for (int i = first; i < numberOfButtons(); ++i)
        order.push_back(i);
    if (hasCancelButton_)
        order.insert(numberOfButtons() == 2 ? order.begin() : order.end(), 0);
    return order;
}

AlertView::Layout AlertView::layout() const {
    Layout result;
    Float textWidth = boxWidth - 2 * sidePadding;
    Float y = topPadding;
    Float titleHeight = title_.empty() ? 0 : textSize(title_, titleFont, textWidth).height;
    result.title = {sidePadding, y, textWidth, titleHeight};
    y += titleHeight + (titleHeight > 0 ? lineGap : 0);
    Float messageHeight = message_.empty() ? 0 : textSize(message_, messageFont, textWidth).height;
    result.message = {sidePadding, y, textWidth, messageHeight};
    y += messageHeight + (messageHeight > 0 ? lineGap : 0) + lineGap;

    result.buttons.resize(buttonTitles_.size());
    std::vector<int> order = buttonOrderOnScreen();
    if (order.size() <= 2) {
        Float width = order.size() == 2 ? (textWidth - buttonGap) / 2 : textWidth;
        for (std::size_t slot = 0; slot < order.size(); ++slot)
            result.buttons[order[slot]] = {sidePadding + slot * (width + buttonGap), y, width, buttonHeight};
        y += order.empty() ? 0 : buttonHeight;
    } else {
        for (std::size_t slot = 0; slot < order.size(); ++slot) {
            result.buttons[order[slot]] = {sidePadding, y, textWidth, buttonHeight};
            y += buttonHeight + (slot + 1 < order.size() ? buttonGap : 0);
        }
    }
    Float boxHeight = y + bottomPadding;
    Size screen = Application::screenSize;
    result.box = {(screen.width - boxWidth) / 2, (screen.height - boxHeight) / 2, boxWidth, boxHeight};
    auto toScreen = [&](Rect& r) { r.origin = r.origin + result.box.origin; };
    toScreen(result.title);
    toScreen(result.message);
    for (auto& button : result.buttons)
        toScreen(button);
    return result;
}

void AlertView::makeButtons() {
    if (!buttons_.empty())
        return;
    std::weak_ptr<View> weakSelf = weak_from_this();
    for (int index = 0; index < numberOfButtons(); ++index) {
        bool cancel = index == cancelButtonIndex();
        auto button = make<Button>(ButtonType::Custom, layout_.buttons[index]);
        button->setTitle(buttonTitles_[index]);
        button->setTitleFont(buttonFont);
        button->setTitleColor(Color::white());
        button->setBackgroundImage(buttonFace(cancel, false));
        button->setBackgroundImage(buttonFace(cancel, true), ControlState::Highlighted);
        button->setIdentifier("alertButton" + std::to_string(index));
        button->addAction([weakSelf, index](Button*) {
            if (auto self = std::static_pointer_cast<AlertView>(weakSelf.lock()))
                self->dismissWithClickedButtonIndex(index);
        });
        buttons_.push_back(button);
        addSubview(button);
    }
}

void AlertView::show() {
    if (isVisible())
        return;
    makeButtons();
    auto self = std::static_pointer_cast<AlertView>(shared_from_this());
    Application& app = Application::shared();
    app.window()->addSubview(self);
    app.setModalAlert(std::static_pointer_cast<ModalAlert>(self));
}

void AlertView::dismissWithClickedButtonIndex(int index) {
    if (!isVisible())
        return;
    auto keepAlive = std::static_pointer_cast<AlertView>(shared_from_this());
    View* window = superview();
    removeFromSuperview();
    // An alert still open behind this one is the open alert again.
    Application::shared().setModalAlert({});
    for (auto it = window->subviews().rbegin(); it != window->subviews().rend(); ++it) {
        if (auto behind = std::dynamic_pointer_cast<AlertView>(*it)) {
            Application::shared().setModalAlert(std::static_pointer_cast<ModalAlert>(behind));
            break;
        }
    }
    if (delegate_)
        delegate_(this, index);
}

Json AlertView::description() const {
    return Json{{"title", title_}, {"message", message_}, {"buttons", buttonTitles_}};
}

bool AlertView::pressButton(const std::string& title) {
    for (int index = 0; index < numberOfButtons(); ++index) {
        if (buttonTitles_[index] == title) {
            dismissWithClickedButtonIndex(index);
            return true;
        }
    }
    return false;
}

void AlertView::draw(const DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& box = layout_.box;
    cairo_save(cr);
    roundedRectangle(cr, box, boxRadius);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, box.minY(), 0, box.maxY());
    cairo_pattern_add_color_stop_rgba(fill, 0, 0.16, 0.25, 0.50, 0.92 * context.opacity);
    cairo_pattern_add_color_stop_rgba(fill, 1, 0.05, 0.10, 0.28, 0.92 * context.opacity);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9 * context.opacity);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    // The glassy sheen over the top of the box.
    roundedRectangle(cr, box, boxRadius);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, box.midX(), box.minY());
    cairo_scale(cr, box.width() * 0.9, 34);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.14 * context.opacity);
    cairo_fill(cr);
    cairo_restore(cr);

    Color white = Color::white();
    white.a = context.opacity;
    drawText(cr, title_, {titleFont, white, TextAlignment::Center, 0}, layout_.title);
    drawText(cr, message_, {messageFont, white, TextAlignment::Center, 0}, layout_.message);
}

} // namespace ui
