// The problem state of one section: scalars, station arrays and tables read
// from the data file, plus what the soil subsystem needs of them. Rebuilt from
// zero for every section. Lengths and forces are in the section's unit system
// (inches and pounds, metres and kilonewtons, or consistent F and L).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "soil/soil_problem.h"

namespace korvel::engine {

// Station arrays hold station k at position k + 4, so stations -3 to N+3 fit;
// position 0 is unused, as in the arrays' original 1-based layout.
constexpr int kStationPositions = 414;
constexpr int StationIndex(int station) {
    return station + 4;
}

using StationArray = std::array<double, kStationPositions + 1>;

constexpr int kMaxRestraints = 20;
constexpr int kMaxCouples = 50;
constexpr int kMaxPYMods = 50;
constexpr int kMaxEICurves = 20;
constexpr int kMaxEIPoints = 100;

// Constraint of a station in the difference equations.
enum StationCode : int {
    kFree = 1,
    kDeflection = 2,           // specified deflection
    kBeforeSlope = 3,          // station before a specified slope
    kDeflectionWithSlope = 4,  // both deflection and slope specified here
    kAfterSlope = 5,           // station after a specified slope
};

struct SpecifiedValue {
    double deflection = 0.0;
    double slope = 0.0;
};

// A couple T at station `station`, kept as T/(2h) to correct the printed
// shear and reaction around it.
struct ConcentratedMoment {
    int station = 0;
    double value = 0.0;
};

struct MEIPoint {
    double moment = 0.0;
    double stiffness = 0.0;  // EI
};

struct MEICurve {
    int fromStation = 0;
    int toStation = 0;
    std::vector<MEIPoint> points;  // input order, at least two
};

// One p-y curve of the section. Points run with y ascending; p is the soil
// resistance times h (a force per station), opposite in sign to y.
struct PYCurve {
    int station = 0;
    int sideFlag = 0;  // 1: springs are interpolated down to the next curve
    // Made by the curve generator: beyond its end points the soil resists no
    // more than at them (a user curve's end segments are extended instead).
    bool generated = false;
    std::vector<double> y;
    std::vector<double> p;
};

constexpr int kMaxPYCurves = 63;
constexpr int kMaxPYPoints = 34;

// One row of the section's pressure table. After intake the pressures are
// per unit length of wall and `total` is multiplied by h (a force per station).
struct PressureRow {
    double depth = 0.0;  // below the top of the wall
    double total = 0.0;
    double soils = 0.0;
    double surcharges = 0.0;
};

constexpr int kMaxPressureRows = 1200;

struct Problem {
    // CONTROL
    int unitSystem = 1;  // 1 English, 2 SI, anything else other units
    int nRestraints = 0;
    int nStiffness = 0;
    int nPYMod = 0;
    int earthPressureOption = 0;  // 0 none, 1 user table, 2+ generated
    int pyCurveOption = 0;        // 2 generated, 3 generated at every station, otherwise none
    int nPYSets = 0;
    int stageCount = 1;
    int nEICurves = 0;
    int nTiebacks = 0;

    // WALL
    int N = 0;  // increments; stations 0 (top) to N (tip) lie on the wall
    double h = 0.0;
    double maxDeflection = 0.0;
    double closureTolerance = 0.0;
    double freeHeight = 0.0;  // depth of the excavation level below the top
    double Wa = 0.0;          // wall width for earth pressure
    int iterationLimit = 100;
    double twoH = 0.0, hSquared = 0.0, hCubed = 0.0, wallLength = 0.0;

    // Station arrays, all zero at the start of a section.
    StationArray F{};  // flexural stiffness EI, F*L^2
    StationArray Q{};  // transverse load per station, F
    StationArray S{};  // lateral spring stiffness per station, F/L
    StationArray T{};  // couple per station, F*L
    StationArray R{};  // rotational restraint stiffness, F*L
    StationArray P{};  // axial load with the sign opposite to the input, F
    std::array<int, kStationPositions + 1> stationCode{};

    std::vector<SpecifiedValue> specified;  // in input (station) order
    std::vector<ConcentratedMoment> concentratedMoments;
    std::vector<MEICurve> eiCurves;
    std::vector<PYCurve> pyCurves;  // the section's PYCurveTable

    // What the soil subsystem reads: wall, supports, soil records, p-y
    // modification factors, user curves; filled as the records are read.
    soil::SoilProblem soil;

    std::vector<PressureRow> pressure;
    int printedPressureRows = 0;
    int pressurePrintStep = 1;
};

}  // namespace korvel::engine
