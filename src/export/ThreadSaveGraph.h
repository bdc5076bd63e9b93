#pragma once
// The export worker: cBaseThread runs a step hook in a loop on its own thread,
// guarded by a critical section; cThread_SaveGraph steps a cCaptureImage job until
// it is done and publishes its phase and progress for a display on another thread.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "export/CaptureImage.h"

/** Message code of "export worker finished". */
constexpr int kMsgExportFinished = 0x8400;

class cBaseThread {
public:
    /** Receives a message code; called on the worker thread, outside the section. It
     *  must not destroy the thread it is called from (post the code on instead). */
    using Notify = std::function<void(int code)>;

    cBaseThread();
    virtual ~cBaseThread();
    cBaseThread(const cBaseThread&) = delete;
    cBaseThread& operator=(const cBaseThread&) = delete;

    /** Starts the thread suspended; false when it is already running or cannot start. */
    bool create(Notify notify);
    /** Suspends (true) or resumes (false) the loop between two steps. */
    void suspend(bool suspended);
    /** Stops the loop after the current step, waits for the thread, runs the finished
     *  hook. Safe to call more than once. */
    void destroy();
    /** The thread has started and not yet left its loop. */
    bool isActive() const { return m_active; }

protected:
    /** Called by create on the creating thread, before the thread starts. */
    virtual void onCreated() {}
    /** Called on the worker thread before its first step. */
    virtual void onStarted() {}
    /** Called by destroy once the thread has ended. */
    virtual void onFinished() {}
    /** One unit of work; the loop ends when it clears the run flag. */
    virtual void onStep() = 0;

    std::mutex& section() { return m_section; }
    void stopLoop() { m_run = false; }
    bool running() const { return m_run; }
    void notify(int code);

private:
    void threadMain();

    std::thread m_thread;
    Notify m_notify;
    std::mutex m_section;        // the critical section of the derived job
    std::mutex m_suspendLock;
    std::condition_variable m_resumed;
    bool m_suspended = false;
    std::atomic<bool> m_run{false};
    std::atomic<bool> m_active{false};
    bool m_created = false;
};

class cThread_SaveGraph : public cBaseThread {
public:
    ~cThread_SaveGraph() override;

    /** The job; set it up with init before create. */
    cCaptureImage& job() { return m_job; }

    /** Images made so far, readable from any thread. */
    int count() const { return m_count; }
    /** Images the job will make (fixed by init). */
    int total() const { return m_total; }
    /** The job's phase and its progress on one scale: images made plus, for a GIF,
     *  frames encoded, out of workTotal (fixed by init). */
    eCapturePhase phase() const { return m_phase; }
    int framesEncoded() const { return m_encoded; }
    int workDone() const { return m_count + m_encoded; }
    int workTotal() const { return m_workTotal; }
    bool done() const { return m_done; }
    /** The job finished and wrote everything. */
    bool succeeded() const { return m_ok; }
    bool cancelled() const { return m_cancelled; }
    /** Stops the job between two units of work and discards it: nothing more is
     *  written, and a GIF leaves no file. */
    void cancel();

protected:
    void onCreated() override;
    void onStep() override;

private:
    cCaptureImage m_job;
    std::atomic<int> m_count{0}, m_encoded{0};
    std::atomic<int> m_total{0}, m_workTotal{0};
    std::atomic<eCapturePhase> m_phase{CP_CAPTURE};
    std::atomic<bool> m_done{false}, m_ok{false}, m_cancelled{false};
};
