#pragma once

#include "longdivision/views/GridExprView.h"
#include "model/ExprSoloist.h"
#include "playground/views/ExprViewSoloist.h"
#include "playground/views/GenericLabel.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zm {

class ColumnGrid;
class PlaygroundView;

// A whole number of a long division (a divisor, a dividend, a quotient, a row's numbers) shown as a
// row of separate digit views, so that single digits can stand in grid columns and be dragged, lit,
// appended and removed one at a time, with an optional decimal point between two digits.
//
// Leading zeros (of a number built by appending digits) keep their columns but stay off the screen
// unless asked for. The point takes a quarter column between two digits, also while hidden.
//
// It places its labels in the host view, which it does not own and which supplies fonts and colours;
// the owner puts it on screen. Main thread only.
class ExprViewSoloistDigits : public GridExprView {
public:
    // The value of `dotPosition` that means no point.
    static constexpr uint32_t kNoDot = 0x7FFFFFFF;

    // A view per digit of `solo` (a negative number's first digit negated); not yet on screen.
    static std::shared_ptr<ExprViewSoloistDigits> create(std::shared_ptr<ExprSoloist> solo,
                                                         PlaygroundView& playgroundView);

    // The number shown; replaced by a new term whenever a digit is appended or removed.
    const std::shared_ptr<ExprSoloist>& solo() const { return m_solo; }
    const std::vector<std::shared_ptr<ExprViewSoloist>>& digitViews() const { return m_digitViews; }
    // The digit views themselves, for owners that trade one digit view for another.
    std::vector<std::shared_ptr<ExprViewSoloist>>& mutableDigitViews() { return m_digitViews; }
    const std::shared_ptr<GenericLabel>& dotView() const { return m_dotView; }
    std::shared_ptr<PlaygroundView> playgroundView() const { return m_playgroundView.lock(); }

    // Digits before the point; kNoDot for none. A point puts the digits in columns.
    uint32_t dotPosition() const { return m_dotPosition; }
    void setDotPosition(uint32_t position);
    bool hideDotView() const { return m_hideDotView; }
    // Shows or hides the point on the host view when the setting changes.
    void setHideDotView(bool hide);
    // Each digit takes one column, or its own width.
    bool columnLayout() const { return m_columnLayout; }
    void setColumnLayout(bool columnLayout) { m_columnLayout = columnLayout; }
    bool showForwardZeroes() const { return m_showForwardZeroes; }
    void setShowForwardZeroes(bool show) { m_showForwardZeroes = show; }
    bool shrunk() const { return m_shrunk; }
    void setShrunk(bool shrunk) { m_shrunk = shrunk; }

    // A digit view at the end; the number grows by that digit. The caller places and shows it.
    void appendDigitView(std::shared_ptr<ExprViewSoloist> digitView);
    // The last digit view off the screen and gone; the number loses that digit (0 when none is left).
    void removeLastDigitView();

    // Placement: every anchor comes down to the middle of the left edge, from where the digits follow
    // one another (see the source for the point's quarter column).
    void moveTo(core::Point point, Anchor anchor) override;
    // Digit k centred in column n + k, on the line y.
    void moveToCenterY(float y, int32_t column, const ColumnGrid& grid, bool rightAligned);
    void moveToCenterYLeftAlignedAtColumn(float y, int32_t column, const ColumnGrid& grid) {
        moveToCenterY(y, column, grid, false);
    }
    // The last digit centred in column n, each earlier one a column further left (a negative digit a
    // quarter of its width further still). The point is not moved.
    void moveToCenterYRightAlignedAtColumn(float y, int32_t column, const ColumnGrid& grid) {
        moveToCenterY(y, column, grid, true);
    }
    // Digit k's top-left corner at (x + k w, y).
    void moveToTopLeft(core::Point point, float columnWidth);
    // Where the point's bottom-left corner stands when the point follows digit `index`; gaps before
    // the first digit and past the last lie a column apart.
    core::Point getDotViewBottomLeftAtDotIndex(int32_t index) const;

    // The left anchors name the first column's edge rather than the first glyph's.
    core::Point getPointAtPosition(Anchor anchor) const override;
    float getWidth() const override;
    float getHeight() const override;
    float getPureWidth() const override;
    // The digits' boxes; the point is not part of it.
    core::Rect getHitbox() const override;
    ViewList getViewList() const override;
    GenericViewList getGenericSubviews() const override;
    GenericViewList getBaseNodeGenericViews() const override;
    // The digit view under the point.
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point) const override;
    void setSpace(float space) override;
    void setFontSize(float size, bool animated) override;

    // The number shown, as the digit views of a single term answer theirs.
    ExprPtr getExpr() const override { return m_solo; }
    std::string description() const override;

    // The separator the point is written with.
    static std::string localizedDecimalString();

private:
    ExprViewSoloistDigits() = default;

    // The digits and the point from the middle of the left edge.
    void layOutFromMiddleLeft(core::Point point);
    // Whether a digit view is on screen: not a leading zero (see getViewList).
    std::vector<bool> listedDigits() const;

    std::shared_ptr<ExprSoloist> m_solo;
    std::vector<std::shared_ptr<ExprViewSoloist>> m_digitViews;
    std::weak_ptr<PlaygroundView> m_playgroundView;
    uint32_t m_dotPosition = kNoDot;
    std::shared_ptr<GenericLabel> m_dotView;
    bool m_hideDotView = true;
    bool m_columnLayout = true;
    bool m_showForwardZeroes = false;
    std::atomic<bool> m_shrunk = false;
};

} // namespace zm
