#pragma once
// cMainEditWnd: the canvas. Shows the current frame of the project through the
// sprite drawer with the editing aids of the view options (grid, target picture,
// centre lines, draft GIF, neighbouring frames, outlines, locus, the tool's
// feedback and the cell information), turns mouse and key events into the
// gestures of cCanvasEdit, and drives playback: a precise timer wakes it when the
// next frame is due, the frame timer fires, and the player advances with its
// flashes and sounds.

#include "playback/AnimePlayer.h"
#include "render/DraftGif.h"
#include "ui/DrawBoxWnd.h"
#include "view/CanvasEdit.h"

#include "image/Bmp.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

class cAnimeData;
class cDlg_ContexCell;
class cDlg_Spline;
class cSpriteDrawer;
class iStatusSink;

class cMainEditWnd : public cDrawBoxWnd, public cPlayerWindow {
    Q_OBJECT
public:
    explicit cMainEditWnd(QWidget* parent = nullptr);
    ~cMainEditWnd() override;

    /** Points the canvas (and its player) at a project; resets frame, selection and playback. */
    void SetProject(cAnimeData* project);
    cAnimeData* Project() const { return project_; }

    /** The project's cell count changed: the selection takes the new count. */
    void ResetCellCount();

    int CurrentFrame() const { return currentFrame_; }
    /** Selects a frame (clamped by the caller) and redraws; during playback the player
     *  follows. A running drag ends without storing. */
    void SetCurrentFrame(int frame);
    /** The selection: one byte per cell number, bit 0 set when selected. */
    std::vector<uint8_t>& Selection() { return edit_.Selection(); }
    bool AnySelected() const { return edit_.AnySelected(); }
    /** The mouse and keyboard editing state. */
    cCanvasEdit& Edit() { return edit_; }
    /** Chooses the canvas tool (eCanvasTool). */
    void SetTool(int tool);

    /** The timeline's drag range and selection (the locus follows the selection). */
    void SetDragRange(const strCanvasRange& range);
    void SetTimelineSelection(const strCanvasRange& selection);
    /** Where editing operations report (the status bar). */
    void SetStatusSink(iStatusSink* status) { status_ = status; }

    /** Reads the draft GIF from the GIFPath setting. */
    void ReloadDraftGif();
    const cDraftGif& DraftGif() const { return draft_; }

    /** Opens the cell-number chooser for 新規 (0) or ペースト (1): beside the cursor, or at
     *  the canvas's top-left corner when invoked from the keyboard. */
    void ChooseCellNumber(int action, bool byKeyboard);
    /** Creates a new cell (0) or pastes (1) at a cell number of the current frame; atMouse
     *  uses the last mouse point on the canvas, otherwise the view's scroll position. */
    void ActOnCell(int action, int cellNo, bool atMouse);
    cDlg_Spline* SplineDialog() const { return spline_; }
    cDlg_ContexCell* CellChooser() const { return chooser_; }

    cAnimePlayer& Player() { return player_; }
    /** Play from startFrame with the PlayBit and PlayRate settings inside the range
     *  (-1 open); a playing canvas stops instead. Returns whether playback started. */
    bool PlayCommand(int startFrame, int rangeStart, int rangeEnd);
    void StopPlayback();
    bool IsPlaying() const { return player_.IsPlaying(); }
    /** Playback ended with the option to hide the cells; cleared by the next frame choice. */
    bool CellsHidden() const { return cellsHidden_; }

    /** Told after every frame change made by playback, and when playback stops. */
    std::function<void()> onFrameChanged;
    std::function<void()> onPlayStopped;
    /** Told after the canvas stored an undo step (a drag, a new cell, a spline). */
    std::function<void()> onEdited;
    /** A double click picked a cell: open the cell dialog for (CurrentFrame, Focus). */
    std::function<void()> onCellDialog;
    /** A command chosen in the canvas's context menu. */
    std::function<void(int id)> onCommand;

    /** The pattern a palette drag carries: picture slot and pattern (1-based). */
    std::function<void(int& picture, int& pattern)> dropPattern;
    /** The palette's drag (kPaletteDragMessage, code ePaletteDrag, canvas point): while
     *  it runs over the canvas the pattern is shown under the cursor and the cell the
     *  drop would set is highlighted; a drop or cancel ends drop mode. */
    void OnDragNotify(int message, int code, QPoint point) override;
    /** Drop mode: a palette drag is over the canvas. */
    bool Dropping() const { return drop_.over; }
    /** The cell number the drop would set: the cell under the cursor, else the
     *  picture's first free slot; -1 when the drop would place nothing. */
    int DropSlot() const { return drop_.over ? drop_.slot : -1; }
    /** Whether DropSlot() is an existing cell that would be re-skinned. */
    bool DropOnCell() const { return drop_.over && drop_.hit >= 0; }

    bool FetchCell(int frame, int cellNo, strCell& out) const override;
    bool Draw(QPainter& painter) override;
    void OnResize() override;
    void OnMouse(QMouseEvent* event) override;

    // cPlayerWindow
    void PlayTick() override;
    void PlayStopped() override;

    /** Called after every draw with the milliseconds it took (for measurements). */
    std::function<void(double ms)> onDrawn;
    /** Playback ticks received since the program started. */
    long TickCount() const { return ticks_; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ScheduleTick();
    void SyncView();
    strCanvasKeys KeysOf(Qt::KeyboardModifiers modifiers) const;
    bool Held(int virtualKey) const;
    void Handle(unsigned result);
    void OpenSplineDialog();
    void ShowContextMenu(QPoint global);
    void Edited();
    iStatusSink& Status();
    // Line and text layers over the picture (CanvasPaint.cpp).
    void PaintEditLayers(QPainter& painter);
    void PaintToolFeedback(QPainter& painter);
    void PaintDropFeedback(QPainter& painter);
    // Drop mode of a palette drag (CanvasDrop.cpp).
    void DrawDropPreview(cSpriteDrawer& drawer);
    /** The cell a drop at the current drag point would place (the preview). */
    strCell DropPreview() const;

    cAnimeData* project_ = nullptr;
    int currentFrame_ = 0;
    cCanvasEdit edit_;
    cAnimePlayer player_;
    QTimer clock_;
    cBMP target_;
    cDraftGif draft_;
    strCanvasRange timelineSelection_;
    iStatusSink* status_ = nullptr;
    strCanvasPoint lastMouse_;
    cDlg_Spline* spline_ = nullptr;
    cDlg_ContexCell* chooser_ = nullptr;
    bool cellsHidden_ = false; // playback ended with the option to hide the cells
    struct strDropState {
        bool over = false;    // a palette drag is over the canvas
        strCanvasPoint point; // the cursor, window pixels
        int picture = 0, pattern = 1;
        int hit = -1;  // the cell under the cursor
        int slot = -1; // the cell number the drop would set
    } drop_;
    double lastDrawMs_ = 0;
    long ticks_ = 0;
};
