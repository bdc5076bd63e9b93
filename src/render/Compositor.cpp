#include "render/Compositor.h"

#include <algorithm>
#include <cmath>

namespace {

// Source alpha is carried as a × opacity (0..K), i.e. in units of 1 / (255 × 255),
// so the blends below round only once, at the end.
constexpr uint32_t K = 255 * 255;
constexpr uint64_t K2 = uint64_t{K} * K;
constexpr uint64_t K255 = uint64_t{K} * 255;

inline uint8_t divK(uint64_t v) { return static_cast<uint8_t>((v + K / 2) / K); }
inline uint8_t divK2(uint64_t v) { return static_cast<uint8_t>((v + K2 / 2) / K2); }
inline uint8_t divK255(uint64_t v) { return static_cast<uint8_t>((v + K255 / 2) / K255); }

template <int Mode>
inline void blendPixel(uint8_t* d, uint32_t texel, uint32_t opacity)
{
    const uint32_t A = (texel >> 24) * opacity;  // 0..K
    const uint32_t S[3] = {texel & 255, (texel >> 8) & 255, (texel >> 16) & 255};
    if constexpr (Mode == kBlendNormal) {
        if (A == 0) return;
        if (A == K) {
            d[0] = static_cast<uint8_t>(S[0]);
            d[1] = static_cast<uint8_t>(S[1]);
            d[2] = static_cast<uint8_t>(S[2]);
            d[3] = 255;
            return;
        }
        for (int c = 0; c < 3; ++c) d[c] = divK(uint64_t{S[c]} * A + uint64_t{d[c]} * (K - A));
        d[3] = divK2(uint64_t{A} * A * 255 + uint64_t{d[3]} * (K - A) * K);
    } else if constexpr (Mode == kBlendAdd) {
        if (A == 0) return;
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(std::min<uint64_t>(255, (uint64_t{d[c]} * K + S[c] * A + K / 2) / K));
        d[3] = static_cast<uint8_t>(std::min<uint64_t>(255, (uint64_t{d[3]} * K2 + uint64_t{A} * A * 255 + K2 / 2) / K2));
    } else if constexpr (Mode == kBlendSubtract) {
        if (A == 0) return;
        for (int c = 0; c < 3; ++c) {
            int64_t v = int64_t{d[c]} * K - int64_t{S[c]} * A;
            d[c] = v <= 0 ? 0 : divK(static_cast<uint64_t>(v));
        }
        int64_t v = static_cast<int64_t>(uint64_t{d[3]} * K2) - static_cast<int64_t>(uint64_t{A} * A * 255);
        d[3] = v <= 0 ? 0 : divK2(static_cast<uint64_t>(v));
    } else if constexpr (Mode == kBlendMultiply) {
        // D × (S × A + (1 − A)); the alpha becomes Dₐ × A.
        for (int c = 0; c < 3; ++c) d[c] = divK255(uint64_t{d[c]} * (S[c] * A + 255 * (K - A)));
        d[3] = divK(uint64_t{d[3]} * A);
    } else if constexpr (Mode == kBlendScreen) {
        if (A == 0) return;
        for (int c = 0; c < 3; ++c) d[c] = divK255(uint64_t{S[c]} * A * (255 - d[c]) + uint64_t{d[c]} * K255);
        d[3] = divK(uint64_t{A} * (255 - d[3]) + uint64_t{d[3]} * K);
    } else {
        d[0] = static_cast<uint8_t>(S[0]);
        d[1] = static_cast<uint8_t>(S[1]);
        d[2] = static_cast<uint8_t>(S[2]);
        d[3] = static_cast<uint8_t>((A + 127) / 255);
    }
}

struct Span {
    uint8_t* dst;
    int count;
    int64_t s, t, ds, dt;  // source position and step, 32.32 fixed point
};

template <int Mode>
void drawSpan(const Span& sp, const strTexels& src, uint32_t opacity)
{
    const int wMax = src.width - 1, hMax = src.height - 1;
    uint8_t* d = sp.dst;
    int64_t s = sp.s, t = sp.t;
    for (int k = 0; k < sp.count; ++k, d += 4, s += sp.ds, t += sp.dt) {
        int col = std::clamp(static_cast<int>(s >> 32), 0, wMax);
        int row = std::clamp(static_cast<int>(t >> 32), 0, hMax);
        blendPixel<Mode>(d, src.texels[static_cast<size_t>(row) * src.stride + col], opacity);
    }
}

using SpanFn = void (*)(const Span&, const strTexels&, uint32_t);

SpanFn spanFunction(int blend)
{
    switch (blend) {
    case kBlendNormal: return drawSpan<kBlendNormal>;
    case kBlendAdd: return drawSpan<kBlendAdd>;
    case kBlendSubtract: return drawSpan<kBlendSubtract>;
    case kBlendMultiply: return drawSpan<kBlendMultiply>;
    case kBlendScreen: return drawSpan<kBlendScreen>;
    default: return drawSpan<-1>;
    }
}

constexpr double kFixed = 4294967296.0;

int64_t toFixed(double v) { return static_cast<int64_t>(std::floor(v * kFixed)); }

}  // namespace

