// The progress store: records made on first question, saved after every change, read back after a
// restart, needs per topic, the fresh-topic mark and the topic order.

#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/testsupport/FileSizeLimit.h"
#include "platform/ui/AlertView.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <memory>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zm {
namespace {

using core::Dictionary;
using core::Value;

const std::string kEquations(AlgebraTopicEquations);
const std::string kExponents(AlgebraTopicExponents);

class ProgressStoreTest : public ::testing::Test {
protected:
    ProgressStoreTest() { restart(); }

    // A new launch: the settings file read afresh, a new store over it.
    void restart() {
        m_store.reset();
        m_defaults = std::make_unique<core::UserDefaults>(file());
        m_store = std::make_unique<TopicStatsDataController>(*m_defaults);
    }

    std::filesystem::path file() const { return m_folder.path() / "defaults.plist"; }
    core::UserDefaults& defaults() { return *m_defaults; }
    TopicStatsDataController& store() { return *m_store; }
    // What the settings file holds under "statsKey", as the next launch sees it.
    std::optional<Value> savedStats() const { return core::UserDefaults(file()).objectForKey("statsKey"); }

private:
    core::TemporaryFolder m_folder;
    std::unique_ptr<core::UserDefaults> m_defaults;
    std::unique_ptr<TopicStatsDataController> m_store;
};

TEST_F(ProgressStoreTest, FirstQuestionMakesAndSavesARecord) {
    EXPECT_FALSE(defaults().contains("statsKey"));
    EXPECT_EQ(store().difficultyForTopic(kEquations), AlgebraDifficultyNovice);
    const std::optional<Value> saved = savedStats();
    ASSERT_TRUE(saved && saved->asDictionary());
    EXPECT_EQ(saved->asDictionary()->keys(), std::vector<std::string>{kEquations});
    EXPECT_EQ(store().totalCompletedForTopic(kExponents, AlgebraDifficultyMaster), 0u);
    EXPECT_EQ(savedStats()->asDictionary()->size(), 2u);
}

TEST_F(ProgressStoreTest, ProgressSurvivesARestart) {
    store().problemCompletedForTopic(kEquations);
    store().problemCompletedForTopic(kEquations);
    store().selectDifficulty(AlgebraDifficultyMaster, kEquations);
    store().problemCompletedForTopic(kEquations);
    store().setViewedTopic(kExponents);
    store().setViewedTopic(kEquations);
    store().selectDifficulty(AlgebraDifficultyMaster, "AlgebraTopicAstronomy");

    restart();
    EXPECT_EQ(store().difficultyForTopic(kEquations), AlgebraDifficultyMaster);
    EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyNovice), 2u);
    EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyMaster), 1u);
    EXPECT_TRUE(store().viewedTopic(kExponents));
    EXPECT_TRUE(store().viewedTopic(kEquations));
    EXPECT_FALSE(store().viewedTopic(AlgebraTopicLikeTerms));
    EXPECT_EQ(store().difficultyForTopic("AlgebraTopicAstronomy"), AlgebraDifficultyMaster);
    const std::optional<Value> saved = savedStats();
    ASSERT_TRUE(saved && saved->find("viewedTopics"));
    EXPECT_EQ(*saved->find("viewedTopics"), Value(core::Array{kExponents, kEquations}));
}

TEST_F(ProgressStoreTest, CountsFollowTheSelectedDifficulty) {
    store().selectDifficulty(AlgebraDifficultyMaster, kEquations);
    store().problemCompletedForTopic(kEquations);
    EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyNovice), 0u);
    EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyMaster), 1u);
}

TEST_F(ProgressStoreTest, NeedsPerTopicAndDifficulty) {
    struct Need {
        std::string_view topic;
        uint32_t novice;
        uint32_t master;
    };
    const Need needs[] = {
        {AlgebraTopicCommutation, 4, 4},   {AlgebraTopicLikeTerms, 4, 4},
        {AlgebraTopicFactorization, 4, 4}, {AlgebraTopicOrderOfOperations, 6, 6},
        {AlgebraTopicElimination, 6, 6},   {AlgebraTopicEquations, 8, 8},
        {AlgebraTopicDistribution, 8, 8},  {AlgebraTopicExponents, 4, 8},
        {AlgebraTopicCustom, 4, 4},        {"AlgebraTopicAstronomy", 4, 4},
    };
    for (const Need& need : needs) {
        EXPECT_EQ(TopicStatsDataController::numProblemsForTopic(need.topic, AlgebraDifficultyNovice),
                  need.novice);
        EXPECT_EQ(TopicStatsDataController::numProblemsForTopic(need.topic, AlgebraDifficultyMaster),
                  need.master);
        EXPECT_EQ(TopicStatsDataController::numProblemsForTopic(need.topic, "AlgebraDifficultyExpert"),
                  need.novice);
    }
}

