#include "view/CanvasEdit.h"

#include "edit/EditStrings.h"
#include "edit/FrameOps.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr float kPi = 3.1415927f;

bool isCellDrag(int mode) { return mode == CM_MOVE || mode == CM_ROTATE || mode == CM_SCALE || mode == CM_SWING; }

} // namespace

void cCanvasEdit::SetProject(cAnimeData* project)
{
    project_ = project;
    mode_ = CM_IDLE;
    current_ = 0;
    ResetSelection();
}

void cCanvasEdit::ResetSelection()
{
    selection_.assign(project_ ? size_t(project_->CellCount()) : 0, 0);
    focus_ = -1;
    if (isCellDrag(mode_))
        mode_ = CM_IDLE;
}

bool cCanvasEdit::IsSelected(int cellNo) const
{
    return cellNo >= 0 && size_t(cellNo) < selection_.size() && (selection_[size_t(cellNo)] & kCellSelected);
}

bool cCanvasEdit::AnySelected() const { return SelectedCount() > 0; }

int cCanvasEdit::SelectedCount() const
{
    return int(std::count_if(selection_.begin(), selection_.end(), [](uint8_t b) { return b & kCellSelected; }));
}

void cCanvasEdit::SetTool(int tool)
{
    Cancel();
    tool_ = std::clamp(tool, int(TOOL_MOVE), int(TOOL_SPLINE));
}

void cCanvasEdit::Cancel()
{
    for (uint8_t& b : selection_)
        b &= uint8_t(~(kCellMoving | kCellHover));
    mode_ = CM_IDLE;
}

bool cCanvasEdit::CancelDrag()
{
    if (mode_ == CM_IDLE)
        return false;
    Cancel();
    return true;
}

bool cCanvasEdit::MovedBeyondEdge(strCanvasPoint a, strCanvasPoint b) const
{
    return std::fabs(a.x - b.x) > kEdgeSize || std::fabs(a.y - b.y) > kEdgeSize;
}

bool cCanvasEdit::QuadOf(const strCell& cell, strQuad& out) const
{
    int w = 0, h = 0;
    if (!patternSize_ || !patternSize_(cell.picture, w, h))
        return false;
    out = CellQuad(cell, w, h);
    return true;
}

int cCanvasEdit::HitTest(strCanvasPoint window)
{
    const strCanvasPoint a = view_.ToAnimation(window.x, window.y);
    // Bit 0: the quad contains the point; bit 1: a visible pixel lies under it.
    std::vector<uint8_t> hits(selection_.size(), 0);
    bool anyOpaque = false;
    for (size_t k = 0; k < selection_.size(); ++k) {
        selection_[k] &= uint8_t(~kCellHover);
        const strCell* cell = project_ ? project_->GetCell(current_, int(k)) : nullptr;
        strQuad quad;
        if (!cell || !QuadOf(*cell, quad) || !QuadContains(quad, a))
            continue;
        hits[k] = 1;
        int w = 0, h = 0, px = 0, py = 0;
        if (transparent_ && patternSize_(cell->picture, w, h) && PatternPixelAt(*cell, w, h, a, px, py) &&
            !transparent_(cell->picture, cell->pattern, px, py)) {
            hits[k] |= 2;
            anyOpaque = true;
        }
    }
    // A small cell on top of a large, mostly clear one must stay pickable: when some
    // cell shows a pixel here, only such cells count; otherwise the whole quads do.
    const uint8_t wanted = anyOpaque ? 2 : 1;
    int top = -1;
    for (size_t k = 0; k < hits.size(); ++k)
        if (hits[k] & wanted) {
            selection_[k] |= kCellHover;
            top = int(k);
        }
    return top;
}

void cCanvasEdit::SelectAt(strCanvasPoint window, bool multi)
{
    const int top = HitTest(window);
    focus_ = -1;
    int topSelected = -1, topUnselected = -1;
    for (size_t k = 0; k < selection_.size(); ++k) {
        if (!(selection_[k] & kCellHover))
            continue;
        if (selection_[k] & kCellSelected)
            topSelected = int(k);
        else
            topUnselected = int(k);
    }
    if (multi) {
        if (topUnselected >= 0) {
            selection_[size_t(topUnselected)] |= kCellSelected;
            focus_ = topUnselected;
        }
        return;
    }
    // A press on a selected cell keeps that one; otherwise the top-most cell under the
    // point becomes the selection (none on empty space).
    focus_ = topSelected >= 0 ? topSelected : top;
    for (size_t k = 0; k < selection_.size(); ++k) {
        if (int(k) == focus_)
            selection_[k] |= kCellSelected;
        else
            selection_[k] &= uint8_t(~kCellSelected);
    }
}

