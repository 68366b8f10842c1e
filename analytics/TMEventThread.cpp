#include "analytics/TMEventThread.h"

#include "analytics/TMBatchEvent.h"
#include "analytics/TMDB.h"
#include "platform/core/MainLoop.h"
#include "platform/core/Random.h"

#include <algorithm>

namespace zm {

namespace {

// How many waiting items one turn takes at most.
constexpr size_t kMostItemsPerTurn = 1000;

double now() {
    return core::currentDate().secondsSince1970;
}

std::shared_ptr<TMSAPI> recordOf(const TMQueueItem& item) {
    const auto* record = std::get_if<std::shared_ptr<TMSAPI>>(&item);
    return record ? *record : nullptr;
}

bool flushesBuffer(TMSAPI& record) {
    const TMEvent* event = record.event();
    return event && (event->name() == "__iap__" || event->name() == "__iapauto__" || event->name() == "end_session");
}

} // namespace

TMAPIThread::TMAPIThread(Queue<TMQueueItem>& finished)
    : m_queue(core::currentClock())
    , m_finished(finished) {}

TMAPIThread::~TMAPIThread() {
    {
        auto lock = m_sleep.lock();
        m_stopping = true;
        m_sleep.notifyAll();
    }
    m_queue.putback(TMStop{});
    if (m_thread.joinable())
        m_thread.join();
}

void TMAPIThread::start() {
    m_thread = core::Thread("TMAPIThread", [this] { main(); });
}

void TMAPIThread::main() {
    double backOff = kFirstBackOff;
    for (;;) {
        TMQueueItem item = m_queue.newPull();
        if (std::holds_alternative<TMStop>(item))
            return;
        const std::shared_ptr<TMSAPI> record = recordOf(item);
        TMAPIEvent* api = record ? record->apiEvent() : nullptr;
        if (api && api->send() < 0) {
            m_queue.putback(std::move(item));
            backOff *= 1 + core::randomU32() / 4294967296.0;
            core::Clock& clock = *m_queue.clock();
            auto lock = m_sleep.lock();
            if (m_sleep.waitUntil(lock, clock, clock.now() + core::fromSeconds(backOff), [&] { return m_stopping; }))
                return;
            backOff = std::min(backOff * 2, kLongestBackOff);
        } else {
            m_finished.push(std::move(item));
            backOff = kFirstBackOff;
        }
    }
}

TMEventThread::TMEventThread(std::shared_ptr<TMDB> database)
    : m_queue(core::currentClock())
    , m_database(std::move(database))
    , m_apiThread(m_queue)
    , m_heartbeatTimestamp(now())
    , m_batchTimestamp(now()) {
    m_apiThread.start();
}

TMEventThread::~TMEventThread() {
    m_queue.putback(TMStop{});
    if (m_thread.joinable())
        m_thread.join();
}

void TMEventThread::start() {
    m_thread = core::Thread("TMEventThread", [this] { main(); });
}

void TMEventThread::main() {
    int state = 0;
    while (!m_stopping) {
        switch (state) {
        case 1: state = waitForEvents(); break;
        case 2: state = sendEvents(); break;
        case 3: state = waitForResponse(); break;
        default: state = recoverEvents(); break;
        }
    }
}

double TMEventThread::currentTimeout() const {
    const double present = now();
    // Heartbeats belong to a session: without one, the deadline of the set-up moment would make every
    // wait return at once and the thread spin.
    double timeout = m_currentSession ? m_heartbeatTimestamp - present : HUGE_VAL;
    if (batching())
        timeout = std::min(timeout, static_cast<double>(static_cast<float>(m_batchTimestamp - present)));
    return timeout;
}

int TMEventThread::recoverEvents() {
    for (auto& session : m_database->sessions())
        m_ready.push_back(std::move(session));
    for (auto& event : m_database->events())
        m_buffered.push_back(std::move(event));
    return 1;
}

bool TMEventThread::takeWaiting(TMQueueItem first, std::vector<TMQueueItem>& items) {
    items.push_back(std::move(first));
    while (items.size() < kMostItemsPerTurn) {
        auto next = m_queue.newPullWithTimeout(0);
        if (!next)
            break;
        items.push_back(std::move(*next));
    }
    // New events are written together; each table keeps the order of arrival.
    std::vector<TMEvent*> newEvents;
    for (const TMQueueItem& item : items) {
        if (std::holds_alternative<TMStop>(item))
            m_stopping = true;
        const auto record = recordOf(item);
        TMAPIDatabase* stored = record ? record->apiDatabase() : nullptr;
        if (!stored || !stored->writable() || stored->rowId() != 0 ||
            m_sent.contains(record.get()))
            continue;
        if (record->event() && record->session() == nullptr)
            newEvents.push_back(record->event());
        else
            stored->writeToDatabase(*m_database);
    }
    m_database->writeEvents(newEvents);
    return !m_stopping;
}

void TMEventThread::moveBufferedToReady() {
    m_ready.insert(m_ready.end(), m_buffered.begin(), m_buffered.end());
    m_buffered.clear();
}

void TMEventThread::handleArrival(TMQueueItem& item, bool waitingForRecords) {
    if (const auto* word = std::get_if<std::string>(&item)) {
        if (*word == "flush")
            moveBufferedToReady();
        return;
    }
    const std::shared_ptr<TMSAPI> record = recordOf(item);
    if (!record)
        return;
    if (TMSession* session = record->session()) {
        m_currentSession = std::shared_ptr<TMSession>(record, session);
        m_heartbeatInterval = kFirstHeartbeat;
        m_heartbeatTimestamp = now() + kFirstHeartbeat;
        if (waitingForRecords && batching())
            m_batchTimestamp = now() + m_batchInterval;
        m_ready.insert(m_ready.begin(), record);
    } else if (flushesBuffer(*record)) {
        m_buffered.push_back(record);
        moveBufferedToReady();
    } else if (m_buffered.size() < static_cast<size_t>(std::max(0, m_maximumBufferSize.load()))) {
        m_buffered.push_back(record);
    }
    // Otherwise dropped; its stored row stays for the next start.
}

int TMEventThread::waitForEvents() {
    // Records already waiting to go (read back at start-up) are not held up by the wait.
    const bool waiting = !m_ready.empty() || (!batching() && !m_buffered.empty());
    if (auto item = m_queue.newPullWithTimeout(waiting ? 0 : currentTimeout())) {
        std::vector<TMQueueItem> items;
        if (!takeWaiting(std::move(*item), items))
            return 1;
        for (TMQueueItem& arrived : items)
            handleArrival(arrived, true);
    }
    const double present = now();
    if (m_currentSession && m_heartbeatTimestamp - present <= 0) {
        auto heartbeat = std::make_shared<TMEvent>(
            m_currentSession->key(), m_currentSession->secret(),
            core::Dictionary{{"sessionId", m_currentSession->sessionId()},
                             {"delta", present - m_currentSession->timestamp()},
                             {"name", "heartbeat"},
                             {"arguments", "{}"}});
        m_ready.insert(m_ready.begin(), heartbeat);
        m_heartbeatInterval = std::min(m_heartbeatInterval * 2, kLongestHeartbeat);
        m_heartbeatTimestamp = present + m_heartbeatInterval;
    }
    if (m_currentSession && m_batchesEvents && m_batchInterval != 0 && m_batchTimestamp - present <= 0) {
        moveBufferedToReady();
        m_batchTimestamp = present + m_batchInterval;
        return m_ready.empty() ? 1 : 2;
    }
    if (!m_batchesEvents || m_batchInterval == 0)
        moveBufferedToReady();
    return m_ready.empty() ? 1 : 2;
}

void TMEventThread::handOff(const std::shared_ptr<TMSAPI>& record) {
    m_sent.emplace(record.get(), record);
    m_apiThread.eventQueue().push(record);
}

int TMEventThread::sendEvents() {
    if (m_ready.empty())
        return 1;
    if (batching() && m_currentSession) {
        std::shared_ptr<TMBatchEvent> batch;
        const auto openBatch = [&] {
            batch = std::make_shared<TMBatchEvent>(
                m_currentSession->key(), m_currentSession->secret(),
                core::Dictionary{{"sessionId", m_currentSession->sessionId()},
                                 {"delta", now() - m_currentSession->timestamp()},
                                 {"name", "__batchevent__"},
                                 {"arguments", "{}"}});
            batch->setNoCompression(m_noCompression);
        };
        for (const auto& record : m_ready) {
            TMAPIEvent* api = record->apiEvent();
            if (!api || !api->batchable()) {
                handOff(record);
                continue;
            }
            if (!batch)
                openBatch();
            if (!batch->addEvent(record)) {
                if (!batch->events().empty())
                    handOff(batch);
                batch = batch->copyEmpty();
                batch->addEvent(record); // one that fits no batch leaves; its row stays
            }
        }
        if (batch && !batch->events().empty())
            handOff(batch);
    } else {
        for (const auto& record : m_ready)
            handOff(record);
    }
    m_ready.clear();
    return m_sent.empty() ? 1 : 3;
}

int TMEventThread::waitForResponse() {
    std::vector<TMQueueItem> items;
    if (!takeWaiting(m_queue.newPull(), items))
        return 3;
    for (TMQueueItem& item : items) {
        const std::shared_ptr<TMSAPI> record = recordOf(item);
        const auto sent = record ? m_sent.find(record.get()) : m_sent.end();
        if (sent != m_sent.end()) {
            TMAPIDatabase* stored = record->apiDatabase();
            if (stored && stored->deletable() && stored->rowId() != 0)
                stored->deleteFromDatabase(*m_database);
            m_sent.erase(sent);
        } else {
            handleArrival(item, false);
        }
    }
    if (!m_batchesEvents || m_batchInterval == 0)
        moveBufferedToReady();
    if (!m_ready.empty())
        return 2;
    return m_sent.empty() ? 1 : 3;
}

} // namespace zm
