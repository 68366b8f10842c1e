#pragma once

#include <cstdint>

namespace zm {

// A kernel facility through which a task registers ports that receive its hardware exceptions before
// they become signals, with the messages those ports exchange. Linux has no such facility:
// ExceptionPorts::system() answers that it is unavailable, so the exception server is never installed
// there and the signal handler records every crash. Tests stand a fake in its place to run the server.
using ExceptionPort = uint32_t;
using KernelResult = int32_t;

inline constexpr KernelResult kKernelSuccess = 0;
inline constexpr KernelResult kKernelFailure = 5;
// What the message interface answers for an input it cannot carry.
inline constexpr KernelResult kKernelArrayTooLarge = -307;

// The exception behaviours a registration asks for (the low bits), and the flag for 64-bit codes.
enum ExceptionBehavior : int32_t {
    kExceptionDefault = 1,
    kExceptionState = 2,
    kExceptionStateIdentity = 3,
};
inline constexpr int32_t kExceptionCodes64 = static_cast<int32_t>(0x80000000u);
// The thread-state flavor meaning "no state".
inline constexpr int32_t kThreadStateNone = 5;

inline constexpr uint32_t kExceptionCodeLimit = 2;
inline constexpr uint32_t kThreadStateLimit = 144;
inline constexpr uint32_t kExceptionRegistrationLimit = 13;

// The registrations a swap replaced, as the kernel reports them.
struct ExceptionRegistrations {
    uint32_t count = 0;
    uint32_t masks[kExceptionRegistrationLimit] = {};
    ExceptionPort ports[kExceptionRegistrationLimit] = {};
    int32_t behaviors[kExceptionRegistrationLimit] = {};
    int32_t flavors[kExceptionRegistrationLimit] = {};
};

// One exception message as the server receives it.
struct ExceptionRequest {
    uint32_t remoteBits = 0;
    ExceptionPort replyPort = 0;
    int32_t identifier = 0;
    ExceptionPort thread = 0;
    ExceptionPort task = 0;
    int32_t exception = 0;
    int64_t codes[kExceptionCodeLimit] = {};
    uint32_t codeCount = 0;
};

// The server's answer to one request.
struct ExceptionReply {
    uint32_t remoteBits = 0;
    ExceptionPort destination = 0;
    uint32_t size = 0;
    int32_t identifier = 0;
    KernelResult returnCode = 0;
};

// A thread's state in one flavor: at most kThreadStateLimit words.
struct ThreadState {
    int32_t flavor = 0;
    uint32_t count = 0;
    uint32_t words[kThreadStateLimit] = {};
};

class ExceptionPorts {
public:
    virtual ~ExceptionPorts() = default;

    // Whether the system has exception ports at all.
    virtual bool available() const = 0;

    virtual KernelResult allocateReceiveRight(ExceptionPort* port) = 0;
    virtual KernelResult insertSendRight(ExceptionPort port) = 0;
    // Registers `port` for the exceptions of `mask`, answering the registrations it replaces.
    virtual KernelResult swapTaskPorts(uint32_t mask, ExceptionPort port, int32_t behavior, int32_t flavor,
                                       ExceptionRegistrations* previous) = 0;
    virtual KernelResult setTaskPorts(uint32_t mask, ExceptionPort port, int32_t behavior, int32_t flavor) = 0;

    // Waits for the next request on `port`.
    virtual KernelResult receive(ExceptionPort port, ExceptionRequest* request) = 0;
    virtual KernelResult send(const ExceptionReply& reply) = 0;

    // Hands an exception to another registered port, in its behaviour's message form.
    virtual KernelResult raise(ExceptionPort port, ExceptionPort thread, ExceptionPort task, int32_t exception,
                               const int64_t* codes, uint32_t codeCount) = 0;
    virtual KernelResult raiseState(ExceptionPort port, int32_t exception, const int64_t* codes, uint32_t codeCount,
                                    const ThreadState& state, ThreadState* newState) = 0;
    virtual KernelResult raiseStateIdentity(ExceptionPort port, ExceptionPort thread, ExceptionPort task,
                                            int32_t exception, const int64_t* codes, uint32_t codeCount,
                                            const ThreadState& state, ThreadState* newState) = 0;

    virtual KernelResult getThreadState(ExceptionPort thread, int32_t flavor, ThreadState* state) = 0;
    virtual KernelResult setThreadState(ExceptionPort thread, const ThreadState& state) = 0;

    // This system's exception ports.
    static ExceptionPorts& system();
};

} // namespace zm
