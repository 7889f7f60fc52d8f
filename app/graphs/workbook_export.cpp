#include "graphs/workbook_export.h"

#include <xlsxwriter.h>

#include <QFile>
#include <algorithm>
#include <string>

#include "entry/entry_errors.h"
#include "graphs/graph_plot.h"

namespace korvel {
namespace {

constexpr int kLegendHeaderRow = 1;       // row 2, counted from 0
constexpr int kFirstLegendRow = 2;        // graph k on row k + 2
constexpr int kFirstDataRow = 5;          // points from row 6
constexpr lxw_col_t kBackLinkColumn = 6;  // G1 links back to "Legend"

std::string Utf8(const QString& text) {
    return text.toStdString();
}

QString PageName(int k) {
    return QStringLiteral("Page_%1").arg(k);
}

QString PlotName(int k) {
    return QStringLiteral("Plot_%1").arg(k);
}

QString InternalLink(const QString& sheet) {
    return QStringLiteral("internal:'%1'!A1").arg(sheet);
}

// A series name that starts with "=" would be read as a cell reference.
std::string SeriesName(const QString& legend) {
    return Utf8(legend.startsWith(u'=') ? u' ' + legend : legend);
}

void CheckWrite(lxw_error error, const QString& path) {
    if (error != LXW_NO_ERROR)
        throw EInOutError(QStringLiteral("The workbook %1 could not be written: %2")
                              .arg(path, QString::fromUtf8(lxw_strerror(error))));
}

// The data sheet of graph k: titles, then two columns per curve.
// Cell writes only fail for cells outside the sheet, which these never are.
void WriteDataSheet(lxw_worksheet* sheet, const TGraphPlot& graph) {
    worksheet_write_string(sheet, 0, 0, Utf8(graph.Caption).c_str(), nullptr);
    worksheet_write_url_opt(sheet, 0, kBackLinkColumn,
                            Utf8(InternalLink(QStringLiteral("Legend"))).c_str(), nullptr,
                            "Go to Legend Page", nullptr);
    worksheet_write_string(sheet, 1, 0, "X", nullptr);
    worksheet_write_string(sheet, 1, 1, Utf8(graph.XAxisCaption(1)).c_str(), nullptr);
    worksheet_write_string(sheet, 2, 0, "Y", nullptr);
    worksheet_write_string(sheet, 2, 1, Utf8(graph.YAxisCaption(1)).c_str(), nullptr);
    for (int c = 0; c < graph.Lines.CurveCount(); ++c) {
        const auto x = static_cast<lxw_col_t>(2 * c);
        const TLine& curve = graph.Lines.Curve(c);
        worksheet_write_string(sheet, 3, x, Utf8(graph.LegendText(c)).c_str(), nullptr);
        worksheet_write_string(sheet, 4, x, "X", nullptr);
        worksheet_write_string(sheet, 4, x + 1, "Y", nullptr);
        for (int j = 0; j < curve.PointCount(); ++j) {
            const auto row = static_cast<lxw_row_t>(kFirstDataRow + j);
            worksheet_write_number(sheet, row, x, static_cast<double>(curve.Point(j).X), nullptr);
            worksheet_write_number(sheet, row, x + 1, static_cast<double>(curve.Point(j).Y),
                                   nullptr);
        }
    }
}

// The x-y chart of graph k over its data sheet.
lxw_chart* MakeChart(lxw_workbook* book, const TGraphPlot& graph, const QString& page) {
    lxw_chart* chart = workbook_add_chart(book, LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS);
    // A graph without points still refers to one (empty) row.
    const int last_row = kFirstDataRow + std::max(graph.Lines.PointCount(), 1);
    for (int c = 1; c <= graph.Lines.CurveCount(); ++c) {
        const QString x = SpreadsheetColumn(2 * c - 1);
        const QString y = SpreadsheetColumn(2 * c);
        const auto range = [&](const QString& column) {
            return Utf8(QStringLiteral("='%1'!$%2$6:$%2$%3").arg(page, column).arg(last_row));
        };
        lxw_chart_series* series = chart_add_series(chart, range(x).c_str(), range(y).c_str());
        chart_series_set_name(series, SeriesName(graph.LegendText(c - 1)).c_str());
    }
    chart_title_off(chart);
    chart_axis_set_name(chart->x_axis, Utf8(graph.XAxisCaption(1)).c_str());
    chart_axis_set_name(chart->y_axis, Utf8(graph.YAxisCaption(1)).c_str());
    chart_axis_major_gridlines_set_visible(chart->x_axis, LXW_TRUE);
    chart_axis_major_gridlines_set_visible(chart->y_axis, LXW_TRUE);
    if (graph.XOnTop) {
        // Depth downwards; the X axis still crosses at the bottom.
        chart_axis_set_reverse(chart->y_axis);
        chart_axis_set_crossing_max(chart->y_axis);
    }
    return chart;
}

}  // namespace

QString SpreadsheetColumn(int column) {
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

void WriteGraphsWorkbook(const QString& path, const std::vector<const TGraphPlot*>& graphs) {
    const std::string file = QFile::encodeName(path).toStdString();
    lxw_workbook* book = workbook_new(file.c_str());
    if (!book) throw EInOutError(QStringLiteral("The workbook %1 could not be made").arg(path));
    lxw_worksheet* legend = workbook_add_worksheet(book, "Legend");
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_align(header, LXW_ALIGN_VERTICAL_CENTER);
    for (lxw_col_t i = 0; i < std::size(kLegendHeaders); ++i) {
        const std::string text = kLegendHeaders[i];
        worksheet_write_string(legend, kLegendHeaderRow, i + 1, text.c_str(), header);
        // Columns fitted to their headers.
        worksheet_set_column(legend, i + 1, i + 1, static_cast<double>(text.size()) + 1, nullptr);
    }

    for (size_t i = 0; i < graphs.size(); ++i) {
        const TGraphPlot& graph = *graphs[i];
        const int k = static_cast<int>(i) + 1;
        const auto row = static_cast<lxw_row_t>(kFirstLegendRow + i);
        const QString page = PageName(k);
        const QString plot = PlotName(k);
        worksheet_write_number(legend, row, 1, k, nullptr);
        worksheet_write_string(legend, row, 2, Utf8(graph.Caption).c_str(), nullptr);
        worksheet_write_url_opt(legend, row, 3, Utf8(InternalLink(page)).c_str(), nullptr,
                                Utf8(page).c_str(), nullptr);
        worksheet_write_string(legend, row, 4, Utf8(plot).c_str(), nullptr);

        lxw_worksheet* data = workbook_add_worksheet(book, Utf8(page).c_str());
        lxw_chartsheet* chart_sheet = workbook_add_chartsheet(book, Utf8(plot).c_str());
        if (!data || !chart_sheet) {
            workbook_close(book);
            throw EInOutError(QStringLiteral("The workbook %1 could not take the sheets of %2")
                                  .arg(path, graph.Caption));
        }
        WriteDataSheet(data, graph);
        chartsheet_set_chart(chart_sheet, MakeChart(book, graph, page));
        // The file holds the finished state of every graph.
        worksheet_write_string(legend, row, 5, kExportComplete, nullptr);
    }
    CheckWrite(workbook_close(book), path);
}

}  // namespace korvel
