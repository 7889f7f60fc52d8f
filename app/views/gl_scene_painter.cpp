#include "views/gl_scene_painter.h"

#include <QOpenGLFunctions_1_1>
#include <array>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

constexpr int kSegments = 40;
constexpr float kSymbolAlpha = 0.6f;  // solids of arrows and arcs

// Faces of a block as corner indices, counter-clockwise seen from outside
// (corner bits: 1 +x, 2 +y, 4 +z).
constexpr std::array<std::array<int, 4>, 6> kFaces{{
    {0, 4, 6, 2},  // -x
    {1, 3, 7, 5},  // +x
    {0, 1, 5, 4},  // -y
    {2, 6, 7, 3},  // +y
    {0, 2, 3, 1},  // -z
    {4, 5, 7, 6},  // +z
}};

void Color(QOpenGLFunctions_1_1& gl, TColor c) {
    gl.glColor4f(c.r, c.g, c.b, c.a);
}
void Color(QOpenGLFunctions_1_1& gl, TColor c, float alpha) {
    gl.glColor4f(c.r, c.g, c.b, alpha);
}
void Vertex(QOpenGLFunctions_1_1& gl, TVec3 v) {
    gl.glVertex3d(v.x, v.y, v.z);
}

TVec3 Cross(TVec3 a, TVec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(TVec3 a) {
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}
TVec3 Unit(TVec3 a) {
    const double l = Length(a);
    return l > 0.0 ? a * (1.0 / l) : a;
}

// Two unit vectors perpendicular to axis and to each other.
void Perpendiculars(TVec3 axis, TVec3& u, TVec3& v) {
    const TVec3 other = std::abs(axis.z) < 0.9 ? TVec3{0, 0, 1} : TVec3{1, 0, 0};
    u = Unit(Cross(axis, other));
    v = Cross(axis, u);
}

TVec3 OnCircle(TVec3 centre, TVec3 u, TVec3 v, double radius, int k) {
    const double a = 2.0 * std::numbers::pi * k / kSegments;
    return centre + u * (radius * std::cos(a)) + v * (radius * std::sin(a));
}

void Circle(QOpenGLFunctions_1_1& gl, TVec3 centre, TVec3 u, TVec3 v, double radius) {
    gl.glBegin(GL_LINE_STRIP);
    for (int k = 0; k <= kSegments; ++k) Vertex(gl, OnCircle(centre, u, v, radius, k));
    gl.glEnd();
}

void Disc(QOpenGLFunctions_1_1& gl, TVec3 centre, TVec3 u, TVec3 v, double radius) {
    gl.glBegin(GL_TRIANGLE_FAN);
    Vertex(gl, centre);
    for (int k = 0; k <= kSegments; ++k) Vertex(gl, OnCircle(centre, u, v, radius, k));
    gl.glEnd();
}

// A ring of quadrilaterals from a circle of radius r0 at c0 to one of r1 at c1
// (a cylinder, a cone with r1 = 0, or a flat ring with c0 = c1).
void Ring(QOpenGLFunctions_1_1& gl, TVec3 c0, double r0, TVec3 c1, double r1, TVec3 u, TVec3 v) {
    gl.glBegin(GL_QUAD_STRIP);
    for (int k = 0; k <= kSegments; ++k) {
        Vertex(gl, OnCircle(c0, u, v, r0, k));
        Vertex(gl, OnCircle(c1, u, v, r1, k));
    }
    gl.glEnd();
}

}  // namespace

void PaintBlock(QOpenGLFunctions_1_1& gl, const TBlock& b) {
    if (b.Edges) {
        Color(gl, b.Edge);
        for (const auto& f : kFaces) {
            gl.glBegin(GL_LINE_STRIP);
            for (int k = 0; k <= 4; ++k)
                Vertex(gl, b.Corners[static_cast<size_t>(f[static_cast<size_t>(k % 4)])]);
            gl.glEnd();
        }
    }
    if (b.Faces) {
        Color(gl, b.Face);
        for (const auto& f : kFaces) {
            TVec3 centre;
            for (const int i : f) centre = centre + b.Corners[static_cast<size_t>(i)] * 0.25;
            gl.glBegin(GL_TRIANGLE_FAN);
            Vertex(gl, centre);
            for (int k = 0; k <= 4; ++k)
                Vertex(gl, b.Corners[static_cast<size_t>(f[static_cast<size_t>(k % 4)])]);
            gl.glEnd();
        }
    }
}

void PaintArrow(QOpenGLFunctions_1_1& gl, const TArrow& a) {
    const double s = a.Size;
    const TVec3 axis = Unit(a.Direction);
    TVec3 u;
    TVec3 v;
    Perpendiculars(axis, u, v);
    const TVec3 tail = a.Tail;
    const TVec3 head = tail + axis * (0.75 * s);
    const TVec3 tip = tail + axis * s;
    const double shaft = s / 16;     // radius of the s/8 shaft
    const double cone = 3 * s / 16;  // radius of the 3s/8 cone base
    Color(gl, a.Color);
    Circle(gl, tail, u, v, shaft);
    Circle(gl, head, u, v, shaft);
    Circle(gl, head, u, v, cone);
    Color(gl, a.Color, kSymbolAlpha);
    Disc(gl, tail, u, v, shaft);
    Ring(gl, tail, shaft, head, shaft, u, v);
    Ring(gl, head, shaft, head, cone, u, v);
    Ring(gl, head, cone, tip, 0.0, u, v);
}

