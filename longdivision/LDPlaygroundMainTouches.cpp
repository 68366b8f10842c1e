#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/LDPlaygroundView.h"
#include "platform/ui/ViewAnimation.h"

namespace zm {

namespace {

// A press enlarges the number under the finger, and so does a pick-up: it shows what is held.
constexpr double kHeldScale = 1.2;
// A horizontal travel that sets the drag's direction and its last decided point.
constexpr float kDirectionTravel = 15;
// The dragged number follows the finger in short straight moves.
constexpr double kRideDuration = 0.05;
constexpr double kFadeInDuration = 0.5;

} // namespace

float LDPlaygroundMain::heldFontSize() const {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    return host ? float(kHeldScale * double(host->baseFontSize())) : 0;
}

ExprViewSegment* LDPlaygroundMain::lastRow() const {
    return m_segmentViews.empty() ? nullptr : m_segmentViews.back().get();
}

void LDPlaygroundMain::touchBegan(core::Point point) {
    stopGhostAnimation();
    if (!m_longDivisionExprView)
        return;
    std::shared_ptr<ExprView> pressed = m_longDivisionExprView->getExprViewFromPoint(point, m_nextIndex);
    if (!pressed && lastRow())
        pressed = lastRow()->getExprViewFromPoint(point);
    if (!pressed)
        return;
    pressed->setFontSize(heldFontSize(), false);
    pressed->moveTo(pressed->getPointAtPosition(AnchorCenter), AnchorCenter);
}

std::shared_ptr<ExprView> LDPlaygroundMain::pieceToPickUp(core::Point point) const {
    const ExprViewLongDivision& division = *m_longDivisionExprView;
    if (auto divisor = division.getDenominatorViewFromPoint(point))
        return divisor;
    if (auto digit = division.getNumeratorDigitFromPoint(point, m_nextIndex))
        return digit;
    // A quick finger may have left the digit before the first move: where the drag was last decided.
    if (auto digit = division.getNumeratorDigitFromPoint(lastPoint(), m_nextIndex))
        return digit;
    if (m_remainderMode && lastRow())
        return lastRow()->getRemainderViewFromPoint(point);
    return nullptr;
}

bool LDPlaygroundMain::touchMoved(core::Point point) {
    if (lastPoint() == core::Point{})
        setLastPoint(point);
    if (agentTriggerPoint() == core::Point{})
        setAgentTriggerPoint(point);
    if (point.x - lastPoint().x >= kDirectionTravel) {
        setLastPoint(point);
        setCurrentDir({1, currentDir().y});
    } else if (lastPoint().x - point.x >= kDirectionTravel) {
        setLastPoint(point);
        setCurrentDir({-1, currentDir().y});
    }

    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return false;
    if (!agentExprView()) {
        std::shared_ptr<ExprView> piece = pieceToPickUp(point);
        if (!piece)
            return false;
        setAgentTriggerPoint({});
        piece->setColor(host->expressionColor());
        setAgentExprView(piece);
        m_longDivisionExprView->setFontSize(host->baseFontSize(), false);
        piece->setFontSize(heldFontSize(), false);
        host->showExprView(piece.get());
    }

    const std::shared_ptr<ExprView> held = agentExprView();
    const float height = held->getHeight();
    ui::animate({.duration = kRideDuration,
                 .options = ui::AnimationOptions::BeginFromCurrentState,
                 .curve = ui::AnimationCurve::Linear},
                [&] { held->moveTo({point.x, point.y - height / 2}, AnchorCenter); });

    if (held == m_longDivisionExprView->denominatorView()) {
        if (ExprViewSegment* row = lastRow())
            row->movingDenominator(*held);
        else
            m_longDivisionExprView->movingDenominator(*held);
        if (held->getHitbox().intersects(m_dotPoleView->frame()) && m_dotPoleView->superview())
            animateDecimalUp();
    }
    return true;
}

bool LDPlaygroundMain::touchEnded(core::Point point) {
    setAgentTriggerPoint({});
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return true;
    ExprViewLongDivision& division = *m_longDivisionExprView;
    const std::shared_ptr<ExprView> held = agentExprView();

    if (!held) {
        // A tap: a quotient digit after the point is raised or lowered while the repeating digits are
        // marked; anything else only undoes a press.
        if (m_longDivisionExpr->isRepeatingDecimal()) {
            if (auto digit = division.getPatternDigitFromPoint(point, m_upDigits)) {
                digit->highlight();
                moveSolo(digit);
                digit->setFontSize(host->baseFontSize(), false);
                return true;
            }
        }
        division.setFontSize(host->baseFontSize(), false);
        animateCorrectGhost();
        return true;
    }

    if (held == division.denominatorView()) {
        if (ExprViewSegment* row = lastRow()) {
            if (auto next = row->droppedDenominator(*division.denominatorView())) {
                tell(PlaygroundMessage::DraggedOver, [](PlaygroundDelegate& d) { d.draggedOver(); });
                const std::shared_ptr<ExprViewSegment> former = m_segmentViews.back();
                insertHorizontalSegment(next, nullptr, true, false);
                former->dehighlight();
                held->setFontSize(host->baseFontSize(), false);
                setAgentExprView(nullptr);
                animateCorrectGhost();
                return false;
            }
            row->dehighlight();
        } else {
            if (auto first = division.acceptDenominator(*held)) {
                tell(PlaygroundMessage::DraggedOver, [](PlaygroundDelegate& d) { d.draggedOver(); });
                insertHorizontalSegment(first, nullptr, true, false);
                if (!m_segmentViews.empty())
                    m_nextIndex = uint32_t(m_segmentViews.front()->aboveView()->digitViews().size());
            }
            division.dehighlight();
        }
        return settleDrop(*held);
    }

    if (m_remainderMode) {
        if (!division.validateRemainder(*held))
            return settleDrop(*held);
        division.acceptRemainder(*held);
        held->setFontSize(host->baseFontSize(), false);
        resizeToFitWithSegments(true);
        moveToFinalStateAnimated(true);
        checkComplete();
        tell(PlaygroundMessage::DroppedRemainder, [](PlaygroundDelegate& d) { d.droppedRemainder(); });
        setAgentExprView(nullptr);
        return false;
    }

    // A dividend digit: brought down into the last row, or back among the dividend's digits.
    ExprViewSegment* row = lastRow();
    const bool broughtDown = row && bringDown(held, *row);
    if (!row || isExactly<ExprViewSoloist>(held)) {
        held->clear();
        division.numeratorView()->clear();
        host->showExprView(division.numeratorView().get());
    }
    if (broughtDown)
        checkComplete();
    return settleDrop(*held);
}

bool LDPlaygroundMain::bringDown(const std::shared_ptr<ExprView>& digit, ExprViewSegment& row) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    const auto& dividend = m_longDivisionExprView->numeratorView()->digitViews();
    uint32_t index = 0;
    for (size_t k = 0; k < dividend.size(); ++k) {
        if (dividend[k]->getObj() == digit->getObj())
            index = uint32_t(k);
    }
    const int64_t divisor = m_longDivisionExprView->longDivison()->denominator()->coef();
    const auto workingValue = [&row] {
        return row.appendedRemainderView() ? int64_t(row.appendedRemainderView()->solo()->coef()) : 0;
    };
    const bool slot = row.validateDropDownDigit(*digit);
    if (index != m_nextIndex || workingValue() >= divisor || !slot || !isExactly<ExprViewSoloist>(digit))
        return false;

