#pragma once

#include <array>
#include <string_view>

namespace zm {

// Topic and difficulty identifiers. Each holds its own name: the texts are keys and values in the
// user's saved settings, so stored progress is found again only under exactly these texts. They
// are compared by text, never by identity.
inline constexpr std::string_view AlgebraTopicCommutation = "AlgebraTopicCommutation";
inline constexpr std::string_view AlgebraTopicLikeTerms = "AlgebraTopicLikeTerms";
inline constexpr std::string_view AlgebraTopicOrderOfOperations = "AlgebraTopicOrderOfOperations";
inline constexpr std::string_view AlgebraTopicFactorization = "AlgebraTopicFactorization";
inline constexpr std::string_view AlgebraTopicElimination = "AlgebraTopicElimination";
inline constexpr std::string_view AlgebraTopicEquations = "AlgebraTopicEquations";
inline constexpr std::string_view AlgebraTopicDistribution = "AlgebraTopicDistribution";
inline constexpr std::string_view AlgebraTopicExponents = "AlgebraTopicExponents";
// The user's own problem sets.
inline constexpr std::string_view AlgebraTopicCustom = "AlgebraTopicCustom";

// The first difficulty, where every topic starts, and the second.
inline constexpr std::string_view AlgebraDifficultyNovice = "AlgebraDifficultyNovice";
inline constexpr std::string_view AlgebraDifficultyMaster = "AlgebraDifficultyMaster";

// Settings key of the last topic entered.
inline constexpr std::string_view AlgebraTopicState = "AlgebraTopicState";

// The topics in their fixed order: the home carousel's, and the order in which one topic follows
// another.
inline constexpr std::array<std::string_view, 9> kAlgebraTopics = {
    AlgebraTopicCommutation,   AlgebraTopicLikeTerms,   AlgebraTopicOrderOfOperations,
    AlgebraTopicFactorization, AlgebraTopicElimination, AlgebraTopicEquations,
    AlgebraTopicDistribution,  AlgebraTopicExponents,   AlgebraTopicCustom,
};

} // namespace zm
