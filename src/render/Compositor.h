#pragma once
// The software compositor's pixel work: drawing a textured quad into a 32-bit
// target with one of the five blend modes, and the per-texel passes that prepare a
// pattern (colour tone, silhouette, flash tints) in a work texture first.
//
// Sampling follows the fixed-function pipeline it replaces: pixel (i, j) of the
// target is sampled at the point (i, j); a sample is covered when it lies in the
// quad, left and top edges inclusive; the texel is the nearest one (point sampling).

#include <cstddef>
#include <cstdint>

/** A 32-bit target: B, G, R, A bytes per pixel, rows top first. */
struct strSurface {
    uint8_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
};

/** Source texels (0xAARRGGBB words) of one pattern. */
struct strTexels {
    const uint32_t* texels = nullptr;
    int stride = 0; // in texels
    int width = 0, height = 0;
};

/** Where the source lands: the target point of source point (s, t) is
 *  origin + s × axisS + t × axisT (source points in texels). */
struct strQuadMap {
    double originX = 0, originY = 0;
    double axisSX = 1, axisSY = 0;
    double axisTX = 0, axisTY = 1;
};

/** Blend modes; any other value replaces the destination. */
enum eBlendMode { kBlendNormal = 0, kBlendAdd = 1, kBlendSubtract = 2, kBlendMultiply = 3, kBlendScreen = 4 };

/** Draws the texels mapped by `map` with source alpha a × opacity / 255. Each row
 *  the quad covers is visited over its exact covered span only. */
void CompositeQuad(const strSurface& target, const strTexels& src, const strQuadMap& map, int opacity, int blend);

/** One quad of a batch. */
struct strQuadDraw {
    strTexels src;
    strQuadMap map;
    int opacity = 255;
    int blend = kBlendNormal;
};

/** Draws the quads in order, as one CompositeQuad after another would. A large batch
 *  is split into bands of rows over the render threads; the texels must stay
 *  unchanged until it returns. */
void CompositeQuads(const strSurface& target, const strQuadDraw* draws, size_t count);

/** Per-texel colour tone. */
struct strTone {
    int red = 100, green = 100, blue = 100, saturation = 100;
    bool Neutral() const { return red == 100 && green == 100 && blue == 100 && saturation == 100; }
};

/** Work-texture passes: each writes w × h texels into `out` (stride w) with the
 *  source alpha kept and the colour replaced. For the tone, `grey` (may be null)
 *  receives the grey value of each texel as an opaque grey texel, and transparent
 *  texels come out as 0 unless `keepTransparent` (only a draw without blending
 *  shows their colour). */
void ToneTexels(const strTexels& src, const strTone& tone, uint32_t* out, uint32_t* grey, bool keepTransparent = false);
/** Flat colour (0xRRGGBB) with the source alpha. */
void SilhouetteTexels(const strTexels& src, uint32_t rgb, uint32_t* out);
/** c blended toward the flash colour by a × strength / 255. */
void FlashTintTexels(const strTexels& src, uint32_t rgb, int strength, uint32_t* out);
/** Signed flash: bytes above 128 brighten, below darken, scaled by the texel alpha. */
void SignedFlashTexels(const strTexels& src, uint32_t rgbBytes, uint32_t* out);

/** Fills the whole target with colour `rgb` at alpha strength / 255 in a blend mode. */
void CompositeFill(const strSurface& target, uint32_t rgb, int strength, int blend);
