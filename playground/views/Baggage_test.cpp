#include "model/Operator.h"
#include "model/testing/Trees.h"
#include "playground/views/Baggage.h"
#include "playground/views/DeathManager.h"
#include "playground/views/ExprView.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// An old view standing for one model object at a fixed box; it records where it is sent.
class FakeView : public ExprView {
public:
    static std::shared_ptr<FakeView> create(ModelObjectPtr obj, core::Rect box) {
        std::shared_ptr<FakeView> view(new FakeView);
        view->m_obj = std::move(obj);
        view->m_box = box;
        return view;
    }
    ModelObjectPtr getObj() const override { return m_obj; }
    core::Rect getHitbox() const override { return m_box; }
    std::shared_ptr<ExprView> viewWithExpr(const Expr* expr) const override {
        return expr && expr == m_obj.get() ? sharedAs() : nullptr;
    }
    std::shared_ptr<IGenericView> viewWithOp(const Operator* op) const override {
        return op && static_cast<const ModelObject*>(op) == m_obj.get() ? sharedAs() : nullptr;
    }
    GenericViewList getBaseNodeGenericViews() const override { return {sharedAs()}; }
    void moveTo(core::Point point, Anchor anchor) override {
        m_box = {pointAtAnchor(point, anchor), m_box.size};
    }
    void alterAlpha(float a) override { alpha = a; }

    float alpha = 1;

private:
    core::Point pointAtAnchor(core::Point point, Anchor anchor) const {
        return anchor == AnchorCenter ? core::Point{point.x - m_box.width() / 2, point.y - m_box.height() / 2}
                                      : point;
    }

    ModelObjectPtr m_obj;
    core::Rect m_box;
};

// A tree of old views: several fakes under one root.
class FakeTree : public ExprView {
public:
    static std::shared_ptr<FakeTree> create(std::vector<std::shared_ptr<FakeView>> views) {
        std::shared_ptr<FakeTree> tree(new FakeTree);
        tree->m_views = std::move(views);
        return tree;
    }
    std::shared_ptr<IGenericView> viewWithObj(const ModelObject* obj) const override {
        for (const auto& view : m_views) {
            if (auto found = view->viewWithObj(obj))
                return found;
        }
        return nullptr;
    }
    std::shared_ptr<ExprView> viewWithExpr(const Expr* expr) const override {
        for (const auto& view : m_views) {
            if (auto found = view->viewWithExpr(expr))
                return found;
        }
        return nullptr;
    }

private:
    std::vector<std::shared_ptr<FakeView>> m_views;
};

TEST(Baggage, AnEmptyRecordFindsNothing) {
    Baggage bag;
    auto x = var("x");
    EXPECT_EQ(bag.getExistingViewForObj(x.get()), nullptr);
    EXPECT_EQ(bag.getPositionForObj(x.get()), nullptr);
    EXPECT_FALSE(bag.exprViewsContainExpr(x.get()));
    bag.addPositionForObj(var("y"), x);
    bag.addCondemned(x, x);
    EXPECT_TRUE(bag.positions().empty());
    EXPECT_TRUE(bag.condemned().empty());
}

TEST(Baggage, ANewObjectStartsAtItsStartObjectsOldViewAtTheAnchor) {
    auto old = num(3);
    auto born = num(4);
    Baggage bag(FakeView::create(old, {10, 20, 30, 40}));
    bag.addPositionForObj(born, old, AnchorBottomLeft);
    ZMPosPtr start = bag.getPositionForObj(born.get());
    ASSERT_TRUE(start);
    EXPECT_EQ(start->point(), (core::Point{10, 60}));
    EXPECT_EQ(start->anchor(), AnchorBottomLeft);
    EXPECT_TRUE(bag.hasPositionForObj(*born));
}

