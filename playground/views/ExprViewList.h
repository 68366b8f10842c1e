#pragma once

#include "model/ExprList.h"
#include "model/ExprProduct.h"
#include "model/ExprSum.h"
#include "playground/views/ExprView.h"

#include <vector>

namespace zm {

class OpView;

// The view of a sum or a product: one view per term and one per operator in one row, inside a pair of
// parentheses that show only for a sum standing as a factor of a product. A touch on an operator picks
// up the whole list, and a tap there carries the operator out.
class ExprViewList : public ExprView {
public:
    const std::shared_ptr<ExprList>& listExpr() const { return m_listExpr; }
    const std::vector<ExprViewPtr>& exprViews() const { return m_exprViews; }
    // Operator view i stands between term views i and i + 1.
    const GenericViewList& opViews() const { return m_opViews; }
    const std::shared_ptr<IGenericView>& leftParen() const { return m_leftParen; }
    const std::shared_ptr<IGenericView>& rightParen() const { return m_rightParen; }

    void setObj(ModelObjectPtr obj) override;
    ModelObjectPtr getObj() const override { return m_listExpr; }
    void setExpr(ExprPtr expr) override;
    ExprPtr getExpr() const override { return m_listExpr; }

    std::shared_ptr<ExprView> viewWithExpr(const Expr* expr) const override;
    // The list's operators, its parentheses, then those inside the terms.
    std::shared_ptr<IGenericView> viewWithOp(const Operator* op) const override;
    std::shared_ptr<ExprView> getOverlappingExactMatchExprView(const ExprView& dragged) const override;
    // A term under the point, else the whole list when the point lies on one of its operators.
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point) const override;
    std::shared_ptr<IGenericView> getOpViewFromPoint(core::Point point) const override;
    // A tap on an operator carries it out (an operator without a rule shakes its two operands); a tap
    // on a term asks what the term asks.
    std::shared_ptr<Step> stepFromTap(core::Point point) const override;
    bool draggingOnExpr(core::Point point) const override;

    // The parentheses show (their alpha is above 0).
    bool isParenVisible() const;
    // Shows or hides the parentheses at once.
    void setParenthesis(bool visible);
    // Fades hidden parentheses in over half a second, or shows them at once.
    void makeParenVisible();
    void makeParenVisibleInstantly();

    ViewList getViewList() const override;
    GenericViewList getGenericSubviews() const override;
    // The terms' base nodes, then the operators; the parentheses stand for nothing the user moves.
    GenericViewList getBaseNodeGenericViews() const override;
    // Laid out from the middle of the left edge: [(] term op term ... term [)].
    void moveTo(core::Point point, Anchor anchor) override;
    float getWidth() const override;
    float getPureWidth() const override;
    // The tallest term at the list's own size or smaller: a term enlarged under the finger does not
    // make the row around it taller.
    float getHeight() const override;
    // The terms and the shown parentheses; the operators are not part of it.
    core::Rect getHitbox() const override;
    core::Point getTopLeft() const override;
    std::vector<std::shared_ptr<GenericLabel>> getVarLabelsForVar(const std::string& var) const override;
    // Passed on to the terms only.
    void setSpace(float space) override;

    std::string description() const override;

protected:
    ExprViewList() = default;

    void initWithList(std::shared_ptr<ExprList> list, PlaygroundView& playgroundView, Baggage* bag);

private:
    template <class Width> float rowWidth(Width width) const;

    std::shared_ptr<ExprList> m_listExpr;
    std::vector<ExprViewPtr> m_exprViews;
    GenericViewList m_opViews;
    std::shared_ptr<IGenericView> m_leftParen;
    std::shared_ptr<IGenericView> m_rightParen;
};

// A sum: in parentheses only as a factor of a product.
class ExprViewSum : public ExprViewList {
public:
    static std::shared_ptr<ExprViewSum> create(std::shared_ptr<ExprSum> sum, PlaygroundView& playgroundView,
                                               Baggage* bag);

protected:
    ExprViewSum() = default;
};

// A product: every sum among its factors shows its parentheses.
class ExprViewProduct : public ExprViewList {
public:
    static std::shared_ptr<ExprViewProduct> create(std::shared_ptr<ExprProduct> product,
                                                   PlaygroundView& playgroundView, Baggage* bag);

protected:
    ExprViewProduct() = default;

    // For views of other subsystems that lay out the factors themselves.
    void initWithProduct(std::shared_ptr<ExprProduct> product, PlaygroundView& playgroundView, Baggage* bag);
};

} // namespace zm
