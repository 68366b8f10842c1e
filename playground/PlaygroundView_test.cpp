#include "model/steps/StepReplace.h"
#include "model/testing/Trees.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "playground/DrawingView.h"
#include "playground/PlaygroundView.h"
#include "playground/testing/PlayStage.h"
#include "playground/views/Baggage.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// A modal playground with one view, recording the touches it gets.
class TestModal : public Playground {
public:
    explicit TestModal(PlaygroundView& host)
        : Playground(host) {}
    void drawInitialState() override {
        if (auto host = playgroundView())
            host->showView(view);
    }
    ViewList getConcreteViews() override { return {view}; }
    void touchBegan(core::Point) override { touches.push_back("began"); }
    bool touchMoved(core::Point) override {
        touches.push_back("moved");
        return true;
    }
    bool touchEnded(core::Point) override {
        touches.push_back("ended");
        return true;
    }

    std::shared_ptr<ui::View> view = ui::View::create({10, 10, 50, 50});
    std::vector<std::string> touches;
};

class PlaygroundViewTest : public ::testing::Test {
protected:
    // Touches that no playground takes: outside the expression.
    void tapBeside() {
        stage.host.touchDown({5, 5});
        stage.host.touchUp({5, 5});
    }

    PlayStage stage;
};

TEST_F(PlaygroundViewTest, TwoDeclinedTouchUpsWithinAThirdOfASecondAreADoubleTap) {
    stage.start(sum({num(3), num(5)}));
    const double first = stage.host.now();
    tapBeside();
    EXPECT_DOUBLE_EQ(stage.playgroundView->lastTouchUp(), first);
    stage.host.advance(0.25);
    tapBeside();
    EXPECT_EQ(stage.playgroundView->lastTouchUp(), 0) << "a double tap";
    stage.host.advance(0.25);
    tapBeside();
    EXPECT_DOUBLE_EQ(stage.playgroundView->lastTouchUp(), stage.host.now()) << "not another double tap";

    // A tap a playground takes neither counts nor resets the time.
    const double kept = stage.playgroundView->lastTouchUp();
    stage.host.advance(0.1);
    stage.tap(stage.centerOf(stage.expr().get()));
    EXPECT_DOUBLE_EQ(stage.playgroundView->lastTouchUp(), kept);
}

TEST_F(PlaygroundViewTest, ADoubleTapFitsTheExpressionAgainAndEndsTheZoom) {
    stage.start(sum({num(3), num(5)}));
    const float fitted = stage.playgroundView->baseFontSize();
    stage.playgroundView->setZoomedIn(true);
    stage.playgroundView->setBaseFontSize(fitted * 2);
    stage.main().mainExprView()->setFontSize(fitted * 2, false);
    stage.playgroundView->doubleTapped();
    EXPECT_FLOAT_EQ(stage.main().mainExprView()->baseFontSize(), fitted);
    EXPECT_FLOAT_EQ(stage.playgroundView->baseFontSize(), fitted);
    EXPECT_FALSE(stage.playgroundView->zoomedIn());
    EXPECT_TRUE(stage.playgroundView->pivotAtCenter());
}

// A main expression of a given width, for the pivot's clamp.
class WideView : public ExprView {
public:
    static std::shared_ptr<WideView> create(float width) {
        std::shared_ptr<WideView> view(new WideView);
        view->m_width = width;
        return view;
    }
    float getWidth() const override { return m_width; }

private:
    float m_width = 0;
};

TEST(PlaygroundViewPivot, ATenthOfTheExpressionStaysInside) {
    PlaygroundStage stage(ui::Idiom::Phone);
    auto view = PlaygroundView::create({0, 0, 320, 200});
    stage.host.window().addSubview(view);
    auto main = std::make_shared<PlaygroundMain>(*view);
    view->setMainPlayground(main);
    main->setMainExprView(WideView::create(200));
    const std::pair<float, float> cases[] = {{-150, -80}, {450, 400}, {300, 300}, {-100, -100}, {420, 420}};
    for (auto [asked, kept] : cases) {
        view->setPivotPoint(core::Point{asked, 50});
        EXPECT_FLOAT_EQ(view->pivotPoint().x, kept) << asked;
        EXPECT_FLOAT_EQ(view->pivotPoint().y, 50);
    }
}

