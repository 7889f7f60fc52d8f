// The drawable items of the 3D view's scene, in scene units (feet in English
// units, the held length otherwise): x across the wall (negative on the retained
// side), y along the wall, z up with 0 at the wall's top. Plain data, built by
// the scene builder and replayed by the GL widget; nothing here knows OpenGL.
#pragma once

#include <array>
#include <variant>
#include <vector>

namespace korvel {

struct TVec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline TVec3 operator+(TVec3 a, TVec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline TVec3 operator-(TVec3 a, TVec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline TVec3 operator*(TVec3 a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}

// Red, green, blue and alpha, 0 to 1.
struct TColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

// A six-faced block given by its eight corners: corner i lies on the block's
// +x side when bit 0 of i is set, +y side for bit 1, +z side for bit 2 (in the
// block's own frame, which may be turned or sheared). Faces are drawn as
// triangle fans from each face's centre, edges as closed strips.
struct TBlock {
    std::array<TVec3, 8> Corners{};
    TColor Face;
    TColor Edge;
    bool Faces = true;
    bool Edges = true;

    TVec3 Min() const;  // smallest x, y and z of the corners
    TVec3 Max() const;
};

// An axis-aligned block from lo to hi.
TBlock MakeBlock(TVec3 lo, TVec3 hi, TColor face, TColor edge);
// A block of the given size centred on centre in a frame placed at origin and
// turned by turn_y degrees about y (positive turns +x towards -z).
TBlock MakeTurnedBlock(TVec3 origin, double turn_y, TVec3 centre, TVec3 size, TColor face,
                       TColor edge);

// A force or displacement arrow of length Size from Tail along the unit vector
// Direction: a shaft 3/4 of the length, s/8 thick, then a cone s/4 long of base
// diameter 3s/8. Outlines in Color, solids in Color with alpha 0.6.
struct TArrow {
    TVec3 Tail;
    TVec3 Direction;
    double Size = 0.0;
    TColor Color;

    TVec3 Tip() const { return Tail + Direction * Size; }
};

// A half-circle arc of a moment or a slope in the x-z plane through Centre, on
// the +x side, of diameter 4s'/3 with s' = Size/6; the cone sits at the lower
// end when Positive, else at the upper end.
struct TArc {
    TVec3 Centre;
    double Size = 0.0;
    bool Positive = true;
    TColor Color;
};

struct TLine {
    TVec3 From;
    TVec3 To;
    TColor Color;
};

// An inverted square pyramid: apex, and a square base of side Side at height
// Height above it.
struct TPyramid {
    TVec3 Apex;
    double Side = 0.0;
    double Height = 0.0;
    TColor Face;
    TColor Edge;
};

using TSceneItem = std::variant<TBlock, TArrow, TArc, TLine, TPyramid>;

// One display list: its items in drawing order; Blend asks for blending
// (source alpha, one minus source alpha) over the whole list.
struct TSceneList {
    std::vector<TSceneItem> Items;
    bool Blend = false;

    template <typename T>
    std::vector<T> All() const {
        std::vector<T> out;
        for (const TSceneItem& item : Items) {
            if (const T* p = std::get_if<T>(&item)) out.push_back(*p);
        }
        return out;
    }
};

// The compiled scene: list 2 (wall, springs, loads, restraints, tiebacks,
// surcharges) and list 5 (soil blocks and water tables).
struct TScene {
    TSceneList PileCap;
    TSceneList SoilLayers;
};

}  // namespace korvel
