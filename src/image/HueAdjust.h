#pragma once
// Integer hue, saturation and value adjustment of one colour (pattern sheets).

#include <cstdint>

/** Adjusts the colour 0xAARRGGBB by a hue shift in degrees, a saturation add and a
 *  value add (integers throughout, divisions truncating); alpha is unchanged. */
uint32_t AdjustHue(uint32_t color, int hueShift, int saturationAdd, int valueAdd);
