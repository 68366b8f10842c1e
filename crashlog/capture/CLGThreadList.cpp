#include "crashlog/capture/CLGThreadList.h"

#include "crashlog/capture/CLGExceptionInfo.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGSafeLog.h"
#include "crashlog/capture/CLGUnwindCursor.h"
#include "crashlog/record/CLGRecordWriter.h"
#include "platform/core/ThreadQueueLabels.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zm {
namespace {

// How long the writer waits for one thread to freeze, and a frozen thread for the writer to finish.
constexpr int64_t kFreezeWaitNanoseconds = 250'000'000;
constexpr int64_t kFrozenWaitNanoseconds = 10'000'000'000;
constexpr size_t kLabelLimit = 128;
constexpr size_t kNameSize = 64;

std::atomic<CLGFreezeSlot*> g_slots = nullptr;

int32_t currentThreadId() {
    return static_cast<int32_t>(syscall(SYS_gettid));
}

int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void futexWake(std::atomic<uint32_t>& word) {
    syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), FUTEX_WAKE_PRIVATE, INT32_MAX, nullptr, nullptr, 0);
}

// Waits while `word` holds `value`, at most `nanoseconds` in all. Answers the value it last saw.
uint32_t futexWaitWhile(std::atomic<uint32_t>& word, uint32_t value, int64_t nanoseconds) {
    const int64_t deadline = monotonicNanoseconds() + nanoseconds;
    for (;;) {
        const uint32_t seen = word.load();
        const int64_t left = deadline - monotonicNanoseconds();
        if (seen != value || left <= 0)
            return seen;
        timespec timeout{static_cast<time_t>(left / 1'000'000'000), static_cast<long>(left % 1'000'000'000)};
        syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), FUTEX_WAIT_PRIVATE, value, &timeout, nullptr, 0);
    }
}

// Runs on a thread asked to freeze: leaves its registers in its slot and waits there until released.
void freezeHandler(int, siginfo_t*, void* userContext) {
    const int savedErrno = errno;
    CLGFreezeSlot* slots = g_slots.load();
    const int32_t self = currentThreadId();
    for (size_t i = 0; slots && userContext && i < kCLGThreadLimit; ++i) {
        CLGFreezeSlot& slot = slots[i];
        if (slot.thread.load() != self)
            continue;
        slot.context = CLGMachineContext::fromUserContext(*static_cast<const ucontext_t*>(userContext));
        uint32_t requested = CLGFreezeSlot::Requested;
        if (slot.state.compare_exchange_strong(requested, CLGFreezeSlot::Frozen)) {
            futexWake(slot.state);
            futexWaitWhile(slot.state, CLGFreezeSlot::Frozen, kFrozenWaitNanoseconds);
        }
        break;
    }
    errno = savedErrno;
}

