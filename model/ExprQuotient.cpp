#include "model/ExprQuotient.h"

#include "model/ExprProduct.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/ViewFactory.h"

#include <cstdlib>
#include <numeric>

namespace zm {

namespace {

// The factors of a side: a product's members, else the side itself; `joins` is the number of
// operators the side had between its own factors.
std::vector<ExprPtr> factorsOf(const ExprPtr& side, size_t& joins) {
    if (auto product = asExactly<ExprProduct>(side)) {
        joins = product->ops().size();
        return product->exprs();
    }
    joins = 0;
    return {side};
}

std::vector<ExprPtr> concat(std::vector<ExprPtr> left, const std::vector<ExprPtr>& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

void recordOpAt(TransitionRecord* bag, const std::shared_ptr<ExprProduct>& product, size_t index,
                const OperatorPtr& start) {
    if (product && index < product->ops().size())
        recordPosition(bag, product->ops()[index], start);
}

std::string bracketUnlessTerm(const ExprPtr& side) {
    return isExactly<ExprSoloist>(side) ? side->description() : "(" + side->description() + ")";
}

} // namespace

std::shared_ptr<ExprQuotient> ExprQuotient::quotientWithNumer(const ExprPtr& numerator,
                                                              const ExprPtr& denominator) {
    return make<ExprQuotient>(numerator, denominator);
}

bool ExprQuotient::isExprInDenom(const Expr* expr) {
    if (!expr)
        return false;
    auto parent = asExactly<ExprQuotient>(expr->exprParent());
    return parent && parent->secondExpr().get() == expr;
}

OperatorPtr ExprQuotient::makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const {
    return std::make_shared<OpDivide>(first, second);
}

std::shared_ptr<ExprView> ExprQuotient::makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) {
    return views.makeExprViewQuotient(std::static_pointer_cast<ExprQuotient>(self()), bag);
}

ExprPtr ExprQuotient::insertExpr(const ExprPtr& expr, TransitionRecord* bag, ArithmeticType type,
                                 int32_t position) {
    if (!expr)
        return nullptr;
    const ExprPtr me = self();
    std::shared_ptr<ExprList> list;
    switch (type) {
    case ArithmeticTypeDivide:
        if (ExprPtr denominator = secondExpr()->insertExpr(expr, bag, ArithmeticTypeMultiply, position))
            setSecondExpr(denominator);
        return me;
    case ArithmeticTypeAdd:
        list = position == 0 ? ExprSum::sumWithArray({expr, me}) : ExprSum::sumWithArray({me, expr});
        break;
    case ArithmeticTypeMultiply:
        list = position == 0 ? ExprProduct::productWithArray({expr, me})
                             : ExprProduct::productWithArray({me, expr});
        break;
    default:
        return nullptr;
    }
    recordPosition(bag, list->ops().front(), me);
    return list;
}

ExprPtr ExprQuotient::getNegativeWithBaggage(TransitionRecord* bag) {
    ExprPtr numerator = firstExpr()->getNegativeWithBaggage(bag);
    if (!numerator)
        return nullptr;
    setFirstExpr(numerator);
    return self();
}

ExprPtr ExprQuotient::addExpr(const ExprPtr& right, const std::shared_ptr<OpPlus>& plus,
                              TransitionRecord* bag) {
    auto other = asExactly<ExprQuotient>(right);
    if (!other || !secondExpr()->isEquivalent(*other->secondExpr()))
        return nullptr;
    auto sum = ExprSum::sumWithArray({firstExpr(), other->firstExpr()});
    recordPosition(bag, sum->ops().back(), plus);
    auto result = quotientWithNumer(sum, secondExpr());
    recordPosition(bag, result->op(), op());
    recordCondemned(bag, other->secondExpr(), result->op());
    return result;
}

ExprPtr ExprQuotient::multiplyExpr(const ExprPtr& right, const std::shared_ptr<OpTimes>& times,
                                   TransitionRecord* bag) {
    if (!right)
        return nullptr;
    std::shared_ptr<ExprQuotient> result;
    if (auto other = asExactly<ExprQuotient>(right)) {
        size_t numeratorJoin = 0, denominatorJoin = 0, unused = 0;
        std::vector<ExprPtr> numerators = factorsOf(firstExpr(), numeratorJoin);
        numerators = concat(std::move(numerators), factorsOf(other->firstExpr(), unused));
        std::vector<ExprPtr> denominators = factorsOf(secondExpr(), denominatorJoin);
        denominators = concat(std::move(denominators), factorsOf(other->secondExpr(), unused));
        auto numerator = ExprProduct::productWithArray(numerators);
        recordOpAt(bag, numerator, numeratorJoin, times);
        auto denominator = ExprProduct::productWithArray(denominators);
        recordOpAt(bag, denominator, denominatorJoin, times);
        result = quotientWithNumer(numerator, denominator);
    } else {
        ExprPtr factor = right->copyWithBag(bag);
        ExprPtr numerator =
            factor ? firstExpr()->insertExpr(factor, bag, ArithmeticTypeMultiply, 1) : nullptr;
        result = quotientWithNumer(numerator, secondExpr());
    }
    if (result)
        recordPosition(bag, result->op(), op());
    return result;
}

bool ExprQuotient::isSimplified() const {
    const ExprPtr& numerator = firstExpr();
    const ExprPtr& denominator = secondExpr();
    if (isExactly<ExprProduct>(numerator) || isExactly<ExprProduct>(denominator))
        return false;
    if (ExprSoloist::isPositiveOne(denominator.get()) || ExprSoloist::isNegativeOne(denominator.get()))
        return false;
    auto top = asExactly<ExprSoloist>(numerator);
    if (!top) {
        return isExactly<ExprSum>(numerator) && numerator->isSimplified() && denominator->isSimplified();
    }
    if (isExactly<ExprSum>(denominator))
        return denominator->isSimplified();
    auto bottom = asExactly<ExprSoloist>(denominator);
    if (!bottom)
        return false;
    if (ExprSoloist::isPositiveOne(top.get()))
        return true;
    if (top->var() == bottom->var() && top->varIsNotNum())
        return false;
    if (top->coef() == 0 || (top->coef() < 0 && bottom->coef() < 0))
        return false;
    // Lowest terms: no common divisor above 1; a coefficient 0 has no divisors at all.
    const int64_t a = std::llabs(static_cast<int64_t>(top->coef()));
    const int64_t b = std::llabs(static_cast<int64_t>(bottom->coef()));
    return a == 0 || b == 0 || std::gcd(a, b) == 1;
}

std::string ExprQuotient::description() const {
    return bracketUnlessTerm(firstExpr()) + " / " + bracketUnlessTerm(secondExpr());
}

std::string ExprQuotient::getSizeApproxString() const {
    std::string numerator = firstExpr()->getSizeApproxString();
    std::string denominator = secondExpr()->getSizeApproxString();
    return denominator.size() > numerator.size() ? denominator : numerator;
}

} // namespace zm
