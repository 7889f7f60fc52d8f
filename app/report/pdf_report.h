// Writes the calculation report as a PDF through Qt's PDF writer: a title
// block on every page (project title, file name, date, program version, "Page
// n of m"); on the first page the job block, the input's fingerprint, any
// banner about an error or results that are not valid, and the contents; then
// the method, the sign convention, the assumptions and limits, the units, the
// input tables, the results of every section, the warnings of the run, the
// graphs drawn by the graph windows' own painter (vector graphics), the station
// table of every section, and the end-of-report mark.
// Needs a QGuiApplication (the offscreen platform will do).
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "report/calc_report.h"

class QIODevice;

namespace korvel {

class TReportComposer;
class TResultPlots;

enum class TPaper { kAuto, kA4, kLetter };

// US Letter for English units, A4 for the others, unless chosen.
TPaper PaperFor(TPaper chosen, int unit_system);

// A part of the report of its own (such as design checks), composed after the
// results of the sections: its heading enters the contents, Compose lays out the rest.
struct TReportPart {
    QString Heading;
    std::function<void(TReportComposer& page, const TCalcReport& report)> Compose;
};

// Writes the whole document to out (open for writing). graphs may be null (no
// results to draw); its curves' names, Active flags and captions are set for the
// pages. False with a message when the writer fails.
bool WritePdfReport(const TCalcReport& report, TResultPlots* graphs, TPaper paper, QIODevice& out,
                    QString* error, const std::vector<TReportPart>& parts = {});

}  // namespace korvel
