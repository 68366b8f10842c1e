// Problems of the equations topic: linear equations in one variable.

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSum.h"
#include "shell/generator/Draws.h"
#include "shell/generator/ProblemGenerator.h"

namespace zm {

using namespace draws;

namespace {

std::shared_ptr<ExprSoloist> positiveNumber() {
    auto number = ProblemGenerator::randomPositiveSolo();
    number->setVar(kNumVar);
    return number;
}

std::shared_ptr<ExprSoloist> overOneNumber() {
    auto number = ProblemGenerator::randomPositiveOverOneSolo();
    number->setVar(kNumVar);
    return number;
}

// The left side of a one-step equation: the variable term with the number added, multiplied or
// dividing it, as `kind` (0 to 2) says.
ExprPtr oneStepSide(uint32_t kind, const ExprPtr& varTerm, const ExprPtr& number) {
    switch (kind) {
    case 0:
        return ExprSum::sumWithArray(shuffled({varTerm, number}));
    case 1:
        return ExprProduct::productWithArray(shuffled({varTerm, number}));
    default:
        return ExprQuotient::quotientWithNumer(varTerm, number);
    }
}

} // namespace

ExprPtr ProblemGenerator::getSolveIsolate() {
    auto x = ExprSoloist::soloWithCoef(1, randomVar());
    auto n = overOneNumber();
    auto k = positiveNumber();
    return ExprEquation::equationWithLeft(oneStepSide(drawMod(3), x, n), k);
}

ExprPtr ProblemGenerator::getSolveAdvanced() {
    return newEquations();
}

ExprPtr ProblemGenerator::newEquations() {
    auto p = randomVarSolo();
    auto q = randomSoloWithVar(p->var());
    auto s = randomSoloWithVar(kNumVar);
    auto t = randomSoloWithVar(kNumVar);
    const uint32_t c = draw();
    const uint32_t d = draw();

    ExprPtr right;
    if (d & 1u) {
        // (k - j)v + (g - i) against kv + g: the side made of q and t is larger in both parts.
        const uint32_t f = drawMod(9);
        const int32_t k = static_cast<int32_t>(f) + 3;
        const int32_t j = static_cast<int32_t>(drawMod(f + 1)) + 1;
        const int32_t g = (static_cast<int32_t>(drawMod(4)) + 1) * k;
        const int32_t i = static_cast<int32_t>(drawMod(static_cast<uint32_t>(g - 2))) + 1;
        p->setCoef(k - j);
        q->setCoef(k);
        s->setCoef(g - i);
        t->setCoef(g);
        right = ExprSum::sumWithArray({q, t});
    } else {
        // pv + s against s + p*m: the solution is m.
        const int32_t m = static_cast<int32_t>(c % 9) + 1;
        t->setCoef(s->coef() + p->coef() * m);
        right = t;
    }
    ExprPtr left = ExprSum::sumWithArray({p, s});
    if (oddDraw())
        return ExprEquation::equationWithLeft(right, left);
    return ExprEquation::equationWithLeft(left, right);
}

ExprPtr ProblemGenerator::getSolveCleanUp() {
    ExprPtr other;
    if (oddDraw()) {
        other = getEliminateDivision();
    } else {
        // Three or four numbers less the last: always two or more.
        auto terms = simplifyAdditionTerms();
        terms.pop_back();
        other = ExprSum::sumWithArray(exprsOf(terms));
    }
    return ExprEquation::equationWithLeft(ExprSoloist::soloWithCoef(1, randomVar()), other);
}

ExprPtr ProblemGenerator::getSolveSplit() {
    const std::string var = randomVar();
    auto a = ExprSoloist::soloWithCoef(static_cast<int32_t>(drawMod(8)) + 2, var);
    auto n = overOneNumber();
    auto k = positiveNumber();
    ExprPtr left;
    switch (drawMod(3)) {
    case 1:
        left = a;
        break;
    case 2:
        left = ExprQuotient::quotientWithNumer(a, n);
        break;
    default:
        left = ExprSum::sumWithArray(shuffled({a, n}));
        break;
    }
    return ExprEquation::equationWithLeft(left, k);
}

ExprPtr ProblemGenerator::getSubstitution() {
    return getSimplifyLikeTerms();
}

} // namespace zm
