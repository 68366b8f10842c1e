#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zm {

struct CLGAllocator;

// Memory operations that are safe at crash time: reads go through the kernel, so an unmapped or
// unreadable source answers false instead of faulting, and nothing allocates.

// Copies `length` bytes from `source` into `destination`; false unless every byte could be read.
bool CLGReadMemory(const void* source, void* destination, size_t length);

// Whether the bytes from `address` up to its NUL, or up to `limit` bytes, are readable; false for a
// null address. `length` (when given) receives the number of checked bytes before the NUL or limit,
// which is all a writer may then copy.
bool CLGReadString(const char* address, size_t limit, size_t* length = nullptr);

// Two lower-case hexadecimal digits per byte, high nibble first, then a NUL: `output` holds at least
// 2 * length + 1 bytes. Null bytes give the empty text.
void CLGHexEncode(const uint8_t* bytes, size_t length, char* output);

// The 16 bytes at `address` as 32 lower-case hexadecimal digits, or "(invalid)" when they cannot be
// read. `output` holds at least kCLGUUIDStringSize bytes.
inline constexpr size_t kCLGUUIDStringSize = 33;
void CLGUUIDString(const void* address, char* output);

// A copy of `text`, with its NUL, in the arena's protected region; null stays null.
const char* CLGArenaCopyString(CLGAllocator* allocator, const char* text);
const char* CLGArenaCopyString(CLGAllocator* allocator, std::string_view text);

} // namespace zm
