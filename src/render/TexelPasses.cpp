// Per-texel passes that prepare a pattern in a work texture: colour tone,
// silhouette and the two flash tints. Colours are computed in floating point from
// the byte-scaled constants and stored back as bytes; the texel alpha is kept.

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/Compositor.h"
#include "render/TonePass.h"

namespace {

inline float unit(uint32_t v) { return static_cast<float>(v) * (1.0f / 255.0f); }
inline uint32_t toByte(float v) { return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }

// Grey-value terms per channel: 4 × (k − 0.5) × (0.50196 × (1 − c) − 0.5) with the
// fixed colour 0x506B4A as k.
struct GreyTable {
    float r[256], g[256], b[256];
    GreyTable()
    {
        const double k[3] = {80 / 255.0, 107 / 255.0, 74 / 255.0};
        for (int v = 0; v < 256; ++v) {
            double term = 0.50196 * (1.0 - v / 255.0) - 0.5;
            r[v] = static_cast<float>(4 * (k[0] - 0.5) * term);
            g[v] = static_cast<float>(4 * (k[1] - 0.5) * term);
            b[v] = static_cast<float>(4 * (k[2] - 0.5) * term);
        }
    }
};

const GreyTable& greyTable()
{
    static const GreyTable table;
    return table;
}

inline uint32_t pack(uint32_t alpha, float r, float g, float b)
{
    return (alpha << 24) | (toByte(r) << 16) | (toByte(g) << 8) | toByte(b);
}

template <typename F> void eachTexel(const strTexels& src, uint32_t* out, F f)
{
    for (int y = 0; y < src.height; ++y) {
        const uint32_t* in = src.texels + static_cast<size_t>(y) * src.stride;
        uint32_t* o = out + static_cast<size_t>(y) * src.width;
        for (int x = 0; x < src.width; ++x)
            o[x] = f(in[x]);
    }
}

} // namespace

namespace {

// One tone pass for a saturation class: 0 keeps the colour (s = 100), 1 moves it
// toward the grey value (s < 100), 2 away from it (s > 100).
template <int SatClass>
void toneLoop(const strTexels& src, const strTone& tone, uint32_t* out, uint32_t* grey, bool keepTransparent)
{
    const GreyTable& gt = greyTable();
    const int s = std::max(0, tone.saturation);
    const int v[3] = {std::max(0, tone.red), std::max(0, tone.green), std::max(0, tone.blue)};
    float up[3], m[3];
    for (int c = 0; c < 3; ++c) {
        up[c] = v[c] > 100 ? static_cast<float>(std::min((v[c] - 100) * 255 / 100, 255)) / 255.0f : 0.0f;
        m[c] = static_cast<float>(std::min(v[c] * 255 / 100, 255)) / 255.0f;
    }
    const float f = static_cast<float>(s * 255 / 100) / 255.0f;
    const float e = static_cast<float>(std::min(std::max(0, s - 100) * 255 / 100, 255)) / 255.0f;
    if (!grey) {
        const strToneConstants k{{up[0], up[1], up[2]}, {m[0], m[1], m[2]}, f, e, {gt.r, gt.g, gt.b}};
        if (ToneTexelsWide(src, SatClass, k, keepTransparent, out))
            return;
    }

#if defined(__SSE2__)
    // Four lanes B, G, R, A; the alpha lane's result is replaced by the texel's alpha.
    if (!grey) {
        const __m128 upV = _mm_set_ps(0, up[0], up[1], up[2]), mV = _mm_set_ps(0, m[0], m[1], m[2]);
        const __m128 one = _mm_set1_ps(1.0f), zero = _mm_setzero_ps(), scale = _mm_set1_ps(1.0f / 255.0f);
        const __m128 fV = _mm_set1_ps(f), fInv = _mm_set1_ps(1 - f);
        const __m128i z = _mm_setzero_si128();
        for (int y = 0; y < src.height; ++y) {
            const uint32_t* in = src.texels + static_cast<size_t>(y) * src.stride;
            uint32_t* o = out + static_cast<size_t>(y) * src.width;
            for (int x = 0; x < src.width; ++x) {
                const uint32_t t = in[x];
                const uint32_t ab = t >> 24;
                if (ab == 0 && !keepTransparent) {
                    o[x] = 0;
                    continue;
                }
                const float Y = std::clamp(gt.r[(t >> 16) & 255] + gt.g[(t >> 8) & 255] + gt.b[t & 255], 0.0f, 1.0f);
                const float a = unit(ab);
                const __m128 c = _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(
                                                _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(t)), z), z)),
                                            scale);
                const __m128 Yv = _mm_set1_ps(Y), aV = _mm_set1_ps(a);
                __m128 c1, a2;
                if constexpr (SatClass == 0) {
                    c1 = c;
                    a2 = aV;
                } else if constexpr (SatClass == 1) {
                    c1 = _mm_add_ps(_mm_mul_ps(c, fV), _mm_mul_ps(Yv, fInv));
                    a2 = one;
                } else {
                    const __m128 k = _mm_set1_ps(a * (1 - e));
                    const __m128 d = _mm_max_ps(zero, _mm_sub_ps(c, Yv));
                    const __m128 d3 = _mm_min_ps(one, _mm_add_ps(d, _mm_min_ps(one, _mm_add_ps(d, d))));
                    const __m128 b = _mm_min_ps(one, _mm_add_ps(_mm_mul_ps(c, aV), d3));
                    c1 = _mm_add_ps(_mm_mul_ps(c, k), _mm_mul_ps(b, _mm_sub_ps(one, k)));
                    a2 = aV;
                }
                const __m128 S = _mm_mul_ps(_mm_min_ps(one, _mm_add_ps(c1, _mm_mul_ps(upV, a2))), mV);
                __m128i i = _mm_cvtps_epi32(_mm_mul_ps(S, _mm_set1_ps(255.0f)));
                i = _mm_packs_epi32(i, i);
                i = _mm_packus_epi16(i, i);
                o[x] = (static_cast<uint32_t>(_mm_cvtsi128_si32(i)) & 0xFFFFFF) | (t & 0xFF000000u);
            }
        }
        return;
    }
