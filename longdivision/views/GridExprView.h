#pragma once

#include "playground/views/ExprView.h"

namespace zm {

// The base of the long division's views: an expression view whose numbers stand on a grid of digit
// columns and rows, one column a little wider than a digit and one row a little lower than one, in
// "Georgia" at the view's font size.
class GridExprView : public ExprView {
public:
    float rowHeight() const { return m_rowHeight; }
    void setRowHeight(float height) { m_rowHeight = height; }
    float colWidth() const { return m_colWidth; }
    void setColWidth(float width) { m_colWidth = width; }

    // The base work, then the grid measured again at the size, whether or not it changed.
    void setBaseFontSize(float size) override;

protected:
    GridExprView() = default;

private:
    float m_rowHeight = 0;
    float m_colWidth = 0;
};

// Adds the views of `more` at the end of `views` (the view lists of a grid view's parts, in order).
template <class List> void appendAll(List& views, const List& more) {
    views.insert(views.end(), more.begin(), more.end());
}

// The size of the digit "3" in "Georgia" at a font size: the cell the grid is cut from. Sizes are
// measured once each (many views take the same size at once).
core::Size gridDigitSize(float fontSize);

} // namespace zm
