#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/testing/Trees.h"
#include "platform/core/Random.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Label.h"
#include "playground/PlaygroundEuclideanFountain.h"
#include "playground/testing/KeyboardStage.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/progression/CircleDrawerView.h"
#include "shell/screens/HomeScreen.h"
#include "shell/testing/PlaygroundScreenTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// Whether the expression is a sum or product of plain numbers only.
bool isSumOfNumbers(const Expr& expr) {
    if (expr.children().empty())
        return false;
    return std::ranges::all_of(expr.children(), [](const ExprPtr& child) {
        const auto term = std::dynamic_pointer_cast<ExprSoloist>(child);
        return term && term->varIsNum();
    });
}

using PlaygroundScreen = PlaygroundScreenTest;

TEST_F(PlaygroundScreen, OpensFromTheCarouselWithAProblemOfTheTopic) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    ASSERT_TRUE(screen->topic());
    EXPECT_EQ(screen->topic()->topicID(), AlgebraTopicCommutation);
    ASSERT_TRUE(expr());
    EXPECT_TRUE(isSumOfNumbers(*expr())) << text();
    // The screen keeps a copy of its own to start again from.
    ASSERT_TRUE(screen->currentProblem());
    EXPECT_NE(screen->currentProblem(), expr());
    EXPECT_TRUE(screen->currentProblem()->isExactMatch(*expr()));

    EXPECT_FALSE(screen->undoButton()->isEnabled());
    EXPECT_FALSE(screen->restartButton()->isEnabled());
    EXPECT_TRUE(screen->helpButton()->isEnabled());
    EXPECT_EQ(screen->genProblemButton()->currentTitle(), "New Problem");
    EXPECT_EQ(screen->homeButton()->currentTitle(), "Topics");
    EXPECT_EQ(screen->practiceMoreButton()->currentTitle(), "Practice More");
    EXPECT_TRUE(screen->progressionView()->inProgress());
    EXPECT_EQ(screen->progressionView()->topicID(), AlgebraTopicCommutation);
    EXPECT_TRUE(playground().isUserInteractionEnabled());

    // The bars lie above the playground; the panels wait off the screen.
    const std::vector<std::shared_ptr<ui::View>>& parts = screen->view()->subviews();
    ASSERT_GE(parts.size(), 4u);
    const std::vector<ui::View*> top = {parts[parts.size() - 4].get(), parts[parts.size() - 3].get(),
                                        parts[parts.size() - 2].get(), parts[parts.size() - 1].get()};
    EXPECT_EQ(top, (std::vector<ui::View*>{&playground(), screen->topRightView().get(),
                                           screen->topLeftView().get(), screen->progressionView().get()}));
    EXPECT_FALSE(screen->helpView()->superview());
    EXPECT_FALSE(screen->masteryView()->superview());
    EXPECT_FALSE(screen->completionBannerView()->superview());
    EXPECT_FALSE(screen->isHelpVisible());

    // Veil and highlights take the background's tint.
    EXPECT_EQ(playground().veilColor(), container->getPixelColor());
    const core::HSBA highlight = playground().highlightColor().hsba();
    EXPECT_NEAR(highlight.hue, playground().veilColor().hsba().hue, 0.01f);
    EXPECT_NEAR(highlight.saturation, 1, 0.01f);
    EXPECT_NEAR(highlight.brightness, 1, 0.01f);
    EXPECT_EQ(screen->preferredStatusBarStyle(), ui::StatusBarStyle::LightContent);
}

// Undo, Restart and Help each as wide as its title, Help as wide as the wider of "Help" and "Stop",
// with a gap between them and after the last, at the right edge.
TEST_F(PlaygroundScreen, TheTopRightBarFitsItsTitlesAtBothSizes) {
    struct Case {
        ui::Device device;
        float gap, y, height;
    };
    for (const Case& c : {Case{kPhone, 16, 25, 35}, Case{kTablet, 24, 13, 75}}) {
        SCOPED_TRACE(c.device.isTablet() ? "tablet" : "phone");
        ASSERT_TRUE(open(AlgebraTopicLikeTerms, c.device));
        const auto width = [](const ui::Button& button, std::string_view title) {
            return std::ceil(gfx::measureText(title, button.titleLabel().font()).width);
        };
        const ui::Button& undo = *screen->undoButton();
        const ui::Button& restart = *screen->restartButton();
        const ui::Button& help = *screen->helpButton();
        const float helpWidth = std::max(width(help, "Help"), width(help, "Stop"));
        const float bar = 3 * c.gap + width(undo, "Undo") + width(restart, "Restart") + helpWidth;
        const float screenWidth = c.device.screenSize().width;
        EXPECT_EQ(screen->topRightView()->frame(),
                  (core::Rect{screenWidth - bar, 0, bar, screen->topRightView()->frame().height()}));
        EXPECT_EQ(undo.frame(), (core::Rect{0, c.y, width(undo, "Undo"), c.height}));
        EXPECT_EQ(restart.frame(),
                  (core::Rect{undo.frame().maxX() + c.gap, c.y, width(restart, "Restart"), c.height}));
        EXPECT_EQ(help.frame(), (core::Rect{restart.frame().maxX() + c.gap, c.y, helpWidth, c.height}));
        EXPECT_EQ(help.frame().maxX() + c.gap, bar);
        EXPECT_EQ(undo.currentTitle(), "Undo");
        EXPECT_EQ(restart.currentTitle(), "Restart");
        EXPECT_EQ(help.currentTitle(), "Help");
    }
}

