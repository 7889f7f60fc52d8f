#include "views/view_state.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

TShiftState Left(bool shift = false) {
    TShiftState s;
    s.Left = true;
    s.Shift = shift;
    return s;
}

TEST(ViewState, ZoomInThenOutReturnsToOne) {
    T3DViewState v;
    v.Zooming(kZoomInFactor);
    v.Zooming(kZoomOutFactor);
    EXPECT_NEAR(v.Zoom, 1.0, 1e-12);
}

TEST(ViewState, ModelViewTurnsZUpTheScreen) {
    T3DViewState v;
    v.FitScale = 10;
    const TMatrix4 m = v.ModelView(-5.0);
    // The scene's vertical centre goes to the origin; +z points up (+y on screen).
    const TVec3 centre = Transform(m, {0, 0, -5});
    EXPECT_NEAR(centre.x, 0, 1e-12);
    EXPECT_NEAR(centre.y, 0, 1e-12);
    const TVec3 top = Transform(m, {0, 0, 0});
    EXPECT_NEAR(top.y, 50, 1e-9);
    const TVec3 x = Transform(m, {1, 0, -5});
    EXPECT_NEAR(x.x, 10, 1e-9);
}

TEST(ViewState, ZoomWindowClickWithoutMovingChangesNothing) {
    T3DViewState v;
    v.FitScale = 3;
    v.Mode = TMouseMode::kZoomWindow;
    v.ZoomWindow = true;
    v.Recorded = v.ModelView(0);
    v.MouseDown({100, 80}, Left());
    v.MouseUp({100, 80}, {}, 400, 300);
    EXPECT_EQ(v.Zoom, 1.0);
    EXPECT_EQ(v.Pan.x, 0.0);
    EXPECT_EQ(v.Pan.z, 0.0);
    EXPECT_FALSE(v.Selecting);
}

TEST(ViewState, ZoomWindowFillsTheWindowWithTheRectangle) {
    T3DViewState v;
    v.FitScale = 2;
    v.Mode = TMouseMode::kZoomWindow;
    v.ZoomWindow = true;
    v.Recorded = v.ModelView(0);
    v.MouseDown({100, 100}, Left());
    EXPECT_TRUE(v.MouseMove({200, 150}, Left(), 400, 300));
    EXPECT_TRUE(v.Selecting);
    v.MouseUp({200, 150}, {}, 400, 300);
    EXPECT_DOUBLE_EQ(v.Zoom, std::min(300.0 / 50, 400.0 / 100));
    // The rectangle's centre (150, 125) goes to the window's centre (200, 150):
    // the scene moves 50 px right and 25 px up (eye y is up) at the old zoom.
    const TVec3 moved = Transform(v.ModelView(0), {0, 0, 0});
    EXPECT_NEAR(moved.x / v.Zoom, 50.0, 1e-9);
    EXPECT_NEAR(moved.y / v.Zoom, -25.0, 1e-9);
}

TEST(ViewState, ShiftPanningMovesAlongOneScreenAxis) {
    T3DViewState v;
    v.FitScale = 1;
    v.Mode = TMouseMode::kPanning;
    v.Recorded = v.ModelView(0);
    v.MouseDown({100, 100}, Left(true));
    v.MouseMove({130, 110}, Left(true), 400, 300);
    const TVec3 on_screen = Transform(v.ModelView(0), {0, 0, 0});
    EXPECT_NEAR(on_screen.x, 30, 1e-9);
    EXPECT_NEAR(on_screen.y, 0, 1e-9);
    v.MouseMove({130, 110}, Left(false), 400, 300);
    const TVec3 free = Transform(v.ModelView(0), {0, 0, 0});
    EXPECT_NEAR(free.y, -10, 1e-9);
}

TEST(ViewState, RightButtonDragIsIgnored) {
    T3DViewState v;
    v.Mode = TMouseMode::kZooming;
    v.MouseDown({0, 0}, Left());
    TShiftState right;
    right.Right = true;
    EXPECT_FALSE(v.MouseMove({0, 100}, right, 400, 300));
    EXPECT_EQ(v.Zoom, 1.0);
}

TEST(ViewState, ZoomingDragAndRotatingDrag) {
    T3DViewState v;
    v.Mode = TMouseMode::kZooming;
    v.MouseDown({0, 100}, Left());
    v.MouseUp({0, 250}, {}, 400, 300);
    EXPECT_DOUBLE_EQ(v.Zoom, 0.5);
    T3DViewState r;
    r.Mode = TMouseMode::kRotating;
    r.Recorded = r.ModelView(0);
    r.MouseDown({0, 0}, Left());
    r.MouseMove({0, 300}, Left(), 400, 300);
    // A drag down the whole window turns by 90 degrees about the screen's x axis.
    EXPECT_NEAR(std::abs(r.Angles.x) + std::abs(r.Angles.y) + std::abs(r.Angles.z), 90.0, 1e-9);
    EXPECT_NEAR(std::abs(r.Angles.x), 90.0, 1e-9);
}

TEST(ViewState, RestartView) {
    T3DViewState v;
    v.Angles = {10, 20, 30};
    v.Zoom = 3;
    v.Pan = {1, 2, 3};
    v.RestartView();
    EXPECT_EQ(v.Zoom, 1.0);
    EXPECT_EQ(v.Angles.y, 0.0);
    EXPECT_EQ(v.Pan.z, 0.0);
}

TEST(ViewState, ProjectionAndFit) {
    EXPECT_DOUBLE_EQ(OrthoDepth(20, 10, 400, 300), 2.0 * 150 * 640);
    EXPECT_DOUBLE_EQ(OrthoDepth(20, 0, 400, 300), 200);
    EXPECT_DOUBLE_EQ(FitScale(10, 5, 450, 250), std::min(200.0 / 10, 400.0 / 10));
    EXPECT_DOUBLE_EQ(FitScale(0, 0, 450, 250), 1.0);
    EXPECT_GT(FitScale(10, 5, 20, 20), 0.0);  // a tiny window never mirrors the scene
}

}  // namespace
}  // namespace korvel
