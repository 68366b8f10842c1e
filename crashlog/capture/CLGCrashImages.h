#pragma once

#include "crashlog/capture/CLGBinaryImage.h"

#include <climits>
#include <cstdint>

namespace zm {

class CLGRecordWriter;

// The images loaded at the moment of a crash, as the dynamic linker lists them then: a library opened
// a moment before the crash is among them, so every frame of the record lies in a listed image. The
// table lives in the capture context's writable region and is filled at crash time, before the other
// threads are frozen (the linker's list is read under its lock, which a frozen thread might hold).
inline constexpr uint32_t kCLGImageLimit = 1024;

struct CLGCrashImage {
    const char* path;
    uint64_t address;
    uint64_t size;
    const uint8_t* uuid;
};

// Trivially constructible: the arena's zeroed pages are an empty table, and making one writes nothing.
struct CLGCrashImages {
    CLGCrashImage images[kCLGImageLimit];
    uint32_t count;
    // The main program's path, which the linker does not give.
    char programPath[PATH_MAX];

    // Whether `address` lies in a listed image (its end included, as a return address may).
    bool holds(uint64_t address) const;
};

// Fills `table` with every image loaded now, in ascending address order. Crash time: nothing is
// allocated.
void CLGCrashImagesSnapshot(CLGCrashImages& table);

// The "binary_images" line: {"path", "uuid", "address", "size"} per image of `table`. Crash time.
void CLGWriteBinaryImages(CLGRecordWriter& writer, const CLGCrashImages& table);

} // namespace zm
