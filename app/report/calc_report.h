// The content of the calculation report, built from the project model (inputs,
// shown in the project's units exactly as the tables and dialogs show them) and
// from the output report (how each section ended, its maxima and its station
// table, in the report's units). Model code: nothing is drawn here; the PDF
// writer (report/pdf_report.h) lays this content out on pages.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "report/plot_py_sets.h"
#include "report/report_reader.h"

namespace korvel {

class TGridTable;
class TProgramData;

// A table of texts: per column its header lines, per row one text per column.
struct TReportTable {
    QString Caption;
    std::vector<QStringList> Header;
    std::vector<QStringList> Rows;
    QString Note;  // a line under the table
    bool Empty() const { return Rows.empty(); }
};

// A tieback as the engine turns it into a lateral spring (held values, the
// depth, unbonded length and spacing in ft in English units, m in SI).
struct TTiebackInput {
    double Depth = 0;
    double SteelArea = 0;
    double SteelModulus = 0;
    double UnbondedLength = 0;
    double Angle = 0;  // degrees from horizontal
    double Spacing = 0;
};

// The inputs of one section kind: the first (or only) analysis, one stage, or the
// long-term case (which differs in its soils and user pressure only).
struct TInputSummary {
    QString Heading;  // "Stage 2", "Long-term analysis" or empty
    std::vector<TReportTable> Tables;
    // What the tieback forces need.
    int UnitSystem = 1;
    double IncrementLength = 0;  // h, in the base length (inches in English units)
    double Wa = 0;               // width for earth pressure, base length
    double FreeHeight = 0;       // excavation depth below the top, base length
    bool UserPressure = false;   // the earth pressure is the user's table (may reach below H)
    std::vector<TTiebackInput> Tiebacks;
};

// The one set of units the calculation report states its results in, and the
// factors that take the output report's numbers there (value times factor).
// English: depths in ft, deflections in in, moments in kip-in, forces in kips,
// as the graphs show them; SI: m, m, kN-m, kN; other systems: as the report.
struct TResultUnits {
    QString Depth, Deflection, Slope, Moment, Force, Stiffness;
    double DepthFactor = 1, DeflectionFactor = 1, MomentFactor = 1, ForceFactor = 1,
           StiffnessFactor = 1;
};
// By the output report's units line.
TResultUnits ResultUnitsFor(const TReportUnits& report);

struct TSectionReport {
    QString Heading;       // "Stage 2 - ..." or the section's title line
    QString Ending;        // SolutionEnding
    QStringList Problems;  // why the results are not valid; empty when they are
    QStringList Warnings;
    QStringList Errors;
    TReportTable Maxima;         // quantity, unit, largest positive and negative with depths
    TReportTable TiebackForces;  // empty without tiebacks
    TReportTable Stations;       // every station row of the results block
};

struct TCalcReport {
    QString Title;
    QString FileName;  // the data file's name without its folder
    QString Date;
    QString Version;
    QString Analysed;    // date and time of the analysis, from the output report
    QString DataSha256;  // fingerprint of the data file as analysed, hex
    int UnitSystem = 1;
    TResultUnits Units;  // of every result table; graphs use the same
    // The p-y curves of the plot file are labelled by depth (generated curves
    // only), else by station.
    bool PYLabelsAreDepths = false;
    // The p-y curves of every result set, from the plot data file.
    std::vector<std::vector<TPYCurveData>> PYSets;
    QString Error;      // the data error the run ended on, empty after a clean run
    QString InputNote;  // why the inputs shown may be incomplete, else empty
    std::vector<TInputSummary> Inputs;
    std::vector<TSectionReport> Sections;
    // The Design Checks section (AddDesignChecks); empty without design choices.
    TReportTable DesignChecks;
    QStringList DesignNotes;
};

// Texts of a grid table as its window shows them: visible value columns only,
// choices by their item text, reals with six significant digits.
TReportTable GridTableReport(TGridTable& table, const QString& caption);

// The input tables of the project as it stands. long_term: only what the
// long-term section has of its own (its soils and user pressure), and the tiebacks.
TInputSummary SummariseInput(TProgramData& project, const QString& heading, bool long_term);

// The project's inputs: one summary per stage of a staged project, else the
// first section and, with a long-term analysis, what the long-term one adds.
// Stages are split from `copy`, a copy of the data file in a private folder
// (the stage files appear beside it), and the project is left at the last stage.
std::vector<TInputSummary> SummariseProjectInputs(TProgramData& project, const QString& copy);

// Lateral force of a tieback on the wall, as the engine's spring applies it:
// S = A E cos(angle) / ((s / Wa) L) times the deflection at the tieback's station
// (lengths in ft are taken to inches in English units). Returns the station too.
struct TTiebackForce {
    int Station = 0;
    double Deflection = 0;  // report length unit
    double Lateral = 0;     // force on the wall, report force unit
    double AlongRod = 0;    // force in one anchor along its rod: Lateral (s / Wa) / cos(angle)
};
TTiebackForce TiebackForce(const TTiebackInput& t, const TInputSummary& in,
                           const TReportSection& results);

// The load a user pressure table puts on station k (force per station, as the
// engine applies it down to the table's last row): the total pressure
// interpolated at k h, times h; a station below the last row takes the load of
// the one above it, station 0 none.
double PressureLoad(const TPressureRows& rows, double h, int station);

// Sections of the run with their results; section i takes its tiebacks from
// inputs[min(i, inputs.size() - 1)] (a long-term section uses the first inputs)
// and, for a user pressure table, its loads from pressures[i] (the plot file's
// rows), so that the soil reaction below the excavation is the soil's alone.
std::vector<TSectionReport> SummariseSections(const TReportRun& run,
                                              const std::vector<TInputSummary>& inputs, bool staged,
                                              const std::vector<TPressureRows>& pressures = {});

// Numbers of the report's precision shown as plain general numbers ("1.86", "-6.35e+05").
QString ReportNumber(double value);
// Depths: five significant digits, so that a depth in inches shown in feet
// keeps its station (222 in: 18.5 ft, 100 in: 8.3333 ft).
QString DepthNumber(double value);
// The same, with 0 for a value that is zero at print precision beside the
// largest magnitude of its column (solver noise such as -6.43E-11 next to 87.9).
QString ReportNumber(double value, double column_magnitude);

// The warnings and errors of every section, each with its section's heading.
QStringList CollectedWarnings(const TCalcReport& report);

}  // namespace korvel
