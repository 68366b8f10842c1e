#include "model/ExprList.h"
#include "model/Operator.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every operator joins exactly its two neighbours.
void expectLinked(const ExprList& list) {
    ASSERT_EQ(list.ops().size() + 1, list.exprs().size());
    for (size_t i = 0; i < list.ops().size(); ++i) {
        EXPECT_EQ(list.ops()[i]->firstExpr(), list.exprs()[i]) << i;
        EXPECT_EQ(list.ops()[i]->secondExpr(), list.exprs()[i + 1]) << i;
    }
    for (const ExprPtr& member : list.exprs())
        EXPECT_EQ(member->exprParent().get(), &list);
}

TEST(ExprListMaking, SplicesItsOwnClassOnly) {
    EXPECT_EQ(sum({var("a")}), nullptr);
    EXPECT_EQ(sum({var("a"), nullptr}), nullptr);
    auto inner = sum({var("a"), var("b")});
    auto outer = sum({inner, var("c")});
    EXPECT_EQ(outer->description(), "a + b + c");
    EXPECT_EQ(outer->exprs().size(), 3u);
    EXPECT_NE(outer->ops()[0], inner->ops()[0]) << "the operators are made anew";
    expectLinked(*outer);
    auto mixed = sum({prod({num(2), var("x")}), var("y")});
    EXPECT_TRUE(isExactly<ExprProduct>(mixed->exprs()[0]));
    EXPECT_EQ(mixed->leftParen()->opId(), 0);
    EXPECT_TRUE(mixed->leftParen()->isLeft());
    EXPECT_FALSE(mixed->rightParen()->isLeft());
}

struct Abc {
    std::shared_ptr<ExprSoloist> a = var("a"), b = var("b"), c = var("c");
    std::shared_ptr<ExprSum> list = sum({a, b, c});
    OperatorPtr ab = list->ops()[0], bc = list->ops()[1];
};

TEST(ExprListKill, TheOperatorBeforeTheMemberGoesExceptForTheFirst) {
    {
        Abc t;
        RecordingBaggage bag;
        EXPECT_EQ(t.list->killExpr(t.b, &bag), t.list);
        EXPECT_EQ(t.list->description(), "a + c");
        EXPECT_THAT(t.list->ops(), ElementsAre(t.bc));
        EXPECT_THAT(bag.records, ElementsAre(Condemned(t.ab, t.ab)));
        expectLinked(*t.list);
    }
    {
        Abc t;
        RecordingBaggage bag;
        t.list->killExpr(t.a, &bag);
        EXPECT_THAT(t.list->ops(), ElementsAre(t.bc));
        EXPECT_THAT(bag.records, ElementsAre(Condemned(t.ab, t.ab)));
    }
    {
        Abc t;
        RecordingBaggage bag;
        t.list->killExpr(t.c, &bag);
        EXPECT_THAT(t.list->ops(), ElementsAre(t.ab));
        EXPECT_THAT(bag.records, ElementsAre(Condemned(t.bc, t.bc)));
    }
}

TEST(ExprListKill, TwoMembersDissolveIntoTheSurvivor) {
    auto a = var("a");
    auto b = var("b");
    auto pair = sum({a, b});
    auto outer = prod({num(2), pair});
    RecordingBaggage bag;
    EXPECT_EQ(pair->killExpr(b, &bag), a);
    EXPECT_EQ(a->exprParent(), outer);
    EXPECT_THAT(bag.records, IsEmpty());
    EXPECT_EQ(pair->killExpr(pair, &bag), nullptr);
}

TEST(ExprListKill, ASurvivingSumIsSplicedWithItsOperator) {
    auto x = var("x");
    auto y = var("y");
    auto two = num(2);
    auto inner = sum({x, y});
    auto product = prod({two, inner});
    auto outer = sum({num(1), product});
    const OperatorPtr outerPlus = outer->ops()[0];
    const OperatorPtr innerPlus = inner->ops()[0];
    RecordingBaggage bag;
    EXPECT_EQ(outer->killExpr(two, &bag), outer);
    EXPECT_EQ(outer->description(), "1 + x + y");
    EXPECT_THAT(outer->ops(), ElementsAre(outerPlus, innerPlus));
    EXPECT_THAT(bag.records, ElementsAre(Position(outerPlus, outerPlus), Position(innerPlus, innerPlus)));
    expectLinked(*outer);
}

