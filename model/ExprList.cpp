#include "model/ExprList.h"

#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/Recording.h"

#include <algorithm>

namespace zm {

void ExprList::initWithExprs(const std::vector<ExprPtr>& exprs) {
    std::vector<ExprPtr> members;
    for (const ExprPtr& expr : exprs) {
        if (isMyType(expr.get())) {
            const auto& inner = static_cast<const ExprList&>(*expr).exprs();
            members.insert(members.end(), inner.begin(), inner.end());
        } else {
            members.push_back(expr);
        }
    }
    setExprs(std::move(members));
    m_leftParen = std::make_shared<OpParen>(true);
    m_rightParen = std::make_shared<OpParen>(false);
    reformOpsWithBaggage(nullptr);
}

void ExprList::setExprs(std::vector<ExprPtr> exprs) {
    m_exprs = std::move(exprs);
    const ExprPtr me = self();
    for (const ExprPtr& expr : m_exprs)
        expr->setExprParent(me);
}

bool ExprList::hasMember(const Expr* expr) const {
    return std::any_of(m_exprs.begin(), m_exprs.end(),
                       [expr](const ExprPtr& member) { return member.get() == expr; });
}

void ExprList::reformOpsWithBaggage(TransitionRecord* bag) {
    const size_t needed = m_exprs.empty() ? 0 : m_exprs.size() - 1;
    auto relink = [this](size_t i) {
        m_ops[i]->setFirstExpr(m_exprs[i]);
        m_ops[i]->setSecondExpr(m_exprs[i + 1]);
    };
    auto grow = [&] {
        const OperatorPtr last = m_ops.empty() ? nullptr : m_ops.back();
        while (m_ops.size() < needed) {
            const size_t i = m_ops.size();
            OperatorPtr op = makeOpFromFirstExpr(m_exprs[i], m_exprs[i + 1]);
            m_ops.push_back(op);
            recordPosition(bag, op, last);
        }
    };

    if (needed >= m_ops.size()) {
        for (size_t i = 0; i < m_ops.size(); ++i) {
            relink(i);
            recordPosition(bag, m_ops[i], m_ops[i]);
        }
        grow();
    } else {
        // An operator goes with a member that went: the first one when its left member went, any
        // other when its right member went. When several members went at once that may leave too
        // many, and then the ones whose left member went go first, the last ones after them.
        std::vector<OperatorPtr> kept;
        std::vector<OperatorPtr> condemned;
        for (size_t i = 0; i < m_ops.size(); ++i) {
            const OperatorPtr& op = m_ops[i];
            const bool firstGone = !hasMember(op->firstExpr().get());
            const bool secondGone = !hasMember(op->secondExpr().get());
            ((i == 0 && firstGone) || secondGone ? condemned : kept).push_back(op);
        }
        for (auto it = kept.begin(); kept.size() > needed && it != kept.end();) {
            if (!hasMember((*it)->firstExpr().get())) {
                condemned.push_back(*it);
                it = kept.erase(it);
            } else {
                ++it;
            }
        }
        while (kept.size() > needed) {
            condemned.push_back(kept.back());
            kept.pop_back();
        }
        for (const OperatorPtr& op : condemned)
            recordCondemned(bag, op, op);
        m_ops = std::move(kept);
        for (size_t i = 0; i < m_ops.size(); ++i)
            relink(i);
        grow();
    }
    const ExprPtr me = self();
    for (const ExprPtr& expr : m_exprs)
        expr->setExprParent(me);
}

ExprPtr ExprList::insertExpr(const ExprPtr& expr, int32_t position, TransitionRecord* bag) {
    if (!expr)
        return self();
    std::vector<ExprPtr> members = m_exprs;
    members.insert(position == 0 ? members.begin() : members.end(), expr);
    setExprs(std::move(members));
    reformOpsWithBaggage(bag);
    return self();
}

ExprPtr ExprList::insertExpr(const ExprPtr& expr, TransitionRecord* bag, ArithmeticType type,
                             int32_t position) {
    if (!expr)
        return nullptr;
    if (type == ownArithmeticType())
        return insertExpr(expr, position, bag);
    const ExprPtr me = self();
    std::shared_ptr<ExprList> list;
    switch (type) {
    case ArithmeticTypeAdd:
        list = position == 0 ? ExprSum::sumWithArray({expr, me}) : ExprSum::sumWithArray({me, expr});
        break;
    case ArithmeticTypeMultiply:
        list = position == 0 ? ExprProduct::productWithArray({expr, me})
                             : ExprProduct::productWithArray({me, expr});
        break;
    case ArithmeticTypeDivide: {
        auto quotient = ExprQuotient::quotientWithNumer(me, expr);
        recordPosition(bag, quotient->op(), me);
        return quotient;
    }
    default:
        return nullptr;
    }
    recordPosition(bag, list->ops().back(), me);
    return list;
}

std::vector<ExprPtr> ExprList::copyExprsWithBag(TransitionRecord* bag) {
    std::vector<ExprPtr> copies;
    for (const ExprPtr& expr : m_exprs)
        copies.push_back(expr->copyWithBag(bag));
    return copies;
}

ExprPtr ExprList::copy() const {
    std::vector<ExprPtr> copies;
    for (const ExprPtr& expr : m_exprs)
        copies.push_back(expr->copy());
    return makeLike(copies);
}

ExprPtr ExprList::copyWithBag(TransitionRecord* bag) {
    auto twin = makeLike(copyExprsWithBag(bag));
    if (!twin)
        return nullptr;
    for (size_t i = 0; i < twin->ops().size() && i < m_ops.size(); ++i)
        recordPosition(bag, twin->ops()[i], m_ops[i]);
    return twin;
}

template <class Edit> ExprPtr ExprList::rebuild(Edit edit, TransitionRecord* bag) {
    const std::vector<ExprPtr> old = m_exprs;
    std::vector<ExprPtr> members;
    bool changed = false;
    for (const ExprPtr& member : old) {
        ExprPtr edited = edit(member);
        changed = changed || edited != member || isMyType(edited.get());
        if (!edited)
            continue;
        if (isMyType(edited.get())) {
            const auto& inner = static_cast<const ExprList&>(*edited);
            const size_t at = std::min(members.size(), m_ops.size());
            m_ops.insert(m_ops.begin() + static_cast<std::ptrdiff_t>(at), inner.ops().begin(),
                         inner.ops().end());
            members.insert(members.end(), inner.exprs().begin(), inner.exprs().end());
        } else {
            members.push_back(edited);
        }
    }
    // A list the edit did not reach stays exactly as it is. Besides saving work, this keeps a list
    // that a step has already emptied of some members (a fraction's old numerator whose factors
    // moved into a new product) from claiming them back as their parent.
    if (!changed)
        return self();
    if (members.size() <= 1) {
        ExprPtr survivor = members.empty() ? nullptr : members.front();
        if (survivor)
            survivor->setExprParent(exprParent());
        return survivor;
    }
    setExprs(std::move(members));
    reformOpsWithBaggage(bag);
    return self();
}

ExprPtr ExprList::killExpr(const ExprPtr& expr, TransitionRecord* bag) {
    if (expr.get() == this)
        return nullptr;
    return rebuild([&](const ExprPtr& member) { return member->killExpr(expr, bag); }, bag);
}

ExprPtr ExprList::replaceExpr(const ExprPtr& expr, const ExprPtr& replacement, TransitionRecord* bag) {
    if (expr.get() == this)
        return replacement;
    if (!replacement)
        return killExpr(expr, bag);
    return rebuild([&](const ExprPtr& member) { return member->replaceExpr(expr, replacement, bag); }, bag);
}

ExprPtr ExprList::substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag) {
    return rebuild(
        [&](const ExprPtr& member) {
            ExprPtr substituted = member->substituteVar(var, expr, bag);
            return substituted ? substituted : member;
        },
        bag);
}

