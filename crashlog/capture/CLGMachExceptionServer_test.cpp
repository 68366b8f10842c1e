#include "crashlog/capture/CLGMachExceptionServer.h"
#include "crashlog/testing/Sanitizers.h"
#include "crashlog/testing/StandardErrorCapture.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zm {
namespace {

// Exception ports that answer as scripted and remember what they were asked.
class FakeExceptionPorts final : public ExceptionPorts {
public:
    bool available() const override { return true; }
    KernelResult allocateReceiveRight(ExceptionPort* port) override {
        *port = 77;
        return kKernelSuccess;
    }
    KernelResult insertSendRight(ExceptionPort) override { return kKernelSuccess; }
    KernelResult swapTaskPorts(uint32_t mask, ExceptionPort port, int32_t behavior, int32_t flavor,
                               ExceptionRegistrations* previous) override {
        swapped = {mask, port, behavior, flavor};
        *previous = earlier;
        return kKernelSuccess;
    }
    KernelResult setTaskPorts(uint32_t mask, ExceptionPort port, int32_t behavior, int32_t flavor) override {
        std::lock_guard lock(mutex);
        set.push_back({mask, port, behavior, flavor});
        return kKernelSuccess;
    }
    // Hands out the queued request, then ends the server by failing.
    KernelResult receive(ExceptionPort, ExceptionRequest* request) override {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return pending.has_value() || closing; });
        if (!pending) {
            ended = true;
            changed.notify_all();
            return kKernelFailure;
        }
        *request = *pending;
        pending.reset();
        closing = true;
        return kKernelSuccess;
    }
    KernelResult send(const ExceptionReply& answer) override {
        std::lock_guard lock(mutex);
        reply = answer;
        changed.notify_all();
        return kKernelSuccess;
    }
    KernelResult raise(ExceptionPort port, ExceptionPort, ExceptionPort, int32_t, const int64_t* codes,
                       uint32_t count) override {
        calls.push_back("raise " + std::to_string(port) + " codes " + std::to_string(count ? codes[0] : -1));
        return raiseResult;
    }
    KernelResult raiseState(ExceptionPort port, int32_t, const int64_t*, uint32_t, const ThreadState& state,
                            ThreadState* newState) override {
        calls.push_back("raiseState " + std::to_string(port) + " words " + std::to_string(state.count));
        *newState = state;
        return raiseResult;
    }
    KernelResult raiseStateIdentity(ExceptionPort port, ExceptionPort, ExceptionPort, int32_t, const int64_t*,
                                    uint32_t, const ThreadState& state, ThreadState* newState) override {
        calls.push_back("raiseStateIdentity " + std::to_string(port));
        *newState = state;
        return raiseResult;
    }
    KernelResult getThreadState(ExceptionPort, int32_t flavor, ThreadState* state) override {
        calls.push_back("getThreadState " + std::to_string(flavor));
        state->flavor = flavor;
        state->count = 3;
        return kKernelSuccess;
    }
    KernelResult setThreadState(ExceptionPort, const ThreadState& state) override {
        calls.push_back("setThreadState " + std::to_string(state.count));
        return kKernelSuccess;
    }

    struct Registration {
        uint32_t mask;
        ExceptionPort port;
        int32_t behavior;
        int32_t flavor;
        friend bool operator==(const Registration&, const Registration&) = default;
    };

    ExceptionRegistrations earlier;
    Registration swapped{};
    std::vector<Registration> set;
    std::vector<std::string> calls;
    KernelResult raiseResult = kKernelSuccess;
    std::optional<ExceptionRequest> pending;
    std::optional<ExceptionReply> reply;
    bool closing = false;
    bool ended = false;
    std::mutex mutex;
    std::condition_variable changed;
};

ExceptionRegistrations oneRegistration(uint32_t mask, ExceptionPort port, int32_t behavior, int32_t flavor) {
    ExceptionRegistrations registrations;
    registrations.count = 1;
    registrations.masks[0] = mask;
    registrations.ports[0] = port;
    registrations.behaviors[0] = behavior;
    registrations.flavors[0] = flavor;
    return registrations;
}

