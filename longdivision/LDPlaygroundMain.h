#pragma once

#include "longdivision/model/ExprLongDivision.h"
#include "longdivision/views/ColumnGrid.h"
#include "longdivision/views/ExprViewLongDivision.h"
#include "longdivision/views/ExprViewSegment.h"
#include "platform/core/Timer.h"
#include "playground/PlaygroundDelegate.h"
#include "playground/PlaygroundMain.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {
class Button;
class Label;
class View;
} // namespace ui

namespace zm {

class LDPlaygroundView;

// Where a division stands while it is worked: rows being worked, or the repeating digits sought.
enum LDProblemState : int32_t {
    LDProblemStateFindingPattern = 6,
    LDProblemStateWorking = 7,
};

// The main playground of a long division: the user works it the schoolbook way, by touch. Drag the
// divisor over the leading digits of the dividend and a subtraction row is added, its digit chosen in
// the multiples chooser; drag the next dividend digit down beside the last difference; drag the
// divisor over the new partial dividend for the next row; at the end drag the last difference beside
// the quotient as the remainder, or go on into decimal places and mark the repeating digits.
//
// It lays the division out on the dividend's digit columns (quotient digit k over dividend digit k,
// each row's last digit under the last digit it brought down), sized to the host view. Its progress is
// written into the long division, from which the host view rebuilds a division shown again.
//
// The host view owns it and makes a new one for every problem. Main thread only.
class LDPlaygroundMain : public PlaygroundMain, public ColumnGrid {
public:
    // A playground for `playgroundView`, its Go button wired to it.
    static std::shared_ptr<LDPlaygroundMain> create(LDPlaygroundView& playgroundView);
    explicit LDPlaygroundMain(LDPlaygroundView& playgroundView);
    ~LDPlaygroundMain() override;

    // The host view; null once it is gone.
    std::shared_ptr<LDPlaygroundView> pView() const;

    const std::shared_ptr<ExprLongDivision>& longDivisionExpr() const { return m_longDivisionExpr; }
    // A new problem: its view is made and touches are on. The same problem again changes nothing.
    void setLongDivisionExpr(std::shared_ptr<ExprLongDivision> longDivision);
    const std::shared_ptr<ExprViewLongDivision>& longDivisionExprView() const { return m_longDivisionExprView; }
    LDProblemState problemState() const { return m_problemState; }
    const std::vector<std::shared_ptr<ExprSegment>>& segments() const { return m_segments; }
    const std::vector<std::shared_ptr<ExprViewSegment>>& segmentViews() const { return m_segmentViews; }
    // The chooser of a row's digit rebuilds the row's view with every count.
    std::vector<std::shared_ptr<ExprViewSegment>>& mutableSegmentViews() { return m_segmentViews; }
    uint32_t hideNumSegments() const { return m_hideNumSegments; }
    const std::shared_ptr<GenericLabel>& answerDotView() const { return m_answerDotView; }
    // The index among the dividend's digits of the next one that may be brought down.
    uint32_t nextIndex() const { return m_nextIndex; }
    void setNextIndex(uint32_t index) { m_nextIndex = index; }
    // Hears what the user did (a row started, a digit or the remainder dropped, a digit chosen, the
    // point shifted, the pattern found); not owned.
    std::shared_ptr<PlaygroundDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PlaygroundDelegate> delegate) { m_delegate = std::move(delegate); }
    bool demoMode() const { return m_demoMode; }
    void setDemoMode(bool demoMode) { m_demoMode = demoMode; }
    bool remainderMode() const { return m_remainderMode; }
    void setRemainderMode(bool remainderMode) { m_remainderMode = remainderMode; }
    bool decimalMode() const { return m_decimalMode; }
    void setDecimalMode(bool decimalMode) { m_decimalMode = decimalMode; }
    const std::shared_ptr<OpViewDivide>& repeatingDecimalLineView() const { return m_repeatingDecimalLineView; }
    void setRepeatingDecimalLine(std::shared_ptr<OpViewDivide> bar, uint32_t startIndex, uint32_t endIndex);
    uint32_t answerRepeatingStartIndex() const { return m_answerRepeatingStartIndex; }
    uint32_t answerRepeatingEndIndex() const { return m_answerRepeatingEndIndex; }
    // The band through the dividend's point: dragging the divisor across it lifts the point.
    const std::shared_ptr<ui::View>& dotPoleView() const { return m_dotPoleView; }
    const std::vector<std::shared_ptr<ExprViewSoloist>>& upDigits() const { return m_upDigits; }
    const std::vector<std::shared_ptr<OpViewDivide>>& lineSegments() const { return m_lineSegments; }
    const std::shared_ptr<ui::Button>& repeatingGoButton() const { return m_repeatingGoButton; }
    const std::shared_ptr<ui::Label>& patternLabel() const { return m_patternLabel; }
    const std::shared_ptr<ExprViewSoloist>& ghostView() const { return m_ghostView; }

    // Set-up and layout.
    void drawInitialState() override;
    void moveToPivot() { moveToPivotOffsetX(0); }
    // Lays everything out, the division's centre `offsetX` off the host's middle.
    void moveToPivotOffsetX(float offsetX);
    // Laid out at once, or over 0.4 s.
    void moveToFinalStateAnimated(bool animated) override;
    void clear() override;
    core::Size getContentSize() const override;
    float getCenterXForColumn(int32_t column) const override;
    float xPosAtColumn(uint32_t column) const;
    float yPosAtRow(uint32_t row) const;

