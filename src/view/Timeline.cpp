#include "view/Timeline.h"

#include "edit/CanvasClip.h"
#include "edit/FrameOps.h"
#include "edit/Interpolate.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"

#include <algorithm>
#include <cstdio>

namespace {

int frameColumns(const cAnimeData& p) { return p.LastUsedIndex(AI_FRAMES) + 1; }

int areaOfPos(strGridPos p)
{
    if (p.row < 0)
        return p.col < 0 ? 0 : TA_FRAMES;
    return p.col < 0 ? TA_ROWS : TA_CELLS;
}

} // namespace

void cTimeline::SetProject(cAnimeData* project)
{
    project_ = project;
    Reset(project ? frameColumns(*project) : 0, project ? project->CellCount() : 0);
}

void cTimeline::Sync(int currentFrame)
{
    if (!project_)
        return;
    const int columns = frameColumns(*project_), rows = project_->CellCount();
    if (columns != Columns() || rows != Rows())
        SetGridSize(columns, rows);
    if (currentFrame != Marker()) {
        SetMarker(currentFrame);
        if (DragFlags() == 0)
            EnsureVisible({currentFrame, -1});
    }
    // Keyboard stepping goes on from the frame shown, wherever it was chosen.
    const strGridPos focus = Focus();
    if (focus.col >= 0 && currentFrame >= 0 && focus.col != currentFrame)
        SetFocus({currentFrame, focus.row}, false);
}

bool cTimeline::IsEnabled(int command, int area, strGridPos at) const
{
    if (!project_ || area == 0)
        return false;
    switch (command) {
    case IDM_CELL_DIALOG:
        if (area == TA_CELLS)
            return project_->GetCell(at.col, at.row) != nullptr;
        if (area == TA_ROWS)
            return project_->GetValue(AI_FIX_PICTURE_PER_CELL) != 0;
        return true;
    case IDM_INSERT_FRAME:
    case TL_PLAY_RANGE: return area == TA_FRAMES;
    case IDM_NEW_CELL: return area == TA_CELLS;
    case IDM_INTERPOLATE_SELECTED: return area == TA_CELLS || area == TA_FRAMES;
    case TL_FRAME_COMP: return area == TA_CELLS || area == TA_ROWS;
    case IDM_PASTE: return TimelineCanPaste(area);
    case IDM_SELECT_ALL:
    case IDM_CUT:
    case IDM_COPY:
    case IDM_DELETE:
    case TL_AT_ONCE:
    case TL_DRAG_RANGE: return true;
    default: return false;
    }
}

strGridRect cTimeline::RectOf(int area, const strGridBlock& b) const
{
    if (area == TA_FRAMES)
        return {b.f0, -1, b.f1, Rows() - 1};
    if (area == TA_ROWS)
        return {-1, b.k0, Columns() - 1, b.k1};
    return {b.f0, b.k0, b.f1, b.k1};
}

void cTimeline::AfterEdit()
{
    Sync(Marker());
    host_.TimelineChanged();
}

