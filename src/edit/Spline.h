#pragma once
// Laying one cell number along a quadratic Bézier curve over several frames,
// with the grid snapping and the preview points of the spline dialog.

#include <cstdint>
#include <vector>

class cAnimeData;
class iStatusSink;

/** A point in animation coordinates. */
struct strPointF {
    float x = 0, y = 0;
};
struct strPointI {
    int x = 0, y = 0;
    bool operator==(const strPointI&) const = default;
};

/** B(t) = (1-t)^2 P0 + 2t(1-t) P1 + t^2 P2 per coordinate in single precision,
 *  truncated toward zero. */
strPointI SplinePoint(strPointF p0, strPointF p1, strPointF p2, float t);
/** The nearest multiple of step (halves going up); v itself when step <= 0. */
int SnapToGrid(int v, int step);

/** The spline dialog's state: the frame count is remembered between uses. */
struct strSplineDialogState {
    int count = 0;
    bool grid = false;
    /** Prepares the dialog for cell number s of frame f0: the count limited to
     *  0..n - f0 - 1 and the grid tick from position snapping (gridBits bit 0). */
    void Open(const cAnimeData& project, int f0, uint32_t gridBits);
};

/** The preview: the points of frames f0 + 1 .. f0 + count (B(i / count), snapped to
 *  a grid of gridStep pixels; 0 for none). */
std::vector<strPointI> SplinePreview(strPointF p0, strPointF p1, strPointF p2, int count, int gridStep);

/** Stores cell number s of frames f0 + 1 .. f0 + count along the curve (one step):
 *  each frame takes its own cell, or the previous frame's, with the curve's position.
 *  Reports and returns the number of cells stored. */
int ApplySpline(cAnimeData& project, int f0, int s, int count, strPointF p0, strPointF p1, strPointF p2, int gridStep,
                iStatusSink& status);
