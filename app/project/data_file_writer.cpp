#include "project/data_file_writer.h"

#include <QStringList>

#include "entry/number_format.h"
#include "entry/units.h"
#include "project/soil_slots.h"

namespace korvel {
namespace {

// English depths are entered in feet and written in inches; distributed loads
// are entered per foot and written per inch.
constexpr long double kInchesPerFoot = 12.0L;
// A slot that the layer's soil type does not use: zero and two blanks, standing
// for the value and its blank.
constexpr const char* kFillerSlot = "0.0  ";
// Generated earth pressure in the long-term section and in stage files.
constexpr int kTriangularDistribution = 2;
constexpr int kLongTermFollows = 9;

QString Cell(TGridTable& table, int column, int row) {
    return table.Cell(column, row).AsString();
}

// Cells of one row joined by TABs.
QString TabRow(TGridTable& table, int row, std::initializer_list<int> columns) {
    QStringList cells;
    for (int column : columns) cells.append(Cell(table, column, row));
    return cells.join(u'\t');
}

// Rows a table gives the file: all of them while its option is on, none while it
// is off. The rows of a switched-off option stay in the project until the user
// deletes them, so that switching it on again brings them back.
int RowsWritten(const TGridTable& table, bool applied) {
    return applied ? table.RowCount() : 0;
}

// A title is one line of the file: line breaks inside it would shift every record.
QString OneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

}  // namespace

QString FileReal(long double value) {
    return FormatGeneral(value, kFileDigits);
}

void TDataFileWriter::Line(const QString& line) {
    text_ += line.toUtf8();
    text_ += "\r\n";
}

TSectionOptions SectionOptions(const TProgramData& p, TSectionKind kind) {
    const TProgramTables& t = p.Tables();
    TSectionOptions options;
    if (UsesUserEarthPressure(p)) {
        options.EarthPressureOption = 1;
    } else if (GeneratesEarthPressure(p)) {
        options.EarthPressureOption =
            kind == TSectionKind::kFirst ? p.EarthPressureType : kTriangularDistribution;
    }
    const int generatedCurves = p.PYCurvesAtEveryStation ? kPYCurvesAtEveryStation : 2;
    options.PYCurveOption =
        p.GeneratePYCurves ? generatedCurves : (p.ApplyExternalPYCurves ? 1 : 0);
    options.nEICurves = p.ApplyEICurves ? t.MEICurves2->RowCount() : 0;
    options.nTiebacks = p.ApplyTiebacks ? t.TiebackTable1->RowCount() : 0;
    return options;
}

void TDataFileWriter::WriteSection(TSectionKind kind) {
    TProgramData& p = project_;
    if (kind == TSectionKind::kStage && p.CurrentStage > 1) {
        Line(QStringLiteral(" Stage No : ") + QString::number(p.CurrentStage));
    } else {
        Line(OneLine(p.Title));
    }
    // The options are derived afresh; the project keeps them as last written.
    const TSectionOptions options = SectionOptions(p, kind);
    p.EarthPressureOption = options.EarthPressureOption;
    p.PYCurveOption = options.PYCurveOption;
    p.nEICurves = options.nEICurves;
    p.nTiebacks = options.nTiebacks;
    WriteControl();
    WriteWall();
    WriteTables(kind);
    if (p.EarthPressureOption >= 2 || p.PYCurveOption == 2 ||
        p.PYCurveOption == kPYCurvesAtEveryStation)
        WriteSoils(kind);
    WriteCurveSets();

    int next = 0;
    if (kind == TSectionKind::kFirst) {
        p.LongTermMarker = p.LongTermAnalysis ? kLongTermFollows : 0;
        next = p.LongTermMarker;
    } else if (kind == TSectionKind::kStage) {
        next = p.CurrentStage;
    }
    Line(QString::number(next));
}

void TDataFileWriter::WriteControl() {
    const TProgramData& p = project_;
    const TProgramTables& t = p.Tables();
    const auto n = [](int value) { return QString::number(value); };
    Line(n(p.UnitSystem()) + u' ' + n(RowsWritten(*t.Soillayer, p.ApplyRestraints)) + u'\t' +
         n(t.PileSect->RowCount()) + u'\t' + n(RowsWritten(*t.PYMod, p.ApplyPYModification)) +
         u'\t' + n(p.EarthPressureOption) + u'\t' + n(p.PYCurveOption) + u' ' +
         n(RowsWritten(*t.PYCurves2, p.ApplyExternalPYCurves)) + u' ' + n(p.StageCount) + u' ' +
         n(p.nEICurves) + u' ' + n(p.nTiebacks));
}

void TDataFileWriter::WriteWall() {
    const TProgramData& p = project_;
    Line(QString::number(p.Increments) + u' ' + FileReal(p.IncrementLength) + u'\t' +
         FileReal(p.MaxDeflection) + u'\t' + FileReal(p.ClosureTolerance) + u'\t' +
         FileReal(p.FreeHeight) + u'\t' + FileReal(p.Wa));
}

void TDataFileWriter::WriteTables(TSectionKind kind) {
    TProgramData& p = project_;
    TProgramTables& t = p.Tables();
    const bool english = p.UnitSystem() == kEnglishUnits;
    const long double feet = english ? kInchesPerFoot : 1.0L;

    if (p.ApplyRestraints) {
        for (int row = 0; row < t.Soillayer->RowCount(); ++row)
            Line(TabRow(*t.Soillayer, row, {0, 1, 2, 3}));
    }
    // The engine continues the last stiffness row to nothing: it must be constant.
    if (t.PileSect->RowCount() > 0) t.PileSect->Cell(2, t.PileSect->RowCount() - 1).SetAsInteger(1);
    for (int row = 0; row < t.PileSect->RowCount(); ++row)
        Line(TabRow(*t.PileSect, row, {0, 1, 2, 3}));

    const int loads = RowsWritten(*t.BoundCond, p.ApplyConcentratedLoads);
    Line(QString::number(loads));
    for (int row = 0; row < loads; ++row) Line(TabRow(*t.BoundCond, row, {0, 1, 2, 3, 4, 5}));

    const int springs = RowsWritten(*t.SoilStrength, p.ApplySprings);
    Line(QString::number(springs));
    for (int row = 0; row < springs; ++row) Line(TabRow(*t.SoilStrength, row, {1, 2, 0, 3, 4}));

    for (int row = 0; row < p.nTiebacks; ++row) {
        Line(TabRow(*t.TiebackTable1, row, {0, 1, 2, 3, 4, 5}));
    }

    if (p.ApplyPYModification) {
        TGridTable& mod = *t.PYMod;
        for (int row = 0; row < mod.RowCount(); ++row) {
            Line(FileReal(mod.Cell(0, row).AsFloat() * feet) + u'\t' + Cell(mod, 1, row) + u'\t' +
                 Cell(mod, 2, row));
        }
    }

    if (p.EarthPressureOption == 1) {
        TGridTable& load = kind == TSectionKind::kLongTerm ? *t.LongDist : *t.DistLoad;
        Line(QString::number(load.RowCount()));
        for (int row = 0; row < load.RowCount(); ++row) {
            // Depth in ft and load in lbs/ft on screen; inches and lbs/in in the file.
            Line(FileReal(load.Cell(0, row).AsFloat() * feet) + u'\t' +
                 FileReal(load.Cell(1, row).AsFloat() / feet));
        }
    }
}

void TDataFileWriter::WriteSoils(TSectionKind kind) {
    TProgramData& p = project_;
    TProgramTables& t = p.Tables();
    const bool english = p.UnitSystem() == kEnglishUnits;
    const long double feet = english ? kInchesPerFoot : 1.0L;

    Line(FileReal(p.FreeHeight) + u'\t' + FileReal(p.Wa) + u'\t' + FileReal(p.Wp) + u'\t' +
         FileReal(p.WaterDepthBackfill) + u'\t' + FileReal(p.WaterDepthExcavation) + u'\t' +
         FileReal(p.ActivePressureFactor) + u'\t' + QString::number(p.WaterFlag) + u'\t' +
         FileReal(p.BackfillSlope));
    Line(FileReal(p.UniformSurcharge) + u'\t' + FileReal(p.SurchargeDistance) + u'\t' +
         FileReal(p.PointLoad) + u'\t' + FileReal(p.LineLoad) + u'\t' + FileReal(p.StripLoad) +
         u'\t' + FileReal(p.StripWidth));

    const int surcharges = RowsWritten(*t.SurchargeTable, p.ApplySurcharges);
    Line(QString::number(surcharges));
    for (int row = 0; row < surcharges; ++row) Line(TabRow(*t.SurchargeTable, row, {0, 1, 2, 3}));

    TGridTable& soils = kind == TSectionKind::kLongTerm ? *t.LongSoil : *t.NewSoil;
    Line(QString::number(soils.RowCount()));
    for (int layer = 0; layer < soils.RowCount(); ++layer) {
        const int type = soils.Cell(0, layer).AsInteger();
        Line(QString::number(type) + u' ' + FileReal(soils.Cell(1, layer).AsFloat() * feet) + u' ');
        TGridTable* params = soils.Cell(2, layer).AsTable();
        const auto layer_slots = SoilSlots(type);
        for (int row = 0; row < 2; ++row) {
            QString line;
            for (const TSoilSlot& slot : layer_slots) {
                const bool dropped = slot.DroppedLongTerm && kind == TSectionKind::kLongTerm;
                if (slot.Column < 0 || dropped || !params || row >= params->RowCount()) {
                    line += QLatin1String(kFillerSlot);
                    continue;
                }
                long double value = params->Cell(slot.Column, row).AsFloat();
                if (english) value /= SlotReadFactor(slot.Conversion);
                line += FileReal(value) + u' ';
            }
            Line(line);
        }
    }
}

void TDataFileWriter::WriteCurveSets() {
    TProgramData& p = project_;
    TProgramTables& t = p.Tables();
    if (p.ApplyExternalPYCurves) {
        TGridTable& sets = *t.PYCurves2;
        for (int row = 0; row < sets.RowCount(); ++row) {
            TGridTable* curve = sets.Cell(1, row).AsTable();
            const int points = curve ? curve->RowCount() : 0;
            Line(Cell(sets, 0, row) + u'\t' + QString::number(points) + u'\t' + Cell(sets, 2, row) +
                 u'\t' + Cell(sets, 3, row));
            for (int point = 0; point < points; ++point) Line(TabRow(*curve, point, {0, 1}));
        }
    }
    if (p.ApplyEICurves) {
        TGridTable& curves = *t.MEICurves2;
        for (int row = 0; row < curves.RowCount(); ++row) {
            TGridTable* curve = curves.Cell(2, row).AsTable();
            const int points = curve ? curve->RowCount() : 0;
            Line(TabRow(curves, row, {0, 1}) + u'\t' + QString::number(points));
            for (int point = 0; point < points; ++point) Line(TabRow(*curve, point, {0, 1}));
        }
    }
}

}  // namespace korvel
