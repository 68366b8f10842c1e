#include "crashlog/controller/CLGSDKController.h"

#include "crashlog/report/CLGCrashFile.h"
#include "crashlog/testing/ClientFacts.h"
#include "crashlog/testing/CrashServiceProcess.h"
#include "crashlog/testing/RecordFixture.h"
#include "platform/core/Files.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"

#include <atomic>
#include <future>
#include <set>
#include <thread>

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::Facts;

// What the controller tells its delegate.
class Recorder : public CLGSDKControllerDelegate {
public:
    void controllerCompletedSubmissions(CLGSDKController&) override {
        EXPECT_TRUE(core::DispatchQueue::main()->isCurrent());
        ++completions;
    }
    void controllerWillProcessFile(CLGSDKController&, CLGCrashFile& file) override { file.symbolicateWithUUIDMap({}); }
    void controllerCollectProcesses(CLGSDKController&, bool) override {}

    std::atomic<int> completions = 0;
};

// Answers every alert with the button a test chose, remembering what it showed.
class Presenter : public CLGAlertPresenter {
public:
    void presentAlert(const CLGAlert& alert, std::function<void(int)> clicked) override {
        EXPECT_TRUE(core::DispatchQueue::main()->isCurrent());
        shown.push_back(alert);
        clicked(choice);
    }
    int choice = kCancelButtonIndex;
    std::vector<CLGAlert> shown;
};

class CLGSDKControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.running());
        core::UserDefaults::setStandard(defaults);
        client->setDelegate(&facts);
        controller = makeController();
    }
    void TearDown() override {
        // What the controllers still have queued runs while the fixture it may reach is there.
        for (const auto& made : m_made)
            made->queue()->sync([] {});
        core::UserDefaults::setStandard(nullptr);
    }

    std::shared_ptr<CLGSDKController> makeController() {
        auto made = CLGSDKController::create(crashDirectory, service.url());
        made->setClient(client);
        made->setDelegate(&recorder);
        made->setAlertPresenter(&presenter);
        EXPECT_TRUE(made->setup());
        m_made.push_back(made);
        return made;
    }

    std::string appURL() const { return service.url() + "/spi/v1/platforms/ios/apps/com.zembrix.algebra"; }

    // Settings cached as if loaded a moment ago: an application the service knows.
    void cacheSettings(core::Dictionary prompt = {}, bool collect = true) {
        const core::Dictionary document{
            {"app", core::Dictionary{{"status", "activated"}, {"url", appURL()}, {"reports_url", appURL() + "/reports"}}},
            {"prompt", std::move(prompt)},
            {"settings", core::Dictionary{{"collect_reports", collect}}}};
        ASSERT_TRUE(CLGSettings::writeSettings(&document, controller->settingsCachePath()));
    }
    void configureWithService() {
        std::promise<std::optional<core::Error>> done;
        client->configureApplicationUsingURL(appURL(), true, [&](std::optional<core::Error> error) { done.set_value(error); });
        ASSERT_EQ(done.get_future().get(), std::nullopt);
    }

    void writeRecord(const std::string& name, bool valid = true) {
        auto record = testing::RecordFixture::standard();
        if (!valid)
            record.remove("storage");
        record.write(crashDirectory / (name + ".clgrecord"));
    }

    // Runs the main queue until `condition` holds (false after ten seconds).
    bool eventually(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            loop.runUntilIdle();
            std::this_thread::yield();
        }
        return true;
    }
    // Waits until the controller has scheduled something, answers how far ahead, and moves time there.
    double advanceToNextDelay() {
        if (!clock->awaitPending(1))
            return -1;
        const double ahead = core::toSeconds(*clock->nextDeadline() - clock->now());
        loop.advanceBy(*clock->nextDeadline() - clock->now());
        return ahead;
    }

    size_t filesIn(const std::filesystem::path& directory) {
        const auto entries = core::listDirectory(directory);
        return entries ? entries->size() : 0;
    }
    std::multiset<std::string> reports(bool invalid) {
        std::multiset<std::string> identifiers;
        for (const core::Value& report : service.listed("reports")) {
            if (report.find("invalid")->boolValue() == invalid)
                identifiers.insert(report.find("identifier")->stringValue());
        }
        return identifiers;
    }

    core::TemporaryFolder folder;
    const std::filesystem::path crashDirectory = folder.path() / "com.crashlog.data" / "com.zembrix.algebra";
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    std::shared_ptr<core::UserDefaults> defaults = std::make_shared<core::UserDefaults>(folder.path() / "defaults.plist");
    testing::CrashServiceProcess service;
    Facts facts;
    std::shared_ptr<CLGClient> client = std::make_shared<CLGClient>(service.url());
    Recorder recorder;
    Presenter presenter;
    std::shared_ptr<CLGSDKController> controller;

