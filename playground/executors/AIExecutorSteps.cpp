// How the automatic player turns a step into a finger gesture on the main playground.

#include "model/ExprEquation.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/steps/StepAdd.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepDistribute.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepMultiply.h"
#include "model/steps/StepTranspose.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/AIExecutor.h"
#include "playground/executors/QVCurvedPath.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/ExprViewBinary.h"

namespace zm {

namespace {

// A sign is tapped this many spacing units above its centre, where a finger does not cover it.
constexpr float kTimesTapLift = 2;
// A line through a term starts and ends this share of the term's size outside it.
constexpr float kLineOvershoot = 0.075f;
// The distribution playground opened by a tap gets this much longer before its slider is dragged.
constexpr double kDistributionPause = 1.5;
// How long the finger holds at the end of a factor-out drag.
constexpr double kFactorOutHold = 0.5;

// A view's hit box grown on every side by a share of its size.
core::Rect grownHitbox(const IGenericView& view) {
    return view.getHitbox().insetBy(-view.getWidth() * kLineOvershoot, -view.getHeight() * kLineOvershoot);
}

} // namespace

void AIExecutor::animateStep(const std::shared_ptr<Step>& step) {
    placeIndicatorIfNeeded();
    if (auto add = asExactly<StepAdd>(step)) {
        tapPoint(centerOfObj(add->plus().get()));
    } else if (auto multiply = asExactly<StepMultiply>(step)) {
        const core::Point center = centerOfObj(multiply->times().get());
        const std::shared_ptr<PlaygroundView> view = playgroundView();
        const float space = view ? view->space() : 0;
        tapPoint({center.x, center.y - kTimesTapLift * space});
    } else if (auto commute = asExactly<StepCommute>(step)) {
        dragCurvedFromStartPoint(centerOfExpr(commute->princeExpr().get()),
                                 centerOfExpr(commute->otherExpr().get()), true);
    } else if (auto factorize = asExactly<StepFactorize>(step)) {
        tapPoint(centerOfExpr(factorize->original().get()));
    } else if (auto eliminate = asExactly<StepEliminate>(step)) {
        animateElimination(*eliminate);
    } else if (auto transpose = asExactly<StepTranspose>(step)) {
        animateTranspose(*transpose);
    } else if (auto distribute = asExactly<StepDistribute>(step)) {
        animateDistribution(*distribute);
    } else if (auto factorOut = asExactly<StepFactorOut>(step)) {
        animateFactorOut(*factorOut);
    }
}

void AIExecutor::animateElimination(const StepEliminate& step) {
    const std::vector<ExprPtr>& given = step.givenExprs();
    if (given.size() < 2 || !isExactly<ExprSoloist>(given[0]) || !isExactly<ExprSoloist>(given[1]))
        return;
    const std::shared_ptr<ExprView> first = viewForExpr(given[0].get());
    const std::shared_ptr<ExprView> second = viewForExpr(given[1].get());
    const core::Rect a = first ? grownHitbox(*first) : core::Rect{};
    const core::Rect b = second ? grownHitbox(*second) : core::Rect{};
    Anchor from = AnchorTopCenter;
    Anchor to = AnchorBottomCenter;
    if (a.minX() < b.minX()) {
        from = AnchorTopLeft;
        to = AnchorBottomRight;
    } else if (a.minX() > b.minX()) {
        from = AnchorTopRight;
        to = AnchorBottomLeft;
    }
    dragStraightFromStartPoint(pointAtAnchorInRect(a, from), pointAtAnchorInRect(b, to));
}

void AIExecutor::animateTranspose(const StepTranspose& step) {
    if (!isExactly<ExprEquation>(mainExpr()))
        return;
    // A view that cannot be found stands at the origin with no size.
    auto equationView = std::dynamic_pointer_cast<ExprViewBinary>(viewForExpr(mainExpr().get()));
    const std::shared_ptr<IGenericView> equals = equationView ? equationView->opView() : nullptr;
    const std::shared_ptr<ExprView> term = viewForExpr(step.expr().get());
    const core::Point equalsCenter = equals ? equals->getPointAtPosition(AnchorCenter) : core::Point{};
    const core::Point termCenter = term ? term->getPointAtPosition(AnchorCenter) : core::Point{};
    const float halfEquals = equals ? equals->getWidth() / 2 : 0;
    const float termHeight = term ? term->getHeight() : 0;
    const core::Point end{equalsCenter.x > termCenter.x ? equalsCenter.x + halfEquals
                                                        : equalsCenter.x - halfEquals,
                          equalsCenter.y + termHeight / 2};
    dragCurvedFromStartPoint(termCenter, end, false);
}

void AIExecutor::animateDistribution(const StepDistribute& step) {
    const ExprPtr expr = mainExpr();
    if (!expr)
        return;
    const Expr* distributor = step.distributor().get();
    const Expr* sum = step.intoSum().get();
    for (const OperatorPtr& op : expr->getOps()) {
        if (!isExactly<OpTimes>(op))
            continue;
        const Expr* first = op->firstExpr().get();
        const Expr* second = op->secondExpr().get();
        if ((first == distributor && second == sum) || (first == sum && second == distributor)) {
            tapPoint(centerOfObj(op.get()), {.afterLift = TapPacing{}.afterLift + kDistributionPause});
            return;
        }
    }
}

void AIExecutor::animateFactorOut(const StepFactorOut& step) {
    const std::vector<ExprPtr>& solos = step.solos();
    if (solos.size() < 2)
        return;
    const ExprPtr expr = mainExpr();
    const bool hasSolo = expr && !expr->getSolos().empty();
    const float height = hasSolo ? 2 * firstSoloHeight() : kDefaultCurveHeight;
    dragAlongPath(QVCurvedPath(centerOfExpr(solos[1].get()), centerOfExpr(solos[0].get()), true, height),
                  kFactorOutHold);
}

} // namespace zm
