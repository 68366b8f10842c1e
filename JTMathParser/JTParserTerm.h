#pragma once

#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTMathStringToken.h"
#include "platform/core/Result.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zm {

class JTMathStringTokenizer;
class JTParser;

enum class JTTermKind : int { Number = 1, Variable = 2, Operator = 3, Function = 4, Group = 5 };

// One term of a parse in progress. The first pass reads tokens into terms: the whole text
// and every parenthesised part become groups, a name with its argument list a function
// term, everything else a term of its own. The second pass resolves every group by
// reducing its operators into function terms until one term is left.
//
// Terms point at the tokens of the tokenizer being parsed, which outlives them. Their
// height is bounded (JTExpression::kMaxDepth) so that every walk over them is too.
class JTParserTerm {
public:
    using Ptr = std::unique_ptr<JTParserTerm>;

    // The first pass: the root group of every token; fails on imbalanced parentheses or
    // nesting deeper than JTExpression::kMaxDepth.
    static core::Result<Ptr> rootTermWithTokenizer(JTMathStringTokenizer& tokenizer);

    // The second pass, for this term and everything below it.
    std::optional<core::Error> resolveWithParser(const JTParser& parser) { return resolve(parser, 0); }
    // The parse tree of a resolved term.
    core::Result<JTExpressionPtr> expression() const;

    JTTermKind type() const { return m_kind; }
    // Operator terms only.
    std::string_view operatorFunction() const { return m_token->operatorFunction().value_or(""); }
    int operatorPrecedence() const { return m_token->operatorPrecedence(); }
    JTArity operatorArity() const { return m_token->operatorArity(); }

    // Fills the error texts: an operator as its text, a number as its token, a variable
    // with "$", a group as "(...)" of its subterms, a function as "name(a,b)".
    std::string description() const;

    // Used by the reduction of a group.
    static core::Result<Ptr> makeFunction(std::string name, std::vector<Ptr> arguments);
    static core::Result<Ptr> makeGroup(std::vector<Ptr> subterms);

private:
    JTParserTerm(JTTermKind kind, const JTMathStringToken* token)
        : m_kind(kind)
        , m_token(token) {}

    class Reader;
    std::optional<core::Error> resolve(const JTParser& parser, int depth);
    std::optional<core::Error> resolveGroup(const JTParser& parser, int depth);
    core::Error operatorWithoutOperands() const;
    // Recomputes the height from the subterms; false when it exceeds the limit.
    bool updateHeight();

    JTTermKind m_kind;
    const JTMathStringToken* m_token; // null for groups made by the parser
    std::string m_functionName;       // function terms
    std::vector<Ptr> m_subterms;      // groups: the terms; functions: the arguments
    bool m_resolved = false;
    int m_height = 1;
};

} // namespace zm
