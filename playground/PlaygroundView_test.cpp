#include "model/ExprEquation.h"
#include "model/steps/StepReplace.h"
#include "model/testing/Trees.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "playground/DrawingView.h"
#include "playground/PlaygroundExponents.h"
#include "playground/PlaygroundView.h"
#include "playground/testing/PlayStage.h"
#include "playground/views/Baggage.h"

#include <functional>

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

// A modal playground that closes on any touch, as the finger lands.
class ClosingModal : public TestModal {
public:
    using TestModal::TestModal;
    void touchBegan(core::Point point) override {
        TestModal::touchBegan(point);
        if (auto host = playgroundView())
            host->popModalPlayground();
    }
};

class PlaygroundViewTest : public ::testing::Test {
protected:
    // Touches that no playground takes: outside the expression.
    void tapBeside() {
        stage.host.touchDown({5, 5});
        stage.host.touchUp({5, 5});
    }

    // A sum of thirty numbers, fitted small and then zoomed wider than the view, so that it pans.
    std::shared_ptr<ExprSum> startWide() {
        std::vector<ExprPtr> terms;
        for (int i = 1; i <= 30; ++i)
            terms.push_back(num(1000 + i));
        auto expr = sum(terms);
        stage.playgroundView->setSpacingRect({0, 0, 200, 200});
        stage.start(expr);
        stage.playgroundView->setBaseFontSize(60);
        stage.main().mainExprView()->setFontSize(60, false);
        stage.playgroundView->setContentSize(stage.main().getContentSize());
        stage.main().moveToFinalStateAnimated(false);
        EXPECT_TRUE(stage.playgroundView->panner().isEnabled());
        return expr;
    }
    float mainLeft() const { return stage.main().mainExprView()->getHitbox().minX(); }

