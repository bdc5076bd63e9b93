#pragma once
// cCanvasEdit: what the canvas does with the mouse and the keyboard, without a
// window. It keeps the per-cell selection bytes, the focused cell, the tool and
// the drag mode; picks cells by hit testing their quads; runs the move, rotate,
// scale, swing, spline and draft-GIF gestures; shows moving cells through the
// transform that it stores on release as one undo step; and runs the ordering,
// delete, select-all and new-cell operations on the selection.
//
// Points handed in are window pixels; the view maps them to the animation.

#include "edit/CanvasClip.h"
#include "model/Records.h"
#include "render/CanvasGeometry.h"
#include "render/DraftGif.h"
#include "view/EditOptions.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cAnimeData;
class iStatusSink;

/** Selection byte bits besides kCellSelected (1): part of the running drag, under the cursor. */
inline constexpr uint8_t kCellMoving = 2;
inline constexpr uint8_t kCellHover = 4;

enum eCanvasTool { TOOL_MOVE = 0, TOOL_SWING = 1, TOOL_SPLINE = 2 };
enum eCanvasMode {
    CM_IDLE = 0,
    CM_MOVE = 2,
    CM_GUIDE = 3,
    CM_SWING = 4,
    CM_GIF = 5,
    CM_BEND = 6,
    CM_ROTATE = 7,
    CM_SCALE = 8
};

/** The keys the gestures look at, as held when the event came. */
struct strCanvasKeys {
    bool snapSuppress = false; // SHIFT
    bool multiSelect = false;  // CTRL
    bool rotate = false;       // DragAKey
    bool scale = false;        // DragSKey
    bool gif = false;          // GIFKey
};

/** The timeline's drag range: frames f0..f1 and cell numbers k0..k1. */
struct strCanvasRange {
    bool active = false;
    int f0 = 0, f1 = -1, k0 = 0, k1 = -1;
};

/** What the window has to do after an event (bits). */
enum eCanvasResult : unsigned {
    CR_NONE = 0,
    CR_REDRAW = 1,
    CR_CELL_DIALOG = 2,   // open the cell dialog for (current, focus)
    CR_SPLINE_DIALOG = 4, // open the spline dialog with SplinePoints()
    CR_STORED = 8,        // an undo step was committed
    CR_STATUS = 16,       // SwingText() changed
};

/** System edge size (SM_CXEDGE, SM_CYEDGE): how far the mouse must move before a gesture counts. */
inline constexpr float kEdgeSize = 2;

class cCanvasEdit {
public:
    /** Pattern size of a picture's sheet; false when the picture is not loaded. */
    using PatternSizeFn = std::function<bool(int picture, int& w, int& h)>;

    void SetProject(cAnimeData* project);
    cAnimeData* Project() const { return project_; }
    void SetPatternSize(PatternSizeFn fn) { patternSize_ = std::move(fn); }
    /** Where the grid and snapping options come from (the defaults without one). */
    using OptionsFn = std::function<strEditOptions()>;
    void SetOptions(OptionsFn fn) { options_ = std::move(fn); }
    /** Whether pixel (px, py) of a pattern (1-based) of a picture is transparent; false
     *  when unknown. Without it hit testing uses whole quads. */
    using TransparentFn = std::function<bool(int picture, int pattern, int px, int py)>;
    void SetTransparentPixel(TransparentFn fn) { transparent_ = std::move(fn); }
    /** The working copy of a cell that an open dialog edits; false for other cells. */
    using PreviewFn = std::function<bool(int frame, int cellNo, strCell& out)>;
    /** Cells with a working copy are shown with it while no drag moves them. */
    void SetPreview(PreviewFn fn) { preview_ = std::move(fn); }
    void SetView(const strCanvasView& view) { view_ = view; }
    const strCanvasView& View() const { return view_; }
    void SetCurrent(int frame) { current_ = frame; }
    /** The selection bytes take the project's cell count (all cleared). */
    void ResetSelection();
    std::vector<uint8_t>& Selection() { return selection_; }
    const std::vector<uint8_t>& Selection() const { return selection_; }
    bool IsSelected(int cellNo) const;
    bool AnySelected() const;
    int Focus() const { return focus_; }
    void SetFocus(int cellNo) { focus_ = cellNo; }

    void SetTool(int tool);
    int Tool() const { return tool_; }
    int Mode() const { return mode_; }
    bool Snapping() const { return snap_; }
    strCanvasPoint AnchorA() const { return anchorA_; }
    strCanvasPoint AnchorB() const { return anchorB_; }
    strCanvasPoint CurrentPoint() const { return cur_; }
    void SetDragRange(const strCanvasRange& range) { range_ = range; }

