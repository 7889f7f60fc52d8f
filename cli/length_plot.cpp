#include "length_plot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "graphs/graph_plot.h"
#include "graphs/plot_painter.h"

namespace korvel::cli {
namespace {

constexpr int kWidth = 900;        // pixels
constexpr int kGraphHeight = 560;  // pixels, one graph; the two stand one above the other
constexpr double kDotsPerInch = 96.0;
constexpr double kMargin = 0.05;  // of the data span, around the curves

// Qt's notice that it picked a runtime folder of its own is no news to the user
// of korvel-run; everything else goes on as Qt would print it.
QtMessageHandler previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (previousHandler) previousHandler(type, context, message);
}

// The painter measures text, which needs a GUI application; korvel-run has none.
void EnsureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(QuietHandler);
    static int argc = 1;
    static char name[] = "korvel-run";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends: Qt's own teardown at exit is not needed here.
    new QGuiApplication(argc, argv);
}

TAxisRange Padded(double low, double high) {
    if (high <= low) {
        const double d = std::max(std::abs(low) * 0.05, 1e-6);
        return {low - d, high + d};
    }
    const double d = (high - low) * kMargin;
    return {low - d, high + d};
}

struct Quantity {
    const char* caption;
    double (*value)(const StudySection&);
    std::string unit;
};

// One graph of one quantity: a curve per section through the usable lengths,
// and the critical length as a vertical line over the whole height.
void FillGraph(TGraphPlot& g, TPanelRanges& ranges, const std::vector<StudyRow>& rows,
               std::optional<size_t> critical, const Quantity& q, const std::string& lengthUnit) {
    std::vector<const StudyRow*> usable;
    size_t sections = 0;
    for (const StudyRow& r : rows) {
        if (!r.usable) continue;
        usable.push_back(&r);
        sections = std::max(sections, r.sections.size());
    }
    g.SetUnits(3);  // the unit texts are the report's own
    g.XOnTop = false;
    g.ShowLegend = true;
    g.XCaption = QStringLiteral("Wall length");
    g.XUnits = QString::fromStdString(lengthUnit);
    g.YCaption = QString::fromUtf8(q.caption);
    g.YUnits = QString::fromStdString(q.unit);
    const int curves = static_cast<int>(sections) + (critical ? 1 : 0);
    const int points = std::max<int>(static_cast<int>(usable.size()), 2);
    g.Lines.SetCurveCount(curves);
    g.Lines.SetPointCount(points);
    double xlow = INFINITY, xhigh = -INFINITY, ylow = INFINITY, yhigh = -INFINITY;
    for (size_t k = 0; k < sections; ++k) {
        TLine& line = g.Lines.Curve(static_cast<int>(k));
        line.Name =
            sections > 1 ? QStringLiteral("Section %1").arg(k + 1) : QString::fromUtf8(q.caption);
        for (int j = 0; j < points; ++j) {
            const StudyRow& r =
                *usable[std::min<size_t>(static_cast<size_t>(j), usable.size() - 1)];
            const double y = k < r.sections.size() ? q.value(r.sections[k]) : 0.0;
            line.Point(j) = {r.length, y};
            xlow = std::min(xlow, r.length);
            xhigh = std::max(xhigh, r.length);
            ylow = std::min(ylow, y);
            yhigh = std::max(yhigh, y);
        }
    }
    if (critical) {
        const double at = rows[*critical].length;
        xlow = std::min(xlow, at);
        xhigh = std::max(xhigh, at);
    }
    ranges.X = Padded(xlow, xhigh);
    ranges.Y = Padded(ylow, yhigh);
    if (critical) {
        TLine& line = g.Lines.Curve(curves - 1);
        const double at = rows[*critical].length;
        char text[64];
        std::snprintf(text, sizeof text, "critical length %.6g %s", at, lengthUnit.c_str());
        line.Name = QString::fromUtf8(text);
        line.Point(0) = {at, ranges.Y.Min};
        for (int j = 1; j < points; ++j) line.Point(j) = {at, ranges.Y.Max};
    }
}

void Paint(QPainter& p, const std::vector<StudyRow>& rows, std::optional<size_t> critical) {
    std::string L, moment;
    for (const StudyRow& r : rows) {
        for (const StudySection& s : r.sections) {
            if (L.empty()) L = s.summary.lengthUnit;
            if (moment.empty()) moment = s.summary.momentUnit;
        }
    }
    const Quantity quantities[] = {
        {"Head deflection", [](const StudySection& s) { return s.headDeflection; }, L},
        {"Maximum moment", [](const StudySection& s) { return s.summary.moment.value; }, moment},
    };
    p.fillRect(QRectF(0, 0, kWidth, 2 * kGraphHeight), Qt::white);
    for (int i = 0; i < 2; ++i) {
        TGraphPlot graph;
        TPlotView view;
        FillGraph(graph, view.Ranges[0], rows, critical, quantities[i], L);
        view.Dx = view.Dy = kDotsPerInch;
        view.DrawLegend = true;
        // Deflection falls and the moment rises with the length: the legend
        // goes where the curve is not.
        view.LegendPlace = i == 0 ? QPointF(0.55, 0.12) : QPointF(0.55, 0.55);
        p.save();
        p.translate(0, i * kGraphHeight);
        PaintGraph(p, graph, QSizeF(kWidth, kGraphHeight), view);
        p.restore();
    }
}

}  // namespace

bool SaveStudyPlot(const std::string& path, const std::vector<StudyRow>& rows,
                   std::optional<size_t> critical, std::string& error) {
    if (std::none_of(rows.begin(), rows.end(), [](const StudyRow& r) { return r.usable; })) {
        error = "no length was analysed to the end: nothing to plot";
        return false;
    }
    EnsureGuiApplication();
    const QString name = QString::fromStdString(path);
    if (name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(name);
        svg.setSize(QSize(kWidth, 2 * kGraphHeight));
        svg.setViewBox(QRect(0, 0, kWidth, 2 * kGraphHeight));
        svg.setResolution(static_cast<int>(kDotsPerInch));
        svg.setTitle(QStringLiteral("Wall length study"));
        QPainter p;
        if (!p.begin(&svg)) {
            error = "cannot write " + path;
            return false;
        }
        Paint(p, rows, critical);
        p.end();
        return true;
    }
    QImage image(kWidth, 2 * kGraphHeight, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(kDotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter p(&image);
        Paint(p, rows, critical);
    }
    if (!image.save(name, "PNG")) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace korvel::cli
