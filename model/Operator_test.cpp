#include "model/Operator.h"
#include "model/ViewFactory.h"
#include "model/steps/StepAdd.h"
#include "model/steps/StepMultiply.h"
#include "model/testing/Trees.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(Operator, CountedIdsSkipPlainOperators) {
    auto first = std::make_shared<OpPlus>(num(1), num(2));
    auto paren = std::make_shared<OpParen>(true);
    auto equals = std::make_shared<OpEquals>();
    auto second = std::make_shared<OpTimes>(num(1), num(2));
    EXPECT_EQ(second->opId(), first->opId() + 1);
    EXPECT_EQ(paren->opId(), 0);
    EXPECT_EQ(equals->opId(), 0);
    EXPECT_EQ(paren->firstExpr(), nullptr);
    EXPECT_EQ(equals->secondExpr(), nullptr);
}

TEST(Operator, NoCountedOperatorTakesTheIdOfTheEqualsSign) {
    // Whether or not this "+" is the first counted operator of the process, its id is not the "="'s,
    // so the trial of a tap on it, remade on an id copy of the equation, finds the "+".
    auto left = sum({num(1), num(2)});
    auto root = eq(left, var("x"));
    auto plus = std::static_pointer_cast<OpPlus>(left->ops()[0]);
    EXPECT_NE(plus->opId(), root->op()->opId());
    EXPECT_TRUE(stepChangesExpr(*plus->step(), *root));
}

TEST(Operator, Symbols) {
    EXPECT_EQ(Operator().getSymbol(), "NONE");
    EXPECT_EQ(OpPlus().getSymbol(), "+");
    EXPECT_EQ(OpTimes().getSymbol(), "*");
    EXPECT_EQ(OpDivide().getSymbol(), "/");
    EXPECT_EQ(OpEquals().getSymbol(), "=");
    EXPECT_EQ(OpParen(true).getSymbol(), "(");
    EXPECT_EQ(OpParen(false).getSymbol(), ")");
}

TEST(Operator, StepsOfATap) {
    auto list = sum({var("x"), num(2)});
    auto plus = std::static_pointer_cast<OpPlus>(list->ops()[0]);
    auto first = std::dynamic_pointer_cast<StepAdd>(plus->step());
    auto second = std::dynamic_pointer_cast<StepAdd>(plus->step());
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->plus(), plus);
    EXPECT_EQ(second->plus(), plus);

    auto product = prod({var("x"), num(2)});
    auto multiply = std::dynamic_pointer_cast<StepMultiply>(product->ops()[0]->step());
    ASSERT_TRUE(multiply);
    EXPECT_EQ(multiply->times(), product->ops()[0]);

    EXPECT_EQ(quot(num(1), num(2))->op()->step(), nullptr);
    EXPECT_EQ(eq(num(1), num(2))->op()->step(), nullptr);
    EXPECT_EQ(list->leftParen()->step(), nullptr);
}

// Records which maker the model asked for; the views themselves belong to the playground.
class ViewFactoryProbe : public ViewFactory {
public:
    std::shared_ptr<ExprView> makeExprViewSoloist(const std::shared_ptr<ExprSoloist>& node,
                                                  Baggage*) override {
        return note("soloist", node);
    }
    std::shared_ptr<ExprView> makeExprViewEquation(const std::shared_ptr<ExprEquation>& node,
                                                   Baggage*) override {
        return note("equation", node);
    }
    std::shared_ptr<ExprView> makeExprViewQuotient(const std::shared_ptr<ExprQuotient>& node,
                                                   Baggage*) override {
        return note("quotient", node);
    }
    std::shared_ptr<ExprView> makeExprViewSum(const std::shared_ptr<ExprSum>& node, Baggage*) override {
        return note("sum", node);
    }
    std::shared_ptr<ExprView> makeExprViewProduct(const std::shared_ptr<ExprProduct>& node,
                                                  Baggage*) override {
        return note("product", node);
    }
    std::shared_ptr<IGenericView> makeOpViewPlus(const std::shared_ptr<OpPlus>& op) override {
        return noteOp("plus", op);
    }
    std::shared_ptr<IGenericView> makeOpViewTimes(const std::shared_ptr<OpTimes>& op) override {
        return noteOp("times", op);
    }
    std::shared_ptr<IGenericView> makeOpViewDivide(const std::shared_ptr<OpDivide>& op) override {
        return noteOp("divide", op);
    }
    std::shared_ptr<IGenericView> makeOpViewEquals(const std::shared_ptr<OpEquals>& op) override {
        return noteOp("equals", op);
    }
    std::shared_ptr<IGenericView> makeOpViewParen(const std::shared_ptr<OpParen>& op) override {
        return noteOp("paren", op);
    }

    std::vector<std::string> made;
    std::vector<ModelObjectPtr> objects;

private:
    std::shared_ptr<ExprView> note(const char* kind, ModelObjectPtr object) {
        made.push_back(kind);
        objects.push_back(std::move(object));
        return nullptr;
    }
    std::shared_ptr<IGenericView> noteOp(const char* kind, ModelObjectPtr object) {
        note(kind, std::move(object));
        return nullptr;
    }
};

TEST(ViewHooks, EachClassAsksForItsOwnView) {
    ViewFactoryProbe views;
    auto x = var("x");
    auto fraction = quot(x, num(2));
    auto equation = eq(fraction, num(3));
    auto list = sum({num(1), num(2)});
    auto product = prod({num(1), num(2)});
    for (const ExprPtr& node : std::vector<ExprPtr>{x, equation, fraction, list, product})
        node->makeExprViewFromPlaygroundView(views, nullptr);
    for (const OperatorPtr& op : {list->ops()[0], product->ops()[0], fraction->op(), equation->op(),
                                  std::static_pointer_cast<Operator>(list->rightParen())})
        op->makeOpViewFromPlaygroundView(views);
    EXPECT_EQ(views.made, (std::vector<std::string>{"soloist", "equation", "quotient", "sum", "product",
                                                    "plus", "times", "divide", "equals", "paren"}));
    EXPECT_EQ(views.objects[0], x);
    EXPECT_EQ(views.objects[9], list->rightParen());
}

} // namespace
} // namespace zm
