#include "ui/KeyframeWnd.h"

#include "project/Settings.h"
#include "ui/Language.h"
#include "ui/QtFeedback.h"
#include "view/CommandTable.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

// A COLORREF (0x00BBGGRR) as a colour.
QColor colorRef(unsigned c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

const QColor kHeaderFace(236, 236, 236);
const QColor kCellSelection(204, 224, 255);
const QColor kHeaderSelection(160, 192, 240);
const QColor kCellMark(64, 64, 64);
const QColor kCellMarkSelected(24, 48, 140);
const QColor kPlayRange(56, 168, 72);
const QColor kClipRect(0, 128, 0);

int modifiersOf(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? KM_SHIFT : 0) | (m & Qt::ControlModifier ? KM_CTRL : 0);
}

const char* menuName(int area)
{
    switch (area) {
    case TA_FRAMES: return "MENU_FRAME";
    case TA_CELLS: return "MENU_CELL";
    case TA_ROWS: return "MENU_LINE";
    default: return "";
    }
}

} // namespace

cKeyframeWnd::cKeyframeWnd(QWidget* parent)
    : cBaseWnd(parent), timeline_(*this), hBar_(new QScrollBar(Qt::Horizontal, this)),
      vBar_(new QScrollBar(Qt::Vertical, this)), ownMessages_(std::make_unique<cQtMessageSink>(this))
{
    setObjectName("ctrl_keyframe");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hBar_->setSingleStep(cKeyframe::kColumnWidth);
    vBar_->setSingleStep(cKeyframe::kRowHeight);
    connect(hBar_, &QScrollBar::valueChanged, this, [this](int v) {
        if (syncing_)
            return;
        timeline_.SetScroll(v, timeline_.ScrollY());
        update();
    });
    connect(vBar_, &QScrollBar::valueChanged, this, [this](int v) {
        if (syncing_)
            return;
        timeline_.SetScroll(timeline_.ScrollX(), v);
        update();
    });
}

cKeyframeWnd::~cKeyframeWnd() = default;

void cKeyframeWnd::SetProject(cAnimeData* project)
{
    timeline_.SetProject(project);
    Changed();
}

void cKeyframeWnd::Sync(int currentFrame)
{
    timeline_.Sync(currentFrame);
    Changed();
}

void cKeyframeWnd::SetPlayRange(bool on, int first, int last)
{
    if (on == timeline_.PlayRangeOn() && first == timeline_.PlayFirst() && last == timeline_.PlayLast())
        return;
    timeline_.SetPlayRange(on, first, last);
    update();
}

bool cKeyframeWnd::DragRange(strGridBlock& out) const { return isVisible() && timeline_.DragBlock(out); }

bool cKeyframeWnd::WantsKeyCommand(int id) const { return hasFocus() && timeline_.HandlesKeyCommand(id); }

void cKeyframeWnd::OnCommand(int id, int, QObject*)
{
    if (timeline_.RunKeyCommand(id))
        InputDone();
}

QPoint cKeyframeWnd::PointOf(strGridPos pos) const
{
    const int x = pos.col < 0 ? timeline_.HeaderWidth() / 2 : timeline_.ColumnX(pos.col) + cKeyframe::kColumnWidth / 2;
    const int y = pos.row < 0 ? cKeyframe::kHeaderHeight / 2 : timeline_.RowY(pos.row) + cKeyframe::kRowHeight / 2;
    return {x, y};
}

void cKeyframeWnd::Changed()
{
    SyncBars();
    update();
}

void cKeyframeWnd::InputDone()
{
    Changed();
    if (onSelection)
        onSelection();
}

void cKeyframeWnd::SyncBars()
{
    syncing_ = true;
    hBar_->setRange(0, timeline_.MaxScrollX());
    hBar_->setPageStep(std::max(1, timeline_.ViewWidth() - timeline_.HeaderWidth()));
    hBar_->setValue(timeline_.ScrollX());
    vBar_->setRange(0, timeline_.MaxScrollY());
    vBar_->setPageStep(std::max(1, timeline_.ViewHeight() - cKeyframe::kHeaderHeight));
    vBar_->setValue(timeline_.ScrollY());
    syncing_ = false;
}