TEST_F(PlaygroundViewTest, ANewProblemClosesAModalPlayground) {
    stage.start(sum({num(3), num(5)}));
    auto modal = std::make_shared<TestModal>(*stage.playgroundView);
    stage.playgroundView->showModalPlayground(modal);
    EXPECT_TRUE(stage.playgroundView->modalVisible());
    stage.delegate->messages.clear();
    const std::shared_ptr<PlaygroundMain> old = stage.playgroundView->mainPlayground();

    stage.playgroundView->setNewProblem(nullptr);
    stage.settle();
    EXPECT_EQ(stage.delegate->messages, std::vector<std::string>{"dismissedModalPlayground(none)"});
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_EQ(stage.playgroundView->mainPlayground(), old);
    ASSERT_EQ(stage.playgroundView->subviews().size(), 1u);
    EXPECT_EQ(stage.playgroundView->subviews().front(), stage.playgroundView->drawingView());
    EXPECT_EQ(stage.playgroundView->veil(), nullptr);
}

TEST_F(PlaygroundViewTest, TouchesGoToTheModalPlaygroundWhileItIsShown) {
    auto expr = sum({num(3), num(5)});
    stage.start(expr);
    auto modal = std::make_shared<TestModal>(*stage.playgroundView);
    stage.playgroundView->showModalPlayground(modal);
    stage.settle();
    ASSERT_TRUE(stage.playgroundView->veil());
    EXPECT_FLOAT_EQ(stage.playgroundView->veil()->alpha(), 1);
    stage.drag(stage.centerOf(expr->exprs()[1].get()), {100, 100});
    EXPECT_EQ(modal->touches.front(), "began");
    EXPECT_EQ(modal->touches.back(), "ended");
    EXPECT_EQ(stage.text(), "3 + 5");
    // Double taps are ignored meanwhile.
    stage.playgroundView->doubleTapped();
    EXPECT_TRUE(stage.playgroundView->modalVisible());
}

TEST_F(PlaygroundViewTest, AModalCommitLeavesNoVeil) {
    auto expr = sum({num(3), num(5)});
    stage.start(expr);
    auto modal = std::make_shared<TestModal>(*stage.playgroundView);
    stage.playgroundView->showModalPlayground(modal);
    stage.host.advance(0.1);
    // The modal playground commits a step through the main one and closes.
    Baggage bag;
    stage.playgroundView->executeStepOneBelow(std::make_shared<StepFail>(std::vector<ExprPtr>{}), bag);
    stage.playgroundView->popModalPlayground();
    stage.settle();
    EXPECT_EQ(stage.playgroundView->veil(), nullptr);
    EXPECT_EQ(modal->view->superview(), nullptr);
    for (const auto& subview : stage.playgroundView->subviews())
        EXPECT_NE(subview->backgroundColor(), stage.playgroundView->veilColor());
    EXPECT_EQ(stage.playgroundView->subviews().back(), stage.playgroundView->drawingView());
}

TEST_F(PlaygroundViewTest, TheVeilLiesBetweenTheMainAndTheModalPlayground) {
    stage.start(sum({num(3), num(5)}));
    auto modal = std::make_shared<TestModal>(*stage.playgroundView);
    modal->view->setBackgroundColor(core::Color::rgb255(0, 200, 0));
    stage.playgroundView->showModalPlayground(modal);
    stage.settle();
    const auto image = stage.render("veil");
    // White at a quarter over the black window; the modal's own view above it, undimmed.
    const gfx::Pixel behind = image->bitmap().pixel(900, 700);
    EXPECT_NEAR(behind.red, 64, 3);
    EXPECT_NEAR(behind.blue, 64, 3);
    const gfx::Pixel above = image->bitmap().pixel(30, 30);
    EXPECT_EQ(above.green, 200);
    EXPECT_EQ(above.red, 0);
}

TEST_F(PlaygroundViewTest, AVeilShownAgainWhileTheOldOneFadesStays) {
    stage.start(sum({num(3), num(5)}));
    stage.playgroundView->showVeil();
    stage.host.advance(0.5);
    stage.playgroundView->clearVeil();
    stage.host.advance(0.1);
    stage.playgroundView->showVeil();
    const std::shared_ptr<ui::View> second = stage.playgroundView->veil();
    stage.settle();
    EXPECT_EQ(stage.playgroundView->veil(), second);
    EXPECT_EQ(second->superview(), stage.playgroundView.get());
}

TEST_F(PlaygroundViewTest, MovesOfTwoFingersAreIgnored) {
    stage.start(sum({num(3), num(5)}));
    auto modal = std::make_shared<TestModal>(*stage.playgroundView);
    stage.playgroundView->showModalPlayground(modal);
    const ui::Event event(0, {});
    stage.playgroundView->touchesMoved({std::make_shared<ui::Touch>(), std::make_shared<ui::Touch>()}, event);
    EXPECT_TRUE(modal->touches.empty());
}

TEST_F(PlaygroundViewTest, TheDelegateHearsOnlyWhatItTakes) {
    stage.delegate->declined = {PlaygroundMessage::StartedNewProblem, PlaygroundMessage::TouchBegan};
    auto expr = sum({num(3), num(5)});
    stage.start(expr);
    stage.tap(stage.centerOf(expr->ops()[0].get()));
    EXPECT_EQ(stage.delegate->messages, (std::vector<std::string>{"animationComplete", "willExecuteStep",
                                                                  "executedStep", "animationComplete"}));
}

