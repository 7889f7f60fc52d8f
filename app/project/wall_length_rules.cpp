#include "project/wall_length_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace korvel {
namespace {

std::vector<double> Interpolate(const std::vector<double>& a, const std::vector<double>& b,
                                double fraction) {
    std::vector<double> out(a.size());
    for (size_t i = 0; i < a.size(); ++i) {
        const double vb = i < b.size() ? b[i] : a[i];
        out[i] = a[i] + (vb - a[i]) * fraction;
    }
    return out;
}

void AddSingleRow(std::vector<StationRow>& out, const StationRow& row, int source, int oldN,
                  int newN) {
    StationRow r = row;
    r.source = source;
    r.continued = false;
    if (row.from == oldN && row.to == oldN) {  // a row at the toe goes with it
        r.from = r.to = newN;
        out.push_back(r);
        return;
    }
    if (row.from > newN) return;
    if (row.to == oldN && newN > oldN) r.to = newN;
    r.to = std::min(r.to, newN);
    out.push_back(r);
}

// The chain of rows first..last (the last one not continued).
void AddChain(std::vector<StationRow>& out, const std::vector<StationRow>& rows, size_t first,
              size_t last, int oldN, int newN) {
    // Point k of the chain lies at station(k): the first row's FROM, then each row's TO.
    const auto station = [&](size_t k) { return k == 0 ? rows[first].from : rows[first + k].to; };
    const size_t points = last - first + 1;
    const auto keep = [&](size_t k) {
        StationRow r = rows[first + k];
        r.source = static_cast<int>(first + k);
        out.push_back(r);
    };
    if (newN >= oldN) {
        for (size_t k = 0; k < points; ++k) keep(k);
        if (newN > oldN && station(points - 1) == oldN)
            out.push_back({oldN, newN, false, rows[last].values, -1});
        return;
    }
    size_t beyond = 0;
    while (beyond < points && station(beyond) <= newN) ++beyond;
    if (beyond == points) {
        for (size_t k = 0; k < points; ++k) keep(k);
        return;
    }
    if (beyond == 0) return;
    if (station(beyond - 1) == newN) {
        if (beyond == 1) return;  // only the start point at the toe is left
        for (size_t k = 0; k < beyond; ++k) keep(k);
        out.back().continued = false;
    } else {
        for (size_t k = 0; k <= beyond; ++k) keep(k);
        const int a = station(beyond - 1);
        const int b = station(beyond);
        StationRow& end = out.back();
        end.values = Interpolate(rows[first + beyond - 1].values, rows[first + beyond].values,
                                 static_cast<double>(newN - a) / (b - a));
        end.to = newN;
        end.continued = false;
    }
    // Stations the engine does not read (the first row's TO, the later rows' FROM)
    // are kept on the wall as well.
    for (size_t k = out.size() - std::min(out.size(), beyond + 1); k < out.size(); ++k) {
        out[k].from = std::min(out[k].from, newN);
        out[k].to = std::min(out[k].to, newN);
    }
}

}  // namespace

std::vector<StationRow> ResizeStationRows(const std::vector<StationRow>& rows, int oldN, int newN) {
    std::vector<StationRow> out;
    size_t i = 0;
    while (i < rows.size()) {
        if (!rows[i].continued || i + 1 == rows.size()) {
            AddSingleRow(out, rows[i], static_cast<int>(i), oldN, newN);
            ++i;
            continue;
        }
        size_t last = i + 1;
        while (last + 1 < rows.size() && rows[last].continued) ++last;
        AddChain(out, rows, i, last, oldN, newN);
        i = last + 1;
    }
    return out;
}

std::vector<StationPoint> ResizeRestraints(const std::vector<int>& stations, int oldN, int newN) {
    std::vector<StationPoint> out;
    for (size_t i = 0; i < stations.size(); ++i) {
        const int s = stations[i] == oldN ? newN : stations[i];
        if (s <= newN) out.push_back({static_cast<int>(i), s});
    }
    return out;
}

