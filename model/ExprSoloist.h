#pragma once

#include "model/Expr.h"

#include <utility>

namespace zm {

class ExprProduct;

// A term: a whole-number coefficient times a named variable to a whole-number power (7, x, -3y,
// 2x^2). The name "num" marks a plain number. Nothing else is enforced: a variable term may have
// coefficient 0 and a number may carry an exponent. The arithmetic below answers new nodes and
// leaves both operands as they are; the steps put the answers into the tree.
class ExprSoloist : public Expr {
public:
    ExprSoloist(Key, int32_t coef, std::string var, int32_t exponent);

    static std::shared_ptr<ExprSoloist> soloWithCoef(int32_t coef, std::string var = kNumVar,
                                                     int32_t exponent = 1);

    int32_t coef() const { return m_coef; }
    void setCoef(int32_t coef) { m_coef = coef; }
    const std::string& var() const { return m_var; }
    void setVar(std::string var) { m_var = std::move(var); }
    int32_t exponent() const { return m_exponent; }
    void setExponent(int32_t exponent) { m_exponent = exponent; }

    bool varIsNum() const { return m_var == kNumVar; }
    bool varIsNotNum() const { return !varIsNum(); }

    // Class tests; each first requires the argument to be exactly a term.
    static bool isZero(const Expr* expr);        // coefficient 0, any name and exponent
    static bool isNegativeOne(const Expr* expr); // the number -1, exponent not examined
    static bool isPositiveOne(const Expr* expr); // the number 1, exponent not examined
    // A number and a variable term of coefficient 1, in either order: the two with the number first.
    static std::optional<std::pair<std::shared_ptr<ExprSoloist>, std::shared_ptr<ExprSoloist>>>
    numOnlyThenVarOnly(const ExprPtr& a, const ExprPtr& b);

    ExprPtr copy() const override;
    ExprPtr copyWithBag(TransitionRecord* bag) override;
    std::shared_ptr<ExprView> makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) override;

    ExprPtr killExpr(const ExprPtr& expr, TransitionRecord* bag) override;
    ExprPtr replaceExpr(const ExprPtr& expr, const ExprPtr& replacement, TransitionRecord* bag) override;
    ExprPtr insertExpr(const ExprPtr& expr, TransitionRecord* bag, ArithmeticType type,
                       int32_t position) override;
    ExprPtr getNegativeWithBaggage(TransitionRecord* bag) override;
    ExprPtr addExpr(const ExprPtr& right, const std::shared_ptr<OpPlus>& plus,
                    TransitionRecord* bag) override;
    ExprPtr multiplyExpr(const ExprPtr& right, const std::shared_ptr<OpTimes>& times,
                         TransitionRecord* bag) override;
    ExprPtr substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag) override;

    void positionMeWithBag(TransitionRecord* bag, const ModelObjectPtr& obj) override;
    ExprPtr getSimplifiedExpr() override { return copy(); }

    bool isEquivalent(const Expr& other) const override;
    bool isExactMatch(const Expr& other) const override { return isEquivalent(other); }
    bool isFactorized() const override;
    bool isSimplified() const override { return true; }

    bool hasVar(const std::string& var) const override { return m_var == var; }
    std::optional<std::string> getKeyVar() const override;
    void setKeyVar(const std::string& var) override;
    void removeNullVars() override;

    std::string description() const override;
    std::string getSizeApproxString() const override;

    // The ways to write the term as a product of two factors: c x (name with coefficient 1) for a
    // variable term, (-1) x (-c) for a number below -1, d x (c / d) for every divisor d up to the
    // square root of a positive number; none for 0, -1, a variable term with coefficient 0 and a
    // power of a number.
    std::vector<std::shared_ptr<ExprProduct>> getFactorizedProductPairs() const;
    // The divisor pairs (d, c / d) of a positive number, d ascending up to the square root.
    static std::vector<std::pair<int32_t, int32_t>> divisorPairs(int32_t value);

    // Digit entry: the decimal text of the coefficient (empty for 0) with the digit term's value
    // appended, or without its last character (null when one character is all there is).
    std::shared_ptr<ExprSoloist> expandByDigit(const ExprSoloist& digit) const;
    std::shared_ptr<ExprSoloist> removeLastDigit() const;

protected:
    void appendSolos(std::vector<std::shared_ptr<ExprSoloist>>& solos) const override;

private:
    std::shared_ptr<ExprSoloist> selfSolo() const { return std::static_pointer_cast<ExprSoloist>(self()); }

    int32_t m_coef;
    std::string m_var;
    int32_t m_exponent;
};

using ExprSoloistPtr = std::shared_ptr<ExprSoloist>;

} // namespace zm
