#include "shell/topics/Topic.h"

#include "JTMathParser/ExprTextReader.h"
#include "model/Expr.h"
#include "platform/core/Localization.h"
#include "shell/topics/TopicIdentifiers.h"

#include <algorithm>
#include <iterator>

namespace zm {

namespace {

enum class Goal { Simplified, Factorized };

struct TopicRow {
    std::string_view topicID;
    const char* name;
    const char* helpText;
    const char* helpTextRound2; // null: the topic has none
    const char* labelText;
    ExecutorClass novice;
    ExecutorClass master;
    Goal goal;
};

using enum ExecutorClass;

constexpr TopicRow kTopicRows[] = {
    {AlgebraTopicCommutation, "Simplify", "Tap on all of the + symbols to simplify.",
     "Rearrange them any way you'd like, then tap to simplify.", "2+2", MoveAndTapExecutor,
     MoveAndTapExecutor, Goal::Simplified},
    {AlgebraTopicLikeTerms, "Like Terms",
     "Drag to match up like terms (ones with the same variable), then simplify.", nullptr, "1+5x+3+x",
     MoveAndTapExecutor, MoveAndTapExecutor, Goal::Simplified},
    {AlgebraTopicOrderOfOperations, "Multiply then Add",
     "Multiplication comes before Addition. Tap * before +.", nullptr, "2+3*4", MoveAndTapExecutor,
     MoveAndTapExecutor, Goal::Simplified},
    {AlgebraTopicFactorization, "Factors",
     "Tap on numbers to explore their factors. Keep going until all you have are primes.", nullptr, "7*2*3",
     FactorizeExecutor, FactorizeExecutor, Goal::Factorized},
    {AlgebraTopicElimination, "Elimination", "Eliminate identical terms in both the top and bottom.",
     "The terms being eliminated must be part of a product(*) NOT a sum(+).", "(3*c)/3", EliminationExecutor,
     EliminationExecutor, Goal::Simplified},
    {AlgebraTopicEquations, "Equations",
     "Get the variable by itself on one side of the equation, then simplify.",
     "When going across the equals sign, the opposite operator is applied. + and - are opposites, "
     "same with * and /",
     "x+3=5", EquationExecutor, EquationExecutor, Goal::Simplified},
    {AlgebraTopicDistribution, "Distribution", "Drag the slider to multiply into each element of the sum.",
     nullptr, "3*(x+2)", DistributionExecutor, DistributionExecutor, Goal::Simplified},
    {AlgebraTopicExponents, "Exponents",
     "The exponent is the small number above. It represents how many times the base is multiplied to "
     "itself.",
     "Tap the * and drag left and right to reconfigure the exponent.", "x^3*x^5", MoveAndTapExecutor,
     ExponentExecutor, Goal::Simplified},
    {AlgebraTopicCustom, "Create Your Own", "Create Your Own", nullptr, "∞", CancelExecutor, CancelExecutor,
     Goal::Simplified},
};

// Not looked up: shown as it stands.
constexpr TopicRow kUnknownTopicRow = {
    {}, "Unknown", "Unknown", nullptr, "1+1", CancelExecutor, CancelExecutor, Goal::Simplified,
};

const TopicRow& rowOf(std::string_view topicID) {
    const auto row = std::find_if(std::begin(kTopicRows), std::end(kTopicRows),
                                  [topicID](const TopicRow& each) { return each.topicID == topicID; });
    return row == std::end(kTopicRows) ? kUnknownTopicRow : *row;
}

bool isUnknown(const TopicRow& row) {
    return &row == &kUnknownTopicRow;
}

} // namespace

Topic::Topic(std::string topicID)
    : m_topicID(std::move(topicID)) {}

std::string Topic::name() const {
    const TopicRow& row = rowOf(m_topicID);
    return isUnknown(row) ? row.name : core::localized(row.name);
}

std::string Topic::helpText() const {
    const TopicRow& row = rowOf(m_topicID);
    return isUnknown(row) ? row.helpText : core::localized(row.helpText);
}

std::optional<std::string> Topic::helpTextRound2() const {
    const TopicRow& row = rowOf(m_topicID);
    if (!row.helpTextRound2)
        return std::nullopt;
    return core::localized(row.helpTextRound2);
}

ExprPtr Topic::labelExpr() const {
    return ExprTextReader::parseString(rowOf(m_topicID).labelText);
}

ExecutorClass Topic::executorClassNovice() const {
    return rowOf(m_topicID).novice;
}

ExecutorClass Topic::executorClassMaster() const {
    return rowOf(m_topicID).master;
}

ExecutorClass Topic::executorClassForDifficulty(std::string_view difficulty) const {
    return difficulty == AlgebraDifficultyMaster ? executorClassMaster() : executorClassNovice();
}

bool Topic::problemComplete(const Expr& expr) const {
    return rowOf(m_topicID).goal == Goal::Factorized ? expr.isFactorized() : expr.isSimplified();
}

} // namespace zm
