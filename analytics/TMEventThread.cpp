#include "analytics/TMEventThread.h"

#include "analytics/TMBatchEvent.h"
#include "analytics/TMDB.h"
#include "analytics/TmClock.h"
#include "analytics/TmUtils.h"
#include "platform/core/Random.h"
#include "platform/core/SteadyClock.h"

#include <algorithm>

namespace zm {

namespace {

// How many waiting items one turn takes at most.
constexpr size_t kMostItemsPerTurn = 1000;

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
    : m_queue(TmClock::shared())
    , m_finished(finished) {}

TMAPIThread::~TMAPIThread() {
    stop(core::SteadyClock::shared()->now());
}

void TMAPIThread::start() {
    m_thread = core::Thread("TMAPIThread", [this] { main(); });
}

void TMAPIThread::stop(core::TimePoint deadline) {
    {
        auto lock = m_sleep.lock();
        m_stopping = true;
        m_sleep.notifyAll();
    }
    if (!m_thread.joinable())
        return;
    m_queue.putback(TMStop{}); // wakes a wait for work
    {
        auto lock = m_sleep.lock();
        if (!m_sleep.waitUntil(lock, *core::SteadyClock::shared(), deadline, [&] { return m_ended; }))
            m_giveUp.request_stop();
    }
    m_thread.join();
}

bool TMAPIThread::stopping() {
    auto lock = m_sleep.lock();
    return m_stopping;
}

void TMAPIThread::main() {
    const TmService::StopScope giveUp(m_giveUp.get_token());
    double backOff = kFirstBackOff;
    while (!stopping()) {
        TMQueueItem item = m_queue.newPull();
        if (std::holds_alternative<TMStop>(item))
            break;
        const std::shared_ptr<TMSAPI> record = recordOf(item);
        TMAPIEvent* api = record ? record->apiEvent() : nullptr;
        if (!api || api->send() >= 0) {
            m_finished.push(std::move(item));
            backOff = kFirstBackOff;
            continue;
        }
        // Not sent: the store keeps it for the next try, or the next start.
        m_queue.putback(std::move(item));
        backOff *= 1 + core::randomU32() / 4294967296.0;
        core::Clock& clock = *m_queue.clock();
        auto lock = m_sleep.lock();
        if (m_sleep.waitUntil(lock, clock, clock.now() + core::fromSeconds(backOff), [&] { return m_stopping; }))
            break;
        backOff = std::min(backOff * 2, kLongestBackOff);
    }
    m_finished.push(TMStop{});
    auto lock = m_sleep.lock();
    m_ended = true;
    m_sleep.notifyAll();
}

TMEventThread::TMEventThread(std::shared_ptr<TMDB> database)
    : m_queue(TmClock::shared())
    , m_database(std::move(database))
    , m_apiThread(m_queue)
    , m_heartbeatTimestamp(TmClock::now())
    , m_batchTimestamp(TmClock::now()) {
    m_apiThread.start();
}

TMEventThread::~TMEventThread() {
    stop();
}

void TMEventThread::start() {
    m_thread = core::Thread("TMEventThread", [this] { main(); });
}

void TMEventThread::stop(std::chrono::milliseconds patience) {
    m_queue.closeToProducers();
    // The API thread's end comes after every record it handed back, which the event thread then sees
    // through before it ends itself.
    m_apiThread.stop(core::SteadyClock::shared()->now() + patience);
    if (m_thread.joinable())
        m_thread.join();
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
    const double present = TmClock::now();
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
    // The events are read back as there is room for them.
    m_storedFrom = 0;
    readBackStored();
    return 1;
}

std::vector<TMQueueItem> TMEventThread::takeWaiting(TMQueueItem first) {
    std::vector<TMQueueItem> items;
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
        const auto record = recordOf(item);
        TMAPIDatabase* stored = record ? record->apiDatabase() : nullptr;
        if (!stored || !stored->writable() || stored->rowId() != 0 || m_sent.contains(record.get()))
            continue;
        if (record->event() && record->session() == nullptr)
            newEvents.push_back(record->event());
        else
            stored->writeToDatabase(*m_database);
    }
    m_database->writeEvents(newEvents);
    return items;
}

void TMEventThread::moveBufferedToReady() {
    m_ready.insert(m_ready.end(), m_buffered.begin(), m_buffered.end());
    m_buffered.clear();
}

bool TMEventThread::holds(TMSAPI& record) {
    if (!m_storedFrom && heldEvents() < static_cast<size_t>(std::max(0, m_maximumBufferSize.load())))
        return true;
    // Past the bound an event waits in the store, behind those already there; one the store could not
    // take is lost.
    const TMAPIDatabase* stored = record.apiDatabase();
    if (stored && stored->rowId() > 0 && !m_storedFrom)
        m_storedFrom = stored->rowId();
    return false;
}

void TMEventThread::readBackStored() {
    const size_t most = static_cast<size_t>(std::max(0, m_maximumBufferSize.load()));
    // Read in runs rather than one row as each held event goes.
    if (!m_storedFrom || heldEvents() > most / 2)
        return;
    const size_t room = most - heldEvents();
    const auto events = m_database->events(*m_storedFrom, room);
    for (const auto& event : events) {
        m_storedFrom = event->rowId() + 1;
        m_buffered.push_back(event);
        if (flushesBuffer(*event))
            moveBufferedToReady();
    }
    if (events.size() < room)
        m_storedFrom.reset();
}

void TMEventThread::handleArrival(TMQueueItem& item, bool waitingForRecords) {
    if (const auto* word = std::get_if<std::string>(&item)) {
        if (*word == "flush")
            moveBufferedToReady();
        return;
    }
    if (std::holds_alternative<TMStop>(item)) {
        m_stopping = true;
        return;
    }
    const std::shared_ptr<TMSAPI> record = recordOf(item);
    if (!record)
        return;
    if (TMSession* session = record->session()) {
        m_currentSession = std::shared_ptr<TMSession>(record, session);
        m_heartbeatInterval = kFirstHeartbeat;
        m_heartbeatTimestamp = TmClock::now() + kFirstHeartbeat;
        if (waitingForRecords && batching())
            m_batchTimestamp = TmClock::now() + m_batchInterval;
        m_ready.insert(m_ready.begin(), record);
        return;
    }
    const bool held = holds(*record);
    if (held)
        m_buffered.push_back(record);
    // A purchase or the session's end sends what waits, whether or not it is held itself.
    if (flushesBuffer(*record))
        moveBufferedToReady();
}

void TMEventThread::handle(TMQueueItem& item, bool waitingForRecords) {
    const std::shared_ptr<TMSAPI> record = recordOf(item);
    const auto sent = record ? m_sent.find(record.get()) : m_sent.end();
    if (sent == m_sent.end()) {
        handleArrival(item, waitingForRecords);
        return;
    }
    TMAPIDatabase* stored = record->apiDatabase();
    if (stored && stored->deletable() && stored->rowId() != 0)
        stored->deleteFromDatabase(*m_database);
    m_sentEvents -= sent->second.events;
    m_sent.erase(sent);
}

int TMEventThread::waitForEvents() {
    // Records already waiting to go (read back at start-up) are not held up by the wait.
    const bool waiting = !m_ready.empty() || (!batching() && !m_buffered.empty());
    if (auto item = m_queue.newPullWithTimeout(waiting ? 0 : currentTimeout())) {
        for (TMQueueItem& arrived : takeWaiting(std::move(*item)))
            handle(arrived, true);
    }
    readBackStored();
    const double present = TmClock::now();
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

void TMEventThread::handOff(const std::shared_ptr<TMSAPI>& record, size_t events) {
    m_sent.emplace(record.get(), Sent{record, events});
    m_sentEvents += events;
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
                                 {"delta", TmClock::now() - m_currentSession->timestamp()},
                                 {"name", "__batchevent__"},
                                 {"arguments", "{}"}});
            batch->setNoCompression(m_noCompression);
        };
        const auto handOffBatch = [&] {
            if (!batch->events().empty())
                handOff(batch, batch->events().size());
        };
        for (const auto& record : m_ready) {
            TMAPIEvent* api = record->apiEvent();
            if (!api || !api->batchable()) {
                handOff(record, 1);
                continue;
            }
            if (!batch)
                openBatch();
            if (!batch->addEvent(record)) {
                handOffBatch();
                batch = batch->copyEmpty();
                batch->addEvent(record); // one that fits no batch leaves; its row stays
            }
        }
        if (batch)
            handOffBatch();
    } else {
        for (const auto& record : m_ready)
            handOff(record, 1);
    }
    m_ready.clear();
    return m_sent.empty() ? 1 : 3;
}

int TMEventThread::waitForResponse() {
    for (TMQueueItem& item : takeWaiting(m_queue.newPull()))
        handle(item, false);
    readBackStored();
    if (!m_batchesEvents || m_batchInterval == 0)
        moveBufferedToReady();
    if (!m_ready.empty())
        return 2;
    return m_sent.empty() ? 1 : 3;
}

} // namespace zm