TEST(ExprListReform, InsertingAndAppendingKeepEveryOperator) {
    auto a = var("a");
    auto b = var("b");
    auto list = sum({a, b});
    const OperatorPtr old = list->ops()[0];
    RecordingBaggage bag;
    list->insertExpr(var("n"), 0, &bag);
    EXPECT_EQ(list->description(), "n + a + b");
    ASSERT_EQ(list->ops().size(), 2u);
    EXPECT_EQ(list->ops()[0], old);
    EXPECT_EQ(list->ops()[1]->firstExpr(), a);
    EXPECT_THAT(bag.records, ElementsAre(Position(old, old), Position(list->ops()[1], old)));
    expectLinked(*list);

    RecordingBaggage appended;
    list->insertExpr(var("z"), 1, &appended);
    EXPECT_EQ(list->description(), "n + a + b + z");
    EXPECT_THAT(appended.records, ElementsAre(Position(list->ops()[0], list->ops()[0]),
                                              Position(list->ops()[1], list->ops()[1]),
                                              Position(list->ops()[2], list->ops()[1])));
}

TEST(ExprListReform, SeveralMembersGoneAtOnceLeaveOneOperatorPerPair) {
    auto a = var("a"), b = var("b"), c = var("c"), d = var("d");
    {
        auto list = sum({a, b, c, d});
        auto ops = list->ops();
        RecordingBaggage bag;
        list->setExprs({a, d});
        list->reformOpsWithBaggage(&bag);
        EXPECT_THAT(list->ops(), ElementsAre(ops[2]));
        EXPECT_THAT(bag.records, ElementsAre(Condemned(ops[0], ops[0]), Condemned(ops[1], ops[1])));
        expectLinked(*list);
    }
    {
        auto list = sum({a, b, c, d});
        auto ops = list->ops();
        RecordingBaggage bag;
        list->setExprs({c, d});
        list->reformOpsWithBaggage(&bag);
        EXPECT_THAT(list->ops(), ElementsAre(ops[2]));
        EXPECT_THAT(bag.records, ElementsAre(Condemned(ops[0], ops[0]), Condemned(ops[1], ops[1])));
        expectLinked(*list);
    }
    {
        // Two gone and one new: the count still comes out right.
        auto list = sum({a, b, c, d});
        list->setExprs({var("e"), var("f"), d});
        list->reformOpsWithBaggage(nullptr);
        expectLinked(*list);
    }
}

TEST(ExprListReplace, OneForOneKeepsTheOperators) {
    Abc t;
    auto z = var("z");
    RecordingBaggage bag;
    EXPECT_EQ(t.list->replaceExpr(t.b, z, &bag), t.list);
    EXPECT_EQ(t.list->description(), "a + z + c");
    EXPECT_THAT(t.list->ops(), ElementsAre(t.ab, t.bc));
    EXPECT_THAT(bag.records, ElementsAre(Position(t.ab, t.ab), Position(t.bc, t.bc)));
    expectLinked(*t.list);
    EXPECT_EQ(t.list->replaceExpr(t.list, z, nullptr), z);
}

TEST(ExprListReplace, ANestedSumStaysUntilTheNextRebuild) {
    auto list = sum({var("a"), var("b")});
    auto nested = sum({var("c"), var("d")});
    list->insertExpr(nested, 1, nullptr);
    EXPECT_EQ(list->exprs().size(), 3u);
    EXPECT_EQ(list->exprs()[2], nested);
    auto z = var("z");
    list->replaceExpr(list->exprs()[0], z, nullptr);
    EXPECT_EQ(list->exprs().size(), 4u);
    EXPECT_EQ(list->description(), "z + b + c + d");
    expectLinked(*list);
}

TEST(ExprListCopy, CopiesGrowOutOfTheOriginals) {
    Abc t;
    RecordingBaggage bag;
    auto copy = std::static_pointer_cast<ExprSum>(t.list->copyWithBag(&bag));
    EXPECT_EQ(copy->description(), "a + b + c");
    EXPECT_THAT(bag.records, ElementsAre(Position(copy->exprs()[0], t.a), Position(copy->exprs()[1], t.b),
                                         Position(copy->exprs()[2], t.c), Position(copy->ops()[0], t.ab),
                                         Position(copy->ops()[1], t.bc)));
    auto plain = t.list->copy();
    EXPECT_TRUE(plain->isExactMatch(*t.list));
    EXPECT_NE(std::static_pointer_cast<ExprSum>(plain)->exprs()[0], t.a);
}

