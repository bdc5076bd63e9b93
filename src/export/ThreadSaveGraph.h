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
    bool isActive() const { return active_; }

protected:
    /** Called by create on the creating thread, before the thread starts. */
    virtual void onCreated() {}
    /** Called on the worker thread before its first step. */
    virtual void onStarted() {}
    /** Called by destroy once the thread has ended. */
    virtual void onFinished() {}
    /** One unit of work; the loop ends when it clears the run flag. */
    virtual void onStep() = 0;

    std::mutex& section() { return section_; }
    void stopLoop() { run_ = false; }
    bool running() const { return run_; }
    void notify(int code);

private:
    void threadMain();

    std::thread thread_;
    Notify notify_;
    std::mutex section_; // the critical section of the derived job
    std::mutex suspendLock_;
    std::condition_variable resumed_;
    bool suspended_ = false;
    std::atomic<bool> run_{false};
    std::atomic<bool> active_{false};
    bool created_ = false;
};

class cThread_SaveGraph : public cBaseThread {
public:
    ~cThread_SaveGraph() override;

    /** The job; set it up with init before create. */
    cCaptureImage& job() { return job_; }

    /** Images made so far, readable from any thread. */
    int count() const { return count_; }
    /** Images the job will make (fixed by init). */
    int total() const { return total_; }
    /** The job's phase and its progress on one scale: images made plus, for a GIF,
     *  frames encoded, out of workTotal (fixed by init). */
    eCapturePhase phase() const { return phase_; }
    int framesEncoded() const { return encoded_; }
    int workDone() const { return count_ + encoded_; }
    int workTotal() const { return workTotal_; }
    bool done() const { return done_; }
    /** The job finished and wrote everything. */
    bool succeeded() const { return ok_; }
    bool cancelled() const { return cancelled_; }
    /** Stops the job between two units of work and discards it: nothing more is
     *  written, and a GIF leaves no file. */
    void cancel();

protected:
    void onCreated() override;
    void onStep() override;

private:
    cCaptureImage job_;
    std::atomic<int> count_{0}, encoded_{0};
    std::atomic<int> total_{0}, workTotal_{0};
    std::atomic<eCapturePhase> phase_{CP_CAPTURE};
    std::atomic<bool> done_{false}, ok_{false}, cancelled_{false};
};
