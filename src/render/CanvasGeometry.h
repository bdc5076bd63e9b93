#pragma once
// Geometry of the canvas without a window: the view transform between window
// pixels and animation coordinates, the quad a cell covers, the point-in-quad
// test, grid snapping and the angle and length measures of rotate and scale drags.

#include <cstdint>

struct strCell;

/** A point in window pixels or animation coordinates (the caller knows which). */
struct strCanvasPoint {
    float x = 0, y = 0;
};

/** Window = animation × zoom + origin (origin: the window pixel of the animation origin). */
struct strCanvasView {
    float zoom = 1;
    float originX = 0, originY = 0;

    strCanvasPoint ToWindow(float ax, float ay) const { return {ax * zoom + originX, ay * zoom + originY}; }
    strCanvasPoint ToAnimation(float wx, float wy) const { return {(wx - originX) / zoom, (wy - originY) / zoom}; }
};

/** The four corners of a cell, in drawing order (top-left, top-right, bottom-right,
 *  bottom-left of the unrotated pattern). */
struct strQuad {
    strCanvasPoint v[4];
};

/** The quad of a cell whose pattern is w × h pixels, in animation coordinates: scaled
 *  about the pattern centre, turned by angle (tenths of a degree, clockwise) and
 *  centred on (x, y). */
strQuad CellQuad(const strCell& cell, int w, int h);
/** The pattern pixel (0..w-1, 0..h-1) of a cell that lies under animation point a:
 *  the inverse of CellQuad. False outside the pattern or for a cell scaled to nothing. */
bool PatternPixelAt(const strCell& cell, int w, int h, strCanvasPoint a, int& px, int& py);
/** The quad mapped through the view into window pixels. */
strQuad ToWindow(const strQuad& quad, const strCanvasView& view);

/** True when p lies inside the quad: the edge cross products never change sign
 *  (zero values ignored). */
bool QuadContains(const strQuad& quad, strCanvasPoint p);

/** Snapping bits of the GridBit setting. */
enum eGridBit : uint32_t { GRID_POSITION = 1, GRID_SCALE = 2, GRID_ANGLE = 4 };

/** The nearest multiple of step (halves going up, real quotient) when enabled and
 *  step > 0, else the value; the result is a 16-bit value. */
int16_t Snap(int value, int step, bool enabled);

/** Angle of (dx, dy): atan2(dy, dx), 0 when both are within 0.01 of zero. */
float DragAngle(float dx, float dy);
/** A difference of angles brought into −π…π. */
float WrapAngle(float a);
/** sqrt(dx² + dy²) through the fast reciprocal square root (three Newton steps). */
float DragLength(float dx, float dy);

/** Float to int truncating toward zero, saturated to the 16-bit range. */
int16_t TruncToInt16(float v);
