#pragma once

#include "model/Expr.h"
#include "platform/core/Geometry.h"
#include "playground/executors/MoveFinder.h"

#include <memory>
#include <vector>

namespace core {
class OperationQueue;
}

namespace ui {
class View;
}

namespace zm {

class ExprView;
class IGenericView;
class Playground;
class PlaygroundDistribute;
class PlaygroundFactorizeChoices;
class PlaygroundView;
class QVStraightPath;
class Step;
class StepDistribute;
class StepEliminate;
class StepFactorOut;
class StepTranspose;
class TouchCircleView;

// The pauses of a demonstrated tap, in seconds: before the press, while pressed, and after the lift
// before the next move is chosen.
struct TapPacing {
    double beforePress = 0.5;
    double pressed = 0.5;
    double afterLift = 0.5;
};

// The automatic player: it demonstrates a solution on a playground view by choosing a move, playing it
// as a simulated finger gesture and, once the gesture is over, choosing the next one, until the
// expression is done or the player is cancelled. The finger is a `TouchCircleView` that glides to the
// place of the move, presses, drags or taps and lifts; presses and lifts reach the playground through
// its executor hooks and moves through the playground view, exactly as a real finger's would, so the
// playground makes, checks and animates the step itself. As a real finger's, the touch belongs to the
// playground it pressed: once that is no longer on top (a modal playground closed under the finger),
// the rest of the touch, moves and lift, goes to nobody.
//
// This base holds the player loop, the gestures and the translation of a step into a gesture; the
// subclasses (one per topic, and those of the tutorial) decide which move to play. A move is a
// progress move (it advances the solution), a mix move (it rearranges) or a fail move (one the rules
// refuse): the first move and every move after a mix or fail move is a progress move; otherwise a
// quarter are mix moves, a quarter fail moves.
//
// Each gesture is a fixed sequence of timed operations on an operation queue of its own, built whole
// and then released. Every operation, and the choice of the next move, runs on the main queue: the
// player reads the tree and the views only where they are changed. The finger moves at 142 points a
// second, no move taking less than 0.25 s.
//
// A playground view owns the executor playing on it; the executor holds its views weakly and queued
// operations hold it weakly, so a player whose playground view goes away stops. The finger is the
// executor's: it leaves the container when the executor goes. Main thread only.
class AIExecutor : public std::enable_shared_from_this<AIExecutor> {
protected:
    struct Key {
        explicit Key() = default;
    };

public:
    // `restingView` is where the finger starts from and flies back to (none: it appears at the top
    // left of the container); `containerView` holds the finger and has the playground view as a direct
    // subview.
    template <class T = AIExecutor>
    static std::shared_ptr<T> create(const std::shared_ptr<PlaygroundView>& playgroundView,
                                     const std::shared_ptr<ui::View>& restingView,
                                     const std::shared_ptr<ui::View>& containerView) {
        return std::make_shared<T>(Key{}, playgroundView, restingView, containerView);
    }
    // No resting view, in the playground view's superview.
    template <class T = AIExecutor>
    static std::shared_ptr<T> create(const std::shared_ptr<PlaygroundView>& playgroundView) {
        return create<T>(playgroundView, nullptr, superviewOf(playgroundView));
    }

    AIExecutor(Key, const std::shared_ptr<PlaygroundView>& playgroundView,
               const std::shared_ptr<ui::View>& restingView, const std::shared_ptr<ui::View>& containerView);
    virtual ~AIExecutor();
    AIExecutor(const AIExecutor&) = delete;
    AIExecutor& operator=(const AIExecutor&) = delete;

    // Starts playing; nothing when already playing. After a cancel it plays again with the same
    // finger, which is put back on its resting place only if it had left the container.
    void startFindingSteps();
    // Stops: the gesture's operations not yet started never run, and the finger flies home in 1 s and
    // fades (or vanishes at once without a resting view).
    virtual void cancelAnimations();

    bool operational() const { return m_operational; }
    bool progressed() const { return m_progressed; }
    // The product the next factor-pair choice must pick; cleared once it is tapped.
    const ExprPtr& replacement() const { return m_replacement; }
    void setReplacement(ExprPtr replacement) { m_replacement = std::move(replacement); }
    const std::shared_ptr<TouchCircleView>& indicatorView() const { return m_indicatorView; }
    // Where the finger stands, in the container's coordinates.
    core::Point currentPoint() const { return m_currentPoint; }
    void setCurrentPoint(core::Point point) { m_currentPoint = point; }
    std::shared_ptr<PlaygroundView> playgroundView() const { return m_playgroundView.lock(); }
    std::shared_ptr<ui::View> restingView() const { return m_restingView.lock(); }
    std::shared_ptr<ui::View> containerView() const { return m_containerView.lock(); }
    // The queue of the gesture being played (a new one for every gesture).
    const std::shared_ptr<core::OperationQueue>& queue() const { return m_queue; }

