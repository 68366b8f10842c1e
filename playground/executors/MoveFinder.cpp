#include "playground/executors/MoveFinder.h"

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/solver/SolverNode.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepTranspose.h"
#include "platform/core/Random.h"

namespace zm {

namespace {

template <class Op> bool isOneOf(const OperatorPtr& op) {
    return isExactly<Op>(op);
}

std::vector<OperatorPtr> opsWhere(const ExprPtr& expr, bool (*keep)(const OperatorPtr&)) {
    std::vector<OperatorPtr> kept;
    if (!expr)
        return kept;
    for (const OperatorPtr& op : expr->getOps()) {
        if (keep(op))
            kept.push_back(op);
    }
    return kept;
}

// Whether an operator joins two plain numbers.
bool joinsTwoNumbers(const OperatorPtr& op) {
    for (const ExprPtr& operand : {op->firstExpr(), op->secondExpr()}) {
        if (!isExactly<ExprSoloist>(operand) || operand->getKeyVar())
            return false;
    }
    return true;
}

// How a term stands on its side of an equation, by its parent.
ArithmeticType joiningType(const Expr& term) {
    const ExprPtr parent = term.exprParent();
    if (isExactly<ExprProduct>(parent))
        return ArithmeticTypeMultiply;
    if (isExactly<ExprQuotient>(parent))
        return ArithmeticTypeDivide;
    return ArithmeticTypeAdd;
}

// The side has a variable that the other side lacks.
std::optional<std::string> varOnlyOn(const ExprPtr& side, const ExprPtr& other) {
    std::optional<std::string> var = side->getKeyVar();
    if (var && !other->hasVar(*var))
        return var;
    return std::nullopt;
}

// Writing the side's coefficient apart from its variable (2x as 2 * x), so that it can be carried
// across next.
std::shared_ptr<Step> splitCoefficient(const ExprPtr& side, const ExprPtr& other) {
    auto term = asExactly<ExprSoloist>(side);
    if (!term || !varOnlyOn(side, other))
        return nullptr;
    const auto pairs = term->getFactorizedProductPairs();
    if (pairs.empty())
        return nullptr;
    return StepFactorize::stepFactorizeWithOg(term, pairs.front());
}

} // namespace

size_t randomIndex(size_t count) {
    return count == 0 ? 0 : core::randomU32() % count;
}

std::vector<OperatorPtr> MoveFinder::plusOps() const {
    return opsWhere(m_mainExpr, isOneOf<OpPlus>);
}

std::vector<OperatorPtr> MoveFinder::timesOps() const {
    return opsWhere(m_mainExpr, isOneOf<OpTimes>);
}

std::vector<OperatorPtr> MoveFinder::plusAndTimesOps() const {
    return opsWhere(m_mainExpr,
                    [](const OperatorPtr& op) { return isOneOf<OpPlus>(op) || isOneOf<OpTimes>(op); });
}

std::shared_ptr<Step> MoveFinder::randomAddStep() const {
    const OperatorPtr plus = randomElement(plusOps());
    return plus ? plus->step() : nullptr;
}

std::shared_ptr<Step> MoveFinder::randomMultiplyStep() const {
    const OperatorPtr times = randomElement(timesOps());
    return times ? times->step() : nullptr;
}

std::vector<std::shared_ptr<Step>> MoveFinder::tapSteps(const std::vector<OperatorPtr>& ops,
                                                        bool changing) const {
    std::vector<std::shared_ptr<Step>> steps;
    for (const OperatorPtr& op : ops) {
        std::shared_ptr<Step> step = op->step();
        if (step && stepChangesExpr(*step, *m_mainExpr) == changing)
            steps.push_back(std::move(step));
    }
    return steps;
}

std::shared_ptr<Step> MoveFinder::randomSuccessfulAddOrMultiplyStep() const {
    return randomElement(tapSteps(plusAndTimesOps(), true));
}

std::shared_ptr<Step> MoveFinder::randomSuccessfulNonVarAddOrMultiplyStep() const {
    std::vector<OperatorPtr> ops = plusAndTimesOps();
    std::erase_if(ops, [](const OperatorPtr& op) { return !joinsTwoNumbers(op); });
    return randomElement(tapSteps(ops, true));
}

std::vector<std::shared_ptr<Step>> MoveFinder::unchangingAddOrMultiplySteps() const {
    return tapSteps(plusAndTimesOps(), false);
}

std::shared_ptr<StepCommute> MoveFinder::commuteStepFromExprList(const ExprList& list) {
    const ExprPtr prince = randomElement(list.exprs());
    std::vector<ExprPtr> others = list.exprs();
    std::erase(others, prince);
    const ExprPtr other = randomElement(others);
    if (!prince || !other)
        return nullptr;
    return StepCommute::stepCommuteWithPrincipal(prince, other);
}

std::vector<ExprPtr> MoveFinder::termsFromExpr(const ExprPtr& expr) {
    return SolverNode::termsFromExpr(expr);
}

std::shared_ptr<ExprEquation> MoveFinder::equation() const {
    return asExactly<ExprEquation>(m_mainExpr);
}

std::shared_ptr<Step> MoveFinder::solveForIsolatedVar(const ExprPtr& otherSide) const {
    auto quotient = asExactly<ExprQuotient>(otherSide);
    if (quotient) {
        const std::vector<StepPtr> eliminations = SolverNode::eliminationStepsForExprQuotient(*quotient);
        if (!eliminations.empty())
            return randomElement(eliminations);
    }
    if (std::shared_ptr<Step> step = randomSuccessfulAddOrMultiplyStep())
        return step;
    // A line between the whole numerator and denominator: the playground decides what it means.
    if (quotient)
        return std::make_shared<StepEliminate>(
            std::vector<ExprPtr>{quotient->firstExpr(), quotient->secondExpr()});
    return nullptr;
}

std::shared_ptr<Step> MoveFinder::findSolveStep() const {
    if (!m_mainExpr)
        return nullptr;
    const std::shared_ptr<ExprEquation> equation = this->equation();
    if (equation) {
        if (ExprPtr otherSide = equation->otherSideOfIsolatedVar()) {
            if (std::shared_ptr<Step> step = solveForIsolatedVar(otherSide))
                return step;
        }
    }
    if (std::shared_ptr<Step> step = randomSuccessfulNonVarAddOrMultiplyStep())
        return step;
    if (!equation)
        return randomSuccessfulAddOrMultiplyStep();

    const ExprPtr& left = equation->firstExpr();
    const ExprPtr& right = equation->secondExpr();
    if (varOnlyOn(left, right)) {
        if (auto step = isolateVar(kNumVar, left))
            return step;
    }
    if (varOnlyOn(right, left)) {
        if (auto step = isolateVar(kNumVar, right))
            return step;
    }
    if (std::shared_ptr<Step> step = splitCoefficient(left, right))
        return step;
    if (std::shared_ptr<Step> step = splitCoefficient(right, left))
        return step;
    if (std::shared_ptr<Step> step = randomSuccessfulAddOrMultiplyStep())
        return step;
    const std::optional<std::string> leftVar = left->getKeyVar();
    if (leftVar && right->hasVar(*leftVar))
        return isolateVar(*leftVar, right);
    return nullptr;
}

std::shared_ptr<StepTranspose> MoveFinder::isolateVar(const std::string& var, const ExprPtr& side) const {
    if (!side)
        return nullptr;
    std::vector<ExprPtr> candidates;
    if (auto* list = dynamic_cast<const ExprList*>(side.get())) {
        const std::optional<std::string> sideVar = side->getKeyVar();
        for (const ExprPtr& term : list->exprs()) {
            const bool holdsSideVar = sideVar && term->hasVar(*sideVar);
            if (term->hasVar(var) && (var != kNumVar || !holdsSideVar))
                candidates.push_back(term);
        }
    } else if (auto quotient = asExactly<ExprQuotient>(side)) {
        if (quotient->secondExpr()->hasVar(var))
            candidates.push_back(quotient->secondExpr());
    }
    const ExprPtr term = randomElement(candidates);
    if (!term)
        return nullptr;
    return StepTranspose::stepTransposeWithExpr(term, joiningType(*term));
}

} // namespace zm
