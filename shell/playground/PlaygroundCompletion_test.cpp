#include "framework/Source/PixStillBlur.h"
#include "model/testing/Trees.h"
#include "platform/core/Random.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Snapshot.h"
#include "playground/executors/AIExecutor.h"
#include "playground/views/ExprView.h"
#include "shell/completion/SunburstView.h"
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

// The Simplify topic needs 4 solved problems at each difficulty; the tests set its stored progress and
// play sums and products of numbers, solved by tapping their first operator.
class Completion : public PlaygroundScreenTest {
public:
    static void preset(uint32_t novice, uint32_t master,
                       std::string_view difficulty = AlgebraDifficultyNovice) {
        TopicStatsDataController& progress = store();
        progress.selectDifficulty(AlgebraDifficultyNovice, AlgebraTopicCommutation);
        for (uint32_t count = 0; count < novice; ++count)
            progress.problemCompletedForTopic(AlgebraTopicCommutation);
        progress.selectDifficulty(AlgebraDifficultyMaster, AlgebraTopicCommutation);
        for (uint32_t count = 0; count < master; ++count)
            progress.problemCompletedForTopic(AlgebraTopicCommutation);
        progress.selectDifficulty(difficulty, AlgebraTopicCommutation);
    }
    static uint32_t solved(std::string_view difficulty) {
        return store().totalCompletedForTopic(AlgebraTopicCommutation, difficulty);
    }
    static std::string difficulty() { return store().difficultyForTopic(AlgebraTopicCommutation); }

    // The Simplify topic opened, playing 2 + 3 + 4.
    void openSimplify(const ui::Device& device = kTablet) {
        ASSERT_TRUE(open(AlgebraTopicCommutation, device));
        play(sum({num(2), num(3), num(4)}));
    }
    void pressUndo() { tap(*screen->undoButton()); }
    void pressRestart() { tap(*screen->restartButton()); }
    void pressHelp() { tap(*screen->helpButton()); }
    void pressNewProblem() { tap(*screen->genProblemButton()); }
    void wait(double seconds) { host->advance(seconds); }

    // The glow over the solved problem, or null.
    std::shared_ptr<ui::ImageView> glow() const {
        const std::shared_ptr<ui::View>& shown = screen->completedProblemView();
        if (!shown || shown->subviews().size() != 2)
            return nullptr;
        return std::dynamic_pointer_cast<ui::ImageView>(shown->subviews()[1]);
    }
    bool bannerShown() const { return screen->completionBannerView()->superview() == screen->view().get(); }
    bool masteryShown() const { return screen->masteryView()->superview() == screen->view().get(); }
};

// What a completed problem leaves behind, from the progress set before it and what the player did.
struct Outcome {
    const char* name;
    uint32_t novice, master;
    std::string_view difficulty;
    std::function<void(Completion&)> play;
    uint32_t noviceAfter, masterAfter;
    bool showing, switchToMaster, finishedMaster, inProgress;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << outcome.name;
}

class CompletionOutcomes : public Completion, public ::testing::WithParamInterface<Outcome> {};

TEST_P(CompletionOutcomes, CountAndMoveTheTopicOnAsTheRulesSay) {
    const Outcome& c = GetParam();
    preset(c.novice, c.master, c.difficulty);
    openSimplify();
    c.play(*this);
    EXPECT_EQ(solved(AlgebraDifficultyNovice), c.noviceAfter);
    EXPECT_EQ(solved(AlgebraDifficultyMaster), c.masterAfter);
    EXPECT_EQ(screen->showingCompleted(), c.showing);
    EXPECT_EQ(screen->switchToMaster(), c.switchToMaster);
    EXPECT_EQ(screen->finishedMaster(), c.finishedMaster);
    EXPECT_EQ(screen->progressionView()->inProgress(), c.inProgress);
    // A shown completion: the banner, or the mastery panel for a mastered topic.
    EXPECT_EQ(bannerShown(), c.showing && !c.finishedMaster);
    EXPECT_EQ(masteryShown(), c.showing && c.finishedMaster);
    EXPECT_EQ(screen->helpButton()->isEnabled(), !c.showing);
    EXPECT_EQ(playground().isUserInteractionEnabled(), !c.showing);
}

