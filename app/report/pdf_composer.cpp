#include "report/pdf_composer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "graphs/graph_plot.h"
#include "graphs/plot_layout.h"
#include "graphs/plot_painter.h"

namespace korvel {
namespace {

constexpr const char* kTextFamily = "DejaVu Sans";
constexpr double kBodyPoints = 9.5;
constexpr double kHeadingPoints = 13;
constexpr double kTablePoints = 8.5;
constexpr double kSmallestTablePoints = 6;

bool LooksNumeric(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok || text == QStringLiteral("–");
}

// Points of the visible, active curves of a panel that fall inside a box.
int PointsInside(const TGraphPlot& g, const TCurveList& lines, const QRectF& panel,
                 const TPanelRanges& r, const QRectF& box) {
    int count = 0;
    for (int i = 0; i < lines.CurveCount(); ++i) {
        const TLine& c = lines.Curve(i);
        if (&lines == &g.Lines && (!c.Active || !c.Visible)) continue;
        for (int j = 0; j < c.PointCount(); ++j) {
            const QPointF at(DeviceX(panel, r.X, static_cast<double>(c.Point(j).X)),
                             DeviceY(panel, r.Y, g.XOnTop, static_cast<double>(c.Point(j).Y)));
            if (box.contains(at)) ++count;
        }
    }
    return count;
}

void PaintGraphIn(QPainter& p, const TGraphPlot& g, const QRectF& area,
                  const TGraphOptions& options) {
    TPlotView view;
    view.Dx = kReportDotsPerInch;
    view.Dy = kReportDotsPerInch;
    view.FontPoints = 10;
    view.DrawLegend = g.ShowLegend;
    view.FinePictures = true;
    const int panels = g.ShowThree ? 3 : 1;
    for (int panel = 1; panel <= panels; ++panel) {
        const size_t k = static_cast<size_t>(panel - 1);
        TPanelRanges ranges;
        if (options.HasRange[k]) {
            view.Ranges[k] = options.Ranges[k];
        } else if (FullPanelRanges(g.PanelLines(panel), ranges)) {
            view.Ranges[k] = ranges;
        }
    }
    p.save();
    p.translate(area.topLeft());
    p.setClipRect(QRectF(QPointF(0, 0), area.size()));
    const TPlotLayout layout = GraphLayout(g, area.size(), view, p);
    // The legend in the corner of a panel where it hides the fewest points.
    const QSizeF legend = LegendSize(p, g, view);
    const double gap = view.Dx / 24;
    QPointF best(layout.Plot.right() - legend.width() - gap,
                 layout.Plot.bottom() - legend.height() - gap);
    int fewest = -1;
    for (size_t k = 0; k < layout.Panels.size(); ++k) {
        const QRectF& panel = layout.Panels[k];
        const TCurveList& lines = g.PanelLines(static_cast<int>(k) + 1);
        const QPointF corners[] = {
            {panel.right() - legend.width() - gap, panel.bottom() - legend.height() - gap},
            {panel.left() + gap, panel.bottom() - legend.height() - gap},
            {panel.right() - legend.width() - gap, panel.top() + gap},
            {panel.left() + gap, panel.top() + gap}};
        for (const QPointF& corner : corners) {
            const int n = PointsInside(g, lines, panel, view.Ranges[k], QRectF(corner, legend));
            if (fewest < 0 || n < fewest) {
                fewest = n;
                best = corner;
            }
        }
    }
    view.LegendPlace = QPointF(best.x() / area.width(), best.y() / area.height());
    PaintGraph(p, g, area.size(), view);
    if (options.Decorate) options.Decorate(p, layout, view);
    p.restore();
}

}  // namespace

QFont ReportFont(double points, bool bold) {
    QFont font(QString::fromLatin1(kTextFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Plain letters, no ligatures: the text stays searchable and copyable as typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

TReportComposer::TReportComposer(QPaintDevice& device, const QRectF& body)
    : device_(device), body_(body) {
    NewPage();
}

void TReportComposer::NewPage() {
    pages_.emplace_back();
    y_ = body_.top();
}

void TReportComposer::Space(double points) {
    if (!AtTop()) y_ += Pt(points);
}

void TReportComposer::Need(double height) {
    const bool keeping = keep_.Active;
    keep_.Active = false;
    if (height <= Remaining() || AtTop()) return;
    if (!keeping || keep_.Top <= body_.top() + 0.5) {
        NewPage();
        return;
    }
    // The heading goes to the new page with what follows it.
    std::vector<TDrawOp>& ops = pages_.back();
    std::vector<TDrawOp> moved(ops.begin() + static_cast<long>(keep_.FirstOp), ops.end());
    ops.erase(ops.begin() + static_cast<long>(keep_.FirstOp), ops.end());
    const double carried = y_ - keep_.Top;
    const double dy = body_.top() - keep_.Top;
    NewPage();
    for (TDrawOp& op : moved) {
        Add([op = std::move(op), dy](QPainter& p) {
            p.save();
            p.translate(0, dy);
            op(p);
            p.restore();
        });
    }
    for (size_t e = keep_.FirstEntry; e < entries_.size(); ++e)
        entries_[e].Page = pages_.size() - 1;
    y_ = body_.top() + carried;
}

void TReportComposer::Heading(const QString& text, int level) {
    const QFont font = ReportFont(level == 1 ? kHeadingPoints : kBodyPoints + 2, true);
    const double height = QFontMetricsF(font, &device_).height();
    Need(height * 3);
    Space(level == 1 ? 6 : 4);
    const TKeep keep{true, pages_.back().size(), y_, entries_.size()};
    entries_.push_back({text, level, pages_.size() - 1});
    Text(text, font);
    Space(level == 1 ? 4 : 2);
    keep_ = keep;
}

void TReportComposer::Text(const QString& text, const QFont& font, const QColor& colour,
                           double indent) {
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

void TReportComposer::Bullets(const QStringList& items) {
    const QFont font = ReportFont(kBodyPoints);
    const double indent = Pt(12);
    for (const QString& item : items) {
        const QFontMetricsF fm(font, &device_);
        const QRectF bounds = fm.boundingRect(QRectF(0, 0, Width() - indent, 1e9),
                                              Qt::TextWordWrap | Qt::AlignLeft, item);
        Need(bounds.height());
        const QRectF dot(body_.left() + Pt(3), y_, indent, fm.height());
        Add([=](QPainter& p) {
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(dot, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("•"));
        });
        Text(item, font, Qt::black, indent);
        y_ += Pt(2);
    }
}

void TReportComposer::Alert(const QString& heading, const QString& text) {
    const QFont bold = ReportFont(kBodyPoints + 1, true);
    const QFont plain = ReportFont(kBodyPoints + 1);
    const QFontMetricsF fb(bold, &device_);
    const QFontMetricsF fp(plain, &device_);
    const double pad = Pt(6);
    const QRectF hb =
        fb.boundingRect(QRectF(0, 0, Width() - 2 * pad, 1e9), Qt::TextWordWrap, heading);
    const QRectF tb = fp.boundingRect(QRectF(0, 0, Width() - 2 * pad, 1e9), Qt::TextWordWrap, text);
    const double gap = text.isEmpty() ? 0 : Pt(3);
    const double h = 2 * pad + hb.height() + gap + (text.isEmpty() ? 0 : tb.height());
    Need(h);
    const QRectF box(body_.left(), y_, Width(), h);
    const double pen = Pt(1.2);
    Add([=](QPainter& p) {
        p.setPen(QPen(QColor(0xB0, 0, 0), pen));
        p.setBrush(QColor(0xFF, 0xF0, 0xF0));
        p.drawRect(box);
        p.setPen(QColor(0xB0, 0, 0));
        p.setFont(bold);
        p.drawText(QRectF(box.left() + pad, box.top() + pad, box.width() - 2 * pad, hb.height()),
                   Qt::TextWordWrap, heading);
        if (text.isEmpty()) return;
        p.setPen(Qt::black);
        p.setFont(plain);
        p.drawText(QRectF(box.left() + pad, box.top() + pad + hb.height() + gap,
                          box.width() - 2 * pad, tb.height()),
                   Qt::TextWordWrap, text);
    });
    y_ += h + Pt(4);
}

void TReportComposer::Table(const TReportTable& t) {
    if (t.Header.empty()) return;
    const size_t columns = t.Header.size();
    // Natural column widths at the table size; a wide table gets a smaller font.
    double points = kTablePoints;
    std::vector<double> widths;
    const double pad = Pt(4);
    for (;;) {
        const QFontMetricsF fm(ReportFont(points), &device_);
        const QFontMetricsF fb(ReportFont(points, true), &device_);
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
    const QFont font = ReportFont(points);
    const QFont bold = ReportFont(points, true);
    const QFontMetricsF fm(font, &device_);
    const double row_height = fm.height() * 1.35;
    int header_lines = 1;
    for (const QStringList& h : t.Header)
        header_lines = std::max(header_lines, static_cast<int>(h.size()));
    const double header_height = header_lines * fm.height() * 1.15 + fm.height() * 0.4;
    const QFont caption_font = ReportFont(kBodyPoints + 0.5, true);
    const double caption_height = QFontMetricsF(caption_font, &device_).height() * 1.3;

    // A table that fits on a page is kept whole; a longer one starts with at
    // least two rows under its header.
    // The note under the table stays with its last row.
    const QFont note_font = ReportFont(kTablePoints - 0.5);
    const double note_height = t.Note.isEmpty()
                                   ? 0
                                   : QFontMetricsF(note_font, &device_)
                                             .boundingRect(QRectF(0, 0, Width(), 1e9),
                                                           Qt::TextWordWrap | Qt::AlignLeft, t.Note)
                                             .height() +
                                         Pt(2);
    const double whole = caption_height + header_height + t.Rows.size() * row_height + note_height;
    const double body_height = body_.height();
    Need(whole <= body_height ? whole : caption_height + header_height + 2 * row_height);
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
        const bool last = r + 1 == t.Rows.size();
        if (row_height + (last ? note_height : 0) > Remaining()) {
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
            if (shaded) p.fillRect(QRectF(left, top, total, row_height), QColor(0xF6, 0xF6, 0xF6));
            p.setFont(font);
            p.setPen(Qt::black);
            double x = left;
            for (size_t c = 0; c < w.size(); ++c) {
                const QString cell = c < static_cast<size_t>(row.size()) ? row[int(c)] : QString();
                const Qt::Alignment align =
                    (numeric[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
                p.drawText(QRectF(x + pad, top, w[c] - 2 * pad, row_height), align, cell);
                x += w[c];
            }
            p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 0));
            p.drawLine(QPointF(left, top + row_height), QPointF(left + total, top + row_height));
        });
        y_ += row_height;
    }
    if (!t.Note.isEmpty()) {
        y_ += Pt(2);
        Text(t.Note, note_font, QColor(0x40, 0x40, 0x40));
    }
    y_ += Pt(8);
}

void TReportComposer::FieldBlock(const std::vector<std::pair<QString, QString>>& fields) {
    const QFont label_font = ReportFont(kTablePoints - 0.5);
    const QFont value_font = ReportFont(kBodyPoints, true);
    const QFontMetricsF fl(label_font, &device_);
    const QFontMetricsF fv(value_font, &device_);
    const double pad = Pt(3);
    const double cell_height = fl.height() + fv.height() + 3 * pad;
    const size_t rows = (fields.size() + 1) / 2;
    const double h = rows * cell_height;
    Need(h);
    const QRectF box(body_.left(), y_, Width(), h);
    Add([=](QPainter& p) {
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        for (size_t i = 0; i < fields.size(); ++i) {
            const double w =
                fields.size() % 2 == 1 && i == fields.size() - 1 ? box.width() : box.width() / 2;
            const QRectF cell(box.left() + (i % 2) * box.width() / 2,
                              box.top() + static_cast<double>(i / 2) * cell_height, w, cell_height);
            p.drawRect(cell);
            p.setFont(label_font);
            p.setPen(QColor(0x50, 0x50, 0x50));
            p.drawText(
                QRectF(cell.left() + pad, cell.top() + pad, cell.width() - 2 * pad, fl.height()),
                Qt::AlignLeft | Qt::AlignVCenter, fields[i].first);
            p.setFont(value_font);
            p.setPen(Qt::black);
            p.drawText(QRectF(cell.left() + pad, cell.top() + 2 * pad + fl.height(),
                              cell.width() - 2 * pad, fv.height()),
                       Qt::AlignLeft | Qt::AlignVCenter,
                       fv.elidedText(fields[i].second, Qt::ElideMiddle, cell.width() - 2 * pad));
            p.setPen(QPen(Qt::black, 0));
        }
    });
    y_ += h + Pt(8);
}

void TReportComposer::Contents(std::shared_ptr<const std::vector<TContentsEntry>> entries,
                               size_t lines) {
    const QFont font = ReportFont(kBodyPoints);
    const QFont bold = ReportFont(kBodyPoints, true);
    const double line_height = QFontMetricsF(font, &device_).height() * 1.3;
    for (size_t i = 0; i < lines; ++i) {
        Need(line_height);
        const QRectF box(body_.left(), y_, Width(), line_height);
        const double indent = Pt(12);
        Add([=](QPainter& p) {
            if (!entries || i >= entries->size()) return;
            const TContentsEntry& e = (*entries)[i];
            p.setFont(e.Level == 1 ? bold : font);
            p.setPen(Qt::black);
            const QRectF text_box = box.adjusted(e.Level == 1 ? 0 : indent, 0, 0, 0);
            const QString page = QString::number(e.Page + 1);
            p.drawText(text_box, Qt::AlignLeft | Qt::AlignVCenter, e.Text);
            p.drawText(text_box, Qt::AlignRight | Qt::AlignVCenter, page);
            // A dotted leader between the text and the page number.
            const QFontMetricsF fm(p.font(), p.device());
            const double from = text_box.left() + fm.horizontalAdvance(e.Text) + fm.height() / 2;
            const double to = text_box.right() - fm.horizontalAdvance(page) - fm.height() / 2;
            if (to > from) {
                p.setPen(QPen(QColor(0x90, 0x90, 0x90), 0, Qt::DotLine));
                const double y = box.center().y() + fm.height() / 4;
                p.drawLine(QPointF(from, y), QPointF(to, y));
            }
        });
        y_ += line_height;
    }
    y_ += Pt(6);
}

void TReportComposer::Graph(TGraphPlot& graph, const QString& caption,
                            const TGraphOptions& options) {
    const QFont heading = ReportFont(kHeadingPoints - 2, true);
    const double heading_height = QFontMetricsF(heading, &device_).height() * 1.4;
    if (Remaining() < body_.height() * 0.75) NewPage();
    keep_.Active = false;
    entries_.push_back({caption, 2, pages_.size() - 1});
    const QRectF caption_box(body_.left(), y_, Width(), heading_height);
    y_ += heading_height;
    const QRectF area(body_.left(), y_, Width(), body_.bottom() - y_);
    TGraphPlot* g = &graph;
    Add([=](QPainter& p) {
        p.setFont(heading);
        p.setPen(Qt::black);
        p.drawText(caption_box, Qt::AlignLeft | Qt::AlignVCenter, caption);
        PaintGraphIn(p, *g, area, options);
    });
    y_ = body_.bottom();
}

void TReportComposer::Paint(QPainter& p, size_t page) const {
    for (const TDrawOp& op : pages_[page]) op(p);
}

}  // namespace korvel
