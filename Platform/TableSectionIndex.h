#pragma once
// The letter index along a table's right edge: one slot per title, centred, at most 16 points tall. A
// touch on a letter, or a finger sliding along the strip, reports each new letter under the finger;
// the strip shows a rounded shade while touched.

#include "Platform/View.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class TableSectionIndex : public View {
public:
    static constexpr Float tallestSlot = 16;
    static constexpr Float endInset = 4;
    static Color defaultLetterColor() { return {0.62, 0.62, 0.66, 1}; }

    // `onJump` gets the index of the title under the finger.
    explicit TableSectionIndex(std::function<void(int index)> onJump);

    void setColors(const Color& letters, const Color& background);
    // No titles hide the strip.
    void setTitles(std::vector<std::string> titles);

    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override { jumpTo(touches); }
    void touchesEnded(const TouchSet&) override { release(); }
    void touchesCancelled(const TouchSet&) override { release(); }

    void draw(const DrawContext& context) override;
    int layerCount() const override { return 2; }
    std::string className() const override { return "TableIndex"; }

private:
    Float slotHeight() const;
    Float firstSlotTop() const;
    void jumpTo(const TouchSet& touches);
    void release();

    std::function<void(int)> onJump_;
    std::vector<std::string> titles_;
    Color letters_ = defaultLetterColor(), background_ = Color::clear();
    bool touched_ = false;
    int lastJump_ = -1;
};

} // namespace ui
