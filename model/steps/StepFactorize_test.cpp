#include "model/ExprProduct.h"
#include "model/Operator.h"
#include "model/steps/StepFactorize.h"
#include "model/testing/ModalProbe.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(StepFactorize, ATermBecomesAnEqualProduct) {
    auto original = term(3, "x");
    auto root = sum({num(2), original});
    auto replacement = original->getFactorizedProductPairs().front();
    auto step = StepFactorize::stepFactorizeWithOg(original, replacement);
    EXPECT_EQ(step->description(), "stepFactorize(3x, 3 * x)");
    RecordingBaggage bag;
    EXPECT_EQ(step->applyToExpr(root, &bag), root);
    EXPECT_EQ(root->description(), "2 + 3 * x");
    // Without a position of its own the product grows out of the term.
    EXPECT_EQ(bag.records[0], Position(replacement->exprs()[0], original));
    EXPECT_EQ(bag.records[1], Position(replacement->exprs()[1], original));
    EXPECT_EQ(bag.records[2], Position(replacement->ops()[0], original));

    // A position recorded already (the factor-pair playground's) is kept.
    auto six = num(6);
    auto product = prod({num(2), six});
    auto pair = prod({num(2), num(3)});
    RecordingBaggage placed;
    placed.addPositionForObj(pair, six);
    StepFactorize::stepFactorizeWithOg(six, pair)->applyToExpr(product, &placed);
    EXPECT_EQ(placed.records.size(), 3u) << "no positions of its own, only the product's re-forming";
    EXPECT_EQ(product->description(), "2 * 2 * 3");
}

TEST(StepFactorize, APrimeOrAFirstFactorOneIsRefused) {
    auto seven = num(7);
    auto root = sum({var("x"), seven});
    RecordingBaggage bag;
    auto step = StepFactorize::stepFactorizeWithOg(seven, seven->getFactorizedProductPairs().front());
    EXPECT_EQ(step->applyToExpr(root, &bag), root);
    EXPECT_EQ(root->description(), "x + 7");
    EXPECT_THAT(bag.records, ElementsAre(Fail(seven)));

    RecordingBaggage single;
    StepFactorize::stepFactorizeWithOg(seven, num(7))->applyToExpr(root, &single);
    EXPECT_THAT(single.records, ElementsAre(Fail(seven)));
    RecordingBaggage fraction;
    StepFactorize::stepFactorizeWithOg(seven, quot(num(14), num(2)))->applyToExpr(root, &fraction);
    EXPECT_THAT(fraction.records, ElementsAre(Fail(seven)));

    EXPECT_TRUE(StepFactorize::exprReplacementWillFail(*prod({num(1), num(7)})));
    EXPECT_FALSE(StepFactorize::exprReplacementWillFail(*prod({num(2), num(3)})));
    EXPECT_FALSE(StepFactorize::exprReplacementWillFail(*num(6)));
}

TEST(StepFactorize, APowerOfAVariableOpensTheExponentsPlayground) {
    auto square = var("x", 2);
    ModalProbe probe;
    EXPECT_NE(
        StepFactorize::stepFactorizeWithOg(square, prod({num(1), var("x", 2)}))->createModalPlayground(probe),
        nullptr);
    EXPECT_THAT(probe.asked, ElementsAre("exponents-solo"));

    auto x = var("x");
    ModalProbe none;
    auto plain = StepFactorize::stepFactorizeWithOg(x, prod({num(1), var("x")}));
    EXPECT_EQ(plain->createModalPlayground(none), nullptr);
    EXPECT_THAT(none.asked, IsEmpty());
    RecordingBaggage bag;
    plain->applyToExpr(x, &bag);
    EXPECT_THAT(bag.records, ElementsAre(Fail(x)));
}

TEST(StepFactorize, RemadeWithACopyOfTheReplacement) {
    auto original = num(6);
    auto root = sum({var("x"), original});
    auto replacement = prod({num(2), num(3)});
    auto step = StepFactorize::stepFactorizeWithOg(original, replacement);
    ExprPtr copy = root->copy();
    copy->deepCopyExprIDsFromExpr(*root);
    auto remade = std::dynamic_pointer_cast<StepFactorize>(step->remakeStepFromExprIDsUsingExpr(copy));
    ASSERT_NE(remade, nullptr);
    EXPECT_NE(remade->replacement(), replacement);
    EXPECT_EQ(remade->replacement()->exprId(), replacement->exprId());
    EXPECT_EQ(remade->original(), copy->children()[1]);
    EXPECT_EQ(remade->applyToExpr(copy, nullptr)->description(), "x + 2 * 3");
    EXPECT_EQ(
        StepFactorize::stepFactorizeWithOg(original, replacement)->remakeStepFromExprIDsUsingExpr(num(1)),
        nullptr);
}

TEST(StepFactorizeChoices, OpensTheFactorPairPlaygroundAndChangesNothing) {
    auto twelve = num(12);
    auto root = sum({var("x"), twelve});
    StepFactorizeChoices step(twelve->getFactorizedProductPairs(), twelve);
    EXPECT_EQ(step.description(), "stepFactorizeChoices(12)");
    ModalProbe probe;
    EXPECT_NE(step.createModalPlayground(probe), nullptr);
    EXPECT_THAT(probe.asked, ElementsAre("factorize-choices"));
    EXPECT_EQ(step.applyToExpr(root, nullptr), root);
    EXPECT_EQ(root->description(), "x + 12");
    ExprPtr copy = root->copy();
    copy->deepCopyExprIDsFromExpr(*root);
    auto remade = std::dynamic_pointer_cast<StepFactorizeChoices>(step.remakeStepFromExprIDsUsingExpr(copy));
    ASSERT_NE(remade, nullptr);
    EXPECT_EQ(remade->choices().size(), 3u);
    EXPECT_NE(remade->choices()[0], step.choices()[0]);
}

