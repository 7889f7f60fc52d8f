// Side view and deformed-shape dialog, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "project/program_data.h"
#include "views/dlg_deformed_shape.h"
#include "views/dlg_side_view.h"
#include "views/view_state.h"

namespace korvel {
namespace {

class WidgetTest : public ::testing::Test {
  protected:
    WidgetTest() {
        project.CreateNew();
        project.Increments = 100;
        project.IncrementLength = 2.4;
        project.FreeHeight = 120;
    }
    TProgramTables tables;
    TProgramData project{tables};
};

TEST_F(WidgetTest, SideViewFitsTheWallAndShowsTheDepth) {
    TDlgSideView view(project);
    view.resize(600, 400);
    view.show();
    view.FormActivate();
    EXPECT_EQ(view.windowTitle(), "Side View");
    EXPECT_DOUBLE_EQ(view.WorldBox().YMax, 264 * 1.05);
    const TSideMapping map = WindowMapping(view.ViewBox(), view.width(), view.height());
    const int y = static_cast<int>(map.Y(24 + 120));  // the excavation level
    QTest::mouseMove(&view, QPoint(300, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(300, y), QPointF(300, y), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    EXPECT_TRUE(view.windowTitle().startsWith("Side View  Depth: 120."))
        << view.windowTitle().toStdString();
    const QImage image = view.grab().toImage();
    // The wall is drawn dark in the middle.
    EXPECT_LT(qGray(image.pixel(300, y)), 100);
}

TEST_F(WidgetTest, SideViewWithoutWallKeepsTheInitialBox) {
    tables.PileSect->SetRowCount(0);
    TDlgSideView view(project);
    view.resize(400, 400);
    view.show();
    view.FormActivate();
    EXPECT_EQ(view.WorldBox().XMin, -10);
    EXPECT_EQ(view.WorldBox().YMax, 10);
}

TEST_F(WidgetTest, SideViewPrintsALandscapePage) {
    QTemporaryDir dir;
    TDlgSideView view(project);
    view.resize(600, 400);
    view.FormActivate();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("profile.pdf"));
    view.PrintTo(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.docName(), "Soil-Pile Profile");
    EXPECT_GT(QFileInfo(dir.filePath("profile.pdf")).size(), 500);
}

TEST(DeformedShapeDialog, CheckBoxesFactorAndLadder) {
    TDeformedSettings settings;
    int redraws = 0;
    TDlgDeformedShape dialog(settings, [&] { ++redraws; });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Deformed Shape");
    EXPECT_EQ(dialog.EditDefFactor->text(), "1");
    EXPECT_FALSE(dialog.EditDefFactor->isEnabled());
    EXPECT_FALSE(dialog.CheckBoxUndeformedModel->isEnabled());

    QTest::mouseClick(dialog.CheckBoxDeformedShape, Qt::LeftButton);
    EXPECT_TRUE(settings.DeformedShape);
    EXPECT_TRUE(dialog.EditDefFactor->isEnabled());
    EXPECT_TRUE(dialog.UpDownDefFactorUp->isEnabled());
    EXPECT_EQ(redraws, 1);
    QTest::mouseClick(dialog.CheckBoxUndeformedModel, Qt::LeftButton);
    EXPECT_TRUE(settings.UndeformedModel);

    QStringList seen;
    for (int i = 0; i < 11; ++i) {
        dialog.UpDownDefFactorUp->click();
        seen << dialog.EditDefFactor->text();
        EXPECT_EQ(dialog.UpDownPosition(), 0);
    }
    EXPECT_EQ(seen.join(' '), "2 3 4 5 6 7 8 9 10 20 30");
    EXPECT_DOUBLE_EQ(settings.Factor, 30);
    dialog.EditDefFactor->setText("1");
    dialog.UpDownDefFactorDown->click();
    EXPECT_EQ(dialog.EditDefFactor->text(), "0.9");
    dialog.UpDownDefFactorDown->click();
    EXPECT_EQ(dialog.EditDefFactor->text(), "0.8");
    EXPECT_DOUBLE_EQ(settings.Factor, 0.8);

    dialog.EditDefFactor->setText("0");
    EXPECT_EQ(settings.Factor, 0.0);
    dialog.UpDownDefFactorUp->click();
    EXPECT_EQ(dialog.EditDefFactor->text(), "1");

    QString error;
    dialog.OnEntryError = [&](const QString& message) { error = message; };
    dialog.EditDefFactor->setText("");
    EXPECT_TRUE(error.isEmpty());
    dialog.EditDefFactor->setText("abc");
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(settings.Factor, 1.0);  // kept

    // Unticking disables the rest; the undeformed flag stays as it was.
    QTest::mouseClick(dialog.CheckBoxDeformedShape, Qt::LeftButton);
    EXPECT_FALSE(settings.DeformedShape);
    EXPECT_FALSE(dialog.CheckBoxUndeformedModel->isEnabled());
    EXPECT_TRUE(settings.UndeformedModel);
}

TEST(DeformedShapeDialog, ActivationCopiesTheViewsSettings) {
    TDeformedSettings settings;
    settings.Factor = 2.5;
    settings.DeformedShape = true;
    TDlgDeformedShape dialog(settings, [] {});
    EXPECT_EQ(dialog.EditDefFactor->text(), "2.5");
    EXPECT_TRUE(dialog.CheckBoxDeformedShape->isChecked());
    EXPECT_TRUE(dialog.EditDefFactor->isEnabled());
    dialog.UpDownDefFactorUp->click();
    EXPECT_EQ(dialog.EditDefFactor->text(), "3");
}

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
