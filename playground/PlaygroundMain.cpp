#include "playground/PlaygroundMain.h"

#include "model/ExprSoloist.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepReplace.h"
#include "model/steps/StepSubstitute.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/DrawingView.h"
#include "playground/PlaygroundView.h"
#include "playground/ScreenGeometry.h"
#include "playground/views/Baggage.h"
#include "playground/views/ExprViewList.h"
#include "playground/views/ExprViewQuotient.h"

#include <algorithm>

namespace zm {

namespace {

constexpr double kSettleDuration = 0.4;
constexpr double kFollowDuration = 0.05;
constexpr double kSnapBackDuration = 0.2;
constexpr double kShakeDuration = 0.1;
constexpr double kShakeRepeats = 1.5;
constexpr float kShakeDistance = 20;
constexpr float kPressEnlargement = 1.2f;
// How far the finger must travel sideways before the drag direction changes.
constexpr float kDirectionThreshold = 15;
// How far a whole sum, product or fraction stretches before it comes loose.
constexpr float kSpringReach = 80;
constexpr const char* kFailAnimation = "fail";

constexpr ui::AnimationOptions kSettleOptions =
    ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState;

bool isSpringKind(const ExprView* view) {
    return dynamic_cast<const ExprViewList*>(view) || dynamic_cast<const ExprViewQuotient*>(view);
}

} // namespace

PlaygroundMain::PlaygroundMain(PlaygroundView& playgroundView)
    : Playground(playgroundView) {}

void PlaygroundMain::setMainExprView(std::shared_ptr<ExprView> view) {
    if (view == m_mainExprView)
        return;
    m_mainExprView = std::move(view);
    if (auto host = playgroundView())
        host->setContentSize(getContentSize());
}

void PlaygroundMain::drawInitialState() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_mainExpr)
        return;
    setMainExprView(makeExprView(*m_mainExpr, *host, nullptr));
    m_mainExprView->fitIntoRect(host->spacingRect(), false);
    host->setBaseFontSize(m_mainExprView->baseFontSize());
    for (const std::shared_ptr<ui::View>& view : getConcreteViews())
        host->showView(view);
    if (m_agentExprView) {
        for (const std::shared_ptr<ui::View>& view : m_agentExprView->getViewList())
            host->bringToFront(*view);
    }
    m_mainExprView->moveTo(host->pivotPoint(), AnchorCenter);
}

void PlaygroundMain::moveToFinalStateAnimated(bool animated) {
    if (animated) {
        settle(true);
        return;
    }
    if (auto host = playgroundView(); host && m_mainExprView)
        m_mainExprView->moveTo(host->pivotPoint(), AnchorCenter);
}

void PlaygroundMain::strive() {
    settle(false);
}

void PlaygroundMain::settle(bool requireHost) {
    std::weak_ptr<Playground> weakSelf = weak_from_this();
    auto counted = std::make_shared<bool>(false);
    ui::animate(
        {.duration = kSettleDuration, .options = kSettleOptions},
        [&] {
            const std::shared_ptr<PlaygroundView> host = playgroundView();
            if (requireHost && !host)
                return;
            m_grimReaper.animateDead();
            if (host && m_mainExprView)
                m_mainExprView->moveTo(host->pivotPoint(), AnchorCenter);
            ++m_animationCount;
            *counted = true;
        },
        [weakSelf, counted](bool) {
            auto self = std::static_pointer_cast<PlaygroundMain>(weakSelf.lock());
            // A settle that never started counts for nothing.
            if (!self || !*counted)
                return;
            if (--self->m_animationCount == 0) {
                if (auto host = self->playgroundView())
                    host->animationComplete();
            }
        });
}

ViewList PlaygroundMain::getConcreteViews() {
    ViewList views = m_mainExprView ? m_mainExprView->getViewList() : ViewList{};
    const ViewList dead = m_grimReaper.getViewList();
    views.insert(views.end(), dead.begin(), dead.end());
    return views;
}

core::Size PlaygroundMain::getContentSize() const {
    return m_mainExprView ? core::Size{m_mainExprView->getWidth(), m_mainExprView->getHeight()}
                          : core::Size{};
}

