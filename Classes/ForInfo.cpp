#include "ForInfo.h"

#include "Platform/Bundle.h"

ForInfo::ForInfo(const ui::Rect& frame) : ui::View(frame) {
    setIdentifier("ForInfo");
    background_ = ui::make<ui::ImageView>(ui::Bundle::main().image("bb.png").stretchable(17, 21));
    background_->setIdentifier("background");
    setBackgroundColor(ui::Color::clear());

    auto textView = ui::make<ui::TextView>(ui::Rect(0, 5, frame.width(), frame.height() - 20));
    textView->setBackgroundColor(ui::Color::clear());
    textView->setTextColor(ui::Color::white());
    textView->setEditable(false);
    textView->setFont(ui::Font::system(13));
    setTextViewForInfo(std::move(textView));
    drawRect(bounds());
}

void ForInfo::setTextViewForInfo(std::shared_ptr<ui::TextView> textView) {
    if (textViewForInfo_)
        textViewForInfo_->removeFromSuperview();
    textViewForInfo_ = std::move(textView);
    if (textViewForInfo_) {
        textViewForInfo_->setIdentifier("textViewForInfo");
        addSubview(textViewForInfo_);
    }
}

void ForInfo::updateView() {
    layOut(frame().size, false);
}

void ForInfo::drawRect(const ui::Rect& rect) {
    layOut(rect.size, true);
}

// `drawRect` puts the picture at the back and the text above it; `updateView` only adds what is
// missing, on top.
void ForInfo::layOut(ui::Size size, bool textViewAtIndexOne) {
    if (!background_->superview()) {
        if (textViewAtIndexOne)
            insertSubview(background_, 0);
        else
            addSubview(background_);
    }
    background_->setFrame(ui::Rect(-1, -1, size.width + 2, size.height + 5));
    if (!textViewForInfo_)
        return;
    ui::Rect textFrame(-1, 5, size.width - 5, size.height - 20);
    textViewForInfo_->setFrame(textFrame);
    textViewForInfo_->setBounds(textFrame);
    textViewForInfo_->setUserInteractionEnabled(false);
    if (textViewAtIndexOne)
        insertSubview(textViewForInfo_, 1);
    else if (!textViewForInfo_->superview())
        addSubview(textViewForInfo_);
}
