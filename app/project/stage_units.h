// The unit system of a staged project. The project has one unit system: a
// switch converts the stage in the project and every stage file, so that the
// data file assembled from them is in one system throughout.
//
// Stage files hold 8 significant digits, so a stage converted, written and
// converted back would drift (240 in -> 6.096 m -> 240.00013 in). Each switch
// therefore remembers, per stage file (TProjectFields::StageUnitMemo), what it wrote and what the
// file held before; a switch back finds the file as it wrote it (the stage not edited since) and
// puts the earlier file back, exactly as it was entered.
#pragma once

#include "project/program_data.h"

namespace korvel {

// Switches the project's unit system (1 to 3). Unstaged: SetUnitSystem. Staged:
// the current stage's file is written first (its edits taken), every stage file
// 1 to StageCount is converted (or, unchanged since the last switch the other
// way, put back as it was before it), and the current stage is loaded again.
// A stage file that cannot be read completely is left as it is and its error
// returned; a missing one is skipped (see MissingStageFiles). Marks the project
// modified when staged, since the data file is assembled anew. Throws
// EInOutError when a stage file cannot be written.
TReadResult SwitchProjectUnitSystem(TProgramData& project, int system);

}  // namespace korvel
