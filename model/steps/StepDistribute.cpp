#include "model/steps/StepDistribute.h"

#include "model/ExprProduct.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/steps/StepText.h"

#include <algorithm>

namespace zm {

StepDistribute::StepDistribute(ExprPtr distributor, std::shared_ptr<ExprSum> intoSum)
    : m_distributor(std::move(distributor))
    , m_intoSum(std::move(intoSum)) {
    if (!m_distributor || !m_intoSum)
        return;
    for (size_t i = 0; i < m_intoSum->exprs().size(); ++i) {
        m_distCopies.push_back(m_distributor->copyWithBag(nullptr));
        m_opCopies.push_back(std::make_shared<OpTimes>());
    }
    m_prodParent = m_distributor->getAncestorOfType<ExprProduct>(1);
}

std::shared_ptr<StepDistribute>
StepDistribute::stepDistributeFromTimes(const std::shared_ptr<OpTimes>& times) {
    if (!times || !times->firstExpr() || !times->secondExpr())
        return nullptr;
    if (auto sum = asExactly<ExprSum>(times->secondExpr()))
        return std::make_shared<StepDistribute>(times->firstExpr(), sum);
    if (auto sum = asExactly<ExprSum>(times->firstExpr()))
        return std::make_shared<StepDistribute>(times->secondExpr(), sum);
    return nullptr;
}

ExprPtr StepDistribute::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!root || !m_prodParent || !m_intoSum || m_prodParent != m_intoSum->exprParent())
        return root;
    std::vector<ExprPtr> terms = m_intoSum->exprs();
    if (terms.size() != m_distCopies.size())
        return root;
    if (m_reverse)
        std::reverse(terms.begin(), terms.end());

    std::vector<ExprPtr> products;
    for (size_t k = 0; k < terms.size(); ++k) {
        const ExprPtr& copy = m_distCopies[k];
        recordPosition(bag, copy, copy);
        ExprPtr term = terms[k]->copyWithBag(bag);
        ExprPtr product = copy->insertExpr(term, bag, ArithmeticTypeMultiply, m_reverse ? 0 : 1);
        if (!product)
            return root;
        products.insert(m_reverse ? products.begin() : products.end(), product);
    }
    const std::vector<OperatorPtr> oldOps = m_intoSum->ops();
    auto sum = ExprSum::sumWithArray(products);
    if (!sum)
        return root;
    for (size_t i = 0; i < sum->ops().size(); ++i)
        recordPosition(bag, sum->ops()[i], oldOps[i % oldOps.size()]);

    ExprPtr withoutFactor = m_prodParent->killExpr(m_distributor, bag);
    ExprPtr distributed = withoutFactor ? withoutFactor->replaceExpr(m_intoSum, sum, bag) : sum;
    return root->replaceExpr(m_prodParent, distributed, bag);
}

StepPtr StepDistribute::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_distributor || !m_intoSum)
        return nullptr;
    ExprPtr distributor = root->getExprWithId(m_distributor->exprId());
    auto intoSum = root->getExprWithId<ExprSum>(m_intoSum->exprId());
    if (!distributor || !intoSum)
        return nullptr;
    return std::make_shared<StepDistribute>(distributor, intoSum);
}

std::string StepDistribute::description() const {
    return stepText("stepDistribute", {m_distributor, m_intoSum});
}

bool oneDividesTheOther(int32_t a, int32_t b) {
    if (a == b)
        return true;
    const int64_t larger = std::max<int64_t>(a, b);
    const int64_t smaller = std::min<int64_t>(a, b);
    return smaller != 0 && larger % smaller == 0;
}

} // namespace zm
