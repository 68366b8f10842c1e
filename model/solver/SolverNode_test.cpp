#include "model/Operator.h"
#include "model/solver/ExprShape.h"
#include "model/solver/SolverNode.h"
#include "model/steps/StepAdd.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepDistribute.h"
#include "model/steps/StepFactorize.h"
#include "model/testing/Trees.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(SolverNode, TwoPlusThreeAnswersTheAddStepOfTheStart) {
    auto root = sum({num(2), num(3)});
    StepPtr step = SolverNode::findNextStepForExpr(root);
    auto add = std::dynamic_pointer_cast<StepAdd>(step);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->plus(), root->ops()[0]);
    EXPECT_EQ(root->description(), "2 + 3");
}

TEST(SolverNode, ScoreRules) {
    // Six terms: a distribution halves, a commute doubles, a factoring out divides by three; a lone
    // variable on one side of an equation halves first.
    auto six = [] { return sum({var("a"), var("b"), var("c"), var("d"), var("e"), var("f")}); };
    auto isolated = [] { return eq(var("x"), sum({var("a"), var("b"), var("c"), var("d"), var("e")})); };
    auto a = num(2), b = num(2);
    auto holder = sum({prod({a, var("x")}), prod({b, var("y")})});
    const StepPtr distribute = std::make_shared<StepDistribute>(var("x"), sum({var("y"), var("z")}));
    const StepPtr commute = StepCommute::stepCommuteWithPrincipal(var("x"), var("y"));
    const StepPtr factorOut = StepFactorOut::stepFactorOutWithSolos({a, b});
    const StepPtr other = StepAdd::stepAddFromOpPlus(std::make_shared<OpPlus>(num(1), num(1)));
    ASSERT_NE(factorOut, nullptr);
    const std::pair<StepPtr, std::pair<uint32_t, uint32_t>> table[] = {
        {distribute, {3, 1}}, {commute, {12, 6}}, {factorOut, {2, 1}}, {other, {6, 3}}, {nullptr, {6, 3}}};
    for (const auto& [step, scores] : table) {
        EXPECT_EQ(SolverNode(six(), step).calculatedScore(), scores.first);
        EXPECT_EQ(SolverNode(isolated(), step).calculatedScore(), scores.second);
    }
    EXPECT_EQ(SolverNode(six()).score(), 6u);
}

TEST(SolverNode, ChildrenWrittenBeforeTheirTreesAreBuiltMatchTheTrees) {
    // Commutes, factorizations, joined terms and factorings out (of a term alone and of products,
    // leaving a 1, one factor, a product or a sum, in sums of two and more, at the top, inside a
    // product and a fraction), and an equation, whose children are built at once.
    const ExprPtr trees[] = {
        sum({prod({num(2), var("x")}), prod({num(2), var("y")})}),
        sum({var("x"), prod({num(3), var("x")}), num(5), num(4)}),
        prod({num(2), sum({prod({num(3), var("x")}), var("x")})}),
        quot(sum({prod({num(2), var("x"), var("y")}), prod({num(2), var("z")}), num(6)}), num(4)),
        sum({prod({num(2), sum({var("x"), num(1)})}), prod({num(2), var("y")})}),
        sum({prod({var("z"), num(6)}), num(3), var("z"), term(12, "y"), num(2)}),
        eq(sum({prod({num(2), var("x")}), prod({num(2), var("y")})}), num(8)),
    };
    for (const ExprPtr& tree : trees) {
        const SolverNode start(tree);
        const auto children = start.createChildNodes();
        EXPECT_FALSE(children.empty());
        for (const auto& child : children) {
            SCOPED_TRACE(tree->description() + " gives " + child->expr()->description());
            EXPECT_EQ(child->shape(), ExprShape(*child->expr()).bytes());
            EXPECT_EQ(child->score(), child->expr()->getSolos().size());
            EXPECT_EQ(child->calculatedScore(), SolverNode(child->expr(), child->step()).calculatedScore());
        }
    }
}

TEST(SolverNode, OriginalStepIsTheFirstStepOfThePath) {
    const StepPtr first = StepCommute::stepCommuteWithPrincipal(var("a"), var("b"));
    const StepPtr second = StepCommute::stepCommuteWithPrincipal(var("c"), var("d"));
    const StepPtr third = StepCommute::stepCommuteWithPrincipal(var("e"), var("f"));
    SolverNode start(num(1));
    SolverNode one(num(2), first, &start);
    SolverNode two(num(3), second, &one);
    SolverNode three(num(4), third, &two);
    EXPECT_EQ(three.originalStep(), first);
    EXPECT_EQ(one.originalStep(), first);
    EXPECT_EQ(start.originalStep(), nullptr);
}

