// p-y option 3 (curves generated at every station) in the project model: a
// file that says 3 reads as generated curves at every station and writes 3
// back, byte for byte; switching the option off writes 2 again.
#include <gtest/gtest.h>

#include <QDir>

#include "project_fixture.h"

namespace korvel {
namespace {

class EveryStationOptionTest : public ProjectTest {};

TEST_F(EveryStationOptionTest, ReadsAndWritesOptionThree) {
    const QDir examples(QStringLiteral(KORVEL_EXAMPLES_DIR));
    QByteArray text = ReadBytes(examples.filePath("weak_rock_socket_english.kv5d"));
    const QByteArray described = "1 0\t1\t0\t2\t2 0 1 0 0\r\n";
    const QByteArray everyStation = "1 0\t1\t0\t2\t3 0 1 0 0\r\n";
    ASSERT_TRUE(text.contains(described));
    text.replace(described, everyStation);

    project.FileName = WriteFile("three.kv5d", text);
    ASSERT_TRUE(project.CreateFromFile(project.FileName).Complete);
    EXPECT_TRUE(project.GeneratePYCurves);
    EXPECT_TRUE(project.PYCurvesAtEveryStation);
    project.WriteDataFile();
    EXPECT_EQ(ReadBytes(project.FileName), text);

    project.PYCurvesAtEveryStation = false;
    project.WriteDataFile();
    QByteArray back = text;
    back.replace(everyStation, described);
    EXPECT_EQ(ReadBytes(project.FileName), back);

    // A file with the described curves leaves the option off.
    ASSERT_TRUE(project.CreateFromFile(project.FileName).Complete);
    EXPECT_TRUE(project.GeneratePYCurves);
    EXPECT_FALSE(project.PYCurvesAtEveryStation);
}

}  // namespace
}  // namespace korvel
