// Reads an output report (".kv5o") back for the calculation report: per section
// its heading, how the iteration ended, the warnings and errors the engine wrote,
// the units line and the station rows of the results block. The numbers keep the
// report's own precision (three significant digits), so that what the calculation
// report prints equals what the output report prints.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace korvel {

// One line of a results block, in the report's units.
struct TStationRow {
    int Station = 0;
    double X = 0;  // depth below the top of the wall
    double Deflection = 0;
    double Slope = 0;
    double Moment = 0;
    double Shear = 0;
    double Reaction = 0;  // net soil reaction per station
    double EI = 0;
};

// Unit texts of the results block's units line ("IN", "LBS-IN", "KN- M**2" ...).
struct TReportUnits {
    QString Length, Deflection, Moment, Shear, Reaction, Stiffness;
};

struct TReportSection {
    QString Heading;          // the section's title line ("Stage No : 2  ...")
    QString Analysed;         // date and time of the analysis ("December 10, 2026, 11:50:42")
    bool HasResults = false;  // a results block was written
    int Iterations = 0;
    bool Closed = true;
    bool OffCurves = false;
    int ExceededStations = 0;  // stations beyond the maximum allowable deflection
    QStringList Warnings;      // each warning with its continuation lines, blanks squeezed
    QStringList Errors;        // error lines that ended the run
    TReportUnits Units;
    std::vector<TStationRow> Rows;
};

struct TReportRun {
    bool Complete = false;  // "END OF ANALYSIS" was reached
    std::vector<TReportSection> Sections;
    // The first error of the run, without its leading blanks; empty after a clean run.
    QString FirstError() const;
};

// Largest value in magnitude (with its sign) and the depth where it occurs first.
struct TExtreme {
    double Value = 0;
    double Depth = 0;
};
TExtreme MaxDeflection(const TReportSection& s);
TExtreme MaxMoment(const TReportSection& s);
TExtreme MaxShear(const TReportSection& s);
TExtreme MaxReaction(const TReportSection& s);

// The algebraic largest and smallest value of a column over the stations from
// `first_station` on (stations listed in `skip` left out), each with the depth
// where it occurs first. Any is false when no station qualifies.
struct TSignedExtremes {
    TExtreme Max;
    TExtreme Min;
    bool Any = false;
};
TSignedExtremes SignedExtremes(const TReportSection& s, double TStationRow::*member,
                               int first_station = 0, const std::vector<int>& skip = {});

// Closed, within the maximum allowable deflection and on the p-y curves.
bool ResultsValid(const TReportSection& s);
// What makes the results of a solved section invalid, one sentence per problem.
QStringList ResultProblems(const TReportSection& s);

// How the iteration ended, in words: "closed after 3 iterations", "not closed
// within the tolerance after 100 iterations", with the exceeded and off-curve notes.
QString SolutionEnding(const TReportSection& s);

TReportRun ParseReport(const QString& text);
// Reads the file; a missing or unreadable file gives an empty, incomplete run.
TReportRun ReadReport(const QString& path);

}  // namespace korvel
