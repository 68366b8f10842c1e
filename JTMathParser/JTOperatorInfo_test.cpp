#include "JTMathParser/JTMathStringToken.h"
#include "JTMathParser/JTOperatorInfo.h"
#include "JTMathParser/JTParser.h"
#include "JTMathParser/JTText.h"

#include <algorithm>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(JTOperatorInfo, EveryRowIsReachableByTokenAndByFunction) {
    auto rows = JTOperatorInfo::allOperators();
    ASSERT_EQ(rows.size(), 39u);
    for (const JTOperatorInfo& row : rows) {
        SCOPED_TRACE(std::string(row.function()) + " " + std::string(row.token()));
        auto byToken = JTOperatorInfo::infosForOperatorToken(row.token());
        auto byFunction = JTOperatorInfo::infosForOperatorFunction(row.function());
        EXPECT_NE(std::find(byToken.begin(), byToken.end(), &row), byToken.end());
        EXPECT_NE(std::find(byFunction.begin(), byFunction.end(), &row), byFunction.end());
        // Rows of one function agree on everything but the text.
        for (const JTOperatorInfo* sibling : byFunction) {
            EXPECT_EQ(sibling->arity(), row.arity());
            EXPECT_EQ(sibling->precedence(), row.precedence());
            EXPECT_EQ(sibling->defaultAssociativity(), row.defaultAssociativity());
        }
        std::size_t characters = 0;
        for (std::size_t position = 0; position < row.token().size(); ++characters) {
            decodeUtf8(row.token(), position);
        }
        EXPECT_LE(characters, JTOperatorInfo::kMaxTokenLength);
        EXPECT_GE(row.precedence(), 0);
        EXPECT_LE(row.precedence(), JTOperatorInfo::kMaxPrecedence);
        // The longest-prefix search needs every single character to be a token itself.
        for (char c : row.token()) {
            if (static_cast<unsigned char>(c) < 0x80) {
                EXPECT_FALSE(JTOperatorInfo::infosForOperatorToken(std::string(1, c)).empty()) << c;
            }
        }
    }
}

TEST(JTOperatorInfo, SharedTextsAreTheAmbiguousOnes) {
    std::set<std::string> shared;
    for (const JTOperatorInfo& row : JTOperatorInfo::allOperators()) {
        if (JTOperatorInfo::infosForOperatorToken(row.token()).size() > 1) {
            shared.insert(std::string(row.token()));
        }
    }
    EXPECT_EQ(shared, (std::set<std::string>{"+", "-", "\u2212", "!"}));

    auto minus = JTOperatorInfo::infosForOperatorToken("\u2212");
    ASSERT_EQ(minus.size(), 2u);
    EXPECT_EQ(minus[0]->function(), "subtract");
    EXPECT_EQ(minus[1]->function(), "negate");
    EXPECT_EQ(JTOperatorInfo::infosForOperatorToken("=").size(), 1u);
    EXPECT_TRUE(JTOperatorInfo::infosForOperatorToken("$").empty());
    EXPECT_TRUE(JTOperatorInfo::infosForOperatorFunction(JTOperatorFunction::Invalid).empty());
}

TEST(JTOperatorInfo, OperatorCharacters) {
    for (char32_t c : {U'+', U'*', U'^', U'(', U',', U'=', U'|', U'&', U'\u00AC', U'\u00B0', U'\u2264'}) {
        EXPECT_TRUE(JTOperatorInfo::isOperatorCharacter(c)) << static_cast<unsigned>(c);
    }
    for (char32_t c : {U'$', U'.', U'#', U'a', U'1', U' ', U'\u03C0'}) {
        EXPECT_FALSE(JTOperatorInfo::isOperatorCharacter(c)) << static_cast<unsigned>(c);
    }
}

// Restores a class-level default however the test ends: the defaults are process-wide.
class DefaultAssociativityGuard {
public:
    explicit DefaultAssociativityGuard(JTOperatorGroup group)
        : m_group(group)
        , m_saved(JTParser::defaultAssociativity(group)) {}
    ~DefaultAssociativityGuard() { JTParser::setDefaultAssociativity(m_group, m_saved); }

private:
    JTOperatorGroup m_group;
    JTAssociativity m_saved;
};

TEST(JTParserAssociativity, ClassDefaultsReachNewParsersAndTokensAtOnce) {
    DefaultAssociativityGuard guard(JTOperatorGroup::Power);
    JTMathStringToken power = *JTMathStringToken::make("^", JTTokenKind::Operator);
    JTParser before = *JTParser::make("");
    EXPECT_EQ(JTParser::defaultAssociativity(JTOperatorGroup::Power), JTAssociativity::Right);

    JTParser::setDefaultAssociativity(JTOperatorGroup::Power, JTAssociativity::Left);
    JTParser after = *JTParser::make("");
    EXPECT_EQ(after.associativityForOperator("pow"), JTAssociativity::Left);
    EXPECT_EQ(before.associativityForOperator("pow"), JTAssociativity::Right);
    EXPECT_EQ(power.operatorAssociativity(), JTAssociativity::Left);
}

TEST(JTParserAssociativity, GroupsCoverBothTheirFunctions) {
    DefaultAssociativityGuard guard(JTOperatorGroup::Addition);
    JTParser::setDefaultAssociativity(JTOperatorGroup::Addition, JTAssociativity::Right);
    for (std::string_view text : {"+", "-", "\u2212"}) {
        for (const JTOperatorInfo* row : JTOperatorInfo::infosForOperatorToken(text)) {
            if (row->arity() == JTArity::Binary) {
                EXPECT_EQ(row->defaultAssociativity(), JTAssociativity::Right) << text;
            }
        }
    }
    JTParser parser = *JTParser::make("");
    EXPECT_EQ(parser.associativityForOperator("subtract"), JTAssociativity::Right);
    // The unary rows that share the texts are not part of the group.
    EXPECT_EQ(parser.associativityForOperator("negate"), JTAssociativity::Right);
    EXPECT_EQ(parser.associativityForOperator("factorial"), JTAssociativity::Left);
}

TEST(JTParserAssociativity, PerParserChoiceStaysWithThatParser) {
    JTParser one = *JTParser::make("");
    JTParser other = *JTParser::make("");
    one.setAssociativity(JTOperatorGroup::Power, JTAssociativity::Left);
    EXPECT_EQ(one.associativityForOperator("pow"), JTAssociativity::Left);
    EXPECT_EQ(other.associativityForOperator("pow"), JTAssociativity::Right);
    EXPECT_EQ(JTParser::defaultAssociativity(JTOperatorGroup::Power), JTAssociativity::Right);
    EXPECT_EQ(one.associativityForOperator("no such function"), JTAssociativity::Left);
    EXPECT_EQ(one.associativityForOperator("open_paren"), JTAssociativity::Right);
}

} // namespace
} // namespace zm
