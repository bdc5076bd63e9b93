#include "render/Compositor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Source alpha a × opacity / (255 × 255) is carried with 15 fraction bits (0..32768),
// looked up per texel alpha; the blends below round once, at the end.
constexpr uint32_t kOne = 32768;
constexpr uint32_t kHalf = kOne / 2;
constexpr uint32_t k255One = 255 * kOne;

struct AlphaTable {
    uint32_t a[256];  // fixed point, scalar blends
    float f[256];     // 0..1, vector blends
    explicit AlphaTable(uint32_t opacity)
    {
        for (uint32_t v = 0; v < 256; ++v) {
            a[v] = (v * opacity * kOne + 65025 / 2) / 65025;
            f[v] = static_cast<float>(v * opacity) / 65025.0f;
        }
    }
};

#if defined(__SSE2__)
// The same blends on the four channels at once, in single precision. The alpha lane
// of the source holds A × 255 for the modes whose alpha result uses A × A, and 255
// where it uses A alone (multiply, screen); packing saturates to 0..255, which is
// the clamping of add and subtract.
template <int Mode>
inline void blendPixelVector(uint8_t* dp, uint32_t texel, float A)
{
    if constexpr (Mode == kBlendNormal || Mode == kBlendAdd || Mode == kBlendSubtract || Mode == kBlendScreen) {
        if (A == 0.0f) return;
    }
    if constexpr (Mode == kBlendNormal) {
        if (A == 1.0f) {
            const uint32_t v = texel | 0xFF000000u;
            std::memcpy(dp, &v, 4);
            return;
        }
    }
    uint32_t dword;
    std::memcpy(&dword, dp, 4);
    const __m128i z = _mm_setzero_si128();
    const __m128 D = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(dword)), z), z));
    const __m128 rgb = _mm_cvtepi32_ps(
        _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(texel & 0xFFFFFF)), z), z));
    const __m128 Av = _mm_set1_ps(A);
    __m128 out;
    if constexpr (Mode == kBlendMultiply || Mode == kBlendScreen) {
        const __m128 S = _mm_add_ps(rgb, _mm_set_ps(255.0f, 0, 0, 0));
        const __m128 SA = _mm_mul_ps(S, Av);
        if constexpr (Mode == kBlendMultiply) {
            const float w = 255.0f * (1.0f - A);
            out = _mm_mul_ps(_mm_mul_ps(D, _mm_add_ps(SA, _mm_set_ps(0, w, w, w))), _mm_set1_ps(1.0f / 255.0f));
        } else {
            const __m128 inv = _mm_sub_ps(_mm_set1_ps(255.0f), D);
            out = _mm_add_ps(D, _mm_mul_ps(_mm_mul_ps(SA, inv), _mm_set1_ps(1.0f / 255.0f)));
        }
    } else {
        const __m128 S = _mm_add_ps(rgb, _mm_set_ps(255.0f * A, 0, 0, 0));
        if constexpr (Mode == kBlendNormal)
            out = _mm_add_ps(D, _mm_mul_ps(_mm_sub_ps(S, D), Av));
        else if constexpr (Mode == kBlendAdd)
            out = _mm_add_ps(D, _mm_mul_ps(S, Av));
        else if constexpr (Mode == kBlendSubtract)
            out = _mm_sub_ps(D, _mm_mul_ps(S, Av));
        else
            out = S;
    }
    __m128i i = _mm_cvtps_epi32(out);
    i = _mm_packs_epi32(i, i);
    i = _mm_packus_epi16(i, i);
    dword = static_cast<uint32_t>(_mm_cvtsi128_si32(i));
    std::memcpy(dp, &dword, 4);
}
#endif

