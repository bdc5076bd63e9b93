#include "render/OverlayLines.h"

#include "image/Bmp.h"

#include <algorithm>
#include <cmath>

namespace {

void plotSpan(uint32_t* row, int x0, int x1, const strPen& pen)
{
    const uint32_t colour = 0xFF000000u | (pen.argb & 0xFFFFFF);
    if (!pen.blend) {
        std::fill(row + x0, row + x1, colour);
        return;
    }
    const uint32_t a = pen.argb >> 24, r = 255 - a;
    if (a == 0)
        return;
    const uint32_t sr = (pen.argb >> 16) & 255, sg = (pen.argb >> 8) & 255, sb = pen.argb & 255;
    for (int x = x0; x < x1; ++x) {
        const uint32_t d = row[x];
        const uint32_t dr = (d >> 16) & 255, dg = (d >> 8) & 255, db = d & 255;
        row[x] = (d & 0xFF000000u) | ((sr * a + dr * r + 127) / 255) << 16 | ((sg * a + dg * r + 127) / 255) << 8 |
                 ((sb * a + db * r + 127) / 255);
    }
}

// Clips the segment to [lo, hi] on both axes (Liang–Barsky); false when nothing is left.
bool clip(float& x0, float& y0, float& x1, float& y1, float loX, float loY, float hiX, float hiY)
{
    float t0 = 0, t1 = 1;
    const float dx = x1 - x0, dy = y1 - y0;
    const float p[4] = {-dx, dx, -dy, dy};
    const float q[4] = {x0 - loX, hiX - x0, y0 - loY, hiY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const float t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const float ax = x0 + t0 * dx, ay = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = ax;
    y0 = ay;
    return true;
}

} // namespace

void FillRect(cBMP& target, int x0, int y0, int x1, int y1, const strPen& pen)
{
    if (target.Empty() || target.BitsPerPixel() != 32)
        return;
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, target.Width());
    y1 = std::min(y1, target.Height());
    for (int y = y0; y < y1 && x0 < x1; ++y)
        plotSpan(reinterpret_cast<uint32_t*>(target.Row(y)), x0, x1, pen);
}

void DrawLine(cBMP& target, float x0, float y0, float x1, float y1, const strPen& pen)
{
    if (target.Empty() || target.BitsPerPixel() != 32)
        return;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;
    const int w = std::max(pen.width, 1);
    const float margin = float(w);
    if (!clip(x0, y0, x1, y1, -margin, -margin, float(target.Width()) + margin, float(target.Height()) + margin))
        return;
    const int steps = int(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))));
    const int half = (w - 1) / 2;
    int lastX = INT32_MIN, lastY = INT32_MIN;
    for (int i = 0; i <= steps; ++i) {
        const float t = steps > 0 ? float(i) / float(steps) : 0.0f;
        const int x = int(std::lround(x0 + (x1 - x0) * t)) - half;
        const int y = int(std::lround(y0 + (y1 - y0) * t)) - half;
        // A blended pen must not cover a pixel twice.
        if (x == lastX && y == lastY)
            continue;
        lastX = x;
        lastY = y;
        FillRect(target, x, y, x + w, y + w, pen);
    }
}
