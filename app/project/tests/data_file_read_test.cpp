#include <gtest/gtest.h>

#include "project/data_file_reader.h"
#include "project_fixture.h"

namespace korvel {
namespace {

using ReadTest = ProjectTest;

constexpr const char* kIncomplete = "This file either invalid or incomplete.";

// An English section with user pressure and generated p-y curves from one clay layer.
const QByteArray kEnglishFile =
    "Clay pit\n"
    "1 0\t2\t0\t1\t2 0 1 0 0\n"
    "40 6\t10\t1E-5\t120\t12\n"
    "0\t20\t2\t3E9\n"
    "20\t40\t1\t2E9\n"
    "0\n"
    "0\n"
    "2\n"
    "0\t0\n"
    "240\t43.75\n"
    "120\t12\t24\t600\t600\t0.036\t1\t0\n"
    "0.1\t0\t0\t0\t0\t0\n"
    "0\n"
    "1\n"
    "2 480 \n"
    "0.066666667 10 0.0  0.007 500 0.45 \n"
    "0.072916667 15 0.0  0.005 1000 0 \n"
    "0\n";

TEST_F(ReadTest, EnglishValuesAreConvertedBackToFeet) {
    const TReadResult result = ReadText(kEnglishFile);
    ASSERT_TRUE(result.Complete) << result.Message.toStdString();
    EXPECT_EQ(project.Title, "Clay pit");
    EXPECT_EQ(project.Increments, 40);
    EXPECT_EQ(project.FreeHeight, 120.0L);  // held in inches
    EXPECT_EQ(tables.DistLoad->Cell(0, 1).AsFloat(), 20.0L);
    EXPECT_EQ(tables.DistLoad->Cell(1, 1).AsFloat(), 525.0L);
    EXPECT_EQ(tables.NewSoil->Cell(0, 0).AsInteger(), 2);
    EXPECT_EQ(tables.NewSoil->Cell(1, 0).AsFloat(), 40.0L);
    TGridTable& clay = *tables.NewSoil->Cell(2, 0).AsTable();
    EXPECT_NEAR(static_cast<double>(clay.Cell(0, 0).AsFloat()), 115.2, 1e-5);
    EXPECT_EQ(clay.Cell(1, 0).AsFloat(), 1440.0L);
    EXPECT_EQ(clay.Cell(2, 0).AsFloat(), 0.007L);
    EXPECT_EQ(clay.Cell(3, 1).AsFloat(), 1000.0L);
    EXPECT_EQ(clay.Cell(4, 0).AsFloat(), 0.45L);
    EXPECT_EQ(project.ActivePressureFactor, 1.0L);  // 0.036 of older files
    EXPECT_EQ(project.UniformSurcharge, 0.1L);
    EXPECT_FALSE(project.Modified());
}

TEST_F(ReadTest, ReadingAndWritingGivesTheFileBackWithFactorOne) {
    ASSERT_TRUE(ReadText(kEnglishFile).Complete);
    QByteArray expected = kEnglishFile;
    expected.replace("0.036", "1");
    expected.replace("\n", "\r\n");
    EXPECT_EQ(project.DataFileText(), expected);
}

struct FlagCase {
    const char* control;
    bool user, generate_pressure, generate_py, external;
    int type;
};

TEST_F(ReadTest, OptionFlagsAreRebuiltFromTheCountsAndOptions) {
    const FlagCase cases[] = {
        // A file saved before any pressure was chosen still generates its p-y curves.
        {"1 0\t1\t0\t0\t2 0 1 0 0", false, false, true, false, 0},
        {"1 0\t1\t0\t2\t2 0 1 0 0", false, true, true, false, 2},
        {"1 0\t1\t0\t3\t0 0 1 0 0", false, true, false, false, 3},
        {"1 0\t1\t0\t3\t1 0 1 0 0", false, true, false, true, 3},
        {"1 0\t1\t0\t0\t0 0 1 0 0", false, false, false, false, 0},
    };
    for (const FlagCase& c : cases) {
        const QByteArray geometry =
            "0\t0\t0\t0\t0\t1\t1\t0\n0\t0\t0\t0\t0\t0\n0\n1\n1 0 \n0 0 0.0  0 0 0 \n0 0 0.0  0 0 0 "
            "\n";
        const bool has_geometry = QByteArray(c.control).split('\t')[3] >= "2" ||
                                  QByteArray(c.control).split('\t')[4].startsWith('2');
        const QByteArray text = "T\n" + QByteArray(c.control) +
                                "\n0 0\t100\t1E-5\t0\t0\n0\t1\t1\t0\n0\n0\n" +
                                (has_geometry ? geometry : QByteArray()) + "0\n";
        const TReadResult result = ReadText(text);
        ASSERT_TRUE(result.Complete) << c.control << ": " << result.Message.toStdString();
        EXPECT_EQ(UsesUserEarthPressure(project), c.user) << c.control;
        EXPECT_EQ(GeneratesEarthPressure(project), c.generate_pressure) << c.control;
        EXPECT_EQ(project.GeneratePYCurves, c.generate_py) << c.control;
        EXPECT_EQ(project.ApplyExternalPYCurves, c.external) << c.control;
        EXPECT_EQ(project.EarthPressureType, c.type) << c.control;
        EXPECT_FALSE(project.LongTermAnalysis);
    }
}

TEST_F(ReadTest, CountsSwitchTheirOptionsOnAndTablesAreFilledUpAfterwards) {
    const TReadResult result = ReadText(
        "T\n1 1\t1\t2\t0\t0 0 1 0 1\n10 "
        "6\t10\t1E-5\t0\t7\n1\t10\t0.5\t0\n0\t10\t1\t1E9\n1\n2\t0\t3\t100\t0\t0\n"
        "0\n8\t1\t29000000\t10\t15\t8\n5\t0.5\t1\n6\t0.7\t1\n0\n");
    ASSERT_TRUE(result.Complete) << result.Message.toStdString();
    EXPECT_TRUE(project.ApplyRestraints);
    EXPECT_TRUE(project.ApplyConcentratedLoads);
    EXPECT_FALSE(project.ApplySprings);
    EXPECT_TRUE(project.ApplyTiebacks);
    EXPECT_TRUE(project.ApplyPYModification);
    EXPECT_EQ(project.Wa, 7.0L);  // kept from WALL: this file has no GEOMETRY
    EXPECT_EQ(tables.BoundCond->Cell(0, 0).AsInteger(), 2);
    EXPECT_EQ(tables.BoundCond->Cell(2, 0).AsInteger(), 3);
    EXPECT_EQ(tables.PYMod->Cell(0, 1).AsFloat(), 0.5L);  // 6 in = 0.5 ft
    // Tables read with no rows get their minimum rows of defaults; the curve
    // tables wait for their window, so saving adds no default curve.
    EXPECT_EQ(tables.SoilStrength->RowCount(), 1);
    EXPECT_EQ(tables.DistLoad->RowCount(), 2);
    EXPECT_EQ(tables.PYCurves2->RowCount(), 0);
    EXPECT_EQ(tables.NewSoil->RowCount(), 1);
    EXPECT_FALSE(project.Modified());
}

TEST_F(ReadTest, AFileThatPromisesMoreRowsStopsAndKeepsTheRowsRead) {
    const TReadResult result = ReadText(
        "T\n1 0\t3\t0\t0\t0 0 1 0 0\n60 6\t10\t1E-5\t0\t0\n0\t20\t1\t1E9\n20\t40\t1\t2E9\n");
    EXPECT_FALSE(result.Complete);
    EXPECT_EQ(result.Message.toStdString(), kIncomplete);
    ASSERT_EQ(tables.PileSect->RowCount(), 2);
    EXPECT_EQ(tables.PileSect->Cell(3, 1).AsFloat(), 2e9L);
    EXPECT_EQ(project.Increments, 60);
    EXPECT_FALSE(project.Modified());
}

TEST_F(ReadTest, ARowCutShortKeepsWhatWasRead) {
    const TReadResult result =
        ReadText("T\n1 0\t2\t0\t0\t0 0 1 0 0\n60 6\t10\t1E-5\t0\t0\n0\t20\t1\t1E9\n20\t40\n");
    EXPECT_EQ(result.Message.toStdString(), kIncomplete);
    ASSERT_EQ(tables.PileSect->RowCount(), 2);
    EXPECT_EQ(tables.PileSect->Cell(1, 1).AsInteger(), 40);
}

TEST_F(ReadTest, AbsurdCountsAreRefusedBeforeAnyRowIsMade) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"T\n1 0\t2147483647\t0\t0\t0 0 1 0 0\n",
         "Error on Line 2 Item 3\rA count from 0 to 10 was expected but 2147483647 was found."},
        {"T\n1 0\t1\t0\t0\t0 0 1 0 0\n0 0\t100\t1E-5\t0\t0\n0\t1\t1\t0\n2147483647\n",
         "Error on Line 5 Item 1\rA count from 0 to 20 was expected but 2147483647 was found."},
        {"T\n1 0\t1\t0\t0\t1 1 1 0 0\n0 "
         "0\t100\t1E-5\t0\t0\n0\t1\t1\t0\n0\n0\n5\t2147483647\t1\t1\n",
         "Error on Line 7 Item 2\rA count from 0 to 17 was expected but 2147483647 was found."},
        {"T\n1 0\t1\t-1\t0\t0 0 1 0 0\n",
         "Error on Line 2 Item 4\rA count from 0 to 30 was expected but -1 was found."},
    };
    for (const auto& c : cases) {
        const TReadResult result = ReadText(c.text);
        EXPECT_FALSE(result.Complete);
        EXPECT_EQ(result.Message.toStdString(), c.message);
        EXPECT_LE(tables.PYCurves2->RowCount(), 2);
        EXPECT_LE(tables.BoundCond->RowCount(), 1);
    }
}

