// The fast compositor against a copy of the plain per-pixel compositor it replaced:
// dense random frames (rotations, scales, mirrors, every blend, opacities, clipping
// at the edges, transparent and opaque runs) must come out byte for byte the same,
// drawn one quad at a time, as a banded batch, and with either span drawer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/Compositor.h"
#include "render/RenderThreads.h"
#include "render/Spans.h"

namespace {

#if defined(__SSE2__)

// --- the per-pixel reference: each pixel on its own, four channels in floats ---

template <int Mode> void refBlend(uint8_t* dp, uint32_t texel, float A)
{
    uint32_t dword;
    std::memcpy(&dword, dp, 4);
    const __m128i z = _mm_setzero_si128();
    const __m128 D = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(dword)), z), z));
    const __m128 rgb =
        _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(texel & 0xFFFFFF)), z), z));
    const __m128 Av = _mm_set1_ps(A), inv255 = _mm_set1_ps(1.0f / 255.0f);
    __m128 out;
    if (Mode == kBlendMultiply || Mode == kBlendScreen) {
        const __m128 SA = _mm_mul_ps(_mm_add_ps(rgb, _mm_set_ps(255.0f, 0, 0, 0)), Av);
        if (Mode == kBlendMultiply) {
            const float w = 255.0f * (1.0f - A);
            out = _mm_mul_ps(_mm_mul_ps(D, _mm_add_ps(SA, _mm_set_ps(0, w, w, w))), inv255);
        } else {
            out = _mm_add_ps(D, _mm_mul_ps(_mm_mul_ps(SA, _mm_sub_ps(_mm_set1_ps(255.0f), D)), inv255));
        }
    } else {
        const __m128 S = _mm_add_ps(rgb, _mm_set_ps(255.0f * A, 0, 0, 0));
        if (Mode == kBlendNormal)
            out = _mm_add_ps(D, _mm_mul_ps(_mm_sub_ps(S, D), Av));
        else if (Mode == kBlendAdd)
            out = _mm_add_ps(D, _mm_mul_ps(S, Av));
        else if (Mode == kBlendSubtract)
            out = _mm_sub_ps(D, _mm_mul_ps(S, Av));
        else
            out = S;
    }
    __m128i i = _mm_cvtps_epi32(out);
    i = _mm_packus_epi16(_mm_packs_epi32(i, i), _mm_packs_epi32(i, i));
    dword = static_cast<uint32_t>(_mm_cvtsi128_si32(i));
    std::memcpy(dp, &dword, 4);
}

template <int Mode> void refQuadMode(const strSurface& target, const strTexels& src, const strQuadMap& m, int opacity)
{
    const double det = m.axisSX * m.axisTY - m.axisSY * m.axisTX;
    if (!(std::fabs(det) > 1e-12))
        return;
    const double w = src.width, h = src.height;
    const double cx[4] = {m.originX, m.originX + w * m.axisSX, m.originX + w * m.axisSX + h * m.axisTX,
                          m.originX + h * m.axisTX};
    const double cy[4] = {m.originY, m.originY + w * m.axisSY, m.originY + w * m.axisSY + h * m.axisTY,
                          m.originY + h * m.axisTY};
    const double y0 = std::max(std::ceil(*std::min_element(cy, cy + 4)), 0.0);
    const double y1 = std::min(std::ceil(*std::max_element(cy, cy + 4)) - 1, target.height - 1.0);
    const double dsdx = m.axisTY / det, dtdx = -m.axisSY / det, dsdy = -m.axisTX / det, dtdy = m.axisSX / det;
    auto fixed = [](double v) { return static_cast<int64_t>(std::floor(std::clamp(v, -1e9, 1e9) * 4294967296.0)); };
    const uint32_t op = static_cast<uint32_t>(std::clamp(opacity, 0, 255));
    for (int j = static_cast<int>(y0); j <= static_cast<int>(y1); ++j) {
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
        const double qx = i0 - m.originX, qy = j - m.originY;
        int64_t s = fixed(qx * dsdx + qy * dsdy), t = fixed(qx * dtdx + qy * dtdy);
        const int64_t ds = fixed(dsdx), dt = fixed(dtdx);
        uint8_t* d = target.pixels + static_cast<size_t>(j) * target.stride + static_cast<size_t>(i0) * 4;
        for (int k = static_cast<int>(i0); k <= static_cast<int>(i1); ++k, d += 4, s += ds, t += dt) {
            const int col = std::clamp(static_cast<int>(s >> 32), 0, src.width - 1);
            const int row = std::clamp(static_cast<int>(t >> 32), 0, src.height - 1);
            const uint32_t texel = src.texels[static_cast<size_t>(row) * src.stride + col];
            refBlend<Mode>(d, texel, static_cast<float>((texel >> 24) * op) / 65025.0f);
        }
    }
}

void refQuad(const strSurface& target, const strQuadDraw& q)
{
    switch (q.blend) {
    case kBlendNormal: return refQuadMode<kBlendNormal>(target, q.src, q.map, q.opacity);
    case kBlendAdd: return refQuadMode<kBlendAdd>(target, q.src, q.map, q.opacity);
    case kBlendSubtract: return refQuadMode<kBlendSubtract>(target, q.src, q.map, q.opacity);
    case kBlendMultiply: return refQuadMode<kBlendMultiply>(target, q.src, q.map, q.opacity);
    case kBlendScreen: return refQuadMode<kBlendScreen>(target, q.src, q.map, q.opacity);
    default: return refQuadMode<-1>(target, q.src, q.map, q.opacity);
    }
}

