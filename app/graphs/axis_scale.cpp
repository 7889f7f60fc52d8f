#include "graphs/axis_scale.h"

#include <algorithm>
#include <cmath>

namespace korvel {
namespace {

// Half the width given to an axis whose values are all equal.
constexpr double kFlatWiden = 0.01;
// Relative slack when rounding to a step, so that 25 / 1 stays 25 despite rounding errors.
constexpr double kStepSlack = 1e-9;

TAxisRange ShiftInside(const TAxisRange& full, double lo, double hi) {
    const double width = std::min(hi - lo, full.Width());
    if (lo < full.Min) lo = full.Min;
    if (lo + width > full.Max) lo = full.Max - width;
    return {lo, lo + width};
}

}  // namespace

bool FullAxisRange(const std::vector<double>& values, TAxisRange& range, double* step_out) {
    double lo = 0.0;
    double hi = 0.0;
    for (double v : values) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        if (!std::isfinite(v)) return false;
    }
    if (hi == lo) {
        lo -= kFlatWiden;
        hi += kFlatWiden;
    }
    const double log_span = std::log10(hi - lo);
    const double exponent = std::floor(log_span);
    double step = std::pow(10.0, exponent);
    if (log_span - exponent < std::log10(3.0)) step /= 10.0;
    if (!(step > 0.0) || !std::isfinite(step)) return false;
    range.Min = std::floor(lo / step + kStepSlack) * step;
    range.Max = std::ceil(hi / step - kStepSlack) * step;
    if (step_out) *step_out = step;
    return true;
}

bool FullPanelRanges(const TCurveList& lines, TPanelRanges& ranges) {
    std::vector<double> xs;
    std::vector<double> ys;
    for (int i = 0; i < lines.CurveCount(); ++i) {
        for (const TFloatPoint& p : lines.Curve(i).Points()) {
            xs.push_back(static_cast<double>(p.X));
            ys.push_back(static_cast<double>(p.Y));
        }
    }
    return FullAxisRange(xs, ranges.X) && FullAxisRange(ys, ranges.Y);
}

std::vector<TTick> AxisTicks(const TAxisRange& range, int intervals) {
    std::vector<TTick> ticks;
    if (intervals < 1 || !(range.Width() > 0.0)) return ticks;
    const double rough = range.Width() / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double leading = std::floor(rough / power + kStepSlack);
    const double major = std::max(leading, 1.0) * power;
    const double minor = major / 5.0;
    const long long first = static_cast<long long>(std::ceil(range.Min / minor - kStepSlack));
    const long long last = static_cast<long long>(std::floor(range.Max / minor + kStepSlack));
    for (long long k = first; k <= last; ++k) {
        // k * minor rather than a running sum keeps the labels free of drift.
        ticks.push_back({static_cast<double>(k) * minor, k % 5 == 0});
    }
    return ticks;
}

TAxisRange ZoomIn(const TAxisRange& full, double a, double b) {
    double lo = std::min(a, b);
    double hi = std::max(a, b);
    const double narrowest = full.Width() * kZoomLimit;
    if (hi - lo < narrowest) {
        const double centre = (lo + hi) / 2.0;
        lo = centre - narrowest / 2.0;
        hi = centre + narrowest / 2.0;
    }
    return ShiftInside(full, lo, hi);
}

TAxisRange ZoomOut(const TAxisRange& full, const TAxisRange& current, double centre) {
    const double width = std::min(2.0 * current.Width(), full.Width());
    return ShiftInside(full, centre - width / 2.0, centre + width / 2.0);
}

}  // namespace korvel
