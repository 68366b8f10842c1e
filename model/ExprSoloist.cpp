#include "model/ExprSoloist.h"

#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSum.h"
#include "model/Int32.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/ViewFactory.h"
#include "platform/core/NumberText.h"

namespace zm {

namespace {

const ExprSoloist* asTerm(const Expr* expr) {
    return isExactly<ExprSoloist>(expr) ? static_cast<const ExprSoloist*>(expr) : nullptr;
}

// A number whose exponent is not 1 stands for a power, which the term arithmetic cannot combine
// without losing its value.
bool isPowerOfNumber(const ExprSoloist& term) {
    return term.varIsNum() && term.exponent() != 1;
}

} // namespace

ExprSoloist::ExprSoloist(Key, int32_t coef, std::string var, int32_t exponent)
    : m_coef(coef)
    , m_var(std::move(var))
    , m_exponent(exponent) {}

ExprSoloistPtr ExprSoloist::soloWithCoef(int32_t coef, std::string var, int32_t exponent) {
    return std::make_shared<ExprSoloist>(Key{}, coef, std::move(var), exponent);
}

bool ExprSoloist::isZero(const Expr* expr) {
    const ExprSoloist* term = asTerm(expr);
    return term && term->coef() == 0;
}

bool ExprSoloist::isNegativeOne(const Expr* expr) {
    const ExprSoloist* term = asTerm(expr);
    return term && term->varIsNum() && term->coef() == -1;
}

bool ExprSoloist::isPositiveOne(const Expr* expr) {
    const ExprSoloist* term = asTerm(expr);
    return term && term->varIsNum() && term->coef() == 1;
}

std::optional<std::pair<ExprSoloistPtr, ExprSoloistPtr>> ExprSoloist::numOnlyThenVarOnly(const ExprPtr& a,
                                                                                         const ExprPtr& b) {
    auto first = asExactly<ExprSoloist>(a);
    auto second = asExactly<ExprSoloist>(b);
    if (!first || !second)
        return std::nullopt;
    if (first->varIsNum() && second->varIsNotNum() && second->coef() == 1)
        return std::make_pair(first, second);
    if (second->varIsNum() && first->varIsNotNum() && first->coef() == 1)
        return std::make_pair(second, first);
    return std::nullopt;
}

ExprPtr ExprSoloist::copy() const {
    return soloWithCoef(m_coef, m_var, m_exponent);
}

ExprPtr ExprSoloist::copyWithBag(TransitionRecord* bag) {
    ExprPtr twin = copy();
    recordPosition(bag, twin, self());
    return twin;
}

std::shared_ptr<ExprView> ExprSoloist::makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) {
    return views.makeExprViewSoloist(selfSolo(), bag);
}

ExprPtr ExprSoloist::killExpr(const ExprPtr& expr, TransitionRecord*) {
    return expr.get() == this ? nullptr : self();
}

ExprPtr ExprSoloist::replaceExpr(const ExprPtr& expr, const ExprPtr& replacement, TransitionRecord*) {
    return expr.get() == this ? replacement : self();
}

ExprPtr ExprSoloist::insertExpr(const ExprPtr& expr, TransitionRecord* bag, ArithmeticType type,
                                int32_t position) {
    if (!expr)
        return nullptr;
    const ExprPtr me = self();
    // The new node stands where the term stood, so it takes the term's parent.
    const ExprPtr parent = exprParent();
    std::shared_ptr<ExprList> list;
    switch (type) {
    case ArithmeticTypeDivide: {
        auto quotient = ExprQuotient::quotientWithNumer(me, expr);
        recordPosition(bag, quotient->op(), me, AnchorBottomLeft);
        quotient->setExprParent(parent);
        return quotient;
    }
    case ArithmeticTypeMultiply:
        if (isExactly<ExprProduct>(expr))
            return expr->insertExpr(me, bag, ArithmeticTypeMultiply, position == 0 ? 1 : 0);
        list = position == 0 ? ExprProduct::productWithArray({expr, me})
                             : ExprProduct::productWithArray({me, expr});
        break;
    case ArithmeticTypeAdd:
        if (isExactly<ExprSum>(expr))
            return expr->insertExpr(me, bag, ArithmeticTypeAdd, position == 0 ? 1 : 0);
        list = position == 0 ? ExprSum::sumWithArray({expr, me}) : ExprSum::sumWithArray({me, expr});
        break;
    default:
        return nullptr;
    }
    for (const OperatorPtr& op : list->ops())
        recordPosition(bag, op, me, AnchorCenter);
    list->setExprParent(parent);
    return list;
}

