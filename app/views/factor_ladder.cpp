#include "views/factor_ladder.h"

#include <cmath>

namespace korvel {

namespace {
// Guards the truncations against binary fractions just below a whole step
// (0.3 x 10 or 0.1 / 0.01 may come out a hair under 3 or 10).
constexpr double kDigitGuard = 1e-9;
}  // namespace

double StepDeformedFactor(double factor, bool up) {
    // Factors between 0.1 and 1 are stepped as ten times themselves.
    const double scale = factor > 0.1 && factor < 1.0 ? 10.0 : 1.0;
    double f = factor * scale;
    if (!(f > 0.0) || !std::isfinite(f)) return 1.0;

    // The exponent of the leading digit. Truncating towards zero and taking one
    // off below zero is flooring, except at exact negative powers of ten, where
    // either exponent leads to the same next step.
    const double e = std::floor(std::log10(f) + kDigitGuard);
    const double g = std::pow(10.0, e);
    const double d = std::round(std::trunc(f / g + kDigitGuard));
    double next = 0.0;
    if (up) {
        next = d == 10.0 ? 20.0 * g : (d + 1.0) * g;
    } else {
        next = d == 1.0 ? 0.9 * g : (d - 1.0) * g;
    }
    f = next / scale;
    return f;
}

}  // namespace korvel
