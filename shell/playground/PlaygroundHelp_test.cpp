#include "model/testing/Trees.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "playground/executors/AIExecutor.h"
#include "playground/executors/ExponentExecutor.h"
#include "playground/executors/MoveAndTapExecutor.h"
#include "playground/executors/TouchCircleView.h"
#include "shell/screens/HomeScreen.h"
#include "shell/testing/PlaygroundScreenTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class Help : public PlaygroundScreenTest {
public:
    void pressHelp() { tap(*screen->helpButton()); }
    AIExecutor* player() const { return playground().executor().get(); }
    bool demonstrating() const { return player() && player()->operational(); }
    // Lets the demonstration play until it has changed the problem.
    void letTheDemonstrationMakeAMove() {
        const std::string before = text();
        for (int wait = 0; wait < 30 && text() == before; ++wait)
            host->advance(0.5);
        ASSERT_NE(text(), before) << "the demonstration made no move";
    }
    // Lets the demonstration play until the problem is solved (a few moves of a few seconds each).
    void letTheDemonstrationSolveIt() {
        for (int wait = 0; wait < 60 && !screen->showingCompleted(); ++wait)
            host->advance(0.5);
    }
    uint32_t solved() const {
        return store().totalCompletedForTopic(screen->topic()->topicID(), AlgebraDifficultyNovice);
    }
};

// Help shows the topic's name with the sentence for its difficulty, and starts the topic's player.
TEST_F(Help, OpensWithTheTopicsSentenceAndPlayerForItsDifficulty) {
    struct Case {
        std::string_view topic;
        std::string_view difficulty;
        std::string name;
        std::string text;
        std::function<bool(AIExecutor*)> isTheRightPlayer;
    };
    const auto moveAndTap = [](AIExecutor* player) {
        return dynamic_cast<MoveAndTapExecutor*>(player) != nullptr;
    };
    const auto exponents = [](AIExecutor* player) {
        return dynamic_cast<ExponentExecutor*>(player) != nullptr;
    };
    const Case cases[] = {
        {AlgebraTopicCommutation, AlgebraDifficultyNovice, "Simplify",
         "Tap on all of the + symbols to simplify.", moveAndTap},
        {AlgebraTopicCommutation, AlgebraDifficultyMaster, "Simplify",
         "Rearrange them any way you'd like, then tap to simplify.", moveAndTap},
        // Like Terms has one sentence for both difficulties.
        {AlgebraTopicLikeTerms, AlgebraDifficultyMaster, "Like Terms",
         "Drag to match up like terms (ones with the same variable), then simplify.", moveAndTap},
        {AlgebraTopicExponents, AlgebraDifficultyNovice, "Exponents",
         "The exponent is the small number above. It represents how many times the base is multiplied to "
         "itself.",
         moveAndTap},
        {AlgebraTopicExponents, AlgebraDifficultyMaster, "Exponents",
         "Tap the * and drag left and right to reconfigure the exponent.", exponents},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.topic << " " << c.difficulty);
        store().selectDifficulty(c.difficulty, c.topic);
        ASSERT_TRUE(open(c.topic));
        pressHelp();
        ASSERT_TRUE(screen->isHelpVisible());
        EXPECT_EQ(screen->topicNameLabel()->text(), c.name);
        EXPECT_EQ(screen->topicHelpTextLabel()->text(), c.text);
        EXPECT_TRUE(c.isTheRightPlayer(player()));
        EXPECT_TRUE(demonstrating());
    }
}

