// Writes the calculation report of an analysed data file as a PDF: reads the
// project (every stage of a staged project) through the project model, the
// results through the plot data reader and the output report, and writes the
// PDF into a temporary file that replaces the target only when complete.
// Nothing is written beside the data file but the PDF.
#pragma once

#include <QString>

#include "design/design_choices.h"
#include "report/pdf_report.h"

namespace korvel {

struct TPdfExportResult {
    bool Written = false;
    QString Message;  // why nothing was written
};

// "FILE.pdf" beside "FILE.kv5d".
QString ReportPdfPath(const QString& data_file);

// Needs a QGuiApplication. The output report and plot data file are those beside
// the data file (".kv5o", ".kv5p"). design: the design choices of the Design
// Checks section, null for those of the design file beside the data file.
TPdfExportResult ExportReportPdf(const QString& data_file, const QString& pdf_file,
                                 TPaper paper = TPaper::kAuto,
                                 const design::TDesignChoices* design = nullptr);

}  // namespace korvel
