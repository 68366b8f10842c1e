#include "crashlog/capture/CLGUnwindCursor.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace zm {
namespace {

// Frame records laid out in memory: record k holds the address of record k + 1 and a return address.
class FrameChain {
public:
    explicit FrameChain(size_t records)
        : m_words(2 * records) {
        for (size_t k = 0; k < records; ++k) {
            m_words[2 * k] = k + 1 < records ? reinterpret_cast<uint64_t>(&m_words[2 * (k + 1)]) : 0;
            m_words[2 * k + 1] = 0x1000 + k;
        }
    }
    void link(size_t record, uint64_t next) { m_words[2 * record] = next; }

    std::vector<uint64_t> walk() {
        CLGMachineContext context;
        context.registers[REG_RIP] = 0xabc;
        context.registers[REG_RBP] = static_cast<greg_t>(reinterpret_cast<uint64_t>(m_words.data()));
        CLGUnwindCursor cursor;
        CLGUnwindCursorInit(cursor, context);
        std::vector<uint64_t> frames;
        while (CLGUnwindCursorStep(cursor))
            frames.push_back(cursor.pc);
        return frames;
    }

private:
    std::vector<uint64_t> m_words;
};

TEST(CLGUnwindCursor, WalksTheFramePointerChainUntilItEnds) {
    // The program counter, then one return address per record until a zero link.
    FrameChain two(2);
    EXPECT_EQ(two.walk(), (std::vector<uint64_t>{0xabc, 0x1000}));

    FrameChain long_(600);
    const auto frames = long_.walk();
    EXPECT_EQ(frames.size(), 511u);
    EXPECT_EQ(frames.back(), 0x1000u + 509);

    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* guard = mmap(nullptr, page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(guard, MAP_FAILED);
    FrameChain broken(5);
    broken.link(1, reinterpret_cast<uint64_t>(guard));
    EXPECT_EQ(broken.walk(), (std::vector<uint64_t>{0xabc, 0x1000, 0x1001}));
    munmap(guard, page);
}

} // namespace
} // namespace zm
