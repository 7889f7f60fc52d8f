// The side view's picture: the wall in elevation with the ground and excavation
// lines, the soil layers with their names and strengths, and the marks of
// restraints, external p-y curves and springs. World coordinates are in the
// project's held length (inches in English units, metres in SI): X across with
// 0 on the wall's axis, Y the depth downwards with Y = 0 one tenth of the wall's
// length above its top. Only depths are to scale; the marks sit at fixed
// fractions of the window's width. The picture is a list of pixel primitives
// that the window and the printer draw alike.
#pragma once

#include <QPointF>
#include <QString>
#include <variant>
#include <vector>

namespace korvel {

class TProgramData;

struct TWorldBox {
    double XMin = -10.0;
    double XMax = 10.0;
    double YMin = 0.0;
    double YMax = 10.0;

    // A box without width or height draws nothing and shows no depth.
    bool Valid() const { return XMax > XMin && YMax > YMin; }
};

// The world box widened to a w by h window's proportions.
TWorldBox FitViewBox(const TWorldBox& world, int w, int h);

// Maps world points to device pixels: world X over [Left, Left + Width], world Y
// over [Top, Top + Height]. W and H are the device's size, used by the marks
// that sit at fractions of it.
struct TSideMapping {
    TWorldBox Box;
    double Left = 0.0;
    double Top = 0.0;
    double Width = 0.0;
    double Height = 0.0;
    double W = 0.0;
    double H = 0.0;
    double PenScale = 1.0;  // pens are this many times thicker (printer)

    double X(double world_x) const;
    double Y(double world_y) const;
    double WorldY(double pixel_y) const;
};

// The window: the view box over the whole client area.
TSideMapping WindowMapping(const TWorldBox& view, int w, int h);
// The printed page: X over the page width, Y into the band from 10 % to 90 % of its height.
TSideMapping PageMapping(const TWorldBox& view, double w, double h, double pen_scale);

// Soil type names of the side view, types 1..7.
QString SideSoilName(int type);

// What the side view shows of the project, in held units.
struct TSideViewData {
    struct TLayer {
        int Type = 1;
        double Bottom = 0.0;  // depth below the wall's top
        QString Name;
        QString Properties;  // "c= ...; gamma= ..." and the like
    };

    bool HasStiffness = false;   // the wall stiffness table has rows
    double Length = 0.0;         // L = increments x increment length
    double Margin = 0.0;         // m = L/10, the world Y of the wall's top
    double FreeHeight = 0.0;     // H
    double Increment = 0.0;      // increment length
    double BackfillSlope = 0.0;  // degrees
    bool ShowSoils = false;      // the soil layers are in use (SoilLayersInUse)
    std::vector<TLayer> Layers;
    bool Restraints = false;
    std::vector<int> RestraintNodes;
    bool ExternalPY = false;
    std::vector<int> PYNodes;
    bool Springs = false;
    std::vector<int> SpringNodes;  // from-node of each spring row
    double Wa = 0.0;
    double Wp = 0.0;
    // Water tables below the wall's top: retained side, excavation side.
    double WaterBackfill = 0.0;
    double WaterExcavation = 0.0;
    // Tiebacks, when applied: depth below the wall's top, unbonded length, angle
    // below the horizontal in degrees (held length unit).
    struct TTieback {
        double Depth = 0.0;
        double Unbonded = 0.0;
        double Angle = 0.0;
    };
    std::vector<TTieback> Tiebacks;
    // Depth scale: the display unit's name and how many held units make one.
    QString DepthUnit = QStringLiteral("m");
    double HeldPerDepthUnit = 1.0;
};

TSideViewData SideViewData(const TProgramData& project);

// World box of the wall: the box holding 0 and the outline's corners, each
// bound times 1.05. The initial box when the wall has no stiffness rows.
TWorldBox SideWorldBox(const TSideViewData& data);

// What a line or text stands for, which sets its colour.
enum class TSideInk { kText, kWater, kTieback };

struct TSideLine {
    QPointF From;
    QPointF To;
    double Pen = 1.0;
    TSideInk Ink = TSideInk::kText;
};
// Filled in the window-text colour.
struct TSidePolygon {
    std::vector<QPointF> Points;
};
// White fill, outlined.
struct TSideEllipse {
    QPointF Centre;
    double RadiusX = 0.0;
    double RadiusY = 0.0;
    double Pen = 1.0;
};
// Text with its top-left corner at At.
struct TSideText {
    QPointF At;
    QString Text;
    TSideInk Ink = TSideInk::kText;
    bool AlignRight = false;  // At is the top-right corner
};

using TSideItem = std::variant<TSideLine, TSidePolygon, TSideEllipse, TSideText>;

// The picture in painting order (the background fill is the painter's).
// text_height is the pixel height of a line of the text font.
std::vector<TSideItem> SideViewPicture(const TSideViewData& data, const TSideMapping& map,
                                       double text_height);

}  // namespace korvel