private:
    std::vector<std::shared_ptr<CLGSDKController>> m_made;
};

TEST(CLGSDKController, AFileAboveOneMebibyteIsReplacedByALineGivingItsSize) {
    core::TemporaryFolder folder;
    const struct {
        uintmax_t size;
        std::optional<std::string> replacement;
    } cases[] = {{1048576, std::nullopt}, {1048577, "Original file size: 1048577\n"}};
    for (const auto& c : cases) {
        const auto path = folder.path() / "file";
        ASSERT_TRUE(core::writeFileAtomically(path, std::string(c.size, 'x')));
        EXPECT_TRUE(CLGSDKController::ensureReasonableFileAtPath(path));
        const std::string kept = core::readFile(path).value();
        if (c.replacement)
            EXPECT_EQ(kept, *c.replacement);
        else
            EXPECT_EQ(kept.size(), c.size);
    }
    EXPECT_FALSE(CLGSDKController::ensureReasonableFileAtPath(folder.path() / "missing"));
}

TEST_F(CLGSDKControllerTest, AFreshCacheProcessesAtOnceEvenWithCollectionOffAndSendsWhatIsValid) {
    cacheSettings({}, false);
    writeRecord("good");
    ASSERT_TRUE(core::writeFileAtomically(crashDirectory / "good.clglog", "log"));
    writeRecord("bad", false);
    ASSERT_TRUE(core::writeFileAtomically(crashDirectory / "session.clglog", "running"));
    ASSERT_TRUE(core::writeFileAtomically(controller->processingDirectory() / "leftover.clgrecord", "cut short"));
    ASSERT_TRUE(core::writeFileAtomically(controller->invalidDirectory() / ".hidden", "never sent"));
    // This run's own record, as a crash during the pass leaves it: it waits for the next start.
    controller->setCurrentSessionBaseName("thisrun");
    writeRecord("thisrun");
    ASSERT_TRUE(core::writeFileAtomically(crashDirectory / "thisrun.clglog", "log"));

    controller->beginStartupFlowAfterDelay(0.5);
    ASSERT_TRUE(eventually([&] { return recorder.completions == 1; })) << "half a second starts at once";
    EXPECT_EQ(reports(false), std::multiset<std::string>{"good"});
    ASSERT_TRUE(eventually([&] { return reports(true).size() == 2; }));
    EXPECT_EQ(reports(true), (std::multiset<std::string>{"bad", "leftover"}));
    EXPECT_TRUE(std::filesystem::exists(crashDirectory / "session.clglog"));
    EXPECT_TRUE(std::filesystem::exists(crashDirectory / "thisrun.clgrecord"));
    EXPECT_TRUE(std::filesystem::exists(crashDirectory / "thisrun.clglog"));
    EXPECT_FALSE(std::filesystem::exists(crashDirectory / "good.clglog"));
    EXPECT_TRUE(std::filesystem::exists(controller->invalidDirectory() / ".hidden"));
    EXPECT_EQ(filesIn(controller->sendableDirectory()), 0u);
    EXPECT_EQ(filesIn(controller->processingDirectory()), 0u);
}

TEST_F(CLGSDKControllerTest, FailedUploadsBackOffFromTenToOneHundredSixtySecondsAndASuccessClearsSendable) {
    cacheSettings();
    writeRecord("crash");
    service.script("report", {{"status", 500}}, 5);
    controller->beginStartupFlowAfterDelay(0);
    for (const double expected : {10, 20, 40, 80, 160})
        EXPECT_EQ(advanceToNextDelay(), expected);
    ASSERT_TRUE(eventually([&] { return recorder.completions == 1; }));
    EXPECT_EQ(reports(false), std::multiset<std::string>{"crash"});
    EXPECT_EQ(filesIn(controller->sendableDirectory()), 0u);
    controller->queue()->sync([&] { EXPECT_EQ(controller->retryInterval(), 10u); });
}

