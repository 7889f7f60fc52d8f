// The report's results block of a section: how the iteration ended and the
// results at stations 0 to N.
#pragma once

#include <ostream>
#include <vector>

#include "run/iteration.h"
#include "run/solver.h"
#include "text/unit_labels.h"

namespace korvel::engine {

// `rows` are stations 0 to N+1; the block prints 0 to N.
void WriteResultsBlock(std::ostream& report, const text::UnitLabels& labels,
                       const IterationOutcome& outcome, const std::vector<ResultRow>& rows, int N);

}  // namespace korvel::engine
