// Writes sections of a data file (.kv5d) or a stage file from the project, in the
// record layout the engine reads: lines ended by CR LF, values separated by one
// TAB or one blank as each record has them, reals with at most 8 significant
// digits and "." as separator, texts in UTF-8.
//
// The options a section says (EarthPressureOption, PYCurveOption, the counts) are
// derived from the project's choices and tables as the section is written; the
// project keeps the values last written. A switched-off option's table is left
// out of the file but keeps its rows. The last stiffness row becomes constant.
#pragma once

#include <QByteArray>
#include <QString>

#include "project/program_data.h"

namespace korvel {

class TDataFileWriter {
  public:
    explicit TDataFileWriter(TProgramData& project) : project_(project) {}

    // One section ending with its NEXT line: for kFirst the LongTermMarker (9 with
    // long-term analysis on, else 0), for kLongTerm 0, for kStage the current stage.
    void WriteSection(TSectionKind kind);
    // The bytes written so far.
    const QByteArray& Text() const { return text_; }

  private:
    void Line(const QString& line);
    void WriteControl();
    void WriteWall();
    void WriteTables(TSectionKind kind);
    void WriteSoils(TSectionKind kind);
    void WriteCurveSets();

    TProgramData& project_;
    QByteArray text_;
};

// What CONTROL says for a section written from the project as it stands.
struct TSectionOptions {
    int EarthPressureOption = 0;  // 0 none, 1 user table, 2 triangular, 3 trapezoidal
    int PYCurveOption = 0;        // 0 none, 1 external curves only, 2 generated
    int nEICurves = 0;
    int nTiebacks = 0;
};
// Derived from EarthPressureType, the option flags and the tables; a generated
// pressure is always 2 outside the first section.
TSectionOptions SectionOptions(const TProgramData& project, TSectionKind kind);

// A real as the data file writes it: 8 significant digits, "." always.
QString FileReal(long double value);

}  // namespace korvel
