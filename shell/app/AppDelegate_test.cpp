#include "analytics/Telemetry.h"
#include "crashlog/Crashlog.h"
#include "platform/core/Files.h"
#include "platform/ui/Window.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/ProblemSetStore.h"
#include "shell/container/ContainerViewController.h"
#include "shell/testing/ShellTesting.h"

namespace zm {
namespace {

using Record = Telemetry::Record;

const ServiceCredentials kCredentials{"0123456789abcdef0123456789abcdef01234567", "zembrixgames", "Ab3dE6gH"};

class AppDelegateTest : public testing::ShellTest {
protected:
    AppDelegate::Configuration configuration(ServiceCredentials credentials = kCredentials) {
        AppDelegate::Configuration made;
        made.credentials = std::move(credentials);
        made.crashlog = &crashlog;
        made.telemetry = &telemetry;
        return made;
    }

    std::vector<std::string> eventNames() const {
        std::vector<std::string> names;
        for (const Record& record : telemetry.pendingRecords()) {
            if (record.kind == Record::Kind::Event)
                names.push_back(record.name);
        }
        return names;
    }

    Crashlog crashlog;
    Telemetry telemetry;
};

TEST_F(AppDelegateTest, TheFirstLaunchReportsANewUserAndTheKindOfDevice) {
    const struct {
        ui::Device device;
        const char* event;
    } cases[] = {{testing::kTablet, "iPad"}, {testing::kPhone, "iPhoneOriPod"}};
    for (const auto& test : cases) {
        SetUp();
        Telemetry client;
        AppDelegate::Configuration settings = configuration();
        settings.telemetry = &client;
        AppDelegate application(settings);
        // The first launch is written down, and saved, before anything is reported.
        core::UserDefaults& defaults = testing::testDefaults();
        size_t eventsWhenStored = 99;
        const auto observer = defaults.addChangeObserver([&] {
            if (defaults.boolForKey("firstRun") && eventsWhenStored == 99)
                eventsWhenStored = client.pendingRecords().size() - 1;
        });
        EXPECT_TRUE(application.application(start(test.device).application(), {}));
        defaults.removeChangeObserver(observer);

        EXPECT_EQ(eventsWhenStored, 0u) << test.event;
        ASSERT_TRUE(testing::savedDefaults().find("firstRun")) << test.event;
        const std::vector<Record> records = client.pendingRecords();
        ASSERT_EQ(records.size(), 3u) << test.event;
        EXPECT_EQ(records[0].kind, Record::Kind::Session);
        EXPECT_EQ(records[1].name, "newUser");
        EXPECT_EQ(records[2].name, test.event);
        EXPECT_EQ(records[2].sessionID, records[0].sessionID);
    }
}

TEST_F(AppDelegateTest, LaterLaunchesReportNothing) {
    testing::testDefaults().setBool(true, "firstRun");
    AppDelegate application(configuration());
    application.application(start().application(), {});
    EXPECT_TRUE(telemetry.sessionStarted());
    EXPECT_TRUE(eventNames().empty());
    EXPECT_FALSE(application.isFirstRun());
}

TEST_F(AppDelegateTest, TheLaunchStartsTheServicesAndPutsTheContainerAtTheRoot) {
    AppDelegate application(configuration());
    EXPECT_EQ(AppDelegate::shared(), &application);
    host::HeadlessHost& host = start();
    application.application(host.application(), {});
    EXPECT_TRUE(crashlog.isStarted());
    EXPECT_EQ(crashlog.apiKey(), kCredentials.crashlogAPIKey);
    EXPECT_EQ(crashlog.startDelay(), 1.0);
    EXPECT_EQ(telemetry.account(), "zembrixgames");
    const std::shared_ptr<ContainerViewController> container = application.containerVC();
    ASSERT_TRUE(container);
    EXPECT_EQ(host.window().rootViewController(), container);
    EXPECT_TRUE(container->isViewLoaded());
}

TEST_F(AppDelegateTest, ServicesWithoutCredentialsStayOffAndTheirEventsAreLost) {
    AppDelegate application(configuration({}));
    application.application(start().application(), {});
    EXPECT_FALSE(crashlog.isStarted());
    EXPECT_FALSE(telemetry.sessionStarted());
    EXPECT_TRUE(telemetry.pendingRecords().empty());
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