bool cTimeline::Run(int command, int area, strGridPos at)
{
    if (!IsEnabled(command, area, at))
        return false;
    host_.TimelineStopPlayback();
    cAnimeData& p = *project_;
    strGridBlock block = HasSelection() ? SelectionBlock()
                                        : strGridBlock{std::max(at.col, 0), std::max(at.row, 0), std::max(at.col, 0),
                                                       std::max(at.row, 0)};
    if (area == TA_FRAMES) {
        block.k0 = 0;
        block.k1 = Rows() - 1;
    }
    switch (command) {
    case IDM_CELL_DIALOG:
        if (area == TA_FRAMES)
            host_.TimelineOpenDialog(WK_INTERVAL, block);
        else if (area == TA_CELLS)
            host_.TimelineOpenDialog(WK_CELL, {at.col, at.row, at.col, at.row});
        else
            host_.TimelineOpenDialog(WK_FIX_CELL_S, {0, at.row, 0, at.row});
        break;
    case IDM_INSERT_FRAME: {
        int f = at.col;
        InsertFrame(p, f, host_.TimelineStatus());
        Sync(Marker());
        SetFocus({at.col, -1});
        host_.TimelineChanged();
        break;
    }
    case IDM_NEW_CELL: {
        const strCell cell = strCell::New();
        cTransaction transaction(p);
        p.SetCell(at.col, at.row, &cell);
        transaction.Commit();
        AfterEdit();
        break;
    }
    case IDM_INTERPOLATE_SELECTED:
        InterpolateBlock(p, block.f0, block.f1, block.k0, block.k1, host_.TimelineOptions().compType);
        AfterEdit();
        break;
    case IDM_SELECT_ALL: {
        const strGridRect all = area == TA_FRAMES ? strGridRect{0, -1, Columns() - 1, Rows() - 1}
                                : area == TA_ROWS ? strGridRect{-1, 0, Columns() - 1, Rows() - 1}
                                                  : strGridRect{0, 0, Columns() - 1, Rows() - 1};
        Select(&all);
        break;
    }
    case IDM_CUT:
    case IDM_COPY:
    case IDM_DELETE: {
        const int flags = command == IDM_CUT ? TC_COPY | TC_MODIFY : command == IDM_COPY ? TC_COPY : TC_MODIFY;
        const strGridRect rect = RectOf(area, block);
        const bool done = TimelineBlockOp(p, area, block, flags);
        if (done && (flags & TC_COPY))
            SetClipRect(&rect);
        if (done && (flags & TC_MODIFY)) {
            Sync(Marker());
            SetFocus({std::min(rect.c0, Columns() - 1), std::min(rect.r0, Rows() - 1)});
        }
        if (flags & TC_MODIFY)
            host_.TimelineChanged();
        break;
    }
    case IDM_PASTE: {
        strGridBlock pasted;
        if (TimelinePaste(p, area, at.col, at.row, &pasted)) {
            Sync(Marker());
            const strGridRect rect = RectOf(area, pasted);
            Select(&rect);
        }
        host_.TimelineChanged();
        break;
    }
    case TL_FRAME_COMP: host_.TimelineOpenDialog(WK_FRAME_COMP, block); break;
    case TL_AT_ONCE: host_.TimelineOpenDialog(WK_AT_ONCE, block); break;
    case TL_PLAY_RANGE: {
        const int selArea = SelectionArea();
        const strGridRect& s = Selection();
        const bool on = (selArea == TA_FRAMES || selArea == TA_CELLS) && s.c1 - s.c0 > 1;
        if (on)
            SetPlayRange(true, s.c0, s.c1);
        else
            SetPlayRange(false, playFirst_, playLast_);
        host_.TimelinePlayRange(on, playFirst_, playLast_);
        break;
    }
    case TL_DRAG_RANGE: {
        const strGridRect& s = Selection();
        const bool single = SelectionArea() == TA_CELLS && s.c0 == s.c1 && s.r0 == s.r1;
        SetDragRange(HasSelection() && !single ? &s : nullptr);
        break;
    }
    default: return false;
    }
    return true;
}

bool cTimeline::HandlesKeyCommand(int command) const
{
    switch (command) {
    case IDM_CUT:
    case IDM_COPY:
    case IDM_PASTE:
    case IDM_DELETE:
    case IDM_SELECT_ALL:
    case IDM_INSERT_FRAME:
    case IDM_INTERPOLATE_SELECTED:
    case IDM_CELL_DIALOG: break;
    default: return false;
    }
    const int area = SelectionArea();
    const strGridPos at = areaOfPos(Focus()) == area ? Focus() : strGridPos{Selection().c0, Selection().r0};
    return IsEnabled(command, area, at);
}

