// links: model shell
// The next-step solver on what the game poses: a sweep of a thousand seeds of every generator whose
// problems the solver answers (how many it leaves without a step, and the most nodes one needs),
// the next step of the problem that needs the most nodes and of the slowest of those that need many, and
// sums of 6 to 10 terms whose like terms lie apart. With ZEMBRIX_SOLVER_ANSWERS naming a file, the sweep
// writes every problem's answer there (the order that found it, the nodes each order expanded, the step and
// the expression it reaches), so that two builds of the search can be compared answer by answer.

#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/solver/SolverNode.h"
#include "shell/generator/testing/PosedProblems.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using namespace zm;

constexpr uint64_t kSeeds = 1000;

struct Answer {
    // The order that found it; none when neither did.
    const char* order = "none";
    // The nodes each order expanded.
    size_t scoredExpansions = 0;
    size_t atParExpansions = 0;
    const SolverNode* found = nullptr;
    size_t expansions() const { return found ? scoredExpansions + atParExpansions : 0; }
};

// The answer as findNextStepForExpr gives it, with the work of each order.
std::string answerLine(const ExprPtr& problem, const Answer& answer) {
    std::string line = problem->description() + " | " + answer.order + " " +
                       std::to_string(answer.scoredExpansions) + " " + std::to_string(answer.atParExpansions);
    if (answer.found) {
        const StepPtr step = answer.found->originalStep();
        line += " | " + step->description() + " | " + applyToIdCopy(*step, *problem)->description();
    }
    return line;
}

template <class Use> void answer(const ExprPtr& problem, Use use) {
    Answer answer;
    for (const SolverOrder order : {SolverOrder::Scored, SolverOrder::CommutesAtPar}) {
        SolverSearch search(problem, order);
        const SolverSearch::Outcome outcome = search.run(SolverNode::kMaxExpansions);
        (order == SolverOrder::Scored ? answer.scoredExpansions : answer.atParExpansions) =
            search.expansions();
        if (outcome == SolverSearch::Outcome::Found) {
            answer.order = order == SolverOrder::Scored ? "scored" : "at-par";
            answer.found = search.found();
        }
        if (outcome != SolverSearch::Outcome::Expanded) {
            use(answer);
            return;
        }
    }
    use(answer);
}

// The nodes expanded to answer, in both orders when the first spends its bound; 0 for no answer.
size_t expansionsToAnswer(const ExprPtr& problem) {
    size_t expanded = 0;
    answer(problem, [&](const Answer& answer) { expanded = answer.expansions(); });
    return expanded;
}

struct Sweep {
    size_t problems = 0;
    size_t unanswered = 0;
    size_t mostExpansions = 0;
    // The most nodes the scored order expanded for a problem it answered.
    size_t mostScoredExpansions = 0;
    ExprPtr hardest;
    std::string hardestName;
    // The problems that need at least three quarters of the most nodes, with their generators: the
    // slowest of them is found by timing each.
    std::vector<std::pair<ExprPtr, std::string>> heavy;
};

const Sweep& sweep() {
    static const Sweep result = [] {
        Sweep sweep;
        const char* answersPath = std::getenv("ZEMBRIX_SOLVER_ANSWERS");
        std::ofstream answers;
        if (answersPath)
            answers.open(answersPath);
        for (const testing::PosedGenerator& generator : testing::kPosedGenerators) {
            if (generator.factors)
                continue;
            for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
                const ExprPtr problem = testing::posedProblem(generator, seed);
                answer(problem, [&](const Answer& answer) {
                    if (4 * answer.expansions() >= 3 * SolverNode::kMaxExpansions)
                        sweep.heavy.emplace_back(problem, generator.name);
                    ++sweep.problems;
                    if (!answer.found)
                        ++sweep.unanswered;
                    if (answer.found && answer.atParExpansions == 0)
                        sweep.mostScoredExpansions =
                            std::max(sweep.mostScoredExpansions, answer.scoredExpansions);
                    if (answer.expansions() > sweep.mostExpansions) {
                        sweep.mostExpansions = answer.expansions();
                        sweep.hardest = problem;
                        sweep.hardestName = generator.name;
                    }
                    if (answers.is_open())
                        answers << generator.name << " " << seed << " | " << answerLine(problem, answer)
                                << "\n";
                });
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
    state.counters["mostScored"] = static_cast<double>(sweep().mostScoredExpansions);
}

void BM_HardestPosedNextStep(benchmark::State& state) {
    const Sweep& posed = sweep();
    for (auto _ : state)
        benchmark::DoNotOptimize(SolverNode::findNextStepForExpr(posed.hardest));
    state.SetLabel(posed.hardestName + ": " + posed.hardest->description());
}

// Of the problems that need the most nodes, the one whose answer takes longest: each is timed by
// the best of five runs.
const std::pair<ExprPtr, std::string>& slowest() {
    static const std::pair<ExprPtr, std::string> result = [] {
        std::pair<ExprPtr, std::string> found;
        double longest = 0;
        for (const auto& [problem, name] : sweep().heavy) {
            double best = 1e9;
            for (int run = 0; run < 5; ++run) {
                const auto started = std::chrono::steady_clock::now();
                benchmark::DoNotOptimize(SolverNode::findNextStepForExpr(problem));
                const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
                best = std::min(best, took.count());
            }
            if (best > longest) {
                longest = best;
                found = {problem, name};
            }
        }
        return found;
    }();
    return result;
}

void BM_SlowestPosedNextStep(benchmark::State& state) {
    const auto& [problem, name] = slowest();
    for (auto _ : state)
        benchmark::DoNotOptimize(SolverNode::findNextStepForExpr(problem));
    state.SetLabel(name + ": " + problem->description() + " (of " + std::to_string(sweep().heavy.size()) +
                   ")");
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
BENCHMARK(BM_SlowestPosedNextStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedSumNextStep)->DenseRange(6, 10)->Unit(benchmark::kMillisecond);

} // namespace
