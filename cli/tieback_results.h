// Tieback forces for korvel-run's JSON: the report holds the deflections but
// not the anchors, so the data file is read through the program's project
// model (the same inputs and formula as the PDF report). Without the project
// model korvel-run is built without them and the lists stay empty.
#pragma once

#include <vector>

#include "batch_run.h"

namespace korvel::cli {

// False when korvel-run was built without the project model.
bool TiebackForcesAvailable();

// Fills the tiebacks of every section of every file the engine analysed.
// A file whose data cannot be read keeps empty lists.
void AddTiebackForces(std::vector<RunResult>& results);

}  // namespace korvel::cli
