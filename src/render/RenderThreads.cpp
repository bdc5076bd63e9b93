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
        for (unsigned i = 0; i < workers; ++i)
            threads_.emplace_back([this] { Work(); });
    }

    ~cRenderThreads()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }

    int ThreadCount() const { return enabled_.load() ? static_cast<int>(threads_.size()) + 1 : 1; }

    void SetEnabled(bool on) { enabled_.store(on); }

    void Run(int count, const Task& task)
    {
        std::unique_lock<std::mutex> running(running_, std::try_to_lock);
        if (!running.owns_lock() || ThreadCount() < 2 || count < 2) {
            for (int i = 0; i < count; ++i)
                task(i);
            return;
        }
        uint32_t run;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            run = ++run_;
            task_ = &task;
            count_ = count;
            done_.store(0);
            claim_.store(uint64_t{run} << 32);
        }
        wake_.notify_all();
        while (ClaimAndRun(run, task, count)) {
        }
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [&] { return done_.load() == count; });
    }

private:
    bool ClaimAndRun(uint32_t run, const Task& task, int count)
    {
        uint64_t c = claim_.load();
        do {
            if (static_cast<uint32_t>(c >> 32) != run || static_cast<int>(c & 0xFFFFFFFFu) >= count)
                return false;
        } while (!claim_.compare_exchange_weak(c, c + 1));
        task(static_cast<int>(c & 0xFFFFFFFFu));
        if (done_.fetch_add(1) + 1 == count) {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_.notify_all();
        }
        return true;
    }

    void Work()
    {
        uint32_t seen = 0;
        for (;;) {
            const Task* task;
            int count;
            uint32_t run;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stop_ || run_ != seen; });
                if (stop_)
                    return;
                seen = run = run_;
                task = task_;
                count = count_;
            }
            while (ClaimAndRun(run, *task, count)) {
            }
        }
    }

    std::vector<std::thread> threads_;
    std::mutex running_; // one run at a time
    std::mutex mutex_;   // guards the run's description and the wake-ups
    std::condition_variable wake_, finished_;
    bool stop_ = false;
    uint32_t run_ = 0;
    const Task* task_ = nullptr;
    int count_ = 0;
    std::atomic<uint64_t> claim_{0}; // run number << 32 | next task index
    std::atomic<int> done_{0};
    std::atomic<bool> enabled_{true};
};

cRenderThreads& pool()
{
    static cRenderThreads threads;
    return threads;
}

} // namespace

void RunOnRenderThreads(int count, const std::function<void(int)>& task) { pool().Run(count, task); }

void SetRenderThreadsEnabled(bool on) { pool().SetEnabled(on); }

int RenderThreadCount() { return pool().ThreadCount(); }
