#pragma once
// cDrawBoxWnd: a zoomable, scrollable drawing surface with its own scroll bars.
// The wheel steps the zoom, the middle button drags the view (a middle double
// click resets it), a mouse move reports the surface position on the status
// bar, and subclasses draw through Prepare and Draw.

#include "ui/BaseWnd.h"
#include "view/ZoomScroll.h"

#include <functional>

class QScrollBar;

class cDrawBoxWnd : public cBaseWnd {
    Q_OBJECT
public:
    explicit cDrawBoxWnd(QWidget* parent = nullptr);

    /** Sets the zoom index (clamped); notify tells the parent through onZoomChanged. */
    virtual void SetZoom(int index, bool notify, bool redraw);
    int Zoom() const { return view_.Zoom(); }
    const cZoomScroll& View() const { return view_; }
    /** The content rectangle in surface units. */
    void SetContent(double left, double top, double right, double bottom);
    void SetScroll(double x, double y);

    /** Told of zoom changes made here (the zoom selector follows them). */
    std::function<void(int index)> onZoomChanged;
    /** Receives "%d,%d" of the surface position under the mouse. */
    std::function<void(const QString& text)> onPosition;

    /** Runs once after a change before Draw; false skips the draw. */
    virtual bool Prepare() { return true; }
    virtual bool Draw(QPainter&) { return false; }
    virtual void OnResize() {}
    virtual void OnMouseMove(int /*x*/, int /*y*/) {}
    /** Every mouse event after the surface's own handling. */
    virtual void OnMouse(QMouseEvent*) {}
    /** A drag-and-drop notification from another window (message, code, client point). */
    virtual void OnDragNotify(int /*message*/, int /*code*/, QPoint /*point*/) {}
    /** Copies a cell of the shown project; false when there is none. */
    virtual bool FetchCell(int /*frame*/, int /*cellNo*/, struct strCell& /*out*/) const { return false; }

    bool OnPaint(QPainter& painter) override;
    void OnSize() override;

    /** The client area without the scroll bars. */
    QSize ClientSize() const;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    void MarkChanged() { prepared_ = false; }

private:
    void SyncBars();

    cZoomScroll view_;
    QScrollBar* hBar_;
    QScrollBar* vBar_;
    bool dragging_ = false;
    QPoint dragFrom_;
    bool prepared_ = false;
    bool syncing_ = false;
};
