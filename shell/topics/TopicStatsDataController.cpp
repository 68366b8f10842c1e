#include "shell/topics/TopicStatsDataController.h"

#include "JTMathParser/ExprTextReader.h"
#include "platform/core/Log.h"
#include "platform/core/Random.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "shell/generator/ProblemGenerator.h"
#include "shell/topics/TopicIdentifiers.h"

#include <algorithm>

namespace zm {

namespace {

constexpr std::string_view kStatsKey = "statsKey";
constexpr std::string_view kViewedTopicsKey = "viewedTopics";
constexpr std::string_view kSetAsideKey = "unreadableProgress";

struct Need {
    std::string_view topic;
    uint32_t novice;
    uint32_t master;
};

constexpr Need kNeeds[] = {
    {AlgebraTopicCommutation, 4, 4},       {AlgebraTopicLikeTerms, 4, 4},   {AlgebraTopicFactorization, 4, 4},
    {AlgebraTopicOrderOfOperations, 6, 6}, {AlgebraTopicElimination, 6, 6}, {AlgebraTopicEquations, 8, 8},
    {AlgebraTopicDistribution, 8, 8},      {AlgebraTopicExponents, 4, 8},
};
constexpr Need kOtherNeed = {{}, 4, 4};

std::vector<std::string> viewedTopicsFrom(const core::Array& array) {
    std::vector<std::string> topics;
    for (const core::Value& each : array) {
        if (const std::string* topic = each.asString())
            topics.push_back(*topic);
    }
    return topics;
}

} // namespace

TopicStatsDataController::TopicStatsDataController(core::UserDefaults& defaults)
    : m_defaults(defaults) {
    // A value that cannot be read is kept aside from the rest, never fatal: the rest of the progress
    // stays, and so does the value itself.
    if (std::optional<core::Value> stored = m_defaults.objectForKey(kStatsKey)) {
        if (const core::Dictionary* entries = stored->asDictionary()) {
            for (const core::Dictionary::Entry& entry : entries->entries()) {
                if (entry.key == kViewedTopicsKey && entry.value.asArray()) {
                    m_viewedTopics = viewedTopicsFrom(*entry.value.asArray());
                } else if (std::optional<TopicStats> stats = TopicStats::decode(entry.value);
                           stats && entry.key != kViewedTopicsKey) {
                    m_topicStats.insert_or_assign(entry.key, std::move(*stats));
                } else {
                    core::logf(core::LogLevel::Warning, "progress: keeping the unreadable record of %s as it is",
                               entry.key.c_str());
                    m_unread.set(entry.key, entry.value);
                }
            }
        } else {
            core::log(core::LogLevel::Warning,
                      "progress: the saved progress is no dictionary; starting afresh and keeping it aside");
            m_unreadProgress = std::move(*stored);
        }
    }
    for (std::string_view topic : kAlgebraTopics)
        m_topics.emplace_back(std::string(topic));
}

TopicStatsDataController& TopicStatsDataController::sharedInstance() {
    static TopicStatsDataController instance(core::UserDefaults::standard());
    return instance;
}

void TopicStatsDataController::save() {
    if (m_unreadProgress) {
        setAside(std::string(kStatsKey), *m_unreadProgress);
        m_unreadProgress.reset();
    }
    core::Dictionary entries;
    const auto write = [&](const std::string& key, core::Value value) {
        if (const core::Value* unread = m_unread.find(key)) {
            setAside(key, *unread);
            m_unread.remove(key);
        }
        entries.set(key, std::move(value));
    };
    for (const auto& [topic, stats] : m_topicStats) {
        // A record nothing was done with yet does not take the place of one this version cannot read.
        if (stats == TopicStats() && m_unread.contains(topic))
            continue;
        write(topic, stats.encode());
    }
    if (m_viewedTopics)
        write(std::string(kViewedTopicsKey), core::Array(m_viewedTopics->begin(), m_viewedTopics->end()));
    for (const core::Dictionary::Entry& entry : m_unread.entries())
        entries.set(entry.key, entry.value);
    m_defaults.setObject(std::move(entries), kStatsKey);
    if (!m_defaults.synchronize() && !m_toldCannotSave) {
        m_toldCannotSave = true;
        ui::AlertView::create(std::string(kCannotSaveTitle), std::string(kCannotSaveMessage), {},
                              std::string(kCannotSaveButton))
            ->show();
    }
}

void TopicStatsDataController::setAside(const std::string& key, const core::Value& value) {
    core::Array aside;
    if (std::optional<core::Value> earlier = m_defaults.objectForKey(kSetAsideKey)) {
        if (core::Array* list = earlier->asArray())
            aside = std::move(*list);
        else
            aside.push_back(std::move(*earlier));
    }
    aside.push_back(core::Dictionary{{"key", key}, {"value", value}});
    m_defaults.setObject(std::move(aside), kSetAsideKey);
    core::logf(core::LogLevel::Warning, "progress: the unreadable record of %s is kept under %s", key.c_str(),
               std::string(kSetAsideKey).c_str());
}

TopicStats& TopicStatsDataController::recordForTopic(std::string_view topic) {
    auto found = m_topicStats.find(topic);
    if (found == m_topicStats.end()) {
        found = m_topicStats.emplace(std::string(topic), TopicStats()).first;
        save();
    }
    return found->second;
}

TopicStats TopicStatsDataController::topicStatsForTopic(std::string_view topic) {
    return recordForTopic(topic);
}

std::string TopicStatsDataController::difficultyForTopic(std::string_view topic) {
    return recordForTopic(topic).selectedDifficulty();
}

void TopicStatsDataController::selectDifficulty(std::string_view difficulty, std::string_view topic) {
    recordForTopic(topic).setSelectedDifficulty(std::string(difficulty));
    save();
}

void TopicStatsDataController::problemCompletedForTopic(std::string_view topic) {
    TopicStats& stats = recordForTopic(topic);
    stats.incrementCompletedForDifficulty(stats.selectedDifficulty());
    save();
}

uint32_t TopicStatsDataController::totalCompletedForTopic(std::string_view topic,
                                                          std::string_view difficulty) {
    return recordForTopic(topic).totalCompletedProblemsForDifficulty(difficulty);
}

uint32_t TopicStatsDataController::numProblemsForTopic(std::string_view topic, std::string_view difficulty) {
    const auto found = std::find_if(std::begin(kNeeds), std::end(kNeeds),
                                    [topic](const Need& need) { return need.topic == topic; });
    const Need& need = found == std::end(kNeeds) ? kOtherNeed : *found;
    return difficulty == AlgebraDifficultyMaster ? need.master : need.novice;
}

bool TopicStatsDataController::topicTotallyCompleted(std::string_view topic) {
    return totalCompletedForTopic(topic, AlgebraDifficultyNovice) >=
               numProblemsForTopic(topic, AlgebraDifficultyNovice) &&
           totalCompletedForTopic(topic, AlgebraDifficultyMaster) >=
               numProblemsForTopic(topic, AlgebraDifficultyMaster);
}

bool TopicStatsDataController::topicTotallyFresh(std::string_view topic) {
    const bool fresh = totalCompletedForTopic(topic, AlgebraDifficultyNovice) == 0 &&
                       totalCompletedForTopic(topic, AlgebraDifficultyMaster) == 0 && !viewedTopic(topic);
    if (fresh)
        setViewedTopic(topic);
    return fresh;
}

bool TopicStatsDataController::viewedTopic(std::string_view topic) const {
    return m_viewedTopics &&
           std::find(m_viewedTopics->begin(), m_viewedTopics->end(), topic) != m_viewedTopics->end();
}

void TopicStatsDataController::setViewedTopic(std::string_view topic) {
    if (!m_viewedTopics)
        m_viewedTopics.emplace();
    m_viewedTopics->emplace_back(topic);
    save();
}

void TopicStatsDataController::resetProgress() {
    m_topicStats.clear();
    m_viewedTopics.reset();
    save();
}

ExprPtr TopicStatsDataController::generateProblemForTopic(std::string_view topic) {
    const std::string difficulty = difficultyForTopic(topic);
    if (difficulty == AlgebraDifficultyNovice)
        return getNoviceProblemForTopic(topic);
    if (difficulty == AlgebraDifficultyMaster)
        return getMasterProblemForTopic(topic);
    return ExprTextReader::parseString("1+1");
}

ExprPtr TopicStatsDataController::getNoviceProblemForTopic(std::string_view topic) {
    using Generator = ProblemGenerator;
    const bool odd = (core::randomU32() & 1u) != 0;
    if (topic == AlgebraTopicCommutation)
        return Generator::getSimplifyAddition();
    if (topic == AlgebraTopicLikeTerms)
        return Generator::getSimplifyLikeTerms3Elements();
    if (topic == AlgebraTopicFactorization)
        return Generator::getFactorizePairs();
    if (topic == AlgebraTopicOrderOfOperations)
        return Generator::getSimplifyOrderOfOperations();
    if (topic == AlgebraTopicElimination)
        return odd ? Generator::getEliminateEqualsOne() : Generator::getEliminateCrossOut();
    if (topic == AlgebraTopicEquations)
        return Generator::getSolveIsolate();
    if (topic == AlgebraTopicDistribution)
        return Generator::getDistribution();
    if (topic == AlgebraTopicExponents)
        return Generator::getExponentLikeTerms();
    return ExprTextReader::parseString("2+2");
}

ExprPtr TopicStatsDataController::getMasterProblemForTopic(std::string_view topic) {
    using Generator = ProblemGenerator;
    const bool odd = (core::randomU32() & 1u) != 0;
    if (topic == AlgebraTopicCommutation)
        return odd ? Generator::getSimplifyMultiplication() : Generator::getSimplifyNegatives();
    if (topic == AlgebraTopicLikeTerms)
        return odd ? Generator::getSimplifyLikeTerms4Elements() : Generator::getSimplifyLikeTerms5Elements();
    if (topic == AlgebraTopicFactorization)
        return Generator::getFactorizeReplacement();
    if (topic == AlgebraTopicOrderOfOperations)
        return Generator::getSimplifyOrderOfOperations2Elements();
    if (topic == AlgebraTopicElimination)
        return odd ? Generator::getEliminateDivision() : Generator::getEliminateProductsOnly();
    if (topic == AlgebraTopicEquations)
        return Generator::getSolveAdvanced();
    if (topic == AlgebraTopicDistribution)
        return Generator::getDistAdvanced();
    if (topic == AlgebraTopicExponents) {
        // Products of powers first, then quotients, and both mixed once six are solved.
        const uint32_t solved = totalCompletedForTopic(topic, AlgebraDifficultyMaster);
        if (solved <= 2)
            return Generator::getExponentProduct();
        if (solved <= 5)
            return Generator::getExponentQuotient();
        return odd ? Generator::getExponentQuotient() : Generator::getExponentProduct();
    }
    return ExprTextReader::parseString("5+5");
}

const Topic* TopicStatsDataController::topicAfterTopic(const Topic& topic) const {
    const auto found = std::find_if(m_topics.begin(), m_topics.end(), [&topic](const Topic& each) {
        return each.topicID() == topic.topicID();
    });
    if (found == m_topics.end() || std::next(found) == m_topics.end())
        return nullptr;
    return &*std::next(found);
}

} // namespace zm