TEST_F(PlaygroundScreen, TheSpacingRectangleFollowsTheDeviceAndTheHelpPanel) {
    struct Case {
        ui::Device device;
        float viewWidth;
        bool helpOpen;
        core::Rect area;
    };
    // The help panel is as high as the bottom bar: 80 points on a phone, 140 on a tablet.
    const Case cases[] = {
        {kPhone, 480, false, {0, 40, 480, 240}},
        {kPhone, 480, true, {0, 40, 480, 240 - 80 / 2}},
        {kPhone, 400, false, {0, 40, 400, 240}},
        {kTablet, 1024, false, {0, 100, 1024, 568}},
        {kTablet, 1024, true, {0, 100, 1024, 568 - (140 - 100)}},
        {kTablet, 800, false, {0, 100, 1024, 568}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.device.isTablet() ? "tablet " : "phone ") << c.viewWidth
                                          << (c.helpOpen ? " with help" : ""));
        ASSERT_TRUE(open(AlgebraTopicLikeTerms, c.device));
        const core::Rect frame = screen->view()->frame();
        screen->view()->setFrame({frame.minX(), frame.minY(), c.viewWidth, frame.height()});
        if (c.helpOpen)
            screen->view()->addSubview(screen->helpView());
        EXPECT_EQ(screen->isHelpVisible(), c.helpOpen);
        EXPECT_EQ(screen->makeSpacingRect(), c.area);
        // Every layout pass hands it to the playground.
        host->advance(0.1);
        EXPECT_EQ(playground().spacingRect(), c.area);
    }
}

// What the player does with the buttons after some moves, and what the screen then shows.
struct Flow {
    const char* name;
    std::function<void(PlaygroundScreenTest&)> play;
    std::string shown;
    size_t undoEntries;
};

void PrintTo(const Flow& flow, std::ostream* out) {
    *out << flow.name;
}

class UndoAndRestartFlows : public PlaygroundScreenTest, public ::testing::WithParamInterface<Flow> {};

TEST_P(UndoAndRestartFlows, ShowTheRightExpressionAndButtons) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    play(sum({num(2), num(3), num(4), num(5)}));
    GetParam().play(*this);
    EXPECT_EQ(text(), GetParam().shown);
    EXPECT_EQ(screen->historyManager()->exprStack().size(), GetParam().undoEntries);
    EXPECT_EQ(screen->undoButton()->isEnabled(), GetParam().undoEntries > 0);
    EXPECT_EQ(screen->restartButton()->isEnabled(), GetParam().undoEntries > 0);
    EXPECT_TRUE(playground().isUserInteractionEnabled());
    // The problem to start again from is never the one being played.
    EXPECT_NE(screen->currentProblem(), expr());
    EXPECT_EQ(screen->currentProblem()->description(), "2 + 3 + 4 + 5");
}

void pressUndo(PlaygroundScreenTest& test) {
    test.tap(*test.screen->undoButton());
}
void pressRestart(PlaygroundScreenTest& test) {
    test.tap(*test.screen->restartButton());
}
void twoMoves(PlaygroundScreenTest& test) {
    test.tapOperator(0);
    test.tapOperator(0);
}
void solve(PlaygroundScreenTest& test) {
    twoMoves(test);
    test.tapOperator(0);
}

