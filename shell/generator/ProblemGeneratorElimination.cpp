// Problems of the elimination topic: fractions whose numerator and denominator share factors.

#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSum.h"
#include "model/steps/StepDistribute.h"
#include "shell/generator/Draws.h"
#include "shell/generator/ProblemGenerator.h"

namespace zm {

using namespace draws;

namespace {

std::shared_ptr<ExprSoloist> copyOf(const ExprSoloist& term) {
    return std::static_pointer_cast<ExprSoloist>(term.copy());
}

std::shared_ptr<ExprProduct> shuffledProduct(const ExprPtr& a, const ExprPtr& b) {
    return ExprProduct::productWithArray(shuffled({a, b}));
}

// The smallest power of `prime` that is at least `value`.
int64_t powerAtLeast(int32_t prime, int32_t value) {
    int64_t power = prime;
    while (power < value)
        power *= prime;
    return power;
}

} // namespace

ExprPtr ProblemGenerator::getEliminateEqualsOne() {
    auto p = randomPositiveOverOneSolo();
    auto q = randomPositiveOverOneSolo();
    auto pCopy = copyOf(*p);
    switch (drawMod(3)) {
    case 0:
        return ExprQuotient::quotientWithNumer(p, pCopy);
    case 1:
        return ExprQuotient::quotientWithNumer(shuffledProduct(p, q), pCopy);
    default:
        return ExprQuotient::quotientWithNumer(pCopy, shuffledProduct(p, q));
    }
}

ExprPtr ProblemGenerator::getEliminateCrossOut() {
    auto p = randomPositiveOverOneSolo();
    auto q = randomPositiveOverOneSolo();
    auto pCopy = copyOf(*p);
    if (!oddDraw())
        return ExprQuotient::quotientWithNumer(shuffledProduct(p, q), pCopy);

    std::vector<int32_t> primes = primeNumberList();
    shuffleArray(primes);
    auto factor = ExprSoloist::soloWithCoef(primes.back());
    // A factor whose power is q itself would cancel all of q; one more than it cancels nothing.
    const int64_t power = powerAtLeast(factor->coef(), q->coef());
    if (power == q->coef())
        factor->setCoef(static_cast<int32_t>(power) + 1);
    auto numerator = shuffledProduct(p, q);
    return ExprQuotient::quotientWithNumer(numerator, shuffledProduct(pCopy, factor));
}

std::pair<std::shared_ptr<ExprSoloist>, std::shared_ptr<ExprSoloist>>
ProblemGenerator::eliminateDivisionTerms() {
    auto p = randomPositiveOverOneSolo();
    p->setVar(kNumVar);
    // Ends by p's second multiple at the latest.
    int32_t i = static_cast<int32_t>(drawMod(9)) + 2;
    while (!oneDividesTheOther(p->coef(), i) || i == p->coef())
        ++i;
    auto q = ExprSoloist::soloWithCoef(i);
    if (!oddDraw()) {
        q->setCoef(static_cast<int32_t>(drawMod(9)) + 2);
        const int32_t factor = static_cast<int32_t>(drawMod(7)) + 2;
        p->setCoef(p->coef() * factor);
        q->setCoef(q->coef() * factor);
    }
    return {p, q};
}

ExprPtr ProblemGenerator::getEliminateDivision() {
    auto [numerator, denominator] = eliminateDivisionTerms();
    return ExprQuotient::quotientWithNumer(numerator, denominator);
}

ExprPtr ProblemGenerator::getEliminateProductsOnly() {
    auto [numerator, denominator] = eliminateDivisionTerms();
    switch (drawMod(3)) {
    case 2:
        return ExprQuotient::quotientWithNumer(numerator, cutUpSum(*denominator));
    case 1:
        return ExprQuotient::quotientWithNumer(cutUpSum(*numerator), denominator);
    default: {
        auto top = cutUpSum(*numerator);
        return ExprQuotient::quotientWithNumer(top, cutUpSum(*denominator));
    }
    }
}

} // namespace zm