TEST(ExprListJoin, TheTable) {
    struct Case {
        std::shared_ptr<ExprList> receiver;
        ArithmeticType type;
        int32_t position;
        const char* text;
        bool inPlace;
    };
    const Case cases[] = {
        {sum({var("a"), var("b")}), ArithmeticTypeAdd, 0, "e + a + b", true},
        {sum({var("a"), var("b")}), ArithmeticTypeAdd, 1, "a + b + e", true},
        {sum({var("a"), var("b")}), ArithmeticTypeMultiply, 0, "e * (a + b)", false},
        {sum({var("a"), var("b")}), ArithmeticTypeMultiply, 1, "(a + b) * e", false},
        {sum({var("a"), var("b")}), ArithmeticTypeDivide, 0, "(a + b) / e", false},
        {prod({var("a"), var("b")}), ArithmeticTypeAdd, 0, "e + a * b", false},
        {prod({var("a"), var("b")}), ArithmeticTypeMultiply, 1, "a * b * e", true},
        {prod({var("a"), var("b")}), ArithmeticTypeDivide, 1, "(a * b) / e", false},
    };
    for (const Case& c : cases) {
        RecordingBaggage bag;
        ExprPtr joined = c.receiver->insertExpr(var("e"), &bag, c.type, c.position);
        ASSERT_NE(joined, nullptr);
        EXPECT_EQ(joined->description(), c.text);
        EXPECT_EQ(joined == c.receiver, c.inPlace) << c.text;
        if (c.inPlace)
            continue;
        ModelObjectPtr op = c.type == ArithmeticTypeDivide
                                ? std::static_pointer_cast<ExprQuotient>(joined)->op()
                                : std::static_pointer_cast<ExprList>(joined)->ops().back();
        EXPECT_THAT(bag.records, ElementsAre(Position(op, c.receiver))) << c.text;
    }
    EXPECT_EQ(sum({var("a"), var("b")})->insertExpr(var("e"), nullptr, static_cast<ArithmeticType>(7), 0),
              nullptr);
}

TEST(ExprListNeutral, ZeroAndOneAreAbsorbed) {
    auto list = sum({var("x"), num(1)});
    auto zero = term(0, "y");
    RecordingBaggage bag;
    EXPECT_EQ(list->addExpr(zero, nullptr, &bag), list);
    EXPECT_THAT(bag.records, ElementsAre(Condemned(zero, list)));
    EXPECT_EQ(list->addExpr(num(2), nullptr, nullptr), nullptr);
    auto product = prod({num(2), var("x")});
    EXPECT_EQ(product->multiplyExpr(num(1), nullptr, nullptr), product);
    EXPECT_EQ(product->multiplyExpr(var("x"), nullptr, nullptr), nullptr);
    EXPECT_EQ(product->multiplyExpr(term(1, "num", 2), nullptr, nullptr), product) << "1^2 is 1";
}

TEST(ExprListNegation, SumsProductsAndMinusOne) {
    auto x = var("x");
    auto list = sum({x, num(1)});
    RecordingBaggage bag;
    ExprPtr negative = list->getNegativeWithBaggage(&bag);
    EXPECT_EQ(negative->description(), "-1 * (x + 1)");
    auto product = std::static_pointer_cast<ExprProduct>(negative);
    EXPECT_EQ(product->exprs()[1], list);
    EXPECT_THAT(bag.records,
                ElementsAre(Position(product->exprs()[0], x), Position(product->ops()[0], list)));

    auto minusX = prod({num(-1), var("x")});
    EXPECT_EQ(minusX->getNegativeWithBaggage(nullptr)->description(), "x");

    auto two = num(2);
    auto twoX = prod({two, var("x")});
    const OperatorPtr times = twoX->ops()[0];
    RecordingBaggage bag2;
    EXPECT_EQ(twoX->getNegativeWithBaggage(&bag2), twoX);
    EXPECT_EQ(twoX->description(), "-2 * x");
    EXPECT_THAT(twoX->ops(), ElementsAre(times));
    const ExprPtr minusTwo = twoX->exprs()[0];
    EXPECT_THAT(bag2.records,
                ElementsAre(Position(minusTwo, two), Position(minusTwo, two), Position(times, times)));
}

TEST(ExprListSubstitute, EveryTermOfTheVariable) {
    auto list = sum({term(2, "x"), var("y"), var("x")});
    auto result = list->substituteVar("x", num(5), nullptr);
    EXPECT_EQ(result, list);
    EXPECT_EQ(list->description(), "2 * 5 + y + 5");
    expectLinked(*list);
}

} // namespace
} // namespace zm
