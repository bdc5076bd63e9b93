// The eight-pixel span drawer (AVX2): the per-pixel drawer's single-precision
// arithmetic on eight pixels at once, one channel per register. Every operation is
// the same IEEE operation in the same order, so the bytes are the same.

#include "render/Spans.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// No fused multiply-add: each product is rounded on its own, as in the per-pixel drawer.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

#define WIDE __attribute__((target("avx2"))) inline

namespace {

struct Channels {
    __m256 b, g, r, a;
};

WIDE __m256 channel(__m256i v, int shift)
{
    return _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, shift), _mm256_set1_epi32(255)));
}

WIDE Channels unpack(__m256i v) { return {channel(v, 0), channel(v, 8), channel(v, 16), channel(v, 24)}; }

// Rounds to nearest and saturates to 0..255 like the per-pixel drawer's packs.
WIDE __m256i pack(const Channels& c)
{
    const __m256i bg = _mm256_packs_epi32(_mm256_cvtps_epi32(c.b), _mm256_cvtps_epi32(c.g));
    const __m256i ra = _mm256_packs_epi32(_mm256_cvtps_epi32(c.r), _mm256_cvtps_epi32(c.a));
    // Per 128-bit half: b0..b3 g0..g3 r0..r3 a0..a3, interleaved to b0 g0 r0 a0 ...
    const __m256i planar = _mm256_packus_epi16(bg, ra);
    const __m256i order = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12, 1, 5, 9,
                                           13, 2, 6, 10, 14, 3, 7, 11, 15);
    return _mm256_shuffle_epi8(planar, order);
}

// New destination pixels for texels with source alpha A (a × opacity / 255²).
template <int Mode> WIDE __m256i blend(__m256i dst, __m256i texel, __m256 A)
{
    const Channels D = unpack(dst);
    const __m256 Sb = channel(texel, 0), Sg = channel(texel, 8), Sr = channel(texel, 16);
    const __m256 k255 = _mm256_set1_ps(255.0f), inv255 = _mm256_set1_ps(1.0f / 255.0f);
    Channels o;
    if constexpr (Mode == kBlendNormal) {
        const __m256 Sa = _mm256_mul_ps(k255, A);
        o.b = _mm256_add_ps(D.b, _mm256_mul_ps(_mm256_sub_ps(Sb, D.b), A));
        o.g = _mm256_add_ps(D.g, _mm256_mul_ps(_mm256_sub_ps(Sg, D.g), A));
        o.r = _mm256_add_ps(D.r, _mm256_mul_ps(_mm256_sub_ps(Sr, D.r), A));
        o.a = _mm256_add_ps(D.a, _mm256_mul_ps(_mm256_sub_ps(Sa, D.a), A));
    } else if constexpr (Mode == kBlendAdd || Mode == kBlendSubtract) {
        const __m256 Sa = _mm256_mul_ps(k255, A);
        if constexpr (Mode == kBlendAdd) {
            o.b = _mm256_add_ps(D.b, _mm256_mul_ps(Sb, A));
            o.g = _mm256_add_ps(D.g, _mm256_mul_ps(Sg, A));
            o.r = _mm256_add_ps(D.r, _mm256_mul_ps(Sr, A));
            o.a = _mm256_add_ps(D.a, _mm256_mul_ps(Sa, A));
        } else {
            o.b = _mm256_sub_ps(D.b, _mm256_mul_ps(Sb, A));
            o.g = _mm256_sub_ps(D.g, _mm256_mul_ps(Sg, A));
            o.r = _mm256_sub_ps(D.r, _mm256_mul_ps(Sr, A));
            o.a = _mm256_sub_ps(D.a, _mm256_mul_ps(Sa, A));
        }
    } else if constexpr (Mode == kBlendMultiply) {
        // D × (S × A + 255 × (1 − A)) / 255; the alpha lane D × (255 × A) / 255.
        const __m256 w = _mm256_mul_ps(k255, _mm256_sub_ps(_mm256_set1_ps(1.0f), A));
        o.b = _mm256_mul_ps(_mm256_mul_ps(D.b, _mm256_add_ps(_mm256_mul_ps(Sb, A), w)), inv255);
        o.g = _mm256_mul_ps(_mm256_mul_ps(D.g, _mm256_add_ps(_mm256_mul_ps(Sg, A), w)), inv255);
        o.r = _mm256_mul_ps(_mm256_mul_ps(D.r, _mm256_add_ps(_mm256_mul_ps(Sr, A), w)), inv255);
        o.a = _mm256_mul_ps(_mm256_mul_ps(D.a, _mm256_mul_ps(k255, A)), inv255);
    } else if constexpr (Mode == kBlendScreen) {
        o.b = _mm256_add_ps(D.b, _mm256_mul_ps(_mm256_mul_ps(_mm256_mul_ps(Sb, A), _mm256_sub_ps(k255, D.b)), inv255));
        o.g = _mm256_add_ps(D.g, _mm256_mul_ps(_mm256_mul_ps(_mm256_mul_ps(Sg, A), _mm256_sub_ps(k255, D.g)), inv255));
        o.r = _mm256_add_ps(D.r, _mm256_mul_ps(_mm256_mul_ps(_mm256_mul_ps(Sr, A), _mm256_sub_ps(k255, D.r)), inv255));
        o.a =
            _mm256_add_ps(D.a, _mm256_mul_ps(_mm256_mul_ps(_mm256_mul_ps(k255, A), _mm256_sub_ps(k255, D.a)), inv255));
    } else {
        o = {Sb, Sg, Sr, _mm256_mul_ps(k255, A)};
    }
    return pack(o);
}

