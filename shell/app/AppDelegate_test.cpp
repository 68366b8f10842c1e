#include "analytics/TMDB.h"
#include "analytics/TMRecords.h"
#include "analytics/Telemetry.h"
#include "analytics/TmUtils.h"
#include "analytics/testing/AnalyticsServiceProcess.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/ui/Window.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/ProblemSetStore.h"
#include "shell/container/ContainerViewController.h"
#include "shell/testing/ShellTesting.h"

#include <thread>

namespace zm {
namespace {

using namespace std::chrono_literals;

const ServiceCredentials kCredentials{"0123456789abcdef0123456789abcdef01234567", "zembrixgames", "Ab3dE6gH"};

// Waits, in real time but briefly, for the analytics threads.
template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 400 && !condition(); ++i)
        std::this_thread::sleep_for(5ms);
    return condition();
}

// Analytics start afresh for each test; without a service named, their records wait in the store.
class AppDelegateTest : public testing::ShellTest {
protected:
    void SetUp() override {
        testing::ShellTest::SetUp();
        Telemetry::reset();
        TmService::setHost(std::nullopt);
        // The analytics store of its own: test processes may run side by side.
        dataRoot = std::make_unique<core::TemporaryFolder>();
        core::FileLocations locations = core::FileLocations::underRoot(dataRoot->path(), previousLocations.resources);
        locations.userDefaults = previousLocations.userDefaults;
        core::FileLocations::setShared(locations);
    }
    void TearDown() override {
        Telemetry::reset();
        TmService::setHost(std::nullopt);
        core::FileLocations::setShared(previousLocations);
        dataRoot.reset();
        testing::ShellTest::TearDown();
    }

    const core::FileLocations previousLocations = core::FileLocations::shared();
    std::unique_ptr<core::TemporaryFolder> dataRoot;

    AppDelegate::Configuration configuration(ServiceCredentials credentials = kCredentials) {
        AppDelegate::Configuration made;
        made.credentials = std::move(credentials);
        made.startCrashReporting = [this](const std::string& apiKey) { crashlogStarts.push_back(apiKey); };
        return made;
    }

    // The events stored for the test account, once `count` are there.
    std::vector<std::shared_ptr<TMEvent>> storedEvents(size_t count) {
        std::vector<std::shared_ptr<TMEvent>> events;
        eventually([&] { return (events = TMDB("zembrixgames", "Ab3dE6gH").events()).size() >= count; });
        return events;
    }

    // The keys crash reporting was started with.
    std::vector<std::string> crashlogStarts;
};

TEST_F(AppDelegateTest, TheFirstLaunchReportsANewUserAndTheKindOfDevice) {
    const struct {
        ui::Device device;
        const char* event;
    } cases[] = {{testing::kTablet, "iPad"}, {testing::kPhone, "iPhoneOriPod"}};
    for (const auto& test : cases) {
        TearDown();
        SetUp();
        AppDelegate application(configuration());
        // The first launch is written down, and saved, before anything is reported.
        core::UserDefaults& defaults = testing::testDefaults();
        bool reportedWhenStored = true;
        const auto observer = defaults.addChangeObserver([&] {
            if (defaults.boolForKey("firstRun"))
                reportedWhenStored = false;
        });
        EXPECT_TRUE(application.application(start(test.device).application(), {}));
        defaults.removeChangeObserver(observer);
        EXPECT_FALSE(reportedWhenStored);

        ASSERT_TRUE(testing::savedDefaults().find("firstRun")) << test.event;
        const auto events = storedEvents(2);
        ASSERT_EQ(events.size(), 2u) << test.event;
        EXPECT_EQ(events[0]->name(), "newUser");
        EXPECT_EQ(events[1]->name(), test.event);
        EXPECT_EQ(events[1]->arguments(), "{}");
        EXPECT_EQ(events[1]->sessionId(), Telemetry::sessionID());
        EXPECT_EQ(TMDB("zembrixgames", "Ab3dE6gH").sessions().size(), 1u);
    }
}

