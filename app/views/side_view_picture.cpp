#include "views/side_view_picture.h"

#include <QChar>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "entry/grid_table.h"
#include "entry/number_format.h"
#include "entry/table_definitions.h"
#include "entry/units.h"
#include "project/program_data.h"
#include "views/wall_dimensions.h"

namespace korvel {

namespace {

constexpr double kInchesPerFoot = 12.0;
constexpr double kBoxGrowth = 1.05;                 // room around the wall
constexpr double kTopMarginShare = 0.1;             // m = L/10
constexpr double kWallThicknessShare = 1.0 / 40.0;  // half-thickness t = H/40
// Page band of the printed picture.
constexpr double kPageBandTop = 0.1;
constexpr double kPageBandHeight = 0.8;

// Soil types 1..7 of the layer table and their property columns (second row of
// the layer's parameter table): unit weight in column 0.
enum TSoilKind { kClay, kSand, kSilt, kRock };
TSoilKind KindOf(int type) {
    if (type <= 3) return kClay;
    if (type == 4) return kSand;
    if (type == 5) return kSilt;
    return kRock;
}

// As the grid cells show the value: the program's general number format.
QString Number(long double v) {
    return FormatGeneral(v, kFileDigits);
}

QString Properties(int type, TGridTable* params) {
    if (params == nullptr || params->RowCount() == 0 || params->ColumnCount() < 2) return {};
    const int bottom = std::min(1, params->RowCount() - 1);
    // The layer's values at its top and bottom: one number when they agree.
    auto value = [&](int column) {
        if (column >= params->ColumnCount()) return QString();
        const QString top = Number(params->Cell(column, 0).AsFloat());
        const QString low = Number(params->Cell(column, bottom).AsFloat());
        return top == low ? low : top + QStringLiteral(" to ") + low;
    };
    const QString phi = QString(QChar(0xF8)) + QStringLiteral("= ");
    const QString gamma = QStringLiteral("; gamma= ") + value(0);
    switch (KindOf(type)) {
        case kClay:
            return QStringLiteral("c= ") + value(1) + gamma;
        case kSand:
            return phi + value(1) + gamma;
        case kSilt:
            return phi + value(1) + QStringLiteral("; c= ") + value(2) + gamma;
        case kRock:
            return QStringLiteral("compressive strength= ") + value(1) + gamma;
    }
    return {};
}

}  // namespace

TWorldBox FitViewBox(const TWorldBox& world, int w, int h) {
    TWorldBox view = world;
    if (!world.Valid() || w <= 0 || h <= 0) return view;
    const double r =
        (static_cast<double>(w) / h) / ((world.XMax - world.XMin) / (world.YMax - world.YMin));
    if (r >= 1.0) {
        view.XMin *= r;
        view.XMax *= r;
    } else {
        view.YMin /= r;
        view.YMax /= r;
    }
    return view;
}

double TSideMapping::X(double world_x) const {
    return Left + std::round(Width * (world_x - Box.XMin) / (Box.XMax - Box.XMin));
}

double TSideMapping::Y(double world_y) const {
    return Top + std::round(Height * (world_y - Box.YMin) / (Box.YMax - Box.YMin));
}

double TSideMapping::WorldY(double pixel_y) const {
    return Box.YMin + (pixel_y - Top) / Height * (Box.YMax - Box.YMin);
}

TSideMapping WindowMapping(const TWorldBox& view, int w, int h) {
    return {view,
            0.0,
            0.0,
            static_cast<double>(w),
            static_cast<double>(h),
            static_cast<double>(w),
            static_cast<double>(h),
            1.0};
}

TSideMapping PageMapping(const TWorldBox& view, double w, double h, double pen_scale) {
    return {view, 0.0, kPageBandTop * h, w, kPageBandHeight * h, w, h, pen_scale};
}

QString SideSoilName(int type) {
    static const char* const kNames[] = {
        "Soft clay", "Stiff clay w/free water", "Stiff clay w/o free water", "Sand", "Silt", "Rock",
        "Weak Rock"};
    if (type < 1 || type > 7) return {};
    return QString::fromLatin1(kNames[type - 1]);
}

TSideViewData SideViewData(const TProgramData& project) {
    TProgramTables& t = project.Tables();
    const bool english = project.UnitSystem() == kEnglishUnits;
    TSideViewData d;
    d.HasStiffness = t.PileSect->RowCount() > 0;
    d.Increment = static_cast<double>(project.IncrementLength);
    d.Length = project.Increments * d.Increment;
    d.Margin = kTopMarginShare * d.Length;
    d.FreeHeight = static_cast<double>(project.FreeHeight);
    d.BackfillSlope = static_cast<double>(project.BackfillSlope);
    d.ShowSoils = SoilLayersInUse(project);
    TGridTable& soil = *t.NewSoil;
    for (int r = 0; r < soil.RowCount(); ++r) {
        TSideViewData::TLayer layer;
        layer.Type = soil.Cell(0, r).AsInteger();
        // The table shows feet in English units; the view works in inches.
        layer.Bottom =
            static_cast<double>(soil.Cell(1, r).AsFloat()) * (english ? kInchesPerFoot : 1.0);
        layer.Name = SideSoilName(layer.Type);
        layer.Properties = Properties(layer.Type, soil.Cell(2, r).AsTable());
        d.Layers.push_back(layer);
    }
    d.Restraints = project.ApplyRestraints;
    for (int r = 0; r < t.Soillayer->RowCount(); ++r)
        d.RestraintNodes.push_back(t.Soillayer->Cell(1, r).AsInteger());
    d.ExternalPY = project.ApplyExternalPYCurves || project.Results.EarthPressureRowCount > 1;
    for (int r = 0; r < t.PYCurves2->RowCount(); ++r)
        d.PYNodes.push_back(t.PYCurves2->Cell(0, r).AsInteger());
    d.Springs = project.ApplySprings;
    for (int r = 0; r < t.SoilStrength->RowCount(); ++r)
        d.SpringNodes.push_back(t.SoilStrength->Cell(1, r).AsInteger());
    d.Wa = static_cast<double>(project.Wa);
    d.Wp = static_cast<double>(project.Wp);
    d.WaterBackfill = static_cast<double>(project.WaterDepthBackfill);
    d.WaterExcavation = static_cast<double>(project.WaterDepthExcavation);
    if (project.ApplyTiebacks) {
        // The table shows feet in English units, like the layer depths.
        const double held = english ? kInchesPerFoot : 1.0;
        TGridTable& ties = *t.TiebackTable1;
        for (int r = 0; r < ties.RowCount(); ++r) {
            d.Tiebacks.push_back({static_cast<double>(ties.Cell(0, r).AsFloat()) * held,
                                  static_cast<double>(ties.Cell(3, r).AsFloat()) * held,
                                  static_cast<double>(ties.Cell(4, r).AsFloat())});
        }
    }
    d.DepthUnit = english                            ? QStringLiteral("ft")
                  : project.UnitSystem() == kSIUnits ? QStringLiteral("m")
                                                     : QStringLiteral("L");
    d.HeldPerDepthUnit = english ? kInchesPerFoot : 1.0;
    return d;
}

TWorldBox SideWorldBox(const TSideViewData& d) {
    if (!d.HasStiffness) return {};
    const double t = d.FreeHeight * kWallThicknessShare;
    const double xs[] = {0.0, -t, t};
    const double ys[] = {0.0, d.Margin, d.Margin + d.Length};
    TWorldBox box;
    box.XMin = *std::min_element(std::begin(xs), std::end(xs)) * kBoxGrowth;
    box.XMax = *std::max_element(std::begin(xs), std::end(xs)) * kBoxGrowth;
    box.YMin = *std::min_element(std::begin(ys), std::end(ys)) * kBoxGrowth;
    box.YMax = *std::max_element(std::begin(ys), std::end(ys)) * kBoxGrowth;
    return box;
}

std::vector<TSideItem> SideViewPicture(const TSideViewData& d, const TSideMapping& map,
                                       double text_height) {
    std::vector<TSideItem> out;
    if (!map.Box.Valid()) return out;
    const double w = map.W;
    const double m = d.Margin;
    const double k = map.PenScale;
    auto line = [&](double x0, double y0, double x1, double y1, double pen) {
        out.push_back(TSideLine{{x0, y0}, {x1, y1}, pen * k});
    };
    const double ground = map.Y(m);
    const double excavation = map.Y(m + d.FreeHeight);

    // Soil layers.
    if (d.ShowSoils) {
        double top = 0.0;
        for (size_t i = 0; i < d.Layers.size(); ++i) {
            const TSideViewData::TLayer& layer = d.Layers[i];
            if (i == 0) {
                line(0, ground, w / 2, ground, 1);
                if (d.BackfillSlope > 0.0) {
                    // The backfill rises away from the wall at its own angle.
                    const double rise =
                        std::round(w / 4 * std::tan(d.BackfillSlope * std::numbers::pi / 180.0));
                    line(w / 2, ground, w / 4, ground - rise, 1);
                } else if (d.BackfillSlope == 0.0) {
                    for (int s = 1; s <= 5; ++s)
                        line(20 * s + 100, ground, 20 * s + 115, ground + 5, 1);
                }
            }
            const double bottom = layer.Bottom + m;
            const double y = map.Y(bottom);
            line(0, y, bottom >= m + d.FreeHeight ? w : w / 2, y, 1);
            const double y_top = map.Y(top + m);
            out.push_back(TSideText{{0, y_top}, layer.Name});
            out.push_back(TSideText{{0, y_top + text_height}, layer.Properties});
            top = layer.Bottom;
        }
    }

    // The wall.
    if (d.HasStiffness) {
        const double t = d.FreeHeight * kWallThicknessShare;
        out.push_back(TSidePolygon{{{map.X(-t), map.Y(m)},
                                    {map.X(t), map.Y(m)},
                                    {map.X(t), map.Y(m + d.Length)},
                                    {map.X(-t), map.Y(m + d.Length)}}});
    }

    // Ground and excavation lines.
    line(0, ground, w / 2, ground, 1);
    line(w / 2, excavation, w, excavation, 1);

    // Restraints: an arrow head pointing at the wall from the right.
    if (d.Restraints) {
        for (const int node : d.RestraintNodes) {
            const double y = map.Y(node * d.Increment + m);
            line(w / 2, y, 0.52 * w, y, 2);
            line(w / 2, y, 0.52 * w, y - 0.01 * w, 2);
            line(w / 2, y, 0.52 * w, y + 0.01 * w, 2);
        }
    }

    // External p-y curve sets: a stroke from the wall and an arrow pointing away.
    if (d.ExternalPY) {
        for (const int node : d.PYNodes) {
            const double y = map.Y(node * d.Increment + m);
            line(w / 2, y, 0.45 * w, y, 2);
            line(0.43 * w, y, 0.38 * w, y, 2);
            line(0.38 * w, y, 0.4 * w, y - 0.01 * w, 2);
            line(0.38 * w, y, 0.4 * w, y + 0.01 * w, 2);
        }
    }

    // Springs above the excavation level.
    if (d.Springs) {
        for (const int node : d.SpringNodes) {
            const double depth = node * d.Increment + m;
            if (depth >= m + d.FreeHeight) continue;
            const double y = map.Y(depth);
            line(w / 2, y, 0.6 * w, y, 5);
        }
    }

    // Water tables: the retained side's left of the wall, the excavation side's
    // right of it, each a blue line under a small triangle.
    const TSideInk water = TSideInk::kWater;
    const auto water_table = [&](double depth, double x0, double x1) {
        const double world = depth + m;
        if (depth < 0.0 || world > map.Box.YMax) return;
        const double y = map.Y(world);
        out.push_back(TSideLine{{x0, y}, {x1, y}, 2 * k, water});
        const double xc = (x0 + x1) / 2;
        const double s = 0.012 * w;
        out.push_back(TSideLine{{xc - s, y - s}, {xc + s, y - s}, 1 * k, water});
        out.push_back(TSideLine{{xc - s, y - s}, {xc, y}, 1 * k, water});
        out.push_back(TSideLine{{xc + s, y - s}, {xc, y}, 1 * k, water});
        out.push_back(
            TSideText{{xc + 1.5 * s, y - s - text_height}, QStringLiteral("water"), water});
    };
    // They belong to the soil profile, which is drawn when it is in use.
    if (d.ShowSoils) {
        water_table(d.WaterBackfill, 0.25 * w, w / 2);
        water_table(d.WaterExcavation, w / 2, 0.75 * w);
    }

    // Tiebacks: from the wall into the retained side, down at their angle, the
    // unbonded length to the depth scale, then the bonded anchor drawn thick.
    const double per_world = map.Height / (map.Box.YMax - map.Box.YMin);
    for (const TSideViewData::TTieback& tie : d.Tiebacks) {
        const double y = map.Y(tie.Depth + m);
        const double a = tie.Angle * std::numbers::pi / 180.0;
        // Kept within the retained side's half of the picture.
        const double room = 0.45 * w / (4.0 / 3.0 * std::max(std::cos(a), 0.1));
        const double length = std::min(std::max(tie.Unbonded * per_world, 0.05 * w), room);
        const QPointF from(w / 2, y);
        const QPointF end(w / 2 - length * std::cos(a), y + length * std::sin(a));
        const QPointF anchor(end.x() - length / 3 * std::cos(a),
                             end.y() + length / 3 * std::sin(a));
        const TSideInk steel = TSideInk::kTieback;
        out.push_back(TSideLine{from, end, 2 * k, steel});
        out.push_back(TSideLine{end, anchor, 6 * k, steel});
    }

    // Depth scale at the right edge: depth below the wall's top in the unit the
    // tables show, ticks at a round step.
    if (d.HeldPerDepthUnit > 0.0) {
        const double top_depth = (map.Box.YMin - m) / d.HeldPerDepthUnit;
        const double bottom_depth = (map.Box.YMax - m) / d.HeldPerDepthUnit;
        const double span = bottom_depth - std::max(0.0, top_depth);
        if (span > 0.0) {
            const double raw = span / 8;
            const double power = std::pow(10.0, std::floor(std::log10(raw)));
            double step = power;
            for (const double f : {1.0, 2.0, 5.0, 10.0}) {
                step = f * power;
                if (step >= raw) break;
            }
            const double x = map.W - 8;
            const double y0 = map.Y(m);
            const double last = std::floor(bottom_depth / step) * step;
            out.push_back(TSideLine{{x, y0}, {x, map.Y(last * d.HeldPerDepthUnit + m)}, 1 * k});
            for (int i = 0;; ++i) {
                const double depth = i * step;
                if (depth > bottom_depth + 1e-9) break;
                const double y = map.Y(depth * d.HeldPerDepthUnit + m);
                out.push_back(TSideLine{{x - 6, y}, {x, y}, 1 * k});
                out.push_back(TSideText{{x - 8, y - text_height / 2},
                                        Number(depth) + QLatin1Char(' ') + d.DepthUnit,
                                        TSideInk::kText,
                                        true});
            }
        }
    }

    // Top view: the piles of width Wp at Wa centres.
    if (d.Wa > 0.0 && d.Wp > 0.0) {
        constexpr double kTopViewX = 400.0;
        constexpr double kTopViewY = 70.0;
        const double rx = d.Wp * map.Width / (map.Box.XMax - map.Box.XMin);
        const double ry = d.Wp * map.Height / (map.Box.YMax - map.Box.YMin);
        for (int i = 0; i < 5; ++i) {
            out.push_back(
                TSideEllipse{{map.X(kTopViewX), map.Y(kTopViewY + 2 * d.Wa * i)}, rx, ry, 2 * k});
        }
        out.push_back(TSideText{{map.X(kTopViewX) + 0.1 * 2 * rx, 5}, QStringLiteral("top view")});
        out.push_back(TSideText{{w / 2, 5}, QStringLiteral("side view")});
    }
    return out;
}

}  // namespace korvel
