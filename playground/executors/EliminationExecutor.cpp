#include "playground/executors/EliminationExecutor.h"

#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepFactorize.h"
#include "platform/core/Random.h"

namespace zm {

namespace {

// The factors of each side of the fraction; none without a fraction.
struct Sides {
    std::vector<ExprPtr> numerator;
    std::vector<ExprPtr> denominator;
};

Sides sidesOf(const std::shared_ptr<ExprQuotient>& quotient) {
    if (!quotient)
        return {};
    return {MoveFinder::termsFromExpr(quotient->firstExpr()),
            MoveFinder::termsFromExpr(quotient->secondExpr())};
}

// A product that a factorization of a term may write it as (one not refused).
std::shared_ptr<ExprProduct> usableProduct(const ExprPtr& replacement) {
    auto product = asExactly<ExprProduct>(replacement);
    return product && !StepFactorize::exprReplacementWillFail(*product) ? product : nullptr;
}

} // namespace

std::shared_ptr<ExprQuotient> EliminationExecutor::quotient() const {
    return asExactly<ExprQuotient>(mainExpr());
}

std::shared_ptr<StepFactorize> EliminationExecutor::sharedFactorSplit() const {
    const Sides sides = sidesOf(quotient());
    std::vector<std::shared_ptr<StepEliminateQuick>> candidates;
    for (const ExprPtr& n : sides.numerator) {
        for (const ExprPtr& d : sides.denominator) {
            if (auto quick = StepEliminateQuick::stepEliminateQuickFromExprs({n, d}))
                candidates.push_back(std::move(quick));
        }
    }
    const std::shared_ptr<StepEliminateQuick> quick = randomElement(candidates);
    if (!quick)
        return nullptr;
    if (auto product = usableProduct(quick->firstReplacement()))
        return StepFactorize::stepFactorizeWithOg(quick->firstDeath(), product);
    if (auto product = usableProduct(quick->secondReplacement()))
        return StepFactorize::stepFactorizeWithOg(quick->secondDeath(), product);
    return nullptr;
}

void EliminationExecutor::progressStep() {
    AIExecutor::progressStep();
    const Sides sides = sidesOf(quotient());
    std::vector<std::shared_ptr<Step>> eliminations;
    for (const ExprPtr& n : sides.numerator) {
        for (const ExprPtr& d : sides.denominator) {
            if (!n->isEquivalent(*d))
                continue;
            if (auto step = StepEliminate::stepEliminateWithExprs({n, d}))
                eliminations.push_back(std::move(step));
        }
    }
    if (std::shared_ptr<Step> step = randomElement(eliminations)) {
        animateStep(step);
        return;
    }
    const MoveFinder finder = moves();
    if (std::shared_ptr<Step> step = finder.randomAddStep()) {
        animateStep(step);
        return;
    }
    if (std::shared_ptr<StepFactorize> split = sharedFactorSplit()) {
        // The tap opens the factor pairs, where the player picks this product.
        setReplacement(split->replacement());
        animateStep(split);
        return;
    }
    if (std::shared_ptr<Step> step = finder.randomMultiplyStep())
        animateStep(step);
    else
        cancelAnimations();
}

void EliminationExecutor::mixStep() {
    AIExecutor::mixStep();
    const std::shared_ptr<ExprQuotient> fraction = quotient();
    for (const ExprPtr& side :
         {fraction ? fraction->firstExpr() : nullptr, fraction ? fraction->secondExpr() : nullptr}) {
        if (auto* list = dynamic_cast<const ExprList*>(side.get())) {
            animateStep(MoveFinder::commuteStepFromExprList(*list));
            return;
        }
    }
    progressStep();
}

void EliminationExecutor::failStep() {
    AIExecutor::failStep();
    if (core::randomU32() & 1)
        progressStep();
    else
        mixStep();
}

} // namespace zm
