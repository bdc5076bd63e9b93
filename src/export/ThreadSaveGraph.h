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
    bool Create(Notify notify);
    /** Suspends (true) or resumes (false) the loop between two steps. */
    void Suspend(bool suspended);
    /** Stops the loop after the current step, waits for the thread, runs the finished
     *  hook. Safe to call more than once. */
    void Destroy();
    /** The thread has started and not yet left its loop. */
    bool IsActive() const { return active_; }

protected:
    /** Called by create on the creating thread, before the thread starts. */
    virtual void OnCreated() {}
    /** Called on the worker thread before its first step. */
    virtual void OnStarted() {}
    /** Called by destroy once the thread has ended. */
    virtual void OnFinished() {}
    /** One unit of work; the loop ends when it clears the run flag. */
    virtual void OnStep() = 0;

    std::mutex& Section() { return section_; }
    void StopLoop() { run_ = false; }
    bool Running() const { return run_; }
    void Report(int code);

private:
    void ThreadMain();

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
    cCaptureImage& Job() { return job_; }

    /** Images made so far, readable from any thread. */
    int Count() const { return count_; }
    /** Images the job will make (fixed by init). */
    int Total() const { return total_; }
    /** The job's phase and its progress on one scale: images made plus, for a GIF,
     *  frames encoded, out of WorkTotal (fixed by Init). */
    eCapturePhase Phase() const { return phase_; }
    int FramesEncoded() const { return encoded_; }
    int WorkDone() const { return count_ + encoded_; }
    int WorkTotal() const { return workTotal_; }
    bool Done() const { return done_; }
    /** The job finished and wrote everything. */
    bool Succeeded() const { return ok_; }
    bool Cancelled() const { return cancelled_; }
    /** Stops the job between two units of work and discards it: nothing more is
     *  written, and a GIF leaves no file. */
    void Cancel();

protected:
    void OnCreated() override;
    void OnStep() override;

private:
    cCaptureImage job_;
    std::atomic<int> count_{0}, encoded_{0};
    std::atomic<int> total_{0}, workTotal_{0};
    std::atomic<eCapturePhase> phase_{CP_CAPTURE};
    std::atomic<bool> done_{false}, ok_{false}, cancelled_{false};
};
