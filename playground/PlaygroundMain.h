#pragma once

#include "model/Expr.h"
#include "model/steps/ModalPlaygroundFactory.h"
#include "platform/ui/Animation.h"
#include "playground/Playground.h"
#include "playground/ProximityAlarm.h"
#include "playground/views/DeathManager.h"

#include <memory>
#include <optional>
#include <vector>

namespace zm {

class Baggage;
class DrawingView;
class ExprView;
class Step;

// The playground that holds the problem's expression and its view tree, and turns touches into steps:
// a tap on an operator or a term, a term dragged across one of its targets (reordering it, or carrying
// it across "="), a term dropped on an equal term (factoring it out), a line drawn through terms of a
// fraction (cancelling them). It executes every step (its own, a modal playground's, the automatic
// player's) and animates the expression from the old arrangement to the new one in 0.4 s; a refused
// step shakes the terms concerned.
//
// Touch handling has four roles for term views: the pressed view (shown larger while the finger is
// down), the spring view (a whole sum, product or fraction pulled elastically up to 80 points), the
// agent (the term being dragged, hanging half its height above the finger) and the matched view (an
// equal term lit up under the agent as a drop target).
//
// The host view makes one for every problem; the long-division playground derives from it. Main
// thread only.
class PlaygroundMain : public Playground, public ModalPlaygroundFactory, public ui::AnimationDelegate {
public:
    explicit PlaygroundMain(PlaygroundView& playgroundView);

    // The root of the expression being played; each applied step replaces it by the root it answers.
    const ExprPtr& mainExpr() const { return m_mainExpr; }
    void setMainExpr(ExprPtr expr) { m_mainExpr = std::move(expr); }
    const std::shared_ptr<ExprView>& mainExprView() const { return m_mainExprView; }
    // Also tells the host view the new content size when the view changes.
    void setMainExprView(std::shared_ptr<ExprView> view);
    const std::shared_ptr<ExprView>& agentExprView() const { return m_agentExprView; }
    const std::shared_ptr<ExprView>& matchedExprView() const { return m_matchedExprView; }
    const std::shared_ptr<ExprView>& springExprView() const { return m_springExprView; }
    const std::vector<ProximityAlarm>& proximityAlarms() const { return m_proximityAlarms; }
    const DeathManager& grimReaper() const { return m_grimReaper; }
    int animationCount() const { return m_animationCount; }

    // The drag direction: x is +1 (rightwards) or -1 (leftwards) once the finger has travelled 15
    // points; the point where it was last decided. Both outlive a drag.
    core::Point lastPoint() const { return m_lastPoint; }
    void setLastPoint(core::Point point) { m_lastPoint = point; }
    core::Point currentDir() const { return m_currentDir; }
    void setCurrentDir(core::Point dir) { m_currentDir = dir; }
    // The first point of the current drag; the origin for none.
    core::Point agentTriggerPoint() const { return m_agentTriggerPoint; }
    void setAgentTriggerPoint(core::Point point) { m_agentTriggerPoint = point; }

    // Building and settling.
    void drawInitialState() override;
    void moveToFinalStateAnimated(bool animated) override;
    // The settle animation, whether or not the host view is still there.
    void strive();
    ViewList getConcreteViews() override;
    virtual core::Size getContentSize() const;
    // Fits the expression into the host view's spacing rectangle, animated.
    void resizeToFit();
    // The main expression view (made when there is none yet).
    std::vector<std::shared_ptr<ExprView>> getExprViews();
    // Shows an expression at once, settled.
    void displayExpr(ExprPtr expr);

    // The gesture engine (see the source for its steps).
    void touchBegan(core::Point point) override;
    bool touchMoved(core::Point point) override;
    bool touchEnded(core::Point point) override;
    void tapped(core::Point point);
    // A line being drawn lights the terms it crosses; the finished line becomes a cancelling step.
    void drawnLine(const DrawingView& drawing);
    void acceptDrawing(DrawingView& drawing);

    // Every step enters here: a step that asks for a modal playground opens it, any other is applied.
    void executeStep(const std::shared_ptr<Step>& step);
    // Applies a step with a record the caller may have filled (a modal playground's positions): the
    // tree changes, a new view tree grows out of the old one and settles, the dead fade, refused terms
    // shake and the host view's delegate hears of it.
    void executeStep(const std::shared_ptr<Step>& step, Baggage& bag);
    // Shakes the views of the record's refused terms.
    void failAnimation(const Baggage& bag);
    void animationDidStop(const std::string& name, bool finished, const std::any& context) override;
    using ui::AnimationDelegate::animationDidStop;

    // The modal playgrounds that steps open (made in PlaygroundMainModals.cpp).
    std::shared_ptr<Playground> makePlaygroundExponents(const std::shared_ptr<OpTimes>& times) override;
    std::shared_ptr<Playground> makePlaygroundExponents(const std::shared_ptr<ExprSoloist>& solo) override;
    std::shared_ptr<Playground>
    makePlaygroundDistribute(const std::shared_ptr<StepDistribute>& step) override;
    std::shared_ptr<Playground>
    makePlaygroundFactorizeChoices(const std::shared_ptr<ExprSoloist>& solo) override;
    std::shared_ptr<Playground>
    makePlaygroundEuclideanFountain(const std::shared_ptr<ExprEquation>& equation) override;

protected:
    // The long-division playground drags its own pieces.
    void setAgentExprView(std::shared_ptr<ExprView> view) { m_agentExprView = std::move(view); }

private:
    // The settle animation: the expression to the pivot, the dead to their ends, counted so that the
    // delegate hears `animationComplete` once the last running one ends.
    void settle(bool requireHost);
    // The piece a move is about: the one under the finger, or else the one it went down on.
    std::shared_ptr<ExprView> pieceUnderFinger(core::Point point) const;
    // Takes up the term view `view` as the dragged term, with its targets.
    void takeAgent(const std::shared_ptr<ExprView>& view);
    // Moves the agent under the finger; fires its targets and lights drop targets.
    bool followFinger(core::Point point);
    // The term dropped on an equal term in another product of its sum is factored out.
    void dropAgent();
    // The press feedback of a touch that asked for nothing is taken back.
    void releasePress();
    // The views of the last step's dying objects, less any the new tree still shows.
    std::vector<CondemnedPair> deadOnly(const std::vector<CondemnedPair>& condemned) const;
    std::shared_ptr<ui::AnimationDelegate> sharedAnimationDelegate();

    ExprPtr m_mainExpr;
    std::shared_ptr<ExprView> m_mainExprView;
    std::shared_ptr<ExprView> m_agentExprView;
    std::shared_ptr<ExprView> m_matchedExprView;
    std::shared_ptr<ExprView> m_springExprView;
    std::vector<ProximityAlarm> m_proximityAlarms;
    core::Point m_lastPoint;
    core::Point m_currentDir;
    core::Point m_springOrigin;
    core::Point m_springExprViewStartingCenter;
    core::Point m_agentTriggerPoint;
    // Where the finger went down, while it is down: a quick drag may leave its term before the first
    // move is far enough to pick it up.
    std::optional<core::Point> m_pressPoint;
    DeathManager m_grimReaper;
    int m_animationCount = 0;
};

} // namespace zm
