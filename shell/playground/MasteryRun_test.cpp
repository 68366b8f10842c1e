// A player's road through the Simplify topic over two launches of the game: the first launch solves
// the four novice problems, moves on to master and solves one master problem; the game is then quit
// and started again, and the second launch goes on at master to mastery. Each launch is a process of
// its own (this test program started again for one disabled test), so the second launch knows only
// what the first one saved.

#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/Label.h"
#include "shell/progression/CircleDrawerView.h"
#include "shell/testing/PlaygroundScreenTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace zm {
namespace {

using namespace zm::testing;

// The settings file that the launches share.
constexpr const char* kSettingsVariable = "ZEMBRIX_MASTERY_RUN_SETTINGS";

// One launch of the game, over the shared settings file, driven by touches.
class MasteryRunLaunch : public PlaygroundScreenTest {
public:
    void SetUp() override {
        const char* settings = std::getenv(kSettingsVariable);
        ASSERT_TRUE(settings) << "a launch of the mastery run needs " << kSettingsVariable;
        // Before anything reads progress: the store is made over the standard settings at first use.
        core::UserDefaults::setStandard(std::make_shared<core::UserDefaults>(settings));
        core::UserDefaults::standard().setBool(true, "seenIntro");
        setLanguages({"en"});
    }

    // "New Problem" (or "Next Problem"), and the new problem's slide.
    void nextProblem() {
        tap(*screen->genProblemButton());
        host->advance(1);
    }
    uint32_t solved(std::string_view difficulty) const {
        return store().totalCompletedForTopic(AlgebraTopicCommutation, difficulty);
    }
};

TEST_F(MasteryRunLaunch, DISABLED_FirstLaunchReachesMaster) {
    ASSERT_TRUE(open(AlgebraTopicCommutation, kPhone));
    // The first visit demonstrates the topic; the player's first touch takes over.
    ASSERT_TRUE(screen->isHelpVisible());
    for (int problem = 1; problem <= 4; ++problem) {
        SCOPED_TRACE(::testing::Message() << "novice problem " << problem);
        if (problem > 1)
            nextProblem();
        EXPECT_EQ(store().difficultyForTopic(AlgebraTopicCommutation), AlgebraDifficultyNovice);
        solveByTapping();
        EXPECT_FALSE(screen->isHelpVisible());
        EXPECT_EQ(solved(AlgebraDifficultyNovice), uint32_t(problem));
    }
    EXPECT_TRUE(screen->switchToMaster());

    // On to master: its help opens by itself after the slide; a touch takes over again.
    nextProblem();
    EXPECT_EQ(store().difficultyForTopic(AlgebraTopicCommutation), AlgebraDifficultyMaster);
    ASSERT_TRUE(screen->isHelpVisible());
    EXPECT_EQ(screen->topicHelpTextLabel()->text(),
              "Rearrange them any way you'd like, then tap to simplify.");
    solveByTapping();
    EXPECT_EQ(solved(AlgebraDifficultyMaster), 1u);
    EXPECT_EQ(solved(AlgebraDifficultyNovice), 4u);
    EXPECT_FALSE(screen->masteryView()->superview());
}

TEST_F(MasteryRunLaunch, DISABLED_SecondLaunchMastersTheTopic) {
    ASSERT_TRUE(open(AlgebraTopicCommutation, kPhone));
    // Back where the first launch stopped: at master with one solved, and no help by itself.
    EXPECT_FALSE(screen->isHelpVisible());
    EXPECT_EQ(store().difficultyForTopic(AlgebraTopicCommutation), AlgebraDifficultyMaster);
    EXPECT_EQ(screen->progressionView()->masterLabel()->alpha(), 1);
    host->advance(CircleDrawerView::kFillDuration);
    EXPECT_EQ(screen->progressionView()->noviceCirclesView()->completedCircles(), 4u);
    EXPECT_EQ(screen->progressionView()->masterCirclesView()->completedCircles(), 1u);
    for (int problem = 2; problem <= 4; ++problem) {
        SCOPED_TRACE(::testing::Message() << "master problem " << problem);
        if (problem > 2)
            nextProblem();
        solveByTapping();
        EXPECT_EQ(solved(AlgebraDifficultyMaster), uint32_t(problem));
    }
    ASSERT_TRUE(screen->masteryView()->superview());
    EXPECT_EQ(screen->masteryTopicLabel()->text(), "Simplify Mastered");
    EXPECT_EQ(screen->nextTopicButton()->currentTitle(), "Go to Like Terms");
    EXPECT_TRUE(store().topicTotallyCompleted(AlgebraTopicCommutation));

    // Practising on after mastery counts on at master.
    tap(*screen->practiceMoreButton());
    host->advance(1);
    EXPECT_FALSE(screen->masteryView()->superview());
    solveByTapping();
    EXPECT_EQ(solved(AlgebraDifficultyMaster), 5u);
    EXPECT_EQ(screen->genProblemButton()->currentTitle(), "New Problem") << "nothing is left to reach";
}

// Runs this test program again for one launch; answers its exit status.
int runLaunch(const std::string& test, const std::filesystem::path& settings) {
    std::vector<std::string> arguments = {"zembrix-launch", "--gtest_filter=MasteryRunLaunch." + test,
                                          "--gtest_also_run_disabled_tests"};
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    environment.push_back(std::string(kSettingsVariable) + "=" + settings.string());
    const auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> list;
        for (std::string& text : texts)
            list.push_back(text.data());
        list.push_back(nullptr);
        return list;
    };
    std::vector<char*> argv = pointers(arguments);
    std::vector<char*> envp = pointers(environment);
    pid_t child = 0;
    if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MasteryRun, ReachesMasterAndThenMasteryAcrossARestart) {
    core::TemporaryFolder folder;
    const std::filesystem::path settings = folder.path() / "settings.plist";
    const auto stored = [&] {
        core::UserDefaults defaults(settings);
        TopicStatsDataController progress(defaults);
        return std::tuple{progress.difficultyForTopic(AlgebraTopicCommutation),
                          progress.totalCompletedForTopic(AlgebraTopicCommutation, AlgebraDifficultyNovice),
                          progress.totalCompletedForTopic(AlgebraTopicCommutation, AlgebraDifficultyMaster)};
    };

    ASSERT_EQ(runLaunch("DISABLED_FirstLaunchReachesMaster", settings), 0);
    EXPECT_EQ(stored(), std::tuple(std::string(AlgebraDifficultyMaster), 4u, 1u));

    ASSERT_EQ(runLaunch("DISABLED_SecondLaunchMastersTheTopic", settings), 0);
    EXPECT_EQ(stored(), std::tuple(std::string(AlgebraDifficultyMaster), 4u, 5u));
}

} // namespace
} // namespace zm
