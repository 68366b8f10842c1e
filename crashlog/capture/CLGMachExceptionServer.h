#pragma once

#include "crashlog/capture/ExceptionPorts.h"

#include <cstdint>
#include <pthread.h>

namespace zm {

// What the exception server is told about each exception it receives.
using CLGMachExceptionCallback = int (*)(ExceptionPort thread, ExceptionPort task, int32_t exception,
                                         const int64_t* codes, uint32_t codeCount);

// The exception server: a thread on its own stack that receives the task's hardware exceptions
// before they become signals, writes the crash record and passes each exception on to whoever was
// registered before. Where the system has no exception ports (Linux) it is never installed and
// `port` and `mask` stay 0.
struct CLGMachExceptionHandler {
    ExceptionPort port = 0;
    pthread_t thread{};
    // kCLGMachServerStackSize bytes from the context's writable region.
    void* stack = nullptr;
    // The exceptions this server registered for; 0 when not installed.
    uint32_t mask = 0;
    CLGMachExceptionCallback callback = nullptr;
    // The registrations the swap replaced.
    ExceptionRegistrations previous;
    ExceptionPorts* ports = nullptr;
};

inline constexpr size_t kCLGMachServerStackSize = 262144;

// The exception-mask bits.
inline constexpr uint32_t kCLGMaskBadAccess = 0x02;
inline constexpr uint32_t kCLGMaskBadInstruction = 0x04;
inline constexpr uint32_t kCLGMaskArithmetic = 0x08;
inline constexpr uint32_t kCLGMaskBreakpoint = 0x40;
inline constexpr uint32_t kCLGMaskGuard = 0x1000;

// Registers the server on `ports` for the hardware exceptions, less `maskToLeave`, and starts its
// thread on `handler.stack` with CLGMachExceptionCallback. Not installed while a debugger is
// attached, where the system has no exception ports, or when a step fails (logged).
void CLGMachExceptionHandlerInstall(CLGMachExceptionHandler& handler, uint32_t maskToLeave, int32_t osVersionCode,
                                    ExceptionPorts& ports);

// Writes the crash record for a received exception. Answers 0.
int CLGMachExceptionRecordCallback(ExceptionPort thread, ExceptionPort task, int32_t exception,
                                   const int64_t* codes, uint32_t codeCount);

// Passes a received exception to the first earlier registration whose mask holds it; 5 (failure) when
// none takes it, so that the kernel goes on to its next handler and finally to the signal.
KernelResult CLGMachExceptionForward(const CLGMachExceptionHandler& handler, const ExceptionRequest& request);

// Raises the exception on `port` in the message form `behavior` asks for.
KernelResult CLGMachExceptionForwardPort(ExceptionPorts& ports, ExceptionPort port, int32_t behavior, int32_t flavor,
                                         ExceptionPort thread, ExceptionPort task, int32_t exception,
                                         const int64_t* codes, uint32_t codeCount);

// Adds 1 to the context's crash counter: a record exists, the signal handler need not write one.
void CLGCrashCounterIncrement();

} // namespace zm
