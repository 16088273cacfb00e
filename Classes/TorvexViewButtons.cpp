// The image-button factory. A factory button's title is its identity (a
// region, flag or view name) and is never drawn.
#include "TorvexView.h"

#include "Platform/Bundle.h"
#include "Platform/Button.h"

namespace {

void removeAll(std::string& text, std::string_view part) {
    if (part.empty())
        return;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

// Bar buttons, flags and the bubble's info button take touches in a border of 30 % of the picture's
// size around it; rings and thumbnails only on the picture.
bool hasWideTouchArea(int type) {
    return type == TorvexView::BarButton || type == TorvexView::FlagButton ||
           type == TorvexView::InfoHintButton;
}

} // namespace

TorvexView::ButtonPtr TorvexView::imageButton(const std::string& name, int type, float x, float y,
                                              const std::string& img) {
    ui::Image face;
    if (type == BarButton)
        face = ui::Bundle::main().image(img, "png", "Buttons");
    else if (type == ViewButton)
        face = thumbnailOfView(img);
    else
        face = ui::Bundle::main().image(img, "png");

    auto button = ui::make<ui::Button>(ui::ButtonType::Custom);
    ui::Float w = face.size().width, h = face.size().height;
    if (hasWideTouchArea(type))
        button->setFrame(ui::Rect(x - w / 2 - 0.3 * w, y - h / 2 - 0.3 * h, 1.6 * w, 1.6 * h));
    else
        button->setFrame(ui::Rect(x - w / 2, y - h / 2, w, h));
    button->setHidden(true);
    button->setAlpha(0);
    button->setTitleFont(ui::Font::system(0));
    button->setTitle(name);
    button->setImage(face);
    switch (type) {
    case HotSpotButton:
        button->addAction(whileAlive([this](ui::Button* sender) { enterToPart(sender); }));
        break;
    case FlagButton:
        button->addAction(whileAlive([this](ui::Button* sender) { flagBubbles_.displayHint(sender); }));
        break;
    case ViewButton:
        button->addAction(whileAlive([this](ui::Button* sender) { changeView(sender); }));
        break;
    case InfoHintButton:
        button->addAction(whileAlive([this](ui::Button* sender) { info_.displayInfo(sender); }));
        break;
    default:
        break;
    }
    if (type == BarButton)
        button->setImage(ui::Bundle::main().image(img + " pressed", "png", "Buttons"),
                         ui::ControlState::Highlighted);
    return button;
}

// The view's picture drawn into 96 x 127 points. It is looked up by file name in the folder of the
// current view's picture, where the views of a region keep theirs; anything else gives no picture.
ui::Image TorvexView::thumbnailOfView(const std::string& viewName) const {
    TreeNode* view = currentViewNamed(viewName);
    if (!view)
        return {};
    std::string fileName(view->attribute("src"));
    removeAll(fileName, src);
    removeAll(fileName, ".png");
    removeAll(fileName, "/");
    ui::Image picture = ui::Bundle::main().image(fileName, "png", src);
    if (picture.empty())
        return {};
    ui::ImageContext context({96, 127});
    picture.draw(context.cairo(), ui::Rect(0, 0, 96, 127));
    return context.image();
}
