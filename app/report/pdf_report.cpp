#include "report/pdf_report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "entry/units.h"
#include "graphs/axis_scale.h"
#include "graphs/plot_layout.h"
#include "graphs/plot_painter.h"
#include "graphs/py_working_range.h"
#include "graphs/result_plots.h"
#include "report/pdf_composer.h"

namespace korvel {
namespace {

constexpr double kMarginMillimetres = 15;
constexpr double kBodyPoints = 9.5;
constexpr double kHeadingPoints = 13;
constexpr double kTitleBlockPoints = 8.5;
// Curves made active in a graph that limits them, as a new graph window does.
constexpr int kInitialActiveCurves = 20;

void DrawTitleBlock(QPainter& p, const QRectF& box, const TCalcReport& r, size_t page,
                    size_t pages) {
    const QFont bold = ReportFont(kTitleBlockPoints + 1, true);
    const QFont plain = ReportFont(kTitleBlockPoints);
    const double half = box.height() / 2;
    const double pad = box.height() / 10;
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    p.drawLine(QPointF(box.left(), box.top() + half), QPointF(box.right(), box.top() + half));
    const QRectF top(box.left() + 2 * pad, box.top(), box.width() - 4 * pad, half);
    const QRectF bottom(box.left() + 2 * pad, box.top() + half, box.width() - 4 * pad, half);
    const QString program = QStringLiteral("KORVEL ") + r.Version;
    p.setFont(plain);
    const double program_width = QFontMetricsF(plain, p.device()).horizontalAdvance(program);
    p.drawText(top, Qt::AlignRight | Qt::AlignVCenter, program);
    p.setFont(bold);
    const QFontMetricsF fb(bold, p.device());
    const QString title =
        fb.elidedText(r.Title, Qt::ElideRight, top.width() - program_width - 4 * pad);
    p.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setFont(plain);
    const QFontMetricsF fp(plain, p.device());
    const QString page_text = QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages);
    const QString date_text = QStringLiteral("Date: ") + r.Date;
    p.drawText(bottom, Qt::AlignRight | Qt::AlignVCenter, page_text);
    p.drawText(bottom, Qt::AlignHCenter | Qt::AlignVCenter, date_text);
    const double room = bottom.width() / 2 - fp.horizontalAdvance(date_text) / 2 - 2 * pad;
    p.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter,
               fp.elidedText(QStringLiteral("File: ") + r.FileName, Qt::ElideMiddle, room));
}