TEST(CLGMachExceptionServer, ForwardsToTheEarlierRegistrationInItsBehavioursForm) {
    constexpr int32_t kBadAccess = 1;
    constexpr uint32_t kBadAccessBit = 1u << kBadAccess;
    struct Case {
        const char* name;
        ExceptionRegistrations earlier;
        KernelResult result;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"default behaviour", oneRegistration(kBadAccessBit, 9, kExceptionDefault | kExceptionCodes64, 1),
         kKernelSuccess, {"raise 9 codes 1"}},
        {"state", oneRegistration(kBadAccessBit, 9, kExceptionState, 7), kKernelSuccess,
         {"getThreadState 7", "raiseState 9 words 3", "setThreadState 3"}},
        {"state and identity", oneRegistration(kBadAccessBit, 9, kExceptionStateIdentity | kExceptionCodes64, 7),
         kKernelSuccess, {"getThreadState 7", "raiseStateIdentity 9", "setThreadState 3"}},
        {"an unknown behaviour", oneRegistration(kBadAccessBit, 9, 6, 7), kKernelFailure, {}},
        {"a mask without the exception", oneRegistration(kCLGMaskArithmetic, 9, kExceptionDefault, 1),
         kKernelFailure, {}},
        {"an invalid registration", oneRegistration(kBadAccessBit, 0, kExceptionDefault, 1), kKernelFailure, {}},
    };
    ExceptionRequest request;
    request.exception = kBadAccess;
    request.codes[0] = 1;
    request.codes[1] = 0x10;
    request.codeCount = 2;
    for (const Case& c : cases) {
        FakeExceptionPorts ports;
        CLGMachExceptionHandler handler;
        handler.ports = &ports;
        handler.previous = c.earlier;
        testing::StandardErrorCapture standardError;
        EXPECT_EQ(CLGMachExceptionForward(handler, request), c.result) << c.name;
        EXPECT_EQ(ports.calls, c.calls) << c.name;
    }

    // A failing raise is answered as it failed; more than two codes are refused before sending.
    FakeExceptionPorts failing;
    failing.raiseResult = 17;
    CLGMachExceptionHandler handler;
    handler.ports = &failing;
    handler.previous = oneRegistration(kBadAccessBit, 9, kExceptionDefault, 1);
    testing::StandardErrorCapture standardError;
    EXPECT_EQ(CLGMachExceptionForward(handler, request), 17);
    EXPECT_EQ(CLGMachExceptionForwardPort(failing, 9, kExceptionDefault, 1, 0, 0, kBadAccess, request.codes, 3),
              kKernelArrayTooLarge);
}

int g_callbackException = 0;
int64_t g_callbackCode = 0;

int recordingCallback(ExceptionPort, ExceptionPort, int32_t exception, const int64_t* codes, uint32_t count) {
    g_callbackException = exception;
    g_callbackCode = count > 0 ? codes[0] : -1;
    return 0;
}

TEST(CLGMachExceptionServer, TakesOneExceptionPutsTheEarlierPortsBackAndReplies) {
    if (testing::kThreadSanitizer)
        GTEST_SKIP() << "the thread sanitizer cannot start the server on its own 256 KiB stack";
    // The server thread is detached and still runs (on its stack, with the handler and the ports) for a
    // moment after the test has seen it end, up to the process's exit: all of it is never freed.
    static FakeExceptionPorts* const kept = new FakeExceptionPorts;
    static CLGMachExceptionHandler* const keptHandler = new CLGMachExceptionHandler;
    static char* const stack = new char[kCLGMachServerStackSize];
    FakeExceptionPorts& ports = *kept;
    ports.earlier = oneRegistration(kCLGMaskBadAccess, 9, kExceptionDefault | kExceptionCodes64, 1);
    CLGMachExceptionHandler& handler = *keptHandler;
    handler.stack = stack;
    testing::StandardErrorCapture standardError;
    CLGMachExceptionHandlerInstall(handler, kCLGMaskArithmetic, 60000, ports);
    ASSERT_EQ(handler.port, 77u);
    EXPECT_EQ(handler.mask, kCLGMaskBadAccess | kCLGMaskBadInstruction | kCLGMaskBreakpoint | kCLGMaskGuard);
    EXPECT_EQ(ports.swapped, (FakeExceptionPorts::Registration{handler.mask, 77, kExceptionDefault | kExceptionCodes64,
                                                               kThreadStateNone}));
    EXPECT_EQ(handler.previous.count, 1u);
    handler.callback = recordingCallback;

    ExceptionRequest request;
    request.replyPort = 31;
    request.identifier = 2405;
    request.exception = 1;
    request.codes[0] = 2;
    request.codeCount = 1;
    {
        std::unique_lock lock(ports.mutex);
        ports.pending = request;
        ports.changed.notify_all();
        ports.changed.wait(lock, [&] { return ports.ended; });
    }
    EXPECT_EQ(ports.reply->destination, 31u);
    EXPECT_EQ(ports.reply->identifier, 2505);
    EXPECT_EQ(ports.reply->size, 36u);
    EXPECT_EQ(ports.reply->returnCode, kKernelSuccess);
    EXPECT_EQ(g_callbackException, 1);
    EXPECT_EQ(g_callbackCode, 2);
    EXPECT_EQ(ports.calls, std::vector<std::string>{"raise 9 codes 2"});
    // The earlier registration back in place, and no port for what nobody had before.
    const std::vector<FakeExceptionPorts::Registration> expectedSet{
        {kCLGMaskBadAccess, 9, kExceptionDefault | kExceptionCodes64, 1},
        {handler.mask & ~kCLGMaskBadAccess, 0, kExceptionDefault | kExceptionCodes64, kThreadStateNone}};
    std::lock_guard lock(ports.mutex);
    EXPECT_EQ(ports.set, expectedSet);
}

TEST(CLGMachExceptionServer, StaysUninstalledWhereTheSystemHasNoExceptionPorts) {
    CLGMachExceptionHandler handler;
    handler.port = 5;
    handler.mask = 6;
    handler.previous.count = 2;
    CLGMachExceptionHandlerInstall(handler, 0, 70000, ExceptionPorts::system());
    EXPECT_EQ(handler.port, 0u);
    EXPECT_EQ(handler.mask, 0u);
    EXPECT_EQ(handler.previous.count, 0u);
}

} // namespace
} // namespace zm
