#include "report/report_export.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <exception>

#include "entry/entry_errors.h"
#include "entry/units.h"
#include "graphs/plot_file_reader.h"
#include "graphs/result_plots.h"
#include "main/file_names.h"
#include "project/program_data.h"
#include "project/stage_files.h"
#include "report/design_report.h"
#include "run_files.h"

namespace korvel {
QString ReportPdfPath(const QString& data_file) {
    return ChangeFileExt(data_file, QStringLiteral(".pdf"));
}

TPdfExportResult ExportReportPdf(const QString& data_file, const QString& pdf_file, TPaper paper,
                                 const design::TDesignChoices* design) {
    TPdfExportResult result;
    const QFileInfo info(data_file);
    if (!info.isFile()) {
        result.Message = QStringLiteral("no such data file: ") + data_file;
        return result;
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        result.Message = QStringLiteral("cannot create a working folder: ") + folder.errorString();
        return result;
    }
    const QString copy = folder.filePath(info.fileName());
    if (!QFile::copy(data_file, copy)) {
        result.Message = QStringLiteral("cannot read ") + data_file;
        return result;
    }

    TCalcReport report;
    report.FileName = info.fileName();
    report.Date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    report.Version = QLatin1String(kProgramVersion);

    TProgramTables tables;
    TProgramData project(tables);
    TResultPlots plots;
    bool plots_loaded = false;
    const TReadResult read = project.CreateFromFile(copy);
    report.Title = project.Title;
    report.UnitSystem = project.UnitSystem();
    // Generated curves alone are labelled by their depth in the plot file.
    report.PYLabelsAreDepths = project.PYCurveOption == 2 && !project.ApplyExternalPYCurves;
    const bool staged = project.StageCount > 1;
    // The graphs take the layer marks and wall length from the project as read
    // (stage 1), as the program does after opening the file.
    const QString plot = ChangeFileExt(data_file, QStringLiteral(".kv5p"));
    if (QFileInfo::exists(plot)) {
        plots_loaded = ReadPlotFile(plot, false, plots, project).Loaded;
        if (plots_loaded) report.PYSets = ReadPYSets(plot);
    }
    const std::vector<TPressureRows> pressures =
        plots_loaded ? ReadPressureSets(plot) : std::vector<TPressureRows>{};
    if (!read.Complete) {
        report.InputNote = QStringLiteral("The data file could not be read completely (") +
                           read.Message.simplified() +
                           QStringLiteral("); the input below is what was read.");
    }
    try {
        report.Inputs = SummariseProjectInputs(project, copy);
    } catch (const std::exception& e) {
        report.InputNote = QStringLiteral("The stages could not be read: ") + ErrorMessage(e);
    }

    const TReportRun run = ReadReport(ChangeFileExt(data_file, QStringLiteral(".kv5o")));
    report.Sections = SummariseSections(run, report.Inputs, staged, pressures);
    // One set of units for the whole report, by the output report's units line.
    TReportUnits units;
    for (const TReportSection& s : run.Sections) {
        if (report.Analysed.isEmpty()) report.Analysed = s.Analysed;
        if (s.HasResults && units.Length.isEmpty()) units = s.Units;
    }
    if (units.Length.isEmpty()) {
        units = report.UnitSystem == kEnglishUnits
                    ? TReportUnits{"IN", "IN", "LBS-IN", "LBS", "LBS", "LBS-IN**2"}
                    : TReportUnits{"M", "M", "KN-M", "KN", "KN", "KN-M**2"};
    }
    report.Units = ResultUnitsFor(units);
    {
        QFile data(data_file);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (data.open(QIODevice::ReadOnly) && hash.addData(&data))
            report.DataSha256 = QString::fromLatin1(hash.result().toHex());
    }
    AddDesignChecks(report, data_file, design);
    if (!run.FirstError().isEmpty()) {
        report.Error = run.FirstError();
    } else if (run.Sections.empty()) {
        report.Error = QStringLiteral("there is no output report; run the analysis first");
    } else if (!run.Complete) {
        report.Error = QStringLiteral("the output report is incomplete");
    }

    // The pages go to memory first; the file is replaced whole or not at all.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    if (!WritePdfReport(report, plots_loaded ? &plots : nullptr, paper, out, &error)) {
        result.Message = QStringLiteral("cannot write ") + pdf_file + QStringLiteral(": ") + error;
        return result;
    }
    std::string written_error;
    if (!runfiles::WriteOutputFile(QFile::encodeName(pdf_file).toStdString(),
                                   out.data().toStdString(), written_error)) {
        result.Message = QString::fromUtf8(written_error);
        return result;
    }
    result.Written = true;
    return result;
}

}  // namespace korvel
