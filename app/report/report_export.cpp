#include "report/report_export.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <exception>

#include "entry/entry_errors.h"
#include "graphs/plot_file_reader.h"
#include "graphs/result_plots.h"
#include "main/file_names.h"
#include "project/program_data.h"
#include "project/stage_files.h"
#include "report/design_report.h"

namespace korvel {
namespace {

// The project's inputs: one summary per stage of a staged project, else the
// first section and, with a long-term analysis, what the long-term one adds.
// Stages are split from a copy of the data file in a private folder, so that no
// stage file appears beside the user's data file.
std::vector<TInputSummary> ReadInputs(TProgramData& project, const QString& copy) {
    std::vector<TInputSummary> inputs;
    if (project.StageCount > 1) {
        const int stages = project.StageCount;
        SplitDataFile(copy, stages);
        for (int stage = 1; stage <= stages; ++stage) {
            if (stage > 1) LoadStage(project, stage);
            inputs.push_back(SummariseInput(project, QStringLiteral("Stage %1").arg(stage), false));
        }
        return inputs;
    }
    inputs.push_back(SummariseInput(project, QString(), false));
    if (project.LongTermMarker == 9) {
        inputs.push_back(SummariseInput(project, QStringLiteral("Long-term analysis"), true));
    }
    return inputs;
}

}  // namespace

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
    report.Date = QDate::currentDate().toString(Qt::ISODate);
    report.Version = QLatin1String(kProgramVersion);

    TProgramTables tables;
    TProgramData project(tables);
    TResultPlots plots;
    bool plots_loaded = false;
    const TReadResult read = project.CreateFromFile(copy);
    report.Title = project.Title;
    report.UnitSystem = project.UnitSystem();
    const bool staged = project.StageCount > 1;
    // The graphs take the layer marks and wall length from the project as read
    // (stage 1), as the program does after opening the file.
    const QString plot = ChangeFileExt(data_file, QStringLiteral(".kv5p"));
    if (QFileInfo::exists(plot)) plots_loaded = ReadPlotFile(plot, false, plots, project).Loaded;
    if (!read.Complete) {
        report.InputNote = QStringLiteral("The data file could not be read completely (") +
                           read.Message.simplified() +
                           QStringLiteral("); the input below is what was read.");
    }
    try {
        report.Inputs = ReadInputs(project, copy);
    } catch (const std::exception& e) {
        report.InputNote = QStringLiteral("The stages could not be read: ") + ErrorMessage(e);
    }

    const TReportRun run = ReadReport(ChangeFileExt(data_file, QStringLiteral(".kv5o")));
    report.Sections = SummariseSections(run, report.Inputs, staged);
    AddDesignChecks(report, data_file, design);
    if (!run.FirstError().isEmpty()) {
        report.Error = run.FirstError();
    } else if (run.Sections.empty()) {
        report.Error = QStringLiteral("there is no output report; run the analysis first");
    } else if (!run.Complete) {
        report.Error = QStringLiteral("the output report is incomplete");
    }

    QSaveFile out(pdf_file);
    if (!out.open(QIODevice::WriteOnly)) {
        result.Message =
            QStringLiteral("cannot write ") + pdf_file + QStringLiteral(": ") + out.errorString();
        return result;
    }
    QString error;
    if (!WritePdfReport(report, plots_loaded ? &plots : nullptr, paper, out, &error)) {
        out.cancelWriting();
        result.Message = QStringLiteral("cannot write ") + pdf_file + QStringLiteral(": ") + error;
        return result;
    }
    if (!out.commit()) {
        result.Message =
            QStringLiteral("cannot write ") + pdf_file + QStringLiteral(": ") + out.errorString();
        return result;
    }
    result.Written = true;
    return result;
}

}  // namespace korvel
