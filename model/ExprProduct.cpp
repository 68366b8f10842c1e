#include "model/ExprProduct.h"

#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/ViewFactory.h"

#include <algorithm>

namespace zm {

std::shared_ptr<ExprProduct> ExprProduct::productWithArray(const std::vector<ExprPtr>& exprs) {
    return make<ExprProduct>(exprs);
}

OperatorPtr ExprProduct::makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const {
    return std::make_shared<OpTimes>(first, second);
}

std::shared_ptr<ExprView> ExprProduct::makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) {
    return views.makeExprViewProduct(std::static_pointer_cast<ExprProduct>(self()), bag);
}

ExprPtr ExprProduct::getNegativeWithBaggage(TransitionRecord* bag) {
    std::vector<ExprPtr> factors = exprs();
    auto minusOne = std::find_if(factors.begin(), factors.end(), [](const ExprPtr& factor) {
        return ExprSoloist::isNegativeOne(factor.get());
    });
    if (minusOne != factors.end()) {
        factors.erase(minusOne);
    } else {
        const ExprPtr first = factors.front();
        ExprPtr negative = first->getNegativeWithBaggage(bag);
        if (!negative)
            return nullptr;
        recordPosition(bag, negative, first);
        factors.front() = negative;
    }
    if (factors.size() == 1)
        return factors.front();
    setExprs(std::move(factors));
    reformOpsWithBaggage(bag);
    return self();
}

bool ExprProduct::isFactorized() const {
    for (const ExprPtr& factor : exprs()) {
        if (!factor->isFactorized())
            return false;
    }
    return true;
}

ExprPtr ExprProduct::multiplyAllExprsTogether() const {
    ExprPtr accumulated = exprs().front();
    for (size_t i = 1; i < exprs().size(); ++i) {
        // Both sides are copies: multiplying into a fraction grows its numerator in place.
        accumulated = accumulated->copy();
        ExprPtr factor = exprs()[i]->copy();
        if (!accumulated || !factor)
            return nullptr;
        accumulated = accumulated->multiplyExpr(factor, nullptr, nullptr);
        if (!accumulated)
            return nullptr;
    }
    return accumulated;
}

ExprPtr ExprProduct::getSimplifiedExpr() {
    std::vector<ExprPtr> simplified;
    std::shared_ptr<ExprSum> sum;
    int sums = 0;
    for (const ExprPtr& factor : exprs()) {
        ExprPtr each = factor->getSimplifiedExpr();
        if (!each || each == factor)
            each = factor->copy();
        if (auto asSum = asExactly<ExprSum>(each)) {
            sum = asSum;
            ++sums;
        } else if (!isExactly<ExprSoloist>(each)) {
            return copy();
        }
        simplified.push_back(each);
    }
    if (sums == 0) {
        ExprPtr multiplied = productWithArray(simplified)->multiplyAllExprsTogether();
        return multiplied ? multiplied : copy();
    }
    if (sums > 1)
        return copy();
    // Distribute the terms over the one sum: each member times a copy of every term.
    std::vector<ExprPtr> products;
    for (const ExprPtr& member : sum->exprs()) {
        std::vector<ExprPtr> factors{member};
        for (const ExprPtr& each : simplified) {
            if (each != sum)
                factors.push_back(each->copy());
        }
        products.push_back(productWithArray(factors));
    }
    auto expanded = ExprSum::sumWithArray(products);
    return expanded ? expanded->getSimplifiedExpr() : copy();
}

std::string ExprProduct::describeMember(size_t index) const {
    const ExprPtr& member = exprs()[index];
    // A fraction after the first factor is bracketed too: written plainly it would read back as the
    // fraction of the whole product so far.
    if (isExactly<ExprSum>(member) || (index > 0 && isExactly<ExprQuotient>(member)))
        return "(" + member->description() + ")";
    return member->description();
}

} // namespace zm
