// The project's values at one moment, for undo and redo: the scalar inputs and
// option flags, the unit system, and the rows of every data table. What belongs to the file rather
// than to the values (file name, stage position and count, results of the last run, values derived
// at every write) is neither compared nor put back.
#pragma once

#include <QString>
#include <vector>

#include "entry/grid_table_state.h"
#include "project/program_data.h"

namespace korvel {

struct TProjectSnapshot {
    // The named fields' values, in the order of the field lists (project_snapshot.cpp).
    std::vector<long double> Reals;
    std::vector<int> Integers;
    std::vector<bool> Flags;
    std::vector<QString> Texts;
    // Where the values were taken; compared by the history, never put back.
    QString FileName;
    int StageCount = 1;
    int CurrentStage = 1;
    int UnitSystem = 1;
    std::vector<TTableState> Tables;  // TProgramTables::DataTables() order

    static TProjectSnapshot Capture(const TProgramData& project);
    // Puts the values back into the project on the stage that is current,
    // switching it to the snapshot's unit system first (values held exactly as
    // captured, not converted back). Leaves the modified state to the caller.
    void Restore(TProgramData& project) const;

    // The same values (the file's own fields aside).
    bool SameValues(const TProjectSnapshot& other) const;
    // What changed from this snapshot to later, as the Edit menu names it: the
    // field's caption ("Free Height of Wall") or the table's when one thing
    // changed, "Units" for a unit switch, else "Changes".
    QString ChangeName(const TProjectSnapshot& later, const TProgramTables& tables) const;
};

}  // namespace korvel
