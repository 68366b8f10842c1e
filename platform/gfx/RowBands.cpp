#include "platform/gfx/RowBands.h"

#include "platform/core/Thread.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace gfx::detail {

namespace {

// Threads that take bands while a caller takes them too. Made at the first use and never destroyed:
// its threads wait on it until the process ends.
class Helpers {
public:
    static Helpers& shared() {
        static Helpers* const helpers = new Helpers;
        return *helpers;
    }

    // False when another caller's bands are running.
    bool run(int count, const std::function<void(int)>& work) {
        std::unique_lock<std::mutex> busy(m_busy, std::try_to_lock);
        if (!busy)
            return false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_work = &work;
            m_count = count;
            m_next = 0;
            m_pending = count;
            ++m_generation;
        }
        m_wake.notify_all();
        takeBands();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [&] { return m_pending == 0; });
        m_work = nullptr;
        return true;
    }

private:
    Helpers() {
        const unsigned cores = std::thread::hardware_concurrency();
        const unsigned helpers = std::min(3u, cores > 1 ? cores - 1 : 0u);
        for (unsigned helper = 0; helper < helpers; ++helper)
            core::Thread::detach("gfx.bands", [this] { serve(); });
    }

    void serve() {
        std::uint64_t seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [&] { return m_generation != seen; });
                seen = m_generation;
            }
            takeBands();
        }
    }

    void takeBands() {
        for (;;) {
            int band = 0;
            const std::function<void(int)>* work = nullptr;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (!m_work || m_next >= m_count)
                    return;
                band = m_next++;
                work = m_work;
            }
            (*work)(band);
            std::lock_guard<std::mutex> lock(m_mutex);
            if (--m_pending == 0)
                m_done.notify_all();
        }
    }

    std::mutex m_busy; // held by the caller whose bands run
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::function<void(int)>* m_work = nullptr;
    int m_count = 0;
    int m_next = 0;
    int m_pending = 0;
    std::uint64_t m_generation = 0;
};

} // namespace

void forEachBand(int count, const std::function<void(int)>& work) {
    if (count > 1 && Helpers::shared().run(count, work))
        return;
    for (int band = 0; band < count; ++band)
        work(band);
}

} // namespace gfx::detail
