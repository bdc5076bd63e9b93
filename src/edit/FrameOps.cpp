#include "edit/FrameOps.h"

#include "edit/EditStrings.h"
#include "edit/HistoryCommands.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Strings.h"
#include "project/Settings.h"

#include <algorithm>
#include <ctime>

std::string FailureText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return platform::FormatString(ST_FAILED_AT, local.tm_min, local.tm_sec);
}

void ReportResult(iStatusSink& status, int successText, int failureText, bool succeeded, int value)
{
    if (succeeded && successText > 0)
        status.ShowStatus(platform::FormatString(successText, value));
    else if (!succeeded && failureText == kNoMessage)
        return;
    else if (!succeeded && failureText > 0)
        status.ShowStatus(platform::FormatString(failureText, value));
    else
        status.ShowStatus(FailureText());
}

int ClampCurrentFrame(const cAnimeData& project, int current)
{
    const int n = project.GetValue(AI_FRAMES);
    if (n <= 0)
        return -1;
    return std::clamp(current, 0, n - 1);
}

int PreviousFrame(cAnimeData& project, int current, iMessageSink& messages)
{
    GuardCurrentFrame(project, current, messages);
    return current < 1 ? current : ClampCurrentFrame(project, current - 1);
}

int FirstFrame(cAnimeData& project, int current, iMessageSink& messages)
{
    GuardCurrentFrame(project, current, messages);
    return current < 1 ? current : ClampCurrentFrame(project, 0);
}

int LastFrame(cAnimeData& project, int current, iMessageSink& messages)
{
    GuardCurrentFrame(project, current, messages);
    const int n = project.GetValue(AI_FRAMES);
    const int last = n == 0 ? 0 : n - 1;
    return current == last ? current : ClampCurrentFrame(project, last);
}

int NextFrame(cAnimeData& project, int current, bool addAtEnd, iStatusSink& status, iMessageSink& messages)
{
    const int n = project.GetValue(AI_FRAMES);
    GuardCurrentFrame(project, current, messages);
    if (current >= n - 1 && addAtEnd) {
        cTransaction transaction(project);
        const bool ok = project.InsertFrames(n, 1);
        transaction.Commit();
        ReportResult(status, ET_FRAME_INSERTED, 0, ok, n);
        if (!ok)
            return ClampCurrentFrame(project, current);
    }
    return ClampCurrentFrame(project, current + 1);
}

bool InsertFrame(cAnimeData& project, int& current, iStatusSink& status)
{
    cTransaction transaction(project);
    const bool ok = project.InsertFrames(current, 1);
    transaction.Commit();
    ReportResult(status, ET_FRAME_INSERTED, 0, ok, current);
    current = ClampCurrentFrame(project, current);
    return ok;
}

bool DeleteFrame(cAnimeData& project, int& current, iStatusSink& status)
{
    cTransaction transaction(project);
    const bool ok = project.DeleteFrames(current, 1, true);
    if (ok && project.GetValue(AI_FRAMES) == 0)
        project.InsertFrames(0, 1);
    transaction.Commit();
    ReportResult(status, ET_FRAME_DELETED, 0, ok, current);
    current = ClampCurrentFrame(project, current);
    return ok;
}

bool ClearFrame(cAnimeData& project, int& current, iStatusSink& status)
{
    cTransaction transaction(project);
    const bool ok = project.ClearFrames(current, 1);
    transaction.Commit();
    ReportResult(status, ET_FRAME_CLEARED, 0, ok, current);
    current = ClampCurrentFrame(project, current);
    return ok;
}

bool CopyNeighbour(cAnimeData& project, int destination, int source, iStatusSink& status)
{
    const int n = project.GetValue(AI_FRAMES);
    bool ok = false;
    if (destination >= 0 && destination < n && source >= 0 && source < n) {
        cTransaction transaction(project);
        ok = project.CopyFrame(destination, source);
        if (ok)
            project.SetInterval(destination, 0);
        transaction.Commit();
    }
    if (ok)
        status.ShowStatus(platform::FormatString(ET_FRAME_COPIED, source, destination));
    else
        status.ShowStatus(FailureText());
    return ok;
}

bool CopyFromPrevious(cAnimeData& project, int& current, iStatusSink& status, iMessageSink& messages)
{
    GuardCurrentFrame(project, current, messages);
    return CopyNeighbour(project, current, current - 1, status);
}

bool CopyFromNext(cAnimeData& project, int& current, iStatusSink& status, iMessageSink& messages)
{
    GuardCurrentFrame(project, current, messages);
    return CopyNeighbour(project, current, current + 1, status);
}

bool InterpolateFromNeighbours(cAnimeData& project, int& current, int compType, iStatusSink& status,
                               iMessageSink& messages)
{
    GuardCurrentFrame(project, current, messages);
    const int f = current;
    int stored = 0;
    cTransaction transaction(project);
    if (project.GetFrame(f)) {
        for (int s = project.CellCount() - 1; s >= 0; --s) {
            const strCell* p = project.GetCell(f - 1, s);
            const strCell* n = project.GetCell(f + 1, s);
            const strCell* own = project.GetCell(f, s);
            const strCell* base = own ? own : p ? p : n;
            if (!base)
                continue;
            strCell w = *base;
            if (InterpolateCell(w, p, n, 0.5f, compType) && project.SetCell(f, s, &w))
                ++stored;
        }
    }
    transaction.Commit();
    ReportResult(status, ET_FRAME_INTERPOLATED, 0, stored > 0, f);
    return stored > 0;
}

bool InterpolateCell(strCell& w, const strCell* p, const strCell* n, float t, int compType)
{
    const bool keepPicture = compType == 1 || compType == 2;
    const bool keepColour = compType == 2;
    const strCell before = w;
    if (p && n) {
        for (int i = 0; i < CP_COUNT; ++i) {
            if (keepPicture && (i == CP_PICTURE || i == CP_PATTERN))
                continue;
            if (keepColour && i >= CP_RED)
                continue;
            const int from = p->Get(i);
            const float delta = float(n->Get(i)) - float(from);
            w.Set(i, from + int(delta * t));
        }
    } else if (p) {
        w = *p;
    } else if (n) {
        w = *n;
    } else {
        return false;
    }
    if (keepPicture) {
        w.picture = before.picture;
        w.pattern = before.pattern;
    }
    if (keepColour) {
        w.red = before.red;
        w.green = before.green;
        w.blue = before.blue;
        w.saturation = before.saturation;
    }
    return true;
}

void strIntervalDialogState::PresetFromSelection(const cAnimeData& project, int f0, int f1)
{
    const int last = std::max(0, project.GetValue(AI_FRAMES) - 1);
    first = std::clamp(f0, 0, last);
    this->last = std::clamp(f1, 0, last);
    const strFrame* frame = project.GetFrame(first);
    interval = frame ? frame->interval : 0;
}

int SetIntervals(cAnimeData& project, int first, int last, int interval, iStatusSink& status)
{
    if (last < first)
        std::swap(first, last);
    interval = std::clamp(interval, 0, 255);
    int changed = 0;
    const int from = std::max(first, 0), to = std::min(last, project.FrameCapacity() - 1);
    cTransaction transaction(project);
    for (int f = from; f <= to; ++f)
        if (project.SetInterval(f, interval))
            ++changed;
    transaction.Commit();
    status.ShowStatus(platform::FormatString(ST_INTERVALS_SET, first, last, interval));
    return changed;
}
