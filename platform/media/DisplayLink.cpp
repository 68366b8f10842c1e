#include "platform/media/DisplayLink.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/Timer.h"

namespace media {

std::shared_ptr<DisplayLink> DisplayLink::create(Callback callback, std::shared_ptr<core::DispatchQueue> queue) {
    if (!callback || !queue)
        return nullptr;
    return std::shared_ptr<DisplayLink>(new DisplayLink(std::move(callback), std::move(queue)));
}

DisplayLink::DisplayLink(Callback callback, std::shared_ptr<core::DispatchQueue> queue)
    : m_callback(std::move(callback))
    , m_queue(std::move(queue))
    , m_clock(core::currentClock()) {}

DisplayLink::~DisplayLink() {
    invalidate();
}

bool DisplayLink::isPaused() const {
    const std::lock_guard lock(m_mutex);
    return !m_timer;
}

void DisplayLink::setPaused(bool paused) {
    const std::lock_guard lock(m_mutex);
    if (paused || m_invalid) {
        if (m_timer)
            m_timer->invalidate();
        m_timer.reset();
    } else if (!m_timer) {
        m_timer = core::Timer::schedule(
            kRefreshInterval, core::Timer::Repeat::Repeating,
            [weak = weak_from_this()](core::Timer& timer) {
                const auto link = weak.lock();
                if (!link) {
                    timer.invalidate();
                    return;
                }
                {
                    const std::lock_guard lock(link->m_mutex);
                    if (link->m_timer.get() != &timer)
                        return;
                    link->m_timestamp = link->m_clock->now();
                }
                link->m_callback(*link);
            },
            m_queue);
    }
}

void DisplayLink::invalidate() {
    const std::lock_guard lock(m_mutex);
    m_invalid = true;
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
}

core::TimePoint DisplayLink::timestamp() const {
    const std::lock_guard lock(m_mutex);
    return m_timestamp;
}

} // namespace media
