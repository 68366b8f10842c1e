#pragma once

#include "model/ArithmeticType.h"
#include "model/steps/Step.h"

namespace zm {

class ExprEquation;

// A tap on "=": opens the both-sides playground, and applied directly changes nothing.
class StepEuclideanFountainStart : public Step {
public:
    explicit StepEuclideanFountainStart(std::shared_ptr<ExprEquation> equation)
        : m_equation(std::move(equation)) {}

    const std::shared_ptr<ExprEquation>& equation() const { return m_equation; }
    void setEquation(std::shared_ptr<ExprEquation> equation) { m_equation = std::move(equation); }

    std::shared_ptr<Playground> createModalPlayground(ModalPlaygroundFactory& mainPlayground) override;

private:
    std::shared_ptr<ExprEquation> m_equation;
};

// The same operation with a typed expression done to both sides of the equation: on the left the
// new expression comes first, on the right last. It works on its own equation, which the playground
// executes it on as the main expression, and answers that equation.
class StepEuclideanFountain : public Step {
public:
    StepEuclideanFountain(std::shared_ptr<ExprEquation> equation, ExprPtr createdExpr, int32_t arithType)
        : m_equation(std::move(equation))
        , m_createdExpr(std::move(createdExpr))
        , m_arithType(arithType) {}

    const std::shared_ptr<ExprEquation>& equation() const { return m_equation; }
    void setEquation(std::shared_ptr<ExprEquation> equation) { m_equation = std::move(equation); }
    const ExprPtr& createdExpr() const { return m_createdExpr; }
    void setCreatedExpr(ExprPtr expr) { m_createdExpr = std::move(expr); }
    int32_t arithType() const { return m_arithType; }
    void setArithType(int32_t arithType) { m_arithType = arithType; }

    // Changes nothing for a type other than the three operations. Refused, the equation shaking, for a
    // typed equation and for a multiplication or division by what is zero whatever its variables.
    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;

private:
    std::shared_ptr<ExprEquation> m_equation;
    ExprPtr m_createdExpr;
    int32_t m_arithType;
};

} // namespace zm
