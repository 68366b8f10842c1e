// links: model shell
// The next-step solver on what the game poses: a sweep of a thousand seeds of every generator whose
// problems the solver answers (how many it leaves without a step, and the most nodes one needs),
// the next step of the problem that needs the most, and sums of 6 to 10 terms whose like terms lie
// apart.

#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/solver/SolverNode.h"
#include "shell/generator/testing/PosedProblems.h"

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using namespace zm;

constexpr uint64_t kSeeds = 1000;

// The nodes expanded to answer, in both orders when the first spends its bound; 0 for no answer.
size_t expansionsToAnswer(const ExprPtr& problem) {
    size_t expanded = 0;
    for (const SolverOrder order : {SolverOrder::Scored, SolverOrder::CommutesAtPar}) {
        SolverSearch search(problem, order);
        const SolverSearch::Outcome outcome = search.run(SolverNode::kMaxExpansions);
        expanded += search.expansions();
        if (outcome == SolverSearch::Outcome::Found)
            return expanded;
        if (outcome == SolverSearch::Outcome::Exhausted)
            return 0;
    }
    return 0;
}

struct Sweep {
    size_t problems = 0;
    size_t unanswered = 0;
    size_t mostExpansions = 0;
    ExprPtr hardest;
    std::string hardestName;
};

const Sweep& sweep() {
    static const Sweep result = [] {
        Sweep sweep;
        for (const testing::PosedGenerator& generator : testing::kPosedGenerators) {
            if (generator.factors)
                continue;
            for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
                const ExprPtr problem = testing::posedProblem(generator, seed);
                const size_t expansions = expansionsToAnswer(problem);
                ++sweep.problems;
                if (expansions == 0)
                    ++sweep.unanswered;
                if (expansions > sweep.mostExpansions) {
                    sweep.mostExpansions = expansions;
                    sweep.hardest = problem;
                    sweep.hardestName = generator.name;
                }
            }
        }
        return sweep;
    }();
    return result;
}

void BM_PosedProblemsSweep(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(sweep());
    state.counters["problems"] = static_cast<double>(sweep().problems);
    state.counters["unanswered"] = static_cast<double>(sweep().unanswered);
    state.counters["mostExpansions"] = static_cast<double>(sweep().mostExpansions);
}

void BM_HardestPosedNextStep(benchmark::State& state) {
    const Sweep& posed = sweep();
    for (auto _ : state)
        benchmark::DoNotOptimize(SolverNode::findNextStepForExpr(posed.hardest));
    state.SetLabel(posed.hardestName + ": " + posed.hardest->description());
}

// Terms in x, a number and terms in y in turn, so that no two like terms are neighbours.
ExprPtr mixedSum(int terms) {
    std::vector<ExprPtr> members;
    for (int i = 0; i < terms; ++i) {
        const int32_t coef = 2 + i;
        switch (i % 3) {
        case 0:
            members.push_back(ExprSoloist::soloWithCoef(coef, "x"));
            break;
        case 1:
            members.push_back(ExprSoloist::soloWithCoef(coef));
            break;
        default:
            members.push_back(ExprSoloist::soloWithCoef(coef, "y"));
            break;
        }
    }
    return ExprSum::sumWithArray(members);
}

void BM_MixedSumNextStep(benchmark::State& state) {
    const ExprPtr problem = mixedSum(static_cast<int>(state.range(0)));
    bool answered = false;
    for (auto _ : state)
        answered = SolverNode::findNextStepForExpr(problem) != nullptr;
    state.counters["answered"] = answered ? 1 : 0;
    state.counters["expansions"] = static_cast<double>(expansionsToAnswer(problem));
    state.SetLabel(problem->description());
}

BENCHMARK(BM_PosedProblemsSweep)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_HardestPosedNextStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedSumNextStep)->DenseRange(6, 10)->Unit(benchmark::kMillisecond);

} // namespace
