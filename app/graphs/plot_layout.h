// Layout of a graph on a device (window, printer page, bitmap) in pixels: the plot
// area, the three panels of a three-panel graph and the soil-layer column. T is the
// text height at the graph's font size, Dx and Dy the device's pixels per inch.
#pragma once

#include <QRectF>
#include <vector>

namespace korvel {

enum class TTitlePlace { kNone, kTop, kBottom };

struct TLayoutInput {
    double Width = 0;  // client area, pixels
    double Height = 0;
    double T = 0;    // text height, pixels
    double Dx = 96;  // pixels per inch
    double Dy = 96;
    bool XOnTop = true;
    TTitlePlace Title = TTitlePlace::kNone;
    bool ShowLayers = false;
    bool ShowThree = false;
};

struct TPlotLayout {
    QRectF Plot;                 // the whole plot area
    std::vector<QRectF> Panels;  // one, or three with ShowThree
    QRectF LayerColumn;          // empty without ShowLayers
};

TPlotLayout ComputePlotLayout(const TLayoutInput& in);

}  // namespace korvel
