#include "main/run_message.h"

#include <QFile>

namespace korvel {
namespace {

// How the engine's report lines that end a run on an error in the data begin.
constexpr const char* kErrorStarts[] = {"ERROR STOP", "ERROR --",
                                        "TOO MUCH DATA FOR AVAILABLE STORAGE"};

}  // namespace

QString DataErrorLine(const QString& output_report) {
    QFile file(output_report);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        for (const char* start : kErrorStarts) {
            if (line.startsWith(QLatin1String(start))) return line;
        }
    }
    return {};
}

QString RunEndMessage(const QString& error_line) {
    if (error_line.isEmpty()) {
        return QStringLiteral(
            "Computations are completed. Please, check output file for results or error "
            "messages.");
    }
    return QStringLiteral(
               "The analysis stopped on an error in the data; it has no results. The output "
               "file says:\r%1")
        .arg(error_line);
}

}  // namespace korvel
