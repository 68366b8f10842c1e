// Problems of the distribution topic.

#include "model/testing/Trees.h"
#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"

namespace zm {
namespace {

using namespace zm::testing;

struct TermTimesSum {
    std::shared_ptr<ExprSoloist> outer;
    std::vector<std::shared_ptr<ExprSoloist>> inner;
};

// A term and a sum of two terms, in either order, as a product.
std::optional<TermTimesSum> termTimesSum(const ExprPtr& expr) {
    auto factors = membersOf<ExprProduct>(expr);
    if (factors.size() != 2)
        return std::nullopt;
    const bool termFirst = termOf(factors[0]) != nullptr;
    TermTimesSum parts{termOf(factors[termFirst ? 0 : 1]), termsOf<ExprSum>(factors[termFirst ? 1 : 0])};
    if (!parts.outer || parts.inner.size() != 2)
        return std::nullopt;
    return parts;
}

std::set<std::string> varsOf(const Expr& expr) {
    std::set<std::string> vars;
    for (const auto& term : expr.getSolos()) {
        if (term->varIsNotNum())
            vars.insert(term->var());
    }
    return vars;
}

// Checked for every distribution equation: one variable, one solution, not yet solved.
void expectSolvableEquation(const ExprPtr& expr) {
    auto equation = asExactly<ExprEquation>(expr);
    ASSERT_TRUE(equation) << expr->description();
    EXPECT_EQ(varsOf(*equation).size(), 1u) << equation->description();
    EXPECT_TRUE(hasOneSolution(*equation)) << equation->description();
    EXPECT_FALSE(equation->isSimplified()) << equation->description();
}

TEST(DistributionProblems, ATermTimesATwoTermSum) {
    int varOutside = 0;
    forEachSeed([&](uint64_t) {
        for (bool outerVar : {false, true}) {
            auto parts = termTimesSum(ProblemGenerator::getDistribution(outerVar));
            ASSERT_TRUE(parts);
            const bool numbersInside = isNumber(parts->inner[0]) && isNumber(parts->inner[1]);
            if (isVarTerm(parts->outer)) {
                EXPECT_TRUE(numbersInside);
                // The two numbers never cancel.
                EXPECT_NE(parts->inner[0]->coef() + parts->inner[1]->coef(), 0);
                varOutside += !outerVar;
            } else {
                EXPECT_FALSE(outerVar) << "a flag asks for a variable term outside";
                EXPECT_TRUE(isNumber(parts->outer));
                EXPECT_NE(isNumber(parts->inner[0]), isNumber(parts->inner[1]));
            }
        }

        ExprPtr novice = ProblemGenerator::getDistribution();
        if (auto equation = asExactly<ExprEquation>(novice)) {
            EXPECT_TRUE(termTimesSum(equation->firstExpr()));
            EXPECT_TRUE(isNumber(equation->secondExpr()));
        } else {
            EXPECT_TRUE(termTimesSum(novice)) << novice->description();
        }
        EXPECT_FALSE(novice->isSimplified());

        auto inside = termTimesSum(ProblemGenerator::getDistributionVarInsideOnly());
        ASSERT_TRUE(inside);
        EXPECT_TRUE(isNumber(inside->outer));
        EXPECT_NE(isNumber(inside->inner[0]), isNumber(inside->inner[1]));
    });
    // One time in four without the flag.
    EXPECT_GT(varOutside, static_cast<int>(kSeeds) / 6);
    EXPECT_LT(varOutside, static_cast<int>(kSeeds) / 3);
}

TEST(DistributionProblems, NumbersThatWouldCancelAreNotCancelled) {
    // x-term 2x, q = 3, r = -3 (turned to 3), then e = 1: 2x * (3 + 3), kept in order by an even draw.
    core::cRandom().seed(1);
    ScriptedDraws draws({1, 1, 0, 0, 2, 1, 3, 2, 0, 3, 1, 0});
    auto parts = termTimesSum(ProblemGenerator::getDistribution(false));
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->outer->description(), "2x");
    EXPECT_EQ(parts->inner[0]->coef(), 3);
    EXPECT_EQ(parts->inner[1]->coef(), 3);
}

TEST(DistributionProblems, SoloOfADistributionProduct) {
    auto product = prod({num(3), sum({var("x"), num(2)}), term(5, "y")});
    EXPECT_EQ(ProblemGenerator::getSoloFromDistributionProduct(*product)->description(), "5y");
    EXPECT_EQ(
        ProblemGenerator::getSoloFromDistributionProduct(*prod({sum({var("x"), num(2)}), num(4)}))->coef(),
        4);
    EXPECT_EQ(ProblemGenerator::getSoloFromDistributionProduct(
                  *prod({sum({var("x"), num(2)}), sum({num(1), num(2)})})),
              nullptr);
}

TEST(DistributionProblems, VariablesOfADistributionProduct) {
    auto product = prod({sum({num(2), var("y")}), term(3, "a"), sum({var("z"), num(3)})});
    EXPECT_EQ(ProblemGenerator::getVarFromDistribution(*product), "z");
    ProblemGenerator::setDistribution(*product, "b");
    EXPECT_EQ(product->description(), "(2 + b) * 3b * (b + 3)");
    EXPECT_EQ(ProblemGenerator::getVarFromDistribution(*prod({num(2), sum({num(3), num(4)})})), std::nullopt);
}

TEST(DistributionProblems, FactoringOutSharesTheFactorAboveAndBelow) {
    forEachSeed([](uint64_t) {
        for (int type : {-1, 0, 1, 2, 3}) {
            SCOPED_TRACE("type " + std::to_string(type));
            auto quotient = ProblemGenerator::getFactoringOutWithType(type);
            ASSERT_TRUE(quotient);
            auto numerator = membersOf<ExprSum>(quotient->firstExpr());
            ASSERT_EQ(numerator.size(), 2u) << quotient->description();
            // The first product keeps its factor; the last one is multiplied out.
            auto first = termsOf<ExprProduct>(numerator[0]);
            ASSERT_EQ(first.size(), 2u) << quotient->description();
            EXPECT_TRUE(termOf(numerator[1])) << quotient->description();
            const ExprPtr& denominator = quotient->secondExpr();
            if (type == 0 || type == -1) {
                ASSERT_TRUE(termOf(denominator)) << quotient->description();
                EXPECT_TRUE(first[0]->isExactMatch(*denominator)) << quotient->description();
            } else {
                auto below = membersOf<ExprSum>(denominator);
                ASSERT_EQ(below.size(), 2u) << quotient->description();
                for (const ExprPtr& product : below)
                    EXPECT_TRUE(termsOf<ExprProduct>(product).at(0)->isExactMatch(*first[0]))
                        << quotient->description();
            }
            if (type == -1) {
                EXPECT_TRUE(isNumber(denominator));
            }
        }
    });
}

TEST(DistributionProblems, AdvancedKindsAreSolvable) {
    std::set<std::string> kinds;
    forEachSeed([&](uint64_t) {
        ExprPtr problem = ProblemGenerator::getDistAdvanced();
        EXPECT_FALSE(problem->isSimplified());
        if (auto equation = asExactly<ExprEquation>(problem)) {
            expectSolvableEquation(problem);
            kinds.insert(isExactly<ExprQuotient>(equation->firstExpr()) ? "fact"
                         : isExactly<ExprSum>(equation->secondExpr())   ? "distWithVar"
                                                                        : "tripleDist");
        } else {
            auto factors = membersOf<ExprProduct>(problem);
            ASSERT_EQ(factors.size(), 2u) << problem->description();
            EXPECT_EQ(termsOf<ExprSum>(factors[0]).size(), 2u);
            EXPECT_EQ(termsOf<ExprSum>(factors[1]).size(), 2u);
            kinds.insert("fatDist");
        }
    });
    EXPECT_EQ(kinds.size(), 4u);
}

TEST(DistributionProblems, EachAdvancedKindOverManySeeds) {
    forEachSeed([](uint64_t) {
        expectSolvableEquation(ProblemGenerator::getDistAdvancedDistWithVar());
        expectSolvableEquation(ProblemGenerator::getDistAdvancedFact());
        expectSolvableEquation(ProblemGenerator::getDistAdvancedTripleDist());
        expectSolvableEquation(ProblemGenerator::getDistAdvancedDoubleDist());
        // Nothing sends it, and as written its variable can cancel (about one time in two hundred):
        // only its shape is checked.
        auto distFact = asExactly<ExprEquation>(ProblemGenerator::getDistAdvancedDistFact());
        ASSERT_TRUE(distFact);
        EXPECT_TRUE(termTimesSum(distFact->firstExpr()));
        EXPECT_EQ(varsOf(*distFact).size(), 1u) << distFact->description();
        EXPECT_FALSE(distFact->isSimplified());
        ExprPtr factoringOut = ProblemGenerator::getFactoringOut();
        EXPECT_TRUE(isExactly<ExprQuotient>(factoringOut));
        EXPECT_FALSE(factoringOut->isSimplified());
    });
}

TEST(DistributionProblems, NoPosedEquationHasTheAnswerZero) {
    // "x = 0 / n" is as far as a player's moves take such an equation. A thousand seeds hold a few
    // draws that would make one, e.g. -4 * (-3 + 11a) = 12 and (5 * 15 + 45x) / 5 = 15.
    ExprPtr (*const posed[])() = {
        ProblemGenerator::getDistribution,
        ProblemGenerator::getDistAdvancedDistWithVar,
        ProblemGenerator::getDistAdvancedFact,
        ProblemGenerator::getDistAdvancedTripleDist,
    };
    for (auto generate : posed) {
        forEachSeed(
            [&](uint64_t) {
                if (auto equation = asExactly<ExprEquation>(generate())) {
                    EXPECT_NE(valueOf(*equation, 0), 0.0) << equation->description();
                }
            },
            1000);
    }
}

} // namespace
} // namespace zm