#endif
    for (int y = 0; y < src.height; ++y) {
        const uint32_t* in = src.texels + static_cast<size_t>(y) * src.stride;
        uint32_t* o = out + static_cast<size_t>(y) * src.width;
        uint32_t* gOut = grey ? grey + static_cast<size_t>(y) * src.width : nullptr;
        for (int x = 0; x < src.width; ++x) {
            const uint32_t t = in[x];
            const uint32_t ab = t >> 24;
            // A transparent texel adds nothing in any blend mode.
            if (ab == 0 && !keepTransparent && !gOut) {
                o[x] = 0;
                continue;
            }
            const uint32_t rb = (t >> 16) & 255, gb = (t >> 8) & 255, bb = t & 255;
            const float Y = std::clamp(gt.r[rb] + gt.g[gb] + gt.b[bb], 0.0f, 1.0f);
            const float a = unit(ab);
            const float c[3] = {unit(rb), unit(gb), unit(bb)};
            float S[3];
            for (int i = 0; i < 3; ++i) {
                float c1, a2;
                if constexpr (SatClass == 0) {
                    c1 = c[i];
                    a2 = a;
                } else if constexpr (SatClass == 1) {
                    c1 = c[i] * f + Y * (1 - f);
                    a2 = 1.0f;
                } else {
                    const float k = a * (1 - e);
                    const float d = std::max(0.0f, c[i] - Y);
                    const float b = std::min(1.0f, c[i] * a + std::min(1.0f, d + std::min(1.0f, d + d)));
                    c1 = c[i] * k + b * (1 - k);
                    a2 = a;
                }
                S[i] = std::min(1.0f, c1 + up[i] * a2) * m[i];
            }
            o[x] = pack(ab, S[0], S[1], S[2]);
            if (gOut) {
                const uint32_t yb = toByte(Y);
                gOut[x] = 0xFF000000u | (yb << 16) | (yb << 8) | yb;
            }
        }
    }
}

} // namespace

void ToneTexels(const strTexels& src, const strTone& tone, uint32_t* out, uint32_t* grey, bool keepTransparent)
{
    if (tone.saturation == 100)
        toneLoop<0>(src, tone, out, grey, keepTransparent);
    else if (tone.saturation < 100)
        toneLoop<1>(src, tone, out, grey, keepTransparent);
    else
        toneLoop<2>(src, tone, out, grey, keepTransparent);
}

void SilhouetteTexels(const strTexels& src, uint32_t rgb, uint32_t* out)
{
    rgb &= 0xFFFFFF;
    eachTexel(src, out, [rgb](uint32_t t) { return (t & 0xFF000000u) | rgb; });
}

void FlashTintTexels(const strTexels& src, uint32_t rgb, int strength, uint32_t* out)
{
    const float F[3] = {unit((rgb >> 16) & 255), unit((rgb >> 8) & 255), unit(rgb & 255)};
    const float Fa = unit(static_cast<uint32_t>(std::clamp(strength, 0, 255)));
    eachTexel(src, out, [&](uint32_t t) {
        const float w = unit(t >> 24) * Fa;
        const float c[3] = {unit((t >> 16) & 255), unit((t >> 8) & 255), unit(t & 255)};
        return pack(t >> 24, F[0] * w + c[0] * (1 - w), F[1] * w + c[1] * (1 - w), F[2] * w + c[2] * (1 - w));
    });
}

void SignedFlashTexels(const strTexels& src, uint32_t rgbBytes, uint32_t* out)
{
    float up[3], down[3];
    for (int i = 0; i < 3; ++i) {
        int v = static_cast<int>((rgbBytes >> (16 - 8 * i)) & 255);
        up[i] = std::clamp((v - 128) * 255 / 127, 0, 255) / 255.0f;
        down[i] = std::clamp((128 - v) * 255 / 128, 0, 255) / 255.0f;
    }
    eachTexel(src, out, [&](uint32_t t) {
        const float a = unit(t >> 24);
        float S[3];
        for (int i = 0; i < 3; ++i) {
            const float c = unit((t >> (16 - 8 * i)) & 255);
            const float c1 = std::min(1.0f, c + c * up[i] * a);
            S[i] = std::max(0.0f, c1 - c * down[i] * a);
        }
        return pack(t >> 24, S[0], S[1], S[2]);
    });
}
