#include "crashlog/capture/CLGStackBounds.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zm {
namespace {

// How far below a stack an overflowing stack pointer may lie: the kernel keeps a gap of 256 pages
// below the main thread's stack; a thread's guard is a page or a few.
constexpr uint64_t kGuardGap = uint64_t{1} << 20;

struct Mapping {
    uint64_t start = 0;
    uint64_t end = 0;
    bool readWrite = false;
};

uint64_t hexNumber(const char*& at) {
    uint64_t value = 0;
    for (;; ++at) {
        const char letter = *at;
        if (letter >= '0' && letter <= '9')
            value = value * 16 + static_cast<uint64_t>(letter - '0');
        else if (letter >= 'a' && letter <= 'f')
            value = value * 16 + static_cast<uint64_t>(letter - 'a' + 10);
        else
            return value;
    }
}

// "start-end perms ..." at the start of a line of the map.
bool parseMapping(const char* line, Mapping& mapping) {
    const char* at = line;
    mapping.start = hexNumber(at);
    if (*at++ != '-')
        return false;
    mapping.end = hexNumber(at);
    if (*at++ != ' ')
        return false;
    mapping.readWrite = at[0] == 'r' && at[1] == 'w';
    return mapping.end > mapping.start;
}

} // namespace

CLGStackBounds CLGStackBoundsOf(uint64_t stackPointer) {
    const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    // Lines are cut out of a buffer refilled from the file; only each line's first fields matter, so
    // the rest of a long line is skipped.
    char buffer[4096];
    size_t filled = 0;
    bool skipping = false;
    CLGStackBounds holding;
    CLGStackBounds above;
    const auto consider = [&](const char* line) {
        Mapping mapping;
        if (!parseMapping(line, mapping))
            return;
        if (stackPointer >= mapping.start && stackPointer < mapping.end) {
            if (mapping.readWrite)
                holding = {mapping.start, mapping.end};
        } else if (mapping.start > stackPointer && mapping.start - stackPointer <= kGuardGap && mapping.readWrite &&
                   !above.known()) {
            above = {mapping.start, mapping.end};
        }
    };
    for (;;) {
        const ssize_t count = read(fd, buffer + filled, sizeof buffer - 1 - filled);
        if (count <= 0)
            break;
        filled += static_cast<size_t>(count);
        buffer[filled] = '\0';
        char* line = buffer;
        for (char* end; (end = static_cast<char*>(memchr(line, '\n', filled - static_cast<size_t>(line - buffer))));
             line = end + 1) {
            *end = '\0';
            if (!skipping)
                consider(line);
            skipping = false;
        }
        const size_t rest = filled - static_cast<size_t>(line - buffer);
        if (rest == sizeof buffer - 1) {
            // A line longer than the buffer: its first fields are here, the rest is skipped.
            if (!skipping)
                consider(line);
            skipping = true;
            filled = 0;
        } else {
            memmove(buffer, line, rest);
            filled = rest;
        }
        if (holding.known())
            break;
    }
    close(fd);
    return holding.known() ? holding : above;
}

} // namespace zm
