#include "tieback_results.h"

#ifdef KORVEL_HAS_PROJECT_MODEL
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <exception>

#include "project/program_data.h"
#include "report/calc_report.h"
#include "report/report_reader.h"
#endif

namespace korvel::cli {

#ifdef KORVEL_HAS_PROJECT_MODEL

namespace {

void AddFor(RunResult& r) {
    const QString data = QString::fromStdString(r.dataFile.string());
    // Stage files are split from a private copy, never beside the user's file.
    QTemporaryDir folder;
    if (!folder.isValid()) return;
    const QString copy = folder.filePath(QFileInfo(data).fileName());
    if (!QFile::copy(data, copy)) return;
    TProgramTables tables;
    TProgramData project(tables);
    if (!project.CreateFromFile(copy).Complete) return;
    const std::vector<TInputSummary> inputs = SummariseProjectInputs(project, copy);
    if (inputs.empty()) return;
    const TReportRun run = ReadReport(QString::fromStdString(r.reportFile.string()));
    // The results blocks of the report, in order; sections without one are skipped
    // as the summaries skip them.
    size_t block = 0;
    for (size_t i = 0; i < run.Sections.size(); ++i) {
        const TReportSection& section = run.Sections[i];
        if (!section.HasResults) continue;
        if (block >= r.results.size()) break;
        const TInputSummary& in = inputs[std::min(i, inputs.size() - 1)];
        SectionSummary& s = r.results[block++];
        s.tiebacks.clear();
        for (const TTiebackInput& t : in.Tiebacks) {
            const TTiebackForce f = TiebackForce(t, in, section);
            double depth = 0;
            for (const TStationRow& row : section.Rows) {
                if (row.Station == f.Station) depth = row.X;
            }
            s.tiebacks.push_back({f.Station, depth, f.Deflection, f.Lateral, f.AlongRod});
        }
    }
}

}  // namespace

bool TiebackForcesAvailable() {
    return true;
}

void AddTiebackForces(std::vector<RunResult>& results) {
    for (RunResult& r : results) {
        if (r.status == RunStatus::Failed || r.results.empty()) continue;
        try {
            AddFor(r);
        } catch (const std::exception&) {
            // A data file the model cannot take keeps its lists empty.
        }
    }
}

#else

bool TiebackForcesAvailable() {
    return false;
}

void AddTiebackForces(std::vector<RunResult>&) {}

#endif

}  // namespace korvel::cli
