#pragma once

#include "JTMathParser/JTNumber.h"
#include "JTMathParser/JTOperatorInfo.h"

#include <optional>
#include <string>
#include <string_view>

namespace zm {

enum class JTTokenKind : int { Number = 0, Operator = 1, Function = 2, Variable = 3 };

// One token of a mathematical text: a number, an operator, a name (of a function) or a
// variable. An operator token points at its row of the operator table; a token whose text
// several rows share ("+", "-", "−", "!") is ambiguous and has no row until the tokenizer
// resolves it from the token before it.
class JTMathStringToken {
public:
    // Answers nothing for an operator text that no row of the table has.
    static std::optional<JTMathStringToken> make(std::string text, JTTokenKind kind);

    // The text; for a variable the name without "$".
    const std::string& token() const { return m_token; }
    JTTokenKind tokenType() const { return m_kind; }

    // The value of a number token (an exact decimal); nothing for other kinds.
    std::optional<JTNumber> numberValue() const { return m_number; }

    // For operator tokens: "invalid" while ambiguous, else the row's function name. Nothing
    // for other kinds.
    std::optional<std::string_view> operatorType() const;
    // For operator tokens: "" while ambiguous, else the row's function name.
    std::optional<std::string_view> operatorFunction() const;
    // -1 while ambiguous, 0 for other kinds.
    int operatorPrecedence() const;
    JTArity operatorArity() const { return m_info ? m_info->arity() : JTArity::Unknown; }
    // The row's current default, so a change of the class-level defaults shows at once.
    JTAssociativity operatorAssociativity() const {
        return m_info ? m_info->defaultAssociativity() : JTAssociativity::Left;
    }

    bool isAmbiguous() const { return m_ambiguous; }
    // Gives an ambiguous token the first row of `function`; a function without rows leaves
    // it ambiguous. Tokens that are not ambiguous are left alone.
    void resolveToOperator(std::string_view function);

    // "$" and the name for a variable, the text otherwise.
    std::string description() const;
    // The description and, for an operator, its row: "+ (arity:BIN, precedence:13, ...)".
    std::string debugDescription() const;

private:
    JTMathStringToken(std::string text, JTTokenKind kind)
        : m_token(std::move(text))
        , m_kind(kind) {}

    std::string m_token;
    JTTokenKind m_kind;
    const JTOperatorInfo* m_info = nullptr; // a row of the process-wide table
    bool m_ambiguous = false;
    std::optional<JTNumber> m_number;
};

} // namespace zm
