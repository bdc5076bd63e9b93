#include "view/Keyframe.h"

#include <algorithm>

namespace {

int areaOf(strGridPos p)
{
    if (p.row < 0)
        return p.col < 0 ? 0 : TA_FRAMES;
    return p.col < 0 ? TA_ROWS : TA_CELLS;
}

// Pixel offset v into cells of size step, clamped to 0..count-1.
int indexAt(int v, int step, int count) { return v < 0 ? 0 : std::min(v / step, count - 1); }

} // namespace

void cKeyframe::Reset(int columns, int rows)
{
    columns_ = std::max(columns, 0);
    rows_ = std::max(rows, 0);
    scrollX_ = scrollY_ = 0;
    focus_ = anchor_ = {-1, -1};
    hasSelection_ = hasDragRange_ = hasClip_ = false;
    dragFlags_ = 0;
    marker_ = 0;
}

void cKeyframe::SetGridSize(int columns, int rows)
{
    columns_ = std::max(columns, 0);
    rows_ = std::max(rows, 0);
    if (focus_.col >= columns_ || focus_.row >= rows_)
        focus_ = ClampPos(focus_);
    Limit(selection_);
    hasSelection_ = hasSelection_ && selection_.c0 <= selection_.c1 && selection_.r0 <= selection_.r1;
    Limit(dragRange_);
    hasDragRange_ = hasDragRange_ && dragRange_.c0 <= dragRange_.c1 && dragRange_.r0 <= dragRange_.r1;
    Limit(clip_);
    hasClip_ = hasClip_ && clip_.c0 <= clip_.c1 && clip_.r0 <= clip_.r1;
    SetScroll(scrollX_, scrollY_);
}

void cKeyframe::Limit(strGridRect& r) const
{
    // Header selections span the whole other axis, whatever its new length.
    r.c1 = r.c0 < 0 ? columns_ - 1 : std::min(r.c1, columns_ - 1);
    r.r1 = r.r0 < 0 ? rows_ - 1 : std::min(r.r1, rows_ - 1);
}

strGridPos cKeyframe::ClampPos(strGridPos p) const
{
    if (columns_ == 0 || rows_ == 0)
        return {-1, -1};
    p.col = std::min(p.col, columns_ - 1);
    p.row = std::min(p.row, rows_ - 1);
    return p;
}

void cKeyframe::SetViewSize(int width, int height)
{
    viewWidth_ = std::max(width, 0);
    viewHeight_ = std::max(height, 0);
    SetScroll(scrollX_, scrollY_);
}

int cKeyframe::ColumnX(int col) const { return col < 0 ? 0 : col * kColumnWidth + headerWidth_ - scrollX_; }

int cKeyframe::RowY(int row) const { return row < 0 ? 0 : row * kRowHeight + kHeaderHeight - scrollY_; }

int cKeyframe::MaxScrollX() const { return std::max(0, columns_ * kColumnWidth - (viewWidth_ - headerWidth_)); }

int cKeyframe::MaxScrollY() const { return std::max(0, rows_ * kRowHeight - (viewHeight_ - kHeaderHeight)); }

void cKeyframe::SetScroll(int x, int y)
{
    scrollX_ = std::clamp(x, 0, MaxScrollX());
    scrollY_ = std::clamp(y, 0, MaxScrollY());
}

void cKeyframe::EnsureVisible(strGridPos pos)
{
    int x = scrollX_, y = scrollY_;
    if (pos.col >= 0) {
        const int left = pos.col * kColumnWidth, width = viewWidth_ - headerWidth_;
        if (left < x)
            x = left;
        else if (left + kColumnWidth > x + width)
            x = left + kColumnWidth - width;
    }
    if (pos.row >= 0) {
        const int top = pos.row * kRowHeight, height = viewHeight_ - kHeaderHeight;
        if (top < y)
            y = top;
        else if (top + kRowHeight > y + height)
            y = top + kRowHeight - height;
    }
    SetScroll(x, y);
}

void cKeyframe::VisibleColumns(int& first, int& last) const
{
    first = scrollX_ / kColumnWidth;
    const int width = viewWidth_ - headerWidth_;
    last = width <= 0 ? first - 1 : std::min((scrollX_ + width - 1) / kColumnWidth, columns_ - 1);
}

void cKeyframe::VisibleRows(int& first, int& last) const
{
    first = scrollY_ / kRowHeight;
    const int height = viewHeight_ - kHeaderHeight;
    last = height <= 0 ? first - 1 : std::min((scrollY_ + height - 1) / kRowHeight, rows_ - 1);
}

strGridHit cKeyframe::HitTest(int x, int y) const
{
    strGridHit hit;
    if (x < 0 || y < 0 || x >= viewWidth_ || y >= viewHeight_)
        return hit;
    const int col = x < headerWidth_ ? -1 : (x - headerWidth_ + scrollX_) / kColumnWidth;
    const int row = y < kHeaderHeight ? -1 : (y - kHeaderHeight + scrollY_) / kRowHeight;
    if (col >= columns_ || row >= rows_)
        return hit;
    hit.pos = {col, row};
    hit.area = areaOf(hit.pos);
    return hit;
}

int cKeyframe::SelectionArea() const { return hasSelection_ ? areaOf({selection_.c0, selection_.r0}) : 0; }

strGridBlock cKeyframe::SelectionBlock() const
{
    return {std::max(selection_.c0, 0), std::max(selection_.r0, 0), selection_.c1, selection_.r1};
}

