#pragma once
// Lines and rectangles drawn straight into a 32-bit canvas buffer (the grid, the
// centre lines and the outlines of neighbouring frames), clipped to the buffer.

#include <cstdint>

class cBMP;

/** A pen: colour 0xAARRGGBB, blended by its alpha byte when `blend`, else opaque;
 *  width in pixels (at least 1). */
struct strPen {
    uint32_t argb = 0xFFFFFFFF;
    bool blend = false;
    int width = 1;
};

/** Fills the pixels x0 ≤ x < x1, y0 ≤ y < y1 (clipped). */
void FillRect(cBMP& target, int x0, int y0, int x1, int y1, const strPen& pen);
/** A line between two pixel positions, each point a width × width square. */
void DrawLine(cBMP& target, float x0, float y0, float x1, float y1, const strPen& pen);
