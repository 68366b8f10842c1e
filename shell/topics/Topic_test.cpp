// The topic catalogue: everything a topic answers follows from its identifier's text.

#include "model/ExprSoloist.h"
#include "model/testing/Trees.h"
#include "platform/core/Files.h"
#include "platform/core/Localization.h"
#include "platform/core/TemporaryFolder.h"
#include "shell/topics/Topic.h"
#include "shell/topics/TopicIdentifiers.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using enum ExecutorClass;

// Texts come from a German table of the test's own, so that a lookup shows; it translates three
// texts, one of them the "Unknown" that is never looked up.
class TopicTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path folder = m_bundle.path() / "de.lproj";
        ASSERT_TRUE(core::createDirectories(folder));
        ASSERT_TRUE(core::writeFileAtomically(folder / "Localizable.strings", R"("Factors" = "Faktoren";
"Unknown" = "Unbekannt";
"Create Your Own" = "Selbst erstellen";
)"));
        core::Localization::setMain(
            std::make_shared<core::Localization>(m_bundle.path(), std::vector<std::string>{"de"}));
    }
    void TearDown() override { core::Localization::setMain(nullptr); }

private:
    core::TemporaryFolder m_bundle;
};

struct CatalogueRow {
    std::string_view topic;
    const char* name;
    const char* helpText;
    const char* helpTextRound2;
    ExecutorClass novice;
    ExecutorClass master;
};

const CatalogueRow kCatalogue[] = {
    {AlgebraTopicCommutation, "Simplify", "Tap on all of the + symbols to simplify.",
     "Rearrange them any way you'd like, then tap to simplify.", MoveAndTapExecutor, MoveAndTapExecutor},
    {AlgebraTopicLikeTerms, "Like Terms",
     "Drag to match up like terms (ones with the same variable), then simplify.", nullptr, MoveAndTapExecutor,
     MoveAndTapExecutor},
    {AlgebraTopicOrderOfOperations, "Multiply then Add",
     "Multiplication comes before Addition. Tap * before +.", nullptr, MoveAndTapExecutor,
     MoveAndTapExecutor},
    {AlgebraTopicFactorization, "Faktoren",
     "Tap on numbers to explore their factors. Keep going until all you have are primes.", nullptr,
     FactorizeExecutor, FactorizeExecutor},
    {AlgebraTopicElimination, "Elimination", "Eliminate identical terms in both the top and bottom.",
     "The terms being eliminated must be part of a product(*) NOT a sum(+).", EliminationExecutor,
     EliminationExecutor},
    {AlgebraTopicEquations, "Equations",
     "Get the variable by itself on one side of the equation, then simplify.",
     "When going across the equals sign, the opposite operator is applied. + and - are opposites, same with "
     "* and /",
     EquationExecutor, EquationExecutor},
    {AlgebraTopicDistribution, "Distribution", "Drag the slider to multiply into each element of the sum.",
     nullptr, DistributionExecutor, DistributionExecutor},
    {AlgebraTopicExponents, "Exponents",
     "The exponent is the small number above. It represents how many times the base is multiplied to itself.",
     "Tap the * and drag left and right to reconfigure the exponent.", MoveAndTapExecutor, ExponentExecutor},
    {AlgebraTopicCustom, "Selbst erstellen", "Selbst erstellen", nullptr, CancelExecutor, CancelExecutor},
    {"AlgebraTopicAstronomy", "Unknown", "Unknown", nullptr, CancelExecutor, CancelExecutor},
    {"algebratopiccommutation", "Unknown", "Unknown", nullptr, CancelExecutor, CancelExecutor},
};

TEST_F(TopicTest, CatalogueFollowsTheIdentifier) {
    for (const CatalogueRow& row : kCatalogue) {
        SCOPED_TRACE(row.topic);
        const Topic topic{std::string(row.topic)};
        EXPECT_EQ(topic.topicID(), row.topic);
        EXPECT_EQ(topic.name(), row.name);
        EXPECT_EQ(topic.helpText(), row.helpText);
        if (row.helpTextRound2)
            EXPECT_EQ(topic.helpTextRound2(), row.helpTextRound2);
        else
            EXPECT_EQ(topic.helpTextRound2(), std::nullopt);
        EXPECT_EQ(topic.executorClassNovice(), row.novice);
        EXPECT_EQ(topic.executorClassMaster(), row.master);
    }
}

