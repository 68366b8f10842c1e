#pragma once

#include "analytics/Queue.h"
#include "analytics/TMRecords.h"
#include "platform/core/Thread.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace zm {

class TMDB;
class TMEventThread;

// What the analytics threads' queues carry: a record, or a word for the event thread ("boot" wakes
// it, "flush" sends what waits for a batch), or the end of a thread (TMStop: to the API thread, stop;
// from it, it has ended).
struct TMStop {};
using TMQueueItem = std::variant<std::shared_ptr<TMSAPI>, std::string, TMStop>;

// The thread that sends: it takes records from its queue one at a time, sends each, and hands it back
// to the event thread; while the service cannot be reached it retries the same record after a
// back-off of 15 s growing by a random factor and doubling up to 300 s, measured on the analytics
// clock. Its last item on the event thread's queue is a TMStop.
class TMAPIThread {
public:
    explicit TMAPIThread(Queue<TMQueueItem>& finished);
    // Stops it, giving a request under way no time.
    ~TMAPIThread();

    Queue<TMQueueItem>& eventQueue() { return m_queue; }
    void start();
    // Ends the thread: it takes no further record, and the request under way has until `deadline` for
    // its answer, then it is given up (its record stays unsent). Returns once the thread has ended.
    void stop(core::TimePoint deadline);

    static constexpr double kFirstBackOff = 15;
    static constexpr double kLongestBackOff = 300;

private:
    void main();
    bool stopping();

    Queue<TMQueueItem> m_queue;
    Queue<TMQueueItem>& m_finished;
    std::stop_source m_giveUp; // gives up the request under way
    core::ClockWait m_sleep;
    bool m_stopping = false; // guarded by m_sleep's lock
    bool m_ended = false;    // guarded by m_sleep's lock
    core::Thread m_thread;
};

// The thread that owns the records between the facade and the service: it stores new records, adds
// heartbeats, forms batches, hands records to the API thread and deletes the rows of those that come
// back finished. Records stored by an earlier run are sent first, sessions before events.
//
// Memory stays bounded whatever is recorded while the service cannot be reached: at most
// maximumBufferSize stored events are held (waiting, ready or out at the API thread); the events past
// them stay in the store alone and are read back, in order, as those held go. So are the events an
// earlier run left.
class TMEventThread {
public:
    explicit TMEventThread(std::shared_ptr<TMDB> database);
    // Stops both threads (stop()).
    ~TMEventThread();
    TMEventThread(const TMEventThread&) = delete;
    TMEventThread& operator=(const TMEventThread&) = delete;

    void start();
    // Ends both threads, the store keeping every record that was not sent: it takes no further record,
    // stores those queued, lets the request under way finish within `patience` (real time) and deletes
    // the rows of the records that came back finished. Nothing of either thread runs afterwards.
    void stop(std::chrono::milliseconds patience = kStopPatience);

    // The inbox. Producers that may outrun the thread (the facade) add() to it.
    Queue<TMQueueItem>& eventQueue() { return m_queue; }
    // Queues an item, first waiting while kMostWaiting wait already. False, the item dropped, once
    // the thread is stopping.
    bool add(TMQueueItem item) { return m_queue.pushWithin(std::move(item), kMostWaiting); }

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
    static constexpr std::chrono::milliseconds kStopPatience{500};
    static constexpr size_t kMostWaiting = 1024;

    // Stored events held in memory: waiting, ready and out at the API thread (for tests).
    size_t heldEvents() const { return m_buffered.size() + m_ready.size() + m_sentEvents; }

private:
    struct Sent {
        std::shared_ptr<TMSAPI> record;
        size_t events; // what it holds of heldEvents()
    };

    void main();
    bool batching() const { return m_batchesEvents && m_batchInterval > 0; }
    // Takes the item and whatever else waits, writing new records (events in one transaction).
    std::vector<TMQueueItem> takeWaiting(TMQueueItem first);
    // A record coming back finished, or an arrival.
    void handle(TMQueueItem& item, bool waitingForRecords);
    void handleArrival(TMQueueItem& item, bool waitingForRecords);
    // Whether an arriving event is held in memory; one that is not stays in the store alone.
    bool holds(TMSAPI& record);
    // Reads events that stayed in the store back into the buffer, as far as there is room.
    void readBackStored();
    void moveBufferedToReady();
    void handOff(const std::shared_ptr<TMSAPI>& record, size_t events);

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
    std::unordered_map<const TMSAPI*, Sent> m_sent;
    size_t m_sentEvents = 0;
    // The first row of the stored events not held in memory (those from it on are not), if any.
    std::optional<int64_t> m_storedFrom;
    std::shared_ptr<TMSession> m_currentSession;
    double m_heartbeatTimestamp;
    double m_heartbeatInterval = HUGE_VAL;
    double m_batchTimestamp;
    bool m_stopping = false;
    core::Thread m_thread;
};

} // namespace zm
