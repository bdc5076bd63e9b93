// The per-pixel span drawer: each pixel blended on its own, the four channels at
// once in single precision where SSE2 is there, else in 15-bit fixed point. The
// wide drawers reproduce its bytes exactly.

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/Spans.h"

namespace {

// Source alpha a × opacity / (255 × 255) is carried with 15 fraction bits (0..32768),
// looked up per texel alpha; the blends below round once, at the end.
constexpr uint32_t kOne = 32768;
constexpr uint32_t kHalf = kOne / 2;
constexpr uint32_t k255One = 255 * kOne;

#if defined(__SSE2__)
// The same blends on the four channels at once, in single precision. The alpha lane
// of the source holds A × 255 for the modes whose alpha result uses A × A, and 255
// where it uses A alone (multiply, screen); packing saturates to 0..255, which is
// the clamping of add and subtract.
template <int Mode> inline void blendPixelVector(uint8_t* dp, uint32_t texel, float A)
{
    if constexpr (Mode == kBlendNormal || Mode == kBlendAdd || Mode == kBlendSubtract || Mode == kBlendScreen) {
        if (A == 0.0f)
            return;
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
    const __m128 D =
        _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(dword)), z), z));
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

template <int Mode> inline void blendPixel(uint8_t* d, uint32_t texel, uint32_t A)
{
    const uint32_t S0 = texel & 255, S1 = (texel >> 8) & 255, S2 = (texel >> 16) & 255;
    if constexpr (Mode == kBlendNormal) {
        if (A == 0)
            return;
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
        if (A == 0)
            return;
        d[0] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[0] * kOne + S0 * A + kHalf) >> 15));
        d[1] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[1] * kOne + S1 * A + kHalf) >> 15));
        d[2] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[2] * kOne + S2 * A + kHalf) >> 15));
        const uint32_t AA = (A * A + kHalf) >> 15;
        d[3] = static_cast<uint8_t>(std::min<uint32_t>(255, (d[3] * kOne + AA * 255 + kHalf) >> 15));
    } else if constexpr (Mode == kBlendSubtract) {
        if (A == 0)
            return;
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
        if (A == 0)
            return;
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

template <int Mode, bool Clamp> inline void spanLoop(const strSpan& sp, const strTexels& src, uint32_t opacity)
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
        blendPixelVector<Mode>(d, texel, static_cast<float>((texel >> 24) * opacity) / 65025.0f);
#else
        blendPixel<Mode>(d, texel, ((texel >> 24) * opacity * kOne + 65025 / 2) / 65025);
#endif
    }
}

// The source position moves linearly: when both ends lie inside the pattern, every
// pixel between does, and the clamping can be left out.
template <int Mode> void drawSpan(const strSpan& sp, const strTexels& src, uint32_t opacity)
{
    if (SpanInside(sp, src))
        spanLoop<Mode, false>(sp, src, opacity);
    else
        spanLoop<Mode, true>(sp, src, opacity);
}

} // namespace

SpanFn PixelSpanFunction(int blend)
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

SpanFn SpanFunction(int blend)
{
    if (SpanFn fn = Span16Function(blend))
        return fn;
    if (SpanFn fn = Span8Function(blend))
        return fn;
    return PixelSpanFunction(blend);
}
