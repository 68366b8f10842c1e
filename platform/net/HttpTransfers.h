#pragma once

#include "platform/net/HttpRequest.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

typedef void CURLM;

namespace net {

class CurlTransfer;
struct CurlLibrary;

// Requests sent side by side by one worker thread of their own: the caller hands over a request with
// what to do with its answer and goes on at once. Nothing else has to run (no main loop) for the
// answers to come. Each request is sent as perform() would send it.
//
// Thread safety: start() may be called from any thread, a completion included.
class HttpTransfers {
public:
    using Completion = std::function<void(core::Result<HttpResponse>)>;

    HttpTransfers();
    // Ends the transfers still running with HttpFailure::Cancelled (their completions run before it
    // returns) and stops the worker. Not to be called from a completion.
    ~HttpTransfers();
    HttpTransfers(const HttpTransfers&) = delete;
    HttpTransfers& operator=(const HttpTransfers&) = delete;

    // The process's transfers, which run until the process ends.
    static HttpTransfers& shared();

    // Sends `request`; `completion` is called exactly once, on the worker thread, with the answer or the
    // reason there is none. A completion must hand its work on and return: the other transfers wait
    // while it runs.
    void start(HttpRequest request, Completion completion);

private:
    struct Running;

    void run();
    void admit(std::vector<std::unique_ptr<Running>>& arrived);
    void collectFinished();
    void wakeWorker();

    const CurlLibrary* const m_curl;
    CURLM* const m_multi; // null when libcurl could not be loaded
    std::mutex m_lock;
    std::condition_variable m_wake; // wakes the worker while there is no libcurl to wake it
    std::vector<std::unique_ptr<Running>> m_arrived; // guarded by m_lock
    bool m_ending = false;                           // guarded by m_lock
    std::map<void*, std::unique_ptr<Running>> m_running; // worker thread only, by easy handle
    std::thread m_worker;
};

} // namespace net
