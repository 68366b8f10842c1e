#include "platform/net/HttpTransfers.h"

#include "platform/core/Thread.h"
#include "platform/net/CurlTransfer.h"

namespace net {

struct HttpTransfers::Running {
    CurlTransfer transfer;
    Completion completion;
};

HttpTransfers::HttpTransfers()
    : m_curl(CurlLibrary::get())
    , m_multi(m_curl ? m_curl->multi_init() : nullptr) {
    m_worker = std::thread([this] {
        core::Thread::setCurrentName("net.transfers");
        run();
    });
}

HttpTransfers::~HttpTransfers() {
    {
        std::lock_guard lock(m_lock);
        m_ending = true;
    }
    wakeWorker();
    m_worker.join();
    if (m_multi)
        m_curl->multi_cleanup(m_multi);
}

HttpTransfers& HttpTransfers::shared() {
    // Never destroyed: a transfer may still be under way while the process ends.
    static HttpTransfers* const transfers = new HttpTransfers;
    return *transfers;
}

void HttpTransfers::start(HttpRequest request, Completion completion) {
    std::unique_ptr<Running> running(new Running{CurlTransfer(std::move(request)), std::move(completion)});
    {
        std::lock_guard lock(m_lock);
        m_arrived.push_back(std::move(running));
    }
    wakeWorker();
}

void HttpTransfers::wakeWorker() {
    if (m_multi) {
        m_curl->multi_wakeup(m_multi);
    } else {
        std::lock_guard lock(m_lock);
        m_wake.notify_one();
    }
}

void HttpTransfers::admit(std::vector<std::unique_ptr<Running>>& arrived) {
    for (auto& running : arrived) {
        CurlTransfer& transfer = running->transfer;
        if (transfer.refusal()) {
            running->completion(*transfer.refusal());
            continue;
        }
        if (!m_multi || m_curl->multi_add_handle(m_multi, transfer.handle()) != CURLM_OK) {
            running->completion(transfer.failure(HttpFailure::Transport, "the transfer could not be started"));
            continue;
        }
        m_running.emplace(transfer.handle(), std::move(running));
    }
    arrived.clear();
}

void HttpTransfers::collectFinished() {
    int waiting = 0;
    while (CURLMsg* message = m_curl->multi_info_read(m_multi, &waiting)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        const auto found = m_running.find(message->easy_handle);
        if (found == m_running.end())
            continue;
        std::unique_ptr<Running> running = std::move(found->second);
        m_running.erase(found);
        m_curl->multi_remove_handle(m_multi, running->transfer.handle());
        running->completion(running->transfer.finish(message->data.result));
    }
}

void HttpTransfers::run() {
    std::vector<std::unique_ptr<Running>> arrived;
    for (;;) {
        bool ending = false;
        {
            std::lock_guard lock(m_lock);
            arrived.swap(m_arrived);
            ending = m_ending;
        }
        if (ending)
            break;
        admit(arrived);
        if (!m_multi) {
            // Without libcurl every request is refused as it arrives: wait for the next.
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_ending || !m_arrived.empty(); });
            continue;
        }
        int stillRunning = 0;
        m_curl->multi_perform(m_multi, &stillRunning);
        collectFinished();
        // Wakes for socket activity, libcurl's own timers or a start(); the bound is only a safety net.
        m_curl->multi_poll(m_multi, nullptr, 0, 1000, nullptr);
    }
    for (auto& running : arrived)
        running->completion(running->transfer.failure(HttpFailure::Cancelled, "the transfers were shut down"));
    for (auto& [handle, running] : m_running) {
        m_curl->multi_remove_handle(m_multi, running->transfer.handle());
        running->completion(running->transfer.failure(HttpFailure::Cancelled, "the transfers were shut down"));
    }
    m_running.clear();
}

} // namespace net
