#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/LDPlaygroundView.h"
#include "longdivision/PlaygroundMultiples.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/GenericView.h"

#include <algorithm>
#include <string>

namespace zm {

namespace {

// The refusal: 20 points to the left and back, one and a half times.
constexpr float kShakeDistance = 20;
constexpr double kShakeDuration = 0.1;
constexpr double kShakeRepeats = 1.5;
// The ghost acting out the next move: half seen, moving for two seconds after one, again and again.
constexpr float kGhostAlpha = 0.5f;
constexpr double kGhostDelay = 1.0;
constexpr double kGhostDuration = 2.0;
// The quotient's digits pulse while the repeating ones are sought.
constexpr double kPulseDuration = 0.5;
constexpr float kPulseAlpha = 0.5f;
// How often the digits under the sliding divisor are lit.
constexpr double kOverlapInterval = 0.1;

// Stops what runs on a view's layers: the move of a ghost.
void stopAnimations(const IGenericView& view) {
    for (const std::shared_ptr<ui::View>& platformView : view.getViewList())
        platformView->layer().removeAllAnimations();
}

// Ends a quotient digit's pulse, and only that: a digit may be rising or settling meanwhile.
void stopPulse(const IGenericView& digit) {
    for (const std::shared_ptr<ui::View>& platformView : digit.getViewList()) {
        platformView->layer().removeAnimation(ui::keyFor(ui::LayerProperty::Opacity));
        platformView->setAlpha(1);
    }
}

} // namespace

void LDPlaygroundMain::failAnimation() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host)
        return;
    host->didErrorStep();
    ViewList views;
    for (const std::shared_ptr<ExprViewSoloist>& digit : m_upDigits) {
        const ViewList own = digit->getViewList();
        views.insert(views.end(), own.begin(), own.end());
    }
    const std::weak_ptr<LDPlaygroundMain> weakSelf = std::static_pointer_cast<LDPlaygroundMain>(shared_from_this());
    ui::animate(
        {.duration = kShakeDuration,
         .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState |
                    ui::AnimationOptions::Repeat | ui::AnimationOptions::Autoreverse,
         .repeatCount = kShakeRepeats},
        [&views] {
            for (const std::shared_ptr<ui::View>& view : views) {
                const core::Point topLeft = viewPointAtPosition(*view, AnchorTopLeft);
                moveViewTo(*view, {topLeft.x - kShakeDistance, topLeft.y}, AnchorTopLeft);
            }
        },
        [weakSelf](bool) {
            const std::shared_ptr<LDPlaygroundMain> self = weakSelf.lock();
            if (!self)
                return;
            self->clearUpDigits();
            self->moveToFinalStateAnimated(true);
            if (!self->demoMode())
                self->stopGhostAnimation();
        });
}

void LDPlaygroundMain::insertSegmentsUpToNumSegment(uint32_t count, bool showModalOnFinal, bool setZeroOnFinal) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    host->popModalPlayground();
    m_longDivisionExpr->calculateSegments();
    m_nextIndex = 0;
    for (const std::shared_ptr<ExprViewSegment>& row : m_segmentViews)
        row->clear();
    m_segments.clear();
    m_segmentViews.clear();
    if (ExprViewSoloistDigits* quotient = answerView())
        quotient->clear();
    m_longDivisionExprView->setAnswerView(nullptr);
    if (count == 0) {
        resizeToFitWithSegments(false);
        moveToFinalStateAnimated(true);
        animateCorrectGhost();
        return;
    }
    for (uint32_t index = 0; index + 1 < count; ++index) {
        const ExprSegmentPtr row = m_longDivisionExpr->getSegmentAtIndex(index);
        if (!row)
            break;
        insertHorizontalSegment(row, nullptr, false, true);
        m_nextIndex += row->digitsPulledFromNumerator();
    }
    if (const ExprSegmentPtr last = m_longDivisionExpr->getSegmentAtIndex(count - 1);
        last && m_segments.size() + 1 == count) {
        if (setZeroOnFinal)
            last->setToZero();
        m_nextIndex += last->digitsPulledFromNumerator();
        insertHorizontalSegment(last, nullptr, showModalOnFinal, true);
    }
    if (m_dotPoleView->superview())
        animateDecimalUp();
    resizeToFitWithSegments(true);
    moveToPivot();
    moveToFinalStateAnimated(true);
    checkComplete();
    animateCorrectGhost();
}

uint32_t LDPlaygroundMain::nextDigitIndex(uint32_t rows) const {
    uint32_t index = 0;
    for (uint32_t row = 0; row < rows; ++row) {
        if (const ExprSegmentPtr segment = m_longDivisionExpr->getSegmentAtIndex(row))
            index += segment->digitsPulledFromNumerator();
    }
    // The digits already brought down beside the last row's difference.
    if (const ExprViewSegment* row = lastRow(); row && row->appendedRemainderView())
        index += uint32_t(row->appendedRemainderView()->digitViews().size() - row->differenceView()->digitViews().size());
    return index;
}

