#pragma once
// One row's view of a table: a text label, a thin separator along the bottom and an optional accessory
// at the right end. Cells are controls, so that a finger on a row highlights it; the table owns what a
// tap does.

#include "Platform/Control.h"
#include "Platform/Label.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {

enum class TableViewCellAccessory { None, DisclosureIndicator };

class TableViewCell : public Control {
public:
    explicit TableViewCell(std::string reuseIdentifier);

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    Label& textLabel() const { return *textLabel_; }
    TableViewCellAccessory accessoryType() const { return accessory_; }
    void setAccessoryType(TableViewCellAccessory accessory);

    void draw(const DrawContext& context) override;
    int layerCount() const override { return 2; }
    std::string className() const override { return "TableViewCell"; }
    void describe(ViewDescription& description) const override { description.text = textLabel_->text(); }

protected:
    void boundsSizeDidChange() override { layOut(); }

private:
    friend class TableView;
    void layOut();

    std::string reuseIdentifier_;
    LabelPtr textLabel_;
    TableViewCellAccessory accessory_ = TableViewCellAccessory::None;
    std::function<void(TableViewCell&)> tapped_; // set by the table that shows the cell
};

using TableViewCellPtr = std::shared_ptr<TableViewCell>;

} // namespace ui