unsigned cCanvasEdit::StartDrag(int mode, strCanvasPoint p)
{
    press_ = cur_ = p;
    rotation_ = 0;
    scaleFactor_ = 1;
    snap_ = false;
    moved_ = false;
    for (size_t k = 0; k < selection_.size(); ++k)
        if ((selection_[k] & kCellSelected) && project_->GetCell(current_, int(k)))
            selection_[k] |= kCellMoving;
    mode_ = mode;
    return CR_REDRAW | (mode == CM_SWING ? unsigned(CR_STATUS) : 0u);
}

unsigned cCanvasEdit::LeftDown(strCanvasPoint p, const strCanvasKeys& keys)
{
    if (!project_)
        return CR_NONE;
    if (mode_ == CM_SWING) {
        moved_ = moved_ || MovedBeyondEdge(press_, p);
        Measure(p);
        return Release();
    }
    if (mode_ == CM_BEND) {
        spline_[0] = view_.ToAnimation(anchorA_.x, anchorA_.y);
        spline_[1] = view_.ToAnimation(p.x, p.y);
        spline_[2] = view_.ToAnimation(anchorB_.x, anchorB_.y);
        mode_ = CM_IDLE;
        return CR_REDRAW | CR_SPLINE_DIALOG;
    }
    if (mode_ != CM_IDLE)
        return CR_NONE;

    if (keys.gif && draftShown_) {
        gifOp_ = keys.rotate ? CM_ROTATE : keys.scale ? CM_SCALE : CM_MOVE;
        anchorA_ = view_.ToWindow(draft_.x, draft_.y);
        anchorB_ = p;
        if (gifOp_ != CM_MOVE && !MovedBeyondEdge(anchorA_, p))
            return CR_NONE;
        press_ = cur_ = p;
        rotation_ = 0;
        scaleFactor_ = 1;
        moved_ = false;
        mode_ = CM_GIF;
        return CR_REDRAW;
    }

    SelectAt(p, keys.multiSelect);
    if (tool_ == TOOL_SWING) {
        anchorA_ = anchorB_ = press_ = cur_ = p;
        mode_ = CM_GUIDE;
        return CR_REDRAW;
    }
    const strCell* focused = focus_ >= 0 ? project_->GetCell(current_, focus_) : nullptr;
    if (tool_ == TOOL_SPLINE) {
        if (!focused)
            return CR_REDRAW;
        anchorA_ = anchorB_ = view_.ToWindow(focused->x, focused->y);
        press_ = cur_ = p;
        mode_ = CM_GUIDE;
        return CR_REDRAW;
    }

    if (!AnySelected())
        return CR_REDRAW;
    const int mode = keys.rotate ? CM_ROTATE : keys.scale ? CM_SCALE : CM_MOVE;
    if (mode != CM_MOVE) {
        // Rotate and scale turn about the focused cell alone.
        if (!focused)
            return CR_REDRAW;
        for (size_t k = 0; k < selection_.size(); ++k)
            if (int(k) != focus_)
                selection_[k] &= uint8_t(~kCellSelected);
    }
    if (focused) {
        anchorA_ = view_.ToWindow(focused->x, focused->y);
        anchorB_ = p;
        // Angles and lengths measured from the cell's centre need some distance to it.
        if (mode != CM_MOVE && !MovedBeyondEdge(anchorA_, p))
            return CR_REDRAW;
    } else {
        anchorA_ = anchorB_ = p;
    }
    return StartDrag(mode, p);
}

void cCanvasEdit::Measure(strCanvasPoint p)
{
    cur_ = p;
    const bool turning =
        mode_ == CM_ROTATE || mode_ == CM_SCALE || mode_ == CM_SWING || (mode_ == CM_GIF && gifOp_ != CM_MOVE);
    if (!turning)
        return;
    const float ax = anchorA_.x - cur_.x, ay = anchorA_.y - cur_.y;
    const float bx = anchorA_.x - anchorB_.x, by = anchorA_.y - anchorB_.y;
    rotation_ = WrapAngle(DragAngle(ax, ay) - DragAngle(bx, by));
    scaleFactor_ = DragLength(ax, ay) / std::max(DragLength(bx, by), 1.0f);
}

