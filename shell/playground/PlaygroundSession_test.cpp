// A player's session on the topic playground screen, by touch alone: a generated problem solved and
// then undone move by move.

#include "model/ExprSoloist.h"
#include "shell/testing/PlaygroundScreenTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using PlaygroundSession = testing::PlaygroundScreenTest;

TEST_F(PlaygroundSession, APlayerSolvesAGeneratedProblemByTouchAndUndoesIt) {
    ASSERT_TRUE(open(AlgebraTopicCommutation, testing::kPhone));
    // A sum of three or four numbers: tapping a "+" adds its neighbours.
    std::vector<std::string> shown = {text()};
    const size_t moves = expr()->ownOps().size();
    ASSERT_GE(moves, 2u) << text();
    for (size_t move = 0; move < moves; ++move) {
        EXPECT_FALSE(screen->isComplete()) << text();
        tapOperator(0);
        ASSERT_NE(text(), shown.back()) << "the tap on the first + did nothing";
        shown.push_back(text());
        EXPECT_TRUE(screen->undoButton()->isEnabled());
        EXPECT_TRUE(screen->restartButton()->isEnabled());
    }
    // One number is left: solved.
    const auto answer = std::dynamic_pointer_cast<ExprSoloist>(expr());
    ASSERT_TRUE(answer) << text();
    EXPECT_TRUE(answer->varIsNum());
    EXPECT_TRUE(screen->isComplete());
    shot("session-solved");

    // Undo walks back through every move to the problem as it was generated.
    for (size_t move = moves; move > 0; --move) {
        ASSERT_TRUE(screen->undoButton()->isEnabled());
        tap(*screen->undoButton());
        EXPECT_EQ(text(), shown[move - 1]);
    }
    EXPECT_FALSE(screen->undoButton()->isEnabled());
    EXPECT_FALSE(screen->restartButton()->isEnabled());
    EXPECT_TRUE(screen->currentProblem()->isExactMatch(*expr()));
    EXPECT_FALSE(screen->isComplete());
    // A tap on the disabled Undo changes nothing.
    tap(*screen->undoButton());
    EXPECT_EQ(text(), shown.front());
    shot("session-undone");

    // And it can be played again.
    tapOperator(0);
    EXPECT_EQ(text(), shown[1]);
}

} // namespace
} // namespace zm
