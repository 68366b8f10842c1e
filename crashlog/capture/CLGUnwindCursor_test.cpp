#include "crashlog/capture/CLGUnwindCursor.h"

#include "crashlog/capture/CLGCrashImages.h"

#include <gtest/gtest.h>

#include <memory>
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
            m_words[2 * k] = k + 1 < records ? address(k + 1) : 0;
            m_words[2 * k + 1] = 0x1000 + k;
        }
    }
    uint64_t address(size_t record) const { return reinterpret_cast<uint64_t>(&m_words[2 * record]); }
    void link(size_t record, uint64_t next) { m_words[2 * record] = next; }
    void returnTo(size_t record, uint64_t address) { m_words[2 * record + 1] = address; }
    // The chain's own memory as the stack.
    CLGStackBounds bounds() const { return {address(0), address(0) + 8 * m_words.size()}; }

    std::vector<uint64_t> walk(const CLGStackBounds& stack = {}, const CLGCrashImages* images = nullptr) {
        CLGMachineContext context{};
        context.registers[REG_RIP] = 0xabc;
        context.registers[REG_RBP] = static_cast<greg_t>(address(0));
        context.registers[REG_RSP] = static_cast<greg_t>(address(0));
        CLGUnwindCursor cursor;
        CLGUnwindCursorInit(cursor, context, stack, images);
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

// What code without frame pointers leaves in the register: values that are no frame records.
TEST(CLGUnwindCursor, BelievesOnlyRecordsThatMoveUpTheStackAndReturnIntoAnImage) {
    // A link back down (or to itself) would walk in circles: the 511 identical frames of old.
    FrameChain loop(4);
    loop.link(2, loop.address(1));
    EXPECT_EQ(loop.walk(), (std::vector<uint64_t>{0xabc, 0x1000, 0x1001}));

    // A link out of the stack ends the walk there.
    FrameChain away(4);
    EXPECT_EQ(away.walk(away.bounds()).size(), 4u);
    away.link(1, away.address(3) + 4096);
    EXPECT_EQ(away.walk(away.bounds()), (std::vector<uint64_t>{0xabc, 0x1000, 0x1001}));

    // A return address in no loaded image ends it too.
    auto images = std::make_unique<CLGCrashImages>();
    CLGCrashImagesSnapshot(*images);
    const auto inImage = reinterpret_cast<uint64_t>(&CLGCrashImagesSnapshot);
    ASSERT_TRUE(images->holds(inImage));
    FrameChain chain(4);
    for (size_t k = 0; k < 4; ++k)
        chain.returnTo(k, inImage);
    chain.returnTo(2, 0x1002);
    EXPECT_EQ(chain.walk(chain.bounds(), images.get()), (std::vector<uint64_t>{0xabc, inImage, inImage}));
}

} // namespace
} // namespace zm
