#include "export/ThreadSaveGraph.h"

cBaseThread::cBaseThread() = default;

cBaseThread::~cBaseThread()
{
    destroy();
}

bool cBaseThread::create(Notify notify)
{
    if (m_created) return false;
    m_notify = std::move(notify);
    m_suspended = true;
    m_run = true;
    m_active = true;
    onCreated();
    try {
        m_thread = std::thread(&cBaseThread::threadMain, this);
    } catch (const std::system_error&) {
        m_run = false;
        m_active = false;
        return false;
    }
    m_created = true;
    return true;
}

void cBaseThread::suspend(bool suspended)
{
    {
        std::lock_guard<std::mutex> lock(m_suspendLock);
        m_suspended = suspended;
    }
    m_resumed.notify_all();
}

void cBaseThread::destroy()
{
    if (!m_created) return;
    m_run = false;
    suspend(false);
    if (m_thread.joinable()) m_thread.join();
    m_created = false;
    onFinished();
}

void cBaseThread::notify(int code)
{
    if (m_notify) m_notify(code);
}

void cBaseThread::threadMain()
{
    onStarted();
    while (m_run) {
        {
            std::unique_lock<std::mutex> lock(m_suspendLock);
            m_resumed.wait(lock, [this] { return !m_suspended || !m_run; });
        }
        if (!m_run) break;
        onStep();
        std::this_thread::yield();
    }
    m_active = false;
}

cThread_SaveGraph::~cThread_SaveGraph()
{
    // The loop must end before the job it steps goes away.
    destroy();
}

void cThread_SaveGraph::onCreated()
{
    m_count = m_encoded = 0;
    m_total = m_job.imageCount();
    m_workTotal = m_job.workTotal();
    m_phase = m_job.phase();
    m_done = m_ok = m_cancelled = false;
}

void cThread_SaveGraph::onStep()
{
    bool finished = false;
    {
        std::lock_guard<std::mutex> lock(section());
        if (!running()) return;  // cancelled while waiting for the section
        try {
            if (!m_job.step()) {
                m_done = true;
                m_ok = m_job.finish();
                stopLoop();
                finished = true;
            }
        } catch (...) {
            // Out of memory or worse: the export ends as a failure, nothing more is written.
            m_job.clear();
            m_done = true;
            m_ok = false;
            stopLoop();
            finished = true;
        }
        m_count = m_job.imagesMade();
        m_encoded = m_job.framesEncoded();
        m_phase = m_job.phase();
    }
    if (finished) notify(kMsgExportFinished);
}

void cThread_SaveGraph::cancel()
{
    std::lock_guard<std::mutex> lock(section());
    if (m_done) return;
    stopLoop();
    m_job.clear();
    m_cancelled = true;
}
