#include "model/steps/StepFactorize.h"

#include "model/ExprProduct.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/steps/ModalPlaygroundFactory.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepText.h"

#include <algorithm>

namespace zm {

namespace {

bool isTermOne(const ExprPtr& expr) {
    return isExactly<ExprSoloist>(expr) && expr->description() == "1";
}

// The product that holds `expr` as a factor, else null.
std::shared_ptr<ExprProduct> productParent(const ExprPtr& expr) {
    return expr ? expr->getAncestorOfType<ExprProduct>(1) : nullptr;
}

} // namespace

std::shared_ptr<StepFactorize> StepFactorize::stepFactorizeWithOg(std::shared_ptr<ExprSoloist> original,
                                                                  ExprPtr replacement) {
    return std::make_shared<StepFactorize>(std::move(original), std::move(replacement));
}

bool StepFactorize::exprReplacementWillFail(const Expr& replacement) {
    auto* product = dynamic_cast<const ExprProduct*>(&replacement);
    return isExactly<ExprProduct>(&replacement) && isTermOne(product->exprs().front());
}

std::shared_ptr<Playground> StepFactorize::createModalPlayground(ModalPlaygroundFactory& mainPlayground) {
    auto product = asExactly<ExprProduct>(m_replacement);
    if (!product || !m_original)
        return nullptr;
    auto power = asExactly<ExprSoloist>(product->exprs()[1]);
    if (isTermOne(product->exprs()[0]) && power && power->exponent() >= 2)
        return mainPlayground.makePlaygroundExponents(m_original);
    return nullptr;
}

ExprPtr StepFactorize::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!root || !m_original || !m_replacement)
        return root;
    auto list = std::dynamic_pointer_cast<ExprList>(m_replacement);
    if (!list || isTermOne(list->exprs().front())) {
        recordFail(bag, m_original);
        return root;
    }
    if (!recordHasPosition(bag, m_replacement.get()))
        m_replacement->positionMeWithBag(bag, m_original);
    ExprPtr result = root->replaceExpr(m_original, m_replacement, bag);
    return result ? result : root;
}

StepPtr StepFactorize::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_original || !m_replacement)
        return nullptr;
    auto original = root->getExprWithId<ExprSoloist>(m_original->exprId());
    if (!original)
        return nullptr;
    return stepFactorizeWithOg(original, findOrCopyWithIds(*root, m_replacement));
}

std::string StepFactorize::description() const {
    return stepText("stepFactorize", {m_original, m_replacement});
}

std::shared_ptr<Playground>
StepFactorizeChoices::createModalPlayground(ModalPlaygroundFactory& mainPlayground) {
    return m_solo ? mainPlayground.makePlaygroundFactorizeChoices(m_solo) : nullptr;
}

StepPtr StepFactorizeChoices::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_solo)
        return nullptr;
    auto solo = root->getExprWithId<ExprSoloist>(m_solo->exprId());
    if (!solo)
        return nullptr;
    std::vector<std::shared_ptr<ExprProduct>> copies;
    for (const auto& choice : m_choices)
        copies.push_back(std::static_pointer_cast<ExprProduct>(choice->copy()));
    return std::make_shared<StepFactorizeChoices>(std::move(copies), solo);
}

std::string StepFactorizeChoices::description() const {
    return stepText("stepFactorizeChoices", {m_solo});
}

bool StepFactorOut::validateSolos(const std::vector<ExprPtr>& solos) {
    if (solos.size() < 2 || !solos.front())
        return false;
    const ExprPtr& first = solos.front();
    auto sum = first->getAncestorOfType<ExprSum>(2);
    if (!sum)
        return false;
    std::vector<ExprPtr> terms;
    bool inProduct = false;
    for (const ExprPtr& solo : solos) {
        if (!solo || !solo->isEquivalent(*first))
            return false;
        ExprPtr term = solo;
        if (auto product = productParent(solo)) {
            term = product;
            inProduct = true;
        }
        if (std::find(terms.begin(), terms.end(), term) != terms.end())
            return false;
        terms.push_back(term);
    }
    return inProduct && std::all_of(terms.begin(), terms.end(),
                                    [&](const ExprPtr& term) { return term->exprParent() == sum; });
}

std::shared_ptr<StepFactorOut> StepFactorOut::stepFactorOutWithSolos(std::vector<ExprPtr> solos) {
    if (!validateSolos(solos))
        return nullptr;
    auto sum = solos.back()->getAncestorOfType<ExprSum>(2);
    return std::make_shared<StepFactorOut>(std::move(solos), sum);
}

ExprPtr StepFactorOut::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!root || m_solos.size() < 2 || !m_grandmaSum)
        return root;
    const ExprPtr factor = m_solos.back();
    std::shared_ptr<ExprProduct> productFirst, productLast;
    for (const ExprPtr& solo : m_solos) {
        if (auto product = productParent(solo)) {
            productLast = product;
            if (!productFirst)
                productFirst = product;
        }
    }

    std::vector<ExprPtr> rests;
    ExprPtr first;
    ExprPtr sumWithoutOthers;
    for (const ExprPtr& solo : m_solos) {
        ExprPtr term = productParent(solo);
        if (!term)
            term = solo;
        if (!first)
            first = term;
        else
            sumWithoutOthers = m_grandmaSum->killExpr(term, bag);
        ExprPtr rest = term->killExpr(solo, bag);
        if (!rest) {
            rest = ExprSoloist::soloWithCoef(1);
            recordPosition(bag, rest, term);
        }
        rests.push_back(rest);
    }
    auto inner = ExprSum::sumWithArray(rests);
    if (!inner || !sumWithoutOthers)
        return root;
    for (const OperatorPtr& op : inner->ops())
        recordPosition(bag, op, m_grandmaSum->ops().back());
    recordPosition(bag, inner->leftParen(), inner->exprs().front());
    recordPosition(bag, inner->rightParen(), inner->exprs().back());

    auto product = m_outLeft ? ExprProduct::productWithArray({factor, inner})
                             : ExprProduct::productWithArray({inner, factor});
    for (const ExprPtr& solo : m_solos) {
        if (solo != factor)
            recordCondemned(bag, solo, solo);
    }
    const auto& searched = m_outLeft ? productFirst : productLast;
    bool matched = false;
    for (const OperatorPtr& op : searched ? searched->ops() : std::vector<OperatorPtr>{}) {
        if (op->firstExpr() == factor || op->secondExpr() == factor) {
            recordPosition(bag, product->ops().back(), op);
            matched = true;
        }
    }
    if (!matched)
        recordPosition(bag, product->ops().back(), factor);

    ExprPtr replaced = sumWithoutOthers->replaceExpr(first, product, bag);
    ExprPtr result = root->replaceExpr(m_grandmaSum, replaced, bag);
    return result ? result : root;
}

StepPtr StepFactorOut::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root)
        return nullptr;
    std::vector<ExprPtr> found;
    for (const ExprPtr& solo : m_solos) {
        ExprPtr counterpart = solo ? root->getExprWithId(solo->exprId()) : nullptr;
        if (!counterpart)
            return nullptr;
        found.push_back(counterpart);
    }
    return stepFactorOutWithSolos(std::move(found));
}

} // namespace zm