// Sections whose results are not valid, one line each.
QString InvalidSummary(const TCalcReport& r) {
    QStringList lines;
    for (const TSectionReport& s : r.Sections) {
        if (!s.Problems.isEmpty())
            lines << s.Heading + QStringLiteral(": ") + s.Problems.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n'));
}

const char* const kNotValidHeading = "The results are not valid: do not use them for design.";

QString UnitSystemName(int system) {
    switch (system) {
        case 1:
            return QStringLiteral("English");
        case 2:
            return QStringLiteral("SI");
        default:
            return QStringLiteral("consistent units of the user's choice");
    }
}

void ComposeMethod(TReportComposer& c, const TCalcReport& r) {
    const QFont body = ReportFont(kBodyPoints);
    c.Heading(QStringLiteral("Method"));
    c.Text(QStringLiteral(
               "The wall is analysed as a beam-column on nonlinear soil springs (the p-y method). "
               "It is divided into equal increments, and the finite-difference form of the "
               "beam-column equation, EI d⁴y/dx⁴ + P d²y/dx² + p(y) − q = 0, is solved for the "
               "deflection y of every station. The earth pressure on the retained side acts on "
               "the wall as a load q down to the excavation level: generated from the soil layers "
               "or given by the user. The soil's resistance p(y) acts through p-y curves, "
               "generated from the soil layers or given by the user. Because the curves are "
               "nonlinear, the soil springs are found by iteration: each iteration takes the "
               "springs from the curves at the deflections of the one before, until no station's "
               "deflection changes by more than the closure tolerance. Tiebacks act as linear "
               "springs at their stations; lateral and rotational springs, specified deflections "
               "and slopes, concentrated loads and moment-EI curves act as given."),
           body);
    c.Space(4);

    c.Heading(QStringLiteral("Sign convention"));
    c.Bullets({
        QStringLiteral("Depth x: downwards from the top of the wall."),
        QStringLiteral("Deflection y: positive towards the excavation, negative towards the "
                       "retained side (backfill)."),
        QStringLiteral("Slope: dy/dx."),
        QStringLiteral("Bending moment: M = EI d²y/dx²."),
        QStringLiteral("Shear: V = dM/dx."),
        QStringLiteral("Net reaction per station: d²M/dx² times the increment length, the lateral "
                       "force the station receives from the soil, the earth pressure, tiebacks, "
                       "springs and loads together; positive towards the excavation."),
        QStringLiteral("Loads and earth pressure: positive towards the excavation. Soil "
                       "resistance p is opposite in sign to the deflection y."),
        QStringLiteral("Tieback forces: the spring stiffness times the deflection at the "
                       "tieback's station; positive is tension, the anchor pulling the wall "
                       "towards the retained side."),
    });
    c.Space(4);

    c.Heading(QStringLiteral("Assumptions and limits"));
    c.Bullets({
        QStringLiteral("Every construction stage, and the long-term case, is analysed on its own, "
                       "from an unloaded, undeformed wall: deflections, moments and anchor forces "
                       "are not carried from one stage to the next."),
        QStringLiteral("Tiebacks are linear springs from zero deflection: no lock-off or prestress "
                       "load is applied; an anchor's force is its stiffness times the deflection "
                       "at its station."),
        QStringLiteral("The p-y curves are static curves: cyclic and dynamic loading, creep and "
                       "consolidation are not considered."),
        QStringLiteral("No check is made of overall stability, base heave, piping, the anchors' "
                       "pull-out or bond capacity, or the strength of the wall section."),
        QStringLiteral("Moments, shears and forces are those of the wall width the loads are "
                       "given for (the width Wa for active earth pressure), as the output report "
                       "gives them."),
    });
    c.Space(4);

    c.Heading(QStringLiteral("Units"));
    const TResultUnits& u = r.Units;
    TReportTable units;
    units.Caption = QStringLiteral("Units of the results, tables and graphs");
    units.Header = {{QStringLiteral("Quantity")}, {QStringLiteral("Unit")}};
    units.Rows = {
        {QStringLiteral("Depth, depth axis of the graphs"), u.Depth},
        {QStringLiteral("Deflection"), u.Deflection},
        {QStringLiteral("Slope"), u.Slope},
        {QStringLiteral("Bending moment"), u.Moment},
        {QStringLiteral("Shear, net reaction per station, soil reaction, tieback forces"), u.Force},
        {QStringLiteral("Flexural rigidity EI"), u.Stiffness},
        {QStringLiteral("Earth pressure (graph), per unit length of wall"),
         UnitText(QStringLiteral("F/L"), r.UnitSystem, TUnitTextRule::kColumn)},
        {QStringLiteral("p-y curves (graph): deflection y, soil resistance p"),
         UnitText(QStringLiteral("L"), r.UnitSystem, TUnitTextRule::kColumn) +
             QStringLiteral(", ") +
             UnitText(QStringLiteral("F/L"), r.UnitSystem, TUnitTextRule::kColumn)},
    };
    units.Note = QStringLiteral("Unit system of the project: ") + UnitSystemName(r.UnitSystem) +
                 QStringLiteral(
                     ". The input tables give each value in the unit stated in its "
                     "column, as the program's tables show it.");
    c.Table(units);
}

void ComposeResults(TReportComposer& c, const TCalcReport& r) {
    for (const TSectionReport& s : r.Sections) {
        // The heading, the solution and the extremes table start on one page.
        c.Need(c.Pt(s.Problems.isEmpty() ? 185 : 240));
        c.Heading(s.Heading, 2);
        c.Text(QStringLiteral("Solution: ") + s.Ending, ReportFont(kBodyPoints));
        c.Space(2);
        if (!s.Problems.isEmpty())
            c.Alert(QLatin1String(kNotValidHeading), s.Problems.join(QLatin1Char('\n')));
        for (const QString& w : s.Warnings)
            c.Text(QStringLiteral("Warning: ") + w, ReportFont(kBodyPoints), QColor(0x90, 0x50, 0));
        for (const QString& e : s.Errors)
            c.Text(QStringLiteral("Error: ") + e, ReportFont(kBodyPoints, true),
                   QColor(0xB0, 0, 0));
        c.Space(4);
        if (!s.Maxima.Empty()) c.Table(s.Maxima);
        if (!s.TiebackForces.Empty()) c.Table(s.TiebackForces);
        c.Space(6);
    }
}

void ComposeWarnings(TReportComposer& c, const TCalcReport& r) {
    c.Heading(QStringLiteral("Warnings of the run"));
    QStringList all;
    if (!r.Error.isEmpty()) all << QStringLiteral("The analysis ended on an error: ") + r.Error;
    if (!r.InputNote.isEmpty()) all << r.InputNote;
    all << CollectedWarnings(r);
    if (all.isEmpty()) {
        c.Text(QStringLiteral("The run gave no warnings."), ReportFont(kBodyPoints));
        return;
    }
    c.Bullets(all);
}

// The graphs as the pages show them: depth curves end at the toe (the plot file
// adds a station below it), legends name what they show, the p-y graph spans
// the working range of the wall's deflections, excavation and anchors marked.
struct TPreparedGraph {
    TGraphPlot* Graph;
    QString Caption;
    TGraphOptions Options;
};

std::vector<TPreparedGraph> PrepareGraphs(TResultPlots& g, const TCalcReport& r,
                                          std::vector<std::unique_ptr<TGraphPlot>>& owned) {
    const TResultUnits& u = r.Units;
    TCurveList& sets = g.pltDMS.Lines;
    const int set_count = sets.CurveCount();
    // The pressure curves have no names of their own: one per result set, they
    // take the names the reader gave the sets ("Stage: 2", "Long-Term").
    TCurveList& pressure = g.pltLD.Lines;
    if (pressure.CurveCount() > 1 && pressure.CurveCount() == set_count) {
        for (int i = 0; i < pressure.CurveCount(); ++i) {
            if (pressure.Curve(i).Name.isEmpty()) pressure.Curve(i).Name = sets.Curve(i).Name;
        }
    }
    // A single result set needs no legend.
    g.pltDMS.ShowLegend = set_count > 1;
    g.pltLD.ShowLegend = pressure.CurveCount() > 1;
    g.pltLD.WidthLine = 2;
    // Station N+1 lies one increment below the toe.
    for (int panel = 1; panel <= 3; ++panel) {
        TCurveList& lines = g.pltDMS.PanelLines(panel);
        if (lines.PointCount() > 2) lines.SetPointCount(lines.PointCount() - 1);
    }
    g.pltDMS.YCaption = g.pltDMS.YCaption2 = g.pltDMS.YCaption3 =
        QStringLiteral("Depth (%1)").arg(u.Depth);
    g.pltDMS.XCaption = QStringLiteral("Deflection (%1)").arg(u.Deflection);
    g.pltDMS.XCaption2 = QStringLiteral("Bending Moment (%1)").arg(u.Moment);
    g.pltDMS.XCaption3 = QStringLiteral("Shear (%1)").arg(u.Force);
    g.pltDMS.XUnits.clear();
    g.pltDMS.XUnits2.clear();
    g.pltDMS.XUnits3.clear();
    g.pltLD.YCaption = QStringLiteral("Depth (%1)").arg(u.Depth);
    g.pltLD.YUnits.clear();

    // Excavation levels and anchors of the sections, in graph depths.
    struct TMark {
        double Depth;
        QString Label;
    };
    std::vector<TMark> marks;
    const bool staged =
        r.Inputs.size() > 1 && r.Inputs.front().Heading.startsWith(QLatin1String("Stage"));
    for (size_t i = 0; i < r.Inputs.size(); ++i) {
        const TInputSummary& in = r.Inputs[i];
        const QString where = staged ? QStringLiteral(", stage %1").arg(i + 1) : QString();
        const double excavation = in.FreeHeight * u.DepthFactor;
        const bool seen = std::any_of(marks.begin(), marks.end(), [&](const TMark& m) {
            return std::abs(m.Depth - excavation) < 1e-9;
        });
        if (in.FreeHeight > 0 && !seen)
            marks.push_back({excavation, QStringLiteral("excavation") + where});
        for (size_t k = 0; k < in.Tiebacks.size(); ++k) {
            // Tieback depths are entered in ft in English units, m in SI: graph depths.
            const double d = in.Tiebacks[k].Depth;
            const QString label = QStringLiteral("tieback %1").arg(k + 1);
            const bool anchor_seen = std::any_of(marks.begin(), marks.end(), [&](const TMark& m) {
                return std::abs(m.Depth - d) < 1e-9 && m.Label == label;
            });
            if (!anchor_seen) marks.push_back({d, label});
        }
    }
    TGraphOptions depth_options;
    depth_options.Decorate = [marks](QPainter& p, const TPlotLayout& layout,
                                     const TPlotView& view) {
        const QFont font = ReportFont(6.5);
        p.setFont(font);
        const QFontMetricsF fm(font, p.device());
        for (size_t k = 0; k < layout.Panels.size(); ++k) {
            const QRectF& panel = layout.Panels[k];
            const TAxisRange& y = view.Ranges[k].Y;
            for (const TMark& m : marks) {
                const double at = DeviceY(panel, y, true, m.Depth);
                if (at < panel.top() || at > panel.bottom()) continue;
                const bool anchor = m.Label.startsWith(QLatin1String("tieback"));
                p.setPen(QPen(anchor ? QColor(0x00, 0x70, 0x30) : QColor(0x8B, 0x45, 0x13),
                              view.Dx / 150, anchor ? Qt::DashDotLine : Qt::DashLine));
                p.drawLine(QPointF(panel.left(), at), QPointF(panel.right(), at));
                if (k != 0) continue;
                const QRectF text(panel.left() + view.Dx / 30, at - fm.height() - view.Dy / 60,
                                  fm.horizontalAdvance(m.Label) + view.Dx / 30, fm.height());
                p.fillRect(text, Qt::white);
                p.drawText(text, Qt::AlignCenter, m.Label);
            }
        }
    };

    std::vector<TPreparedGraph> out = {
        {&g.pltDMS, QStringLiteral("Deflection, moment and shear with the soil profile"),
         depth_options},
        {&g.pltLD, QStringLiteral("Earth pressure distribution"), depth_options}};

    // The p-y curves: one graph per result set when the plot file gives every
    // set's own (the graph reader keeps the last set's), else the reader's.
    const bool per_set = r.PYSets.size() > 1 && static_cast<int>(r.PYSets.size()) == set_count;
    const int graphs = per_set ? set_count : 1;
    for (int k = 0; k < graphs; ++k) {
        TGraphPlot* py = &g.pltPY;
        if (per_set) {
            owned.push_back(std::make_unique<TGraphPlot>());
            py = owned.back().get();
            py->Caption = g.pltPY.Caption;
            py->CurveName = g.pltPY.CurveName;
            py->XCaption = g.pltPY.XCaption;
            py->XUnits = g.pltPY.XUnits;
            py->YCaption = g.pltPY.YCaption;
            py->YUnits = g.pltPY.YUnits;
            py->XOnTop = g.pltPY.XOnTop;
            py->Markers = g.pltPY.Markers;
            py->SetUnits(g.pltPY.Units());
            const std::vector<TPYCurveData>& curves = r.PYSets[static_cast<size_t>(k)];
            size_t longest = 0;
            for (const TPYCurveData& c : curves) longest = std::max(longest, c.Points.size());
            py->Lines.SetCurveCount(static_cast<int>(curves.size()));
            py->Lines.SetPointCount(static_cast<int>(longest));
            for (size_t i = 0; i < curves.size(); ++i) {
                TLine& line = py->Lines.Curve(static_cast<int>(i));
                line.Value = curves[i].Label;
                for (size_t j = 0; j < curves[i].Points.size(); ++j) {
                    line.Point(static_cast<int>(j)) = {curves[i].Points[j].first,
                                                       curves[i].Points[j].second};
                }
                if (curves[i].Points.size() < longest && !curves[i].Points.empty())
                    line.FillFrom(static_cast<int>(curves[i].Points.size()));
            }
            for (int i = 0; i < py->Lines.CurveCount(); ++i)
                py->Lines.Curve(i).Active = i < kInitialActiveCurves;
        }
        // Curves by depth and station, with the increment length of their section.
        const size_t section = per_set ? static_cast<size_t>(k) : r.Inputs.size() - 1;
        const TInputSummary* in =
            r.Inputs.empty() ? nullptr : &r.Inputs[std::min(section, r.Inputs.size() - 1)];
        TCurveList& lines = py->Lines;
        for (int i = 0; i < lines.CurveCount() && in && in->IncrementLength > 0; ++i) {
            TLine& curve = lines.Curve(i);
            const double label = static_cast<double>(curve.Value);
            const double h = in->IncrementLength;
            const int station = r.PYLabelsAreDepths ? static_cast<int>(std::lround(label / h))
                                                    : static_cast<int>(std::lround(label));
            const double depth = r.PYLabelsAreDepths ? label : station * h;
            curve.Name = QStringLiteral("x = %1 %2 (station %3)")
                             .arg(DepthNumber(depth * u.DepthFactor), u.Depth)
                             .arg(station);
        }
        // The working range: a few times the largest deflection of the set(s) shown.
        double largest = 0;
        for (int i = 0; i < sets.CurveCount(); ++i) {
            if (per_set && i != k) continue;
            for (int j = 0; j < sets.PointCount(); ++j)
                largest = std::max(largest, std::abs(static_cast<double>(sets.Point(i, j).X)));
        }
        TGraphOptions py_options;
        py_options.HasRange[0] =
            PYWorkingRange(lines, largest, kPYWorkingRangeFactor, py_options.Ranges[0]);
        const int named = per_set ? k : set_count - 1;
        QString caption = QStringLiteral("p-y curves");
        if (set_count > 1 && named >= 0 && !sets.Curve(named).Name.isEmpty())
            caption += QStringLiteral(" (") + sets.Curve(named).Name + QStringLiteral(")");
        if (py_options.HasRange[0])
            caption += QStringLiteral(", y up to %1 times the largest wall deflection")
                           .arg(kPYWorkingRangeFactor);
        out.push_back({py, caption, py_options});
    }
    return out;
}
// The Design Checks section: utilisations per section, then how they were found.
void ComposeDesignChecks(TReportComposer& c, const TCalcReport& r) {
    if (r.DesignChecks.Empty() && r.DesignNotes.isEmpty()) return;
    c.Heading(QStringLiteral("Design Checks"));
    if (!r.DesignChecks.Empty()) c.Table(r.DesignChecks);
    for (const QString& line : r.DesignNotes) c.Text(line, ReportFont(kBodyPoints));
    c.Space(6);
}

void ComposeDocument(TReportComposer& c, const TCalcReport& r,
                     const std::vector<TPreparedGraph>& graphs,
                     const std::vector<TReportPart>& parts,
                     std::shared_ptr<const std::vector<TContentsEntry>> contents,
                     size_t contents_lines) {
    const QFont body = ReportFont(kBodyPoints);
    c.Text(QStringLiteral("Calculation Report"), ReportFont(kHeadingPoints + 3, true));
    c.Text(r.Title, ReportFont(kBodyPoints + 1));
    c.Space(6);
    // Filled in by hand, or left as the office's standard asks.
    c.FieldBlock({{QStringLiteral("Project"), r.Title},
                  {QStringLiteral("Job number"), QString()},
                  {QStringLiteral("Revision"), QString()},
                  {QStringLiteral("Date"), QString()},
                  {QStringLiteral("Prepared by"), QString()},
                  {QStringLiteral("Checked by"), QString()}});
    TReportTable run;
    run.Caption = QStringLiteral("Analysis");
    run.Header = {{QStringLiteral("Item")}, {QStringLiteral("Value")}};
    run.Rows = {{QStringLiteral("Data file"), r.FileName},
                {QStringLiteral("SHA-256 of the data file"),
                 r.DataSha256.isEmpty() ? QStringLiteral("not available") : r.DataSha256},
                {QStringLiteral("Analysed on"),
                 r.Analysed.isEmpty() ? QStringLiteral("not known") : r.Analysed},
                {QStringLiteral("Report made on"), r.Date},
                {QStringLiteral("Program"), QStringLiteral("KORVEL ") + r.Version}};
    c.Table(run);
    if (!r.Error.isEmpty())
        c.Alert(QStringLiteral("The analysis ended on an error in the data:"), r.Error);
    const QString invalid = InvalidSummary(r);
    if (!invalid.isEmpty()) c.Alert(QLatin1String(kNotValidHeading), invalid);

    c.Text(QStringLiteral("Contents"), ReportFont(kHeadingPoints, true));
    c.Space(2);
    c.Contents(contents, contents_lines);

    c.NewPage();
    ComposeMethod(c, r);

    c.Heading(QStringLiteral("Input"));
    if (!r.InputNote.isEmpty()) c.Text(r.InputNote, body, QColor(0xB0, 0, 0));
    for (const TInputSummary& in : r.Inputs) {
        if (!in.Heading.isEmpty()) c.Heading(in.Heading, 2);
        for (const TReportTable& t : in.Tables) c.Table(t);
    }

    c.Heading(QStringLiteral("Results"));
    if (r.Sections.empty()) c.Text(QStringLiteral("The report holds no results."), body);
    ComposeResults(c, r);
    ComposeDesignChecks(c, r);

    for (const TReportPart& part : parts) {
        c.Heading(part.Heading);
        if (part.Compose) part.Compose(c, r);
    }

    ComposeWarnings(c, r);

    bool first = true;
    for (const TPreparedGraph& item : graphs) {
        TGraphPlot& g = *item.Graph;
        if (g.Lines.CurveCount() < 1 || g.Lines.PointCount() < 2) continue;
        if (first) {
            c.NewPage();
            c.Heading(QStringLiteral("Graphs"));
            if (!invalid.isEmpty()) c.Alert(QLatin1String(kNotValidHeading), invalid);
            first = false;
        }
        c.Graph(g, item.Caption, item.Options);
    }

    first = true;
    for (const TSectionReport& s : r.Sections) {
        if (s.Stations.Empty()) continue;
        if (first) {
            c.NewPage();
            c.Heading(QStringLiteral("Results by station"));
            first = false;
        }
        c.Heading(s.Heading + QStringLiteral(": results by station"), 2);
        if (!s.Problems.isEmpty())
            c.Alert(QLatin1String(kNotValidHeading), s.Problems.join(QLatin1Char('\n')));
        TReportTable t = s.Stations;
        t.Caption.clear();
        c.Table(t);
    }

    c.Space(12);
    c.Text(QStringLiteral("— End of report —"), ReportFont(kBodyPoints + 1, true));
}

}  // namespace

