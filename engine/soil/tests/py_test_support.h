// Scaffolding of the curve-generation tests: a scratch folder for the curve
// file, the output streams, soil layers and an English soldier-pile problem.
#pragma once

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "soil/py_generator.h"

namespace korvel::soil::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-py-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

struct Generation {
    TempFolder folder;
    std::ostringstream report, notes, err;
    text::UnitLabels labels;
    SoilOutput Out() { return {report, notes, err, labels, folder.path}; }
    std::vector<std::string> FileLines() {
        std::ifstream in(folder.path / "soildata");
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
};

inline SoilLayer Layer(int type, double bottom, double previous, LayerProps props) {
    SoilLayer l;
    l.type = type;
    l.bottomDepth = bottom;
    l.thickness = bottom - previous;
    l.top = props;
    l.bottom = props;
    return l;
}

// English soldier piles (Wa/Wp = 4, no group reduction), H = 120 in, wall
// 300 in: the profile is cut at 312 in, 192 in below the excavation.
inline SoilProblem Soldier() {
    SoilProblem p;
    p.unitSystem = 1;
    p.N = 50;
    p.h = 6.0;
    p.wallLength = 300.0;
    p.geometry.freeHeight = 120.0;
    p.geometry.Wa = 96.0;
    p.geometry.Wp = 24.0;
    p.geometry.waterDepthBackfill = 5000.0;
    return p;
}

// Point lines of the curve file: number, p', y'.
struct FilePoint {
    int n;
    double p, y;
};
inline FilePoint ParsePoint(const std::string& line) {
    std::istringstream in(line);
    FilePoint f{};
    in >> f.n >> f.p >> f.y;
    return f;
}

// Half a unit in the last digit of an E10.3 field holding `v`: how far a
// value read back from the curve file may lie from the one written.
inline double E103Tolerance(double v) {
    if (v == 0.0) return 1e-300;
    return 0.5 * std::pow(10.0, std::floor(std::log10(std::abs(v))) - 2.0) * (1.0 + 1e-9);
}

// The equivalent-depth integrals of the sand and the silt worked again here,
// apart from the models' helpers, for phi = 30 degrees: Ka = 1/3, Kp = 3,
// alpha = 15, beta = 60, K0 = 0.4. By hand with tan 60 = 1.7320508,
// sin 60 = 0.8660254, tan 30 = 0.5773503, tan 15 = 0.2679492, cos 15 = 0.9659258:
// c1 = Kp - Ka = 2.6666667;
// c2 = tan60 (0.4 (tan30 sin60 (1/cos15 + 1) - tan15) + 3 tan15) = 1.9117045;
// c3 = (0.4 tan30 + 3) 9 - 1/3 = 28.7451279.
struct HandIntegral {
    double c1 = 8.0 / 3.0, c2 = 1.9117045, c3 = 28.7451279;
    double Xl(double b) const { return (c3 - c1) * b / c2; }
};

// The static A factor, linear between the rows, 0.88 beyond x/b = 6.
inline double HandTableA(double xb) {
    const double d[] = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
    const double a[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.9, 0.88, 0.88};
    for (int i = 0; i < 9; ++i) {
        if (xb <= d[i + 1]) return a[i] + (a[i + 1] - a[i]) * (xb - d[i]) / (d[i + 1] - d[i]);
    }
    return 0.88;
}

// Right-end steps down to xl, the crossing of F interpolated within its
// step, beyond xl the rate `deep`. `rate` is the integrand at depth x.
template <class Rate>
double SteppedEquivalentDepth(double F, int steps, double xl, double deep, Rate rate) {
    const double dx = xl / steps;
    double total = 0.0;
    for (int j = 1; j <= steps; ++j) {
        const double x = j * dx;
        const double next = total + rate(x) * dx;
        if (next > F) return x - (next - F) * dx / (next - total);
        total = next;
    }
    return (F - total) / deep + xl;
}

}  // namespace korvel::soil::testing
