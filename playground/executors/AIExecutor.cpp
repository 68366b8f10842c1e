#include "playground/executors/AIExecutor.h"

#include "model/ExprSoloist.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/OperationQueue.h"
#include "platform/core/Random.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/Playground.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/ScreenGeometry.h"
#include "playground/executors/AnimationOperation.h"
#include "playground/executors/DelayOperation.h"
#include "playground/executors/QVCurvedPath.h"
#include "playground/executors/TouchCircleView.h"
#include "playground/views/ExprView.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

// The shortest move of the finger.
constexpr float kShortestMove = 0.25f;
// The pause after the finger lands on a drag's start, and after any lift.
constexpr double kSettlePause = 0.5;
// How long the finger takes to fly home when the player stops.
constexpr double kHomeFlight = 1.0;

} // namespace

AIExecutor::AIExecutor(Key, const std::shared_ptr<PlaygroundView>& playgroundView,
                       const std::shared_ptr<ui::View>& restingView,
                       const std::shared_ptr<ui::View>& containerView)
    : m_playgroundView(playgroundView)
    , m_indicatorView(TouchCircleView::create())
    , m_restingView(restingView)
    , m_containerView(containerView) {}

AIExecutor::~AIExecutor() {
    if (m_queue)
        m_queue->cancelAllOperations();
    // A player replaced while its finger flies home is not there when the flight ends.
    m_indicatorView->removeFromSuperview();
}

std::shared_ptr<ui::View> AIExecutor::superviewOf(const std::shared_ptr<PlaygroundView>& view) {
    ui::View* superview = view ? view->superview() : nullptr;
    return superview ? superview->shared_from_this() : nullptr;
}

// Life.

void AIExecutor::startFindingSteps() {
    if (m_operational)
        return;
    m_operational = true;
    placeIndicatorIfNeeded();
    findNextStep();
}

void AIExecutor::placeIndicatorIfNeeded() {
    if (m_indicatorView->superview())
        return;
    const std::shared_ptr<ui::View> container = containerView();
    if (!container)
        return;
    container->addSubview(m_indicatorView);
    m_indicatorView->setCenter(restingPoint());
    m_indicatorView->setAlpha(0);
    m_currentPoint = restingPoint();
}

void AIExecutor::cancelAnimations() {
    if (m_queue)
        m_queue->cancelAllOperations();
    m_operational = false;
    const std::shared_ptr<ui::View> resting = restingView();
    if (!resting) {
        m_indicatorView->removeFromSuperview();
        return;
    }
    ui::AnimationParameters parameters;
    parameters.duration = kHomeFlight;
    parameters.options = ui::AnimationOptions::BeginFromCurrentState;
    const core::Point home = restingPoint();
    ui::animate(
        parameters,
        [&] {
            m_indicatorView->setCenter(home);
            m_indicatorView->setAlpha(0);
            resting->setAlpha(1);
        },
        [weakSelf = weak_from_this()](bool) {
            // A player started again during the flight keeps its finger.
            auto self = weakSelf.lock();
            if (self && !self->m_operational)
                self->m_indicatorView->removeFromSuperview();
        });
}

void AIExecutor::finishedQueue() {
    if (!m_operational)
        return;
    if (isExprDone())
        cancelAnimations();
    else
        findNextStep();
}

bool AIExecutor::isExprDone() const {
    const ExprPtr expr = mainExpr();
    return expr && expr->isSimplified();
}

void AIExecutor::findNextStep() {
    if (!m_operational || playModalMove() || isExprDone())
        return;
    if (!m_progressed) {
        progressStep();
        return;
    }
    switch (core::randomU32() & 3) {
    case 1:
        mixStep();
        break;
    case 0:
        failStep();
        break;
    default:
        progressStep();
        break;
    }
}

// Queries.

ExprPtr AIExecutor::mainExpr() const {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    return view && view->mainPlayground() ? view->mainPlayground()->mainExpr() : nullptr;
}

std::shared_ptr<Playground> AIExecutor::playground() const {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    if (!view)
        return nullptr;
    if (view->modalPlayground())
        return view->modalPlayground();
    return view->mainPlayground();
}

std::shared_ptr<ExprView> AIExecutor::viewForExpr(const Expr* expr) const {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    if (!view || !view->mainPlayground() || !view->mainPlayground()->mainExprView())
        return nullptr;
    return view->mainPlayground()->mainExprView()->viewWithExpr(expr);
}

std::shared_ptr<IGenericView> AIExecutor::opViewForOp(const Operator* op) const {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    if (!view || !view->mainPlayground() || !view->mainPlayground()->mainExprView())
        return nullptr;
    return view->mainPlayground()->mainExprView()->viewWithOp(op);
}

core::Point AIExecutor::convertPoint(core::Point point) const {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    if (!view)
        return point;
    const core::Point origin = view->frame().origin;
    return {point.x + origin.x, point.y + origin.y};
}

core::Point AIExecutor::restingPoint() const {
    const std::shared_ptr<ui::View> resting = restingView();
    if (!resting)
        return {};
    const core::Rect bounds = resting->bounds();
    return resting->convertPointToView({bounds.midX(), bounds.midY()}, containerView().get());
}

core::Point AIExecutor::centerOfExpr(const Expr* expr) const {
    const std::shared_ptr<ExprView> view = viewForExpr(expr);
    return view ? view->getPointAtPosition(AnchorCenter) : core::Point{};
}

