#include "main/control_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include "entry/entry_errors.h"
#include "main/file_names.h"

namespace korvel {

TRunIdentification CurrentRunIdentification() {
    TRunIdentification id;
    id.Text1 =
        QStringLiteral("KORVEL 2015 Version %1").arg(QLatin1String(kProgramVersion)).left(32);
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("LOGNAME");
    id.Text2 = user.trimmed().left(16);
    id.Text3 = QSysInfo::machineHostName().trimmed().left(16);
    id.Number = 0;
    return id;
}

QByteArray ControlFileText(const TRunIdentification& id, const QString& data_file,
                           const QString& result_folder) {
    const auto result = [&result_folder](const QString& beside) {
        if (result_folder.isEmpty()) return beside;
        return QDir(result_folder).filePath(QFileInfo(beside).fileName());
    };
    const QStringList lines = {
        QLatin1String(kProgramVersion),
        id.Text1.left(32),
        id.Text2.trimmed().left(16).trimmed() + QStringLiteral(", ") +
            id.Text3.trimmed().left(16).trimmed(),
        QString::number(id.Number),
        data_file,
        result(OutputReportPath(data_file)),
        result(PlotDataPath(data_file)),
        result(RunNotesPath(data_file)),
    };
    QByteArray text;
    for (const QString& line : lines) text += line.toUtf8() + "\r\n";
    return text;
}

void WriteControlFile(const QString& folder, const TRunIdentification& id, const QString& data_file,
                      const QString& result_folder) {
    QFile file(QDir(folder).filePath(QLatin1String(kControlFileName)));
    const QByteArray text = ControlFileText(id, data_file, result_folder);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
        throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2")
                              .arg(file.fileName(), file.errorString()));
    }
}

}  // namespace korvel
