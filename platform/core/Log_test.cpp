#include "platform/core/Log.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Log, CaptureReceivesEveryLevelWordForWord) {
    LogCapture capture;
    log(LogLevel::Debug, "[Crashlog] Settings load scheduled (600)");
    logf(LogLevel::Info, "supposedly invalid number: %s", "1..2");
    log(LogLevel::Error, "ABORT: replacement limit reached");
    EXPECT_EQ(capture.entries(),
              (std::vector<LogEntry>{{LogLevel::Debug, "[Crashlog] Settings load scheduled (600)"},
                                     {LogLevel::Info, "supposedly invalid number: 1..2"},
                                     {LogLevel::Error, "ABORT: replacement limit reached"}}));
    EXPECT_TRUE(capture.contains("ABORT: replacement limit reached"));
    EXPECT_FALSE(capture.contains("ABORT"));
}

TEST(Log, InnermostCaptureWinsAndTheOuterResumesAfterIt) {
    LogCapture outer;
    log(LogLevel::Info, "one");
    {
        LogCapture inner;
        log(LogLevel::Info, "two");
        EXPECT_EQ(inner.messages(), std::vector<std::string>{"two"});
    }
    log(LogLevel::Info, "three");
    EXPECT_EQ(outer.messages(), (std::vector<std::string>{"one", "three"}));
}

} // namespace
} // namespace core
