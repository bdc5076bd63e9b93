#include "project/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Overlap area in 64 bits: settings may hold sizes near INT32_MAX.
int64_t overlap(const strPlacement& a, const strPlacement& b)
{
    const int64_t left = std::max<int64_t>(a.x, b.x), top = std::max<int64_t>(a.y, b.y);
    const int64_t right = std::min<int64_t>(int64_t(a.x) + a.width, int64_t(b.x) + b.width);
    const int64_t bottom = std::min<int64_t>(int64_t(a.y) + a.height, int64_t(b.y) + b.height);
    return right > left && bottom > top ? (right - left) * (bottom - top) : 0;
}

int64_t distance(int x, int y, const strPlacement& s)
{
    const int64_t dx = std::max<int64_t>({int64_t(s.x) - x, 0, int64_t(x) - (int64_t(s.x) + s.width)});
    const int64_t dy = std::max<int64_t>({int64_t(s.y) - y, 0, int64_t(y) - (int64_t(s.y) + s.height)});
    return dx * dx + dy * dy;
}

} // namespace

strPlacement ClampPlacement(strPlacement w, int minWidth, int minHeight, const std::vector<strPlacement>& screens)
{
    w.width = std::max(w.width, minWidth);
    w.height = std::max(w.height, minHeight);
    if (screens.empty())
        return w;
    const strPlacement* best = nullptr;
    int64_t bestArea = 0;
    for (const strPlacement& s : screens)
        if (const int64_t a = overlap(w, s); a > bestArea) {
            bestArea = a;
            best = &s;
        }
    if (!best) {
        int64_t bestDistance = std::numeric_limits<int64_t>::max();
        for (const strPlacement& s : screens)
            if (const int64_t d = distance(w.x, w.y, s); d < bestDistance) {
                bestDistance = d;
                best = &s;
            }
    }
    const strPlacement& s = *best;
    w.width = std::min(w.width, std::max(s.width, 1));
    w.height = std::min(w.height, std::max(s.height, 1));
    w.x = int(std::clamp<int64_t>(w.x, s.x, int64_t(s.x) + s.width - w.width));
    w.y = int(std::clamp<int64_t>(w.y, s.y, int64_t(s.y) + s.height - w.height));
    return w;
}