    // Adds a subtraction row with its quotient digits (the row's digit filled in or 0), laid out, and
    // opens the multiples chooser for it when asked. Null adds nothing.
    void insertHorizontalSegment(const std::shared_ptr<ExprSegment>& segment, Baggage* bag, bool showModal,
                                 bool solveSegments);
    // Sizes the host's font so the division (with its rows, and room for the chooser's buttons when
    // asked) fits the host view.
    void calculateFontSize(bool withSegments, bool spaceForButtons);
    void resizeToFitWithSegments(bool withSegments, bool spaceForButtons = false);
    void removeDecimals();
    void insertRemainder();
    void showDecimalPlayground();
    // The leading zeros the quotient takes before the first row's digit.
    uint32_t calculateDigitDifference() const;

    // Touches.
    void touchBegan(core::Point point) override;
    bool touchMoved(core::Point point) override;
    bool touchEnded(core::Point point) override;

    // Completion, remainder, decimals and the repeating pattern.
    void checkComplete();
    bool allOriginalDigitsUsed() const;
    void startRemainderMode();
    void startDecimalMode();
    void appendZeroToNumerator();
    // A 0 after the dividend's last digit, in its view and in the model, whose rows are built again.
    void appendZeroToDividend();
    void animateDecimalUp();
    void placeFindPatternLabel();
    bool eligibleForRepeating() const;
    void findPattern();
    void checkRepeating();
    void moveSolo(const std::shared_ptr<ExprViewSoloist>& digit);
    void clearUpDigits();

    // Failures, replay and demonstration hints.
    void failAnimation();
    void insertSegmentsUpToNumSegment(uint32_t count, bool showModalOnFinal, bool setZeroOnFinal);
    void dropDigitForNumSegment(uint32_t index);
    // Demonstration hints: a half-seen ghost acts out the next move after every step, again and again
    // until the user acts (see the source for the choice).
    void animateCorrectGhost();
    void animateGhostDragOver();
    void animateGhostDropDown();
    void animateGhostRepeatingDigits();
    void animateGhostRemainder();
    void stopGhostAnimation();
    // Lights the digits the sliding divisor's ghost covers on screen now.
    void checkGhostOverlap();
    const std::shared_ptr<core::Timer>& ghostTimer() const { return m_ghostTimer; }

private:
    // Sends `message` to the delegate when it takes it.
    template <class Send> void tell(PlaygroundMessage message, Send send) const {
        if (const std::shared_ptr<PlaygroundDelegate> receiver = delegate(); receiver && receiver->respondsTo(message))
            send(*receiver);
    }
    // The quotient row, when there is one.
    ExprViewSoloistDigits* answerView() const;
    // The quotient's digits read as one number (decimal places included); 0 without a quotient.
    int32_t quotientValue() const;
    // The dividend's digits after its point; none without a point.
    int32_t decimalPlaces() const;
    // Whether the decimal-point shifter is open on the host.
    bool shifterOpen() const;
    ExprViewSegment* lastRow() const;
    // The size of a pressed or dragged number: a little larger than the rest.
    float heldFontSize() const;
    // What a drag starting at `point` picks up: the divisor, the next (or any) dividend digit, or in
    // remainder mode the last row's working number.
    std::shared_ptr<ExprView> pieceToPickUp(core::Point point) const;
    // Brings the dragged dividend digit down into `row` when it is the next digit, dropped in the
    // row's slot while the row's number is still below the divisor; answers whether it did.
    bool bringDown(const std::shared_ptr<ExprView>& digit, ExprViewSegment& row);
    // The index among the dividend's digits of the next digit to bring down after `rows` rows: those
    // the rows took, and those brought down beside the last row's difference since.
    uint32_t nextDigitIndex(uint32_t rows) const;
    // A new ghost of `number` centred on `center`, half seen, in place of the old one.
    std::shared_ptr<ExprViewSoloist> showGhost(const std::shared_ptr<ExprSoloist>& number, core::Point center);
    // Moves the ghost after a second, over two seconds, starting again from where it stood each time.
    void moveGhost(const std::function<void(ExprViewSoloist&)>& move, std::function<void(bool)> completion = {});
    // The end of every drop that leaves the playground as it was: the dragged number back to size,
    // everything gliding into place.
    bool settleDrop(ExprView& held);

    std::shared_ptr<ExprLongDivision> m_longDivisionExpr;
    std::shared_ptr<ExprViewLongDivision> m_longDivisionExprView;
    LDProblemState m_problemState = LDProblemState(0);
    std::vector<std::shared_ptr<ExprSegment>> m_segments;
    std::vector<std::shared_ptr<ExprViewSegment>> m_segmentViews;
    uint32_t m_hideNumSegments = 0;
    std::shared_ptr<GenericLabel> m_answerDotView;
    uint32_t m_nextIndex = 0;
    std::weak_ptr<PlaygroundDelegate> m_delegate;
    std::shared_ptr<ExprViewSoloist> m_ghostView;
    std::shared_ptr<core::Timer> m_ghostTimer;
    bool m_demoMode = false;
    bool m_remainderMode = false;
    bool m_decimalMode = false;
    std::shared_ptr<OpViewDivide> m_repeatingDecimalLineView;
    uint32_t m_answerRepeatingStartIndex = 0;
    uint32_t m_answerRepeatingEndIndex = 0;
    std::shared_ptr<ui::View> m_dotPoleView;
    std::vector<std::shared_ptr<ExprViewSoloist>> m_upDigits;
    std::vector<std::shared_ptr<OpViewDivide>> m_lineSegments;
    std::shared_ptr<ui::Button> m_repeatingGoButton;
    std::shared_ptr<ui::Label> m_patternLabel;
};

} // namespace zm
