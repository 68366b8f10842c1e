#pragma once

#include "model/Expr.h"

namespace zm {

class OpParen;

// A sum or a product of two or more members, with one operator between each neighbouring pair and
// a pair of parentheses. The operators are what the player touches, so they survive changes of
// members as the same objects: `reformOpsWithBaggage` re-links them after every change. A member of
// the list's own class is spliced into it, never kept.
class ExprList : public Expr {
public:
    const std::vector<ExprPtr>& exprs() const { return m_exprs; }
    // Takes new members; callers that change the members themselves re-form the operators after.
    void setExprs(std::vector<ExprPtr> exprs);
    const std::vector<OperatorPtr>& ops() const { return m_ops; }
    const std::shared_ptr<OpParen>& leftParen() const { return m_leftParen; }
    const std::shared_ptr<OpParen>& rightParen() const { return m_rightParen; }

    // Whether `expr` is exactly of the list's own class.
    virtual bool isMyType(const Expr* expr) const = 0;

    // Brings the operators back to one between each neighbouring pair: surviving operators are
    // re-linked in order, missing ones made at the end, surplus ones condemned.
    void reformOpsWithBaggage(TransitionRecord* bag);

    using Expr::insertExpr;
    // Adds a member first (position 0) or last, without splicing it; answers the receiver.
    ExprPtr insertExpr(const ExprPtr& expr, int32_t position, TransitionRecord* bag);
    // Joins with `type`: the list's own operation grows it in place, the other one makes a new list
    // holding it, a division makes a fraction of it.
    ExprPtr insertExpr(const ExprPtr& expr, TransitionRecord* bag, ArithmeticType type,
                       int32_t position) override;

    std::vector<ExprPtr> copyExprsWithBag(TransitionRecord* bag);

    std::span<const ExprPtr> children() const override { return m_exprs; }
    std::span<const OperatorPtr> ownOps() const override { return m_ops; }

    ExprPtr copy() const override;
    ExprPtr copyWithBag(TransitionRecord* bag) override;

    ExprPtr killExpr(const ExprPtr& expr, TransitionRecord* bag) override;
    ExprPtr replaceExpr(const ExprPtr& expr, const ExprPtr& replacement, TransitionRecord* bag) override;
    ExprPtr substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag) override;
    // Absorbs a neutral right operand: 0 under "+", 1 under "*".
    ExprPtr addExpr(const ExprPtr& right, const std::shared_ptr<OpPlus>& plus,
                    TransitionRecord* bag) override;
    ExprPtr multiplyExpr(const ExprPtr& right, const std::shared_ptr<OpTimes>& times,
                         TransitionRecord* bag) override;

    void positionMeWithBag(TransitionRecord* bag, const ModelObjectPtr& obj) override;

    // Lists of the same class whose members pair off one to one, in any order.
    bool isEquivalent(const Expr& other) const override;
    bool isExactMatch(const Expr& other) const override;

    std::string description() const override;
    std::string getSizeApproxString() const override;

protected:
    using Expr::Expr;

    // Makes a list of class L from the members, splicing members of its own class; null for fewer
    // than two members or a missing one.
    template <class L> static std::shared_ptr<L> make(const std::vector<ExprPtr>& exprs);

    virtual OperatorPtr makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const = 0;
    virtual std::shared_ptr<ExprList> makeLike(const std::vector<ExprPtr>& exprs) const = 0;
    // The operation under which the list grows in place.
    virtual ArithmeticType ownArithmeticType() const = 0;
    // A member's part of the text form.
    virtual std::string describeMember(size_t index) const { return m_exprs[index]->description(); }

private:
    void initWithExprs(const std::vector<ExprPtr>& exprs);
    bool hasMember(const Expr* expr) const;
    // Rebuilds the members from each one's edited form (null drops it, a list of the own class is
    // spliced with its operators) and answers what stands in the receiver's place.
    template <class Edit> ExprPtr rebuild(Edit edit, TransitionRecord* bag);
    // The symbol written between members: that of the last operator.
    std::string separator() const;

    std::vector<ExprPtr> m_exprs;
    std::vector<OperatorPtr> m_ops;
    std::shared_ptr<OpParen> m_leftParen;
    std::shared_ptr<OpParen> m_rightParen;
};

template <class L> std::shared_ptr<L> ExprList::make(const std::vector<ExprPtr>& exprs) {
    // The node takes its id even when it then refuses the members.
    auto list = std::make_shared<L>(Key{});
    if (exprs.size() < 2)
        return nullptr;
    for (const ExprPtr& expr : exprs) {
        if (!expr)
            return nullptr;
    }
    static_cast<ExprList&>(*list).initWithExprs(exprs);
    return list;
}

} // namespace zm
