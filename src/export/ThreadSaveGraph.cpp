#include "export/ThreadSaveGraph.h"

cBaseThread::cBaseThread() = default;

cBaseThread::~cBaseThread() { destroy(); }

bool cBaseThread::create(Notify notify)
{
    if (created_)
        return false;
    notify_ = std::move(notify);
    suspended_ = true;
    run_ = true;
    active_ = true;
    onCreated();
    try {
        thread_ = std::thread(&cBaseThread::threadMain, this);
    } catch (const std::system_error&) {
        run_ = false;
        active_ = false;
        return false;
    }
    created_ = true;
    return true;
}

void cBaseThread::suspend(bool suspended)
{
    {
        std::lock_guard<std::mutex> lock(suspendLock_);
        suspended_ = suspended;
    }
    resumed_.notify_all();
}

void cBaseThread::destroy()
{
    if (!created_)
        return;
    run_ = false;
    suspend(false);
    if (thread_.joinable())
        thread_.join();
    created_ = false;
    onFinished();
}

void cBaseThread::notify(int code)
{
    if (notify_)
        notify_(code);
}

void cBaseThread::threadMain()
{
    onStarted();
    while (run_) {
        {
            std::unique_lock<std::mutex> lock(suspendLock_);
            resumed_.wait(lock, [this] { return !suspended_ || !run_; });
        }
        if (!run_)
            break;
        onStep();
        std::this_thread::yield();
    }
    active_ = false;
}

cThread_SaveGraph::~cThread_SaveGraph()
{
    // The loop must end before the job it steps goes away.
    destroy();
}

void cThread_SaveGraph::onCreated()
{
    count_ = encoded_ = 0;
    total_ = job_.imageCount();
    workTotal_ = job_.workTotal();
    phase_ = job_.phase();
    done_ = ok_ = cancelled_ = false;
}

void cThread_SaveGraph::onStep()
{
    bool finished = false;
    {
        std::lock_guard<std::mutex> lock(section());
        if (!running())
            return; // cancelled while waiting for the section
        try {
            if (!job_.step()) {
                done_ = true;
                ok_ = job_.finish();
                stopLoop();
                finished = true;
            }
        } catch (...) {
            // Out of memory or worse: the export ends as a failure, nothing more is written.
            job_.clear();
            done_ = true;
            ok_ = false;
            stopLoop();
            finished = true;
        }
        count_ = job_.imagesMade();
        encoded_ = job_.framesEncoded();
        phase_ = job_.phase();
    }
    if (finished)
        notify(kMsgExportFinished);
}

void cThread_SaveGraph::cancel()
{
    // Stop first: the worker then takes no further step, so the section comes free
    // after the current one (a worker that retakes the lock at once could keep it).
    stopLoop();
    std::lock_guard<std::mutex> lock(section());
    if (done_)
        return;
    job_.clear();
    cancelled_ = true;
}
