// A project with its tables and a scratch folder, for the project model tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "entry/table_definitions.h"
#include "entry/units.h"
#include "project/program_data.h"

namespace korvel {

class ProjectTest : public ::testing::Test {
  protected:
    ProjectTest() { project.CreateNew(); }

    QString Path(const QString& name) const { return dir.filePath(name); }

    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(name);
    }

    static QByteArray ReadBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    // Reads text (LF lines are turned into CR LF) as a data file.
    TReadResult ReadText(QByteArray text) {
        text.replace("\r\n", "\n");
        text.replace("\n", "\r\n");
        return project.CreateFromFile(WriteFile("in.kv5d", text));
    }

    // The file's lines without their CR LF.
    static QList<QByteArray> LinesOf(QByteArray text) {
        EXPECT_TRUE(text.endsWith("\r\n"));
        text.chop(1);
        QList<QByteArray> lines;
        for (QByteArray line : text.split('\n')) {
            EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
            line.chop(1);
            lines.append(line);
        }
        return lines;
    }

    QTemporaryDir dir;
    TProgramTables tables;
    TProgramData project{tables};
};

}  // namespace korvel
