#pragma once

#include "crashlog/capture/ExceptionPorts.h"

#include <cstdint>
#include <signal.h>
#include <ucontext.h>

namespace zm {

class CLGRecordWriter;
struct CLGCaptureStaticPart;
struct CLGSavedSignalState;

// A hardware exception as the exception server hands it to the record writer.
struct CLGMachExceptionInformation {
    ExceptionPort thread = 0;
    ExceptionPort task = 0;
    int32_t exception = 0;
    const int64_t* codes = nullptr;
    uint32_t codeCount = 0;
};

// Writes the crash marker and then the whole crash record of the context, with every other thread
// frozen while it does: from the exception server (Mach information, no signal) or from the signal
// handler on the faulting thread (signal information and its user context). Only system calls on
// memory prepared in advance. Answers 1.
int CLGCrashRecordWrite(const CLGMachExceptionInformation* mach, int errnoValue, const siginfo_t* information,
                        const ucontext_t* userContext);

// The record's first five lines.
void CLGWriteSchema(CLGRecordWriter& writer);
void CLGWriteMachException(CLGRecordWriter& writer, const CLGMachExceptionInformation* mach);
void CLGWriteSignal(CLGRecordWriter& writer, const siginfo_t* information, const CLGSavedSignalState& saved,
                    int errnoValue);
void CLGWriteIdentity(CLGRecordWriter& writer, const CLGCaptureStaticPart& part);
void CLGWriteBuild(CLGRecordWriter& writer, const CLGCaptureStaticPart& part);

} // namespace zm
