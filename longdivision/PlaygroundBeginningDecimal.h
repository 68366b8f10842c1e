#pragma once

#include "longdivision/views/ExprViewLongDivision.h"
#include "platform/core/Geometry.h"
#include "playground/Playground.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ui {
class Button;
}

namespace zm {

class GenericLabel;
class LDPlaygroundMain;
class LDPlaygroundView;
class OpSlider;

// The modal step that comes first when the divisor has a decimal point: one slider moves the
// divisor's point to the end of the divisor and, in the same stroke, the dividend's point as many
// places right. Two free-standing points stand in for the numbers' own; as the slider moves each
// glides on a low arc from gap to gap of its number, the numbers' points following the nearest gap,
// and letting go snaps both to it. "✓" takes only the slider at its right end, the divisor whole;
// anything else shakes the two points with the error feedback.
//
// Gaps are numbered as the digit rows number their points: gap i follows the first i digits. A
// dividend without a point has it after its last digit; gaps left of its first digit lie a column
// apart, and a point taken past its last digit brings a 0 for every gap crossed when "✓" makes the
// divisor whole, as decimal places do.
//
// Made by the long-division host view (or the playground) and shown over the veil; it leaves through
// the host's popModalPlayground. Main thread only.
class PlaygroundBeginningDecimal : public Playground {
public:
    static std::shared_ptr<PlaygroundBeginningDecimal> create(LDPlaygroundView& playgroundView,
                                                              std::shared_ptr<LDPlaygroundMain> mainPlayground);

    std::shared_ptr<LDPlaygroundView> pView() const { return m_pView.lock(); }
    const std::shared_ptr<LDPlaygroundMain>& mainPlayground() const { return m_mainPlayground; }
    const std::shared_ptr<ExprViewLongDivision>& longDivisionExprView() const { return m_longDivisionExprView; }
    const std::shared_ptr<OpSlider>& slider() const { return m_slider; }
    const std::shared_ptr<ui::Button>& goButton() const { return m_goButton; }
    const std::shared_ptr<GenericLabel>& denomDotView() const { return m_denomDotView; }
    const std::shared_ptr<GenericLabel>& numerDotView() const { return m_numerDotView; }
    const std::vector<core::Point>& denomPoints() const { return m_denomPoints; }
    const std::vector<core::Point>& numerPoints() const { return m_numerPoints; }
    // The dividend's gap less the divisor's.
    int32_t offset() const { return m_offset; }

    void drawInitialState() override;
    void moveToFinalStateAnimated(bool) override { moveToPivot(); }
    // Places the button, the slider and the two points, and measures the gaps of both numbers.
    void moveToPivot();
    void clear() override;

    // The slider's actions: while it moves, and when it is let go.
    void sliderChanged();
    void letGoSlider();
    // The action of "✓".
    void hitGo();
    // The error feedback, and a shake of both points.
    void failAnimation();

    // Where a point stands at slider value `value` on the path through `points` (between `first` and
    // `second` when no gap is found): on a low arc between the two gaps around it. Moves the number's
    // point to the nearest gap.
    core::Point getPositionAtPercentageThrough(float value, core::Point first, core::Point second,
                                               const std::vector<core::Point>& points);
    // The divisor's point to its gap `index` (for `denomPoints`), or the dividend's to `index` +
    // offset (for `numerPoints`, laid out again).
    void updateDotPosition(int32_t index, const std::vector<core::Point>& points);
    // Snaps a point to the nearest gap of `points` and the slider with it.
    void positionView(GenericLabel& label, const std::vector<core::Point>& points);

private:
    PlaygroundBeginningDecimal(LDPlaygroundView& playgroundView, std::shared_ptr<LDPlaygroundMain> mainPlayground);

    ExprViewSoloistDigits& divisor() const { return *m_longDivisionExprView->denominatorView(); }
    ExprViewSoloistDigits& dividend() const { return *m_longDivisionExprView->numeratorView(); }

    std::shared_ptr<OpSlider> m_slider;
    std::weak_ptr<LDPlaygroundView> m_pView;
    std::shared_ptr<LDPlaygroundMain> m_mainPlayground;
    std::shared_ptr<ExprViewLongDivision> m_longDivisionExprView;
    std::shared_ptr<ui::Button> m_goButton;
    std::shared_ptr<GenericLabel> m_denomDotView;
    std::shared_ptr<GenericLabel> m_numerDotView;
    core::Point m_denomLeftPoint;
    core::Point m_denomRightPoint;
    core::Point m_numerLeftPoint;
    core::Point m_numerRightPoint;
    std::vector<core::Point> m_denomPoints;
    std::vector<core::Point> m_numerPoints;
    int32_t m_offset = 0;
};

} // namespace zm
