#include "crashlog/capture/CLGMachExceptionServer.h"

#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGCrashRecord.h"
#include "crashlog/capture/CLGSafeLog.h"
#include "crashlog/capture/CLGSignalHandler.h"
#include "platform/core/Thread.h"

namespace zm {
namespace {

constexpr uint32_t kReplySize = 36;
constexpr int32_t kReplyIdentifierOffset = 100;

void* serverLoop(void* argument) {
    auto& handler = *static_cast<CLGMachExceptionHandler*>(argument);
    ExceptionPorts& ports = *handler.ports;
    pthread_setname_np(pthread_self(), core::Thread::kernelName("com.crashlog.MachExceptionServer").c_str());
    for (;;) {
        ExceptionRequest request;
        if (ports.receive(handler.port, &request) != kKernelSuccess) {
            CLGSafeLog("[Mach] error receving mach_msg (%d)\n");
            return nullptr;
        }
        ExceptionReply reply;
        reply.remoteBits = request.remoteBits;
        reply.destination = request.replyPort;
        reply.size = kReplySize;
        reply.identifier = request.identifier + kReplyIdentifierOffset;

        // From here on the task's exception ports are as they were before the server came.
        uint32_t unregistered = handler.mask;
        for (uint32_t i = 0; i < handler.previous.count; ++i) {
            if (ports.setTaskPorts(handler.previous.masks[i], handler.previous.ports[i], handler.previous.behaviors[i],
                                   handler.previous.flavors[i]) != kKernelSuccess)
                CLGSafeLog("[Mach] unable to restore original port: %d");
            unregistered &= ~handler.previous.masks[i];
        }
        if (ports.setTaskPorts(unregistered, 0, kExceptionDefault | kExceptionCodes64, kThreadStateNone) !=
            kKernelSuccess)
            CLGSafeLog("[Mach] unable to unset unregistered mask: 0x%x");

        if (handler.callback)
            handler.callback(request.thread, request.task, request.exception, request.codes, request.codeCount);
        CLGCrashCounterIncrement();
        reply.returnCode = CLGMachExceptionForward(handler, request);
        if (ports.send(reply) != kKernelSuccess) {
            CLGSafeLog("[Mach] mach_msg reply failed (%d)\n");
            return nullptr;
        }
    }
}

void uninstalled(CLGMachExceptionHandler& handler) {
    handler.port = 0;
    handler.mask = 0;
    handler.previous.count = 0;
}

} // namespace

void CLGMachExceptionHandlerInstall(CLGMachExceptionHandler& handler, uint32_t maskToLeave, int32_t osVersionCode,
                                    ExceptionPorts& ports) {
    handler.ports = &ports;
    if (!ports.available() || CLGDebuggerAttached() == 1) {
        uninstalled(handler);
        return;
    }
    ExceptionPort port = 0;
    if (ports.allocateReceiveRight(&port) != kKernelSuccess) {
        CLGSafeLog("[Mach] mach_port_allocate %d\n");
        uninstalled(handler);
        return;
    }
    if (ports.insertSendRight(port) != kKernelSuccess) {
        CLGSafeLog("[Mach] mach_port_insert_right %d\n");
        uninstalled(handler);
        return;
    }
    uint32_t mask = kCLGMaskBadAccess | kCLGMaskBadInstruction | kCLGMaskArithmetic;
    if (CLGDebuggerAttached() != 1)
        mask |= kCLGMaskBreakpoint;
    if (osVersionCode > 59999)
        mask |= kCLGMaskGuard;
    mask &= ~maskToLeave;
    if (ports.swapTaskPorts(mask, port, kExceptionDefault | kExceptionCodes64, kThreadStateNone, &handler.previous) !=
        kKernelSuccess) {
        CLGSafeLog("[Mach] task_swap_exception_ports %d\n");
        uninstalled(handler);
        return;
    }
    handler.port = port;
    handler.mask = mask;
    handler.callback = CLGMachExceptionRecordCallback;

    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        CLGSafeLog("[Mach] pthread_attr_init\n");
        return;
    }
    if (pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) != 0)
        CLGSafeLog("[Mach] pthread_attr_setdetachstate\n");
    else if (pthread_attr_setstack(&attributes, handler.stack, kCLGMachServerStackSize) != 0)
        CLGSafeLog("[Mach] pthread_attr_setstack\n");
    else if (pthread_create(&handler.thread, &attributes, serverLoop, &handler) != 0)
        CLGSafeLog("[Mach] pthread_create\n");
    pthread_attr_destroy(&attributes);
}

