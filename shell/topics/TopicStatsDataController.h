#pragma once

#include "platform/core/Value.h"
#include "shell/topics/Topic.h"
#include "shell/topics/TopicStats.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {
class UserDefaults;
}

namespace zm {

class Expr;

// The player's progress: per topic the chosen difficulty and the problems solved at each
// difficulty, and the topics whose help has been opened automatically once. It also holds the
// fixed list of topics, knows how many solved problems a topic needs, and chooses the generator of
// a topic's next problem. Every change is written back to the settings store in full and
// synchronised at once. What it cannot read (a later version's record, a value of the wrong type) is
// written back unchanged; when the player's own progress must take its place, it is first set aside
// under "unreadableProgress", so no version of the game erases another's progress. When a save fails
// the player is told once, on screen, that progress cannot be saved. Main thread only.
class TopicStatsDataController {
public:
    static constexpr std::string_view kCannotSaveTitle = "Progress Cannot Be Saved";
    static constexpr std::string_view kCannotSaveMessage =
        "The game cannot write to its data folder, so what you solve now will be lost when it closes.";
    static constexpr std::string_view kCannotSaveButton = "Ok";

    // Reads the progress saved under "statsKey"; writes nothing. The store must outlive the
    // controller.
    explicit TopicStatsDataController(core::UserDefaults& defaults);
    TopicStatsDataController(const TopicStatsDataController&) = delete;
    TopicStatsDataController& operator=(const TopicStatsDataController&) = delete;

    // The process's controller over the standard settings store as it is at first use, made then
    // and kept for the life of the process.
    static TopicStatsDataController& sharedInstance();

    // The nine topics in carousel order.
    const std::vector<Topic>& topics() const { return m_topics; }

    // Writes every record and the viewed topics under "statsKey" and synchronises.
    void save();

    // The topic's record; a topic never asked about gets a new one, which is saved first.
    TopicStats topicStatsForTopic(std::string_view topic);
    std::string difficultyForTopic(std::string_view topic);
    void selectDifficulty(std::string_view difficulty, std::string_view topic);
    // One more solved problem at the topic's selected difficulty.
    void problemCompletedForTopic(std::string_view topic);
    uint32_t totalCompletedForTopic(std::string_view topic, std::string_view difficulty);
    // How many solved problems the topic needs at the difficulty (any other difficulty: novice's).
    static uint32_t numProblemsForTopic(std::string_view topic, std::string_view difficulty);
    // Both difficulties' needs met.
    bool topicTotallyCompleted(std::string_view topic);
    // Nothing solved at either difficulty and help never opened for it automatically; answering
    // yes marks the topic viewed, so each topic answers yes once.
    bool topicTotallyFresh(std::string_view topic);
    bool viewedTopic(std::string_view topic) const;
    void setViewedTopic(std::string_view topic);
    // Forgets every record and the viewed topics.
    void resetProgress();

    // A new problem for the topic at its selected difficulty ("1+1" for a difficulty that is
    // neither).
    std::shared_ptr<Expr> generateProblemForTopic(std::string_view topic);
    // The generator of each difficulty. Each first takes one draw, whose lowest bit chooses between
    // two generators where a topic has two; the custom topic and unlisted ones get "2+2" and "5+5".
    std::shared_ptr<Expr> getNoviceProblemForTopic(std::string_view topic);
    std::shared_ptr<Expr> getMasterProblemForTopic(std::string_view topic);

    // The topic after the first one with the same identifier; null after the last topic and for
    // an identifier not in the list. Points into `topics()`.
    const Topic* topicAfterTopic(const Topic& topic) const;

private:
    TopicStats& recordForTopic(std::string_view topic);
    // Appends what was stored under `key` of the progress to the list kept aside.
    void setAside(const std::string& key, const core::Value& value);

    core::UserDefaults& m_defaults;
    std::vector<Topic> m_topics;
    std::map<std::string, TopicStats, std::less<>> m_topicStats;
    // Absent until the first topic is marked.
    std::optional<std::vector<std::string>> m_viewedTopics;
    // Entries of the saved progress this version could not read, by their key.
    core::Dictionary m_unread;
    // The whole saved progress, when it was no dictionary; set aside at the first save.
    std::optional<core::Value> m_unreadProgress;
    bool m_toldCannotSave = false;
};

} // namespace zm
