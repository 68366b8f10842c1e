#include "crashlog/capture/CLGExceptionInfo.h"
#include "crashlog/testing/Sanitizers.h"
#include "crashlog/testing/Written.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <unistd.h>

// Terminate handlers found by name (the test program exports its functions, as the game does).
extern "C" void TFHandleExceptions() {}
void zembrixNamedTerminateHandler() {}

zm::CLGExceptionInfo g_uncaught;

// The earlier handler, named as its linkage is external: says what the hook recorded, then ends the child.
void reportRecordedException() {
    const std::string report = std::string(g_uncaught.name) + " | " + g_uncaught.reason + " | " +
                               std::to_string(g_uncaught.frameCount > 2) + "\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, report.data(), report.size());
    _exit(3);
}

namespace zm {
namespace {

void unnamedTerminateHandler() {}

using testing::written;

TEST(CLGExceptionInfo, WritesNothingWithoutAnExceptionAndFramesWithOne) {
    CLGExceptionInfo info;
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteException(w, info); }), "{\"exception\":{}}\n");
    CLGStackFrame named = CLGStackFrame::stackFrameWithAddress(0x7f0000001000);
    named.symbol = "play()";
    named.fileName = "Game.cpp";
    named.lineNumber = 12;
    CLGExceptionRecordHandled(info, "Refused", "a \"bad\" move", {named, CLGStackFrame::stackFrameWithAddress(2)});
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteException(w, info); }),
              "{\"exception\":{\"name\":\"Refused\",\"reason\":\"a%20%22bad%22%20move\",\"backtrace\":["
              "{\"address\":139637976731648,\"file\":\"Game.cpp\",\"line\":12,\"symbol\":\"play()\"},"
              "{\"address\":2}]}}\n");
    CLGExceptionRecord(info, "Only a name", nullptr, {});
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteException(w, info); }),
              "{\"exception\":{\"name\":\"Only a name\",\"reason\":\"(null)\"}}\n");
}

TEST(CLGExceptionInfo, PassesOnOnlyToANamedHandlerOtherThanTheReportersOwn) {
    EXPECT_FALSE(CLGShouldCallPreviousHandler(TFHandleExceptions));
    EXPECT_FALSE(CLGShouldCallPreviousHandler(unnamedTerminateHandler));
    EXPECT_FALSE(CLGShouldCallPreviousHandler(nullptr));
    EXPECT_TRUE(CLGShouldCallPreviousHandler(zembrixNamedTerminateHandler));
}

TEST(CLGExceptionInfoDeathTest, AnUncaughtExceptionKeepsItsTypeAndReasonAndReachesTheEarlierHandler) {
    CLG_SKIP_UNDER_SANITIZER();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto throwUncaught = [] {
        std::set_terminate(reportRecordedException);
        CLGExceptionHookInstall(g_uncaught);
        // On a thread of its own, so nothing (the test framework included) catches it.
        std::thread([] { throw std::runtime_error("no \"room\" left"); }).join();
    };
    // reportRecordedException is a global function, so it has a name and is called.
    EXPECT_EXIT(throwUncaught(), ::testing::ExitedWithCode(3),
                "std::runtime_error \\| no%20%22room%22%20left \\| 1");
    // An earlier handler without a name is not called: the hook aborts by itself.
    const auto throwPastUnnamed = [] {
        std::set_terminate(unnamedTerminateHandler);
        CLGExceptionHookInstall(g_uncaught);
        std::thread([] { throw 7; }).join();
    };
    EXPECT_EXIT(throwPastUnnamed(), ::testing::KilledBySignal(SIGABRT), "");
}

} // namespace
} // namespace zm
