// Reads sections of a data file or a stage file into the project with the word
// reader: words in order, any line breaking, lines mattering only for TITLE.
// Errors throw: EInOutError from the word reader ("This file either invalid or
// incomplete.", "Error on Line n Item m\r..."), or for a value its column refuses
// (a choice outside its items). Rows are appended as they are read, so after an
// error the tables hold the rows read so far. A count beyond its table's row
// limit is refused before any row is made.
#pragma once

#include <QStringList>

#include "entry/word_reader.h"
#include "project/program_data.h"

namespace korvel {

// Which optional records a file's format carries (the project's format flags
// for stage files; format 1 has both, ".kv4d" only the first, ".kvd" neither).
struct TRecordLayout {
    bool EIRecords = true;       // nEICurves, p-y multipliers, SURCHARGES, EICURVE
    bool TiebackRecords = true;  // nTiebacks, Wa in WALL, TIEBACK rows
    // The earliest ".kvd" kind: no StageCount, layers by thickness with one
    // five-value property line, no NEXT record (hence no long-term section).
    bool Earliest = false;
};

// Layout of a data file by the open dialog's format number: 1 ".kv5d",
// 2 ".kv4d", 3 ".kvd" (later kind), 4 ".kvd" (earliest kind).
TRecordLayout LayoutOfFormat(int format);

class TDataFileReader {
  public:
    TDataFileReader(TProgramData& project, TWordReader& reader, TRecordLayout layout = {})
        : project_(project), in_(reader), layout_(layout) {}

    // The first section and, after NEXT 9, the long-term section with its final 0.
    void ReadDataFile();
    // One section including its NEXT code, which is returned. kFirst and kStage set
    // the option flags from CONTROL and the counts; kLongTerm reads into the long-term
    // pressure table LongDist and soil table LongSoil (K slots dropped); its other
    // tables and its options repeat the first section's and are read past.
    int ReadSection(TSectionKind kind);
    // Values the project could not hold as read and changed (a unit system
    // outside 1 to 3, a stage count outside 1 to 5), one text each naming the
    // line, the value read and the value kept.
    const QStringList& Warnings() const { return warnings_; }

  private:
    int Count(const TGridTable& table);
    void Choice(TGridTable& table, int column, int row);
    void Integer(TGridTable& table, int column, int row);
    void Real(TGridTable& table, int column, int row, long double factor = 1.0L);
    // The curve sub-table of a set row; while discarding, the template table.
    TGridTable& CurveOf(TGridTable& sets, int column, int row, TGridTable& layout);
    // Appends count rows, each filled by read_row as its words are read.
    template <typename ReadRow>
    void ReadRows(TGridTable& table, int count, ReadRow read_row);

    void ReadSoils(TSectionKind kind, int count);
    void ReadEarliestSoils(int count);
    void ReadSingleSurchargeRows();

    TProgramData& project_;
    TWordReader& in_;
    TRecordLayout layout_;
    // Values are read past without being stored (shared tables of the long-term section).
    bool discard_ = false;
    // Values stored so far, to tell a begun row from one the file ended before.
    int stored_ = 0;
    QStringList warnings_;
};

}  // namespace korvel