unsigned cCanvasEdit::MouseMove(strCanvasPoint p, const strCanvasKeys& keys)
{
    switch (mode_) {
    case CM_MOVE:
    case CM_ROTATE:
    case CM_SCALE:
    case CM_SWING:
    case CM_GIF:
        moved_ = moved_ || MovedBeyondEdge(press_, p);
        snap_ = moved_ && !keys.snapSuppress;
        Measure(p);
        return CR_REDRAW | (mode_ == CM_SWING ? unsigned(CR_STATUS) : 0u);
    case CM_GUIDE:
    case CM_BEND: cur_ = p; return CR_REDRAW;
    default: return CR_NONE;
    }
}

unsigned cCanvasEdit::LeftUp(strCanvasPoint p, const strCanvasKeys& keys)
{
    switch (mode_) {
    case CM_MOVE:
    case CM_ROTATE:
    case CM_SCALE:
        moved_ = moved_ || MovedBeyondEdge(press_, p);
        snap_ = moved_ && !keys.snapSuppress;
        Measure(p);
        return Release();
    case CM_GIF:
        Measure(p);
        if (MovedBeyondEdge(press_, p))
            draft_ = DisplayedDraft();
        mode_ = CM_IDLE;
        return CR_REDRAW;
    case CM_GUIDE:
        if (!MovedBeyondEdge(press_, p)) {
            mode_ = CM_IDLE;
            return CR_REDRAW;
        }
        anchorB_ = p;
        if (tool_ == TOOL_SPLINE) {
            cur_ = p;
            mode_ = CM_BEND;
            return CR_REDRAW;
        }
        if (!AnySelected()) {
            mode_ = CM_IDLE;
            return CR_REDRAW;
        }
        return StartDrag(CM_SWING, p);
    default: return CR_NONE;
    }
}

unsigned cCanvasEdit::DoubleClick(strCanvasPoint p, const strCanvasKeys& keys)
{
    if (!project_ || mode_ != CM_IDLE)
        return CR_NONE;
    SelectAt(p, keys.multiSelect);
    return CR_REDRAW | (focus_ >= 0 ? unsigned(CR_CELL_DIALOG) : 0u);
}

unsigned cCanvasEdit::RightDown(strCanvasPoint p, const strCanvasKeys& keys)
{
    if (!project_)
        return CR_NONE;
    if (mode_ != CM_IDLE) {
        Cancel();
        return CR_REDRAW;
    }
    SelectAt(p, keys.multiSelect);
    return CR_REDRAW;
}

unsigned cCanvasEdit::Release()
{
    unsigned result = CR_REDRAW;
    // A click, or a drag that comes back to where it started, changes nothing: the
    // snap and the edit format must not touch cells the user did not move.
    if (!moved_ || !MovedBeyondEdge(press_, cur_)) {
        Cancel();
        return result;
    }
    const int cells = int(selection_.size());
    bool inRange = false;
    const bool rangeUsable = range_.active && current_ >= range_.f0 && current_ <= range_.f1;
    for (int k = 0; k < cells && rangeUsable; ++k)
        if ((selection_[size_t(k)] & kCellMoving) && k >= range_.k0 && k <= range_.k1)
            inRange = true;

    cTransaction transaction(*project_);
    int stored = 0;
    auto process = [&](int f, int k) {
        const strCell* cell = project_->GetCell(f, k);
        if (!cell)
            return;
        const strCell w = ApplyDrag(*cell, k);
        if (!(w == *cell) && project_->SetCell(f, k, &w))
            ++stored;
    };
    for (int k = 0; k < cells; ++k) {
        if (inRange && k >= range_.k0 && k <= range_.k1) {
            for (int f = std::max(range_.f0, 0); f <= range_.f1; ++f)
                process(f, k);
        } else if (selection_[size_t(k)] & kCellMoving) {
            process(current_, k);
        }
    }
    transaction.Commit();
    if (stored > 0)
        result |= CR_STORED;
    Cancel();
    return result;
}

