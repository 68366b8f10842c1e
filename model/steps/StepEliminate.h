#pragma once

#include "model/steps/Step.h"

#include <vector>

namespace zm {

class ExprProduct;
class ExprQuotient;
class ExprSoloist;

// Cancelling across a fraction bar, from a line drawn through a term of the numerator and a term of
// the denominator: equal terms go (a whole numerator over an equal whole denominator leaves 1), a
// denominator 1 goes, a denominator -1 moves into the numerator as a sign, and a numerator 0 makes
// the whole fraction 0.
class StepEliminate : public Step {
public:
    // Works out whether the rule holds for the two given terms; the step may come out invalid.
    explicit StepEliminate(std::vector<ExprPtr> givenExprs);
    // The step when it is valid, else null.
    static std::shared_ptr<StepEliminate> stepEliminateWithExprs(std::vector<ExprPtr> exprs);
    // The fraction whose bar the term stands directly above or below, as a whole side or as a
    // factor of a side.
    static std::shared_ptr<ExprQuotient> correctAncestor(const ExprPtr& expr);

    bool isValid() const { return m_valid; }
    const std::shared_ptr<ExprQuotient>& ancestor() const { return m_ancestor; }
    const std::shared_ptr<ExprSoloist>& numerWinner() const { return m_numerWinner; }
    const std::shared_ptr<ExprSoloist>& denomWinner() const { return m_denomWinner; }
    const ExprPtr& numerNonSolo() const { return m_numerNonSolo; }
    const ExprPtr& denomNonSolo() const { return m_denomNonSolo; }
    const std::vector<ExprPtr>& givenExprs() const { return m_givenExprs; }

    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // Validity is worked out again on the other tree; null when it lacks a given node.
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;
    std::string description() const override;

private:
    void calcResults();
    ExprPtr numerator() const;
    ExprPtr denominator() const;

    bool m_valid = false;
    std::shared_ptr<ExprQuotient> m_ancestor;
    std::shared_ptr<ExprSoloist> m_numerWinner;
    std::shared_ptr<ExprSoloist> m_denomWinner;
    ExprPtr m_numerNonSolo;
    ExprPtr m_denomNonSolo;
    std::vector<ExprPtr> m_givenExprs;
};

// Prepares a cancellation: two single terms of one fraction are each replaced by a product whose
// second factor is their largest common factor among their factor pairs (12/8 becomes
// (3*4)/(2*4)), so that the user can then cancel those factors.
class StepEliminateQuick : public Step {
public:
    StepEliminateQuick(std::shared_ptr<ExprSoloist> firstDeath, ExprPtr firstReplacement,
                       std::shared_ptr<ExprSoloist> secondDeath, ExprPtr secondReplacement);
    // Null when the two terms show no common factor to prepare.
    static std::shared_ptr<StepEliminateQuick> stepEliminateQuickFromExprs(const std::vector<ExprPtr>& exprs);

    const std::shared_ptr<ExprSoloist>& firstDeath() const { return m_firstDeath; }
    const std::shared_ptr<ExprSoloist>& secondDeath() const { return m_secondDeath; }
    const ExprPtr& firstReplacement() const { return m_firstReplacement; }
    const ExprPtr& secondReplacement() const { return m_secondReplacement; }

    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // The two terms by id; a replacement the other tree does not hold (the rule: it is made for the
    // step) is copied with the same ids.
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;

private:
    std::shared_ptr<ExprSoloist> m_firstDeath;
    ExprPtr m_firstReplacement;
    std::shared_ptr<ExprSoloist> m_secondDeath;
    ExprPtr m_secondReplacement;
};

// The factor two two-factor products share (not the number 1), as P's own factor object; null
// when there is none or either is not a pair.
ExprPtr commonFactorOfPairs(const ExprProduct& p, const ExprProduct& q);

// `expr` found by id in `root`, or, when `root` does not hold it, a copy of it stamped with its ids.
ExprPtr findOrCopyWithIds(const Expr& root, const ExprPtr& expr);

} // namespace zm
