// The p-y curves of every result set of a plot data file (".kv5p"). The graph
// reader keeps the curves of the last set only; the calculation report shows
// each stage's own. The file is read as one stream of numbers, block by block:
// pressure rows, unit code, curves, then the result rows.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace korvel {

struct TPYCurveData {
    double Label = 0;                               // station, or depth for generated curves alone
    std::vector<std::pair<double, double>> Points;  // y, p
};

// One list per result set, in file order; empty when the file cannot be read
// to its end.
std::vector<std::vector<TPYCurveData>> ReadPYSets(const QString& plot_file);
std::vector<std::vector<TPYCurveData>> ParsePYSets(const QByteArray& text);

// The earth-pressure rows of every result set: depth and total pressure per
// unit length of wall, in the data's units (inches and pounds in English units).
using TPressureRows = std::vector<std::pair<double, double>>;
std::vector<TPressureRows> ParsePressureSets(const QByteArray& text);
std::vector<TPressureRows> ReadPressureSets(const QString& plot_file);

}  // namespace korvel
