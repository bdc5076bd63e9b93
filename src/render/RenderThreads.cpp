// The render thread pool. Tasks are claimed through one atomic word that holds the
// run's number and the next task index, so a thread that wakes late for a finished
// run claims nothing and never touches the next run's tasks.

#include "render/RenderThreads.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Task = std::function<void(int)>;

class cRenderThreads {
public:
    cRenderThreads()
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const unsigned workers = std::min(cores, 8u) - 1;
        for (unsigned i = 0; i < workers; ++i) m_threads.emplace_back([this] { work(); });
    }

    ~cRenderThreads()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        for (std::thread& t : m_threads) t.join();
    }

    int threadCount() const { return m_enabled.load() ? static_cast<int>(m_threads.size()) + 1 : 1; }

    void setEnabled(bool on) { m_enabled.store(on); }

    void run(int count, const Task& task)
    {
        std::unique_lock<std::mutex> running(m_running, std::try_to_lock);
        if (!running.owns_lock() || threadCount() < 2 || count < 2) {
            for (int i = 0; i < count; ++i) task(i);
            return;
        }
        uint32_t run;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            run = ++m_run;
            m_task = &task;
            m_count = count;
            m_done.store(0);
            m_claim.store(uint64_t{run} << 32);
        }
        m_wake.notify_all();
        while (claimAndRun(run, task, count)) {
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        m_finished.wait(lock, [&] { return m_done.load() == count; });
    }

private:
    bool claimAndRun(uint32_t run, const Task& task, int count)
    {
        uint64_t c = m_claim.load();
        do {
            if (static_cast<uint32_t>(c >> 32) != run || static_cast<int>(c & 0xFFFFFFFFu) >= count) return false;
        } while (!m_claim.compare_exchange_weak(c, c + 1));
        task(static_cast<int>(c & 0xFFFFFFFFu));
        if (m_done.fetch_add(1) + 1 == count) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_finished.notify_all();
        }
        return true;
    }

    void work()
    {
        uint32_t seen = 0;
        for (;;) {
            const Task* task;
            int count;
            uint32_t run;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [&] { return m_stop || m_run != seen; });
                if (m_stop) return;
                seen = run = m_run;
                task = m_task;
                count = m_count;
            }
            while (claimAndRun(run, *task, count)) {
            }
        }
    }

    std::vector<std::thread> m_threads;
    std::mutex m_running;  // one run at a time
    std::mutex m_mutex;    // guards the run's description and the wake-ups
    std::condition_variable m_wake, m_finished;
    bool m_stop = false;
    uint32_t m_run = 0;
    const Task* m_task = nullptr;
    int m_count = 0;
    std::atomic<uint64_t> m_claim{0};  // run number << 32 | next task index
    std::atomic<int> m_done{0};
    std::atomic<bool> m_enabled{true};
};

cRenderThreads& pool()
{
    static cRenderThreads threads;
    return threads;
}

}  // namespace

void runOnRenderThreads(int count, const std::function<void(int)>& task) { pool().run(count, task); }

void setRenderThreadsEnabled(bool on) { pool().setEnabled(on); }

int renderThreadCount() { return pool().threadCount(); }
