#pragma once

#include "model/ExprEquation.h"
#include "model/ExprList.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepEuclideanFountain.h"
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

} // namespace zm::testing