void solve(Completion& test) {
    test.solveByTapping();
}
void solveUndoSolve(Completion& test) {
    test.solveByTapping();
    test.pressUndo();
    test.solveByTapping();
}
void letHelpSolve(Completion& test) {
    test.pressHelp();
    test.wait(20);
}

INSTANTIATE_TEST_SUITE_P(
    Completion, CompletionOutcomes,
    ::testing::Values(Outcome{"Started", 0, 0, AlgebraDifficultyNovice, [](Completion&) {}, 0, 0, false,
                              false, false, true},
                      Outcome{"Solved", 0, 0, AlgebraDifficultyNovice, solve, 1, 0, true, false, false,
                              false},
                      Outcome{"LastNoviceMovesToMaster", 3, 0, AlgebraDifficultyNovice, solve, 4, 0, true,
                              true, false, false},
                      Outcome{"LastNoviceWithMasterDoneMasters", 3, 4, AlgebraDifficultyNovice, solve, 4, 4,
                              true, false, true, false},
                      Outcome{"LastMasterMasters", 4, 3, AlgebraDifficultyMaster, solve, 4, 4, true, false,
                              true, false},
                      Outcome{"LastMasterWithNoviceUndoneMovesNothing", 3, 3, AlgebraDifficultyMaster, solve,
                              3, 4, true, false, false, false},
                      Outcome{"PastTheLastNoviceMovesNothing", 5, 0, AlgebraDifficultyNovice, solve, 6, 0,
                              true, false, false, false},
                      Outcome{"SolvedUndone", 0, 0, AlgebraDifficultyNovice,
                              [](Completion& t) {
                                  t.solveByTapping();
                                  t.pressUndo();
                              },
                              1, 0, false, false, false, false},
                      Outcome{"SolvedAgainAfterUndo", 0, 0, AlgebraDifficultyNovice, solveUndoSolve, 1, 0,
                              true, false, false, false},
                      Outcome{"SolvedAgainAfterRestart", 0, 0, AlgebraDifficultyNovice,
                              [](Completion& t) {
                                  t.solveByTapping();
                                  t.pressRestart();
                                  t.solveByTapping();
                              },
                              1, 0, true, false, false, false},
                      Outcome{"UndoneBeforeSolvedStillCounts", 0, 0, AlgebraDifficultyNovice,
                              [](Completion& t) {
                                  t.tapOperator(0);
                                  t.pressUndo();
                                  t.solveByTapping();
                              },
                              1, 0, true, false, false, false},
                      Outcome{"SolvedByHelpDoesNotCount", 0, 0, AlgebraDifficultyNovice, letHelpSolve, 0, 0,
                              true, false, false, false},
                      Outcome{"HelpStoppedThenSolvedCounts", 0, 0, AlgebraDifficultyNovice,
                              [](Completion& t) {
                                  t.pressHelp();
                                  t.pressHelp();
                                  t.solveByTapping();
                              },
                              1, 0, true, false, false, false},
                      // The problem already counted: help stopped re-arms nothing, so it never counts twice.
                      Outcome{"CountedThenHelpStoppedThenSolvedAgain", 0, 0, AlgebraDifficultyNovice,
                              [](Completion& t) {
                                  t.solveByTapping();
                                  t.pressUndo();
                                  t.pressHelp();
                                  t.pressHelp();
                                  t.solveByTapping();
                              },
                              1, 0, true, false, false, false},
                      // The move to master earned by the counted completion survives solving it again.
                      Outcome{"MoveToMasterKeptThroughUndo", 3, 0, AlgebraDifficultyNovice, solveUndoSolve, 4,
                              0, true, true, false, false}),
    [](const ::testing::TestParamInfo<Outcome>& info) { return std::string(info.param.name); });

