#include "Platform/Button.h"
#include "Platform/ControlDrawing.h"

#include <numbers>

namespace ui {

namespace {

const Color roundedRectBlue = {0.196, 0.310, 0.522, 1};

} // namespace

Button::Button(ButtonType type, const Rect& frame) : Control(frame), type_(type) {}

template <class T> T Button::lookFor(std::optional<T> StateLook::*field, const T& fallback) const {
    if (auto it = looks_.find(state()); it != looks_.end() && it->second.*field)
        return *(it->second.*field);
    if (auto it = looks_.find(ControlState::Normal); it != looks_.end() && it->second.*field)
        return *(it->second.*field);
    return fallback;
}

void Button::setTitle(std::string title, ControlState state) {
    looks_[state].title = std::move(title);
    setNeedsDisplay();
}

void Button::setTitleColor(const Color& color, ControlState state) {
    looks_[state].titleColor = color;
    setNeedsDisplay();
}

void Button::setImage(Image image, ControlState state) {
    looks_[state].image = std::move(image);
    setNeedsDisplay();
}

void Button::setBackgroundImage(Image image, ControlState state) {
    looks_[state].backgroundImage = std::move(image);
    setNeedsDisplay();
}

std::string Button::title(ControlState state) const {
    auto it = looks_.find(state);
    return it != looks_.end() && it->second.title ? *it->second.title : std::string();
}

Image Button::image(ControlState state) const {
    auto it = looks_.find(state);
    return it != looks_.end() && it->second.image ? *it->second.image : Image();
}

Image Button::backgroundImage(ControlState state) const {
    auto it = looks_.find(state);
    return it != looks_.end() && it->second.backgroundImage ? *it->second.backgroundImage : Image();
}

std::string Button::currentTitle() const {
    return lookFor(&StateLook::title, std::string());
}

Color Button::currentTitleColor() const {
    Color fallback = Color::white();
    if (type_ == ButtonType::RoundedRect)
        fallback = state() == ControlState::Highlighted ? Color::white() : roundedRectBlue;
    return lookFor(&StateLook::titleColor, fallback);
}

Image Button::currentImage() const {
    return lookFor(&StateLook::image, Image());
}

Image Button::currentBackgroundImage() const {
    return lookFor(&StateLook::backgroundImage, Image());
}

void Button::setTitleFont(const Font& font) {
    titleFont_ = font;
    setNeedsDisplay();
}

void Button::addAction(std::function<void(Button*)> action) {
    addTarget(ControlEvent::TouchUpInside,
              [action = std::move(action)](Control* sender) { action(static_cast<Button*>(sender)); });
}

bool Button::showsTitle() const {
    return titleFont_.size > 0 && !currentTitle().empty();
}

bool Button::darkensImage() const {
    auto highlighted = looks_.find(ControlState::Highlighted);
    bool hasOwnImage = highlighted != looks_.end() && highlighted->second.image;
    return isHighlighted() && adjustsImageWhenHighlighted_ && !hasOwnImage;
}

int Button::layerCount() const {
    return (type_ == ButtonType::RoundedRect ? 2 : 0) + !currentBackgroundImage().empty() +
           !currentImage().empty() + showsTitle() + darkensImage();
}

void Button::draw(const DrawContext& context) {
    if (type_ == ButtonType::RoundedRect)
        drawRoundedRect(context);
    if (auto background = currentBackgroundImage(); !background.empty())
        background.draw(context.cr, bounds(), context.opacity);
    drawContent(context);
}

void Button::drawRoundedRect(const DrawContext& context) const {
    cairo_t* cr = context.cr;
    Rect r(bounds().x() + 0.5, bounds().y() + 0.5, bounds().width() - 1, bounds().height() - 1);
    roundedRectangle(cr, r, std::min(9.0, std::min(r.width(), r.height()) / 2));
    setColor(cr, isHighlighted() ? roundedRectBlue : Color::white(), context.opacity);
    cairo_fill_preserve(cr);
    setColor(cr, {0.55, 0.55, 0.6, 1}, context.opacity);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Button::drawContent(const DrawContext& context) const {
    cairo_t* cr = context.cr;
    Image picture = currentImage();
    std::string text = showsTitle() ? currentTitle() : std::string();
    Float titleWidth = text.empty() ? 0 : std::min(textWidth(text, titleFont_) + 1, bounds().width());
    Size pictureSize = picture.size();
    Float left = bounds().x() + (bounds().width() - pictureSize.width - titleWidth) / 2;
    if (!picture.empty()) {
        Rect place(left, bounds().y() + (bounds().height() - pictureSize.height) / 2, pictureSize.width,
                   pictureSize.height);
        picture.draw(cr, place, context.opacity);
        if (darkensImage()) {
            cairo_save(cr);
            cairo_translate(cr, place.x(), place.y());
            cairo_scale(cr, 1 / picture.scale(), 1 / picture.scale());
            cairo_set_source_rgba(cr, 0, 0, 0, 0.4 * context.opacity);
            cairo_mask_surface(cr, picture.surface(), 0, 0);
            cairo_restore(cr);
        }
    }
    if (!text.empty()) {
        TextStyle style{titleFont_, currentTitleColor(), TextAlignment::Center, 1};
        style.color.a *= context.opacity;
        Rect place(left + pictureSize.width, bounds().y(), titleWidth, bounds().height());
        drawText(cr, text, style, place);
    }
}

void Button::describe(ViewDescription& description) const {
    description.title = currentTitle();
    Image picture = currentImage();
    description.image = picture.empty() ? currentBackgroundImage().fileName() : picture.fileName();
}

} // namespace ui
