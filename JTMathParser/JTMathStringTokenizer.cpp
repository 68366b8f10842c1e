#include "JTMathParser/JTMathStringTokenizer.h"

#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTText.h"

#include <optional>
#include <string>

namespace zm {

namespace {

namespace F = JTOperatorFunction;

bool isDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool isNameCharacter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_';
}

// Names of one character that stand alone: "ππ" is two names.
bool isSingleCharacterName(char32_t c) {
    return c == U'\u03C0' || c == U'\u03D5' || c == U'\u03C4';
}

bool isWhitespace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

bool isOperator(const JTMathStringToken* token, std::string_view function) {
    return token && token->operatorFunction() == function;
}

bool isUnaryWith(const JTMathStringToken& token, JTAssociativity associativity) {
    return token.tokenType() == JTTokenKind::Operator && token.operatorArity() == JTArity::Unary &&
           token.operatorAssociativity() == associativity;
}

// Whether an operand may start after `previous` (so that "-" there is a negation).
bool opensOperand(const JTMathStringToken* previous) {
    if (!previous) {
        return true;
    }
    if (previous->tokenType() != JTTokenKind::Operator) {
        return false;
    }
    return previous->operatorArity() == JTArity::Binary || isUnaryWith(*previous, JTAssociativity::Right) ||
           previous->operatorFunction() == F::Comma;
}

bool endsOperand(const JTMathStringToken& token) {
    return token.tokenType() == JTTokenKind::Number || token.tokenType() == JTTokenKind::Variable ||
           isUnaryWith(token, JTAssociativity::Left);
}

bool beginsOperand(const JTMathStringToken& token) {
    return token.tokenType() != JTTokenKind::Operator || isUnaryWith(token, JTAssociativity::Right);
}

JTMathStringToken operatorToken(std::string_view text) {
    // Only called with texts of the table, which always make a token.
    return *JTMathStringToken::make(std::string(text), JTTokenKind::Operator);
}

// The reading state, alive only while a tokenizer is being made.
class Reader {
public:
    explicit Reader(std::string_view text) {
        std::size_t position = 0;
        while (position < text.size()) {
            char32_t c = decodeUtf8(text, position);
            if (c == 0) {
                break;
            }
            m_characters.push_back(c);
        }
    }

    core::Result<std::vector<JTMathStringToken>> read() {
        while (true) {
            core::Result<std::optional<JTMathStringToken>> next = nextToken();
            if (!next) {
                return next.error();
            }
            if (!next.value()) {
                break;
            }
            if (std::optional<core::Error> error = process(std::move(*next.value()))) {
                return std::move(*error);
            }
        }
        // A name at the very end still gets its empty argument list.
        addArgumentListIfNeeded(nullptr);
        return std::move(m_tokens);
    }

private:
    char32_t peek() const { return m_index < m_characters.size() ? m_characters[m_index] : 0; }

    core::Result<std::optional<JTMathStringToken>> nextToken() {
        while (isWhitespace(peek())) {
            ++m_index;
        }
        if (m_index == m_characters.size()) {
            return std::optional<JTMathStringToken>();
        }
        char32_t first = peek();
        std::optional<JTMathStringToken> token;
        if (isDigit(first) || first == '.') {
            token = readNumber();
        }
        if (!token) {
            token = readName(JTTokenKind::Function);
        }
        if (!token && first == '$') {
            ++m_index;
            token = readName(JTTokenKind::Variable);
            if (!token) {
                --m_index;
            }
        }
        if (!token) {
            token = readOperator();
        }
        if (!token) {
            std::string character;
            appendUtf8(character, first);
            return makeParseError(JTErrorInvalidOperatorCharacter, character + " is not a valid operator");
        }
        return token;
    }

    std::size_t takeDigits() {
        std::size_t start = m_index;
        while (isDigit(peek())) {
            ++m_index;
        }
        return m_index - start;
    }

    std::string textFrom(std::size_t start) const {
        std::string text;
        for (std::size_t i = start; i < m_index; ++i) {
            appendUtf8(text, m_characters[i]);
        }
        return text;
    }

    // Digits, then "." and digits, then an exponent that counts only with a digit: "2e" is
    // the number 2 followed by the name "e".
    std::optional<JTMathStringToken> readNumber() {
        std::size_t start = m_index;
        std::size_t digits = takeDigits();
        if (peek() == '.') {
            ++m_index;
            digits += takeDigits();
        }
        if (digits == 0) {
            m_index = start;
            return std::nullopt;
        }
        if (peek() == 'e' || peek() == 'E') {
            std::size_t exponentStart = m_index++;
            if (peek() == '-' || peek() == '+') {
                ++m_index;
            }
            if (takeDigits() == 0) {
                m_index = exponentStart;
            }
        }
        return JTMathStringToken::make(textFrom(start), JTTokenKind::Number);
    }

