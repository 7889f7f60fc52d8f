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

// The area a legend near at keeps to: the plot area, or in a three-panel graph
// the panel nearest at (the room between panels holds axis labels).
QRectF LegendArea(const TPlotLayout& layout, const QPointF& at);

// Where a legend box of box's size goes when its top-left is asked for at box's
// position: moved the least that keeps it inside plot (so that it never covers an
// axis label); a box larger than plot keeps plot's top-left side and then stays
// inside picture as far as it can.
QRectF LegendInside(const QRectF& box, const QRectF& plot, const QRectF& picture);

}  // namespace korvel
