#include "report/calc_report.h"

#include <cmath>

#include "dialogs/dialog_units.h"
#include "entry/grid_table.h"
#include "entry/number_format.h"
#include "entry/units.h"
#include "project/program_data.h"
#include "project/stage_files.h"

namespace korvel {
namespace {

// Significant digits of the input values in the tables (the table windows show
// up to eight; six keep the columns narrow without losing an entered figure).
constexpr int kInputDigits = 6;
// The report prints E12.3: three significant digits.
constexpr int kReportDigits = 3;
// The engine turns the tieback angle into radians with this value of pi.
constexpr double kPi = 3.1416;

QString Shown(long double held, const char* label, int system) {
    return FormatGeneral(ShownValue(held, QLatin1String(label), system), kInputDigits);
}

QString Unit(const char* label, int system) {
    return UnitText(QLatin1String(label), system, TUnitTextRule::kColumn);
}

// A two-column table of named values.
struct TValueTable {
    TReportTable Table;
    explicit TValueTable(const QString& caption) {
        Table.Caption = caption;
        Table.Header = {
            {QStringLiteral("Item")}, {QStringLiteral("Value")}, {QStringLiteral("Unit")}};
    }
    void Add(const QString& item, const QString& value, const QString& unit = {}) {
        Table.Rows.push_back({item, value, unit});
    }
};

QString YesNo(bool on) {
    return on ? QStringLiteral("yes") : QStringLiteral("no");
}

QString UnitSystemName(int system) {
    switch (system) {
        case 1:
            return QStringLiteral("English (lbs, in, ft)");
        case 2:
            return QStringLiteral("SI (kN, m)");
        default:
            return QStringLiteral("Other (consistent F and L)");
    }
}

QString EarthPressureName(int option) {
    switch (option) {
        case 1:
            return QStringLiteral("distributed load specified by the user");
        case 2:
            return QStringLiteral("triangular distribution generated from the soil layers");
        case 3:
            return QStringLiteral("trapezoidal distribution generated from the soil layers");
        default:
            return QStringLiteral("none");
    }
}

QString PYCurveName(int option) {
    switch (option) {
        case 1:
            return QStringLiteral("p-y curves given by the user only");
        case 2:
            return QStringLiteral("generated from the soil layers");
        case kPYCurvesAtEveryStation:
            return QStringLiteral("generated from the soil layers at every station");
        default:
            return QStringLiteral("none");
    }
}

// Soil layers with the parameters at the top and the bottom of each layer: a
// table per layer, since each soil type has its own parameters.
void AddSoilTables(TGridTable& soils, std::vector<TReportTable>& out, const QString& caption) {
    const TReportTable layers = GridTableReport(soils, caption);
    if (layers.Empty()) return;
    out.push_back(layers);
    const auto& type_column = static_cast<const TEnumColumn&>(soils.Column(0));
    for (int row = 0; row < soils.RowCount(); ++row) {
        TGridTable* params = soils.Cell(2, row).AsTable();
        if (!params) continue;
        const int type = soils.Cell(0, row).AsInteger();
        const QString type_name = type >= 1 && type <= type_column.Items.size()
                                      ? type_column.Items[type - 1]
                                      : QString::number(type);
        TReportTable t = GridTableReport(
            *params, QStringLiteral("Layer %1: %2, parameters").arg(row + 1).arg(type_name));
        t.Header.insert(t.Header.begin(), QStringList{QStringLiteral("Position")});
        for (size_t r = 0; r < t.Rows.size(); ++r)
            t.Rows[r].prepend(r == 0 ? QStringLiteral("Top") : QStringLiteral("Bottom"));
        out.push_back(t);
    }
}

// The curve tables: their scalar columns and the number of points of each curve.
TReportTable CurveTableReport(TGridTable& table, const QString& caption) {
    TReportTable t = GridTableReport(table, caption);
    int curve_column = -1;
    for (int c = 0; c < table.ColumnCount(); ++c) {
        if (table.Column(c).Kind() == TColumnKind::kTable) curve_column = c;
    }
    if (curve_column < 0) return t;
    t.Header.push_back({QStringLiteral("Points")});
    for (int row = 0; row < table.RowCount() && row < static_cast<int>(t.Rows.size()); ++row) {
        TGridTable* curve = table.Cell(curve_column, row).AsTable();
        t.Rows[static_cast<size_t>(row)].append(QString::number(curve ? curve->RowCount() : 0));
    }
    return t;
}

void AddIfAny(std::vector<TReportTable>& out, TReportTable table) {
    if (!table.Empty()) out.push_back(std::move(table));
}

// The curve tables with the points of every curve, each in a table of its own.
void AddCurveTables(TGridTable& table, const QString& caption, const QString& one,
                    std::vector<TReportTable>& out) {
    TReportTable list = CurveTableReport(table, caption);
    if (list.Empty()) return;
    out.push_back(list);
    for (int c = 0; c < table.ColumnCount(); ++c) {
        if (table.Column(c).Kind() != TColumnKind::kTable) continue;
        for (int row = 0; row < table.RowCount(); ++row) {
            TGridTable* curve = table.Cell(c, row).AsTable();
            if (!curve || curve->RowCount() == 0) continue;
            QString where;
            if (row < static_cast<int>(list.Rows.size()) && !list.Rows[size_t(row)].isEmpty() &&
                !list.Header.empty()) {
                where = QStringLiteral(" (") + list.Header.front().join(QLatin1Char(' ')) +
                        QStringLiteral(" ") + list.Rows[size_t(row)].front() + QStringLiteral(")");
            }
            AddIfAny(out, GridTableReport(
                              *curve,
                              QStringLiteral("%1 %2%3: points").arg(one).arg(row + 1).arg(where)));
        }
    }
}

// Tieback rows in the table's columns: depth, steel area, steel modulus, unbonded
// length, angle, spacing.
std::vector<TTiebackInput> TiebackInputs(TGridTable& table) {
    std::vector<TTiebackInput> out;
    for (int row = 0; row < table.RowCount(); ++row) {
        TTiebackInput in;
        double* fields[] = {&in.Depth,          &in.SteelArea, &in.SteelModulus,
                            &in.UnbondedLength, &in.Angle,     &in.Spacing};
        for (int c = 0; c < 6; ++c) *fields[c] = static_cast<double>(table.Cell(c, row).AsFloat());
        out.push_back(in);
    }
    return out;
}

}  // namespace

QString ReportNumber(double value) {
    return FormatGeneral(value, kReportDigits);
}

TReportTable GridTableReport(TGridTable& table, const QString& caption) {
    TReportTable t;
    t.Caption = caption;
    std::vector<int> columns;
    for (int c = 0; c < table.ColumnCount(); ++c) {
        const TGridColumn& column = table.Column(c);
        if (!column.Visible || column.Kind() == TColumnKind::kTable) continue;
        columns.push_back(c);
        QStringList header;
        for (const QString& line : table.HeaderLines(c)) header << line.trimmed();
        t.Header.push_back(header);
    }
    for (int row = 0; row < table.RowCount(); ++row) {
        QStringList cells;
        for (int c : columns) {
            const TGridColumn& column = table.Column(c);
            TData cell = table.Cell(c, row);
            switch (column.Kind()) {
                case TColumnKind::kEnum: {
                    const QStringList& items = static_cast<const TEnumColumn&>(column).Items;
                    const int v = cell.AsInteger();
                    cells << (v >= 1 && v <= items.size() ? items[v - 1] : QString::number(v));
                    break;
                }
                case TColumnKind::kFloat:
                    cells << FormatGeneral(cell.AsFloat(), kInputDigits);
                    break;
                default:
                    cells << cell.AsString();
            }
        }
        t.Rows.push_back(cells);
    }
    return t;
}

TInputSummary SummariseInput(TProgramData& p, const QString& heading, bool long_term) {
    TInputSummary s;
    s.Heading = heading;
    const int u = p.UnitSystem();
    s.UnitSystem = u;
    s.IncrementLength = static_cast<double>(p.IncrementLength);
    s.Wa = static_cast<double>(p.Wa);
    s.FreeHeight = static_cast<double>(p.FreeHeight);
    s.UserPressure = p.EarthPressureOption == 1;
    TProgramTables& t = p.Tables();

    const bool soils_used = p.EarthPressureOption >= 2 || p.PYCurveOption == 2 ||
                            p.PYCurveOption == kPYCurvesAtEveryStation;
    if (long_term) {
        // The long-term section differs from the first only in its soils and user pressure.
        if (soils_used)
            AddSoilTables(*t.LongSoil, s.Tables, QStringLiteral("Soil layers (long term)"));
        if (p.EarthPressureOption == 1) {
            AddIfAny(s.Tables,
                     GridTableReport(*t.LongDist,
                                     QStringLiteral("Distributed earth pressure (long term)")));
        }
        if (p.ApplyTiebacks) s.Tiebacks = TiebackInputs(*t.TiebackTable1);
        return s;
    }

    TValueTable wall(QStringLiteral("Wall"));
    wall.Add(QStringLiteral("Increments (nodes)"), QString::number(p.Increments));
    wall.Add(QStringLiteral("Increment length"), Shown(p.IncrementLength, "L", u), Unit("L", u));
    wall.Add(QStringLiteral("Wall length"), Shown(p.Increments * p.IncrementLength, "L2", u),
             Unit("L2", u));
    wall.Add(QStringLiteral("Free height of wall, H"), Shown(p.FreeHeight, "L2", u), Unit("L2", u));
    wall.Add(QStringLiteral("Maximum allowable deflection"), Shown(p.MaxDeflection, "L", u),
             Unit("L", u));
    wall.Add(QStringLiteral("Deflection closure tolerance"), Shown(p.ClosureTolerance, "L", u),
             Unit("L", u));
    s.Tables.push_back(wall.Table);
    AddIfAny(s.Tables, GridTableReport(*t.PileSect, QStringLiteral("Wall stiffness")));

    if (soils_used) {
        TValueTable geometry(QStringLiteral("Wall configuration"));
        geometry.Add(QStringLiteral("Width for active earth pressure, Wa"), Shown(p.Wa, "L", u),
                     Unit("L", u));
        geometry.Add(QStringLiteral("Width for p-y soil resistance, Wp"), Shown(p.Wp, "L", u),
                     Unit("L", u));
        geometry.Add(QStringLiteral("Water table depth, backfill side, DWb"),
                     Shown(p.WaterDepthBackfill, "L2", u), Unit("L2", u));
        geometry.Add(QStringLiteral("Water table depth, excavation side, DWe"),
                     Shown(p.WaterDepthExcavation, "L2", u), Unit("L2", u));
        geometry.Add(QStringLiteral("Modification factor for active earth pressure"),
                     Shown(p.ActivePressureFactor, "", u));
        geometry.Add(QStringLiteral("Slope of the backfill, Beta"), Shown(p.BackfillSlope, "", u),
                     QStringLiteral("deg."));
        geometry.Add(QStringLiteral("Uniform load at the top of the backfill"),
                     Shown(p.UniformSurcharge, "F/L2^2", u), Unit("F/L2^2", u));
        s.Tables.push_back(geometry.Table);
        AddSoilTables(*t.NewSoil, s.Tables, QStringLiteral("Soil layers"));
    } else {
        // Without soil layers the width Wa still scales the tieback springs.
        TValueTable geometry(QStringLiteral("Wall configuration"));
        geometry.Add(QStringLiteral("Width for active earth pressure, Wa"), Shown(p.Wa, "L", u),
                     Unit("L", u));
        geometry.Table.Note = QStringLiteral(
            "The p-y curves are the user's; Wa sets the share of a tieback's stiffness that one "
            "width of wall receives (s / Wa).");
        s.Tables.push_back(geometry.Table);
    }

    TValueTable pressure(QStringLiteral("Earth pressure"));
    pressure.Add(QStringLiteral("Earth pressure"), EarthPressureName(p.EarthPressureOption));
    s.Tables.push_back(pressure.Table);
    if (p.EarthPressureOption == 1) {
        AddIfAny(s.Tables,
                 GridTableReport(*t.DistLoad, QStringLiteral("Distributed earth pressure")));
    }
    if (p.ApplySurcharges && soils_used)
        AddIfAny(s.Tables, GridTableReport(*t.SurchargeTable, QStringLiteral("Surcharges")));
    if (p.ApplyConcentratedLoads)
        AddIfAny(s.Tables, GridTableReport(*t.BoundCond, QStringLiteral("Concentrated loads")));
    if (p.ApplyTiebacks) {
        AddIfAny(s.Tables, GridTableReport(*t.TiebackTable1, QStringLiteral("Tiebacks")));
        s.Tiebacks = TiebackInputs(*t.TiebackTable1);
    }
    if (p.ApplySprings) {
        AddIfAny(s.Tables, GridTableReport(*t.SoilStrength,
                                           QStringLiteral("Lateral and rotational springs")));
    }
    if (p.ApplyRestraints) {
        AddIfAny(s.Tables,
                 GridTableReport(*t.Soillayer, QStringLiteral("Specified deflections and slopes")));
    }
    if (p.ApplyPYModification) {
        AddIfAny(s.Tables, GridTableReport(*t.PYMod, QStringLiteral("p-y modification factors")));
    }
    if (p.ApplyExternalPYCurves) {
        AddCurveTables(*t.PYCurves2, QStringLiteral("User p-y curves"),
                       QStringLiteral("User p-y curve"), s.Tables);
    }
    if (p.ApplyEICurves) {
        AddCurveTables(*t.MEICurves2, QStringLiteral("Moment-EI curves"),
                       QStringLiteral("Moment-EI curve"), s.Tables);
    }

    TValueTable options(QStringLiteral("Options"));
    options.Add(QStringLiteral("Unit system"), UnitSystemName(u));
    options.Add(QStringLiteral("p-y curves"), PYCurveName(p.PYCurveOption));
    options.Add(QStringLiteral("Long-term analysis"), YesNo(p.LongTermAnalysis));
    options.Add(QStringLiteral("Construction stages"), QString::number(p.StageCount));
    s.Tables.push_back(options.Table);
    return s;
}

std::vector<TInputSummary> SummariseProjectInputs(TProgramData& project, const QString& copy) {
    std::vector<TInputSummary> inputs;
    if (project.StageCount > 1) {
        const int stages = project.StageCount;
        SplitDataFile(copy, stages);
        for (int stage = 1; stage <= stages; ++stage) {
            if (stage > 1) LoadStage(project, stage);
            inputs.push_back(SummariseInput(project, QStringLiteral("Stage %1").arg(stage), false));
        }
        return inputs;
    }
    inputs.push_back(SummariseInput(project, QString(), false));
    if (project.LongTermMarker == 9) {
        inputs.push_back(SummariseInput(project, QStringLiteral("Long-term analysis"), true));
    }
    return inputs;
}

TTiebackForce TiebackForce(const TTiebackInput& t, const TInputSummary& in,
                           const TReportSection& results) {
    // Tieback depth, length and spacing are entered in feet against h in inches.
    const double to_base = in.UnitSystem == kEnglishUnits ? 12.0 : 1.0;
    TTiebackForce f;
    if (!(in.IncrementLength > 0)) return f;
    f.Station = static_cast<int>(std::lround(to_base * t.Depth / in.IncrementLength));
    for (const TStationRow& row : results.Rows) {
        if (row.Station == f.Station) f.Deflection = row.Deflection;
    }
    const double radians = t.Angle * kPi / 180.0;
    const double spacing_share = in.Wa > 0 ? to_base * t.Spacing / in.Wa : 0;
    const double denominator = spacing_share * (to_base * t.UnbondedLength);
    if (!(denominator > 0)) return f;
    const double spring = t.SteelArea * t.SteelModulus * std::cos(radians) / denominator;
    f.Lateral = spring * f.Deflection;
    const double cosine = std::cos(radians);
    f.AlongRod = std::abs(cosine) > 1e-12 ? f.Lateral * spacing_share / cosine : 0;
    return f;
}

TResultUnits ResultUnitsFor(const TReportUnits& report) {
    TResultUnits u;
    u.Slope = QStringLiteral("rad");
    const QString length = report.Length.simplified().remove(QLatin1Char(' '));
    const QString force = report.Shear.simplified().remove(QLatin1Char(' '));
    if (length == QLatin1String("IN") && force == QLatin1String("LBS")) {
        u.Depth = QStringLiteral("ft");
        u.DepthFactor = 1.0 / 12.0;
        u.Deflection = QStringLiteral("in");
        u.Moment = QStringLiteral("kip-in");
        u.MomentFactor = 1e-3;
        u.Force = QStringLiteral("kips");
        u.ForceFactor = 1e-3;
        u.Stiffness = QStringLiteral("kip-in²");
        u.StiffnessFactor = 1e-3;
    } else if (length == QLatin1String("M") && force == QLatin1String("KN")) {
        u.Depth = QStringLiteral("m");
        u.Deflection = QStringLiteral("m");
        u.Moment = QStringLiteral("kN-m");
        u.Force = QStringLiteral("kN");
        u.Stiffness = QStringLiteral("kN-m²");
    } else {
        // Any consistent units: the report's own labels, without their blanks.
        const auto plain = [](const QString& t) {
            return QString(t)
                .remove(QLatin1Char(' '))
                .replace(QLatin1String("**2"), QStringLiteral("²"));
        };
        u.Depth = plain(report.Length);
        u.Deflection = plain(report.Deflection);
        u.Moment = plain(report.Moment);
        u.Force = plain(report.Shear);
        u.Stiffness = plain(report.Stiffness);
    }
    return u;
}

QString DepthNumber(double value) {
    return FormatGeneral(value, 5);
}

QString ReportNumber(double value, double column_magnitude) {
    // Three significant digits: anything below a millionth of the column's
    // largest value is rounding noise of the solver.
    if (std::abs(value) <= 1e-6 * std::abs(column_magnitude)) return QStringLiteral("0");
    return ReportNumber(value);
}

QStringList CollectedWarnings(const TCalcReport& report) {
    QStringList out;
    for (const TSectionReport& s : report.Sections) {
        for (const QString& p : s.Problems) out << s.Heading + QStringLiteral(": ") + p;
        for (const QString& w : s.Warnings) out << s.Heading + QStringLiteral(": warning: ") + w;
        for (const QString& e : s.Errors) out << s.Heading + QStringLiteral(": error: ") + e;
    }
    return out;
}

namespace {

double Magnitude(const TReportSection& s, double TStationRow::*member) {
    double m = 0;
    for (const TStationRow& r : s.Rows) m = std::max(m, std::abs(r.*member));
    return m;
}

// Rows of the maxima table: the largest positive and the largest negative value
// of a quantity, each with its depth; a dash where the quantity has no value of
// that sign.
void AddExtremes(TReportTable& t, const QString& name, const QString& unit,
                 const TSignedExtremes& e, double factor, double depth_factor, double magnitude) {
    const QString none = QStringLiteral("–");
    const bool positive = e.Any && e.Max.Value > 1e-6 * magnitude;
    const bool negative = e.Any && e.Min.Value < -1e-6 * magnitude;
    t.Rows.push_back({name, unit, positive ? ReportNumber(factor * e.Max.Value) : none,
                      positive ? DepthNumber(depth_factor * e.Max.Depth) : none,
                      negative ? ReportNumber(factor * e.Min.Value) : none,
                      negative ? DepthNumber(depth_factor * e.Min.Depth) : none});
}

}  // namespace

double PressureLoad(const TPressureRows& rows, double h, int station) {
    if (rows.empty() || !(h > 0) || station < 1) return 0;
    const int last = static_cast<int>(std::lround(rows.back().first / h));
    if (station > last) return 0;
    double load = 0;
    for (int k = 1; k <= std::min(station, last); ++k) {
        const double x = k * h;
        size_t i = 0;
        while (i < rows.size() && x > rows[i].first) ++i;
        if (i == rows.size()) continue;  // no row at or below: the load of the station above
        if (i == 0) {
            load = rows[0].second;
            continue;
        }
        const auto& [d0, p0] = rows[i - 1];
        const auto& [d1, p1] = rows[i];
        load = d1 > d0 ? p0 + (x - d0) * (p1 - p0) / (d1 - d0) : p1;
    }
    return load * h;
}

std::vector<TSectionReport> SummariseSections(const TReportRun& run,
                                              const std::vector<TInputSummary>& inputs, bool staged,
                                              const std::vector<TPressureRows>& pressures) {
    std::vector<TSectionReport> out;
    for (size_t i = 0; i < run.Sections.size(); ++i) {
        const TReportSection& s = run.Sections[i];
        TSectionReport r;
        if (staged) {
            r.Heading = QStringLiteral("Stage %1").arg(i + 1);
        } else if (run.Sections.size() > 1) {
            r.Heading = i == 0 ? QStringLiteral("Short-term analysis")
                               : QStringLiteral("Long-term analysis");
        } else {
            r.Heading = QStringLiteral("Analysis");
        }
        r.Ending = SolutionEnding(s);
        r.Problems = ResultProblems(s);
        r.Warnings = s.Warnings;
        r.Errors = s.Errors;
        if (!s.HasResults) {
            out.push_back(r);
            continue;
        }
        const TResultUnits u = ResultUnitsFor(s.Units);
        const TInputSummary* in =
            inputs.empty() ? nullptr : &inputs[std::min(i, inputs.size() - 1)];
        // Tieback stations carry the anchor's force in their net reaction.
        std::vector<TTiebackForce> forces;
        std::vector<int> anchored;
        if (in) {
            for (const TTiebackInput& t : in->Tiebacks) {
                forces.push_back(TiebackForce(t, *in, s));
                anchored.push_back(forces.back().Station);
            }
        }
        const double dm = Magnitude(s, &TStationRow::Deflection);
        const double mm = Magnitude(s, &TStationRow::Moment);
        const double vm = Magnitude(s, &TStationRow::Shear);
        const double pm = Magnitude(s, &TStationRow::Reaction);

        r.Maxima.Caption = QStringLiteral("Extreme values");
        const QString at = QStringLiteral("at depth (%1)").arg(u.Depth);
        r.Maxima.Header = {{QStringLiteral("Quantity")},
                           {QStringLiteral("Unit")},
                           {QStringLiteral("Largest"), QStringLiteral("positive")},
                           {at},
                           {QStringLiteral("Largest"), QStringLiteral("negative")},
                           {at}};
        AddExtremes(r.Maxima, QStringLiteral("Deflection"), u.Deflection,
                    SignedExtremes(s, &TStationRow::Deflection), u.DeflectionFactor, u.DepthFactor,
                    dm);
        AddExtremes(r.Maxima, QStringLiteral("Bending moment"), u.Moment,
                    SignedExtremes(s, &TStationRow::Moment), u.MomentFactor, u.DepthFactor, mm);
        AddExtremes(r.Maxima, QStringLiteral("Shear"), u.Force,
                    SignedExtremes(s, &TStationRow::Shear), u.ForceFactor, u.DepthFactor, vm);
        AddExtremes(r.Maxima, QStringLiteral("Net reaction per station (NET REACT/STA)"), u.Force,
                    SignedExtremes(s, &TStationRow::Reaction), u.ForceFactor, u.DepthFactor, pm);
        if (in && in->IncrementLength > 0) {
            // Below the excavation level no earth pressure is applied as a load
            // (with generated pressures), so there the net reaction is the soil's.
            const int excavation =
                static_cast<int>(std::lround(in->FreeHeight / in->IncrementLength));
            // A user pressure table may reach below it: its loads come off.
            TReportSection soil = s;
            if (in->UserPressure && i < pressures.size()) {
                for (TStationRow& row : soil.Rows)
                    row.Reaction -= PressureLoad(pressures[i], in->IncrementLength, row.Station);
            }
            AddExtremes(r.Maxima, QStringLiteral("Soil reaction per station below the excavation"),
                        u.Force,
                        SignedExtremes(soil, &TStationRow::Reaction, excavation + 1, anchored),
                        u.ForceFactor, u.DepthFactor, pm);
        }
        r.Maxima.Note = QStringLiteral(
            "The net reaction per station is the lateral force a station receives from the soil, "
            "the earth pressure, tiebacks, springs and loads together, as the output report "
            "prints it (NET REACT/STA). The soil reaction below the excavation level is the net "
            "reaction less the earth pressure load there, stations with a tieback left out.");

        r.Stations.Caption = QStringLiteral("Results by station");
        r.Stations.Header = {{QStringLiteral("Station")},
                             {QStringLiteral("Depth x"), u.Depth},
                             {QStringLiteral("Deflection"), u.Deflection},
                             {QStringLiteral("Slope"), u.Slope},
                             {QStringLiteral("Moment"), u.Moment},
                             {QStringLiteral("Shear"), u.Force},
                             {QStringLiteral("Net reaction"), u.Force},
                             {QStringLiteral("EI"), u.Stiffness}};
        const double sm = Magnitude(s, &TStationRow::Slope);
        for (const TStationRow& row : s.Rows) {
            r.Stations.Rows.push_back(
                {QString::number(row.Station), DepthNumber(u.DepthFactor * row.X),
                 ReportNumber(u.DeflectionFactor * row.Deflection, u.DeflectionFactor * dm),
                 ReportNumber(row.Slope, sm),
                 ReportNumber(u.MomentFactor * row.Moment, u.MomentFactor * mm),
                 ReportNumber(u.ForceFactor * row.Shear, u.ForceFactor * vm),
                 ReportNumber(u.ForceFactor * row.Reaction, u.ForceFactor * pm),
                 ReportNumber(u.StiffnessFactor * row.EI)});
        }
        if (!forces.empty()) {
            r.TiebackForces.Caption = QStringLiteral("Tieback forces");
            r.TiebackForces.Header = {{QStringLiteral("Tieback")},
                                      {QStringLiteral("Station")},
                                      {QStringLiteral("Depth"), u.Depth},
                                      {QStringLiteral("Deflection"), u.Deflection},
                                      {QStringLiteral("Force on the wall"), u.Force},
                                      {QStringLiteral("Force per anchor"), u.Force}};
            for (size_t k = 0; k < forces.size(); ++k) {
                const TTiebackForce& f = forces[k];
                double depth = f.Station * in->IncrementLength;
                for (const TStationRow& row : s.Rows) {
                    if (row.Station == f.Station) depth = row.X;
                }
                r.TiebackForces.Rows.push_back({QString::number(k + 1), QString::number(f.Station),
                                                DepthNumber(u.DepthFactor * depth),
                                                ReportNumber(u.DeflectionFactor * f.Deflection),
                                                ReportNumber(u.ForceFactor * f.Lateral),
                                                ReportNumber(u.ForceFactor * f.AlongRod)});
            }
            r.TiebackForces.Note = QStringLiteral(
                "Force on the wall: the tieback's spring stiffness A E cos(angle) / "
                "((s / Wa) L) times the deflection at its station, for the width Wa; per anchor: "
                "times s / Wa, along the rod.");
        }
        out.push_back(r);
    }
    return out;
}

}  // namespace korvel
