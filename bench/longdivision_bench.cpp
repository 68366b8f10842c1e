// links: longdivision platform_host
//
// The long-division playground on a 1024 x 768 tablet at scale 1, working 98765 ÷ 43: one frame of the
// 0.4 s settle after a row is added (goal: under 8 ms), and a resize of the whole division with three
// rows to a new host width (goal: under 1 ms). Every resize is to a size not measured lately, so the
// text engine's cost of a new size is counted.

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Window.h"

#include <benchmark/benchmark.h>

namespace {

struct Stage {
    Stage()
        : host({ui::Idiom::Tablet, 1}) {
        view = zm::LDPlaygroundView::create();
        view->setFrame(host.window().bounds());
        host.window().addSubview(view);
    }

    // A new division, settled and drawn, with `rows` rows worked.
    void restart(uint32_t rows) {
        view->setNewProblem(zm::ExprLongDivision::longDivision(98765, 43), false);
        zm::LDPlaygroundMain& main = *view->playgroundMain();
        for (uint32_t row = 0; row < rows; ++row)
            main.insertHorizontalSegment(main.longDivisionExpr()->getSegmentAtIndex(row), nullptr, false, true);
        host.advance(1);
    }

    host::HeadlessHost host;
    std::shared_ptr<zm::LDPlaygroundView> view;
};

void BM_SettleFrameAfterARow(benchmark::State& state) {
    Stage stage;
    int frame = 0;
    for (auto _ : state) {
        if (frame % 24 == 0) {
            state.PauseTiming();
            stage.restart(1);
            zm::LDPlaygroundMain& main = *stage.view->playgroundMain();
            main.insertHorizontalSegment(main.longDivisionExpr()->getSegmentAtIndex(1), nullptr, false, true);
            state.ResumeTiming();
        }
        ++frame;
        // One frame of game time: the animations advance and the window is drawn.
        stage.host.advance(1.0 / 60);
    }
}
BENCHMARK(BM_SettleFrameAfterARow)->Unit(benchmark::kMillisecond);

void BM_Resize(benchmark::State& state) {
    Stage stage;
    stage.restart(3);
    zm::LDPlaygroundMain& main = *stage.view->playgroundMain();
    float width = 1024;
    for (auto _ : state) {
        state.PauseTiming();
        width = width > 600 ? width - 3 : 1024;
        stage.view->setFrame({0, 0, width, 768});
        state.ResumeTiming();
        main.resizeToFitWithSegments(true);
        benchmark::DoNotOptimize(stage.view->baseFontSize());
    }
}
BENCHMARK(BM_Resize)->Unit(benchmark::kMicrosecond);

} // namespace
