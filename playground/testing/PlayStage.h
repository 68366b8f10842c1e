#pragma once

// Test support for playing: a playground view with a delegate that records what it hears, started on
// a problem, and fingers that tap and drag on it in game time.

#include "model/Expr.h"
#include "model/Operator.h"
#include "playground/PlaygroundDelegate.h"
#include "playground/PlaygroundMain.h"
#include "playground/testing/PlaygroundStage.h"

#include <set>
#include <string>
#include <vector>

namespace zm::testing {

// Records every message by name, and declines those it is told not to take.
class RecordingPlaygroundDelegate : public PlaygroundDelegate {
public:
    bool respondsTo(PlaygroundMessage message) const override { return !declined.contains(message); }
    void willExecuteStep(const std::shared_ptr<Step>& step, const std::shared_ptr<Expr>& expr) override {
        messages.push_back(step ? "willExecuteStep" : "willExecuteStep(none)");
        before.push_back(expr ? expr->description() : "");
    }
    void executedStep(const std::shared_ptr<Step>& step) override {
        messages.push_back(step ? "executedStep" : "executedStep(none)");
    }
    void presentedModalPlayground(const std::shared_ptr<Playground>&) override {
        messages.push_back("presentedModalPlayground");
    }
    void dismissedModalPlayground(const std::shared_ptr<Playground>& playground) override {
        messages.push_back(playground ? "dismissedModalPlayground" : "dismissedModalPlayground(none)");
    }
    void startedNewProblem() override { messages.push_back("startedNewProblem"); }
    void didErrorStep() override { messages.push_back("didErrorStep"); }
    void didExponentCombineStep() override { messages.push_back("didExponentCombineStep"); }
    void animationComplete() override { messages.push_back("animationComplete"); }
    void touchBegan() override { messages.push_back("touchBegan"); }

    int count(const std::string& message) const { return int(std::ranges::count(messages, message)); }

    std::vector<std::string> messages;
    std::vector<std::string> before;
    std::set<PlaygroundMessage> declined;
};

// A playground view playing one problem, with fingers on it.
class PlayStage : public PlaygroundStage {
public:
    explicit PlayStage(ui::Idiom idiom = ui::Idiom::Tablet)
        : PlaygroundStage(idiom) {
        playgroundView->setPlayDelegate(delegate);
    }

    // Starts the problem and lets it settle.
    void start(const ExprPtr& expr) {
        playgroundView->setNewProblem(expr);
        settle();
    }
    void settle(double seconds = 1) { host.advance(seconds); }

    PlaygroundMain& main() const { return *playgroundView->mainPlayground(); }
    ExprPtr expr() const { return main().mainExpr(); }
    std::string text() const { return expr() ? expr()->description() : ""; }

    // Where a piece stands on screen now.
    core::Point centerOf(const Expr* expr) const {
        const std::shared_ptr<ExprView> view = main().mainExprView()->viewWithExpr(expr);
        EXPECT_TRUE(view) << "no view of " << (expr ? expr->description() : "null");
        return view ? view->getPointAtPosition(AnchorCenter) : core::Point{};
    }
    core::Point centerOf(const Operator* op) const {
        const std::shared_ptr<IGenericView> view = main().mainExprView()->viewWithOp(op);
        EXPECT_TRUE(view) << "no view of an operator";
        return view ? view->getPointAtPosition(AnchorCenter) : core::Point{};
    }

    // A finger taps the point and the move settles.
    void tap(core::Point point) {
        host.touchDown(point);
        host.advance(0.05);
        host.touchUp(point);
        settle();
    }
    // A finger drags from one point to another in `steps` moves a frame apart, lifts, and the move
    // settles.
    void drag(core::Point from, core::Point to, int steps = 30) {
        host.touchDown(from);
        for (int i = 1; i <= steps; ++i) {
            const float t = float(i) / float(steps);
            host.advance(1.0 / 60);
            host.touchMove({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
        }
        host.touchUp(to);
        settle();
    }

    std::shared_ptr<RecordingPlaygroundDelegate> delegate = std::make_shared<RecordingPlaygroundDelegate>();
};

} // namespace zm::testing
