// Draws a graph onto any paint device (window, printer page, bitmap): captions,
// ticks, dotted grid and labels, curves with markers, the legend when asked, the
// soil-layer column and the frames. Dx and Dy are the device's pixels per inch.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <array>

#include "graphs/axis_scale.h"
#include "graphs/graph_plot.h"
#include "graphs/plot_layout.h"

class QPainter;

namespace korvel {

// Curve colours by position modulo 17.
extern const std::array<QColor, 17> CurveColours;

struct TPlotView {
    std::array<TPanelRanges, 3> Ranges;  // current ranges of panels 1 to 3
    double Dx = 96;
    double Dy = 96;
    double FontPoints = 10;     // the window font's size, before SizeFont
    bool DrawLegend = false;    // printing and saving draw the legend into the picture
    QPointF LegendPlace;        // legend's top-left as a fraction of the client size
    bool FinePictures = false;  // layer pictures of the printer
};

// Layout for the client size, with the text height of the graph's caption font.
TPlotLayout GraphLayout(const TGraphPlot& graph, const QSizeF& client, const TPlotView& view,
                        QPainter& painter);
// Size of the legend box on painter's device: room for the markers and the
// widest text of the active, visible curves (empty when there are none).
QSizeF LegendSize(QPainter& painter, const TGraphPlot& graph, const TPlotView& view);
// Paints the whole client area (origin at 0, 0); returns the layout used.
TPlotLayout PaintGraph(QPainter& painter, const TGraphPlot& graph, const QSizeF& client,
                       const TPlotView& view);

// Data value at a device position of a panel, and back.
double PanelX(const QRectF& panel, const TAxisRange& x, double px);
double PanelY(const QRectF& panel, const TAxisRange& y, bool x_on_top, double py);
double DeviceX(const QRectF& panel, const TAxisRange& x, double value);
double DeviceY(const QRectF& panel, const TAxisRange& y, bool x_on_top, double value);

}  // namespace korvel
