#include "export/ThreadSaveGraph.h"

cBaseThread::cBaseThread() = default;

cBaseThread::~cBaseThread() { Destroy(); }

bool cBaseThread::Create(Notify notify)
{
    if (created_)
        return false;
    notify_ = std::move(notify);
    suspended_ = true;
    run_ = true;
    active_ = true;
    OnCreated();
    try {
        thread_ = std::thread(&cBaseThread::ThreadMain, this);
    } catch (const std::system_error&) {
        run_ = false;
        active_ = false;
        return false;
    }
    created_ = true;
    return true;
}

void cBaseThread::Suspend(bool suspended)
{
    {
        std::lock_guard<std::mutex> lock(suspendLock_);
        suspended_ = suspended;
    }
    resumed_.notify_all();
}

void cBaseThread::Destroy()
{
    if (!created_)
        return;
    run_ = false;
    Suspend(false);
    if (thread_.joinable())
        thread_.join();
    created_ = false;
    OnFinished();
}

void cBaseThread::Report(int code)
{
    if (notify_)
        notify_(code);
}

void cBaseThread::ThreadMain()
{
    OnStarted();
    while (run_) {
        {
            std::unique_lock<std::mutex> lock(suspendLock_);
            resumed_.wait(lock, [this] { return !suspended_ || !run_; });
        }
        if (!run_)
            break;
        OnStep();
        std::this_thread::yield();
    }
    active_ = false;
}

cThread_SaveGraph::~cThread_SaveGraph()
{
    // The loop must end before the job it steps goes away.
    Destroy();
}

void cThread_SaveGraph::OnCreated()
{
    count_ = encoded_ = 0;
    total_ = job_.ImageCount();
    workTotal_ = job_.WorkTotal();
    phase_ = job_.Phase();
    done_ = ok_ = cancelled_ = false;
}

void cThread_SaveGraph::OnStep()
{
    bool finished = false;
    {
        std::lock_guard<std::mutex> lock(Section());
        if (!Running())
            return; // cancelled while waiting for the section
        try {
            if (!job_.Step()) {
                done_ = true;
                ok_ = job_.Finish();
                StopLoop();
                finished = true;
            }
        } catch (...) {
            // Out of memory or worse: the export ends as a failure, nothing more is written.
            job_.Clear();
            done_ = true;
            ok_ = false;
            StopLoop();
            finished = true;
        }
        count_ = job_.ImagesMade();
        encoded_ = job_.FramesEncoded();
        phase_ = job_.Phase();
    }
    if (finished)
        Report(kMsgExportFinished);
}

void cThread_SaveGraph::Cancel()
{
    // Stop first: the worker then takes no further step, so the section comes free
    // after the current one (a worker that retakes the lock at once could keep it).
    StopLoop();
    std::lock_guard<std::mutex> lock(Section());
    if (done_)
        return;
    job_.Clear();
    cancelled_ = true;
}
