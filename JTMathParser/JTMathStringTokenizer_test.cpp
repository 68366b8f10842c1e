#include "JTMathParser/JTMathStringTokenizer.h"
#include "JTMathParser/JTParseError.h"
#include "platform/core/Log.h"

#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

// Numbers and names as their text, variables with "$", operators as [function].
std::string render(const JTMathStringTokenizer& tokenizer) {
    std::string text;
    for (const JTMathStringToken& token : tokenizer.tokens()) {
        if (!text.empty()) {
            text += ' ';
        }
        if (token.tokenType() == JTTokenKind::Operator) {
            text += "[" + std::string(*token.operatorFunction()) + "]";
        } else {
            text += token.description();
        }
    }
    return text;
}

struct TokenCase {
    const char* input;
    const char* tokens;
};

const TokenCase kTokenCases[] = {
    {"", ""},
    {"   \t\n", ""},
    {"1+2", "1 [add] 2"},
    {"+5", "5"},
    {"2*+5", "2 [multiply] 5"},
    {"2++3", "2 [add] 3"},
    {"-2", "[negate] 2"},
    {"2-3", "2 [subtract] 3"},
    {"2*-3", "2 [multiply] [negate] 3"},
    {"(-2)", "[open_paren] [negate] 2 [close_paren]"},
    {"x2(1,-2)", "x2 [open_paren] 1 [comma] [negate] 2 [close_paren]"},
    {"x2(1,+2)", "x2 [open_paren] 1 [comma] 2 [close_paren]"},
    {"5\u22123", "5 [subtract] 3"},
    {"\u22123", "[negate] 3"},
    {"3!", "3 [factorial]"},
    {"3!!", "3 [factorial] [factorial]"},
    {"!$x", "[l_not] $x"},
    {"(!$x)", "[open_paren] [l_not] $x [close_paren]"},
    {"2**3", "2 [xor] 3"},
    {"2^3", "2 [pow] 3"},
    {"2==3", "2 [l_eq] 3"},
    {"2=3", "2 [l_eq] 3"},
    {"1<=2", "1 [l_ltoe] 2"},
    {"1!=2", "1 [l_neq] 2"},
    {"3!!=2", "3 [factorial] [l_neq] 2"},
    {"2*-$x", "2 [multiply] [negate] $x"},
    {"2e", "2 [multiply] e [open_paren] [close_paren]"},
    {"1e5", "1e5"},
    {"1.5e-3", "1.5e-3"},
    {"1.2.3", "1.2 [multiply] .3"},
    {"\u03C0\u03C0", "\u03C0 [open_paren] [close_paren] [multiply] \u03C0 [open_paren] [close_paren]"},
    {"$_1", "$_1"},
    {"$1x", "$1x"},
    {"x2+1", "x2 [open_paren] [close_paren] [add] 1"},
    {"x2(3)", "x2 [open_paren] 3 [close_paren]"},
    {"2$x", "2 [multiply] $x"},
    {"2(3)", "2 [multiply] [open_paren] 3 [close_paren]"},
    {")(", "[close_paren] [multiply] [open_paren]"},
    {"$a$b", "$a [multiply] $b"},
    {"3!2", "3 [factorial] [multiply] 2"},
    {"2 3", "2 [multiply] 3"},
    {"$x^2", "$x [pow] 2"},
    {"90\u00B0", "90 [dtor]"},
    {"coefvarterm(2,$x)^2", "coefvarterm [open_paren] 2 [comma] $x [close_paren] [pow] 2"},
    {"2\u00D7-~1", "2 [multiply] [negate] [not] 1"},
    {"1\u20002", "1 [multiply] 2"},
};

TEST(JTMathStringTokenizer, ReadsTokens) {
    for (const TokenCase& c : kTokenCases) {
        SCOPED_TRACE(c.input);
        core::Result<JTMathStringTokenizer> tokenizer = JTMathStringTokenizer::make(c.input);
        ASSERT_TRUE(tokenizer) << tokenizer.error().description;
        EXPECT_EQ(render(*tokenizer), c.tokens);
    }
}

TEST(JTMathStringTokenizer, TextCutAtZeroCharacter) {
    core::Result<JTMathStringTokenizer> tokenizer = JTMathStringTokenizer::make(std::string_view("1+\0#", 4));
    ASSERT_TRUE(tokenizer);
    EXPECT_EQ(render(*tokenizer), "1 [add]");
}