// Writes the decimal digits of `value` (positive) at `out`; answers the end.
char* appendNumber(char* out, uint32_t value) {
    char digits[10];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// The kernel's name for `thread` into `name` (NUL-terminated, without the line feed); empty when it
// cannot be read.
void readThreadName(int32_t thread, char (&name)[kNameSize]) {
    char path[48] = "/proc/self/task/";
    char* end = appendNumber(path + strlen(path), static_cast<uint32_t>(thread));
    memcpy(end, "/comm", sizeof "/comm");
    name[0] = '\0';
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    const ssize_t count = read(fd, name, kNameSize - 1);
    close(fd);
    size_t length = count > 0 ? static_cast<size_t>(count) : 0;
    if (length > 0 && name[length - 1] == '\n')
        --length;
    name[length] = '\0';
}

// The thread ids listed in /proc/self/task, read with getdents64 (no allocation).
bool listThreads(CLGThreadList& list) {
    const int fd = open("/proc/self/task", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    alignas(8) char buffer[4096];
    for (;;) {
        const long count = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (count <= 0) {
            close(fd);
            return count == 0;
        }
        for (long at = 0; at < count;) {
            uint16_t recordLength = 0;
            memcpy(&recordLength, buffer + at + 16, sizeof recordLength);
            const char* name = buffer + at + 19;
            int32_t thread = 0;
            bool digits = *name != '\0';
            for (const char* letter = name; *letter; ++letter) {
                digits = digits && *letter >= '0' && *letter <= '9';
                thread = thread * 10 + (*letter - '0');
            }
            if (digits && list.count < kCLGThreadLimit)
                list.threads[list.count++] = thread;
            at += recordLength;
        }
    }
}

bool ownContext(CLGMachineContext& context) {
    ucontext_t own;
    if (getcontext(&own) != 0)
        return false;
    context = CLGMachineContext::fromUserContext(own);
    return true;
}

} // namespace

int CLGFreezeSignal() {
    return SIGRTMIN + 6;
}

bool CLGThreadFreezeInstall(CLGFreezeSlot* slots) {
    g_slots.store(slots);
    struct sigaction action{};
    action.sa_sigaction = freezeHandler;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    return sigaction(CLGFreezeSignal(), &action, nullptr) == 0;
}

bool CLGThreadListCreate(CLGThreadList& list, int32_t crashedThread, const ucontext_t* userContext,
                         bool registerDump, CLGFreezeSlot* slots) {
    list.task = static_cast<int32_t>(getpid());
    list.currentThread = currentThreadId();
    list.crashedThread = crashedThread;
    list.userContext = userContext;
    list.registerDump = registerDump;
    list.slots = slots;
    list.count = 0;
    if (!listThreads(list)) {
        CLGSafeLog("unable to get task threads\n");
        list.count = 0;
        return false;
    }
    return true;
}

bool CLGThreadListSuspend(CLGThreadList& list) {
    if (!list.slots)
        return list.count <= 1;
    // Every thread is asked at once, so that freezing takes one scheduling round, not one per thread.
    bool asked[kCLGThreadLimit] = {};
    for (uint32_t i = 0; i < list.count; ++i) {
        if (list.threads[i] == list.currentThread)
            continue;
        CLGFreezeSlot& slot = list.slots[i];
        slot.state.store(CLGFreezeSlot::Requested);
        slot.thread.store(list.threads[i]);
        asked[i] = syscall(SYS_tgkill, list.task, list.threads[i], CLGFreezeSignal()) == 0;
    }
    const int64_t deadline = monotonicNanoseconds() + kFreezeWaitNanoseconds;
    bool all = true;
    for (uint32_t i = 0; i < list.count; ++i) {
        if (list.threads[i] == list.currentThread)
            continue;
        CLGFreezeSlot& slot = list.slots[i];
        if (asked[i])
            futexWaitWhile(slot.state, CLGFreezeSlot::Requested, deadline - monotonicNanoseconds());
        // A thread that did not freeze in time must not wait later for a release that never comes.
        uint32_t requested = CLGFreezeSlot::Requested;
        if (slot.state.compare_exchange_strong(requested, CLGFreezeSlot::Released)) {
            slot.thread.store(0);
            all = false;
            continue;
        }
        list.frozen[i] = true;
    }
    return all;
}

bool CLGThreadListResume(CLGThreadList& list) {
    for (uint32_t i = 0; list.slots && i < list.count; ++i) {
        if (!list.frozen[i])
            continue;
        CLGFreezeSlot& slot = list.slots[i];
        slot.state.store(CLGFreezeSlot::Released);
        futexWake(slot.state);
        slot.thread.store(0);
        list.frozen[i] = false;
    }
    return true;
}

bool CLGThreadGetContext(const CLGThreadList& list, uint32_t index, CLGMachineContext& context) {
    if (index >= list.count)
        return false;
    const int32_t thread = list.threads[index];
    if (thread == list.crashedThread && list.userContext) {
        context = CLGMachineContext::fromUserContext(*list.userContext);
        return true;
    }
    if (thread == list.currentThread)
        return ownContext(context);
    if (list.slots && list.frozen[index]) {
        context = list.slots[index].context;
        return true;
    }
    CLGSafeLog("failed to get thread state\n");
    return false;
}

void CLGWriteThreads(const CLGThreadList& list, CLGRecordWriter& writer) {
    writer.beginLine("threads");
    writer.beginArray();
    uint64_t crashedIndex = uint64_t{list.count} + 1;
    for (uint32_t i = 0; i < list.count; ++i) {
        if (list.threads[i] == list.crashedThread)
            crashedIndex = i;
        writer.beginArray();
        CLGMachineContext context;
        if (CLGThreadGetContext(list, i, context)) {
            CLGUnwindCursor cursor;
            CLGUnwindCursorInit(cursor, context);
            while (CLGUnwindCursorStep(cursor))
                CLGWriteStackFrame(writer, cursor.pc, nullptr, nullptr, 0, 0, 0);
        }
        writer.endArray();
    }
    writer.endArray();
    writer.numberMember("crashed_thread", crashedIndex);
    writer.numberMember("thread_count", list.count);
    writer.endLine();
}

void CLGWriteThreadState(const CLGThreadList& list, CLGRecordWriter& writer) {
    writer.beginLine("thread_state");
    writer.beginObject();
    for (uint32_t i = 0; list.registerDump && i < list.count; ++i) {
        CLGMachineContext context;
        if (list.threads[i] != list.crashedThread || !CLGThreadGetContext(list, i, context))
            continue;
        for (const CLGRegisterName& name : kCLGRegisterNames)
            writer.numberMember(name.name, static_cast<uint64_t>(context.registers[name.index]));
        break;
    }
    writer.endObject();
    writer.endLine();
}

void CLGWriteThreadNames(const CLGThreadList& list, CLGRecordWriter& writer) {
    writer.beginLine("thread_names");
    writer.beginArray();
    for (uint32_t i = 0; i < list.count; ++i) {
        char name[kNameSize];
        readThreadName(list.threads[i], name);
        writer.stringElement(name);
    }
    writer.endArray();
    writer.endLine();
}

void CLGWriteQueueNames(const CLGThreadList& list, CLGRecordWriter& writer) {
    writer.beginLine("dispatch_queue_names");
    writer.beginArray();
    for (uint32_t i = 0; i < list.count; ++i) {
        const char* label = core::ThreadQueueLabels::labelOf(list.threads[i]);
        size_t length = 0;
        if (label && CLGReadString(label, kLabelLimit, &length))
            writer.stringElement(label, length);
        else
            writer.stringElement("");
    }
    writer.endArray();
    writer.endLine();
}

void CLGWriteRuntime(const CLGThreadList&, CLGRecordWriter& writer) {
    // No message-send routine exists here, so no selector is ever being sent.
    writer.beginLine("runtime");
    writer.beginObject();
    writer.stringMember("objc_selector", nullptr);
    writer.endObject();
    writer.endLine();
}

} // namespace zm