ExprPtr ExprSoloist::getNegativeWithBaggage(TransitionRecord* bag) {
    auto negative = soloWithCoef(wrappingNeg(m_coef), m_var, m_exponent);
    recordPosition(bag, negative, self(), AnchorCenter);
    return negative;
}

ExprPtr ExprSoloist::addExpr(const ExprPtr& right, const std::shared_ptr<OpPlus>& plus,
                             TransitionRecord* bag) {
    const ExprSoloist* other = asTerm(right.get());
    if (!other)
        return nullptr;
    const bool eitherZero = m_coef == 0 || other->coef() == 0;
    const bool alike = m_var == other->var() && m_exponent == other->exponent() && !isPowerOfNumber(*this) &&
                       !isPowerOfNumber(*other);
    if (!alike && !eitherZero)
        return nullptr;

    const int32_t sum = wrappingAdd(m_coef, other->coef());
    ExprPtr result;
    if (sum != 0 || varIsNum()) {
        const ExprSoloist& shape = m_coef != 0 ? *this : *other;
        result = soloWithCoef(sum, shape.var(), shape.exponent());
        recordPosition(bag, result, plus);
    } else {
        result = soloWithCoef(0);
    }
    if (plus) {
        recordCondemned(bag, plus->firstExpr(), plus);
        recordCondemned(bag, plus->secondExpr(), plus);
    }
    return result;
}

ExprPtr ExprSoloist::multiplyExpr(const ExprPtr& right, const std::shared_ptr<OpTimes>& times,
                                  TransitionRecord* bag) {
    if (auto fraction = asExactly<ExprQuotient>(right)) {
        ExprPtr twin = copyWithBag(bag);
        ExprPtr numerator = fraction->firstExpr()->insertExpr(twin, bag, ArithmeticTypeMultiply, 0);
        if (!numerator)
            return nullptr;
        auto result = ExprQuotient::quotientWithNumer(numerator, fraction->secondExpr());
        recordPosition(bag, result->op(), fraction->op(), AnchorCenter);
        return result;
    }
    const ExprSoloist* other = asTerm(right.get());
    if (!other)
        return nullptr;

    ExprSoloistPtr result;
    if (auto pair = numOnlyThenVarOnly(self(), right)) {
        const auto& [number, variable] = *pair;
        if (number->exponent() != 1)
            return nullptr;
        result = soloWithCoef(number->coef(), variable->var(), variable->exponent());
    } else if (varIsNotNum() && other->varIsNotNum()) {
        return nullptr;
    } else if (m_coef == 0 || other->coef() == 0) {
        result = soloWithCoef(0);
    } else if (isPowerOfNumber(*this) || isPowerOfNumber(*other)) {
        return nullptr;
    } else {
        const ExprSoloist& shape = varIsNotNum() ? *this : *other;
        result = soloWithCoef(wrappingMul(m_coef, other->coef()), shape.var(),
                              shape.varIsNum() ? 1 : shape.exponent());
    }
    recordPosition(bag, result, times);
    if (times) {
        recordCondemned(bag, times->firstExpr(), times);
        recordCondemned(bag, times->secondExpr(), times);
    }
    return result;
}