void LDPlaygroundMain::dropDigitForNumSegment(uint32_t index) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    ExprViewSegment* row = lastRow();
    const ExprSegmentPtr segment = m_longDivisionExpr ? m_longDivisionExpr->getSegmentAtIndex(index) : nullptr;
    if (!host || !row || !segment)
        return;
    const auto appendedValue = [row] {
        return row->appendedRemainderView() ? row->appendedRemainderView()->solo()->coef() : 0;
    };
    if (appendedValue() == segment->aboveExpr()->coef())
        return;
    const std::string digits = std::to_string(m_longDivisionExpr->numerator()->coef());
    const uint32_t next = nextDigitIndex(index);
    if (next >= digits.size())
        return;
    ++m_nextIndex;
    auto digit = ExprViewSoloist::create(ExprSoloist::soloWithCoef(digits[next] - '0'), *host);
    host->showExprView(digit.get());
    if (row->appendedRemainderView())
        row->appendedRemainderView()->clear();
    row->acceptDropDownDigit(digit);
    row->dehighlight();
    host->showExprView(row->appendedRemainderView().get());
    moveToFinalStateAnimated(false);
    if (appendedValue() < m_longDivisionExpr->denominator()->coef()) {
        auto zero = ExprViewSoloist::create(ExprSoloist::soloWithCoef(0), *host);
        zero->setNonSegmentZero(true);
        if (ExprViewSoloistDigits* quotient = answerView()) {
            quotient->appendDigitView(zero);
            host->showExprView(zero.get());
        }
        moveToPivot();
    }
    animateCorrectGhost();
}

void LDPlaygroundMain::animateCorrectGhost() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    if (!m_demoMode || host->modalVisible()) {
        stopGhostAnimation();
        // The digit on offer keeps its gold, which the stop's dehighlighting of the rows took.
        if (const auto chooser = asExactly<PlaygroundMultiples>(host->modalPlayground()); chooser && chooser->segmentView())
            chooser->segmentView()->multipleView()->setColor(chooser->goldColor());
        return;
    }
    if (m_remainderMode) {
        host->showGenericView(*m_longDivisionExprView->remainderLabel());
        // What is left moves beside the "r" until it is placed there.
        if (!m_longDivisionExprView->remainderView() && lastRow()) {
            animateGhostRemainder();
            return;
        }
    }
    stopGhostAnimation();
    const size_t rows = m_segmentViews.size();
    const ExprSegmentPtr next = m_longDivisionExpr->getSegmentAtIndex(uint32_t(rows));
    const ExprViewSegment* row = lastRow();
    if (m_longDivisionExpr->isRepeatingDecimal() && rows >= 2)
        animateGhostRepeatingDigits();
    else if (rows == 0)
        animateGhostDragOver();
    else if (next && row->appendedRemainderView() &&
             row->appendedRemainderView()->solo()->coef() == next->aboveExpr()->coef())
        animateGhostDragOver();
    else
        animateGhostDropDown();
}

std::shared_ptr<ExprViewSoloist> LDPlaygroundMain::showGhost(const std::shared_ptr<ExprSoloist>& number,
                                                            core::Point center) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (m_ghostView)
        m_ghostView->clear();
    m_ghostView = ExprViewSoloist::create(number, *host);
    m_ghostView->moveTo(center, AnchorCenter);
    m_ghostView->alterAlpha(kGhostAlpha);
    host->showExprView(m_ghostView.get());
    return m_ghostView;
}

void LDPlaygroundMain::moveGhost(const std::function<void(ExprViewSoloist&)>& move,
                                 std::function<void(bool)> completion) {
    const std::shared_ptr<ExprViewSoloist> ghost = m_ghostView;
    ui::animate({.duration = kGhostDuration, .delay = kGhostDelay, .options = ui::AnimationOptions::Repeat},
                [&] { move(*ghost); }, std::move(completion));
}

void LDPlaygroundMain::animateGhostDragOver() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    stopGhostAnimation();
    if (m_ghostTimer)
        m_ghostTimer->invalidate();
    const std::weak_ptr<LDPlaygroundMain> weakSelf = std::static_pointer_cast<LDPlaygroundMain>(shared_from_this());
    m_ghostTimer = core::Timer::schedule(core::fromSeconds(kOverlapInterval), core::Timer::Repeat::Repeating,
                                         [weakSelf](core::Timer&) {
                                             if (const auto self = weakSelf.lock())
                                                 self->checkGhostOverlap();
                                         });
    const ExprSegmentPtr first = m_longDivisionExpr->getFirstSegment();
    const auto& dividend = m_longDivisionExprView->numeratorView()->digitViews();
    const uint32_t pulled = first ? first->digitsPulledFromNumerator() : 0;
    if (pulled < 1 || pulled > dividend.size())
        return;
    const std::shared_ptr<ExprViewSoloist> target = dividend[pulled - 1];
    const ExprViewSoloistDigits& divisor = *m_longDivisionExprView->denominatorView();
    showGhost(divisor.solo(), divisor.getPointAtPosition(AnchorCenter));
    const ExprViewSegment* row = lastRow();
    std::function<void(ExprViewSoloist&)> move;
    if (!row) {
        const core::Point end = target->getPointAtPosition(AnchorMiddleRight);
        move = [end](ExprViewSoloist& ghost) { ghost.moveTo(end, AnchorTopRight); };
    } else if (row->appendedRemainderView()) {
        const core::Point end = row->appendedRemainderView()->getPointAtPosition(AnchorCenter);
        move = [end](ExprViewSoloist& ghost) { ghost.moveTo(end, AnchorTopCenter); };
    } else {
        move = [](ExprViewSoloist&) {};
    }
    moveGhost(move, [weakSelf](bool) {
        if (const auto self = weakSelf.lock(); self && self->m_longDivisionExprView)
            self->m_longDivisionExprView->dehighlight();
    });
}

