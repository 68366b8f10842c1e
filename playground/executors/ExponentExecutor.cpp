#include "playground/executors/ExponentExecutor.h"

#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/solver/SolverNode.h"
#include "playground/PlaygroundExponents.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/QVStraightPath.h"
#include "playground/views/IGenericView.h"

#include <algorithm>

namespace zm {

namespace {

// A sign is tapped this many spacing units above its centre.
constexpr float kTimesTapLift = 2;
// The finger works the row this many spacing units below the playground's pivot.
constexpr float kRowDepth = 3;
// One nudge of the row, in points, made of this many touch moves at half the finger's speed.
constexpr float kNudge = 20;
constexpr double kNudgeStep = 0.05;
// The pause after the lift at the goals, and before squeezing a product's row.
constexpr double kRowPause = 1.0;
// The pause after the press that starts the nudging.
constexpr double kPressPause = 0.5;

} // namespace

bool ExponentExecutor::isQuotient() const {
    return isExactly<ExprQuotient>(mainExpr());
}

void ExponentExecutor::progressStep() {
    AIExecutor::progressStep();
    if (isExactly<ExprProduct>(mainExpr()))
        playProduct();
    else if (isQuotient())
        playQuotient();
    else
        cancelAnimations();
}

void ExponentExecutor::mixStep() {
    AIExecutor::mixStep();
    progressStep();
}

void ExponentExecutor::failStep() {
    AIExecutor::failStep();
    progressStep();
}

void ExponentExecutor::playProduct() {
    const auto product = asExactly<ExprProduct>(mainExpr());
    for (const OperatorPtr& op : product->ops()) {
        const auto times = asExactly<OpTimes>(op);
        if (!times || !PlaygroundExponents::doesOpTimesQualify(*times))
            continue;
        const std::shared_ptr<IGenericView> view = opViewForOp(times.get());
        const core::Point center = view ? view->getPointAtPosition(AnchorCenter) : core::Point{};
        const std::shared_ptr<PlaygroundView> host = playgroundView();
        tapPoint({center.x, center.y - kTimesTapLift * (host ? host->space() : 0)});
        return;
    }
    cancelAnimations();
}

void ExponentExecutor::playQuotient() {
    const auto quotient = asExactly<ExprQuotient>(mainExpr());
    const auto top = asExactly<ExprSoloist>(quotient->firstExpr());
    const auto bottom = asExactly<ExprSoloist>(quotient->secondExpr());
    if (top && bottom) {
        // The larger power is split so that its right part equals the smaller one.
        const int32_t a = top->exponent();
        const int32_t b = bottom->exponent();
        if (a == b) {
            cancelAnimations();
            return;
        }
        m_rightGoal = std::min(a, b);
        m_leftGoal = std::max(a, b) - std::min(a, b);
        tapPoint(centerOfExpr(a > b ? top.get() : bottom.get()));
        return;
    }
    const std::vector<StepPtr> eliminations = SolverNode::eliminationStepsForExprQuotient(*quotient);
    if (std::shared_ptr<Step> elimination = randomElement(eliminations))
        animateStep(elimination);
    else
        cancelAnimations();
}

void ExponentExecutor::executeExponents() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const auto playground = asExactly<PlaygroundExponents>(host ? host->modalPlayground() : nullptr);
    if (!playground)
        return;
    if (isQuotient())
        splitPower(playground);
    else
        squeezeRow(*playground);
}

void ExponentExecutor::splitPower(const std::shared_ptr<const PlaygroundExponents>& playground) {
    // A new playground starts with the finger up.
    if (m_splitPlayground.lock() != playground) {
        m_splitPlayground = playground;
        m_dragging = false;
        m_letGo = false;
    }
    if (m_rightGoal == playground->rightExponentNumber() && m_leftGoal == playground->leftExponentNumber()) {
        if (m_letGo) {
            // The tap that writes the split row into the fraction.
            progressStep();
            return;
        }
        m_letGo = true;
        beginGesture();
        touchUpAtPoint(m_nudgePoint);
        delay(kRowPause);
        finalCall();
        endGesture();
        return;
    }
    const float space = playgroundView()->space();
    if (!m_dragging) {
        const core::Point pivot = playground->ogPivot();
        m_nudgePoint = {pivot.x, pivot.y + kRowDepth * space};
    }
    // Right while the right part is still too large, then left to let the left part grow.
    const float dx = playground->rightExponentNumber() == m_rightGoal ? -kNudge : kNudge;
    const QVStraightPath path(m_nudgePoint, {m_nudgePoint.x + dx, m_nudgePoint.y});
    beginGesture();
    if (!m_dragging) {
        moveStraightToPoint(path.startPoint());
        touchDownAtPoint(path.startPoint());
        delay(kPressPause);
        m_dragging = true;
    }
    addShortPathToQueue(path);
    m_nudgePoint = path.endPoint();
    setCurrentPoint(convertPoint(path.endPoint()));
    finalCall();
    endGesture();
}

void ExponentExecutor::squeezeRow(const PlaygroundExponents& playground) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const float depth = kRowDepth * host->space();
    const core::Point pivot = playground.ogPivot();
    const core::Rect bounds = host->bounds();
    // Across the whole row, to the playground view's right edge.
    const QVStraightPath path({pivot.x, pivot.y + depth}, {bounds.maxX(), bounds.midY() + depth});
    dragAlongPath(path, 0, kRowPause);
}

void ExponentExecutor::addShortPathToQueue(const QVStraightPath& path) {
    addPathMoves(path, kNudgeStep, path.distance() / kFingerSpeed * 2 * kNudgeStep);
}

} // namespace zm
