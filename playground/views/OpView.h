#pragma once

#include "model/Operator.h"
#include "playground/views/GenericLabel.h"

namespace zm {

class PlaygroundView;

// The view of an operator drawn as a character: a label of the operator's symbol in the number font.
// It stands for its operator, which a move may hand to a new operator that takes the view over.
class OpView : public GenericLabel {
public:
    // A view of class T (one of the marker classes below) for `op`, in the host view's number font at
    // its font size and in its expression colour, at the origin.
    template <class T>
    static std::shared_ptr<T> create(OperatorPtr op, const PlaygroundView& playgroundView) {
        auto view = std::make_shared<T>(Key{}, *op, playgroundView);
        view->setOp(std::move(op));
        view->init(playgroundView);
        return view;
    }

    const OperatorPtr& op() const { return m_op; }
    void setOp(OperatorPtr op) { m_op = std::move(op); }

    // An operator view stands for a model object: it is a base node.
    GenericViewList getBaseNodeGenericViews() const override;
    ModelObjectPtr getObj() const override { return m_op; }
    // Takes an operator; anything else leaves the view without one.
    void setObj(ModelObjectPtr obj) override;
    // Back to white; an operator never counts as highlighted.
    void dehighlight() override;
    bool isHighlighted() const override { return false; }

    OpView(Key, const Operator& op, const PlaygroundView& playgroundView);

private:
    void init(const PlaygroundView& playgroundView);

    OperatorPtr m_op;
};

// The classes of the operator views; the layout of sums and products tells the times sign apart.
class OpViewPlus : public OpView {
public:
    using OpView::OpView;
};

class OpViewTimes : public OpView {
public:
    using OpView::OpView;
};

class OpViewEquals : public OpView {
public:
    using OpView::OpView;
};

// A parenthesis of a sum or product.
class OpViewParen : public OpView {
public:
    using OpView::OpView;
};

// The minus sign of the long division's subtraction rows.
class OpViewMinus : public OpViewParen {
public:
    using OpViewParen::OpViewParen;
};

} // namespace zm
