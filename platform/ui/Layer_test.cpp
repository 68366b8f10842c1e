#include "platform/ui/Layer.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/UiTesting.h"

#include <string>
#include <vector>

namespace ui {
namespace {

class LayerAnimationTest : public testing::AnimationFixture {
protected:
    struct Listener : AnimationDelegate {
        void animationDidStop(const Animation& animation, bool finished) override {
            stops.push_back(std::string(keyFor(animation.property())) +
                            (finished ? " finished" : " stopped"));
        }
        std::vector<std::string> stops;
    };

    float strokeEnd(const ShapeLayer& layer) const {
        return std::get<float>(layer.presentationValue(LayerProperty::StrokeEnd));
    }

    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
};

TEST_F(LayerAnimationTest, StrokeEndDrawsTheLineAndTellsTheDelegate) {
    auto circle = ShapeLayer::create();
    circle->addAnimation(
        Animation::basic(LayerProperty::StrokeEnd, 0.0f, 1.0f).setDuration(2).setDelegate(listener),
        "drawCircleAnimation");
    EXPECT_FLOAT_EQ(strokeEnd(*circle), 0);
    advance(0.5);
    EXPECT_NEAR(strokeEnd(*circle), 0.25f, 1e-3);
    advance(1.6);
    EXPECT_FLOAT_EQ(strokeEnd(*circle), 1);
    EXPECT_EQ(listener->stops, (std::vector<std::string>{"strokeEnd finished"}));
    EXPECT_EQ(circle->animation("drawCircleAnimation"), nullptr);
}

TEST_F(LayerAnimationTest, ReplacingOrRemovingStopsUnfinished) {
    auto layer = ShapeLayer::create();
    const Animation draw =
        Animation::basic(LayerProperty::StrokeEnd, 0.0f, 1.0f).setDuration(1).setDelegate(listener);
    layer->addAnimation(draw, "strokeEnd");
    layer->addAnimation(draw, "strokeEnd");
    layer->addAnimation(draw, "other");
    EXPECT_EQ(layer->animationKeys(), (std::vector<std::string>{"strokeEnd", "other"}));
    layer->removeAllAnimations();
    settle();
    EXPECT_EQ(listener->stops,
              (std::vector<std::string>{"strokeEnd stopped", "strokeEnd stopped", "strokeEnd stopped"}));
}

TEST_F(LayerAnimationTest, DroppingALayerStopsItsAnimations) {
    auto layer = Layer::create();
    layer->addAnimation(Animation::basic(LayerProperty::Opacity, 0.0f, 1.0f).setDelegate(listener), "fade");
    layer.reset();
    settle();
    EXPECT_EQ(listener->stops, (std::vector<std::string>{"opacity stopped"}));
    advance(1); // the engine no longer holds the layer
}

TEST_F(LayerAnimationTest, APathMoveFillsForwardsInsideATransaction) {
    // A copy flies along a curve, stays at its end, and the transaction's completion clears it away.
    auto copy = Layer::create();
    copy->setPosition({0, 0});
    gfx::Path path;
    path.moveTo({0, 0});
    path.quadTo({100, 50}, {0, 100});
    bool cleared = false;
    Transaction::begin();
    Transaction::setCompletion([&] { cleared = true; });
    copy->addAnimation(Animation::alongPath(path)
                           .setDuration(0.25)
                           .setFillMode(FillMode::Forwards)
                           .setRemovedOnCompletion(false),
                       "curveAnimation");
    Transaction::commit();

    advance(0.125);
    EXPECT_GT(copy->presentation().position.x, 30); // bulging right, halfway down
    EXPECT_FALSE(cleared);
    advance(0.15);
    EXPECT_TRUE(cleared);
    EXPECT_NEAR(copy->presentation().position.y, 100, 1e-3);
    EXPECT_EQ(copy->position(), (core::Point{0, 0}));
    EXPECT_NE(copy->animation("curveAnimation"), nullptr);
}

TEST_F(LayerAnimationTest, AnEmptyTransactionCompletesOnTheNextTurn) {
    bool done = false;
    Transaction::begin();
    Transaction::setCompletion([&] { done = true; });
    Transaction::commit();
    EXPECT_FALSE(done);
    settle();
    EXPECT_TRUE(done);
}

TEST_F(LayerAnimationTest, StandaloneLayersChangeAtOnceAndKeepExplicitAnimations) {
    auto layer = Layer::create();
    layer->addAnimation(Animation::basic(LayerProperty::Opacity, 0.0f, 1.0f).setDuration(1), "fade");
    layer->setOpacity(0.5f);
    EXPECT_FLOAT_EQ(layer->opacity(), 0.5f);
    EXPECT_NE(layer->animation("fade"), nullptr);
}

TEST(LayerTree, SublayersAndMasks) {
    auto parent = Layer::create();
    auto a = Layer::create();
    auto b = Layer::create();
    parent->addSublayer(a);
    parent->insertSublayer(b, 0);
    EXPECT_EQ(parent->sublayers(), (std::vector<std::shared_ptr<Layer>>{b, a}));
    parent->insertSublayer(b, 2); // moving within the list
    EXPECT_EQ(parent->sublayers(), (std::vector<std::shared_ptr<Layer>>{a, b}));
    auto mask = Layer::create();
    parent->setMask(mask);
    EXPECT_EQ(mask->superlayer(), parent.get());
    a->setMask(mask); // a mask belongs to one layer
    EXPECT_EQ(parent->mask(), nullptr);
    EXPECT_EQ(mask->superlayer(), a.get());
    a->removeFromSuperlayer();
    EXPECT_EQ(parent->sublayers(), (std::vector<std::shared_ptr<Layer>>{b}));
}

TEST(LayerTree, FrameFollowsAnchorPointAndPosition) {
    auto layer = Layer::create();
    layer->setBounds({0, 0, 100, 50});
    layer->setAnchorPoint({0, 0});
    layer->setPosition({10, 20});
    EXPECT_EQ(layer->frame(), core::Rect(10, 20, 100, 50));
    layer->setFrame({0, 0, 30, 30});
    EXPECT_EQ(layer->position(), (core::Point{0, 0}));
}

} // namespace
} // namespace ui
