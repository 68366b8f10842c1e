#include "shell/app/AppDelegate.h"

#include "analytics/Telemetry.h"
#include "crashlog/Crashlog.h"
#include "platform/core/Log.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Window.h"
#include "shell/app/CrashReportAlertPresenter.h"
#include "shell/app/ProblemSetStore.h"
#include "shell/container/ContainerViewController.h"

#include <cassert>

namespace zm {

namespace {

constexpr std::string_view kFirstRunKey = "firstRun";

AppDelegate* g_shared = nullptr;

// The process's crash reporter, asking the player with the alert view before it sends when the
// service wants that.
void startProcessCrashReporting(const std::string& apiKey) {
    // The reporter asks through it for as long as the process lives.
    static CrashReportAlertPresenter* const presenter = new CrashReportAlertPresenter;
    Crashlog::sharedInstance().setAlertPresenter(presenter);
    Crashlog::startWithAPIKey(apiKey);
}

} // namespace

AppDelegate::AppDelegate(Configuration configuration)
    : m_configuration(std::move(configuration)) {
    assert(!g_shared && "one application delegate at a time");
    if (!m_configuration.startCrashReporting)
        m_configuration.startCrashReporting = startProcessCrashReporting;
    g_shared = this;
}

AppDelegate::~AppDelegate() {
    g_shared = nullptr;
}

AppDelegate* AppDelegate::shared() {
    return g_shared;
}

bool AppDelegate::application(ui::Application& application, const core::Dictionary& launchOptions) {
    m_application = &application;
    startServices(launchOptions);

    application.window().setRootViewController(ContainerViewController::create());
    createSounds();

    if (isFirstRun()) {
        Telemetry::event("newUser");
        Telemetry::event(ui::Device::current().isTablet() ? "iPad" : "iPhoneOriPod");
    }
    return true;
}

void AppDelegate::startServices(const core::Dictionary& launchOptions) {
    const ServiceCredentials& credentials = m_configuration.credentials;
    if (credentials.hasCrashlog())
        m_configuration.startCrashReporting(credentials.crashlogAPIKey);
    else
        core::log(core::LogLevel::Info, "crash reporting is off: no API key is configured");
    if (credentials.hasTelemetry())
        Telemetry::startSession(credentials.telemetryAccount, credentials.telemetrySecret, launchOptions);
    else
        core::log(core::LogLevel::Info, "analytics are off: no account is configured");
}

bool AppDelegate::isFirstRun() {
    core::UserDefaults& defaults = core::UserDefaults::standard();
    if (defaults.boolForKey(kFirstRunKey))
        return false;
    defaults.setBool(true, kFirstRunKey);
    defaults.synchronize();
    return true;
}

void AppDelegate::createSounds() {
    if (m_application)
        m_alertSoundID = m_application->soundPlayer().load("alert");
}

void AppDelegate::playAlert() {
    if (m_application)
        m_application->soundPlayer().play(m_alertSoundID);
}

void AppDelegate::loadProblems() {
    if (!m_dataController && m_configuration.makeProblemSetStore)
        m_dataController = m_configuration.makeProblemSetStore();
}

std::shared_ptr<ContainerViewController> AppDelegate::containerVC() const {
    if (!m_application)
        return nullptr;
    return std::dynamic_pointer_cast<ContainerViewController>(m_application->window().rootViewController());
}

} // namespace zm
