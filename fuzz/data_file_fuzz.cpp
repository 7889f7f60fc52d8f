// The data-file reader on arbitrary bytes, through TProgramData::CreateFromFile
// (the word reader, UTF-8 or Windows-1252 decoding, every record and table) in
// each of the four file formats. The program offers to save a partly read
// project, so whatever was read is saved and must read back complete: a save
// that cannot be opened again would lose the user's data.
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "entry/table_definitions.h"
#include "project/program_data.h"

namespace {

QString ScratchFile(const char* name) {
    return QDir::temp().filePath(
        QStringLiteral("korvel_fuzz_%1_%2.kv5d").arg(QLatin1String(name)).arg(getpid()));
}

bool WriteScratch(const QString& path, const char* data, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data, size) == size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static korvel::TProgramTables tables;
    static korvel::TProgramData project(tables);
    static const QString path = ScratchFile("data");
    static const QString saved_path = ScratchFile("saved");
    if (!WriteScratch(path, reinterpret_cast<const char*>(data), static_cast<qint64>(size)))
        return 0;
    for (int format = 1; format <= 4; ++format) {
        project.CreateFromFile(path, format);
        const QByteArray saved = project.DataFileText();
        if (!WriteScratch(saved_path, saved.constData(), saved.size())) return 0;
        const korvel::TReadResult again = project.CreateFromFile(saved_path, 1);
        if (!again.Complete) {
            std::fprintf(stderr, "format %d: the saved project does not read back: %s\n%s\n",
                         format, qPrintable(again.Message), saved.constData());
            std::abort();
        }
    }
    return 0;
}
