#pragma once

#include "platform/core/Clock.h"

#include <functional>
#include <memory>
#include <mutex>

namespace core {
class DispatchQueue;
class Timer;
} // namespace core

namespace media {

// A timer at the display's refresh rate (60 Hz) on the current clock, for whoever must fetch a picture
// for every refresh (a movie being played). It starts paused.
//
// Thread safety: every operation may be called from any thread; the callback runs on the link's queue.
class DisplayLink : public std::enable_shared_from_this<DisplayLink> {
public:
    using Callback = std::function<void(DisplayLink& link)>;

    static constexpr core::Duration kRefreshInterval{16'666'667};

    static std::shared_ptr<DisplayLink> create(Callback callback, std::shared_ptr<core::DispatchQueue> queue);
    ~DisplayLink();
    DisplayLink(const DisplayLink&) = delete;
    DisplayLink& operator=(const DisplayLink&) = delete;

    bool isPaused() const;
    void setPaused(bool paused);
    // Stops the link for good.
    void invalidate();

    // When the refresh being handled came, and how long until the next.
    core::TimePoint timestamp() const;
    core::Duration duration() const { return kRefreshInterval; }

private:
    DisplayLink(Callback callback, std::shared_ptr<core::DispatchQueue> queue);

    const Callback m_callback;
    const std::shared_ptr<core::DispatchQueue> m_queue;
    const std::shared_ptr<core::Clock> m_clock;
    mutable std::mutex m_mutex; // guards the two below
    std::shared_ptr<core::Timer> m_timer; // while running
    core::TimePoint m_timestamp;
    bool m_invalid = false;
};

} // namespace media
