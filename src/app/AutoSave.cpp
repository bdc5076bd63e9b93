#include "app/AutoSave.h"

#include "edit/Document.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Strings.h"

#include <algorithm>
#include <ctime>

cAutoSave::cAutoSave(cDocument& document, std::filesystem::path folder, QObject* parent)
    : QObject(parent), document_(document), store_(std::make_unique<cRecoveryStore>(std::move(folder)))
{
    connect(&timer_, &QTimer::timeout, this, &cAutoSave::Tick);
}

cAutoSave::~cAutoSave() { Wait(); }

void cAutoSave::Wait()
{
    if (worker_.joinable())
        worker_.join();
}

bool cAutoSave::OfferRecovery(iMessageSink& messages)
{
    for (const strRecoveryInfo& info : store_->Orphans()) {
        if (messages.Ask(RecoveryQuestion(info), platform::Text(QT_TRANSLATE_NOOP("Strings", "復元")), ASK_YES_NO,
                         ICON_QUESTION) != ANSWER_YES) {
            cRecoveryStore::Discard(info);
            continue;
        }
        auto project = std::make_unique<cAnimeData>();
        if (!cRecoveryStore::Restore(info, *project)) {
            messages.Ask(platform::FormatText(QT_TRANSLATE_NOOP("Strings", "復元に失敗しました。\n%s"),
                                              info.file.string().c_str()),
                         platform::LoadString(40005), ASK_OK, ICON_ERROR);
            continue;
        }
        document_.InstallRecovered(std::move(project), info.originalPath);
        cRecoveryStore::Discard(info);
        // The restored work is unsaved: keep a copy of it from the start.
        Tick();
        return true;
    }
    return false;
}

void cAutoSave::SetInterval(int seconds)
{
    if (seconds <= 0) {
        timer_.stop();
        return;
    }
    timer_.start(std::min(seconds, 24 * 3600) * 1000);
}

void cAutoSave::Tick()
{
    if (!document_.Project().modified) {
        Settle();
        return;
    }
    if (writing_)
        return; // the previous copy is still being written; the next tick catches up
    if (failed_.exchange(false))
        lastCopy_.clear();
    strRecoverySnapshot snapshot;
    if (!cRecoveryStore::Snapshot(document_.Project(), document_.currentPath, int64_t(std::time(nullptr)), snapshot) ||
        snapshot.bytes == lastCopy_)
        return;
    Wait();
    lastCopy_ = snapshot.bytes;
    writing_ = true;
    worker_ = std::thread([this, bytes = std::move(snapshot)] {
        if (!store_->Commit(bytes))
            failed_ = true;
        writing_ = false;
    });
}

void cAutoSave::Settle()
{
    if (document_.Project().modified || lastCopy_.empty())
        return;
    Wait();
    store_->Remove();
    lastCopy_.clear();
}

void cAutoSave::Finish()
{
    timer_.stop();
    Wait();
    store_->Remove();
    lastCopy_.clear();
}
