#include "crashlog/capture/CLGAllocator.h"
#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGCaptureFacts.h"
#include "crashlog/capture/CLGExecutableInfo.h"
#include "crashlog/capture/CLGInstallIdentifier.h"
#include "crashlog/capture/CLGProcessInfo.h"
#include "crashlog/capture/CLGProcessStats.h"
#include "crashlog/testing/Written.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace zm {
namespace {

using testing::written;

TEST(CLGProcessStats, WritesLargeMemoryAndLongCpuTimesExactly) {
    CLGMemoryUsage usage;
    ASSERT_TRUE(CLGParseMemoryCounters("MemTotal:       16000000 kB\n"
                                       "MemFree:         1048576 kB\n"
                                       "Active:          6291456 kB\n"
                                       "Inactive:        2097152 kB\n"
                                       "Unevictable:          8 kB\n",
                                       &usage));
    CLGTaskInfo info;
    info.virtualSize = 6ull << 30;
    info.residentSize = 4096;
    info.userTime = 40ull * 60 * 1000000;
    info.systemTime = 1;
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteProcessStats(w, usage, info); }),
              "{\"process_stats\":{\"active\":6442450944,\"inactive\":2147483648,\"wired\":8192,"
              "\"freeMem\":1073741824,\"virtual\":6442450944,\"resident\":4096,\"user_time\":2400000000,"
              "\"sys_time\":1}}\n");
    CLGMemoryUsage partial;
    EXPECT_FALSE(CLGParseMemoryCounters("MemFree: 1 kB\n", &partial));
}

TEST(CLGProcessStats, ReadsThisProcessesFigures) {
    CLGMemoryUsage usage;
    CLGTaskInfo info;
    ASSERT_TRUE(CLGBinaryGetMemoryUsage(&usage));
    ASSERT_TRUE(CLGBinaryGetTaskInfo(&info));
    EXPECT_GT(usage.free, 0u);
    EXPECT_GE(info.virtualSize, info.residentSize);
    EXPECT_GT(info.residentSize, 0u);
    EXPECT_TRUE(written([](CLGRecordWriter& w) { CLGWriteProcessStats(w); }).starts_with("{\"process_stats\":{"));
}

TEST(CLGProcessInfo, ListsProcessesByTheirCommandNames) {
    core::TemporaryFolder proc;
    for (const char* pid : {"12", "3", "self", "4x"}) {
        std::filesystem::create_directory(proc.path() / pid);
        ASSERT_TRUE(core::writeFileAtomically(proc.path() / pid / "comm", "name \"" + std::string(pid) + "\"\n").ok());
    }
    std::filesystem::create_directory(proc.path() / "7");
    std::atomic<CLGProcessList*> list = nullptr;
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteExternalProcesses(w, list.load()); }),
              "{\"external_process_info\":[]}\n");
    CLGProcessListRefresh(list, proc.path());
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteExternalProcesses(w, list.load()); }),
              "{\"external_process_info\":[{\"pid\":12,\"name\":\"name %2212%22\"},{\"pid\":3,\"name\":\"name "
              "%223%22\"},{\"pid\":7,\"name\":\"unknown\"}]}\n");
    CLGProcessListRefresh(list, proc.path());
    EXPECT_EQ(list.load()->count, 3u);
    delete list.load();
}

TEST(CLGProcessInfo, DescribesThisProcessAndItsParent) {
    CLGProcessInfo process;
    CLGProcessInfoGather(process, true, CLGAllocatorCreate(0, 4096));
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteProcessInfo(w, process); }),
              "{\"process_info\":{\"pid\":" + std::to_string(getpid()) + ",\"name\":\"crashlog_tests\",\"parent_pid\":" +
                  std::to_string(getppid()) + ",\"parent_name\":\"" + CLGProcessName(getppid()) +
                  "\",\"debugger\":true}}\n");
    EXPECT_EQ(CLGProcessName(-5), "unknown");
}

