#include "edit/BatchEdit.h"

#include "edit/EditStrings.h"
#include "edit/FrameOps.h"
#include "edit/Interpolate.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"

#include <algorithm>

namespace {
// The values a cell parameter's storage holds: a result stops at its ends
// instead of wrapping (opacity 255 + 100 and 200 * 150 % stay 255).
int clampToField(int param, int value)
{
    switch (param) {
    case CP_PATTERN: return std::clamp(value, 0, 65535);
    case CP_X:
    case CP_Y:
    case CP_SCALE_X:
    case CP_SCALE_Y:
    case CP_ANGLE: return std::clamp(value, -32768, 32767);
    default: return std::clamp(value, 0, 255);
    }
}

void tickRange(std::vector<bool>& ticks, int a, int b)
{
    for (int i = std::max(std::min(a, b), 0); i <= std::max(a, b) && i < int(ticks.size()); ++i)
        ticks[size_t(i)] = true;
}
} // namespace

void strBatchEditState::Prepare(const cAnimeData& project)
{
    ResizeTicks(frameTicks, project.GetValue(AI_FRAMES));
    ResizeTicks(cellTicks, project.CellCount());
    ResizeTicks(paramTicks, CP_COUNT);
}

void strBatchEditState::PresetFromSelection(const cAnimeData& project, int f0, int f1, int k0, int k1)
{
    Prepare(project);
    tickRange(frameTicks, f0, f1);
    tickRange(cellTicks, k0, k1);
}

int ApplyFormula(int formula, int p, int v)
{
    switch (formula) {
    case BF_ADD: return p + v; // the caller clamps to the field
    case BF_PERCENT: return p * v / 100;
    default: return v;
    }
}

int RunBatchEdit(cAnimeData& project, const strBatchEditState& state, iStatusSink& status)
{
    std::vector<int> cells;
    for (size_t s = 0; s < state.cellTicks.size() && int(s) < project.CellCount(); ++s)
        if (state.cellTicks[s])
            cells.push_back(int(s));
    if (cells.empty())
        return 0;
    const uint32_t mask = ParamMask(state.paramTicks);
    const int v = std::clamp(state.value, -9999, 9999);
    int stored = 0;
    cTransaction transaction(project);
    for (size_t f = 0; f < state.frameTicks.size() && mask != 0; ++f) {
        if (!state.frameTicks[f])
            continue;
        for (int s : cells) {
            const strCell* cell = project.GetCell(int(f), s);
            if (!cell)
                continue;
            strCell w = *cell;
            for (int i = 0; i < CP_COUNT; ++i)
                if (mask & (1u << i)) {
                    const int r = ApplyFormula(state.formula, w.Get(i), v);
                    w.Set(i, clampToField(i, r));
                }
            if (project.SetCell(int(f), s, &w))
                ++stored;
        }
    }
    transaction.Commit();
    ReportResult(status, ET_BATCH_EDITED, 0, stored > 0, stored);
    return stored;
}
