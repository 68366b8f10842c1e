// links: problemsets shell platform_host
//
// Launching the game, each run a new process timed from its start as a whole: to the headless screenshot
// (`zembrix --headless --screenshot`, written and the process ended), and to the first frame shown in a
// window, which needs a display (run under xvfb-run). The window's run starts this program again in a
// mode of its own that opens the window and starts the game as `zembrix` does, and tells as soon as the
// first frame is on the screen. Every run has a data root of its own after one untimed run that fills it,
// as the player's second launch finds it. The peak resident memory of the process is counted too.
//
// The window's launches are timed with a connection of the bench's own to the display kept open: an X
// server resets itself when its last client leaves (its screen made anew, its keymap compiled again),
// and each launch would otherwise meet the reset after the one before. A desktop, where other programs
// stay connected, never resets between launches.

#include "platform/core/SteadyClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/host/WindowHost.h"
#include "platform/ui/Window.h"
#include "problemsets/ProblemSetClasses.h"
#include "problemsets/store/QVDocumentDataController.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/Bundle.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

constexpr std::string_view kWindowMode = "--first-window-frame";
// The descriptor on which the window mode tells that its first frame is on the screen.
constexpr int kReportFd = 3;

const char* deviceName(const benchmark::State& state) {
    return state.range(0) ? "tablet" : "phone";
}

struct Run {
    double seconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
    std::string failure; // how the launch went wrong, when it did
};

// Starts `arguments` in a new process with the data root `home`; when `report` is set, the time runs until
// the process writes on its descriptor 3, else until it ends.
Run runProcess(std::vector<std::string> arguments, const std::filesystem::path& home, bool report) {
    int pipeFds[2] = {-1, -1};
    if (report && pipe(pipeFds) != 0)
        return {.failure = "cannot make the report's pipe"};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string homeVariable = "ZEMBRIX_HOME=" + home.string();

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        putenv(const_cast<char*>(homeVariable.c_str()));
        if (report) {
            // The pipe may itself hold descriptor 3: closing an end after moving the other onto 3
            // would close the report's end, and the window's X connection would be given 3 instead.
            if (pipeFds[0] != kReportFd)
                close(pipeFds[0]);
            if (pipeFds[1] != kReportFd) {
                dup2(pipeFds[1], kReportFd);
                close(pipeFds[1]);
            }
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    Run run;
    bool reported = false;
    if (report) {
        close(pipeFds[1]);
        char byte = 0;
        reported = read(pipeFds[0], &byte, 1) == 1;
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return {.failure = "cannot start or wait for the launch"};
    if (report)
        close(pipeFds[0]);
    else
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKilobytes = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && (!report || reported);
    if (WIFSIGNALED(status))
        run.failure = "the launch ended by signal " + std::to_string(WTERMSIG(status));
    else if (!run.ok)
        run.failure = report && !reported ? "the launch told of no frame (exit status " +
                                                std::to_string(WEXITSTATUS(status)) + ")"
                                          : "the launch failed with exit status " + std::to_string(WEXITSTATUS(status));
    return run;
}

void timeLaunches(benchmark::State& state, const std::vector<std::string>& arguments, bool report) {
    const core::TemporaryFolder home;
    if (const Run first = runProcess(arguments, home.path(), report); !first.ok)
        return state.SkipWithError(first.failure.c_str());
    long peak = 0;
    for (auto _ : state) {
        const Run run = runProcess(arguments, home.path(), report);
        if (!run.ok)
            return state.SkipWithError(run.failure.c_str());
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakKilobytes);
    }
    state.counters["peak_MB"] = double(peak) / 1024;
}

void BM_LaunchToHeadlessScreenshot(benchmark::State& state) {
    const core::TemporaryFolder folder;
    timeLaunches(state,
                 {ZEMBRIX_GAME_PROGRAM, "--headless", "--device", deviceName(state), "--scale",
                  std::to_string(state.range(1)), "--screenshot", (folder.path() / "shot.png").string()},
                 false);
}
BENCHMARK(BM_LaunchToHeadlessScreenshot)
    ->Args({1, 1})
    ->Args({0, 2})
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// A connection to the display, through Xlib opened here only: the launched program must load its
// libraries as the game does.
class DisplayConnection {
public:
    DisplayConnection() {
        m_xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        auto open = m_xlib ? reinterpret_cast<void* (*)(const char*)>(dlsym(m_xlib, "XOpenDisplay")) : nullptr;
        m_display = open ? open(nullptr) : nullptr;
    }
    ~DisplayConnection() {
        if (m_display)
            reinterpret_cast<int (*)(void*)>(dlsym(m_xlib, "XCloseDisplay"))(m_display);
        if (m_xlib)
            dlclose(m_xlib);
    }
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    explicit operator bool() const { return m_display; }

private:
    void* m_xlib = nullptr;
    void* m_display = nullptr;
};

void BM_LaunchToFirstWindowFrame(benchmark::State& state) {
    if (!std::getenv("DISPLAY"))
        return state.SkipWithError("no display: run under xvfb-run");
    const DisplayConnection keptOpen;
    if (!keptOpen)
        return state.SkipWithError("cannot connect to the display");
    timeLaunches(state,
                 {"/proc/self/exe", std::string(kWindowMode), deviceName(state), std::to_string(state.range(1))},
                 true);
}
BENCHMARK(BM_LaunchToFirstWindowFrame)
    ->Args({1, 1})
    ->Args({0, 2})
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// The window mode: opens the window while it starts the game, as `zembrix` does, and once the first
// frame it draws is on the screen, tells on descriptor 3 and ends.
int showFirstWindowFrame(std::string_view device, std::string_view scale) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::unique_ptr<host::WindowHost> opening = host::WindowHost::start(
        {device == "tablet" ? ui::Idiom::Tablet : ui::Idiom::Phone, scale == "2" ? 2.0f : 1.0f},
        core::SteadyClock::shared());
    host::WindowHost& window = *opening;
    zm::installBundle();
    zm::installProblemSets();
    zm::AppDelegate::Configuration configuration;
    configuration.makeProblemSetStore = [] { return zm::QVDocumentDataController::create(); };
    zm::AppDelegate game(std::move(configuration));
    game.application(window.application(), {});
    // Handlers of one phase run in the order they came: this one after the application has drawn and
    // shown the frame.
    bool told = false;
    window.loop().addFrameHandler(core::FramePhase::Render, [&](core::TimePoint) {
        if (told || window.application().window().needsDisplay())
            return;
        const char shown = 1;
        told = write(kReportFd, &shown, 1) == 1;
        close(kReportFd);
        window.quit();
    });
    return window.run() && told ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && argv[1] == kWindowMode)
        return showFirstWindowFrame(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
