#include "views/view_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

// Degrees of turn for a drag over the whole window.
constexpr double kDegreesPerWindow = 90.0;
// Pixels kept free around the fitted scene.
constexpr int kFitMargin = 50;
// Depth range of the orthographic box per pixel, relative to the extents' ratio.
constexpr double kDepthPerPixel = 640.0;

TMatrix4 Multiply(const TMatrix4& a, const TMatrix4& b) {
    TMatrix4 m{};
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += a[static_cast<size_t>(k * 4 + r)] * b[static_cast<size_t>(c * 4 + k)];
            m[static_cast<size_t>(c * 4 + r)] = s;
        }
    }
    return m;
}

// Rotation by degrees about a unit axis, as glRotated builds it.
TMatrix4 Rotation(double degrees, double x, double y, double z) {
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double t = 1.0 - c;
    return {t * x * x + c,
            t * x * y + s * z,
            t * x * z - s * y,
            0,
            t * x * y - s * z,
            t * y * y + c,
            t * y * z + s * x,
            0,
            t * x * z + s * y,
            t * y * z - s * x,
            t * z * z + c,
            0,
            0,
            0,
            0,
            1};
}

TMatrix4 Scaling(double k) {
    return {k, 0, 0, 0, 0, k, 0, 0, 0, 0, k, 0, 0, 0, 0, 1};
}

TMatrix4 Translation(TVec3 v) {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, v.x, v.y, v.z, 1};
}

bool LeftOnly(TShiftState s) {
    return s.Left && !s.Right && !s.Middle && !s.Alt;
}

// A move is followed only with the left button alone, with Shift or with Ctrl.
bool DragButtons(TShiftState s) {
    return LeftOnly(s) && !(s.Shift && s.Ctrl);
}

// Shift alone or Shift with the left button.
bool ShiftHeld(TShiftState s) {
    return s.Shift && !s.Ctrl && !s.Alt && !s.Right && !s.Middle;
}

// Screen displacement (pixels) into the scene through the recorded matrix.
TVec3 IntoScene(const TMatrix4& m, double dx, double dy, double k) {
    const double k2 = k * k;
    return {(dx * m[0] + dy * m[1]) / k2, (dx * m[4] + dy * m[5]) / k2,
            (dx * m[8] + dy * m[9]) / k2};
}

}  // namespace

TMatrix4 T3DViewState::ModelView(double centre) const {
    TMatrix4 m = Rotation(-90.0, 1, 0, 0);
    m = Multiply(m, Rotation(Angles.x, 1, 0, 0));
    m = Multiply(m, Rotation(Angles.y, 0, 1, 0));
    m = Multiply(m, Rotation(Angles.z, 0, 0, 1));
    m = Multiply(m, Scaling(Zoom));
    m = Multiply(m, Scaling(FitScale));
    m = Multiply(m, Translation({0.0, 0.0, -centre}));
    m = Multiply(m, Translation(Pan));
    return m;
}

void T3DViewState::RestartView() {
    Angles = {};
    Zoom = 1.0;
    Pan = {};
}

bool T3DViewState::MouseDown(TPixel at, TShiftState state) {
    Drag = TDragState::kPressed;
    Press = at;
    Current = at;
    if (ZoomWindow && state.Left) {
        Selecting = true;
        saved_pan_ = Pan;
        saved_zoom_ = Zoom;
    }
    switch (Mode) {
        case TMouseMode::kPanning:
            saved_pan_ = Pan;
            break;
        case TMouseMode::kZooming:
            saved_zoom_ = Zoom;
            break;
        case TMouseMode::kRotating:
            saved_angles_ = Angles;
            break;
        default:
            break;
    }
    return false;
}

bool T3DViewState::MouseMove(TPixel at, TShiftState state, int w, int h) {
    if (!DragButtons(state)) return false;
    if (ZoomWindow) {
        Current = at;
        return Selecting;
    }
    return ApplyMotion(at, state, w, h);
}

bool T3DViewState::MouseUp(TPixel at, TShiftState state, int w, int h) {
    bool changed = false;
    if (Drag != TDragState::kIdle) Drag = TDragState::kReleased;
    if (ZoomWindow) {
        Current = at;
        const bool was_selecting = Selecting;
        Selecting = false;
        const int dx = at.x - Press.x;
        const int dy = at.y - Press.y;
        if (was_selecting && dx != 0 && dy != 0 && w > 0 && h > 0) {
            const double k = FitScale * Zoom;
            const double cx = w / 2.0 - (at.x + Press.x) / 2.0;
            const double cy = -(h / 2.0 - (at.y + Press.y) / 2.0);
            Pan = saved_pan_ + IntoScene(Recorded, cx, cy, k);
            Zoom = saved_zoom_ * std::min(static_cast<double>(h) / std::abs(dy),
                                          static_cast<double>(w) / std::abs(dx));
        }
        changed = true;
    } else if (Drag == TDragState::kReleased) {
        changed = ApplyMotion(at, state, w, h);
    }
    Drag = TDragState::kIdle;
    return changed;
}

bool T3DViewState::ApplyMotion(TPixel at, TShiftState state, int w, int h) {
    if (Drag == TDragState::kIdle || w <= 0 || h <= 0) return false;
    const bool shift = ShiftHeld(state);
    const double k = FitScale * Zoom;
    switch (Mode) {
        case TMouseMode::kPanning: {
            double dx = at.x - Press.x;
            double dy = Press.y - at.y;
            if (shift) (std::abs(dx) < std::abs(dy) ? dx : dy) = 0.0;
            if (k == 0.0) return false;
            Pan = saved_pan_ + IntoScene(Recorded, dx, dy, k);
            return true;
        }
        case TMouseMode::kZooming:
            Zoom = saved_zoom_ * (1.0 - static_cast<double>(at.y - Press.y) / h);
            return true;
        case TMouseMode::kRotating: {
            double a = (at.y - Press.y) * kDegreesPerWindow / h;
            double b = (at.x - Press.x) * kDegreesPerWindow / w;
            if (shift) (std::abs(a) < std::abs(b) ? a : b) = 0.0;
            const TMatrix4& m = Recorded;
            TVec3 r{a * m[0] + b * m[1], a * m[4] + b * m[5], a * m[8] + b * m[9]};
            const double length = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
            if (length > 0.0) r = r * (std::sqrt(a * a + b * b) / length);
            Angles = saved_angles_ + r;
            return true;
        }
        default:
            return false;
    }
}

double OrthoDepth(double largest, double smaller, int w, int h) {
    if (smaller == 0.0) return std::max(w, h) / 2.0;
    return largest / smaller * std::min(w, h) / 2.0 * kDepthPerPixel;
}

double FitScale(double largest, double a, int client_w, int client_h) {
    // A window smaller than the margin keeps one pixel, so the scene never turns inside out.
    const double by_height = largest == 0.0 ? 1.0 : std::max(client_h - kFitMargin, 1) / largest;
    const double by_width = a == 0.0 ? 1.0 : std::max(client_w - kFitMargin, 1) / (2.0 * a);
    return std::min(by_height, by_width);
}

TVec3 Transform(const TMatrix4& m, TVec3 p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

}  // namespace korvel
