#pragma once
// The palette window's rules without a window: where each pattern of a picture
// lies on the palette surface (as in the sheet, or stacked in one column), which
// pattern a point hits, the tabs, and placing a dragged pattern on the canvas.

class cAnimeData;
class iMessageSink;

/** The pattern layout of the shown picture, in sheet pixels (zoom 1). */
struct strPaletteGeometry {
    int patternW = 320, patternH = 320; // the placeholder area when there is no image
    int columns = 1;
    int count = 1;
    bool vertical = false; // the VerticalFlag setting

    /** Top-left corner of pattern k (0-based). */
    void PatternPos(int k, int& x, int& y) const;
    /** The pattern (0-based) under a surface point, -1 for none. */
    int PatternAt(int x, int y) const;
    /** The size of the area the patterns cover. */
    int Width() const;
    int Height() const;
    /** The scrollable surface from (0, 0): the patterns, and at least the client area
     *  at the zoom factor, so the sheet stays in view at every zoom. */
    void ContentSize(int clientW, int clientH, double factor, double& width, double& height) const;
};

/** The number of palette tabs: one per picture slot up to the last one used (at
 *  least one). */
int PaletteTabCount(const cAnimeData& project);
/** The selected pattern (1-based) kept within 1..count. */
int ClampPalettePattern(int pattern, int count);

/** The cell number a pattern dropped in frame `current` sets: the hit cell when it
 *  exists there, else the picture's first free slot (FirstFreeSlot); -1 for none. */
int PaletteDropSlot(const cAnimeData& project, int current, int picture, int hitCell);

/** Releasing a dragged pattern over the canvas at (x, y) in animation coordinates,
 *  with `hitCell` the cell number under the cursor (-1 for none). Runs the frame
 *  consistency guard on `current` first. Without a hit cell a new opaque cell is
 *  placed in the picture's first free slot (FirstFreeSlot); otherwise the hit cell
 *  takes the picture and pattern and keeps the rest. One undo step. Returns the cell
 *  number stored, -1 for none. */
int PaletteDrop(cAnimeData& project, int& current, iMessageSink& messages, int picture, int pattern, int x, int y,
                int hitCell);
