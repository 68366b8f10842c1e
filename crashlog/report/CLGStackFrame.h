#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zm {

// One frame of a crashed process's thread or of a recorded exception, as it travels from the crash
// record through symbolication into the report.
struct CLGStackFrame {
    // A frame at `address`, with nothing else known.
    static CLGStackFrame stackFrameWithAddress(uint64_t address);

    // "{[0x1000] F - S:12}" with a file name, "{[0x1000 + 12] S}" without; an unknown symbol or file
    // reads "(null)".
    std::string description() const;

    std::optional<std::string> symbol;
    std::optional<std::string> fileName;
    uint32_t lineNumber = 0;
    // Bytes past the symbol's start.
    uint64_t offset = 0;
    uint64_t address = 0;
    // kCLGImportanceCrashed marks a frame of the crashed thread.
    uint32_t importance = 0;
};

// The importance bit of the crashed thread and its frames.
inline constexpr uint32_t kCLGImportanceCrashed = 4;

} // namespace zm
