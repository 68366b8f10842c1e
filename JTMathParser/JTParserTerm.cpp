#include "JTMathParser/JTParserTerm.h"

#include "JTMathParser/JTGroupReducer.h"
#include "JTMathParser/JTMathStringTokenizer.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTParser.h"

#include <algorithm>

namespace zm {

namespace {

namespace F = JTOperatorFunction;

core::Error tooDeep() {
    return makeParseError(JTErrorInvalidFormat, "expression nested too deeply");
}

bool isCloseParen(const JTMathStringToken* token) {
    return token && token->operatorFunction() == F::CloseParen;
}

} // namespace

// The first pass, over the tokenizer's cursor.
class JTParserTerm::Reader {
public:
    explicit Reader(JTMathStringTokenizer& tokenizer)
        : m_tokenizer(tokenizer) {}

    core::Result<Ptr> root() {
        std::vector<Ptr> terms;
        while (const JTMathStringToken* next = m_tokenizer.peekNextToken()) {
            // A ")" that no group waits for is an error, not an operator of its own.
            if (isCloseParen(next)) {
                return makeParseError(JTErrorImbalancedParentheses, "imbalanced parentheses");
            }
            core::Result<Ptr> term = this->term();
            if (!term) {
                return term;
            }
            terms.push_back(std::move(term).value());
        }
        return makeGroup(std::move(terms));
    }

private:
    core::Result<Ptr> term() {
        const JTMathStringToken* token = m_tokenizer.peekNextToken();
        if (!token) {
            return makeParseError(JTErrorInvalidFormat, "can't create a term with a nil token");
        }
        switch (token->tokenType()) {
        case JTTokenKind::Number:
            return Ptr(new JTParserTerm(JTTermKind::Number, m_tokenizer.nextToken()));
        case JTTokenKind::Variable:
            return Ptr(new JTParserTerm(JTTermKind::Variable, m_tokenizer.nextToken()));
        case JTTokenKind::Function:
            return function();
        case JTTokenKind::Operator:
            break;
        }
        if (token->operatorFunction() == F::OpenParen) {
            return group();
        }
        return Ptr(new JTParserTerm(JTTermKind::Operator, m_tokenizer.nextToken()));
    }

    // "(" then terms up to the matching ")".
    core::Result<Ptr> group() {
        if (m_nesting >= JTExpression::kMaxDepth) {
            return tooDeep();
        }
        ++m_nesting;
        Ptr group(new JTParserTerm(JTTermKind::Group, m_tokenizer.nextToken()));
        while (m_tokenizer.peekNextToken() && !isCloseParen(m_tokenizer.peekNextToken())) {
            core::Result<Ptr> term = this->term();
            if (!term) {
                return term;
            }
            group->m_subterms.push_back(std::move(term).value());
        }
        if (!m_tokenizer.nextToken()) {
            return makeParseError(JTErrorImbalancedParentheses, "imbalanced parentheses");
        }
        --m_nesting;
        if (!group->updateHeight()) {
            return tooDeep();
        }
        return group;
    }

    // A name and its parenthesised list, split into arguments at the commas.
    core::Result<Ptr> function() {
        const JTMathStringToken* name = m_tokenizer.nextToken();
        core::Result<Ptr> list = group();
        if (!list) {
            return makeParseError(JTErrorImbalancedParentheses,
                                  "missing parentheses after function \"" + name->token() + "\"");
        }
        std::vector<Ptr> arguments;
        std::vector<Ptr> run;
        auto closeRun = [&]() -> std::optional<core::Error> {
            if (run.size() == 1) {
                arguments.push_back(std::move(run.front()));
            } else {
                core::Result<Ptr> group = makeGroup(std::move(run));
                if (!group) {
                    return group.error();
                }
                arguments.push_back(std::move(group).value());
            }
            run.clear();
            return std::nullopt;
        };
        for (Ptr& term : list.value()->m_subterms) {
            if (term->type() == JTTermKind::Operator && term->operatorFunction() == F::Comma) {
                if (std::optional<core::Error> error = closeRun()) {
                    return std::move(*error);
                }
            } else {
                run.push_back(std::move(term));
            }
        }
        // An empty argument after the last comma is no argument: "f(1,)" has one.
        if (!run.empty()) {
            if (std::optional<core::Error> error = closeRun()) {
                return std::move(*error);
            }
        }
        Ptr function(new JTParserTerm(JTTermKind::Function, name));
        function->m_functionName = name->token();
        function->m_subterms = std::move(arguments);
        if (!function->updateHeight()) {
            return tooDeep();
        }
        return function;
    }

