// TGraphPlot: one result graph without its window. It holds four curve lists
// (Lines for panel 1, LayerLines for soil layers and wall marks, Lines2 and Lines3
// for the panels 2 and 3 of a three-panel graph), the captions and the display
// options. A TPlotForm (graphs/plot_form.h) draws it; ShowPlot there creates one.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

#include "graphs/curve_list.h"

namespace korvel {

class TGraphPlot : public QObject {
    Q_OBJECT

  public:
    explicit TGraphPlot(QObject* parent = nullptr);
    ~TGraphPlot() override;

    // --- Published properties, with their defaults ----------------------------------
    QString CurveName = QStringLiteral("Curve #");  // prefix of default legend texts
    QString Caption;                                // window caption of the plot window
    bool ShowLegend = true;
    bool ShowLayers = false;    // soil-layer column at the right of the plot
    bool ShowWall = false;      // wall bar inside the soil-layer column
    bool ShowThree = false;     // three panels (Lines, Lines2, Lines3) side by side
    bool ShowFontWidth = true;  // "&Font Size" and "&Line Width" menus offered
    int WallLineCount = 0;      // index in LayerLines of the two wall curves; 0: none
    int Markers = 1;            // a marker every n points; 0 never
    int SizeFont = 10;          // text size in tenths of the default
    int LegendFont = 11;        // legend font size (points), taken when a window is made
    int WidthLine = 1;          // line width factor
    QString XCaption, XUnits;
    bool XOnTop = true;  // X labels at the top, Y growing downwards (depth axis)
    QString YCaption, YUnits;
    QString XCaption2, XUnits2, YCaption2, YUnits2;
    QString XCaption3, XUnits3, YCaption3, YUnits3;
    // Lets the owner change the legend text of a curve of Lines (index, text).
    std::function<void(int, QString&)> OnGetCaption;

    // Unit system of the unit texts: 1 English, 2 SI, 3 unchanged.
    int Units() const { return units_; }
    void SetUnits(int units);  // clamped to 1..3

    // --- Curves ------------------------------------------------------------------------
    TCurveList Lines{this};
    TCurveList LayerLines{this};
    TCurveList Lines2{this};
    TCurveList Lines3{this};
    // Curve list of panel 1 to 3.
    TCurveList& PanelLines(int panel);
    const TCurveList& PanelLines(int panel) const;

    // Graph title and whether it stands at the top (edited by the title dialog);
    // a new title stands below the graph.
    QString Title;
    bool TitleOnTop = false;
    // Default legend texts by curve index of Lines.
    QStringList DefaultLegends;
    // Only the first 20 curves are made active when a window is created.
    bool LimitActiveCurves = true;

    // Legend text of curve i of Lines: its name, else the default text for i, else
    // CurveName followed by its Value; OnGetCaption may then change it.
    QString LegendText(int i) const;
    // "Caption (unit)" of panel 1 to 3 with the unit text translated by Units, or
    // the caption alone when the unit text is empty.
    QString XAxisCaption(int panel) const;
    QString YAxisCaption(int panel) const;

    // The plot window while one exists; it is closed with the graph.
    QPointer<QObject> PlotWindow;

  private:
    int units_ = 1;
};

}  // namespace korvel
