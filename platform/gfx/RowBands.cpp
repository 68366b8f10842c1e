#include "platform/gfx/RowBands.h"

#include "platform/core/Thread.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace gfx::detail {

namespace {

using Work = std::function<void(int worker, int band)>;

// The helpers, made at the first use and never destroyed: they wait for bands until the process ends.
class Helpers {
public:
    static Helpers& shared() {
        static Helpers* const helpers = new Helpers;
        return *helpers;
    }

    // False, having run nothing, while another caller's bands run.
    bool run(int count, const Work& work) {
        const std::unique_lock<std::mutex> busy(m_busy, std::try_to_lock);
        if (!busy)
            return false;
        std::uint32_t generation = 0;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            generation = ++m_generation;
            m_work = &work;
            m_count = count;
            m_done.store(0, std::memory_order_relaxed);
            m_next.store(std::uint64_t{generation} << 32, std::memory_order_relaxed);
        }
        m_wake.notify_all();
        take(0, generation, work, count);
        for (int done = m_done.load(std::memory_order_acquire); done < count;
             done = m_done.load(std::memory_order_acquire))
            m_done.wait(done, std::memory_order_acquire);
        return true;
    }

private:
    Helpers() {
        const int helpers = std::thread::hardware_concurrency() > 1 ? kBandWorkers - 1 : 0;
        for (int worker = 1; worker <= helpers; ++worker)
            core::Thread::detach("gfx.bands", [this, worker] { serve(worker); });
    }

    void serve(int worker) {
        std::uint32_t seen = 0;
        for (;;) {
            std::uint32_t generation = 0;
            const Work* work = nullptr;
            int count = 0;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [&] { return m_generation != seen; });
                seen = generation = m_generation;
                work = m_work;
                count = m_count;
            }
            take(worker, generation, *work, count);
        }
    }

    // Runs the bands of that generation that nobody has taken yet. A helper that wakes late finds them
    // taken (or a later generation's) and touches nothing: the work of a generation is only called for a
    // band taken while it runs.
    void take(int worker, std::uint32_t generation, const Work& work, int count) {
        std::uint64_t next = m_next.load(std::memory_order_acquire);
        for (;;) {
            const int band = int(next & 0xffffffffu);
            if (std::uint32_t(next >> 32) != generation || band >= count)
                return;
            if (!m_next.compare_exchange_weak(next, next + 1, std::memory_order_acq_rel))
                continue;
            work(worker, band);
            if (m_done.fetch_add(1, std::memory_order_acq_rel) + 1 == count)
                m_done.notify_all();
            next = m_next.load(std::memory_order_acquire);
        }
    }

    std::mutex m_busy; // held by the caller whose bands run
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::uint32_t m_generation = 0;
    const Work* m_work = nullptr;
    int m_count = 0;
    // The generation (high half) and the next band to take (low half).
    std::atomic<std::uint64_t> m_next{0};
    std::atomic<int> m_done{0};
};

} // namespace

void shareBands(int count, const std::function<void(int worker, int band)>& work) {
    if (count > 1 && Helpers::shared().run(count, work))
        return;
    for (int band = 0; band < count; ++band)
        work(0, band);
}

} // namespace gfx::detail
