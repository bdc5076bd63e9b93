#include "render/Compositor.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/RenderThreads.h"
#include "render/Spans.h"

namespace {

constexpr double kFixed = 4294967296.0;

// Source positions inside a covered span stay near the pattern; the clamp only keeps
// degenerate input from overflowing the conversion.
int64_t toFixed(double v) { return static_cast<int64_t>(std::floor(std::clamp(v, -1e9, 1e9) * kFixed)); }

// A quad ready to draw: its corners, the rows it covers and the inverse map.
struct strPrepared {
    strTexels src;
    SpanFn fn;
    uint32_t opacity;
    double originX, originY;
    double cx[4], cy[4];
    double dsdx, dtdx, dsdy, dtdy;
    int64_t ds, dt;
    int row0, row1; // covered target rows, inclusive
    double area;    // of the quad, in target pixels
};

bool prepare(const strSurface& target, const strQuadDraw& q, strPrepared& p)
{
    const strTexels& src = q.src;
    const strQuadMap& m = q.map;
    if (!target.pixels || !src.texels || src.width <= 0 || src.height <= 0)
        return false;
    const double det = m.axisSX * m.axisTY - m.axisSY * m.axisTX;
    if (!(std::fabs(det) > 1e-12) || !std::isfinite(det))
        return false;
    const double w = src.width, h = src.height;
    const double cx[4] = {m.originX, m.originX + w * m.axisSX, m.originX + w * m.axisSX + h * m.axisTX,
                          m.originX + h * m.axisTX};
    const double cy[4] = {m.originY, m.originY + w * m.axisSY, m.originY + w * m.axisSY + h * m.axisTY,
                          m.originY + h * m.axisTY};
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(cx[i]) || !std::isfinite(cy[i]))
            return false;
    const double ymin = std::min({cy[0], cy[1], cy[2], cy[3]}), ymax = std::max({cy[0], cy[1], cy[2], cy[3]});
    const double y0 = std::max(std::ceil(ymin), 0.0), y1 = std::min(std::ceil(ymax) - 1, target.height - 1.0);
    if (y0 > y1)
        return false;

    p.src = src;
    p.fn = SpanFunction(q.blend);
    p.opacity = static_cast<uint32_t>(std::clamp(q.opacity, 0, 255));
    p.originX = m.originX;
    p.originY = m.originY;
    std::copy(cx, cx + 4, p.cx);
    std::copy(cy, cy + 4, p.cy);
    // Inverse map: source position of a target point, and its steps along a row.
    p.dsdx = m.axisTY / det;
    p.dtdx = -m.axisSY / det;
    p.dsdy = -m.axisTX / det;
    p.dtdy = m.axisSX / det;
    p.ds = toFixed(p.dsdx);
    p.dt = toFixed(p.dtdx);
    p.row0 = static_cast<int>(y0);
    p.row1 = static_cast<int>(y1);
    p.area = std::fabs(det) * w * h;
    return true;
}

// Reads the pattern once in memory order before a quad is drawn. A rotated quad
// reads its pattern across rows, which the processor's prefetcher does not foresee,
// so a pattern out of cache would arrive one line at a time; read in order it streams.
void warmSource(const strTexels& src)
{
    uint32_t sum = 0;
    for (int r = 0; r < src.height; ++r) {
        const uint32_t* row = src.texels + static_cast<size_t>(r) * src.stride;
        for (int c = 0; c < src.width; c += 16)
            sum += row[c];
    }
    asm volatile("" : : "r"(sum));
}

