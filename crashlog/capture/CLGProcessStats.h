#pragma once

#include <cstdint>

namespace zm {

class CLGRecordWriter;

// Host memory in bytes, as the kernel's memory counters give it: "active" and "inactive" pages,
// "wired" for what cannot be paged out (the unevictable pages) and "freeMem".
struct CLGMemoryUsage {
    uint64_t active = 0;
    uint64_t inactive = 0;
    uint64_t wired = 0;
    uint64_t free = 0;
};

// The process's own figures: virtual and resident size in bytes, CPU time in microseconds.
struct CLGTaskInfo {
    uint64_t virtualSize = 0;
    uint64_t residentSize = 0;
    uint64_t userTime = 0;
    uint64_t systemTime = 0;
};

// Readers that only open, read and close kernel files (safe at crash time). False, with a message
// through CLGSafeLog, when the figures cannot be had or `usage` is null.
bool CLGBinaryGetMemoryUsage(CLGMemoryUsage* usage);
bool CLGBinaryGetTaskInfo(CLGTaskInfo* info);

// Reads the figures out of the text of the kernel's memory counters (kB lines, "MemFree:  123 kB").
bool CLGParseMemoryCounters(const char* text, CLGMemoryUsage* usage);

// The "process_stats" line from the two readers; nothing at all when either fails, which leaves the
// record a line short. Crash time.
void CLGWriteProcessStats(CLGRecordWriter& writer);
// The line for given figures.
void CLGWriteProcessStats(CLGRecordWriter& writer, const CLGMemoryUsage& usage, const CLGTaskInfo& info);

} // namespace zm
