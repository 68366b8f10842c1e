#pragma once

#include "model/Expr.h"

#include <memory>
#include <string>
#include <vector>

namespace zm {

class ExprEquation;
class ExprList;
class Step;
class StepCommute;
class StepTranspose;

// The moves the automatic players choose among, found on one expression tree (the main expression of
// a playground): taps on "+" and "*", commutes, and a small equation solver. Each answers a step made
// on that tree, or null, and leaves the tree as it is; a move is tried, where it must be, on a copy.
// Every random choice takes the element at a random 32-bit draw modulo the number of candidates.
class MoveFinder {
public:
    explicit MoveFinder(ExprPtr mainExpr)
        : m_mainExpr(std::move(mainExpr)) {}

    const ExprPtr& mainExpr() const { return m_mainExpr; }

    // The operators of the expression that are exactly "+", exactly "*", or either, in tree order.
    std::vector<OperatorPtr> plusOps() const;
    std::vector<OperatorPtr> timesOps() const;
    std::vector<OperatorPtr> plusAndTimesOps() const;

    // The tap on a random "+" or "*", untested.
    std::shared_ptr<Step> randomAddStep() const;
    std::shared_ptr<Step> randomMultiplyStep() const;
    // A random tap on a "+" or "*" that changes the expression; the same among those joining two
    // plain numbers.
    std::shared_ptr<Step> randomSuccessfulAddOrMultiplyStep() const;
    std::shared_ptr<Step> randomSuccessfulNonVarAddOrMultiplyStep() const;
    // The taps on "+" and "*" that change nothing (the rules refuse them).
    std::vector<std::shared_ptr<Step>> unchangingAddOrMultiplySteps() const;

    // A random member of the list carried past another random member.
    static std::shared_ptr<StepCommute> commuteStepFromExprList(const ExprList& list);
    // The members of a product, or the expression alone.
    static std::vector<ExprPtr> termsFromExpr(const ExprPtr& expr);

    // The expression when it is exactly an equation.
    std::shared_ptr<ExprEquation> equation() const;
    // The next step towards solving the equation; on anything else, only an addition or
    // multiplication that changes something, plain numbers first.
    std::shared_ptr<Step> findSolveStep() const;
    // Carrying a term off `side` across the equals sign: a term holding `var`, or for "num" a term
    // holding a plain number and not the side's variable.
    std::shared_ptr<StepTranspose> isolateVar(const std::string& var, const ExprPtr& side) const;

private:
    // The taps of `ops` whose trial on a copy changes the expression, or leaves it as it is.
    std::vector<std::shared_ptr<Step>> tapSteps(const std::vector<OperatorPtr>& ops, bool changing) const;
    std::shared_ptr<Step> solveForIsolatedVar(const ExprPtr& otherSide) const;

    ExprPtr m_mainExpr;
};

// A random index below `count` (at least 1): a random 32-bit draw modulo `count`.
size_t randomIndex(size_t count);

// A random element of `candidates`, or an empty value when there is none.
template <class T> T randomElement(const std::vector<T>& candidates) {
    return candidates.empty() ? T{} : candidates[randomIndex(candidates.size())];
}

} // namespace zm