INSTANTIATE_TEST_SUITE_P(PlaygroundScreen, UndoAndRestartFlows,
                         ::testing::Values(Flow{"TwoMoves", twoMoves, "9 + 5", 2},
                                           Flow{"TwoMovesUndoneOnce",
                                                [](PlaygroundScreenTest& t) {
                                                    twoMoves(t);
                                                    pressUndo(t);
                                                },
                                                "5 + 4 + 5", 1},
                                           Flow{"TwoMovesUndoneTwice",
                                                [](PlaygroundScreenTest& t) {
                                                    twoMoves(t);
                                                    pressUndo(t);
                                                    pressUndo(t);
                                                },
                                                "2 + 3 + 4 + 5", 0},
                                           Flow{"TwoMovesRestarted",
                                                [](PlaygroundScreenTest& t) {
                                                    twoMoves(t);
                                                    pressRestart(t);
                                                },
                                                "2 + 3 + 4 + 5", 0},
                                           Flow{"SolvedAndUndone",
                                                [](PlaygroundScreenTest& t) {
                                                    solve(t);
                                                    pressUndo(t);
                                                },
                                                "9 + 5", 2},
                                           Flow{"SolvedAndRestarted",
                                                [](PlaygroundScreenTest& t) {
                                                    solve(t);
                                                    pressRestart(t);
                                                },
                                                "2 + 3 + 4 + 5", 0},
                                           Flow{"RestartedTwiceAndPlayed",
                                                [](PlaygroundScreenTest& t) {
                                                    t.tapOperator(2);
                                                    pressRestart(t);
                                                    pressRestart(t);
                                                    t.tapOperator(1);
                                                },
                                                "2 + 7 + 5", 1}),
                         [](const ::testing::TestParamInfo<Flow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PlaygroundScreen, ANewProblemStartsAfreshAtTheStoredDifficulty) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    tapOperator(0);
    ASSERT_TRUE(screen->undoButton()->isEnabled());
    const ExprPtr before = expr();
    tap(*screen->genProblemButton());
    EXPECT_NE(expr(), before);
    EXPECT_TRUE(isSumOfNumbers(*expr())) << text();
    EXPECT_FALSE(screen->undoButton()->isEnabled());
    EXPECT_TRUE(screen->historyManager()->exprStack().empty());
    EXPECT_TRUE(screen->currentProblem()->isExactMatch(*expr()));
}

TEST_F(PlaygroundScreen, ChoosingTheOtherDifficultyReplacesTheProblem) {
    ASSERT_TRUE(open(AlgebraTopicCommutation, kPhone));
    tapOperator(0);
    const ExprPtr before = expr();
    tap(*screen->progressionView()->masterLabel());
    EXPECT_EQ(store().difficultyForTopic(AlgebraTopicCommutation), AlgebraDifficultyMaster);
    ASSERT_NE(expr(), before);
    // Master problems multiply, or add negative numbers.
    const bool product = expr()->ownOps().front()->getSymbol() == "*";
    const bool negatives = std::ranges::any_of(expr()->children(), [](const ExprPtr& child) {
        const auto term = std::dynamic_pointer_cast<ExprSoloist>(child);
        return term && term->coef() < 0;
    });
    EXPECT_TRUE(product || negatives) << text();
    EXPECT_EQ(screen->progressionView()->masterLabel()->alpha(), 1);
    EXPECT_TRUE(screen->progressionView()->inProgress());
    EXPECT_FALSE(screen->undoButton()->isEnabled());

    // Tapping the difficulty being played changes nothing.
    const ExprPtr master = expr();
    tap(*screen->progressionView()->masterCirclesView());
    EXPECT_EQ(expr(), master);
}

TEST_F(PlaygroundScreen, UndoAndRestartStayOffWhileHelpShows) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    play(sum({num(2), num(3), num(4)}));
    screen->view()->addSubview(screen->helpView());
    tapOperator(0);
    EXPECT_EQ(screen->historyManager()->exprStack().size(), 1u);
    EXPECT_FALSE(screen->undoButton()->isEnabled());
    EXPECT_FALSE(screen->restartButton()->isEnabled());
    screen->helpView()->removeFromSuperview();
    tapOperator(0);
    EXPECT_EQ(screen->historyManager()->exprStack().size(), 2u);
    EXPECT_TRUE(screen->undoButton()->isEnabled());
}

TEST_F(PlaygroundScreen, ARefusedMovePlaysTheAlert) {
    ASSERT_TRUE(open(AlgebraTopicOrderOfOperations));
    play(sum({num(1), prod({num(2), num(3)})}));
    const size_t before = host->playedSounds().size();
    tapOperator(0);
    ASSERT_EQ(host->playedSounds().size(), before + 1);
    EXPECT_EQ(host->playedSounds().back(), "alert");
    EXPECT_EQ(text(), "1 + 2 * 3");
}

TEST_F(PlaygroundScreen, TopicsGoesBackToTheCarousel) {
    ASSERT_TRUE(open(AlgebraTopicFactorization));
    tap(*screen->homeButton());
    EXPECT_TRUE(std::dynamic_pointer_cast<HomeScreen>(container->mainVC()));
}

