#pragma once
// cTimeline: the grid of one project, frames across and cell numbers down. The
// focus column is the current frame; a selection in the cell area that reaches
// the current frame selects those cells on the canvas. It runs the commands of
// the three context menus (frames, cells, cell-number rows) on the clicked area
// and the selection: block clipboard, block interpolation, new cell, frame
// insertion, the play range and the drag range, and prepares the dialogs it
// opens through its host.

#include "platform/CommandIds.h"
#include "view/EditOptions.h"
#include "view/Keyframe.h"

#include <cstdint>
#include <string>
#include <vector>

class cAnimeData;
class iStatusSink;
class iMessageSink;

/** What the timeline needs from the windows around it. */
class iTimelineHost {
public:
    virtual ~iTimelineHost() = default;
    /** The user chose a frame on the timeline: it becomes the current frame. */
    virtual void TimelineFrameChosen(int frame) = 0;
    /** The canvas's selection bytes (bit 0 selected, one per cell number); null when none. */
    virtual std::vector<uint8_t>* TimelineCanvasSelection() = 0;
    /** The canvas selection was changed by the timeline. */
    virtual void TimelineCanvasSelectionChanged() = 0;
    /** The canvas's focused cell (its outline and information text) becomes cellNo (-1: none). */
    virtual void TimelineCanvasFocus(int cellNo) = 0;
    virtual void TimelineStopPlayback() = 0;
    /** Opens a dialog (eDialogKey) prepared with a block of frames and cell numbers:
     *  the interval dialog with f0..f1, the cell dialog with (f0, k0), the fixed-picture
     *  dialog with k0, the frame interpolation and batch edit dialogs with the block. */
    virtual void TimelineOpenDialog(int key, const strGridBlock& block) = 0;
    /** The play range becomes [first, last] with range playback on, or range playback off. */
    virtual void TimelinePlayRange(bool on, int first, int last) = 0;
    /** The project changed: the canvas, the list window and the status are refreshed. */
    virtual void TimelineChanged() = 0;
    virtual iStatusSink& TimelineStatus() = 0;
    virtual iMessageSink& TimelineMessages() = 0;
    /** The options of frame stepping and interpolation, as they are now. */
    virtual strEditOptions TimelineOptions() = 0;
};

class cTimeline : public cKeyframe {
public:
    static constexpr int kRowHeaderWidth = 48;

    explicit cTimeline(iTimelineHost& host) : cKeyframe(kRowHeaderWidth), host_(host) {}

    /** A new project: the grid is reset to its size, the marker to frame 0. */
    void SetProject(cAnimeData* project);
    cAnimeData* Project() const { return project_; }
    /** Follows the project's frame and cell counts and the current frame (the marker; a
     *  focus in a column moves with it). */
    void Sync(int currentFrame);

    /** Whether a command applies to an area (and, for some, the clicked position). */
    bool IsEnabled(int command, int area, strGridPos clicked) const;
    /** Runs a context command on the clicked area and position and the selection.
     *  Returns whether it ran. */
    bool Run(int command, int area, strGridPos clicked);
    /** Whether a main-window key command (cut, copy, paste, delete, select all, insert,
     *  interpolate, parameters) applies to the present selection. */
    bool HandlesKeyCommand(int command) const;
    /** Runs a key command on the selection's area at the focus. */
    bool RunKeyCommand(int command);

    /** Play range as shown under the column header. */
    void SetPlayRange(bool on, int first, int last);
    bool PlayRangeOn() const { return playOn_; }
    int PlayFirst() const { return playFirst_; }
    int PlayLast() const { return playLast_; }
    /** The drag range as frames and cell numbers; false when none is set. */
    bool DragBlock(strGridBlock& out) const;

    // --- texts and contents for painting
    bool HasCell(int col, int row) const;
    /** "%d", or "%d [%d]" with the fixed picture when fixed pictures are on. */
    std::string RowLabel(int row) const;
    /** "%d" for labelled columns, empty otherwise. */
    std::string ColumnLabel(int col) const;
    /** "% 3d,% 3d": the current frame and its own interval (0 = base interval). */
    std::string CornerText() const;

protected:
    void OnFocusPastEnd(bool column) override;
    void OnFocusChanged() override;
    void OnSelectionChanged() override;
    void OnDoubleClick(const strGridHit& hit) override;

private:
    strGridRect RectOf(int area, const strGridBlock& b) const;
    void AfterEdit();

    iTimelineHost& host_;
    cAnimeData* project_ = nullptr;
    bool playOn_ = false;
    int playFirst_ = 0, playLast_ = 0;
};
