// Opens a data file with its plot data file, shows one result graph in an MDI
// window and saves a picture of the window: korvel_graph_shot data.kv5d graph
// picture.png [seconds [wall]], graph by name (pltDMS, pltDef, ...). With seconds
// the window stays up that long, for a screen grab; "wall" shows the wall geometry.
#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "entry/table_definitions.h"
#include "graphs/graph_windows.h"
#include "project/program_data.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: korvel_graph_shot data.kv5d graph picture.png [seconds [wall]]\n");
        return 1;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    korvel::TProgramTables tables;
    korvel::TProgramData project(tables);
    const korvel::TReadResult read = project.CreateFromFile(data);
    if (!read.Complete) {
        std::fprintf(stderr, "%s\n", qPrintable(read.Message));
        return 1;
    }
    korvel::TGraphWindows graphs(project);
    const QFileInfo info(data);
    const QString plot =
        info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".kv5p");
    if (!graphs.ReadPlotFile(plot, true)) {
        std::fprintf(stderr, "%s\n", qPrintable(graphs.LastError()));
        return 1;
    }
    QMainWindow window;
    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    window.resize(1200, 900);
    window.setWindowTitle(QStringLiteral("KORVEL 2015"));
    window.show();
    const bool wall = argc > 5 && QString::fromLocal8Bit(argv[5]) == QLatin1String("wall");
    QWidget* shown = nullptr;
    for (int i = 0; i < korvel::kGraphCount; ++i) {
        const auto kind = static_cast<korvel::TGraphKind>(i);
        if (graphs.Graph(kind).objectName() != name) continue;
        graphs.Graph(kind).ShowWall = wall;
        shown = graphs.ShowPlot(kind, area);
    }
    if (!shown) {
        std::fprintf(stderr, "no graph %s to show\n", qPrintable(name));
        return 1;
    }
    const int seconds = argc > 4 ? std::atoi(argv[4]) : 0;
    QTimer::singleShot(300, [&] {
        const bool saved = window.grab().save(QString::fromLocal8Bit(argv[3]));
        if (!saved) std::fprintf(stderr, "cannot write %s\n", argv[3]);
        QTimer::singleShot(seconds * 1000, [saved] { QApplication::exit(saved ? 0 : 1); });
    });
    return QApplication::exec();
}
