// The tone pass on eight texels at a time (AVX2), one channel per register, with the
// same single-precision operations in the same order as the per-texel pass.

#include "render/TonePass.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// No fused multiply-add: each product is rounded on its own, as in the per-texel pass.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

#define WIDE __attribute__((target("avx2"))) inline

namespace {

// One channel: c its value 0..1, Y the grey value, a the texel alpha 0..1.
template <int SatClass>
WIDE __m256i toneChannel(__m256 c, __m256 Y, __m256 a, __m256 k, int i, const strToneConstants& t)
{
    const __m256 one = _mm256_set1_ps(1.0f);
    __m256 c1, a2;
    if constexpr (SatClass == 0) {
        c1 = c;
        a2 = a;
    } else if constexpr (SatClass == 1) {
        c1 = _mm256_add_ps(_mm256_mul_ps(c, _mm256_set1_ps(t.f)), _mm256_mul_ps(Y, _mm256_set1_ps(1 - t.f)));
        a2 = one;
    } else {
        const __m256 d = _mm256_max_ps(_mm256_setzero_ps(), _mm256_sub_ps(c, Y));
        const __m256 d3 = _mm256_min_ps(one, _mm256_add_ps(d, _mm256_min_ps(one, _mm256_add_ps(d, d))));
        const __m256 b = _mm256_min_ps(one, _mm256_add_ps(_mm256_mul_ps(c, a), d3));
        c1 = _mm256_add_ps(_mm256_mul_ps(c, k), _mm256_mul_ps(b, _mm256_sub_ps(one, k)));
        a2 = a;
    }
    const __m256 S = _mm256_mul_ps(_mm256_min_ps(one, _mm256_add_ps(c1, _mm256_mul_ps(_mm256_set1_ps(t.up[i]), a2))),
                                   _mm256_set1_ps(t.m[i]));
    return _mm256_max_epi32(
        _mm256_setzero_si256(),
        _mm256_min_epi32(_mm256_cvtps_epi32(_mm256_mul_ps(S, _mm256_set1_ps(255.0f))), _mm256_set1_epi32(255)));
}

template <int SatClass>
WIDE void toneRows(const strTexels& src, const strToneConstants& t, bool keepTransparent, uint32_t* out)
{
    const __m256i byte = _mm256_set1_epi32(255), alphaBits = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256 scale = _mm256_set1_ps(1.0f / 255.0f);
    for (int y = 0; y < src.height; ++y) {
        const int* in = reinterpret_cast<const int*>(src.texels + static_cast<size_t>(y) * src.stride);
        int* o = reinterpret_cast<int*>(out + static_cast<size_t>(y) * src.width);
        for (int x = 0; x < src.width; x += 8) {
            const int left = src.width - x;
            const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(left), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
            const __m256i texel = left >= 8 ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x))
                                            : _mm256_maskload_epi32(in + x, mask);
            const __m256i B = _mm256_and_si256(texel, byte), G = _mm256_and_si256(_mm256_srli_epi32(texel, 8), byte),
                          R = _mm256_and_si256(_mm256_srli_epi32(texel, 16), byte), ab = _mm256_srli_epi32(texel, 24);
            const __m256 sum =
                _mm256_add_ps(_mm256_add_ps(_mm256_i32gather_ps(t.grey[0], R, 4), _mm256_i32gather_ps(t.grey[1], G, 4)),
                              _mm256_i32gather_ps(t.grey[2], B, 4));
            const __m256 Y = _mm256_min_ps(_mm256_set1_ps(1.0f), _mm256_max_ps(_mm256_setzero_ps(), sum));
            const __m256 a = _mm256_mul_ps(_mm256_cvtepi32_ps(ab), scale);
            const __m256 k = _mm256_mul_ps(a, _mm256_set1_ps(1 - t.e));
            const __m256i b = toneChannel<SatClass>(_mm256_mul_ps(_mm256_cvtepi32_ps(B), scale), Y, a, k, 2, t);
            const __m256i g = toneChannel<SatClass>(_mm256_mul_ps(_mm256_cvtepi32_ps(G), scale), Y, a, k, 1, t);
            const __m256i r = toneChannel<SatClass>(_mm256_mul_ps(_mm256_cvtepi32_ps(R), scale), Y, a, k, 0, t);
            __m256i result =
                _mm256_or_si256(_mm256_or_si256(b, _mm256_slli_epi32(g, 8)),
                                _mm256_or_si256(_mm256_slli_epi32(r, 16), _mm256_and_si256(texel, alphaBits)));
            // A transparent texel adds nothing in any blend mode.
            if (!keepTransparent)
                result = _mm256_andnot_si256(_mm256_cmpeq_epi32(ab, _mm256_setzero_si256()), result);
            if (left >= 8)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + x), result);
            else
                _mm256_maskstore_epi32(o + x, mask, result);
        }
    }
}

} // namespace

bool ToneTexelsWide(const strTexels& src, int satClass, const strToneConstants& k, bool keepTransparent, uint32_t* out)
{
    static const bool available = __builtin_cpu_supports("avx2");
    if (!available)
        return false;
    if (satClass == 0)
        toneRows<0>(src, k, keepTransparent, out);
    else if (satClass == 1)
        toneRows<1>(src, k, keepTransparent, out);
    else
        toneRows<2>(src, k, keepTransparent, out);
    return true;
}

#else

bool toneTexelsWide(const strTexels&, int, const strToneConstants&, bool, uint32_t*) { return false; }

#endif
