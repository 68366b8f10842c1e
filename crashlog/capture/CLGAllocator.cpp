#include "crashlog/capture/CLGAllocator.h"

#include "crashlog/capture/CLGSafeLog.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace zm {
namespace {

uint64_t hostPageSize() {
    const long page = sysconf(_SC_PAGESIZE);
    if (page <= 0) {
        CLGSafeLog("Failed to compute host page size\n");
        return 4096;
    }
    return static_cast<uint64_t>(page);
}

void* heapFallback(uint64_t size, const char* reason) {
    CLGSafeLog(reason);
    return malloc(size);
}

bool removeAccess(void* page, uint64_t pageSize, const char* failure) {
    if (mprotect(page, pageSize, PROT_NONE) == 0)
        return true;
    CLGSafeLog(failure);
    return false;
}

// Lock-free bump: a racing caller that moved the cursor first makes us try again from its value.
void* bump(CLGAllocatorRegion& region, uint64_t size) {
    uintptr_t cursor = region.cursor.load(std::memory_order_seq_cst);
    for (;;) {
        if (size > region.size - (cursor - region.start))
            return heapFallback(size, "[Allocator] Unable to allocate sufficient memory, falling back to malloc\n");
        if (region.cursor.compare_exchange_weak(cursor, cursor + size, std::memory_order_seq_cst))
            return reinterpret_cast<void*>(cursor);
    }
}

} // namespace

uint64_t CLGAllocatorRegionSize(uint64_t requested, uint64_t pageSize) {
    return requested == 0 ? 0 : pageSize * (requested / pageSize + 1);
}

CLGAllocator* CLGAllocatorCreate(uint64_t writableSize, uint64_t protectedSize) {
    const uint64_t page = hostPageSize();
    const uint64_t writable = CLGAllocatorRegionSize(writableSize, page);
    // The descriptor is carved from the protected region, so it is reserved beside the request.
    const uint64_t guarded = CLGAllocatorRegionSize(protectedSize + sizeof(CLGAllocator), page);
    const uint64_t total = writable + guarded + 3 * page;

    void* mapping = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        CLGSafeLog("[Allocator] Mapping failed %d\n");
        return nullptr;
    }
    auto* base = static_cast<char*>(mapping);
    char* writableStart = base + page;
    char* middleGuard = writableStart + writable;
    char* protectedStart = middleGuard + page;
    char* lastGuard = protectedStart + guarded;
    if (!removeAccess(base, page, "[Allocator] First guard protection failed %d\n") ||
        !removeAccess(middleGuard, page, "[Allocator] Middle guard protection failed %d\n") ||
        !removeAccess(lastGuard, page, "[Allocator] Last guard protection failed %d\n")) {
        munmap(mapping, total);
        return nullptr;
    }

    auto* allocator = new (protectedStart) CLGAllocator;
    allocator->mappingBase = mapping;
    allocator->writable.size = writable;
    allocator->writable.start = reinterpret_cast<uintptr_t>(writableStart);
    allocator->writable.cursor = allocator->writable.start;
    allocator->protectedRegion.size = guarded;
    allocator->protectedRegion.start = reinterpret_cast<uintptr_t>(protectedStart);
    allocator->protectedRegion.cursor = allocator->protectedRegion.start + sizeof(CLGAllocator);
    return allocator;
}

void* CLGAllocatorAllocate(CLGAllocator* allocator, uint64_t size, CLGAllocatorRegionKind region) {
    if (!allocator)
        return heapFallback(size, "[Allocator] Allocator invalid, falling back to malloc\n");
    if (allocator->isProtected.load())
        return heapFallback(size, "[Allocator] Allocator already protected, falling back to malloc\n");
    return bump(region == CLGAllocatorRegionKind::Writable ? allocator->writable : allocator->protectedRegion,
                size);
}

bool CLGAllocatorProtect(CLGAllocator* allocator) {
    if (!allocator)
        return false;
    // The descriptor lies in the region it protects: once protected, it may only be read.
    if (allocator->isProtected.load())
        return true;
    allocator->isProtected.store(true);
    return mprotect(reinterpret_cast<void*>(allocator->protectedRegion.start), allocator->protectedRegion.size,
                    PROT_READ) == 0;
}

} // namespace zm
