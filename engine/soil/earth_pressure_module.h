// Working state of one run of the earth-pressure module and its steps, in
// the order RunEarthPressure calls them: INITIAL (sub-layers), OUTPT (echo),
// CheckSubdivision, ResetResults, START (water flags, overburden,
// coefficients), FORCES (layer forces) and BULK (pressure points and the
// pressure file). Internal to the soil subsystem; the tests drive the steps.
// Sub-layer L sits at position L (1-based as in the method's tables).
#pragma once

#include <array>
#include <filesystem>
#include <vector>

#include "soil/earth_pressure.h"
#include "soil/soil_problem.h"
#include "soil/surcharge.h"

namespace korvel::soil {

constexpr int kMaxSubLayers = 21;           // rows of the working layer table
constexpr double kDepthTolerance = 1.0e-5;  // L; depths closer than this coincide

// One row of the working layer table (`SubLayer`). Lengths L, stresses F/L^2,
// unit weights F/L^3, angles in degrees.
struct SubLayer {
    double THICK = -1.0;  // thickness; 0 or less marks the end of the table
    double COHES = 0.0;
    double PHI = 0.0;
    double GAMMA = 0.0;   // total unit weight
    bool DRAINED = true;  // sand, silt and rock; clays stay in total stress
    double FMOD = 1.0;    // modification factor Fa of the active pressure
    double ZTOP = 0.0;    // depth of the top
    bool WET = false;     // top at or below the backfill water table
    double KA = 0.0;
    double TANA = 0.0;   // sqrt(KA) for the cohesion term; 0 with a user coefficient
    double KP = 0.0;     // reported only
    double SIGVP = 0.0;  // effective overburden at the top, backfill side
    double userK = 0.0;  // optional coefficient of the input layer it was cut from
    // FORCES results: forces per unit width, centroid depths.
    double PA1 = 0.0, PA2 = 0.0, PA3 = 0.0, PA4 = 0.0;
    double Z1 = 0.0, Z2 = 0.0, Z3 = 0.0, ZC = 0.0;
    double PW1 = 0.0, PW2 = 0.0;  // water forces, stored negative
};

// A point of the pressure distribution (`PressurePoint`), per unit width.
struct PressurePoint {
    double z = 0.0;
    double total = 0.0;
    double soils = 0.0;
    double surcharges = 0.0;
};

class EarthPressureModule {
  public:
    // Take-over: copies what the module needs of `problem`.
    EarthPressureModule(const SoilProblem& problem, const SoilOutput& out);

    void Initial();
    void Outpt();
    // The stops after the echo: more than 21 sub-layers (code 2), the
    // excavation level not a sub-layer top (code 1).
    void CheckSubdivision() const;
    void ResetResults();
    void Start();
    void Forces();
    // BULK without the file: the points, FTOT and the trapezoidal envelope.
    void ComputePoints();
    // The triangular distribution's points down to the wall tip, with FTOT.
    void BuildPoints();
    // Sub-layer L's points, at most up to `limit` in all; `previousTotal`
    // carries the last point's pressure into FTOT's trapezoidal sum.
    void AddLayerPoints(int L, size_t limit, double spacing, double& previousTotal);
    // The trapezoidal envelope over the points above the excavation level
    // (option 3), or the warning why the triangle stays.
    void ApplyTrapezoidalEnvelope();
    // Writes "bmwall.001" in `folder` (created or replaced).
    void WritePressureFile(const std::filesystem::path& folder) const;

    int NLAY() const { return nlay_; }
    int IH() const { return ih_; }
    int IWT() const { return iwt_; }
    bool tooManyLayers() const { return tooManyLayers_; }
    const SubLayer& layer(int L) const { return sub_[L]; }
    int waterFlag() const { return waterFlag_; }
    double GAMW() const { return gamw_; }
    double effectiveOverburden() const { return sigvpAtExcavation_; }
    double FTOT() const { return ftot_; }
    double netActiveForce() const { return netForce_; }
    const std::vector<PressurePoint>& points() const { return points_; }
    int excavationPoint() const { return excavationPoint_; }  // 1-based
    int fileCount() const { return fileCount_; }              // N of the file's first record
    EarthPressureResult Result() const;

  private:
    double PointsIn(double length) const;  // one per inch, or twenty per metre in SI
    void WriteRankine(int L);

    // Output.
    const SoilOutput& out_;

    // Taken over from the problem state.
    int unitSystem_;
    int option_;  // 2 triangular, 3 trapezoidal
    double H_, Wa_, Wp_, DWb_, DWe_, q_, Fa_, beta_;
    double gamw_;
    double wallLength_;
    // The supports of the trapezoid: spring rows and tiebacks alike, counted
    // and located from the same list.
    int supportCount_;
    bool hasSupportDepths_;  // first and last support each on a single station
    double firstSupportDepth_, lastSupportDepth_;
    SurchargeField surcharges_;
    std::vector<SubLayer> source_;  // input layers and the end marker

    // Working layer table: row L at position L; ZTOP of row NLAY+1 is the
    // bottom of the last layer, hence one spare row.
    std::array<SubLayer, kMaxSubLayers + 2> sub_{};
    int nlay_ = 0;
    int ih_ = 0;   // sub-layer whose top is the excavation level
    int iwt_ = 0;  // sub-layer whose top is the backfill water table, 0 for none
    bool tooManyLayers_ = false;
    int waterFlag_;
    double sigvpAtExcavation_ = 0.0;
    double netForce_ = 0.0;

    std::vector<PressurePoint> points_;  // point 1 (the surface) first
    int excavationPoint_ = 1;
    int fileCount_ = 0;
    double ftot_ = 0.0;  // resultant above the excavation level, F/L
};

}  // namespace korvel::soil
