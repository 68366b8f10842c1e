#pragma once

#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTMathStringTokenizer.h"
#include "JTMathParser/JTOperatorInfo.h"
#include "platform/core/Result.h"

#include <array>
#include <string_view>

namespace zm {

// The operator groups whose associativity a parser can choose (the class-level defaults
// `defaultPowerAssociativity` and its kin, and the per-parser `powerAssociativity` and its
// kin, are one accessor each, keyed by group).
enum class JTOperatorGroup : int {
    BitwiseOr,
    BitwiseXor,
    BitwiseAnd,
    BitwiseLeftShift,
    BitwiseRightShift,
    Addition,       // add, subtract
    Multiplication, // multiply, divide
    Mod,
    Power,
};

// Reads a token list into a parse tree (see JTParserTerm for the two passes). Each parser starts from the
// class-level associativity defaults, which live in the shared operator table: changing one reaches every
// parser made afterwards and every token at once, so a caller that changes a default for a while restores it
// afterwards.
class JTParser {
public:
    static JTAssociativity defaultAssociativity(JTOperatorGroup group);
    static void setDefaultAssociativity(JTOperatorGroup group, JTAssociativity associativity);

    // A parser of the text, with the class-level defaults of this moment. Fails when the
    // text cannot be tokenized.
    static core::Result<JTParser> make(std::string_view text);
    explicit JTParser(JTMathStringTokenizer tokenizer);

    // Parses the tokens, from the first one each time. Fails with the first error met: see
    // JTErrorCode. Errors that no correct text avoids are errors too: nesting deeper than
    // JTExpression::kMaxDepth (code 1) and a ")" that no "(" opened (code 7).
    core::Result<JTExpressionPtr> parsedExpression();

    JTAssociativity associativity(JTOperatorGroup group) const { return m_associativities[index(group)]; }
    void setAssociativity(JTOperatorGroup group, JTAssociativity associativity) {
        m_associativities[index(group)] = associativity;
    }

    // The associativity that decides ties of equal precedence and, for a unary operator,
    // whether it is prefix (right) or postfix (left): this parser's own choice for the nine
    // groups, else the table's default (left for a function without rows).
    JTAssociativity associativityForOperator(std::string_view function) const;

private:
    static constexpr std::size_t index(JTOperatorGroup group) { return static_cast<std::size_t>(group); }

    JTMathStringTokenizer m_tokenizer;
    std::array<JTAssociativity, 9> m_associativities;
};

} // namespace zm