TEST(SolverNode, NoCandidateAnswersNull) {
    EXPECT_EQ(SolverNode::findNextStepForExpr(var("x")), nullptr);
    EXPECT_EQ(SolverNode::findNextStepForExpr(nullptr), nullptr);
}

TEST(SolverSearch, StartChildrenAllEnterLaterDuplicatesArePruned) {
    // In x + y + x, moving the first x onto y and y onto it both give y + x + x.
    auto root = sum({var("x"), var("y"), var("x")});
    SolverSearch search(root);
    const auto& open = search.open();
    auto duplicates = [](const std::vector<const SolverNode*>& nodes) {
        int count = 0;
        for (size_t i = 0; i < nodes.size(); ++i) {
            for (size_t j = i + 1; j < nodes.size(); ++j)
                count += nodes[i]->expr()->isExactMatch(*nodes[j]->expr()) ? 1 : 0;
        }
        return count;
    };
    EXPECT_GT(duplicates(open), 0) << "the start's children enter as they are";

    const SolverNode* expanded = open.front();
    const size_t made = expanded->createChildNodes().size();
    ASSERT_EQ(search.expandNext(), SolverSearch::Outcome::Expanded);
    std::vector<const SolverNode*> admitted;
    for (const SolverNode* node : search.open()) {
        if (node->parentNode() == expanded)
            admitted.push_back(node);
    }
    EXPECT_EQ(duplicates(admitted), 0);
    EXPECT_LT(admitted.size(), made);
    for (size_t i = 1; i < search.open().size(); ++i)
        EXPECT_LE(search.open()[i - 1]->calculatedScore(), search.open()[i]->calculatedScore());
}

TEST(SolverNode, SumsWhoseLikeTermsLieApartAreSolved) {
    // Each needs a commute before like terms meet; factoring out and distributing make endless
    // expressions that the scored order takes before any commute, so it spends its bound (about
    // 700 to 1,100 expansions would reach a simplified form).
    const ExprPtr problems[] = {
        sum({term(6, "z"), num(3), var("z"), term(12, "y"), num(2)}),
        sum({num(17), term(19, "b"), num(18), term(2, "a"), term(18, "a")}),
        sum({term(15, "a"), num(15), term(15, "a"), term(11, "z"), num(19)}),
    };
    for (const ExprPtr& problem : problems) {
        SCOPED_TRACE(problem->description());
        const StepPtr step = SolverNode::findNextStepForExpr(problem);
        ASSERT_NE(step, nullptr);
        EXPECT_FALSE(applyToIdCopy(*step, *problem)->isExactMatch(*problem));
    }
}

TEST(SolverNode, TheScoredOrdersAnswerStandsWhenItHasOne) {
    const ExprPtr problems[] = {
        sum({term(7, "b"), num(19), term(17, "b")}),
        eq(sum({term(3, "x"), num(2)}), sum({num(11), var("x")})),
        quot(prod({num(6), var("x"), var("y")}), prod({num(4), var("x")})),
    };
    for (const ExprPtr& problem : problems) {
        SCOPED_TRACE(problem->description());
        SolverSearch scored(problem);
        ASSERT_EQ(scored.run(SolverNode::kMaxExpansions), SolverSearch::Outcome::Found);
        const StepPtr answer = SolverNode::findNextStepForExpr(problem);
        const StepPtr expected = scored.found()->originalStep();
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer->description(), expected->description());
        EXPECT_EQ(applyToIdCopy(*answer, *problem)->description(),
                  applyToIdCopy(*expected, *problem)->description());
    }
}

TEST(SolverNode, SolvesTypicalProblems) {
    const ExprPtr problems[] = {
        sum({term(2, "x"), num(3), term(4, "x"), num(5)}),
        prod({num(2), sum({var("x"), num(3)})}),
        eq(sum({var("x"), num(3)}), num(5)),
        eq(prod({num(2), var("x")}), num(6)),
        quot(num(6), num(4)),
        sum({prod({num(2), var("x")}), prod({num(2), var("y")})}),
    };
    for (const ExprPtr& problem : problems) {
        const std::string before = problem->description();
        ExprPtr current = problem;
        int moves = 0;
        while (!current->isSimplified() && moves < 12) {
            StepPtr step = SolverNode::findNextStepForExpr(current);
            ASSERT_NE(step, nullptr) << before << " stuck at " << current->description();
            current = step->applyToExpr(current, nullptr);
            ++moves;
        }
        EXPECT_TRUE(current->isSimplified()) << before << " ended at " << current->description();
    }
}

} // namespace
} // namespace zm
