#include "Platform/ImageView.h"

#include <algorithm>

namespace ui {

ImageView::ImageView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(Image image) : ImageView(Rect(Point{}, image.size())) {
    image_ = std::move(image);
}

void ImageView::setImage(Image image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setContentMode(ContentMode mode) {
    contentMode_ = mode;
    setNeedsDisplay();
}

void ImageView::setAnimationImages(std::vector<Image> images) {
    animationImages_ = std::move(images);
    makeImage_ = nullptr;
    made_.clear();
}

void ImageView::setAnimationImages(std::size_t count, std::function<Image(std::size_t)> makeImage) {
    animationImages_.assign(count, Image());
    makeImage_ = std::move(makeImage);
    made_.assign(count, false);
}

// A picture given by a function is made when its frame first comes up: the first round decodes one
// picture per frame rather than the whole sequence before it starts.
void ImageView::makeShownFrame() {
    std::size_t index = (framesShown_ - 1) % animationImages_.size();
    if (!makeImage_ || made_[index])
        return;
    animationImages_[index] = makeImage_(index);
    made_[index] = true;
}

void ImageView::startAnimating() {
    stopAnimating();
    if (animationImages_.empty())
        return;
    Float round =
        animationDuration_ > 0 ? animationDuration_ : static_cast<Float>(animationImages_.size()) / 30;
    framesShown_ = 1;
    makeShownFrame();
    setNeedsDisplay();
    std::weak_ptr<View> weak = weak_from_this();
    timer_ =
        Timer::scheduled(round / static_cast<Float>(animationImages_.size()), Timer::Repeats::Yes, [weak] {
            if (auto self = std::static_pointer_cast<ImageView>(weak.lock()))
                self->showNextFrame();
        });
}

void ImageView::stopAnimating() {
    if (!timer_)
        return;
    timer_->invalidate();
    timer_.reset();
    setNeedsDisplay();
}

void ImageView::showNextFrame() {
    auto frames = animationImages_.size();
    if (animationRepeatCount_ > 0 &&
        framesShown_ >= frames * static_cast<std::size_t>(animationRepeatCount_)) {
        stopAnimating();
        return;
    }
    ++framesShown_;
    makeShownFrame();
    setNeedsDisplay();
}

const Image& ImageView::displayedImage() const {
    if (!isAnimating() || animationImages_.empty())
        return image_;
    return animationImages_[(framesShown_ - 1) % animationImages_.size()];
}

Rect ImageView::imageRect() const {
    const Rect& b = bounds();
    Size s = displayedImage().size();
    auto fitted = [&](bool fill) {
        if (s.width <= 0 || s.height <= 0)
            return b;
        Float ratioX = b.width() / s.width, ratioY = b.height() / s.height;
        Float k = fill ? std::max(ratioX, ratioY) : std::min(ratioX, ratioY);
        Size size{s.width * k, s.height * k};
        return Rect(b.midX() - size.width / 2, b.midY() - size.height / 2, size.width, size.height);
    };
    Float left = b.x(), centerX = b.midX() - s.width / 2, right = b.maxX() - s.width;
    Float top = b.y(), centerY = b.midY() - s.height / 2, bottom = b.maxY() - s.height;
    switch (contentMode_) {
    case ContentMode::ScaleToFill:
        return b;
    case ContentMode::ScaleAspectFit:
        return fitted(false);
    case ContentMode::ScaleAspectFill:
        return fitted(true);
    case ContentMode::Center:
        return {Point{centerX, centerY}, s};
    case ContentMode::Top:
        return {Point{centerX, top}, s};
    case ContentMode::Bottom:
        return {Point{centerX, bottom}, s};
    case ContentMode::Left:
        return {Point{left, centerY}, s};
    case ContentMode::Right:
        return {Point{right, centerY}, s};
    case ContentMode::TopLeft:
        return {Point{left, top}, s};
    case ContentMode::TopRight:
        return {Point{right, top}, s};
    case ContentMode::BottomLeft:
        return {Point{left, bottom}, s};
    case ContentMode::BottomRight:
        return {Point{right, bottom}, s};
    }
    return b;
}

void ImageView::draw(const DrawContext& context) {
    const Image& picture = displayedImage();
    if (!picture.empty())
        cache_.draw(context, picture, imageRect());
}

void ImageView::describe(ViewDescription& description) const {
    description.image = image_.fileName();
}

} // namespace ui
