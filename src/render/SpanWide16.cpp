// The sixteen-pixel span drawer (AVX-512): the eight-pixel drawer's arithmetic on
// sixteen pixels, the same IEEE operations in the same order, so the same bytes.

#include "render/Spans.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// No fused multiply-add: each product is rounded on its own, as in the per-pixel drawer.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

// GCC 12's AVX-512 headers start many intrinsics from an undefined register.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#define WIDE16 __attribute__((target("avx512f,avx512bw"))) inline

namespace {

struct Channels {
    __m512 b, g, r, a;
};

WIDE16 __m512 channel(__m512i v, int shift)
{
    return _mm512_cvtepi32_ps(
        _mm512_and_si512(_mm512_srli_epi32(v, static_cast<unsigned>(shift)), _mm512_set1_epi32(255)));
}

WIDE16 __m512i pack(const Channels& c)
{
    const __m512i bg = _mm512_packs_epi32(_mm512_cvtps_epi32(c.b), _mm512_cvtps_epi32(c.g));
    const __m512i ra = _mm512_packs_epi32(_mm512_cvtps_epi32(c.r), _mm512_cvtps_epi32(c.a));
    const __m512i planar = _mm512_packus_epi16(bg, ra); // per 128 bits: b0..3 g0..3 r0..3 a0..3
    const __m512i order = _mm512_broadcast_i32x4(_mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15));
    return _mm512_shuffle_epi8(planar, order);
}

template <int Mode> WIDE16 __m512i blend(__m512i dst, __m512i texel, __m512 A)
{
    const Channels D{channel(dst, 0), channel(dst, 8), channel(dst, 16), channel(dst, 24)};
    const __m512 Sb = channel(texel, 0), Sg = channel(texel, 8), Sr = channel(texel, 16);
    const __m512 k255 = _mm512_set1_ps(255.0f), inv255 = _mm512_set1_ps(1.0f / 255.0f);
    Channels o;
    if constexpr (Mode == kBlendNormal) {
        const __m512 Sa = _mm512_mul_ps(k255, A);
        o.b = _mm512_add_ps(D.b, _mm512_mul_ps(_mm512_sub_ps(Sb, D.b), A));
        o.g = _mm512_add_ps(D.g, _mm512_mul_ps(_mm512_sub_ps(Sg, D.g), A));
        o.r = _mm512_add_ps(D.r, _mm512_mul_ps(_mm512_sub_ps(Sr, D.r), A));
        o.a = _mm512_add_ps(D.a, _mm512_mul_ps(_mm512_sub_ps(Sa, D.a), A));
    } else if constexpr (Mode == kBlendAdd) {
        const __m512 Sa = _mm512_mul_ps(k255, A);
        o.b = _mm512_add_ps(D.b, _mm512_mul_ps(Sb, A));
        o.g = _mm512_add_ps(D.g, _mm512_mul_ps(Sg, A));
        o.r = _mm512_add_ps(D.r, _mm512_mul_ps(Sr, A));
        o.a = _mm512_add_ps(D.a, _mm512_mul_ps(Sa, A));
    } else if constexpr (Mode == kBlendSubtract) {
        const __m512 Sa = _mm512_mul_ps(k255, A);
        o.b = _mm512_sub_ps(D.b, _mm512_mul_ps(Sb, A));
        o.g = _mm512_sub_ps(D.g, _mm512_mul_ps(Sg, A));
        o.r = _mm512_sub_ps(D.r, _mm512_mul_ps(Sr, A));
        o.a = _mm512_sub_ps(D.a, _mm512_mul_ps(Sa, A));
    } else if constexpr (Mode == kBlendMultiply) {
        const __m512 w = _mm512_mul_ps(k255, _mm512_sub_ps(_mm512_set1_ps(1.0f), A));
        o.b = _mm512_mul_ps(_mm512_mul_ps(D.b, _mm512_add_ps(_mm512_mul_ps(Sb, A), w)), inv255);
        o.g = _mm512_mul_ps(_mm512_mul_ps(D.g, _mm512_add_ps(_mm512_mul_ps(Sg, A), w)), inv255);
        o.r = _mm512_mul_ps(_mm512_mul_ps(D.r, _mm512_add_ps(_mm512_mul_ps(Sr, A), w)), inv255);
        o.a = _mm512_mul_ps(_mm512_mul_ps(D.a, _mm512_mul_ps(k255, A)), inv255);
    } else if constexpr (Mode == kBlendScreen) {
        o.b = _mm512_add_ps(D.b, _mm512_mul_ps(_mm512_mul_ps(_mm512_mul_ps(Sb, A), _mm512_sub_ps(k255, D.b)), inv255));
        o.g = _mm512_add_ps(D.g, _mm512_mul_ps(_mm512_mul_ps(_mm512_mul_ps(Sg, A), _mm512_sub_ps(k255, D.g)), inv255));
        o.r = _mm512_add_ps(D.r, _mm512_mul_ps(_mm512_mul_ps(_mm512_mul_ps(Sr, A), _mm512_sub_ps(k255, D.r)), inv255));
        o.a =
            _mm512_add_ps(D.a, _mm512_mul_ps(_mm512_mul_ps(_mm512_mul_ps(k255, A), _mm512_sub_ps(k255, D.a)), inv255));
    } else {
        o = {Sb, Sg, Sr, _mm512_mul_ps(k255, A)};
    }
    return pack(o);
}