TEST(JTMathStringTokenizer, CharacterThatBeginsNoTokenFails) {
    struct Case {
        std::string_view input;
        const char* description;
    };
    const Case cases[] = {
        {".", ". is not a valid operator"},           {"$", "$ is not a valid operator"},
        {"2 # 3", "# is not a valid operator"},       {"[1]", "[ is not a valid operator"},
        {"\u00E9", "\u00E9 is not a valid operator"}, {"1+\xFF", "\uFFFD is not a valid operator"},
        {"$ x", "$ is not a valid operator"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        core::Result<JTMathStringTokenizer> tokenizer = JTMathStringTokenizer::make(c.input);
        ASSERT_FALSE(tokenizer);
        EXPECT_EQ(tokenizer.error().domain, JTParseErrorDomain);
        EXPECT_EQ(tokenizer.error().code, JTErrorInvalidOperatorCharacter);
        EXPECT_EQ(tokenizer.error().description, c.description);
    }
}

TEST(JTMathStringTokenizer, CursorWalksTheTokens) {
    JTMathStringTokenizer tokenizer = *JTMathStringTokenizer::make("1+2");
    EXPECT_EQ(tokenizer.currentToken(), nullptr);
    EXPECT_EQ(tokenizer.peekNextToken()->token(), "1");
    EXPECT_EQ(tokenizer.nextToken()->token(), "1");
    EXPECT_EQ(tokenizer.previousToken(), nullptr);
    EXPECT_EQ(tokenizer.nextToken()->token(), "+");
    EXPECT_EQ(tokenizer.currentToken()->token(), "+");
    EXPECT_EQ(tokenizer.previousToken()->token(), "1");
    EXPECT_EQ(tokenizer.nextToken()->token(), "2");
    EXPECT_EQ(tokenizer.nextToken(), nullptr);
    EXPECT_EQ(tokenizer.peekNextToken(), nullptr);
    EXPECT_EQ(tokenizer.currentToken()->token(), "2");
    tokenizer.reset();
    EXPECT_EQ(tokenizer.peekNextToken()->token(), "1");
    EXPECT_EQ(tokenizer.currentToken(), nullptr);
}

TEST(JTMathStringToken, OperatorTokenCarriesItsRow) {
    JTMathStringToken power = *JTMathStringToken::make("^", JTTokenKind::Operator);
    EXPECT_EQ(power.operatorType(), "pow");
    EXPECT_EQ(power.operatorFunction(), "pow");
    EXPECT_EQ(power.operatorPrecedence(), 19);
    EXPECT_EQ(power.operatorArity(), JTArity::Binary);
    EXPECT_EQ(power.operatorAssociativity(), JTAssociativity::Right);
    EXPECT_EQ(power.debugDescription(), "^ (arity:BIN, precedence:19, associativity:RIGHT, function:pow)");

    EXPECT_EQ(JTMathStringToken::make(",", JTTokenKind::Operator)->debugDescription(),
              ", (arity:UNK, precedence:21, associativity:LEFT, function:comma)");
    EXPECT_FALSE(JTMathStringToken::make("$", JTTokenKind::Operator));
    EXPECT_FALSE(JTMathStringToken::make("+-", JTTokenKind::Operator));
}

TEST(JTMathStringToken, AmbiguousTokenUntilResolved) {
    JTMathStringToken minus = *JTMathStringToken::make("\u2212", JTTokenKind::Operator);
    EXPECT_TRUE(minus.isAmbiguous());
    EXPECT_EQ(minus.operatorType(), "invalid");
    EXPECT_EQ(minus.operatorFunction(), "");
    EXPECT_EQ(minus.operatorPrecedence(), -1);
    EXPECT_EQ(minus.operatorArity(), JTArity::Unknown);

    minus.resolveToOperator("no such function");
    EXPECT_TRUE(minus.isAmbiguous());
    minus.resolveToOperator("negate");
    EXPECT_FALSE(minus.isAmbiguous());
    EXPECT_EQ(minus.operatorFunction(), "negate");
    EXPECT_EQ(minus.operatorPrecedence(), 17);
    // Only ambiguous tokens are resolved.
    minus.resolveToOperator("subtract");
    EXPECT_EQ(minus.operatorFunction(), "negate");
}

TEST(JTMathStringToken, OtherKindsHaveNoRow) {
    JTMathStringToken variable = *JTMathStringToken::make("x", JTTokenKind::Variable);
    EXPECT_EQ(variable.description(), "$x");
    EXPECT_EQ(variable.debugDescription(), "$x");
    EXPECT_FALSE(variable.operatorType());
    EXPECT_FALSE(variable.operatorFunction());
    EXPECT_EQ(variable.operatorPrecedence(), 0);
    EXPECT_FALSE(variable.numberValue());

    JTMathStringToken number = *JTMathStringToken::make("2.50", JTTokenKind::Number);
    ASSERT_TRUE(number.numberValue());
    EXPECT_EQ(number.numberValue()->kind(), JTNumber::Kind::Decimal);
    EXPECT_EQ(number.numberValue()->description(), "2.5");
    EXPECT_EQ(number.description(), "2.50");

    // Text that is no number reads as 0, and says so.
    core::LogCapture log;
    EXPECT_EQ(JTMathStringToken::make("abc", JTTokenKind::Number)->numberValue()->description(), "0");
    EXPECT_TRUE(log.contains("supposedly invalid number: abc"));
}

} // namespace
} // namespace zm