    /** Draft GIF: whether one is shown (gestures with the GIF key need it) and its placement. */
    void SetDraftShown(bool shown) { draftShown_ = shown; }
    strDraftPlacement& Draft() { return draft_; }
    const strDraftPlacement& Draft() const { return draft_; }
    /** The placement as shown: the running GIF drag applied. */
    strDraftPlacement DisplayedDraft() const;

    // --- picking
    /** The quad of a cell in animation coordinates; false without a loaded picture. */
    bool QuadOf(const strCell& cell, strQuad& out) const;
    /** Sets the hover bit on the cells of the current frame whose visible pixel lies
     *  under the window point, or, when no such pixel is there, on every cell whose quad
     *  contains the point; returns the highest such cell number, -1 when none. */
    int HitTest(strCanvasPoint window);
    /** Selecting with the mouse (left or right press, double click). */
    void SelectAt(strCanvasPoint window, bool multi);

    // --- mouse
    unsigned LeftDown(strCanvasPoint p, const strCanvasKeys& keys);
    unsigned LeftUp(strCanvasPoint p, const strCanvasKeys& keys);
    unsigned DoubleClick(strCanvasPoint p, const strCanvasKeys& keys);
    unsigned MouseMove(strCanvasPoint p, const strCanvasKeys& keys);
    /** Right press: ends a running gesture without storing, else selects. */
    unsigned RightDown(strCanvasPoint p, const strCanvasKeys& keys);
    /** Ends any gesture without storing. */
    void Cancel();
    /** Escape: ends a running gesture without storing (the cells return); false when idle. */
    bool CancelDrag();

    /** A cell as a running drag shows it (and release stores it): the drag applied,
     *  then the project's validation for that cell number. */
    strCell ApplyDrag(const strCell& cell, int cellNo) const;
    /** The cell of the current frame as shown (a running drag, else a dialog's working
     *  copy, else the stored cell); false when the slot is empty. */
    bool DisplayedCell(int cellNo, strCell& out) const;
    /** The spline points P0, P1, P2 in animation coordinates (after CR_SPLINE_DIALOG). */
    const strCanvasPoint* SplinePoints() const { return spline_; }
    /** "%d,%d": angle change (tenths of a degree) and scale in percent of a swing. */
    std::string SwingText() const;
    /** The window points of the bending curve: 21 points, t = 0, 0.05 … 1. */
    std::vector<strCanvasPoint> BendCurve() const;

    // --- keyboard and menu operations, one undo step each; counts of cells changed
    int BringForward(iStatusSink& status);
    int SendBackward(iStatusSink& status);
    int DeleteSelected(iStatusSink& status);
    void SelectAll();
    /** Stores a new cell at (x, y) in slot cellNo of the current frame and makes it the
     *  only selected cell; false when the slot is out of range or the frame is missing. */
    bool NewCell(int cellNo, int x, int y);

    /** "c:%d  pi:%d  pa:%d \n[%d , %d]\n[%d , %d] \na:%d  o:%d \n[0x%08x]" of the focused
     *  cell as shown; empty without one. */
    std::string InfoText() const;

private:
    unsigned StartDrag(int mode, strCanvasPoint p);
    unsigned Release();
    void Measure(strCanvasPoint p);
    bool MovedBeyondEdge(strCanvasPoint a, strCanvasPoint b) const;
    int SelectedCount() const;
    int Swap(int step, iStatusSink& status);

    cAnimeData* project_ = nullptr;
    PatternSizeFn patternSize_;
    OptionsFn options_;
    TransparentFn transparent_;
    PreviewFn preview_;
    strCanvasView view_;
    int current_ = 0;
    std::vector<uint8_t> selection_;
    int focus_ = -1;
    int tool_ = TOOL_MOVE;
    int mode_ = CM_IDLE;
    strCanvasPoint anchorA_, anchorB_, press_, cur_;
    float rotation_ = 0, scaleFactor_ = 1;
    bool snap_ = false;
    bool moved_ = false; // the pointer left the edge square around the press point
    strCanvasRange range_;
    bool draftShown_ = false;
    strDraftPlacement draft_;
    int gifOp_ = CM_MOVE; // the draft GIF drag: CM_MOVE, CM_ROTATE or CM_SCALE
    strCanvasPoint spline_[3];
};

/** The lowest cell number whose slot in frame f is empty and, with fixed pictures on,
 *  whose fixed picture is p; -1 when none. */
int FirstFreeSlot(const cAnimeData& project, int picture, int frame);

/** The locus of cell number k: its positions in the frames current − reach …
 *  current + reach that lie inside the selection's frames, in frame order, when the
 *  selection is active, covers the current frame and row k. Frames without the cell
 *  are skipped. */
std::vector<strCanvasPoint> LocusPath(const cAnimeData& project, int k, int current, int reach,
                                      const strCanvasRange& selection);
