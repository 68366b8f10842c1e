#pragma once

#include "model/ExprBinary.h"
#include "playground/views/ExprView.h"

namespace zm {

// The view of a node with two operands and an operator between them: two child views and the
// operator's view. Only the subclasses lay them out.
class ExprViewBinary : public ExprView {
public:
    const ExprViewPtr& firstExprView() const { return m_firstExprView; }
    const ExprViewPtr& secondExprView() const { return m_secondExprView; }
    const std::shared_ptr<IGenericView>& opView() const { return m_opView; }
    const std::shared_ptr<ExprBinary>& binaryExpr() const { return m_binaryExpr; }

    void setObj(ModelObjectPtr obj) override;
    ModelObjectPtr getObj() const override { return m_binaryExpr; }
    void setExpr(ExprPtr expr) override;
    ExprPtr getExpr() const override { return m_binaryExpr; }

    // The union of the operands' hit boxes; the operator is not part of it.
    core::Rect getHitbox() const override;
    // Both operands, the operator and twice the spacing unit between them.
    float getWidth() const override;
    float getPureWidth() const override;
    float getHeight() const override;
    core::Point getTopLeft() const override;

    std::shared_ptr<ExprView> viewWithExpr(const Expr* expr) const override;
    std::shared_ptr<IGenericView> viewWithOp(const Operator* op) const override;
    std::shared_ptr<ExprView> getOverlappingExactMatchExprView(const ExprView& dragged) const override;
    std::shared_ptr<IGenericView> getOpViewFromPoint(core::Point point) const override;
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point) const override;
    std::shared_ptr<Step> stepFromTap(core::Point point) const override;
    std::vector<std::shared_ptr<GenericLabel>> getVarLabelsForVar(const std::string& var) const override;
    bool draggingOnExpr(core::Point point) const override;

    ViewList getViewList() const override;
    GenericViewList getGenericSubviews() const override;
    GenericViewList getBaseNodeGenericViews() const override;
    // Passed on to the operands, not to the operator.
    void setSpace(float space) override;

protected:
    ExprViewBinary() = default;

    // Builds the operand views and the operator's view from the node (with the record of the move,
    // when there is one) and styles them like the host view.
    void initWithBinary(std::shared_ptr<ExprBinary> binary, PlaygroundView& playgroundView, Baggage* bag);

    // The operator view as a platform view (it always is one), or null.
    std::shared_ptr<ui::View> opPlatformView() const { return asPlatformView(m_opView); }

private:
    ExprViewPtr m_firstExprView;
    ExprViewPtr m_secondExprView;
    std::shared_ptr<IGenericView> m_opView;
    std::shared_ptr<ExprBinary> m_binaryExpr;
};

} // namespace zm