ExprPtr ExprList::addExpr(const ExprPtr& right, const std::shared_ptr<OpPlus>&, TransitionRecord* bag) {
    if (!ExprSoloist::isZero(right.get()))
        return nullptr;
    recordCondemned(bag, right, self());
    return self();
}

ExprPtr ExprList::multiplyExpr(const ExprPtr& right, const std::shared_ptr<OpTimes>&, TransitionRecord* bag) {
    if (!ExprSoloist::isPositiveOne(right.get()))
        return nullptr;
    recordCondemned(bag, right, self());
    return self();
}

void ExprList::positionMeWithBag(TransitionRecord* bag, const ModelObjectPtr& obj) {
    Expr::positionMeWithBag(bag, obj);
    recordPosition(bag, m_leftParen, obj);
    recordPosition(bag, m_rightParen, obj);
}

bool ExprList::isEquivalent(const Expr& other) const {
    if (typeid(other) != typeid(*this))
        return false;
    const auto& theirs = static_cast<const ExprList&>(other).exprs();
    if (theirs.size() != m_exprs.size())
        return false;
    // Equivalence is an equivalence relation, so pairing each member with the first unused
    // equivalent one finds a one-to-one matching whenever there is one.
    std::vector<bool> used(theirs.size(), false);
    for (const ExprPtr& mine : m_exprs) {
        size_t j = 0;
        while (j < theirs.size() && (used[j] || !theirs[j]->isEquivalent(*mine)))
            ++j;
        if (j == theirs.size())
            return false;
        used[j] = true;
    }
    return true;
}

bool ExprList::isExactMatch(const Expr& other) const {
    if (typeid(other) != typeid(*this))
        return false;
    const auto& theirs = static_cast<const ExprList&>(other).exprs();
    if (theirs.size() != m_exprs.size())
        return false;
    for (size_t i = 0; i < m_exprs.size(); ++i) {
        if (!m_exprs[i]->isExactMatch(*theirs[i]))
            return false;
    }
    return true;
}

std::string ExprList::separator() const {
    return m_ops.empty() ? "" : m_ops.back()->getSymbol();
}

std::string ExprList::description() const {
    const std::string between = " " + separator() + " ";
    std::string text;
    for (size_t i = 0; i < m_exprs.size(); ++i)
        text += (i == 0 ? "" : between) + describeMember(i);
    return text;
}

std::string ExprList::getSizeApproxString() const {
    const std::string between = separator();
    std::string text;
    for (size_t i = 0; i < m_exprs.size(); ++i)
        text += (i == 0 ? "" : between) + m_exprs[i]->getSizeApproxString();
    return text;
}

} // namespace zm
