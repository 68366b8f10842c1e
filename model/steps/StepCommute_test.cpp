#include "model/steps/StepCommute.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(StepCommute, TheMovedTermTakesTheOthersPlace) {
    struct Case {
        size_t from, to;
        const char* text;
    };
    for (const Case& c : {Case{0, 2, "b + c + a"}, Case{2, 0, "c + a + b"}, Case{0, 1, "b + a + c"}}) {
        auto root = sum({var("a"), var("b"), var("c")});
        auto ops = root->ops();
        RecordingBaggage bag;
        auto step = StepCommute::stepCommuteWithPrincipal(root->exprs()[c.from], root->exprs()[c.to]);
        EXPECT_EQ(step->applyToExpr(root, &bag), root);
        EXPECT_EQ(root->description(), c.text);
        EXPECT_EQ(root->ops(), ops) << "the operators stay and are re-linked";
        EXPECT_THAT(bag.records, ElementsAre(Position(ops[0], ops[0]), Position(ops[1], ops[1])));
        EXPECT_EQ(root->ops()[0]->firstExpr(), root->exprs()[0]);
    }
}

TEST(StepCommute, NothingOnceTheTermIsNoListMember) {
    auto x = var("x");
    auto root = eq(x, num(2));
    RecordingBaggage bag;
    EXPECT_EQ(StepCommute::stepCommuteWithPrincipal(x, root->secondExpr())->applyToExpr(root, &bag), root);
    EXPECT_EQ(root->description(), "x = 2");
    EXPECT_THAT(bag.records, IsEmpty());
}

TEST(StepCommute, RemadeOnAnIdCopy) {
    auto root = prod({num(2), var("x"), var("y")});
    auto step = StepCommute::stepCommuteWithPrincipal(root->exprs()[2], root->exprs()[0]);
    ExprPtr tried = applyToIdCopy(*step, *root);
    ASSERT_NE(tried, nullptr);
    EXPECT_EQ(tried->description(), "y * 2 * x");
    EXPECT_EQ(root->description(), "2 * x * y");
}

} // namespace
} // namespace zm
