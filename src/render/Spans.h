#pragma once
// Span drawing inside the compositor: one run of target pixels along a row,
// sampled from the pattern at a linearly moving source position.

#include <cstdint>

#include "render/Compositor.h"

struct strSpan {
    uint8_t* dst;
    int count;
    int64_t s, t, ds, dt; // source position and step, 32.32 fixed point
};

/** Draws one span with source alpha a × opacity / 255 (opacity 0..255). */
using SpanFn = void (*)(const strSpan& span, const strTexels& src, uint32_t opacity);

/** The fastest span drawer of a blend mode this processor runs; every one gives the
 *  same bytes as the per-pixel drawer. */
SpanFn SpanFunction(int blend);
/** The per-pixel span drawer of a blend mode. */
SpanFn PixelSpanFunction(int blend);
/** The eight-pixel drawer, or null where the processor lacks AVX2. */
SpanFn Span8Function(int blend);
/** The sixteen-pixel drawer, or null where the processor lacks AVX-512 (F and BW). */
SpanFn Span16Function(int blend);

/** True when every texel the span samples lies inside the pattern, so no clamping is needed. */
inline bool SpanInside(const strSpan& sp, const strTexels& src)
{
    const int64_t sEnd = sp.s + sp.ds * (sp.count - 1), tEnd = sp.t + sp.dt * (sp.count - 1);
    auto inside = [&](int64_t s, int64_t t) {
        return s >= 0 && t >= 0 && (s >> 32) < src.width && (t >> 32) < src.height;
    };
    return inside(sp.s, sp.t) && inside(sEnd, tEnd);
}
