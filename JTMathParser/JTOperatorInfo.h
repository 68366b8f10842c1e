#pragma once

#include <atomic>
#include <span>
#include <string_view>
#include <vector>

namespace zm {

enum class JTArity : int { Unknown = 0, Unary = 1, Binary = 2 };

// For a unary operator, right means prefix (it stands before its operand) and left postfix.
enum class JTAssociativity : int { Left = 0, Right = 1 };

// The function names under which operators appear in parse trees: the vocabulary that
// the parser, the bridge into the model and the evaluator share.
namespace JTOperatorFunction {
inline constexpr std::string_view LogicalOr = "l_or";
inline constexpr std::string_view LogicalAnd = "l_and";
inline constexpr std::string_view LogicalNot = "l_not";
inline constexpr std::string_view LogicalEqual = "l_eq";
inline constexpr std::string_view LogicalNotEqual = "l_neq";
inline constexpr std::string_view LogicalLessThan = "l_lt";
inline constexpr std::string_view LogicalGreaterThan = "l_gt";
inline constexpr std::string_view LogicalLessThanOrEqual = "l_ltoe";
inline constexpr std::string_view LogicalGreaterThanOrEqual = "l_gtoe";
inline constexpr std::string_view BitwiseOr = "or";
inline constexpr std::string_view BitwiseXor = "xor";
inline constexpr std::string_view BitwiseAnd = "and";
inline constexpr std::string_view LeftShift = "lshift";
inline constexpr std::string_view RightShift = "rshift";
inline constexpr std::string_view Subtract = "subtract";
inline constexpr std::string_view Add = "add";
inline constexpr std::string_view Divide = "divide";
inline constexpr std::string_view Multiply = "multiply";
inline constexpr std::string_view Modulo = "modulo";
inline constexpr std::string_view BitwiseNot = "not";
inline constexpr std::string_view Factorial = "factorial";
inline constexpr std::string_view DegreesToRadians = "dtor";
inline constexpr std::string_view Power = "pow";
inline constexpr std::string_view OpenParen = "open_paren";
inline constexpr std::string_view CloseParen = "close_paren";
inline constexpr std::string_view Comma = "comma";
inline constexpr std::string_view Negate = "negate";
inline constexpr std::string_view Positive = "positive";
// Carried by no row: the operator type of a token that is not yet resolved.
inline constexpr std::string_view Invalid = "invalid";
} // namespace JTOperatorFunction

// One row of the operator table. Rows live for the whole process and are shared by every
// token and parser; only the default associativity changes after the table is built (see
// the class-level defaults of JTParser), which is why it is atomic.
class JTOperatorInfo {
public:
    JTOperatorInfo(std::string_view function, std::string_view token, JTArity arity, int precedence,
                   JTAssociativity associativity)
        : m_function(function)
        , m_token(token)
        , m_arity(arity)
        , m_precedence(precedence)
        , m_defaultAssociativity(associativity) {}
    JTOperatorInfo(const JTOperatorInfo&) = delete;
    JTOperatorInfo& operator=(const JTOperatorInfo&) = delete;

    // Every row, in table order; precedences run from 0 (loosest) to kMaxPrecedence.
    static std::span<const JTOperatorInfo> allOperators();
    // The rows of a function or of a token text, in table order; empty when there is none.
    static std::span<const JTOperatorInfo* const> infosForOperatorFunction(std::string_view function);
    static std::span<const JTOperatorInfo* const> infosForOperatorToken(std::string_view token);
    // Whether the code point occurs in the text of some row.
    static bool isOperatorCharacter(char32_t c);

    static constexpr int kMaxPrecedence = 21;
    // The longest token, in characters.
    static constexpr std::size_t kMaxTokenLength = 2;

    std::string_view function() const { return m_function; }
    std::string_view token() const { return m_token; }
    JTArity arity() const { return m_arity; }
    int precedence() const { return m_precedence; }
    JTAssociativity defaultAssociativity() const {
        return m_defaultAssociativity.load(std::memory_order_relaxed);
    }
    void setDefaultAssociativity(JTAssociativity associativity) const {
        m_defaultAssociativity.store(associativity, std::memory_order_relaxed);
    }

private:
    std::string_view m_function;
    std::string_view m_token;
    JTArity m_arity;
    int m_precedence;
    mutable std::atomic<JTAssociativity> m_defaultAssociativity;
};

} // namespace zm
