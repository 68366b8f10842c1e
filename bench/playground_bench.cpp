// links: playground platform_host
//
// The main playground's own costs on a 1024 x 768 tablet: applying a step to an equation of a dozen
// terms together with building the new view tree, fitting it and starting its settle (goal: under
// 1 ms), and one frame of the 0.4 s settle that follows, drawn at scale 1 (goal: under 8 ms).

#include "model/ExprEquation.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Window.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"

#include <benchmark/benchmark.h>

namespace {

// 3x + 5 + 7 + 2y + x + 1 + 4y + 6 = 9 + 2x + 8 + y: terms of two kinds on both sides.
zm::ExprPtr equation() {
    using zm::ExprSoloist;
    auto left = zm::ExprSum::sumWithArray({ExprSoloist::soloWithCoef(3, "x"), ExprSoloist::soloWithCoef(5),
                                           ExprSoloist::soloWithCoef(7), ExprSoloist::soloWithCoef(2, "y"),
                                           ExprSoloist::soloWithCoef(1, "x"), ExprSoloist::soloWithCoef(1),
                                           ExprSoloist::soloWithCoef(4, "y"), ExprSoloist::soloWithCoef(6)});
    auto right = zm::ExprSum::sumWithArray({ExprSoloist::soloWithCoef(9), ExprSoloist::soloWithCoef(2, "x"),
                                            ExprSoloist::soloWithCoef(8), ExprSoloist::soloWithCoef(1, "y")});
    return zm::ExprEquation::equationWithLeft(left, right);
}

// Adding the 5 and the 7: the tree changes, two terms and a sign die and a new term is born.
std::shared_ptr<zm::Step> addFiveAndSeven(const zm::ExprPtr& root) {
    const auto& left =
        static_cast<const zm::ExprSum&>(*static_cast<const zm::ExprBinary&>(*root).firstExpr());
    return left.ops()[1]->step();
}

struct Stage {
    Stage()
        : host({ui::Idiom::Tablet, 1}) {
        view = zm::PlaygroundView::create(host.window().bounds());
        host.window().addSubview(view);
    }

    // A new problem, settled and drawn.
    void restart() {
        view->setNewProblem(equation());
        host.advance(1);
    }

    host::HeadlessHost host;
    std::shared_ptr<zm::PlaygroundView> view;
};

void BM_StepAndRebuild(benchmark::State& state) {
    Stage stage;
    for (auto _ : state) {
        state.PauseTiming();
        stage.restart();
        zm::PlaygroundMain& main = *stage.view->mainPlayground();
        const std::shared_ptr<zm::Step> step = addFiveAndSeven(main.mainExpr());
        state.ResumeTiming();
        main.executeStep(step);
        benchmark::DoNotOptimize(main.mainExprView());
    }
}
BENCHMARK(BM_StepAndRebuild)->Unit(benchmark::kMicrosecond);

void BM_SettleFrame(benchmark::State& state) {
    Stage stage;
    int frame = 0;
    for (auto _ : state) {
        if (frame % 24 == 0) {
            state.PauseTiming();
            stage.restart();
            zm::PlaygroundMain& main = *stage.view->mainPlayground();
            main.executeStep(addFiveAndSeven(main.mainExpr()));
            state.ResumeTiming();
        }
        ++frame;
        // One frame of game time: the animations advance and the window is drawn.
        stage.host.advance(1.0 / 60);
    }
}
BENCHMARK(BM_SettleFrame)->Unit(benchmark::kMillisecond);

} // namespace
