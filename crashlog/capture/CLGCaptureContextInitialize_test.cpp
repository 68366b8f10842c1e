#include "crashlog/capture/CLGCaptureConfiguration.h"
#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/log/CLGLog.h"
#include "crashlog/testing/Sanitizers.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <unistd.h>

namespace zm {
namespace {

CLGCaptureConfiguration configurationIn(const std::filesystem::path& folder) {
    CLGCaptureConfiguration configuration;
    configuration.apiKey = "key";
    configuration.sessionIdentifier = "6553F10000FA-0001-1234-61626364-6566";
    configuration.recordPath = folder / "6553f10000fa0001123461626364.clgrecord";
    configuration.crashMarkerPath = folder / "crash_marker";
    configuration.runningLogPath = folder / "session.clglog";
    configuration.crashLogPath = folder / "6553f10000fa0001123461626364.clglog";
    return configuration;
}

// Each case starts capture for the whole process, so it runs in a child of its own.
class CLGCaptureContextInitializeDeathTest : public ::testing::Test {
protected:
    void SetUp() override {
        CLG_SKIP_UNDER_SANITIZER();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    core::TemporaryFolder m_folder;
};

TEST_F(CLGCaptureContextInitializeDeathTest, MarksTheContextReadyAndProtectsItsStaticPart) {
    const auto startThenWriteIntoTheStaticPart = [&] {
        if (CLGCaptureContextIsReady() != 0)
            _exit(10);
        CLGCaptureContextSetCustomValue("early", "ignored");
        CLGCaptureContextInitialize(configurationIn(m_folder.path()));
        if (CLGCaptureContextIsReady() != 1)
            _exit(11);
        CLGCaptureContextSetCustomValue("kept", "key");
        if (CLGCaptureContextShared().mutablePart->log.pairCount.load() != 1)
            _exit(12);
        // The write that a wild pointer elsewhere in the process might make.
        const_cast<volatile int64_t&>(CLGCaptureContextShared().staticPart->startedAt) = 0;
        _exit(13);
    };
    EXPECT_EXIT(startThenWriteIntoTheStaticPart(), ::testing::KilledBySignal(SIGSEGV), "");
}

TEST_F(CLGCaptureContextInitializeDeathTest, ALateGathererCostsOnlyTheProtection) {
    const auto startWithASlowGatherer = [&] {
        CLGSetDebugMode(true);
        static std::atomic<bool> released = false;
        CLGCaptureConfiguration configuration = configurationIn(m_folder.path());
        configuration.gathererTimeout = std::chrono::milliseconds(20);
        configuration.hostFacts = [] {
            while (!released.load())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return CLGHostFacts{};
        };
        CLGCaptureContextInitialize(configuration);
        released = true;
        if (CLGCaptureContextIsReady() != 1)
            _exit(11);
        const_cast<volatile int64_t&>(CLGCaptureContextShared().staticPart->startedAt) = 0;
        _exit(0);
    };
    EXPECT_EXIT(startWithASlowGatherer(), ::testing::ExitedWithCode(0),
                "\\[Crashlog\\] \\[Context\\] Delayed initialization - disabling memory protection");
}

} // namespace
} // namespace zm
