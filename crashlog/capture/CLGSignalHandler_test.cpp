#include "crashlog/capture/CLGSignalHandler.h"
#include "crashlog/record/CLGRecordReader.h"
#include "crashlog/testing/ChildProcess.h"
#include "crashlog/testing/Sanitizers.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>

namespace zm {
namespace {

// The crasher run on one case, with its record read back.
struct Crash {
    testing::ChildResult child;
    bool marker = false;
    core::Dictionary record;
};

Crash crash(const std::string& name, const core::TemporaryFolder& folder) {
    Crash crash;
    crash.child = testing::runChild({CRASHLOG_CRASHER, name, folder.path().string()});
    crash.marker = std::filesystem::exists(folder.path() / "crash_marker");
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        if (entry.path().extension() == ".clgrecord")
            crash.record = CLGRecordParse(entry.path());
    }
    return crash;
}

const core::Value& at(const core::Dictionary& record, std::string_view line, std::string_view member) {
    static const core::Value none;
    const core::Value* found = record.find(line);
    found = found ? found->find(member) : nullptr;
    return found ? *found : none;
}

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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::TemporaryFolder folder;
        const Crash result = crash(c.name, folder);
        EXPECT_TRUE(result.child.killedBy(c.signal)) << result.child.status << "\n" << result.child.err;
        EXPECT_TRUE(result.marker);
        EXPECT_TRUE(CLGRecordIsValid(result.record));
        EXPECT_EQ(at(result.record, "signal", "name"), core::Value(c.signalName));
        EXPECT_EQ(at(result.record, "signal", "number").integerValue(), c.signal);
        if (c.codeName) {
            EXPECT_EQ(at(result.record, "signal", "code_name"), core::Value(c.codeName));
        }
        EXPECT_EQ(at(result.record, "signal", "preexisting_handlers"), core::Value(true));
        EXPECT_EQ(result.record.find("mach_exception")->asDictionary()->size(), 0u);
        EXPECT_EQ(at(result.record, "process_info", "debugger"), core::Value(false));
        // The crasher's own handler and alternate stack came first: the stack cannot be put back while
        // the handler runs on ours, and the earlier handler still gets the signal.
        EXPECT_NE(result.child.err.find("Unable to setup stack %s\n"), std::string::npos);
        EXPECT_NE(result.child.err.find("earlier handler\n"), std::string::npos);
    }
}

TEST(CLGSignalHandler, AnUncaughtExceptionLeavesItsTypeAndReasonInTheRecord) {
    CLG_SKIP_UNDER_SANITIZER();
    core::TemporaryFolder folder;
    const Crash result = crash("uncaught-exception", folder);
    EXPECT_EQ(at(result.record, "exception", "name"), core::Value("std::runtime_error"));
    EXPECT_EQ(at(result.record, "exception", "reason"), core::Value("the%20crasher%20threw%20%22this%22"));
    EXPECT_GT(at(result.record, "exception", "backtrace").asArray()->size(), 2u);
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
    const Crash result = crash("threads", folder);
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
    EXPECT_EQ(static_cast<uint64_t>(at(result.record, "thread_state", "rip").integerValue()), first);
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
