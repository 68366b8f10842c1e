#pragma once

#include "crashlog/report/CLGStackFrame.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace zm {

class CLGRecordWriter;

// One frame of a recorded exception; heap strings.
struct CLGExceptionFrame {
    uint64_t address = 0;
    char* symbol = nullptr;
    char* file = nullptr;
    uint32_t line = 0;
    uint32_t type = 0;
    uint32_t context = 0;
};

// The last exception, uncaught or recorded as handled, in heap memory prepared before any crash. It
// changes on the context queue (handled) or on the throwing thread (uncaught); the crash-time writer
// reads it without a lock.
struct CLGExceptionInfo {
    CLGExceptionInfo() = default;
    CLGExceptionInfo(const CLGExceptionInfo&) = delete;
    CLGExceptionInfo& operator=(const CLGExceptionInfo&) = delete;
    // Frees the recorded copies (the capture context's lives as long as the process).
    ~CLGExceptionInfo();

    std::terminate_handler previousHandler = nullptr;
    char* name = nullptr;
    // Percent-escaped.
    char* reason = nullptr;
    uint32_t frameCount = 0;
    CLGExceptionFrame* frames = nullptr;
};

// Replaces what `info` holds by copies of the name, the (already escaped) reason and the frames.
void CLGExceptionRecord(CLGExceptionInfo& info, const char* name, const char* reason,
                        const std::vector<CLGStackFrame>& frames);

// A handled exception the application reports: the reason is percent-escaped here.
void CLGExceptionRecordHandled(CLGExceptionInfo& info, const std::string& name, const std::string& reason,
                               const std::vector<CLGStackFrame>& frames);

// Makes uncaught exceptions record themselves into `info` before the process ends: the current
// terminate handler is kept as the previous one and the recorder takes its place.
void CLGExceptionHookInstall(CLGExceptionInfo& info);

// What the recorder does with the uncaught exception in flight, without ending the process: records
// its type's name, its what() text and the call stack, then hands it to the previous handler when
// that is a named function other than "TFHandleExceptions". Answers whether it did.
bool CLGRecordUncaughtException(CLGExceptionInfo& info);

// Whether a previous terminate handler is passed the exception: its name must be known and not
// "TFHandleExceptions".
bool CLGShouldCallPreviousHandler(std::terminate_handler handler);

// The "exception" line. Crash time.
void CLGWriteException(CLGRecordWriter& writer, const CLGExceptionInfo& info);

// One stack-frame object of the record: address, then context, type, file and line, symbol when known.
void CLGWriteStackFrame(CLGRecordWriter& writer, uint64_t address, const char* symbol, const char* file,
                        uint32_t line, uint32_t type, uint32_t context);

} // namespace zm
