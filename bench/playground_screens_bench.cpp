// links: problemsets shell platform_host
//
// One frame of a topic's playground screen as the game runs it, at each device and scale: the screen
// at rest with a problem, and the screen of a solved problem (the glow over two turning sunbursts, the
// banner); and a key typed on the quick problem's keyboard, with the frame that shows it. A frame has
// 16 ms.

#include "bench/GameBench.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "problemsets/playgrounds/QuickPlaygroundViewController.h"
#include "problemsets/screens/MasterListViewController.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/topics/TopicIdentifiers.h"

#include <string>

#include <benchmark/benchmark.h>

namespace {

// The game on the commutation topic.
struct Game : bench::Game {
    explicit Game(const benchmark::State& state)
        : bench::Game(state) {
        openTopic(zm::AlgebraTopicCommutation);
        screen = bench::Game::screen<zm::PlaygroundViewController>();
    }
    std::shared_ptr<zm::PlaygroundViewController> screen;
};

void BM_ProblemFrame(benchmark::State& state) {
    Game game(state);
    for (auto _ : state)
        game.host.advance(bench::kFrame);
}
BENCHMARK(BM_ProblemFrame)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond);

void BM_SolvedProblemFrame(benchmark::State& state) {
    Game game(state);
    game.solve(*game.screen);
    if (!game.screen->showingCompleted())
        state.SkipWithError("the problem was not solved by tapping");
    for (auto _ : state)
        game.host.advance(bench::kFrame);
}
BENCHMARK(BM_SolvedProblemFrame)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond);

// The quick problem with the keyboard up over a typed problem of 30 characters: one key (a digit, then
// the delete key taking it back) and the frame that shows the problem it makes; the expression then
// settles untimed before the next key.
void BM_QuickProblemKeyFrame(benchmark::State& state) {
    bench::Game game(state);
    game.openTopic(zm::AlgebraTopicCustom);
    const auto list = game.screen<zm::MasterListViewController>();
    if (!list)
        return state.SkipWithError("no list of sets");
    list->hitQuickProblem();
    game.host.advance(1.5);
    const auto quick = game.screen<zm::QuickPlaygroundViewController>();
    if (!quick || !quick->inputVC())
        return state.SkipWithError("no keyboard");
    const std::string problem = "2(x+3)+4(x-1)=3x^2-5x+7(x/2-1)";
    game.host.typeText(problem);
    game.host.advance(1);
    if (!quick->initialText())
        return state.SkipWithError("the problem was not typed");
    bool typing = true;
    for (auto _ : state) {
        if (typing)
            game.host.typeText("9");
        else
            game.host.pressKey(ui::EditingKey::Backspace);
        typing = !typing;
        game.host.advance(bench::kFrame);
        state.PauseTiming();
        game.host.advance(0.5);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QuickProblemKeyFrame)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond);

} // namespace