void PlaygroundMain::resizeToFit() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_mainExprView)
        return;
    m_mainExprView->fitIntoRect(host->spacingRect(), true);
    host->setContentSize(getContentSize());
    host->setBaseFontSize(m_mainExprView->baseFontSize());
}

std::vector<std::shared_ptr<ExprView>> PlaygroundMain::getExprViews() {
    if (!m_mainExprView && m_mainExpr) {
        if (auto host = playgroundView())
            setMainExprView(makeExprView(*m_mainExpr, *host, nullptr));
    }
    if (!m_mainExprView)
        return {};
    return {m_mainExprView};
}

void PlaygroundMain::displayExpr(ExprPtr expr) {
    setMainExpr(std::move(expr));
    drawInitialState();
    moveToFinalStateAnimated(false);
}

// Press feedback: the operator, or else the term, under the finger is shown larger.
void PlaygroundMain::touchBegan(core::Point point) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_mainExprView)
        return;
    m_pressPoint = point;
    const float pressed = kPressEnlargement * host->baseFontSize();
    if (const std::shared_ptr<IGenericView> op = m_mainExprView->getOpViewFromPoint(point)) {
        op->setFontSize(pressed, false);
        return;
    }
    const std::shared_ptr<ExprView> term = m_mainExprView->getExprViewFromPoint(point);
    if (!term || dynamic_cast<const ExprViewQuotient*>(term.get()))
        return;
    term->setFontSize(pressed, false);
    term->moveTo(term->getPointAtPosition(AnchorCenter), AnchorCenter);
}

// A move goes through these stages: the drag direction is updated; a pulled list or fraction follows
// the finger elastically until it comes loose; a move that has not yet left the first point's
// neighbourhood waits; then the term under the finger is picked up, follows the finger and may set off
// its targets or light a drop target.
bool PlaygroundMain::touchMoved(core::Point point) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_mainExprView)
        return false;
    if (m_lastPoint == core::Point{0, 0})
        m_lastPoint = point;
    if (m_agentTriggerPoint == core::Point{0, 0})
        m_agentTriggerPoint = point;

    if (point.x - m_lastPoint.x >= kDirectionThreshold) {
        m_lastPoint = point;
        m_currentDir.x = 1;
    } else if (m_lastPoint.x - point.x >= kDirectionThreshold) {
        m_lastPoint = point;
        m_currentDir.x = -1;
    }

    if (m_springExprView) {
        if (distanceBetweenPoints(point, m_springOrigin) <= kSpringReach) {
            m_springExprView->moveTo({m_springExprViewStartingCenter.x + point.x - m_springOrigin.x,
                                      m_springExprViewStartingCenter.y + point.y - m_springOrigin.y},
                                     AnchorCenter);
            return true;
        }
        // Stretched too far: the pulled piece comes loose and is dragged.
        m_agentExprView = std::exchange(m_springExprView, nullptr);
        m_proximityAlarms = ProximityAlarm::getProximityAlarmsForView(*m_agentExprView, *m_mainExprView);
        return followFinger(point);
    }

    if (!m_agentExprView) {
        const std::shared_ptr<ExprView> picked = pieceUnderFinger(point);
        if (distanceBetweenPoints(point, m_agentTriggerPoint) < m_mainExprView->space() || !picked)
            return picked != nullptr;
        if (isSpringKind(picked.get())) {
            m_springExprView = picked;
            m_springOrigin = point;
            m_springExprViewStartingCenter = picked->getPointAtPosition(AnchorCenter);
            m_mainExprView->setFontSize(host->baseFontSize(), false);
            return true;
        }
        takeAgent(picked);
    }
    return followFinger(point);
}

std::shared_ptr<ExprView> PlaygroundMain::pieceUnderFinger(core::Point point) const {
    if (std::shared_ptr<ExprView> view = m_mainExprView->getExprViewFromPoint(point))
        return view;
    return m_pressPoint ? m_mainExprView->getExprViewFromPoint(*m_pressPoint) : nullptr;
}