TEST_F(ProgressStoreTest, TotallyCompletedNeedsBothDifficulties) {
    for (int i = 0; i < 4; ++i)
        store().problemCompletedForTopic(kExponents);
    EXPECT_FALSE(store().topicTotallyCompleted(kExponents));
    store().selectDifficulty(AlgebraDifficultyMaster, kExponents);
    for (int i = 0; i < 7; ++i)
        store().problemCompletedForTopic(kExponents);
    EXPECT_FALSE(store().topicTotallyCompleted(kExponents));
    store().problemCompletedForTopic(kExponents);
    EXPECT_TRUE(store().topicTotallyCompleted(kExponents));
}

TEST_F(ProgressStoreTest, ATopicIsFreshOnceUntilReset) {
    EXPECT_TRUE(store().topicTotallyFresh(kEquations));
    EXPECT_FALSE(store().topicTotallyFresh(kEquations));
    EXPECT_TRUE(store().viewedTopic(kEquations));

    // Solved problems make a topic stale without marking it.
    store().problemCompletedForTopic(kExponents);
    EXPECT_FALSE(store().topicTotallyFresh(kExponents));
    EXPECT_FALSE(store().viewedTopic(kExponents));

    store().resetProgress();
    EXPECT_EQ(savedStats(), Value(Dictionary{}));
    EXPECT_EQ(store().difficultyForTopic(kEquations), AlgebraDifficultyNovice);
    EXPECT_TRUE(store().topicTotallyFresh(kEquations));
    EXPECT_TRUE(store().topicTotallyFresh(kExponents));
}

TEST_F(ProgressStoreTest, ResetForgetsEverything) {
    store().selectDifficulty(AlgebraDifficultyMaster, kEquations);
    store().problemCompletedForTopic(kEquations);
    store().setViewedTopic(kEquations);
    store().resetProgress();
    EXPECT_EQ(savedStats(), Value(Dictionary{}));
    restart();
    EXPECT_EQ(store().difficultyForTopic(kEquations), AlgebraDifficultyNovice);
    EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyMaster), 0u);
    EXPECT_FALSE(store().viewedTopic(kEquations));
}

TEST_F(ProgressStoreTest, TopicsFollowEachOtherInCarouselOrder) {
    const std::vector<Topic>& topics = store().topics();
    ASSERT_EQ(topics.size(), kAlgebraTopics.size());
    for (size_t i = 0; i < topics.size(); ++i)
        EXPECT_EQ(topics[i].topicID(), kAlgebraTopics[i]);

    const Topic* next = store().topicAfterTopic(Topic(std::string(AlgebraTopicCommutation)));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->topicID(), AlgebraTopicLikeTerms);
    next = store().topicAfterTopic(Topic(kExponents));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->topicID(), AlgebraTopicCustom);
    EXPECT_EQ(store().topicAfterTopic(Topic(std::string(AlgebraTopicCustom))), nullptr);
    EXPECT_EQ(store().topicAfterTopic(Topic("AlgebraTopicAstronomy")), nullptr);
}

TEST_F(ProgressStoreTest, UnreadableRecordsAreKeptAsTheyAreUntilProgressTakesTheirPlace) {
    TopicStats equations;
    equations.setSelectedDifficulty(std::string(AlgebraDifficultyMaster));
    equations.incrementCompletedForDifficulty(AlgebraDifficultyNovice);
    const Value archive = core::Bytes{0x62, 0x70, 0x6c, 0x69, 0x73, 0x74};
    const Value later = Dictionary{{"version", 9}, {"difficultyKey", "AlgebraDifficultyMaster"}};
    defaults().setObject(
        Dictionary{
            {kEquations, equations.encode()},
            // An archive blob of another program, and a record of a later encoding.
            {std::string(AlgebraTopicLikeTerms), archive},
            {kExponents, later},
            {"viewedTopics", core::Array{kEquations, 7, std::string(AlgebraTopicLikeTerms)}},
        },
        "statsKey");
    defaults().synchronize();

    core::LogCapture log;
    restart();
    EXPECT_TRUE(log.contains("progress: keeping the unreadable record of AlgebraTopicLikeTerms as it is"));
    EXPECT_TRUE(log.contains("progress: keeping the unreadable record of AlgebraTopicExponents as it is"));
    EXPECT_EQ(store().difficultyForTopic(kEquations), AlgebraDifficultyMaster);
    EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyNovice), 1u);
    EXPECT_EQ(store().difficultyForTopic(AlgebraTopicLikeTerms), AlgebraDifficultyNovice);
    EXPECT_EQ(store().difficultyForTopic(kExponents), AlgebraDifficultyNovice);
    EXPECT_TRUE(store().viewedTopic(kEquations));
    EXPECT_TRUE(store().viewedTopic(AlgebraTopicLikeTerms));

    // Saves, even of fresh records for the same topics, write what was not understood back unchanged.
    store().problemCompletedForTopic(kEquations);
    std::optional<Value> saved = savedStats();
    ASSERT_TRUE(saved && saved->asDictionary());
    EXPECT_EQ(*saved->find(AlgebraTopicLikeTerms), archive);
    EXPECT_EQ(*saved->find(kExponents), later);
    EXPECT_FALSE(defaults().contains("unreadableProgress"));

    // Progress of this version on such a topic takes its place; the record it replaces is set aside.
    store().problemCompletedForTopic(kExponents);
    restart();
    EXPECT_EQ(store().totalCompletedForTopic(kExponents, AlgebraDifficultyNovice), 1u);
    EXPECT_EQ(*savedStats()->find(AlgebraTopicLikeTerms), archive);
    EXPECT_EQ(defaults().objectForKey("unreadableProgress"),
              Value(core::Array{Dictionary{{"key", kExponents}, {"value", later}}}));
}