TEST_F(AppDelegateTest, LaterLaunchesReportNothing) {
    testing::testDefaults().setBool(true, "firstRun");
    AppDelegate application(configuration());
    application.application(start().application(), {});
    EXPECT_TRUE(Telemetry::sessionStarted());
    EXPECT_TRUE(eventually([] { return TMDB("zembrixgames", "Ab3dE6gH").sessions().size() == 1; }));
    EXPECT_TRUE(TMDB("zembrixgames", "Ab3dE6gH").events().empty());
    EXPECT_FALSE(application.isFirstRun());
}

TEST_F(AppDelegateTest, AFirstLaunchBesideTheServiceLeavesTheSessionAndBothEventsInItsListing) {
    testing::AnalyticsServiceProcess service("zembrixgames", "Ab3dE6gH");
    ASSERT_TRUE(service.running());
    TmService::setHost(service.host());
    AppDelegate application(configuration());
    application.application(start(testing::kTablet).application(), {});
    ASSERT_TRUE(eventually([&] { return service.listed("events").size() == 2; }));
    const auto sessions = service.listed("sessions");
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].find("session")->stringValue(), Telemetry::sessionID());
    const auto events = service.listed("events");
    EXPECT_EQ(events[0].find("name")->stringValue(), "newUser");
    EXPECT_EQ(events[1].find("name")->stringValue(), "iPad");
    EXPECT_EQ(events[1].find("arguments")->stringValue(), "{}");
}

TEST_F(AppDelegateTest, TheLaunchStartsTheServicesAndPutsTheContainerAtTheRoot) {
    AppDelegate application(configuration());
    EXPECT_EQ(AppDelegate::shared(), &application);
    host::HeadlessHost& host = start();
    application.application(host.application(), {});
    EXPECT_EQ(crashlogStarts, std::vector<std::string>{kCredentials.crashlogAPIKey});
    EXPECT_TRUE(Telemetry::sessionStarted());
    const std::shared_ptr<ContainerViewController> container = application.containerVC();
    ASSERT_TRUE(container);
    EXPECT_EQ(host.window().rootViewController(), container);
    EXPECT_TRUE(container->isViewLoaded());
}

TEST_F(AppDelegateTest, ServicesWithoutCredentialsStayOffAndTheirEventsAreLost) {
    AppDelegate application(configuration({}));
    application.application(start().application(), {});
    EXPECT_TRUE(crashlogStarts.empty());
    EXPECT_FALSE(Telemetry::sessionStarted());
    EXPECT_FALSE(std::filesystem::exists(TMDB("zembrixgames", "Ab3dE6gH").filePath()));
    EXPECT_TRUE(testing::testDefaults().boolForKey("firstRun"));
}

TEST_F(AppDelegateTest, TheAlertSoundIsLoadedAtLaunchAndPlayedOnRequest) {
    AppDelegate application(configuration());
    application.playAlert(); // before the launch: nothing to play it on
    host::HeadlessHost& host = start();
    application.application(host.application(), {});
    EXPECT_NE(application.alertSoundID(), 0u);
    application.playAlert();
    application.playAlert();
    EXPECT_EQ(host.playedSounds(), (std::vector<std::string>{"alert", "alert"}));

    // The window's player needs a real sound file under that name.
    const core::Result<std::string> wav =
        core::readFile(core::FileLocations::shared().resources / "sounds" / "alert.wav");
    ASSERT_TRUE(wav.ok());
    EXPECT_EQ(wav->substr(0, 4), "RIFF");
    EXPECT_EQ(wav->substr(8, 4), "WAVE");
}

TEST_F(AppDelegateTest, TheProblemSetStoreIsMadeOnceOnFirstNeed) {
    struct Store : ProblemSetStore {
        void setListener(const std::shared_ptr<TopicViewController>&) override {}
    };
    int made = 0;
    AppDelegate::Configuration settings = configuration();
    settings.makeProblemSetStore = [&] {
        ++made;
        return std::make_shared<Store>();
    };
    {
        AppDelegate application(settings);
        EXPECT_EQ(application.dataController(), nullptr);
        application.loadProblems();
        const std::shared_ptr<ProblemSetStore> first = application.dataController();
        ASSERT_TRUE(first);
        application.loadProblems();
        EXPECT_EQ(application.dataController(), first);
        EXPECT_EQ(made, 1);
    }
    // Without the problem sets in the build there is no store to make.
    AppDelegate application(configuration());
    application.loadProblems();
    EXPECT_EQ(application.dataController(), nullptr);
}

} // namespace
} // namespace zm
