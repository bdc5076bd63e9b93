#include "render/CanvasGeometry.h"

#include "model/Records.h"

#include <cmath>
#include <cstring>

strQuad CellQuad(const strCell& cell, int w, int h)
{
    const float sx = cell.scaleX / 100.0f, sy = cell.scaleY / 100.0f;
    const float radians = float(cell.angle) * 3.1415927f / 1800.0f;
    const float c = std::cos(radians), s = std::sin(radians);
    const float hw = w / 2.0f, hh = h / 2.0f;
    const float corners[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    strQuad q;
    for (int i = 0; i < 4; ++i) {
        const float dx = corners[i][0] * sx, dy = corners[i][1] * sy;
        q.v[i] = {c * dx - s * dy + cell.x, s * dx + c * dy + cell.y};
    }
    return q;
}

bool PatternPixelAt(const strCell& cell, int w, int h, strCanvasPoint a, int& px, int& py)
{
    const float sx = cell.scaleX / 100.0f, sy = cell.scaleY / 100.0f;
    if (sx == 0 || sy == 0)
        return false;
    const float radians = float(cell.angle) * 3.1415927f / 1800.0f;
    const float c = std::cos(radians), s = std::sin(radians);
    // Undo the move and the turn, then the scale; the pattern centre is (w/2, h/2).
    const float dx = a.x - cell.x, dy = a.y - cell.y;
    const float u = (c * dx + s * dy) / sx + w / 2.0f, v = (-s * dx + c * dy) / sy + h / 2.0f;
    if (!(u >= 0 && v >= 0 && u < float(w) && v < float(h)))
        return false;
    px = int(u);
    py = int(v);
    return true;
}

strQuad ToWindow(const strQuad& quad, const strCanvasView& view)
{
    strQuad q;
    for (int i = 0; i < 4; ++i)
        q.v[i] = view.ToWindow(quad.v[i].x, quad.v[i].y);
    return q;
}

bool QuadContains(const strQuad& quad, strCanvasPoint p)
{
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const strCanvasPoint& a = quad.v[i];
        const strCanvasPoint& b = quad.v[(i + 1) % 4];
        const float cross = (a.x - b.x) * (p.y - b.y) - (a.y - b.y) * (p.x - b.x);
        const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (s == 0)
            continue;
        if (sign == 0)
            sign = s;
        else if (s != sign)
            return false;
    }
    return true;
}

int16_t Snap(int value, int step, bool enabled)
{
    const int16_t v = int16_t(value);
    if (!enabled || step <= 0)
        return v;
    return TruncToInt16(float(std::floor(double(v) / step + 0.5) * step));
}

float DragAngle(float dx, float dy)
{
    if (std::fabs(dx) <= 0.01f && std::fabs(dy) <= 0.01f)
        return 0;
    return std::atan2(dy, dx);
}

float WrapAngle(float a)
{
    const float pi = 3.1415927f;
    while (a > pi)
        a -= 2 * pi;
    while (a < -pi)
        a += 2 * pi;
    return a;
}

float DragLength(float dx, float dy)
{
    const float x = dx * dx + dy * dy;
    if (!(x > 0))
        return 0;
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    bits = 0x5F3759DFu - (bits >> 1);
    float r;
    std::memcpy(&r, &bits, sizeof r);
    for (int i = 0; i < 3; ++i)
        r = r * (1.5f - (x / 2) * r * r);
    return x * r;
}

int16_t TruncToInt16(float v)
{
    if (!(v > -32768.0f))
        return v != v ? 0 : int16_t(-32768);
    if (v >= 32767.0f)
        return 32767;
    return int16_t(int(v));
}