std::vector<StationPoint> ResizeCurveSets(const std::vector<int>& stations, int oldN, int newN) {
    std::vector<StationPoint> out;
    if (stations.empty()) return out;
    const auto deepest = std::max_element(stations.begin(), stations.end());
    const bool reachesToe = *deepest == oldN;
    if (newN >= oldN) {
        for (size_t i = 0; i < stations.size(); ++i)
            out.push_back({static_cast<int>(i), stations[i]});
        if (newN > oldN && reachesToe)
            out.push_back({static_cast<int>(deepest - stations.begin()), newN});
        return out;
    }
    const bool atToe = std::find(stations.begin(), stations.end(), newN) != stations.end();
    bool moved = false;
    for (size_t i = 0; i < stations.size(); ++i) {
        if (stations[i] <= newN) {
            out.push_back({static_cast<int>(i), stations[i]});
        } else if (reachesToe && !atToe && !moved) {
            out.push_back({static_cast<int>(i), newN});
            moved = true;
        }
    }
    return out;
}

std::vector<DepthRow> ResizeDepthProfile(const std::vector<DepthRow>& rows, double oldLength,
                                         double newLength) {
    const double eps = 1e-9 * std::max(1.0, std::abs(oldLength));
    std::vector<DepthRow> out;
    if (rows.empty()) return out;
    if (newLength >= oldLength) {
        out = rows;
        if (newLength > oldLength + eps && rows.back().depth >= oldLength - eps)
            out.push_back({newLength, rows.back().value});
        return out;
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].depth <= newLength + eps) {
            out.push_back(rows[i]);
            continue;
        }
        if (out.empty()) {
            out.push_back({newLength, rows[i].value});
        } else if (out.back().depth < newLength - eps) {
            const DepthRow& a = out.back();
            const double f = (newLength - a.depth) / (rows[i].depth - a.depth);
            out.push_back({newLength, a.value + (rows[i].value - a.value) * f});
        }
        break;
    }
    return out;
}

int IncrementsFor(double length, double h) {
    // The small allowance keeps a length typed as a whole number of increments
    // (300 in for h = 12 in) from rounding down through the division's error.
    return static_cast<int>(std::floor(length / h + 0.5 + 1e-9));
}

LengthRange ParseLengthRange(const std::string& text, size_t maxCount) {
    LengthRange range;
    double v[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t colon = text.find(':', start);
        if ((i < 2) == (colon == std::string::npos)) {
            range.error = "--lengths needs FROM:TO:STEP, three numbers separated by colons";
            return range;
        }
        const std::string part =
            text.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        char* end = nullptr;
        v[i] = std::strtod(part.c_str(), &end);
        if (part.empty() || *end != '\0' || !std::isfinite(v[i])) {
            range.error = "--lengths needs FROM:TO:STEP, three numbers separated by colons";
            return range;
        }
        start = colon + 1;
    }
    range = MakeLengthRange(v[0], v[1], v[2], maxCount);
    if (!range.error.empty()) range.error = "--lengths: " + range.error;
    return range;
}

LengthRange MakeLengthRange(double from, double to, double step, size_t maxCount) {
    LengthRange range;
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step)) {
        range.error = "FROM, TO and STEP must be numbers";
        return range;
    }
    if (from >= to) {
        range.error = "FROM must be below TO";
        return range;
    }
    if (step <= 0.0) {
        range.error = "STEP must be above 0";
        return range;
    }
    const double count = std::floor((to - from) / step + 1e-9) + 1.0;
    if (count > static_cast<double>(maxCount)) {
        std::ostringstream out;
        out << count << " lengths; at most " << maxCount << " are studied at once";
        range.error = out.str();
        return range;
    }
    for (size_t i = 0; i < static_cast<size_t>(count); ++i)
        range.lengths.push_back(from + static_cast<double>(i) * step);
    return range;
}

}  // namespace korvel