TEST_F(PlaygroundViewTest, APanOnEmptySpaceScrollsAWideExpressionAndOneOnATermDragsIt) {
    std::vector<ExprPtr> terms;
    for (int i = 1; i <= 30; ++i)
        terms.push_back(num(1000 + i));
    auto expr = sum(terms);
    stage.playgroundView->setSpacingRect({0, 0, 200, 200}); // fitted small, then zoomed wide
    stage.start(expr);
    stage.playgroundView->setBaseFontSize(60);
    stage.main().mainExprView()->setFontSize(60, false);
    stage.playgroundView->setContentSize(stage.main().getContentSize());
    stage.main().moveToFinalStateAnimated(false);
    ASSERT_TRUE(stage.playgroundView->panner().isEnabled());

    const float before = stage.main().mainExprView()->getHitbox().minX();
    stage.drag({500, 700}, {400, 700}, 10);
    EXPECT_NEAR(stage.main().mainExprView()->getHitbox().minX(), before - 100, 15);
    EXPECT_EQ(stage.text(), expr->description());

    // A pan that starts on a term lets the term go with the finger (a commute here).
    stage.playgroundView->panner().setEnabled(true);
    size_t onScreen = 1;
    while (stage.centerOf(expr->exprs()[onScreen].get()).x < 300)
        ++onScreen;
    const ExprPtr dragged = expr->exprs()[onScreen];
    const core::Point from = stage.centerOf(dragged.get());
    const core::Point previous = stage.centerOf(expr->exprs()[onScreen - 1].get());
    stage.drag(from, {previous.x - 20, from.y});
    auto reordered = std::static_pointer_cast<ExprList>(stage.expr());
    EXPECT_EQ(reordered->exprs()[onScreen - 1], dragged);
}

TEST(DrawingView, ALineIsSampledFiftyTimesFromItsStart) {
    PlaygroundStage stage;
    auto overlay = DrawingView::create({0, 0, 200, 200});
    EXPECT_FALSE(overlay->isDisplayed());
    EXPECT_TRUE(overlay->isHidden());

    // A line across a product hits its terms, not the product (which its signs would name).
    auto terms = prod({num(1), num(2), num(3)});
    ExprViewPtr view = stage.show(*terms);
    const core::Rect row = view->getHitbox();
    overlay->setStartPoint({row.minX() - 30, row.midY()});
    overlay->setEndPoint({row.maxX() + 30, row.midY()});
    EXPECT_TRUE(overlay->isDisplayed());
    EXPECT_FALSE(overlay->isHidden());
    std::vector<std::shared_ptr<ExprView>> hits = overlay->getHits(*view);
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0]->getExpr(), terms->exprs()[0]);
    EXPECT_EQ(hits[2]->getExpr(), terms->exprs()[2]);

    // Backwards, the hits come in the order the line reaches them.
    overlay->setStartPoint({row.maxX() + 30, row.midY()});
    overlay->setEndPoint({row.minX() - 30, row.midY()});
    EXPECT_EQ(overlay->getHits(*view).front()->getExpr(), terms->exprs()[2]);

    // The end point itself is not sampled: a line that ends on the first term does not reach it.
    const core::Rect first = view->viewWithExpr(terms->exprs()[0].get())->getHitbox();
    overlay->setStartPoint({first.minX() - 100, first.midY()});
    overlay->setEndPoint({first.minX() + 1, first.midY()});
    EXPECT_TRUE(overlay->getHits(*view).empty());

    overlay->clear();
    EXPECT_FALSE(overlay->isDisplayed());
    EXPECT_TRUE(overlay->isHidden());
}

TEST(DrawingView, ALineOverTheBarAloneHitsNothing) {
    PlaygroundStage stage;
    auto fraction = quot(num(6), num(3));
    ExprViewPtr view = stage.show(*fraction);
    auto bar = view->viewWithOp(fraction->op().get())->getHitbox();
    auto overlay = DrawingView::create({0, 0, 1024, 768});
    const float y = bar.midY() - view->space() / 2;
    overlay->setStartPoint({bar.minX() - 40, y});
    overlay->setEndPoint({bar.maxX() + 40, y});
    EXPECT_TRUE(overlay->getHits(*view).empty());
}

TEST(DrawingView, OnAPhoneItCoversThePhoneScreen) {
    PlaygroundStage stage(ui::Idiom::Phone);
    EXPECT_EQ(DrawingView::create({0, 0, 10, 10})->frame(), (core::Rect{0, 0, 480, 320}));
}

} // namespace
} // namespace zm
