#include "project/stage_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

#include "entry/entry_errors.h"
#include "entry/word_reader.h"
#include "project/atomic_file.h"
#include "project/data_file_reader.h"
#include "project/data_file_writer.h"

namespace korvel {
namespace {

// A stage boundary in a staged data file: the start of a later stage's TITLE.
constexpr const char* kStageMarker = " Stage No :";
constexpr const char* kCurrentExtension = ".kv5d";

void Append(TReadResult& into, const TReadResult& more) {
    into.Warnings.append(more.Warnings);
    if (more.Complete) return;
    into.Message = into.Complete ? more.Message : into.Message + u'\r' + more.Message;
    into.Complete = false;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EInOutError(
            QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    }
    return file.readAll();
}

QString LowerExtensionOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

QString AbsoluteStageName(const QString& data_file, int stage) {
    return QFileInfo(StageFileName(data_file, stage)).absoluteFilePath();
}

// The stages of a staged data file: line 1 and every line that holds " Stage
// No :" start one; each line keeps its end (LF, CR LF or a lone CR).
std::vector<QByteArray> SplitStages(const QByteArray& text) {
    std::vector<QByteArray> stages;
    qsizetype start = 0;
    bool first_line = true;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        end = std::min(end + 1, text.size());
        const QByteArray line = text.mid(start, end - start);
        if (first_line || line.contains(kStageMarker)) stages.emplace_back();
        stages.back() += line;
        first_line = false;
        start = end;
    }
    return stages;
}

}  // namespace

