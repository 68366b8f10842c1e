#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/ThreadQueueLabels.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace core {
namespace {

std::string labelOf(pid_t thread) {
    const char* label = ThreadQueueLabels::labelOf(thread);
    return label ? label : "(none)";
}

TEST(ThreadQueueLabels, EachQueuePublishesItsLabelForTheThreadsRunningItsWork) {
    EXPECT_EQ(labelOf(gettid()), "(none)");
    {
        MainLoop loop(std::make_shared<ManualClock>());
        EXPECT_EQ(labelOf(gettid()), "main");
    }
    EXPECT_EQ(labelOf(gettid()), "(none)");

    pid_t serialThread = 0;
    std::string seenOnSerial;
    auto serial = DispatchQueue::serial("com.crashlog.context-queue");
    serial->sync([&] {
        serialThread = gettid();
        seenOnSerial = labelOf(gettid());
    });
    EXPECT_EQ(seenOnSerial, "com.crashlog.context-queue");
    std::string seenOnGlobal;
    DispatchQueue::global()->sync([&] { seenOnGlobal = labelOf(gettid()); });
    EXPECT_EQ(seenOnGlobal, "global");

    serial.reset();
    EXPECT_EQ(labelOf(serialThread), "(none)");
}

TEST(ThreadQueueLabels, LongLabelsAreCutAndAFullTableStaysSilent) {
    const std::string longLabel(100, 'q');
    {
        ThreadQueueLabels::Scope scope(longLabel);
        EXPECT_EQ(labelOf(gettid()), std::string(ThreadQueueLabels::kLabelSize - 1, 'q'));
    }
    std::vector<std::unique_ptr<ThreadQueueLabels::Scope>> scopes;
    for (size_t i = 0; i < ThreadQueueLabels::kCapacity + 1; ++i)
        scopes.push_back(std::make_unique<ThreadQueueLabels::Scope>("filler"));
    EXPECT_EQ(ThreadQueueLabels::labelOf(0), nullptr);
}

} // namespace
} // namespace core