TEST_F(Completion, ASolvedProblemGlowsOverTwoSunburstsUnderTheBanner) {
    openSimplify();
    solveByTapping();
    ASSERT_TRUE(screen->showingCompleted());
    const std::shared_ptr<ui::View>& shown = screen->completedProblemView();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->frame(), screen->view()->bounds());
    // Above the playground: the completion, then the bars, then the banner.
    const std::vector<std::shared_ptr<ui::View>>& parts = screen->view()->subviews();
    ASSERT_GE(parts.size(), 6u);
    std::vector<ui::View*> layers;
    std::ranges::transform(std::vector(parts.end() - 6, parts.end()), std::back_inserter(layers),
                           [](const std::shared_ptr<ui::View>& part) { return part.get(); });
    EXPECT_EQ(layers, (std::vector<ui::View*>{&playground(), shown.get(), screen->progressionView().get(),
                                              screen->topRightView().get(), screen->topLeftView().get(),
                                              screen->completionBannerView().get()}));

    // Two sunbursts as high as the screen, turning in 12 s clockwise and 24 s the other way, the second
    // fainter.
    const std::shared_ptr<SunburstView>& first = screen->firstSunburstView();
    const std::shared_ptr<SunburstView>& second = screen->secondSunburstView();
    ASSERT_TRUE(first && second);
    // Both under the glow.
    const std::shared_ptr<ui::View>& sunbursts = shown->subviews()[0];
    EXPECT_EQ(sunbursts->subviews(), (std::vector<std::shared_ptr<ui::View>>{first, second}));
    EXPECT_EQ(first->bounds().size, (core::Size{768, 768}));
    EXPECT_EQ(first->speed(), 12);
    EXPECT_FALSE(first->reverseDirection());
    EXPECT_EQ(first->startAlpha(), 0.075f);
    EXPECT_EQ(second->speed(), 24);
    EXPECT_TRUE(second->reverseDirection());
    EXPECT_EQ(second->startAlpha(), 0.025f);

    // The glow lies over the expression: a white silhouette of it, transparent round it. It is the
    // playground's picture blurred and whitened, put down where it was drawn from, though only the part
    // round the expression is kept.
    ASSERT_TRUE(glow());
    const core::Rect playgroundFrame = playground().frame();
    const core::Rect area = glow()->frame();
    EXPECT_TRUE(playgroundFrame.contains(area));
    EXPECT_LT(area.width() * area.height(), playgroundFrame.width() * playgroundFrame.height() / 4);
    gfx::ImageContext glowOverPlayground(playgroundFrame.size, ui::Device::current().scale, false);
    glowOverPlayground.canvas().drawImage(*glow()->image(),
                                          area.offsetBy(-playgroundFrame.minX(), -playgroundFrame.minY()));
    const std::shared_ptr<const gfx::Image> glowShown = std::move(glowOverPlayground).takeImage();
    const std::shared_ptr<const gfx::Image> blurredWhole = blurStillImage(*ui::snapshotImage(playground()), 3, 1);
    ASSERT_TRUE(blurredWhole);
    ASSERT_EQ(glowShown->pixelWidth(), blurredWhole->pixelWidth());
    int differing = 0;
    for (int y = 0; y < glowShown->pixelHeight(); ++y) {
        for (int x = 0; x < glowShown->pixelWidth(); ++x)
            differing += glowShown->bitmap().pixel(x, y) == blurredWhole->bitmap().pixel(x, y) ? 0 : 1;
    }
    EXPECT_EQ(differing, 0);
    const gfx::Image& picture = *glow()->image();
    const core::Rect term =
        playground()
            .mainPlayground()
            ->mainExprView()
            ->getHitbox()
            .integral()
            .offsetBy(playgroundFrame.minX() - area.minX(), playgroundFrame.minY() - area.minY())
            .intersected(core::Rect({}, area.size));
    int strongest = 0;
    for (int y = int(term.minY()); y < int(term.maxY()); ++y) {
        for (int x = int(term.minX()); x < int(term.maxX()); ++x) {
            const gfx::Pixel pixel = picture.bitmap().pixel(x, y);
            strongest = std::max(strongest, int(pixel.alpha));
            if (pixel.alpha > 0) {
                ASSERT_EQ(pixel.red, pixel.alpha) << "white, at " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(strongest, 100);
    for (int x = 0; x < picture.pixelWidth(); ++x) {
        for (const int y : {0, picture.pixelHeight() - 1})
            ASSERT_EQ(picture.bitmap().pixel(x, y).alpha, 0) << "the edge at " << x << ", " << y;
    }
    for (int y = 0; y < picture.pixelHeight(); ++y) {
        for (const int x : {0, picture.pixelWidth() - 1})
            ASSERT_EQ(picture.bitmap().pixel(x, y).alpha, 0) << "the edge at " << x << ", " << y;
    }

    // "Next Problem" fades between full and a quarter, half a second each way, and stays tappable.
    const ui::Button& button = *screen->genProblemButton();
    EXPECT_EQ(button.currentTitle(), "Next Problem");
    float lowest = 1, highest = 0;
    for (int frame = 0; frame < 40; ++frame) {
        host->advance(0.025);
        lowest = std::min(lowest, button.presentation().opacity);
        highest = std::max(highest, button.presentation().opacity);
    }
    EXPECT_NEAR(lowest, 0.25f, 0.02f);
    EXPECT_NEAR(highest, 1.0f, 0.02f);
    const float now = button.presentation().opacity;
    host->advance(1.0);
    EXPECT_NEAR(button.presentation().opacity, now, 0.02f) << "a second is one pulse";
    const ExprPtr solvedExpr = expr();
    pressNewProblem();
    EXPECT_NE(expr(), solvedExpr);
    EXPECT_EQ(button.currentTitle(), "New Problem");
    EXPECT_EQ(button.presentation().opacity, 1);
    EXPECT_FALSE(button.layer().hasAnimations());
}

TEST_F(Completion, UndoAndRestartTakeTheCompletionAway) {
    for (const bool undo : {true, false}) {
        SCOPED_TRACE(undo ? "undo" : "restart");
        openSimplify();
        solveByTapping();
        ASSERT_TRUE(screen->completedProblemView());
        const std::shared_ptr<ui::View> shown = screen->completedProblemView();
        undo ? pressUndo() : pressRestart();
        EXPECT_FALSE(screen->showingCompleted());
        EXPECT_FALSE(screen->completedProblemView());
        EXPECT_FALSE(shown->superview());
        EXPECT_FALSE(bannerShown());
        EXPECT_TRUE(screen->helpButton()->isEnabled());
        EXPECT_TRUE(playground().isUserInteractionEnabled());
        EXPECT_FALSE(screen->genProblemButton()->layer().hasAnimations());
        EXPECT_EQ(screen->genProblemButton()->alpha(), 1);
        // Solved again: celebrated again, counted once.
        solveByTapping();
        EXPECT_TRUE(screen->completedProblemView());
        EXPECT_TRUE(bannerShown());
        EXPECT_EQ(solved(AlgebraDifficultyNovice), 1u);
        store().resetProgress();
    }
}

// The celebration is built in stages; a stage that arrives after its completion was taken away is dropped.
TEST_F(Completion, ACelebrationTakenAwayBeforeItArrivesNeverShows) {
    // Solved and celebrated, then told again by hand that the moves have settled, so that the take-away
    // comes before the stages queued by the second telling run.
    const auto solvedAndToldAgain = [this] {
        openSimplify();
        play(sum({num(2), num(3)}));
        tapOperator(0);
        ASSERT_TRUE(screen->showingCompleted());
        screen->clearCompletion();
        screen->checkComplete();
        ASSERT_TRUE(screen->showingCompleted());
        ASSERT_FALSE(screen->completedProblemView());
    };
    const std::function<void(PlaygroundViewController&)> takeAways[] = {
        [](PlaygroundViewController& s) { s.hitUndo(); },
        [](PlaygroundViewController& s) { s.hitRestart(); },
        [](PlaygroundViewController& s) { s.hitRandom(); },
    };
    for (const auto& takeAway : takeAways) {
        solvedAndToldAgain();
        takeAway(*screen);
        host->advance(2);
        EXPECT_FALSE(screen->isComplete());
        EXPECT_FALSE(screen->completedProblemView());
        EXPECT_FALSE(bannerShown());
        EXPECT_FALSE(masteryShown());
        EXPECT_FALSE(screen->genProblemButton()->layer().hasAnimations());
    }

    // A screen gone before its celebration arrives is shown nothing.
    solvedAndToldAgain();
    const std::weak_ptr<PlaygroundViewController> gone = screen;
    container->goHome();
    screen.reset();
    host->advance(2);
    EXPECT_TRUE(gone.expired());
}

TEST_F(Completion, ASolvedProblemStillBeingDraggedWaitsForTheDrop) {
    openSimplify();
    play(sum({num(2), var("x")}));
    ASSERT_TRUE(screen->isComplete());
    // Played on after its first completion.
    screen->clearCompletion();
    playground().enableTouchInput();
    const std::shared_ptr<ExprView> term =
        playground().mainPlayground()->mainExprView()->viewWithExpr(expr()->children()[1].get());
    ASSERT_TRUE(term);
    const core::Point start =
        playground().convertPointToView(term->getPointAtPosition(AnchorCenter), nullptr);
    const core::Point held{start.x + 10, start.y + 40};
    host->touchDown(start);
    for (const core::Point point : {start, core::Point{start.x + 5, start.y + 20}, held}) {
        host->advance(0.05);
        host->touchMove(point);
    }
    ASSERT_TRUE(playground().activeAgent());
    screen->checkComplete();
    EXPECT_FALSE(screen->showingCompleted());
    host->touchUp(held);
    host->advance(2);
    EXPECT_TRUE(screen->showingCompleted());
    EXPECT_TRUE(screen->completedProblemView());
}

// After "Next Problem" the solved problem shrinks and rises out of sight while the new one comes up from
// one screen height below.
TEST_F(Completion, TheNextProblemSlidesInAsTheSolvedOneLeaves) {
    openSimplify();
    solveByTapping();
    const std::shared_ptr<ui::View> solvedView = screen->completedProblemView();
    ASSERT_TRUE(solvedView);
    const size_t glowParts = solvedView->subviews().size();
    ASSERT_EQ(glowParts, 2u);
    const float h = screen->view()->bounds().height();

    const core::Point button = middleOf(*screen->genProblemButton());
    host->touchDown(button);
    host->advance(0.05);
    host->touchUp(button);
    EXPECT_FALSE(screen->showingCompleted());
    ASSERT_NE(text(), "9");
    // Where each stands on the screen: its vertical offset in screen heights, and its size.
    const auto place = [h](const ui::View& view) {
        const core::AffineTransform t = view.presentation().transform;
        return std::pair{t.ty / h, t.a};
    };
    const auto expectPlace = [&](const ui::View& view, float offset, float scale, const char* what) {
        const auto [ty, size] = place(view);
        EXPECT_NEAR(ty, offset, 0.01f) << what;
        EXPECT_NEAR(size, scale, 0.01f) << what;
    };
    EXPECT_EQ(playground().transform(), core::AffineTransform::identity());
    expectPlace(playground(), 1, 1, "new problem at the start");
    const double start = host->now();
    host->advance(0.4);
    ASSERT_NEAR(host->now() - start, 0.4, 1e-6);
    expectPlace(*solvedView, -0.2f, 0.3f, "solved at 0.4 s");
    expectPlace(playground(), 0.2f, 0.3f, "new at 0.4 s");
    host->advance(0.2);
    expectPlace(*solvedView, -0.26f, 0.3f, "solved at 0.6 s");
    expectPlace(playground(), 0.14f, 0.3f, "new at 0.6 s");
    host->advance(0.3);
    EXPECT_TRUE(solvedView->superview()) << "still leaving";
    host->advance(0.1);
    expectPlace(playground(), 0, 1, "new at 1 s");
    EXPECT_EQ(solvedView->transform(), core::AffineTransform::makeTranslation(0, -h));
    host->advance(0.1);
    // Gone, and emptied.
    EXPECT_FALSE(solvedView->superview());
    EXPECT_TRUE(solvedView->subviews().empty());
    EXPECT_FALSE(screen->completedProblemView());
    EXPECT_TRUE(playground().isUserInteractionEnabled());
}

TEST_F(Completion, TheLastNoviceProblemMovesTheTopicToMasterAndOpensItsHelp) {
    preset(3, 0);
    openSimplify();
    solveByTapping();
    ASSERT_TRUE(screen->switchToMaster());
    EXPECT_EQ(difficulty(), AlgebraDifficultyNovice);
    EXPECT_EQ(screen->genProblemButton()->currentTitle(), "Next Problem");
    pressNewProblem();
    // The next problem is a master one; the widget shows master.
    EXPECT_EQ(difficulty(), AlgebraDifficultyMaster);
    EXPECT_EQ(screen->progressionView()->masterLabel()->alpha(), 1);
    EXPECT_TRUE(screen->progressionView()->inProgress());
    // At the end of the slide the master help opens by itself.
    host->advance(0.5);
    EXPECT_FALSE(screen->switchToMaster());
    EXPECT_TRUE(screen->isHelpVisible());
    EXPECT_EQ(screen->topicHelpTextLabel()->text(),
              "Rearrange them any way you'd like, then tap to simplify.");
    EXPECT_TRUE(playground().executor() && playground().executor()->operational());
}

// The move to master is kept until a new problem takes it, or the player leaves.
TEST_F(Completion, AMoveToMasterIsKeptUntilItIsApplied) {
    preset(3, 0);
    openSimplify();
    solveByTapping();
    pressUndo();
    EXPECT_TRUE(screen->switchToMaster());
    pressNewProblem();
    EXPECT_EQ(difficulty(), AlgebraDifficultyMaster);
    host->advance(0.5);
    EXPECT_FALSE(screen->switchToMaster());
    EXPECT_TRUE(screen->isHelpVisible());

    store().resetProgress();
    preset(3, 0);
    openSimplify();
    solveByTapping();
    tap(*screen->homeButton());
    EXPECT_EQ(difficulty(), AlgebraDifficultyMaster);
}

TEST_F(Completion, ATopicWithBothDifficultiesDoneKeepsNewProblem) {
    preset(7, 4);
    openSimplify();
    solveByTapping();
    EXPECT_TRUE(bannerShown());
    EXPECT_EQ(screen->genProblemButton()->currentTitle(), "New Problem");
    EXPECT_TRUE(screen->genProblemButton()->layer().hasAnimations()) << "it still pulses";
}

TEST_F(Completion, StoredSpeedsTurnTheSunbursts) {
    testDefaults().setFloat(4, "clockwiseSpeed");
    openSimplify();
    solveByTapping();
    ASSERT_TRUE(screen->firstSunburstView());
    EXPECT_EQ(screen->firstSunburstView()->speed(), 4);
    EXPECT_EQ(screen->secondSunburstView()->speed(), 24);
    // A quarter turn a second.
    const float before = std::atan2(screen->firstSunburstView()->presentation().transform.b,
                                    screen->firstSunburstView()->presentation().transform.a);
    host->advance(0.25);
    const float after = std::atan2(screen->firstSunburstView()->presentation().transform.b,
                                   screen->firstSunburstView()->presentation().transform.a);
    EXPECT_NEAR(std::remainder(after - before, std::numbers::pi_v<float> / 2), std::numbers::pi_v<float> / 8,
                0.02f);
}

// The mastery panel over the blurred background: the solved problem, "Practice More", the way to the
// next topic and the titles.
TEST_F(Completion, TheMasteryPanelOffersPracticeAndTheNextTopic) {
    preset(4, 3, AlgebraDifficultyMaster);
    openSimplify();
    play(prod({num(2), num(3), num(5)}));
    solveByTapping();
    ASSERT_TRUE(masteryShown());
    const ui::View& panel = *screen->masteryView();
    EXPECT_EQ(panel.frame(), screen->view()->bounds());
    EXPECT_EQ(screen->view()->subviews().back().get(), &panel);
    const std::vector<std::shared_ptr<ui::View>>& parts = panel.subviews();
    ASSERT_EQ(parts.size(), 7u);
    EXPECT_TRUE(std::dynamic_pointer_cast<ui::ImageView>(parts[0]));
    EXPECT_EQ(parts[0]->frame(), screen->view()->bounds());
    EXPECT_EQ(parts[1], screen->completedProblemView());
    EXPECT_EQ(parts[2].get(), &playground());
    EXPECT_EQ(parts[3], screen->practiceMoreButton());
    EXPECT_EQ(parts[4], screen->nextTopicButton());
    EXPECT_EQ(parts[5], screen->masteryTopicLabel());
    EXPECT_EQ(parts[6], screen->masteryLabel());
    EXPECT_EQ(screen->nextTopicButton()->currentTitle(), "Go to Like Terms");
    EXPECT_EQ(screen->masteryTopicLabel()->text(), "Simplify Mastered");
    EXPECT_FALSE(bannerShown());
    EXPECT_EQ(panel.alpha(), 1);
}

TEST_F(Completion, TheMasteryPanelFadesIn) {
    preset(4, 3, AlgebraDifficultyMaster);
    openSimplify();
    play(prod({num(2), num(5)}));
    const core::Point times = operatorAt(0);
    host->touchDown(times);
    host->advance(0.05);
    host->touchUp(times);
    // The step settles, then the panel comes at alpha 0 and fades in over half a second.
    float firstSeen = -1;
    double seenAt = 0;
    for (int frame = 0; frame < 120 && firstSeen < 0; ++frame) {
        host->advance(1.0 / 60);
        if (masteryShown()) {
            firstSeen = screen->masteryView()->presentation().opacity;
            seenAt = host->now();
        }
    }
    ASSERT_GE(firstSeen, 0);
    EXPECT_LT(firstSeen, 0.1f);
    host->advance(0.25 - (host->now() - seenAt));
    EXPECT_NEAR(screen->masteryView()->presentation().opacity, 0.5f, 0.15f);
    host->advance(0.3);
    EXPECT_EQ(screen->masteryView()->presentation().opacity, 1);
}

// "Practice More" brings the solved problem back to the screen and slides in a new one at the stored
// difficulty: master when the mastery came at master, novice when it came with the last novice problem.
TEST_F(Completion, PracticeMoreGoesOnAtTheStoredDifficulty) {
    struct Case {
        uint32_t novice, master;
        std::string_view difficulty;
    };
    for (const Case& c : {Case{4, 3, AlgebraDifficultyMaster}, Case{3, 4, AlgebraDifficultyNovice}}) {
        SCOPED_TRACE(c.difficulty);
        store().resetProgress();
        preset(c.novice, c.master, c.difficulty);
        openSimplify();
        solveByTapping();
        ASSERT_TRUE(masteryShown());
        const std::shared_ptr<ui::View> solvedView = screen->completedProblemView();
        tap(*screen->practiceMoreButton());
        host->advance(0.5);
        EXPECT_FALSE(screen->masteryView()->superview());
        EXPECT_EQ(playground().superview(), screen->view().get());
        EXPECT_NE(text(), "9");
        EXPECT_EQ(difficulty(), c.difficulty);
        EXPECT_FALSE(solvedView->superview()) << "left upwards";
        EXPECT_EQ(playground().transform(), core::AffineTransform::identity());
        EXPECT_TRUE(screen->progressionView()->inProgress());
        EXPECT_TRUE(playground().isUserInteractionEnabled());
        EXPECT_FALSE(screen->showingCompleted());
        // The bars are back on top.
        EXPECT_EQ(screen->view()->subviews().back(), screen->progressionView());
        // The next one counts as usual.
        solveByTapping();
        EXPECT_EQ(solved(c.difficulty), 5u);
    }
}

TEST_F(Completion, TheNextTopicButtonGoesHomeAndOpensTheNextTopic) {
    preset(4, 3, AlgebraDifficultyMaster);
    openSimplify();
    solveByTapping();
    ASSERT_TRUE(masteryShown());
    tap(*screen->nextTopicButton());
    host->advance(4);
    const auto next = std::dynamic_pointer_cast<PlaygroundViewController>(container->mainVC());
    ASSERT_TRUE(next) << "the carousel moved on and opened the next topic";
    ASSERT_TRUE(next->topic());
    EXPECT_EQ(next->topic()->topicID(), AlgebraTopicLikeTerms);
}

TEST_F(Completion, ATopicWithoutANextTopicKeepsTheButtonsTitle) {
    TopicStatsDataController& progress = store();
    progress.selectDifficulty(AlgebraDifficultyMaster, AlgebraTopicExponents);
    for (int count = 0; count < 8; ++count)
        progress.problemCompletedForTopic(AlgebraTopicExponents);
    progress.selectDifficulty(AlgebraDifficultyNovice, AlgebraTopicExponents);
    for (int count = 0; count < 3; ++count)
        progress.problemCompletedForTopic(AlgebraTopicExponents);
    ASSERT_TRUE(open(AlgebraTopicExponents));
    const std::string title = screen->nextTopicButton()->currentTitle();
    play(sum({num(2), num(3)}));
    tapOperator(0);
    ASSERT_TRUE(masteryShown());
    // The last game topic leads to the player's own problems.
    EXPECT_EQ(screen->nextTopicButton()->currentTitle(), "Go to Create Your Own");
    EXPECT_EQ(screen->masteryTopicLabel()->text(), "Exponents Mastered");

    // A topic the catalogue does not list has none after it.
    screen->hideMastery();
    screen->nextTopicButton()->setTitle(title);
    screen->setTopic(Topic("AlgebraTopicElsewhere"));
    screen->showMastery();
    EXPECT_EQ(screen->nextTopicButton()->currentTitle(), title);
    EXPECT_EQ(screen->masteryTopicLabel()->text(), "Unknown Mastered");
}

TEST_F(Completion, ShowsTheBannerWithGlowAndSunburstsAtBothSizes) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        const std::string name = device.isTablet() ? "completion-tablet" : "completion-phone";
        SCOPED_TRACE(name);
        store().resetProgress();
        ASSERT_TRUE(open(AlgebraTopicCommutation, device));
        play(sum({num(12), num(7), num(30)}));
        solveByTapping();
        host->advance(0.6);
        const std::shared_ptr<const gfx::Image> picture = shot(name);
        ASSERT_TRUE(glow());
        // The glow and the rays brighten the screen: the same moment without them is darker round the
        // expression and between the bars.
        screen->completedProblemView()->setHidden(true);
        const std::shared_ptr<const gfx::Image> without = host->screenshot();
        screen->completedProblemView()->setHidden(false);
        const core::Rect term = playground().mainPlayground()->mainExprView()->getHitbox();
        const auto brightness = [](const gfx::Image& image, core::Point point) {
            const gfx::Pixel pixel =
                image.bitmap().pixel(int(point.x * image.scale()), int(point.y * image.scale()));
            return pixel.red + pixel.green + pixel.blue;
        };
        // Round the expression the glow brightens many pixels clearly.
        int glowing = 0;
        for (float y = term.minY(); y < term.maxY(); ++y) {
            for (float x = term.minX(); x < term.maxX(); ++x)
                glowing += brightness(*picture, {x, y}) > brightness(*without, {x, y}) + 60 ? 1 : 0;
        }
        EXPECT_GT(glowing, 200);
        const core::Rect area = screen->makeSpacingRect();
        double lighter = 0, darker = 0;
        for (float y = area.minY(); y < area.maxY(); y += 4) {
            for (float x = area.minX(); x < area.maxX(); x += 4) {
                const int change = brightness(*picture, {x, y}) - brightness(*without, {x, y});
                (change >= 0 ? lighter : darker) += std::abs(change);
            }
        }
        EXPECT_GT(lighter, 10 * darker + 1000);
        EXPECT_TRUE(bannerShown());
        EXPECT_EQ(screen->genProblemButton()->currentTitle(), "Next Problem");
    }
}

