// links: longdivision platform_host
//
// The long-division playground on a 1024 x 768 tablet, at scale 1 and at scale 2 (the benchmark's
// argument; the goals hold at both), working 98765 ÷ 43: one frame of the
// 0.4 s settle after a row is added (goal: under 8 ms), and a resize of the whole division with three
// rows to a new host width (goal: under 1 ms). Every resize is to a size not measured lately, so the
// text engine's cost of a new size is counted. A frame while a dividend digit is dragged over the
// division with three rows, and a frame of the divisor flying in the multiples chooser; frames of a
// quotient digit rising and of the banner sliding in over 1 ÷ 7 worked to four decimal places (goal:
// under 8 ms each). A frame in demonstration mode while the divisor's ghost slides over the dividend
// and the overlap timer lights the digits under it, and a frame of the decimal-point shifter while its
// slider drags the points of 3.5 ÷ 1.25 (goal: under 8 ms each).

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"
#include "longdivision/PlaygroundBeginningDecimal.h"
#include "longdivision/PlaygroundMultiples.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Window.h"
#include "playground/views/OpSlider.h"

#include <benchmark/benchmark.h>

namespace {

struct Stage {
    explicit Stage(const benchmark::State& state)
        : host({ui::Idiom::Tablet, float(state.range(0))}) {
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

void atBothScales(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("scale")->Arg(1)->Arg(2);
}

void BM_SettleFrameAfterARow(benchmark::State& state) {
    Stage stage(state);
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
BENCHMARK(BM_SettleFrameAfterARow)->Apply(atBothScales)->Unit(benchmark::kMillisecond);

void BM_Resize(benchmark::State& state) {
    Stage stage(state);
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
BENCHMARK(BM_Resize)->Apply(atBothScales)->Unit(benchmark::kMicrosecond);

void BM_DigitDragFrame(benchmark::State& state) {
    Stage stage(state);
    stage.restart(3);
    zm::LDPlaygroundMain& main = *stage.view->playgroundMain();
    // Three rows have taken 98, 7 and 6: the 5 is next.
    main.setNextIndex(4);
    const core::Rect five = main.longDivisionExprView()->numeratorView()->digitViews()[4]->getHitbox();
    core::Point finger{five.midX(), five.midY()};
    stage.host.touchDown(finger);
    float step = 4;
    for (auto _ : state) {
        // One move of the finger, the dragged digit's short ride to it, and the frame drawn.
        if (finger.y > 700 || finger.y < five.midY())
            step = -step;
        finger = {finger.x - step / 2, finger.y + step};
        stage.host.touchMove(finger);
        stage.host.advance(1.0 / 60);
    }
    stage.host.touchUp(finger);
}
BENCHMARK(BM_DigitDragFrame)->Apply(atBothScales)->Unit(benchmark::kMillisecond);

void BM_FlyingDivisorFrame(benchmark::State& state) {
    Stage stage(state);
    int frame = 0;
    for (auto _ : state) {
        if (frame % 15 == 0) {
            // A flight lasts a quarter of a second: count up, then down again.
            state.PauseTiming();
            const auto chooser = std::dynamic_pointer_cast<zm::PlaygroundMultiples>(stage.view->modalPlayground());
            if (!chooser || chooser->counter() >= 8) {
                stage.restart(0);
                zm::LDPlaygroundMain& fresh = *stage.view->playgroundMain();
                fresh.insertHorizontalSegment(fresh.longDivisionExpr()->getFirstSegment(), nullptr, true, false);
                stage.host.advance(1);
            }
            std::dynamic_pointer_cast<zm::PlaygroundMultiples>(stage.view->modalPlayground())->incrementCounter();
            state.ResumeTiming();
        }
        ++frame;
        stage.host.advance(1.0 / 60);
    }
}
BENCHMARK(BM_FlyingDivisorFrame)->Apply(atBothScales)->Unit(benchmark::kMillisecond);

// 1 ÷ 7 with four decimal places and five rows worked: the banner asks for the repeating digits.
void workOneBySeven(Stage& stage) {
    stage.view->setNewProblem(zm::ExprLongDivision::longDivision(1, 7, "142857"), false);
    zm::LDPlaygroundMain& main = *stage.view->playgroundMain();
    for (int place = 2; place <= 4; ++place)
        main.appendZeroToNumerator();
    for (uint32_t row = 0; row < 4; ++row)
        main.insertHorizontalSegment(main.longDivisionExpr()->getSegmentAtIndex(row), nullptr, false, true);
    stage.host.advance(1);
}

void BM_RisingDigitFrame(benchmark::State& state) {
    Stage stage(state);
    workOneBySeven(stage);
    zm::LDPlaygroundMain& main = *stage.view->playgroundMain();
    const auto digit = main.longDivisionExprView()->answerView()->digitViews().back();
    int frame = 0;
    for (auto _ : state) {
        // A digit takes 0.4 s to rise or come down: tapped every 24 frames.
        if (frame % 24 == 0)
            main.moveSolo(digit);
        ++frame;
        stage.host.advance(1.0 / 60);
    }
}
BENCHMARK(BM_RisingDigitFrame)->Apply(atBothScales)->Unit(benchmark::kMillisecond);

void BM_SlidingBannerFrame(benchmark::State& state) {
    Stage stage(state);
    int frame = 0;
    for (auto _ : state) {
        // The banner slides in over half a second, at the fifth decimal place the division asks for.
        if (frame % 30 == 0) {
            state.PauseTiming();
            workOneBySeven(stage);
            state.ResumeTiming();
            stage.view->playgroundMain()->appendZeroToNumerator();
        }
        ++frame;
        stage.host.advance(1.0 / 60);
    }
}
BENCHMARK(BM_SlidingBannerFrame)->Apply(atBothScales)->Unit(benchmark::kMillisecond);

void BM_DemonstrationFrame(benchmark::State& state) {
    Stage stage(state);
    stage.view->setNewProblem(zm::ExprLongDivision::longDivision(98765, 43), true);
    stage.host.advance(1);
    for (auto _ : state)
        stage.host.advance(1.0 / 60);
}
BENCHMARK(BM_DemonstrationFrame)->Apply(atBothScales)->Unit(benchmark::kMillisecond);

void BM_ShifterSlideFrame(benchmark::State& state) {
    Stage stage(state);
    auto division = zm::ExprLongDivision::longDivision(35, 125);
    division->setNumeratorDotPosition(1);
    division->setDenominatorDotPosition(1);
    stage.view->setNewProblem(division, false);
    stage.host.advance(1);
    auto& shifter = *std::dynamic_pointer_cast<zm::PlaygroundBeginningDecimal>(stage.view->modalPlayground());
    zm::OpSlider& slider = *shifter.slider();
    float value = 0.5f, step = 0.02f;
    for (auto _ : state) {
        // One move of the finger on the slider: both points glide along their arcs, and the frame is drawn.
        if (value + step > 1 || value + step < 0)
            step = -step;
        value += step;
        slider.setValue(value);
        slider.sendActions(ui::ControlEvent::ValueChanged);
        stage.host.advance(1.0 / 60);
    }
}
BENCHMARK(BM_ShifterSlideFrame)->Apply(atBothScales)->Unit(benchmark::kMillisecond);

} // namespace