// Modes whose result equals the destination wherever A is 0.
constexpr bool skipsTransparent(int mode)
{
    return mode == kBlendNormal || mode == kBlendAdd || mode == kBlendSubtract || mode == kBlendScreen;
}

// Eight source positions as two sets of four 32.32 values: pixels 0, 1, 4, 5 and
// 2, 3, 6, 7, so that their whole parts interleave back into pixel order.
struct Walk {
    __m256i sa, sb, ta, tb, s8, t8;
};

// Positions v + k × d for the pixels k = first, first + 1, first + 4, first + 5
// (wrapping like the per-pixel drawer's stepping).
WIDE __m256i positions(int64_t start, int64_t step, uint64_t first)
{
    const uint64_t v = static_cast<uint64_t>(start), d = static_cast<uint64_t>(step);
    return _mm256_set_epi64x(static_cast<int64_t>(v + (first + 5) * d), static_cast<int64_t>(v + (first + 4) * d),
                             static_cast<int64_t>(v + (first + 1) * d), static_cast<int64_t>(v + first * d));
}

WIDE Walk startWalk(const strSpan& sp)
{
    return {positions(sp.s, sp.ds, 0),
            positions(sp.s, sp.ds, 2),
            positions(sp.t, sp.dt, 0),
            positions(sp.t, sp.dt, 2),
            _mm256_set1_epi64x(static_cast<int64_t>(8 * static_cast<uint64_t>(sp.ds))),
            _mm256_set1_epi64x(static_cast<int64_t>(8 * static_cast<uint64_t>(sp.dt)))};
}

WIDE __m256i wholeParts(__m256i a, __m256i b)
{
    return _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), _MM_SHUFFLE(3, 1, 3, 1)));
}

template <bool Clamp> WIDE __m256i texelIndex(const Walk& w, __m256i stride, __m256i wMax, __m256i hMax)
{
    __m256i col = wholeParts(w.sa, w.sb), row = wholeParts(w.ta, w.tb);
    if constexpr (Clamp) {
        const __m256i zero = _mm256_setzero_si256();
        col = _mm256_min_epi32(_mm256_max_epi32(col, zero), wMax);
        row = _mm256_min_epi32(_mm256_max_epi32(row, zero), hMax);
    }
    return _mm256_add_epi32(_mm256_mullo_epi32(row, stride), col);
}

WIDE __m256 sourceAlpha(__m256i texel, __m256i opacity)
{
    const __m256i product = _mm256_mullo_epi32(_mm256_srli_epi32(texel, 24), opacity);
    return _mm256_div_ps(_mm256_cvtepi32_ps(product), _mm256_set1_ps(65025.0f));
}

template <int Mode, bool Clamp> WIDE void wideLoop(const strSpan& sp, const strTexels& src, uint32_t opacity)
{
    if (skipsTransparent(Mode) && opacity == 0)
        return;
    const int* texels = reinterpret_cast<const int*>(src.texels);
    const __m256i stride = _mm256_set1_epi32(src.stride), wMax = _mm256_set1_epi32(src.width - 1),
                  hMax = _mm256_set1_epi32(src.height - 1), opacityV = _mm256_set1_epi32(static_cast<int>(opacity));
    const __m256i alphaBits = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    Walk w = startWalk(sp);
    uint8_t* d = sp.dst;
    int left = sp.count;
    for (; left > 0; left -= 8, d += 32) {
        const __m256i index = texelIndex<Clamp>(w, stride, wMax, hMax);
        w.sa = _mm256_add_epi64(w.sa, w.s8);
        w.sb = _mm256_add_epi64(w.sb, w.s8);
        w.ta = _mm256_add_epi64(w.ta, w.t8);
        w.tb = _mm256_add_epi64(w.tb, w.t8);
        __m256i* out = reinterpret_cast<__m256i*>(d);
        if (left >= 8) {
            const __m256i texel = _mm256_i32gather_epi32(texels, index, 4);
            if (skipsTransparent(Mode) && _mm256_testz_si256(texel, alphaBits))
                continue;
            if (Mode == kBlendNormal && opacity == 255 && _mm256_testc_si256(texel, alphaBits)) {
                _mm256_storeu_si256(out, texel);
                continue;
            }
            const __m256i dst = _mm256_loadu_si256(out);
            _mm256_storeu_si256(out, blend<Mode>(dst, texel, sourceAlpha(texel, opacityV)));
        } else {
            const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(left), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
            const __m256i texel = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), texels, index, mask, 4);
            int* p = reinterpret_cast<int*>(d);
            const __m256i dst = _mm256_maskload_epi32(p, mask);
            _mm256_maskstore_epi32(p, mask, blend<Mode>(dst, texel, sourceAlpha(texel, opacityV)));
        }
    }
}

template <int Mode>
__attribute__((target("avx2"))) void wideSpan(const strSpan& sp, const strTexels& src, uint32_t opacity)
{
    if (SpanInside(sp, src))
        wideLoop<Mode, false>(sp, src, opacity);
    else
        wideLoop<Mode, true>(sp, src, opacity);
}

} // namespace

SpanFn Span8Function(int blend)
{
    static const bool available = __builtin_cpu_supports("avx2");
    if (!available)
        return nullptr;
    switch (blend) {
    case kBlendNormal: return wideSpan<kBlendNormal>;
    case kBlendAdd: return wideSpan<kBlendAdd>;
    case kBlendSubtract: return wideSpan<kBlendSubtract>;
    case kBlendMultiply: return wideSpan<kBlendMultiply>;
    case kBlendScreen: return wideSpan<kBlendScreen>;
    default: return wideSpan<-1>;
    }
}

#else

SpanFn span8Function(int) { return nullptr; }

#endif
