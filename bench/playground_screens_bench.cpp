// links: shell platform_host
//
// One frame of a topic's playground screen as the game runs it, at each device and scale: the screen
// at rest with a problem, and the screen of a solved problem (the glow over two turning sunbursts, the
// banner). A frame has 16 ms.

#include "model/Operator.h"
#include "platform/core/UserDefaults.h"
#include "platform/host/HeadlessHost.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/ExprView.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/Bundle.h"
#include "shell/container/ContainerViewController.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/topics/Topic.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <benchmark/benchmark.h>

namespace {

// The game on the commutation topic; state.range(0) is the idiom (0 phone, 1 tablet), range(1) the scale.
struct Game {
    explicit Game(const benchmark::State& state)
        : host({state.range(0) ? ui::Idiom::Tablet : ui::Idiom::Phone, float(state.range(1))}) {
        core::UserDefaults::standard().setBool(true, "seenIntro");
        zm::TopicStatsDataController& store = zm::TopicStatsDataController::sharedInstance();
        for (const zm::Topic& topic : store.topics())
            store.setViewedTopic(topic.topicID());
        host.loop().setCooperativeOperationQueues(true);
        zm::installBundle();
        delegate = std::make_unique<zm::AppDelegate>(zm::AppDelegate::Configuration{});
        delegate->application(host.application(), {});
        host.advance(1);
        delegate->containerVC()->goToTopic(zm::Topic(std::string(zm::AlgebraTopicCommutation)));
        host.advance(1.5);
        screen = std::dynamic_pointer_cast<zm::PlaygroundViewController>(delegate->containerVC()->mainVC());
    }
    // Taps the first operator until the problem is solved.
    void solve() {
        zm::PlaygroundView& playground = *screen->playgroundView();
        for (int move = 0; move < 8 && !screen->showingCompleted(); ++move) {
            const zm::ExprPtr expr = playground.mainPlayground()->mainExpr();
            if (expr->ownOps().empty())
                break;
            const auto op = playground.mainPlayground()->mainExprView()->viewWithOp(expr->ownOps()[0].get());
            const core::Point point =
                playground.convertPointToView(op->getPointAtPosition(zm::AnchorCenter), nullptr);
            host.touchDown(point);
            host.advance(0.05);
            host.touchUp(point);
            host.advance(1);
        }
        host.advance(2);
    }

    host::HeadlessHost host;
    std::unique_ptr<zm::AppDelegate> delegate;
    std::shared_ptr<zm::PlaygroundViewController> screen;
};

void BM_ProblemFrame(benchmark::State& state) {
    Game game(state);
    for (auto _ : state)
        game.host.advance(1.0 / 60);
}
BENCHMARK(BM_ProblemFrame)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond);

void BM_SolvedProblemFrame(benchmark::State& state) {
    Game game(state);
    game.solve();
    if (!game.screen->showingCompleted())
        state.SkipWithError("the problem was not solved by tapping");
    for (auto _ : state)
        game.host.advance(1.0 / 60);
}
BENCHMARK(BM_SolvedProblemFrame)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond);

} // namespace
