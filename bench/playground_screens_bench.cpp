// links: problemsets shell platform_host
//
// One frame of a topic's playground screen as the game runs it, at each device and scale: the screen
// at rest with a problem, and the screen of a solved problem (the glow over two turning sunbursts, the
// banner). A frame has 16 ms.

#include "bench/GameBench.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/topics/TopicIdentifiers.h"

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

} // namespace
