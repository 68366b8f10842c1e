#pragma once

#include "model/ExprEquation.h"
#include "model/ExprList.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepDistribute.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepEuclideanFountain.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepTranspose.h"

#include <vector>

namespace zm::testing {

// Every move a player can make on a tree with the basic steps, refused ones included: a tap on
// each operator, each commute within a list, each transpose of a term of an equation's side.
inline std::vector<StepPtr> basicStepCandidates(const ExprPtr& root) {
    std::vector<StepPtr> steps;
    for (const OperatorPtr& op : root->getOps()) {
        if (StepPtr step = op->step())
            steps.push_back(step);
    }
    for (const auto& list : root->childrenOfType<ExprList>()) {
        for (const ExprPtr& a : list->exprs()) {
            for (const ExprPtr& b : list->exprs()) {
                if (a != b)
                    steps.push_back(StepCommute::stepCommuteWithPrincipal(a, b));
            }
        }
    }
    if (isExactly<ExprEquation>(root)) {
        for (const auto& solo : root->getSolos()) {
            const ExprPtr parent = solo->exprParent();
            const ExprPtr grandparent = parent ? parent->exprParent() : nullptr;
            if (!isExactly<ExprEquation>(parent) && !isExactly<ExprEquation>(grandparent))
                continue;
            if (auto fraction = asExactly<ExprQuotient>(parent); fraction && fraction->firstExpr() == solo)
                continue;
            const int32_t sym = isExactly<ExprProduct>(parent)    ? ArithmeticTypeMultiply
                                : isExactly<ExprQuotient>(parent) ? ArithmeticTypeDivide
                                                                  : ArithmeticTypeAdd;
            steps.push_back(StepTranspose::stepTransposeWithExpr(solo, sym));
        }
    }
    return steps;
}

// The moves of the factor rules: distributing (either way round), factorizing each term into each
// of its pairs, cancelling or preparing to cancel any two terms across a bar (in both orders), and
// taking out any two equivalent terms (to either side).
inline std::vector<StepPtr> factorStepCandidates(const ExprPtr& root) {
    std::vector<StepPtr> steps;
    for (const OperatorPtr& op : root->getOps()) {
        if (auto times = asExactly<OpTimes>(op)) {
            if (auto step = StepDistribute::stepDistributeFromTimes(times)) {
                steps.push_back(step);
                auto reversed = StepDistribute::stepDistributeFromTimes(times);
                reversed->setReverse(true);
                steps.push_back(reversed);
            }
        }
    }
    const auto solos = root->getSolos();
    for (const auto& solo : solos) {
        for (const auto& pair : solo->getFactorizedProductPairs())
            steps.push_back(StepFactorize::stepFactorizeWithOg(solo, pair));
    }
    auto factors = [](const ExprPtr& side) {
        auto product = asExactly<ExprProduct>(side);
        return product ? product->exprs() : std::vector<ExprPtr>{side};
    };
    for (const auto& fraction : root->childrenOfType<ExprQuotient>()) {
        for (const ExprPtr& n : factors(fraction->firstExpr())) {
            for (const ExprPtr& d : factors(fraction->secondExpr())) {
                for (const auto& crossed : {std::vector<ExprPtr>{n, d}, std::vector<ExprPtr>{d, n}}) {
                    if (auto step = StepEliminate::stepEliminateWithExprs(crossed))
                        steps.push_back(step);
                    if (auto step = StepEliminateQuick::stepEliminateQuickFromExprs(crossed))
                        steps.push_back(step);
                }
            }
        }
    }
    for (const auto& a : solos) {
        for (const auto& b : solos) {
            if (a == b)
                continue;
            if (auto step = StepFactorOut::stepFactorOutWithSolos({a, b})) {
                steps.push_back(step);
                auto right = StepFactorOut::stepFactorOutWithSolos({a, b});
                right->setOutLeft(false);
                steps.push_back(right);
            }
        }
    }
    return steps;
}

} // namespace zm::testing
