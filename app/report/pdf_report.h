// Lays the calculation report out on pages and writes it as a PDF through Qt's
// PDF writer: a title block on every page (project title, file name, date,
// program version, "Page n of m"), the input tables, the results of every
// section, the graphs drawn by the graph windows' own painter (vector graphics),
// then the station table of every section with its header on each page.
// Needs a QGuiApplication (the offscreen platform will do).
#pragma once

#include <QString>

#include "report/calc_report.h"

class QIODevice;

namespace korvel {

class TResultPlots;

enum class TPaper { kAuto, kA4, kLetter };

// US Letter for English units, A4 for the others, unless chosen.
TPaper PaperFor(TPaper chosen, int unit_system);

// Writes the whole document to out (open for writing). graphs may be null (no
// results to draw); its curves' Active flags are set as a new graph window sets them.
// False with a message when the writer fails.
bool WritePdfReport(const TCalcReport& report, TResultPlots* graphs, TPaper paper, QIODevice& out,
                    QString* error);

}  // namespace korvel
