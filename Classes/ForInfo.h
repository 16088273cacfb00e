#pragma once
// The viewer's one panel: a stretched background picture ("bb.png", caps 17 x 21) with a read-only,
// transparent text view of white 13-point text on top. The panel draws nothing itself; its shape is
// the picture's.
//
// Layout puts the picture at (-1, -1, w + 2, h + 5), overhanging the panel, and the text view at
// (-1, 5, w - 5, h - 20), and switches the text view's touches off (owners that want scrolling switch
// them on again afterwards). Owners lay a panel out themselves (`updateView`, `drawRect`) right after
// changing its frame; the panel also lays itself out from its bounds when it is made and whenever its
// size changes, which is when the phone would draw it.

#include "Platform/ImageView.h"
#include "Platform/TextView.h"
#include "Platform/View.h"

#include <memory>

class ForInfo : public ui::View {
public:
    ForInfo() : ForInfo(ui::Rect()) {}
    explicit ForInfo(const ui::Rect& frame);

    // Lays the subviews out from the panel's frame.
    void updateView();
    // Lays the subviews out from the size of `rect` (its origin is ignored).
    void drawRect(const ui::Rect& rect);

    const std::shared_ptr<ui::TextView>& textViewForInfo() const { return textViewForInfo_; }
    void setTextViewForInfo(std::shared_ptr<ui::TextView> textView);

    std::string className() const override { return "ForInfo"; }

protected:
    void boundsSizeDidChange() override { drawRect(bounds()); }

private:
    void layOut(ui::Size size, bool textViewAtIndexOne);

    std::shared_ptr<ui::TextView> textViewForInfo_;
    std::shared_ptr<ui::ImageView> background_;
};