TEST_F(ReadTest, TheLongTermPressureTableIsBoundedByTheEngineStorage) {
    const TReadResult result = ReadText(
        "T\n1 0\t1\t0\t1\t0 0 1 0 0\n0 0\t100\t1E-5\t0\t0\n0\t1\t1\t0\n0\n0\n2\n0\t0\n1\t1\n9\n"
        "T\n1 0\t1\t0\t1\t0 0 1 0 0\n0 0\t100\t1E-5\t0\t0\n0\t1\t1\t0\n0\n0\n2147483647\n");
    EXPECT_EQ(
        result.Message.toStdString(),
        "Error on Line 17 Item 1\rA count from 0 to 1200 was expected but 2147483647 was found.");
    EXPECT_TRUE(project.LongTermAnalysis);
    EXPECT_EQ(tables.DistLoad->Cell(1, 1).AsFloat(), 12.0L);
}

TEST_F(ReadTest, WordsThatAreNotNumbersAreReportedByPosition) {
    const TReadResult result = ReadText("T\n1 0\t1\t0\t0\t0 0 1 0 0\n60 six\t10\t1E-5\t0\t0\n");
    EXPECT_EQ(result.Message.toStdString(),
              "Error on Line 3 Item 2\rA floating point number was expected but not found.");
    EXPECT_EQ(project.Increments, 0);  // WALL is taken only once whole
}

