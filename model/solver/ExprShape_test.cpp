#include "model/Operator.h"
#include "model/solver/ExprShape.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepFactorize.h"
#include "model/testing/Trees.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(ExprShape, EqualExactlyForExactMatches) {
    // Pairs that differ in one respect each, and pairs that match.
    const std::pair<ExprPtr, ExprPtr> pairs[] = {
        {sum({var("x"), num(1)}), sum({var("x"), num(1)})},
        {sum({var("x"), num(1)}), sum({num(1), var("x")})},
        {sum({var("x"), num(1)}), prod({var("x"), num(1)})},
        {term(2, "x"), term(3, "x")},
        {term(2, "x"), term(2, "x", 2)},
        {term(2, "x"), term(2, "xy")},
        {var("xy"), prod({var("x"), var("y")})},
        {eq(var("x"), num(5)), eq(num(5), var("x"))},
        {eq(var("x"), num(5)), quot(var("x"), num(5))},
        {quot(sum({var("x"), num(1)}), num(2)), quot(sum({var("x"), num(1)}), num(2))},
        {sum({prod({num(2), var("x")}), num(1)}), sum({num(2), var("x"), num(1)})},
        {sum({var("ab"), var("c")}), sum({var("a"), var("bc")})},
    };
    for (const auto& [a, b] : pairs) {
        SCOPED_TRACE(a->description() + " / " + b->description());
        EXPECT_EQ(ExprShape(*a).bytes() == ExprShape(*b).bytes(), a->isExactMatch(*b));
    }
}

TEST(ExprShape, MovingAMemberWritesWhatTheCommuteBuilds) {
    auto tree = [] {
        return eq(sum({prod({num(2), var("x")}), num(3), quot(var("y"), num(4)), term(5, "z")}),
                  prod({num(7), sum({var("a"), num(1)})}));
    };
    const ExprPtr root = tree();
    const ExprShape shape(*root);
    EXPECT_EQ(shape.terms(), root->getSolos().size());
    for (const auto& list : root->childrenOfType<ExprList>()) {
        const auto& members = list->exprs();
        for (size_t from = 0; from < members.size(); ++from) {
            for (size_t to = 0; to < members.size(); ++to) {
                if (to == from)
                    continue;
                const auto commute = StepCommute::stepCommuteWithPrincipal(members[from], members[to]);
                const ExprPtr moved = applyToIdCopy(*commute, *root);
                SCOPED_TRACE(list->description() + " " + std::to_string(from) + " to " + std::to_string(to));
                EXPECT_EQ(shape.withMemberMoved(*list, from, to), ExprShape(*moved).bytes());
            }
        }
    }
    EXPECT_THROW(shape.withMemberMoved(*tree(), 0, 1), std::invalid_argument);
}

TEST(ExprShape, ReplacingATermWritesWhatTheFactorizationBuilds) {
    // Terms in a sum, in a product (where the new product joins it), in a fraction and alone.
    const ExprPtr trees[] = {
        quot(sum({prod({num(6), term(4, "x")}), num(12), term(-6, "y")}), num(9)),
        term(15, "a"),
    };
    for (const ExprPtr& root : trees) {
        const ExprShape shape(*root);
        for (const auto& original : root->getSolos()) {
            for (const auto& product : original->getFactorizedProductPairs()) {
                if (StepFactorize::exprReplacementWillFail(*product))
                    continue;
                const auto step = StepFactorize::stepFactorizeWithOg(original, product);
                const ExprPtr factorized = applyToIdCopy(*step, *root);
                SCOPED_TRACE(root->description() + " becomes " + factorized->description());
                const bool spliced = isExactly<ExprProduct>(original->exprParent());
                EXPECT_EQ(shape.withNodeReplaced(*original, ExprShape(*product), spliced),
                          ExprShape(*factorized).bytes());
            }
        }
    }
}

TEST(ExprShape, JoiningNeighboursWritesWhatTheTapBuilds) {
    // Joins in a longer list, in a list of two that gives way to the term, and at the top.
    const ExprPtr trees[] = {
        quot(sum({term(2, "x"), term(3, "x"), num(4), prod({num(2), num(3)}), num(1)}), num(5)),
        sum({num(1), num(2)}),
    };
    for (const ExprPtr& root : trees) {
        const ExprShape shape(*root);
        int joins = 0;
        for (const OperatorPtr& op : root->getOps()) {
            const ExprPtr left = op->firstExpr();
            const ExprPtr right = op->secondExpr();
            const StepPtr step = op->step();
            if (!step || !isExactly<ExprSoloist>(left) || !isExactly<ExprSoloist>(right))
                continue;
            const ExprPtr joined = isExactly<OpPlus>(op) ? left->addExpr(right, nullptr, nullptr)
                                                         : left->multiplyExpr(right, nullptr, nullptr);
            if (!joined)
                continue;
            const auto list = std::static_pointer_cast<ExprList>(left->exprParent());
            const size_t at = static_cast<size_t>(
                std::find(list->exprs().begin(), list->exprs().end(), left) - list->exprs().begin());
            const ExprPtr tapped = applyToIdCopy(*step, *root);
            SCOPED_TRACE(root->description() + " becomes " + tapped->description());
            EXPECT_EQ(shape.withNeighboursJoined(*list, at, ExprShape(*joined)), ExprShape(*tapped).bytes());
            ++joins;
        }
        EXPECT_GT(joins, 0);
    }
}

} // namespace
} // namespace zm
