// Writes result graphs into a new spreadsheet workbook (.xlsx): an index sheet
// "Legend" listing every graph with links to its sheets, and per graph k a data
// sheet "Page_k" with the curves' points and a chart sheet "Plot_k" with an x-y
// chart of lines and markers, its series named by the legend texts.
#pragma once

#include <QString>
#include <vector>

namespace korvel {

class TGraphPlot;

// Spreadsheet column letters of a column counted from 1: 1 to 26 are A to Z,
// 27 to 702 AA to ZZ, then three letters.
QString SpreadsheetColumn(int column);

// Header texts of row 2 of "Legend", columns B to F, with their blanks.
inline constexpr const char* kLegendHeaders[] = {
    "     N    ", "                             Plot Name                             ",
    "  Sheet Name  ", "  Chart Name  ", "          Status          "};
inline constexpr const char* kExportComplete = "Complete";

// Writes graphs in order (graph k = 1, 2, ...) to the workbook at path, replacing
// a file there. Every curve of Lines is written, active or not. Throws EInOutError
// naming the path and the reason when the workbook cannot be written.
void WriteGraphsWorkbook(const QString& path, const std::vector<const TGraphPlot*>& graphs);

}  // namespace korvel
