#include "graphs/graph_plot.h"

#include "entry/number_format.h"
#include "entry/units.h"
#include "graphs/graph_units.h"

namespace korvel {
namespace {

// Digits of a curve's Value in its default legend text.
constexpr int kValueDigits = 15;

}  // namespace

TGraphPlot::TGraphPlot(QObject* parent) : QObject(parent) {}

TGraphPlot::~TGraphPlot() {
    // The window draws from this graph: it must not outlive it.
    if (PlotWindow) delete PlotWindow.data();
}

void TGraphPlot::SetUnits(int units) {
    units_ = ClampUnitSystem(units);
}

TCurveList& TGraphPlot::PanelLines(int panel) {
    return panel == 2 ? Lines2 : (panel == 3 ? Lines3 : Lines);
}

const TCurveList& TGraphPlot::PanelLines(int panel) const {
    return panel == 2 ? Lines2 : (panel == 3 ? Lines3 : Lines);
}

QString TGraphPlot::LegendText(int i) const {
    const TLine& curve = Lines.Curve(i);
    QString text;
    if (!curve.Name.isEmpty()) {
        text = curve.Name;
    } else if (i < DefaultLegends.size() && !DefaultLegends.at(i).isEmpty()) {
        text = DefaultLegends.at(i);
    } else {
        text = CurveName + FormatGeneral(curve.Value, kValueDigits);
    }
    if (OnGetCaption) OnGetCaption(i, text);
    return text;
}

QString TGraphPlot::XAxisCaption(int panel) const {
    if (panel == 2) return GraphAxisCaption(XCaption2, XUnits2, units_);
    if (panel == 3) return GraphAxisCaption(XCaption3, XUnits3, units_);
    return GraphAxisCaption(XCaption, XUnits, units_);
}

QString TGraphPlot::YAxisCaption(int panel) const {
    if (panel == 2) return GraphAxisCaption(YCaption2, YUnits2, units_);
    if (panel == 3) return GraphAxisCaption(YCaption3, YUnits3, units_);
    return GraphAxisCaption(YCaption, YUnits, units_);
}

}  // namespace korvel