template <int Mode>
inline void blendPixel(uint8_t* d, uint32_t texel, uint32_t A)
{
    const uint32_t S0 = texel & 255, S1 = (texel >> 8) & 255, S2 = (texel >> 16) & 255;
    if constexpr (Mode == kBlendNormal) {
        if (A == 0) return;
        if (A == kOne) {
            d[0] = static_cast<uint8_t>(S0);
            d[1] = static_cast<uint8_t>(S1);
            d[2] = static_cast<uint8_t>(S2);
            d[3] = 255;
            return;
        }
        const uint32_t R = kOne - A;
        d[0] = static_cast<uint8_t>((S0 * A + d[0] * R + kHalf) >> 15);
        d[1] = static_cast<uint8_t>((S1 * A + d[1] * R + kHalf) >> 15);
        d[2] = static_cast<uint8_t>((S2 * A + d[2] * R + kHalf) >> 15);
        const uint32_t AA = (A * A + kHalf) >> 15;
        d[3] = static_cast<uint8_t>((AA * 255 + d[3] * R + kHalf) >> 15);
    } else if constexpr (Mode == kBlendAdd) {
        if (A == 0) return;
        d[0] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[0] * kOne + S0 * A + kHalf) >> 15));
        d[1] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[1] * kOne + S1 * A + kHalf) >> 15));
        d[2] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[2] * kOne + S2 * A + kHalf) >> 15));
        const uint32_t AA = (A * A + kHalf) >> 15;
        d[3] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[3] * kOne + AA * 255 + kHalf) >> 15));
    } else if constexpr (Mode == kBlendSubtract) {
        if (A == 0) return;
        auto sub = [](uint32_t dst, uint32_t v) {
            int32_t r = static_cast<int32_t>(dst * kOne) - static_cast<int32_t>(v);
            return static_cast<uint8_t>(r <= 0 ? 0 : (static_cast<uint32_t>(r) + kHalf) >> 15);
        };
        d[0] = sub(d[0], S0 * A);
        d[1] = sub(d[1], S1 * A);
        d[2] = sub(d[2], S2 * A);
        d[3] = sub(d[3], ((A * A + kHalf) >> 15) * 255);
    } else if constexpr (Mode == kBlendMultiply) {
        // D × (S × A + (1 − A)); the alpha becomes Dₐ × A.
        const uint32_t W = 255 * (kOne - A);
        d[0] = static_cast<uint8_t>((d[0] * (S0 * A + W) + k255One / 2) / k255One);
        d[1] = static_cast<uint8_t>((d[1] * (S1 * A + W) + k255One / 2) / k255One);
        d[2] = static_cast<uint8_t>((d[2] * (S2 * A + W) + k255One / 2) / k255One);
        d[3] = static_cast<uint8_t>((d[3] * A + kHalf) >> 15);
    } else if constexpr (Mode == kBlendScreen) {
        if (A == 0) return;
        d[0] = static_cast<uint8_t>((S0 * A * (255u - d[0]) + k255One / 2) / k255One + d[0]);
        d[1] = static_cast<uint8_t>((S1 * A * (255u - d[1]) + k255One / 2) / k255One + d[1]);
        d[2] = static_cast<uint8_t>((S2 * A * (255u - d[2]) + k255One / 2) / k255One + d[2]);
        d[3] = static_cast<uint8_t>(((A * (255u - d[3]) + kHalf) >> 15) + d[3]);
    } else {
        d[0] = static_cast<uint8_t>(S0);
        d[1] = static_cast<uint8_t>(S1);
        d[2] = static_cast<uint8_t>(S2);
        d[3] = static_cast<uint8_t>((A * 255 + kHalf) >> 15);
    }
}

struct Span {
    uint8_t* dst;
    int count;
    int64_t s, t, ds, dt;  // source position and step, 32.32 fixed point
};

template <int Mode, bool Clamp>
inline void spanLoop(const Span& sp, const strTexels& src, const AlphaTable& alpha)
{
    const int wMax = src.width - 1, hMax = src.height - 1;
    const uint32_t* texels = src.texels;
    const size_t stride = static_cast<size_t>(src.stride);
    uint8_t* d = sp.dst;
    int64_t s = sp.s, t = sp.t;
    for (int k = 0; k < sp.count; ++k, d += 4, s += sp.ds, t += sp.dt) {
        int col = static_cast<int>(s >> 32), row = static_cast<int>(t >> 32);
        if constexpr (Clamp) {
            col = std::clamp(col, 0, wMax);
            row = std::clamp(row, 0, hMax);
        }
        const uint32_t texel = texels[static_cast<size_t>(row) * stride + static_cast<size_t>(col)];
#if defined(__SSE2__)
        blendPixelVector<Mode>(d, texel, alpha.f[texel >> 24]);
#else
        blendPixel<Mode>(d, texel, alpha.a[texel >> 24]);
#endif
    }
}

template <int Mode>
void drawSpan(const Span& sp, const strTexels& src, const AlphaTable& alpha)
{
    // The source position moves linearly: when both ends lie inside the pattern,
    // every pixel between does, and the clamping can be left out.
    const int64_t sEnd = sp.s + sp.ds * (sp.count - 1), tEnd = sp.t + sp.dt * (sp.count - 1);
    auto inside = [&](int64_t s, int64_t t) {
        return s >= 0 && t >= 0 && (s >> 32) < src.width && (t >> 32) < src.height;
    };
    if (inside(sp.s, sp.t) && inside(sEnd, tEnd))
        spanLoop<Mode, false>(sp, src, alpha);
    else
        spanLoop<Mode, true>(sp, src, alpha);
}

using SpanFn = void (*)(const Span&, const strTexels&, const AlphaTable&);

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

// Source positions inside a covered span stay near the pattern; the clamp only keeps
// degenerate input from overflowing the conversion.
int64_t toFixed(double v) { return static_cast<int64_t>(std::floor(std::clamp(v, -1e9, 1e9) * kFixed)); }

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
    const AlphaTable alpha(static_cast<uint32_t>(std::clamp(opacity, 0, 255)));
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
        fn(sp, src, alpha);
    }
}

void compositeFill(const strSurface& target, uint32_t rgb, int strength, int blend)
{
    if (!target.pixels) return;
    const uint32_t texel = 0xFF000000u | (rgb & 0xFFFFFF);
    const strTexels src{&texel, 1, 1, 1};
    const SpanFn fn = spanFunction(blend);
    const AlphaTable alpha(static_cast<uint32_t>(std::clamp(strength, 0, 255)));
    for (int j = 0; j < target.height; ++j) {
        Span sp{target.pixels + static_cast<size_t>(j) * target.stride, target.width, 0, 0, 0, 0};
        fn(sp, src, alpha);
    }
}
