// korvel-datacheck: reads data files into the project model and writes them back,
// to check that a file survives the round trip unchanged or to let the program's
// writer produce a file (for example to run it through the engine).
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QString>
#include <algorithm>
#include <iostream>

#include "entry/entry_errors.h"
#include "entry/table_definitions.h"
#include "entry/word_reader.h"
#include "project/atomic_file.h"
#include "project/data_file_reader.h"
#include "project/data_file_writer.h"
#include "project/program_data.h"

namespace {

using namespace korvel;

constexpr const char* kUsage =
    "Usage: korvel-datacheck [--format N] FILE...\n"
    "       korvel-datacheck [--format N] --write OUT FILE\n"
    "       korvel-datacheck --new OUT\n"
    "\n"
    "Reads each data file into the project model and writes it back in memory;\n"
    "prints whether the result is identical to the file, byte for byte, and where\n"
    "it first differs. A staged file is written back stage by stage, as the\n"
    "program assembles it from its stage files.\n"
    "\n"
    "  --format N     1 .kv5d (default), 2 .kv4d, 3 .kvd, 4 earliest .kvd\n"
    "  --write OUT    save the project read from FILE to OUT instead of comparing\n"
    "                 (a staged FILE with all its stages)\n"
    "  --new OUT      save a new project to OUT\n"
    "\n"
    "Exit status: 0 all identical (or written), 1 a file differs or cannot be\n"
    "read, 2 wrong usage.\n";

// A message on one line ("\r" separates its lines).
std::string OneLine(QString message) {
    return message.replace(u'\r', u' ').toStdString();
}

// A line of text with its separators made visible.
std::string Visible(const QByteArray& line) {
    std::string out;
    for (char ch : line) {
        if (ch == '\t')
            out += "<TAB>";
        else if (ch == '\r')
            out += "<CR>";
        else
            out += ch;
    }
    return out;
}

QList<QByteArray> Lines(const QByteArray& text) {
    return text.split('\n');
}

// The data file as the model writes it back: a staged file section by section
// with the stage rules, any other file through the data file writer.
QByteArray WrittenBack(TProgramData& project, const QString& path, int format) {
    if (project.StageCount <= 1 || project.LongTermAnalysis) return project.DataFileText();
    TWordReader words(path);
    TDataFileReader reader(project, words, LayoutOfFormat(format));
    QByteArray text;
    const int stages = project.StageCount;
    for (int stage = 1; stage <= stages; ++stage) {
        reader.ReadSection(TSectionKind::kStage);
        project.FillUpTables();
        project.CurrentStage = stage;
        TDataFileWriter writer(project);
        writer.WriteSection(TSectionKind::kStage);
        text += writer.Text();
    }
    return text;
}

bool Compare(TProgramData& project, const QString& path, int format) {
    const std::string name = path.toStdString();
    const TReadResult read = project.CreateFromFile(path, format);
    if (!read.Complete) {
        std::cout << name << ": read error: " << OneLine(read.Message) << '\n';
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::cout << name << ": cannot read: " << file.errorString().toStdString() << '\n';
        return false;
    }
    const QByteArray original = file.readAll();
    QByteArray written;
    try {
        written = WrittenBack(project, path, format);
    } catch (const EKorvelError& error) {
        std::cout << name << ": stage read error: " << OneLine(error.Message()) << '\n';
        return false;
    }
    if (written == original) {
        std::cout << name << ": identical\n";
        return true;
    }
    // Up to five differing lines, compared line by line.
    const QList<QByteArray> a = Lines(original);
    const QList<QByteArray> b = Lines(written);
    std::cout << name << ": differs\n";
    int shown = 0;
    for (qsizetype line = 0; line < std::max(a.size(), b.size()) && shown < 5; ++line) {
        const bool in_a = line < a.size();
        const bool in_b = line < b.size();
        if (in_a && in_b && a[line] == b[line]) continue;
        ++shown;
        std::cout << "  line " << line + 1
                  << "\n    file:    " << (in_a ? Visible(a[line]) : "(end of file)")
                  << "\n    written: " << (in_b ? Visible(b[line]) : "(end of file)") << '\n';
    }
    return false;
}

bool Save(TProgramData& project, const QString& out) {
    project.FileName = out;
    try {
        project.WriteDataFile();
    } catch (const EKorvelError& error) {
        std::cout << out.toStdString() << ": " << error.Message().toStdString() << '\n';
        return false;
    }
    std::cout << out.toStdString() << ": written\n";
    return true;
}

// A staged file is written whole, every stage as the program assembles it from its
// stage files; one that does not hold all its stages is refused, nothing written.
bool SaveStages(TProgramData& project, const QString& path, int format, const QString& out) {
    const int stages = project.StageCount;
    QByteArray text;
    try {
        text = WrittenBack(project, path, format);
    } catch (const EKorvelError& error) {
        std::cout << path.toStdString() << ": not written: the file does not hold its " << stages
                  << " stages as they read (" << OneLine(error.Message()) << ")\n";
        return false;
    }
    try {
        WriteFileAtomically(out, text);
    } catch (const EKorvelError& error) {
        std::cout << out.toStdString() << ": " << OneLine(error.Message()) << '\n';
        return false;
    }
    std::cout << out.toStdString() << ": written (" << stages << " stages)\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    int format = 1;
    QString write_to;
    QString new_to;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool has_value = i + 1 < args.size();
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--format" && has_value) {
            bool ok = false;
            format = args[++i].toInt(&ok);
            if (!ok || format < 1 || format > 4) {
                std::cerr << "korvel-datacheck: --format takes 1, 2, 3 or 4\n";
                return 2;
            }
        } else if (arg == "--write" && has_value) {
            write_to = args[++i];
        } else if (arg == "--new" && has_value) {
            new_to = args[++i];
        } else if (arg.startsWith(u'-')) {
            std::cerr << "korvel-datacheck: unknown or incomplete option " << arg.toStdString()
                      << '\n'
                      << kUsage;
            return 2;
        } else {
            files.append(arg);
        }
    }

    TProgramTables tables;
    TProgramData project(tables);
    if (!new_to.isEmpty()) {
        if (!files.isEmpty() || !write_to.isEmpty()) {
            std::cerr << kUsage;
            return 2;
        }
        project.CreateNew();
        return Save(project, new_to) ? 0 : 1;
    }
    if (!write_to.isEmpty()) {
        if (files.size() != 1) {
            std::cerr << kUsage;
            return 2;
        }
        const TReadResult read = project.CreateFromFile(files.front(), format);
        if (!read.Complete) {
            std::cout << files.front().toStdString() << ": read error: " << OneLine(read.Message)
                      << '\n';
            return 1;
        }
        if (project.StageCount > 1 && !project.LongTermAnalysis)
            return SaveStages(project, files.front(), format, write_to) ? 0 : 1;
        return Save(project, write_to) ? 0 : 1;
    }
    if (files.isEmpty()) {
        std::cerr << kUsage;
        return 2;
    }
    bool all_identical = true;
    for (const QString& file : files)
        all_identical = Compare(project, file, format) && all_identical;
    return all_identical ? 0 : 1;
}
