#pragma once

#include "model/ExprProduct.h"
#include "model/ExprSum.h"
#include "model/Int32.h"
#include "model/solver/SolverNode.h"
#include "model/steps/StepReplace.h"
#include "model/steps/StepSubstitute.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/StepCandidates.h"
#include "model/testing/TreeInvariants.h"

#include <cstdio>
#include <cstdlib>

namespace zm::testing {

// Reads choices from fuzzer input; an exhausted input keeps answering 0.
class Choices {
public:
    Choices(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size) {}

    uint32_t below(uint32_t bound) {
        if (bound == 0)
            return 0;
        uint32_t value = 0;
        for (int i = 0; i < 2 && m_offset < m_size; ++i)
            value = (value << 8) | m_data[m_offset++];
        return value % bound;
    }
    bool exhausted() const { return m_offset >= m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
};

inline ExprPtr fuzzedTerm(Choices& in) {
    static const char* const names[] = {"num", "num", "x", "y", "null"};
    // Now and then any 32-bit value, to reach the limits of the coefficient arithmetic.
    const uint32_t raw = in.below(4) == 0 ? in.below(65536) * 65536u + in.below(65536) : in.below(21);
    const int32_t coef = wrappingAdd(static_cast<int32_t>(raw), -10);
    return ExprSoloist::soloWithCoef(coef, names[in.below(5)], static_cast<int32_t>(in.below(5)) - 1);
}

inline ExprPtr fuzzedExpr(Choices& in, int depth) {
    if (depth <= 0 || in.exhausted())
        return fuzzedTerm(in);
    std::vector<ExprPtr> members;
    switch (in.below(5)) {
    case 0:
        return fuzzedTerm(in);
    case 1:
    case 2:
    case 3: {
        for (uint32_t i = 0, n = 2 + in.below(3); i < n; ++i)
            members.push_back(fuzzedExpr(in, depth - 1));
        return in.below(2) == 0 ? ExprPtr(ExprSum::sumWithArray(members))
                                : ExprPtr(ExprProduct::productWithArray(members));
    }
    default:
        return ExprQuotient::quotientWithNumer(fuzzedExpr(in, depth - 1), fuzzedExpr(in, depth - 1));
    }
}

inline void expectWellFormed(const Expr& tree, const char* after) {
    const std::string fault = treeFault(tree);
    if (!fault.empty()) {
        std::fprintf(stderr, "malformed tree after %s: %s\n", after, fault.c_str());
        std::abort();
    }
}

// Plays moves on `root` as the input chooses: any basic or factor step, both sides, replacement,
// substitution, failure, the goal tests, copies and, now and then, the solver. Aborts when a tree
// comes out malformed.
inline void playFuzzedMoves(ExprPtr root, Choices& in) {
    expectWellFormed(*root, "building");
    for (int move = 0; move < 24 && !in.exhausted(); ++move) {
        std::vector<StepPtr> steps = basicStepCandidates(root);
        const auto factorSteps = factorStepCandidates(root);
        steps.insert(steps.end(), factorSteps.begin(), factorSteps.end());
        const auto solos = root->getSolos();
        if (auto equation = asExactly<ExprEquation>(root))
            steps.push_back(std::make_shared<StepEuclideanFountain>(equation, fuzzedExpr(in, 1),
                                                                    static_cast<int32_t>(in.below(4))));
        if (!solos.empty()) {
            const ExprPtr picked = solos[in.below(static_cast<uint32_t>(solos.size()))];
            steps.push_back(std::make_shared<StepReplace>(std::vector<ExprPtr>{picked},
                                                          std::vector<ExprPtr>{fuzzedExpr(in, 1)}));
            steps.push_back(std::make_shared<StepSubstituteVar>("x", fuzzedExpr(in, 1)));
            steps.push_back(std::make_shared<StepFail>(std::vector<ExprPtr>{picked}));
        }
        const StepPtr step = steps.empty() ? nullptr : steps[in.below(static_cast<uint32_t>(steps.size()))];
        if (step) {
            RecordingBaggage bag;
            applyToIdCopy(*step, *root);
            ExprPtr next = step->applyToExpr(root, in.below(2) == 0 ? &bag : nullptr);
            if (next)
                root = next;
            expectWellFormed(*root, step->description().c_str());
        }
        root->isSimplified();
        root->isFactorized();
        root->getSizeApproxString();
        if (ExprPtr simplified = root->getSimplifiedExpr())
            expectWellFormed(*simplified, "simplifying");
        if (in.below(16) == 0)
            SolverNode::findNextStepForExpr(root, 3);
    }
}

// Builds a tree from the input, then plays the moves the rest of the input chooses.
inline void playFuzzedSteps(const uint8_t* data, size_t size) {
    Choices in(data, size);
    ExprPtr root = fuzzedExpr(in, 4);
    if (in.below(2) == 0)
        root = ExprEquation::equationWithLeft(root, fuzzedExpr(in, 2));
    playFuzzedMoves(root, in);
}

} // namespace zm::testing
