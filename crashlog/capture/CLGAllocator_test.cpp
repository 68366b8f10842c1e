#include "crashlog/capture/CLGAllocator.h"
#include "crashlog/testing/Sanitizers.h"
#include "crashlog/testing/StandardErrorCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zm {
namespace {

TEST(CLGAllocator, RegionsAreRoundedUpToWholePagesWithOneToSpare) {
    struct Case {
        uint64_t requested;
        uint64_t size;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 4096}, Case{4095, 4096}, Case{4096, 8192}, Case{4097, 8192}})
        EXPECT_EQ(CLGAllocatorRegionSize(c.requested, 4096), c.size) << c.requested;
}

TEST(CLGAllocator, HandsOutConsecutiveBytesOfEachRegionBetweenGuards) {
    CLGAllocator* arena = CLGAllocatorCreate(100, 100);
    ASSERT_NE(arena, nullptr);
    auto* first = static_cast<char*>(CLGAllocatorAllocate(arena, 10, CLGAllocatorRegionKind::Writable));
    auto* second = static_cast<char*>(CLGAllocatorAllocate(arena, 10, CLGAllocatorRegionKind::Writable));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(first), arena->writable.start);
    EXPECT_EQ(second, first + 10);
    auto* kept = static_cast<char*>(CLGAllocatorAllocate(arena, 100, CLGAllocatorRegionKind::Protected));
    // The descriptor is the protected region's first allocation, whole.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(kept), arena->protectedRegion.start + sizeof(CLGAllocator));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(arena), arena->protectedRegion.start);
    // Writable region, middle guard, protected region.
    const auto page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    EXPECT_EQ(arena->writable.start, reinterpret_cast<uintptr_t>(arena->mappingBase) + page);
    EXPECT_EQ(arena->protectedRegion.start, arena->writable.start + arena->writable.size + page);
    memset(kept, 0x5a, 100);
    memset(first, 0x5a, 20);
}

TEST(CLGAllocator, FallsBackToTheHeapWhenFullInvalidOrProtectedAndSaysWhy) {
    CLGAllocator* arena = CLGAllocatorCreate(10, 10);
    ASSERT_NE(arena, nullptr);
    testing::StandardErrorCapture standardError;
    void* tooLarge = CLGAllocatorAllocate(arena, arena->writable.size + 1, CLGAllocatorRegionKind::Writable);
    EXPECT_NE(tooLarge, nullptr);
    void* invalid = CLGAllocatorAllocate(nullptr, 8, CLGAllocatorRegionKind::Writable);
    EXPECT_NE(invalid, nullptr);
    ASSERT_TRUE(CLGAllocatorProtect(arena));
    EXPECT_TRUE(CLGAllocatorProtect(arena));
    void* late = CLGAllocatorAllocate(arena, 8, CLGAllocatorRegionKind::Writable);
    void* lateProtected = CLGAllocatorAllocate(arena, 8, CLGAllocatorRegionKind::Protected);
    EXPECT_NE(late, nullptr);
    EXPECT_NE(lateProtected, nullptr);
    EXPECT_EQ(standardError.text(), "[Allocator] Unable to allocate sufficient memory, falling back to malloc\n"
                                    "[Allocator] Allocator invalid, falling back to malloc\n"
                                    "[Allocator] Allocator already protected, falling back to malloc\n"
                                    "[Allocator] Allocator already protected, falling back to malloc\n");
    free(tooLarge);
    free(invalid);
    free(late);
    free(lateProtected);
    EXPECT_FALSE(CLGAllocatorProtect(nullptr));
}

TEST(CLGAllocator, RacingThreadsGetDisjointBlocks) {
    constexpr int kThreads = 8;
    constexpr int kEach = 500;
    constexpr uint64_t kBlock = 24;
    CLGAllocator* arena = CLGAllocatorCreate(kThreads * kEach * kBlock, 0);
    ASSERT_NE(arena, nullptr);
    std::vector<std::vector<uintptr_t>> blocks(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                blocks[t].push_back(
                    reinterpret_cast<uintptr_t>(CLGAllocatorAllocate(arena, kBlock, CLGAllocatorRegionKind::Writable)));
        });
    }
    for (auto& thread : threads)
        thread.join();
    std::vector<uintptr_t> all;
    for (const auto& some : blocks)
        all.insert(all.end(), some.begin(), some.end());
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), size_t{kThreads * kEach});
    EXPECT_EQ(all.front(), arena->writable.start);
    for (size_t i = 1; i < all.size(); ++i)
        ASSERT_EQ(all[i] - all[i - 1], kBlock) << "blocks overlap or leave gaps";
}

TEST(CLGAllocatorDeathTest, AWriteIntoTheProtectedRegionOrAGuardFaults) {
    CLG_SKIP_UNDER_SANITIZER();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto writeAfterProtection = [] {
        CLGAllocator* arena = CLGAllocatorCreate(16, 16);
        auto* kept = static_cast<volatile char*>(CLGAllocatorAllocate(arena, 16, CLGAllocatorRegionKind::Protected));
        CLGAllocatorProtect(arena);
        kept[0] = 1;
    };
    EXPECT_EXIT(writeAfterProtection(), ::testing::KilledBySignal(SIGSEGV), "");
    const auto writePastTheWritableRegion = [] {
        CLGAllocator* arena = CLGAllocatorCreate(16, 16);
        auto* end = reinterpret_cast<volatile char*>(arena->writable.start + arena->writable.size);
        end[0] = 1;
    };
    EXPECT_EXIT(writePastTheWritableRegion(), ::testing::KilledBySignal(SIGSEGV), "");
}

} // namespace
} // namespace zm