strCell cCanvasEdit::ApplyDrag(const strCell& cell, int cellNo) const
{
    if (!isCellDrag(mode_))
        return cell;
    const strEditOptions s = options_ ? options_() : strEditOptions();
    const bool snapPos = snap_ && (s.gridBits & GRID_POSITION);
    const bool snapScale = snap_ && (s.gridBits & GRID_SCALE);
    const bool snapAngle = snap_ && (s.gridBits & GRID_ANGLE);
    auto turned = [&](int angle) {
        int16_t a = TruncToInt16(float(angle) + rotation_ * 180.0f / kPi * 10.0f);
        a = int16_t(a % 3600);
        if (a >= 1800)
            a = int16_t(a - 3600);
        else if (a < -1800)
            a = int16_t(a + 3600);
        return Snap(a, s.angleGrid, snapAngle);
    };
    auto scaled = [&](int v) { return Snap(TruncToInt16(float(v) * scaleFactor_), s.scaleGrid, snapScale); };

    strCell w = cell;
    switch (mode_) {
    case CM_MOVE: {
        const float dx = cur_.x - press_.x, dy = cur_.y - press_.y;
        w.x = Snap(TruncToInt16(dx / view_.zoom + float(cell.x)), s.positionGrid, snapPos);
        w.y = Snap(TruncToInt16(dy / view_.zoom + float(cell.y)), s.positionGrid, snapPos);
        break;
    }
    case CM_ROTATE: w.angle = turned(cell.angle); break;
    case CM_SCALE:
        w.scaleX = scaled(cell.scaleX);
        w.scaleY = scaled(cell.scaleY);
        break;
    case CM_SWING: {
        const strCanvasPoint pivot = view_.ToAnimation(anchorA_.x, anchorA_.y);
        const float dx = (float(cell.x) - pivot.x) * scaleFactor_, dy = (float(cell.y) - pivot.y) * scaleFactor_;
        const float c = std::cos(rotation_), sn = std::sin(rotation_);
        w.x = Snap(TruncToInt16(pivot.x + c * dx - sn * dy), s.positionGrid, snapPos);
        w.y = Snap(TruncToInt16(pivot.y + sn * dx + c * dy), s.positionGrid, snapPos);
        w.angle = turned(cell.angle);
        w.scaleX = scaled(cell.scaleX);
        w.scaleY = scaled(cell.scaleY);
        break;
    }
    default: break;
    }
    if (project_)
        project_->ValidateCell(w, cellNo);
    return w;
}

bool cCanvasEdit::DisplayedCell(int cellNo, strCell& out) const
{
    const strCell* cell = project_ ? project_->GetCell(current_, cellNo) : nullptr;
    if (!cell)
        return false;
    const bool moving = cellNo >= 0 && size_t(cellNo) < selection_.size() && (selection_[size_t(cellNo)] & kCellMoving);
    if (moving)
        out = ApplyDrag(*cell, cellNo);
    else if (!preview_ || !preview_(current_, cellNo, out))
        out = *cell;
    return true;
}

strDraftPlacement cCanvasEdit::DisplayedDraft() const
{
    strDraftPlacement d = draft_;
    if (mode_ != CM_GIF)
        return d;
    if (gifOp_ == CM_MOVE) {
        d.x += (cur_.x - press_.x) / view_.zoom;
        d.y += (cur_.y - press_.y) / view_.zoom;
    } else if (gifOp_ == CM_ROTATE) {
        d.angle += rotation_ * 180.0f / kPi;
    } else {
        const bool unset = d.scaleX == 0 && d.scaleY == 0;
        d.scaleX = (unset ? 1.0f : d.scaleX) * scaleFactor_;
        d.scaleY = (unset ? 1.0f : d.scaleY) * scaleFactor_;
    }
    return d;
}

std::string cCanvasEdit::SwingText() const
{
    const strEditOptions s = options_ ? options_() : strEditOptions();
    const int angle =
        Snap(TruncToInt16(rotation_ * 180.0f / kPi * 10.0f), s.angleGrid, snap_ && (s.gridBits & GRID_ANGLE));
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d,%d", angle, int(TruncToInt16(scaleFactor_ * 100.0f)));
    return buffer;
}

std::vector<strCanvasPoint> cCanvasEdit::BendCurve() const
{
    std::vector<strCanvasPoint> points;
    for (int i = 0; i <= 20; ++i) {
        const float t = float(i) * 0.05f, u = 1 - t;
        points.push_back({u * u * anchorA_.x + 2 * t * u * cur_.x + t * t * anchorB_.x,
                          u * u * anchorA_.y + 2 * t * u * cur_.y + t * t * anchorB_.y});
    }
    return points;
}

std::string cCanvasEdit::InfoText() const
{
    strCell c;
    if (focus_ < 0 || !DisplayedCell(focus_, c))
        return std::string();
    const unsigned colour = unsigned(c.saturation) << 24 | unsigned(c.red) << 16 | unsigned(c.green) << 8 | c.blue;
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "c:%d  pi:%d  pa:%d \n[%d , %d]\n[%d , %d] \na:%d  o:%d \n[0x%08x]", focus_,
                  c.picture, c.pattern, c.x, c.y, c.scaleX, c.scaleY, c.angle, c.opacity, colour);
    return buffer;
}