TEST(Baggage, ARecordedPositionWinsOverAnOldViewAndTheFirstRecordWins) {
    auto old = num(3);
    auto middle = num(4);
    auto last = num(5);
    Baggage bag(FakeView::create(old, {10, 20, 30, 40}));
    bag.addPositionForObj(old, *FakeView::create(nullptr, {100, 100, 10, 10}), AnchorTopLeft);
    bag.addPositionForObj(old, *FakeView::create(nullptr, {900, 900, 10, 10}), AnchorTopLeft);
    // A chain: each new object starts where the previous one does.
    bag.addPositionForObj(middle, old, AnchorBottomLeft);
    bag.addPositionForObj(last, middle, AnchorCenter);
    for (const auto& obj : {old, middle, last}) {
        ZMPosPtr start = bag.getPositionForObj(obj.get());
        ASSERT_TRUE(start);
        EXPECT_EQ(start->point(), (core::Point{100, 100}));
        EXPECT_EQ(start->anchor(), AnchorTopLeft);
    }
    // Without a recorded position or an old view nothing is recorded.
    auto stranger = num(9);
    bag.addPositionForObj(num(10), stranger);
    EXPECT_EQ(bag.positions().size(), 4u);
}

TEST(Baggage, OperatorViewsAreFoundInTheOldTreeBeforeTheLooseOnes) {
    auto plus = std::make_shared<OpPlus>(num(1), num(2));
    auto inTree = FakeView::create(plus, {0, 0, 5, 5});
    auto loose = FakeView::create(plus, {50, 50, 5, 5});
    Baggage bag;
    bag.addOpView(loose);
    EXPECT_EQ(bag.getExistingViewForObj(plus.get()), loose);
    bag.addExprView(FakeTree::create({inTree}));
    EXPECT_EQ(bag.getExistingViewForObj(plus.get()), inTree);
}

TEST(Baggage, DyingViewsGoToTheirEndObjectsOrToTheOrigin) {
    auto dying = num(1);
    auto end = num(2);
    auto dyingView = FakeView::create(dying, {0, 0, 10, 10});
    Baggage bag(FakeTree::create({dyingView, FakeView::create(end, {100, 100, 20, 20})}));
    bag.addCondemned(dying, end);
    bag.addCondemned(num(3), end); // had no view: nothing
    bag.addCondemned(dying, num(4), AnchorTopLeft);
    ASSERT_EQ(bag.condemned().size(), 2u);
    EXPECT_EQ(bag.condemned()[0].key, dyingView);
    EXPECT_EQ(bag.condemned()[0].value->point(), (core::Point{110, 110}));
    EXPECT_EQ(bag.condemned()[1].value->point(), (core::Point{0, 0}));

    DeathManager reaper;
    reaper.acceptCondemned({bag.condemned()[0]});
    reaper.animateDead();
    EXPECT_EQ(dyingView->getPointAtPosition(AnchorCenter), (core::Point{110, 110}));
    EXPECT_EQ(dyingView->alpha, 0);
    reaper.acceptCondemned({});
    EXPECT_TRUE(reaper.condemned().empty());
}

TEST(Baggage, AModalPlaygroundHandsItsPositionsOverAtTheCentres) {
    auto a = num(1);
    auto b = num(2);
    Baggage bag;
    bag.addGenericView(*FakeView::create(a, {0, 0, 10, 20}));
    bag.addGenericView(*FakeView::create(b, {100, 0, 10, 20}));
    ASSERT_TRUE(bag.getPositionForObj(b.get()));
    EXPECT_EQ(bag.getPositionForObj(b.get())->point(), (core::Point{105, 10}));
    EXPECT_EQ(bag.getPositionForObj(a.get())->anchor(), AnchorCenter);
}

TEST(Baggage, TheFailListAndTheAgentAreKept) {
    Baggage bag;
    auto x = var("x");
    bag.addFailForExpr(x);
    bag.addFailForExpr(nullptr);
    bag.setAgentExpr(x);
    EXPECT_EQ(bag.failList(), std::vector<ExprPtr>{x});
    EXPECT_EQ(bag.agentExpr(), x);
}

} // namespace
} // namespace zm
