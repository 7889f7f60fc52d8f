#include "soil/earth_pressure.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "soil/earth_pressure_module.h"
#include "text/layout.h"
#include "text/unit_labels.h"

namespace korvel::soil {
namespace {

constexpr double kGAMWEnglish = 0.036f;  // unit weight of water, lbs/in^3 (single precision)
constexpr double kGAMWSI = 9.81f;        // kN/m^3 (single precision)
constexpr double kDegreesPerRadian = 57.2958;
constexpr double kNoCentroid = -1000.0;          // Z1, Z2 of a layer without forces
constexpr double kNoTensionCentroid = -0.00001;  // Z3 of a layer without a tension zone
constexpr double kUserCoefficientMin = 1.0e-7;   // smaller optional coefficients count as absent
constexpr double kNetForceMin = 1.0e-5;          // F/L; a smaller net active force is reported
constexpr double kPressureFloor = 1.0e-5;        // F/L^2; smaller point pressures are floored
constexpr double kFloorStep = 1.0e-12;           // floor per point number, so it grows with depth
constexpr double kNegligiblePA2 = 0.000001;
constexpr double kPointsPerMetre = 20.0;  // SI point spacing 5 cm; English one per inch
constexpr double kPlateauFactor = 1.3;    // trapezoidal envelope over the triangular resultant
constexpr int kPressureTableRows = 1200;  // rows of the engine's pressure table
constexpr const char* kStars = "**************************************************";

// The framed banner: two empty lines, then the three lines after 6 blanks.
void WriteBanner(std::ostream& r, const char* titleLine) {
    r << "\n\n      " << kStars << "\n      " << titleLine << "\n      " << kStars << '\n';
}

void Rankine(SubLayer& s) {
    s.TANA = std::tan((45.0 - s.PHI / 2.0) / kDegreesPerRadian);
    s.KA = s.TANA * s.TANA;
}

}  // namespace

EarthPressureModule::EarthPressureModule(const SoilProblem& p, const SoilOutput& out)
    : out_(out),
      unitSystem_(p.unitSystem),
      option_(p.earthPressureOption),
      H_(p.geometry.freeHeight),
      Wa_(p.geometry.Wa),
      Wp_(p.geometry.Wp),
      DWb_(p.geometry.waterDepthBackfill),
      DWe_(p.geometry.waterDepthExcavation),
      q_(p.surcharge.uniform),
      Fa_(p.geometry.activePressureFactor),
      beta_(p.geometry.backfillSlope),
      gamw_(text::IsSI(p.unitSystem) ? kGAMWSI : kGAMWEnglish),
      wallLength_(p.wallLength),
      supportCount_(p.supportCount),
      hasSupportDepths_(p.hasFirstSupportDepth && p.hasLastSupportDepth),
      firstSupportDepth_(p.firstSupportDepth),
      lastSupportDepth_(p.lastSupportDepth),
      surcharges_(p),
      waterFlag_(p.geometry.waterFlag) {
    for (const SoilLayer& layer : p.layers) {
        SubLayer s;
        s.THICK = layer.thickness;
        s.COHES = layer.top.cohesion;
        s.PHI = layer.top.phi;
        s.GAMMA = layer.top.gamma;
        s.DRAINED = layer.type >= 4;
        // Rock rows carry RQD or nothing in the coefficient slot. A weak rock's
        // RQD is a percentage (say 60): taken as an earth-pressure coefficient
        // it would make the active pressure 60 times the overburden. Rock has
        // no coefficient of its own to offer, so its rows keep the computed one.
        s.userK = layer.type <= 5 ? layer.top.K : 0.0;
        source_.push_back(s);
    }
    source_.push_back(SubLayer{});  // end marker: thickness -1, drained
}

void EarthPressureModule::Initial() {
    // Split depths: the excavation level and the backfill water table, sorted,
    // coinciding ones merged.
    std::array<double, 3> d = {H_, DWb_, H_};
    auto order = [&d](int a, int b) {
        if (d[a] > d[b]) std::swap(d[a], d[b]);
    };
    order(0, 1);
    order(0, 2);
    order(1, 2);
    const bool same12 = std::abs(d[0] - d[1]) < kDepthTolerance;
    const bool same23 = std::abs(d[1] - d[2]) < kDepthTolerance;
    const int splits = 3 - (same12 ? 1 : 0) - (same23 ? 1 : 0);
    if (same12) d[1] = d[2];

    sub_ = {};
    sub_[1].ZTOP = 0.0;
    // A split at the surface cuts nothing; one above it (a water table above
    // the backfill) would give a negative thickness, so it is passed over too.
    int j = 0;
    while (j < splits && d[j] - sub_[1].ZTOP < kDepthTolerance) ++j;
    bool allUsed = j >= splits;

    int L = 1;
    size_t k = 0;
    for (;;) {
        const SubLayer& src = source_[k];
        if (L > kMaxSubLayers && src.THICK > 0.0) {
            tooManyLayers_ = true;
            nlay_ = kMaxSubLayers;
            break;
        }
        SubLayer& row = sub_[L];
        row.THICK = src.THICK;
        row.COHES = src.COHES;
        row.DRAINED = src.DRAINED;
        row.PHI = src.PHI;
        row.GAMMA = src.GAMMA;
        row.userK = src.userK;
        row.FMOD = Fa_;
        if (row.THICK <= 0.0) {
            nlay_ = L - 1;
            break;
        }
        const double zb = row.ZTOP + row.THICK;
        while (!allUsed) {
            if (std::abs(zb - d[j]) < kDepthTolerance) {
                d[j] = zb;  // the split coincides with the layer bottom
            } else if (zb <= d[j]) {
                break;  // the layer ends above the split
            } else {
                // The layer straddles the split: cut it there.
                sub_[L].THICK = d[j] - sub_[L].ZTOP;
                ++L;
                if (L > kMaxSubLayers) break;
                sub_[L] = sub_[L - 1];
                sub_[L].THICK = zb - d[j];
                sub_[L].ZTOP = d[j];
            }
            if (j < splits - 1) {
                ++j;
            } else {
                allUsed = true;
            }
        }
        if (L > kMaxSubLayers) {
            tooManyLayers_ = true;
            nlay_ = kMaxSubLayers;
            break;
        }
        ++L;
        sub_[L].ZTOP = zb;
        ++k;
    }
    sub_[nlay_ + 1].ZTOP = sub_[nlay_].ZTOP + sub_[nlay_].THICK;

    ih_ = 0;
    iwt_ = 0;
    for (int i = 1; i <= nlay_; ++i) {
        if (std::abs(sub_[i].ZTOP - H_) <= kDepthTolerance) ih_ = i;
        if (std::abs(sub_[i].ZTOP - DWb_) <= kDepthTolerance) iwt_ = i;
    }
}

void EarthPressureModule::Outpt() {
    std::ostream& r = out_.report;
    const text::UnitLabels& u = out_.labels;
    const std::string length = u.lengthLong;
    const std::string pressure = u.forceLong + "/" + u.lengthShort + "**2";
    const std::string weight = u.forceLong + "/" + u.lengthShort + "**3";
    auto line = [&r](const char* caption, double value, const std::string& unit) {
        r << text::FormatLayout("(6X, A, E10.3, A)", {caption, value, unit});
    };

    WriteBanner(r, "*                WALL INFORMATION                *");
    r << '\n';
    line("FREE HEIGHT OF WALL                    = ", H_, length);
    line("WIDTH FOR EARTH PRESSURE, WA           = ", Wa_, length);
    line("WIDTH FOR SOIL RESISTANCE, WP          = ", Wp_, length);
    line("DEPTH TO THE WATER TABLE AT BACKFILL   = ", DWb_, length);
    line("DEPTH TO THE WATER TABLE AT EXCAVATION = ", DWe_, length);
    line("UNIT WEIGHT OF WATER                   = ", gamw_, weight);
    line("SLOPE OF THE BACKFILL (deg.)           = ", beta_, "");
    line("MODIFICATION FOR ACTIVE EARTH PRESSURE = ", Fa_, "");
    r << '\n';

    WriteBanner(r, "*              SURCHARGE INFORMATION             *");
    line("UNIFORM SURFACE PRESSURE     =", q_, pressure);
    WriteSurchargeEcho(r, u, surcharges_.surcharges());
    if (surcharges_.Ignored()) r << "\n" << kSurchargesIgnoredWarning << '\n';

    WriteBanner(r, "*                SOIL INFORMATION                *");
    r << std::string(15, ' ') << "TOTAL" << std::string(17, ' ') << "TOTAL UNIT\n"
      << "       LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP\n";
    if (text::IsSI(unitSystem_)) {
        r << "       NO." << std::string(6, ' ') << "M " << std::string(7, ' ') << "kPa"
          << std::string(5, ' ') << "DEG" << std::string(3, ' ') << "kN/M^3" << std::string(4, ' ')
          << "T OR F" << std::string(3, ' ') << " M \n";
    } else {
        r << "       NO." << std::string(5, ' ') << "IN" << std::string(8, ' ') << "PSI"
          << std::string(5, ' ') << "DEG" << std::string(5, ' ') << "PCI" << std::string(5, ' ')
          << "T OR F" << std::string(3, ' ') << "IN\n";
    }
    for (int L = 1; L <= nlay_; ++L) {
        const SubLayer& s = sub_[L];
        r << text::FormatLayout("(7X, I3, F9.1, F11.1, F6.1, F9.3, 5X, L1, F10.2)",
                                {L, s.THICK, s.COHES, s.PHI, s.GAMMA, s.DRAINED, s.ZTOP});
    }
}

void EarthPressureModule::CheckSubdivision() const {
    if (tooManyLayers_) {
        throw SoilStop(2, "THE SOIL PROFILE NEEDS MORE THAN 21 SUB-LAYERS FOR THE EARTH PRESSURE");
    }
    if (ih_ == 0) {
        throw SoilStop(1,
                       "THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL PROFILE "
                       "(FREE HEIGHT AT OR BELOW THE BOTTOM OF THE LAST LAYER)");
    }
}

void EarthPressureModule::ResetResults() {
    for (SubLayer& s : sub_) {
        s.PA1 = s.PA2 = s.PA3 = s.PA4 = s.PW1 = s.PW2 = s.ZC = 0.0;
        s.Z1 = s.Z2 = kNoCentroid;
        s.Z3 = kNoTensionCentroid;
    }
}

void EarthPressureModule::Start() {
    std::ostream& r = out_.report;
    const text::UnitLabels& u = out_.labels;
    for (int L = 1; L <= nlay_; ++L) {
        SubLayer& s = sub_[L];
        s.WET = std::abs(s.ZTOP - DWb_) < kDepthTolerance || DWb_ < s.ZTOP;
    }

    WriteBanner(r, "*            EFFECTIVE OVERBURDEN STRESS         *");
    r << "      "
      << "          DEPTH                     STRESS       " << '\n';
    r << text::FormatLayout("(16X, A3, 22X, A4, A1, A2, A2, A1)",
                            {u.lengthLong, u.forceLong, "/", u.lengthShort, "**", "2"});
    // Total stress from the total unit weights first, then the pore pressure
    // off the drained layers below the water table.
    sub_[1].SIGVP = q_;
    for (int L = 2; L <= nlay_; ++L) {
        sub_[L].SIGVP = sub_[L - 1].SIGVP + sub_[L - 1].THICK * sub_[L - 1].GAMMA;
    }
    for (int L = 1; L <= nlay_; ++L) {
        SubLayer& s = sub_[L];
        if (s.DRAINED && s.WET) s.SIGVP -= (s.ZTOP - DWb_) * gamw_;
        if (L == nlay_) sub_[nlay_ + 1].ZTOP = s.ZTOP + s.THICK;
        r << text::FormatLayout("(12X, E10.3, 17X, E10.3)", {s.ZTOP, s.SIGVP});
        if (L == ih_) sigvpAtExcavation_ = s.SIGVP;
    }

    WriteBanner(r, "* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *");
    r << "\n      "
      << "  LAYER         ACTIVE EARTH     PASSIVE EARTH   " << '\n'
      << "      "
      << "   NO.          COEFFICIENT      COEFFICIENT     " << '\n';
    for (int L = 1; L <= nlay_; ++L) {
        SubLayer& s = sub_[L];
        Rankine(s);
        if (std::abs(beta_) > 0.0) {
            if (std::abs(beta_) < s.PHI) {
                const double b = beta_ / kDegreesPerRadian;
                const double f = s.PHI / kDegreesPerRadian;
                const double cosb = std::cos(b);
                const double rootD = std::sqrt(cosb * cosb - std::cos(f) * std::cos(f));
                s.KA = cosb * (cosb - rootD) / (cosb + rootD);
                s.TANA = std::sqrt(s.KA);
            } else if (s.ZTOP < H_) {
                constexpr const char* kWarning =
                    "\n\n**** WARNING ******\n"
                    "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE "
                    "OF SAND.\n";
                out_.notes << kWarning;
                r << kWarning;
            }
        }
        const double kp = std::tan((45.0 + s.PHI / 2.0) / kDegreesPerRadian);
        s.KP = kp * kp;
        r << text::FormatLayout("(10X, I2, 9X, E10.3, 8X, E10.3)", {L, s.KA, s.KP});
        if (s.userK > kUserCoefficientMin) {
            // The user's coefficient replaces the computed one and drops the cohesion term.
            s.KA = s.userK;
            s.TANA = 0.0;
        }
    }
}

void EarthPressureModule::Forces() {
    std::ostream& r = out_.report;
    const text::UnitLabels& u = out_.labels;
    const std::string pressure = u.forceLong + "/" + u.lengthShort + "**2";

    WriteBanner(r, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
    r << "\n      "
      << " LAYER    PA1     Z1       PA2     Z2         PA3     Z3"
      << "        PA4" << '\n';
    r << text::FormatLayout(
        "(6X, \"  NO\", 1X, A, 2X, A, 2X, A, 2X, A, 4X, A, 2X, A, 4X, A)",
        {pressure, u.lengthLong, pressure, u.lengthLong, pressure, u.lengthLong, pressure});
    for (int L = 1; L <= ih_ - 1; ++L) {
        SubLayer& s = sub_[L];
        SubLayer& below = sub_[L + 1];
        s.PA1 = s.SIGVP * s.KA * s.THICK * s.FMOD + surcharges_.LayerForce(s.ZTOP, s.THICK);
        const double g = s.DRAINED && s.WET ? s.GAMMA - gamw_ : s.GAMMA;
        s.PA2 = 0.5 * g * s.THICK * s.THICK * s.KA * s.FMOD;
        s.PA3 = -2.0 * s.COHES * s.TANA * s.THICK * s.FMOD + 0.0;  // + 0.0: no "-0.00" for sand
        s.Z1 = s.ZTOP + s.THICK / 2.0;
        s.Z2 = s.ZTOP + 2.0 * s.THICK / 3.0;
        if (s.PA1 + s.PA3 < 0.0) {
            // Tension zone: only the compressive triangle at the bottom acts.
            s.PA1 = s.PA2 = s.PA3 = 0.0;
            const double A = 2.0 * s.COHES * s.TANA - s.SIGVP * s.KA;      // tension at the top
            const double B = below.SIGVP * s.KA - 2.0 * s.COHES * s.TANA;  // pressure at the bottom
            if (B <= 0.0) {
                s.ZC = 0.0;  // the whole layer is in tension
                s.PA4 = 0.0;
            } else {
                // A + B > 0 unless the overburden does not grow in the layer.
                s.ZC = A + B > 0.0 ? std::min(s.THICK, B * s.THICK / (B + A)) : s.THICK;
                s.PA4 = s.FMOD * s.ZC * B / 2.0;
            }
            s.Z3 = below.ZTOP - s.ZC / 3.0;
        }
        r << text::FormatLayout("(6X, I2, 3(1X, F10.2, 1X, F6.2), 1X, F10.2)",
                                {L, s.PA1, s.Z1, s.PA2, s.Z2, s.PA3, s.Z3, s.PA4});
    }

    if (iwt_ >= 1 && iwt_ <= ih_ - 1) {
        WriteBanner(r, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *");
        r << "      "
          << " LAYER    PW1     Z1       PW2     Z2                " << '\n'
          << "      "
          << "  NO             "
          << "\n\n";
        for (int L = iwt_; L <= ih_ - 1; ++L) {
            SubLayer& s = sub_[L];
            waterFlag_ = 1;
            if (!s.DRAINED) continue;  // clays: water is in their total stress
            s.PW1 = -(s.ZTOP - DWb_) * gamw_ * s.THICK;
            s.PW2 = -0.5 * gamw_ * s.THICK * s.THICK;
            r << text::FormatLayout("(6X, I2, 2(1X, F10.2, 1X, F6.2))",
                                    {L, -s.PW1, s.Z1, -s.PW2, s.Z2});
        }
    }

    netForce_ = 0.0;
    for (int L = 1; L <= ih_ - 1; ++L) {
        const SubLayer& s = sub_[L];
        netForce_ += s.PA1 + s.PA2 + s.PA3 + s.PA4 - s.PW1 - s.PW2;
    }
    if (netForce_ < kNetForceMin) {
        constexpr const char* kMessage = "\n\n     Net active pressure is negative.\n\n";
        out_.err << kMessage;
        r << kMessage;
    }
}

double EarthPressureModule::PointsIn(double length) const {
    return std::round(text::IsSI(unitSystem_) ? kPointsPerMetre * length : length);
}

void EarthPressureModule::ComputePoints() {
    BuildPoints();
    if (option_ == 3) ApplyTrapezoidalEnvelope();
}

void EarthPressureModule::BuildPoints() {
    points_.clear();
    ftot_ = 0.0;
    const double spacing = text::IsSI(unitSystem_) ? 1.0 / kPointsPerMetre : 1.0;

    PressurePoint surface;
    surface.total = sub_[1].KA * sub_[1].SIGVP * sub_[1].FMOD;
    surface.surcharges = sub_[1].SIGVP > 0.0 ? surface.total : 0.0;
    points_.push_back(surface);

    // Counted down to the wall tip: the last sub-layer contributes the length
    // from its top to the tip, not its thickness.
    double counted = 1.0;
    for (int L = 1; L < nlay_; ++L) counted += PointsIn(sub_[L].THICK);
    counted += PointsIn(wallLength_ - sub_[nlay_].ZTOP);
    double toExcavation = 1.0;  // FTOT and the trapezoidal envelope need the points above H
    for (int L = 1; L < ih_; ++L) toExcavation += PointsIn(sub_[L].THICK);
    // Only the points the engine reads are built: down to the wall tip (or
    // the excavation level, when that lies deeper), and at most one more than
    // its pressure table holds, which the engine then refuses as too much
    // data. The profile below costs nothing, however deep a layer reaches.
    const double needed = std::max(counted, toExcavation);
    const size_t limit = needed <= kPressureTableRows ? static_cast<size_t>(needed)
                                                      : static_cast<size_t>(kPressureTableRows) + 1;

    double previousTotal = surface.total;
    for (int L = 1; L <= nlay_ && points_.size() < limit; ++L) {
        AddLayerPoints(L, limit, spacing, previousTotal);
    }
    const int built = static_cast<int>(points_.size());
    excavationPoint_ = toExcavation < built ? static_cast<int>(toExcavation) : built;
    // The count never promises more points than the profile gives; a table
    // cut at the limit is counted whole, so the engine refuses it.
    if (built > kPressureTableRows || counted >= built) {
        fileCount_ = built;
    } else {
        fileCount_ = counted >= 1.0 ? static_cast<int>(counted) : 1;
    }
}

void EarthPressureModule::AddLayerPoints(int L, size_t limit, double spacing,
                                         double& previousTotal) {
    SubLayer& s = sub_[L];
    const double g = s.DRAINED && s.WET ? s.GAMMA - gamw_ : s.GAMMA;
    const double gw = s.WET && s.DRAINED && waterFlag_ == 1 ? gamw_ : 0.0;
    const bool above = L < ih_;
    double p0 = 0.0;
    double slope = 0.0;  // F/L^3 within a layer above the excavation level
    if (above) {
        p0 = (s.ZTOP - DWb_) * gw + s.SIGVP * s.KA * s.FMOD - 2.0 * s.COHES * s.TANA * s.FMOD;
        slope = gw + g * s.KA * s.FMOD;
    } else {
        // Below the excavation level: Rankine, overburden held at its value at H.
        Rankine(s);
        p0 = (s.ZTOP - DWb_) * gw + sub_[ih_].SIGVP * s.KA * s.FMOD -
             2.0 * s.COHES * s.TANA * s.FMOD;
    }
    const double pq = (s.ZTOP - DWb_) * gw + q_ * s.KA * s.FMOD - 2.0 * s.COHES * s.TANA * s.FMOD;

    const double n = PointsIn(s.THICK);
    for (double k = 1.0; k <= n && points_.size() < limit; k += 1.0) {
        const double depthInLayer = k * s.THICK / n;
        PressurePoint pt;
        pt.z = s.ZTOP + depthInLayer;
        pt.total = pt.soils = p0 + slope * depthInLayer;
        pt.surcharges = surcharges_.PressureAt(pt.z);
        pt.total += pt.surcharges;
        const double uwe = pt.z > DWe_ ? (pt.z - DWe_) * gamw_ : 0.0;
        if (s.WET) {
            pt.total -= uwe;
            pt.soils -= uwe;
        }
        const double number = static_cast<double>(points_.size() + 1);
        if (pt.total < kPressureFloor) pt.total = number * kFloorStep;
        if (pt.soils < kPressureFloor) pt.soils = number * kFloorStep;
        if (above) ftot_ += (previousTotal + pt.total) / 2.0 * spacing;
        previousTotal = pt.total;
        pt.surcharges += pq;
        pt.soils -= pq;
        points_.push_back(pt);
    }
}

void EarthPressureModule::ApplyTrapezoidalEnvelope() {
    if (supportCount_ < 1) {
        out_.report
            << "\n\n     WARNING -- TRAPEZOIDAL EARTH PRESSURE NEEDS A TIEBACK OR A SPRING; "
               "THE TRIANGULAR DISTRIBUTION IS USED\n";
        return;
    }
    if (!hasSupportDepths_) {
        out_.report << "\n\n     WARNING -- TRAPEZOIDAL EARTH PRESSURE NEEDS ITS FIRST AND LAST "
                       "SUPPORT EACH ON ONE STATION; THE TRIANGULAR DISTRIBUTION IS USED\n";
        return;
    }
    const double z1 = firstSupportDepth_;
    const double zn = lastSupportDepth_;
    const double h1 = 2.0 * z1 / 3.0;
    double hm = H_ / 3.0;
    double h3 = 2.0 * (H_ - z1) / 3.0;
    double plateauDivisor = 2.0 * H_ / 3.0;  // one tieback: PAPP = 1.3 FTOT 3/(2H)
    if (supportCount_ > 1) {
        h3 = 2.0 * (H_ - zn) / 3.0;
        hm = H_ - h1 - h3;
        plateauDivisor = H_ - (h3 + h1) / 3.0;
    }
    const double hl = hm + h1;
    const double PAPP = plateauDivisor > 0.0 ? kPlateauFactor * ftot_ / plateauDivisor : 0.0;
    for (int i = 2; i <= excavationPoint_; ++i) {
        PressurePoint& pt = points_[i - 1];
        if (pt.z < h1) {
            pt.total = PAPP * pt.z / h1;
        } else if (pt.z <= hl) {
            pt.total = PAPP;
        } else {
            pt.total = PAPP - (pt.z - hl) * PAPP / h3;
        }
        // The envelope reaches 0 at H; the file keeps its floor there too.
        if (pt.total < kPressureFloor) pt.total = i * kFloorStep;
    }
}

void EarthPressureModule::WritePressureFile(const std::filesystem::path& folder) const {
    const std::filesystem::path path = folder / "bmwall.001";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text::FreeFormatLine({fileCount_});
    const text::Layout row("(5X, E10.3, 4X, E10.3, 4X, E10.3, 4X, E10.3)");
    for (const PressurePoint& pt : points_) {
        file << row.Format({pt.z, pt.total, pt.soils, pt.surcharges});
    }
    file.close();
    if (!file) throw SoilDataError("     ERROR STOP -- CANNOT WRITE THE PRESSURE FILE BMWALL.001");
}

EarthPressureResult EarthPressureModule::Result() const {
    EarthPressureResult result;
    result.pointsComputed = static_cast<int>(points_.size());
    result.topTension = nlay_ >= 1 && sub_[1].PA2 >= kNegligiblePA2 ? -sub_[1].COHES : 0.0;
    return result;
}

EarthPressureResult RunEarthPressure(SoilProblem& problem, const SoilOutput& out) {
    EarthPressureModule module(problem, out);
    // The scratch file of INITIAL: created empty, nothing is written to it.
    std::ofstream(out.folder / "debug.dat", std::ios::trunc);
    module.Initial();
    module.Outpt();
    module.CheckSubdivision();
    module.ResetResults();
    module.Start();
    problem.effectiveOverburden = module.effectiveOverburden();
    module.Forces();
    module.ComputePoints();
    module.WritePressureFile(out.folder);
    return module.Result();
}

}  // namespace korvel::soil
