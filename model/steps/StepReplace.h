#pragma once

#include "model/steps/Step.h"

#include <vector>

namespace zm {

// Given nodes replaced by given new nodes: several nodes by one (all but the first removed, the
// first replaced), or each by its own replacement in order. Mismatched counts change nothing.
class StepReplace : public Step {
public:
    StepReplace(std::vector<ExprPtr> condemned, std::vector<ExprPtr> replacements)
        : m_condemned(std::move(condemned))
        , m_replacements(std::move(replacements)) {}

    const std::vector<ExprPtr>& condemned() const { return m_condemned; }
    void setCondemned(std::vector<ExprPtr> condemned) { m_condemned = std::move(condemned); }
    const std::vector<ExprPtr>& replacements() const { return m_replacements; }
    void setReplacements(std::vector<ExprPtr> replacements) { m_replacements = std::move(replacements); }

    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;

private:
    std::vector<ExprPtr> m_condemned;
    std::vector<ExprPtr> m_replacements;
};

// The refused move: the given terms shake and nothing changes.
class StepFail : public Step {
public:
    explicit StepFail(std::vector<ExprPtr> exprs)
        : m_exprs(std::move(exprs)) {}

    const std::vector<ExprPtr>& exprs() const { return m_exprs; }
    void setExprs(std::vector<ExprPtr> exprs) { m_exprs = std::move(exprs); }

    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // The terms with the same ids; those the other tree lacks are left out.
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;

private:
    std::vector<ExprPtr> m_exprs;
};

} // namespace zm
