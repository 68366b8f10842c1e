#include "crashlog/capture/CLGAllocator.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGSafeLog.h"
#include "crashlog/testing/StandardErrorCapture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace zm {
namespace {

// Two pages: the first readable, the second without access.
class PageBeforeAGuard : public ::testing::Test {
protected:
    void SetUp() override {
        m_page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        void* mapping = mmap(nullptr, 2 * m_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(mapping, MAP_FAILED);
        m_base = static_cast<char*>(mapping);
        ASSERT_EQ(mprotect(m_base + m_page, m_page, PROT_NONE), 0);
    }
    void TearDown() override { munmap(m_base, 2 * m_page); }

    // `text` placed so that its last byte is the last readable one.
    char* atPageEnd(const std::string& text) {
        char* start = m_base + m_page - text.size();
        memcpy(start, text.data(), text.size());
        return start;
    }
    char* guard() const { return m_base + m_page; }

    size_t m_page = 0;
    char* m_base = nullptr;
};

TEST_F(PageBeforeAGuard, ReadMemoryAnswersFalseForUnreadableBytesInsteadOfFaulting) {
    const char* source = atPageEnd("0123456789");
    char copy[11] = {};
    EXPECT_TRUE(CLGReadMemory(source, copy, 10));
    EXPECT_STREQ(copy, "0123456789");
    EXPECT_FALSE(CLGReadMemory(source, copy, 11));
    EXPECT_FALSE(CLGReadMemory(guard(), copy, 1));
    EXPECT_FALSE(CLGReadMemory(nullptr, copy, 1));
}

TEST_F(PageBeforeAGuard, ReadStringChecksUpToTheNulOrTheLimit) {
    size_t length = 0;
    const char* ending = atPageEnd(std::string("ends here") + '\0');
    EXPECT_TRUE(CLGReadString(ending, 1024, &length));
    EXPECT_EQ(length, 9u);
    // A string that runs into the guard page.
    const char* running = atPageEnd("runs on");
    EXPECT_FALSE(CLGReadString(running, 1024));
    // ...is fine when the limit stops short of the guard.
    EXPECT_TRUE(CLGReadString(running, 7, &length));
    EXPECT_EQ(length, 7u);
    EXPECT_FALSE(CLGReadString(nullptr, 16));
}

TEST_F(PageBeforeAGuard, UUIDStringOfUnreadableBytesIsInvalid) {
    char text[kCLGUUIDStringSize];
    CLGUUIDString(guard(), text);
    EXPECT_STREQ(text, "(invalid)");
    const uint8_t bytes[16] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                               0x08, 0x09, 0x0a, 0x0b, 0xcc, 0xdd, 0xee, 0xff};
    CLGUUIDString(bytes, text);
    EXPECT_STREQ(text, "000102030405060708090a0bccddeeff");
}

TEST(CLGMemory, HexEncodesLowerCaseAndNullAsEmpty) {
    char text[8];
    const uint8_t bytes[] = {0xab, 0x01, 0xf0};
    CLGHexEncode(bytes, 3, text);
    EXPECT_STREQ(text, "ab01f0");
    CLGHexEncode(nullptr, 3, text);
    EXPECT_STREQ(text, "");
}

TEST(CLGMemory, ArenaCopiesLandInTheProtectedRegion) {
    CLGAllocator* arena = CLGAllocatorCreate(0, 64);
    ASSERT_NE(arena, nullptr);
    const char* copy = CLGArenaCopyString(arena, std::string("model"));
    EXPECT_STREQ(copy, "model");
    EXPECT_GE(reinterpret_cast<uintptr_t>(copy), arena->protectedRegion.start);
    EXPECT_LT(reinterpret_cast<uintptr_t>(copy), arena->protectedRegion.start + arena->protectedRegion.size);
    EXPECT_EQ(CLGArenaCopyString(arena, static_cast<const char*>(nullptr)), nullptr);
}

TEST(CLGSafeLog, WritesTheTextUnchangedPlaceholdersIncluded) {
    testing::StandardErrorCapture standardError;
    CLGSafeLog("signal %d, info %p, uapVoid %p\n");
    CLGSafeLog(nullptr);
    EXPECT_EQ(standardError.text(), "signal %d, info %p, uapVoid %p\n(NULL)");
}

} // namespace
} // namespace zm