TEST_F(PlaygroundScreen, ALayoutPassRefitsTheProblemButLeavesASolvedOne) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    const auto placeOf = [this] { return playground().mainPlayground()->mainExprView()->getHitbox(); };
    // The expression moved away from the middle, as a pan would leave it, then a layout pass.
    const auto moveAwayAndLayOut = [&] {
        playground().setPivotPoint({200, 200}, false);
        host->advance(1);
        const core::Rect moved = placeOf();
        screen->view()->setNeedsLayout();
        host->advance(1);
        return moved;
    };

    play(sum({num(2), num(3)}));
    const core::Rect fitted = placeOf();
    EXPECT_NE(moveAwayAndLayOut(), fitted);
    EXPECT_EQ(placeOf(), fitted);

    play(num(5));
    ASSERT_TRUE(screen->isComplete());
    const core::Rect solved = moveAwayAndLayOut();
    EXPECT_EQ(placeOf(), solved);
}

TEST_F(PlaygroundScreen, ProblemsOnlyCountAgainstTheGoalOfTheirTopic) {
    ASSERT_TRUE(open(AlgebraTopicFactorization));
    play(num(12));
    EXPECT_FALSE(screen->isComplete());
    play(prod({num(2), num(2), num(3)}));
    EXPECT_TRUE(screen->isComplete());
}

// While typing, the keyboard lies along the bottom, the bars are gone and the problem stands above it.
TEST_F(PlaygroundScreen, TheKeyboardRisesUnderTheProblemAndTheBarsComeBackAfterIt) {
    struct Case {
        ui::Device device;
        float panel;
    };
    for (const Case& c : {Case{kPhone, 129}, Case{kTablet, 214}}) {
        const std::string device = c.device.isTablet() ? "tablet" : "phone";
        SCOPED_TRACE(device);
        ASSERT_TRUE(open(AlgebraTopicEquations, c.device));
        const core::Size size = c.device.screenSize();
        const auto input = std::make_shared<RecordingInputDelegate>();
        const std::shared_ptr<ExprInputViewController> keyboard =
            playground().beginInputWithInputDelegate(input);
        ASSERT_EQ(screen->inputVC(), keyboard);
        EXPECT_EQ(keyboard->parentViewController(), screen.get());
        EXPECT_EQ(keyboard->view()->superview(), screen->view().get());
        // It starts just below the bottom edge and rises in 0.375 s.
        EXPECT_EQ(keyboard->view()->frame(), (core::Rect{0, size.height - c.panel, size.width, c.panel}));
        EXPECT_EQ(keyboard->view()->presentationFrame().minY(), size.height);
        host->advance(0.375 / 2);
        EXPECT_GT(keyboard->view()->presentationFrame().minY(), size.height - c.panel);
        EXPECT_LT(keyboard->view()->presentationFrame().minY(), size.height);
        host->advance(1);
        EXPECT_EQ(keyboard->view()->presentationFrame().minY(), size.height - c.panel);
        EXPECT_FALSE(screen->topLeftView()->superview());
        EXPECT_FALSE(screen->topRightView()->superview());
        EXPECT_EQ(playground().frame(), (core::Rect{0, 0, size.width, size.height - c.panel}));
        EXPECT_LE(playground().mainPlayground()->mainExprView()->getHitbox().maxY(), size.height - c.panel);
        shot("keyboard-" + device);

        // One keyboard at a time; the one turned away takes nothing with it when it ends.
        const std::shared_ptr<ExprInputViewController> second =
            playground().beginInputWithInputDelegate(input);
        EXPECT_EQ(screen->inputVC(), keyboard);
        EXPECT_EQ(screen->childViewControllers().size(), 1u);
        second->hitCancel();
        EXPECT_EQ(screen->inputVC(), keyboard);
        EXPECT_EQ(keyboard->view()->superview(), screen->view().get());
        EXPECT_FALSE(screen->topRightView()->superview());

        // Done: the panel goes at once, the bars come back on top, the playground fills the screen.
        KeyboardFingers(*host).tapBar(*keyboard, 2);
        EXPECT_EQ(input->messages.back(), "finish");
        EXPECT_FALSE(screen->inputVC());
        EXPECT_FALSE(keyboard->view()->superview());
        EXPECT_FALSE(keyboard->parentViewController());
        const std::vector<std::shared_ptr<ui::View>>& parts = screen->view()->subviews();
        ASSERT_GE(parts.size(), 2u);
        EXPECT_EQ(parts[parts.size() - 2], screen->topLeftView());
        EXPECT_EQ(parts.back(), screen->topRightView());
        EXPECT_EQ(playground().frame(), screen->view()->bounds());
    }
}