ExprPtr ExprSoloist::substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag) {
    // A power of the variable is left alone: the tree has no node to hold a power of the substituted
    // expression, and keeping the term is better than changing its value.
    if (m_var != var || !expr || m_exponent != 1)
        return self();
    if (m_coef == 1) {
        ExprPtr twin = expr->copyWithBag(bag);
        recordPosition(bag, twin, expr);
        return twin;
    }
    auto factor = soloWithCoef(m_coef);
    recordPosition(bag, factor, self());
    ExprPtr twin = expr->copyWithBag(bag);
    recordPosition(bag, twin, expr);
    auto product = ExprProduct::productWithArray({factor, twin});
    recordPosition(bag, product->ops().back(), self());
    return product;
}

void ExprSoloist::appendSolos(std::vector<ExprSoloistPtr>& solos) const {
    solos.push_back(selfSolo());
}

void ExprSoloist::positionMeWithBag(TransitionRecord* bag, const ModelObjectPtr& obj) {
    recordPosition(bag, self(), obj);
}

bool ExprSoloist::isEquivalent(const Expr& other) const {
    const ExprSoloist* term = asTerm(&other);
    return term && term->coef() == m_coef && term->var() == m_var && term->exponent() == m_exponent;
}

bool ExprSoloist::isFactorized() const {
    if (m_coef < -1)
        return false;
    if (varIsNotNum())
        return m_coef == 1;
    if (m_coef == -1)
        return true;
    return m_coef > 0 && divisorPairs(m_coef).size() == 1;
}

std::optional<std::string> ExprSoloist::getKeyVar() const {
    if (varIsNum())
        return std::nullopt;
    return m_var;
}

void ExprSoloist::setKeyVar(const std::string& var) {
    if (varIsNotNum())
        m_var = var;
}

void ExprSoloist::removeNullVars() {
    if (m_var == "null")
        m_var = kNumVar;
}

std::string ExprSoloist::description() const {
    const std::string power = m_exponent != 1 ? "^" + std::to_string(m_exponent) : "";
    if (varIsNum())
        return std::to_string(m_coef) + power;
    if (m_coef == 1)
        return m_var + power;
    return std::to_string(m_coef) + m_var + power;
}

std::string ExprSoloist::getSizeApproxString() const {
    if (varIsNum())
        return std::to_string(m_coef);
    if (m_coef == 1)
        return m_var;
    return std::to_string(m_coef) + m_var;
}

std::vector<std::pair<int32_t, int32_t>> ExprSoloist::divisorPairs(int32_t value) {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (int64_t d = 1; d * d <= value; ++d) {
        if (value % d == 0)
            pairs.emplace_back(static_cast<int32_t>(d), static_cast<int32_t>(value / d));
    }
    return pairs;
}

std::vector<std::shared_ptr<ExprProduct>> ExprSoloist::getFactorizedProductPairs() const {
    std::vector<std::shared_ptr<ExprProduct>> products;
    auto pairOf = [&](int32_t left, ExprPtr right) {
        products.push_back(ExprProduct::productWithArray({soloWithCoef(left), std::move(right)}));
    };
    if (varIsNotNum()) {
        if (m_coef != 0)
            pairOf(m_coef, soloWithCoef(1, m_var, m_exponent));
    } else if (m_exponent != 1) {
        // A power of a number has no pairs of plain numbers that keep its value.
    } else if (m_coef < -1) {
        pairOf(-1, soloWithCoef(wrappingNeg(m_coef)));
    } else if (m_coef > 0) {
        for (const auto& [small, large] : divisorPairs(m_coef))
            pairOf(small, soloWithCoef(large));
    }
    return products;
}

ExprSoloistPtr ExprSoloist::expandByDigit(const ExprSoloist& digit) const {
    const std::string text =
        (m_coef == 0 ? std::string() : std::to_string(m_coef)) + std::to_string(digit.coef());
    return soloWithCoef(core::intValue(text), m_var);
}

ExprSoloistPtr ExprSoloist::removeLastDigit() const {
    const std::string text = std::to_string(m_coef);
    if (text.size() <= 1)
        return nullptr;
    return soloWithCoef(core::intValue(text.substr(0, text.size() - 1)), m_var);
}

} // namespace zm
