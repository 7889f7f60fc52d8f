#include "report/design_report.h"

#include "design/design_checks.h"
#include "design/design_table.h"
#include "main/file_names.h"

namespace korvel {

void AddDesignChecks(TCalcReport& report, const QString& data_file,
                     const design::TDesignChoices* choices) {
    design::TDesignChoices chosen;
    if (choices) {
        chosen = *choices;
    } else {
        try {
            if (!design::ReadDesignFile(data_file.toStdString(), chosen)) return;
        } catch (const std::exception& e) {
            report.DesignNotes << QStringLiteral("Design checks not made: %1.").arg(e.what());
            return;
        }
    }
    design::TDesignRun run;
    try {
        const auto catalogue =
            design::TSectionCatalogue::Load(design::CatalogueFile(design::ProgramFolder()));
        run = design::CheckRun(data_file.toStdString(),
                               ChangeFileExt(data_file, QStringLiteral(".kv5o")).toStdString(),
                               catalogue, chosen);
    } catch (const std::exception& e) {
        run.error = e.what();
    }
    report.DesignChecks.Caption = QStringLiteral("Utilisation per section");
    // One header cell per column (a column's lines in its list).
    for (const auto& h : design::CheckTableHeader()) {
        report.DesignChecks.Header.push_back(QStringList{QString::fromStdString(h)});
    }
    for (const auto& row : design::CheckTableRows(run)) {
        QStringList cells;
        for (const auto& cell : row) cells << QString::fromStdString(cell);
        report.DesignChecks.Rows.push_back(cells);
    }
    for (const auto& line : design::CheckTableNotes(run)) {
        report.DesignNotes << QString::fromStdString(line);
    }
}

}  // namespace korvel
