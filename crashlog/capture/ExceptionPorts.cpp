#include "crashlog/capture/ExceptionPorts.h"

namespace zm {
namespace {

// Linux delivers hardware exceptions as signals only.
class UnavailableExceptionPorts final : public ExceptionPorts {
public:
    bool available() const override { return false; }
    KernelResult allocateReceiveRight(ExceptionPort*) override { return kKernelFailure; }
    KernelResult insertSendRight(ExceptionPort) override { return kKernelFailure; }
    KernelResult swapTaskPorts(uint32_t, ExceptionPort, int32_t, int32_t, ExceptionRegistrations*) override {
        return kKernelFailure;
    }
    KernelResult setTaskPorts(uint32_t, ExceptionPort, int32_t, int32_t) override { return kKernelFailure; }
    KernelResult receive(ExceptionPort, ExceptionRequest*) override { return kKernelFailure; }
    KernelResult send(const ExceptionReply&) override { return kKernelFailure; }
    KernelResult raise(ExceptionPort, ExceptionPort, ExceptionPort, int32_t, const int64_t*, uint32_t) override {
        return kKernelFailure;
    }
    KernelResult raiseState(ExceptionPort, int32_t, const int64_t*, uint32_t, const ThreadState&,
                            ThreadState*) override {
        return kKernelFailure;
    }
    KernelResult raiseStateIdentity(ExceptionPort, ExceptionPort, ExceptionPort, int32_t, const int64_t*, uint32_t,
                                    const ThreadState&, ThreadState*) override {
        return kKernelFailure;
    }
    KernelResult getThreadState(ExceptionPort, int32_t, ThreadState*) override { return kKernelFailure; }
    KernelResult setThreadState(ExceptionPort, const ThreadState&) override { return kKernelFailure; }
};

} // namespace

ExceptionPorts& ExceptionPorts::system() {
    static UnavailableExceptionPorts ports;
    return ports;
}

} // namespace zm
