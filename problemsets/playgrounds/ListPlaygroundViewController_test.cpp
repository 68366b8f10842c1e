#include "problemsets/playgrounds/ListPlaygroundViewController.h"

#include "components/KHProgressHUD/KHProgressHUD.h"
#include "model/Operator.h"
#include "platform/ui/Label.h"
#include "playground/views/ExprView.h"
#include "problemsets/playgrounds/ProblemEditViewController.h"
#include "problemsets/playgrounds/QuickPlaygroundViewController.h"
#include "problemsets/screens/ProblemListViewController.h"
#include "problemsets/testing/TypingTesting.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

class PlayingASet : public testing::TypingTest {
protected:
    // Opens the set "Set" of `count` problems (1 + 1, 1 + 2, ...) and plays it from `row`, or with Start.
    std::shared_ptr<ListPlaygroundViewController> play(size_t count, std::optional<size_t> row,
                                                       const ui::Device& device = testing::kTablet) {
        std::string text;
        for (size_t i = 1; i <= count; ++i)
            text += "1 + " + std::to_string(i) + "\n";
        makeSet(localFolder(), "Set.problemlist", text);
        const std::shared_ptr<MasterListViewController> list =
            device.isTablet() ? listOfSets() : openProblemSets(device);
        tapOn(*cells(*list)[0]);
        const auto set = current<ProblemListViewController>();
        if (row)
            tapOn(*cells(*set)[*row]);
        else
            tapButton(set->startSetButton());
        return current<ListPlaygroundViewController>();
    }

    // Taps the first operator of the problem shown.
    void tapFirstOperator(ListPlaygroundViewController& player) {
        PlaygroundView& playground = *player.playgroundView();
        const ExprPtr expr = playground.mainPlayground()->mainExpr();
        const auto op = playground.mainPlayground()->mainExprView()->viewWithOp(expr->ownOps()[0].get());
        ASSERT_TRUE(op);
        testing::tap(*host, playground.convertPointToView(op->getPointAtPosition(AnchorCenter), nullptr));
        wait(1);
    }
};

// The set's size and the position played: the label, the arrows and the problem shown.
TEST_F(PlayingASet, TheLabelAndTheArrows) {
    struct Case {
        size_t count;
        std::optional<size_t> row;
        std::string label;
        bool left, right;
        std::string shown;
    };
    const Case cases[] = {
        {0, std::nullopt, "0/0", false, false, ""},
        {1, std::nullopt, "1/1", false, false, "1 + 1"},
        {5, 2, "3/5", true, true, "1 + 3"},
        {5, std::nullopt, "1/5", false, true, "1 + 1"},
        {5, 4, "5/5", true, false, "1 + 5"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.label);
        const auto player = play(test.count, test.row);
        ASSERT_TRUE(player);
        EXPECT_EQ(player->problemIndexLabel()->text(), test.label);
        EXPECT_EQ(player->leftButton()->isEnabled(), test.left);
        EXPECT_EQ(player->rightButton()->isEnabled(), test.right);
        EXPECT_EQ(shown(), test.shown);
        EXPECT_EQ(player->problemListNameButton()->currentTitle(), "Set");
        EXPECT_EQ(player->homeButton()->currentTitle(), "Topics");
        EXPECT_TRUE(touchable());
        // No wrap-around: an arrow that is off does nothing, also on an empty set.
        const std::string label = test.label;
        if (!test.left) {
            player->hitLeft();
            EXPECT_EQ(player->problemIndexLabel()->text(), label);
        }
        if (!test.right) {
            player->hitRight();
            EXPECT_EQ(player->problemIndexLabel()->text(), label);
        }
        tapButton(player->homeButton());
        tapButton(current<ProblemListViewController>()->homeButton());
    }
}

// Porting hazard: a row past the end (a list out of date) showed "6/5" over the old problem.
TEST_F(PlayingASet, ARowPastTheEndPlaysTheLastProblem) {
    const auto player = play(5, 0);
    player->skipToProblemIndex(7);
    wait(1);
    EXPECT_EQ(player->problemIndexLabel()->text(), "5/5");
    EXPECT_EQ(shown(), "1 + 5");
    EXPECT_FALSE(player->rightButton()->isEnabled());
}

TEST_F(PlayingASet, StepsAwayAndBackStartTheProblemAfresh) {
    const auto player = play(3, 0);
    tapFirstOperator(*player);
    EXPECT_EQ(shown(), "2");
    // Solved, it stays: no celebration, no next problem.
    EXPECT_FALSE(player->showingCompleted());
    EXPECT_EQ(player->problemIndexLabel()->text(), "1/3");
    tapButton(player->rightButton());
    EXPECT_EQ(shown(), "1 + 2");
    tapButton(player->leftButton());
    EXPECT_EQ(shown(), "1 + 1");
    EXPECT_EQ(player->document()->problemAtIndex(0)->description(), "1 + 1");
    EXPECT_FALSE(player->document()->hasUnsavedChanges());
}

TEST_F(PlayingASet, TheTopRightBarHugsTheRightEdge) {
    const ListPlaygroundViewController::TopRightBar phone = ListPlaygroundViewController::topRightBar(40, 60, false);
    EXPECT_EQ(phone.width, 132);
    EXPECT_EQ(phone.restartX, 40 + 16);
    EXPECT_EQ(phone.buttonY, 25);
    EXPECT_EQ(phone.buttonHeight, 35);
    const ListPlaygroundViewController::TopRightBar tablet = ListPlaygroundViewController::topRightBar(40, 60, true);
    EXPECT_EQ(tablet.width, 148);
    EXPECT_EQ(tablet.restartX, 40 + 24);
    EXPECT_EQ(tablet.buttonY, 13);
    EXPECT_EQ(tablet.buttonHeight, 75);

    const auto player = play(2, std::nullopt, testing::kPhone);
    const ui::View& bar = *player->topRightView();
    EXPECT_EQ(bar.frame().maxX(), player->view()->bounds().width());
    EXPECT_EQ(player->restartButton()->frame().maxX() + 16, bar.frame().width());
    EXPECT_EQ(player->undoButton()->currentTitle(), "Undo");
    EXPECT_EQ(player->restartButton()->currentTitle(), "Restart");
}

