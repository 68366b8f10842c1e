#include "crashlog/capture/CLGMemory.h"

#include "crashlog/capture/CLGAllocator.h"

#include <algorithm>
#include <cstring>
#include <sys/uio.h>
#include <unistd.h>

namespace zm {
namespace {

constexpr uintptr_t kReadPage = 4096;

} // namespace

bool CLGReadMemory(const void* source, void* destination, size_t length) {
    if (length == 0)
        return true;
    iovec local{destination, length};
    iovec remote{const_cast<void*>(source), length};
    return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(length);
}

bool CLGReadString(const char* address, size_t limit, size_t* length) {
    if (!address)
        return false;
    // Read in chunks that never cross a page boundary, so that a string ending just before an
    // unmapped page is still readable as a whole.
    char chunk[256];
    size_t checked = 0;
    while (checked < limit) {
        const auto at = reinterpret_cast<uintptr_t>(address + checked);
        const size_t toPageEnd = kReadPage - at % kReadPage;
        const size_t count = std::min({sizeof chunk, toPageEnd, limit - checked});
        if (!CLGReadMemory(address + checked, chunk, count))
            return false;
        const void* nul = memchr(chunk, 0, count);
        if (nul) {
            checked += static_cast<size_t>(static_cast<const char*>(nul) - chunk);
            break;
        }
        checked += count;
    }
    if (length)
        *length = checked;
    return true;
}

void CLGHexEncode(const uint8_t* bytes, size_t length, char* output) {
    static constexpr char kDigits[] = "0123456789abcdef";
    if (!bytes)
        length = 0;
    for (size_t i = 0; i < length; ++i) {
        output[2 * i] = kDigits[bytes[i] >> 4];
        output[2 * i + 1] = kDigits[bytes[i] & 0x0f];
    }
    output[2 * length] = '\0';
}

void CLGUUIDString(const void* address, char* output) {
    uint8_t bytes[16];
    if (!address || !CLGReadMemory(address, bytes, sizeof bytes)) {
        memcpy(output, "(invalid)", sizeof "(invalid)");
        return;
    }
    CLGHexEncode(bytes, sizeof bytes, output);
}

const char* CLGArenaCopyString(CLGAllocator* allocator, const char* text) {
    return text ? CLGArenaCopyString(allocator, std::string_view(text)) : nullptr;
}

const char* CLGArenaCopyString(CLGAllocator* allocator, std::string_view text) {
    auto* copy = static_cast<char*>(CLGAllocatorAllocate(allocator, text.size() + 1, CLGAllocatorRegionKind::Protected));
    if (!copy)
        return nullptr;
    memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

} // namespace zm
