#pragma once

#include "model/Expr.h"

namespace zm {

// A node with two children and one operator between them: the equation and the fraction. The
// operator is made once, with the node, and keeps the operands it was made with.
class ExprBinary : public Expr {
public:
    const ExprPtr& firstExpr() const { return m_sides[0]; }
    void setFirstExpr(const ExprPtr& expr);
    const ExprPtr& secondExpr() const { return m_sides[1]; }
    void setSecondExpr(const ExprPtr& expr);
    const OperatorPtr& op() const { return m_op; }
    void setOp(OperatorPtr op) { m_op = std::move(op); }

    std::span<const ExprPtr> children() const override { return m_sides; }
    std::span<const OperatorPtr> ownOps() const override { return {&m_op, 1}; }

    ExprPtr copy() const override;
    ExprPtr copyWithBag(TransitionRecord* bag) override;

    ExprPtr killExpr(const ExprPtr& expr, TransitionRecord* bag) override;
    ExprPtr replaceExpr(const ExprPtr& expr, const ExprPtr& replacement, TransitionRecord* bag) override;
    ExprPtr substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag) override;

    ExprPtr getSimplifiedExpr() override { return self(); }
    // Both children match the other's, which must be of the same class (a fraction never equals an
    // equation with the same two sides).
    bool isEquivalent(const Expr& other) const override;
    bool isExactMatch(const Expr& other) const override;

    std::string description() const override;
    std::string getSizeApproxString() const override;

protected:
    using Expr::Expr;

    // Makes a node of class T with the two children; null when either is missing.
    template <class T> static std::shared_ptr<T> make(const ExprPtr& first, const ExprPtr& second);

    virtual OperatorPtr makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const = 0;
    // A new node of the receiver's class.
    virtual std::shared_ptr<ExprBinary> makeLike(const ExprPtr& first, const ExprPtr& second) const = 0;

private:
    void setSide(size_t index, const ExprPtr& expr);

    ExprPtr m_sides[2]; // first, second
    OperatorPtr m_op;
};

template <class T> std::shared_ptr<T> ExprBinary::make(const ExprPtr& first, const ExprPtr& second) {
    if (!first || !second)
        return nullptr;
    auto node = std::make_shared<T>(Key{});
    ExprBinary& binary = *node;
    binary.setFirstExpr(first);
    binary.setSecondExpr(second);
    binary.m_op = binary.makeOpFromFirstExpr(first, second);
    return node;
}

} // namespace zm
