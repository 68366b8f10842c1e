// links: model
// The cost of one move on problem-sized expressions (with and without a transition record) and of
// the solver's next step, for one problem of each kind the topics generate.

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/solver/SolverNode.h"
#include "model/steps/StepAdd.h"
#include "model/steps/StepDistribute.h"
#include "model/testing/RecordingBaggage.h"

#include <functional>

#include <benchmark/benchmark.h>

namespace {

using namespace zm;

ExprPtr n(int32_t value) {
    return ExprSoloist::soloWithCoef(value);
}
ExprPtr t(int32_t coef, const char* var, int32_t exponent = 1) {
    return ExprSoloist::soloWithCoef(coef, var, exponent);
}
ExprPtr sum(std::vector<ExprPtr> members) {
    return ExprSum::sumWithArray(members);
}
ExprPtr prod(std::vector<ExprPtr> members) {
    return ExprProduct::productWithArray(members);
}

struct Problem {
    const char* topic;
    std::function<ExprPtr()> make;
};

// One problem per topic, at the master difficulty's size.
const Problem kProblems[] = {
    {"commutation",
     [] {
         return sum({n(3), t(1, "x"), n(5), t(2, "y"), n(-4)});
     }},
    {"like terms",
     [] {
         return sum({t(3, "x"), n(2), t(5, "x"), n(4), t(-2, "y"), t(4, "y")});
     }},
    {"order of operations",
     [] {
         return sum({n(1), prod({n(2), n(3)}), prod({n(4), n(5)}), n(6)});
     }},
    {"factors",
     [] {
         return prod({n(12), t(1, "x"), n(18)});
     }},
    {"elimination",
     [] {
         return ExprQuotient::quotientWithNumer(prod({n(6), t(1, "x"), t(1, "y")}), prod({n(4), t(1, "x")}));
     }},
    {"equations",
     [] {
         return ExprEquation::equationWithLeft(sum({t(3, "x"), n(2)}), sum({n(11), t(1, "x")}));
     }},
    {"distribution",
     [] {
         return sum({prod({n(2), sum({t(1, "x"), n(3)})}), prod({n(3), sum({t(1, "x"), n(-1)})})});
     }},
    {"exponents",
     [] {
         return prod({t(1, "x", 2), t(1, "x", 3), n(4)});
     }},
};

// Applies the first add or multiply step of a fresh id copy, as the playground applies a tap.
void BM_ApplyTapStep(benchmark::State& state) {
    const Problem& problem = kProblems[state.range(0)];
    const ExprPtr source = problem.make();
    const bool recorded = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        ExprPtr tree = source->copy();
        StepPtr step;
        for (const OperatorPtr& op : tree->getOps()) {
            if ((step = op->step()))
                break;
        }
        zm::testing::RecordingBaggage bag;
        state.ResumeTiming();
        benchmark::DoNotOptimize(step->applyToExpr(tree, recorded ? &bag : nullptr));
    }
    state.SetLabel(problem.topic);
}

// The trial a player or the solver makes before a step: copy, stamp ids, remake, apply.
void BM_TrialOnIdCopy(benchmark::State& state) {
    const Problem& problem = kProblems[state.range(0)];
    const ExprPtr source = problem.make();
    StepPtr step;
    for (const OperatorPtr& op : source->getOps()) {
        if ((step = op->step()))
            break;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(applyToIdCopy(*step, *source));
    state.SetLabel(problem.topic);
}

void BM_SolverNextStep(benchmark::State& state) {
    const Problem& problem = kProblems[state.range(0)];
    const ExprPtr source = problem.make();
    for (auto _ : state)
        benchmark::DoNotOptimize(SolverNode::findNextStepForExpr(source));
    state.SetLabel(problem.topic);
}

constexpr int kProblemCount = static_cast<int>(std::size(kProblems));

BENCHMARK(BM_ApplyTapStep)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kProblemCount - 1, 1), {0, 1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TrialOnIdCopy)->DenseRange(0, kProblemCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolverNextStep)->DenseRange(0, kProblemCount - 1)->Unit(benchmark::kMillisecond);

} // namespace
