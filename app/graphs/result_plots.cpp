#include "graphs/result_plots.h"

namespace korvel {

TResultPlots::TResultPlots(QObject* parent) : QObject(parent) {
    pltLD.setObjectName(QStringLiteral("pltLD"));
    pltLD.Caption = QStringLiteral("Earth Pressure Distribution");
    pltLD.XCaption = QStringLiteral("Earth Pressure");
    pltLD.XUnits = QStringLiteral("F/L");  // per unit length of wall
    pltLD.YCaption = QStringLiteral("Depth");

    PltCombine.setObjectName(QStringLiteral("PltCombine"));
    PltCombine.Caption = QStringLiteral("Earth Pressure Combined");
    PltCombine.XCaption = QStringLiteral("Earth Pressure");
    PltCombine.XUnits = QStringLiteral("F/L");
    PltCombine.YCaption = QStringLiteral("Depth");
    PltCombine.YUnits = QStringLiteral("L2");  // feet in English units, as the reader converts

    pltPY.setObjectName(QStringLiteral("pltPY"));
    pltPY.Caption = QStringLiteral("p-y Curves");
    pltPY.CurveName = QStringLiteral("Curve at ");
    pltPY.XCaption = QStringLiteral("Lateral Deflection, y");
    pltPY.XUnits = QStringLiteral("L");
    pltPY.YCaption = QStringLiteral("Soil Resistance, p");
    pltPY.YUnits = QStringLiteral("F/L");
    pltPY.XOnTop = false;

    pltDef.setObjectName(QStringLiteral("pltDef"));
    pltDef.Caption = QStringLiteral("Deflection vs Depth");
    pltDef.XCaption = QStringLiteral("Deflection");
    pltDef.XUnits = QStringLiteral("L");
    pltDef.YCaption = QStringLiteral("Depth");

    pltMom.setObjectName(QStringLiteral("pltMom"));
    pltMom.Caption = QStringLiteral("Moment vs Depth");
    pltMom.XCaption = QStringLiteral("Bending Moment");
    pltMom.YCaption = QStringLiteral("Depth");

    pltShear.setObjectName(QStringLiteral("pltShear"));
    pltShear.Caption = QStringLiteral("Shear vs Depth");
    pltShear.XCaption = QStringLiteral("Shear");
    pltShear.YCaption = QStringLiteral("Depth");

    pltSoil.setObjectName(QStringLiteral("pltSoil"));
    pltSoil.Caption = QStringLiteral("Soil Reaction vs Depth");
    // The engine's net reaction per station (soil, springs and loads together):
    // a force, as in the output report, not a reaction per unit length.
    pltSoil.XCaption = QStringLiteral("Net Reaction per Station");
    pltSoil.XUnits = QStringLiteral("F");
    pltSoil.YCaption = QStringLiteral("Depth");

    pltDMS.setObjectName(QStringLiteral("pltDMS"));
    pltDMS.Caption = QStringLiteral("Deflection, Moment, Shear vs Depth");
    pltDMS.ShowThree = true;
    pltDMS.ShowLayers = true;

    // Depth graphs carry many rows: a marker on every fifth keeps the lines readable.
    for (TGraphPlot* graph :
         {&pltLD, &PltCombine, &pltDef, &pltMom, &pltShear, &pltSoil, &pltDMS}) {
        graph->Markers = 5;
    }
}

std::vector<TGraphPlot*> TResultPlots::All() {
    return {&pltLD, &PltCombine, &pltPY, &pltDef, &pltMom, &pltShear, &pltSoil, &pltDMS};
}

}  // namespace korvel
