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
    p.freeHeight = 120.0;
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

}  // namespace korvel::soil::testing
