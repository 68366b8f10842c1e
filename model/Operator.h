#pragma once

#include "model/Expr.h"

#include <memory>
#include <string>

namespace zm {

class IGenericView;
class Step;
class ViewFactory;

// The model object of a visible sign between two parts of an expression: "+" in a sum, "*" in a
// product, the fraction bar, "=" and the parentheses of a list. Operators made with operands take the
// next `opId` of their own process-wide counter; those made without ("=", parentheses) keep id 0,
// which the counter never hands out. An operator owns its operands.
class Operator : public ModelObject {
public:
    Operator() = default;
    Operator(ExprPtr firstExpr, ExprPtr secondExpr);

    const ExprPtr& firstExpr() const { return m_firstExpr; }
    void setFirstExpr(ExprPtr expr) { m_firstExpr = std::move(expr); }
    const ExprPtr& secondExpr() const { return m_secondExpr; }
    void setSecondExpr(ExprPtr expr) { m_secondExpr = std::move(expr); }
    int32_t opId() const { return m_opId; }
    void setOpId(int32_t opId) { m_opId = opId; }

    virtual std::string getSymbol() const { return "NONE"; }
    virtual std::shared_ptr<IGenericView> makeOpViewFromPlaygroundView(ViewFactory&) { return nullptr; }
    // The rule a tap on the operator stands for, a new step each time; null when it stands for none.
    virtual std::shared_ptr<Step> step() { return nullptr; }

protected:
    template <class T> std::shared_ptr<T> selfAs() { return std::static_pointer_cast<T>(shared_from_this()); }

private:
    ExprPtr m_firstExpr;
    ExprPtr m_secondExpr;
    int32_t m_opId = 0;
};

class OpPlus : public Operator {
public:
    using Operator::Operator;
    std::string getSymbol() const override { return "+"; }
    std::shared_ptr<IGenericView> makeOpViewFromPlaygroundView(ViewFactory& views) override;
    std::shared_ptr<Step> step() override;
};

class OpTimes : public Operator {
public:
    using Operator::Operator;
    std::string getSymbol() const override { return "*"; }
    std::shared_ptr<IGenericView> makeOpViewFromPlaygroundView(ViewFactory& views) override;
    std::shared_ptr<Step> step() override;
};

class OpDivide : public Operator {
public:
    using Operator::Operator;
    std::string getSymbol() const override { return "/"; }
    std::shared_ptr<IGenericView> makeOpViewFromPlaygroundView(ViewFactory& views) override;
};

class OpEquals : public Operator {
public:
    using Operator::Operator;
    std::string getSymbol() const override { return "="; }
    std::shared_ptr<IGenericView> makeOpViewFromPlaygroundView(ViewFactory& views) override;
};

// A list's parenthesis. Other subsystems derive signs of their own from it.
class OpParen : public Operator {
public:
    explicit OpParen(bool isLeft)
        : m_isLeft(isLeft) {}

    bool isLeft() const { return m_isLeft; }
    void setIsLeft(bool isLeft) { m_isLeft = isLeft; }

    std::string getSymbol() const override { return m_isLeft ? "(" : ")"; }
    std::shared_ptr<IGenericView> makeOpViewFromPlaygroundView(ViewFactory& views) override;

private:
    bool m_isLeft;
};

} // namespace zm
