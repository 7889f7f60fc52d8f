// Screenshots of the geometry views of a data file (run under xvfb-run):
//   korvel_views_shot FILE.kv5d OUTDIR [DEFLECTIONS] [--surcharge]
// writes OUTDIR/side_view.png, 3d_view.png, 3d_view_rotated.png and, with a
// file of node deflections (one number per line, node 0 first), deformed.png.
// --surcharge adds a strip load 3 m wide 2 m behind the wall (SI files).
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTextStream>
#include <cstdio>

#include "entry/grid_table.h"
#include "entry/table_definitions.h"
#include "project/program_data.h"
#include "views/dlg_block.h"
#include "views/dlg_side_view.h"
#include "views/geometry_views.h"
#include "views/gl_window.h"

using namespace korvel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: korvel_views_shot FILE.kv5d OUTDIR [DEFLECTIONS]\n");
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    TProgramTables tables;
    TProgramData project(tables);
    project.CreateNew();
    const TReadResult read = project.CreateFromFile(QString::fromLocal8Bit(argv[1]));
    if (!read.Complete) std::fprintf(stderr, "%s\n", qPrintable(read.Message));
    const bool surcharge = QCoreApplication::arguments().contains(QStringLiteral("--surcharge"));
    if (surcharge) {
        project.ApplySurcharges = true;
        TGridTable& t = *tables.SurchargeTable;
        t.SetRowCount(1);
        t.Cell(0, 0).SetAsInteger(3);
        t.Cell(1, 0).SetAsFloat(20);
        t.Cell(2, 0).SetAsFloat(2000);
        t.Cell(3, 0).SetAsFloat(3000);
    }
    std::vector<double> deflection;
    if (argc > 3 && !QString::fromLocal8Bit(argv[3]).startsWith(QStringLiteral("--"))) {
        QFile file(QString::fromLocal8Bit(argv[3]));
        if (file.open(QIODevice::ReadOnly)) {
            QTextStream in(&file);
            while (!in.atEnd()) {
                bool ok = false;
                const double v = in.readLine().trimmed().toDouble(&ok);
                if (ok) deflection.push_back(v);
            }
        }
    }

    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    main.resize(1000, 760);
    main.show();
    TGeometryViews views(area, project);
    views.DeflectionSource = [&] { return deflection; };

    TDlgSideView* side = views.OpenSideView();
    side->parentWidget()->resize(700, 600);
    if (!QTest::qWaitForWindowExposed(side)) std::fprintf(stderr, "side view not exposed\n");
    QTest::qWait(100);
    side->grab().save(out + "/side_view.png");
    side->parentWidget()->close();

    TDlgBlock* view = views.Open3DView();
    view->parentWidget()->resize(900, 700);
    if (!QTest::qWaitForWindowExposed(view->gl())) std::fprintf(stderr, "3D view not exposed\n");
    QTest::qWait(100);
    view->gl()->grabFramebuffer().save(out + "/3d_view.png");
    view->View().Angles = {25.0, 0.0, -35.0};
    view->RedrawFigure();
    view->gl()->grabFramebuffer().save(out + "/3d_view_rotated.png");
    if (!deflection.empty()) {
        view->ShowFlags().SoilLayers = false;
        view->ShowFlags().WaterLevel = false;
        view->Deformed().DeformedShape = true;
        view->Deformed().UndeformedModel = true;
        view->Deformed().Factor = 50.0;
        view->View().Angles = {15.0, 0.0, -20.0};
        view->View().Zoom = 1.6;
        view->RedrawComplete();
        view->gl()->grabFramebuffer().save(out + "/deformed.png");
    }
    return 0;
}
