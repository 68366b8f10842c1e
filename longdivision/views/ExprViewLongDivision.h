#pragma once

#include "longdivision/model/ExprLongDivision.h"
#include "longdivision/views/ColumnGrid.h"
#include "longdivision/views/ExprViewSoloistDigits.h"
#include "playground/views/GenericLabel.h"
#include "playground/views/OpViewDivide.h"

#include <memory>
#include <vector>

namespace ui {
class ImageView;
}

namespace zm {

class PlaygroundView;

// The head of a long division on the digit grid: the divisor, the bracket, the bar over the dividend,
// the dividend, and, once the playground supplies them, the quotient row above the bar and the
// remainder after an "r". It answers which of its numbers lies under a finger, judges the first drop
// of the divisor onto the dividend and takes the remainder. The subtraction rows are views of their
// own.
//
// Its columns are the dividend's digits, extended to the left by whole column widths. It places its
// labels in the host view, which it does not own. Main thread only.
class ExprViewLongDivision : public GridExprView, public ColumnGrid {
public:
    static std::shared_ptr<ExprViewLongDivision> create(std::shared_ptr<ExprLongDivision> longDivision,
                                                        PlaygroundView& playgroundView);

    // The model (spelled as the game has always spelled it).
    const std::shared_ptr<ExprLongDivision>& longDivison() const { return m_longDivison; }
    // The quotient row: made, filled and placed by the playground; null before the first row.
    const std::shared_ptr<ExprViewSoloistDigits>& answerView() const { return m_answerView; }
    void setAnswerView(std::shared_ptr<ExprViewSoloistDigits> view) { m_answerView = std::move(view); }
    const std::shared_ptr<ExprViewSoloistDigits>& numeratorView() const { return m_numeratorView; }
    const std::shared_ptr<ExprViewSoloistDigits>& denominatorView() const { return m_denominatorView; }
    const std::shared_ptr<OpViewDivide>& opViewDivide() const { return m_opViewDivide; }
    // A ")" that is never shown: it follows the font size and sizes the bracket.
    const std::shared_ptr<GenericLabel>& dividerViewLeft() const { return m_dividerViewLeft; }
    const std::shared_ptr<ui::ImageView>& dividerImage() const { return m_dividerImage; }
    const std::shared_ptr<ExprViewSoloist>& remainderView() const { return m_remainderView; }
    const std::shared_ptr<GenericLabel>& remainderLabel() const { return m_remainderLabel; }
    bool remainderModeActive() const { return m_remainderModeActive; }
    // Opens the remainder slot: the "r" shows on the host view (and goes when closed).
    void setRemainderModeActive(bool active);

    // The first row, when the dropped view is this division's divisor and it covers the shortest
    // leading part of the dividend that it divides into; else null.
    std::shared_ptr<ExprSegment> acceptDenominator(const ExprView& dropped) const;
    void movingDenominator(const ExprView& divisor);
    // Lights the dividend digits under `rect` (see highlightDigitsUnder).
    void checkHighlight(const core::Rect& rect);
    // The divisor when the point lies within half its size of it.
    std::shared_ptr<ExprViewSoloistDigits> getDenominatorViewFromPoint(core::Point point) const;
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point) const override;
    // The divisor, else the first dividend digit from `index` on within half its size of the point.
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point, uint32_t index) const;
    // None once `index` is past the dividend; else dividend digit `index` when near the point, else
    // the first near it.
    std::shared_ptr<ExprViewSoloist> getNumeratorDigitFromPoint(core::Point point, uint32_t index) const;
    std::shared_ptr<GenericLabel> getDotViewFromPoint(core::Point point) const;
    std::shared_ptr<ExprViewSoloist> getDigitViewFromPoint(core::Point point) const;
    // The quotient digit after the point under the finger while the repeating digits are marked: one
    // not yet tapped that the pattern has, else one tapped, else any on screen; of those within half
    // their size of the finger, the nearest.
    std::shared_ptr<ExprViewSoloist>
    getPatternDigitFromPoint(core::Point point, const std::vector<std::shared_ptr<ExprViewSoloist>>& tapped) const;
    // Whether the dragged view reaches into the slot right of the "r".
    bool validateRemainder(const ExprView& dragged) const;
    // A copy of the dropped number stands after the "r" and becomes the model's remainder.
    void acceptRemainder(const ExprView& dropped);
    // The bar over the dividend, as wide as the view less the divisor.
    void updateWidth();

    float getCenterXForColumn(int32_t column) const override;

    void moveTo(core::Point point, Anchor anchor) override;
    void setFontSize(float size, bool animated) override;
    float getWidth() const override;
    float getHeight() const override;
    float getPureWidth() const override;
    core::Rect getHitbox() const override;
    ViewList getViewList() const override;
    GenericViewList getGenericSubviews() const override;
    GenericViewList getBaseNodeGenericViews() const override;
    ExprPtr getExpr() const override { return m_longDivison; }
    std::string description() const override;

private:
    ExprViewLongDivision() = default;

    std::shared_ptr<ExprLongDivision> m_longDivison;
    std::shared_ptr<ExprViewSoloistDigits> m_answerView;
    std::shared_ptr<ExprViewSoloistDigits> m_numeratorView;
    std::shared_ptr<ExprViewSoloistDigits> m_denominatorView;
    std::shared_ptr<OpViewDivide> m_opViewDivide;
    std::shared_ptr<GenericLabel> m_dividerViewLeft;
    std::shared_ptr<ui::ImageView> m_dividerImage;
    std::weak_ptr<PlaygroundView> m_playgroundView;
    std::shared_ptr<ExprViewSoloist> m_remainderView;
    std::shared_ptr<GenericLabel> m_remainderLabel;
    bool m_remainderModeActive = false;
};

} // namespace zm
