#include "crashlog/capture/CLGSignalHandler.h"

#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGCrashRecord.h"
#include "crashlog/capture/CLGFaultGuard.h"
#include "crashlog/capture/CLGFutex.h"
#include "crashlog/capture/CLGSafeLog.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zm {

const int kCLGSignals[kCLGSignalCount] = {SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGSEGV, SIGSYS, SIGTRAP};

namespace {

constexpr uintptr_t kLowestPointer = 4096;

bool stackWasSet(const stack_t& stack) {
    return !(stack.ss_flags & SS_DISABLE) && stack.ss_sp != nullptr;
}

// The number after "TracerPid:" in /proc/self/status, read without allocating.
int tracerPid(bool* ok) {
    char text[2048];
    const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    ssize_t length = fd >= 0 ? read(fd, text, sizeof text - 1) : -1;
    if (fd >= 0)
        close(fd);
    *ok = length > 0;
    if (!*ok)
        return 0;
    text[length] = '\0';
    const char* at = strstr(text, "TracerPid:");
    if (!at) {
        *ok = false;
        return 0;
    }
    at += strlen("TracerPid:");
    while (*at == ' ' || *at == '\t')
        ++at;
    int pid = 0;
    while (*at >= '0' && *at <= '9')
        pid = pid * 10 + (*at++ - '0');
    return pid;
}

} // namespace

void CLGSignalHandlersInstall(CLGSavedSignalState& saved, void* alternateStack) {
    stack_t ours{alternateStack, 0, kCLGAlternateStackSize};
    stack_t previous{};
    if (sigaltstack(&ours, &previous) != 0) {
        CLGSafeLog("Unable to setup stack %s\n");
        return;
    }
    if (stackWasSet(previous) && previous.ss_sp != ours.ss_sp && previous.ss_sp != saved.stack.ss_sp)
        CLGSafeLog("Installed a stack, but the original did not match our saved stack %p %p\n");
    saved.stack = previous;

    struct sigaction action{};
    action.sa_sigaction = CLGSignalHandler;
    action.sa_flags = SA_ONSTACK | SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kCLGSignalCount; ++i) {
        struct sigaction before{};
        if (sigaction(kCLGSignals[i], &action, &before) != 0)
            CLGSafeLog("Unable to install handler for %d (%s)\n");
        saved.actions[i] = {};
        if (before.sa_handler != nullptr)
            saved.actions[i] = before;
    }
}

void CLGSignalHandlersSetDefault(bool firstToo) {
    struct sigaction fallback{};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    for (int i = firstToo ? 0 : 1; i < kCLGSignalCount; ++i) {
        if (sigaction(kCLGSignals[i], &fallback, nullptr) != 0)
            CLGSafeLog("Unable to set default handler for %d (%s)\n");
    }
}

bool CLGSignalHandlersRestore(const CLGSavedSignalState& saved) {
    CLGSignalHandlersSetDefault(true);
    bool restored = true;
    // Puts the earlier stack back; while we run on our own stack the kernel refuses (EPERM), which
    // must not keep the earlier handlers from their signal.
    if (stackWasSet(saved.stack) && sigaltstack(&saved.stack, nullptr) != 0) {
        CLGSafeLog("Unable to setup stack %s\n");
        restored = false;
    }
    for (int i = 0; i < kCLGSignalCount; ++i) {
        if (saved.actions[i].sa_handler == nullptr)
            continue;
        if (sigaction(kCLGSignals[i], &saved.actions[i], nullptr) != 0) {
            CLGSafeLog("Unable to install handler for %d (%s)\n");
            restored = false;
        }
    }
    return restored;
}

void CLGSignalHandler(int signal, siginfo_t* information, void* userContext) {
    // A fault while walking a stack with the unwind tables ends that walk, not the process.
    CLGFaultGuardRecover();
    const int savedErrno = errno;
    errno = 0;
    // Unblocked, so that a thread waiting here below can still be frozen and a fault inside the
    // handler is not held back.
    sigset_t none;
    sigemptyset(&none);
    if (sigprocmask(SIG_SETMASK, &none, nullptr) != 0)
        CLGSafeLog("Unable to unmask signals - we risk infinite recursion here.");
    CLGSafeLog("signal %d, info %p, uapVoid %p\n");
    if (reinterpret_cast<uintptr_t>(information) < kLowestPointer)
        information = nullptr;
    if (reinterpret_cast<uintptr_t>(userContext) < kLowestPointer)
        userContext = nullptr;

    CLGCaptureContext& context = CLGCaptureContextShared();
    CLGCaptureMutablePart* part = context.mutablePart;
    const auto self = static_cast<int32_t>(syscall(SYS_gettid));
    int32_t recording = 0;
    if (!part) {
        CLGSignalHandlersSetDefault(true);
    } else if (part->recordingThread.compare_exchange_strong(recording, self)) {
        // The first crash of the process: our handlers stay in place while it is recorded, so that a
        // second thread that faults meanwhile waits below instead of ending the process mid-record.
        const bool recorded = part->crashCounter.fetch_add(0) & 1;
        if (!recorded)
            CLGCrashRecordWrite(nullptr, savedErrno, information, static_cast<const ucontext_t*>(userContext));
        if (context.staticPart)
            CLGSignalHandlersRestore(context.staticPart->savedSignals);
        part->recordComplete.store(1);
        CLGFutexWake(part->recordComplete);
    } else if (recording == self) {
        // A fault inside the handler itself ends the process at once.
        CLGSignalHandlersSetDefault(true);
    } else {
        // Once the record is whole the earlier handlers are back: this thread's signal goes to them.
        CLGFutexWaitWhile(part->recordComplete, 0, -1);
    }

    errno = savedErrno;
    if (raise(signal) != 0) {
        CLGSafeLog("Unable to re-raise signal %d");
        // Ending with a success status would report the crash as a clean exit.
        _exit(128 + signal);
    }
}

uint32_t CLGSignalExceptionMask(int signal) {
    switch (signal) {
    case SIGILL: return 4;
    case SIGTRAP: return 64;
    case SIGABRT: return 1024;
    case SIGFPE: return 8;
    case SIGBUS: return 2;
    case SIGSEGV: return 2;
    case SIGSYS: return 1024;
    default: return 0;
    }
}

int32_t CLGOSVersionCode(std::string_view systemVersion) {
    if (systemVersion.empty())
        return 0;
    switch (systemVersion.front()) {
    case '4': return 40000;
    case '5': return 50000;
    case '6': return 60000;
    case '7': return 70000;
    default: return 0;
    }
}

int CLGDebuggerAttached() {
    bool ok = false;
    const int pid = tracerPid(&ok);
    if (!ok) {
        CLGSafeLog("sysctl failed while trying to get kinfo_proc\n");
        return 0;
    }
    return pid != 0 ? 1 : 0;
}

} // namespace zm