void PlaygroundMain::takeAgent(const std::shared_ptr<ExprView>& view) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    m_agentTriggerPoint = {0, 0};
    view->setColor(host->expressionColor());
    m_agentExprView = view;
    m_mainExprView->setFontSize(host->baseFontSize(), false);
    for (const std::shared_ptr<ui::View>& platformView : view->getViewList())
        host->bringToFront(*platformView);
    m_proximityAlarms = ProximityAlarm::getProximityAlarmsForView(*view, *m_mainExprView);
}

bool PlaygroundMain::followFinger(core::Point point) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    // The dragged term hangs half its height above the finger, so the finger does not hide it.
    const std::shared_ptr<ExprView> agent = m_agentExprView;
    const core::Point hanging{point.x, point.y - agent->getHeight() / 2};
    ui::animate({.duration = kFollowDuration,
                 .options = ui::AnimationOptions::BeginFromCurrentState,
                 .curve = ui::AnimationCurve::Linear},
                [&] { agent->moveTo(hanging, AnchorCenter); });

    // Of the targets the term meets, the last one wins (a carry across "=" over a reordering).
    const core::Rect box = agent->getHitbox();
    const ProximityAlarm* fired = nullptr;
    for (const ProximityAlarm& alarm : m_proximityAlarms) {
        if (alarm.detectHitWithRect(box, m_currentDir))
            fired = &alarm;
    }
    if (fired) {
        const core::Point anchorPoint = agent->getPointAtPosition(AnchorMiddleRight);
        const std::shared_ptr<Step> step = fired->getStep();
        m_proximityAlarms.clear();
        executeStep(step);
        // The term's new view stays under the finger, with targets of its own.
        if (m_agentExprView && m_mainExprView) {
            m_agentExprView->moveTo(anchorPoint, AnchorMiddleRight);
            m_proximityAlarms = ProximityAlarm::getProximityAlarmsForView(*m_agentExprView, *m_mainExprView);
        }
        return true;
    }

    const std::shared_ptr<ExprView> match = m_mainExprView->getOverlappingExactMatchExprView(*agent);
    if (match && StepFactorOut::stepFactorOutFromExprViews(std::vector{match, agent})) {
        if (!m_matchedExprView) {
            m_matchedExprView = match;
            m_matchedExprView->setColor(host->highlightColor());
        }
    } else if (m_matchedExprView) {
        m_matchedExprView->setColor(host->expressionColor());
        m_matchedExprView = nullptr;
    }
    return true;
}

bool PlaygroundMain::touchEnded(core::Point point) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return false;
    m_pressPoint.reset();
    if (host->drawingView() && host->drawingView()->isDisplayed()) {
        acceptDrawing(*host->drawingView());
        return true;
    }
    m_agentTriggerPoint = {0, 0};

    if (m_springExprView) {
        // The pulled piece snaps back. A new drag that catches it on the way pulls it again.
        std::weak_ptr<Playground> weakSelf = weak_from_this();
        ui::animate(
            {.duration = kSnapBackDuration, .options = ui::AnimationOptions::BeginFromCurrentState},
            [&] {
                if (m_mainExprView)
                    m_mainExprView->moveTo(host->pivotPoint(), AnchorCenter);
            },
            [weakSelf](bool finished) {
                auto self = std::static_pointer_cast<PlaygroundMain>(weakSelf.lock());
                // Interrupted by anything but a new drag, it lets go all the same.
                if (self && (finished || self->m_agentTriggerPoint == core::Point{0, 0}))
                    self->m_springExprView = nullptr;
            });
        return true;
    }

    if (!m_agentExprView) {
        if (m_mainExprView && m_mainExprView->containsPoint(point)) {
            tapped(point);
            return true;
        }
        releasePress();
        return false;
    }

    m_proximityAlarms.clear();
    dropAgent();
    if (m_matchedExprView)
        m_matchedExprView->setColor(host->expressionColor());
    m_agentExprView = nullptr;
    m_matchedExprView = nullptr;
    strive();
    return true;
}