TPaper PaperFor(TPaper chosen, int unit_system) {
    if (chosen != TPaper::kAuto) return chosen;
    return unit_system == kEnglishUnits ? TPaper::kLetter : TPaper::kA4;
}

bool WritePdfReport(const TCalcReport& r, TResultPlots* graphs, TPaper paper, QIODevice& out,
                    QString* error, const std::vector<TReportPart>& parts) {
    QPdfWriter writer(&out);
    writer.setResolution(kReportDotsPerInch);
    writer.setCreator(QStringLiteral("KORVEL ") + r.Version);
    writer.setTitle(r.Title);
    const bool letter = PaperFor(paper, r.UnitSystem) == TPaper::kLetter;
    writer.setPageLayout(QPageLayout(
        QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter));
    const QRectF page(0, 0, writer.width(), writer.height());
    const double title_height = 0.55 * kReportDotsPerInch;
    const QRectF title_box(page.left(), page.top(), page.width(), title_height);
    const QRectF body(page.left(), page.top() + title_height + 0.2 * kReportDotsPerInch,
                      page.width(), page.height() - title_height - 0.2 * kReportDotsPerInch);

    std::vector<TPreparedGraph> prepared;
    std::vector<std::unique_ptr<TGraphPlot>> owned;  // the p-y graphs of each set
    if (graphs) {
        for (TGraphPlot* g : {&graphs->pltDMS, &graphs->pltLD, &graphs->pltPY}) {
            for (int i = 0; i < g->Lines.CurveCount(); ++i)
                g->Lines.Curve(i).Active = !g->LimitActiveCurves || i < kInitialActiveCurves;
        }
        prepared = PrepareGraphs(*graphs, r, owned);
    }
    // Twice: the first pass counts the entries of the contents, the second
    // reserves room for them and gives every entry its page.
    auto contents = std::make_shared<std::vector<TContentsEntry>>();
    TReportComposer counting(writer, body);
    ComposeDocument(counting, r, prepared, parts, contents, 0);
    TReportComposer c(writer, body);
    ComposeDocument(c, r, prepared, parts, contents, counting.Entries().size());
    *contents = c.Entries();

    QPainter p;
    if (!p.begin(&writer)) {
        if (error) *error = QStringLiteral("the PDF writer could not start");
        return false;
    }
    const size_t pages = c.PageCount();
    for (size_t i = 0; i < pages; ++i) {
        if (i > 0) writer.newPage();
        DrawTitleBlock(p, title_box, r, i, pages);
        c.Paint(p, i);
    }
    p.end();
    return true;
}

}  // namespace korvel
