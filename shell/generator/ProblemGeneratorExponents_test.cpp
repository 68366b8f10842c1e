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

} // namespace
} // namespace zm
