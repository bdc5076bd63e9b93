#pragma once
// The tone pass's constants, shared by its per-texel and eight-texel forms.

#include <cstdint>

#include "render/Compositor.h"

/** Per channel (0 red, 1 green, 2 blue): the brightening `up` and the scale `m`;
 *  the saturation terms f (below 100) and e (above); the grey-value tables. */
struct strToneConstants {
    float up[3], m[3];
    float f, e;
    const float* grey[3];
};

/** The tone pass on eight texels at a time for saturation class 0 (= 100), 1 (< 100)
 *  or 2 (> 100), with the per-texel pass's bytes; false where the processor lacks
 *  AVX2 (nothing written). */
bool ToneTexelsWide(const strTexels& src, int satClass, const strToneConstants& k, bool keepTransparent, uint32_t* out);
