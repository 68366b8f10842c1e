#pragma once

#include "model/testing/Trees.h"
#include "platform/core/Random.h"

namespace zm::testing {

// Small random expression trees of the kinds the game shows: terms over x and y with small
// coefficients, sums and products of two or three members, fractions, and an equation at the root.
class RandomTrees {
public:
    explicit RandomTrees(uint64_t seed)
        : m_random(core::makeSeededRandom(seed)) {}

    uint32_t below(uint32_t bound) { return m_random->next() % bound; }

    std::shared_ptr<ExprSoloist> term(bool nonZero = false) {
        static const char* const names[] = {"num", "num", "x", "y"};
        int32_t coef = static_cast<int32_t>(below(13)) - 6;
        if (nonZero && coef == 0)
            coef = 1 + static_cast<int32_t>(below(5));
        const std::string name = names[below(4)];
        int32_t exponent = below(5) == 0 ? 2 : 1;
        if (name != "num" && below(3) == 0)
            coef = 1;
        return ExprSoloist::soloWithCoef(coef, name, exponent);
    }

    ExprPtr expr(int depth) {
        if (depth <= 0)
            return term();
        switch (below(5)) {
        case 0:
            return term();
        case 1:
        case 2:
            return ExprSum::sumWithArray(members(depth));
        case 3:
            return ExprProduct::productWithArray(members(depth));
        default:
            return ExprQuotient::quotientWithNumer(expr(depth - 1), denominator(depth - 1));
        }
    }

    // An expression, or an equation of two, at the root.
    ExprPtr root(int depth) {
        if (below(2) == 0)
            return ExprEquation::equationWithLeft(expr(depth), expr(depth - 1));
        return expr(depth);
    }

private:
    std::vector<ExprPtr> members(int depth) {
        std::vector<ExprPtr> list;
        const uint32_t count = 2 + below(2);
        for (uint32_t i = 0; i < count; ++i)
            list.push_back(expr(depth - 1));
        return list;
    }

    // Denominators stay clear of zero at the points the tests sample (positive x and y).
    ExprPtr denominator(int depth) {
        auto bottom = term(true);
        if (depth > 0 && below(3) == 0)
            return ExprProduct::productWithArray(
                {bottom, ExprSoloist::soloWithCoef(1 + static_cast<int32_t>(below(4)), "x")});
        bottom->setCoef(std::abs(bottom->coef()));
        return bottom;
    }

    std::unique_ptr<core::RandomSource> m_random;
};

} // namespace zm::testing
