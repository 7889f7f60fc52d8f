// The 3D view with a real GL context (run under xvfb-run with xcb).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cmath>

#include "entry/table_definitions.h"
#include "project/program_data.h"
#include "views/dlg_block.h"
#include "views/dlg_deformed_shape.h"
#include "views/geometry_views.h"
#include "views/gl_window.h"

namespace korvel {
namespace {

// Pixels that differ clearly from the white background.
int Drawn(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 230;
    }
    return n;
}

class GlViewTest : public ::testing::Test {
  protected:
    GlViewTest() {
        project.CreateNew();
        const TReadResult read =
            project.CreateFromFile(KORVEL_EXAMPLES_DIR "/anchored_trapezoidal_si.kv5d");
        EXPECT_TRUE(read.Complete) << read.Message.toStdString();
        area = new QMdiArea;
        main.setCentralWidget(area);
        menu = main.menuBar()->addMenu("Show 3DView");
        for (int i = 0; i < TGeometryViews::kShowItems; ++i)
            items[static_cast<size_t>(i)] = menu->addAction(QString::number(i));
        for (int i = 0; i < TGeometryViews::kTools; ++i)
            tools[static_cast<size_t>(i)] = new QAction(QString::number(i), &main);
        main.resize(900, 700);
        main.show();
        views = new TGeometryViews(area, project, &main);
        views->Attach3DControls(menu, items, tools);
    }

    TDlgBlock* Open() {
        TDlgBlock* view = views->Open3DView();
        view->parentWidget()->resize(640, 520);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view->gl()));
        QTest::qWait(50);
        return view;
    }

    TProgramTables tables;
    TProgramData project{tables};
    QMainWindow main;
    QMdiArea* area;
    QMenu* menu;
    std::array<QAction*, TGeometryViews::kShowItems> items{};
    std::array<QAction*, TGeometryViews::kTools> tools{};
    TGeometryViews* views;
};

TEST_F(GlViewTest, OpensDrawsAndHidesItsControlsOnClose) {
    EXPECT_FALSE(menu->menuAction()->isVisible());
    TDlgBlock* view = Open();
    EXPECT_EQ(view->windowTitle(), "3-D View");
    EXPECT_TRUE(menu->menuAction()->isVisible());
    EXPECT_TRUE(tools[0]->isVisible());
    EXPECT_EQ(views->Open3DView(), view);  // one instance
    const QImage frame = view->gl()->grabFramebuffer();
    EXPECT_GT(Drawn(frame), frame.width() * frame.height() / 20);
    EXPECT_EQ(view->gl()->LastError(), 0u);
    EXPECT_GE(view->RebuildCount(), 1);
    view->parentWidget()->close();
    QTest::qWait(20);
    EXPECT_EQ(views->View3D(), nullptr);
    EXPECT_FALSE(menu->menuAction()->isVisible());
    EXPECT_FALSE(tools[0]->isVisible());
}

TEST_F(GlViewTest, ShowItemsToggleFlagsAndRebuild) {
    TDlgBlock* view = Open();
    const QImage before = view->gl()->grabFramebuffer();
    const int rebuilds = view->RebuildCount();
    items[1]->trigger();  // "Soil Layers"
    items[2]->trigger();  // "Water Level"
    EXPECT_FALSE(view->ShowFlags().SoilLayers);
    EXPECT_FALSE(view->ShowFlags().WaterLevel);
    const QImage after = view->gl()->grabFramebuffer();
    EXPECT_GT(view->RebuildCount(), rebuilds);
    EXPECT_LT(Drawn(after), Drawn(before));
    emit menu->aboutToShow();
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[8]->isEnabled());  // no deflection graph yet
}

TEST_F(GlViewTest, MouseTurnsAndZoomsTheScene) {
    TDlgBlock* view = Open();
    tools[3]->trigger();  // "Rotating"
    EXPECT_EQ(view->View().Mode, TMouseMode::kRotating);
    const QImage before = view->gl()->grabFramebuffer();
    QWidget* gl = view->gl();
    QTest::mousePress(gl, Qt::LeftButton, {}, QPoint(300, 200));
    QMouseEvent move(QEvent::MouseMove, QPointF(400, 260), gl->mapToGlobal(QPointF(400, 260)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(gl, &move);
    QTest::mouseRelease(gl, Qt::LeftButton, {}, QPoint(400, 260));
    const TVec3 a = view->View().Angles;
    EXPECT_GT(std::abs(a.x) + std::abs(a.y) + std::abs(a.z), 10.0);
    EXPECT_NE(view->gl()->grabFramebuffer(), before);

    tools[4]->trigger();  // "Zoom In"
    tools[5]->trigger();  // "Zoom Out"
    EXPECT_NEAR(view->View().Zoom, 1.0, 1e-12);
    tools[6]->trigger();  // "Restart View"
    EXPECT_EQ(view->View().Angles.x, 0.0);

    tools[1]->trigger();  // "Zoom Window": a click without a drag changes nothing
    EXPECT_TRUE(view->View().ZoomWindow);
    QTest::mouseClick(gl, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(view->View().Zoom, 1.0);
}

TEST_F(GlViewTest, DeformedShapeDialogRebuildsTheScene) {
    views->DeformedShapeAvailable = [] { return true; };
    views->DeflectionSource = [] {
        std::vector<double> d;
        for (int n = 0; n <= 50; ++n) d.push_back(0.05 * (50 - n) / 50.0);
        return d;
    };
    TDlgBlock* view = Open();
    tools[7]->trigger();  // "Deformed Shape"
    TDlgDeformedShape* dialog = view->DeformedShapeDialog();
    ASSERT_NE(dialog, nullptr);
    const int rebuilds = view->RebuildCount();
    dialog->CheckBoxDeformedShape->click();
    dialog->EditDefFactor->setText("20");
    EXPECT_TRUE(view->Deformed().DeformedShape);
    EXPECT_EQ(view->Deformed().Factor, 20.0);
    view->gl()->grabFramebuffer();
    EXPECT_GT(view->RebuildCount(), rebuilds);
    dialog->close();
    QTest::qWait(20);
    EXPECT_EQ(view->DeformedShapeDialog(), nullptr);
    EXPECT_EQ(view->Deformed().Factor, 20.0);  // kept by the view
}

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
