#include "crashlog/capture/CLGThreadUnwind.h"

#include "crashlog/capture/CLGCrashImages.h"
#include "crashlog/testing/Crasher.h"
#include "crashlog/testing/Sanitizers.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <memory>
#include <signal.h>

namespace zm {
namespace {

// Whether `frame` is where a thread's stack begins: the C library's thread start, or the program's
// entry below main.
bool isStackStart(const testing::ShownFrame& frame) {
    return frame.image.find("/libc.so") != std::string::npos || frame.symbol == "_start";
}

// For every way the crasher dies: one whole record; the crashed thread's frames name the crasher's
// own functions down to main or the thread's start; every other thread shows its whole stack; and
// every frame lies in an image the record lists.
TEST(CLGThreadUnwind, EveryCrashRecordsEveryThreadsWholeStackInListedImages) {
    CLG_SKIP_UNDER_SANITIZER();
    struct Case {
        const char* name;
        // Functions of the crasher the crashed thread's frames name, innermost first.
        std::vector<std::string> functions;
        // The crashed thread's name (the main thread's is the program's).
        const char* thread;
    };
    const Case cases[] = {
        {"null-write", {"crasherNullWrite", "main"}, "crashlog-crashe"},
        {"divide-by-zero", {"crasherDivide", "main"}, "crashlog-crashe"},
        {"trap", {"crasherTrap", "main"}, "crashlog-crashe"},
        // abort is called by the crasher's function, which the record names.
        {"abort", {"crasherAbort", "main"}, "crashlog-crashe"},
        {"breakpoint", {"crasherBreakpoint", "main"}, "crashlog-crashe"},
        {"bus", {"crasherRaise", "main"}, "crashlog-crashe"},
        {"sys", {"crasherRaise", "main"}, "crashlog-crashe"},
        {"uncaught-exception", {"crasherThrow", "main"}, "crashlog-crashe"},
        {"threads", {"crasherNullWrite", "main"}, "crashlog-crashe"},
        {"stack-overflow", {"crasherRecurse", "main"}, "crashlog-crashe"},
        {"thread-stack-overflow", {"crasherRecurse"}, "overflow-1"},
        {"early", {"crasherNullWrite", "main"}, "crashlog-crashe"},
        {"two-threads", {"crasherNullWrite"}, "faulter-"},
        {"late-library", {"crasherLateLibrary", "main"}, "crashlog-crashe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::TemporaryFolder folder;
        const testing::CrasherRun run = testing::runCrasher(c.name, folder.path());
        ASSERT_EQ(run.records.size(), 1u) << run.child.err;
        ASSERT_TRUE(CLGRecordIsValid(run.record)) << run.child.err;
        const auto shown = testing::showRecord(run.records.front());
        ASSERT_TRUE(shown);
        SCOPED_TRACE(shown->text);

        size_t crashedCount = 0;
        for (const testing::ShownThread& thread : shown->threads) {
            SCOPED_TRACE(thread.name);
            // A whole stack: at least a few frames, ending where the thread began; fewer only for a
            // thread caught as it starts, still in the C library's thread start.
            ASSERT_FALSE(thread.frames.empty());
            const bool starting = std::all_of(thread.frames.begin(), thread.frames.end(), isStackStart);
            EXPECT_TRUE(thread.frames.size() >= 3 || starting);
            EXPECT_TRUE(isStackStart(thread.frames.back())) << thread.frames.back().image;
            for (const testing::ShownFrame& frame : thread.frames)
                EXPECT_NE(frame.image, "(no image)") << std::hex << frame.address;
            if (!thread.crashed)
                continue;
            ++crashedCount;
            EXPECT_TRUE(thread.name.starts_with(c.thread));
            for (const std::string& function : c.functions)
                EXPECT_TRUE(thread.names(function)) << function;
        }
        EXPECT_EQ(crashedCount, 1u);
    }
}

// Two threads leave their barrier together, but which of them faults before the first fault freezes
// the other is up to the scheduler: the second may still be on its way out of the barrier. Every run
// must leave one whole record; within a few runs the second faulter is caught in its own fault,
// waiting for the first record rather than ending the process in the middle of it.
TEST(CLGThreadUnwind, TheOtherFaultingThreadShowsItsOwnFault) {
    CLG_SKIP_UNDER_SANITIZER();
    bool bothFaultsShown = false;
    for (int attempt = 0; attempt < 10 && !bothFaultsShown; ++attempt) {
        core::TemporaryFolder folder;
        const testing::CrasherRun run = testing::runCrasher("two-threads", folder.path());
        ASSERT_EQ(run.records.size(), 1u) << run.child.err;
        ASSERT_TRUE(CLGRecordIsValid(run.record)) << run.child.err;
        const auto shown = testing::showRecord(run.records.front());
        ASSERT_TRUE(shown);
        int faulters = 0;
        int faulting = 0;
        for (const testing::ShownThread& thread : shown->threads) {
            if (!thread.name.starts_with("faulter-"))
                continue;
            ++faulters;
            faulting += thread.names("crasherNullWrite") ? 1 : 0;
        }
        ASSERT_EQ(faulters, 2) << shown->text;
        bothFaultsShown = faulting == 2;
    }
    EXPECT_TRUE(bothFaultsShown);
}

TEST(CLGThreadUnwind, ALibraryOpenedAfterTheStartIsListedWithTheFrameInIt) {
    CLG_SKIP_UNDER_SANITIZER();
    core::TemporaryFolder folder;
    const testing::CrasherRun run = testing::runCrasher("late-library", folder.path());
    ASSERT_EQ(run.records.size(), 1u) << run.child.err;
    const auto shown = testing::showRecord(run.records.front());
    ASSERT_TRUE(shown);
    for (const testing::ShownThread& thread : shown->threads) {
        if (thread.crashed) {
            ASSERT_FALSE(thread.frames.empty());
            EXPECT_NE(thread.frames.front().image.find("libcrashlog-crasher-library.so"), std::string::npos)
                << shown->text;
        }
    }
}

// Unwinding in this process, from a signal's registers, as a frozen thread does in its handler.
struct Unwound {
    CLGThreadFrames frames;
    CLGCrashImages images;
};
Unwound* g_unwound = nullptr;

extern "C" __attribute__((noipa)) void unwindTestInnermost() {
    raise(SIGUSR2);
}

extern "C" __attribute__((noipa)) void unwindTestCaller() {
    unwindTestInnermost();
}

TEST(CLGThreadUnwind, AThreadUnwindsItselfFromItsSignalThroughCodeWithoutFramePointers) {
    CLG_SKIP_UNDER_SANITIZER();
    auto unwound = std::make_unique<Unwound>();
    g_unwound = unwound.get();
    CLGCrashImagesSnapshot(unwound->images);
    struct sigaction action{};
    struct sigaction before{};
    action.sa_sigaction = [](int, siginfo_t*, void* context) {
        CLGThreadUnwind(*static_cast<const ucontext_t*>(context), &g_unwound->images, g_unwound->frames);
    };
    action.sa_flags = SA_SIGINFO;
    sigaction(SIGUSR2, &action, &before);
    unwindTestCaller();
    sigaction(SIGUSR2, &before, nullptr);

    // raise (in the C library, built without frame pointers) has its caller found all the same, and
    // the walk goes on down to the test's callers.
    const CLGThreadFrames& frames = unwound->frames;
    const auto within = [&](void* function, size_t k) {
        Dl_info info{};
        return dladdr(reinterpret_cast<void*>(frames.addresses[k]), &info) && info.dli_saddr == function;
    };
    bool innermost = false;
    bool caller = false;
    for (uint32_t k = 0; k < frames.count; ++k) {
        innermost = innermost || within(reinterpret_cast<void*>(unwindTestInnermost), k);
        caller = caller || within(reinterpret_cast<void*>(unwindTestCaller), k);
        EXPECT_TRUE(k == 0 || unwound->images.holds(frames.addresses[k]));
    }
    EXPECT_TRUE(innermost);
    EXPECT_TRUE(caller);
    EXPECT_GT(frames.count, 5u);
}

} // namespace
} // namespace zm
