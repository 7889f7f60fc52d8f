// Opens the title, wall properties and wall configuration dialogs of a sample
// project in the main window and saves a picture of each into a folder
// (korvel_dialogs_shot folder [seconds]); with seconds it then stays on screen
// that long, for screenshots of the whole window.
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "dialogs/data_dialogs.h"
#include "main/main_form.h"
#include "project/program_data.h"

using namespace korvel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const int seconds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    TMainForm form;
    TProgramData& p = form.Project();
    p.Title = QStringLiteral("Anchored sheet-pile wall, 20 ft cut");
    p.Increments = 80;
    p.IncrementLength = 6;
    p.FreeHeight = 240;
    p.MaxDeflection = 10;
    p.Wa = 12;
    p.Wp = 12;
    p.WaterDepthBackfill = 120;
    p.WaterDepthExcavation = 300;
    p.BackfillSlope = 10;
    p.UniformSurcharge = 1.5L;
    p.EarthPressureType = 2;  // generated from the soil layers
    form.resize(1270, 1000);
    form.show();
    auto* dialogs = form.findChild<TDataDialogs*>(QStringLiteral("DataDialogs"));
    const std::pair<TDataDialog* (TDataDialogs::*)(), const char*> shots[] = {
        {&TDataDialogs::ShowTitle, "title"},
        {&TDataDialogs::ShowWallProperties, "wall_properties"},
        {&TDataDialogs::ShowWallConfiguration, "wall_configuration"},
    };
    QPoint at(0, 0);
    for (const auto& [show, name] : shots) {
        (dialogs->*show)();
        QMdiSubWindow* window = form.MdiArea()->activeSubWindow();
        window->move(at);
        at += QPoint(window->width() + 4 > 640 ? 0 : window->width() + 4, 0);
        if (QLatin1String(name) == QLatin1String("title")) at = QPoint(0, window->height() + 4);
        if (QLatin1String(name) == QLatin1String("wall_properties")) at = QPoint(600, 0);
    }
    QApplication::processEvents();
    for (QMdiSubWindow* window : form.MdiArea()->subWindowList()) {
        const QString name = window->widget()->objectName();
        window->grab().save(folder + QStringLiteral("/") + name + QStringLiteral(".png"));
    }
    form.grab().save(folder + QStringLiteral("/main_with_dialogs.png"));
    if (seconds <= 0) return 0;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
