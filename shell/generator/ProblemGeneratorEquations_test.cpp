// Problems of the equations topic.

#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"

namespace zm {
namespace {

using namespace zm::testing;

std::shared_ptr<ExprEquation> equationOf(const ExprPtr& expr) {
    return asExactly<ExprEquation>(expr);
}

// Every variable term of the tree has the one variable.
bool hasOneVariable(const Expr& expr) {
    std::set<std::string> vars;
    for (const auto& term : expr.getSolos()) {
        if (term->varIsNotNum())
            vars.insert(term->var());
    }
    return vars.size() == 1 && randomVars().contains(*vars.begin());
}

// The variable's coefficient and the number of a side that is a term or a sum of terms.
std::pair<int32_t, int32_t> linearParts(const ExprPtr& side) {
    std::vector<std::shared_ptr<ExprSoloist>> terms = termsOf<ExprSum>(side);
    if (auto term = termOf(side))
        terms = {term};
    std::pair<int32_t, int32_t> parts{0, 0};
    for (const auto& term : terms)
        (term->varIsNum() ? parts.second : parts.first) += term->coef();
    return parts;
}

TEST(EquationProblems, IsolateShapes) {
    forEachSeed([](uint64_t) {
        auto equation = equationOf(ProblemGenerator::getSolveIsolate());
        ASSERT_TRUE(equation);
        auto right = termOf(equation->secondExpr());
        ASSERT_TRUE(right && isNumber(right));
        EXPECT_TRUE(right->coef() >= 1 && right->coef() <= 19);
        const ExprPtr& left = equation->firstExpr();
        std::vector<ExprPtr> parts = membersOf<ExprSum>(left);
        if (parts.empty())
            parts = membersOf<ExprProduct>(left);
        if (auto quotient = asExactly<ExprQuotient>(left)) {
            EXPECT_TRUE(isVarTerm(quotient->firstExpr()));
            parts = {quotient->firstExpr(), quotient->secondExpr()};
        }
        ASSERT_EQ(parts.size(), 2u) << equation->description();
        auto varTerm = isVarTerm(parts[0]) ? termOf(parts[0]) : termOf(parts[1]);
        auto number = isVarTerm(parts[0]) ? termOf(parts[1]) : termOf(parts[0]);
        ASSERT_TRUE(varTerm && number && isNumber(number)) << equation->description();
        EXPECT_EQ(varTerm->coef(), 1);
        EXPECT_TRUE(number->coef() >= 2 && number->coef() <= 19);
        EXPECT_TRUE(hasOneVariable(*equation));
        EXPECT_TRUE(hasOneSolution(*equation)) << equation->description();
        EXPECT_FALSE(equation->isSimplified());
    });
}

TEST(EquationProblems, IsolateDrawsTheVariableFirst) {
    // "b", then n = 5 and k = 12 (magnitude, sign, variable each), then the quotient.
    ScriptedDraws draws({4, 4, 1, 3, 11, 1, 3, 2});
    EXPECT_EQ(ProblemGenerator::getSolveIsolate()->description(), "b / 5 = 12");
}

TEST(EquationProblems, AdvancedEquationsHaveOneSolution) {
    int wholeSolutions = 0;
    forEachSeed([&](uint64_t) {
        auto equation = equationOf(ProblemGenerator::getSolveAdvanced());
        ASSERT_TRUE(equation);
        EXPECT_TRUE(hasOneVariable(*equation)) << equation->description();
        EXPECT_TRUE(hasOneSolution(*equation)) << equation->description();
        EXPECT_FALSE(equation->isSimplified());

        const auto left = linearParts(equation->firstExpr());
        const auto right = linearParts(equation->secondExpr());
        if (isNumber(equation->firstExpr()) || isNumber(equation->secondExpr())) {
            // pv + s against s + p·m: the solution is m, 1 to 9.
            int solutions = 0;
            for (int m = 1; m <= 9; ++m)
                solutions += valueOf(*equation, m) == 0;
            EXPECT_EQ(solutions, 1) << equation->description();
            ++wholeSolutions;
        } else {
            // The side made of q and t is the larger in both parts, on whichever side it stands.
            EXPECT_EQ(left.first > right.first, left.second > right.second) << equation->description();
            EXPECT_NE(left.first, right.first);
            EXPECT_GT(std::min(left.first, right.first), 0);
        }
    });
    EXPECT_GT(wholeSolutions, static_cast<int>(kSeeds) / 4);
}

TEST(EquationProblems, AnEvenDrawSolvesToTheDrawnWholeNumber) {
    // p = 3x, q, s = -4, t; c = 13 gives m = 5; an even d; an even last draw keeps L = R.
    ScriptedDraws draws({2, 1, 0, 0, 6, 1, 0, 3, 0, 3, 8, 1, 3, 13, 2, 4});
    auto equation = equationOf(ProblemGenerator::newEquations());
    ASSERT_TRUE(equation);
    EXPECT_EQ(equation->description(), "3x + -4 = 11");
    EXPECT_EQ(valueOf(*equation, 5), 0);
}

TEST(EquationProblems, UnsentEquations) {
    forEachSeed([](uint64_t) {
        auto cleanUp = equationOf(ProblemGenerator::getSolveCleanUp());
        ASSERT_TRUE(cleanUp);
        auto lone = termOf(cleanUp->firstExpr());
        ASSERT_TRUE(lone && isVarTerm(lone) && lone->coef() == 1);
        const ExprPtr& other = cleanUp->secondExpr();
        auto numbers = termsOf<ExprSum>(other);
        EXPECT_TRUE(isExactly<ExprQuotient>(other) || numbers.size() == 2 || numbers.size() == 3)
            << cleanUp->description();
        EXPECT_FALSE(cleanUp->isSimplified()) << cleanUp->description();

        auto split = equationOf(ProblemGenerator::getSolveSplit());
        ASSERT_TRUE(split);
        EXPECT_TRUE(isNumber(split->secondExpr()));
        EXPECT_TRUE(hasOneVariable(*split));
        EXPECT_TRUE(hasOneSolution(*split)) << split->description();
        EXPECT_FALSE(split->isSimplified()) << split->description();
    });
}

} // namespace
} // namespace zm
