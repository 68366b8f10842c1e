#pragma once

#include "JTMathParser/JTExpression.h"

namespace zm {

class JTNumberExpression final : public JTExpression {
public:
    explicit JTNumberExpression(const JTNumber& number)
        : JTExpression(1)
        , m_number(number) {}

    JTExpressionKind expressionType() const override { return JTExpressionKind::Number; }
    const JTNumber& number() const override { return m_number; }
    std::string description() const override { return m_number.description(); }
    core::Result<JTNumber> evaluateWithSubstitutions(const JTSubstitutions*,
                                                     JTMathEvaluator*) const override {
        return m_number;
    }

private:
    JTNumber m_number;
};

class JTVariableExpression final : public JTExpression {
public:
    // The name without "$"; never empty.
    explicit JTVariableExpression(std::string variable);

    JTExpressionKind expressionType() const override { return JTExpressionKind::Variable; }
    const std::string& variable() const override { return m_variable; }
    std::string description() const override { return "$" + m_variable; }
    core::Result<JTNumber> evaluateWithSubstitutions(const JTSubstitutions* substitutions,
                                                     JTMathEvaluator* evaluator) const override;

private:
    std::string m_variable;
};

class JTFunctionExpression final : public JTExpression {
    struct Passkey {};

public:
    // Made only through JTExpression::functionExpressionWithFunction, which links the
    // arguments to their new parent.
    JTFunctionExpression(Passkey, std::string_view function, std::vector<JTExpressionPtr> arguments,
                         int depth);

    static core::Result<JTExpressionPtr> make(std::string_view function,
                                              std::vector<JTExpressionPtr> arguments);

    JTExpressionKind expressionType() const override { return JTExpressionKind::Function; }
    const std::string& function() const override { return m_function; }
    std::span<const JTExpressionPtr> arguments() const override { return m_arguments; }
    std::string description() const override;
    core::Result<JTNumber> evaluateWithSubstitutions(const JTSubstitutions* substitutions,
                                                     JTMathEvaluator* evaluator) const override;
    core::Result<JTExpressionPtr>
    simplifiedExpressionWithEvaluator(JTMathEvaluator* evaluator) const override;

private:
    std::string m_function; // lower case
    std::vector<JTExpressionPtr> m_arguments;
};

} // namespace zm
