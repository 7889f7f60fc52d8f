#include "views/scene_builder.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "entry/units.h"
#include "project/program_data.h"
#include "views/deformed_wall.h"
#include "views/layer_blocks.h"
#include "views/node_ranges.h"

namespace korvel {

namespace {

constexpr TColor kCapFace{0.25f, 0.25f, 0.25f, 1.0f};
constexpr TColor kOrange{1.0f, 0.5f, 0.0f, 1.0f};
constexpr TColor kPanelFace{0.75f, 0.75f, 0.75f, 1.0f};
constexpr TColor kPanelEdge{0.9f, 0.9f, 0.0f, 1.0f};
constexpr TColor kOlive{0.75f, 0.75f, 0.0f, 1.0f};
constexpr TColor kSpringFace{0.5f, 0.5f, 0.5f, 1.0f};
constexpr TColor kTiebackFace{0.5f, 0.75f, 0.75f, 1.0f};
constexpr float kTranslucent = 0.5f;        // soil and water faces
constexpr float kStripTranslucent = 0.25f;  // strip-load boxes

constexpr int kBlue = 1;
constexpr int kGreen = 2;
constexpr int kRed = 3;

// Restraint cases and surcharge types (1-based items of their tables).
constexpr int kSpecifyDeflection = 1;
constexpr int kSpecifySlope = 2;
constexpr int kPointLoad = 1;
constexpr int kLineLoad = 2;
constexpr int kStripLoad = 3;

// Milli-units of the "L1" token outside English units (mm to m).
constexpr double kMilliPerUnit = 1000.0;
constexpr double kInchesPerFoot = 12.0;

TColor WithAlpha(TColor c, float a) {
    c.a = a;
    return c;
}

double Float(TGridTable& table, int column, int row) {
    return static_cast<double>(table.Cell(column, row).AsFloat());
}
int Integer(TGridTable& table, int column, int row) {
    return table.Cell(column, row).AsInteger();
}

// A force arrow with its tip on point, along +axis for a positive value.
TArrow Force(TVec3 point, TVec3 axis, double value, double size, TColor color) {
    const TVec3 dir = value < 0.0 ? axis * -1.0 : axis;
    return {point - dir * size, dir, size, color};
}

// A displacement arrow with its tail on point.
TArrow Displacement(TVec3 point, TVec3 axis, double value, double size, TColor color) {
    const TVec3 dir = value < 0.0 ? axis * -1.0 : axis;
    return {point, dir, size, color};
}

constexpr TVec3 kAxisX{1.0, 0.0, 0.0};
constexpr TVec3 kAxisZ{0.0, 0.0, 1.0};

// Nodes of a range that lie on the wall (0..N); a range beyond the wall draws nothing.
template <typename F>
void ForWallNodes(const TNodeRange& range, int increments, F&& f) {
    const int first = std::max(range.First, 0);
    const int last = std::min(range.Last, increments);
    for (int n = first; n <= last; ++n) f(n);
}

void AddWall(TSceneList& list, const TWallDimensions& d, const TSceneInput& in) {
    const double t = d.Thickness;
    const double w = d.Width;
    if (!in.Deformed.DeformedShape) {
        for (int j = 0; j < kWallUnits; ++j) {
            const double y = d.UnitY(j);
            list.Items.push_back(
                MakeBlock({-t / 2, y - w / 2, 0.0}, {t / 2, y + w / 2, 0.0}, kCapFace, kOrange));
            list.Items.push_back(MakeBlock({-t / 2, y - w / 2, -d.Length}, {t / 2, y + w / 2, 0.0},
                                           kPanelFace, kPanelEdge));
        }
        return;
    }
    const std::vector<TWallSegment> segments =
        DeformedWall(in.Deflection, d.NIncr, d.Incr, t, in.Deformed.Factor);
    for (int j = 0; j < kWallUnits; ++j) {
        const double y = d.UnitY(j);
        for (const TWallSegment& s : segments) {
            TBlock block;
            block.Face = kPanelFace;
            block.Edge = kPanelEdge;
            // Corner bits: 1 the +x side, 2 the +y side, 4 the upper (top) edge.
            for (int i = 0; i < 8; ++i) {
                const TPoint2 p = (i & 4) ? s.Top[i & 1] : s.Bottom[i & 1];
                block.Corners[static_cast<size_t>(i)] = {p.x, y + ((i & 2) ? t / 2 : -t / 2), p.z};
            }
            list.Items.push_back(block);
        }
        if (in.Deformed.UndeformedModel) {
            TBlock outline =
                MakeBlock({-t / 2, y - t / 2, -d.Length}, {t / 2, y + t / 2, 0.0}, kOlive, kOlive);
            outline.Faces = false;
            list.Items.push_back(outline);
        }
    }
}

void AddSprings(TSceneList& list, const TWallDimensions& d, const TSceneExtents& e,
                TGridTable& table) {
    for (const TNodeRange& range : NodeRanges(table)) {
        ForWallNodes(range, d.NIncr, [&](int n) {
            const double z = d.NodeZ(n);
            for (int j = 0; j < kWallUnits; ++j) {
                const double y = d.UnitY(j);
                list.Items.push_back(MakeBlock({-e.A / 2, y - d.Thickness / 2, z - d.Incr / 4},
                                               {0.0, y + d.Thickness / 2, z + d.Incr / 4},
                                               kSpringFace, kOrange));
            }
        });
    }
}

void AddConcentratedLoads(TSceneList& list, const TWallDimensions& d, TGridTable& table) {
    const double w = d.Width;
    for (const TNodeRange& range : NodeRanges(table)) {
        const double lateral = Float(table, 3, range.Row);
        const double moment = Float(table, 4, range.Row);
        const double axial = Float(table, 5, range.Row);
        ForWallNodes(range, d.NIncr, [&](int n) {
            for (int j = 0; j < kWallUnits; ++j) {
                const TVec3 p{0.0, d.UnitY(j), d.NodeZ(n)};
                if (lateral != 0.0)
                    list.Items.push_back(Force(p, kAxisX, lateral, 4 * w / 3, SymbolColor(kRed)));
                if (moment != 0.0)
                    list.Items.push_back(TArc{p, 4 * w, moment > 0.0, SymbolColor(kGreen)});
                // A positive axial load presses down on the wall.
                if (axial != 0.0)
                    list.Items.push_back(Force(p, kAxisZ, -axial, 4 * w / 3, SymbolColor(kBlue)));
            }
        });
    }
}

void AddRestraints(TSceneList& list, const TWallDimensions& d, TGridTable& table) {
    const double w = d.Width;
    for (int r = 0; r < table.RowCount(); ++r) {
        const int kind = Integer(table, 0, r);
        const int node = Integer(table, 1, r);
        const double deflection = Float(table, 2, r);
        const double slope = Float(table, 3, r);
        for (int j = 0; j < kWallUnits; ++j) {
            const TVec3 p{0.0, d.UnitY(j), d.NodeZ(node)};
            if (kind == kSpecifyDeflection && deflection != 0.0) {
                list.Items.push_back(
                    Displacement(p, kAxisX, deflection, 2 * w / 3, SymbolColor(kRed)));
            } else if (kind == kSpecifySlope && slope != 0.0) {
                list.Items.push_back(TArc{p, 2 * w, slope > 0.0, SymbolColor(kGreen)});
            }
        }
    }
}

void AddTiebacks(TSceneList& list, const TProgramData& project, TGridTable& table) {
    const int system = project.UnitSystem();
    const double wa = SceneLength(project.Wa, system);
    for (int r = 0; r < table.RowCount(); ++r) {
        const double depth = Float(table, 0, r);
        const double bar = std::sqrt(std::max(Float(table, 1, r), 0.0)) /
                           (system == kEnglishUnits ? kInchesPerFoot : 1.0);
        const double unbonded = Float(table, 3, r);
        const double angle = Float(table, 4, r);
        const double spacing = Float(table, 5, r);
        std::vector<double> ys;
        const int n = TiebackAnchorsPerSide(wa, spacing);
        if (n < 0) ys.push_back(0.0);
        for (int k = 0; k < n; ++k) {
            ys.push_back(-spacing * (k + 0.5));
            ys.push_back(spacing * (k + 0.5));
        }
        // Turned so that the frame's +x points into the retained side, down at the angle.
        const double turn = 180.0 - angle;
        for (const double y : ys) {
            const TVec3 origin{0.0, y, -depth};
            list.Items.push_back(MakeTurnedBlock(origin, turn, {unbonded / 2, 0.0, 0.0},
                                                 {unbonded, bar, bar}, kTiebackFace, kOrange));
            list.Items.push_back(MakeTurnedBlock(origin, turn, {unbonded + unbonded / 16, 0.0, 0.0},
                                                 {unbonded / 8, 4 * bar, 4 * bar}, kTiebackFace,
                                                 kOrange));
        }
    }
}

void AddSurcharges(TSceneList& list, const TProgramData& project, const TWallDimensions& d,
                   TGridTable& table) {
    const double per_unit = project.UnitSystem() == kEnglishUnits ? kInchesPerFoot : kMilliPerUnit;
    const double w = d.Width;
    // y of the line and strip arrows: the centre and a wall unit's width apart.
    std::vector<double> arrow_ys{0.0};
    for (int j = 0; j < kWallUnits / 2; ++j) {
        arrow_ys.push_back(-w * (j + 1));
        arrow_ys.push_back(w * (j + 1));
    }
    for (int r = 0; r < table.RowCount(); ++r) {
        const int type = Integer(table, 0, r);
        const double magnitude = Float(table, 1, r);
        const double x0 = -Float(table, 2, r) / per_unit;
        // Positive loads push down; each arrow ends at the ground (z = 0).
        const double value = -magnitude;
        if (type == kPointLoad) {
            for (int j = 0; j < kWallUnits; ++j) {
                list.Items.push_back(
                    Force({x0, d.UnitY(j), 0.0}, kAxisZ, value, 4 * w / 3, SymbolColor(kRed)));
            }
        } else if (type == kLineLoad) {
            for (const double y : arrow_ys)
                list.Items.push_back(Force({x0, y, 0.0}, kAxisZ, value, w, SymbolColor(kGreen)));
            const double half = w * kWallUnits / 2;
            list.Items.push_back(TLine{{x0, -half, 0.0}, {x0, half, 0.0}, SymbolColor(kGreen)});
            list.Items.push_back(TLine{{x0, -half, w}, {x0, half, w}, SymbolColor(kGreen)});
        } else if (type == kStripLoad) {
            const double e = Float(table, 3, r) / per_unit / 2.0;
            for (const double x : {x0 - e, x0, x0 + e}) {
                for (const double y : arrow_ys) {
                    list.Items.push_back(
                        Force({x, y, 0.0}, kAxisZ, value, 2 * w / 3, SymbolColor(kBlue)));
                }
            }
            for (int j = 0; j < kWallUnits; ++j) {
                const double y = d.UnitY(j);
                list.Items.push_back(MakeBlock(
                    {x0 - e / 2, y - w / 2, 0.0}, {x0 + e / 2, y + w / 2, 2 * w / 3},
                    WithAlpha(SymbolColor(kBlue), kStripTranslucent), SymbolColor(kBlue)));
            }
        }
    }
}

void AddWater(TSceneList& list, const TSceneExtents& e, double depth, bool backfill, double p) {
    const TColor blue = SymbolColor(kBlue);
    const TColor face = WithAlpha(blue, kTranslucent);
    const double z = -depth;
    const double x_lo = backfill ? -2 * e.A : 0.0;
    list.Items.push_back(MakeBlock({x_lo, -2 * e.B, z}, {x_lo + 2 * e.A, 2 * e.B, z}, face, blue));
    const double x1 = backfill ? -2 * e.A + p : p;
    for (int i = 0; i < 5; ++i) {
        for (int k = 0; k < 5; ++k) {
            const TVec3 apex{x1 + i * (2 * e.A - 2 * p) / 4, -2 * e.B + p + k * (e.B - p), z};
            list.Items.push_back(TPyramid{apex, p, p, face, blue});
        }
    }
}

}  // namespace

TColor LayerColor(int row) {
    static constexpr std::array<TColor, 10> kColors{{{0.8f, 0.55f, 0.0f, 1.0f},
                                                     {0.55f, 0.4f, 0.2f, 1.0f},
                                                     {0.4f, 0.4f, 0.2f, 1.0f},
                                                     {0.4f, 0.4f, 0.55f, 1.0f},
                                                     {0.0f, 0.5f, 0.5f, 1.0f},
                                                     {0.2f, 0.2f, 0.55f, 1.0f},
                                                     {0.8f, 0.0f, 0.8f, 1.0f},
                                                     {0.4f, 0.4f, 0.55f, 1.0f},
                                                     {0.15f, 0.15f, 0.45f, 1.0f},
                                                     {0.65f, 0.4f, 0.2f, 1.0f}}};
    return kColors[static_cast<size_t>(((row % 10) + 10) % 10)];
}

TColor SymbolColor(int index) {
    switch (index) {
        case 1:
            return {0.0f, 0.0f, 1.0f, 1.0f};
        case 2:
            return {0.0f, 1.0f, 0.0f, 1.0f};
        case 3:
            return {1.0f, 0.0f, 0.0f, 1.0f};
        case 4:
            return {1.0f, 0.0f, 1.0f, 1.0f};
        case 5:
            return {0.0f, 1.0f, 1.0f, 1.0f};
        case 6:
            return {1.0f, 1.0f, 0.0f, 1.0f};
        default:
            return {0.0f, 0.0f, 0.0f, 1.0f};
    }
}

int TiebackAnchorsPerSide(double wa_scene, double spacing) {
    if (spacing == 0.0) return -1;
    const double n = std::nearbyint(wa_scene * 10.0 / spacing);  // default rounding: halves to even
    if (!(n > 0.0)) return 0;
    return static_cast<int>(std::min(n, static_cast<double>(kMaxAnchorsPerSide)));
}

TSceneList BuildPileCap(const TProgramData& project, const TSceneInput& in) {
    TSceneList list;
    const TWallDimensions d = GetWallDimensions(project);
    TProgramTables& t = project.Tables();
    if (in.Show.Wall) AddWall(list, d, in);
    if (in.Show.LateralSprings && project.ApplySprings)
        AddSprings(list, d, in.Extents, *t.SoilStrength);
    if (in.Show.ConcentratedLoads && project.ApplyConcentratedLoads)
        AddConcentratedLoads(list, d, *t.BoundCond);
    if (in.Show.BoundaryConditions && project.ApplyRestraints) AddRestraints(list, d, *t.Soillayer);
    if (in.Show.TieBacks && project.ApplyTiebacks && t.TiebackTable1->RowCount() > 0) {
        AddTiebacks(list, project, *t.TiebackTable1);
    }
    if (in.Show.AdditionalSurcharge && project.ApplySurcharges)
        AddSurcharges(list, project, d, *t.SurchargeTable);
    return list;
}

TSceneList BuildSoilLayers(const TProgramData& project, const TSceneInput& in) {
    TSceneList list;
    list.Blend = true;
    if (!SoilLayersInUse(project)) return list;
    const TWallDimensions d = GetWallDimensions(project);
    const TSceneExtents& e = in.Extents;
    const int system = project.UnitSystem();
    if (in.Show.SoilLayers) {
        TGridTable& soil = *project.Tables().NewSoil;
        double top = 0.0;
        for (int r = 0; r < soil.RowCount(); ++r) {
            const double bottom = Float(soil, 1, r);
            const TColor edge = LayerColor(r);
            const TColor face = WithAlpha(edge, kTranslucent);
            for (const TLayerBlock& b : LayerBlocks(top, bottom, d.FreeHeight, d.Length)) {
                double x_lo = 0.0;
                double x_hi = 0.0;
                switch (b.Column) {
                    case TLayerColumn::kRetained:
                        x_lo = -2 * e.A;
                        x_hi = -d.Thickness / 2;
                        break;
                    case TLayerColumn::kExcavation:
                        x_lo = 0.0;
                        x_hi = 2 * e.A - d.Thickness / 2;
                        break;
                    case TLayerColumn::kFullLeft:
                        x_lo = -2 * e.A;
                        x_hi = 0.0;
                        break;
                    case TLayerColumn::kFullRight:
                        x_lo = 0.0;
                        x_hi = 2 * e.A;
                        break;
                }
                list.Items.push_back(
                    MakeBlock({x_lo, -2 * e.B, -b.Bottom}, {x_hi, 2 * e.B, -b.Top}, face, edge));
            }
            top = bottom;
        }
    }
    if (in.Show.WaterLevel) {
        const double p = 4.0 * d.Incr;
        AddWater(list, e, SceneLength(project.WaterDepthBackfill, system), true, p);
        AddWater(list, e, SceneLength(project.WaterDepthExcavation, system), false, p);
    }
    return list;
}

TScene BuildScene(const TProgramData& project, const TSceneInput& input) {
    return {BuildPileCap(project, input), BuildSoilLayers(project, input)};
}

}  // namespace korvel
