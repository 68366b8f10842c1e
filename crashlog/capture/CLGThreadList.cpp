#include "crashlog/capture/CLGThreadList.h"

#include "crashlog/capture/CLGExceptionInfo.h"
#include "crashlog/capture/CLGFutex.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGSafeLog.h"
#include "crashlog/record/CLGRecordWriter.h"
#include "platform/core/ThreadQueueLabels.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zm {
namespace {

// How long the writer waits for the threads to freeze (each unwinds itself first, through the dynamic
// linker's lock, one after the other: some milliseconds, more on a loaded machine), and a frozen
// thread for the writer to finish.
constexpr int64_t kFreezeWaitNanoseconds = 2'000'000'000;
constexpr int64_t kFrozenWaitNanoseconds = 10'000'000'000;
constexpr size_t kLabelLimit = 128;
constexpr size_t kNameSize = 64;

std::atomic<CLGFreezeSlot*> g_slots = nullptr;
std::atomic<const CLGCrashImages*> g_images = nullptr;

std::atomic_ref<uint32_t> stateOf(CLGFreezeSlot& slot) {
    return std::atomic_ref<uint32_t>(slot.state);
}

std::atomic_ref<int32_t> threadOf(CLGFreezeSlot& slot) {
    return std::atomic_ref<int32_t>(slot.thread);
}

int32_t currentThreadId() {
    return static_cast<int32_t>(syscall(SYS_gettid));
}

bool moveState(CLGFreezeSlot& slot, uint32_t from, uint32_t to) {
    return stateOf(slot).compare_exchange_strong(from, to);
}

// Runs on a thread asked to freeze: leaves its registers in its slot, unwinds its own stack there
// (only the thread itself can, with the unwind tables), and waits until released.
void freezeHandler(int, siginfo_t*, void* userContext) {
    const int savedErrno = errno;
    CLGFreezeSlot* slots = g_slots.load();
    const int32_t self = currentThreadId();
    for (size_t i = 0; slots && userContext && i < kCLGThreadLimit; ++i) {
        CLGFreezeSlot& slot = slots[i];
        if (threadOf(slot).load() != self)
            continue;
        const auto& context = *static_cast<const ucontext_t*>(userContext);
        slot.context = CLGMachineContext::fromUserContext(context);
        if (!moveState(slot, CLGFreezeSlot::Requested, CLGFreezeSlot::Unwinding))
            break;
        CLGThreadUnwind(context, g_images.load(), slot.frames);
        if (moveState(slot, CLGFreezeSlot::Unwinding, CLGFreezeSlot::Frozen)) {
            CLGFutexWake(&slot.state);
            CLGFutexWaitWhile(&slot.state, CLGFreezeSlot::Frozen, CLGMonotonicNanoseconds() + kFrozenWaitNanoseconds);
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

bool CLGThreadFreezeInstall(CLGFreezeSlot* slots, const CLGCrashImages* images) {
    g_slots.store(slots);
    g_images.store(images);
    struct sigaction action{};
    action.sa_sigaction = freezeHandler;
    // On the alternate stack where the thread has one: a thread whose stack is nearly used up still
    // has room to unwind.
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    return sigaction(CLGFreezeSignal(), &action, nullptr) == 0;
}

bool CLGThreadListCreate(CLGThreadList& list, int32_t crashedThread, const ucontext_t* userContext,
                         bool registerDump, CLGFreezeSlot* slots, const CLGCrashImages* images) {
    list.task = static_cast<int32_t>(getpid());
    list.currentThread = currentThreadId();
    list.crashedThread = crashedThread;
    list.userContext = userContext;
    list.registerDump = registerDump;
    list.slots = slots;
    list.images = images;
    list.count = 0;
    if (!listThreads(list)) {
        CLGSafeLog("unable to get task threads\n");
        list.count = 0;
        return false;
    }
    return true;
}

void CLGThreadListUnwindCurrent(CLGThreadList& list) {
    for (uint32_t i = 0; list.slots && i < list.count; ++i) {
        if (list.threads[i] != list.currentThread)
            continue;
        CLGFreezeSlot& slot = list.slots[i];
        if (list.currentThread == list.crashedThread && list.userContext) {
            CLGThreadUnwind(*list.userContext, list.images, slot.frames);
        } else {
            ucontext_t own;
            if (getcontext(&own) != 0)
                return;
            CLGThreadUnwind(own, list.images, slot.frames);
        }
        list.frozen[i] = true;
        return;
    }
}

bool CLGThreadListSuspend(CLGThreadList& list) {
    if (!list.slots)
        return list.count <= 1;
    // Every thread is asked at once, so that freezing (and each one's unwinding) takes one scheduling
    // round, not one per thread.
    bool asked[kCLGThreadLimit] = {};
    for (uint32_t i = 0; i < list.count; ++i) {
        if (list.threads[i] == list.currentThread)
            continue;
        CLGFreezeSlot& slot = list.slots[i];
        stateOf(slot).store(CLGFreezeSlot::Requested);
        threadOf(slot).store(list.threads[i]);
        asked[i] = syscall(SYS_tgkill, list.task, list.threads[i], CLGFreezeSignal()) == 0;
    }
    const int64_t deadline = CLGMonotonicNanoseconds() + kFreezeWaitNanoseconds;
    bool all = true;
    for (uint32_t i = 0; i < list.count; ++i) {
        if (list.threads[i] == list.currentThread)
            continue;
        CLGFreezeSlot& slot = list.slots[i];
        for (uint32_t seen = CLGFreezeSlot::Requested; asked[i] && seen != CLGFreezeSlot::Frozen;) {
            seen = CLGFutexWaitWhile(&slot.state, seen, deadline);
            if (deadline <= CLGMonotonicNanoseconds())
                break;
        }
        // A thread that did not freeze in time must not wait later for a release that never comes.
        if (moveState(slot, CLGFreezeSlot::Requested, CLGFreezeSlot::Released)) {
            threadOf(slot).store(0);
            all = false;
            continue;
        }
        // Still unwinding (a lock it needs is held by a thread that froze first): its registers are
        // there, and its stack above them stands still while it waits.
        if (moveState(slot, CLGFreezeSlot::Unwinding, CLGFreezeSlot::Released)) {
            list.stalled[i] = true;
            all = false;
            continue;
        }
        list.frozen[i] = true;
    }
    return all;
}

bool CLGThreadListResume(CLGThreadList& list) {
    for (uint32_t i = 0; list.slots && i < list.count; ++i) {
        if (!list.frozen[i] || list.threads[i] == list.currentThread)
            continue;
        CLGFreezeSlot& slot = list.slots[i];
        stateOf(slot).store(CLGFreezeSlot::Released);
        CLGFutexWake(&slot.state);
        threadOf(slot).store(0);
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
    if (list.slots && (list.frozen[index] || list.stalled[index])) {
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
        CLGThreadFrames walked;
        const CLGThreadFrames* frames = nullptr;
        if (list.frozen[i]) {
            frames = &list.slots[i].frames;
        } else if (list.stalled[i]) {
            CLGThreadUnwindByFramePointers(list.slots[i].context, list.images, walked);
            frames = &walked;
        } else {
            CLGSafeLog("failed to get thread state\n");
        }
        for (uint32_t k = 0; frames && k < frames->count; ++k)
            CLGWriteStackFrame(writer, frames->addresses[k], nullptr, nullptr, 0, 0, 0);
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
        CLGMachineContext context{};
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