constexpr bool skipsTransparent(int mode)
{
    return mode == kBlendNormal || mode == kBlendAdd || mode == kBlendSubtract || mode == kBlendScreen;
}

// Source positions of pixels first … first + 7, in 32.32 (wrapping like the
// per-pixel drawer's stepping).
WIDE16 __m512i positions(int64_t start, int64_t step, uint64_t first)
{
    const uint64_t v = static_cast<uint64_t>(start), d = static_cast<uint64_t>(step);
    alignas(64) int64_t p[8];
    for (uint64_t k = 0; k < 8; ++k)
        p[k] = static_cast<int64_t>(v + (first + k) * d);
    return _mm512_load_si512(p);
}

// Whole parts (high halves) of pixels 0 … 7 in a and 8 … 15 in b, in pixel order.
WIDE16 __m512i wholeParts(__m512i a, __m512i b)
{
    const __m512i odd = _mm512_setr_epi32(1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31);
    return _mm512_permutex2var_epi32(a, odd, b);
}

template <int Mode, bool Clamp> WIDE16 void wideLoop(const strSpan& sp, const strTexels& src, uint32_t opacity)
{
    if (skipsTransparent(Mode) && opacity == 0)
        return;
    const __m512i stride = _mm512_set1_epi32(src.stride), wMax = _mm512_set1_epi32(src.width - 1),
                  hMax = _mm512_set1_epi32(src.height - 1), opacityV = _mm512_set1_epi32(static_cast<int>(opacity)),
                  zero = _mm512_setzero_si512();
    const __m512i alphaBits = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
    const __m512 k65025 = _mm512_set1_ps(65025.0f);
    __m512i sa = positions(sp.s, sp.ds, 0), sb = positions(sp.s, sp.ds, 8);
    __m512i ta = positions(sp.t, sp.dt, 0), tb = positions(sp.t, sp.dt, 8);
    const __m512i s16 = _mm512_set1_epi64(static_cast<int64_t>(16 * static_cast<uint64_t>(sp.ds)));
    const __m512i t16 = _mm512_set1_epi64(static_cast<int64_t>(16 * static_cast<uint64_t>(sp.dt)));
    uint8_t* d = sp.dst;
    for (int left = sp.count; left > 0; left -= 16, d += 64) {
        __m512i col = wholeParts(sa, sb), row = wholeParts(ta, tb);
        if constexpr (Clamp) {
            col = _mm512_min_epi32(_mm512_max_epi32(col, zero), wMax);
            row = _mm512_min_epi32(_mm512_max_epi32(row, zero), hMax);
        }
        const __m512i index = _mm512_add_epi32(_mm512_mullo_epi32(row, stride), col);
        sa = _mm512_add_epi64(sa, s16);
        sb = _mm512_add_epi64(sb, s16);
        ta = _mm512_add_epi64(ta, t16);
        tb = _mm512_add_epi64(tb, t16);
        const __mmask16 mask = left >= 16 ? __mmask16(0xFFFF) : static_cast<__mmask16>((1u << left) - 1);
        const __m512i texel = _mm512_mask_i32gather_epi32(zero, mask, index, src.texels, 4);
        if (skipsTransparent(Mode) && _mm512_test_epi32_mask(texel, alphaBits) == 0)
            continue;
        if (Mode == kBlendNormal && opacity == 255 && mask == 0xFFFF &&
            _mm512_cmpeq_epi32_mask(_mm512_and_si512(texel, alphaBits), alphaBits) == 0xFFFF) {
            _mm512_storeu_si512(d, texel);
            continue;
        }
        const __m512 A =
            _mm512_div_ps(_mm512_cvtepi32_ps(_mm512_mullo_epi32(_mm512_srli_epi32(texel, 24), opacityV)), k65025);
        const __m512i dst = _mm512_maskz_loadu_epi32(mask, d);
        _mm512_mask_storeu_epi32(d, mask, blend<Mode>(dst, texel, A));
    }
}

template <int Mode>
__attribute__((target("avx512f,avx512bw"))) void wideSpan(const strSpan& sp, const strTexels& src, uint32_t opacity)
{
    if (SpanInside(sp, src))
        wideLoop<Mode, false>(sp, src, opacity);
    else
        wideLoop<Mode, true>(sp, src, opacity);
}

} // namespace

SpanFn Span16Function(int blend)
{
    static const bool available = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
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

SpanFn span16Function(int) { return nullptr; }

#endif
