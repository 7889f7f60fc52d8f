#include "report/pdf_report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <functional>
#include <memory>

#include "entry/units.h"
#include "graphs/axis_scale.h"
#include "graphs/plot_painter.h"
#include "graphs/result_plots.h"

namespace korvel {
namespace {

// Device resolution of the pages: fine enough for the layer pictures and pens of
// the graph painter, which sizes them in device pixels.
constexpr int kDotsPerInch = 600;
constexpr double kMarginMillimetres = 15;
constexpr const char* kTextFamily = "DejaVu Sans";
constexpr double kBodyPoints = 9.5;
constexpr double kHeadingPoints = 13;
constexpr double kTablePoints = 8.5;
constexpr double kSmallestTablePoints = 6;
constexpr double kTitleBlockPoints = 8.5;
// Curves made active in a graph that limits them, as a new graph window does.
constexpr int kInitialActiveCurves = 20;

QFont TextFont(double points, bool bold = false) {
    QFont font(QString::fromLatin1(kTextFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Plain letters, no ligatures: the text stays searchable and copyable as typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

bool LooksNumeric(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

using TDrawOp = std::function<void(QPainter&)>;

// Collects what each page draws, so that the page count is known before any page
// is painted ("Page n of m").
class TComposer {
  public:
    TComposer(QPaintDevice& device, const QRectF& body) : device_(device), body_(body) {
        NewPage();
    }

    double Width() const { return body_.width(); }
    double Remaining() const { return body_.bottom() - y_; }
    bool AtTop() const { return y_ <= body_.top() + 0.5; }
    double Pt(double points) const { return points * kDotsPerInch / 72.0; }

    void NewPage() {
        pages_.emplace_back();
        y_ = body_.top();
    }
    void Space(double points) {
        if (!AtTop()) y_ += Pt(points);
    }
    void Need(double height) {
        if (height > Remaining() && !AtTop()) NewPage();
    }

    // Wrapped text across the body width.
    void Text(const QString& text, const QFont& font, const QColor& colour = Qt::black,
              double indent = 0) {
        const QFontMetricsF fm(font, &device_);
        const QRectF bounds = fm.boundingRect(QRectF(0, 0, Width() - indent, 1e9),
                                              Qt::TextWordWrap | Qt::AlignLeft, text);
        Need(bounds.height());
        const QRectF box(body_.left() + indent, y_, Width() - indent, bounds.height());
        Add([=](QPainter& p) {
            p.setFont(font);
            p.setPen(colour);
            p.drawText(box, Qt::TextWordWrap | Qt::AlignLeft, text);
        });
        y_ += bounds.height();
    }

    // A boxed statement (the data error of a run).
    void Alert(const QString& heading, const QString& text) {
        const QFont bold = TextFont(kBodyPoints + 1, true);
        const QFont plain = TextFont(kBodyPoints + 1);
        const QFontMetricsF fb(bold, &device_);
        const QFontMetricsF fp(plain, &device_);
        const double pad = Pt(6);
        const QRectF tb =
            fp.boundingRect(QRectF(0, 0, Width() - 2 * pad, 1e9), Qt::TextWordWrap, text);
        const double h = 2 * pad + fb.height() + Pt(3) + tb.height();
        Need(h);
        const QRectF box(body_.left(), y_, Width(), h);
        const double pen = Pt(1.2);
        const double gap = Pt(3);
        Add([=](QPainter& p) {
            p.setPen(QPen(QColor(0xB0, 0, 0), pen));
            p.setBrush(QColor(0xFF, 0xF0, 0xF0));
            p.drawRect(box);
            p.setPen(QColor(0xB0, 0, 0));
            p.setFont(bold);
            p.drawText(
                QRectF(box.left() + pad, box.top() + pad, box.width() - 2 * pad, fb.height()),
                Qt::AlignLeft, heading);
            p.setPen(Qt::black);
            p.setFont(plain);
            p.drawText(QRectF(box.left() + pad, box.top() + pad + fb.height() + gap,
                              box.width() - 2 * pad, tb.height()),
                       Qt::TextWordWrap, text);
        });
        y_ += h;
    }

    // A table that flows over pages, its header repeated at the top of each.
    void Table(const TReportTable& t) {
        if (t.Header.empty()) return;
        const size_t columns = t.Header.size();
        // Natural column widths at the table size; a wide table gets a smaller font.
        double points = kTablePoints;
        std::vector<double> widths;
        const double pad = Pt(4);
        for (;;) {
            const QFontMetricsF fm(TextFont(points), &device_);
            const QFontMetricsF fb(TextFont(points, true), &device_);
            widths.assign(columns, 0);
            for (size_t c = 0; c < columns; ++c) {
                for (const QString& line : t.Header[c])
                    widths[c] = std::max(widths[c], fb.horizontalAdvance(line));
                for (const QStringList& row : t.Rows) {
                    if (c < static_cast<size_t>(row.size()))
                        widths[c] = std::max(widths[c], fm.horizontalAdvance(row[int(c)]));
                }
                widths[c] += 2 * pad;
            }
            double total = 0;
            for (double w : widths) total += w;
            if (total <= Width() || points <= kSmallestTablePoints) {
                // Spread a narrow table a little, never beyond the body.
                if (total < Width() && columns > 1) {
                    const double extra = std::min(Width() - total, total * 0.25) / columns;
                    for (double& w : widths) w += extra;
                }
                break;
            }
            points -= 0.5;
        }
        // Numbers stand right-aligned in columns that hold nothing else.
        std::vector<bool> numeric(columns, true);
        for (const QStringList& row : t.Rows) {
            for (size_t c = 0; c < columns && c < static_cast<size_t>(row.size()); ++c) {
                if (!row[int(c)].isEmpty() && !LooksNumeric(row[int(c)])) numeric[c] = false;
            }
        }
        const QFont font = TextFont(points);
        const QFont bold = TextFont(points, true);
        const QFontMetricsF fm(font, &device_);
        const double row_height = fm.height() * 1.35;
        int header_lines = 1;
        for (const QStringList& h : t.Header)
            header_lines = std::max(header_lines, static_cast<int>(h.size()));
        const double header_height = header_lines * fm.height() * 1.15 + fm.height() * 0.4;
        const QFont caption_font = TextFont(kBodyPoints + 0.5, true);
        const double caption_height = QFontMetricsF(caption_font, &device_).height() * 1.3;

        // A table that fits on a page is kept whole; a longer one starts with at
        // least two rows under its header.
        const double whole = caption_height + header_height + t.Rows.size() * row_height;
        Need(whole <= body_.height() ? whole : caption_height + header_height + 2 * row_height);
        if (!t.Caption.isEmpty()) {
            const QRectF box(body_.left(), y_, Width(), caption_height);
            const QString caption = t.Caption;
            Add([=](QPainter& p) {
                p.setFont(caption_font);
                p.setPen(Qt::black);
                p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, caption);
            });
            y_ += caption_height;
        }
        const auto header = [&]() {
            const double top = y_;
            const double left = body_.left();
            const std::vector<QStringList> lines = t.Header;
            const std::vector<double> w = widths;
            const double lh = fm.height() * 1.15;
            const double h = header_height;
            Add([=](QPainter& p) {
                double x = left;
                double total = 0;
                for (double wc : w) total += wc;
                p.setPen(QPen(Qt::black, 0));
                p.setBrush(QColor(0xE8, 0xE8, 0xE8));
                p.drawRect(QRectF(left, top, total, h));
                p.setFont(bold);
                for (size_t c = 0; c < w.size(); ++c) {
                    for (int k = 0; k < lines[c].size(); ++k) {
                        p.drawText(QRectF(x + pad, top + h * 0.1 + k * lh, w[c] - 2 * pad, lh),
                                   Qt::AlignHCenter | Qt::AlignVCenter, lines[c][k]);
                    }
                    x += w[c];
                }
            });
            y_ += header_height;
        };
        header();
        for (size_t r = 0; r < t.Rows.size(); ++r) {
            if (row_height > Remaining()) {
                NewPage();
                header();
            }
            const QStringList row = t.Rows[r];
            const double top = y_;
            const double left = body_.left();
            const std::vector<double> w = widths;
            const bool shaded = r % 2 == 1;
            Add([=](QPainter& p) {
                double total = 0;
                for (double wc : w) total += wc;
                if (shaded)
                    p.fillRect(QRectF(left, top, total, row_height), QColor(0xF6, 0xF6, 0xF6));
                p.setFont(font);
                p.setPen(Qt::black);
                double x = left;
                for (size_t c = 0; c < w.size(); ++c) {
                    const QString cell =
                        c < static_cast<size_t>(row.size()) ? row[int(c)] : QString();
                    const Qt::Alignment align =
                        (numeric[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
                    p.drawText(QRectF(x + pad, top, w[c] - 2 * pad, row_height), align, cell);
                    x += w[c];
                }
                p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 0));
                p.drawLine(QPointF(left, top + row_height),
                           QPointF(left + total, top + row_height));
            });
            y_ += row_height;
        }
        if (!t.Note.isEmpty()) {
            y_ += Pt(2);
            Text(t.Note, TextFont(kTablePoints - 0.5), QColor(0x40, 0x40, 0x40));
        }
        y_ += Pt(8);
    }

    // A graph on the rest of the page (a page of its own when little is left).
    void Graph(TGraphPlot& graph, const QString& caption) {
        const QFont heading = TextFont(kHeadingPoints - 2, true);
        const double heading_height = QFontMetricsF(heading, &device_).height() * 1.4;
        if (Remaining() < body_.height() * 0.75) NewPage();
        const QRectF caption_box(body_.left(), y_, Width(), heading_height);
        y_ += heading_height;
        const QRectF area(body_.left(), y_, Width(), body_.bottom() - y_);
        TGraphPlot* g = &graph;
        Add([=](QPainter& p) {
            p.setFont(heading);
            p.setPen(Qt::black);
            p.drawText(caption_box, Qt::AlignLeft | Qt::AlignVCenter, caption);
            PaintGraphIn(p, *g, area);
        });
        y_ = body_.bottom();
    }

    size_t PageCount() const { return pages_.size(); }
    void Paint(QPainter& p, size_t page) const {
        for (const TDrawOp& op : pages_[page]) op(p);
    }

  private:
    void Add(TDrawOp op) { pages_.back().push_back(std::move(op)); }

    static void PaintGraphIn(QPainter& p, const TGraphPlot& g, const QRectF& area) {
        TPlotView view;
        view.Dx = kDotsPerInch;
        view.Dy = kDotsPerInch;
        view.FontPoints = 10;
        view.DrawLegend = g.ShowLegend;
        view.FinePictures = true;
        for (int panel = 1; panel <= (g.ShowThree ? 3 : 1); ++panel) {
            TPanelRanges ranges;
            if (FullPanelRanges(g.PanelLines(panel), ranges))
                view.Ranges[static_cast<size_t>(panel - 1)] = ranges;
        }
        p.save();
        p.translate(area.topLeft());
        p.setClipRect(QRectF(QPointF(0, 0), area.size()));
        const TPlotLayout layout = GraphLayout(g, area.size(), view, p);
        // The legend at the bottom right of the plot, where a new window puts it.
        const QSizeF legend = LegendSize(p, g, view);
        const double gap = view.Dx / 24;
        view.LegendPlace = QPointF((layout.Plot.right() - legend.width() - gap) / area.width(),
                                   (layout.Plot.bottom() - legend.height() - gap) / area.height());
        PaintGraph(p, g, area.size(), view);
        p.restore();
    }

    QPaintDevice& device_;
    QRectF body_;
    double y_ = 0;
    std::vector<std::vector<TDrawOp>> pages_;
};

void DrawTitleBlock(QPainter& p, const QRectF& box, const TCalcReport& r, size_t page,
                    size_t pages) {
    const QFont bold = TextFont(kTitleBlockPoints + 1, true);
    const QFont plain = TextFont(kTitleBlockPoints);
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

void Heading(TComposer& c, const QString& text) {
    // Never the last line of a page.
    c.Need(c.Pt(90));
    c.Space(6);
    c.Text(text, TextFont(kHeadingPoints, true));
    c.Space(4);
}

void ComposeResults(TComposer& c, const TCalcReport& r) {
    for (const TSectionReport& s : r.Sections) {
        c.Need(c.Pt(120));
        c.Text(s.Heading, TextFont(kBodyPoints + 2, true));
        c.Space(2);
        c.Text(QStringLiteral("Solution: ") + s.Ending, TextFont(kBodyPoints));
        for (const QString& w : s.Warnings)
            c.Text(QStringLiteral("Warning: ") + w, TextFont(kBodyPoints), QColor(0x90, 0x50, 0));
        for (const QString& e : s.Errors)
            c.Text(QStringLiteral("Error: ") + e, TextFont(kBodyPoints, true), QColor(0xB0, 0, 0));
        c.Space(4);
        if (!s.Maxima.Empty()) c.Table(s.Maxima);
        if (!s.TiebackForces.Empty()) c.Table(s.TiebackForces);
        c.Space(6);
    }
}

// The Design Checks section: utilisations per section, then how they were found.
void ComposeDesignChecks(TComposer& c, const TCalcReport& r) {
    if (r.DesignChecks.Empty() && r.DesignNotes.isEmpty()) return;
    Heading(c, QStringLiteral("Design Checks"));
    if (!r.DesignChecks.Empty()) c.Table(r.DesignChecks);
    for (const QString& line : r.DesignNotes) c.Text(line, TextFont(kBodyPoints));
    c.Space(6);
}

}  // namespace

TPaper PaperFor(TPaper chosen, int unit_system) {
    if (chosen != TPaper::kAuto) return chosen;
    return unit_system == kEnglishUnits ? TPaper::kLetter : TPaper::kA4;
}

bool WritePdfReport(const TCalcReport& r, TResultPlots* graphs, TPaper paper, QIODevice& out,
                    QString* error) {
    QPdfWriter writer(&out);
    writer.setResolution(kDotsPerInch);
    writer.setCreator(QStringLiteral("KORVEL ") + r.Version);
    writer.setTitle(r.Title);
    const bool letter = PaperFor(paper, r.UnitSystem) == TPaper::kLetter;
    writer.setPageLayout(QPageLayout(
        QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter));
    const QRectF page(0, 0, writer.width(), writer.height());
    const double title_height = 0.55 * kDotsPerInch;
    const QRectF title_box(page.left(), page.top(), page.width(), title_height);
    const QRectF body(page.left(), page.top() + title_height + 0.2 * kDotsPerInch, page.width(),
                      page.height() - title_height - 0.2 * kDotsPerInch);

    TComposer c(writer, body);
    c.Text(QStringLiteral("Calculation Report"), TextFont(kHeadingPoints + 3, true));
    c.Text(r.Title, TextFont(kBodyPoints + 1));
    c.Space(6);
    if (!r.Error.isEmpty())
        c.Alert(QStringLiteral("The analysis ended on an error in the data:"), r.Error);

    Heading(c, QStringLiteral("Input"));
    if (!r.InputNote.isEmpty()) c.Text(r.InputNote, TextFont(kBodyPoints), QColor(0xB0, 0, 0));
    for (const TInputSummary& in : r.Inputs) {
        if (!in.Heading.isEmpty()) {
            c.Need(c.Pt(120));  // with its first table
            c.Text(in.Heading, TextFont(kBodyPoints + 2, true));
        }
        for (const TReportTable& t : in.Tables) c.Table(t);
    }

    Heading(c, QStringLiteral("Results"));
    if (r.Sections.empty())
        c.Text(QStringLiteral("The report holds no results."), TextFont(kBodyPoints));
    ComposeResults(c, r);
    ComposeDesignChecks(c, r);

    if (graphs) {
        // The pressure curves have no names of their own: one per result set, they
        // take the names the reader gave the sets ("Stage: 2", "Long-Term").
        TCurveList& pressure = graphs->pltLD.Lines;
        const TCurveList& sets = graphs->pltDef.Lines;
        if (pressure.CurveCount() > 1 && pressure.CurveCount() == sets.CurveCount()) {
            for (int i = 0; i < pressure.CurveCount(); ++i) {
                if (pressure.Curve(i).Name.isEmpty()) pressure.Curve(i).Name = sets.Curve(i).Name;
            }
        }
        // The reader keeps the p-y curves of the last result set only.
        const QString py_caption =
            sets.CurveCount() > 1 && !sets.Curve(sets.CurveCount() - 1).Name.isEmpty()
                ? QStringLiteral("p-y curves (") + sets.Curve(sets.CurveCount() - 1).Name +
                      QStringLiteral(")")
                : QStringLiteral("p-y curves");
        struct {
            TGraphPlot* Graph;
            QString Caption;
        } const shown[] = {
            {&graphs->pltDMS, QStringLiteral("Deflection, moment and shear with the soil profile")},
            {&graphs->pltLD, QStringLiteral("Earth pressure distribution")},
            {&graphs->pltPY, py_caption}};
        bool first = true;
        for (const auto& item : shown) {
            TGraphPlot& g = *item.Graph;
            if (g.Lines.CurveCount() < 1 || g.Lines.PointCount() < 2) continue;
            for (int i = 0; i < g.Lines.CurveCount(); ++i) {
                g.Lines.Curve(i).Active = !g.LimitActiveCurves || i < kInitialActiveCurves;
            }
            if (first) {
                c.NewPage();
                Heading(c, QStringLiteral("Graphs"));
                first = false;
            }
            c.Graph(g, item.Caption);
        }
    }

    bool first = true;
    for (const TSectionReport& s : r.Sections) {
        if (s.Stations.Empty()) continue;
        if (first) {
            c.NewPage();
            Heading(c, QStringLiteral("Results by station"));
            first = false;
        }
        TReportTable t = s.Stations;
        t.Caption = s.Heading + QStringLiteral(": results by station");
        c.Table(t);
    }

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