    ++m_nextIndex;
    const auto copy = std::static_pointer_cast<ExprViewSoloist>(digit)->copyWithPlaygroundView(*host);
    host->showExprView(copy.get());
    copy->moveTo(copy->getPointAtPosition(AnchorTopLeft), AnchorTopLeft);
    if (row.appendedRemainderView())
        row.appendedRemainderView()->clear();
    row.acceptDropDownDigit(copy);
    row.dehighlight();
    host->showExprView(row.appendedRemainderView().get());
    // The dividend's own digit stays where it is and shows again there.
    digit->alterAlpha(0);
    const ViewList views = digit->getViewList();
    ui::animate({.duration = kFadeInDuration}, [&views] {
        for (const std::shared_ptr<ui::View>& view : views)
            view->setAlpha(1);
    });
    tell(PlaygroundMessage::DroppedDigit, [](PlaygroundDelegate& d) { d.droppedDigit(); });
    clearUpDigits();
    if (workingValue() < m_longDivisionExpr->denominator()->coef()) {
        // Too small for a row of its own: the quotient takes a 0 for this digit.
        auto zero = ExprViewSoloist::create(ExprSoloist::soloWithCoef(0), *host);
        zero->setNonSegmentZero(true);
        if (ExprViewSoloistDigits* quotient = answerView()) {
            quotient->appendDigitView(zero);
            host->showExprView(zero.get());
        }
        moveToPivot();
    }
    return true;
}

bool LDPlaygroundMain::settleDrop(ExprView& held) {
    if (const std::shared_ptr<LDPlaygroundView> host = pView())
        held.setFontSize(host->baseFontSize(), false);
    setAgentExprView(nullptr);
    moveToFinalStateAnimated(true);
    animateCorrectGhost();
    return true;
}

void LDPlaygroundMain::insertRemainder() {
    stopGhostAnimation();
    if (!m_longDivisionExprView || !lastRow())
        return;
    m_longDivisionExprView->acceptRemainder(lastRow()->workingView());
    resizeToFitWithSegments(true);
    moveToFinalStateAnimated(true);
}

} // namespace zm
