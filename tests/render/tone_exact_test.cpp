// The tone pass against a copy of the per-texel pass it replaced (four channels of
// one texel at a time), byte for byte, over random texels and tones of every
// saturation class.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/Compositor.h"

namespace {

#if defined(__SSE2__)

void refTone(const std::vector<uint32_t>& in, const strTone& tone, bool keepTransparent, std::vector<uint32_t>& out)
{
    float gr[3][256];
    const double kc[3] = {80 / 255.0, 107 / 255.0, 74 / 255.0};
    for (int v = 0; v < 256; ++v)
        for (int c = 0; c < 3; ++c)
            gr[c][v] = static_cast<float>(4 * (kc[c] - 0.5) * (0.50196 * (1.0 - v / 255.0) - 0.5));
    const int s = std::max(0, tone.saturation);
    const int v[3] = {std::max(0, tone.red), std::max(0, tone.green), std::max(0, tone.blue)};
    float up[3], m[3];
    for (int c = 0; c < 3; ++c) {
        up[c] = v[c] > 100 ? static_cast<float>(std::min((v[c] - 100) * 255 / 100, 255)) / 255.0f : 0.0f;
        m[c] = static_cast<float>(std::min(v[c] * 255 / 100, 255)) / 255.0f;
    }
    const float f = static_cast<float>(s * 255 / 100) / 255.0f;
    const float e = static_cast<float>(std::min(std::max(0, s - 100) * 255 / 100, 255)) / 255.0f;
    const __m128 upV = _mm_set_ps(0, up[0], up[1], up[2]), mV = _mm_set_ps(0, m[0], m[1], m[2]);
    const __m128 one = _mm_set1_ps(1.0f), scale = _mm_set1_ps(1.0f / 255.0f);
    const __m128i z = _mm_setzero_si128();
    out.resize(in.size());
    for (size_t x = 0; x < in.size(); ++x) {
        const uint32_t t = in[x], ab = t >> 24;
        if (ab == 0 && !keepTransparent) {
            out[x] = 0;
            continue;
        }
        const float Y = std::clamp(gr[0][(t >> 16) & 255] + gr[1][(t >> 8) & 255] + gr[2][t & 255], 0.0f, 1.0f);
        const float a = static_cast<float>(ab) * (1.0f / 255.0f);
        const __m128 c =
            _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(t)), z), z)), scale);
        const __m128 Yv = _mm_set1_ps(Y), aV = _mm_set1_ps(a);
        __m128 c1, a2;
        if (s == 100) {
            c1 = c;
            a2 = aV;
        } else if (s < 100) {
            c1 = _mm_add_ps(_mm_mul_ps(c, _mm_set1_ps(f)), _mm_mul_ps(Yv, _mm_set1_ps(1 - f)));
            a2 = one;
        } else {
            const __m128 k = _mm_set1_ps(a * (1 - e));
            const __m128 d = _mm_max_ps(_mm_setzero_ps(), _mm_sub_ps(c, Yv));
            const __m128 d3 = _mm_min_ps(one, _mm_add_ps(d, _mm_min_ps(one, _mm_add_ps(d, d))));
            const __m128 b = _mm_min_ps(one, _mm_add_ps(_mm_mul_ps(c, aV), d3));
            c1 = _mm_add_ps(_mm_mul_ps(c, k), _mm_mul_ps(b, _mm_sub_ps(one, k)));
            a2 = aV;
        }
        const __m128 S = _mm_mul_ps(_mm_min_ps(one, _mm_add_ps(c1, _mm_mul_ps(upV, a2))), mV);
        __m128i i = _mm_cvtps_epi32(_mm_mul_ps(S, _mm_set1_ps(255.0f)));
        i = _mm_packus_epi16(_mm_packs_epi32(i, i), _mm_packs_epi32(i, i));
        out[x] = (static_cast<uint32_t>(_mm_cvtsi128_si32(i)) & 0xFFFFFF) | (t & 0xFF000000u);
    }
}

TEST(ExactTone, MatchesThePerTexelPass)
{
    std::mt19937 rng(11);
    const int values[] = {0, 1, 37, 99, 100, 101, 150, 199, 200, 255, 300, -5};
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + static_cast<int>(rng() % 300), h = 1 + static_cast<int>(rng() % 64);
        std::vector<uint32_t> in(static_cast<size_t>(w) * h);
        for (size_t k = 0; k < in.size(); ++k) {
            const uint32_t kind = rng() % 3;
            in[k] = (kind == 0 ? 0u : kind == 1 ? 0xFF000000u : (rng() & 0xFF000000u)) | (rng() & 0xFFFFFF);
        }
        const strTone tone{values[rng() % 12], values[rng() % 12], values[rng() % 12], values[rng() % 12]};
        const bool keep = round % 4 == 0;
        std::vector<uint32_t> expected, got(in.size());
        refTone(in, tone, keep, expected);
        ToneTexels(strTexels{in.data(), w, w, h}, tone, got.data(), nullptr, keep);
        ASSERT_TRUE(got == expected) << "round " << round << " tone " << tone.red << "," << tone.green << ","
                                     << tone.blue << "," << tone.saturation;
    }
}

#endif

} // namespace
