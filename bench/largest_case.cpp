#include "largest_case.h"

#include <cstdio>
#include <string>
#include <vector>

namespace korvel::bench {
namespace {

constexpr int kIncrements = 300;
constexpr double kIncrementLength = 3.0;  // in: a 75 ft wall
constexpr int kStages = 5;
constexpr int kLayers = 10;
constexpr double kLayerThickness = 96.0;  // in: ten 8 ft layers reach below the tip

std::string Real(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.8g", v);
    return buffer;
}

// Six property slots, each followed by one blank; unused slots are "0.0  ".
std::string Props(const std::vector<double>& values, const std::vector<bool>& used) {
    std::string line;
    for (size_t i = 0; i < values.size(); ++i) line += used[i] ? Real(values[i]) + " " : "0.0  ";
    return line;
}

std::string Stage(int stage) {
    const double cutFeet = 10.0 + 6.0 * (stage - 1);
    const double cut = 12.0 * cutFeet;
    const int tiebacks = stage == 1 ? 0 : (stage < 4 ? 1 : 2);
    const int pressureOption = tiebacks > 0 ? 3 : 2;
    // A later stage's title marks the stage boundary, as the program writes it,
    // so the program opens the file as five stages.
    std::vector<std::string> lines = {
        stage == 1 ? "Largest case: five-stage anchored excavation in layered soil"
                   : " Stage No : " + std::to_string(stage),
        "1 0\t1\t0\t" + std::to_string(pressureOption) + "\t2 0 " + std::to_string(kStages) +
            " 0 " + std::to_string(tiebacks),
        std::to_string(kIncrements) + " " + Real(kIncrementLength) + "\t10\t1E-5\t" + Real(cut) +
            "\t12",
        "0\t" + std::to_string(kIncrements) + "\t1\t5.336E9",
        "0",
        "0",
    };
    if (tiebacks >= 1) lines.push_back("8\t1.2\t29000000\t25\t15\t8");
    if (tiebacks >= 2) lines.push_back("20\t1.2\t29000000\t20\t15\t8");
    lines.push_back(Real(cut) + "\t12\t12\t240\t" + Real(cut + 60.0) + "\t1\t1\t0");
    lines.push_back("0.69444444\t0\t0\t0\t0\t0");
    lines.push_back("1");
    lines.push_back("3\t3\t120\t60");
    lines.push_back(std::to_string(kLayers));
    for (int layer = 1; layer <= kLayers; ++layer) {
        const bool sand = layer % 2 == 1;
        lines.push_back(std::string(sand ? "4" : "1") + " " + Real(layer * kLayerThickness) + " ");
        for (int side = 0; side < 2; ++side) {
            if (sand) {
                lines.push_back(Props({0.069444444, 0, 32.0 + layer * 0.3, 0, 60, 0},
                                      {true, false, true, false, true, false}));
            } else {
                lines.push_back(
                    Props({0.063657407, 5.5555556 + layer * 0.2 + side * 0.5, 0, 0.01, 100, 0},
                          {true, true, false, true, true, false}));
            }
        }
    }
    lines.push_back(std::to_string(stage));
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

}  // namespace

std::string LargestCaseDataFile() {
    std::string file;
    for (int stage = 1; stage <= kStages; ++stage) file += Stage(stage);
    return file;
}

}  // namespace korvel::bench