TEST_F(Help, OpeningSlidesThePanelUpAndStartsTheFingerFromTheHelpButton) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        SCOPED_TRACE(device.isTablet() ? "tablet" : "phone");
        ASSERT_TRUE(open(AlgebraTopicCommutation, device));
        play(sum({num(2), num(3), num(4), num(5)}));
        tapOperator(0);
        ASSERT_TRUE(screen->undoButton()->isEnabled());
        const core::Size size = device.screenSize();
        const ui::View& panel = *screen->helpView();
        const float panelHeight = panel.bounds().height();
        const ui::View& progression = *screen->progressionView();
        const float barHeight = progression.bounds().height();

        const core::Point help = middleOf(*screen->helpButton());
        host->touchDown(help);
        host->advance(0.05);
        host->touchUp(help);
        EXPECT_TRUE(screen->isHelpVisible());
        EXPECT_EQ(screen->helpButton()->currentTitle(), "Stop");
        EXPECT_FALSE(screen->undoButton()->isEnabled());
        EXPECT_FALSE(screen->restartButton()->isEnabled());
        EXPECT_FALSE(screen->progressionView()->inProgress()) << "a demonstrated problem does not count";
        // The panel rises from below the bottom edge in half a second while the progression bar sinks.
        EXPECT_EQ(panel.presentationFrame(), (core::Rect{0, size.height, size.width, panelHeight}));
        host->advance(0.25);
        EXPECT_LT(panel.presentationFrame().minY(), size.height);
        EXPECT_GT(panel.presentationFrame().minY(), size.height - panelHeight);
        host->advance(0.3);
        EXPECT_EQ(panel.presentationFrame(),
                  (core::Rect{0, size.height - panelHeight, size.width, panelHeight}));
        EXPECT_EQ(progression.presentationFrame().minY(), size.height);
        EXPECT_EQ(progression.presentationFrame().height(), barHeight);
        // On top: the panel, holding the blurred strip under its two labels.
        EXPECT_EQ(screen->view()->subviews().back().get(), &panel);
        ASSERT_EQ(panel.subviews().size(), 3u);
        EXPECT_EQ(panel.subviews()[0], screen->blurBackgroundBottomPiece());
        EXPECT_EQ(panel.subviews()[1], screen->topicHelpTextLabel());
        EXPECT_EQ(panel.subviews()[2], screen->topicNameLabel());
        // The expression is fitted above the panel.
        EXPECT_EQ(playground().spacingRect(), screen->makeSpacingRect());
        EXPECT_LE(playground().spacingRect().maxY(),
                  size.height - panelHeight + (device.isTablet() ? 100 : panelHeight / 2));
        // The finger came out of the Help button and is playing.
        ASSERT_TRUE(player());
        EXPECT_EQ(player()->restingView(), screen->helpButton());
        EXPECT_EQ(player()->indicatorView()->superview(), screen->view().get());
        EXPECT_TRUE(demonstrating());
    }
}

// Stop: the panel slides away, the player stops and the finger goes home; Undo and Restart follow the
// history again, and the problem counts again when the player solves it.
TEST_F(Help, StopClosesItAndStopsTheDemonstration) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    play(sum({num(2), num(3), num(4), num(5)}));
    pressHelp();
    letTheDemonstrationMakeAMove();
    EXPECT_FALSE(screen->undoButton()->isEnabled());
    pressHelp();
    EXPECT_EQ(screen->helpButton()->currentTitle(), "Help");
    EXPECT_FALSE(demonstrating());
    EXPECT_FALSE(screen->isHelpVisible()) << "gone after its half-second slide";
    EXPECT_TRUE(screen->undoButton()->isEnabled());
    EXPECT_TRUE(screen->restartButton()->isEnabled());
    EXPECT_TRUE(screen->progressionView()->inProgress());
    const core::Size size = screen->view()->bounds().size;
    EXPECT_EQ(screen->progressionView()->frame().maxY(), size.height);
    EXPECT_EQ(playground().spacingRect(), screen->makeSpacingRect());
    EXPECT_EQ(playground().spacingRect().height(), 568) << "the full area again";
    // Nothing plays on.
    const std::string stopped = text();
    host->advance(6);
    EXPECT_EQ(text(), stopped);
    EXPECT_FALSE(player()->indicatorView()->superview()) << "the finger flew home and went";

    // The panel counts as open during its slide: a second Stop then closes it again, harmlessly.
    pressHelp();
    ASSERT_TRUE(screen->isHelpVisible());
    screen->hitHelp();
    host->advance(0.25);
    EXPECT_TRUE(screen->isHelpVisible());
    screen->hitHelp();
    host->advance(1);
    EXPECT_FALSE(screen->isHelpVisible());
    EXPECT_EQ(screen->helpButton()->currentTitle(), "Help");
    EXPECT_FALSE(demonstrating());
}

TEST_F(Help, EachOpeningMakesANewPlayer) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    play(sum({num(2), num(3), num(4), num(5)}));
    pressHelp();
    const std::weak_ptr<AIExecutor> first = playground().executor();
    pressHelp();
    host->advance(1);
    EXPECT_FALSE(first.expired()) << "kept, stopped, until the next opening";
    pressHelp();
    EXPECT_TRUE(first.expired());
    EXPECT_TRUE(demonstrating());
}

// The player takes over where the demonstration left the problem; solved by hand, it counts.
TEST_F(Help, ATouchTakesOverFromTheDemonstration) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    play(sum({num(2), num(3), num(4), num(5)}));
    pressHelp();
    letTheDemonstrationMakeAMove();
    const std::string reached = text();
    ASSERT_FALSE(screen->isComplete());
    tapOperator(0);
    EXPECT_EQ(screen->helpButton()->currentTitle(), "Help");
    EXPECT_FALSE(screen->isHelpVisible());
    EXPECT_FALSE(demonstrating());
    EXPECT_NE(text(), reached) << "the touch itself was played";
    solveByTapping();
    EXPECT_EQ(solved(), 1u);
}