int CLGMachExceptionRecordCallback(ExceptionPort thread, ExceptionPort task, int32_t exception, const int64_t* codes,
                                   uint32_t codeCount) {
    CLGSafeLog("[Mach] exception: 0x%x, count: %d, code: 0x%llx 0x%llx\n");
    const CLGMachExceptionInformation information{thread, task, exception, codes, codeCount};
    CLGCrashRecordWrite(&information, 0, nullptr, nullptr);
    return 0;
}

KernelResult CLGMachExceptionForward(const CLGMachExceptionHandler& handler, const ExceptionRequest& request) {
    const uint32_t bit = request.exception >= 0 && request.exception < 32 ? 1u << request.exception : 0;
    for (uint32_t i = 0; i < handler.previous.count; ++i) {
        if (!(handler.previous.masks[i] & bit)) {
            CLGSafeLog("[Mach] Skipping registered port - mask does not match\n");
            continue;
        }
        if (handler.previous.ports[i] == 0 || handler.previous.behaviors[i] == 0 || handler.previous.flavors[i] == 0) {
            CLGSafeLog("[Mach] Skipping registered port - it is invalid\n");
            continue;
        }
        return CLGMachExceptionForwardPort(*handler.ports, handler.previous.ports[i], handler.previous.behaviors[i],
                                           handler.previous.flavors[i], request.thread, request.task,
                                           request.exception, request.codes, request.codeCount);
    }
    return kKernelFailure;
}

KernelResult CLGMachExceptionForwardPort(ExceptionPorts& ports, ExceptionPort port, int32_t behavior, int32_t flavor,
                                         ExceptionPort thread, ExceptionPort task, int32_t exception,
                                         const int64_t* codes, uint32_t codeCount) {
    CLGSafeLog("[Mach] Forwarding exception: 0x%x, port: %d behavior: %d, flavor: %d)\n");
    // The message carries at most two codes; a longer list is refused before sending.
    if (codeCount > kExceptionCodeLimit)
        return kKernelArrayTooLarge;
    const int32_t plainBehavior = behavior & ~kExceptionCodes64;
    if (plainBehavior == kExceptionDefault) {
        const KernelResult result = ports.raise(port, thread, task, exception, codes, codeCount);
        if (result != kKernelSuccess)
            CLGSafeLog("[Mach] CLGMachExceptionForwardPort: failed to forward exception (%d)\n");
        return result;
    }
    if (plainBehavior != kExceptionState && plainBehavior != kExceptionStateIdentity) {
        CLGSafeLog("[Mach] CLGMachExceptionForwardPort: unknown behavior %d\n");
        CLGSafeLog("[Mach] CLGMachExceptionForwardPort: failed to forward exception with thread state (%d)\n");
        return kKernelFailure;
    }
    ThreadState state;
    if (ports.getThreadState(thread, flavor, &state) != kKernelSuccess || state.count > kThreadStateLimit) {
        CLGSafeLog("[Mach] CLGMachExceptionForwardPort: thread_get_state failed (%d)\n");
        return kKernelFailure;
    }
    ThreadState newState;
    const KernelResult raised =
        plainBehavior == kExceptionState
            ? ports.raiseState(port, exception, codes, codeCount, state, &newState)
            : ports.raiseStateIdentity(port, thread, task, exception, codes, codeCount, state, &newState);
    if (raised != kKernelSuccess) {
        CLGSafeLog("[Mach] CLGMachExceptionForwardPort: failed to forward exception with thread state (%d)\n");
        return kKernelFailure;
    }
    const KernelResult set = ports.setThreadState(thread, newState);
    if (set != kKernelSuccess)
        CLGSafeLog("[Mach] CLGMachExceptionForwardPort: failed to set thread state (%d)\n");
    return set;
}

void CLGCrashCounterIncrement() {
    if (CLGCaptureMutablePart* part = CLGCaptureContextShared().mutablePart)
        part->crashCounter.fetch_add(1);
}

} // namespace zm
