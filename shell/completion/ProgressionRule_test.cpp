#include "shell/completion/ProgressionRule.h"
#include "shell/topics/TopicIdentifiers.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

struct Case {
    std::string_view difficulty;
    ProblemCounts before;
    ProgressionStep expected;
};

constexpr ProgressionStep kNothing{};
constexpr ProgressionStep kToMaster{.switchToMaster = true};
constexpr ProgressionStep kMastered{.finishedMaster = true};

// Counts before the problem is counted: needed at novice and master, solved at novice and master.
TEST(ProgressionRule, OnlyTheProblemThatCompletesADifficultyMovesTheTopicOn) {
    const Case cases[] = {
        {AlgebraDifficultyNovice, {4, 4, 0, 0}, kNothing},
        {AlgebraDifficultyNovice, {4, 4, 2, 0}, kNothing},
        // The last novice problem: on to master, or mastered when master is done already.
        {AlgebraDifficultyNovice, {4, 4, 3, 0}, kToMaster},
        {AlgebraDifficultyNovice, {4, 4, 3, 3}, kToMaster},
        {AlgebraDifficultyNovice, {4, 4, 3, 4}, kMastered},
        {AlgebraDifficultyNovice, {4, 4, 3, 9}, kMastered},
        // Past the last one, novice problems move nothing.
        {AlgebraDifficultyNovice, {4, 4, 4, 0}, kNothing},
        {AlgebraDifficultyNovice, {4, 4, 7, 4}, kNothing},
        // The last master problem masters the topic only once the novice problems are done.
        {AlgebraDifficultyMaster, {4, 4, 4, 3}, kMastered},
        {AlgebraDifficultyMaster, {4, 4, 9, 3}, kMastered},
        {AlgebraDifficultyMaster, {4, 4, 3, 3}, kNothing},
        {AlgebraDifficultyMaster, {4, 4, 0, 3}, kNothing},
        {AlgebraDifficultyMaster, {4, 4, 4, 2}, kNothing},
        {AlgebraDifficultyMaster, {4, 4, 4, 4}, kNothing},
        // Exponents needs more master problems than novice ones.
        {AlgebraDifficultyNovice, {4, 8, 3, 7}, kToMaster},
        {AlgebraDifficultyNovice, {4, 8, 3, 8}, kMastered},
        {AlgebraDifficultyMaster, {4, 8, 4, 7}, kMastered},
        {AlgebraDifficultyMaster, {4, 8, 4, 3}, kNothing},
        // Any other difficulty moves nothing.
        {"AlgebraDifficultyUnknown", {4, 4, 3, 3}, kNothing},
        {"", {4, 4, 3, 0}, kNothing},
        // A difficulty that needs nothing has no last problem (no wrap below zero).
        {AlgebraDifficultyNovice, {0, 4, 0, 0}, kNothing},
        {AlgebraDifficultyMaster, {4, 0, 4, 0}, kNothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.difficulty << " needs " << c.before.noviceNeeded << "/" << c.before.masterNeeded
                     << " solved " << c.before.noviceSolved << "/" << c.before.masterSolved);
        const ProgressionStep step = progressionForSolvedProblem(c.difficulty, c.before);
        EXPECT_EQ(step.switchToMaster, c.expected.switchToMaster);
        EXPECT_EQ(step.finishedMaster, c.expected.finishedMaster);
    }
}

} // namespace
} // namespace zm