TEST(CLGExecutableInfo, DerivesTheBundleTextsFromInfoPlist) {
    const core::Dictionary plist{{"CFBundleIdentifier", "org/zembrix/game"},
                                 {"CFBundleName", "Zembrix"},
                                 {"CFBundleVersion", "42"}};
    EXPECT_EQ(CLGBundleIdentifier(plist), "org_zembrix_game");
    EXPECT_EQ(CLGBundleVersion(plist), "42");
    EXPECT_EQ(CLGShortBundleVersion(plist), std::nullopt);
    struct Case {
        core::Dictionary plist;
        const char* name;
    };
    const Case names[] = {
        {{{"CFBundleDisplayName", "Shown"}, {"CFBundleName", "Named"}, {"CFBundleVersion", "7"}}, "Shown"},
        {{{"CFBundleName", "Named"}, {"CFBundleVersion", "7"}}, "Named"},
        {{{"CFBundleVersion", "7"}}, "7"},
        {{}, "0"},
    };
    for (const Case& c : names)
        EXPECT_EQ(CLGApplicationName(c.plist), c.name);
    EXPECT_EQ(CLGBundleVersion({}), "0");
}

// A context made ready by hand, over a gathered executable and given host texts.
struct ReadyContext {
    ReadyContext() {
        context.staticPart = &staticPart;
        context.mutablePart = &mutablePart;
    }
    CLGCaptureStaticPart staticPart;
    CLGCaptureMutablePart mutablePart;
    CLGCaptureContext context;
};

TEST(CLGCaptureFacts, AnswerFromTheGatheredFactsOnceReady) {
    ReadyContext ready;
    CLGExecutableInfoGather(ready.staticPart.executable, {{"CFBundleIdentifier", "org.zembrix"}},
                            CLGAllocatorCreate(0, 4096));
    ready.staticPart.host.machine = "x86\\_64\"";
    ready.staticPart.host.osVersion = "6.1.0-18-amd64";
    ready.staticPart.host.osBuild = "#1 SMP \"Debian\"";
    EXPECT_EQ(CLGMinimumOSVersion(ready.context), "0.0.0");
    EXPECT_EQ(CLGModelText(ready.context), std::nullopt);
    EXPECT_EQ(CLGExecutableSliceMap(ready.context), std::nullopt);

    ready.mutablePart.ready = 1;
    EXPECT_EQ(CLGModelText(ready.context), "x86_64");
    EXPECT_EQ(CLGOSVersionText(ready.context), "6.1.0-18-amd64/#1 SMP Debian");
    EXPECT_EQ(CLGSDKVersion(ready.context), "0.0.0");
    const auto slices = CLGExecutableSliceMap(ready.context);
    ASSERT_TRUE(slices);
    ASSERT_EQ(slices->size(), 1u);
    EXPECT_EQ(slices->begin()->first, "x86_64");
    EXPECT_EQ(slices->begin()->second.size(), 32u);
    EXPECT_STREQ(ready.staticPart.executable.archs, "x86_64");
    EXPECT_TRUE(std::string(ready.staticPart.executable.path).ends_with("/crashlog_tests"));
    ready.staticPart.executable.uuids = "aa:bb";
    EXPECT_EQ(CLGExecutableSliceMap(ready.context), std::nullopt);
}

TEST(CLGInstallIdentifier, IsMadeOnceAndKept) {
    core::TemporaryFolder folder;
    core::UserDefaults defaults(folder.path() / "defaults.plist");
    bool created = false;
    const std::string identifier = CLGInstallIdentifier(defaults, &created);
    EXPECT_TRUE(created);
    EXPECT_EQ(identifier.size(), 36u);
    ASSERT_TRUE(defaults.synchronize());
    core::UserDefaults again(folder.path() / "defaults.plist");
    EXPECT_EQ(CLGInstallIdentifier(again, &created), identifier);
    EXPECT_FALSE(created);
}

} // namespace
} // namespace zm