void PaintArc(QOpenGLFunctions_1_1& gl, const TArc& arc) {
    const double s1 = arc.Size / 6;    // s'
    const double radius = 2 * s1 / 3;  // half of the 4s'/3 diameter
    const double tube = s1 / 12;       // radius of the s'/6 tube
    const TVec3 c = arc.Centre;
    // The half circle on the +x side from the top (angle +90) down to the bottom (-90).
    auto point = [&](double t) {
        const double a = std::numbers::pi / 2 - std::numbers::pi * t;
        return c + TVec3{radius * std::cos(a), 0.0, radius * std::sin(a)};
    };
    auto tangent = [&](double t) {
        const double a = std::numbers::pi / 2 - std::numbers::pi * t;
        return TVec3{std::sin(a), 0.0, -std::cos(a)};
    };
    constexpr int kSteps = kSegments / 2;
    Color(gl, arc.Color, kSymbolAlpha);
    for (int k = 0; k < kSteps; ++k) {
        const double t0 = static_cast<double>(k) / kSteps;
        const double t1 = static_cast<double>(k + 1) / kSteps;
        TVec3 u;
        TVec3 v;
        Perpendiculars(tangent((t0 + t1) / 2), u, v);
        Ring(gl, point(t0), tube, point(t1), tube, u, v);
    }
    // Outline circles and discs at both ends, the cone at the chosen end.
    for (const double t : {0.0, 1.0}) {
        TVec3 u;
        TVec3 v;
        Perpendiculars(tangent(t), u, v);
        Color(gl, arc.Color);
        Circle(gl, point(t), u, v, tube);
        Color(gl, arc.Color, kSymbolAlpha);
        Disc(gl, point(t), u, v, tube);
    }
    const double end = arc.Positive ? 1.0 : 0.0;
    const TVec3 dir = arc.Positive ? tangent(1.0) : tangent(0.0) * -1.0;
    TVec3 u;
    TVec3 v;
    Perpendiculars(dir, u, v);
    Color(gl, arc.Color);
    Circle(gl, point(end), u, v, s1 / 4);
    Color(gl, arc.Color, kSymbolAlpha);
    Ring(gl, point(end), s1 / 4, point(end) + dir * (s1 / 3), 0.0, u, v);
}

void PaintLine(QOpenGLFunctions_1_1& gl, const TLine& line) {
    Color(gl, line.Color);
    gl.glBegin(GL_LINES);
    Vertex(gl, line.From);
    Vertex(gl, line.To);
    gl.glEnd();
}

void PaintPyramid(QOpenGLFunctions_1_1& gl, const TPyramid& p) {
    const double h = p.Side / 2;
    const double z = p.Apex.z + p.Height;
    const std::array<TVec3, 4> base{
        TVec3{p.Apex.x - h, p.Apex.y - h, z}, TVec3{p.Apex.x + h, p.Apex.y - h, z},
        TVec3{p.Apex.x + h, p.Apex.y + h, z}, TVec3{p.Apex.x - h, p.Apex.y + h, z}};
    Color(gl, p.Edge);
    gl.glBegin(GL_LINE_STRIP);
    for (int k = 0; k <= 4; ++k) Vertex(gl, base[static_cast<size_t>(k % 4)]);
    gl.glEnd();
    gl.glBegin(GL_LINES);
    for (const TVec3& corner : base) {
        Vertex(gl, p.Apex);
        Vertex(gl, corner);
    }
    gl.glEnd();
    Color(gl, p.Face);
    // The base faces up; the sides face outwards and down.
    gl.glBegin(GL_QUADS);
    for (const TVec3& corner : base) Vertex(gl, corner);
    gl.glEnd();
    gl.glBegin(GL_TRIANGLES);
    for (size_t k = 0; k < 4; ++k) {
        Vertex(gl, p.Apex);
        Vertex(gl, base[(k + 1) % 4]);
        Vertex(gl, base[k]);
    }
    gl.glEnd();
}

void PaintSceneList(QOpenGLFunctions_1_1& gl, const TSceneList& list) {
    for (const TSceneItem& item : list.Items) {
        if (const auto* b = std::get_if<TBlock>(&item)) {
            gl.glEnable(GL_CULL_FACE);
            PaintBlock(gl, *b);
        } else {
            // Symbols are open shapes: both sides of their surfaces show.
            gl.glDisable(GL_CULL_FACE);
            if (const auto* a = std::get_if<TArrow>(&item)) PaintArrow(gl, *a);
            if (const auto* arc = std::get_if<TArc>(&item)) PaintArc(gl, *arc);
            if (const auto* l = std::get_if<TLine>(&item)) PaintLine(gl, *l);
            if (const auto* p = std::get_if<TPyramid>(&item)) PaintPyramid(gl, *p);
        }
    }
    gl.glEnable(GL_CULL_FACE);
}

}  // namespace korvel
