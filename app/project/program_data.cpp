#include "project/program_data.h"

#include <algorithm>

#include "entry/entry_errors.h"
#include "entry/grid_table_chart.h"
#include "entry/units.h"
#include "entry/word_reader.h"
#include "project/atomic_file.h"
#include "project/data_file_reader.h"
#include "project/data_file_writer.h"

namespace korvel {
namespace {

// Fixed factors of the project's own values (not the unit tokens' factors:
// 39.3701, not 1/0.0254).
constexpr long double kMetresPerInch = 0.0254L;
constexpr long double kKilonewtonsPerPound = 0.004448222468060650624L;
constexpr long double kInchesPerMetre = 39.3701L;
constexpr long double kPoundsPerKilonewton = 224.8089L;

// Surcharge load types of the SurchargeTable's first column.
constexpr int kPointLoad = 1;
constexpr int kLineLoad = 2;
constexpr int kStripLoad = 3;

}  // namespace

QString TReadResult::Notice() const {
    QStringList parts;
    if (!Complete) parts.append(Message);
    parts.append(Warnings);
    return parts.join(u'\r');
}

TProgramData::TProgramData(TProgramTables& tables, QObject* parent)
    : QObject(parent), tables_(tables) {}

void TProgramData::CreateNew() {
    Q_EMIT aboutToReset();
    static_cast<TProjectFields&>(*this) = TProjectFields{};
    // English first, so that the default rows are made in English units.
    for (TGridTable* table : tables_.AllTables()) table->SetUnitSystem(kEnglishUnits);
    unit_system_ = kEnglishUnits;
    unit_memo_ = TUnitSwitchMemo{};  // the values it knows belong to the project that is gone
    tables_.ResetDataTables();
    SetModified(false);
}

TReadResult TProgramData::CreateFromFile(const QString& file_name, int format) {
    const QString path = file_name;  // file_name may be FileName itself, which CreateNew resets
    CreateNew();
    FileName = path;
    for (TGridTable* table : tables_.DataTables()) table->SetRowCount(0);
    TReadResult result;
    try {
        TWordReader reader(path);
        TDataFileReader file(*this, reader, LayoutOfFormat(format));
        try {
            file.ReadDataFile();
        } catch (const EKorvelError&) {
            result.Warnings = file.Warnings();
            throw;
        }
        result.Warnings = file.Warnings();
    } catch (const EKorvelError& error) {
        result.Complete = false;
        result.Message = error.Message();
    }
    PartlyRead = !result.Complete;
    EIRecordsPresent = true;
    TiebackRecordsPresent = format == 1;
    // The curve tables reach their minimum rows when their window opens: filling
    // them here would add default curves to the next save, and change the analysis.
    FillUpTables(false);
    SetModified(false);
    return result;
}

QByteArray TProgramData::DataFileText() {
    TDataFileWriter writer(*this);
    writer.WriteSection(TSectionKind::kFirst);
    if (LongTermAnalysis) writer.WriteSection(TSectionKind::kLongTerm);
    EIRecordsPresent = true;
    TiebackRecordsPresent = true;
    return writer.Text();
}

void TProgramData::WriteDataFile() {
    WriteFileAtomically(FileName, DataFileText());
    PartlyRead = false;
    SetModified(false);
}

void TProgramData::SetUnitSystem(int system) {
    system = ClampUnitSystem(system);
    if (system == unit_system_) return;
    long double b = 1.0L;  // length factor
    long double c = 1.0L;  // force factor
    if (unit_system_ == kEnglishUnits && system == kSIUnits) {
        b = kMetresPerInch;
        c = kKilonewtonsPerPound;
    } else if (unit_system_ == kSIUnits && system == kEnglishUnits) {
        b = kInchesPerMetre;
        c = kPoundsPerKilonewton;
    }
    unit_memo_.Begin(unit_system_, system);
    const auto convert = [this](TConvertedQuantity kind, long double& value, long double factor) {
        value = unit_memo_.Convert(kind, value, factor);
    };
    for (long double* length :
         {&MaxDeflection, &ClosureTolerance, &IncrementLength, &FreeHeight, &WaterDepthBackfill,
          &WaterDepthExcavation, &Wa, &Wp, &SurchargeDistance, &StripWidth}) {
        convert(TConvertedQuantity::kLength, *length, b);
    }
    convert(TConvertedQuantity::kPressure, UniformSurcharge, c / (b * b));
    convert(TConvertedQuantity::kPressure, StripLoad, c / (b * b));
    convert(TConvertedQuantity::kForce, PointLoad, c);
    convert(TConvertedQuantity::kForcePerLength, LineLoad, c / b);

    unit_system_ = system;
    for (TGridTable* table : tables_.AllTables()) table->SetUnitSystem(system);
    Q_EMIT unitSystemChanged(system);

    // The magnitude column's unit depends on the row's load type.
    TGridTable& surcharges = *tables_.SurchargeTable;
    for (int row = 0; row < surcharges.RowCount(); ++row) {
        long double factor = 1.0L;
        TConvertedQuantity kind = TConvertedQuantity::kForce;
        switch (surcharges.Cell(0, row).AsInteger()) {
            case kPointLoad:
                factor = c;
                break;
            case kLineLoad:
                factor = c / b;
                kind = TConvertedQuantity::kForcePerLength;
                break;
            case kStripLoad:
                factor = c / (b * b);
                kind = TConvertedQuantity::kPressure;
                break;
            default:
                continue;
        }
        long double magnitude = surcharges.Cell(1, row).AsFloat();
        convert(kind, magnitude, factor);
        surcharges.Cell(1, row).SetAsFloat(magnitude);
    }
    unit_memo_.End();
}

QString TProgramData::PartlyReadQuestion() const {
    return QStringLiteral(
               "The data file \"%1\" was not read completely: this project holds only what "
               "came before the error, and saving it there would lose the rest of the file.\r"
               "Do you want to save it under another name? (No: replace the file with this "
               "project.)")
        .arg(FileName);
}

bool TProgramData::Modified() const {
    if (modified_) return true;
    const auto tables = tables_.AllTables();
    return std::any_of(tables.begin(), tables.end(),
                       [](const TGridTable* t) { return t->Modified(); });
}

void TProgramData::SetModified(bool modified) {
    modified_ = modified;
    if (modified) return;
    for (TGridTable* table : tables_.AllTables()) table->SetModified(false);
}

void TProgramData::FillUpTables(bool includeChartTables) {
    for (TGridTable* table : tables_.DataTables()) {
        if (!includeChartTables && dynamic_cast<TGridTableChart*>(table)) continue;
        if (table->RowCount() < table->MinRows()) table->SetRowCount(table->MinRows());
    }
}

}  // namespace korvel