TEST_F(Completion, ShowsTheMasteryPanelAtBothSizes) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        const std::string name = device.isTablet() ? "mastery-tablet" : "mastery-phone";
        SCOPED_TRACE(name);
        store().resetProgress();
        preset(4, 3, AlgebraDifficultyMaster);
        ASSERT_TRUE(open(AlgebraTopicCommutation, device));
        play(prod({num(3), num(5), num(2)}));
        solveByTapping();
        host->advance(1);
        shot(name);
        ASSERT_TRUE(masteryShown());
        // The panel's parts lie inside the screen and apart from one another.
        const auto frameOf = [](const ui::View& view) {
            return view.convertRectToView(view.bounds(), nullptr);
        };
        const core::Rect screenFrame = frameOf(*screen->view());
        const std::vector<core::Rect> parts = {
            frameOf(*screen->masteryTopicLabel()), frameOf(*screen->masteryLabel()),
            frameOf(*screen->practiceMoreButton()), frameOf(*screen->nextTopicButton()),
            playground().convertRectToView(playground().mainPlayground()->mainExprView()->getHitbox(),
                                           nullptr)};
        for (size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(screenFrame.contains(parts[i])) << i;
            for (size_t j = i + 1; j < parts.size(); ++j)
                EXPECT_FALSE(parts[i].intersects(parts[j]))
                    << i << " and " << j << ": " << parts[i].minY() << "-" << parts[i].maxY() << ", "
                    << parts[j].minY() << "-" << parts[j].maxY();
        }
    }
}

} // namespace
} // namespace zm
