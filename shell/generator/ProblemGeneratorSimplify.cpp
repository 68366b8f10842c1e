// Problems of the simplify, like-terms, multiply-then-add and factors topics.

#include "model/ExprProduct.h"
#include "model/ExprSum.h"
#include "shell/generator/Draws.h"
#include "shell/generator/ProblemGenerator.h"

namespace zm {

using namespace draws;

namespace {

void setVars(const std::vector<std::shared_ptr<ExprSoloist>>& terms, const std::string& var) {
    for (const auto& term : terms)
        term->setVar(var);
}

std::vector<std::shared_ptr<ExprSoloist>> positiveSolos(size_t count) {
    std::vector<std::shared_ptr<ExprSoloist>> terms;
    for (size_t i = 0; i < count; ++i)
        terms.push_back(ProblemGenerator::randomPositiveSolo());
    return terms;
}

} // namespace

std::vector<std::shared_ptr<ExprSoloist>> ProblemGenerator::simplifyAdditionTerms() {
    auto terms = positiveSolos(3);
    if (drawMod(3) == 0)
        terms.push_back(randomPositiveSolo());
    setVars(terms, kNumVar);
    shuffleArray(terms);
    return terms;
}

ExprPtr ProblemGenerator::getSimplifyAddition() {
    return ExprSum::sumWithArray(exprsOf(simplifyAdditionTerms()));
}

ExprPtr ProblemGenerator::getSimplifyNegatives() {
    auto terms = simplifyAdditionTerms();
    for (size_t i = 0; i < 2; ++i)
        terms[i]->setCoef(-terms[i]->coef());
    shuffleArray(terms);
    return ExprSum::sumWithArray(exprsOf(terms));
}

ExprPtr ProblemGenerator::getSimplifyMultiplication() {
    auto terms = simplifyAdditionTerms();
    terms.front()->setVar(randomVar());
    terms.resize(3);
    for (const auto& term : terms) {
        if (term->coef() > 10)
            term->setCoef(term->coef() - 10);
    }
    shuffleArray(terms);
    return ExprProduct::productWithArray(exprsOf(terms));
}

ExprPtr ProblemGenerator::getSimplifyLikeTerms3Elements() {
    auto terms = positiveSolos(3);
    const std::string var = randomVar();
    // The first and last terms are of one kind and the middle one of the other; not shuffled.
    const bool numbersOutside = oddDraw();
    terms[0]->setVar(numbersOutside ? kNumVar : var);
    terms[1]->setVar(numbersOutside ? var : kNumVar);
    terms[2]->setVar(numbersOutside ? kNumVar : var);
    return ExprSum::sumWithArray(exprsOf(terms));
}

ExprPtr ProblemGenerator::getSimplifyLikeTerms4Elements() {
    auto terms = positiveSolos(4);
    setVars({terms[0], terms[1]}, randomVar());
    setVars({terms[2], terms[3]}, kNumVar);
    shuffleArray(terms);
    return ExprSum::sumWithArray(exprsOf(terms));
}

ExprPtr ProblemGenerator::getSimplifyLikeTerms5Elements() {
    auto terms = positiveSolos(5);
    setVars({terms[0], terms[1]}, randomVar());
    terms[2]->setVar(randomVar());
    setVars({terms[3], terms[4]}, kNumVar);
    shuffleArray(terms);
    return ExprSum::sumWithArray(exprsOf(terms));
}

ExprPtr ProblemGenerator::getSimplifyLikeTerms() {
    auto terms = simplifyAdditionTerms();
    setVars({terms[0], terms[1]}, randomVar());
    if (terms.size() <= 3) {
        auto number = randomPositiveSolo();
        number->setVar(kNumVar);
        terms.push_back(number);
    }
    shuffleArray(terms);
    return ExprSum::sumWithArray(exprsOf(terms));
}

ExprPtr ProblemGenerator::getSimplifyOrderOfOperations() {
    auto number = randomSoloWithVar(kNumVar);
    auto factor = randomSolo();
    auto addend = randomSolo();
    setVars({factor, addend}, randomVar());
    auto product = ExprProduct::productWithArray(shuffled({number, factor}));
    return ExprSum::sumWithArray(shuffled({product, addend}));
}

ExprPtr ProblemGenerator::getSimplifyOrderOfOperations2Elements() {
    auto a = randomSoloWithVar(kNumVar);
    auto b = randomSolo();
    auto c = randomSoloWithVar(kNumVar);
    auto d = randomSolo();
    setVars({b, d}, randomVar());
    auto first = ExprProduct::productWithArray(shuffled({a, b}));
    auto second = ExprProduct::productWithArray(shuffled({c, d}));
    return ExprSum::sumWithArray({first, second});
}

ExprPtr ProblemGenerator::getFactorizePairs() {
    std::vector<int32_t> primes = primeNumberList();
    shuffleArray(primes);
    return ExprSoloist::soloWithCoef(primes.front() * primes.back());
}

ExprPtr ProblemGenerator::getFactorizeReplacement() {
    const uint32_t a = draw();
    const uint32_t b = draw();
    const uint32_t c = draw();
    const uint32_t d = draw();
    const int32_t coef = static_cast<int32_t>((a % 9 + 2) * (b % 9 + 2));
    const std::string var = c % 3 == 0 ? randomVar() : kNumVar;
    return ExprSoloist::soloWithCoef(d % 3 == 0 ? -coef : coef, var);
}

ExprPtr ProblemGenerator::getFactorizePrimeNumbers() {
    return getFactorizeReplacement();
}

ExprPtr ProblemGenerator::getFactorizeConvenience() {
    auto solo = randomSolo();
    if (solo->coef() > 0)
        solo->setVar(randomVar());
    else if (solo->varIsNum() && solo->coef() == -1)
        solo->setCoef(10);
    if (solo->coef() == 1)
        solo->setCoef(10);
    return solo;
}

} // namespace zm
