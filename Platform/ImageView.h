#pragma once
// A view that shows a picture, or plays a sequence of pictures on the run loop's clock.
//
//     auto arrow = ui::make<ui::ImageView>(ui::Bundle::main().image("arrows/1"));
//     arrow->setAnimationImages(frames);
//     arrow->setAnimationDuration(0.5);
//     arrow->setAnimationRepeatCount(1);
//     arrow->startAnimating();
//
// A long sequence of large pictures can be given as a count and a function that makes picture i: each
// picture is then made when it is first shown, and kept.
//
// Image views start with user interaction off, as on the phone: touches fall through to the view
// behind (set it on to let the image view take them).

#include "Platform/Image.h"
#include "Platform/PictureCache.h"
#include "Platform/Timer.h"
#include "Platform/View.h"

#include <functional>
#include <vector>

namespace ui {

enum class ContentMode {
    ScaleToFill, // stretched to the bounds
    ScaleAspectFit,
    ScaleAspectFill,
    Center, // own size, placed as named
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

class ImageView : public View {
public:
    explicit ImageView(const Rect& frame = {});
    // A view the size of the picture, at (0, 0).
    explicit ImageView(Image image);

    const Image& image() const { return image_; }
    void setImage(Image image);
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode);

    // Pictures of a sequence given by a function are empty here until they are first shown.
    const std::vector<Image>& animationImages() const { return animationImages_; }
    void setAnimationImages(std::vector<Image> images);
    void setAnimationImages(std::size_t count, std::function<Image(std::size_t)> makeImage);
    // Seconds for one round of the pictures; 0 means 1/30 s per picture.
    Float animationDuration() const { return animationDuration_; }
    void setAnimationDuration(Float seconds) { animationDuration_ = seconds; }
    // Rounds to play; 0 repeats for ever.
    int animationRepeatCount() const { return animationRepeatCount_; }
    void setAnimationRepeatCount(int count) { animationRepeatCount_ = count; }
    // Plays the pictures from the first; after the last round the view shows `image()` again.
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return timer_ && timer_->isValid(); }
    // The picture on screen now: the current frame while animating, else `image()`.
    const Image& displayedImage() const;

    // Where the picture goes inside the bounds for the content mode.
    Rect imageRect() const;

    void draw(const DrawContext& context) override;
    int layerCount() const override { return displayedImage().empty() ? 0 : 1; }
    std::string className() const override { return "ImageView"; }
    void describe(ViewDescription& description) const override;

private:
    void showNextFrame();
    void makeShownFrame();

    Image image_;
    ContentMode contentMode_ = ContentMode::ScaleToFill;
    std::vector<Image> animationImages_;
    std::function<Image(std::size_t)> makeImage_;
    std::vector<bool> made_;
    Float animationDuration_ = 0;
    int animationRepeatCount_ = 0;
    TimerPtr timer_;
    std::size_t framesShown_ = 0;
    PictureCache cache_;
};

using ImageViewPtr = std::shared_ptr<ImageView>;

} // namespace ui