void cKeyframeWnd::OnSize()
{
    const int bw = vBar_->sizeHint().width(), bh = hBar_->sizeHint().height();
    hBar_->setGeometry(0, height() - bh, std::max(0, width() - bw), bh);
    vBar_->setGeometry(width() - bw, 0, bw, std::max(0, height() - bh));
    timeline_.SetViewSize(std::max(0, width() - bw), std::max(0, height() - bh));
    Changed();
}

void cKeyframeWnd::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const bool left = event->button() == Qt::LeftButton;
    if (!left && event->button() != Qt::RightButton)
        return;
    const QPoint p = event->position().toPoint();
    const int area = timeline_.MouseDown(p.x(), p.y(), left, modifiersOf(event->modifiers()));
    InputDone();
    if (!left && area != 0)
        ShowContextMenu(area, timeline_.HitTest(p.x(), p.y()).pos, event->globalPosition().toPoint());
}

void cKeyframeWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (timeline_.MouseMove(p.x(), p.y()))
        InputDone();
}

void cKeyframeWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    timeline_.MouseUp();
    update();
}

void cKeyframeWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    timeline_.DoubleClick(p.x(), p.y(), modifiersOf(event->modifiers()));
    InputDone();
}

void cKeyframeWnd::keyPressEvent(QKeyEvent* event)
{
    const int mods = modifiersOf(event->modifiers());
    switch (event->key()) {
    case Qt::Key_Left: timeline_.Key(KK_LEFT, mods); break;
    case Qt::Key_Right: timeline_.Key(KK_RIGHT, mods); break;
    case Qt::Key_Up: timeline_.Key(KK_UP, mods); break;
    case Qt::Key_Down: timeline_.Key(KK_DOWN, mods); break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: timeline_.RunKeyCommand(IDM_CELL_DIALOG); break;
    default: cBaseWnd::keyPressEvent(event); return;
    }
    InputDone();
}

void cKeyframeWnd::wheelEvent(QWheelEvent* event)
{
    // Three rows or columns a notch; SHIFT or a sideways wheel scrolls the frames.
    const QPoint delta = event->angleDelta();
    const bool sideways = delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier);
    const int notches = (delta.x() != 0 ? delta.x() : delta.y()) / 120;
    if (sideways)
        timeline_.SetScroll(timeline_.ScrollX() - notches * 3 * cKeyframe::kColumnWidth, timeline_.ScrollY());
    else
        timeline_.SetScroll(timeline_.ScrollX(), timeline_.ScrollY() - notches * 3 * cKeyframe::kRowHeight);
    Changed();
    event->accept();
}

void cKeyframeWnd::focusInEvent(QFocusEvent* event)
{
    cBaseWnd::focusInEvent(event);
    update();
}

void cKeyframeWnd::focusOutEvent(QFocusEvent* event)
{
    cBaseWnd::focusOutEvent(event);
    update();
}

