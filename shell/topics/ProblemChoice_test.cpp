// Which generator the progress store asks for a topic's next problem: one draw first, whose lowest
// bit chooses where a topic has two generators, then the generator's own draws.

#include "model/Expr.h"
#include "platform/core/Random.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "shell/generator/ProblemGenerator.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using Generator = ProblemGenerator;

// Answers `first`, then the draws of a seeded source.
class FirstThenSeeded final : public core::RandomSource {
public:
    FirstThenSeeded(uint32_t first, uint64_t seed)
        : m_first(first)
        , m_rest(core::makeSeededRandom(seed)) {}

    uint32_t next() override {
        if (m_firstTaken)
            return m_rest->next();
        m_firstTaken = true;
        return m_first;
    }

private:
    uint32_t m_first;
    bool m_firstTaken = false;
    std::unique_ptr<core::RandomSource> m_rest;
};

constexpr uint64_t kSeed = 2024;
constexpr uint32_t kShuffleSeed = 77;

class ProblemChoiceTest : public ::testing::Test {
protected:
    ProblemChoiceTest()
        : m_defaults(m_folder.path() / "defaults.plist")
        , m_store(m_defaults) {}

    TopicStatsDataController& store() { return m_store; }

    // The chooser's problem under the choice draw `first`, next to what `generator` makes of the
    // same draws that follow it: the same text when the chooser sent that generator.
    template <class Choose> void expectChoice(Choose choose, uint32_t first, ExprPtr (*generator)()) {
        core::cRandom().seed(kShuffleSeed);
        ExprPtr chosen;
        {
            core::ScopedRandomSource draws(std::make_unique<FirstThenSeeded>(first, kSeed));
            chosen = choose();
        }
        core::cRandom().seed(kShuffleSeed);
        core::ScopedRandomSource draws(core::makeSeededRandom(kSeed));
        ASSERT_TRUE(chosen);
        EXPECT_EQ(chosen->description(), generator()->description());
    }

private:
    core::TemporaryFolder m_folder;
    core::UserDefaults m_defaults;
    TopicStatsDataController m_store;
};

struct Choice {
    std::string_view topic;
    ExprPtr (*odd)();
    ExprPtr (*even)();
};

TEST_F(ProblemChoiceTest, NoviceGenerators) {
    const Choice choices[] = {
        {AlgebraTopicCommutation, Generator::getSimplifyAddition, Generator::getSimplifyAddition},
        {AlgebraTopicLikeTerms, Generator::getSimplifyLikeTerms3Elements,
         Generator::getSimplifyLikeTerms3Elements},
        {AlgebraTopicFactorization, Generator::getFactorizePairs, Generator::getFactorizePairs},
        {AlgebraTopicOrderOfOperations, Generator::getSimplifyOrderOfOperations,
         Generator::getSimplifyOrderOfOperations},
        {AlgebraTopicElimination, Generator::getEliminateEqualsOne, Generator::getEliminateCrossOut},
        {AlgebraTopicEquations, Generator::getSolveIsolate, Generator::getSolveIsolate},
        {AlgebraTopicDistribution, Generator::getDistribution, Generator::getDistribution},
        {AlgebraTopicExponents, Generator::getExponentLikeTerms, Generator::getExponentLikeTerms},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.topic);
        auto choose = [&] { return store().getNoviceProblemForTopic(choice.topic); };
        expectChoice(choose, 0xFFFFFFF1u, choice.odd);
        expectChoice(choose, 0xFFFFFFF0u, choice.even);
    }
}

