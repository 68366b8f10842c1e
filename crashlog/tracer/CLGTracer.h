#pragma once

#include "platform/core/NotificationCenter.h"

#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace core {
class DispatchQueue;
class Timer;
} // namespace core

namespace zm {

// Follows the application's life cycle, the device, the windows and the keyboard, and samples the
// process once a minute, writing each event as a debug line ("[Crashlog] Tracer: ..."). It opens a
// trace file for the lines to come but writes nothing into it yet. Nothing in the program makes one;
// it is there to be switched on.
//
// Notifications arrive on the posting thread and are handed to the tracer's own serial queue, where the
// sampling timer fires as well, so its lines never interleave.
class CLGTracer {
public:
    // Opens (creating or emptying) the trace file at `path`, then observes the notifications of
    // `center` and starts sampling: the first sample at once, then every 60 s on the current clock.
    // Nothing, and nothing left observing, when the file cannot be opened.
    static std::unique_ptr<CLGTracer> initWithPath(const std::filesystem::path& path,
                                                   core::NotificationCenter& center = core::NotificationCenter::defaultCenter());
    // Stops observing and sampling, lets the lines already handed on be written, closes the file.
    ~CLGTracer();
    CLGTracer(const CLGTracer&) = delete;
    CLGTracer& operator=(const CLGTracer&) = delete;

    // The names observed, in the order they are registered; the entered-background notification is
    // registered twice, so it is traced twice.
    static std::span<const std::string_view> observedNotificationNames();

    // Hands `notification` on to the tracer's queue.
    void handleInitialNotification(const core::Notification& notification);
    // On the queue: the line of a notification.
    void handleNotification(const core::Notification& notification);
    // On the queue: the line of a sample.
    void sample();

    // The queue every line is written on (tests wait on it).
    const std::shared_ptr<core::DispatchQueue>& queue() const { return m_queue; }

    struct Private;
    CLGTracer(Private, int fileDescriptor, std::shared_ptr<core::DispatchQueue> queue);

private:
    void observe(core::NotificationCenter& center);
    void startSampling();

    int m_fileDescriptor = -1;
    std::shared_ptr<core::DispatchQueue> m_queue;
    std::shared_ptr<core::Timer> m_samplingTimer;
    std::vector<core::NotificationCenter::Observation> m_observations;
};

} // namespace zm