// Home goes back to the set's screen, which shows its problems at once.
TEST_F(PlayingASet, HomeZoomsOutToTheSet) {
    const auto player = play(2, 1);
    testing::tap(*host, testing::middleInWindow(*player->homeButton()));
    host->advance(0.05);
    const auto set = std::dynamic_pointer_cast<ProblemListViewController>(container().childViewControllers().back());
    ASSERT_TRUE(set);
    EXPECT_FALSE(KHProgressHUD::HUDForView(*set->view()));
    EXPECT_EQ(set->totalRows(), 2u);
    wait(1);
    EXPECT_EQ(current<ProblemListViewController>(), set);
}

// The whole road, as a player takes it: a new set, three problems typed, one fixed, played with the
// arrows; the game quits, starts again over the same data, and the set is there; a quick problem typed
// and played.
TEST_F(PlayingASet, TheWholeRoadAcrossARelaunch) {
    std::shared_ptr<MasterListViewController> list = openProblemSets(testing::kPhone);
    tapButton(list->createProblemSetButton());
    auto set = current<ProblemListViewController>();
    ASSERT_TRUE(set);
    for (const std::string problem : {"x+1=3", "2*3+x", "5-y"}) {
        tapButton(set->createProblemButton());
        type(problem);
        done();
        set = current<ProblemListViewController>();
        ASSERT_TRUE(set);
    }
    EXPECT_EQ(set->totalRows(), 3u);
    set->textField()->setText("Homework");
    set->textFieldShouldReturn(*set->textField());
    wait(1);
    // Fixing the second problem.
    tapButton(set->topRightButton());
    tapOn(*cells(*set)[1]);
    retype("2*4+x");
    done();
    set = current<ProblemListViewController>();
    tapButton(set->startSetButton());
    auto player = current<ListPlaygroundViewController>();
    ASSERT_TRUE(player);
    std::vector<std::string> played = {shown()};
    while (player->rightButton()->isEnabled()) {
        tapButton(player->rightButton());
        played.push_back(shown());
    }
    EXPECT_EQ(played, (std::vector<std::string>{"x + 1 = 3", "2 * 4 + x", "5 + -1y"}));
    EXPECT_EQ(player->problemIndexLabel()->text(), "3/3");
    host->application().terminate();

    list = openProblemSets(testing::kPhone);
    EXPECT_EQ(shownNames(*list), std::vector<std::string>{"Homework"});
    tapOn(*cells(*list)[0]);
    set = current<ProblemListViewController>();
    EXPECT_EQ(set->totalRows(), 3u);
    tapOn(*cells(*set)[2]);
    player = current<ListPlaygroundViewController>();
    EXPECT_EQ(player->problemIndexLabel()->text(), "3/3");
    EXPECT_EQ(shown(), "5 + -1y");
    tapButton(player->homeButton());
    tapButton(current<ProblemListViewController>()->homeButton());

    tapButton(current<MasterListViewController>()->quickProblemButton());
    type("3+4");
    done();
    const auto quick = current<QuickPlaygroundViewController>();
    ASSERT_TRUE(quick);
    PlaygroundView& playground = *quick->playgroundView();
    const ExprPtr expr = playground.mainPlayground()->mainExpr();
    const auto plus = playground.mainPlayground()->mainExprView()->viewWithOp(expr->ownOps()[0].get());
    testing::tap(*host, playground.convertPointToView(plus->getPointAtPosition(AnchorCenter), nullptr));
    wait(1);
    EXPECT_EQ(shown(), "7");
}

TEST_F(PlayingASet, TheScreensAtPhoneAndTablet) {
    for (const ui::Device& device : {testing::kPhone, testing::kTablet}) {
        const std::string idiom = device.isTablet() ? "tablet" : "phone";
        TearDown();
        SetUp();
        const auto player = play(5, 2, device);
        ASSERT_TRUE(player);
        const auto atThree = testing::keepScreenshot(*host, "set-player-" + idiom);
        testing::expectLegible(*atThree, *player->problemIndexLabel(), device.scale);
        testing::expectLegible(*atThree, *player->problemListNameButton(), device.scale);
        testing::expectLegible(*atThree, *player->playgroundView(), device.scale);

        tapButton(player->homeButton());
        const auto set = current<ProblemListViewController>();
        tapButton(set->topRightButton());
        tapOn(*cells(*set)[1]);
        ASSERT_TRUE(current<ProblemEditViewController>());
        keyboardUp();
        ASSERT_TRUE(keyboard());
        const auto editing = testing::keepScreenshot(*host, "problem-edit-" + idiom);
        testing::expectLegible(*editing, *keyboard()->view(), device.scale);
        testing::expectLegible(*editing, *current<ProblemEditViewController>()->playgroundView(),
                               device.scale);
        cancel();
        tapButton(current<ProblemListViewController>()->homeButton());

        tapButton(current<MasterListViewController>()->quickProblemButton());
        type("2x+3=7");
        ASSERT_TRUE(keyboard());
        const auto quick = testing::keepScreenshot(*host, "quick-problem-" + idiom);
        testing::expectLegible(*quick, *keyboard()->view(), device.scale);
        testing::expectLegible(*quick, *current<QuickPlaygroundViewController>()->playgroundView(),
                               device.scale);
    }
}

} // namespace
} // namespace zm