TEST(StepFactorOut, Validation) {
    auto twoA = num(2), twoB = num(2);
    auto root = sum({prod({twoA, var("x")}), prod({twoB, var("y")})});
    EXPECT_TRUE(StepFactorOut::validateSolos({twoA, twoB}));
    EXPECT_FALSE(StepFactorOut::validateSolos({twoA}));
    EXPECT_FALSE(StepFactorOut::validateSolos({twoA, var("x")}));

    auto same1 = num(2), same2 = num(2);
    sum({prod({same1, same2}), var("z")});
    EXPECT_FALSE(StepFactorOut::validateSolos({same1, same2})) << "both in one product";

    auto x1 = var("x"), x2 = var("x");
    sum({x1, x2});
    EXPECT_FALSE(StepFactorOut::validateSolos({x1, x2})) << "no product: that is for adding";

    auto apart1 = num(3), apart2 = num(3);
    sum({prod({apart1, var("x")}), var("w")});
    sum({prod({apart2, var("y")}), var("w")});
    EXPECT_FALSE(StepFactorOut::validateSolos({apart1, apart2})) << "two different sums";

    auto single1 = term(2, "x"), single2 = term(2, "y");
    sum({single1, single2});
    EXPECT_EQ(StepFactorOut::stepFactorOutWithSolos({single1, single2}), nullptr);
}

TEST(StepFactorOut, Results) {
    {
        auto a = num(2), b = num(2);
        auto root = sum({prod({a, var("x")}), prod({b, var("y")})});
        auto step = StepFactorOut::stepFactorOutWithSolos({a, b});
        ASSERT_NE(step, nullptr);
        EXPECT_TRUE(step->outLeft());
        RecordingBaggage bag;
        EXPECT_EQ(step->applyToExpr(root, &bag)->description(), "2 * (x + y)");
        EXPECT_NE(std::find(bag.records.begin(), bag.records.end(), Condemned(a, a)), bag.records.end());
    }
    {
        auto a = num(2), b = num(2);
        auto root = sum({prod({a, var("x")}), prod({b, var("y")})});
        auto step = StepFactorOut::stepFactorOutWithSolos({a, b});
        step->setOutLeft(false);
        EXPECT_EQ(step->applyToExpr(root, nullptr)->description(), "(x + y) * 2");
    }
    {
        auto a = var("x"), b = var("x");
        auto root = sum({a, prod({num(3), b})});
        EXPECT_EQ(StepFactorOut::stepFactorOutWithSolos({a, b})->applyToExpr(root, nullptr)->description(),
                  "x * (1 + 3)");
    }
    {
        auto a = num(2), b = num(2);
        auto root = eq(sum({prod({a, var("x")}), num(5), prod({b, var("y")})}), num(9));
        EXPECT_EQ(StepFactorOut::stepFactorOutWithSolos({a, b})->applyToExpr(root, nullptr)->description(),
                  "2 * (x + y) + 5 = 9");
    }
    {
        auto a = num(2), b = num(2), c = num(2);
        auto root = sum({prod({a, var("x")}), prod({b, var("y")}), prod({c, var("z")})});
        const OperatorPtr survivingPlus = root->ops()[1]; // the "+" before the second term goes with it
        RecordingBaggage bag;
        auto result = StepFactorOut::stepFactorOutWithSolos({a, b, c})->applyToExpr(root, &bag);
        EXPECT_EQ(result->description(), "2 * (x + y + z)");
        auto inner =
            std::static_pointer_cast<ExprSum>(std::static_pointer_cast<ExprProduct>(result)->exprs()[1]);
        for (const OperatorPtr& op : inner->ops())
            EXPECT_NE(std::find(bag.records.begin(), bag.records.end(), Position(op, survivingPlus)),
                      bag.records.end());
    }
}

TEST(StepFactorOut, RemadeAndFromViews) {
    auto a = num(2), b = num(2);
    auto root = sum({prod({a, var("x")}), prod({b, var("y")})});
    auto step = StepFactorOut::stepFactorOutWithSolos({a, b});
    step->setOutLeft(false);
    ExprPtr copy = root->copy();
    copy->deepCopyExprIDsFromExpr(*root);
    auto remade = std::dynamic_pointer_cast<StepFactorOut>(step->remakeStepFromExprIDsUsingExpr(copy));
    ASSERT_NE(remade, nullptr);
    EXPECT_TRUE(remade->outLeft());
    EXPECT_EQ(remade->applyToExpr(copy, nullptr)->description(), "2 * (x + y)");

    struct View {
        ExprPtr expr;
        ExprPtr getExpr() const { return expr; }
    };
    auto fromViews = StepFactorOut::stepFactorOutFromExprViews(
        std::vector<std::shared_ptr<View>>{std::make_shared<View>(View{a}), std::make_shared<View>(View{b})});
    ASSERT_NE(fromViews, nullptr);
    EXPECT_THAT(fromViews->solos(), ElementsAre(a, b));
}

} // namespace
} // namespace zm
