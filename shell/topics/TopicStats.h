#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace core {
class Value;
}

namespace zm {

// The progress record of one topic: the difficulty the player chose and how many problems were
// solved at each difficulty (a difficulty without an entry counts 0).
class TopicStats {
public:
    using Counts = std::map<std::string, uint32_t, std::less<>>;

    // At novice, nothing solved.
    TopicStats();

    const std::string& selectedDifficulty() const { return m_selectedDifficulty; }
    void setSelectedDifficulty(std::string difficulty) { m_selectedDifficulty = std::move(difficulty); }
    const Counts& completedProblems() const { return m_completedProblems; }
    void setCompletedProblems(Counts counts) { m_completedProblems = std::move(counts); }

    uint32_t totalCompletedProblemsForDifficulty(std::string_view difficulty) const;
    // One more solved problem; the count stops at its largest value rather than starting over.
    void incrementCompletedForDifficulty(std::string_view difficulty);

    // The stored form: a dictionary of the encoding's version, "difficultyKey" (the difficulty) and
    // "completedKey" (difficulty -> count).
    core::Value encode() const;
    // Reads a stored form back. A field that is missing or of the wrong type takes its default (a
    // count that is no count in range is dropped); a value that is no dictionary, or one written by
    // a later version of the encoding, is unreadable: none.
    static std::optional<TopicStats> decode(const core::Value& value);

    friend bool operator==(const TopicStats&, const TopicStats&) = default;

private:
    std::string m_selectedDifficulty;
    Counts m_completedProblems;
};

} // namespace zm