    template <class Modal> std::shared_ptr<Modal> showModal() {
        auto modal = std::make_shared<Modal>(*stage.playgroundView);
        stage.playgroundView->showModalPlayground(modal);
        stage.settle();
        return modal;
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

TEST_F(PlaygroundViewTest, TwoFingersPinchTheExpressionLargerThroughTheWindow) {
    stage.start(sum({num(3), num(5)}));
    const float fitted = stage.playgroundView->baseFontSize();
    core::Point left{400, 700};
    core::Point right{600, 700};
    stage.host.touchDown(left, 0);
    stage.host.touchDown(right, 1);
    for (int i = 0; i < 10; ++i) {
        stage.host.advance(1.0 / 60);
        left.x -= 10;
        stage.host.touchMove(left, 0);
        right.x += 10;
        stage.host.touchMove(right, 1);
    }
    // While the fingers move the whole view is scaled.
    const float scale = stage.playgroundView->transform().a;
    EXPECT_GT(scale, 1.5f);
    EXPECT_TRUE(stage.playgroundView->zoomedIn());

    // A lift ends the pinch: the expression is set at the zoomed size and the view is plain again.
    stage.host.touchUp(right, 1);
    stage.host.touchUp(left, 0);
    stage.settle();
    EXPECT_TRUE(stage.playgroundView->transform().isIdentity());
    EXPECT_NEAR(stage.playgroundView->baseFontSize(), fitted * scale, 0.5f);
    EXPECT_FLOAT_EQ(stage.main().mainExprView()->baseFontSize(), stage.playgroundView->baseFontSize());
    EXPECT_EQ(stage.text(), "3 + 5");
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
    const auto expr = startWide();
    const float before = mainLeft();
    stage.drag({500, 700}, {400, 700}, 10);
    EXPECT_NEAR(mainLeft(), before - 100, 15);
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

// Where a tap opens the both-sides playground: the "=".
core::Point equalsOf(const PlayStage& stage) {
    const auto equation = asExactly<ExprEquation>(stage.expr());
    return equation ? stage.centerOf(equation->op().get()) : core::Point{};
}

// Where a tap opens the exponents playground: the first sign of a product, or a single power.
core::Point timesOrPowerOf(const PlayStage& stage) {
    const ExprPtr expr = stage.expr();
    if (const auto product = asExactly<ExprProduct>(expr))
        return stage.centerOf(product->ops()[0].get());
    return stage.centerOf(expr.get());
}

struct ClosingTouch {
    const char* name;
    std::function<ExprPtr()> problem;
    // Where a tap opens the playground, and opens it again once it has closed.
    std::function<core::Point(const PlayStage&)> opener;
    // Puts finger 0 down on the open playground and plays it until the playground has closed, the
    // finger staying down.
    std::function<void(PlayStage&)> close;
    const char* closed; // the expression once the playground has closed
};

void PrintTo(const ClosingTouch& closing, std::ostream* out) {
    *out << closing.name;
}

class ATouchThatClosesAModalPlayground : public ::testing::TestWithParam<ClosingTouch> {};

TEST_P(ATouchThatClosesAModalPlayground, DoesNothingMoreAndTheNextTouchIsAsUsual) {
    const ClosingTouch& c = GetParam();
    PlayStage stage;
    stage.start(c.problem());
    stage.tap(c.opener(stage));
    stage.settle();
    ASSERT_TRUE(stage.playgroundView->modalVisible());
    c.close(stage);
    ASSERT_FALSE(stage.playgroundView->modalVisible()) << "closed while the finger is down";
    stage.delegate->messages.clear();
    const double lastTouchUp = stage.playgroundView->lastTouchUp();

    // The finger goes on to where a tap opens the playground again and lifts there.
    const core::Point target = c.opener(stage);
    stage.host.advance(1.0 / 60);
    stage.host.touchMove({target.x + 2, target.y});
    stage.host.advance(1.0 / 60);
    stage.host.touchMove(target);
    stage.host.touchUp(target);
    stage.settle();
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_EQ(stage.text(), c.closed);
    for (const char* message : {"presentedModalPlayground", "willExecuteStep", "willExecuteStep(none)",
                                "executedStep", "didErrorStep"})
        EXPECT_EQ(stage.delegate->count(message), 0) << message;
    EXPECT_FALSE(stage.playgroundView->activeAgent());
    EXPECT_FALSE(stage.playgroundView->drawingView()->isDisplayed());
    EXPECT_EQ(stage.playgroundView->lastTouchUp(), lastTouchUp) << "not half of a double tap either";

    stage.tap(c.opener(stage));
    EXPECT_TRUE(stage.playgroundView->modalVisible()) << "the next touch opens it";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ATouchThatClosesAModalPlayground,
    ::testing::Values(
        // The copy of the "=" is no sign: touching it closes the playground at once.
        ClosingTouch{"BothSidesOnTheEquals",
                     [] {
                         return eq(sum({var("x"), num(-3)}), num(4));
                     },
                     equalsOf, [](PlayStage& stage) { stage.host.touchDown(equalsOf(stage)); }, "x + -3 = 4"},
        // Pushed together, the row merges into one power that falls into the expression while the
        // finger is still down.
        ClosingTouch{"ExponentsMergedByAPush",
                     [] {
                         return prod({var("x", 2), var("x", 3)});
                     },
                     timesOrPowerOf,
                     [](PlayStage& stage) {
                         auto modal = std::dynamic_pointer_cast<PlaygroundExponents>(
                             stage.playgroundView->modalPlayground());
                         ASSERT_TRUE(modal);
                         core::Point finger{modal->ogPivot().x, modal->ogPivot().y + 40};
                         stage.host.touchDown(finger);
                         for (int i = 0; i < 100 && !modal->falling(); ++i) {
                             finger.x -= 8;
                             stage.host.advance(1.0 / 60);
                             stage.host.touchMove(finger);
                         }
                         stage.host.advance(1);
                     },
                     "x^5"}),
    [](const ::testing::TestParamInfo<ClosingTouch>& info) { return std::string(info.param.name); });

TEST_F(PlaygroundViewTest, AFingerBelongsToThePlaygroundItLandedOn) {
    auto expr = sum({num(3), num(5)});
    stage.start(expr);
    const core::Point plus = stage.centerOf(expr->ops()[0].get());

    // A modal playground comes up while a finger is down on the main one: the finger's lift on the
    // "+" reaches neither.
    stage.host.touchDown(plus);
    auto modal = showModal<TestModal>();
    stage.host.touchMove({plus.x + 2, plus.y});
    // Another finger is the modal playground's.
    stage.host.touchDown({700, 100}, 1);
    stage.host.touchUp({700, 100}, 1);
    stage.host.touchUp(plus);
    stage.settle();
    EXPECT_EQ(modal->touches, (std::vector<std::string>{"began", "ended"}));
    EXPECT_EQ(stage.text(), "3 + 5");
    // The automatic player's moves go to the playground on top.
    stage.playgroundView->touchMoved({700, 100});
    EXPECT_EQ(modal->touches.back(), "moved");

    // A new problem while a finger is down: its lift does not tap the new expression.
    stage.start(expr);
    stage.host.touchDown(plus);
    auto next = sum({num(2), num(4)});
    stage.start(next);
    stage.host.touchUp(stage.centerOf(next->ops()[0].get()));
    stage.settle();
    EXPECT_EQ(stage.text(), "2 + 4");
    stage.tap(stage.centerOf(next->ops()[0].get()));
    EXPECT_EQ(stage.text(), "6");
}

TEST_F(PlaygroundViewTest, AFingerThatClosedAModalPlaygroundDoesNotScroll) {
    startWide();
    const float left = mainLeft();
    showModal<ClosingModal>();
    stage.drag({500, 700}, {400, 700}, 10);
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_FLOAT_EQ(mainLeft(), left);

    // The next pan scrolls.
    stage.drag({500, 700}, {400, 700}, 10);
    EXPECT_NEAR(mainLeft(), left - 100, 15);
}

TEST_F(PlaygroundViewTest, AModalPlaygroundKeepsItsTouchWhenTheVeilIsShownAgain) {
    stage.start(sum({num(3), num(5)}));
    auto modal = showModal<TestModal>();
    stage.host.touchDown({700, 100});
    stage.playgroundView->redraw();
    stage.host.touchMove({710, 100});
    stage.host.touchUp({710, 100});
    EXPECT_EQ(modal->touches, (std::vector<std::string>{"began", "moved", "ended"}));
}

TEST_F(PlaygroundViewTest, AModalPlaygroundKeepsItsDragOverAWideExpression) {
    startWide();
    const float left = mainLeft();
    auto modal = showModal<TestModal>();
    stage.drag({500, 700}, {400, 700}, 10);
    EXPECT_EQ(modal->touches.size(), 12u) << "began, ten moves, ended";
    EXPECT_EQ(modal->touches.back(), "ended");
    EXPECT_FLOAT_EQ(mainLeft(), left);
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
