// TGridTableChart: a grid table whose window also draws its points as a line chart
// and can import values from a text file or the clipboard. It follows every rule
// of TGridTable; chart tables register in their own registry, so their flex
// columns find templates among chart tables only.
#pragma once

#include "entry/grid_table.h"

namespace korvel {

// Chart settings written after the column definitions.
struct TChartParameters {
    bool ShowChart = false;
    bool CustomChart = false;  // custom-drawn chart; no table of the program uses it
    int XColumn = 0;
    int YColumn = 1;
    int Reserved1 = 0;
    int Reserved2 = 0;
};

class TGridTableChart : public TGridTable {
    Q_OBJECT

  public:
    explicit TGridTableChart(TTableRegistry& registry, QObject* parent = nullptr);

    bool GetDataFromFile = false;  // show the file and clipboard import controls
    bool OKCancelButtons = false;
    bool InvertedXAxis = false;
    bool InvertedYAxis = false;
    TChartParameters Chart;

    // Columns, then the six chart parameters; reading a short or mistyped parameter
    // list throws EGridError "Error reading graphic parameters".
    void WriteColumns(TDefinitionStream& stream) const override;
    void ReadColumns(TDefinitionStream& stream) override;

  protected:
    TGridTableChart(TTableRegistry& registry, TUnregistered tag);
    std::unique_ptr<TGridTable> NewSubTable() const override;
    void CopyDefinitionTo(TGridTable& copy) const override;
};

}  // namespace korvel
