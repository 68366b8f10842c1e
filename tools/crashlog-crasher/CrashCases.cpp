#include "tools/crashlog-crasher/CrashCases.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <semaphore.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

// The crashing functions have external names, so that a record's frames can be matched to them.
extern "C" {

__attribute__((noinline)) void crasherNullWrite(volatile int* target) {
    *target = 1;
}

__attribute__((noinline)) int crasherDivide(int dividend, int divisor) {
    // Read through volatile, so that the division is made at run time.
    const volatile int divisorAtRunTime = divisor;
    return dividend / divisorAtRunTime;
}

__attribute__((noinline)) void crasherTrap() {
    __builtin_trap();
}

__attribute__((noinline)) void crasherBreakpoint() {
    asm volatile("int3");
}

__attribute__((noinline)) void crasherThrow() {
    throw std::runtime_error("the crasher threw \"this\"");
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

// Three threads named "worker-1" to "worker-3" that wait for ever.
void startNamedThreads() {
    static sem_t started;
    sem_init(&started, 0, 0);
    for (int i = 1; i <= 3; ++i) {
        std::thread([i] {
            char name[16];
            snprintf(name, sizeof name, "worker-%d", i);
            pthread_setname_np(pthread_self(), name);
            sem_post(&started);
            for (;;)
                pause();
        }).detach();
    }
    for (int i = 0; i < 3; ++i)
        sem_wait(&started);
}

} // namespace

bool crash(std::string_view name) {
    if (name == "null-write") {
        announce("crasherNullWrite", reinterpret_cast<void*>(crasherNullWrite));
        crasherNullWrite(nullptr);
    } else if (name == "divide-by-zero") {
        crasherDivide(1, 0);
    } else if (name == "trap") {
        crasherTrap();
    } else if (name == "abort") {
        abort();
    } else if (name == "breakpoint") {
        crasherBreakpoint();
    } else if (name == "bus") {
        raise(SIGBUS);
    } else if (name == "sys") {
        raise(SIGSYS);
    } else if (name == "uncaught-exception") {
        crasherThrow();
    } else if (name == "threads") {
        startNamedThreads();
        announce("crasherNullWrite", reinterpret_cast<void*>(crasherNullWrite));
        crasherNullWrite(nullptr);
    } else {
        return false;
    }
    // A case whose signal was handled and returned still ends here.
    abort();
}

const char* caseNames() {
    return "null-write, divide-by-zero, trap, abort, breakpoint, bus, sys, uncaught-exception, threads";
}

} // namespace zm::crasher
