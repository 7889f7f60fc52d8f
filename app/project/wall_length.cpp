#include "project/wall_length.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

#include "entry/table_definitions.h"
#include "entry/units.h"
#include "project/program_data.h"
#include "project/stage_files.h"
#include "project/wall_length_rules.h"

namespace korvel {
namespace {

constexpr double kInchesPerFoot = 12.0;  // English tables hold some depths in feet
constexpr double kPi = 3.1416;           // the engine's degree conversion for tieback angles
constexpr int kConstant = 1;             // "Use Constant Value for all Nodes on this Line"
constexpr int kInterpolate = 2;          // "Linear Interpolate to End Node of Next Line"

std::string Number(double v) {
    std::ostringstream out;
    out.precision(6);
    out << v;
    return out.str();
}

// Rows of a station table with FROM, TO, the interpolation choice and values.
void ResizeTable(TGridTable& table, int fromColumn, int toColumn, int interpolationColumn,
                 const std::vector<int>& valueColumns, int oldN, int newN) {
    std::vector<StationRow> rows;
    for (int row = 0; row < table.RowCount(); ++row) {
        StationRow r;
        r.from = table.Cell(fromColumn, row).AsInteger();
        r.to = table.Cell(toColumn, row).AsInteger();
        r.continued = table.Cell(interpolationColumn, row).AsInteger() == kInterpolate;
        for (int c : valueColumns)
            r.values.push_back(static_cast<double>(table.Cell(c, row).AsFloat()));
        rows.push_back(r);
    }
    const std::vector<StationRow> resized = ResizeStationRows(rows, oldN, newN);
    table.SetRowCount(0);
    table.SetRowCount(static_cast<int>(resized.size()));
    for (int row = 0; row < table.RowCount(); ++row) {
        const StationRow& r = resized[static_cast<size_t>(row)];
        table.Cell(fromColumn, row).SetAsInteger(r.from);
        table.Cell(toColumn, row).SetAsInteger(r.to);
        table.Cell(interpolationColumn, row).SetAsInteger(r.continued ? kInterpolate : kConstant);
        for (size_t i = 0; i < valueColumns.size(); ++i)
            table.Cell(valueColumns[i], row).SetAsFloat(r.values[i]);
    }
}

// Keeps the rows named by `points` (in their order, each first appearance of a
// source row in place, a repeated source as a copy appended at the end) of a
// table whose rows carry a sub-table in subColumn, and sets their stations.
void RearrangeCurveRows(TGridTable& table, int stationColumn, int subColumn,
                        const std::vector<StationPoint>& points,
                        const std::vector<int>& copiedColumns) {
    std::set<int> kept;
    std::vector<StationPoint> copies;
    for (const StationPoint& p : points) {
        if (!kept.insert(p.source).second) copies.push_back(p);
    }
    std::vector<int> newIndex(static_cast<size_t>(table.RowCount()), -1);
    int next = 0;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (kept.count(row)) newIndex[static_cast<size_t>(row)] = next++;
    }
    // Copies are made before any row goes, while their sources are still there.
    for (const StationPoint& p : copies) {
        table.AddRowGroup();
        const int to = table.RowCount() - 1;
        for (int c : copiedColumns) table.Cell(c, to).SetAsFloat(table.Cell(c, p.source).AsFloat());
        TGridTable* source = table.Cell(subColumn, p.source).AsTable();
        TGridTable* target = table.Cell(subColumn, to).AsTable();
        if (source && target) {
            target->SetRowCount(source->RowCount());
            for (int r = 0; r < source->RowCount(); ++r) {
                for (int c = 0; c < source->ColumnCount(); ++c)
                    target->Cell(c, r).SetAsFloat(source->Cell(c, r).AsFloat());
            }
        }
        table.Cell(stationColumn, to).SetAsInteger(p.station);
    }
    const int originalRows = static_cast<int>(newIndex.size());
    for (int row = originalRows - 1; row >= 0; --row) {
        if (newIndex[static_cast<size_t>(row)] < 0) table.DeleteRowGroup(row);
    }
    std::set<int> placed;
    for (const StationPoint& p : points) {
        if (!placed.insert(p.source).second) continue;
        table.Cell(stationColumn, newIndex[static_cast<size_t>(p.source)]).SetAsInteger(p.station);
    }
}

void ResizeDepthTable(TGridTable& table, double oldLength, double newLength) {
    std::vector<DepthRow> rows;
    for (int row = 0; row < table.RowCount(); ++row) {
        rows.push_back({static_cast<double>(table.Cell(0, row).AsFloat()),
                        static_cast<double>(table.Cell(1, row).AsFloat())});
    }
    const std::vector<DepthRow> resized = ResizeDepthProfile(rows, oldLength, newLength);
    table.SetRowCount(0);
    table.SetRowCount(static_cast<int>(resized.size()));
    for (int row = 0; row < table.RowCount(); ++row) {
        table.Cell(0, row).SetAsFloat(resized[static_cast<size_t>(row)].depth);
        table.Cell(1, row).SetAsFloat(resized[static_cast<size_t>(row)].value);
    }
}

}  // namespace

