// Writes sections of a data file (.kv5d) or a stage file from the project, in the
// record layout the engine reads: lines ended by CR LF, values separated by one
// TAB or one blank as each record has them, reals with at most 8 significant
// digits and "." as separator, texts in UTF-8.
//
// Writing settles the options first, and that changes the project: the tables of
// switched-off options are emptied, the derived options are recomputed, the last
// stiffness row becomes constant.
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

    // Settles the options from the flags as a write does (step 2 of a section).
    static void SettleOptions(TProgramData& project, TSectionKind kind);

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

// A real as the data file writes it: 8 significant digits, "." always.
QString FileReal(long double value);

}  // namespace korvel
