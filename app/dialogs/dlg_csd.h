// TdlgCSD ("Wall Configuration"): free height, the widths Wa and Wp, the water
// depths on both sides, the active-pressure factor, the backfill slope and the
// uniform surcharge, with two diagrams of the wall and its symbols.
#pragma once

#include "dialogs/data_dialog.h"

namespace korvel {

class TdlgCSD : public TDataDialog {
    Q_OBJECT

  public:
    // Limits of the boxes, in the units each box shows.
    static constexpr long double kMaxFreeHeight = 1000000.0L;
    static constexpr long double kMaxWa = 1200.0L;
    static constexpr long double kMaxWaterDepth = 1000000.0L;
    static constexpr long double kMaxWp = 120.0L;
    static constexpr long double kMaxActivePressureFactor = 1000.0L;
    static constexpr long double kMaxBackfillSlope = 45.0L;  // degrees, either way
    static constexpr long double kMaxUniformSurcharge = 10000000.0L;

    explicit TdlgCSD(TProgramData& project, QWidget* parent = nullptr);

    TDataEdit* FreeHeightBox() const { return free_height_; }
    TDataEdit* WaBox() const { return wa_; }
    TDataEdit* WaterBackfillBox() const { return water_backfill_; }
    TDataEdit* WpBox() const { return wp_; }
    TDataEdit* WaterExcavationBox() const { return water_excavation_; }
    TDataEdit* ActiveFactorBox() const { return active_factor_; }
    TDataEdit* BackfillSlopeBox() const { return backfill_slope_; }
    TDataEdit* UniformSurchargeBox() const { return uniform_surcharge_; }

  private:
    TDataEdit* free_height_;
    TDataEdit* wa_;
    TDataEdit* water_backfill_;
    TDataEdit* wp_;
    TDataEdit* water_excavation_;
    TDataEdit* active_factor_;
    TDataEdit* backfill_slope_;
    TDataEdit* uniform_surcharge_;
};

}  // namespace korvel
