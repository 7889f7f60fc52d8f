// Lays the calculation report's content out on pages: each page is a list of
// drawing operations, collected first so that the page count is known before
// any page is painted ("Page n of m", the table of contents). Headings are kept
// with what follows them, tables repeat their header on every page, graphs are
// drawn by the graph windows' own painter.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "graphs/axis_scale.h"
#include "report/calc_report.h"

class QPainter;
class QPaintDevice;

namespace korvel {

class TGraphPlot;
struct TPlotLayout;
struct TPlotView;

// Device resolution of the pages: fine enough for the layer pictures and pens of
// the graph painter, which sizes them in device pixels.
constexpr int kReportDotsPerInch = 600;

QFont ReportFont(double points, bool bold = false);

// Extra choices for a graph on the page.
struct TGraphOptions {
    // Ranges of panels 1 to 3 instead of the full ranges of their points.
    std::array<bool, 3> HasRange{};
    std::array<TPanelRanges, 3> Ranges{};
    // Drawn over the graph (marks of the excavation level, anchors).
    std::function<void(QPainter&, const TPlotLayout&, const TPlotView&)> Decorate;
};

// An entry of the table of contents: a heading and the page it stands on.
struct TContentsEntry {
    QString Text;
    int Level = 1;
    size_t Page = 0;
};

class TReportComposer {
  public:
    TReportComposer(QPaintDevice& device, const QRectF& body);

    double Width() const { return body_.width(); }
    double Remaining() const { return body_.bottom() - y_; }
    bool AtTop() const { return y_ <= body_.top() + 0.5; }
    double Pt(double points) const { return points * kReportDotsPerInch / 72.0; }

    void NewPage();
    void Space(double points);
    // Room for height on this page, else a new page (a heading waiting for what
    // follows moves along with it).
    void Need(double height);

    // A heading of level 1 (a part of the report) or 2 (a section), entered in
    // the table of contents and never left alone at the foot of a page.
    void Heading(const QString& text, int level = 1);
    // Wrapped text across the body width.
    void Text(const QString& text, const QFont& font, const QColor& colour = Qt::black,
              double indent = 0);
    // Wrapped paragraphs of body text, one per entry, each with a bullet.
    void Bullets(const QStringList& items);
    // A boxed statement in red: a data error, results that are not valid.
    void Alert(const QString& heading, const QString& text);
    // A table that flows over pages, its header repeated at the top of each.
    void Table(const TReportTable& t);
    // Label and value boxes, two pairs a row; empty values are left to be filled in.
    void FieldBlock(const std::vector<std::pair<QString, QString>>& fields);
    // The table of contents, filled in when the pages are painted: one line per entry.
    void Contents(std::shared_ptr<const std::vector<TContentsEntry>> entries, size_t lines);
    // A graph on the rest of the page (a page of its own when little is left).
    void Graph(TGraphPlot& graph, const QString& caption, const TGraphOptions& options = {});

    const std::vector<TContentsEntry>& Entries() const { return entries_; }
    size_t PageCount() const { return pages_.size(); }
    void Paint(QPainter& p, size_t page) const;

  private:
    using TDrawOp = std::function<void(QPainter&)>;
    void Add(TDrawOp op) { pages_.back().push_back(std::move(op)); }

    QPaintDevice& device_;
    QRectF body_;
    double y_ = 0;
    std::vector<std::vector<TDrawOp>> pages_;
    std::vector<TContentsEntry> entries_;
    // A heading that waits for the block after it: where it starts on its page.
    struct TKeep {
        bool Active = false;
        size_t FirstOp = 0;
        double Top = 0;
        size_t FirstEntry = 0;
    } keep_;
};

}  // namespace korvel