void PlaygroundMain::dropAgent() {
    const std::shared_ptr<ExprView> match =
        m_mainExprView->getOverlappingExactMatchExprView(*m_agentExprView);
    const ExprPtr agentExpr = m_agentExprView->getExpr();
    const ExprPtr parent = agentExpr ? agentExpr->exprParent() : nullptr;
    if (!match || !parent)
        return;
    const auto product = asExactly<ExprViewProduct>(m_mainExprView->viewWithExpr(parent.get()));
    if (!product)
        return;
    // Dropped left of the product's last sign, the common factor is written first.
    const float lastSign = product->opViews().empty() ? 0 : product->opViews().back()->getHitbox().minX();
    const float dropX = match->getHitbox().minX();
    const auto views =
        dropX < lastSign ? std::vector{match, m_agentExprView} : std::vector{m_agentExprView, match};
    const std::shared_ptr<StepFactorOut> step = StepFactorOut::stepFactorOutFromExprViews(views);
    if (!step)
        return;
    if (dropX > lastSign)
        step->setOutLeft(false);
    executeStep(step);
}

void PlaygroundMain::tapped(core::Point point) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (m_agentExprView || !host || !m_mainExprView)
        return;
    m_mainExprView->setColor(host->expressionColor());
    std::shared_ptr<Step> step = m_mainExprView->stepFromTap(point);
    if (!step) {
        releasePress();
        return;
    }
    // Substituting needs two different variables; without them the term shakes.
    if (auto substitute = asExactly<StepSubstituteInput>(step);
        substitute && m_mainExpr && !m_mainExpr->canSubstitute())
        step = std::make_shared<StepFail>(std::vector<ExprPtr>{substitute->solo()});
    executeStep(step);
}

void PlaygroundMain::releasePress() {
    if (auto host = playgroundView(); host && m_mainExprView)
        m_mainExprView->setFontSize(host->baseFontSize(), false);
}

void PlaygroundMain::drawnLine(const DrawingView& drawing) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_mainExprView)
        return;
    m_mainExprView->setColor(host->expressionColor());
    for (const std::shared_ptr<ExprView>& hit : drawing.getHits(*m_mainExprView))
        hit->setColor(host->highlightColor());
}

void PlaygroundMain::acceptDrawing(DrawingView& drawing) {
    const std::vector<std::shared_ptr<ExprView>> hits =
        m_mainExprView ? drawing.getHits(*m_mainExprView) : std::vector<std::shared_ptr<ExprView>>{};
    drawing.clear();
    if (hits.empty())
        return;
    // A term inside another crossed piece goes with that piece.
    std::vector<ExprPtr> crossed;
    for (const std::shared_ptr<ExprView>& hit : hits) {
        if (ExprPtr expr = hit->getExpr())
            crossed.push_back(std::move(expr));
    }
    std::erase_if(crossed, [&](const ExprPtr& expr) {
        return std::ranges::any_of(crossed,
                                   [&](const ExprPtr& other) { return other->isAncestorOfExpr(expr.get()); });
    });
    std::shared_ptr<Step> step = StepEliminateQuick::stepEliminateQuickFromExprs(crossed);
    if (!step)
        step = StepEliminate::stepEliminateWithExprs(crossed);
    if (!step)
        step = std::make_shared<StepFail>(crossed);
    executeStep(step);
}

void PlaygroundMain::executeStep(const std::shared_ptr<Step>& step) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!step || !host)
        return;
    if (m_mainExprView)
        m_mainExprView->setColor(host->expressionColor());
    if (const std::shared_ptr<Playground> modal = step->createModalPlayground(*this)) {
        if (m_mainExprView) {
            m_mainExprView->setFontSize(host->baseFontSize(), false);
            m_mainExprView->moveTo(host->pivotPoint(), AnchorCenter);
        }
        host->showModalPlayground(modal);
        host->executedStep(step);
        return;
    }
    Baggage bag;
    executeStep(step, bag);
}

