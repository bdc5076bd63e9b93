#include "edit/Interpolate.h"

#include "edit/EditStrings.h"
#include "edit/FrameOps.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Strings.h"

#include <algorithm>

void ResizeTicks(std::vector<bool>& ticks, int n) { ticks.resize(size_t(std::max(n, 0)), false); }

uint32_t ParamMask(const std::vector<bool>& paramTicks)
{
    uint32_t mask = 0;
    for (size_t i = 0; i < paramTicks.size() && i < CP_COUNT; ++i)
        if (paramTicks[i])
            mask |= 1u << i;
    return mask;
}

int InterpolateSelected(cAnimeData& project, int f, const std::vector<int>& cellNumbers, int compType,
                        iStatusSink& status)
{
    int stored = 0;
    cTransaction transaction(project);
    for (int s : cellNumbers) {
        const strCell* own = project.GetCell(f, s);
        if (!own)
            continue;
        strCell w = *own;
        if (InterpolateCell(w, project.GetCell(f - 1, s), project.GetCell(f + 1, s), 0.5f, compType) &&
            project.SetCell(f, s, &w))
            ++stored;
    }
    transaction.Commit();
    if (stored > 0)
        ReportResult(status, ET_SELECTED_INTERPOLATED, kNoMessage, true, stored);
    return stored;
}

int InterpolateBlock(cAnimeData& project, int f0, int f1, int k0, int k1, int compType)
{
    if (f1 < f0)
        std::swap(f0, f1);
    if (k1 < k0)
        std::swap(k0, k1);
    const int lastFrame = project.LastUsedIndex(AI_FRAMES);
    f0 = std::max(f0, 0);
    f1 = std::min(f1, lastFrame);
    k0 = std::max(k0, 0);
    k1 = std::min(k1, project.CellCount() - 1);
    int stored = 0;
    cTransaction transaction(project);
    for (int k = k0; k <= k1 && f0 <= f1; ++k) {
        int prev = f0 - 1, next = f1 + 1;
        while (prev >= 0 && !project.GetCell(prev, k))
            --prev;
        while (next <= lastFrame && !project.GetCell(next, k))
            ++next;
        // Copies: storing into the block may not disturb the keys, but keep them stable.
        const strCell* pk = prev >= 0 ? project.GetCell(prev, k) : nullptr;
        const strCell* nk = next <= lastFrame ? project.GetCell(next, k) : nullptr;
        if (!pk && !nk)
            continue;
        const strCell p = pk ? *pk : strCell(), n = nk ? *nk : strCell();
        for (int g = f0; g <= f1; ++g) {
            strCell w;
            if (pk && nk) {
                const strCell* own = project.GetCell(g, k);
                w = own ? *own : p;
                InterpolateCell(w, &p, &n, float(g - prev) / float(next - prev), compType);
            } else {
                w = pk ? p : n;
            }
            if (project.SetCell(g, k, &w))
                ++stored;
        }
    }
    transaction.Commit();
    return stored;
}

int InterpolateSpan(cAnimeData& project, int s, int a, int b, uint32_t mask, bool fill)
{
    const strCell* sp = project.GetCell(a, s);
    const strCell* ep = project.GetCell(b, s);
    if (!sp || !ep)
        return 0;
    const strCell start = *sp;
    int from[CP_COUNT];
    float delta[CP_COUNT];
    for (int i = 0; i < CP_COUNT; ++i) {
        from[i] = start.Get(i);
        delta[i] = float(ep->Get(i)) - float(from[i]);
    }
    int stored = 0;
    for (int g = a + 1; g < b; ++g) {
        const float t = float(g - a) / float(b - a);
        const strCell* own = project.GetCell(g, s);
        if (!own && !fill)
            continue;
        strCell base = own ? *own : start;
        for (int i = 0; i < CP_COUNT; ++i)
            if (mask & (1u << i))
                base.Set(i, from[i] + int(delta[i] * t));
        if (mask != 0 && project.SetCell(g, s, &base))
            ++stored;
    }
    return stored;
}

void strFrameInterpolationState::Prepare(const cAnimeData& project)
{
    ResizeTicks(cellTicks, project.CellCount());
    ResizeTicks(paramTicks, CP_COUNT);
}

void strFrameInterpolationState::PresetFromSelection(const cAnimeData& project, int f0, int f1, int k0, int k1)
{
    Prepare(project);
    first = std::min(f0, f1);
    last = std::max(f0, f1);
    for (int k = std::max(std::min(k0, k1), 0); k <= std::max(k0, k1) && k < int(cellTicks.size()); ++k)
        cellTicks[size_t(k)] = true;
}

namespace {
// The first frame >= from and below n that holds a cell in slot s, or n.
int nextKey(const cAnimeData& project, int s, int from, int n)
{
    while (from < n && !project.GetCell(from, s))
        ++from;
    return from;
}
} // namespace

int RunFrameInterpolation(cAnimeData& project, const strFrameInterpolationState& state, iStatusSink& status)
{
    const int n = project.GetValue(AI_FRAMES);
    int a = std::clamp(state.first, 0, n), b = std::clamp(state.last, 0, n);
    if (b < a)
        std::swap(a, b);
    const uint32_t mask = ParamMask(state.paramTicks);
    int stored = 0;
    cTransaction transaction(project);
    const int cells = std::min<int>(project.CellCount(), int(state.cellTicks.size()));
    for (int s = 0; s < cells; ++s) {
        if (!state.cellTicks[size_t(s)])
            continue;
        if (state.method == FIM_KEYS) {
            for (int j = nextKey(project, s, a, n); j < n;) {
                const int k = nextKey(project, s, j + 1, n);
                if (k >= n)
                    break;
                stored += InterpolateSpan(project, s, j, k, mask, true);
                j = k;
            }
        } else if (project.GetCell(a, s) && project.GetCell(b, s)) {
            stored += InterpolateSpan(project, s, a, b, mask, state.method != FIM_USED_ONLY);
        }
    }
    transaction.Commit();
    if (stored > 0)
        status.ShowStatus(platform::FormatString(ET_FRAMES_INTERPOLATED, a, b, stored));
    else
        status.ShowStatus(FailureText());
    return stored;
}
