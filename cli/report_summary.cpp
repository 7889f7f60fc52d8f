#include "report_summary.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace korvel::cli {
namespace {

void Keep(Extreme& e, double value, double depth) {
    if (std::abs(value) > std::abs(e.value)) e = {value, depth};
}

void KeepSigned(SignedExtremes& e, double value, double depth, bool first) {
    if (first || value > e.max.value) e.max = {value, depth};
    if (first || value < e.min.value) e.min = {value, depth};
}

// A unit text of the units line without its blanks: the short SI labels carry
// one of their own (" KN- M").
std::string Compact(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c != ' ') out += c;
    }
    return out;
}

std::string Number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4g", v);
    return buffer;
}

}  // namespace

std::vector<SectionSummary> SummariseReport(std::istream& report) {
    std::vector<SectionSummary> sections;
    std::string line, previous;
    enum { kOutside, kHeader, kRows } state = kOutside;
    while (std::getline(report, line)) {
        if (line.rfind("     RESULTS -- ITERATION", 0) == 0) {
            sections.emplace_back();
            sections.back().iterations = std::atoi(line.c_str() + 25);
            state = kHeader;
            continue;
        }
        if (state == kOutside) continue;
        SectionSummary& s = sections.back();
        if (state == kHeader) {
            if (line.find("DEFLECTION OFF Q - W CURVES") != std::string::npos) s.offCurves = true;
            if (line.find("SOLUTION NOT CLOSED") != std::string::npos) s.closed = false;
            const size_t at = line.find("EXCEEDED AT ***");
            if (at != std::string::npos) s.exceededStations = std::atoi(line.c_str() + at + 15);
            if (line.rfind("   ------", 0) == 0) {
                // The line above is the units line, with fixed columns for
                // X, the moment and the shear.
                if (previous.size() >= 63) {
                    s.lengthUnit = Compact(previous.substr(12, 3));
                    s.momentUnit = Compact(previous.substr(46, 6));
                    s.forceUnit = Compact(previous.substr(59, 4));
                }
                state = kRows;
            }
            previous = line;
            continue;
        }
        std::istringstream row(line);
        int station;
        double x, w, slope, m, v;
        if (!(row >> station >> x >> w >> slope >> m >> v)) {
            state = kOutside;
            continue;
        }
        const bool first = s.deflections.empty();
        KeepSigned(s.deflectionRange, w, x, first);
        KeepSigned(s.momentRange, m, x, first);
        KeepSigned(s.shearRange, v, x, first);
        Keep(s.deflection, w, x);
        s.deflections.push_back(w);
        Keep(s.moment, m, x);
        Keep(s.shear, v, x);
    }
    return sections;
}

bool ResultsValid(const SectionSummary& s) {
    return s.closed && !s.offCurves && s.exceededStations == 0;
}

std::string ResultProblems(const SectionSummary& s) {
    std::string out;
    const auto add = [&out](const std::string& p) { out += (out.empty() ? "" : ", ") + p; };
    if (!s.closed) add("not closed");
    if (s.exceededStations > 0) {
        add("maximum allowable deflection exceeded at " + std::to_string(s.exceededStations) +
            " stations");
    }
    if (s.offCurves) add("off the p-y curves");
    return out;
}

std::string DescribeSection(const SectionSummary& s) {
    std::string ending;
    if (s.exceededStations > 0) {
        ending = "maximum allowable deflection exceeded at " + std::to_string(s.exceededStations) +
                 " stations";
    } else {
        ending = s.closed ? "closed" : "not closed";
    }
    if (s.offCurves) ending += ", off the p-y curves";
    const std::string& L = s.lengthUnit;
    std::ostringstream out;
    out << s.iterations << (s.iterations == 1 ? " iteration, " : " iterations, ") << ending
        << "; max deflection " << Number(s.deflection.value) << ' ' << L << " at "
        << Number(s.deflection.depth) << ' ' << L << "; max moment " << Number(s.moment.value)
        << ' ' << s.momentUnit << " at " << Number(s.moment.depth) << ' ' << L << "; max shear "
        << Number(s.shear.value) << ' ' << s.forceUnit << " at " << Number(s.shear.depth) << ' '
        << L;
    return out.str();
}

}  // namespace korvel::cli
