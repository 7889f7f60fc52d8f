#include "main/stage_restore.h"

#include "entry/entry_errors.h"
#include "main/main_prompts.h"
#include "project/program_data.h"
#include "project/stage_files.h"

namespace korvel {

bool RestoreMissingStages(QWidget* parent, TProgramData& project, const QList<int>& stages,
                          const QString& refused_action) {
    TMainPrompts& prompts = TMainPrompts::Current();
    for (int stage : stages) {
        const QString missing = MissingStageMessage(project, stage);
        const QString question =
            missing + QStringLiteral(
                          "\rDo you want to restore stage %1 from the data file \"%2\", "
                          "as it was last saved?")
                          .arg(stage)
                          .arg(project.FileName);
        if (prompts.Confirm(parent, question, false) != TMainPrompts::TAnswer::kYes) {
            prompts.Information(parent, refused_action);
            return false;
        }
        try {
            if (!RestoreStageFile(project, stage)) {
                prompts.Information(
                    parent, missing +
                                QStringLiteral(" The data file does not hold stage %1 either, and "
                                               "a stage is not made up from another one.\r")
                                    .arg(stage) +
                                refused_action);
                return false;
            }
        } catch (const EKorvelError& error) {
            prompts.Information(parent, error.Message() + u'\r' + refused_action);
            return false;
        }
    }
    return true;
}

}  // namespace korvel