TEST_F(ReadTest, AChoiceOutsideItsItemsIsRefused) {
    const TReadResult result =
        ReadText("T\n1 0\t1\t0\t0\t0 0 1 0 0\n60 6\t10\t1E-5\t0\t0\n0\t60\t3\t1E9\n0\n0\n0\n");
    EXPECT_FALSE(result.Complete);
    EXPECT_EQ(result.Message.toStdString(), "Error on Line 4\rEntry must be between 1 and 2.");
}

TEST_F(ReadTest, AFileThatCannotBeOpenedIsReported) {
    const TReadResult result = project.CreateFromFile(Path("absent.kv5d"));
    EXPECT_FALSE(result.Complete);
    EXPECT_TRUE(result.Message.startsWith("Cannot open file")) << result.Message.toStdString();
    EXPECT_EQ(project.FileName, Path("absent.kv5d"));
    EXPECT_EQ(tables.PileSect->RowCount(), 1);
}

TEST_F(ReadTest, OlderTitlesInWindows1252AreRead) {
    ASSERT_TRUE(ReadText("Baugrube S\xfc"
                         "d\n1 0\t1\t0\t0\t0 0 1 0 0\n0 0\t100\t1E-5\t0\t0\n0\t1\t1\t0\n0\n0\n0\n")
                    .Complete);
    EXPECT_EQ(project.Title, QStringLiteral("Baugrube S\u00fcd"));
    EXPECT_TRUE(
        project.DataFileText().startsWith("Baugrube S\xc3\xbc"
                                          "d\r\n"));
}