QString NewProjectStageFolder() {
    // One folder per program process: two program windows each with a project
    // never saved must not read and write each other's "NewWall.st2".
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                           QStringLiteral("/unsaved-") +
                           QString::number(QCoreApplication::applicationPid());
    if (QDir().mkpath(folder)) {
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return folder;
}

QString StageFileName(const QString& data_file, int stage) {
    const QString extension = QStringLiteral(".st") + QString::number(stage);
    if (data_file == QLatin1String(TProjectFields::kNewFileName)) {
        // Never saved: the program folder may be read-only, the user's folder is not.
        return NewProjectStageFolder() + u'/' + QFileInfo(data_file).completeBaseName() + extension;
    }
    const qsizetype name_start =
        std::max(data_file.lastIndexOf(u'/'), data_file.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = data_file.lastIndexOf(u'.');
    const QString base = dot >= name_start ? data_file.left(dot) : data_file;
    return base + extension;
}

void WriteStageFile(TProgramData& project) {
    const bool modified = project.Modified();
    TDataFileWriter writer(project);
    writer.WriteSection(TSectionKind::kStage);
    WriteFileAtomically(StageFileName(project.FileName, project.CurrentStage), writer.Text());
    project.EIRecordsPresent = true;
    project.TiebackRecordsPresent = true;
    // Writing makes the last stiffness row constant, which is no edit of the user's.
    project.SetModified(modified);
}

TReadResult LoadStage(TProgramData& project, int stage) {
    TReadResult result;
    const QString path = StageFileName(project.FileName, stage);
    if (!QFileInfo::exists(path)) return result;  // a new stage starts as a copy of this one
    const int unit_system = project.UnitSystem();
    try {
        TWordReader reader(path);
        const TRecordLayout layout{project.EIRecordsPresent, project.TiebackRecordsPresent, false};
        TDataFileReader stage_reader(project, reader, layout);
        try {
            stage_reader.ReadSection(TSectionKind::kStage);
        } catch (const EKorvelError&) {
            result.Warnings = stage_reader.Warnings();
            throw;
        }
        result.Warnings = stage_reader.Warnings();
    } catch (const EKorvelError& error) {
        result.Complete = false;
        result.Message = error.Message();
        // This stage now holds only part of its file, and the data file is
        // assembled from the stage files: saving over it needs the user's consent.
        project.PartlyRead = true;
    }
    // The project has one unit system: a stage file written in another (by an
    // older version) is converted as it comes in.
    project.SetUnitSystem(unit_system);
    // Curve tables fill up when their window opens (as after reading a data file).
    project.FillUpTables(false);
    project.SetModified(false);
    return result;
}

TReadResult SwitchToStage(TProgramData& project, int stage) {
    if (stage == project.CurrentStage) return {};
    const bool modified = project.Modified();
    WriteStageFile(project);
    project.CurrentStage = stage;
    const TReadResult result = LoadStage(project, stage);
    project.SetModified(modified);
    return result;
}

TReadResult CopyPreviousStage(TProgramData& project) {
    const int stage = project.CurrentStage;
    if (stage < 2) return {};
    const QString previous = StageFileName(project.FileName, stage - 1);
    if (!QFileInfo::exists(previous)) {
        // Nothing to copy: the current stage keeps its own data.
        return {false, QStringLiteral("The file of stage %1 (\"%2\") does not exist.")
                           .arg(stage - 1)
                           .arg(previous)};
    }
    const TReadResult result = LoadStage(project, stage - 1);
    WriteStageFile(project);
    project.SetModified(true);  // the data file does not hold the copy yet
    return result;
}

void AssembleDataFile(const TProgramData& project, const QString& target, const QString& source) {
    QByteArray text;
    for (int stage = 1; stage <= project.StageCount; ++stage) {
        const QString path = StageFileName(source, stage);
        if (!QFileInfo::exists(path)) {
            throw EInOutError(MissingStageMessage(project, stage) +
                              QStringLiteral(" The data file was not written."));
        }
        QByteArray bytes = ReadWholeFile(path);
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r')) bytes += "\r\n";
        text += bytes;
    }
    WriteFileAtomically(target, text);
    if (AbsoluteStageName(source, 1) != AbsoluteStageName(target, 1))
        MoveStageFiles(source, target, project.StageCount);
}

void MoveStageFiles(const QString& source, const QString& target, int count) {
    count = std::clamp(count, 1, kMaxStageCount);
    std::vector<QByteArray> contents(static_cast<size_t>(count));
    std::vector<bool> present(static_cast<size_t>(count), false);
    for (int stage = 1; stage <= count; ++stage) {
        const QString path = StageFileName(source, stage);
        if (!QFileInfo::exists(path)) continue;
        contents[static_cast<size_t>(stage - 1)] = ReadWholeFile(path);
        present[static_cast<size_t>(stage - 1)] = true;
    }
    // Copies first: a stage exists under one name or the other at every moment.
    for (int stage = 1; stage <= count; ++stage) {
        if (!present[static_cast<size_t>(stage - 1)]) continue;
        try {
            WriteFileAtomically(StageFileName(target, stage),
                                contents[static_cast<size_t>(stage - 1)]);
        } catch (const EKorvelError& error) {
            for (int done = 1; done < stage; ++done) QFile::remove(StageFileName(target, done));
            throw EInOutError(QStringLiteral("The stage file \"%1\" could not be moved to \"%2\"; "
                                             "the stage files keep their old names.\r%3")
                                  .arg(StageFileName(source, stage), StageFileName(target, stage),
                                       error.Message()));
        }
    }
    for (int stage = 1; stage <= count; ++stage) {
        if (present[static_cast<size_t>(stage - 1)]) QFile::remove(StageFileName(source, stage));
    }
    // Stage files of an earlier project of the target's name would be taken for
    // stages of this one when its count is raised.
    DeleteStageFiles(target, count + 1, kMaxStageCount);
}

QList<int> MissingStageFiles(const TProgramData& project) {
    QList<int> missing;
    for (int stage = 1; stage <= project.StageCount; ++stage) {
        if (stage != project.CurrentStage &&
            !QFileInfo::exists(StageFileName(project.FileName, stage)))
            missing.append(stage);
    }
    return missing;
}

QString MissingStageMessage(const TProgramData& project, int stage) {
    return QStringLiteral("The file of stage %1 (\"%2\") does not exist.")
        .arg(stage)
        .arg(StageFileName(project.FileName, stage));
}

bool RestoreStageFile(const TProgramData& project, int stage) {
    if (!QFileInfo::exists(project.FileName)) return false;
    const std::vector<QByteArray> stages = SplitStages(ReadWholeFile(project.FileName));
    if (stage < 1 || stage > static_cast<int>(stages.size())) return false;
    WriteFileAtomically(StageFileName(project.FileName, stage),
                        stages[static_cast<size_t>(stage - 1)]);
    return true;
}

void DeleteStageFiles(const QString& data_file, int from, int to) {
    for (int stage = std::max(from, 1); stage <= std::min(to, kMaxStageCount); ++stage) {
        QFile::remove(StageFileName(data_file, stage));
    }
}

void SplitDataFile(const QString& path, int stage_count) {
    const std::vector<QByteArray> stages = SplitStages(ReadWholeFile(path));
    DeleteStageFiles(path);
    const int count = std::min(stage_count, static_cast<int>(stages.size()));
    for (int stage = 1; stage <= count; ++stage)
        WriteFileAtomically(StageFileName(path, stage), stages[static_cast<size_t>(stage - 1)]);
}

TReadResult OpenStagedProject(TProgramData& project, int format) {
    SplitDataFile(project.FileName, project.StageCount);
    project.CurrentStage = 1;
    TReadResult result;
    if (format == 1 && LowerExtensionOf(project.FileName) == QLatin1String(kCurrentExtension))
        return result;
    // The stage files hold the records of the format the file was read in; each
    // is read under that layout and written again in the current one.
    const TRecordLayout layout = LayoutOfFormat(format);
    for (int stage = 1; stage <= project.StageCount; ++stage) {
        project.EIRecordsPresent = layout.EIRecords;
        project.TiebackRecordsPresent = layout.TiebackRecords;
        project.CurrentStage = stage;
        Append(result, LoadStage(project, stage));
        WriteStageFile(project);
    }
    project.EIRecordsPresent = true;
    project.TiebackRecordsPresent = true;
    project.CurrentStage = 1;
    Append(result, LoadStage(project, 1));
    return result;
}

void SaveStagedProjectAs(TProgramData& project, const QString& target) {
    WriteStageFile(project);
    AssembleDataFile(project, target, project.FileName);
    project.FileName = target;
    project.PartlyRead = false;
    project.EIRecordsPresent = true;
    project.TiebackRecordsPresent = true;
    project.SetModified(false);
}

TReadResult ChangeStageCount(TProgramData& project, int count) {
    count = std::clamp(count, 1, kMaxStageCount);
    const int old_count = project.StageCount;
    const int previous = project.CurrentStage;
    const int back_to = (count == 1 || old_count == 1 || count < old_count) ? 1 : previous;
    TReadResult result;
    if (count == old_count) {
        project.CurrentStage = back_to;
        if (count == 1) DeleteStageFiles(project.FileName);
        return result;
    }
    if (count == 1) {
        project.StageCount = 1;
        project.CurrentStage = 1;
        DeleteStageFiles(project.FileName);
        project.SetModified(true);
        return result;
    }
    if (old_count == 1) {
        // Files of an earlier project of this name must not become its stages:
        // every stage starts as a copy of the project as it stands.
        DeleteStageFiles(project.FileName);
    } else if (previous <= count) {
        // The current stage's edits reach its file before the stages are reloaded.
        WriteStageFile(project);
    }
    project.StageCount = count;
    for (int stage = 1; stage <= count; ++stage) {
        project.CurrentStage = stage;
        Append(result, LoadStage(project, stage));
        project.StageCount = count;  // the file read may still say the old count
        WriteStageFile(project);
    }
    DeleteStageFiles(project.FileName, count + 1, kMaxStageCount);
    project.CurrentStage = back_to;
    Append(result, LoadStage(project, back_to));
    project.SetModified(true);
    return result;
}

}  // namespace korvel
