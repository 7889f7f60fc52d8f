// The 3D view's view state: show flags, the deformed-shape settings, the user's
// turn, zoom and pan, and the mouse modes that change them. Mouse positions are
// window pixels; pan is in scene units, angles in degrees. The model-view matrix
// is column-major (m0..m15) as OpenGL takes it; one scene unit spans
// FitScale x Zoom pixels.
#pragma once

#include <array>

#include "views/scene_items.h"

namespace korvel {

using TMatrix4 = std::array<double, 16>;

struct T3DShowFlags {
    bool Wall = true;                 // "Wall"
    bool SoilLayers = true;           // "Soil Layers"
    bool WaterLevel = true;           // "Water Level"
    bool AdditionalSurcharge = true;  // "Additional Surcharge"
    bool ConcentratedLoads = true;    // "Concentrated Loads"
    bool TieBacks = true;             // "Tie Backs"
    bool BoundaryConditions = true;   // "Boundary Conditions"
    bool LateralSprings = true;       // "Lateral Springs"
    bool Axes = true;                 // nothing switches the axes off
};

struct TDeformedSettings {
    bool DeformedShape = false;    // the wall follows the deflection line
    bool UndeformedModel = false;  // the straight wall as an outline too (with DeformedShape only)
    double Factor = 1.0;           // multiplier on the deflections
};

enum class TMouseMode { kNone = 0, kPanning = 1, kZooming = 2, kRotating = 3, kZoomWindow = 4 };
enum class TDragState { kIdle, kPressed, kReleased };

// Buttons and keys held during a mouse event.
struct TShiftState {
    bool Left = false;
    bool Right = false;
    bool Middle = false;
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

// Pixel position in the window.
struct TPixel {
    int x = 0;
    int y = 0;
};

// "Zoom In" and "Zoom Out" factors.
constexpr double kZoomInFactor = 1.4142;
constexpr double kZoomOutFactor = 0.7071135624381275633;

class T3DViewState {
  public:
    // Angles about x, y, z in degrees.
    TVec3 Angles;
    double Zoom = 1.0;
    double FitScale = 1.0;  // pixels per scene unit at zoom 1, set by each rebuild
    TVec3 Pan;
    TMouseMode Mode = TMouseMode::kNone;
    bool ZoomWindow = false;  // the "Zoom Window" tool button is down
    TDragState Drag = TDragState::kIdle;
    TPixel Press;
    TPixel Current;
    bool Selecting = false;  // a zoom-window rectangle is being dragged
    TMatrix4 Recorded{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // last frame's model-view

    // The model-view matrix of a frame whose scene is centred vertically on
    // centre (the scene extents' c): turn -90 about x, the user's turns, the
    // scale, the centring and the pan.
    TMatrix4 ModelView(double centre) const;

    void Zooming(double factor) { Zoom *= factor; }
    void RestartView();

    // Mouse handling in a w by h pixel window. Each returns true when the view
    // changed or a repaint is due.
    bool MouseDown(TPixel at, TShiftState state);
    bool MouseMove(TPixel at, TShiftState state, int w, int h);
    bool MouseUp(TPixel at, TShiftState state, int w, int h);

  private:
    bool ApplyMotion(TPixel at, TShiftState state, int w, int h);

    TVec3 saved_pan_;
    double saved_zoom_ = 1.0;
    TVec3 saved_angles_;
};

// Projection box of the orthographic view: x from -w/2 to w/2, y from -h/2 to
// h/2, depth from -r to r with r = D/S x min(w, h)/2 x 640 (max(w, h)/2 when S is 0).
double OrthoDepth(double largest, double smaller, int w, int h);
// Fit scale: the smaller of (client height - 50)/D and (client width - 50)/(2A),
// each 1 when its divisor is 0.
double FitScale(double largest, double a, int client_w, int client_h);

// Transforms a point by a column-major matrix.
TVec3 Transform(const TMatrix4& m, TVec3 p);

}  // namespace korvel
