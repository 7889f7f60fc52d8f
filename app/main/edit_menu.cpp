#include "main/edit_menu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "entry/entry_errors.h"
#include "main/main_form.h"
#include "main/main_prompts.h"
#include "project/program_data.h"
#include "project/project_history.h"
#include "project/stage_units.h"

namespace korvel {
namespace {

const char* kUndo = "EditUndo";
const char* kRedo = "EditRedo";

QAction* Item(TMainForm& form, const char* name) {
    return form.findChild<QAction*>(QLatin1String(name));
}

void ShowTexts(TMainForm& form, const TProjectHistory& history) {
    if (QAction* undo = Item(form, kUndo)) undo->setText(history.UndoText());
    if (QAction* redo = Item(form, kRedo)) redo->setText(history.RedoText());
}

}  // namespace

QString StepName(const QAction& action) {
    QString name = action.text();
    name.remove(u'&');
    while (name.endsWith(u'.')) name.chop(1);
    return name.simplified();
}

void ConnectProjectHistory(TMainForm& form, TProjectHistory& history,
                           const std::map<QString, QAction*>& actions) {
    history.SwitchStage = [&form](int stage) {
        form.SwitchStage(stage);
        form.RefreshStageButtons();
        return form.Project().CurrentStage == stage;
    };
    // The project has one unit system: undoing a switch converts every stage back.
    history.SwitchUnits = [&form](int system) {
        try {
            const TReadResult read = SwitchProjectUnitSystem(form.Project(), system);
            if (!read.Notice().isEmpty()) TMainPrompts::Current().Information(&form, read.Notice());
        } catch (const EKorvelError& error) {
            TMainPrompts::Current().Information(&form, error.Message());
        }
    };
    for (const auto& [name, action] : actions) {
        if (name == QLatin1String(kUndo) || name == QLatin1String(kRedo)) continue;
        // Connected after the action's own handler, so it runs when the action is done.
        QObject::connect(action, &QAction::triggered, &history,
                         [&history, action = action] { history.Checkpoint(StepName(*action)); });
    }
    // The wall set to a studied length (the length study window).
    QObject::connect(&form.Project(), &TProgramData::valuesChanged, &history, [&history] {
        history.CheckpointEveryStage(QStringLiteral("Set Wall Length"));
    });
    // A dialog hands its values over when the user leaves it for another window:
    // they are a step of their own, not part of what is done in the next window.
    // Queued: a window may close while its table is being taken apart.
    QObject::connect(
        form.MdiArea(), &QMdiArea::subWindowActivated, &history,
        [&history] { history.Checkpoint(); }, Qt::QueuedConnection);
    QObject::connect(&history, &TProjectHistory::changed, &form,
                     [&form, &history] { ShowTexts(form, history); });
    ShowTexts(form, history);
}

void EditMenuAboutToShow(TMainForm& form, TProjectHistory& history) {
    ShowTexts(form, history);
    if (QAction* undo = Item(form, kUndo)) undo->setEnabled(history.CanUndo());
    if (QAction* redo = Item(form, kRedo)) redo->setEnabled(history.CanRedo());
}

void EditMenuAboutToHide(TMainForm& form) {
    for (const char* name : {kUndo, kRedo}) {
        if (QAction* item = Item(form, name)) item->setEnabled(true);
    }
}

}  // namespace korvel