void LDPlaygroundMain::animateGhostDropDown() {
    const ExprViewSegment* row = lastRow();
    if (!row)
        return;
    const uint32_t rows = uint32_t(m_segmentViews.size());
    const ExprSegmentPtr next = m_longDivisionExpr->getSegmentAtIndex(rows);
    if (next && row->appendedRemainderView() &&
        row->appendedRemainderView()->solo()->coef() == next->aboveExpr()->coef())
        return;
    const uint32_t index = nextDigitIndex(rows);
    const std::string text = std::to_string(m_longDivisionExpr->numerator()->coef());
    const auto& dividend = m_longDivisionExprView->numeratorView()->digitViews();
    if (index >= text.size() || index >= dividend.size())
        return;
    const core::Point start = dividend[index]->getPointAtPosition(AnchorCenter);
    showGhost(ExprSoloist::soloWithCoef(text[index] - '0'), start);
    const core::Point end{start.x, row->differenceView()->getPointAtPosition(AnchorCenter).y};
    moveGhost([end](ExprViewSoloist& ghost) { ghost.moveTo(end, AnchorCenter); });
}

void LDPlaygroundMain::animateGhostRepeatingDigits() {
    ExprViewSoloistDigits* quotient = answerView();
    if (!quotient)
        return;
    ViewList pulsing;
    for (const std::shared_ptr<ExprViewSoloist>& digit : quotient->digitViews()) {
        if (std::ranges::find(m_upDigits, digit) != m_upDigits.end())
            continue;
        const ViewList views = digit->getViewList();
        pulsing.insert(pulsing.end(), views.begin(), views.end());
    }
    ui::animate({.duration = kPulseDuration,
                 .options = ui::AnimationOptions::Repeat | ui::AnimationOptions::Autoreverse},
                [&pulsing] {
                    for (const std::shared_ptr<ui::View>& view : pulsing)
                        view->setAlpha(kPulseAlpha);
                });
}

void LDPlaygroundMain::animateGhostRemainder() {
    const ExprViewSegment* row = lastRow();
    if (!row)
        return;
    // What is left: the appended number once digits are brought down, else the difference.
    const ExprViewSoloistDigits& left = row->workingView();
    showGhost(left.solo(), left.getPointAtPosition(AnchorCenter));
    const core::Rect label = m_longDivisionExprView->remainderLabel()->getHitbox();
    const core::Point end{label.midX() + label.width(), label.midY()};
    moveGhost([end](ExprViewSoloist& ghost) { ghost.moveTo(end, AnchorCenter); });
}

void LDPlaygroundMain::stopGhostAnimation() {
    if (m_ghostTimer)
        m_ghostTimer->invalidate();
    m_ghostTimer = nullptr;
    if (m_ghostView) {
        stopAnimations(*m_ghostView);
        m_ghostView->clear();
        m_ghostView = nullptr;
    }
    for (const std::shared_ptr<ExprViewSegment>& row : m_segmentViews)
        row->dehighlight();
    for (const std::shared_ptr<ExprViewSoloist>& digit : m_upDigits)
        digit->highlight();
    if (ExprViewSoloistDigits* quotient = answerView()) {
        for (const std::shared_ptr<ExprViewSoloist>& digit : quotient->digitViews())
            stopPulse(*digit);
    }
}

void LDPlaygroundMain::checkGhostOverlap() {
    if (!m_ghostView || !m_longDivisionExprView)
        return;
    core::Rect ghost = core::Rect::null();
    for (const std::shared_ptr<ui::View>& view : m_ghostView->getViewList())
        ghost = ghost.united(view->presentationFrame());
    if (ExprViewSegment* row = lastRow()) {
        row->checkHighlight(ghost);
        const core::Rect appended =
            row->appendedRemainderView() ? row->appendedRemainderView()->getHitbox() : core::Rect{};
        if (!ghost.intersects(appended))
            row->dehighlight();
        return;
    }
    m_longDivisionExprView->checkHighlight(ghost);
    if (!ghost.intersects(m_longDivisionExprView->numeratorView()->getHitbox()))
        m_longDivisionExprView->dehighlight();
}

} // namespace zm
