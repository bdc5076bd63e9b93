#pragma once
// Window placements from the settings made safe to apply: a size between a
// minimum and the screen, a position on a visible screen. config.ini may hold
// anything (0, negative or huge sizes, positions of a screen that is gone).

#include <vector>

struct strPlacement {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const strPlacement&) const = default;
};

/** The placement moved and sized to lie wholly on one of the screens (their
 *  usable areas, the first is the primary one): the screen it overlaps most, or
 *  when it overlaps none, the one nearest to its top-left corner. Width and
 *  height are raised to the minimum, then cut to the screen. No screens: the
 *  placement with the minimum size applied. */
strPlacement ClampPlacement(strPlacement wanted, int minWidth, int minHeight, const std::vector<strPlacement>& screens);