    // The main playground's expression, or null.
    ExprPtr mainExpr() const;
    // The playground touches go to now: the modal one when shown, else the main one.
    std::shared_ptr<Playground> playground() const;
    // Views of the main expression, or null.
    std::shared_ptr<ExprView> viewForExpr(const Expr* expr) const;
    std::shared_ptr<IGenericView> opViewForOp(const Operator* op) const;
    // From the playground view's coordinates to the container's: the playground view's origin added.
    core::Point convertPoint(core::Point point) const;
    // The resting view's centre in the container, or the origin without one.
    core::Point restingPoint() const;
    // The positions (0 to 1, and a little beyond) at which a slider drag sets the distribution
    // slider, one after another.
    static std::vector<float> sliderPositions();

protected:
    // Whether the demonstration is over. Base: the main expression is simplified.
    virtual bool isExprDone() const;
    // Plays the next move while the exponents playground is shown. Base: nothing.
    virtual void executeExponents() {}
    // Chooses and starts the next move.
    virtual void findNextStep();
    // The three kinds of move. The base versions only note which kind was chosen; overrides call them
    // first, then choose and play a move.
    virtual void progressStep() { m_progressed = true; }
    virtual void mixStep() { m_progressed = false; }
    virtual void failStep() { m_progressed = false; }

    // The move finders over the main expression as it is now.
    MoveFinder moves() const { return MoveFinder(mainExpr()); }

    // Plays a step as a gesture; a step with no gesture plays nothing.
    void animateStep(const std::shared_ptr<Step>& step);

    // Sent by the last operation of every gesture: ends the demonstration when the expression is
    // done, else chooses the next move.
    void finishedQueue();

    // Gestures, each built whole on a queue of its own.
    void tapPoint(core::Point point, const TapPacing& pacing = {});
    // Drags: (after `pauseBefore` seconds) press at the start, move along the path, hold `hold`
    // seconds, lift at the end.
    virtual void dragAlongPath(const QVStraightPath& path) { dragAlongPath(path, 0); }
    void dragAlongPath(const QVStraightPath& path, double hold, double pauseBefore = 0);
    void dragStraightFromStartPoint(core::Point start, core::Point end);
    void dragCurvedFromStartPoint(core::Point start, core::Point end, bool curveAbove);

    // The pieces of a gesture, appended to the queue being built between `beginGesture` (a new,
    // suspended queue) and `endGesture` (released).
    void beginGesture();
    void endGesture();
    void moveStraightToPoint(core::Point point);
    void touchDownAtPoint(core::Point point);
    void touchUpAtPoint(core::Point point);
    void delay(double seconds);
    void finalCall();
    // A touch move per point of the path's length, spread over its length at the finger's speed.
    void addPathToQueue(const QVStraightPath& path);
    // Touch moves at t = 0, `step`, 2 `step`... up to 1, each followed by `pause` seconds.
    void addPathMoves(const QVStraightPath& path, double step, double pause);
    // A touch move of the finger to a point in the playground view's coordinates.
    void addFingerMove(core::Point point);

    // The gestures of the steps that are not a single tap.
    void animateElimination(const StepEliminate& step);
    void animateTranspose(const StepTranspose& step);
    void animateDistribution(const StepDistribute& step);
    void animateFactorOut(const StepFactorOut& step);

    // The centre of a view of the main expression, (0, 0) without one.
    core::Point centerOfExpr(const Expr* expr) const;
    core::Point centerOfObj(const ModelObject* obj) const;
    // The height of the view of the main expression's first term, or that of a curve on an
    // expression without a term.
    float firstSoloHeight() const;
    static constexpr float kDefaultCurveHeight = 50;

    // The finger's speed, in points per second.
    static constexpr float kFingerSpeed = 142;

private:
    static std::shared_ptr<ui::View> superviewOf(const std::shared_ptr<PlaygroundView>& view);
    // Puts the finger, invisible, on its resting place when it is not in the container.
    void placeIndicatorIfNeeded();
    // The playground the finger pressed and has not lifted from, while it is still the one on top.
    std::shared_ptr<Playground> pressedPlaygroundOnTop() const;
    // Plays the move of the modal playground shown, if it asks for one; answers whether it did.
    bool playModalMove();
    // Taps the factor pair equivalent to `replacement` (stops without one), scrolled into view.
    void tapFactorChoice(const PlaygroundFactorizeChoices& playground);
    // Presses the slider near its start and drives it to a little past its end through its value.
    void dragSlider(const std::shared_ptr<PlaygroundDistribute>& playground);

    std::weak_ptr<PlaygroundView> m_playgroundView;
    std::shared_ptr<core::OperationQueue> m_queue;
    bool m_operational = false;
    ExprPtr m_replacement;
    std::shared_ptr<TouchCircleView> m_indicatorView;
    // The playground the finger pressed, until it lifts; its touch goes nowhere else.
    std::weak_ptr<Playground> m_pressedPlayground;
    core::Point m_currentPoint;
    std::weak_ptr<ui::View> m_restingView;
    std::weak_ptr<ui::View> m_containerView;
    bool m_progressed = false;
};

} // namespace zm
