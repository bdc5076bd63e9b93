#pragma once
// The zoom and scroll arithmetic of a drawing surface, without a window: the
// zoom index over five factors, wheel steps, the scroll range derived from the
// content and the client size, and the mapping between surface and client
// coordinates. The scroll position is the surface point shown at the client's
// centre.

#include <algorithm>
#include <cmath>

class cZoomScroll {
public:
    static constexpr int kZoomCount = 5;
    static constexpr double kFactors[kZoomCount] = {0.25, 0.5, 1.0, 2.0, 4.0};
    static constexpr int kDefaultZoom = 2;

    int Zoom() const { return zoom_; }
    double Factor() const { return kFactors[zoom_]; }
    /** Clamps into 0..4; true when the index changed. */
    bool SetZoom(int index)
    {
        index = std::clamp(index, 0, kZoomCount - 1);
        if (index == zoom_)
            return false;
        zoom_ = index;
        ClampPosition();
        return true;
    }
    /** The zoom step of a wheel delta: delta / 120 clamped to -1..1. */
    static int WheelStep(int delta) { return std::clamp(delta / 120, -1, 1); }
    bool Wheel(int delta) { return SetZoom(zoom_ + WheelStep(delta)); }

    /** The content rectangle in surface units and the client size in pixels. */
    void SetContent(double left, double top, double right, double bottom)
    {
        contentL_ = left, contentT_ = top, contentR_ = right, contentB_ = bottom;
        ClampPosition();
    }
    void SetClient(int width, int height)
    {
        clientW_ = std::max(0, width), clientH_ = std::max(0, height);
        ClampPosition();
    }

    /** The scroll range: positions keep the visible area inside the content; when the
     *  view is larger than the content on an axis, the range on it is the content's centre. */
    void Range(double& left, double& top, double& right, double& bottom) const
    {
        AxisRange(contentL_, contentR_, clientW_, left, right);
        AxisRange(contentT_, contentB_, clientH_, top, bottom);
    }

    double X() const { return x_; }
    double Y() const { return y_; }
    void SetPosition(double x, double y)
    {
        x_ = x, y_ = y;
        ClampPosition();
    }
    /** The scroll position that shows surface point (sx, sy) at client pixel (cx, cy)
     *  at the present zoom (before clamping). */
    void PositionKeeping(double sx, double sy, double cx, double cy, double& x, double& y) const
    {
        x = sx - (cx - clientW_ / 2.0) / Factor();
        y = sy - (cy - clientH_ / 2.0) / Factor();
    }
    /** A middle-button drag by a mouse movement in pixels moves the view with it. */
    void DragBy(int dx, int dy) { SetPosition(x_ - dx / Factor(), y_ - dy / Factor()); }

    /** Surface point -> client pixel, and back. */
    double ToClientX(double sx) const { return (sx - x_) * Factor() + clientW_ / 2.0; }
    double ToClientY(double sy) const { return (sy - y_) * Factor() + clientH_ / 2.0; }
    double ToSurfaceX(double cx) const { return (cx - clientW_ / 2.0) / Factor() + x_; }
    double ToSurfaceY(double cy) const { return (cy - clientH_ / 2.0) / Factor() + y_; }

private:
    void AxisRange(double lo, double hi, int client, double& a, double& b) const
    {
        const double half = client / 2.0 / Factor();
        a = lo + half;
        b = hi - half;
        if (a > b)
            a = b = (lo + hi) / 2;
    }
    void ClampPosition()
    {
        double l, t, r, b;
        Range(l, t, r, b);
        x_ = std::clamp(x_, l, r);
        y_ = std::clamp(y_, t, b);
    }

    int zoom_ = kDefaultZoom;
    double x_ = 0, y_ = 0;
    double contentL_ = -320, contentT_ = -240, contentR_ = 320, contentB_ = 240;
    int clientW_ = 0, clientH_ = 0;
};
