#pragma once
// cAutoSave: the editor's side of recovery copies. A timer writes a copy of the
// current project every AutoSaveInterval seconds while it has unsaved changes
// that differ from the last copy; the file write runs on a worker thread so a
// slow disk never stalls the window. A save, a new or opened project without
// changes, or a clean exit removes the copy. At start-up, copies left by
// crashed sessions are offered for restoring.

#include "project/RecoveryStore.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

class cDocument;
class iMessageSink;

class cAutoSave : public QObject {
    Q_OBJECT
public:
    /** folder: where this editor keeps its recovery copies. */
    cAutoSave(cDocument& document, std::filesystem::path folder, QObject* parent = nullptr);
    ~cAutoSave() override;

    /** Offers the copies of crashed sessions, newest first, naming file and time; the
     *  first one accepted is installed (modified, with its original path). Declined
     *  copies are deleted. True when a project was restored. */
    bool OfferRecovery(iMessageSink& messages);
    /** Starts the timer with the interval in seconds; 0 or less turns it off. */
    void SetInterval(int seconds);
    /** Writes a copy now when the project has changes not yet copied; removes the
     *  copy when the project has no unsaved changes. */
    void Tick();
    /** After a file command: a project without unsaved changes needs no copy. */
    void Settle();
    /** Clean exit: waits for a write in progress and removes the copy. */
    void Finish();
    /** Waits for a write in progress (tests). */
    void Wait();
    const cRecoveryStore& Store() const { return *store_; }

private:
    cDocument& document_;
    std::unique_ptr<cRecoveryStore> store_;
    QTimer timer_;
    std::thread worker_;
    std::atomic<bool> writing_{false};
    std::atomic<bool> failed_{false}; // the last write failed: the next tick writes again
    std::string lastCopy_;            // bytes of the copy on disk; empty when there is none
};
