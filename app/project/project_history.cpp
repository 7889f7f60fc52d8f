#include "project/project_history.h"

#include "entry/table_definitions.h"
#include "entry/table_edit_event.h"

namespace korvel {

TProjectHistory::TProjectHistory(TProgramData& project, QObject* parent)
    : QObject(parent), project_(project), base_(TProjectSnapshot::Capture(project)) {
    // The values of a project that is replaced cannot come back into its successor.
    connect(&project_, &TProgramData::aboutToReset, this, [this] { reset_pending_ = true; });
    for (TGridTable* table : project_.Tables().DataTables()) table->installEventFilter(this);
}

bool TProjectHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == TTableEditEvent::EventType())
        Checkpoint(static_cast<TTableEditEvent*>(event)->Change());
    return QObject::eventFilter(watched, event);
}

void TProjectHistory::Reset() {
    steps_.clear();
    position_ = 0;
    clean_ = project_.Modified() ? -1 : 0;
    base_ = TProjectSnapshot::Capture(project_);
    reset_pending_ = false;
    Q_EMIT changed();
}

void TProjectHistory::Checkpoint(const QString& name) {
    if (busy_) return;
    if (reset_pending_) {
        Reset();
        return;
    }
    TProjectSnapshot now = TProjectSnapshot::Capture(project_);
    if (now.StageCount != base_.StageCount) {
        // Stage files were made or removed: steps of other stages lost their place.
        Reset();
        return;
    }
    if (!project_.Modified() || now.CurrentStage != base_.CurrentStage ||
        now.FileName != base_.FileName) {
        // A save (which also empties the tables of options switched off) or a
        // stage switch: no change of the user's, the values as they are are the base.
        if (!project_.Modified()) clean_ = position_;
        base_ = std::move(now);
        Q_EMIT changed();
        return;
    }
    if (base_.SameValues(now)) return;
    TStep step;
    step.Name = name.isEmpty() ? base_.ChangeName(now, project_.Tables()) : name;
    step.Stage = now.CurrentStage;
    step.Before = std::move(base_);
    step.After = now;
    base_ = std::move(now);
    steps_.erase(steps_.begin() + position_, steps_.end());
    if (clean_ > position_) clean_ = -1;
    steps_.push_back(std::move(step));
    ++position_;
    if (static_cast<int>(steps_.size()) > kMaxSteps) {
        steps_.erase(steps_.begin());
        --position_;
        clean_ = clean_ > 0 ? clean_ - 1 : -1;
    }
    Q_EMIT changed();
}

void TProjectHistory::CheckpointEveryStage(const QString& name) {
    if (busy_) return;
    if (project_.StageCount > 1 && !project_.LongTermAnalysis) {
        Reset();
    } else {
        Checkpoint(name);
    }
}

QString TProjectHistory::UndoText() const {
    if (!CanUndo()) return QStringLiteral("Undo");
    return QStringLiteral("Undo ") + steps_[static_cast<size_t>(position_ - 1)].Name;
}

QString TProjectHistory::RedoText() const {
    if (!CanRedo()) return QStringLiteral("Redo");
    return QStringLiteral("Redo ") + steps_[static_cast<size_t>(position_)].Name;
}

bool TProjectHistory::Apply(const TStep& step, const TProjectSnapshot& values) {
    busy_ = true;
    if (project_.CurrentStage != step.Stage) {
        if (!SwitchStage || !SwitchStage(step.Stage) || project_.CurrentStage != step.Stage) {
            busy_ = false;
            base_ = TProjectSnapshot::Capture(project_);
            return false;
        }
    }
    if (values.UnitSystem != project_.UnitSystem()) {
        if (SwitchUnits) {
            SwitchUnits(values.UnitSystem);
        } else {
            project_.SetUnitSystem(values.UnitSystem);
        }
    }
    values.Restore(project_);
    base_ = values;
    // Open dialogs, tables and views show the values put back.
    Q_EMIT project_.valuesChanged();
    busy_ = false;
    return true;
}

void TProjectHistory::FollowModified() {
    project_.SetModified(false);
    if (position_ != clean_) project_.SetModified(true);
}

bool TProjectHistory::Undo() {
    if (!CanUndo()) return false;
    const TStep& step = steps_[static_cast<size_t>(position_ - 1)];
    if (!Apply(step, step.Before)) return false;
    --position_;
    FollowModified();
    Q_EMIT changed();
    return true;
}

bool TProjectHistory::Redo() {
    if (!CanRedo()) return false;
    const TStep& step = steps_[static_cast<size_t>(position_)];
    if (!Apply(step, step.After)) return false;
    ++position_;
    FollowModified();
    Q_EMIT changed();
    return true;
}

}  // namespace korvel
