#include "ui/DrawBoxWnd.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

cDrawBoxWnd::cDrawBoxWnd(QWidget* parent)
    : cBaseWnd(parent), hBar_(new QScrollBar(Qt::Horizontal, this)), vBar_(new QScrollBar(Qt::Vertical, this))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(hBar_, &QScrollBar::valueChanged, this, [this](int v) {
        if (syncing_)
            return;
        SetScroll(v, view_.Y());
    });
    connect(vBar_, &QScrollBar::valueChanged, this, [this](int v) {
        if (syncing_)
            return;
        SetScroll(view_.X(), v);
    });
}

QSize cDrawBoxWnd::ClientSize() const
{
    return QSize(std::max(0, width() - vBar_->sizeHint().width()), std::max(0, height() - hBar_->sizeHint().height()));
}

void cDrawBoxWnd::SetZoom(int index, bool notify, bool redraw)
{
    const bool changed = view_.SetZoom(index);
    if (changed || notify) {
        SyncBars();
        if (notify && onZoomChanged)
            onZoomChanged(view_.Zoom());
    }
    if (redraw)
        RequestRedraw();
}

void cDrawBoxWnd::SetContent(double l, double t, double r, double b)
{
    view_.SetContent(l, t, r, b);
    SyncBars();
}

void cDrawBoxWnd::SetScroll(double x, double y)
{
    view_.SetPosition(x, y);
    SyncBars();
    RequestRedraw();
}

void cDrawBoxWnd::SyncBars()
{
    syncing_ = true;
    double l, t, r, b;
    view_.Range(l, t, r, b);
    hBar_->setRange(int(std::floor(l)), int(std::ceil(r)));
    vBar_->setRange(int(std::floor(t)), int(std::ceil(b)));
    const QSize c = ClientSize();
    hBar_->setPageStep(std::max(1, int(c.width() / view_.Factor())));
    vBar_->setPageStep(std::max(1, int(c.height() / view_.Factor())));
    hBar_->setValue(int(std::lround(view_.X())));
    vBar_->setValue(int(std::lround(view_.Y())));
    syncing_ = false;
}

void cDrawBoxWnd::OnSize()
{
    const int bw = vBar_->sizeHint().width(), bh = hBar_->sizeHint().height();
    hBar_->setGeometry(0, height() - bh, std::max(0, width() - bw), bh);
    vBar_->setGeometry(width() - bw, 0, bw, std::max(0, height() - bh));
    const QSize c = ClientSize();
    view_.SetClient(c.width(), c.height());
    SyncBars();
    OnResize();
    MarkChanged();
}

bool cDrawBoxWnd::OnPaint(QPainter& painter)
{
    if (!isVisible())
        return false;
    if (!prepared_) {
        prepared_ = true;
        if (!Prepare())
            return true;
    }
    return Draw(painter);
}

void cDrawBoxWnd::wheelEvent(QWheelEvent* event)
{
    const int step = cZoomScroll::WheelStep(event->angleDelta().y());
    if (step != 0)
        SetZoom(view_.Zoom() + step, true, true);
    event->accept();
}

void cDrawBoxWnd::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (event->button() == Qt::MiddleButton) {
        dragging_ = true;
        dragFrom_ = event->position().toPoint();
    } else if (event->button() == Qt::RightButton) {
        dragging_ = false;
    }
    OnMouse(event);
}

void cDrawBoxWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton)
        dragging_ = false;
    OnMouse(event);
}

void cDrawBoxWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (dragging_) {
        view_.DragBy(p.x() - dragFrom_.x(), p.y() - dragFrom_.y());
        dragFrom_ = p;
        SyncBars();
        RequestRedraw();
    }
    const int sx = int(std::floor(view_.ToSurfaceX(p.x()))), sy = int(std::floor(view_.ToSurfaceY(p.y())));
    if (onPosition)
        onPosition(QString::asprintf("%d,%d", sx, sy));
    OnMouseMove(sx, sy);
    OnMouse(event);
}

void cDrawBoxWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton)
        SetScroll(0, 0);
    OnMouse(event);
}