// --- random frames ---

struct Frame {
    int width, height;
    std::vector<uint32_t> background;
    std::vector<std::vector<uint32_t>> patterns;
    std::vector<strQuadDraw> quads;
};

Frame randomFrame(unsigned seed, int quadCount)
{
    std::mt19937 rng(seed);
    auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto pick = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    Frame f;
    f.width = pick(150, 400);
    f.height = pick(120, 300);
    f.background.resize(static_cast<size_t>(f.width) * f.height);
    for (uint32_t& c : f.background)
        c = static_cast<uint32_t>(rng());
    std::vector<strTexels> sources;
    for (int i = 0; i < 6; ++i) {
        // Patterns inside a wider sheet row, with runs of transparent, opaque and
        // partly transparent texels.
        const int w = pick(1, 70), h = pick(1, 70), stride = w + pick(0, 9);
        std::vector<uint32_t> t(static_cast<size_t>(stride) * h);
        for (size_t k = 0; k < t.size(); ++k) {
            const uint32_t kind = (k / 9 + static_cast<size_t>(i)) % 3;
            const uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : rng() & 255;
            t[k] = (a << 24) | (rng() & 0xFFFFFF);
        }
        f.patterns.push_back(std::move(t));
        sources.push_back(strTexels{f.patterns.back().data(), stride, w, h});
    }
    for (int i = 0; i < quadCount; ++i) {
        strQuadDraw q;
        q.src = sources[static_cast<size_t>(pick(0, 5))];
        q.opacity = pick(0, 3) == 0 ? (pick(0, 1) ? 0 : 255) : pick(-20, 280);
        q.blend = pick(-1, 5);
        const double angle = pick(0, 3) == 0 ? pick(0, 3) * 1.5707963267948966 : uni(0, 6.283185307179586);
        const double sx = uni(0.2, 3.5) * (pick(0, 1) ? -1 : 1), sy = uni(0.2, 3.5) * (pick(0, 3) ? 1 : -1);
        q.map.axisSX = sx * std::cos(angle);
        q.map.axisSY = sx * std::sin(angle);
        q.map.axisTX = -sy * std::sin(angle);
        q.map.axisTY = sy * std::cos(angle);
        q.map.originX = uni(-150, f.width + 50);
        q.map.originY = uni(-150, f.height + 50);
        f.quads.push_back(q);
    }
    return f;
}

class ExactCompositor : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override
    {
        frame = randomFrame(GetParam(), 120);
        expected = frame.background;
        for (const auto& q : frame.quads)
            refQuad(Surface(expected), q);
    }
    strSurface Surface(std::vector<uint32_t>& px)
    {
        return strSurface{reinterpret_cast<uint8_t*>(px.data()), frame.width, frame.height, frame.width * 4};
    }
    Frame frame;
    std::vector<uint32_t> expected;
};

TEST_P(ExactCompositor, OneQuadAtATime)
{
    std::vector<uint32_t> px = frame.background;
    for (const auto& q : frame.quads)
        CompositeQuad(Surface(px), q.src, q.map, q.opacity, q.blend);
    EXPECT_TRUE(px == expected);
}

TEST_P(ExactCompositor, BandedBatchOnAllThreadsAndOnOne)
{
    for (bool threads : {true, false}) {
        SetRenderThreadsEnabled(threads);
        std::vector<uint32_t> px = frame.background;
        CompositeQuads(Surface(px), frame.quads.data(), frame.quads.size());
        EXPECT_TRUE(px == expected) << "threads " << threads;
    }
    SetRenderThreadsEnabled(true);
}

TEST_P(ExactCompositor, PerPixelAndWideSpansAgree)
{
    // Random spans through the per-pixel drawer and each wide one this processor has.
    std::mt19937 rng(GetParam());
    for (auto wide : {Span8Function, Span16Function})
        for (int blend = -1; blend <= 4; ++blend)
            for (int n = 0; n < 40; ++n) {
                const auto& q = frame.quads[static_cast<size_t>(n)];
                std::vector<uint32_t> a(64), b;
                for (uint32_t& c : a)
                    c = static_cast<uint32_t>(rng());
                b = a;
                const int count = 1 + static_cast<int>(rng() % 64);
                const strSpan base{nullptr,
                                   count,
                                   static_cast<int64_t>(rng() % (static_cast<uint64_t>(q.src.width) << 32)),
                                   static_cast<int64_t>(rng() % (static_cast<uint64_t>(q.src.height) << 32)),
                                   static_cast<int64_t>(rng() % (uint64_t{3} << 32)) - (int64_t{3} << 31),
                                   static_cast<int64_t>(rng() % (uint64_t{3} << 32)) - (int64_t{3} << 31)};
                strSpan sa = base, sb = base;
                sa.dst = reinterpret_cast<uint8_t*>(a.data());
                sb.dst = reinterpret_cast<uint8_t*>(b.data());
                const uint32_t opacity = static_cast<uint32_t>(std::clamp(q.opacity, 0, 255));
                if (!wide(blend))
                    continue;
                PixelSpanFunction(blend)(sa, q.src, opacity);
                wide(blend)(sb, q.src, opacity);
                ASSERT_TRUE(a == b) << "blend " << blend << " span " << n;
            }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ExactCompositor, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));

#endif

} // namespace
