#include "design_inputs.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

namespace korvel::design {
namespace {

// Free-format records: each starts on a new line, takes as many numbers as it
// needs from as many lines as it needs, and leaves the rest of its last line.
class TRecordReader {
  public:
    explicit TRecordReader(std::istream& in) : in_(in) {}

    bool ReadLine(std::string& line) {
        if (!std::getline(in_, line)) return false;
        ++lineNo_;
        return true;
    }

    std::vector<double> Record(size_t count, const char* name) {
        std::vector<double> values;
        std::string line;
        while (values.size() < count) {
            if (!ReadLine(line)) {
                throw EDesignInputError(std::string("the data file ends inside the ") + name +
                                        " record");
            }
            for (char& c : line) {
                if (c == ',' || c == '\t' || c == '\r') c = ' ';
            }
            std::istringstream words(line);
            for (std::string word; values.size() < count && words >> word;) {
                char* end = nullptr;
                const double v = std::strtod(word.c_str(), &end);
                if (*end != '\0') {
                    throw EDesignInputError("line " + std::to_string(lineNo_) +
                                            " of the data file: \"" + word +
                                            "\" is not a number (" + name + ")");
                }
                values.push_back(v);
            }
        }
        return values;
    }

    int Count(const char* name) {
        const double v = Record(1, name)[0];
        if (!(v >= 0.0) || v > 100000.0 || v != std::floor(v)) {
            throw EDesignInputError(std::string("a count in the ") + name + " record is not valid");
        }
        return static_cast<int>(v);
    }

    void Skip(int rows, size_t count, const char* name) {
        for (int i = 0; i < rows; ++i) Record(count, name);
    }

  private:
    std::istream& in_;
    int lineNo_ = 0;
};

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

}  // namespace

std::vector<TWallSection> ReadWallSections(std::istream& dataFile) {
    TRecordReader in(dataFile);
    std::vector<TWallSection> sections;
    std::string title;
    while (in.ReadLine(title)) {
        TWallSection s;
        const auto control = in.Record(10, "CONTROL");
        const auto count = [&](size_t i) {
            const double v = control[i];
            if (!(v >= 0.0) || v > 100000.0) {
                throw EDesignInputError("a count in the CONTROL record is not valid");
            }
            return static_cast<int>(v);
        };
        s.unitSystem = static_cast<int>(control[0]);
        const int nRestraints = count(1), nStiffness = count(2), nPYMod = count(3);
        const int epOption = static_cast<int>(control[4]), pyOption = static_cast<int>(control[5]);
        const int nPYSets = count(6), stageCount = static_cast<int>(control[7]);
        const int nEICurves = count(8), nTiebacks = count(9);
        const auto wall = in.Record(6, "WALL");
        s.N = static_cast<int>(wall[0]);
        s.h = wall[1];
        s.freeHeight = wall[4];
        s.Wa = wall[5];
        if (nStiffness == 0) {
            throw EDesignInputError("a section without wall stiffness rows has no wall to check");
        }
        in.Skip(nRestraints, 4, "RESTRAINT");
        in.Skip(nStiffness, 4, "STIFFNESS");
        in.Skip(in.Count("CONCLOADS"), 6, "CONCLOADS");
        in.Skip(in.Count("SPRINGS"), 5, "SPRINGS");
        for (int i = 0; i < nTiebacks; ++i) {
            const auto t = in.Record(6, "TIEBACK");
            s.tiebacks.push_back({t[0], t[1], t[2], t[3], t[4], t[5]});
        }
        in.Skip(nPYMod, 3, "PYMOD");
        if (epOption == 1) in.Skip(in.Count("EPUSER"), 2, "EPUSER");
        if (epOption >= 2 || pyOption == 2) {
            in.Record(8, "GEOMETRY");
            in.Record(6, "SURCHARGE");
            in.Skip(in.Count("SURCHARGES"), 4, "SURCHARGES");
            const int layers = in.Count("SOILS");
            for (int i = 0; i < layers; ++i) {
                in.Record(2, "LAYER");
                in.Record(12, "LAYERPROPS");
            }
        }
        for (int i = 0; i < nPYSets; ++i) {
            const auto set = in.Record(4, "PYSET");
            if (!(set[1] >= 0.0)) throw EDesignInputError("a PYSET point count is not valid");
            in.Skip(static_cast<int>(set[1]), 2, "PYPOINT");
        }
        for (int i = 0; i < nEICurves; ++i) {
            const auto curve = in.Record(3, "EICURVE");
            if (!(curve[2] >= 0.0)) throw EDesignInputError("an EICURVE point count is not valid");
            in.Skip(static_cast<int>(curve[2]), 2, "EIPOINT");
        }
        sections.push_back(s);
        const int next = static_cast<int>(in.Record(1, "NEXT")[0]);
        if (next == 0 || next == stageCount) break;
    }
    if (sections.empty()) throw EDesignInputError("the data file holds no section");
    return sections;
}

std::vector<TResultsBlock> ReadResultsBlocks(std::istream& report) {
    std::vector<TResultsBlock> blocks;
    std::string line, previous;
    enum { kOutside, kHeader, kRows } state = kOutside;
    while (std::getline(report, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("     RESULTS -- ITERATION", 0) == 0) {
            blocks.emplace_back();
            state = kHeader;
            continue;
        }
        if (state == kOutside) continue;
        TResultsBlock& b = blocks.back();
        if (state == kHeader) {
            if (line.rfind("   ------", 0) == 0) {
                // The units line above has fixed columns for X, the moment and the shear.
                if (previous.size() >= 63) {
                    b.lengthUnit = Trim(previous.substr(12, 3));
                    // "KN- M" in the report's column; "KN-M" as korvel-run writes it.
                    b.momentUnit = Trim(previous.substr(46, 6));
                    std::erase(b.momentUnit, ' ');
                    b.forceUnit = Trim(previous.substr(59, 4));
                }
                state = kRows;
            }
            previous = line;
            continue;
        }
        std::istringstream row(line);
        int station;
        TStationResult r;
        double slope;
        if (!(row >> station >> r.x >> r.deflection >> slope >> r.moment >> r.shear)) {
            state = kOutside;
            continue;
        }
        b.stations.push_back(r);
    }
    return blocks;
}

}  // namespace korvel::design
