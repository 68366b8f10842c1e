#include "tools/crashlog-crasher/CrashCases.h"

#include "platform/core/Thread.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <link.h>
#include <pthread.h>
#include <semaphore.h>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

// The crashing functions have external names, so that a record's frames can be matched to them.
extern "C" {

__attribute__((noipa)) void crasherNullWrite(volatile int* target) {
    *target = 1;
}

__attribute__((noipa)) int crasherDivide(int dividend, int divisor) {
    // Read through volatile, so that the division is made at run time.
    const volatile int divisorAtRunTime = divisor;
    return dividend / divisorAtRunTime;
}

__attribute__((noipa)) void crasherTrap() {
    __builtin_trap();
}

__attribute__((noipa)) void crasherAbort() {
    abort();
}

__attribute__((noipa)) void crasherBreakpoint() {
    asm volatile("int3");
}

__attribute__((noipa)) void crasherRaise(int signal) {
    // The answer is looked at, so that the call is not made as a jump that leaves no frame of ours.
    if (raise(signal) != 0)
        abort();
}

__attribute__((noipa)) void crasherThrow() {
    throw std::runtime_error("the crasher threw \"this\"");
}

// Frames of some 8 KiB each, every byte of which is written: the stack runs into its guard a frame at
// a time (never past it), after a hundred frames or so.
__attribute__((noipa)) int crasherRecurse(int depth) {
    if (depth < 0)
        return 0;
    volatile char frame[8192];
    for (size_t at = 0; at < sizeof frame; at += 512)
        frame[at] = static_cast<char>(depth);
    return crasherRecurse(depth + 1) + frame[depth % sizeof frame];
}

// A thread that waits for ever where its frames can be found.
__attribute__((noipa)) void crasherWait() {
    for (;;)
        pause();
}

} // extern "C"

namespace zm::crasher {
namespace {

// Tells the parent where a function lies, so that it can find the function among a record's frames.
void announce(const char* name, void* function) {
    Dl_info info;
    void* symbol = nullptr;
    size_t size = 0;
    if (dladdr1(function, &info, &symbol, RTLD_DL_SYMENT) && symbol)
        size = static_cast<const ElfW(Sym)*>(symbol)->st_size;
    printf("function %s %p %zu\n", name, function, size);
    fflush(stdout);
}

// `count` threads named PREFIX-1 ... that each run `body(i)`, started the way the program starts its
// threads; answers once each has begun.
template <typename Body> void startThreads(const char* prefix, int count, Body body) {
    static sem_t started;
    sem_init(&started, 0, 0);
    for (int i = 1; i <= count; ++i) {
        char name[16];
        snprintf(name, sizeof name, "%s-%d", prefix, i);
        core::Thread::detach(name, [i, body] {
            sem_post(&started);
            body(i);
        });
    }
    for (int i = 0; i < count; ++i)
        sem_wait(&started);
}

void nullWriteWithWorkers() {
    startThreads("worker", 3, [](int) { crasherWait(); });
    announce("crasherNullWrite", reinterpret_cast<void*>(crasherNullWrite));
    crasherNullWrite(nullptr);
}

// Two threads fault at the same moment; the main thread waits.
void twoThreads() {
    static pthread_barrier_t together;
    pthread_barrier_init(&together, nullptr, 2);
    startThreads("faulter", 2, [](int) {
        pthread_barrier_wait(&together);
        crasherNullWrite(nullptr);
    });
    crasherWait();
}

void stackOverflow() {
    // A small stack overflows soon, within the frames a record keeps.
    const rlimit limit{1 << 20, RLIM_INFINITY};
    setrlimit(RLIMIT_STACK, &limit);
    crasherRecurse(0);
}

void threadStackOverflow() {
    // Threads made from now on get a small stack with a guard larger than one frame.
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 512 * 1024);
    pthread_attr_setguardsize(&attributes, 64 * 1024);
    pthread_setattr_default_np(&attributes);
    startThreads("overflow", 1, [](int) { crasherRecurse(0); });
    crasherWait();
}

} // namespace
} // namespace zm::crasher

extern "C" __attribute__((noipa)) void crasherLateLibrary() {
    // The library lies beside the program; it is opened only now, long after capture started.
    const auto library = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libcrashlog-crasher-library.so";
    void* handle = dlopen(library.c_str(), RTLD_NOW);
    auto* crash = handle ? reinterpret_cast<void (*)()>(dlsym(handle, "crasherLibraryCrash")) : nullptr;
    if (!crash) {
        fprintf(stderr, "cannot open %s: %s\n", library.c_str(), dlerror());
        return;
    }
    crash();
}

namespace zm::crasher {

bool crash(std::string_view name) {
    if (name == "null-write" || name == "early") {
        announce("crasherNullWrite", reinterpret_cast<void*>(crasherNullWrite));
        crasherNullWrite(nullptr);
    } else if (name == "divide-by-zero") {
        crasherDivide(1, 0);
    } else if (name == "trap") {
        crasherTrap();
    } else if (name == "abort") {
        crasherAbort();
    } else if (name == "breakpoint") {
        crasherBreakpoint();
    } else if (name == "bus") {
        crasherRaise(SIGBUS);
    } else if (name == "sys") {
        crasherRaise(SIGSYS);
    } else if (name == "uncaught-exception") {
        crasherThrow();
    } else if (name == "threads") {
        nullWriteWithWorkers();
    } else if (name == "stack-overflow") {
        stackOverflow();
    } else if (name == "thread-stack-overflow") {
        threadStackOverflow();
    } else if (name == "two-threads") {
        twoThreads();
    } else if (name == "late-library") {
        crasherLateLibrary();
    } else {
        return false;
    }
    // A case whose signal was handled and returned still ends here.
    abort();
}

bool crashesAtOnce(std::string_view name) {
    return name == "early";
}

const char* caseNames() {
    return "null-write, divide-by-zero, trap, abort, breakpoint, bus, sys, uncaught-exception, threads, "
           "stack-overflow, thread-stack-overflow, early, two-threads, late-library";
}

} // namespace zm::crasher
