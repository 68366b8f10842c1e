#pragma once

#include "model/steps/Step.h"

#include <vector>

namespace zm {

class ExprProduct;
class ExprSum;
class OpTimes;

// a(b + c) = ab + ac: a factor of a product is multiplied into every term of a sum that is another
// factor of the same product. The copies of the factor, one per term, and one bare "*" per term are
// made with the step, so that the distribution playground can show them before the move; the copies
// then become factors in the tree.
class StepDistribute : public Step {
public:
    StepDistribute(ExprPtr distributor, std::shared_ptr<ExprSum> intoSum);
    // From a "*" one of whose operands is exactly a sum (the second when both are); null otherwise.
    static std::shared_ptr<StepDistribute> stepDistributeFromTimes(const std::shared_ptr<OpTimes>& times);

    const ExprPtr& distributor() const { return m_distributor; }
    void setDistributor(ExprPtr distributor) { m_distributor = std::move(distributor); }
    const std::shared_ptr<ExprSum>& intoSum() const { return m_intoSum; }
    void setIntoSum(std::shared_ptr<ExprSum> intoSum) { m_intoSum = std::move(intoSum); }
    const std::shared_ptr<ExprProduct>& prodParent() const { return m_prodParent; }
    void setProdParent(std::shared_ptr<ExprProduct> prodParent) { m_prodParent = std::move(prodParent); }
    const std::vector<ExprPtr>& distCopies() const { return m_distCopies; }
    const std::vector<std::shared_ptr<OpTimes>>& opCopies() const { return m_opCopies; }
    // Each new product written term x copy, the terms taken last to first: for a factor that stands
    // right of the sum.
    bool reverse() const { return m_reverse; }
    void setReverse(bool reverse) { m_reverse = reverse; }

    // Does nothing unless the factor and the sum are still factors of one product.
    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // New copies, `reverse` off.
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;
    // "stepDistribute(2, x + 3)": the factor, then the sum.
    std::string description() const override;

private:
    ExprPtr m_distributor;
    std::shared_ptr<ExprSum> m_intoSum;
    std::shared_ptr<ExprProduct> m_prodParent;
    std::vector<ExprPtr> m_distCopies;
    std::vector<std::shared_ptr<OpTimes>> m_opCopies;
    bool m_reverse = false;
};

// Whether a equals b or the smaller of the two divides the larger; a 0 divides nothing.
bool oneDividesTheOther(int32_t a, int32_t b);

} // namespace zm
