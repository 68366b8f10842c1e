#include "crashlog/tracer/CLGTracer.h"

#include "crashlog/log/CLGLog.h"
#include "platform/core/ApplicationEvents.h"
#include "platform/core/DeviceEvents.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Timer.h"

#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace zm {

namespace {

using namespace std::chrono_literals;

constexpr core::Duration kSamplingInterval = 60s;

// The platform's names where it posts them; the others are named in its manner, for a platform that
// one day does. Windows and the keyboard announce no frame changes here, so those two are left out.
constexpr std::string_view kObservedNames[] = {
    core::kDeviceOrientationDidChangeNotification,
    core::kDeviceBatteryStateDidChangeNotification,
    core::kDeviceBatteryLevelDidChangeNotification,
    core::kDeviceProximityStateDidChangeNotification,
    core::kApplicationDidEnterBackgroundNotification,
    core::kApplicationDidEnterBackgroundNotification,
    core::kApplicationWillEnterForegroundNotification,
    "ApplicationProtectedDataWillBecomeUnavailable",
    "ApplicationProtectedDataDidBecomeAvailable",
    "ApplicationDidFinishLaunching",
    core::kApplicationDidBecomeActiveNotification,
    "ApplicationWillResignActive",
    "ApplicationDidReceiveMemoryWarning",
    core::kApplicationWillTerminateNotification,
    "ApplicationSignificantTimeChange",
    "StatusBarOrientationWillChangeNotification",
    core::kStatusBarOrientationDidChangeNotification,
    "StatusBarFrameWillChangeNotification",
    "StatusBarFrameDidChangeNotification",
    "WindowDidBecomeVisibleNotification",
    "WindowDidBecomeHiddenNotification",
    "WindowDidBecomeKeyNotification",
    "WindowDidResignKeyNotification",
    "KeyboardWillShowNotification",
    "KeyboardDidShowNotification",
    "KeyboardWillHideNotification",
    "KeyboardDidHideNotification",
    "TableViewSelectionDidChangeNotification",
};

} // namespace

struct CLGTracer::Private {};

CLGTracer::CLGTracer(Private, int fileDescriptor, std::shared_ptr<core::DispatchQueue> queue)
    : m_fileDescriptor(fileDescriptor)
    , m_queue(std::move(queue)) {}

std::unique_ptr<CLGTracer> CLGTracer::initWithPath(const std::filesystem::path& path,
                                                    core::NotificationCenter& center) {
    auto queue = core::DispatchQueue::serial("com.crashlog.tracing");
    const int fileDescriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fileDescriptor < 0)
        return nullptr;
    auto tracer = std::make_unique<CLGTracer>(Private{}, fileDescriptor, std::move(queue));
    tracer->observe(center);
    tracer->startSampling();
    return tracer;
}

CLGTracer::~CLGTracer() {
    m_observations.clear();
    if (m_samplingTimer)
        m_samplingTimer->invalidate();
    // What was handed on before is written now, while the tracer still stands.
    m_queue->sync([] {});
    ::close(m_fileDescriptor);
}

std::span<const std::string_view> CLGTracer::observedNotificationNames() {
    return kObservedNames;
}

void CLGTracer::observe(core::NotificationCenter& center) {
    for (const std::string_view name : observedNotificationNames()) {
        m_observations.push_back(center.addObserver(
            std::string(name), nullptr,
            [this](const core::Notification& notification) { handleInitialNotification(notification); }));
    }
}

void CLGTracer::startSampling() {
    m_queue->async([this] { sample(); });
    m_samplingTimer = core::Timer::schedule(
        kSamplingInterval, core::Timer::Repeat::Repeating, [this](core::Timer&) { sample(); }, m_queue);
}

void CLGTracer::handleInitialNotification(const core::Notification& notification) {
    m_queue->async([this, notification] { handleNotification(notification); });
}

void CLGTracer::handleNotification(const core::Notification& notification) {
    CLGDebugLog("[Crashlog] Tracer: %s", notification.name.c_str());
}

void CLGTracer::sample() {
    CLGDebugLog("[Crashlog] Tracer: sampling");
}

} // namespace zm
