// The program's wall length study: what it asks korvel-run (beside the
// program) to do, and what it reads back from korvel-run's --json file. The
// study itself, with the variants made by ApplyWallLength, is korvel-run's, so
// the program's table is the command line's table. Lengths are in the data
// file's length unit (inches in English units, metres in SI).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "project/wall_length.h"

namespace korvel {

class TProgramData;

// The numbers of the "Wall Length Study" dialog.
struct TLengthStudyInput {
    double From = 0.0;
    double To = 0.0;
    double Step = 0.0;
    double TolerancePercent = 1.0;
};

// The first reason why the study cannot be made ("" when it can): FROM not
// below TO, STEP not above 0, more than 500 lengths, a tolerance not between 0
// and 100 %, a length not above a section's free height or of more than 300
// increments. Messages say FROM/TO/STEP as the dialog's "From", "To", "Step".
QString CheckLengthStudyInput(const TLengthStudyInput& input,
                              const std::vector<SectionOutline>& sections);

// The sections of the open project as the study sees them: the unstaged
// problem (its long-term section has the same wall), or the current stage.
std::vector<SectionOutline> StudySections(const TProgramData& project);

// korvel-run next to the program's executable.
QString KorvelRunPath();
// korvel-run's arguments for the study of dataFile, its JSON going to jsonPath.
QStringList LengthStudyArguments(const TLengthStudyInput& input, const QString& jsonPath,
                                 const QString& dataFile);

struct TStudySectionResult {
    int Iterations = 0;
    bool Closed = false;
    bool OffCurves = false;
    int ExceededStations = 0;  // stations beyond the maximum allowable deflection
    double Embedment = 0.0;    // wall below the excavation, length
    double HeadDeflection = 0.0;
    double ToeDeflection = 0.0;
    double MaxMoment = 0.0, MomentDepth = 0.0;
    double MaxShear = 0.0, ShearDepth = 0.0;
    std::vector<double> TiebackForces;  // force
    // "closed", "not closed" or "max deflection exceeded", with ", off curves".
    QString Ending() const;
};

struct TStudyLengthResult {
    double Length = 0.0;  // as analysed: whole increments
    double RequestedLength = 0.0;
    QString Status;
    bool Usable = false;  // closed within the allowed deflection, on its curves
    std::vector<TStudySectionResult> Sections;
};

struct TLengthStudyResult {
    double TolerancePercent = 1.0;
    std::vector<TStudyLengthResult> Rows;
    QStringList Notes;
    std::optional<size_t> Critical;             // row of the critical length
    QString LengthUnit, ForceUnit, MomentUnit;  // the report's unit texts
    // The longest length asked for (the soil of every variant reaches below it).
    double LongestLength() const;
};

// Reads korvel-run's --json text; false with the reason in error.
bool ReadLengthStudyJson(const QByteArray& json, TLengthStudyResult& result, QString& error);

}  // namespace korvel