TEST_F(ReadTest, SIFilesSwitchTheProjectWithoutConvertingTheFileValues) {
    ASSERT_TRUE(
        ReadText(
            "T\n2 0\t1\t2\t0\t0 0 1 0 0\n40 0.25\t0.5\t1E-5\t4\t1\n0\t40\t1\t45000\n0\n0\n3\t1\t1\n"
            "6\t0.5\t1\n0\n")
            .Complete);
    EXPECT_EQ(project.UnitSystem(), kSIUnits);
    EXPECT_EQ(tables.PileSect->UnitSystem(), kSIUnits);
    EXPECT_EQ(project.MaxDeflection, 0.5L);
    EXPECT_EQ(tables.PYMod->Cell(0, 0).AsFloat(), 3.0L);
}

// A stage file keeps p-y generation on without a pressure option and takes its
// stage number as end code.
TEST_F(ReadTest, StageSectionsFollowTheStageRules) {
    TWordReader words = TWordReader::FromText(
        " Stage No : 2\n1 0\t1\t0\t0\t2 0 3 0 0\n0 0\t100\t1E-5\t0\t0\n0\t1\t1\t0\n0\n0\n"
        "0\t0\t0\t0\t0\t1\t1\t0\n0\t0\t0\t0\t0\t0\n0\n1\n1 0 \n0 0 0.0  0 0 0 \n0 0 0.0  0 0 0 "
        "\n2\n");
    TDataFileReader reader(project, words);
    EXPECT_EQ(reader.ReadSection(TSectionKind::kStage), 2);
    EXPECT_TRUE(project.GeneratePYCurves);
    EXPECT_EQ(project.StageCount, 3);
    EXPECT_EQ(project.Title, " Stage No : 2");
    EXPECT_EQ(project.LongTermMarker, 2);
    EXPECT_FALSE(project.LongTermAnalysis);
}

TEST_F(ReadTest, AKvdFileTurnsItsSingleSurchargeIntoThreeRows) {
    // .kvd (later kind): CONTROL ends after StageCount, no Wa in WALL, no SURCHARGES,
    // no p-y multipliers.
    const QString path =
        WriteFile("old.kvd",
                  "Old\r\n1 0\t1\t0\t2\t2 0 1\r\n10 6\t10\t1E-5\t0\r\n0\t10\t1\t1E9\r\n0\r\n0\r\n"
                  "0\t12\t12\t0\t0\t1\t1\t0\r\n0.1\t24\t500\t0\t0\t0\r\n1\r\n4 120 \r\n"
                  "0.06 0.0  30 0.0  90 0 \r\n0.06 0.0  30 0.0  90 0 \r\n0\r\n");
    const TReadResult result = project.CreateFromFile(path, 3);
    ASSERT_TRUE(result.Complete) << result.Message.toStdString();
    EXPECT_TRUE(project.ApplySurcharges);
    ASSERT_EQ(tables.SurchargeTable->RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(tables.SurchargeTable->Cell(0, row).AsInteger(), row + 1);
        EXPECT_EQ(tables.SurchargeTable->Cell(2, row).AsFloat(), 24.0L);
    }
    EXPECT_EQ(tables.SurchargeTable->Cell(1, 0).AsFloat(), 500.0L);
    EXPECT_TRUE(project.EIRecordsPresent);
    EXPECT_FALSE(project.TiebackRecordsPresent);
}

}  // namespace
}  // namespace korvel
