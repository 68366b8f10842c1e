#include "model/Expr.h"

#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/Recording.h"

#include <atomic>
#include <ostream>

namespace zm {

namespace {
std::atomic<int32_t> nextExprId{0};
}

Expr::Expr()
    : m_exprId(nextExprId.fetch_add(1, std::memory_order_relaxed)) {}

ExprPtr Expr::copyWithBag(TransitionRecord*) {
    return nullptr;
}

void Expr::deepCopyExprIDsFromExpr(const Expr& other) {
    m_exprId = other.exprId();
    const auto mine = children();
    const auto theirs = other.children();
    for (size_t i = 0; i < mine.size() && i < theirs.size(); ++i)
        mine[i]->deepCopyExprIDsFromExpr(*theirs[i]);
    const auto myOps = ownOps();
    const auto theirOps = other.ownOps();
    for (size_t i = 0; i < myOps.size() && i < theirOps.size(); ++i)
        myOps[i]->setOpId(theirOps[i]->opId());
}

bool Expr::isAncestorOfExpr(const Expr* expr) const {
    for (const ExprPtr& child : children()) {
        if (child.get() == expr || child->isAncestorOfExpr(expr))
            return true;
    }
    return false;
}

bool Expr::hasExpr(const Expr* expr) const {
    return expr == this || isAncestorOfExpr(expr);
}

ExprPtr Expr::getExprWithId(int32_t exprId) const {
    if (m_exprId == exprId)
        return self();
    for (const ExprPtr& child : children()) {
        if (ExprPtr found = child->getExprWithId(exprId))
            return found;
    }
    return nullptr;
}

OperatorPtr Expr::getOpWithId(int32_t opId) const {
    for (const OperatorPtr& op : ownOps()) {
        if (op->opId() == opId)
            return op;
    }
    for (const ExprPtr& child : children()) {
        if (OperatorPtr found = child->getOpWithId(opId))
            return found;
    }
    return nullptr;
}

std::shared_ptr<ExprView> Expr::makeExprViewFromPlaygroundView(ViewFactory&, Baggage*) {
    return nullptr;
}

ExprPtr Expr::killExpr(const ExprPtr&, TransitionRecord*) {
    return nullptr;
}

ExprPtr Expr::replaceExpr(const ExprPtr&, const ExprPtr&, TransitionRecord*) {
    return nullptr;
}

ExprPtr Expr::insertExpr(const ExprPtr&, TransitionRecord*, ArithmeticType, int32_t) {
    return nullptr;
}

ExprPtr Expr::getNegativeWithBaggage(TransitionRecord*) {
    return nullptr;
}

ExprPtr Expr::addExpr(const ExprPtr&, const std::shared_ptr<OpPlus>&, TransitionRecord*) {
    return nullptr;
}

ExprPtr Expr::multiplyExpr(const ExprPtr&, const std::shared_ptr<OpTimes>&, TransitionRecord*) {
    return nullptr;
}

ExprPtr Expr::substituteVar(const std::string&, const ExprPtr&, TransitionRecord*) {
    return nullptr;
}

std::vector<std::shared_ptr<ExprSoloist>> Expr::getSolos() const {
    std::vector<std::shared_ptr<ExprSoloist>> solos;
    appendSolos(solos);
    return solos;
}

void Expr::appendSolos(std::vector<std::shared_ptr<ExprSoloist>>& solos) const {
    for (const ExprPtr& child : children())
        child->appendSolos(solos);
}

std::vector<OperatorPtr> Expr::getOps() const {
    std::vector<OperatorPtr> ops;
    appendOps(ops);
    return ops;
}

void Expr::appendOps(std::vector<OperatorPtr>& ops) const {
    for (const ExprPtr& child : children())
        child->appendOps(ops);
    const auto own = ownOps();
    ops.insert(ops.end(), own.begin(), own.end());
}

void Expr::positionMeWithBag(TransitionRecord* bag, const ModelObjectPtr& obj) {
    for (const ExprPtr& child : children())
        child->positionMeWithBag(bag, obj);
    for (const OperatorPtr& op : ownOps())
        recordPosition(bag, op, obj);
}

bool Expr::exprHasMultipleVariables(const Expr& expr) {
    std::optional<std::string> first;
    for (const auto& solo : expr.getSolos()) {
        if (solo->varIsNum())
            continue;
        if (!first)
            first = solo->var();
        else if (*first != solo->var())
            return true;
    }
    return false;
}

bool Expr::hasVar(const std::string& var) const {
    for (const ExprPtr& child : children()) {
        if (child->hasVar(var))
            return true;
    }
    return false;
}

std::optional<std::string> Expr::getKeyVar() const {
    for (const ExprPtr& child : children()) {
        if (auto var = child->getKeyVar())
            return var;
    }
    return std::nullopt;
}

void Expr::setKeyVar(const std::string& var) {
    for (const ExprPtr& child : children())
        child->setKeyVar(var);
}

void Expr::removeNullVars() {
    for (const ExprPtr& child : children())
        child->removeNullVars();
}

std::string Expr::description() const {
    return "<Expr " + std::to_string(m_exprId) + ">";
}

std::ostream& operator<<(std::ostream& out, const Expr& expr) {
    return out << expr.description();
}

} // namespace zm
