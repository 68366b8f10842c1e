#include "crashlog/capture/CLGProcessStats.h"

#include "crashlog/capture/CLGSafeLog.h"
#include "crashlog/record/CLGRecordWriter.h"

#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zm {
namespace {

// Reads a small kernel file into `buffer` (NUL-terminated); false when it cannot be read.
bool readKernelFile(const char* path, char* buffer, size_t size) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    size_t length = 0;
    for (;;) {
        const ssize_t count = read(fd, buffer + length, size - 1 - length);
        if (count <= 0)
            break;
        length += static_cast<size_t>(count);
        if (length == size - 1)
            break;
    }
    close(fd);
    buffer[length] = '\0';
    return length > 0;
}

// The unsigned decimal at `text` after any blanks; `end` is set past it.
uint64_t readNumber(const char* text, const char** end) {
    while (*text == ' ' || *text == '\t')
        ++text;
    uint64_t value = 0;
    while (*text >= '0' && *text <= '9')
        value = value * 10 + static_cast<uint64_t>(*text++ - '0');
    *end = text;
    return value;
}

uint64_t microseconds(const timeval& time) {
    return static_cast<uint64_t>(time.tv_sec) * 1000000 + static_cast<uint64_t>(time.tv_usec);
}

} // namespace

bool CLGParseMemoryCounters(const char* text, CLGMemoryUsage* usage) {
    struct Counter {
        const char* label;
        uint64_t* bytes;
    };
    const Counter counters[] = {
        {"Active:", &usage->active},
        {"Inactive:", &usage->inactive},
        {"Unevictable:", &usage->wired},
        {"MemFree:", &usage->free},
    };
    int found = 0;
    for (const char* line = text; *line;) {
        for (const Counter& counter : counters) {
            const size_t length = strlen(counter.label);
            if (strncmp(line, counter.label, length) == 0) {
                const char* end = nullptr;
                *counter.bytes = readNumber(line + length, &end) * 1024;
                ++found;
            }
        }
        const char* next = strchr(line, '\n');
        if (!next)
            break;
        line = next + 1;
    }
    return found == 4;
}

bool CLGBinaryGetMemoryUsage(CLGMemoryUsage* usage) {
    if (!usage) {
        CLGSafeLog("A null pointer was passed into CLGBinaryGetMemoryUsage\n");
        return false;
    }
    char text[8192];
    if (!readKernelFile("/proc/meminfo", text, sizeof text) || !CLGParseMemoryCounters(text, usage)) {
        CLGSafeLog("Failed to get vm statistics\n");
        return false;
    }
    return true;
}

bool CLGBinaryGetTaskInfo(CLGTaskInfo* info) {
    if (!info) {
        CLGSafeLog("A null pointer was passed into CLGBinaryGetTaskInfo\n");
        return false;
    }
    char text[256];
    rusage usage;
    const long page = sysconf(_SC_PAGESIZE);
    if (!readKernelFile("/proc/self/statm", text, sizeof text) || getrusage(RUSAGE_SELF, &usage) != 0 || page <= 0) {
        CLGSafeLog("Failed to get task info\n");
        return false;
    }
    const char* end = nullptr;
    const uint64_t pages = readNumber(text, &end);
    const uint64_t residentPages = readNumber(end, &end);
    info->virtualSize = pages * static_cast<uint64_t>(page);
    info->residentSize = residentPages * static_cast<uint64_t>(page);
    info->userTime = microseconds(usage.ru_utime);
    info->systemTime = microseconds(usage.ru_stime);
    return true;
}

void CLGWriteProcessStats(CLGRecordWriter& writer) {
    CLGMemoryUsage usage;
    if (!CLGBinaryGetMemoryUsage(&usage)) {
        CLGSafeLog("Unable to get process memory usage\n");
        return;
    }
    CLGTaskInfo info;
    if (!CLGBinaryGetTaskInfo(&info)) {
        CLGSafeLog("Unable to get process stats\n");
        return;
    }
    CLGWriteProcessStats(writer, usage, info);
}

void CLGWriteProcessStats(CLGRecordWriter& writer, const CLGMemoryUsage& usage, const CLGTaskInfo& info) {
    writer.beginLine("process_stats");
    writer.beginObject();
    writer.numberMember("active", usage.active);
    writer.numberMember("inactive", usage.inactive);
    writer.numberMember("wired", usage.wired);
    writer.numberMember("freeMem", usage.free);
    writer.numberMember("virtual", info.virtualSize);
    writer.numberMember("resident", info.residentSize);
    writer.numberMember("user_time", info.userTime);
    writer.numberMember("sys_time", info.systemTime);
    writer.endObject();
    writer.endLine();
}

} // namespace zm