TEST_F(CLGSDKControllerTest, ARefusedReportIsSentAgainAsInvalidByTheNextStart) {
    cacheSettings();
    writeRecord("crash");
    service.script("report", {{"status", 404}});
    controller->beginStartupFlowAfterDelay(0);
    ASSERT_TRUE(eventually([&] { return recorder.completions == 1; }));
    EXPECT_TRUE(reports(false).empty());
    EXPECT_EQ(filesIn(controller->invalidDirectory()), 1u);

    auto nextStart = makeController();
    nextStart->beginStartupFlowAfterDelay(0);
    ASSERT_TRUE(eventually([&] { return reports(true).size() == 1; }));
    EXPECT_EQ(reports(true), std::multiset<std::string>{"crash"});
    ASSERT_TRUE(eventually([&] { return filesIn(controller->invalidDirectory()) == 0; }));
}

TEST_F(CLGSDKControllerTest, ANewApplicationIsConfiguredEverySixtySecondsUntilItWorksAndItsRecordsWait) {
    writeRecord("crash");
    service.script("configure", {{"status", 500}}, 2);
    controller->beginStartupFlowAfterDelay(0);
    EXPECT_EQ(advanceToNextDelay(), 60);
    EXPECT_EQ(advanceToNextDelay(), 60);
    ASSERT_TRUE(eventually([&] { return service.listed("apps").size() == 1; }));
    ASSERT_TRUE(eventually([&] {
        const auto cached = CLGSettings::initWithCachePath(controller->settingsCachePath());
        return cached && !cached->appNeedsOnboarding();
    })) << "the settings are loaded again once configured";
    EXPECT_TRUE(std::filesystem::exists(crashDirectory / "crash.clgrecord")) << "a new application's records wait";
}

TEST_F(CLGSDKControllerTest, ASettingsAnswerHoldingANullIsCachedWithoutItAndProcessingGoesOn) {
    configureWithService();
    writeRecord("crash");
    service.script("settings", {{"content_type", "json"}, {"prompt", core::Dictionary{{"title", core::Value()}}}});
    controller->beginStartupFlowAfterDelay(0);
    ASSERT_TRUE(eventually([&] { return reports(false).size() == 1; }));
    const auto cached = CLGSettings::initWithCachePath(controller->settingsCachePath());
    ASSERT_TRUE(cached);
    EXPECT_TRUE(cached->promptDictionary().empty());
}

TEST_F(CLGSDKControllerTest, ThePermissionAlertSendsDeletesOrRemembersToAlwaysSend) {
    const struct {
        const char* name;
        bool offerAlways;
        int choice;
        size_t buttons;
        bool sent;
        bool remembered;
    } cases[] = {
        {"two buttons, cancel deletes", false, CLGAlertPresenter::kCancelButtonIndex, 1, false, false},
        {"two buttons, send", false, 1, 1, true, false},
        {"three buttons, always send", true, 2, 2, true, true},
    };
    for (const auto& c : cases) {
        cacheSettings({{"enabled", true}, {"show_always_send_button", c.offerAlways}, {"title", "Crashed"}});
        writeRecord(c.name);
        presenter.choice = c.choice;
        presenter.shown.clear();
        const size_t sentBefore = reports(false).size();
        const int completionsBefore = recorder.completions;
        controller->beginStartupFlowAfterDelay(0);
        ASSERT_TRUE(eventually([&] {
            return !presenter.shown.empty() && filesIn(controller->preparedDirectory()) == 0 &&
                   filesIn(controller->sendableDirectory()) == 0 && (!c.sent || recorder.completions > completionsBefore);
        })) << c.name;
        EXPECT_EQ(presenter.shown[0].title, "Crashed") << c.name;
        EXPECT_EQ(presenter.shown[0].cancelTitle, "Don't Send") << c.name;
        EXPECT_EQ(presenter.shown[0].buttonTitles.size(), c.buttons) << c.name;
        EXPECT_EQ(reports(false).size(), sentBefore + (c.sent ? 1 : 0)) << c.name;
        EXPECT_EQ(CLGSettings::userDesiresReportsAlwaysBeSent(), c.remembered) << c.name;
    }

    presenter.shown.clear();
    writeRecord("unasked");
    controller->beginStartupFlowAfterDelay(0);
    ASSERT_TRUE(eventually([&] { return reports(false).count("unasked") == 1; }));
    EXPECT_TRUE(presenter.shown.empty()) << "always send: the next crash goes unasked";
}

} // namespace
} // namespace zm
