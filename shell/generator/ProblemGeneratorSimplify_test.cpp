// Problems of the simplify, like-terms, multiply-then-add and factors topics: shapes over many
// seeds, and exact draws where the recipe fixes them.

#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"

#include <algorithm>
#include <map>

namespace zm {
namespace {

using namespace zm::testing;

bool allNumbersWithin(const std::vector<std::shared_ptr<ExprSoloist>>& terms, int32_t low, int32_t high) {
    return std::all_of(terms.begin(), terms.end(), [&](const auto& term) {
        return isNumber(term) && term->coef() >= low && term->coef() <= high;
    });
}

// How many terms have each variable ("num" for the numbers).
std::map<std::string, int> varCounts(const std::vector<std::shared_ptr<ExprSoloist>>& terms) {
    std::map<std::string, int> counts;
    for (const auto& term : terms)
        ++counts[term->var()];
    return counts;
}

bool allPositive(const std::vector<std::shared_ptr<ExprSoloist>>& terms) {
    return std::all_of(terms.begin(), terms.end(),
                       [](const auto& term) { return term->coef() >= 1 && term->coef() <= 19; });
}

// A number and a variable term, in either order, as a product.
std::shared_ptr<ExprSoloist> varOfNumberTimesVar(const ExprPtr& expr) {
    auto factors = termsOf<ExprProduct>(expr);
    if (factors.size() != 2 || isNumber(factors[0]) == isNumber(factors[1]))
        return nullptr;
    return isNumber(factors[0]) ? factors[1] : factors[0];
}

TEST(SimplifyProblems, SumsOfNumbers) {
    forEachSeed([](uint64_t) {
        ExprPtr addition = ProblemGenerator::getSimplifyAddition();
        auto terms = termsOf<ExprSum>(addition);
        EXPECT_TRUE(terms.size() == 3 || terms.size() == 4) << addition->description();
        EXPECT_TRUE(allNumbersWithin(terms, 1, 19)) << addition->description();
        EXPECT_FALSE(addition->isSimplified());

        ExprPtr negatives = ProblemGenerator::getSimplifyNegatives();
        terms = termsOf<ExprSum>(negatives);
        EXPECT_TRUE(terms.size() == 3 || terms.size() == 4) << negatives->description();
        EXPECT_TRUE(allNumbersWithin(terms, -19, 19)) << negatives->description();
        EXPECT_EQ(
            std::count_if(terms.begin(), terms.end(), [](const auto& term) { return term->coef() < 0; }), 2)
            << negatives->description();
        EXPECT_FALSE(negatives->isSimplified());
    });
}

TEST(SimplifyProblems, AFourthNumberOnAThirdOfTheDraws) {
    // Three magnitudes (each with a sign draw and a variable draw), then the draw for a fourth.
    for (const auto& [fourthDraw, size] : {std::pair{0u, 4u}, {3u, 4u}, {1u, 3u}, {5u, 3u}}) {
        ScriptedDraws draws({4, 1, 1, 6, 1, 2, 0, 1, 3, fourthDraw, 10, 1, 0});
        auto terms = termsOf<ExprSum>(ProblemGenerator::getSimplifyAddition());
        ASSERT_EQ(terms.size(), size);
        std::vector<int32_t> coefs;
        for (const auto& term : terms)
            coefs.push_back(term->coef());
        std::sort(coefs.begin(), coefs.end());
        EXPECT_EQ(coefs, size == 4 ? std::vector<int32_t>({1, 5, 7, 11}) : std::vector<int32_t>({1, 5, 7}));
    }
}

TEST(SimplifyProblems, ProductsOfThreeFactorsOneOfThemAVariableTerm) {
    forEachSeed([](uint64_t) {
        ExprPtr product = ProblemGenerator::getSimplifyMultiplication();
        auto terms = termsOf<ExprProduct>(product);
        ASSERT_EQ(terms.size(), 3u) << product->description();
        EXPECT_EQ(std::count_if(terms.begin(), terms.end(), [](const auto& term) { return isVarTerm(term); }),
                  1);
        for (const auto& term : terms) {
            EXPECT_TRUE(term->coef() >= 1 && term->coef() <= 10) << product->description();
            EXPECT_TRUE(term->varIsNum() || randomVars().contains(term->var()));
        }
        EXPECT_FALSE(product->isSimplified());
    });
}

TEST(LikeTermsProblems, Shapes) {
    forEachSeed([](uint64_t) {
        ExprPtr three = ProblemGenerator::getSimplifyLikeTerms3Elements();
        auto terms = termsOf<ExprSum>(three);
        ASSERT_EQ(terms.size(), 3u);
        EXPECT_TRUE(allPositive(terms));
        // Built in order: the outer two are of one kind, the middle one of the other.
        EXPECT_EQ(terms[0]->var(), terms[2]->var()) << three->description();
        EXPECT_NE(isNumber(terms[0]), isNumber(terms[1])) << three->description();
        EXPECT_FALSE(three->isSimplified());

        ExprPtr four = ProblemGenerator::getSimplifyLikeTerms4Elements();
        terms = termsOf<ExprSum>(four);
        ASSERT_EQ(terms.size(), 4u);
        EXPECT_TRUE(allPositive(terms));
        auto counts = varCounts(terms);
        EXPECT_EQ(counts.size(), 2u) << four->description();
        EXPECT_EQ(counts["num"], 2) << four->description();
        EXPECT_FALSE(four->isSimplified());

        ExprPtr five = ProblemGenerator::getSimplifyLikeTerms5Elements();
        terms = termsOf<ExprSum>(five);
        ASSERT_EQ(terms.size(), 5u);
        EXPECT_TRUE(allPositive(terms));
        counts = varCounts(terms);
        EXPECT_EQ(counts["num"], 2) << five->description();
        EXPECT_TRUE(counts.size() == 2 || counts.size() == 3) << five->description();
        EXPECT_FALSE(five->isSimplified());

        ExprPtr unsent = ProblemGenerator::getSimplifyLikeTerms();
        terms = termsOf<ExprSum>(unsent);
        ASSERT_EQ(terms.size(), 4u) << unsent->description();
        counts = varCounts(terms);
        EXPECT_EQ(counts.size(), 2u) << unsent->description();
        EXPECT_EQ(counts["num"], 2) << unsent->description();
        EXPECT_EQ(ProblemGenerator::getSubstitution()->description().empty(), false);
    });
}

TEST(LikeTermsProblems, TheParityDrawChoosesTheOuterKind) {
    // Three positive terms (3, 5, 7), the variable "a", then the parity.
    for (const auto& [parity, text] : {std::pair{1u, "3 + 5a + 7"}, {2u, "3a + 5 + 7a"}}) {
        ScriptedDraws draws({2, 1, 0, 4, 1, 0, 6, 1, 0, 3, parity});
        EXPECT_EQ(ProblemGenerator::getSimplifyLikeTerms3Elements()->description(), text);
    }
}

TEST(OrderOfOperationsProblems, ProductsOfANumberAndAVariableTerm) {
    forEachSeed([](uint64_t) {
        ExprPtr novice = ProblemGenerator::getSimplifyOrderOfOperations();
        auto members = membersOf<ExprSum>(novice);
        ASSERT_EQ(members.size(), 2u) << novice->description();
        const bool productFirst = isExactly<ExprProduct>(members[0]);
        auto factorVar = varOfNumberTimesVar(members[productFirst ? 0 : 1]);
        auto addend = termOf(members[productFirst ? 1 : 0]);
        ASSERT_TRUE(factorVar && addend) << novice->description();
        EXPECT_EQ(factorVar->var(), addend->var());
        EXPECT_TRUE(randomVars().contains(addend->var()));
        EXPECT_FALSE(novice->isSimplified());

        ExprPtr master = ProblemGenerator::getSimplifyOrderOfOperations2Elements();
        members = membersOf<ExprSum>(master);
        ASSERT_EQ(members.size(), 2u) << master->description();
        auto first = varOfNumberTimesVar(members[0]);
        auto second = varOfNumberTimesVar(members[1]);
        ASSERT_TRUE(first && second) << master->description();
        EXPECT_EQ(first->var(), second->var());
        EXPECT_FALSE(master->isSimplified());
    });
}

TEST(FactorProblems, ProductsOfTwoDifferentPrimes) {
    const std::vector<int32_t> primes = ProblemGenerator::primeNumberList();
    std::set<int32_t> seen;
    forEachSeed([&](uint64_t) {
        auto number = termOf(ProblemGenerator::getFactorizePairs());
        ASSERT_TRUE(number && isNumber(number));
        int pairs = 0;
        for (size_t i = 0; i < primes.size(); ++i) {
            for (size_t j = i + 1; j < primes.size(); ++j)
                pairs += primes[i] * primes[j] == number->coef();
        }
        EXPECT_EQ(pairs, 1) << number->coef();
        EXPECT_FALSE(number->isFactorized());
        seen.insert(number->coef());
    });
    EXPECT_GT(seen.size(), 30u) << "most of the 36 pairs";
}

TEST(FactorProblems, ReplacementDrawsFourThenTheVariable) {
    struct Case {
        std::vector<uint32_t> draws;
        const char* text;
    };
    const Case cases[] = {
        {{2, 3, 0, 0, 1}, "-20y"},
        {{0, 0, 1, 2}, "4"},
        {{8, 17, 3, 5, 5}, "100c"},
        {{9, 1, 2, 3}, "-6"},
    };
    for (const Case& each : cases) {
        ScriptedDraws draws(each.draws);
        EXPECT_EQ(ProblemGenerator::getFactorizeReplacement()->description(), each.text);
    }
}

TEST(FactorProblems, ReplacementRanges) {
    forEachSeed([](uint64_t) {
        for (ExprPtr expr :
             {ProblemGenerator::getFactorizeReplacement(), ProblemGenerator::getFactorizePrimeNumbers()}) {
            auto term = termOf(expr);
            ASSERT_TRUE(term);
            const int32_t magnitude = std::abs(term->coef());
            bool twoFactors = false;
            for (int32_t a = 2; a <= 10; ++a)
                twoFactors |= magnitude % a == 0 && magnitude / a >= 2 && magnitude / a <= 10;
            EXPECT_TRUE(twoFactors) << term->description();
            EXPECT_TRUE(term->varIsNum() || randomVars().contains(term->var()));
            EXPECT_FALSE(term->isFactorized()) << term->description();
        }
    });
}

TEST(FactorProblems, ConvenienceTerm) {
    // 1 from randomSolo becomes a variable term, then 10 of it; -1 as a number becomes 10.
    const std::pair<std::vector<uint32_t>, const char*> cases[] = {
        {{0, 1, 0, 2}, "10z"}, {{0, 0, 3}, "10"}, {{0, 0, 1}, "-1y"}, {{4, 0, 3}, "-5"}, {{6, 1, 3, 5}, "7c"},
    };
    for (const auto& [script, text] : cases) {
        ScriptedDraws draws(script);
        EXPECT_EQ(ProblemGenerator::getFactorizeConvenience()->description(), text);
    }
}

} // namespace
} // namespace zm