void cKeyframe::SetDragRange(const strGridRect* rect)
{
    hasDragRange_ = rect != nullptr;
    if (rect)
        dragRange_ = *rect;
}

void cKeyframe::SetClipRect(const strGridRect* rect)
{
    hasClip_ = rect != nullptr;
    if (rect)
        clip_ = *rect;
}

void cKeyframe::Select(const strGridRect* rect)
{
    hasSelection_ = rect != nullptr;
    if (rect) {
        selection_ = *rect;
        anchor_ = {rect->c0, rect->r0};
    }
    OnSelectionChanged();
}

void cKeyframe::SetFocus(strGridPos pos, bool notify)
{
    if (pos == focus_)
        return;
    focus_ = pos;
    if (notify)
        OnFocusChanged();
}

strGridRect cKeyframe::AreaRect(strGridPos p) const
{
    if (p.row < 0)
        return {p.col, -1, p.col, rows_ - 1};
    if (p.col < 0)
        return {-1, p.row, columns_ - 1, p.row};
    return {p.col, p.row, p.col, p.row};
}

strGridRect cKeyframe::Extended(strGridPos from, strGridPos to) const
{
    const int col = std::clamp(to.col, 0, std::max(columns_ - 1, 0));
    const int row = std::clamp(to.row, 0, std::max(rows_ - 1, 0));
    if (from.row < 0)
        return {std::min(from.col, col), -1, std::max(from.col, col), rows_ - 1};
    if (from.col < 0)
        return {-1, std::min(from.row, row), columns_ - 1, std::max(from.row, row)};
    return {std::min(from.col, col), std::min(from.row, row), std::max(from.col, col), std::max(from.row, row)};
}

void cKeyframe::SelectAt(const strGridHit& hit, int modifiers)
{
    SetFocus(hit.pos);
    if ((modifiers & KM_SHIFT) && hasSelection_ && areaOf(anchor_) == hit.area) {
        selection_ = Extended(anchor_, hit.pos);
    } else {
        selection_ = AreaRect(hit.pos);
        anchor_ = hit.pos;
    }
    hasSelection_ = true;
    OnSelectionChanged();
}

int cKeyframe::MouseDown(int x, int y, bool left, int modifiers)
{
    modifiers_ = modifiers;
    dragFlags_ = 0;
    const strGridHit hit = HitTest(x, y);
    if (hit.area == 0) {
        Select(nullptr);
        return 0;
    }
    // The context menu of a click inside the selection acts on the whole selection.
    if (left || !hasSelection_ || !selection_.Contains(hit.pos))
        SelectAt(hit, modifiers);
    if (left)
        dragFlags_ = KD_LEFT | (hit.area == TA_ROWS ? KD_ROWS : hit.area == TA_FRAMES ? KD_COLUMNS : KD_CELLS);
    return hit.area;
}

bool cKeyframe::MouseMove(int x, int y)
{
    if (!(dragFlags_ & KD_LEFT) || columns_ == 0 || rows_ == 0)
        return false;
    const strGridPos to{indexAt(x - headerWidth_ + scrollX_, kColumnWidth, columns_),
                        indexAt(y - kHeaderHeight + scrollY_, kRowHeight, rows_)};
    EnsureVisible({(dragFlags_ & KD_ROWS) ? -1 : to.col, (dragFlags_ & KD_COLUMNS) ? -1 : to.row});
    const strGridRect next = Extended(anchor_, to);
    if (next != selection_) {
        selection_ = next;
        OnSelectionChanged();
    }
    return true;
}

void cKeyframe::MouseUp() { dragFlags_ = 0; }

int cKeyframe::DoubleClick(int x, int y, int modifiers)
{
    modifiers_ = modifiers;
    dragFlags_ = 0;
    const strGridHit hit = HitTest(x, y);
    if (hit.area == 0) {
        Select(nullptr);
        return 0;
    }
    SelectAt(hit, modifiers);
    OnDoubleClick(hit);
    return hit.area;
}

bool cKeyframe::Key(eKeyframeKey key, int modifiers)
{
    modifiers_ = modifiers;
    if (columns_ == 0 || rows_ == 0)
        return false;
    if (focus_.col < 0 && focus_.row < 0) {
        MoveFocus({std::clamp(marker_, 0, columns_ - 1), 0}, modifiers);
        return true;
    }
    strGridPos p = focus_;
    switch (key) {
    case KK_LEFT: p.col = std::max(p.col - 1, p.row < 0 ? 0 : -1); break;
    case KK_UP: p.row = std::max(p.row - 1, p.col < 0 ? 0 : -1); break;
    case KK_RIGHT:
        if (p.col >= columns_ - 1) {
            OnFocusPastEnd(true);
            return true;
        }
        ++p.col;
        break;
    case KK_DOWN:
        if (p.row >= rows_ - 1) {
            OnFocusPastEnd(false);
            return true;
        }
        ++p.row;
        break;
    }
    if (p != focus_)
        MoveFocus(p, modifiers);
    return true;
}

void cKeyframe::MoveFocus(strGridPos p, int modifiers)
{
    modifiers_ = modifiers;
    p = ClampPos(p);
    if (p.col < 0 && p.row < 0)
        return;
    SetFocus(p);
    EnsureVisible(p);
    if ((modifiers & KM_SHIFT) && hasSelection_) {
        selection_ = Extended(anchor_, p);
    } else {
        selection_ = AreaRect(p);
        anchor_ = p;
    }
    hasSelection_ = true;
    OnSelectionChanged();
}
