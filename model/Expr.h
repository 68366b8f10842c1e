#pragma once

#include "model/ArithmeticType.h"
#include "model/ModelObject.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <typeinfo>
#include <vector>

namespace zm {

class Baggage;
class ExprView;
class Expr;
class ExprSoloist;
class Operator;
class OpPlus;
class OpTimes;
class TransitionRecord;
class ViewFactory;

using ExprPtr = std::shared_ptr<Expr>;
using OperatorPtr = std::shared_ptr<Operator>;

// The variable name that marks a plain number.
inline constexpr const char* kNumVar = "num";

// True when `object` is exactly of class T. Other subsystems derive their own node and operator
// classes; an exact-class test must not take them for ours, so it is never a kind test.
template <class T, class U> bool isExactly(const U* object) {
    return object != nullptr && typeid(*object) == typeid(T);
}
template <class T, class U> bool isExactly(const std::shared_ptr<U>& object) {
    return isExactly<T>(object.get());
}
// `object` as a T when it is exactly of that class, else null.
template <class T, class U> std::shared_ptr<T> asExactly(const std::shared_ptr<U>& object) {
    return isExactly<T>(object) ? std::static_pointer_cast<T>(object) : nullptr;
}

// A node of the expression tree. Nodes are made by their classes' factories, held by shared
// pointers, own their children and point to their parent without owning it. Every node made in the
// process takes the next `exprId`; copies have fresh ids until `deepCopyExprIDsFromExpr` stamps
// them with the ids of the tree they were copied from.
//
// The editing operations change the tree in place and answer the node that is to stand where the
// receiver stood (the receiver, a new node or a surviving child); null means the receiver is gone or
// the operation does not apply. They record view motions in the `TransitionRecord` when one is given.
class Expr : public ModelObject {
public:
    int32_t exprId() const { return m_exprId; }
    void setExprId(int32_t exprId) { m_exprId = exprId; }
    ExprPtr exprParent() const { return m_exprParent.lock(); }
    void setExprParent(const ExprPtr& parent) { m_exprParent = parent; }

    // The shared pointer that holds this node. Constness guards a tree's content, not the identity of
    // its nodes, so a const node hands out itself like any other.
    ExprPtr self() const {
        return std::const_pointer_cast<Expr>(std::static_pointer_cast<const Expr>(shared_from_this()));
    }

    // The children in order (none for a term) and the node's own operators in order (a list's
    // parentheses are not among them), as views of the node's own storage.
    virtual std::span<const ExprPtr> children() const { return {}; }
    virtual std::span<const OperatorPtr> ownOps() const { return {}; }

    // Copies: new nodes and operators with fresh ids, sharing nothing with the receiver.
    virtual ExprPtr copy() const { return nullptr; }
    virtual ExprPtr copyWithBag(TransitionRecord* bag);
    // Overwrites the ids of this tree with those of `other`, a tree of the same shape.
    void deepCopyExprIDsFromExpr(const Expr& other);

    // Lookups by identity.
    template <class T> std::shared_ptr<T> getAncestorOfType(int maxDistance) const;
    bool isAncestorOfExpr(const Expr* expr) const;
    bool hasExpr(const Expr* expr) const;
    ExprPtr getExprWithId(int32_t exprId) const;
    // The node with the id when it is exactly of class T; the search does not go past a node of
    // another class.
    template <class T> std::shared_ptr<T> getExprWithId(int32_t exprId) const {
        return asExactly<T>(getExprWithId(exprId));
    }
    OperatorPtr getOpWithId(int32_t opId) const;

    virtual std::shared_ptr<ExprView> makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag);

    // Editing operations.
    virtual ExprPtr killExpr(const ExprPtr& expr, TransitionRecord* bag);
    virtual ExprPtr replaceExpr(const ExprPtr& expr, const ExprPtr& replacement, TransitionRecord* bag);
    virtual ExprPtr insertExpr(const ExprPtr& expr, TransitionRecord* bag, ArithmeticType type,
                               int32_t position);
    virtual ExprPtr getNegativeWithBaggage(TransitionRecord* bag);
    virtual ExprPtr addExpr(const ExprPtr& right, const std::shared_ptr<OpPlus>& plus, TransitionRecord* bag);
    virtual ExprPtr multiplyExpr(const ExprPtr& right, const std::shared_ptr<OpTimes>& times,
                                 TransitionRecord* bag);
    virtual ExprPtr substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag);

    // Traversals, left to right, depth first.
    std::vector<std::shared_ptr<ExprSoloist>> getSolos() const;
    std::vector<OperatorPtr> getOps() const;
    // The receiver and every node below it that is a T (subclasses count), receiver first.
    template <class T> std::vector<std::shared_ptr<T>> childrenOfType() const;

    virtual ExprPtr getSimplifiedExpr() { return nullptr; }
    // Records that every view of this subtree grows out of the view of `obj`.
    virtual void positionMeWithBag(TransitionRecord* bag, const ModelObjectPtr& obj);

    // Equality and goal tests.
    virtual bool isEquivalent(const Expr&) const { return false; }
    virtual bool isExactMatch(const Expr&) const { return false; }
    virtual bool isFactorized() const { return false; }
    virtual bool isSimplified() const { return false; }
    virtual bool canSubstitute() const { return true; }
    static bool exprHasMultipleVariables(const Expr& expr);

    // Variables: `hasVar`, the first variable met depth first (none when only numbers), renaming
    // every variable term, and turning terms named "null" into numbers.
    virtual bool hasVar(const std::string& var) const;
    virtual std::optional<std::string> getKeyVar() const;
    virtual void setKeyVar(const std::string& var);
    virtual void removeNullVars();

    // The text form, and a shorter text the views measure widths with.
    virtual std::string description() const;
    virtual std::string getSizeApproxString() const { return ""; }

protected:
    // Only the classes' factories make nodes; this key keeps everyone else from calling the
    // constructors, so that every node is held by a shared pointer from birth.
    struct Key {
        explicit Key() = default;
    };

    Expr();

    // The traversals' accumulating steps.
    virtual void appendSolos(std::vector<std::shared_ptr<ExprSoloist>>& solos) const;
    void appendOps(std::vector<OperatorPtr>& ops) const;

private:
    int32_t m_exprId;
    std::weak_ptr<Expr> m_exprParent;
};

std::ostream& operator<<(std::ostream& out, const Expr& expr);

template <class T> std::shared_ptr<T> Expr::getAncestorOfType(int maxDistance) const {
    ExprPtr node = exprParent();
    for (int step = 0; step < maxDistance && node; ++step) {
        if (isExactly<T>(node))
            return std::static_pointer_cast<T>(node);
        node = node->exprParent();
    }
    return nullptr;
}

template <class T> std::vector<std::shared_ptr<T>> Expr::childrenOfType() const {
    std::vector<std::shared_ptr<T>> found;
    if (auto kind = std::dynamic_pointer_cast<T>(self()))
        found.push_back(kind);
    for (const ExprPtr& child : children()) {
        auto below = child->childrenOfType<T>();
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

} // namespace zm
