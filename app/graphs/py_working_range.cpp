#include "graphs/py_working_range.h"

#include <vector>

namespace korvel {

bool PYWorkingRange(const TCurveList& curves, double largest_deflection, double factor,
                    TPanelRanges& ranges) {
    if (!(largest_deflection > 0) || curves.CurveCount() == 0 || curves.PointCount() < 2)
        return false;
    TAxisRange x;
    const double reach = factor * largest_deflection;
    if (!FullAxisRange({-reach, reach}, x)) return false;
    // The resistance at the points within the range, and where the curves cross its ends.
    std::vector<double> values;
    for (int i = 0; i < curves.CurveCount(); ++i) {
        const TLine& curve = curves.Curve(i);
        for (int j = 0; j < curve.PointCount(); ++j) {
            const double px = static_cast<double>(curve.Point(j).X);
            const double py = static_cast<double>(curve.Point(j).Y);
            if (px >= x.Min && px <= x.Max) values.push_back(py);
            if (j == 0) continue;
            const double qx = static_cast<double>(curve.Point(j - 1).X);
            const double qy = static_cast<double>(curve.Point(j - 1).Y);
            for (double bound : {x.Min, x.Max}) {
                if ((qx - bound) * (px - bound) < 0)
                    values.push_back(qy + (bound - qx) * (py - qy) / (px - qx));
            }
        }
    }
    TAxisRange y;
    if (!FullAxisRange(values, y)) return false;
    ranges.X = x;
    ranges.Y = y;
    return true;
}

}  // namespace korvel
