#include "platform/core/Regex.h"

#include <gtest/gtest.h>

namespace core {
namespace {

Regex compile(std::string_view pattern, RegexOptions options = {}) {
    Result<Regex> regex = Regex::make(pattern, options);
    EXPECT_TRUE(regex) << regex.error().description;
    return std::move(regex).value();
}

TEST(Regex, LookaheadGivesBackLettersAndGroupsFillTheTemplate) {
    // Letters not followed by a digit: before a digit the run gives letters back until the lookahead
    // holds, or matches nothing.
    const Regex letters = compile("[a-z]+(?!\\d)", {.caseInsensitive = true});
    EXPECT_EQ(letters.replaceAll("3x + AB - ab2 + x2", "[$0]"), "3[x] + [AB] - [a]b2 + x2");
    const Regex coefficient = compile("(\\d+)(\\[[a-z]+\\])", {.caseInsensitive = true});
    EXPECT_EQ(coefficient.replaceAll("12[Ab] + 7[x]", "c($1,$2)"), "c(12,[Ab]) + c(7,[x])");
}

TEST(Regex, LazyGroupsFindEachMarkedRun) {
    const Regex bold = compile("<b>(.*?)</b>", {.caseInsensitive = true});
    const std::string text = "Tap <b>x</b> then <B>drag</B>.";
    const std::vector<Regex::Match> found = bold.matches(text);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].group(text, 1), "x");
    EXPECT_EQ(found[1].group(text, 1), "drag");
    EXPECT_EQ(found[1].range(), (Regex::Range{18, 11}));
}

TEST(Regex, TypedValuePatternsKeepTheLastRepetitionOfAGroup) {
    const Regex value = compile(R"((float|CGPoint|NSString)\((.*?)(?:,\s*(.*?))*\))");
    const std::string point = "CGPoint(0.5, 0.25)";
    const auto m = value.firstMatch(point);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->group(point, 1), "CGPoint");
    EXPECT_EQ(m->group(point, 2), "0.5");
    EXPECT_EQ(m->group(point, 3), "0.25");
    const std::string number = "float(2)";
    const auto f = value.firstMatch(number);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->group(number, 2), "2");
    EXPECT_FALSE(f->groups[3].found());
    EXPECT_EQ(f->group(number, 3), "");
    EXPECT_FALSE(value.firstMatch("int(3)"));
}

TEST(Regex, TemplatesAndEmptyMatches) {
    const Regex pair = compile("(a)(b)?");
    EXPECT_EQ(pair.replaceAll("a ab", "[$1|$2|$3|$12|\\$1|$x]"), "[a|||a2|$1|$x] [a|b||a2|$1|$x]");
    const Regex empty = compile("x*");
    EXPECT_EQ(empty.replaceAll("abc", "-"), "-a-b-c-");
    EXPECT_EQ(empty.replaceAll("\xCF\x80", "-"), "-\xCF\x80-");
    EXPECT_EQ(empty.matches("").size(), 1u);
}

TEST(Regex, Utf8TextAndCaseFolding) {
    const Regex greek = compile("Π+", {.caseInsensitive = true});
    const std::string text = "2ππ";
    const auto m = greek.firstMatch(text);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->range(), (Regex::Range{1, 4}));
    EXPECT_TRUE(compile("abc")
                    .matches("ab\xFF"
                             "abc")
                    .empty());
}

TEST(Regex, InvalidPatternIsAnErrorAndRunawayBacktrackingStops) {
    const Result<Regex> bad = Regex::make("(unclosed");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().domain, kRegexErrorDomain);
    EXPECT_NE(bad.error().description.find("(unclosed"), std::string::npos);

    const Regex runaway = compile("(a+)+$");
    EXPECT_TRUE(runaway.matches(std::string(40, 'a') + "b").empty());
}

} // namespace
} // namespace core
