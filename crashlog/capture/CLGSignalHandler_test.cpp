#include "crashlog/capture/CLGSignalHandler.h"
#include "crashlog/record/CLGRecordReader.h"
#include "crashlog/testing/Crasher.h"
#include "crashlog/testing/Sanitizers.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>

namespace zm {
namespace {

using testing::CrasherRun;
using testing::runCrasher;

TEST(CLGSignalHandler, EveryCrashIsRecordedThenHandedOnSoThatTheProcessDiesByItsSignal) {
    CLG_SKIP_UNDER_SANITIZER();
    struct Case {
        const char* name;
        int signal;
        const char* signalName;
        const char* codeName;
    };
    const Case cases[] = {
        {"null-write", SIGSEGV, "SIGSEGV", "SEGV_MAPERR"},
        {"divide-by-zero", SIGFPE, "SIGFPE", nullptr},
        {"trap", SIGILL, "SIGILL", nullptr},
        {"abort", SIGABRT, "SIGABRT", "ABORT"},
        {"breakpoint", SIGTRAP, "SIGTRAP", nullptr},
        {"bus", SIGBUS, "SIGBUS", nullptr},
        {"sys", SIGSYS, "SIGSYS", nullptr},
        {"uncaught-exception", SIGABRT, "SIGABRT", "ABORT"},
        {"stack-overflow", SIGSEGV, "SIGSEGV", nullptr},
        {"thread-stack-overflow", SIGSEGV, "SIGSEGV", nullptr},
        {"early", SIGSEGV, "SIGSEGV", "SEGV_MAPERR"},
        {"two-threads", SIGSEGV, "SIGSEGV", "SEGV_MAPERR"},
        {"late-library", SIGSEGV, "SIGSEGV", "SEGV_MAPERR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::TemporaryFolder folder;
        const CrasherRun result = runCrasher(c.name, folder.path());
        EXPECT_TRUE(result.child.killedBy(c.signal)) << result.child.status << "\n" << result.child.err;
        EXPECT_EQ(result.markers.size(), 1u);
        ASSERT_EQ(result.records.size(), 1u);
        EXPECT_TRUE(CLGRecordIsValid(result.record));
        EXPECT_EQ(result.at("signal", "name"), core::Value(c.signalName));
        EXPECT_EQ(result.at("signal", "number").integerValue(), c.signal);
        if (c.codeName) {
            EXPECT_EQ(result.at("signal", "code_name"), core::Value(c.codeName));
        }
        // A signal sent by raise or abort has no fault address: the field would hold the sender's pid.
        const int64_t code = result.at("signal", "code").integerValue();
        EXPECT_EQ(result.at("signal", "address").isNull(), code <= 0) << code;
        EXPECT_EQ(result.at("signal", "preexisting_handlers"), core::Value(true));
        EXPECT_EQ(result.record.find("mach_exception")->asDictionary()->size(), 0u);
        EXPECT_EQ(result.at("process_info", "debugger"), core::Value(false));
        // The crasher's own handler and alternate stack came first: the stack cannot be put back while
        // the handler runs on ours, and the earlier handler still gets the signal.
        EXPECT_NE(result.child.err.find("Unable to setup stack %s\n"), std::string::npos);
        EXPECT_NE(result.child.err.find("earlier handler\n"), std::string::npos);
    }
}

TEST(CLGSignalHandler, AnUncaughtExceptionLeavesItsTypeAndReasonInTheRecord) {
    CLG_SKIP_UNDER_SANITIZER();
    core::TemporaryFolder folder;
    const CrasherRun result = runCrasher("uncaught-exception", folder.path());
    EXPECT_EQ(result.at("exception", "name"), core::Value("std::runtime_error"));
    EXPECT_EQ(result.at("exception", "reason"), core::Value("the%20crasher%20threw%20%22this%22"));
    EXPECT_GT(result.at("exception", "backtrace").asArray()->size(), 2u);
}

// "function NAME ADDRESS SIZE" from the crasher's output.
std::pair<uint64_t, uint64_t> announcedFunction(const std::string& out) {
    std::istringstream lines(out);
    for (std::string word; lines >> word;) {
        if (word != "function")
            continue;
        std::string name;
        std::string address;
        uint64_t size = 0;
        lines >> name >> address >> size;
        return {std::stoull(address, nullptr, 16), size};
    }
    return {0, 0};
}

TEST(CLGSignalHandler, TheRecordListsEveryThreadByNameAndTheCrashedOneStopsInTheCrashingFunction) {
    CLG_SKIP_UNDER_SANITIZER();
    core::TemporaryFolder folder;
    const CrasherRun result = runCrasher("threads", folder.path());
    ASSERT_TRUE(CLGRecordIsValid(result.record)) << result.child.err;
    // The "threads" line holds three members of the record itself.
    const core::Array& threads = *result.record.find("threads")->asArray();
    const core::Array& names = *result.record.find("thread_names")->asArray();
    const core::Array& queues = *result.record.find("dispatch_queue_names")->asArray();
    const int64_t count = result.record.find("thread_count")->integerValue();
    EXPECT_EQ(static_cast<int64_t>(threads.size()), count);
    EXPECT_EQ(static_cast<int64_t>(names.size()), count);
    EXPECT_EQ(static_cast<int64_t>(queues.size()), count);
    for (const char* worker : {"worker-1", "worker-2", "worker-3"})
        EXPECT_NE(std::find(names.begin(), names.end(), core::Value(worker)), names.end()) << worker;
    EXPECT_NE(std::find(queues.begin(), queues.end(), core::Value("com.crashlog.context-queue")), queues.end());

    const int64_t crashed = result.record.find("crashed_thread")->integerValue();
    ASSERT_GE(crashed, 0);
    ASSERT_LT(crashed, count);
    EXPECT_EQ(names[static_cast<size_t>(crashed)], core::Value("crashlog-crashe"));
    const auto [function, size] = announcedFunction(result.child.out);
    ASSERT_NE(function, 0u);
    const core::Array& frames = *threads[static_cast<size_t>(crashed)].asArray();
    ASSERT_FALSE(frames.empty());
    const auto first = static_cast<uint64_t>(frames.front().find("address")->integerValue());
    EXPECT_GE(first, function);
    EXPECT_LT(first, function + size);
    // The crashed thread's registers, and its frames past the crashing function.
    EXPECT_EQ(static_cast<uint64_t>(result.at("thread_state", "rip").integerValue()), first);
    EXPECT_GT(frames.size(), 2u);
}

TEST(CLGSignalHandler, MapsSignalsToExceptionMasksAndSystemVersionsToCodes) {
    struct MaskCase {
        int signal;
        uint32_t mask;
    };
    const MaskCase masks[] = {{SIGILL, 4}, {SIGTRAP, 64}, {SIGABRT, 1024}, {SIGFPE, 8}, {SIGBUS, 2},
                              {SIGSEGV, 2}, {SIGSYS, 1024}, {SIGTERM, 0}, {SIGKILL, 0}, {0, 0}};
    for (const MaskCase& c : masks)
        EXPECT_EQ(CLGSignalExceptionMask(c.signal), c.mask) << c.signal;
    struct VersionCase {
        const char* version;
        int32_t code;
    };
    const VersionCase versions[] = {{"4.3", 40000}, {"5.1.1", 50000}, {"6.1.0-18-amd64", 60000},
                                    {"7.0.4", 70000}, {"10.0", 0}, {"8.0", 0}, {"", 0}};
    for (const VersionCase& c : versions)
        EXPECT_EQ(CLGOSVersionCode(c.version), c.code) << c.version;
}

} // namespace
} // namespace zm
