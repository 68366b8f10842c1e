#pragma once

#include "analytics/Queue.h"
#include "analytics/TMRecords.h"
#include "platform/core/Thread.h"

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace zm {

class TMDB;
class TMEventThread;

// What the analytics threads' queues carry: a record, or a word for the event thread ("boot" wakes
// it, "flush" sends what waits for a batch).
struct TMStop {};
using TMQueueItem = std::variant<std::shared_ptr<TMSAPI>, std::string, TMStop>;

// The thread that sends: it takes records from its queue one at a time, sends each, and hands it back
// to the event thread; while the service cannot be reached it retries the same record after a
// back-off of 15 s growing by a random factor and doubling up to 300 s, measured on the clock.
class TMAPIThread {
public:
    explicit TMAPIThread(Queue<TMQueueItem>& finished);
    ~TMAPIThread();

    Queue<TMQueueItem>& eventQueue() { return m_queue; }
    void start();

    static constexpr double kFirstBackOff = 15;
    static constexpr double kLongestBackOff = 300;

private:
    void main();

    Queue<TMQueueItem> m_queue;
    Queue<TMQueueItem>& m_finished;
    core::ClockWait m_sleep;
    bool m_stopping = false; // guarded by m_sleep's lock
    core::Thread m_thread;
};

// The thread that owns the records between the facade and the service: it stores new records, adds
// heartbeats, forms batches, hands records to the API thread and deletes the rows of those that come
// back finished. Records stored by an earlier run are sent first, sessions before events.
class TMEventThread {
public:
    explicit TMEventThread(std::shared_ptr<TMDB> database);
    // Ends both threads (the program's threads live as long as the process; tests end theirs).
    ~TMEventThread();
    TMEventThread(const TMEventThread&) = delete;
    TMEventThread& operator=(const TMEventThread&) = delete;

    void start();
    Queue<TMQueueItem>& eventQueue() { return m_queue; }

    // Settings; handed over while the thread runs, so they are atomic.
    void setMaximumBufferSize(int size) { m_maximumBufferSize = size; }
    int maximumBufferSize() const { return m_maximumBufferSize; }
    void setBatchInterval(double seconds) { m_batchInterval = seconds; }
    double batchInterval() const { return m_batchInterval; }
    void setBatchesEvents(bool batches) { m_batchesEvents = batches; }
    bool batchesEvents() const { return m_batchesEvents; }
    void setNoCompression(bool off) { m_noCompression = off; }

    // The state operations, each answering the next state.
    int recoverEvents();
    int waitForEvents();
    int sendEvents();
    int waitForResponse();
    double currentTimeout() const;

    static constexpr double kFirstHeartbeat = 300;
    static constexpr double kLongestHeartbeat = 26000;

private:
    void main();
    bool batching() const { return m_batchesEvents && m_batchInterval > 0; }
    // Takes the item and whatever else waits, writing new events in one transaction. False on stop.
    bool takeWaiting(TMQueueItem first, std::vector<TMQueueItem>& items);
    void handleArrival(TMQueueItem& item, bool waitingForRecords);
    void moveBufferedToReady();
    void handOff(const std::shared_ptr<TMSAPI>& record);

    Queue<TMQueueItem> m_queue;
    std::shared_ptr<TMDB> m_database;
    TMAPIThread m_apiThread;
    std::atomic<int> m_maximumBufferSize = 1000;
    std::atomic<double> m_batchInterval = HUGE_VAL;
    std::atomic<bool> m_batchesEvents = false;
    std::atomic<bool> m_noCompression = false;

    // The event thread's own.
    std::vector<std::shared_ptr<TMSAPI>> m_buffered;
    std::vector<std::shared_ptr<TMSAPI>> m_ready;
    // Out at the API thread, by identity.
    std::unordered_map<const TMSAPI*, std::shared_ptr<TMSAPI>> m_sent;
    std::shared_ptr<TMSession> m_currentSession;
    double m_heartbeatTimestamp;
    double m_heartbeatInterval = HUGE_VAL;
    double m_batchTimestamp;
    bool m_stopping = false;
    core::Thread m_thread;
};

} // namespace zm
