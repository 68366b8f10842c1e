// The moves the automatic player makes inside the modal playgrounds its taps open.

#include "model/ExprProduct.h"
#include "platform/core/OperationQueue.h"
#include "playground/PlaygroundDistribute.h"
#include "playground/PlaygroundExponents.h"
#include "playground/PlaygroundFactorizeChoices.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/AIExecutor.h"
#include "playground/executors/QVStraightPath.h"
#include "playground/executors/TouchCircleView.h"
#include "playground/views/ExprView.h"
#include "playground/views/OpSlider.h"

#include <cmath>

namespace zm {

namespace {

// The slider is taken this far inside its start end.
constexpr float kSliderInset = 10;
// The slider runs in steps of this much, to a little past its end so that it surely gets there.
constexpr double kSliderStep = 0.01;
constexpr float kSliderEnd = 1.01f;
constexpr double kSettlePause = 0.5;

} // namespace

std::vector<float> AIExecutor::sliderPositions() {
    std::vector<float> positions;
    for (float t = 0; t <= kSliderEnd; t = float(double(t) + kSliderStep))
        positions.push_back(t);
    return positions;
}

bool AIExecutor::playModalMove() {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    const std::shared_ptr<Playground> modal = view ? view->modalPlayground() : nullptr;
    if (auto choices = asExactly<PlaygroundFactorizeChoices>(modal)) {
        tapFactorChoice(*choices);
        return true;
    }
    if (auto distribute = asExactly<PlaygroundDistribute>(modal)) {
        dragSlider(distribute);
        return true;
    }
    if (isExactly<PlaygroundExponents>(modal)) {
        executeExponents();
        return true;
    }
    return false;
}

void AIExecutor::tapFactorChoice(const PlaygroundFactorizeChoices& playground) {
    std::shared_ptr<ExprView> choice;
    for (const std::shared_ptr<ExprView>& candidate : playground.choices()) {
        const ExprPtr pair = candidate->getExpr();
        if (m_replacement && pair && pair->isEquivalent(*m_replacement)) {
            choice = candidate;
            break;
        }
    }
    const std::shared_ptr<GenericScrollView>& scroller = playground.scroller();
    if (!choice || !scroller) {
        cancelAnimations();
        return;
    }
    const core::Point center = choice->getPointAtPosition(AnchorCenter);
    const float width = choice->getWidth();
    const float right = center.x + width / 2;
    scroller->scrollRectToVisible({right, center.y, 1, 1}, true);
    // A pair beyond the strip's visible width is tapped where scrolling brings it.
    const float visibleWidth = scroller->bounds().width();
    tapPoint({right > visibleWidth ? visibleWidth - width / 2 : center.x, center.y});
    m_replacement = nullptr;
}

void AIExecutor::dragSlider(const std::shared_ptr<PlaygroundDistribute>& playground) {
    const std::shared_ptr<OpSlider>& slider = playground->slider();
    if (!slider)
        return;
    const bool rightwards = playground->dirRight();
    const core::Point left = slider->getPointAtPosition(AnchorMiddleLeft);
    const core::Point right = slider->getPointAtPosition(AnchorMiddleRight);
    const QVStraightPath path = rightwards ? QVStraightPath({left.x + kSliderInset, left.y}, right)
                                           : QVStraightPath({right.x - kSliderInset, right.y}, left);
    const double pause = std::abs(path.endPoint().x - path.startPoint().x) / kFingerSpeed / 100;

    beginGesture();
    moveStraightToPoint(path.startPoint());
    touchDownAtPoint(path.startPoint());
    delay(kSettlePause);
    for (const float t : sliderPositions()) {
        m_queue->addOperation([weakSelf = weak_from_this(), weakPlayground = std::weak_ptr(playground), t,
                               finger = path.pointAtPercentageThrough(t), rightwards] {
            auto self = weakSelf.lock();
            auto distribute = weakPlayground.lock();
            if (!self || !distribute)
                return;
            distribute->slider()->setValue(rightwards ? t : 1 - t);
            distribute->sliderChanged();
            self->m_indicatorView->setCenter(self->convertPoint(finger));
        });
        delay(pause);
    }
    touchUpAtPoint(path.endPoint());
    delay(kSettlePause);
    finalCall();
    m_currentPoint = convertPoint(path.endPoint());
    endGesture();
}

} // namespace zm