void PlaygroundMain::executeStep(const std::shared_ptr<Step>& step, Baggage& bag) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!step || !host || !m_mainExpr)
        return;
    host->willExecuteStep(step, m_mainExpr);

    bag.addExprView(m_mainExprView);
    bag.setAgentExpr(m_agentExprView ? m_agentExprView->getExpr() : nullptr);
    const core::Point fingerAt =
        m_agentExprView ? m_agentExprView->getPointAtPosition(AnchorCenter) : core::Point{};

    if (ExprPtr root = step->applyToExpr(m_mainExpr, &bag))
        m_mainExpr = std::move(root);
    setMainExprView(makeExprView(*m_mainExpr, *host, &bag));
    // The pulled piece belonged to the old tree.
    m_springExprView = nullptr;
    if (!host->zoomedIn() && !isExactly<StepCommute>(step))
        resizeToFit();

    m_agentExprView = bag.agentExpr() ? m_mainExprView->viewWithExpr(bag.agentExpr().get()) : nullptr;
    if (m_agentExprView)
        m_agentExprView->moveTo(fingerAt, AnchorCenter);
    if (m_matchedExprView && !m_mainExprView->containsView(m_matchedExprView.get()))
        m_matchedExprView = nullptr;

    m_grimReaper.acceptCondemned(deadOnly(bag.condemned()));
    m_mainExprView->setColor(host->expressionColor());
    host->refreshConcreteViews();
    moveToFinalStateAnimated(true);
    failAnimation(bag);
    host->executedStep(step);
}

std::vector<CondemnedPair> PlaygroundMain::deadOnly(const std::vector<CondemnedPair>& condemned) const {
    // A view of the new tree must not fade with the dead, whatever the record says.
    const ViewList living = m_mainExprView ? m_mainExprView->getViewList() : ViewList{};
    std::vector<CondemnedPair> dead;
    for (const CondemnedPair& pair : condemned) {
        const ViewList views = pair.key->getViewList();
        const bool lives = std::ranges::any_of(views, [&](const std::shared_ptr<ui::View>& view) {
            return std::ranges::find(living, view) != living.end();
        });
        if (!lives)
            dead.push_back(pair);
    }
    return dead;
}

void PlaygroundMain::failAnimation(const Baggage& bag) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_mainExprView)
        return;
    ViewList shaken;
    for (const ExprPtr& expr : bag.failList()) {
        const std::shared_ptr<ExprView> view = m_mainExprView->viewWithExpr(expr.get());
        if (!view)
            continue;
        view->setFontSize(host->baseFontSize(), false);
        const ViewList views = view->getViewList();
        shaken.insert(shaken.end(), views.begin(), views.end());
    }
    if (shaken.empty())
        return;
    host->didErrorStep();
    ui::beginAnimations(kFailAnimation);
    ui::setAnimationBeginsFromCurrentState(true);
    ui::setAnimationDuration(kShakeDuration);
    ui::setAnimationCurve(ui::AnimationCurve::Linear);
    ui::setAnimationRepeatCount(kShakeRepeats);
    ui::setAnimationRepeatAutoreverses(true);
    ui::setAnimationDelegate(sharedAnimationDelegate());
    for (const std::shared_ptr<ui::View>& view : shaken) {
        const core::Rect frame = view->frame();
        view->setFrame(frame.offsetBy(-kShakeDistance, 0));
    }
    ui::commitAnimations();
    m_mainExprView->setColor(host->expressionColor());
}

void PlaygroundMain::animationDidStop(const std::string& name, bool finished, const std::any&) {
    if (name != kFailAnimation || !finished)
        return;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_mainExprView)
        return;
    // The shaken terms go back to their places.
    ui::animate({.duration = kSettleDuration, .options = kSettleOptions}, [&] {
        m_grimReaper.animateDead();
        m_mainExprView->moveTo(host->pivotPoint(), AnchorCenter);
    });
    m_mainExprView->setFontSize(host->baseFontSize(), true);
}

std::shared_ptr<ui::AnimationDelegate> PlaygroundMain::sharedAnimationDelegate() {
    return std::shared_ptr<ui::AnimationDelegate>(shared_from_this(),
                                                  static_cast<ui::AnimationDelegate*>(this));
}

} // namespace zm
