#include "JTMathParser/JTMathStringToken.h"

#include "platform/core/Log.h"

namespace zm {

std::optional<JTMathStringToken> JTMathStringToken::make(std::string text, JTTokenKind kind) {
    JTMathStringToken token(std::move(text), kind);
    switch (kind) {
    case JTTokenKind::Operator: {
        auto rows = JTOperatorInfo::infosForOperatorToken(token.m_token);
        if (rows.empty()) {
            return std::nullopt;
        }
        if (rows.size() == 1) {
            token.m_info = rows.front();
        } else {
            token.m_ambiguous = true;
        }
        break;
    }
    case JTTokenKind::Number:
        token.m_number = JTNumber::decimalFromString(token.m_token);
        if (!token.m_number) {
            core::log(core::LogLevel::Error, "supposedly invalid number: " + token.m_token);
            token.m_number = JTNumber::decimal(0, 0);
        }
        break;
    case JTTokenKind::Function:
    case JTTokenKind::Variable:
        break;
    }
    return token;
}

std::optional<std::string_view> JTMathStringToken::operatorType() const {
    if (m_kind != JTTokenKind::Operator) {
        return std::nullopt;
    }
    return m_info ? m_info->function() : JTOperatorFunction::Invalid;
}

std::optional<std::string_view> JTMathStringToken::operatorFunction() const {
    if (m_kind != JTTokenKind::Operator) {
        return std::nullopt;
    }
    return m_info ? m_info->function() : std::string_view();
}

int JTMathStringToken::operatorPrecedence() const {
    if (m_info) {
        return m_info->precedence();
    }
    return m_kind == JTTokenKind::Operator ? -1 : 0;
}

void JTMathStringToken::resolveToOperator(std::string_view function) {
    if (!m_ambiguous) {
        return;
    }
    auto rows = JTOperatorInfo::infosForOperatorFunction(function);
    m_info = rows.empty() ? nullptr : rows.front();
    m_ambiguous = rows.empty();
}

std::string JTMathStringToken::description() const {
    return m_kind == JTTokenKind::Variable ? "$" + m_token : m_token;
}

std::string JTMathStringToken::debugDescription() const {
    std::string text = description();
    if (m_kind != JTTokenKind::Operator) {
        return text;
    }
    static constexpr std::string_view arities[] = {"UNK", "UN", "BIN"};
    text += " (arity:";
    text += arities[static_cast<int>(operatorArity())];
    text += ", precedence:" + std::to_string(operatorPrecedence());
    text += ", associativity:";
    text += operatorAssociativity() == JTAssociativity::Left ? "LEFT" : "RIGHT";
    text += ", function:";
    text += operatorFunction().value_or("");
    text += ")";
    return text;
}

} // namespace zm
