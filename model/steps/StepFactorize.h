#pragma once

#include "model/steps/Step.h"

#include <vector>

namespace zm {

class ExprProduct;
class ExprSoloist;
class ExprSum;

// A tap on a term: the term is written as a product equal to it (3x as 3 * x, -6 as -1 * 6). A
// product whose first factor is 1 shows nothing new and is refused; for a power of a variable
// (1 * x^2) the exponents playground opens instead.
class StepFactorize : public Step {
public:
    StepFactorize(std::shared_ptr<ExprSoloist> original, ExprPtr replacement)
        : m_original(std::move(original))
        , m_replacement(std::move(replacement)) {}
    static std::shared_ptr<StepFactorize> stepFactorizeWithOg(std::shared_ptr<ExprSoloist> original,
                                                              ExprPtr replacement);
    // Whether applying a factorization to `replacement` would be refused: a product whose first
    // factor is the term "1".
    static bool exprReplacementWillFail(const Expr& replacement);

    const std::shared_ptr<ExprSoloist>& original() const { return m_original; }
    const ExprPtr& replacement() const { return m_replacement; }

    std::shared_ptr<Playground> createModalPlayground(ModalPlaygroundFactory& mainPlayground) override;
    // Refuses a replacement that is a single term, starts with the factor 1 or is no list at all.
    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;
    std::string description() const override;

private:
    std::shared_ptr<ExprSoloist> m_original;
    ExprPtr m_replacement;
};

// A tap on a number with two or more factor pairs: opens the factor-pair playground, where the user
// picks one; applied directly it changes nothing.
class StepFactorizeChoices : public Step {
public:
    StepFactorizeChoices(std::vector<std::shared_ptr<ExprProduct>> choices, std::shared_ptr<ExprSoloist> solo)
        : m_solo(std::move(solo))
        , m_choices(std::move(choices)) {}

    const std::shared_ptr<ExprSoloist>& solo() const { return m_solo; }
    const std::vector<std::shared_ptr<ExprProduct>>& choices() const { return m_choices; }

    std::shared_ptr<Playground> createModalPlayground(ModalPlaygroundFactory& mainPlayground) override;
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;
    std::string description() const override;

private:
    std::shared_ptr<ExprSoloist> m_solo;
    std::vector<std::shared_ptr<ExprProduct>> m_choices;
};

// The reverse of distribution, ab + ac = a(b + c): equivalent terms, one in each of several terms of
// one sum, are taken out as a common factor; the last of them survives as the factor.
class StepFactorOut : public Step {
public:
    // Null when the terms do not pass `validateSolos`.
    static std::shared_ptr<StepFactorOut> stepFactorOutWithSolos(std::vector<ExprPtr> solos);
    // From the expression views the user dragged and dropped on: any view type with `getExpr()`.
    template <class ViewPtr>
    static std::shared_ptr<StepFactorOut> stepFactorOutFromExprViews(const std::vector<ViewPtr>& views) {
        std::vector<ExprPtr> solos;
        for (const ViewPtr& view : views)
            solos.push_back(view ? view->getExpr() : nullptr);
        return stepFactorOutWithSolos(std::move(solos));
    }
    // Two or more equivalent terms, each in a different term of one sum, each such term a direct
    // member of the sum, and at least one of them a factor of a product.
    static bool validateSolos(const std::vector<ExprPtr>& solos);

    const std::vector<ExprPtr>& solos() const { return m_solos; }
    const std::shared_ptr<ExprSum>& grandmaSum() const { return m_grandmaSum; }
    // The common factor written first, a(b + c), or last, (b + c)a.
    bool outLeft() const { return m_outLeft; }
    void setOutLeft(bool outLeft) { m_outLeft = outLeft; }

    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // Validated again on the other tree; `outLeft` on.
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;

    // Use `stepFactorOutWithSolos`, which validates first.
    StepFactorOut(std::vector<ExprPtr> solos, std::shared_ptr<ExprSum> grandmaSum)
        : m_solos(std::move(solos))
        , m_grandmaSum(std::move(grandmaSum)) {}

private:
    std::vector<ExprPtr> m_solos;
    std::shared_ptr<ExprSum> m_grandmaSum;
    bool m_outLeft = true;
};

} // namespace zm
