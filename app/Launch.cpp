#include "app/Launch.h"

#include "crashlog/Crashlog.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Files.h"
#include "platform/core/SteadyClock.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Png.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/WindowHost.h"
#include "platform/ui/MailComposer.h"
#include "problemsets/ProblemSetClasses.h"
#include "problemsets/store/QVDocumentDataController.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/Bundle.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>
#include <string_view>

namespace zm {

namespace {

// Game time given to the opening animations before a screenshot is taken.
constexpr double kSettleSeconds = 1.0;
// How long, at most, a headless run that found a crash of the run before waits for its report to be
// sent (real time: the service answers in it).
constexpr auto kCrashReportPatience = std::chrono::seconds(20);

core::Status writePng(const gfx::Image& image, const std::string& file) {
    const std::vector<std::uint8_t> png = gfx::encodePng(image);
    return core::writeFileAtomically(file,
                                     std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
}

int fail(const core::Error& error) {
    std::cerr << "zembrix: " << error.description << "\n";
    return 1;
}

// Starts the game in the host's application; the delegate serves the screens for as long as it lives.
std::unique_ptr<AppDelegate> startGame(ui::Application& application) {
    installBundle();
    installProblemSets();
    AppDelegate::Configuration configuration;
    configuration.credentials = ServiceCredentials::fromEnvironment(std::getenv);
    configuration.makeProblemSetStore = [] { return QVDocumentDataController::create(); };
    auto delegate = std::make_unique<AppDelegate>(std::move(configuration));
    delegate->application(application, {});
    return delegate;
}

// A headless run is over in moments of real time. When it found a crash of the run before and a
// crash service is named, it keeps the game going, game time moving a little ahead of real time, until
// the report has been sent or patience runs out.
void awaitCrashReport(host::HeadlessHost& host) {
    Crashlog& crashlog = Crashlog::sharedInstance();
    crashlog.queue()->sync([] {});
    if (!crashlog.lastSessionWasCrash() || !crashlog.client())
        return;
    const auto deadline = std::chrono::steady_clock::now() + kCrashReportPatience;
    while (!crashlog.hasCompletedSubmissions() && std::chrono::steady_clock::now() < deadline) {
        host.advance(0.1);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!crashlog.hasCompletedSubmissions())
        std::cerr << "zembrix: the last crash's report could not be sent yet; it waits for the next start\n";
}

int launchHeadless(const ui::Device& device, const LaunchOptions& options) {
    host::HeadlessHost host(device);
    const std::unique_ptr<AppDelegate> game = startGame(host.application());
    host.settle(kSettleSeconds);
    awaitCrashReport(host);
    if (options.screenshot) {
        if (const core::Status written = host.writeScreenshot(*options.screenshot); !written)
            return fail(written.error());
    }
    if (options.crash)
        Crashlog::crash();
    host.application().terminate();
    return 0;
}

int launchWindow(const ui::Device& device, const LaunchOptions& options) {
    // The window opens while the game starts and draws its first frame.
    const std::unique_ptr<host::WindowHost> window = host::WindowHost::start(device, core::SteadyClock::shared());
    // Feedback mail goes to the desktop's mail program.
    ui::MailComposer::setTransport(std::make_shared<ui::MailtoTransport>());
    const std::unique_ptr<AppDelegate> game = startGame(window->application());
    int status = 0;
    if (options.screenshot || options.crash) {
        core::DispatchQueue::main()->after(core::fromSeconds(kSettleSeconds), [&] {
            if (options.screenshot) {
                const auto screen = window->readScreen();
                const core::Status written =
                    screen ? writePng(**screen, *options.screenshot) : core::Status(screen.error());
                if (!written)
                    status = fail(written.error());
            }
            if (options.crash)
                Crashlog::crash();
            window->quit();
        });
    }
    if (const core::Status ran = window->run(); !ran)
        return fail(ran.error());
    return status;
}

} // namespace

int launch(const LaunchOptions& options) {
    const ui::Device device{options.device, options.scale};
    if (options.headless)
        return launchHeadless(device, options);
    return launchWindow(device, options);
}

} // namespace zm
