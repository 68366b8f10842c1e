#include "model/Expr.h"
#include "model/Operator.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;

int32_t nextExprIdSnapshot() {
    return num(0)->exprId() + 1;
}

TEST(ExprIds, NodesNumberedInOrderOfCreationAndCopiesChildrenFirst) {
    const int32_t base = nextExprIdSnapshot();
    auto x = var("x");
    auto one = num(1);
    auto two = num(2);
    auto inner = sum({x, one});
    auto tree = prod({inner, two});
    EXPECT_EQ(x->exprId(), base);
    EXPECT_EQ(tree->exprId(), base + 4);

    // A copy of five nodes made right after takes the next five ids, each node after its children.
    ExprPtr copy = tree->copy();
    auto copyProduct = std::static_pointer_cast<ExprProduct>(copy);
    auto copySum = std::static_pointer_cast<ExprSum>(copyProduct->exprs()[0]);
    EXPECT_EQ(copySum->exprs()[0]->exprId(), base + 5);
    EXPECT_EQ(copySum->exprs()[1]->exprId(), base + 6);
    EXPECT_EQ(copySum->exprId(), base + 7);
    EXPECT_EQ(copyProduct->exprs()[1]->exprId(), base + 8);
    EXPECT_EQ(copy->exprId(), base + 9);
}

TEST(ExprIds, ListRefusingItsMembersStillUsesAnId) {
    const int32_t base = nextExprIdSnapshot();
    auto x = var("x");
    EXPECT_EQ(sum({x}), nullptr);
    EXPECT_EQ(num(1)->exprId(), base + 2);
}

TEST(ExprIds, DeepCopyOfIdsMakesLookupsFindTheCounterpart) {
    auto x = var("x");
    auto times = prod({num(2), x});
    auto tree = eq(sum({times, num(1)}), num(7));
    ExprPtr copy = tree->copy();
    EXPECT_EQ(copy->getExprWithId(x->exprId()), nullptr);

    copy->deepCopyExprIDsFromExpr(*tree);
    ExprPtr found = copy->getExprWithId(x->exprId());
    ASSERT_NE(found, nullptr);
    EXPECT_NE(found, x);
    EXPECT_TRUE(found->isEquivalent(*x));
    OperatorPtr op = copy->getOpWithId(times->ops()[0]->opId());
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->firstExpr()->description(), "2");
    EXPECT_EQ(copy->getSolos().size(), tree->getSolos().size());
}

TEST(ExprLookups, ExactClassAndDistance) {
    auto x = var("x");
    auto inner = sum({x, num(1)});
    auto tree = prod({num(2), inner});
    EXPECT_EQ(tree->getExprWithId<ExprList>(inner->exprId()), nullptr);
    EXPECT_EQ(tree->getExprWithId<ExprSum>(inner->exprId()), inner);
    EXPECT_EQ(tree->getExprWithId<ExprProduct>(inner->exprId()), nullptr);

    EXPECT_EQ(x->getAncestorOfType<ExprSum>(1), inner);
    EXPECT_EQ(x->getAncestorOfType<ExprProduct>(1), nullptr);
    EXPECT_EQ(x->getAncestorOfType<ExprProduct>(2), tree);
    EXPECT_EQ(x->getAncestorOfType<ExprSum>(0), nullptr);
    EXPECT_EQ(x->getAncestorOfType<ExprList>(2), nullptr);
}

TEST(ExprLookups, OperatorsParenthesesAndIdentity) {
    auto x = var("x");
    auto tree = eq(sum({x, num(1)}), num(5));
    auto list = std::static_pointer_cast<ExprSum>(tree->firstExpr());
    // The "=" and the parentheses have id 0; the search finds the "=" first and never a parenthesis.
    EXPECT_EQ(list->leftParen()->opId(), 0);
    EXPECT_EQ(tree->getOpWithId(0), tree->op());
    auto alone = sum({var("y"), num(2)});
    EXPECT_NE(alone->getOpWithId(0), alone->leftParen());

    EXPECT_THAT(tree->getOps(), ElementsAre(list->ops()[0], tree->op()));
    EXPECT_TRUE(tree->hasExpr(x.get()));
    EXPECT_TRUE(tree->isAncestorOfExpr(x.get()));
    EXPECT_FALSE(tree->isAncestorOfExpr(tree.get()));
    EXPECT_FALSE(tree->hasExpr(var("x").get()));
}

TEST(ExprLookups, ChildrenOfTypeIsAKindTestReceiverFirst) {
    auto fraction = quot(var("x"), num(2));
    auto tree = eq(fraction, num(3));
    auto binaries = tree->childrenOfType<ExprBinary>();
    ASSERT_EQ(binaries.size(), 2u);
    EXPECT_EQ(binaries[0], tree);
    EXPECT_EQ(binaries[1], fraction);
    EXPECT_EQ(tree->childrenOfType<ExprSoloist>().size(), 3u);
}

TEST(ExprVariables, KeyVarAndMultipleVariables) {
    EXPECT_FALSE(sum({num(3), num(4)})->getKeyVar().has_value());
    EXPECT_EQ(sum({num(3), term(2, "y"), var("x")})->getKeyVar(), "y");
    EXPECT_FALSE(Expr::exprHasMultipleVariables(*sum({num(3), num(4)})));
    EXPECT_FALSE(Expr::exprHasMultipleVariables(*sum({var("x"), term(2, "x")})));
    EXPECT_TRUE(Expr::exprHasMultipleVariables(*sum({var("x"), var("y")})));

    auto tree = sum({var("x"), num(2), var("null")});
    tree->setKeyVar("z");
    EXPECT_EQ(tree->description(), "z + 2 + z");
    auto nulls = sum({var("null"), var("x")});
    nulls->removeNullVars();
    EXPECT_EQ(nulls->description(), "1 + x");
}

TEST(ExprRecording, PositionMeGrowsASubtreeOutOfOnePoint) {
    auto a = var("a");
    auto b = num(2);
    auto list = sum({a, b});
    auto origin = num(9);
    RecordingBaggage bag;
    list->positionMeWithBag(&bag, origin);
    EXPECT_THAT(bag.records,
                ElementsAre(Position(a, origin), Position(b, origin), Position(list->ops()[0], origin),
                            Position(list->leftParen(), origin), Position(list->rightParen(), origin)));
}

} // namespace
} // namespace zm
