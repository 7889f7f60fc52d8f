// What the soil subsystem (earth pressure, surcharges, p-y curve generation)
// reads of a section: the wall, the supports, the soil records (GEOMETRY,
// SURCHARGE, SURCHARGES, SOILS), the p-y modification factors and the user
// curves. Units are those of the section's unit system (inches and pounds,
// metres and kilonewtons, or consistent units); surcharge distances and
// widths are already in metres for SI input.
#pragma once

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/unit_labels.h"

namespace korvel::soil {

constexpr int kMaxSurcharges = 20;
constexpr int kMaxSoilLayers = 10;

struct Geometry {
    // The excavation depth the soil models work from, as GEOMETRY gives it;
    // the WALL record's own free height stays with the run (Problem) for the
    // user pressure table and the user curves.
    double freeHeight = 0.0;
    double Wa = 0.0;  // width for active earth pressure
    double Wp = 0.0;  // width for generating p-y resistance
    double waterDepthBackfill = 0.0;
    double waterDepthExcavation = 0.0;
    double activePressureFactor = 1.0;
    int waterFlag = 1;           // 1 switches water pressure on
    double backfillSlope = 0.0;  // degrees, -45 to 45
};

// The single surcharge of older files, plus the uniform surcharge.
struct Surcharge {
    double uniform = 0.0;
    double distance = 0.0;
    double pointLoad = 0.0;
    double lineLoad = 0.0;
    double stripLoad = 0.0;
    double stripWidth = 0.0;
};

enum class SurchargeType { Point = 1, Line = 2, Strip = 3 };

struct AdditionalSurcharge {
    int type = 1;            // SurchargeType as read
    double magnitude = 0.0;  // force, force per length or pressure by type
    double distance = 0.0;   // X, from the wall
    double width = 0.0;      // W, strip loads only
};

// Properties at the top or bottom of a layer, in the data file's slot order.
struct LayerProps {
    double gamma = 0.0;     // unit weight
    double cohesion = 0.0;  // or uniaxial compressive strength for rock
    double phi = 0.0;       // friction angle, degrees
    double e50 = 0.0;       // strain at half strength, or krm for weak rock
    double k = 0.0;         // subgrade modulus, or rock modulus
    double K = 0.0;         // optional earth pressure coefficient, or RQD %
};

struct SoilLayer {
    int type = 1;  // 1 soft clay ... 7 weak rock
    double bottomDepth = 0.0;
    double thickness = 0.0;  // bottom minus the previous layer's bottom
    LayerProps top;
    LayerProps bottom;
};

// A row of the p-y modification factors; depth below the top of the wall.
struct PYModification {
    double depth = 0.0;
    double pMultiplier = 1.0;
    double yMultiplier = 1.0;
};

// A user p-y curve as the generator receives it: points already multiplied
// by the set's p- and y-multipliers, p per unit length, opposite in sign to y.
struct UserPYCurve {
    int station = 0;
    std::vector<double> y;
    std::vector<double> p;
};

// A curve generated at a station (p-y option 3), both sides as the curve
// file would hold them: y' and p' per unit length, from y = 0 upwards, already
// multiplied and shifted by the active pressure.
struct StationPYCurve {
    int station = 0;
    double z = 0.0;  // depth below the top of the wall
    std::vector<double> yExcavation, pExcavation;
    std::vector<double> yBackfill, pBackfill;
};

// The p-y option that generates a curve at every station below the
// excavation level instead of five per layer.
constexpr int kPYCurvesAtEveryStation = 3;

// Whether a p-y option has the generator make curves (2: five per layer, 3: at every station).
inline bool GeneratesPYCurves(int pyCurveOption) {
    return pyCurveOption == 2 || pyCurveOption == kPYCurvesAtEveryStation;
}

struct SoilProblem {
    // From CONTROL and WALL.
    int unitSystem = 1;           // 1 English, 2 SI, anything else other units
    int earthPressureOption = 0;  // 2 triangular, 3 trapezoidal for anchored walls
    int pyCurveOption = 0;
    int N = 0;                // increments
    double h = 0.0;           // increment length
    double wallLength = 0.0;  // N * h

    // Supports: SPRINGS rows plus tiebacks.
    int supportCount = 0;
    int tiebackCount = 0;
    bool hasFirstSupportDepth = false;
    double firstSupportDepth = 0.0;  // station * h of the first support row on one station
    bool hasLastSupportDepth = false;
    double lastSupportDepth = 0.0;

    // Soil records; present only when `hasSoilRecords`.
    bool hasSoilRecords = false;
    Geometry geometry;
    Surcharge surcharge;
    std::vector<AdditionalSurcharge> surcharges;
    std::vector<SoilLayer> layers;

    std::vector<PYModification> pyMods;
    std::vector<UserPYCurve> userCurves;

    // Handed from earth pressure to curve generation. The effective overburden
    // at the excavation level keeps the value of the module's last run in this
    // analysis (0 before the first); the base pressure is the total per unit
    // length at the pressure table's last row (0 for a user table).
    double effectiveOverburden = 0.0;
    double basePressure = 0.0;

    // The value of pi the p-y models use: 3.14159 until a silt layer sets
    // 4*atan(1), which then holds for every later model of the analysis; the
    // run carries it from section to section (GenerateCurves updates it).
    double modelPi = 3.14159;

    // Left by GenerateCurves for p-y option 3, by increasing station.
    std::vector<StationPYCurve> stationCurves;
};

// Where the soil subsystem writes: the report, the run notes, the standard
// error stream, the report's unit labels (which the curve generator chooses
// afresh), and the folder of the intermediate files.
struct SoilOutput {
    std::ostream& report;
    std::ostream& notes;
    std::ostream& err;
    text::UnitLabels& labels;
    std::filesystem::path folder;
};

// Ends the run with `what()` as the report's error line (written as it
// stands, after two empty lines), then "     END OF ANALYSIS".
class SoilDataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An unrecoverable condition of a soil model: nothing more is written to the
// report, plot data file or run notes; the caller learns `what()` and the code.
class SoilStop : public std::runtime_error {
  public:
    SoilStop(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

}  // namespace korvel::soil
