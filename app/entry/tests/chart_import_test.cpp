// Filling chart tables from text: splitting lines into numbers and rows.
#include "entry/chart_import.h"

#include <gtest/gtest.h>

#include "entry/table_definitions.h"

namespace korvel {
namespace {

TEST(SplitNumbers, SkipsLeadingBlanksAndEndsWordsAtSeparators) {
    EXPECT_EQ(SplitNumbers(" \t1.5\t-2 ,3e2,4"), (QStringList{"1.5", "-2", "3e2", "4"}));
    EXPECT_EQ(SplitNumbers("0.5,120\r"), (QStringList{"0.5", "120"}));
}

TEST(SplitNumbers, StopsAtTheFirstWordThatIsNoNumber) {
    EXPECT_EQ(SplitNumbers("Deflection Resistance"), QStringList{});
    EXPECT_EQ(SplitNumbers("1 2 three 4"), (QStringList{"1", "2"}));
    EXPECT_EQ(SplitNumbers(""), QStringList{});
}

TEST(SplitNumbers, TakesAtMostFifteenNumbers) {
    QString line;
    for (int i = 0; i < 20; ++i) line += QString::number(i) + u' ';
    EXPECT_EQ(SplitNumbers(line).size(), kMaxNumbersPerLine);
}

TEST(SplitTextLines, AcceptsEveryLineEndAndALastLineWithoutOne) {
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("0.5,120\r\n"), QStringList{"0.5,120"});
    EXPECT_EQ(SplitTextLines("1 2"), QStringList{"1 2"});  // a single-line file
    EXPECT_EQ(SplitTextLines(""), QStringList{});
}

class ChartImportTest : public ::testing::Test {
  protected:
    TProgramTables tables;
    TGridTable& curve = *tables.PYCurve2;  // two columns, 2 to 17 rows
};

TEST_F(ChartImportTest, HeadingAndFiveLinesFillFiveRowsAndRemoveTheRest) {
    curve.SetRowCount(8);
    const QStringList lines = SplitTextLines(
        "Deflection Resistance\r\n-1 100\r\n-0.5 60\r\n0 0\r\n0.5 -60\r\n1 -100\r\n");
    EXPECT_EQ(ImportRows(curve, lines), 5);
    ASSERT_EQ(curve.RowCount(), 5);
    EXPECT_EQ(curve.Cell(0, 0).AsString(), "-1");
    EXPECT_EQ(curve.Cell(1, 0).AsString(), "100");
    EXPECT_EQ(curve.Cell(0, 4).AsString(), "1");
    EXPECT_EQ(curve.Cell(1, 4).AsString(), "-100");
    EXPECT_TRUE(curve.Modified());
}

TEST_F(ChartImportTest, ClipboardLineWithCommaFillsOneRowAndThreeNumbersAreSkipped) {
    EXPECT_EQ(ImportRows(curve, SplitTextLines("1 2 3\r\n0.5,120\r\n")), 1);
    EXPECT_EQ(curve.Cell(0, 0).AsString(), "0.5");
    EXPECT_EQ(curve.Cell(1, 0).AsString(), "120");
    // One row filled, the second kept for MinRows with new-row values.
    ASSERT_EQ(curve.RowCount(), 2);
    EXPECT_EQ(curve.Cell(0, 1).AsString(), "0");
    EXPECT_EQ(curve.Cell(1, 1).AsString(), "0");
}

TEST_F(ChartImportTest, ASingleLineFileAndALastLineWithoutLineEndAreTaken) {
    TGridTable& ei = *tables.Rows2;  // 1 to 100 rows
    EXPECT_EQ(ImportRows(ei, SplitTextLines("1000 2.5e7")), 1);
    EXPECT_EQ(ei.RowCount(), 1);
    EXPECT_EQ(ei.Cell(1, 0).AsString(), "25000000");
    EXPECT_EQ(ImportRows(ei, SplitTextLines("1 2\r\n3 4")), 2);
    EXPECT_EQ(ei.Cell(0, 1).AsString(), "3");
}

TEST_F(ChartImportTest, NothingMatchingLeavesTheTableAlone) {
    curve.Cell(0, 0).SetAsString("7");
    curve.SetModified(false);
    EXPECT_EQ(ImportRows(curve, SplitTextLines("y p\r\n1 2 3\r\n")), 0);
    EXPECT_EQ(curve.RowCount(), 2);
    EXPECT_EQ(curve.Cell(0, 0).AsString(), "7");
    EXPECT_FALSE(curve.Modified());
}

TEST_F(ChartImportTest, ReadingStopsAtMaxRows) {
    QStringList lines;
    for (int i = 0; i < 25; ++i) lines.append(QStringLiteral("%1 %2").arg(i).arg(-i));
    EXPECT_EQ(ImportRows(curve, lines), 17);
    EXPECT_EQ(curve.RowCount(), 17);
    EXPECT_EQ(curve.Cell(0, 16).AsString(), "16");
}

}  // namespace
}  // namespace korvel