// Draws the quad's spans on the target rows first..last.
void drawRows(const strSurface& target, const strPrepared& p, int first, int last)
{
    const double* cx = p.cx;
    const double* cy = p.cy;
    for (int j = std::max(first, p.row0); j <= std::min(last, p.row1); ++j) {
        // Covered span of this row: the quad's crossing of the line y = j.
        double xl = INFINITY, xr = -INFINITY;
        for (int e = 0; e < 4; ++e) {
            double ax = cx[e], ay = cy[e], bx = cx[(e + 1) & 3], by = cy[(e + 1) & 3];
            if (j < std::min(ay, by) || j > std::max(ay, by))
                continue;
            if (ay == by) {
                xl = std::min({xl, ax, bx});
                xr = std::max({xr, ax, bx});
            } else {
                double x = ax + (j - ay) * (bx - ax) / (by - ay);
                xl = std::min(xl, x);
                xr = std::max(xr, x);
            }
        }
        if (!(xl <= xr))
            continue;
        double i0 = std::max(std::ceil(xl), 0.0), i1 = std::min(std::ceil(xr) - 1, target.width - 1.0);
        if (i0 > i1)
            continue;
        double qx = i0 - p.originX, qy = j - p.originY;
        strSpan sp;
        sp.dst = target.pixels + static_cast<size_t>(j) * target.stride + static_cast<size_t>(i0) * 4;
        sp.count = static_cast<int>(i1 - i0) + 1;
        sp.s = toFixed(qx * p.dsdx + qy * p.dsdy);
        sp.t = toFixed(qx * p.dtdx + qy * p.dtdy);
        sp.ds = p.ds;
        sp.dt = p.dt;
        p.fn(sp, p.src, p.opacity);
    }
}

// Below this many covered pixels a batch is not worth waking other threads for.
constexpr double kParallelArea = 65536;
// Bands per render thread: tall bands keep one quad's pattern and target rows in the
// core's cache while it is drawn; more than one per thread evens out the load.
constexpr int kBandsPerThread = 2;

} // namespace

void CompositeQuad(const strSurface& target, const strTexels& src, const strQuadMap& m, int opacity, int blend)
{
    strPrepared p;
    if (!prepare(target, strQuadDraw{src, m, opacity, blend}, p))
        return;
    warmSource(p.src);
    drawRows(target, p, p.row0, p.row1);
}

void CompositeQuads(const strSurface& target, const strQuadDraw* draws, size_t count)
{
    std::vector<strPrepared> list;
    list.reserve(count);
    double area = 0;
    for (size_t i = 0; i < count; ++i) {
        strPrepared p;
        if (!prepare(target, draws[i], p))
            continue;
        area += p.area;
        list.push_back(p);
    }
    if (list.empty())
        return;
    const int threads = area < kParallelArea ? 1 : RenderThreadCount();
    if (threads < 2) {
        for (const strPrepared& p : list) {
            warmSource(p.src);
            drawRows(target, p, p.row0, p.row1);
        }
        return;
    }
    // Each band takes every quad in order, so each pixel sees the same blends in the
    // same order as when the quads are drawn one after another.
    const int bandRows = std::max(32, (target.height + threads * kBandsPerThread - 1) / (threads * kBandsPerThread));
    const int bands = (target.height + bandRows - 1) / bandRows;
    RunOnRenderThreads(bands, [&](int band) {
        const int first = band * bandRows, last = std::min(first + bandRows, target.height) - 1;
        for (const strPrepared& p : list)
            if (p.row0 <= last && p.row1 >= first) {
                warmSource(p.src);
                drawRows(target, p, first, last);
            }
    });
}

void CompositeFill(const strSurface& target, uint32_t rgb, int strength, int blend)
{
    if (!target.pixels)
        return;
    const uint32_t texel = 0xFF000000u | (rgb & 0xFFFFFF);
    const strTexels src{&texel, 1, 1, 1};
    const SpanFn fn = SpanFunction(blend);
    const uint32_t opacity = static_cast<uint32_t>(std::clamp(strength, 0, 255));
    for (int j = 0; j < target.height; ++j) {
        strSpan sp{target.pixels + static_cast<size_t>(j) * target.stride, target.width, 0, 0, 0, 0};
        fn(sp, src, opacity);
    }
}