// The same operation on both sides: the sign, the typed operand and Done are one change to undo.
TEST_F(PlaygroundScreen, AWholeBothSidesMoveIsOneUndo) {
    ASSERT_TRUE(open(AlgebraTopicEquations, kPhone));
    play(eq(sum({var("x"), num(3)}), num(7)));
    tapOperator(0); // "="
    const auto* modal = dynamic_cast<PlaygroundEuclideanFountain*>(playground().modalPlayground().get());
    ASSERT_TRUE(modal);
    tap(playground().convertPointToView(modal->plusView()->getPointAtPosition(AnchorCenter), nullptr));
    ASSERT_TRUE(screen->inputVC());
    host->advance(1);
    KeyboardFingers fingers(*host);
    fingers.type(*screen->inputVC(), {"-", "3"});
    // Nothing is recorded while the both-sides playground is open.
    EXPECT_TRUE(screen->historyManager()->exprStack().empty());
    EXPECT_FALSE(screen->undoButton()->isEnabled());
    fingers.tapBar(*screen->inputVC(), 2);
    host->advance(1);
    EXPECT_FALSE(playground().modalVisible());
    EXPECT_NE(text(), "x + 3 = 7");
    ASSERT_EQ(screen->historyManager()->exprStack().size(), 1u);
    EXPECT_EQ(screen->historyManager()->exprStack().front()->description(), "x + 3 = 7");

    tap(*screen->undoButton());
    EXPECT_EQ(text(), "x + 3 = 7");
    EXPECT_FALSE(screen->undoButton()->isEnabled());
}

// What a person sees: the problem, the bars' titles and the progress dots, on the tinted background.
TEST_F(PlaygroundScreen, DrawsTheProblemTheBarsAndTheDotsAtBothSizes) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        const std::string name = device.isTablet() ? "playground-tablet" : "playground-phone";
        SCOPED_TRACE(name);
        const core::ScopedRandomSource draws(core::makeSeededRandom(7));
        ASSERT_TRUE(open(AlgebraTopicExponents, device));
        const std::shared_ptr<const gfx::Image> picture = shot(name);
        ASSERT_EQ(picture->pixelWidth(), int(device.screenSize().width));

        // Ink inside each part: pixels clearly lighter than the background around the part.
        const auto inkIn = [&](const ui::View& view) {
            const core::Rect frame = view.convertRectToView(view.bounds(), nullptr).integral();
            const auto brightness = [&](int x, int y) {
                const gfx::Pixel pixel =
                    picture->bitmap().pixel(std::clamp(x, 0, picture->pixelWidth() - 1),
                                            std::clamp(y, 0, picture->pixelHeight() - 1));
                return (pixel.red + pixel.green + pixel.blue) / 3;
            };
            int background = 0, samples = 0;
            for (int x = int(frame.minX()); x < int(frame.maxX()); ++x, samples += 2)
                background += brightness(x, int(frame.minY()) - 1) + brightness(x, int(frame.maxY()));
            background /= std::max(samples, 1);
            int count = 0;
            for (int y = int(frame.minY()); y < int(frame.maxY()); ++y) {
                for (int x = int(frame.minX()); x < int(frame.maxX()); ++x)
                    count += brightness(x, y) > background + 30 ? 1 : 0;
            }
            return count;
        };
        for (const std::shared_ptr<ui::Button>& button :
             {screen->undoButton(), screen->restartButton(), screen->helpButton(), screen->homeButton(),
              screen->genProblemButton()})
            EXPECT_GT(inkIn(*button), 20) << button->currentTitle();
        const std::shared_ptr<TopicProgressionView> progression = screen->progressionView();
        EXPECT_GT(inkIn(*progression->noviceLabel()), 20);
        EXPECT_GT(inkIn(*progression->masterLabel()), 20);
        // The current problem's dot is a ring.
        EXPECT_GT(inkIn(*progression->noviceCirclesView()), 20);
        for (const std::shared_ptr<ui::View>& label :
             playground().mainPlayground()->mainExprView()->getViewList()) {
            // A term's exponent of one is there but not shown.
            if (label->alpha() > 0 && !label->isHidden()) {
                EXPECT_GT(inkIn(*label), 10) << "a label at " << label->frame().minX();
            }
        }
        // The expression stands in the playground area.
        const core::Rect area = screen->makeSpacingRect();
        EXPECT_TRUE(area.contains(playground().mainPlayground()->mainExprView()->getHitbox())) << text();
    }
}

} // namespace
} // namespace zm
