#pragma once

// Helpers of the generator's tests: seeded and scripted draws, looking into generated trees, and
// their values.

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "platform/core/Random.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm::testing {

// Enough runs for every branch of every recipe to be taken many times.
inline constexpr uint64_t kSeeds = 400;

// Runs `check` once per seed, with the process's draws and the shuffle's sequence both seeded.
inline void forEachSeed(const std::function<void(uint64_t seed)>& check, uint64_t seeds = kSeeds) {
    for (uint64_t seed = 1; seed <= seeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        core::ScopedRandomSource draws(core::makeSeededRandom(seed));
        core::cRandom().seed(static_cast<uint32_t>(seed));
        check(seed);
    }
}

// The process draws exactly these values, in order.
class ScriptedDraws {
public:
    explicit ScriptedDraws(std::vector<uint32_t> draws)
        : m_scope(core::makeScriptedRandom(std::move(draws))) {}

private:
    core::ScopedRandomSource m_scope;
};

inline std::shared_ptr<ExprSoloist> termOf(const ExprPtr& expr) {
    return asExactly<ExprSoloist>(expr);
}

// The members of a list of class L, or none when `expr` is not one.
template <class L> std::vector<ExprPtr> membersOf(const ExprPtr& expr) {
    auto list = asExactly<L>(expr);
    return list ? list->exprs() : std::vector<ExprPtr>{};
}

// The terms when every member of the list of class L is a term; none otherwise.
template <class L> std::vector<std::shared_ptr<ExprSoloist>> termsOf(const ExprPtr& expr) {
    std::vector<std::shared_ptr<ExprSoloist>> terms;
    for (const ExprPtr& member : membersOf<L>(expr)) {
        auto term = termOf(member);
        if (!term)
            return {};
        terms.push_back(term);
    }
    return terms;
}

inline bool isNumber(const ExprPtr& expr) {
    auto term = termOf(expr);
    return term && term->varIsNum() && term->exponent() == 1;
}

inline bool isVarTerm(const ExprPtr& expr) {
    auto term = termOf(expr);
    return term && term->varIsNotNum();
}

inline const std::set<std::string>& randomVars() {
    static const std::set<std::string> vars{"x", "y", "z", "a", "b", "c"};
    return vars;
}

// The value with every variable standing for `at`; for an equation, left side less right side.
inline double valueOf(const Expr& expr, double at) {
    if (auto term = dynamic_cast<const ExprSoloist*>(&expr))
        return term->coef() * (term->varIsNum() ? 1.0 : std::pow(at, term->exponent()));
    if (auto sum = dynamic_cast<const ExprSum*>(&expr)) {
        double total = 0;
        for (const ExprPtr& member : sum->exprs())
            total += valueOf(*member, at);
        return total;
    }
    if (auto product = dynamic_cast<const ExprProduct*>(&expr)) {
        double total = 1;
        for (const ExprPtr& member : product->exprs())
            total *= valueOf(*member, at);
        return total;
    }
    if (auto quotient = dynamic_cast<const ExprQuotient*>(&expr))
        return valueOf(*quotient->firstExpr(), at) / valueOf(*quotient->secondExpr(), at);
    if (auto equation = dynamic_cast<const ExprEquation*>(&expr))
        return valueOf(*equation->firstExpr(), at) - valueOf(*equation->secondExpr(), at);
    ADD_FAILURE() << "no value for " << expr.description();
    return NAN;
}

// A linear equation with exactly one solution: the two sides differ by a line that is not flat.
// Measured away from 0, where a variable below a fraction bar has no value.
inline bool hasOneSolution(const ExprEquation& equation) {
    return std::abs(valueOf(equation, 2) - valueOf(equation, 1)) > 1e-9;
}

} // namespace zm::testing