void compositeQuad(const strSurface& target, const strTexels& src, const strQuadMap& m, int opacity, int blend)
{
    if (!target.pixels || !src.texels || src.width <= 0 || src.height <= 0) return;
    const double det = m.axisSX * m.axisTY - m.axisSY * m.axisTX;
    if (!(std::fabs(det) > 1e-12) || !std::isfinite(det)) return;
    const double w = src.width, h = src.height;
    const double cx[4] = {m.originX, m.originX + w * m.axisSX, m.originX + w * m.axisSX + h * m.axisTX,
                          m.originX + h * m.axisTX};
    const double cy[4] = {m.originY, m.originY + w * m.axisSY, m.originY + w * m.axisSY + h * m.axisTY,
                          m.originY + h * m.axisTY};
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(cx[i]) || !std::isfinite(cy[i])) return;
    const double ymin = std::min({cy[0], cy[1], cy[2], cy[3]}), ymax = std::max({cy[0], cy[1], cy[2], cy[3]});
    const double y0 = std::max(std::ceil(ymin), 0.0), y1 = std::min(std::ceil(ymax) - 1, target.height - 1.0);
    if (y0 > y1) return;

    // Inverse map: source position of a target point, and its steps along a row.
    const double dsdx = m.axisTY / det, dtdx = -m.axisSY / det;
    const double dsdy = -m.axisTX / det, dtdy = m.axisSX / det;
    const uint32_t op = static_cast<uint32_t>(std::clamp(opacity, 0, 255));
    const SpanFn fn = spanFunction(blend);
    const int64_t ds = toFixed(dsdx), dt = toFixed(dtdx);

    for (int j = static_cast<int>(y0); j <= static_cast<int>(y1); ++j) {
        // Covered span of this row: the quad's crossing of the line y = j.
        double xl = INFINITY, xr = -INFINITY;
        for (int e = 0; e < 4; ++e) {
            double ax = cx[e], ay = cy[e], bx = cx[(e + 1) & 3], by = cy[(e + 1) & 3];
            if (j < std::min(ay, by) || j > std::max(ay, by)) continue;
            if (ay == by) {
                xl = std::min({xl, ax, bx});
                xr = std::max({xr, ax, bx});
            } else {
                double x = ax + (j - ay) * (bx - ax) / (by - ay);
                xl = std::min(xl, x);
                xr = std::max(xr, x);
            }
        }
        if (!(xl <= xr)) continue;
        double i0 = std::max(std::ceil(xl), 0.0), i1 = std::min(std::ceil(xr) - 1, target.width - 1.0);
        if (i0 > i1) continue;
        double qx = i0 - m.originX, qy = j - m.originY;
        Span sp;
        sp.dst = target.pixels + static_cast<size_t>(j) * target.stride + static_cast<size_t>(i0) * 4;
        sp.count = static_cast<int>(i1 - i0) + 1;
        sp.s = toFixed(qx * dsdx + qy * dsdy);
        sp.t = toFixed(qx * dtdx + qy * dtdy);
        sp.ds = ds;
        sp.dt = dt;
        fn(sp, src, op);
    }
}

void compositeFill(const strSurface& target, uint32_t rgb, int strength, int blend)
{
    if (!target.pixels) return;
    const uint32_t texel = 0xFF000000u | (rgb & 0xFFFFFF);
    const strTexels src{&texel, 1, 1, 1};
    const SpanFn fn = spanFunction(blend);
    const uint32_t op = static_cast<uint32_t>(std::clamp(strength, 0, 255));
    for (int j = 0; j < target.height; ++j) {
        Span sp{target.pixels + static_cast<size_t>(j) * target.stride, target.width, 0, 0, 0, 0};
        fn(sp, src, op);
    }
}
