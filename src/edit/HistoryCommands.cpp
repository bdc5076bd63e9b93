#include "edit/HistoryCommands.h"

#include "edit/RestoreHistory.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Strings.h"

#include <algorithm>

namespace {
bool restoreCommand(cAnimeData& project, cRestoreHistory& history, iStatusSink& status, int direction, int okText,
                    int failText)
{
    project.EndRecord(false);
    const bool done = history.Restore(project, direction);
    status.ShowStatus(platform::LoadString(done ? okText : failText));
    return done;
}
} // namespace

bool UndoCommand(cAnimeData& project, cRestoreHistory& history, iStatusSink& status)
{
    return restoreCommand(project, history, status, RESTORE_UNDO, 40039, 40038);
}

bool RedoCommand(cAnimeData& project, cRestoreHistory& history, iStatusSink& status)
{
    return restoreCommand(project, history, status, RESTORE_REDO, 40041, 40040);
}

bool GuardCurrentFrame(cAnimeData& project, int& currentFrame, iMessageSink& messages)
{
    if (project.GetFrame(currentFrame))
        return true;
    messages.Ask(platform::Text(QT_TRANSLATE_NOOP(
                     "Strings", "フレーム処理に不備があるようです。\n復帰を試みますが、履歴がリセットされます。")),
                 platform::LoadString(40005), ASK_OK, ICON_ERROR);
    project.ForgetRecords();
    project.CompactFrames();
    const int frames = project.GetValue(AI_FRAMES);
    currentFrame = frames == 0 ? -1 : std::clamp(currentFrame, 0, frames - 1);
    return false;
}
