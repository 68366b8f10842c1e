#include "platform/core/MainLoop.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/ManualClock.h"
#include "platform/core/OperationQueue.h"
#include "platform/core/SteadyClock.h"
#include "platform/core/Timer.h"

#include <cassert>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace core {

// The loop's work, shared with its queue so that work posted after the loop is gone is simply dropped.
struct MainLoop::Jobs {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<DispatchQueue::Work> work;
    bool closed = false;
    bool quitRequested = false;
    std::thread::id thread;
};

namespace {

class MainQueue final : public DispatchQueue {
public:
    explicit MainQueue(std::shared_ptr<MainLoop::Jobs> jobs)
        : DispatchQueue("main")
        , m_jobs(std::move(jobs)) {}

    void async(Work work) override {
        std::unique_lock lock(m_jobs->mutex);
        if (m_jobs->closed) {
            lock.unlock();
            work = nullptr;
            return;
        }
        m_jobs->work.push_back(std::move(work));
        m_jobs->changed.notify_one();
    }

    bool isCurrent() const override { return std::this_thread::get_id() == m_jobs->thread; }

private:
    std::shared_ptr<MainLoop::Jobs> m_jobs;
};

std::mutex s_installedMutex;
MainLoop* s_installed = nullptr; // guarded by s_installedMutex

// What DispatchQueue::main() answers while no loop runs: a queue that drops its work.
const std::shared_ptr<DispatchQueue>& closedMainQueue() {
    static const auto* queue = new std::shared_ptr<DispatchQueue>([] {
        auto jobs = std::make_shared<MainLoop::Jobs>();
        jobs->closed = true;
        return std::make_shared<MainQueue>(std::move(jobs));
    }());
    return *queue;
}

} // namespace

std::shared_ptr<Clock> currentClock() {
    std::lock_guard lock(s_installedMutex);
    if (s_installed)
        return s_installed->clock();
    return SteadyClock::shared();
}

Date currentDate() {
    return currentClock()->date();
}

std::shared_ptr<DispatchQueue> DispatchQueue::main() {
    std::lock_guard lock(s_installedMutex);
    if (s_installed)
        return s_installed->queue();
    return closedMainQueue();
}

std::shared_ptr<OperationQueue> OperationQueue::main() {
    std::lock_guard lock(s_installedMutex);
    if (s_installed)
        return s_installed->operationQueue();
    static const auto* queue =
        new std::shared_ptr<OperationQueue>(std::make_shared<OperationQueue>(closedMainQueue()));
    return *queue;
}

std::shared_ptr<DispatchQueue> MainLoop::defaultOperationTarget() {
    {
        std::lock_guard lock(s_installedMutex);
        if (s_installed && s_installed->cooperativeOperationQueues())
            return s_installed->queue();
    }
    return DispatchQueue::global();
}

MainLoop::MainLoop(std::shared_ptr<Clock> clock)
    : m_clock(std::move(clock))
    , m_manualClock(dynamic_cast<ManualClock*>(m_clock.get()))
    , m_jobs(std::make_shared<Jobs>())
    , m_queue(std::make_shared<MainQueue>(m_jobs))
    , m_operationQueue(std::make_shared<OperationQueue>(m_queue)) {
    m_jobs->thread = std::this_thread::get_id();
    std::lock_guard lock(s_installedMutex);
    assert(!s_installed && "only one main loop runs at a time");
    s_installed = this;
}

MainLoop::~MainLoop() {
    if (m_frameTimer)
        m_frameTimer->invalidate();
    {
        std::lock_guard lock(s_installedMutex);
        if (s_installed == this)
            s_installed = nullptr;
    }
    std::deque<DispatchQueue::Work> dropped;
    {
        std::lock_guard lock(m_jobs->mutex);
        m_jobs->closed = true;
        dropped.swap(m_jobs->work);
    }
}

MainLoop& MainLoop::current() {
    std::lock_guard lock(s_installedMutex);
    assert(s_installed && "no main loop is running");
    return *s_installed;
}

bool MainLoop::runOne() {
    DispatchQueue::Work next;
    {
        std::lock_guard lock(m_jobs->mutex);
        if (m_jobs->work.empty())
            return false;
        next = std::move(m_jobs->work.front());
        m_jobs->work.pop_front();
    }
    next();
    return true;
}

bool MainLoop::fireDueTimer(TimePoint limit) {
    return m_manualClock && m_manualClock->fireNext(limit);
}

void MainLoop::runUntilIdle() {
    assert(m_queue->isCurrent());
    while (runOne() || fireDueTimer(m_clock->now())) {
    }
}

void MainLoop::advanceBy(Duration duration) {
    assert(m_manualClock && "advanceBy needs a manual clock");
    if (!m_manualClock)
        return;
    const TimePoint target = m_clock->now() + duration;
    runUntilIdle();
    while (fireDueTimer(target))
        runUntilIdle();
    m_manualClock->advanceTo(target);
    runUntilIdle();
}

void MainLoop::runForever() {
    assert(m_queue->isCurrent());
    for (;;) {
        {
            std::lock_guard lock(m_jobs->mutex);
            if (m_jobs->quitRequested) {
                m_jobs->quitRequested = false;
                return;
            }
        }
        if (runOne() || fireDueTimer(m_clock->now()))
            continue;
        std::unique_lock lock(m_jobs->mutex);
        m_jobs->changed.wait(lock, [&] { return !m_jobs->work.empty() || m_jobs->quitRequested; });
    }
}

void MainLoop::quit() {
    std::lock_guard lock(m_jobs->mutex);
    m_jobs->quitRequested = true;
    m_jobs->changed.notify_all();
}

MainLoop::FrameHandlerId MainLoop::addFrameHandler(FramePhase phase, FrameHandler handler) {
    const FrameHandlerId id = m_nextFrameHandlerId++;
    m_frameHandlers.emplace(std::pair{phase, id}, std::make_shared<FrameHandler>(std::move(handler)));
    updateFrameTimer();
    return id;
}

void MainLoop::removeFrameHandler(FrameHandlerId id) {
    std::erase_if(m_frameHandlers, [id](const auto& entry) { return entry.first.second == id; });
    updateFrameTimer();
}

void MainLoop::setFrameInterval(Duration interval) {
    m_frameInterval = interval;
    if (m_frameTimer) {
        m_frameTimer->invalidate();
        m_frameTimer = nullptr;
    }
    updateFrameTimer();
}

void MainLoop::updateFrameTimer() {
    if (m_frameHandlers.empty() && m_frameTimer) {
        m_frameTimer->invalidate();
        m_frameTimer = nullptr;
    } else if (!m_frameHandlers.empty() && !m_frameTimer) {
        m_frameTimer = Timer::schedule(
            m_frameInterval, Timer::Repeat::Repeating, [this](Timer&) { runFrame(m_clock->now()); }, m_queue);
    }
}

void MainLoop::runFrame(TimePoint frameTime) {
    // A handler may add or remove handlers; removed ones are not called any more in this frame.
    std::vector<std::pair<FramePhase, FrameHandlerId>> keys;
    keys.reserve(m_frameHandlers.size());
    for (const auto& entry : m_frameHandlers)
        keys.push_back(entry.first);
    for (const auto& key : keys) {
        const auto found = m_frameHandlers.find(key);
        if (found == m_frameHandlers.end())
            continue;
        const std::shared_ptr<FrameHandler> handler = found->second;
        (*handler)(frameTime);
    }
}

} // namespace core
