// Lateral pressure on the wall from the additional surcharges (point, line
// and strip loads behind the wall), by the empirically adjusted Boussinesq
// formulas normalised by the free height H. Depths z run down from the top of
// the backfill; pressures are per unit width of wall, in the unit system's
// force per length squared. The uniform surface pressure is not handled here:
// it enters the earth-pressure coefficients as overburden.
#pragma once

#include <ostream>
#include <vector>

#include "soil/soil_problem.h"
#include "text/unit_labels.h"

namespace korvel::soil {

// The lateral pressure of one surcharge at depth z > 0 with free height H > 0.
double SurchargePressure(const AdditionalSurcharge& surcharge, double z, double H);

// The same at the exact depth, with the rounded constants 1.273 (for 4/pi)
// and 0.6366 (for 2/pi) that the per-layer force has always used.
double SurchargeLayerPressure(const AdditionalSurcharge& surcharge, double z, double H);

// The additional surcharges of a section with the free height and wall length
// they are evaluated against. With H of zero or less the formulas have no
// meaning: every surcharge then contributes nothing (`Ignored()` says so,
// and the caller writes kSurchargesIgnoredWarning once).
class SurchargeField {
  public:
    SurchargeField(std::vector<AdditionalSurcharge> surcharges, double freeHeight,
                   double wallLength);
    explicit SurchargeField(const SoilProblem& problem);

    // `SurchargePressureAt`: the wall is cut into 200 slices and each surcharge
    // contributes its pressure at the deepest slice depth strictly above z,
    // so 0 when z is at or above the first slice.
    double PressureAt(double z) const;

    // Force on a layer from depth `top` down `thickness`: ten slices, each
    // taking the pressure at its bottom (SurchargeLayerPressure) times its height.
    double LayerForce(double top, double thickness) const;

    bool Ignored() const { return !surcharges_.empty() && freeHeight_ <= 0.0; }
    const std::vector<AdditionalSurcharge>& surcharges() const { return surcharges_; }

  private:
    std::vector<AdditionalSurcharge> surcharges_;  // in list order
    double freeHeight_;                            // H, L
    double wallLength_;                            // N*h, L; the slice grid spans it
};

// `SurchargePressureAt` of a section's surcharge list.
double SurchargePressureAt(const SoilProblem& problem, double z);

// Report line for surcharges that cannot act for want of a free height.
inline constexpr const char* kSurchargesIgnoredWarning =
    "     WARNING -- FREE HEIGHT IS ZERO OR LESS, THE SURCHARGES ARE IGNORED";

// The echo blocks of the surcharges, in list order; types other than 1, 2
// and 3 act as point loads but are not echoed.
void WriteSurchargeEcho(std::ostream& report, const text::UnitLabels& labels,
                        const std::vector<AdditionalSurcharge>& surcharges);

}  // namespace korvel::soil
