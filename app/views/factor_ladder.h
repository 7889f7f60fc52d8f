// The deformed shape factor's up-down ladder: 1, 2, ..., 9 of each power of ten
// (..., 0.8, 0.9, 1, 2, ..., 9, 10, 20, ...). A factor of 0 or less steps to 1.
#pragma once

namespace korvel {

double StepDeformedFactor(double factor, bool up);

}  // namespace korvel