    std::optional<JTMathStringToken> readName(JTTokenKind kind) {
        std::size_t start = m_index;
        if (isSingleCharacterName(peek())) {
            ++m_index;
        } else {
            while (isNameCharacter(peek())) {
                ++m_index;
            }
        }
        if (m_index == start) {
            return std::nullopt;
        }
        return JTMathStringToken::make(textFrom(start), kind);
    }

    // The longest prefix of the run of operator characters that is a token of the table.
    std::optional<JTMathStringToken> readOperator() {
        // No token is longer than kMaxTokenLength, so the run need not be read further.
        std::size_t runEnd = m_index;
        while (runEnd < m_characters.size() && runEnd - m_index < JTOperatorInfo::kMaxTokenLength &&
               JTOperatorInfo::isOperatorCharacter(m_characters[runEnd])) {
            ++runEnd;
        }
        for (std::size_t end = runEnd; end > m_index; --end) {
            std::string candidate;
            for (std::size_t i = m_index; i < end; ++i) {
                appendUtf8(candidate, m_characters[i]);
            }
            if (!JTOperatorInfo::infosForOperatorToken(candidate).empty()) {
                m_index = end;
                return JTMathStringToken::make(std::move(candidate), JTTokenKind::Operator);
            }
        }
        return std::nullopt;
    }

    const JTMathStringToken* previous() const { return m_tokens.empty() ? nullptr : &m_tokens.back(); }

    std::optional<core::Error> process(JTMathStringToken token) {
        if (token.isAmbiguous()) {
            bool prefix = opensOperand(previous());
            std::string_view text = token.token();
            if (text == "+") {
                token.resolveToOperator(prefix ? F::Positive : F::Add);
            } else if (text == "-" || text == "\u2212") {
                token.resolveToOperator(prefix ? F::Negate : F::Subtract);
            } else if (text == "!") {
                token.resolveToOperator(prefix ? F::LogicalNot : F::Factorial);
            }
            if (token.isAmbiguous()) {
                return makeParseError(JTErrorUnknownPrecedence,
                                      "unknown precedence for token: " + token.description());
            }
        }
        if (token.operatorFunction() == F::Positive) {
            return std::nullopt;
        }
        addArgumentListIfNeeded(&token);
        if (const JTMathStringToken* before = previous();
            before && endsOperand(*before) && beginsOperand(token)) {
            m_tokens.push_back(operatorToken("*"));
        }
        m_tokens.push_back(std::move(token));
        return std::nullopt;
    }

    // A name is always followed by "(": one without an argument list gets an empty one.
    void addArgumentListIfNeeded(const JTMathStringToken* next) {
        const JTMathStringToken* before = previous();
        if (before && before->tokenType() == JTTokenKind::Function && !isOperator(next, F::OpenParen)) {
            m_tokens.push_back(operatorToken("("));
            m_tokens.push_back(operatorToken(")"));
        }
    }

    std::u32string m_characters;
    std::size_t m_index = 0;
    std::vector<JTMathStringToken> m_tokens;
};

} // namespace

core::Result<JTMathStringTokenizer> JTMathStringTokenizer::make(std::string_view text) {
    core::Result<std::vector<JTMathStringToken>> tokens = Reader(text).read();
    if (!tokens) {
        return tokens.error();
    }
    return JTMathStringTokenizer(std::move(tokens).value());
}

const JTMathStringToken* JTMathStringTokenizer::peekNextToken() const {
    return m_tokenIndex < m_tokens.size() ? &m_tokens[m_tokenIndex] : nullptr;
}

const JTMathStringToken* JTMathStringTokenizer::nextToken() {
    const JTMathStringToken* token = peekNextToken();
    if (token) {
        ++m_tokenIndex;
    }
    return token;
}

const JTMathStringToken* JTMathStringTokenizer::currentToken() const {
    return m_tokenIndex >= 1 ? &m_tokens[m_tokenIndex - 1] : nullptr;
}

const JTMathStringToken* JTMathStringTokenizer::previousToken() const {
    return m_tokenIndex >= 2 ? &m_tokens[m_tokenIndex - 2] : nullptr;
}

} // namespace zm
