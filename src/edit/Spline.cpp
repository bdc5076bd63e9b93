#include "edit/Spline.h"

#include "edit/EditStrings.h"
#include "edit/FrameOps.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "project/Settings.h"

#include <algorithm>
#include <cmath>

namespace {
// Truncation toward zero, kept inside the int range for far-away points.
int truncToInt(float v) { return int(std::clamp(v, -1e9f, 1e9f)); }

float bezier(float p0, float p1, float p2, float t)
{
    const float u = 1.0f - t;
    const float a = u * u * p0;
    const float b = 2.0f * t * u * p1;
    const float c = t * t * p2;
    return (a + b) + c;
}

strPointI snapped(strPointI p, int step)
{
    p.x = SnapToGrid(p.x, step);
    p.y = SnapToGrid(p.y, step);
    return p;
}
} // namespace

strPointI SplinePoint(strPointF p0, strPointF p1, strPointF p2, float t)
{
    return {truncToInt(bezier(p0.x, p1.x, p2.x, t)), truncToInt(bezier(p0.y, p1.y, p2.y, t))};
}

int SnapToGrid(int v, int step)
{
    if (step <= 0)
        return v;
    return int(std::floor(double(v) / double(step) + 0.5)) * step;
}

void strSplineDialogState::Open(const cAnimeData& project, int f0, uint32_t gridBits)
{
    count = std::clamp(count, 0, std::max(0, project.GetValue(AI_FRAMES) - f0 - 1));
    grid = (gridBits & 1) != 0;
}

std::vector<strPointI> SplinePreview(strPointF p0, strPointF p1, strPointF p2, int count, int gridStep)
{
    std::vector<strPointI> points;
    for (int i = 1; i <= count; ++i)
        points.push_back(snapped(SplinePoint(p0, p1, p2, float(i) / float(count)), gridStep));
    return points;
}

int ApplySpline(cAnimeData& project, int f0, int s, int count, strPointF p0, strPointF p1, strPointF p2, int gridStep,
                iStatusSink& status)
{
    int first = f0, last = f0 + count;
    if (last < first)
        std::swap(first, last);
    int stored = 0;
    cTransaction transaction(project);
    if (const strCell* start = project.GetCell(first, s)) {
        strCell base = *start;
        const int end = std::min(last, project.FrameCapacity() - 1);
        for (int i = first + 1; i <= end; ++i) {
            if (const strCell* own = project.GetCell(i, s))
                base = *own;
            const strPointI p = snapped(SplinePoint(p0, p1, p2, float(i - first) / float(last - first)), gridStep);
            base.x = int16_t(std::clamp(p.x, -32768, 32767));
            base.y = int16_t(std::clamp(p.y, -32768, 32767));
            if (project.SetCell(i, s, &base))
                ++stored;
        }
    }
    transaction.Commit();
    ReportResult(status, ET_SPLINE_STORED, 0, stored > 0, stored);
    return stored;
}
