#include "model/ExprSum.h"

#include "model/ExprProduct.h"
#include "model/ExprSoloist.h"
#include "model/Int32.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/ViewFactory.h"

namespace zm {

namespace {

// Terms that add into one term of the same shape. A power of a number is a value of its own, not a
// coefficient times a power of something, so it is like no other term.
bool areLike(const ExprSoloist& a, const ExprSoloist& b) {
    const bool powerOfNumber = a.varIsNum() && (a.exponent() != 1 || b.exponent() != 1);
    return a.var() == b.var() && a.exponent() == b.exponent() && !powerOfNumber;
}

} // namespace

std::shared_ptr<ExprSum> ExprSum::sumWithArray(const std::vector<ExprPtr>& exprs) {
    return make<ExprSum>(exprs);
}

OperatorPtr ExprSum::makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const {
    return std::make_shared<OpPlus>(first, second);
}

std::shared_ptr<ExprView> ExprSum::makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) {
    return views.makeExprViewSum(std::static_pointer_cast<ExprSum>(self()), bag);
}

ExprPtr ExprSum::getNegativeWithBaggage(TransitionRecord* bag) {
    auto minusOne = ExprSoloist::soloWithCoef(-1);
    recordPosition(bag, minusOne, exprs().front());
    auto product = ExprProduct::productWithArray({minusOne, self()});
    recordPosition(bag, product->ops().back(), self());
    return product;
}

bool ExprSum::isSimplified() const {
    std::vector<const ExprSoloist*> terms;
    for (const ExprPtr& member : exprs()) {
        if (!member->isSimplified())
            return false;
        if (auto term = asExactly<ExprSoloist>(member)) {
            for (const ExprSoloist* earlier : terms) {
                if (earlier->var() == term->var() && earlier->exponent() == term->exponent())
                    return false;
            }
            terms.push_back(term.get());
        }
    }
    return true;
}

bool ExprSum::isFactorized() const {
    if (!isSimplified())
        return false;
    for (const ExprPtr& member : exprs()) {
        if (!member->isFactorized())
            return false;
    }
    return true;
}

ExprPtr ExprSum::getSimplifiedExpr() {
    if (isSimplified())
        return copy();
    std::vector<ExprPtr> rest;
    std::vector<std::shared_ptr<ExprSoloist>> terms;
    const auto collect = [&](const ExprPtr& expr) {
        if (auto term = asExactly<ExprSoloist>(expr))
            terms.push_back(term);
        else
            rest.push_back(expr);
    };
    for (const ExprPtr& member : exprs()) {
        // A fraction simplifies to itself; the answer takes a copy, since taking the node itself
        // would re-parent it away from the tree it still stands in.
        ExprPtr simplified = member->getSimplifiedExpr();
        if (!simplified || simplified == member)
            simplified = member->copy();
        // A member that multiplies out into a sum joins this sum, so its terms meet their like
        // terms here in this pass, not only in the rebuilt sum.
        if (auto inner = asExactly<ExprSum>(simplified)) {
            for (const ExprPtr& each : inner->exprs())
                collect(each);
        } else {
            collect(simplified);
        }
    }

    // Each pass pairs every term with at most one later like term, so it removes at least one
    // term or changes nothing; the rest is simplified already, so a pass that combines nothing
    // leaves the sum as simple as it gets.
    for (;;) {
        std::vector<bool> used(terms.size(), false);
        std::vector<std::shared_ptr<ExprSoloist>> combined;
        for (size_t i = 0; i < terms.size(); ++i) {
            for (size_t j = i + 1; j < terms.size() && !used[i]; ++j) {
                if (!used[j] && areLike(*terms[i], *terms[j])) {
                    combined.push_back(
                        ExprSoloist::soloWithCoef(wrappingAdd(terms[i]->coef(), terms[j]->coef()),
                                                  terms[i]->var(), terms[i]->exponent()));
                    used[i] = used[j] = true;
                }
            }
        }
        std::vector<std::shared_ptr<ExprSoloist>> next;
        for (size_t i = 0; i < terms.size(); ++i) {
            if (!used[i])
                next.push_back(terms[i]);
        }
        next.insert(next.end(), combined.begin(), combined.end());
        terms = std::move(next);
        if (combined.empty())
            break;
    }

    std::vector<ExprPtr> collected = rest;
    collected.insert(collected.end(), terms.begin(), terms.end());
    if (collected.empty())
        return copy();
    if (collected.size() == 1)
        return collected.front();
    return sumWithArray(collected);
}

std::string ExprSum::getSizeApproxString() const {
    const std::string text = ExprList::getSizeApproxString();
    return isExactly<ExprProduct>(exprParent()) ? "(" + text + ")" : text;
}

} // namespace zm
