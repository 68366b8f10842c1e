#include "shell/topics/TopicStats.h"

#include "platform/core/Value.h"
#include "shell/topics/TopicIdentifiers.h"

#include <limits>

namespace zm {

namespace {

constexpr std::string_view kVersionKey = "version";
constexpr std::string_view kDifficultyKey = "difficultyKey";
constexpr std::string_view kCompletedKey = "completedKey";
// Raised only when the meaning of a field changes; a reader skips records of a later version.
constexpr int64_t kEncodingVersion = 1;

std::optional<uint32_t> countFrom(const core::Value& value) {
    if (value.kind() != core::Value::Kind::Integer)
        return std::nullopt;
    const int64_t count = value.integerValue();
    if (count < 0 || count > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(count);
}

} // namespace

TopicStats::TopicStats()
    : m_selectedDifficulty(AlgebraDifficultyNovice) {}

uint32_t TopicStats::totalCompletedProblemsForDifficulty(std::string_view difficulty) const {
    const auto found = m_completedProblems.find(difficulty);
    return found == m_completedProblems.end() ? 0 : found->second;
}

void TopicStats::incrementCompletedForDifficulty(std::string_view difficulty) {
    const uint32_t count = totalCompletedProblemsForDifficulty(difficulty);
    if (count < std::numeric_limits<uint32_t>::max())
        m_completedProblems.insert_or_assign(std::string(difficulty), count + 1);
}

core::Value TopicStats::encode() const {
    core::Dictionary completed;
    for (const auto& [difficulty, count] : m_completedProblems)
        completed.set(difficulty, count);
    return core::Dictionary{
        {std::string(kVersionKey), kEncodingVersion},
        {std::string(kDifficultyKey), m_selectedDifficulty},
        {std::string(kCompletedKey), std::move(completed)},
    };
}

std::optional<TopicStats> TopicStats::decode(const core::Value& value) {
    const core::Dictionary* fields = value.asDictionary();
    if (!fields)
        return std::nullopt;
    const core::Value* version = fields->find(kVersionKey);
    if (!version || version->kind() != core::Value::Kind::Integer || version->integerValue() < 1 ||
        version->integerValue() > kEncodingVersion)
        return std::nullopt;

    TopicStats stats;
    if (const core::Value* difficulty = fields->find(kDifficultyKey); difficulty && difficulty->asString())
        stats.m_selectedDifficulty = *difficulty->asString();
    if (const core::Value* completed = fields->find(kCompletedKey); completed && completed->asDictionary()) {
        for (const core::Dictionary::Entry& entry : completed->asDictionary()->entries()) {
            if (std::optional<uint32_t> count = countFrom(entry.value))
                stats.m_completedProblems.insert_or_assign(entry.key, *count);
        }
    }
    return stats;
}

} // namespace zm
