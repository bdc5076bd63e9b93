// Zoom and scroll arithmetic of the canvas: wheel steps, the scroll range and the
// mapping between client and surface coordinates.

#include "view/ZoomScroll.h"

#include <gtest/gtest.h>

TEST(ZoomScroll, WheelStepsAreOneNotchAtMostAndClampAtTheEnds)
{
    const struct {
        int delta, step;
    } steps[] = {{120, 1}, {-120, -1}, {119, 0}, {-119, 0}, {240, 1}, {-600, -1}, {0, 0}};
    for (const auto& s : steps)
        EXPECT_EQ(cZoomScroll::WheelStep(s.delta), s.step) << s.delta;

    cZoomScroll v;
    EXPECT_EQ(v.Factor(), 1.0);
    EXPECT_TRUE(v.Wheel(120));
    EXPECT_TRUE(v.Wheel(120));
    EXPECT_FALSE(v.Wheel(120));
    EXPECT_EQ(v.Factor(), 4.0);
    EXPECT_TRUE(v.SetZoom(-5));
    EXPECT_EQ(v.Zoom(), 0);
    EXPECT_EQ(v.Factor(), 0.25);
}

TEST(ZoomScroll, ScrollStaysInsideTheContentAndMapsBothWays)
{
    cZoomScroll v;
    v.SetContent(-320, -240, 320, 240);
    v.SetClient(320, 240); // at 100 % half the content is visible
    double l, t, r, b;
    v.Range(l, t, r, b);
    EXPECT_EQ(l, -160);
    EXPECT_EQ(r, 160);
    EXPECT_EQ(t, -120);
    EXPECT_EQ(b, 120);
    v.SetPosition(1000, -1000);
    EXPECT_EQ(v.X(), 160);
    EXPECT_EQ(v.Y(), -120);
    EXPECT_DOUBLE_EQ(v.ToSurfaceX(v.ToClientX(37.5)), 37.5);
    EXPECT_DOUBLE_EQ(v.ToClientX(160), 160) << "the position shows at the client's centre";

    v.SetPosition(0, 0);
    v.SetZoom(3); // 200 %: a drag of 10 pixels moves 5 units
    v.DragBy(10, -10);
    EXPECT_EQ(v.X(), -5);
    EXPECT_EQ(v.Y(), 5);

    v.SetZoom(0); // 25 %: the view is larger than the content
    v.Range(l, t, r, b);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(v.X(), 0);
}
