// links: crashlog
// Crash reporting: the time the start adds to the thread that starts it (a later launch, and the first
// launch of an installation; the counter "main_cpu_ms" is the processor time of the starting thread,
// which a loaded machine's preemption does not inflate), which includes installing capture (the arena,
// the signal handlers and the alternate stack: crashes are caught from the start call on), and
// "ready_ms", the time until the rest of the start-up, run on the reporter's queue, is done; and the
// time from a crash signal to the death of a child process whose record the capture has written and
// closed by then, with 1 and 16 threads to freeze and unwind. No crash-capture library is packaged for
// Debian; the same child without capture, which dies at once, runs beside it as the floor.
//
// Capture starts once per process, so every measurement is made in a child of its own.

#include "crashlog/Crashlog.h"
#include "crashlog/testing/ChildProcess.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/FileLocations.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using namespace zm;

constexpr const char* kKey = "0123456789abcdef0123456789abcdef01234567";

int64_t nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

int64_t monotonicNanoseconds() {
    return nanoseconds(CLOCK_MONOTONIC);
}

// A word both sides of a fork see.
struct SharedClock {
    SharedClock()
        : value(static_cast<std::atomic<int64_t>*>(
              mmap(nullptr, sizeof(std::atomic<int64_t>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0))) {}
    ~SharedClock() { munmap(value, sizeof(std::atomic<int64_t>)); }
    std::atomic<int64_t>* value;
};

// The child's installation: its data root, where the crash reporter keeps its files and identifiers.
void useDataRoot(const std::filesystem::path& root) {
    const core::FileLocations locations = core::FileLocations::underRoot(root, core::FileLocations::shared().resources);
    core::FileLocations::setShared(locations);
    core::UserDefaults::setStandard(std::make_shared<core::UserDefaults>(locations.userDefaults));
}

// Runs `child` in a forked child and answers how it ended.
template <typename Child> int inChild(Child child) {
    const pid_t pid = fork();
    if (pid == 0) {
        child();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// The start is timed in a program of its own, as at a real launch: this one, run again with the data
// root in kStartChildVariable, which starts crash reporting before the benchmarks' main and prints the
// start's wall and processor time on its thread and the time until capture is ready (milliseconds).
// A forked child would pay for copying the benchmark's pages on write instead.
constexpr const char* kStartChildVariable = "CRASHLOG_BENCH_START_ROOT";

const bool g_startChild = [] {
    const char* root = getenv(kStartChildVariable);
    if (!root)
        return false;
    useDataRoot(root);
    const int64_t start = monotonicNanoseconds();
    const int64_t startCpu = nanoseconds(CLOCK_THREAD_CPUTIME_ID);
    Crashlog& crashlog = Crashlog::startWithAPIKey(kKey);
    const int64_t wall = monotonicNanoseconds() - start;
    const int64_t cpu = nanoseconds(CLOCK_THREAD_CPUTIME_ID) - startCpu;
    crashlog.queue()->sync([] {});
    const int64_t ready = monotonicNanoseconds() - start;
    printf("%f %f %f\n", double(wall) * 1e-6, double(cpu) * 1e-6, double(ready) * 1e-6);
    fflush(stdout);
    _exit(0);
}();

void BM_StartWithAPIKey(benchmark::State& state) {
    const bool firstLaunch = state.range(0) == 1;
    core::TemporaryFolder root;
    double mainCpuTotal = 0;
    double readyTotal = 0;
    setenv(kStartChildVariable, root.path().c_str(), 1);
    for (auto _ : state) {
        if (firstLaunch)
            std::filesystem::remove_all(root.path() / "Library");
        const testing::ChildResult child = testing::runChild({"/proc/self/exe"});
        double wall = 0;
        double cpu = 0;
        double ready = 0;
        if (!child.exitedWith(0) || sscanf(child.out.c_str(), "%lf %lf %lf", &wall, &cpu, &ready) != 3) {
            state.SkipWithError("the child did not start");
            break;
        }
        state.SetIterationTime(wall * 1e-3);
        mainCpuTotal += cpu;
        readyTotal += ready;
    }
    unsetenv(kStartChildVariable);
    state.counters["main_cpu_ms"] = mainCpuTotal / double(state.iterations());
    state.counters["ready_ms"] = readyTotal / double(state.iterations());
    state.SetLabel(firstLaunch ? "first launch" : "later launch");
}
BENCHMARK(BM_StartWithAPIKey)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// Threads that wait, as a game's do, until the process ends.
class IdleThreads {
public:
    explicit IdleThreads(int count) {
        for (int i = 0; i < count; ++i)
            m_threads.emplace_back([this] {
                std::unique_lock lock(m_mutex);
                ++m_started;
                m_changed.notify_all();
                m_changed.wait(lock, [] { return false; });
            });
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_started == count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_started = 0;
    std::vector<std::thread> m_threads;
};

// Opaque to the optimiser, which would otherwise turn the write into a trap.
int* volatile g_nowhere = nullptr;

__attribute__((noinline)) void writeThroughNull() {
    *g_nowhere = 1;
}

// From the moment before the faulting write to the parent's reaping of the dead child.
void crashToDeath(benchmark::State& state, bool capture) {
    const int threads = int(state.range(0));
    core::TemporaryFolder root;
    SharedClock signalled;
    int iteration = 0;
    for (auto _ : state) {
        const std::filesystem::path installation = root.path() / std::to_string(iteration++);
        const int status = inChild([&] {
            const rlimit noCore{0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
            if (capture) {
                useDataRoot(installation);
                Crashlog::startWithAPIKey(kKey).queue()->sync([] {});
            }
            IdleThreads others(threads - 1);
            signalled.value->store(monotonicNanoseconds());
            writeThroughNull();
        });
        const int64_t dead = monotonicNanoseconds();
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGSEGV) {
            state.SkipWithError("the child did not die by its signal");
            return;
        }
        state.SetIterationTime(double(dead - signalled.value->load()) * 1e-9);
        std::filesystem::remove_all(installation);
    }
}

void BM_CrashToRecordClosed(benchmark::State& state) {
    crashToDeath(state, true);
}
BENCHMARK(BM_CrashToRecordClosed)->Arg(1)->Arg(16)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_CrashWithoutCapture(benchmark::State& state) {
    crashToDeath(state, false);
}
BENCHMARK(BM_CrashWithoutCapture)->Arg(1)->Arg(16)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
