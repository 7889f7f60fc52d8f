// Construction stages: a staged project (StageCount 2 to 5) keeps each stage in
// a stage file beside its data file (pit.kv5d -> pit.st1 ... pit.st5), one
// section each, whose TITLE is the project title for stage 1 and " Stage No : k"
// after it and whose NEXT holds the stage number. The project model holds one
// stage at a time; the data file is the stage files 1 to StageCount joined.
//
// Model code: file-system failures throw EInOutError with a message that names
// the file; reading errors come back as a TReadResult for the window to show.
// Stage files that cannot be deleted are left in place without a message.
#pragma once

#include <QList>
#include <QString>

#include "project/program_data.h"

namespace korvel {

inline constexpr int kMaxStageCount = 5;
// Starts every stage after the first in a stage file and in a staged data file.
inline constexpr const char* kStageTitlePrefix = " Stage No : ";

// Folder of the stage files of a project that was never saved ("NewWall.kv5d",
// no folder): a folder of this program process's own in the per-user
// application data folder ("unsaved-" and the process id), created when missing.
QString NewProjectStageFolder();
// The data file's name with its extension replaced by ".st" and the stage.
QString StageFileName(const QString& data_file, int stage);

// Writes the current project as the current stage's file (atomically). Sets both
// format flags; the modified state stays as it was.
void WriteStageFile(TProgramData& project);
// Reads stage's file into the project without resetting it first, under the
// project's format flags; a missing file leaves the project unchanged. A file in
// another unit system is converted to the project's. Tables
// are filled up to their minimum and the modified state is cleared when read.
TReadResult LoadStage(TProgramData& project, int stage);

// Writes the current stage, makes stage current and loads it; the modified state
// is kept. A stage without a file takes the data of the stage left (used while
// stages are made); the main window never switches to a stage whose file was
// deleted, it restores it first (RestoreStageFile) or refuses. A failed write
// throws and leaves the current stage as it was, so that its edits are never
// dropped.
TReadResult SwitchToStage(TProgramData& project, int stage);
// Loads the previous stage's file and writes it as the current stage's file
// (current stage 2 or more); marks the project modified, since the data file
// does not hold the copy yet.
TReadResult CopyPreviousStage(TProgramData& project);

// The data file target as the stage files 1 to StageCount of source, joined
// (atomically). A stage without a file is an error: the data file would lack it.
void AssembleDataFile(const TProgramData& project, const QString& target, const QString& source);
// Moves the stage files 1 to count of source to the same stages of target,
// replacing target's. Every file is copied before any source file is removed:
// when one cannot be written, the copies are removed again, the source files
// stay as they were, and the error names the stage file.
void MoveStageFiles(const QString& source, const QString& target, int count);
// The stages 1 to StageCount, other than the current one, whose files are
// missing: a save or a stage switch would lack them. (The current stage's file
// is written from the project before it is needed.)
QList<int> MissingStageFiles(const TProgramData& project);
// The message for a stage whose file is missing.
QString MissingStageMessage(const TProgramData& project, int stage);
// Writes stage's file again from the project's data file on disk, from the
// stage's lines of it as opening the project cut them. False (nothing written)
// when there is no data file or it does not hold that stage.
bool RestoreStageFile(const TProgramData& project, int stage);

// Deletes the stage files from..to of a data file (those that can be deleted).
void DeleteStageFiles(const QString& data_file, int from = 1, int to = kMaxStageCount);

// Cuts a staged data file into its stage files: line 1 and every line that holds
// " Stage No :" start a stage. Existing stage files 1 to 5 are deleted first;
// stages 1 to stage_count that the file holds are written.
void SplitDataFile(const QString& path, int stage_count);

// After a staged data file was read in format (1 to 4, as for CreateFromFile)
// with stage 1 now in the project: splits it and, for an older format or an
// extension other than ".kv5d", loads every stage under the layout of the format
// it was read in and writes it in the current layout; then both format flags
// are set and stage 1 is loaded again. Throws EInOutError when a file cannot be
// read or written; returns the reading errors of the stages.
TReadResult OpenStagedProject(TProgramData& project, int format);

// Save of a staged project: writes the current stage's file, then the data
// file target from the stage files of the project's name, which move to
// target's name when it differs; the project then takes target as its name,
// both format flags are set and the modified state is cleared. On a failure the
// project keeps its name and its stage files.
void SaveStagedProjectAs(TProgramData& project, const QString& target);

// The staged construction options' OK: StageCount becomes count (1 to 5), stages
// are rewritten to carry it and the stage files above it are deleted; see the
// definition for the steps. Returns the reading errors of the stages loaded.
TReadResult ChangeStageCount(TProgramData& project, int count);

}  // namespace korvel