int cCanvasEdit::Swap(int step, iStatusSink& status)
{
    if (!project_)
        return 0;
    const int n = int(selection_.size());
    int count = 0;
    cTransaction transaction(*project_);
    for (int i = 0; i < n; ++i) {
        // Forward walks from the highest cell number down, backward from the lowest up,
        // so a block of selected cells moves together.
        const int s = step > 0 ? n - 1 - i : i;
        if (!(selection_[size_t(s)] & kCellSelected) || !project_->GetCell(current_, s))
            continue;
        const int t = s + step;
        if (t < 0 || t >= n || !project_->SwapCells(current_, s, current_, t))
            continue;
        std::swap(selection_[size_t(s)], selection_[size_t(t)]);
        if (focus_ == s)
            focus_ = t;
        else if (focus_ == t)
            focus_ = s;
        ++count;
    }
    transaction.Commit();
    if (count > 0)
        status.ShowStatus(platform::FormatText(step > 0 ? QT_TRANSLATE_NOOP("Strings", "[%d] : 手前へ")
                                                        : QT_TRANSLATE_NOOP("Strings", "[%d] : 背面へ"),
                                               count));
    return count;
}

int cCanvasEdit::BringForward(iStatusSink& status) { return Swap(+1, status); }
int cCanvasEdit::SendBackward(iStatusSink& status) { return Swap(-1, status); }

int cCanvasEdit::DeleteSelected(iStatusSink& status)
{
    if (!project_)
        return 0;
    int count = 0;
    cTransaction transaction(*project_);
    for (size_t k = 0; k < selection_.size(); ++k)
        if ((selection_[k] & kCellSelected) && project_->GetCell(current_, int(k)) &&
            project_->SetCell(current_, int(k), nullptr))
            ++count;
    transaction.Commit();
    if (count > 0)
        ReportResult(status, ST_DELETE, kNoMessage, true, count);
    return count;
}

void cCanvasEdit::SelectAll()
{
    if (!project_)
        return;
    bool all = true;
    for (size_t k = 0; k < selection_.size(); ++k)
        if (project_->GetCell(current_, int(k)) && !(selection_[k] & kCellSelected))
            all = false;
    for (size_t k = 0; k < selection_.size(); ++k) {
        if (!all && project_->GetCell(current_, int(k)))
            selection_[k] |= kCellSelected;
        else
            selection_[k] &= uint8_t(~kCellSelected);
    }
}

bool cCanvasEdit::NewCell(int cellNo, int x, int y)
{
    if (!project_ || cellNo < 0 || size_t(cellNo) >= selection_.size() || !project_->GetFrame(current_))
        return false;
    strCell cell = strCell::New();
    cell.x = int16_t(std::clamp(x, -32768, 32767));
    cell.y = int16_t(std::clamp(y, -32768, 32767));
    cTransaction transaction(*project_);
    const bool stored = project_->SetCell(current_, cellNo, &cell);
    transaction.Finish(stored);
    if (!stored)
        return false;
    for (size_t k = 0; k < selection_.size(); ++k)
        selection_[k] = int(k) == cellNo ? kCellSelected : uint8_t(selection_[k] & ~kCellSelected);
    focus_ = cellNo;
    return true;
}

int FirstFreeSlot(const cAnimeData& project, int picture, int frame)
{
    if (!project.GetFrame(frame))
        return -1;
    const bool fixed = project.GetValue(AI_FIX_PICTURE_PER_CELL) != 0;
    for (int k = 0; k < project.CellCount(); ++k)
        if (!project.GetCell(frame, k) && (!fixed || project.GetFixPicture(k) == picture))
            return k;
    return -1;
}

std::vector<strCanvasPoint> LocusPath(const cAnimeData& project, int k, int current, int reach,
                                      const strCanvasRange& selection)
{
    std::vector<strCanvasPoint> points;
    if (!selection.active || current < selection.f0 || current > selection.f1 || k < selection.k0 || k > selection.k1 ||
        reach < 0)
        return points;
    const int from = std::max({current - reach, selection.f0, 0});
    const int to = std::min(current + reach, selection.f1);
    for (int f = from; f <= to; ++f)
        if (const strCell* cell = project.GetCell(f, k))
            points.push_back({float(cell->x), float(cell->y)});
    return points;
}
