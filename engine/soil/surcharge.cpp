#include "soil/surcharge.h"

#include <cmath>
#include <utility>

#include "text/layout.h"

namespace korvel::soil {
namespace {

// Empirical constants of the surcharge formulas, as the method gives them.
constexpr double kPi = 3.1416f;         // single-precision pi of the formulas
constexpr double kNearLoadRatio = 0.4;  // m = X/H at or below this: near-wall formulas
constexpr double kNearPointFactor = 0.28;
constexpr double kNearPointShift = 0.16;  // 0.4 squared
constexpr double kFarPointFactor = 1.77;
constexpr double kNearLineFactor = 0.203;
constexpr double kLayerFarLineFactor = 1.273;  // 4/pi as the layer force rounds it
constexpr double kLayerStripFactor = 0.6366;   // 2/pi as the layer force rounds it
constexpr int kWallSlices = 200;               // grid of SurchargePressureAt over the wall length
constexpr int kLayerSlices = 10;               // slices of the per-layer surcharge force

// One surcharge at depth z; the far-line and strip factors differ between
// the pressure grid and the layer force.
double Pressure(const AdditionalSurcharge& s, double z, double H, double farLineFactor,
                double stripFactor) {
    const double Q = s.magnitude;
    const double X = s.distance;
    const double m = X / H;
    const double n = z / H;
    switch (s.type) {
        case static_cast<int>(SurchargeType::Line):
            if (m <= kNearLoadRatio) {
                return kNearLineFactor * Q * n / (H * std::pow(kNearPointShift + n * n, 2));
            }
            return farLineFactor * Q * m * m * n / (H * std::pow(m * m + n * n, 2));
        case static_cast<int>(SurchargeType::Strip): {
            const double a = std::atan(X / z);
            const double b =
                std::atan((X + s.width / 2.0) / z) - std::atan((X - s.width / 2.0) / z);
            return stripFactor * Q * (b - std::sin(b) * std::cos(2.0 * a));
        }
        default:  // point load, and any unknown type
            if (m <= kNearLoadRatio) {
                return kNearPointFactor * Q * n * n /
                       (H * H * std::pow(kNearPointShift + n * n, 3));
            }
            return kFarPointFactor * Q * m * m * n * n / (H * H * std::pow(m * m + n * n, 3));
    }
}

}  // namespace

double SurchargePressure(const AdditionalSurcharge& s, double z, double H) {
    return Pressure(s, z, H, 4.0 / kPi, 2.0 / kPi);
}

double SurchargeLayerPressure(const AdditionalSurcharge& s, double z, double H) {
    return Pressure(s, z, H, kLayerFarLineFactor, kLayerStripFactor);
}

SurchargeField::SurchargeField(std::vector<AdditionalSurcharge> surcharges, double freeHeight,
                               double wallLength)
    : surcharges_(std::move(surcharges)), freeHeight_(freeHeight), wallLength_(wallLength) {}

SurchargeField::SurchargeField(const SoilProblem& problem)
    : SurchargeField(problem.surcharges, problem.geometry.freeHeight, problem.wallLength) {}

double SurchargeField::PressureAt(double z) const {
    if (surcharges_.empty() || freeHeight_ <= 0.0 || wallLength_ <= 0.0) return 0.0;
    const double dz = wallLength_ / kWallSlices;
    int deepest = 0;  // deepest slice strictly above z; 0: none
    for (int k = 1; k <= kWallSlices; ++k) {
        if (k * dz < z) deepest = k;
    }
    if (deepest == 0) return 0.0;
    double sum = 0.0;
    for (const AdditionalSurcharge& s : surcharges_) {
        sum += SurchargePressure(s, deepest * dz, freeHeight_);
    }
    return sum;
}

double SurchargeField::LayerForce(double top, double thickness) const {
    if (surcharges_.empty() || freeHeight_ <= 0.0 || thickness <= 0.0) return 0.0;
    const double dz = thickness / kLayerSlices;
    double force = 0.0;
    for (int k = 1; k <= kLayerSlices; ++k) {
        double pressure = 0.0;
        for (const AdditionalSurcharge& s : surcharges_) {
            pressure += SurchargeLayerPressure(s, top + k * dz, freeHeight_);
        }
        force += dz * pressure;
    }
    return force;
}

double SurchargePressureAt(const SoilProblem& problem, double z) {
    return SurchargeField(problem).PressureAt(z);
}

void WriteSurchargeEcho(std::ostream& report, const text::UnitLabels& u,
                        const std::vector<AdditionalSurcharge>& surcharges) {
    const std::string length = u.lengthLong;
    const std::string perLength = u.forceLong + "/" + u.lengthShort;
    const std::string pressure = perLength + "**2";
    constexpr const char* kNumber = "(/, 6X, \"SURCHARGE LOADING NO.        = \", I10)";
    constexpr const char* kDistance =
        "(6X, \"HORIZONTAL DISTANCE BETWEEN  = \", E10.3, A, /, "
        "6X, \"THE WALL AND SURCHARGE         \", /)";
    int number = 0;
    for (const AdditionalSurcharge& s : surcharges) {
        ++number;
        switch (s.type) {
            case static_cast<int>(SurchargeType::Point):
                report << text::FormatLayout(kNumber, {number})
                       << text::FormatLayout("(6X, \"POINT LOAD                   = \", E10.3, A)",
                                             {s.magnitude, u.forceLong});
                break;
            case static_cast<int>(SurchargeType::Line):
                report << text::FormatLayout(kNumber, {number})
                       << text::FormatLayout("(6X, \"LINE LOAD                    = \", E10.3, A)",
                                             {s.magnitude, perLength});
                break;
            case static_cast<int>(SurchargeType::Strip):
                report << text::FormatLayout(kNumber, {number})
                       << text::FormatLayout("(6X, \"STRIP LOAD                   = \", E10.3, A)",
                                             {s.magnitude, pressure})
                       << text::FormatLayout("(6X, \"WIDTH OF THE STRIP LOAD      = \", E10.3, A)",
                                             {s.width, length});
                break;
            default:
                continue;
        }
        report << text::FormatLayout(kDistance, {s.distance, length});
    }
}

}  // namespace korvel::soil
