#pragma once

#include "longdivision/model/ExprSegment.h"
#include "longdivision/views/ExprViewSoloistDigits.h"
#include "playground/views/OpView.h"
#include "playground/views/OpViewDivide.h"

#include <atomic>
#include <memory>

namespace zm {

class ColumnGrid;
class PlaygroundView;

// One subtraction row of a long division on the digit grid: the partial dividend, the product under
// it with a minus sign in front, a rule, and the difference, which grows into the next partial
// dividend as dividend digits are brought down beside it (the appended view then takes its place on
// screen). It also judges the two drops that end on a row: a digit brought down beside the working
// digits, and the divisor dropped over them to start the next row.
//
// The quotient digit's view is made here but placed by the quotient row, which holds the same view.
// The row places its labels in the host view, which it does not own. Main thread only.
class ExprViewSegment : public GridExprView {
public:
    static std::shared_ptr<ExprViewSegment> create(std::shared_ptr<ExprSegment> segment,
                                                   PlaygroundView& playgroundView);

    const std::shared_ptr<ExprSegment>& segment() const { return m_segment; }
    const std::shared_ptr<ExprViewSoloistDigits>& aboveView() const { return m_aboveView; }
    const std::shared_ptr<ExprViewSoloistDigits>& productView() const { return m_productView; }
    const std::shared_ptr<ExprViewSoloist>& multipleView() const { return m_multipleView; }
    const std::shared_ptr<ExprViewSoloistDigits>& differenceView() const { return m_differenceView; }
    // The difference with the digits brought down so far; null before the first.
    const std::shared_ptr<ExprViewSoloistDigits>& appendedRemainderView() const { return m_appendedRemainderView; }
    const std::shared_ptr<OpViewMinus>& minusView() const { return m_minusView; }
    const std::shared_ptr<OpViewDivide>& lineView() const { return m_lineView; }
    bool shrunk() const { return m_shrunk; }
    void setShrunk(bool shrunk) { m_shrunk = shrunk; }
    // The number the next digit is brought down beside: the appended view, else the difference.
    const ExprViewSoloistDigits& workingView() const;

    // Whether the dragged view reaches into the one-width slot right of the working digits.
    bool validateDropDownDigit(const ExprView& dragged) const;
    // Takes a brought-down digit (exactly a term view; anything else is ignored): on the first, the
    // appended view starts from the difference, leading zeros shown, in its place.
    void acceptDropDownDigit(const std::shared_ptr<ExprView>& digit);
    // Lights the working digits under the dragged divisor (see checkHighlight).
    void movingDenominator(const ExprView& divisor);
    // Lights the working digits that meet `rect`; the last lit one goes dark once `rect` has left it,
    // so a sweep leaves the digits it crossed lit but for the one the divisor left last.
    void checkHighlight(const core::Rect& rect);
    // The next row, when the divisor covers brought-down digits from the first significant one that
    // make at least the divisor; else null.
    std::shared_ptr<ExprSegment> droppedDenominator(const ExprViewSoloistDigits& divisor) const;
    // Places the row: the partial dividend's last digit in `column` on the line y, the rest below.
    void moveToCenterY(float y, int32_t column, const ColumnGrid& grid);
    // Every view of the row to the line y, keeping its x.
    void moveEverythingToY(float y);
    // The working number (the difference, or the appended number once digits are brought down) when
    // the point lies within half its size of it: what is left over, dragged up as the remainder.
    std::shared_ptr<ExprViewSoloistDigits> getRemainderViewFromPoint(core::Point point) const;
    core::Point getRelevantTopRight() const;

    core::Point getTopLeft() const override;
    // A row is placed at a column only: any other placement logs and places nothing.
    void moveTo(core::Point point, Anchor anchor) override;
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point) const override { return nullptr; }
    ViewList getViewList() const override;
    GenericViewList getGenericSubviews() const override;
    GenericViewList getBaseNodeGenericViews() const override;
    float getWidth() const override;
    float getPureWidth() const override;
    float getHeight() const override;
    core::Rect getHitbox() const override;
    void setSpace(float space) override;
    void setFontSize(float size, bool animated) override;

    std::string description() const override;

private:
    ExprViewSegment() = default;

    // The rule as wide as the minus sign, a space and the product.
    float ruleWidth() const;

    std::shared_ptr<ExprSegment> m_segment;
    std::weak_ptr<PlaygroundView> m_playgroundView;
    std::shared_ptr<ExprViewSoloistDigits> m_aboveView;
    std::shared_ptr<ExprViewSoloistDigits> m_productView;
    std::shared_ptr<ExprViewSoloist> m_multipleView;
    std::shared_ptr<ExprViewSoloistDigits> m_differenceView;
    std::shared_ptr<ExprViewSoloistDigits> m_appendedRemainderView;
    std::shared_ptr<OpViewMinus> m_minusView;
    std::shared_ptr<OpViewDivide> m_lineView;
    std::atomic<bool> m_shrunk = false;
};

// The views of `views` (digit views) that are lit, in order.
std::vector<std::shared_ptr<ExprViewSoloist>> highlightedDigits(const std::vector<std::shared_ptr<ExprViewSoloist>>& views);
// Digits read in order as one number ("0" and "5" give 5), in 64 bits.
int64_t numberOfDigits(const std::vector<std::shared_ptr<ExprViewSoloist>>& digits);
// Lights the digits that meet `rect`, then darkens the last lit one when it does not.
void highlightDigitsUnder(const std::vector<std::shared_ptr<ExprViewSoloist>>& digits, const core::Rect& rect);
// The box grown by half its width left and right and half its height above and below.
core::Rect grownHitbox(const core::Rect& box);

} // namespace zm
