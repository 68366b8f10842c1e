// Problems of the exponents topic.

#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"

#include <algorithm>

namespace zm {
namespace {

using namespace zm::testing;

TEST(ExponentProblems, LikeTermsOfPowersOfOneVariable) {
    forEachSeed([](uint64_t) {
        ExprPtr problem = ProblemGenerator::getExponentLikeTerms();
        auto terms = termsOf<ExprSum>(problem);
        ASSERT_EQ(terms.size(), 5u) << problem->description();
        std::vector<int32_t> exponents;
        for (const auto& term : terms) {
            EXPECT_EQ(term->var(), terms[0]->var());
            EXPECT_TRUE(term->coef() >= 1 && term->coef() <= 19);
            exponents.push_back(term->exponent());
        }
        EXPECT_TRUE(randomVars().contains(terms[0]->var()));
        std::sort(exponents.begin(), exponents.end());
        EXPECT_EQ(exponents[0], 1);
        EXPECT_EQ(exponents[1], 2);
        EXPECT_EQ(exponents[2], 2);
        EXPECT_EQ(exponents[3], exponents[4]);
        EXPECT_TRUE(exponents[3] >= 3 && exponents[3] <= 5) << problem->description();
        EXPECT_FALSE(problem->isSimplified());
    });
}

// The two exponents of x^e1 op x^e2, when that is what the problem is.
std::optional<std::pair<int32_t, int32_t>> exponentsOf(const ExprPtr& problem) {
    std::vector<ExprPtr> parts = membersOf<ExprProduct>(problem);
    if (auto quotient = asExactly<ExprQuotient>(problem))
        parts = {quotient->firstExpr(), quotient->secondExpr()};
    if (parts.size() != 2)
        return std::nullopt;
    auto first = termOf(parts[0]);
    auto second = termOf(parts[1]);
    if (!first || !second || first->description().rfind("x^", 0) != 0 ||
        second->description().rfind("x^", 0) != 0)
        return std::nullopt;
    return std::pair{first->exponent(), second->exponent()};
}

TEST(ExponentProblems, ProductsOfTwoPowersOfX) {
    for (uint32_t first = 0; first < 4; ++first) {
        for (uint32_t second = 0; second < 4; ++second) {
            ScriptedDraws draws({first + 8, second});
            ExprPtr problem = ProblemGenerator::getExponentProduct();
            ASSERT_TRUE(isExactly<ExprProduct>(problem)) << problem->description();
            EXPECT_EQ(exponentsOf(problem),
                      std::pair(static_cast<int32_t>(first) + 2, static_cast<int32_t>(second) + 2));
            EXPECT_FALSE(problem->isSimplified());
        }
    }
}

TEST(ExponentProblems, QuotientExponentsWorkedExamples) {
    const std::tuple<uint32_t, uint32_t, const char*> cases[] = {
        {3, 3, "x^7 / x^5"}, {4, 3, "x^7 / x^5"}, {2, 3, "x^4 / x^6"},
        {0, 0, "x^4 / x^2"}, {6, 0, "x^8 / x^2"},
    };
    for (const auto& [a, b, text] : cases) {
        ScriptedDraws draws({a, b});
        EXPECT_EQ(ProblemGenerator::getExponentQuotient()->description(), text);
    }
}

TEST(ExponentProblems, QuotientExponentsNeverDifferByLessThanTwo) {
    for (uint32_t a = 0; a < 7; ++a) {
        for (uint32_t b = 0; b < 7; ++b) {
            ScriptedDraws draws({a, b});
            ExprPtr problem = ProblemGenerator::getExponentQuotient();
            ASSERT_TRUE(isExactly<ExprQuotient>(problem)) << problem->description();
            const auto exponents = exponentsOf(problem);
            ASSERT_TRUE(exponents) << problem->description();
            const auto [top, bottom] = *exponents;
            EXPECT_GE(std::abs(top - bottom), 2) << problem->description();
            EXPECT_TRUE(top >= 2 && top <= 10 && bottom >= 2 && bottom <= 9) << problem->description();
            EXPECT_FALSE(problem->isSimplified());
        }
    }
}

} // namespace
} // namespace zm
