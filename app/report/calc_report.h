// The content of the calculation report, built from the project model (inputs,
// shown in the project's units exactly as the tables and dialogs show them) and
// from the output report (how each section ended, its maxima and its station
// table, in the report's units). Model code: nothing is drawn here; the PDF
// writer (report/pdf_report.h) lays this content out on pages.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

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
    std::vector<TTiebackInput> Tiebacks;
};

struct TSectionReport {
    QString Heading;  // "Stage 2 - ..." or the section's title line
    QString Ending;   // SolutionEnding
    QStringList Warnings;
    QStringList Errors;
    TReportTable Maxima;         // quantity, value, unit, depth, depth unit
    TReportTable TiebackForces;  // empty without tiebacks
    TReportTable Stations;       // every station row of the results block
};

struct TCalcReport {
    QString Title;
    QString FileName;  // the data file's name without its folder
    QString Date;
    QString Version;
    int UnitSystem = 1;
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

// Sections of the run with their results; section i takes its tiebacks from
// inputs[min(i, inputs.size() - 1)] (a long-term section uses the first inputs).
std::vector<TSectionReport> SummariseSections(const TReportRun& run,
                                              const std::vector<TInputSummary>& inputs,
                                              bool staged);

// Numbers of the report's precision shown as plain general numbers ("1.86", "-6.35e+05").
QString ReportNumber(double value);

}  // namespace korvel