TEST_F(ProgressStoreTest, ProgressOfTheWrongTypeCountsAsNoneAndIsSetAside) {
    const Value wrong[] = {Value("progress"), Value(core::Array{kEquations}), Value(12)};
    core::Array aside;
    for (const Value& value : wrong) {
        defaults().setObject(value, "statsKey");
        defaults().synchronize();
        restart();
        EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyNovice), 0u);
        EXPECT_FALSE(store().viewedTopic(kEquations));
        // The first save replaces the unreadable value with readable progress, and keeps it aside,
        // after the ones set aside before.
        store().problemCompletedForTopic(kEquations);
        restart();
        EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyNovice), 1u);
        aside.push_back(Dictionary{{"key", "statsKey"}, {"value", value}});
        EXPECT_EQ(defaults().objectForKey("unreadableProgress"), Value(aside));
    }

    defaults().setObject(Dictionary{{"viewedTopics", "AlgebraTopicEquations"}}, "statsKey");
    defaults().synchronize();
    restart();
    EXPECT_FALSE(store().viewedTopic(kEquations));
    EXPECT_TRUE(store().topicTotallyFresh(kEquations));
    aside.push_back(Dictionary{{"key", "viewedTopics"}, {"value", "AlgebraTopicEquations"}});
    EXPECT_EQ(defaults().objectForKey("unreadableProgress"), Value(aside));
}

// Makes a file or folder unchangeable, even for root, while it lives: immutable where the file system
// allows it, else read-only (which holds for other users only).
class Unchangeable {
public:
    explicit Unchangeable(const std::filesystem::path& path)
        : m_path(path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        m_immutable = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                      (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        if (fd >= 0)
            ::close(fd);
        if (!m_immutable)
            std::filesystem::permissions(path, std::filesystem::perms::owner_write |
                                                   std::filesystem::perms::group_write |
                                                   std::filesystem::perms::others_write,
                                         std::filesystem::perm_options::remove);
    }
    ~Unchangeable() {
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        if (m_immutable && fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0)
            ::close(fd);
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    }
    Unchangeable(const Unchangeable&) = delete;
    Unchangeable& operator=(const Unchangeable&) = delete;

    // Whether even root is held back.
    bool holdsForEveryone() const { return m_immutable || ::geteuid() != 0; }

private:
    std::filesystem::path m_path;
    bool m_immutable = false;
};

// A data folder or file that cannot be written, or a full disk: the game goes on, the progress of
// the session is kept in memory, the file on disk stays as it was, and the player is told once.
TEST_F(ProgressStoreTest, ASaveThatCannotBeWrittenIsToldOnceOnScreen) {
    store().problemCompletedForTopic(kEquations);
    const std::string before = *core::readFile(file());
    const std::filesystem::path folder = file().parent_path();
    enum class Damage { File, Folder, FullDisk };
    for (Damage damage : {Damage::File, Damage::Folder, Damage::FullDisk}) {
        SCOPED_TRACE(int(damage));
        restart();
        std::optional<Unchangeable> held;
        std::optional<core::FileSizeLimit> limit;
        if (damage == Damage::FullDisk)
            limit.emplace(before.size() / 2);
        else
            held.emplace(damage == Damage::File ? file() : folder);
        if (held && !held->holdsForEveryone())
            continue; // root on a file system without immutable files: nothing holds it back
        core::LogCapture log;
        store().problemCompletedForTopic(kEquations);
        store().problemCompletedForTopic(kEquations);
        EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyNovice), 3u);
        held.reset();
        limit.reset();
        EXPECT_EQ(*core::readFile(file()), before);
        EXPECT_FALSE(log.entries().empty());
        const auto alerts = ui::AlertView::visibleAlerts();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0]->title(), TopicStatsDataController::kCannotSaveTitle);
        alerts[0]->dismiss(0, false);
        // Once the folder takes writes again, the next save keeps everything.
        store().problemCompletedForTopic(kEquations);
        restart();
        EXPECT_EQ(store().totalCompletedForTopic(kEquations, AlgebraDifficultyNovice), 4u);
        EXPECT_TRUE(ui::AlertView::visibleAlerts().empty());
        ASSERT_TRUE(core::writeFileAtomically(file(), before));
    }
}

} // namespace
} // namespace zm
