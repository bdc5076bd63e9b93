#pragma once
// cKeyframe: the timeline's grid without a window. One column per frame, one row
// per cell number, a row header on the left and a column header on top. It keeps
// the geometry and scroll position, hit-tests points into its areas, and runs the
// focus, the selection (by mouse, rubber band and keys), the drag range, the clip
// rectangle and the marker column. Subclasses react through the hooks.

#include "edit/TimelineClip.h"

/** A grid position; column -1 is the row header, row -1 the column header. */
struct strGridPos {
    int col = 0, row = 0;
    bool operator==(const strGridPos&) const = default;
};

/** A rectangle of grid positions, first and last inclusive. A column-header
 *  selection has r0 = -1 and spans every row; a row-header one has c0 = -1. */
struct strGridRect {
    int c0 = 0, r0 = 0, c1 = 0, r1 = 0;
    bool operator==(const strGridRect&) const = default;
    bool Contains(strGridPos p) const { return p.col >= c0 && p.col <= c1 && p.row >= r0 && p.row <= r1; }
};

/** What a point hits: the area (TA_ROWS, TA_FRAMES, TA_CELLS; 0 outside) and the position. */
struct strGridHit {
    int area = 0;
    strGridPos pos;
};

/** Drag state flags of a running mouse selection. */
enum eKeyframeDrag { KD_ROWS = 0x10, KD_COLUMNS = 0x20, KD_CELLS = 0x40, KD_LEFT = 0x100 };

/** Keyboard modifiers the mouse and key input carries. */
enum eKeyframeModifier { KM_SHIFT = 1, KM_CTRL = 2 };

enum eKeyframeKey { KK_LEFT, KK_RIGHT, KK_UP, KK_DOWN };

/** Colours of the grid as 0x00BBGGRR (COLORREF). */
enum eKeyframeColor : unsigned {
    KC_BACKGROUND = 0xFFFFFF,
    KC_GRID = 0xC8C8C8,
    KC_HEADER_LINE = 0x404040,
    KC_MARKER = 0x4040FF,
    KC_DRAG_RANGE = 0x0000FF,
    KC_TEXT = 0x000000,
};

class cKeyframe {
public:
    static constexpr int kHeaderHeight = 16, kColumnWidth = 16, kRowHeight = 20, kLabelStep = 5;

    explicit cKeyframe(int headerWidth = 32) : headerWidth_(headerWidth) {}
    virtual ~cKeyframe() = default;

    // --- size, geometry and scrolling
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int HeaderWidth() const { return headerWidth_; }
    /** Clears scroll, focus, anchor, selection, drag range and clip rectangle, sets the
     *  counts and puts the marker on column 0. */
    void Reset(int columns, int rows);
    /** New counts; focus, selection, drag range and clip rectangle are kept, limited to them. */
    void SetGridSize(int columns, int rows);
    /** The pixel size of the grid's client area (the scroll range follows it). */
    void SetViewSize(int width, int height);
    int ViewWidth() const { return viewWidth_; }
    int ViewHeight() const { return viewHeight_; }
    /** Left edge of column col and top edge of row row in client pixels (headers: 0). */
    int ColumnX(int col) const;
    int RowY(int row) const;
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    int MaxScrollX() const;
    int MaxScrollY() const;
    /** Sets the scroll offsets, clamped to the scroll range. */
    void SetScroll(int x, int y);
    /** Scrolls the least amount that shows the position (a header index leaves its axis). */
    void EnsureVisible(strGridPos pos);
    /** The first and last column (row) that are at least partly visible; last < first when none. */
    void VisibleColumns(int& first, int& last) const;
    void VisibleRows(int& first, int& last) const;

    /** The area and position under a client point; area 0 outside the grid's areas. */
    strGridHit HitTest(int x, int y) const;

    // --- state
    strGridPos Focus() const { return focus_; }
    bool HasSelection() const { return hasSelection_; }
    const strGridRect& Selection() const { return selection_; }
    /** The area a selection lies in (TA_FRAMES, TA_ROWS, TA_CELLS), 0 without one. */
    int SelectionArea() const;
    /** The selection as frames and cell numbers: a header selection covers every row or column. */
    strGridBlock SelectionBlock() const;
    /** Drag flags (KD_*); 0 when no mouse selection runs. */
    int DragFlags() const { return dragFlags_; }
    bool HasDragRange() const { return hasDragRange_; }
    const strGridRect& DragRange() const { return dragRange_; }
    bool HasClipRect() const { return hasClip_; }
    const strGridRect& ClipRect() const { return clip_; }
    int Marker() const { return marker_; }
    /** Whether column col carries a header label (every fifth column and the marker). */
    bool HasColumnLabel(int col) const { return col >= 0 && (col % kLabelStep == 0 || col == marker_); }

    // --- changes made by the program (no hooks)
    void SetMarker(int col) { marker_ = col; }
    void SetDragRange(const strGridRect* rect);
    void SetClipRect(const strGridRect* rect);
    /** Sets the selection and anchors it at its first position; null clears it. Calls
     *  the selection hook. */
    void Select(const strGridRect* rect);
    /** Moves the focus (and the focus hook runs when it changed, if notify). */
    void SetFocus(strGridPos pos, bool notify = true);
    /** The whole column / row / cell-area rectangle of a position's area. */
    strGridRect AreaRect(strGridPos pos) const;

    // --- input
    /** A button press at a client point. Left and right select (right keeps a selection
     *  that contains the point); left starts a rubber band. Returns the hit area (0
     *  outside, where the selection is cleared). */
    int MouseDown(int x, int y, bool left, int modifiers);
    /** Extends a running rubber band to the point; false when none runs. */
    bool MouseMove(int x, int y);
    /** Ends a running rubber band. */
    void MouseUp();
    /** A double click: selects as a left press and calls the double-click hook. */
    int DoubleClick(int x, int y, int modifiers);
    /** An arrow key: moves the focus one step; SHIFT extends the selection from the
     *  anchor, otherwise the focus's position is selected. Returns whether it was used. */
    bool Key(eKeyframeKey key, int modifiers);
    /** Moves the focus to a position as a key does (selection by the same rule). */
    void MoveFocus(strGridPos pos, int modifiers);

protected:
    /** A key tried to move the focus past the last column (column) or row. */
    virtual void OnFocusPastEnd(bool /*column*/) {}
    virtual void OnFocusChanged() {}
    virtual void OnSelectionChanged() {}
    virtual void OnDoubleClick(const strGridHit&) {}
    /** Modifiers of the input being handled (for the hooks). */
    int CurrentModifiers() const { return modifiers_; }

private:
    strGridRect Extended(strGridPos from, strGridPos to) const;
    void SelectAt(const strGridHit& hit, int modifiers);
    void Limit(strGridRect& r) const;
    strGridPos ClampPos(strGridPos p) const;

    int columns_ = 0, rows_ = 0;
    int headerWidth_;
    int viewWidth_ = 0, viewHeight_ = 0;
    int scrollX_ = 0, scrollY_ = 0;
    strGridPos focus_, anchor_;
    bool hasSelection_ = false;
    strGridRect selection_;
    int dragFlags_ = 0;
    bool hasDragRange_ = false;
    strGridRect dragRange_;
    bool hasClip_ = false;
    strGridRect clip_;
    int marker_ = 0;
    int modifiers_ = 0;
};