    JTMathStringTokenizer& m_tokenizer;
    int m_nesting = 0;
};

core::Result<JTParserTerm::Ptr> JTParserTerm::rootTermWithTokenizer(JTMathStringTokenizer& tokenizer) {
    return Reader(tokenizer).root();
}

core::Result<JTParserTerm::Ptr> JTParserTerm::makeFunction(std::string name, std::vector<Ptr> arguments) {
    Ptr function(new JTParserTerm(JTTermKind::Function, nullptr));
    function->m_functionName = std::move(name);
    function->m_subterms = std::move(arguments);
    if (!function->updateHeight()) {
        return tooDeep();
    }
    return function;
}

core::Result<JTParserTerm::Ptr> JTParserTerm::makeGroup(std::vector<Ptr> subterms) {
    Ptr group(new JTParserTerm(JTTermKind::Group, nullptr));
    group->m_subterms = std::move(subterms);
    if (!group->updateHeight()) {
        return tooDeep();
    }
    return group;
}

bool JTParserTerm::updateHeight() {
    int tallest = 0;
    for (const Ptr& term : m_subterms) {
        tallest = std::max(tallest, term->m_height);
    }
    m_height = tallest + 1;
    return m_height <= JTExpression::kMaxDepth;
}

std::optional<core::Error> JTParserTerm::resolve(const JTParser& parser, int depth) {
    if (depth > JTExpression::kMaxDepth) {
        return tooDeep();
    }
    switch (m_kind) {
    case JTTermKind::Number:
    case JTTermKind::Variable:
        m_resolved = true;
        return std::nullopt;
    case JTTermKind::Operator:
        return operatorWithoutOperands();
    case JTTermKind::Group:
        return resolveGroup(parser, depth);
    case JTTermKind::Function:
        break;
    }
    if (m_resolved) {
        return std::nullopt;
    }
    for (const Ptr& argument : m_subterms) {
        if (std::optional<core::Error> error = argument->resolve(parser, depth + 1)) {
            return error;
        }
    }
    m_resolved = true;
    return std::nullopt;
}

std::optional<core::Error> JTParserTerm::resolveGroup(const JTParser& parser, int depth) {
    if (m_resolved) {
        return std::nullopt;
    }
    if (std::optional<core::Error> error = JTGroupReducer(m_subterms, parser).reduce()) {
        return error;
    }
    if (!m_subterms.empty()) {
        if (std::optional<core::Error> error = m_subterms.front()->resolve(parser, depth + 1)) {
            return error;
        }
    }
    m_resolved = true;
    return std::nullopt;
}

core::Error JTParserTerm::operatorWithoutOperands() const {
    if (operatorArity() == JTArity::Unary) {
        if (m_token->operatorAssociativity() == JTAssociativity::Right) {
            return makeParseError(JTErrorUnaryMissingRight, "no right operand to unary " + description());
        }
        return makeParseError(JTErrorUnaryMissingLeft, "no left operand to unary " + description());
    }
    return makeParseError(JTErrorMissingOperands, "missing operands for operator: " + description());
}

core::Result<JTExpressionPtr> JTParserTerm::expression() const {
    switch (m_kind) {
    case JTTermKind::Number:
        return JTExpression::numberExpressionWithNumber(m_token->numberValue().value_or(JTNumber()));
    case JTTermKind::Variable:
        return JTExpression::variableExpressionWithVariable(m_token->token());
    case JTTermKind::Operator:
        return operatorWithoutOperands();
    case JTTermKind::Group:
        if (m_subterms.size() != 1) {
            return makeParseError(JTErrorInvalidFormat,
                                  "Unable to create expression from term: " + description());
        }
        return m_subterms.front()->expression();
    case JTTermKind::Function:
        break;
    }
    std::vector<JTExpressionPtr> arguments;
    arguments.reserve(m_subterms.size());
    for (const Ptr& term : m_subterms) {
        core::Result<JTExpressionPtr> argument = term->expression();
        if (!argument) {
            return argument;
        }
        arguments.push_back(std::move(argument).value());
    }
    return JTExpression::functionExpressionWithFunction(m_functionName, std::move(arguments));
}

std::string JTParserTerm::description() const {
    switch (m_kind) {
    case JTTermKind::Number:
    case JTTermKind::Variable:
    case JTTermKind::Operator:
        return m_token->description();
    case JTTermKind::Group:
    case JTTermKind::Function:
        break;
    }
    bool group = m_kind == JTTermKind::Group;
    std::string text = group ? "(" : m_functionName + "(";
    for (std::size_t i = 0; i < m_subterms.size(); ++i) {
        if (i > 0 && !group) {
            text += ',';
        }
        text += m_subterms[i]->description();
    }
    return text + ")";
}

} // namespace zm