core::Point AIExecutor::centerOfObj(const ModelObject* obj) const {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    if (!view || !view->mainPlayground() || !view->mainPlayground()->mainExprView())
        return {};
    const std::shared_ptr<IGenericView> objView = view->mainPlayground()->mainExprView()->viewWithObj(obj);
    return objView ? objView->getPointAtPosition(AnchorCenter) : core::Point{};
}

float AIExecutor::firstSoloHeight() const {
    const ExprPtr expr = mainExpr();
    if (!expr)
        return kDefaultCurveHeight;
    const auto solos = expr->getSolos();
    if (solos.empty())
        return kDefaultCurveHeight;
    const std::shared_ptr<ExprView> view = viewForExpr(solos.front().get());
    return view ? view->getHeight() : 0;
}

// Gestures.

void AIExecutor::beginGesture() {
    m_queue = std::make_shared<core::OperationQueue>(core::DispatchQueue::main());
    m_queue->setSuspended(true);
}

void AIExecutor::endGesture() {
    m_queue->setSuspended(false);
}

void AIExecutor::moveStraightToPoint(core::Point point) {
    const core::Point target = convertPoint(point);
    const float distance = distanceBetweenPoints(target, m_currentPoint);
    m_currentPoint = target;
    m_queue->addOperation(AnimationOperation::animationOperationWithDuration(
        std::max(kShortestMove, distance / kFingerSpeed),
        [indicator = std::weak_ptr<TouchCircleView>(m_indicatorView), target] {
            if (auto finger = indicator.lock()) {
                finger->setCenter(target);
                finger->setAlpha(1);
            }
        }));
}

void AIExecutor::touchDownAtPoint(core::Point point) {
    m_queue->addOperation(
        [weakSelf = weak_from_this(), planned = std::weak_ptr<Playground>(playground()), point] {
            auto self = weakSelf.lock();
            if (!self)
                return;
            self->m_indicatorView->setTouchedDown(true);
            // The press lands only on the playground the gesture was made for, if it is still on top.
            const std::shared_ptr<Playground> target = planned.lock();
            if (!target || target != self->playground()) {
                self->m_pressedPlayground.reset();
                return;
            }
            self->m_pressedPlayground = target;
            target->executorTouchBegan(point);
        });
}

void AIExecutor::touchUpAtPoint(core::Point point) {
    m_queue->addOperation([weakSelf = weak_from_this(), point] {
        auto self = weakSelf.lock();
        if (!self)
            return;
        self->m_indicatorView->setTouchedDown(false);
        const std::shared_ptr<Playground> target = self->pressedPlaygroundOnTop();
        self->m_pressedPlayground.reset();
        if (target)
            target->executorTouchEnded(point);
    });
}

std::shared_ptr<Playground> AIExecutor::pressedPlaygroundOnTop() const {
    const std::shared_ptr<Playground> pressed = m_pressedPlayground.lock();
    return pressed && pressed == playground() ? pressed : nullptr;
}

void AIExecutor::delay(double seconds) {
    m_queue->addOperation(DelayOperation::delayOperationWithDuration(seconds));
}

void AIExecutor::finalCall() {
    m_queue->addOperation([weakSelf = weak_from_this()] {
        if (auto self = weakSelf.lock())
            self->finishedQueue();
    });
}

void AIExecutor::addFingerMove(core::Point point) {
    m_queue->addOperation([weakSelf = weak_from_this(), point] {
        auto self = weakSelf.lock();
        if (!self)
            return;
        // The playground view sends the move to the playground on top: only the pressed one's.
        const std::shared_ptr<PlaygroundView> view = self->playgroundView();
        if (view && self->pressedPlaygroundOnTop())
            view->touchMoved(point);
        self->m_indicatorView->setCenter(self->convertPoint(point));
    });
}

void AIExecutor::addPathToQueue(const QVStraightPath& path) {
    const float length = path.distance();
    // A path shorter than a point still gets its two ends.
    const double points = std::max(1.0, std::trunc(double(length)));
    addPathMoves(path, 1.0 / points, length / kFingerSpeed / points);
}

void AIExecutor::addPathMoves(const QVStraightPath& path, double step, double pause) {
    for (float t = 0; t <= 1; t = float(double(t) + step)) {
        addFingerMove(path.pointAtPercentageThrough(t));
        delay(pause);
    }
}

void AIExecutor::tapPoint(core::Point point, const TapPacing& pacing) {
    beginGesture();
    moveStraightToPoint(point);
    delay(pacing.beforePress);
    touchDownAtPoint(point);
    delay(pacing.pressed);
    touchUpAtPoint(point);
    delay(pacing.afterLift);
    finalCall();
    endGesture();
}

void AIExecutor::dragAlongPath(const QVStraightPath& path, double hold, double pauseBefore) {
    beginGesture();
    if (pauseBefore > 0)
        delay(pauseBefore);
    moveStraightToPoint(path.startPoint());
    touchDownAtPoint(path.startPoint());
    delay(kSettlePause);
    addPathToQueue(path);
    if (hold > 0)
        delay(hold);
    touchUpAtPoint(path.endPoint());
    delay(kSettlePause);
    finalCall();
    m_currentPoint = convertPoint(path.endPoint());
    endGesture();
}

void AIExecutor::dragStraightFromStartPoint(core::Point start, core::Point end) {
    dragAlongPath(QVStraightPath(start, end));
}

void AIExecutor::dragCurvedFromStartPoint(core::Point start, core::Point end, bool curveAbove) {
    dragAlongPath(QVCurvedPath(start, end, curveAbove, firstSoloHeight()));
}

} // namespace zm