TEST_F(ProblemChoiceTest, MasterGenerators) {
    const Choice choices[] = {
        {AlgebraTopicCommutation, Generator::getSimplifyMultiplication, Generator::getSimplifyNegatives},
        {AlgebraTopicLikeTerms, Generator::getSimplifyLikeTerms4Elements,
         Generator::getSimplifyLikeTerms5Elements},
        {AlgebraTopicFactorization, Generator::getFactorizeReplacement, Generator::getFactorizeReplacement},
        {AlgebraTopicOrderOfOperations, Generator::getSimplifyOrderOfOperations2Elements,
         Generator::getSimplifyOrderOfOperations2Elements},
        {AlgebraTopicElimination, Generator::getEliminateDivision, Generator::getEliminateProductsOnly},
        {AlgebraTopicEquations, Generator::getSolveAdvanced, Generator::getSolveAdvanced},
        {AlgebraTopicDistribution, Generator::getDistAdvanced, Generator::getDistAdvanced},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.topic);
        auto choose = [&] { return store().getMasterProblemForTopic(choice.topic); };
        expectChoice(choose, 3, choice.odd);
        expectChoice(choose, 2, choice.even);
    }
}

TEST_F(ProblemChoiceTest, ExponentsAtMasterFollowTheSolvedCount) {
    const std::string exponents(AlgebraTopicExponents);
    store().selectDifficulty(AlgebraDifficultyMaster, exponents);
    auto choose = [&] { return store().getMasterProblemForTopic(exponents); };
    // Solved so far -> generator on an odd choice draw, on an even one.
    const std::tuple<uint32_t, ExprPtr (*)(), ExprPtr (*)()> rows[] = {
        {0, Generator::getExponentProduct, Generator::getExponentProduct},
        {2, Generator::getExponentProduct, Generator::getExponentProduct},
        {3, Generator::getExponentQuotient, Generator::getExponentQuotient},
        {5, Generator::getExponentQuotient, Generator::getExponentQuotient},
        {6, Generator::getExponentQuotient, Generator::getExponentProduct},
        {9, Generator::getExponentQuotient, Generator::getExponentProduct},
    };
    for (const auto& [solved, odd, even] : rows) {
        SCOPED_TRACE(solved);
        while (store().totalCompletedForTopic(exponents, AlgebraDifficultyMaster) < solved)
            store().problemCompletedForTopic(exponents);
        expectChoice(choose, 1, odd);
        expectChoice(choose, 0, even);
    }
}

TEST_F(ProblemChoiceTest, OtherTopicsGetFixedProblemsAfterTheirDraw) {
    for (std::string_view topic : {AlgebraTopicCustom, std::string_view("AlgebraTopicAstronomy")}) {
        core::ScopedRandomSource draws(core::makeScriptedRandom({7, 99}));
        EXPECT_EQ(store().getNoviceProblemForTopic(topic)->description(), "2 + 2");
        EXPECT_EQ(core::randomU32(), 99u) << "one draw taken";
        core::ScopedRandomSource more(core::makeScriptedRandom({8, 98}));
        EXPECT_EQ(store().getMasterProblemForTopic(topic)->description(), "5 + 5");
        EXPECT_EQ(core::randomU32(), 98u);
    }
}

TEST_F(ProblemChoiceTest, TheSelectedDifficultyChooses) {
    const std::string equations(AlgebraTopicEquations);
    auto generate = [&] { return store().generateProblemForTopic(equations); };
    expectChoice(generate, 1, [] { return Generator::getSolveIsolate(); });
    store().selectDifficulty(AlgebraDifficultyMaster, equations);
    expectChoice(generate, 1, [] { return Generator::getSolveAdvanced(); });
    store().selectDifficulty("AlgebraDifficultyExpert", equations);
    core::ScopedRandomSource draws(core::makeScriptedRandom({5, 6}));
    EXPECT_EQ(generate()->description(), "1 + 1");
    EXPECT_EQ(core::randomU32(), 5u) << "no draw taken";
}

TEST_F(ProblemChoiceTest, AskingForAProblemMakesTheTopicsRecord) {
    core::TemporaryFolder folder;
    core::UserDefaults defaults(folder.path() / "defaults.plist");
    TopicStatsDataController fresh(defaults);
    EXPECT_FALSE(defaults.contains("statsKey"));
    ASSERT_TRUE(fresh.generateProblemForTopic(AlgebraTopicCommutation));
    EXPECT_TRUE(core::UserDefaults(folder.path() / "defaults.plist")
                    .objectForKey("statsKey")
                    ->find(AlgebraTopicCommutation));
}

} // namespace
} // namespace zm
