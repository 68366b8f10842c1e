#include "crashlog/Crashlog.h"

#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/controller/CLGSDKController.h"
#include "crashlog/log/CLGLog.h"
#include "crashlog/report/CLGCrashFile.h"
#include "crashlog/service/CLGClient.h"
#include "crashlog/testing/ClientFacts.h"
#include "crashlog/testing/CrashServiceProcess.h"
#include "crashlog/testing/Sanitizers.h"
#include "platform/core/ApplicationEvents.h"
#include "platform/core/DeviceEvents.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/FileLocations.h"
#include "platform/core/InfoPlist.h"
#include "platform/core/Log.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/SteadyClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/Thread.h"
#include "platform/core/UserDefaults.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <future>
#include <thread>
#include <unistd.h>

// Crashes by writing through a null pointer; its name must come back in the crashed thread's frames.
extern "C" __attribute__((noinline)) void crashlogTestWriteThroughNull() {
    *static_cast<volatile int*>(nullptr) = 1;
}

namespace zm {
namespace {

using namespace std::chrono_literals;

constexpr const char* kKey = "0123456789abcdef0123456789abcdef01234567";

// Nothing in this process starts capture: these run against a context that is not ready.

TEST(Crashlog, AnEmptyKeyRaisesAndSetsNothingUp) {
    try {
        Crashlog::startWithAPIKey("");
        FAIL() << "an empty key must raise";
    } catch (const CrashlogException& exception) {
        EXPECT_STREQ(exception.what(), "Crashlog cannot start with the API key ''");
    }
    EXPECT_EQ(Crashlog::sharedInstance().apiKey(), "");
    EXPECT_EQ(CLGCaptureContextIsReady(), 0);
}

TEST(Crashlog, SettersBeforeCaptureIsReadyAreIgnoredWithoutAWord) {
    core::LogCapture log;
    Crashlog::setUserIdentifier(std::string("id"));
    Crashlog::setUserName(std::string("name"));
    Crashlog::setUserEmail(CrashlogObject{});
    Crashlog::setObjectValue(std::string("value"), "key");
    Crashlog::setIntValue(1, "int");
    Crashlog::setBoolValue(true, "bool");
    Crashlog::setFloatValue(1.5f, "float");
    Crashlog::setDevelopmentPlatformName(std::string("Unity"));
    Crashlog::setDevelopmentPlatformVersion(std::string("5"));
    Crashlog::recordExceptionName("name", "reason", {});
    core::TemporaryFolder folder;
    Crashlog::sharedInstance().controllerCollectProcesses(*CLGSDKController::create(folder.path(), ""), true);
    EXPECT_EQ(CLGCaptureContextShared().mutablePart, nullptr);
    EXPECT_TRUE(log.messages().empty());
}

TEST(Crashlog, AnObjectBecomesTextByItsKind) {
    const struct {
        CrashlogObject object;
        std::optional<std::string> text;
    } cases[] = {
        {std::string("a b"), "a b"},
        {core::Value(42), "42"},
        {core::Value(1.5), "1.5"},
        {core::Value(true), "1"},
        {CrashlogURL{"https://example.org/a%20b"}, "https://example.org/a%20b"},
        {CrashlogDescribable{"<Player 7>"}, "<Player 7>"},
        {CrashlogDescribable{}, std::nullopt},
        {CrashlogObject{}, std::nullopt},
    };
    for (const auto& test : cases)
        EXPECT_EQ(Crashlog::confirmCustomIdentifierValue(test.object), test.text) << test.text.value_or("nothing");
}

TEST(Crashlog, TheClientLearnsTheApplicationFromItsInformation) {
    const struct {
        core::Dictionary info;
        const char* bundleId;
        const char* name;
        const char* version;
        std::optional<std::string> shortVersion;
    } cases[] = {
        {{{"CFBundleIdentifier", "org/zembrix/game"}, {"CFBundleDisplayName", "Zembrix"}, {"CFBundleName", "zembrix"},
          {"CFBundleVersion", "37"}, {"CFBundleShortVersionString", "1.2"}},
         "org_zembrix_game", "Zembrix", "37", "1.2"},
        {{{"CFBundleName", "zembrix"}, {"CFBundleVersion", "37"}}, "", "zembrix", "37", std::nullopt},
        {{{"CFBundleVersion", "37"}}, "", "37", "37", std::nullopt},
        {{}, "", "0", "0", std::nullopt},
    };
    Crashlog& crashlog = Crashlog::sharedInstance();
    const CLGClient client("");
    for (const auto& test : cases) {
        core::ScopedInfoDictionary info(test.info);
        SCOPED_TRACE(test.name);
        EXPECT_EQ(crashlog.bundleIdForClient(client), test.bundleId);
        EXPECT_EQ(crashlog.applicationNameForClient(client), test.name);
        EXPECT_EQ(crashlog.bundleVersionForClient(client), test.version);
        EXPECT_EQ(crashlog.shortBundleVersionForClient(client), test.shortVersion);
    }
    // What capture gathers is not known before it is ready.
    EXPECT_EQ(crashlog.executableSlicesForClient(client), std::nullopt);
    EXPECT_EQ(crashlog.minimumSDKVersionForClient(client), "0.0.0");
    EXPECT_EQ(crashlog.builtSDKVersionForClient(client), "0.0.0");
    EXPECT_TRUE(crashlog.identificationDictionaryForClient(client).empty());
    EXPECT_TRUE(crashlog.eventArrayForClient(client).empty());
}

// Each case below starts crash reporting for a whole process, so it runs in a child of its own, under
// a data root of its own. A check that fails in the child says which and ends it with status 1.
#define CHILD_CHECK(condition)                                                                         \
    do {                                                                                               \
        if (!(condition)) {                                                                            \
            fprintf(stderr, "failed at line %d: %s\n", __LINE__, #condition);                          \
            _exit(1);                                                                                  \
        }                                                                                              \
    } while (false)

class CrashlogStartDeathTest : public ::testing::Test {
protected:
    // A child starts the test afresh, so the data root is handed down by name: the children of one
    // test share it, and one child finds what an earlier one left.
    static constexpr const char* kRootVariable = "CRASHLOG_FACADE_TEST_ROOT";

    void SetUp() override {
        CLG_SKIP_UNDER_SANITIZER();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        if (const char* inherited = getenv(kRootVariable)) {
            root = inherited;
            return;
        }
        owned.emplace();
        root = owned->path();
        setenv(kRootVariable, root.c_str(), 1);
    }
    void TearDown() override {
        if (owned) {
            unsetenv(kRootVariable);
            unsetenv("CrashlogAPIEndpoint");
        }
    }

    // Whether this is the test's own process rather than one of its children.
    bool isParent() const { return owned.has_value(); }

    // What the child runs before its case: the data root, the defaults and the application's
    // information of the test.
    void isolate() {
        core::FileLocations::setShared(core::FileLocations::underRoot(root, core::FileLocations::shared().resources));
        core::UserDefaults::setStandard(std::make_shared<core::UserDefaults>(root / "defaults.plist"));
        core::setInfoDictionary({{"CFBundleIdentifier", "org/zembrix/test"}, {"CFBundleVersion", "37"}});
    }

    // Starts crash reporting and waits until the start-up has run.
    static Crashlog& startAndWait(CrashlogDelegate* delegate = nullptr) {
        Crashlog& crashlog = Crashlog::startWithAPIKey(kKey, delegate);
        crashlog.queue()->sync([] {});
        return crashlog;
    }

    std::filesystem::path crashDirectory() const {
        return core::FileLocations::underRoot(root, {}).caches / "com.crashlog.data" / "org_zembrix_test";
    }

    std::optional<core::TemporaryFolder> owned;
    std::filesystem::path root;
};

struct MarkerDelegate : CrashlogDelegate {
    void crashlogDidDetectCrashDuringPreviousExecution(Crashlog&) override {
        toldOnMain = core::DispatchQueue::main()->isCurrent();
        ++told;
    }
    void crashlogDidDetectCrashDuringPreviousExecution(Crashlog&, const CLGCrashReport& report) override {
        reported = report.identifier();
    }
    int told = 0;
    bool toldOnMain = false;
    std::string reported;
};

TEST_F(CrashlogStartDeathTest, AStartInstallsCaptureOnceAndIdentifiesTheInstallation) {
    const auto startTwice = [&] {
        isolate();
        Crashlog& crashlog = Crashlog::startWithAPIKey(kKey);
        CHILD_CHECK(&crashlog == &Crashlog::sharedInstance());
        CHILD_CHECK(crashlog.apiKey() == kKey);
        {
            // A second start, while the first is still under way or after it, changes nothing.
            core::LogCapture log;
            Crashlog::startWithAPIKey("ffffffffffffffffffffffffffffffffffffffff", 5);
            CHILD_CHECK(log.contains("[Crashlog] startWithAPIKey: called more than once. startWithAPIKey: should "
                                     "only be called once, at app launch time. This call is being ignored."));
        }
        crashlog.queue()->sync([] {});
        CHILD_CHECK(CLGCaptureContextIsReady() == 1);
        CHILD_CHECK(crashlog.crashDirectory() == crashDirectory());
        CHILD_CHECK(std::filesystem::exists(crashDirectory() / "session.clglog"));
        CHILD_CHECK(std::filesystem::is_directory(crashDirectory() / "sendable"));
        // No service is named: nothing will be sent, and the records wait.
        CHILD_CHECK(crashlog.controller() && !crashlog.client());
        CHILD_CHECK(!crashlog.lastSessionWasCrash());

        // The session is named after the installation, whose identifier was made and kept.
        const std::optional<std::string> install = core::UserDefaults::standard().stringForKey("com.crashlog.iuuid");
        CHILD_CHECK(install && install->size() == 36);
        const CLGCaptureStaticPart& facts = *CLGCaptureContextShared().staticPart;
        CHILD_CHECK(std::string(facts.apiKey) == kKey);
        CHILD_CHECK(facts.installIdentifierCreated);
        CHILD_CHECK(std::string(facts.recordPath).starts_with(crashDirectory().string()));
        CHILD_CHECK(std::string(facts.crashMarkerPath) == (crashDirectory() / "crash_marker").string());

        // The identifiers it holds, in their order, then the model and the system.
        const CLGClient client("");
        const core::Dictionary identification = crashlog.identificationDictionaryForClient(client);
        std::vector<std::string> keys = identification.keys();
        CHILD_CHECK(identification.find("application_installation_uuid")->stringValue() == *install);
        CHILD_CHECK(!identification.contains("ios_udid") && !identification.contains("font_token"));
        const std::vector<std::string> order = {"ios_vendor_identifier", "ios_advertising_identifier",
                                                "wifi_mac_address", "application_installation_uuid", "model",
                                                "os_version"};
        size_t next = 0;
        for (const std::string& key : keys) {
            while (next < order.size() && order[next] != key)
                ++next;
            CHILD_CHECK(next < order.size());
        }
        CHILD_CHECK(identification.contains("model") && identification.contains("os_version"));
        CHILD_CHECK(identification.find("os_version")->stringValue().find('/') != std::string::npos);
        CHILD_CHECK(crashlog.executableSlicesForClient(client).has_value());

        core::LogCapture log;
        Crashlog::startWithAPIKey("ffffffffffffffffffffffffffffffffffffffff", 5);
        CHILD_CHECK(log.messages().size() == 1);
        CHILD_CHECK(crashlog.apiKey() == kKey);
        _exit(0);
    };
    EXPECT_EXIT(startTwice(), ::testing::ExitedWithCode(0), "");
}

TEST_F(CrashlogStartDeathTest, WhatTheApplicationSetsReachesTheContextOnceReady) {
    const auto setEverything = [&] {
        isolate();
        // Set while the start-up runs: applied once capture is ready.
        Crashlog::startWithAPIKey(kKey);
        Crashlog::setUserName(CrashlogObject{});
        Crashlog::setIntValue(3, "early");
        Crashlog::sharedInstance().queue()->sync([] {});
        CLGCaptureMutablePart& part = *CLGCaptureContextShared().mutablePart;
        const auto text = [](const std::atomic<char*>& slot) { return std::string(slot.load() ? slot.load() : ""); };
        CHILD_CHECK(text(part.log.userName) == "(null)");
        CHILD_CHECK(text(part.log.pairs[0].key) == "early" && text(part.log.pairs[0].value) == "3");

        Crashlog::setUserName(std::string("Ada Lovelace"));
        Crashlog::setUserIdentifier(core::Value(7));
        Crashlog::setUserEmail(std::string("ada@example.org"));
        CHILD_CHECK(text(part.log.userName) == "Ada%20Lovelace");
        CHILD_CHECK(text(part.log.userIdentifier) == "7");
        CHILD_CHECK(text(part.log.userEmail) == "ada%40example.org");
        Crashlog::setDevelopmentPlatformName(std::string("Game Kit"));
        Crashlog::setDevelopmentPlatformVersion(std::string("1.0"));
        CHILD_CHECK(text(part.devPlatform) == "Game%20Kit" && text(part.devPlatformVersion) == "1.0");

        const struct {
            std::function<void()> set;
            const char* key;
            const char* stored;
        } values[] = {
            {[] { Crashlog::setBoolValue(true, "yes"); }, "yes", "YES"},
            {[] { Crashlog::setBoolValue(false, "no"); }, "no", "NO"},
            {[] { Crashlog::setFloatValue(1.5f, "float"); }, "float", "1.500000"},
            {[] { Crashlog::setIntValue(-12, "int"); }, "int", "-12"},
            {[] { Crashlog::setObjectValue(std::string("two words"), "text"); }, "text", "two%20words"},
            {[] { Crashlog::setObjectValue(core::Value(2.25), "number"); }, "number", "2.25"},
            {[] { Crashlog::setObjectValue(CrashlogURL{"https://example.org/"}, "url"); }, "url",
             "https%3A%2F%2Fexample.org%2F"},
            {[] { Crashlog::setObjectValue(CrashlogDescribable{"<Level 3>"}, "object"); }, "object", "%3CLevel%203%3E"},
        };
        for (const auto& value : values) {
            value.set();
            bool found = false;
            for (uint32_t i = 0; i < part.log.pairCount.load(); ++i) {
                if (text(part.log.pairs[i].key) == value.key) {
                    found = true;
                    if (text(part.log.pairs[i].value) != value.stored) {
                        fprintf(stderr, "%s: %s\n", value.key, text(part.log.pairs[i].value).c_str());
                        _exit(1);
                    }
                }
            }
            CHILD_CHECK(found);
        }
        // An object that cannot describe itself stores nothing, not even its key.
        const uint32_t count = part.log.pairCount.load();
        Crashlog::setObjectValue(CrashlogDescribable{}, "undescribed");
        Crashlog::setObjectValue(CrashlogObject{}, "nothing");
        CHILD_CHECK(part.log.pairCount.load() == count);

        Crashlog::recordExceptionName("std::range_error", "out of range", {CLGStackFrame::stackFrameWithAddress(0x1000)});
        CHILD_CHECK(std::string(part.exception.name) == "std::range_error");
        CHILD_CHECK(std::string(part.exception.reason) == "out%20of%20range");
        CHILD_CHECK(part.exception.frameCount == 1);
        _exit(0);
    };
    EXPECT_EXIT(setEverything(), ::testing::ExitedWithCode(0), "");
}

TEST_F(CrashlogStartDeathTest, TheDeviceStateFollowsTheNotifications) {
    const auto postAndRead = [&] {
        isolate();
        startAndWait();
        CLGDeviceState& state = CLGCaptureContextShared().mutablePart->deviceState;
        CHILD_CHECK(state.deviceOrientation == 1 && state.interfaceOrientation == 1);
        CHILD_CHECK(state.batteryLevel.load() != nullptr);
        CHILD_CHECK(!state.backgrounded && !state.proximity);

        core::NotificationCenter& center = core::NotificationCenter::defaultCenter();
        center.post(std::string(core::kApplicationDidEnterBackgroundNotification));
        CHILD_CHECK(state.backgrounded);
        center.post(std::string(core::kApplicationWillEnterForegroundNotification));
        CHILD_CHECK(!state.backgrounded);
        const core::Dictionary turned{{std::string(core::kOrientationKey), 3}};
        center.post(std::string(core::kStatusBarOrientationDidChangeNotification), nullptr, turned);
        CHILD_CHECK(state.interfaceOrientation == 3 && state.deviceOrientation == 1);
        center.post(std::string(core::kDeviceOrientationDidChangeNotification), nullptr, turned);
        CHILD_CHECK(state.deviceOrientation == 3);
        // Taken from the machine again: whatever it says, a number's text.
        char* level = state.batteryLevel.load();
        center.post(std::string(core::kDeviceBatteryLevelDidChangeNotification));
        CHILD_CHECK(state.batteryLevel.load() != level);
        CHILD_CHECK(std::string(state.batteryLevel.load()).find('.') != std::string::npos);
        center.post(std::string(core::kDeviceProximityStateDidChangeNotification));
        CHILD_CHECK(!state.proximity);
        _exit(0);
    };
    EXPECT_EXIT(postAndRead(), ::testing::ExitedWithCode(0), "");
}

TEST_F(CrashlogStartDeathTest, ProcessesAreListedEveryThirtySecondsWhileWanted) {
    const auto collect = [&] {
        isolate();
        auto clock = std::make_shared<core::ManualClock>();
        core::MainLoop loop(clock);
        Crashlog& crashlog = startAndWait();
        std::atomic<CLGProcessList*>& processes = CLGCaptureContextShared().mutablePart->processes;
        CHILD_CHECK(processes.load() == nullptr);
        crashlog.controllerCollectProcesses(*crashlog.controller(), true);
        CLGProcessList* first = processes.load();
        CHILD_CHECK(first != nullptr);
        loop.advanceBy(29s);
        CHILD_CHECK(processes.load() == first);
        loop.advanceBy(1s);
        CLGProcessList* second = processes.load();
        CHILD_CHECK(second != first);
        crashlog.controllerCollectProcesses(*crashlog.controller(), false);
        loop.advanceBy(60s);
        CHILD_CHECK(processes.load() == second);
        _exit(0);
    };
    EXPECT_EXIT(collect(), ::testing::ExitedWithCode(0), "");
}

TEST_F(CrashlogStartDeathTest, ACrashIsFoundAtTheNextStartWithWhatWasSetBeforeIt) {
    // The first run sets a user and keys, then writes through a null pointer.
    const auto crashAfterSetting = [&] {
        isolate();
        startAndWait();
        Crashlog::setUserName(std::string("Ada Lovelace"));
        Crashlog::setObjectValue(std::string("level 3"), "where");
        Crashlog::setBoolValue(true, "sound");
        crashlogTestWriteThroughNull();
    };
    EXPECT_EXIT(crashAfterSetting(), ::testing::KilledBySignal(SIGSEGV), "");

    // The next finds the marker, removes it, tells the delegate on the main queue and, as its record
    // is converted, hands it over.
    const auto startAgain = [&] {
        isolate();
        auto clock = std::make_shared<core::ManualClock>();
        core::MainLoop loop(clock);
        CHILD_CHECK(std::filesystem::exists(crashDirectory() / "crash_marker"));
        MarkerDelegate delegate;
        Crashlog& crashlog = startAndWait(&delegate);
        CHILD_CHECK(crashlog.lastSessionWasCrash());
        CHILD_CHECK(!std::filesystem::exists(crashDirectory() / "crash_marker"));
        CHILD_CHECK(delegate.told == 0);
        loop.runUntilIdle();
        CHILD_CHECK(delegate.told == 1 && delegate.toldOnMain);

        std::optional<std::filesystem::path> record;
        for (const auto& entry : std::filesystem::directory_iterator(crashDirectory())) {
            if (entry.path().extension() == ".clgrecord")
                record = entry.path();
        }
        CHILD_CHECK(record);
        CLGCrashFile file(*record);
        CHILD_CHECK(file.isValid());
        crashlog.controllerWillProcessFile(*crashlog.controller(), file);
        loop.runUntilIdle();
        CHILD_CHECK(delegate.reported == file.identifier());
        CHILD_CHECK(file.executablesMatch());
        CHILD_CHECK((file.customKeys() == CLGCustomKeys{{"where", "level 3"}, {"sound", "YES"}}));
        const CLGThread* crashed = nullptr;
        for (const CLGThread& thread : file.threads()) {
            if (thread.crashed())
                crashed = &thread;
        }
        CHILD_CHECK(crashed && !crashed->frames.empty());
        CHILD_CHECK(crashed->frames[0].symbol == "crashlogTestWriteThroughNull");
        _exit(0);
    };
    EXPECT_EXIT(startAgain(), ::testing::ExitedWithCode(0), "");
}

// The service's listing of what it holds, read from a child that has no handle on the service.
core::Array listedReports(const std::string& serviceURL) {
    net::HttpRequest request;
    request.url = serviceURL + "/list";
    const auto response = net::perform(request);
    auto parsed = response ? core::parseJson(response->body) : core::Result<core::Value>(core::Error{});
    const core::Value* reports = parsed ? parsed->find("reports") : nullptr;
    return reports && reports->asArray() ? *reports->asArray() : core::Array();
}

struct ReportDelegate : CrashlogDelegate {
    void crashlogDidDetectCrashDuringPreviousExecution(Crashlog&, const CLGCrashReport& report) override {
        customKeys = report.customKeys();
        if (const auto* file = dynamic_cast<const CLGCrashFile*>(&report))
            user = file->crashData().find("user") ? *file->crashData().find("user") : core::Value();
        ++told;
    }
    int told = 0;
    CLGCustomKeys customKeys;
    core::Value user;
};

TEST_F(CrashlogStartDeathTest, ACrashIsSentToTheServiceByTheNextStart) {
    // The service and the application's registration with it are the test's own, made once.
    std::optional<testing::CrashServiceProcess> service;
    if (isParent()) {
        service.emplace();
        ASSERT_TRUE(service->running());
        setenv("CrashlogAPIEndpoint", service->url().c_str(), 1);
        testing::Facts facts;
        facts.apiKey = kKey;
        facts.bundleId = "org_zembrix_test";
        auto client = std::make_shared<CLGClient>(service->url());
        client->setDelegate(&facts);
        std::promise<std::optional<core::Error>> configured;
        client->configureApplicationUsingURL(service->url() + "/spi/v1/platforms/ios/apps/org_zembrix_test", true,
                                             [&](std::optional<core::Error> error) { configured.set_value(error); });
        ASSERT_EQ(configured.get_future().get(), std::nullopt);
    }

    const auto crashAfterSetting = [&] {
        isolate();
        startAndWait();
        Crashlog::setUserIdentifier(std::string("player 7"));
        Crashlog::setObjectValue(std::string("level 3"), "where");
        crashlogTestWriteThroughNull();
    };
    EXPECT_EXIT(crashAfterSetting(), ::testing::KilledBySignal(SIGSEGV), "");

    const auto startAgainAndSend = [&] {
        isolate();
        core::MainLoop loop(core::SteadyClock::shared());
        ReportDelegate delegate;
        Crashlog::startWithAPIKey(kKey, &delegate, 0);
        const std::string serviceURL = getenv("CrashlogAPIEndpoint");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (listedReports(serviceURL).empty() || delegate.told == 0) {
            CHILD_CHECK(std::chrono::steady_clock::now() < deadline);
            loop.runUntilIdle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        CHILD_CHECK((delegate.customKeys == CLGCustomKeys{{"where", "level 3"}}));
        CHILD_CHECK(delegate.user.find("id") && delegate.user.find("id")->stringValue() == "player%207");
        _exit(0);
    };
    EXPECT_EXIT(startAgainAndSend(), ::testing::ExitedWithCode(0), "");

    if (!service)
        return;
    const core::Array reports = service->listed("reports");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_FALSE(reports[0].find("invalid")->boolValue());
    const core::Value* session = reports[0].find("session");
    ASSERT_TRUE(session);
    EXPECT_EQ(session->find("signal")->find("name")->stringValue(), "SIGSEGV");
    const core::Value* frames = session->find("crashed_thread")->find("frames");
    ASSERT_TRUE(frames && !frames->asArray()->empty());
    EXPECT_EQ(frames->asArray()->front().find("symbol")->stringValue(), "crashlogTestWriteThroughNull");
}

} // namespace
} // namespace zm
