#include "main/run_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "entry/entry_errors.h"
#include "main/file_names.h"
#include "run_files.h"

namespace korvel {
namespace {

std::filesystem::path NativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString InFolder(const QString& folder, const QString& beside) {
    return QDir(folder).filePath(QFileInfo(beside).fileName());
}

}  // namespace

QString RefusedRunMessage(const QString& data_file) {
    std::string reason = runfiles::RefusedDataPath(QFile::encodeName(data_file).toStdString());
    // The program names its results by its own rule, which takes a leading "."
    // for the extension's: ".kv5r" would be its own run notes.
    for (const QString& result :
         {OutputReportPath(data_file), PlotDataPath(data_file), RunNotesPath(data_file)}) {
        if (reason.empty() && result == data_file) {
            reason = "its results would be written over it (" +
                     LowerExtension(result).toStdString() + " is the extension of a result file)";
        }
    }
    if (reason.empty()) return QString();
    return QStringLiteral(
               "The data file \"%1\" cannot be analysed under this name: %2.\r"
               "Save it under another name with Save As.")
        .arg(data_file, QString::fromUtf8(reason));
}

TRunFolder::TRunFolder(const QString& parent, const QString& data_file) : data_file_(data_file) {
    try {
        folder_ = std::make_unique<runfiles::PrivateFolder>(NativePath(parent));
    } catch (const runfiles::FileError& error) {
        throw EInOutError(QStringLiteral("Cannot use the working folder \"%1\": %2")
                              .arg(parent, QString::fromUtf8(error.what())));
    }
}

TRunFolder::~TRunFolder() = default;

QString TRunFolder::Path() const {
    return QFile::decodeName(folder_->path().c_str());
}
QString TRunFolder::ReportFile() const {
    return InFolder(Path(), OutputReportPath(data_file_));
}
QString TRunFolder::PlotFile() const {
    return InFolder(Path(), PlotDataPath(data_file_));
}
QString TRunFolder::NotesFile() const {
    return InFolder(Path(), RunNotesPath(data_file_));
}

void TRunFolder::PublishResults() const {
    const runfiles::ResultFiles from{NativePath(ReportFile()), NativePath(PlotFile()),
                                     NativePath(NotesFile())};
    const runfiles::ResultFiles to{NativePath(OutputReportPath(data_file_)),
                                   NativePath(PlotDataPath(data_file_)),
                                   NativePath(RunNotesPath(data_file_))};
    try {
        runfiles::PublishResults(from, to);
    } catch (const runfiles::FileError& error) {
        throw EInOutError(QStringLiteral("The results could not be put beside the data file: %1")
                              .arg(QString::fromUtf8(error.what())));
    }
}

}  // namespace korvel