void cKeyframeWnd::ShowContextMenu(int area, strGridPos clicked, const QPoint& globalPos)
{
    QMenu menu(this);
    for (const strMenuEntry& e : PopupMenu(menuName(area))) {
        if (e.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(MenuLabel(e.text));
        action->setData(e.id);
        action->setEnabled(timeline_.IsEnabled(e.id, area, clicked));
    }
    QAction* chosen = menu.exec(globalPos);
    if (chosen && timeline_.Run(chosen->data().toInt(), area, clicked))
        InputDone();
}

void cKeyframeWnd::TimelineFrameChosen(int frame)
{
    if (onFrameChosen)
        onFrameChosen(frame);
}

std::vector<uint8_t>* cKeyframeWnd::TimelineCanvasSelection() { return canvasSelection ? canvasSelection() : nullptr; }

void cKeyframeWnd::TimelineCanvasFocus(int cellNo)
{
    if (onCanvasFocus)
        onCanvasFocus(cellNo);
}

void cKeyframeWnd::TimelineCanvasSelectionChanged()
{
    if (onCanvasSelection)
        onCanvasSelection();
}

void cKeyframeWnd::TimelineStopPlayback()
{
    if (onStopPlayback)
        onStopPlayback();
}

void cKeyframeWnd::TimelineOpenDialog(int key, const strGridBlock& block)
{
    if (onOpenDialog)
        onOpenDialog(key, block);
}

void cKeyframeWnd::TimelinePlayRange(bool on, int first, int last)
{
    if (onPlayRange)
        onPlayRange(on, first, last);
    update();
}

void cKeyframeWnd::TimelineChanged()
{
    if (onChanged)
        onChanged();
    Changed();
}

iStatusSink& cKeyframeWnd::TimelineStatus() { return status ? *status : ownStatus_; }

iMessageSink& cKeyframeWnd::TimelineMessages() { return messages ? *messages : *ownMessages_; }
strEditOptions cKeyframeWnd::TimelineOptions() { return EditOptionsOf(Settings()); }

QRect cKeyframeWnd::PixelRect(const strGridRect& r) const
{
    const int x0 = timeline_.ColumnX(r.c0), y0 = timeline_.RowY(r.r0);
    const int x1 = timeline_.ColumnX(r.c1) + cKeyframe::kColumnWidth;
    const int y1 = timeline_.RowY(r.r1) + cKeyframe::kRowHeight;
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

bool cKeyframeWnd::OnPaint(QPainter& g)
{
    const int w = timeline_.ViewWidth(), h = timeline_.ViewHeight();
    g.fillRect(rect(), palette().window());
    g.fillRect(0, 0, w, h, colorRef(KC_BACKGROUND));
    QFont small = font();
    small.setPixelSize(10);
    g.setFont(small);
    int c0, c1, r0, r1;
    timeline_.VisibleColumns(c0, c1);
    timeline_.VisibleRows(r0, r1);
    const int hw = timeline_.HeaderWidth(), hh = cKeyframe::kHeaderHeight;

    g.save();
    g.setClipRect(hw, hh, std::max(0, w - hw), std::max(0, h - hh));
    PaintCells(g, c0, c1, r0, r1);
    PaintMarks(g);
    g.restore();
    g.save();
    g.setClipRect(0, 0, w, h);
    PaintHeaders(g, c0, c1, r0, r1);
    g.restore();
    return true;
}

void cKeyframeWnd::PaintCells(QPainter& g, int c0, int c1, int r0, int r1)
{
    const int w = timeline_.ViewWidth(), h = timeline_.ViewHeight();
    const bool selected = timeline_.HasSelection();
    const strGridRect& sel = timeline_.Selection();
    if (selected)
        g.fillRect(PixelRect(sel), kCellSelection);
    for (int c = c0; c <= c1; ++c)
        for (int r = r0; r <= r1; ++r)
            if (timeline_.HasCell(c, r)) {
                const bool in = selected && sel.Contains({c, r});
                g.fillRect(timeline_.ColumnX(c) + 1, timeline_.RowY(r) + 6, 15, 9, in ? kCellMarkSelected : kCellMark);
            }
    g.setPen(colorRef(KC_GRID));
    for (int c = c0; c <= c1; ++c) {
        const int x = timeline_.ColumnX(c) + cKeyframe::kColumnWidth - 1;
        g.drawLine(x, 0, x, h);
    }
    for (int r = r0; r <= r1; ++r) {
        const int y = timeline_.RowY(r) + cKeyframe::kRowHeight - 1;
        g.drawLine(0, y, w, y);
    }
}

void cKeyframeWnd::PaintMarks(QPainter& g)
{
    const int h = timeline_.ViewHeight(), hh = cKeyframe::kHeaderHeight;
    if (timeline_.HasClipRect()) {
        g.setPen(QPen(kClipRect, 1, Qt::DashLine));
        g.setBrush(Qt::NoBrush);
        g.drawRect(PixelRect(timeline_.ClipRect()));
    }
    if (timeline_.HasDragRange()) {
        g.setPen(QPen(colorRef(KC_DRAG_RANGE), 2));
        g.setBrush(Qt::NoBrush);
        g.drawRect(PixelRect(timeline_.DragRange()).adjusted(1, 1, 0, 0));
    }
    if (timeline_.DragFlags() && timeline_.HasSelection()) {
        g.setPen(QPen(Qt::black, 1, Qt::DotLine));
        g.setBrush(Qt::NoBrush);
        g.drawRect(PixelRect(timeline_.Selection()));
    }
    const strGridPos focus = timeline_.Focus();
    if (hasFocus() && (focus.col >= 0 || focus.row >= 0)) {
        g.setPen(QPen(Qt::black, 1, Qt::DotLine));
        g.setBrush(Qt::NoBrush);
        g.drawRect(PixelRect({focus.col, focus.row, focus.col, focus.row}).adjusted(0, 0, -1, -1));
    }
    const int m = timeline_.Marker();
    if (m >= 0 && m < timeline_.Columns()) {
        const int cx = timeline_.ColumnX(m) + cKeyframe::kColumnWidth / 2;
        g.setPen(colorRef(KC_MARKER));
        g.drawLine(cx, hh, cx, h);
    }
}

void cKeyframeWnd::PaintHeaders(QPainter& g, int c0, int c1, int r0, int r1)
{
    const int w = timeline_.ViewWidth(), h = timeline_.ViewHeight();
    const int hw = timeline_.HeaderWidth(), hh = cKeyframe::kHeaderHeight;
    const int area = timeline_.SelectionArea();
    const strGridRect& sel = timeline_.Selection();
    const QColor text = colorRef(KC_TEXT);

    // Column header: labels, selected frames, the play range and the marker.
    g.save();
    g.setClipRect(hw, 0, std::max(0, w - hw), hh);
    g.fillRect(hw, 0, w - hw, hh, kHeaderFace);
    if (area == TA_FRAMES || area == TA_CELLS) {
        const QRect r = PixelRect(sel);
        g.fillRect(r.left(), 0, r.width(), hh, area == TA_FRAMES ? kHeaderSelection : kCellSelection);
    }
    if (timeline_.PlayRangeOn()) {
        const int x0 = timeline_.ColumnX(timeline_.PlayFirst());
        const int x1 = timeline_.ColumnX(timeline_.PlayLast()) + cKeyframe::kColumnWidth;
        g.fillRect(x0, hh - 3, x1 - x0, 3, kPlayRange);
    }
    g.setPen(colorRef(KC_GRID));
    for (int c = c0; c <= c1; ++c) {
        const int x = timeline_.ColumnX(c) + cKeyframe::kColumnWidth - 1;
        g.drawLine(x, hh - 4, x, hh);
    }
    g.setPen(text);
    // Labels may run over the next columns, so they are drawn from a little further left.
    for (int c = std::max(0, c0 - 3); c <= c1; ++c) {
        const std::string label = timeline_.ColumnLabel(c);
        if (!label.empty())
            g.drawText(timeline_.ColumnX(c) + 1, 1, 40, hh - 2, Qt::AlignLeft | Qt::AlignVCenter,
                       QString::fromStdString(label));
    }
    const int m = timeline_.Marker();
    if (m >= 0 && m < timeline_.Columns()) {
        const int cx = timeline_.ColumnX(m) + cKeyframe::kColumnWidth / 2;
        g.setPen(colorRef(KC_MARKER));
        g.setBrush(colorRef(KC_MARKER));
        const QPoint triangle[3] = {{cx - 3, hh - 3}, {cx + 3, hh - 3}, {cx, hh}};
        g.drawPolygon(triangle, 3);
    }
    g.restore();

    // Row header: cell numbers (with their fixed pictures) and selected rows.
    g.save();
    g.setClipRect(0, hh, hw, std::max(0, h - hh));
    g.fillRect(0, hh, hw, h - hh, kHeaderFace);
    if (area == TA_ROWS || area == TA_CELLS) {
        const QRect r = PixelRect(sel);
        g.fillRect(0, r.top(), hw, r.height(), area == TA_ROWS ? kHeaderSelection : kCellSelection);
    }
    for (int r = r0; r <= r1; ++r) {
        const int y = timeline_.RowY(r);
        g.setPen(colorRef(KC_GRID));
        g.drawLine(0, y + cKeyframe::kRowHeight - 1, hw, y + cKeyframe::kRowHeight - 1);
        g.setPen(text);
        g.drawText(3, y + 3, hw - 3, cKeyframe::kRowHeight - 3, Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(timeline_.RowLabel(r)));
    }
    g.restore();

    // Top-left corner: the current frame and its own interval.
    g.fillRect(0, 0, hw, hh, kHeaderFace);
    g.setPen(text);
    g.drawText(1, 0, hw - 1, hh, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(timeline_.CornerText()));

    g.setPen(colorRef(KC_HEADER_LINE));
    g.drawLine(hw - 1, 0, hw - 1, h);
    g.drawLine(0, hh - 1, w, hh - 1);
}
