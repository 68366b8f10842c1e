// A topic's progress record and its stored form.

#include "platform/core/Value.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStats.h"

#include <limits>

#include <gtest/gtest.h>

namespace zm {
namespace {

using core::Dictionary;
using core::Value;

TEST(TopicStats, CountsPerDifficulty) {
    TopicStats stats;
    EXPECT_EQ(stats.selectedDifficulty(), AlgebraDifficultyNovice);
    EXPECT_EQ(stats.totalCompletedProblemsForDifficulty(AlgebraDifficultyMaster), 0u);
    stats.incrementCompletedForDifficulty(AlgebraDifficultyMaster);
    stats.incrementCompletedForDifficulty(AlgebraDifficultyMaster);
    stats.incrementCompletedForDifficulty("AlgebraDifficultyExpert");
    EXPECT_EQ(stats.totalCompletedProblemsForDifficulty(AlgebraDifficultyMaster), 2u);
    EXPECT_EQ(stats.totalCompletedProblemsForDifficulty(AlgebraDifficultyNovice), 0u);
    EXPECT_EQ(stats.totalCompletedProblemsForDifficulty("AlgebraDifficultyExpert"), 1u);

    stats.setCompletedProblems(
        {{std::string(AlgebraDifficultyNovice), std::numeric_limits<uint32_t>::max()}});
    stats.incrementCompletedForDifficulty(AlgebraDifficultyNovice);
    EXPECT_EQ(stats.totalCompletedProblemsForDifficulty(AlgebraDifficultyNovice),
              std::numeric_limits<uint32_t>::max());
}

TEST(TopicStats, StoredFormRoundTrips) {
    TopicStats stats;
    stats.setSelectedDifficulty(std::string(AlgebraDifficultyMaster));
    stats.setCompletedProblems(
        {{std::string(AlgebraDifficultyNovice), 4}, {std::string(AlgebraDifficultyMaster), 7}});

    const Value stored = stats.encode();
    EXPECT_EQ(stored, Value(Dictionary{
                          {"version", 1},
                          {"difficultyKey", "AlgebraDifficultyMaster"},
                          {"completedKey",
                           Dictionary{{"AlgebraDifficultyNovice", 4}, {"AlgebraDifficultyMaster", 7}}},
                      }));
    EXPECT_EQ(TopicStats::decode(stored), stats);
    EXPECT_EQ(TopicStats::decode(TopicStats().encode()), TopicStats());
}

TEST(TopicStats, MissingOrMistypedFieldsTakeTheirDefaults) {
    const std::pair<Value, TopicStats::Counts> cases[] = {
        {Dictionary{{"version", 1}}, {}},
        {Dictionary{{"version", 1}, {"difficultyKey", 2}, {"completedKey", "many"}}, {}},
        {Dictionary{{"version", 1},
                    {"completedKey", Dictionary{{"AlgebraDifficultyNovice", 3},
                                                {"AlgebraDifficultyMaster", -1},
                                                {"AlgebraDifficultyExpert", int64_t{1} << 32},
                                                {"AlgebraDifficultyGuru", "5"},
                                                {"AlgebraDifficultyAce", 2.5}}}},
         {{"AlgebraDifficultyNovice", 3}}},
    };
    for (const auto& [stored, counts] : cases) {
        const std::optional<TopicStats> stats = TopicStats::decode(stored);
        ASSERT_TRUE(stats);
        EXPECT_EQ(stats->selectedDifficulty(), AlgebraDifficultyNovice);
        EXPECT_EQ(stats->completedProblems(), counts);
    }
}

TEST(TopicStats, UnreadableFormsAnswerNone) {
    const Value unreadable[] = {
        Value(),
        Value(core::Bytes{0x62, 0x70, 0x6c, 0x69, 0x73, 0x74}),
        Value("AlgebraDifficultyNovice"),
        Value(core::Array{}),
        Value(Dictionary{{"difficultyKey", "AlgebraDifficultyMaster"}}),
        Value(Dictionary{{"version", "1"}, {"difficultyKey", "AlgebraDifficultyMaster"}}),
        Value(Dictionary{{"version", 2}, {"difficultyKey", "AlgebraDifficultyMaster"}}),
        Value(Dictionary{{"version", 0}}),
    };
    for (const Value& value : unreadable)
        EXPECT_EQ(TopicStats::decode(value), std::nullopt);
}

} // namespace
} // namespace zm
