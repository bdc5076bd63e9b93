#include "image/HueAdjust.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Truncating division by d in 1..255 through a reciprocal: with m = floor(2^32 / d) + 1
// the error of |x| × m / 2^32 stays below |x| / 2^32 < 1/256 < 1/d for |x| < 2^24, so
// the quotient is exact.
struct Reciprocals {
    uint64_t m[256];
    Reciprocals()
    {
        m[0] = 0;
        for (uint64_t d = 1; d < 256; ++d)
            m[d] = (uint64_t{1} << 32) / d + 1;
    }
};

inline int divide(int x, int d)
{
    static const Reciprocals r;
    const uint64_t ax = static_cast<uint64_t>(std::abs(x));
    const int q = static_cast<int>((ax * r.m[d]) >> 32);
    return x < 0 ? -q : q;
}

} // namespace

uint32_t AdjustHue(uint32_t color, int hueShift, int saturationAdd, int valueAdd)
{
    int b = static_cast<int>(color & 255), g = static_cast<int>((color >> 8) & 255),
        r = static_cast<int>((color >> 16) & 255);
    int mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
    int hue = 0;
    if (d != 0) {
        if (mx == r)
            hue = divide((g - b) * 60, d);
        else if (mx == g)
            hue = divide((b - r) * 60, d) + 120;
        else
            hue = divide((r - g) * 60, d) + 240;
    }
    int s = mx == 0 ? 0 : divide(d * 255, mx);
    int s2 = std::clamp(s + saturationAdd, 0, 255);
    int v2 = std::clamp(mx + valueAdd, 0, 255);
    // Hue shifts far outside ±720 still land in 0-359.
    int h = ((hue + hueShift + 720) % 360 + 360) % 360;
    int R, G, B;
    if (s2 == 0) {
        R = G = B = v2;
    } else {
        int i = (h / 60) % 6;
        int f = h * 6 - i * 360;
        int p = (255 - s2) * v2 / 255;
        int q = (255 - f * s2 / 360) * v2 / 255;
        int t = (255 - (360 - f) * s2 / 360) * v2 / 255;
        switch (i) {
        case 0: R = v2, G = t, B = p; break;
        case 1: R = q, G = v2, B = p; break;
        case 2: R = p, G = v2, B = t; break;
        case 3: R = p, G = q, B = v2; break;
        case 4: R = t, G = p, B = v2; break;
        default: R = v2, G = p, B = q; break;
        }
    }
    R = std::clamp(R, 0, 255);
    G = std::clamp(G, 0, 255);
    B = std::clamp(B, 0, 255);
    return (color & 0xFF000000u) | (static_cast<uint32_t>(R) << 16) | (static_cast<uint32_t>(G) << 8) |
           static_cast<uint32_t>(B);
}
