#include "entry/grid_table_chart.h"

#include "entry/definition_stream.h"
#include "entry/entry_errors.h"

namespace korvel {

TGridTableChart::TGridTableChart(TTableRegistry& registry, QObject* parent)
    : TGridTable(registry, parent) {}

TGridTableChart::TGridTableChart(TTableRegistry& registry, TUnregistered tag)
    : TGridTable(registry, tag) {}

std::unique_ptr<TGridTable> TGridTableChart::NewSubTable() const {
    // The sub-table shares the registry in which this template is found.
    return std::unique_ptr<TGridTable>(new TGridTableChart(Registry(), TUnregistered{}));
}

void TGridTableChart::CopyDefinitionTo(TGridTable& copy) const {
    TGridTable::CopyDefinitionTo(copy);
    auto& chart = static_cast<TGridTableChart&>(copy);
    chart.GetDataFromFile = GetDataFromFile;
    chart.OKCancelButtons = OKCancelButtons;
    chart.InvertedXAxis = InvertedXAxis;
    chart.InvertedYAxis = InvertedYAxis;
    chart.Chart = Chart;
}

void TGridTableChart::WriteColumns(TDefinitionStream& stream) const {
    TGridTable::WriteColumns(stream);
    stream.WriteBoolean(Chart.ShowChart);
    stream.WriteBoolean(Chart.CustomChart);
    stream.WriteInteger(Chart.XColumn);
    stream.WriteInteger(Chart.YColumn);
    stream.WriteInteger(Chart.Reserved1);
    stream.WriteInteger(Chart.Reserved2);
}

void TGridTableChart::ReadColumns(TDefinitionStream& stream) {
    TGridTable::ReadColumns(stream);
    try {
        TChartParameters chart;
        chart.ShowChart = stream.ReadBoolean();
        chart.CustomChart = stream.ReadBoolean();
        chart.XColumn = stream.ReadInteger();
        chart.YColumn = stream.ReadInteger();
        chart.Reserved1 = stream.ReadInteger();
        chart.Reserved2 = stream.ReadInteger();
        Chart = chart;
    } catch (const EGridError&) {
        throw EGridError("Error reading graphic parameters");
    }
}

}  // namespace korvel