TEST(Topic, LabelExpressionsAreReadFromTheirTextsOnEveryCall) {
    const std::pair<std::string_view, const char*> labels[] = {
        {AlgebraTopicCommutation, "2 + 2"},           {AlgebraTopicLikeTerms, "1 + 5x + 3 + x"},
        {AlgebraTopicOrderOfOperations, "2 + 3 * 4"}, {AlgebraTopicFactorization, "7 * 2 * 3"},
        {AlgebraTopicElimination, "(3 * c) / 3"},     {AlgebraTopicEquations, "x + 3 = 5"},
        {AlgebraTopicDistribution, "3 * (x + 2)"},    {AlgebraTopicExponents, "x^3 * x^5"},
        {"AlgebraTopicAstronomy", "1 + 1"},
    };
    for (const auto& [id, text] : labels)
        EXPECT_EQ(Topic(std::string(id)).labelExpr()->description(), text) << id;
    // The custom card shows whatever the reader makes of its sign.
    EXPECT_EQ(Topic(std::string(AlgebraTopicCustom)).labelExpr()->description(), "∞");

    const Topic likeTerms{std::string(AlgebraTopicLikeTerms)};
    const ExprPtr first = likeTerms.labelExpr();
    first->getSolos().front()->setCoef(9);
    EXPECT_EQ(likeTerms.labelExpr()->description(), "1 + 5x + 3 + x");
}

TEST(Topic, IdentifiersHoldTheirOwnNamesInCarouselOrder) {
    const std::string_view expected[] = {
        "AlgebraTopicCommutation",   "AlgebraTopicLikeTerms",   "AlgebraTopicOrderOfOperations",
        "AlgebraTopicFactorization", "AlgebraTopicElimination", "AlgebraTopicEquations",
        "AlgebraTopicDistribution",  "AlgebraTopicExponents",   "AlgebraTopicCustom",
    };
    ASSERT_EQ(kAlgebraTopics.size(), std::size(expected));
    for (size_t i = 0; i < kAlgebraTopics.size(); ++i)
        EXPECT_EQ(kAlgebraTopics[i], expected[i]);
    EXPECT_EQ(AlgebraDifficultyNovice, "AlgebraDifficultyNovice");
    EXPECT_EQ(AlgebraDifficultyMaster, "AlgebraDifficultyMaster");
    EXPECT_EQ(AlgebraTopicState, "AlgebraTopicState");
}

TEST(Topic, OnlyTheMasterDifficultyAnswersTheMasterPlayer) {
    const Topic exponents{std::string(AlgebraTopicExponents)};
    EXPECT_EQ(exponents.executorClassForDifficulty(AlgebraDifficultyMaster), ExponentExecutor);
    for (std::string_view other : {AlgebraDifficultyNovice, std::string_view("AlgebraDifficultyExpert"),
                                   std::string_view("algebradifficultymaster"), std::string_view()})
        EXPECT_EQ(exponents.executorClassForDifficulty(other), MoveAndTapExecutor) << other;
}

TEST(Topic, ExecutorClassesAreNamedForThePlaygroundsFactories) {
    const std::pair<ExecutorClass, std::string_view> names[] = {
        {MoveAndTapExecutor, "MoveAndTapExecutor"},
        {FactorizeExecutor, "FactorizeExecutor"},
        {EliminationExecutor, "EliminationExecutor"},
        {EquationExecutor, "EquationExecutor"},
        {DistributionExecutor, "DistributionExecutor"},
        {ExponentExecutor, "ExponentExecutor"},
        {CancelExecutor, "CancelExecutor"},
    };
    for (const auto& [executorClass, name] : names)
        EXPECT_EQ(executorClassName(executorClass), name);
}

TEST(Topic, FactorsWantFactorisedEveryOtherTopicSimplified) {
    using namespace zm::testing;
    const ExprPtr twelve = num(12);
    const ExprPtr primes = prod({num(2), num(2), num(3)});
    const ExprPtr likeTerms = sum({var("x"), var("x")});
    for (std::string_view id : kAlgebraTopics) {
        const Topic topic{std::string(id)};
        const bool factors = id == AlgebraTopicFactorization;
        EXPECT_EQ(topic.problemComplete(*twelve), !factors) << id;
        EXPECT_EQ(topic.problemComplete(*primes), factors) << id;
        EXPECT_FALSE(topic.problemComplete(*likeTerms)) << id;
    }
    EXPECT_TRUE(Topic("AlgebraTopicAstronomy").problemComplete(*twelve));
}

} // namespace
} // namespace zm
