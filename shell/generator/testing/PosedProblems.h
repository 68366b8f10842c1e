#pragma once

// The generators behind every problem the progress store poses, with the way each is solved, and
// a seeded draw of one problem: shared by the solvability test and the solver's benchmark.

#include "platform/core/Random.h"
#include "shell/generator/ProblemGenerator.h"

#include <cstdint>

namespace zm::testing {

struct PosedGenerator {
    const char* name;
    ExprPtr (*generate)();
    // Factors problems are split by factor steps until factorised, not searched.
    bool factors;
};

// By topic and difficulty. The master exponents problems (x^a * x^b, x^a / x^b) are not among
// them: a tap on their operator opens the exponents playground, which does the work that no step
// of the model does alone.
inline constexpr PosedGenerator kPosedGenerators[] = {
    {"getSimplifyAddition", ProblemGenerator::getSimplifyAddition, false},
    {"getSimplifyNegatives", ProblemGenerator::getSimplifyNegatives, false},
    {"getSimplifyMultiplication", ProblemGenerator::getSimplifyMultiplication, false},
    {"getSimplifyLikeTerms3Elements", ProblemGenerator::getSimplifyLikeTerms3Elements, false},
    {"getSimplifyLikeTerms4Elements", ProblemGenerator::getSimplifyLikeTerms4Elements, false},
    {"getSimplifyLikeTerms5Elements", ProblemGenerator::getSimplifyLikeTerms5Elements, false},
    {"getSimplifyOrderOfOperations", ProblemGenerator::getSimplifyOrderOfOperations, false},
    {"getSimplifyOrderOfOperations2Elements", ProblemGenerator::getSimplifyOrderOfOperations2Elements, false},
    {"getFactorizePairs", ProblemGenerator::getFactorizePairs, true},
    {"getFactorizeReplacement", ProblemGenerator::getFactorizeReplacement, true},
    {"getEliminateEqualsOne", ProblemGenerator::getEliminateEqualsOne, false},
    {"getEliminateCrossOut", ProblemGenerator::getEliminateCrossOut, false},
    {"getEliminateDivision", ProblemGenerator::getEliminateDivision, false},
    {"getEliminateProductsOnly", ProblemGenerator::getEliminateProductsOnly, false},
    {"getSolveIsolate", ProblemGenerator::getSolveIsolate, false},
    {"getSolveAdvanced", ProblemGenerator::getSolveAdvanced, false},
    {"getDistribution", ProblemGenerator::getDistribution, false},
    {"getDistAdvanced", ProblemGenerator::getDistAdvanced, false},
    {"getExponentLikeTerms", ProblemGenerator::getExponentLikeTerms, false},
};

// The problem `generator` poses with the process's draws and the shuffle's sequence both seeded.
inline ExprPtr posedProblem(const PosedGenerator& generator, uint64_t seed) {
    core::ScopedRandomSource draws(core::makeSeededRandom(seed));
    core::cRandom().seed(static_cast<uint32_t>(seed));
    return generator.generate();
}

} // namespace zm::testing
