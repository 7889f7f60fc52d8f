// TProjectHistory: the project's undo and redo. Each step holds the project's
// values before and after one change (TProjectSnapshot) and the stage it was
// made on. The main window records a step at every checkpoint: when entries are
// taken before an action, after every menu action, and when a table window
// reports an edit (table_edit_event.h). A checkpoint compares the project with
// the values after the last step; a difference becomes a step named by what
// changed (or by the name given). A stage switch or a save is no step: the
// history takes the project as it then is as its base, and a save marks the
// position clean. New, Open and a change of the stage count start a fresh history.
//
// Undoing or redoing a step of another stage first makes that stage current
// (through SwitchStage), so the values go back into the stage they came from.
// The modified state follows the position: back at the clean position the
// project is unmodified.
//
// Model code: no widgets; the main window gives the stage and unit switches.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "project/project_snapshot.h"

namespace korvel {

class TProjectHistory : public QObject {
    Q_OBJECT

  public:
    // Most steps kept; the oldest go first.
    static constexpr int kMaxSteps = 200;

    explicit TProjectHistory(TProgramData& project, QObject* parent = nullptr);

    // Makes stage current; false when it could not (the project stays on its stage).
    std::function<bool(int stage)> SwitchStage;
    // Switches the project's unit system as the Units menu does (every stage
    // converted); the step's own values are put back afterwards.
    std::function<void(int system)> SwitchUnits;

    // A fresh history with the project as it is now as its clean base.
    void Reset();
    // Records the changes since the last step; name (without "Undo ") names the
    // step, else what changed names it.
    void Checkpoint(const QString& name = {});

    // A change made in every stage at once (the wall set to a length): a step
    // when the project has one stage; otherwise the history starts afresh, since
    // a step holds the values of one stage only.
    void CheckpointEveryStage(const QString& name);

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < static_cast<int>(steps_.size()); }
    // "Undo Free Height of Wall", "Redo Paste in Soil Layers"; "Undo" and "Redo" alone
    // when there is nothing to undo or redo.
    QString UndoText() const;
    QString RedoText() const;
    // False when there was nothing to do or the step's stage could not be made current.
    bool Undo();
    bool Redo();

    int Count() const { return static_cast<int>(steps_.size()); }
    int Position() const { return position_; }
    // Position of the saved values; -1 when no position holds them any more.
    int CleanPosition() const { return clean_; }

  Q_SIGNALS:
    // Steps, position or names changed (the Edit menu's texts).
    void changed();

  protected:
    // A table window's edit (TTableEditEvent on a data table) is a step of its own.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct TStep {
        QString Name;
        int Stage = 1;
        TProjectSnapshot Before;
        TProjectSnapshot After;
    };

    bool Apply(const TStep& step, const TProjectSnapshot& values);
    void FollowModified();

    TProgramData& project_;
    std::vector<TStep> steps_;
    int position_ = 0;  // steps before it are done, from it on undone
    int clean_ = 0;
    TProjectSnapshot base_;       // the values after the step before position_ (or at the reset)
    bool reset_pending_ = false;  // the project was replaced: the next checkpoint resets
    bool busy_ = false;           // undoing or redoing: checkpoints wait
};

}  // namespace korvel
