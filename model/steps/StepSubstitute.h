#pragma once

#include "model/steps/Step.h"

namespace zm {

class ExprSoloist;

// A tap that asks for a substitution into a term: opens the exponents playground for a term with an
// exponent other than 1 and otherwise changes nothing.
class StepSubstituteInput : public Step {
public:
    explicit StepSubstituteInput(std::shared_ptr<ExprSoloist> solo)
        : m_solo(std::move(solo)) {}

    const std::shared_ptr<ExprSoloist>& solo() const { return m_solo; }
    void setSolo(std::shared_ptr<ExprSoloist> solo) { m_solo = std::move(solo); }

    std::shared_ptr<Playground> createModalPlayground(ModalPlaygroundFactory& mainPlayground) override;
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;

private:
    std::shared_ptr<ExprSoloist> m_solo;
};

// An expression substituted for a variable everywhere in the tree; the tree gets copies of it.
class StepSubstituteVar : public Step {
public:
    StepSubstituteVar(std::string var, ExprPtr replacement)
        : m_var(std::move(var))
        , m_replacement(std::move(replacement)) {}

    const std::string& var() const { return m_var; }
    void setVar(std::string var) { m_var = std::move(var); }
    const ExprPtr& replacement() const { return m_replacement; }
    void setReplacement(ExprPtr replacement) { m_replacement = std::move(replacement); }

    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // The replacement is looked up by id and, as it is only ever copied, kept as it is when the other
    // tree does not hold it (the rule: it belongs to no tree).
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;

private:
    std::string m_var;
    ExprPtr m_replacement;
};

} // namespace zm
