// TResultPlots: the eight result graphs of the main window with their captions,
// axis texts and display options. The plot data reader fills them; the Graphics
// menu shows them.
#pragma once

#include <QObject>
#include <vector>

#include "graphs/graph_plot.h"

namespace korvel {

class TResultPlots : public QObject {
    Q_OBJECT

  public:
    explicit TResultPlots(QObject* parent = nullptr);

    TGraphPlot pltLD{this};       // "Earth Pressure Distribution": one curve per set
    TGraphPlot PltCombine{this};  // "Earth Pressure Combined": total, soils, surcharges of set 1
    TGraphPlot pltPY{this};       // "p-y Curves"
    TGraphPlot pltDef{this};      // "Deflection vs Depth"
    TGraphPlot pltMom{this};      // "Moment vs Depth"
    TGraphPlot pltShear{this};    // "Shear vs Depth"
    TGraphPlot pltSoil{this};     // "Soil Reaction vs Depth"
    TGraphPlot pltDMS{this};      // "Deflection, Moment, Shear vs Depth": three panels

    // Every graph, in the order above.
    std::vector<TGraphPlot*> All();
};

}  // namespace korvel
