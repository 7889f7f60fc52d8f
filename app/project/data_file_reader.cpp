#include "project/data_file_reader.h"

#include <algorithm>

#include "entry/entry_errors.h"
#include "entry/units.h"
#include "project/soil_slots.h"

namespace korvel {
namespace {

constexpr long double kInchesPerFoot = 12.0L;
// Where the earliest versions stored the unit weight of water; read as factor 1.
constexpr long double kLegacyWaterUnitWeight = 0.036L;
constexpr int kLongTermFollows = 9;
constexpr int kMaxStages = 5;
// Surcharge load types of the SurchargeTable's first column.
constexpr int kPointLoad = 1;
constexpr int kLineLoad = 2;
constexpr int kStripLoad = 3;

}  // namespace

TRecordLayout LayoutOfFormat(int format) {
    switch (format) {
        case 1:
            return {true, true, false};
        case 2:  // .kv4d: no nTiebacks, no Wa in WALL, no TIEBACK rows
            return {true, false, false};
        case 4:  // earliest .kvd: as 3, and no StageCount, layers by thickness, no NEXT
            return {false, false, true};
        default:  // .kvd: nor nEICurves, SURCHARGES, p-y multipliers, EICURVE
            return {false, false, false};
    }
}

int TDataFileReader::Count(const TGridTable& table) {
    // Exactly the table's own limit: what the program can write, it reads back.
    return in_.ReadCount(table.MaxRows());
}

void TDataFileReader::Choice(TGridTable& table, int column, int row) {
    const int line = in_.LineNumber();
    const int value = in_.ReadInteger();
    if (discard_) return;
    ++stored_;
    try {
        table.Cell(column, row).SetAsInteger(value);
    } catch (const EAssignError& error) {
        throw EInOutError(QStringLiteral("Error on Line %1\r%2").arg(line).arg(error.Message()));
    }
}

void TDataFileReader::Integer(TGridTable& table, int column, int row) {
    const int value = in_.ReadInteger();
    if (discard_) return;
    ++stored_;
    table.Cell(column, row).SetAsInteger(value);
}

void TDataFileReader::Real(TGridTable& table, int column, int row, long double factor) {
    const long double value = in_.ReadReal();
    if (discard_) return;
    ++stored_;
    table.Cell(column, row).SetAsFloat(value * factor);
}

TGridTable& TDataFileReader::CurveOf(TGridTable& sets, int column, int row, TGridTable& layout) {
    TGridTable* curve = discard_ ? nullptr : sets.Cell(column, row).AsTable();
    // Without a curve of its own (a discarded row) the points are read past; the
    // template then only lends its row limit.
    return curve ? *curve : layout;
}

template <typename ReadRow>
void TDataFileReader::ReadRows(TGridTable& table, int count, ReadRow read_row) {
    if (!discard_) table.SetRowCount(0);
    for (int row = 0; row < count; ++row) {
        if (!discard_) table.SetRowCount(row + 1);
        const int stored_before = stored_;
        try {
            read_row(row);
        } catch (const EKorvelError&) {
            // A row that the file ended before is not kept; a row begun keeps what was read.
            if (!discard_ && stored_ == stored_before) table.SetRowCount(row);
            throw;
        }
    }
}

void TDataFileReader::ReadDataFile() {
    if (ReadSection(TSectionKind::kFirst) == kLongTermFollows) {
        project_.LongTermAnalysis = true;
        ReadSection(TSectionKind::kLongTerm);
    }
}

int TDataFileReader::ReadSection(TSectionKind kind) {
    TProgramData& p = project_;
    TProgramTables& t = p.Tables();
    // The long-term section repeats what the first section set; its CONTROL says 2
    // for any generated distribution and must not undo a 3 or the long-term option.
    const bool sets_options = kind != TSectionKind::kLongTerm;

    // TITLE
    const QString title = in_.ReadLine();
    if (sets_options) p.Title = title;

    // CONTROL
    const int unit_system = in_.ReadInteger();
    const int control_line = in_.LastWordLine();
    if (sets_options) {
        p.SetUnitSystem(unit_system);
        if (p.UnitSystem() != unit_system) {
            warnings_.append(QStringLiteral("Line %1: the unit system %2 is not 1, 2 or 3; it "
                                            "was changed to %3.")
                                 .arg(control_line)
                                 .arg(unit_system)
                                 .arg(p.UnitSystem()));
        }
    }
    const bool english = p.UnitSystem() == kEnglishUnits;
    const long double feet = english ? kInchesPerFoot : 1.0L;

    const int restraints = Count(*t.Soillayer);
    const int stiffness = Count(*t.PileSect);
    const int modifications = Count(*t.PYMod);
    const int pressure_option = in_.ReadInteger();
    const int curve_option = in_.ReadInteger();
    const int curve_sets = Count(*t.PYCurves2);
    const int stage_count = layout_.Earliest ? 1 : in_.ReadInteger();
    const int ei_curves = layout_.EIRecords ? Count(*t.MEICurves2) : 0;
    const int tiebacks = layout_.TiebackRecords ? Count(*t.TiebackTable1) : 0;
    if (sets_options) {
        p.StageCount = std::clamp(stage_count, 1, kMaxStages);
        if (p.StageCount != stage_count) {
            warnings_.append(QStringLiteral("Line %1: the stage count %2 is outside 1 to %3; it "
                                            "was changed to %4.")
                                 .arg(control_line)
                                 .arg(stage_count)
                                 .arg(kMaxStages)
                                 .arg(p.StageCount));
        }
        p.EarthPressureOption = pressure_option;
        p.PYCurveOption = curve_option;
        p.nEICurves = ei_curves;
        p.nTiebacks = tiebacks;
        p.ApplyRestraints = restraints > 0;
        p.ApplyEICurves = ei_curves > 0;
        p.ApplyTiebacks = tiebacks > 0;
        p.ApplyPYModification = modifications > 0;
        p.ApplyExternalPYCurves = curve_option == 1 || curve_sets > 0;
        // The file's choice is the project's: user table (1) or generated (2, 3).
        p.EarthPressureType = pressure_option;
        // p-y curves generated exactly when the file says so, whatever its earth
        // pressure: a file saved without a pressure chosen reads back as saved.
        // Option 3 generates the curves at every station instead of five per layer.
        p.GeneratePYCurves = curve_option == 2 || curve_option == kPYCurvesAtEveryStation;
        p.PYCurvesAtEveryStation = curve_option == kPYCurvesAtEveryStation;
        p.LongTermMarker = 0;
        p.LongTermAnalysis = false;
    }

    // WALL
    const int increments = in_.ReadInteger();
    const long double increment_length = in_.ReadReal();
    const long double max_deflection = in_.ReadReal();
    const long double closure_tolerance = in_.ReadReal();
    const long double free_height = in_.ReadReal();
    // Kept even though GEOMETRY repeats it: a section without GEOMETRY has no other Wa.
    const long double wa = layout_.TiebackRecords ? in_.ReadReal() : p.Wa;
    if (sets_options) {
        p.Increments = increments;
        p.IncrementLength = increment_length;
        p.MaxDeflection = max_deflection;
        p.ClosureTolerance = closure_tolerance;
        p.FreeHeight = free_height;
        p.Wa = wa;
    }

    // The long-term section repeats the tables it shares with the first section
    // (the model holds one of each): they are read past, and the first section's
    // rows stay.
    discard_ = kind == TSectionKind::kLongTerm;

    // RESTRAINT, STIFFNESS
    ReadRows(*t.Soillayer, restraints, [&](int row) {
        Choice(*t.Soillayer, 0, row);
        Integer(*t.Soillayer, 1, row);
        Real(*t.Soillayer, 2, row);
        Real(*t.Soillayer, 3, row);
    });
    ReadRows(*t.PileSect, stiffness, [&](int row) {
        Integer(*t.PileSect, 0, row);
        Integer(*t.PileSect, 1, row);
        Choice(*t.PileSect, 2, row);
        Real(*t.PileSect, 3, row);
    });

    // CONCLOADS, SPRINGS, TIEBACK, PYMOD
    const int loads = Count(*t.BoundCond);
    if (sets_options) p.ApplyConcentratedLoads = loads > 0;
    ReadRows(*t.BoundCond, loads, [&](int row) {
        Choice(*t.BoundCond, 0, row);
        Integer(*t.BoundCond, 1, row);
        Integer(*t.BoundCond, 2, row);
        for (int column = 3; column <= 5; ++column) Real(*t.BoundCond, column, row);
    });
    const int springs = Count(*t.SoilStrength);
    if (sets_options) p.ApplySprings = springs > 0;
    ReadRows(*t.SoilStrength, springs, [&](int row) {
        Integer(*t.SoilStrength, 1, row);
        Integer(*t.SoilStrength, 2, row);
        Choice(*t.SoilStrength, 0, row);
        Real(*t.SoilStrength, 3, row);
        Real(*t.SoilStrength, 4, row);
    });
    if (layout_.TiebackRecords) {
        ReadRows(*t.TiebackTable1, tiebacks, [&](int row) {
            for (int column = 0; column < 6; ++column) Real(*t.TiebackTable1, column, row);
        });
    }
    ReadRows(*t.PYMod, modifications, [&](int row) {
        Real(*t.PYMod, 0, row, 1.0L / feet);
        Real(*t.PYMod, 1, row);
        Real(*t.PYMod, 2, row);
    });

    // EPUSER
    discard_ = false;
    if (pressure_option == 1) {
        TGridTable& load = kind == TSectionKind::kLongTerm ? *t.LongDist : *t.DistLoad;
        const int rows = Count(load);
        ReadRows(load, rows, [&](int row) {
            Real(load, 0, row, 1.0L / feet);  // in -> ft
            Real(load, 1, row, feet);         // lbs/in -> lbs/ft
        });
    }

    // GEOMETRY, SURCHARGE, SURCHARGES, SOILS
    if (pressure_option > 1 || curve_option > 1) {
        const long double height = in_.ReadReal();
        const long double geometry_wa = in_.ReadReal();
        const long double wp = in_.ReadReal();
        const long double water_backfill = in_.ReadReal();
        const long double water_excavation = in_.ReadReal();
        long double factor = in_.ReadReal();
        if (factor == kLegacyWaterUnitWeight) factor = 1.0L;
        const int water_flag = in_.ReadInteger();
        const long double slope = in_.ReadReal();
        long double surcharge[6];
        for (long double& value : surcharge) value = in_.ReadReal();
        if (sets_options) {
            p.FreeHeight = height;
            p.Wa = geometry_wa;
            p.Wp = wp;
            p.WaterDepthBackfill = water_backfill;
            p.WaterDepthExcavation = water_excavation;
            p.ActivePressureFactor = factor;
            p.WaterFlag = water_flag;
            p.BackfillSlope = slope;
            p.UniformSurcharge = surcharge[0];
            p.SurchargeDistance = surcharge[1];
            p.PointLoad = surcharge[2];
            p.LineLoad = surcharge[3];
            p.StripLoad = surcharge[4];
            p.StripWidth = surcharge[5];
        }
        if (layout_.EIRecords) {
            discard_ = kind == TSectionKind::kLongTerm;
            const int rows = Count(*t.SurchargeTable);
            if (sets_options) p.ApplySurcharges = rows > 0;
            ReadRows(*t.SurchargeTable, rows, [&](int row) {
                Choice(*t.SurchargeTable, 0, row);
                for (int column = 1; column <= 3; ++column) Real(*t.SurchargeTable, column, row);
            });
        } else if (sets_options) {
            ReadSingleSurchargeRows();
        }
        discard_ = false;
        const int layers = Count(kind == TSectionKind::kLongTerm ? *t.LongSoil : *t.NewSoil);
        if (layout_.Earliest) {
            ReadEarliestSoils(layers);
        } else {
            ReadSoils(kind, layers);
        }
    }

    // PYSET
    discard_ = kind == TSectionKind::kLongTerm;
    ReadRows(*t.PYCurves2, curve_sets, [&](int row) {
        Integer(*t.PYCurves2, 0, row);
        TGridTable& curve = CurveOf(*t.PYCurves2, 1, row, *t.PYCurve2);
        const int points = Count(curve);
        if (layout_.EIRecords) {
            Real(*t.PYCurves2, 2, row);
            Real(*t.PYCurves2, 3, row);
        }
        ReadRows(curve, points, [&](int point) {
            Real(curve, 0, point);
            Real(curve, 1, point);
        });
    });

    // EICURVE
    if (layout_.EIRecords) {
        ReadRows(*t.MEICurves2, ei_curves, [&](int row) {
            Integer(*t.MEICurves2, 0, row);
            Integer(*t.MEICurves2, 1, row);
            TGridTable& curve = CurveOf(*t.MEICurves2, 2, row, *t.Rows2);
            const int points = Count(curve);
            ReadRows(curve, points, [&](int point) {
                Real(curve, 0, point);
                Real(curve, 1, point);
            });
        });
    }

    discard_ = false;

    // NEXT (the earliest files end after their curve sets)
    const int next = layout_.Earliest ? 0 : in_.ReadInteger();
    if (sets_options) p.LongTermMarker = next;
    if (kind == TSectionKind::kStage) p.LongTermAnalysis = next == kLongTermFollows;
    return next;
}

void TDataFileReader::ReadSoils(TSectionKind kind, int count) {
    TProgramTables& t = project_.Tables();
    TGridTable& soils = kind == TSectionKind::kLongTerm ? *t.LongSoil : *t.NewSoil;
    const bool english = project_.UnitSystem() == kEnglishUnits;
    ReadRows(soils, count, [&](int layer) {
        Choice(soils, 0, layer);  // a new type brings a fresh parameter table
        Real(soils, 1, layer, english ? 1.0L / kInchesPerFoot : 1.0L);
        TGridTable* params = soils.Cell(2, layer).AsTable();
        const auto layer_slots = SoilSlots(soils.Cell(0, layer).AsInteger());
        for (int row = 0; row < 2; ++row) {
            for (const TSoilSlot& slot : layer_slots) {
                const long double value = in_.ReadReal();
                const bool dropped = slot.DroppedLongTerm && kind == TSectionKind::kLongTerm;
                if (slot.Column < 0 || dropped || !params || row >= params->RowCount()) continue;
                params->Cell(slot.Column, row)
                    .SetAsFloat(value * (english ? SlotReadFactor(slot.Conversion) : 1.0L));
            }
        }
    });
}

// Layers of the earliest files: type (1 to 6, 6 being rock), thickness, then one
// line of unit weight, cohesion, friction angle, E50 and k. The bottom is the
// running sum of the thicknesses; both rows of the parameter table take the line;
// the values are taken as they stand, without the feet-based conversions.
void TDataFileReader::ReadEarliestSoils(int count) {
    TGridTable& soils = *project_.Tables().NewSoil;
    constexpr int kEarliestValues = 5;  // the first five slots; no K
    long double bottom = 0.0L;
    ReadRows(soils, count, [&](int layer) {
        Choice(soils, 0, layer);  // a new type brings a fresh parameter table
        bottom += in_.ReadReal();
        ++stored_;
        soils.Cell(1, layer).SetAsFloat(bottom);
        TGridTable* params = soils.Cell(2, layer).AsTable();
        const auto layer_slots = SoilSlots(soils.Cell(0, layer).AsInteger());
        for (int slot = 0; slot < kEarliestValues; ++slot) {
            const long double value = in_.ReadReal();
            const int column = layer_slots[static_cast<size_t>(slot)].Column;
            if (column < 0 || !params) continue;
            for (int row = 0; row < params->RowCount(); ++row)
                params->Cell(column, row).SetAsFloat(value);
        }
    });
}

// Formats without SURCHARGES carry one surcharge in SURCHARGE; a distance above 0
// turns it into a point, a line and a strip load row.
void TDataFileReader::ReadSingleSurchargeRows() {
    TProgramData& p = project_;
    TGridTable& table = *p.Tables().SurchargeTable;
    if (p.SurchargeDistance <= 0.0L) return;
    const struct {
        int type;
        long double magnitude;
    } rows[] = {{kPointLoad, p.PointLoad}, {kLineLoad, p.LineLoad}, {kStripLoad, p.StripLoad}};
    table.SetRowCount(0);
    table.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        table.Cell(0, row).SetAsInteger(rows[row].type);
        table.Cell(1, row).SetAsFloat(rows[row].magnitude);
        table.Cell(2, row).SetAsFloat(p.SurchargeDistance);
        table.Cell(3, row).SetAsFloat(p.StripWidth);
    }
    p.ApplySurcharges = true;
}

}  // namespace korvel
