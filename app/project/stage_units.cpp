#include "project/stage_units.h"

#include <QFile>
#include <QFileInfo>

#include "entry/entry_errors.h"
#include "entry/units.h"
#include "project/atomic_file.h"
#include "project/stage_files.h"

namespace korvel {
namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EInOutError(
            QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    }
    return file.readAll();
}

void Append(TReadResult& into, const TReadResult& more) {
    into.Warnings.append(more.Warnings);
    if (more.Complete) return;
    into.Message = into.Complete ? more.Message : into.Message + u'\r' + more.Message;
    into.Complete = false;
}

}  // namespace

TReadResult SwitchProjectUnitSystem(TProgramData& project, int system) {
    system = ClampUnitSystem(system);
    const int old = project.UnitSystem();
    if (system == old) return {};
    if (project.StageCount <= 1) {
        project.SetUnitSystem(system);
        return {};
    }
    const int current = project.CurrentStage;
    // The current stage's edits reach its file, in the system they were made in.
    WriteStageFile(project);
    TReadResult result;
    std::map<int, TStageUnitRecord> written;
    try {
        for (int stage = 1; stage <= project.StageCount; ++stage) {
            const QString path = StageFileName(project.FileName, stage);
            if (!QFileInfo::exists(path)) continue;
            const QByteArray before = FileBytes(path);
            const auto last = project.StageUnitMemo.find(stage);
            if (last != project.StageUnitMemo.end() && last->second.From == system &&
                last->second.To == old && last->second.Converted == before) {
                // Not edited since the switch the other way: the file as it was entered.
                WriteFileAtomically(path, last->second.Source);
                written[stage] = {old, system, before, last->second.Source};
                continue;
            }
            project.CurrentStage = stage;
            const TReadResult read = LoadStage(project, stage);
            Append(result, read);
            // A stage read only in part is not written over: its file keeps the rest.
            if (!read.Complete) continue;
            project.SetUnitSystem(system);
            WriteStageFile(project);
            written[stage] = {old, system, before, FileBytes(path)};
        }
    } catch (const EKorvelError&) {
        // A stage file that could not be written: the project goes back to its
        // current stage (in the system it now has), and the caller is told.
        project.CurrentStage = current;
        LoadStage(project, current);
        throw;
    }
    project.StageUnitMemo = std::move(written);
    project.CurrentStage = current;
    project.SetUnitSystem(system);
    Append(result, LoadStage(project, current));
    project.SetModified(true);
    return result;
}

}  // namespace korvel