TEST_F(Help, ADemonstrationThatSolvesTheProblemCountsNothing) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    play(sum({num(2), num(3), num(4)}));
    pressHelp();
    letTheDemonstrationSolveIt();
    ASSERT_TRUE(screen->showingCompleted());
    EXPECT_TRUE(screen->isComplete());
    EXPECT_EQ(solved(), 0u);
    host->advance(1);
    EXPECT_FALSE(screen->isHelpVisible());
    EXPECT_FALSE(demonstrating());
    EXPECT_FALSE(screen->helpButton()->isEnabled());
    EXPECT_EQ(screen->helpButton()->currentTitle(), "Help");
    EXPECT_TRUE(screen->completedProblemView());
    // The next problem counts again.
    tap(*screen->genProblemButton());
    EXPECT_TRUE(screen->progressionView()->inProgress());
    host->advance(1);
    solveByTapping();
    EXPECT_EQ(solved(), 1u);
}

// Leaving the screen, or a new problem, never leaves a demonstration playing.
TEST_F(Help, LeavingOrANewProblemStopsTheDemonstration) {
    ASSERT_TRUE(open(AlgebraTopicCommutation));
    play(sum({num(2), num(3), num(4), num(5)}));
    pressHelp();
    host->advance(1);
    // The new-problem button has sunk with the progression bar; the difficulty chooser or the mastery
    // panel still asks for a new problem.
    screen->hitRandom();
    EXPECT_FALSE(demonstrating());
    EXPECT_EQ(screen->helpButton()->currentTitle(), "Help");
    const std::string fresh = text();
    host->advance(6);
    EXPECT_EQ(text(), fresh);

    pressHelp();
    host->advance(1);
    const std::shared_ptr<PlaygroundViewController> left = screen;
    tap(*screen->homeButton());
    ASSERT_TRUE(std::dynamic_pointer_cast<HomeScreen>(container->mainVC()));
    const std::string atLeaving = left->playgroundView()->mainPlayground()->mainExpr()->description();
    EXPECT_FALSE(left->playgroundView()->executor()->operational());
    host->advance(6);
    EXPECT_EQ(left->playgroundView()->mainPlayground()->mainExpr()->description(), atLeaving);
}

// The first visit of a topic with nothing solved opens help once, remembered across launches.
TEST_F(Help, OpensByItselfOnTheFirstVisitOnly) {
    store().resetProgress();
    ASSERT_TRUE(open(AlgebraTopicLikeTerms));
    EXPECT_TRUE(screen->isHelpVisible());
    EXPECT_TRUE(demonstrating());
    EXPECT_EQ(screen->topicNameLabel()->text(), "Like Terms");
    // The visit is saved.
    const core::Dictionary saved = savedDefaults();
    const core::Value* stats = saved.find("statsKey");
    ASSERT_TRUE(stats && stats->asDictionary());
    const core::Value* viewed = stats->asDictionary()->find("viewedTopics");
    ASSERT_TRUE(viewed && viewed->asArray());
    EXPECT_NE(std::ranges::find(*viewed->asArray(), core::Value(std::string(AlgebraTopicLikeTerms))),
              viewed->asArray()->end());

    ASSERT_TRUE(open(AlgebraTopicLikeTerms));
    EXPECT_FALSE(screen->isHelpVisible());
    // Another fresh topic still opens it.
    ASSERT_TRUE(open(AlgebraTopicFactorization));
    EXPECT_TRUE(screen->isHelpVisible());
}

TEST_F(Help, ShowsThePanelOverTheProblemAtBothSizes) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        const std::string name = device.isTablet() ? "help-tablet" : "help-phone";
        SCOPED_TRACE(name);
        ASSERT_TRUE(open(AlgebraTopicCommutation, device));
        play(sum({num(12), num(7), num(30)}));
        pressHelp();
        const std::shared_ptr<const gfx::Image> picture = shot(name);
        // The expression stands above the panel.
        const core::Rect term = playground().convertRectToView(
            playground().mainPlayground()->mainExprView()->getHitbox(), nullptr);
        EXPECT_LE(term.maxY(), screen->helpView()->frame().minY());
        EXPECT_TRUE(picture);
    }
}

} // namespace
} // namespace zm
