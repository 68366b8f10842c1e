#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zm {

// The guarded arena that holds every byte crash-time code touches. One anonymous mapping holds, in
// address order: a guard page, the writable region, a guard page, the protected region, a guard page.
// Guard pages have no access, so running off either region faults instead of corrupting a
// neighbour. Once start-up has filled the protected region it is made read-only, so that a wild write
// elsewhere in the process cannot corrupt what the crash handler relies on.
//
// A region is a byte-granular bump area without alignment: callers that need alignment ask for
// sizes that keep it. Allocation is lock-free and safe from any thread; requests that do not fit,
// and every request once the arena is protected or when it could not be made, fall back to the heap
// (logged through CLGSafeLog).
struct CLGAllocatorRegion {
    uint64_t size = 0;
    uintptr_t start = 0;
    std::atomic<uintptr_t> cursor = 0;
};

// The arena's own descriptor: the first allocation of its protected region.
struct CLGAllocator {
    void* mappingBase = nullptr;
    std::atomic<bool> isProtected = false;
    CLGAllocatorRegion writable;
    CLGAllocatorRegion protectedRegion;
};

enum class CLGAllocatorRegionKind { Protected, Writable };

// The bytes a region of `requested` bytes really takes: whole pages, with one page more than an exact
// fit (4096 with 4096-byte pages gives 8192); 0 stays 0.
uint64_t CLGAllocatorRegionSize(uint64_t requested, uint64_t pageSize);

// A new arena whose writable region holds at least `writableSize` bytes and whose protected region
// holds its descriptor plus at least `protectedSize` bytes; null when the mapping or a guard fails.
CLGAllocator* CLGAllocatorCreate(uint64_t writableSize, uint64_t protectedSize);

// `size` bytes from the region; heap memory (never freed by the arena) when the arena is null,
// already protected, or the region is full.
void* CLGAllocatorAllocate(CLGAllocator* allocator, uint64_t size, CLGAllocatorRegionKind region);

// Makes the protected region read-only. False for a null arena or when the kernel refuses; an arena
// that is protected already answers true.
bool CLGAllocatorProtect(CLGAllocator* allocator);

} // namespace zm
