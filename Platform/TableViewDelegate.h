#pragma once
// What a table asks of its owner beyond the data: the section headers, and what a chosen row does.

#include "Platform/IndexPath.h"
#include "Platform/View.h"

namespace ui {

class TableView;

class TableViewDelegate {
public:
    virtual ~TableViewDelegate() = default;
    // The header of `section`, laid out by the table to its width and header height; none leaves the
    // header's space empty.
    virtual ViewPtr viewForHeaderInSection(TableView&, int /*section*/) { return nullptr; }
    virtual void didSelectRowAtIndexPath(TableView&, IndexPath) {}
};

} // namespace ui
