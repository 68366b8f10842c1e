// Problems of the elimination topic.

#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/Shuffle.h"
#include "shell/generator/testing/GeneratorTesting.h"

#include <numeric>

namespace zm {
namespace {

using namespace zm::testing;

std::pair<ExprPtr, ExprPtr> sidesOf(const ExprPtr& expr) {
    auto quotient = asExactly<ExprQuotient>(expr);
    return quotient ? std::pair{quotient->firstExpr(), quotient->secondExpr()}
                    : std::pair<ExprPtr, ExprPtr>{};
}

// Whether `term` stands alone on the side or as one of its two factors.
bool sideHolds(const ExprPtr& side, const ExprSoloist& term) {
    if (auto alone = termOf(side))
        return alone->isExactMatch(term);
    for (const auto& factor : termsOf<ExprProduct>(side)) {
        if (factor->isExactMatch(term))
            return true;
    }
    return false;
}

// A seed of the shuffle's sequence under which the shuffled prime list ends with `prime`.
uint32_t shuffleSeedEndingWith(int32_t prime) {
    for (uint32_t seed = 1;; ++seed) {
        core::cRandom().seed(seed);
        std::vector<int32_t> primes = ProblemGenerator::primeNumberList();
        shuffleArray(primes);
        if (primes.back() == prime)
            return seed;
    }
}

TEST(EliminationProblems, EqualsOneHasACopyOfPAcrossTheBar) {
    forEachSeed([](uint64_t) {
        ExprPtr problem = ProblemGenerator::getEliminateEqualsOne();
        auto [top, bottom] = sidesOf(problem);
        ASSERT_TRUE(top && bottom) << problem->description();
        // p alone on one side, and on the other either p's copy alone or p's copy beside q.
        auto alone = termOf(top) ? termOf(top) : termOf(bottom);
        ASSERT_TRUE(alone);
        EXPECT_TRUE(sideHolds(top, *alone) && sideHolds(bottom, *alone)) << problem->description();
        EXPECT_GE(alone->coef(), 2);
        EXPECT_FALSE(problem->isSimplified()) << problem->description();
    });
}

TEST(EliminationProblems, CrossOutSharesPAndAddsAFactorBelow) {
    forEachSeed([](uint64_t) {
        ExprPtr problem = ProblemGenerator::getEliminateCrossOut();
        auto [top, bottom] = sidesOf(problem);
        auto factors = termsOf<ExprProduct>(top);
        ASSERT_EQ(factors.size(), 2u) << problem->description();
        EXPECT_TRUE(sideHolds(bottom, *factors[0]) || sideHolds(bottom, *factors[1]))
            << problem->description();
        EXPECT_TRUE(termOf(bottom) || termsOf<ExprProduct>(bottom).size() == 2) << problem->description();
        EXPECT_FALSE(problem->isSimplified());
    });
}

TEST(EliminationProblems, CrossOutFactorSkipsAPowerEqualToQ) {
    // p = 5 and q as given, each made of a magnitude, a sign and a variable draw; then an odd draw.
    for (const auto& [q, factor] : {std::pair{8, 9}, {6, 2}, {2, 3}, {4, 5}}) {
        core::cRandom().seed(shuffleSeedEndingWith(2));
        ScriptedDraws draws({4, 1, 3, static_cast<uint32_t>(q - 1), 1, 3, 1});
        ExprPtr problem = ProblemGenerator::getEliminateCrossOut();
        auto [top, bottom] = sidesOf(problem);
        auto below = termsOf<ExprProduct>(bottom);
        ASSERT_EQ(below.size(), 2u) << problem->description();
        const int32_t extra = below[0]->coef() == 5 ? below[1]->coef() : below[0]->coef();
        EXPECT_EQ(extra, factor) << problem->description();
        EXPECT_TRUE(sideHolds(top, *ExprSoloist::soloWithCoef(q))) << problem->description();
    }
}

TEST(EliminationProblems, DivisionSearchesFromTheDrawnStart) {
    struct Case {
        uint32_t pDraw;     // the magnitude draw: p is one more
        uint32_t startDraw; // i starts at this mod 9, plus 2
        const char* text;
    };
    const Case cases[] = {
        {6, 0, "7 / 14"}, {11, 3, "12 / 6"}, {3, 2, "4 / 8"}, {1, 7, "2 / 10"}, {17, 4, "18 / 6"}};
    for (const Case& each : cases) {
        ScriptedDraws draws({each.pDraw, 1, 0, each.startDraw, 1});
        EXPECT_EQ(ProblemGenerator::getEliminateDivision()->description(), each.text);
    }
    // An even draw replaces q by a draw (here 5 + 2) and multiplies both by a factor (3 + 2).
    ScriptedDraws draws({6, 1, 0, 0, 2, 5, 3});
    EXPECT_EQ(ProblemGenerator::getEliminateDivision()->description(), "35 / 35");
}

TEST(EliminationProblems, DivisionNumbersShareAFactor) {
    forEachSeed([](uint64_t) {
        ExprPtr problem = ProblemGenerator::getEliminateDivision();
        auto [top, bottom] = sidesOf(problem);
        ASSERT_TRUE(isNumber(top) && isNumber(bottom)) << problem->description();
        EXPECT_GE(termOf(top)->coef(), 2);
        EXPECT_GE(termOf(bottom)->coef(), 2);
        EXPECT_GE(std::gcd(termOf(top)->coef(), termOf(bottom)->coef()), 2) << problem->description();
        EXPECT_FALSE(problem->isSimplified());
    });
}

TEST(EliminationProblems, ProductsOnlyCutsOneOrBothSides) {
    forEachSeed([](uint64_t) {
        ExprPtr problem = ProblemGenerator::getEliminateProductsOnly();
        auto [top, bottom] = sidesOf(problem);
        ASSERT_TRUE(top && bottom) << problem->description();
        int cut = 0;
        for (const ExprPtr& side : {top, bottom}) {
            auto halves = termsOf<ExprSum>(side);
            if (halves.empty()) {
                EXPECT_TRUE(isNumber(side) && termOf(side)->coef() >= 2) << problem->description();
                continue;
            }
            ++cut;
            ASSERT_EQ(halves.size(), 2u);
            EXPECT_TRUE(isNumber(halves[0]) && isNumber(halves[1]) && halves[0]->coef() >= 1 &&
                        halves[1]->coef() >= 1)
                << problem->description();
        }
        EXPECT_GE(cut, 1);
        EXPECT_FALSE(problem->isSimplified());
    });
}

TEST(EliminationProblems, ProductsOnlyCutsAnOddSideToOneLess) {
    // 7 / 14, then 1 picks the numerator; the cut draw is 2.
    ScriptedDraws draws({6, 1, 0, 0, 1, 1, 2});
    ExprPtr problem = ProblemGenerator::getEliminateProductsOnly();
    auto halves = termsOf<ExprSum>(sidesOf(problem).first);
    ASSERT_EQ(halves.size(), 2u) << problem->description();
    EXPECT_EQ(halves[0]->coef() + halves[1]->coef(), 6);
    EXPECT_EQ(sidesOf(problem).second->description(), "14");
}

} // namespace
} // namespace zm
