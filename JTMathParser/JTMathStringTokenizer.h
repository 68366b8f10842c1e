#pragma once

#include "JTMathParser/JTMathStringToken.h"
#include "platform/core/Result.h"

#include <string_view>
#include <vector>

namespace zm {

// Turns a text into the token list that the parser reads. The whole text is read when the
// tokenizer is made: ambiguous operators are settled by the token before them, the unary
// plus is dropped, a name without an argument list gets an empty one ("(" ")"), and the
// multiplication signs that the text leaves out are written in ("2$x" reads as "2*$x").
// Afterwards the list is fixed and served through a cursor.
class JTMathStringTokenizer {
public:
    // Fails with error 2 (a character that begins no token) or 6 (an operator that no rule
    // settles). Reading stops at the end of the text or at a U+0000 character.
    static core::Result<JTMathStringTokenizer> make(std::string_view text);

    const std::vector<JTMathStringToken>& tokens() const { return m_tokens; }

    // The token at the cursor; null past the end. Pointers stay valid as long as the
    // tokenizer lives.
    const JTMathStringToken* peekNextToken() const;
    // The token at the cursor, which then advances past it.
    const JTMathStringToken* nextToken();
    // The token taken last; null before the first nextToken().
    const JTMathStringToken* currentToken() const;
    // The token taken before the current one; null while fewer than two were taken.
    const JTMathStringToken* previousToken() const;
    void reset() { m_tokenIndex = 0; }

private:
    explicit JTMathStringTokenizer(std::vector<JTMathStringToken> tokens)
        : m_tokens(std::move(tokens)) {}

    std::vector<JTMathStringToken> m_tokens;
    std::size_t m_tokenIndex = 0;
};

} // namespace zm
