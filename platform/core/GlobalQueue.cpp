#include "platform/core/DispatchQueue.h"
#include "platform/core/QueueIdentity.h"
#include "platform/core/Thread.h"
#include "platform/core/ThreadQueueLabels.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace core {
namespace {

// A fixed pool of workers, started with the first work. It lives as long as the process, so its
// workers are never joined.
class GlobalQueue final : public DispatchQueue {
public:
    GlobalQueue()
        : DispatchQueue("global") {}

    void async(Work work) override {
        std::lock_guard lock(m_mutex);
        m_work.push_back(std::move(work));
        if (!m_started) {
            m_started = true;
            const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 4u, 16u);
            for (unsigned i = 0; i < workers; ++i)
                Thread::detach("dispatch.global", [this] { run(); });
        }
        m_changed.notify_one();
    }

    bool isCurrent() const override { return QueueIdentity::current() == this; }

private:
    void run() {
        QueueIdentity::Scope scope(this);
        const ThreadQueueLabels::Scope published(label());
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] { return !m_work.empty(); });
            Work next = std::move(m_work.front());
            m_work.pop_front();
            lock.unlock();
            next();
            next = nullptr;
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Work> m_work;
    bool m_started = false;
};

} // namespace

std::shared_ptr<DispatchQueue> DispatchQueue::global() {
    // Never destroyed: its workers may be running while the process exits.
    static const auto* queue = new std::shared_ptr<DispatchQueue>(std::make_shared<GlobalQueue>());
    return *queue;
}

} // namespace core