bool cTimeline::RunKeyCommand(int command)
{
    if (!HandlesKeyCommand(command))
        return false;
    const int area = SelectionArea();
    const strGridPos at = areaOfPos(Focus()) == area ? Focus() : strGridPos{Selection().c0, Selection().r0};
    return Run(command, area, at);
}

void cTimeline::SetPlayRange(bool on, int first, int last)
{
    playOn_ = on;
    playFirst_ = first;
    playLast_ = last;
}

bool cTimeline::DragBlock(strGridBlock& out) const
{
    if (!HasDragRange())
        return false;
    const strGridRect& r = DragRange();
    out = {std::max(r.c0, 0), std::max(r.r0, 0), r.c1, r.r1};
    return true;
}

bool cTimeline::HasCell(int col, int row) const { return project_ && project_->GetCell(col, row); }

std::string cTimeline::RowLabel(int row) const
{
    char text[32];
    if (project_ && project_->GetValue(AI_FIX_PICTURE_PER_CELL))
        std::snprintf(text, sizeof text, "%d [%d]", row, project_->GetFixPicture(row));
    else
        std::snprintf(text, sizeof text, "%d", row);
    return text;
}

std::string cTimeline::ColumnLabel(int col) const { return HasColumnLabel(col) ? std::to_string(col) : std::string(); }

std::string cTimeline::CornerText() const
{
    const strFrame* frame = project_ ? project_->GetFrame(Marker()) : nullptr;
    char text[32];
    std::snprintf(text, sizeof text, "% 3d,% 3d", Marker(), frame ? int(frame->interval) : 0);
    return text;
}

void cTimeline::OnFocusPastEnd(bool column)
{
    if (!column || !project_ || !host_.TimelineOptions().addFrameAtEnd)
        return;
    host_.TimelineStopPlayback();
    const int last = Columns() - 1;
    const int f = NextFrame(*project_, last, true, host_.TimelineStatus(), host_.TimelineMessages());
    Sync(Marker());
    host_.TimelineChanged();
    if (f > last)
        MoveFocus({f, Focus().row}, CurrentModifiers());
}

void cTimeline::OnFocusChanged()
{
    const int col = Focus().col;
    if (col < 0)
        return;
    SetMarker(col);
    host_.TimelineFrameChosen(col);
}

void cTimeline::OnSelectionChanged()
{
    std::vector<uint8_t>* canvas = host_.TimelineCanvasSelection();
    if (!canvas || !project_ || !HasSelection())
        return;
    // Only a selection that covers cells of the current frame speaks for the canvas.
    const strGridBlock b = SelectionBlock();
    const int f = Marker();
    if (Selection().r1 < 0 || f < b.f0 || f > b.f1)
        return;
    const bool keep = (CurrentModifiers() & KM_CTRL) != 0;
    bool changed = false;
    for (size_t k = 0; k < canvas->size(); ++k) {
        const int cellNo = int(k);
        const bool inside = cellNo >= b.k0 && cellNo <= b.k1 && project_->GetCell(f, cellNo);
        const uint8_t old = (*canvas)[k];
        const uint8_t bits = inside ? uint8_t(old | kCellSelected) : keep ? old : uint8_t(old & ~kCellSelected);
        changed |= bits != old;
        (*canvas)[k] = bits;
    }
    // The canvas focus follows: the clicked cell when it is selected, else the
    // top-most selected cell.
    const int row = Focus().row;
    int focus = -1;
    if (Focus().col == f && row >= 0 && size_t(row) < canvas->size() && ((*canvas)[size_t(row)] & kCellSelected))
        focus = row;
    for (size_t k = canvas->size(); focus < 0 && k-- > 0;)
        if ((*canvas)[k] & kCellSelected)
            focus = int(k);
    host_.TimelineCanvasFocus(focus);
    if (changed)
        host_.TimelineCanvasSelectionChanged();
}

void cTimeline::OnDoubleClick(const strGridHit& hit) { Run(IDM_CELL_DIALOG, hit.area, hit.pos); }
