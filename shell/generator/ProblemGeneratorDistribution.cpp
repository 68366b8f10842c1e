// Problems of the distribution topic: products of a term and a sum, and equations made of them.

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/steps/StepDistribute.h"
#include "shell/generator/Draws.h"
#include "shell/generator/ProblemGenerator.h"

namespace zm {

using namespace draws;

namespace {

// The outer factor and the sum, shuffled on an odd draw, else the factor first.
std::shared_ptr<ExprProduct> outerTimesSum(const ExprPtr& outer, const ExprPtr& sum) {
    std::vector<ExprPtr> factors{outer, sum};
    if (oddDraw())
        shuffleArray(factors);
    return ExprProduct::productWithArray(factors);
}

// The terms that the distribution helpers look at: the product's direct members and the members
// of its direct sums.
std::vector<std::shared_ptr<ExprSoloist>> distributionTerms(const ExprProduct& product) {
    std::vector<std::shared_ptr<ExprSoloist>> terms;
    for (const ExprPtr& member : product.exprs()) {
        if (auto term = asExactly<ExprSoloist>(member)) {
            terms.push_back(term);
        } else if (auto sum = asExactly<ExprSum>(member)) {
            for (const ExprPtr& inner : sum->exprs()) {
                if (auto innerTerm = asExactly<ExprSoloist>(inner))
                    terms.push_back(innerTerm);
            }
        }
    }
    return terms;
}

// Simplifying the sum leaves a variable term with coefficient 0: its variable cancelled out.
bool variableCancels(const ExprPtr& sum) {
    auto simplified = asExactly<ExprSum>(sum->getSimplifiedExpr());
    if (!simplified)
        return false;
    for (const ExprPtr& member : simplified->exprs()) {
        auto term = asExactly<ExprSoloist>(member);
        if (term && term->varIsNotNum() && term->coef() == 0)
            return true;
    }
    return false;
}

// The value with every variable 0 (a quotient by 0 gives no value).
double valueWithVariablesZero(const Expr& expr) {
    if (auto term = dynamic_cast<const ExprSoloist*>(&expr))
        return term->varIsNum() ? term->coef() : 0.0;
    if (auto quotient = dynamic_cast<const ExprQuotient*>(&expr))
        return valueWithVariablesZero(*quotient->firstExpr()) / valueWithVariablesZero(*quotient->secondExpr());
    const bool product = dynamic_cast<const ExprProduct*>(&expr) != nullptr;
    double value = product ? 1.0 : 0.0;
    for (const ExprPtr& member : expr.children())
        value = product ? value * valueWithVariablesZero(*member) : value + valueWithVariablesZero(*member);
    return value;
}

// A coefficient moved on by one, never to 0.
int32_t movedOn(int32_t coef) {
    return coef == -1 ? 1 : coef + 1;
}

// The number side of an equation is moved on by one when the variable's value would be 0: the
// player would reach "x = 0 / n", which no move turns into x = 0.
void avoidAnswerZero(const Expr& variableSide, ExprSoloist& number) {
    if (valueWithVariablesZero(variableSide) == number.coef())
        number.setCoef(movedOn(number.coef()));
}

} // namespace

std::shared_ptr<ExprProduct> ProblemGenerator::getDistribution(bool outerVar) {
    auto p = randomVarSolo();
    auto q = randomSoloWithVar(kNumVar);
    auto r = randomSoloWithVar(kNumVar);
    // Keeps a sum of the two numbers from adding up to 0.
    if (r->coef() == -q->coef())
        r->setCoef(-r->coef());
    const uint32_t e = draw();
    if (e % 4 != 1 && !outerVar)
        return outerTimesSum(r, ExprSum::sumWithArray(shuffled({q, p})));
    return outerTimesSum(p, ExprSum::sumWithArray(shuffled({r, q})));
}

ExprPtr ProblemGenerator::getDistribution() {
    auto product = getDistribution(false);
    if (oddDraw()) {
        auto number = randomSoloWithVar(kNumVar);
        avoidAnswerZero(*product, *number);
        return ExprEquation::equationWithLeft(product, number);
    }
    return product;
}

std::shared_ptr<ExprProduct> ProblemGenerator::getDistributionVarInsideOnly() {
    auto p = randomVarSolo();
    auto q = randomSoloWithVar(kNumVar);
    auto r = randomSoloWithVar(kNumVar);
    return outerTimesSum(r, ExprSum::sumWithArray(shuffled({q, p})));
}

std::shared_ptr<ExprSoloist> ProblemGenerator::getSoloFromDistributionProduct(const ExprProduct& product) {
    std::shared_ptr<ExprSoloist> found;
    for (const ExprPtr& member : product.exprs()) {
        if (auto term = asExactly<ExprSoloist>(member))
            found = term;
    }
    return found;
}

std::shared_ptr<ExprSum> ProblemGenerator::distributed(const std::shared_ptr<ExprProduct>& product) {
    if (!product || product->ops().empty())
        return nullptr;
    auto step =
        StepDistribute::stepDistributeFromTimes(std::dynamic_pointer_cast<OpTimes>(product->ops().back()));
    if (!step)
        return nullptr;
    return asExactly<ExprSum>(step->applyToExpr(product, nullptr));
}

std::shared_ptr<ExprQuotient> ProblemGenerator::getFactoringOutWithType(int type) {
    std::shared_ptr<ExprProduct> p;
    std::shared_ptr<ExprProduct> q;
    if (type == -1) {
        p = getDistributionVarInsideOnly();
    } else {
        p = getDistribution(type != 0);
        q = getDistribution(type != 0);
    }

    auto outer = getSoloFromDistributionProduct(*p);
    if (!outer)
        return nullptr;
    auto outerCopy = std::static_pointer_cast<ExprSoloist>(outer->copy());
    if (q) {
        // The second product takes the first one's factor, so the two share it.
        auto replaced = q->replaceExpr(getSoloFromDistributionProduct(*q), outerCopy, nullptr);
        q = asExactly<ExprProduct>(replaced);
    }

    auto numerator = distributed(p);
    if (!numerator)
        return nullptr;
    // The last product multiplied out: (3 * 4 + 6x) / 3 rather than (3 * 4 + 3 * 2x) / 3.
    std::vector<ExprPtr> terms = numerator->exprs();
    if (auto last = asExactly<ExprProduct>(terms.back())) {
        if (ExprPtr multiplied = last->multiplyAllExprsTogether()) {
            terms.back() = multiplied;
            numerator->setExprs(terms);
            numerator->reformOpsWithBaggage(nullptr);
        }
    }

    ExprPtr denominator = outerCopy;
    if (type != 0 && type != -1)
        denominator = distributed(q);
    return ExprQuotient::quotientWithNumer(numerator, denominator);
}

ExprPtr ProblemGenerator::getFactoringOut() {
    return getFactoringOutWithType(static_cast<int>(drawMod(4)));
}

ExprPtr ProblemGenerator::getDistAdvanced() {
    switch (drawMod(4)) {
    case 0:
        return getDistAdvancedDistWithVar();
    case 1:
        return getDistAdvancedFact();
    case 2:
        return getDistAdvancedTripleDist();
    default:
        return getDistAdvancedFatDist();
    }
}

ExprPtr ProblemGenerator::getDistAdvancedDistWithVar() {
    auto product = getDistribution(false);
    auto n = randomSoloWithVar(kNumVar);
    const std::string var = product->getKeyVar().value_or(kNumVar);
    auto r = randomSoloWithVar(var);

    // The coefficient of the variable on the product's side, once multiplied out.
    std::optional<int32_t> productCoef;
    ExprPtr simplified = product->getSimplifiedExpr();
    if (auto term = asExactly<ExprSoloist>(simplified)) {
        productCoef = term->coef();
    } else if (simplified) {
        for (const auto& leaf : simplified->getSolos()) {
            if (leaf->var() == var)
                productCoef = leaf->coef();
        }
    }
    // Equal coefficients on both sides would cancel the variable.
    if (productCoef == r->coef())
        r->setCoef(movedOn(r->coef()));
    avoidAnswerZero(*product, *n);
    return ExprEquation::equationWithLeft(product, ExprSum::sumWithArray(shuffled({n, r})));
}

ExprPtr ProblemGenerator::getDistAdvancedFact() {
    auto quotient = getFactoringOutWithType(-1);
    auto number = randomSoloWithVar(kNumVar);
    avoidAnswerZero(*quotient, *number);
    return ExprEquation::equationWithLeft(quotient, number);
}

ExprPtr ProblemGenerator::getDistAdvancedTripleDist() {
    auto p = randomVarSolo();
    auto q = randomSoloWithVar(kNumVar);
    auto r = randomSoloWithVar(kNumVar);
    auto s = randomSoloWithVar(kNumVar);
    auto k = randomSoloWithVar(kNumVar);
    auto sum = ExprSum::sumWithArray(shuffled({p, q, r}));
    auto product = ExprProduct::productWithArray({s, sum});
    avoidAnswerZero(*product, *k);
    return ExprEquation::equationWithLeft(product, k);
}

ExprPtr ProblemGenerator::getDistAdvancedFatDist() {
    auto p = randomVarSolo();
    auto q = randomSoloWithVar(kNumVar);
    auto r = randomSoloWithVar(kNumVar);
    auto s = randomSoloWithVar(kNumVar);
    return ExprProduct::productWithArray({ExprSum::sumWithArray({p, q}), ExprSum::sumWithArray({r, s})});
}

std::shared_ptr<ExprSum> ProblemGenerator::doubleDist() {
    auto first = getDistribution(false);
    auto second = getDistribution(false);
    if (std::optional<std::string> var = first->getKeyVar())
        second->setKeyVar(*var);
    return ExprSum::sumWithArray({first, second});
}

ExprPtr ProblemGenerator::getDistAdvancedDoubleDist() {
    // Each try cancels with a chance well below one half; the bound only keeps a source that
    // repeats itself from spinning for ever.
    constexpr int kMaximumTries = 1000;
    auto sum = doubleDist();
    for (int tries = 1; tries < kMaximumTries && variableCancels(sum); ++tries)
        sum = doubleDist();
    return ExprEquation::equationWithLeft(sum, randomSoloWithVar(kNumVar));
}

ExprPtr ProblemGenerator::getDistAdvancedDistFact() {
    auto product = getDistribution(false);
    auto quotient = getFactoringOutWithType(0);
    if (std::optional<std::string> var = product->getKeyVar())
        quotient->setKeyVar(*var);
    auto number = randomSoloWithVar(kNumVar);
    return ExprEquation::equationWithLeft(product, ExprSum::sumWithArray({quotient, number}));
}

std::optional<std::string> ProblemGenerator::getVarFromDistribution(const ExprProduct& product) {
    std::optional<std::string> var;
    for (const auto& term : distributionTerms(product)) {
        if (term->varIsNotNum())
            var = term->var();
    }
    return var;
}

void ProblemGenerator::setDistribution(ExprProduct& product, const std::string& var) {
    for (const auto& term : distributionTerms(product)) {
        if (term->varIsNotNum())
            term->setVar(var);
    }
}

} // namespace zm