SectionOutline OutlineOf(const TProgramData& project) {
    return {project.Increments, static_cast<double>(project.IncrementLength),
            static_cast<double>(project.FreeHeight)};
}

VariantSection ApplyWallLength(TProgramData& project, double length, double deepestWall,
                               std::vector<std::string>& notes, const std::string& where) {
    TProgramData& p = project;
    TProgramTables& t = p.Tables();
    const double feet = p.UnitSystem() == kEnglishUnits ? kInchesPerFoot : 1.0;
    const double h = static_cast<double>(p.IncrementLength);
    const int oldN = p.Increments;
    if (h <= 0.0) throw EWallLengthError(where + "the increment length is not above 0");
    const int newN = IncrementsFor(length, h);
    if (newN < 1)
        throw EWallLengthError(where + "a length of " + Number(length) + " is not one increment");
    const double newLength = newN * h;
    const auto note = [&](const std::string& text) { notes.push_back(where + text); };
    if (std::abs(newLength - length) > 1e-9 * std::max(1.0, length)) {
        note("length " + Number(length) + " rounded to " + std::to_string(newN) +
             " increments of " + Number(h) + " = " + Number(newLength));
    }
    p.Increments = newN;

    if (p.ApplyRestraints) {
        TGridTable& table = *t.Soillayer;
        std::vector<int> stations;
        for (int row = 0; row < table.RowCount(); ++row)
            stations.push_back(table.Cell(1, row).AsInteger());
        const std::vector<StationPoint> kept = ResizeRestraints(stations, oldN, newN);
        struct Row {
            int kind;
            int station;
            long double deflection, slope;
        };
        std::vector<Row> rows;
        for (const StationPoint& k : kept) {
            rows.push_back({table.Cell(0, k.source).AsInteger(), k.station,
                            table.Cell(2, k.source).AsFloat(), table.Cell(3, k.source).AsFloat()});
        }
        if (rows.size() < stations.size()) note("restraints below the toe left out");
        table.SetRowCount(0);
        table.SetRowCount(static_cast<int>(rows.size()));
        for (int row = 0; row < table.RowCount(); ++row) {
            const Row& r = rows[static_cast<size_t>(row)];
            table.Cell(0, row).SetAsInteger(r.kind);
            table.Cell(1, row).SetAsInteger(r.station);
            table.Cell(2, row).SetAsFloat(r.deflection);
            table.Cell(3, row).SetAsFloat(r.slope);
        }
    }
    ResizeTable(*t.PileSect, 0, 1, 2, {3}, oldN, newN);
    if (p.ApplyConcentratedLoads) ResizeTable(*t.BoundCond, 1, 2, 0, {3, 4, 5}, oldN, newN);
    if (p.ApplySprings) ResizeTable(*t.SoilStrength, 1, 2, 0, {3, 4}, oldN, newN);

    VariantSection section;
    if (p.ApplyTiebacks) {
        TGridTable& table = *t.TiebackTable1;
        const double wa = static_cast<double>(p.Wa);
        for (int row = table.RowCount() - 1; row >= 0; --row) {
            const double depth = static_cast<double>(table.Cell(0, row).AsFloat()) * feet;
            const int station = static_cast<int>(std::lround(depth / h));
            if (station > newN) {
                note("a tieback at " + Number(depth) + " below the toe left out");
                table.DeleteRowGroup(row);
                continue;
            }
            const double area = static_cast<double>(table.Cell(1, row).AsFloat());
            const double modulus = static_cast<double>(table.Cell(2, row).AsFloat());
            const double unbonded = static_cast<double>(table.Cell(3, row).AsFloat()) * feet;
            const double angle = static_cast<double>(table.Cell(4, row).AsFloat()) * kPi / 180.0;
            const double spacing = static_cast<double>(table.Cell(5, row).AsFloat()) * feet;
            const double stiffness = area * modulus * std::cos(angle) / ((spacing / wa) * unbonded);
            section.tiebacks.insert(section.tiebacks.begin(), {station, stiffness});
        }
    }
    if (UsesUserEarthPressure(p)) {
        ResizeDepthTable(*t.DistLoad, oldN * h / feet, newLength / feet);
        if (p.LongTermAnalysis) ResizeDepthTable(*t.LongDist, oldN * h / feet, newLength / feet);
    }
    if (p.ApplyExternalPYCurves) {
        TGridTable& sets = *t.PYCurves2;
        std::vector<int> stations;
        for (int row = 0; row < sets.RowCount(); ++row)
            stations.push_back(sets.Cell(0, row).AsInteger());
        RearrangeCurveRows(sets, 0, 1, ResizeCurveSets(stations, oldN, newN), {2, 3});
    }
    if (p.ApplyEICurves) {
        TGridTable& curves = *t.MEICurves2;
        std::vector<StationRow> rows;
        for (int row = 0; row < curves.RowCount(); ++row)
            rows.push_back(
                {curves.Cell(0, row).AsInteger(), curves.Cell(1, row).AsInteger(), false, {}, row});
        std::vector<StationPoint> points;
        const std::vector<StationRow> resized = ResizeStationRows(rows, oldN, newN);
        for (const StationRow& r : resized) points.push_back({r.source, r.from});
        RearrangeCurveRows(curves, 0, 2, points, {});
        for (int row = 0; row < curves.RowCount(); ++row)
            curves.Cell(1, row).SetAsInteger(resized[static_cast<size_t>(row)].to);
    }
    if (GeneratesEarthPressure(p) || p.GeneratePYCurves) {
        // The curve generator cuts the soil at two increments below the toe.
        const double needed = IncrementsFor(deepestWall, h) * h + 2.0 * h;
        for (TGridTable* soils :
             {t.NewSoil.get(), p.LongTermAnalysis ? t.LongSoil.get() : nullptr}) {
            if (!soils || soils->RowCount() == 0) continue;
            const int last = soils->RowCount() - 1;
            const double bottom = static_cast<double>(soils->Cell(1, last).AsFloat()) * feet;
            if (bottom >= needed) continue;
            soils->Cell(1, last).SetAsFloat(needed / feet);
            note(std::string(soils == t.LongSoil.get() ? "long-term " : "") +
                 "last soil layer extended from " + Number(bottom) + " to " + Number(needed) +
                 " below the top, as deep as the p-y curves of the longest wall reach");
        }
    }
    section.outline = OutlineOf(p);
    return section;
}

