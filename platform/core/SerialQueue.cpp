#include "platform/core/DispatchQueue.h"
#include "platform/core/QueueIdentity.h"
#include "platform/core/Thread.h"
#include "platform/core/ThreadQueueLabels.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace core {
namespace {

class SerialQueue final : public DispatchQueue {
public:
    explicit SerialQueue(std::string label)
        : DispatchQueue(std::move(label))
        , m_state(std::make_shared<State>()) {}

    ~SerialQueue() override {
        std::unique_lock lock(m_state->mutex);
        m_state->closing = true;
        m_state->changed.notify_all();
        if (!m_thread.joinable())
            return;
        // The last owner may let go of the queue from one of its own closures.
        const bool onOwnThread = isCurrent();
        lock.unlock();
        if (onOwnThread)
            m_thread.detach();
        else
            m_thread.join();
    }

    void async(Work work) override {
        std::lock_guard lock(m_state->mutex);
        m_state->work.push_back(std::move(work));
        if (!m_thread.joinable())
            m_thread = Thread(label(), [state = m_state, label = label()] { run(*state, label); });
        m_state->changed.notify_one();
    }

    bool isCurrent() const override { return QueueIdentity::current() == m_state.get(); }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<Work> work;
        bool closing = false;
    };

    static void run(State& state, const std::string& label) {
        QueueIdentity::Scope scope(&state);
        const ThreadQueueLabels::Scope published(label);
        std::unique_lock lock(state.mutex);
        for (;;) {
            state.changed.wait(lock, [&] { return !state.work.empty() || state.closing; });
            if (state.work.empty())
                return;
            Work next = std::move(state.work.front());
            state.work.pop_front();
            lock.unlock();
            next();
            next = nullptr;
            lock.lock();
        }
    }

    // Shared with the worker thread, which may outlive the queue when detached.
    std::shared_ptr<State> m_state;
    Thread m_thread;
};

} // namespace

std::shared_ptr<DispatchQueue> DispatchQueue::serial(std::string label) {
    return std::make_shared<SerialQueue>(std::move(label));
}

} // namespace core
