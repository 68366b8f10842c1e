#include "crashlog/report/CLGStackFrame.h"
#include "crashlog/report/CLGThread.h"
#include "crashlog/report/CLGUUID.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace zm {
namespace {

TEST(CLGStackFrame, DescribesItselfWithOrWithoutAFile) {
    CLGStackFrame frame = CLGStackFrame::stackFrameWithAddress(0x1000);
    frame.symbol = "S";
    frame.lineNumber = 12;
    EXPECT_EQ(frame.description(), "{[0x1000 + 12] S}");
    frame.fileName = "F";
    EXPECT_EQ(frame.description(), "{[0x1000] F - S:12}");
    // Addresses above 4 GiB are kept whole.
    EXPECT_EQ(CLGStackFrame::stackFrameWithAddress(0x7f0012345678).description(), "{[0x7f0012345678 + 0] (null)}");
}

TEST(CLGThread, IsNamedByItsQueueWhenItHasNoNameAndKnowsWhetherItCrashed) {
    CLGThread thread;
    thread.dispatchQueueName = "com.crashlog.context-queue";
    EXPECT_EQ(thread.name(), "com.crashlog.context-queue");
    thread.pthreadName = "worker";
    EXPECT_EQ(thread.name(), "worker");
    thread.importance = 1;
    thread.setCrashed(true);
    EXPECT_TRUE(thread.crashed());
    EXPECT_EQ(thread.importance, 5u);
    thread.setCrashed(false);
    EXPECT_FALSE(thread.crashed());
    EXPECT_EQ(thread.importance, 1u);
}

TEST(CLGUUID, LaysOutTimeSequenceProcessAndSegment) {
    const uint8_t segment[] = {'a', 'b', 'c', 'd', 'e', 'f', 'g'};
    const auto first = CLGUUID::generateWithSegmentData(segment, 1700000000.25);
    const auto second = CLGUUID::generateWithSegmentData(segment, 1700000000.25);
    ASSERT_TRUE(first && second);
    const auto& bytes = first->data();
    const uint16_t sequence = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    const uint16_t next = static_cast<uint16_t>(second->data()[6] << 8 | second->data()[7]);
    EXPECT_EQ(next, static_cast<uint16_t>(sequence + 1));
    const uint16_t pid = static_cast<uint16_t>(getpid());
    EXPECT_EQ(bytes[8], pid >> 8);
    EXPECT_EQ(bytes[9], pid & 0xff);

    char expected[64];
    snprintf(expected, sizeof expected, "6553F10000FA-%04X-%04X-616263646566", sequence, pid);
    EXPECT_EQ(first->stringValue(), expected);
    EXPECT_EQ(first->stringValue().size(), 35u);
    EXPECT_EQ(first->description(), first->stringValue());
    EXPECT_EQ(CLGSessionBaseName(first->stringValue()).substr(0, 12), "6553f10000fa");
}

TEST(CLGUUIDDeathTest, TheFirstIdentifiersOfAProcessAreNumberedOneAndTwo) {
    // In a fresh process (the death test starts the program anew), where nothing made one before.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto makeTwo = [] {
        const uint8_t segment[] = {1, 2, 3, 4, 5, 6};
        const auto first = CLGUUID::generateWithSegmentData(segment);
        const auto second = CLGUUID::generateWithSegmentData(segment);
        const bool numbered = first->data()[6] == 0 && first->data()[7] == 1 && second->data()[6] == 0 &&
                              second->data()[7] == 2;
        _exit(numbered ? 0 : 1);
    };
    EXPECT_EXIT(makeTwo(), ::testing::ExitedWithCode(0), "");
}

TEST(CLGUUID, RefusesShortSegmentsAndMomentsBefore1970) {
    const uint8_t five[] = {1, 2, 3, 4, 5};
    const uint8_t six[] = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(CLGUUID::generateWithSegmentData(five));
    EXPECT_TRUE(CLGUUID::generateWithSegmentData(six));
    EXPECT_FALSE(CLGUUID::generateWithSegmentData(six, -1.0));
}

} // namespace
} // namespace zm
