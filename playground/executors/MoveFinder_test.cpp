#include "JTMathParser/ExprTextReader.h"
#include "model/ExprList.h"
#include "model/Operator.h"
#include "model/steps/StepAdd.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepMultiply.h"
#include "model/steps/StepTranspose.h"
#include "platform/core/Random.h"
#include "playground/executors/MoveFinder.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

ExprPtr read(const std::string& text) {
    bool failed = false;
    ExprPtr expr = ExprTextReader::parseString(text, failed);
    EXPECT_FALSE(failed) << text;
    return expr;
}

// What a step applied to a copy of its tree makes of it.
std::string result(const Step& step, const ExprPtr& tree) {
    const ExprPtr reached = applyToIdCopy(step, *tree);
    return reached ? reached->description() : "(no result)";
}

// The solver's next step, applied: a table of the rules in the order they are tried.
TEST(MoveFinder, SolvesAnEquationRuleByRule) {
    const struct {
        const char* equation;
        const char* next;
    } cases[] = {
        // A variable alone: clean up the other side.
        {"x=3+4", "x = 7"},
        {"x=(5*2)/2", "x = 5"},
        // Numbers first.
        {"x+2*3=7", "x + 6 = 7"},
        // Carry the number off the variable's side.
        {"x+3=7", "x = 7 + -3"},
        {"7=x+3", "-3 + 7 = x"},
        {"x/4=9", "x = 9 * 4"},
        {"2*x=6", "x = 6 / 2"},
        // A term with a coefficient is split first, so that the coefficient can go.
        {"2x=6", "2 * x = 6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.equation);
        const ExprPtr equation = read(c.equation);
        const std::shared_ptr<Step> step = MoveFinder(equation).findSolveStep();
        ASSERT_TRUE(step);
        EXPECT_EQ(result(*step, equation), c.next) << step->description();
    }
}

TEST(MoveFinder, DrawsALineAcrossAFractionWithNothingElseToDo) {
    const ExprPtr equation = read("x=6/3");
    const auto step = std::dynamic_pointer_cast<StepEliminate>(MoveFinder(equation).findSolveStep());
    ASSERT_TRUE(step);
    ASSERT_EQ(step->givenExprs().size(), 2u);
    EXPECT_EQ(step->givenExprs()[0]->description(), "6");
    EXPECT_EQ(step->givenExprs()[1]->description(), "3");
}

TEST(MoveFinder, CarriesTheVariableWhenBothSidesHoldIt) {
    core::ScopedRandomSource draws(core::makeSeededRandom(7));
    // Rules 3 to 7 find nothing: x stands on both sides, and no tap changes anything.
    const ExprPtr equation = read("x=2x+y");
    const auto step = std::dynamic_pointer_cast<StepTranspose>(MoveFinder(equation).findSolveStep());
    ASSERT_TRUE(step);
    EXPECT_TRUE(step->expr()->hasVar("x"));
}

TEST(MoveFinder, OffAnEquationOnlyTapsThatChangeSomething) {
    const ExprPtr expr = read("1+2*3");
    EXPECT_EQ(result(*MoveFinder(expr).findSolveStep(), expr), "1 + 6");
    EXPECT_FALSE(MoveFinder(read("x+y")).findSolveStep());
    EXPECT_FALSE(MoveFinder(nullptr).findSolveStep());
}

TEST(MoveFinder, SortsTapsIntoThoseThatChangeTheExpressionAndThoseTheRulesRefuse) {
    const ExprPtr expr = read("1+2*3");
    const MoveFinder finder(expr);
    EXPECT_EQ(finder.plusOps().size(), 1u);
    EXPECT_EQ(finder.timesOps().size(), 1u);
    EXPECT_EQ(finder.plusAndTimesOps().size(), 2u);
    for (int i = 0; i < 10; ++i) {
        const auto step = finder.randomSuccessfulAddOrMultiplyStep();
        EXPECT_TRUE(std::dynamic_pointer_cast<StepMultiply>(step)) << "the + must wait for the *";
    }
    const auto refused = finder.unchangingAddOrMultiplySteps();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(std::dynamic_pointer_cast<StepAdd>(refused[0]));
    EXPECT_EQ(result(*refused[0], expr), "1 + 2 * 3") << "tried on a copy, the original unchanged";
    EXPECT_EQ(expr->description(), "1 + 2 * 3");

    EXPECT_FALSE(MoveFinder(read("x*3+2")).randomSuccessfulNonVarAddOrMultiplyStep())
        << "x * 3 joins a variable";
    EXPECT_TRUE(MoveFinder(read("x*3+2*4")).randomSuccessfulNonVarAddOrMultiplyStep());
}

TEST(MoveFinder, CommutesTwoDifferentMembersOfAList) {
    core::ScopedRandomSource draws(core::makeSeededRandom(3));
    const ExprPtr expr = read("1+2+3");
    const auto& list = dynamic_cast<const ExprList&>(*expr);
    for (int i = 0; i < 20; ++i) {
        const auto commute = MoveFinder::commuteStepFromExprList(list);
        ASSERT_TRUE(commute);
        EXPECT_NE(commute->princeExpr(), commute->otherExpr());
    }
}

TEST(MoveFinder, FindsNothingOnNothing) {
    const MoveFinder finder(nullptr);
    EXPECT_TRUE(finder.plusAndTimesOps().empty());
    EXPECT_FALSE(finder.randomAddStep());
    EXPECT_FALSE(finder.randomMultiplyStep());
    EXPECT_FALSE(finder.randomSuccessfulAddOrMultiplyStep());
    EXPECT_FALSE(finder.equation());
    EXPECT_FALSE(finder.isolateVar("x", nullptr));
}

} // namespace
} // namespace zm