std::string CheckStudyLengths(const std::vector<double>& lengths,
                              const std::vector<SectionOutline>& sections, int maxIncrements) {
    for (const double length : lengths) {
        for (size_t k = 0; k < sections.size(); ++k) {
            const SectionOutline& s = sections[k];
            const std::string which =
                sections.size() > 1 ? " of section " + std::to_string(k + 1) : "";
            if (s.incrementLength <= 0.0) return "the increment length" + which + " is not above 0";
            const int n = IncrementsFor(length, s.incrementLength);
            if (length <= s.freeHeight || n * s.incrementLength <= s.freeHeight) {
                return "a length of " + Number(length) + " is not above the free height " +
                       Number(s.freeHeight) + which;
            }
            if (n > maxIncrements) {
                return "a length of " + Number(length) + " needs " + std::to_string(n) +
                       " increments of " + Number(s.incrementLength) + which + "; at most " +
                       std::to_string(maxIncrements);
            }
        }
    }
    return {};
}

std::vector<std::string> SetWallLength(TProgramData& project, double length, double deepestWall) {
    std::vector<std::string> notes;
    const int stages = project.StageCount;
    if (stages <= 1 || project.LongTermAnalysis) {
        ApplyWallLength(project, length, deepestWall, notes);
    } else {
        // Each stage is changed while it is the current one; switching writes it
        // to its stage file, and the stage the user was on comes back at the end.
        const int current = project.CurrentStage;
        for (int stage = 1; stage <= stages; ++stage) {
            if (stage != project.CurrentStage) SwitchToStage(project, stage);
            ApplyWallLength(project, length, deepestWall, notes,
                            "stage " + std::to_string(stage) + ": ");
        }
        if (project.CurrentStage != current) SwitchToStage(project, current);
    }
    project.SetModified(true);
    Q_EMIT project.valuesChanged();
    return notes;
}

}  // namespace korvel
