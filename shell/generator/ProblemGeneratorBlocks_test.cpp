// The random building blocks: exact draws in order, and their ranges over many seeds.

#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"

#include <algorithm>

namespace zm {
namespace {

using namespace zm::testing;

struct SoloCase {
    std::vector<uint32_t> draws;
    int32_t coef;
    const char* var;
};

TEST(RandomTerms, DrawMagnitudeThenSignThenVariable) {
    const SoloCase cases[] = {
        {{0, 1, 0}, 1, "x"},      {{18, 1, 1}, 19, "y"},   {{19, 4, 2}, 1, "z"},
        {{37, 5, 3}, -19, "num"}, {{5, 10, 7}, -6, "num"}, {{0xFFFFFFFF, 0, 4}, -6, "x"},
    };
    for (const SoloCase& each : cases) {
        ScriptedDraws draws(each.draws);
        auto solo = ProblemGenerator::randomSolo();
        EXPECT_EQ(solo->coef(), each.coef);
        EXPECT_EQ(solo->var(), each.var);
        EXPECT_EQ(solo->exponent(), 1);
    }
}

TEST(RandomTerms, VariantsKeepTheDrawOrder) {
    {
        ScriptedDraws draws({4, 0, 1});
        EXPECT_EQ(ProblemGenerator::randomPositiveSolo()->coef(), 5);
    }
    {
        // A 1 is replaced by a ninth draw's worth: 2 to 9.
        ScriptedDraws draws({0, 1, 0, 13});
        EXPECT_EQ(ProblemGenerator::randomPositiveOverOneSolo()->coef(), 7);
    }
    {
        ScriptedDraws draws({2, 0, 3});
        auto solo = ProblemGenerator::randomSoloWithVar("q");
        EXPECT_EQ(solo->coef(), -3);
        EXPECT_EQ(solo->var(), "q");
    }
    {
        ScriptedDraws draws({2, 1, 3, 10});
        auto solo = ProblemGenerator::randomVarSolo();
        EXPECT_EQ(solo->coef(), 3);
        EXPECT_EQ(solo->var(), "b");
    }
    const char* vars[] = {"x", "y", "z", "a", "b", "c"};
    for (uint32_t draw = 0; draw < 12; ++draw) {
        ScriptedDraws draws({draw});
        EXPECT_EQ(ProblemGenerator::randomVar(), vars[draw % 6]);
    }
}

TEST(RandomTerms, RangesOverManySeeds) {
    std::set<int32_t> coefs;
    int negatives = 0;
    forEachSeed(
        [&](uint64_t) {
            auto solo = ProblemGenerator::randomSolo();
            EXPECT_TRUE(solo->coef() >= -19 && solo->coef() <= 19 && solo->coef() != 0) << solo->coef();
            EXPECT_TRUE(std::set<std::string>({"x", "y", "z", "num"}).contains(solo->var()));
            coefs.insert(solo->coef());
            negatives += solo->coef() < 0;

            const int32_t positive = ProblemGenerator::randomPositiveSolo()->coef();
            EXPECT_TRUE(positive >= 1 && positive <= 19);
            const int32_t overOne = ProblemGenerator::randomPositiveOverOneSolo()->coef();
            EXPECT_TRUE(overOne >= 2 && overOne <= 19) << overOne;
            EXPECT_TRUE(randomVars().contains(ProblemGenerator::randomVarSolo()->var()));
        },
        2000);
    EXPECT_EQ(coefs.size(), 38u) << "every magnitude with either sign";
    EXPECT_GT(negatives, 300);
    EXPECT_LT(negatives, 500);
}

TEST(RandomTerms, PrimeList) {
    EXPECT_EQ(ProblemGenerator::primeNumberList(), (std::vector<int32_t>{2, 3, 5, 7, 11, 13, 17, 19, 23}));
}

TEST(CutUpSum, TwoNumbersAroundTheHalf) {
    struct Case {
        int32_t number;
        uint32_t draw;
        int32_t smaller;
        int32_t larger;
    };
    const Case cases[] = {
        {2, 0, 1, 1}, {3, 0, 1, 1}, {3, 7, 1, 1}, {9, 0, 4, 4}, {9, 3, 1, 7}, {10, 2, 3, 7}, {10, 9, 1, 9},
    };
    for (const Case& each : cases) {
        ScriptedDraws draws({each.draw});
        auto sum = ProblemGenerator::cutUpSum(*ExprSoloist::soloWithCoef(each.number));
        auto terms = termsOf<ExprSum>(sum);
        ASSERT_EQ(terms.size(), 2u) << each.number;
        const auto [low, high] = std::minmax({terms[0]->coef(), terms[1]->coef()});
        EXPECT_EQ(low, each.smaller) << each.number;
        EXPECT_EQ(high, each.larger) << each.number;
        EXPECT_TRUE(isNumber(terms[0]) && isNumber(terms[1]));
    }
}

TEST(CutUpSum, AddsUpToTheEvenPartOverManySeeds) {
    forEachSeed([](uint64_t seed) {
        const int32_t number = static_cast<int32_t>(seed % 150) + 2;
        auto terms = termsOf<ExprSum>(ProblemGenerator::cutUpSum(*ExprSoloist::soloWithCoef(number)));
        ASSERT_EQ(terms.size(), 2u);
        EXPECT_EQ(terms[0]->coef() + terms[1]->coef(), number / 2 * 2);
        EXPECT_GE(std::min(terms[0]->coef(), terms[1]->coef()), 1);
    });
}

} // namespace
} // namespace zm
