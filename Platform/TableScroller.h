#pragma once
// The scrolling content of a table: a scroll view that tells its table whenever the content moved, so
// that the rows are laid out for the new offset, and that shows a vertical scroll indicator while the
// content moves.

#include "Platform/ScrollView.h"

#include <functional>

namespace ui {

class TableScroller : public ScrollView {
public:
    explicit TableScroller(std::function<void()> onScroll);

    void drawOverlay(const DrawContext& context) override;
    std::string className() const override { return "TableScroller"; }

protected:
    void didScroll() override { onScroll_(); }

private:
    std::function<void()> onScroll_;
};

} // namespace ui
