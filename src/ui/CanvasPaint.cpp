// The line and text layers of the canvas, painted over the composed picture:
// outlines and labels of the current frame's cells, the locus, the feedback of
// the running gesture, the spline preview and the text block.

#include "ui/MainEditWnd.h"

#include "model/AnimeData.h"
#include "project/Settings.h"
#include "ui/CanvasDialogs.h"

#include <QPainter>
#include <QPolygonF>

namespace {

// Pens of the canvas (the settings hold no colours for these layers).
const QColor kOutlineColour(0x80, 0x80, 0x80);
const QColor kSelectedColour(0xFF, 0xFF, 0xFF);
const QColor kFocusColour(0xFF, 0xE0, 0x40);
const QColor kLocusColour(0xFF, 0x80, 0x20);
const QColor kSplineColour(0x40, 0xC0, 0xFF);
const QColor kDropColour(0x40, 0xFF, 0x80);
const QColor kNoDropColour(0xFF, 0x40, 0x40);

QPointF pointOf(const strCanvasPoint& p) { return QPointF(p.x, p.y); }

QPolygonF polygonOf(const strQuad& q)
{
    QPolygonF polygon;
    for (const strCanvasPoint& v : q.v)
        polygon << pointOf(v);
    return polygon;
}

// A cell-number label: "%02d" ("--" for none) in a box 8 pixels per character wide
// and 10 high.
void drawLabel(QPainter& painter, QPointF at, int number, const QColor& colour)
{
    const QString text = number >= 0 ? QString::asprintf("%02d", number) : QStringLiteral("--");
    const QRectF box(at.x(), at.y(), 8.0 * text.size(), 10);
    painter.fillRect(box, colour);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, text);
}

void drawTextBlock(QPainter& painter, const QString& text)
{
    const QStringList lines = text.split('\n');
    const int height = painter.fontMetrics().height();
    for (int pass = 0; pass < 2; ++pass) {
        // A dark shadow one pixel down and right, then the white text.
        painter.setPen(pass == 0 ? QColor(1, 1, 1) : QColor(255, 255, 255));
        const int d = pass == 0 ? 1 : 0;
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(2 + d, 2 + d + height * i + painter.fontMetrics().ascent(), lines[i]);
    }
}

} // namespace

void cMainEditWnd::PaintEditLayers(QPainter& painter)
{
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    if (!project_)
        return;
    if (player_.IsPlaying()) {
        drawTextBlock(painter, QString::asprintf("play : %d / %d", currentFrame_, project_->GetValue(AI_FRAMES)));
        return;
    }
    const cSettings& s = Settings();
    const strCanvasView& view = edit_.View();
    QFont small = font;
    small.setPixelSize(9);
    for (int k = project_->CellCount() - 1; k >= 0; --k) {
        const bool selected = edit_.IsSelected(k), focus = k == edit_.Focus();
        strCell cell;
        strQuad quad;
        if (!(selected || focus || s.VNowFlag) || !edit_.DisplayedCell(k, cell) || !edit_.QuadOf(cell, quad))
            continue;
        const QPolygonF polygon = polygonOf(ToWindow(quad, view));
        const QColor colour = focus ? kFocusColour : selected ? kSelectedColour : kOutlineColour;
        painter.setPen(colour);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(polygon);
        if (!selected)
            continue;
        for (const QPointF& corner : polygon)
            painter.fillRect(QRectF(corner.x() - 2, corner.y() - 2, 5, 5), colour);
        const strCanvasPoint centre = view.ToWindow(cell.x, cell.y);
        painter.drawLine(QPointF(centre.x - 4, centre.y), QPointF(centre.x + 4, centre.y));
        painter.drawLine(QPointF(centre.x, centre.y - 4), QPointF(centre.x, centre.y + 4));
        painter.setFont(small);
        drawLabel(painter, polygon[0], k, colour);
        painter.setFont(font);
    }
    if (s.VLocusFlag && timelineSelection_.active) {
        painter.setPen(kLocusColour);
        for (int k = timelineSelection_.k0; k <= timelineSelection_.k1; ++k) {
            QPolygonF line;
            for (const strCanvasPoint& p : LocusPath(*project_, k, currentFrame_, s.Locus, timelineSelection_))
                line << pointOf(view.ToWindow(p.x, p.y));
            painter.drawPolyline(line);
            for (const QPointF& p : line)
                painter.fillRect(QRectF(p.x() - 1, p.y() - 1, 3, 3), kLocusColour);
        }
    }
    PaintToolFeedback(painter);
    PaintDropFeedback(painter);
    drawTextBlock(painter, QString::fromStdString(edit_.InfoText()));
}

void cMainEditWnd::PaintToolFeedback(QPainter& painter)
{
    const strCanvasView& view = edit_.View();
    if (spline_ && spline_->IsOpen()) {
        painter.setPen(kSplineColour);
        const strPointF p0 = spline_->P0();
        QPointF previous = pointOf(view.ToWindow(p0.x, p0.y));
        for (const strPointI& p : spline_->Preview()) {
            const QPointF at = pointOf(view.ToWindow(float(p.x), float(p.y)));
            painter.drawLine(previous, at);
            painter.fillRect(QRectF(at.x() - 2, at.y() - 2, 5, 5), kSplineColour);
            previous = at;
        }
    }
    // Guide lines invert what lies under them.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(Qt::white);
    const QPointF a = pointOf(edit_.AnchorA()), b = pointOf(edit_.AnchorB()), cur = pointOf(edit_.CurrentPoint());
    switch (edit_.Mode()) {
    case CM_GUIDE:
    case CM_ROTATE:
    case CM_SCALE: painter.drawLine(a, cur); break;
    case CM_SWING:
        painter.drawLine(a, b);
        painter.drawLine(a, cur);
        painter.drawEllipse(a, 3, 3);
        break;
    case CM_BEND: {
        QPolygonF curve;
        for (const strCanvasPoint& p : edit_.BendCurve())
            curve << pointOf(p);
        painter.drawPolyline(curve);
        break;
    }
    default: break;
    }
    painter.restore();
}

void cMainEditWnd::PaintDropFeedback(QPainter& painter)
{
    if (!drop_.over)
        return;
    const strCanvasView& view = edit_.View();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    strCell cell;
    strQuad quad;
    if (drop_.hit >= 0 && edit_.DisplayedCell(drop_.hit, cell) && edit_.QuadOf(cell, quad)) {
        // The cell that takes the pattern: filled lightly and outlined.
        const QPolygonF polygon = polygonOf(ToWindow(quad, view));
        QColor fill = kDropColour;
        fill.setAlpha(64);
        painter.setBrush(fill);
        painter.setPen(QPen(kDropColour, 2));
        painter.drawPolygon(polygon);
        painter.setBrush(Qt::NoBrush);
    }
    // The new cell's outline (or the cursor) with the cell number the drop sets;
    // red when there is no slot for it.
    const QColor colour = drop_.slot >= 0 ? kDropColour : kNoDropColour;
    painter.setPen(QPen(colour, 1, Qt::DashLine));
    QPointF corner(drop_.point.x, drop_.point.y);
    if (drop_.hit < 0 && edit_.QuadOf(DropPreview(), quad)) {
        const QPolygonF polygon = polygonOf(ToWindow(quad, view));
        painter.drawPolygon(polygon);
        corner = polygon[0];
    } else if (drop_.hit < 0) {
        painter.drawLine(corner - QPointF(6, 0), corner + QPointF(6, 0));
        painter.drawLine(corner - QPointF(0, 6), corner + QPointF(0, 6));
    }
    drawLabel(painter, corner, drop_.slot, colour);
    painter.restore();
}
