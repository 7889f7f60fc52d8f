// Fills the soil-layer table with three layers, opens the parameter table of the
// second one and saves a picture of the main window. Further arguments name more
// tables to open ("korvel_table_shot shot.png PileSect DistLoad"). Fails (exit 1) when a window
// is missing or the picture cannot be written.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "entry/table_definitions.h"
#include "entry/ui/table_form.h"
#include "main/main_form.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString file =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("soil_layers.png");
    korvel::TMainForm window;
    window.resize(1180, 900);
    window.show();

    korvel::TProgramTables& tables = window.Tables();
    korvel::TGridTable& soil = *tables.NewSoil;
    soil.SetRowCount(3);
    const int types[] = {1, 4, 7};
    const double bottoms[] = {8, 21.5, 40};
    for (int row = 0; row < 3; ++row) {
        soil.Cell(0, row).SetAsInteger(types[row]);
        soil.Cell(1, row).SetAsFloat(bottoms[row]);
    }
    korvel::TGridTable& sand = *soil.Cell(2, 1).AsTable();
    const double sand_values[2][4] = {{115, 32, 90, 0}, {120, 34, 90, 0}};
    for (int row = 0; row < 2; ++row) {
        for (int c = 0; c < 4; ++c) sand.Cell(c, row).SetAsFloat(sand_values[row][c]);
    }

    korvel::TTableForm* form = window.OpenTable(soil);
    if (!form) return 1;
    form->FlexButton(2, 1)->click();
    auto* sand_form = qobject_cast<korvel::TTableForm*>(sand.Editor());
    if (!sand_form) return 1;

    std::vector<korvel::TTableForm*> extra;
    for (int i = 2; i < argc; ++i) {
        korvel::TGridTable* table = tables.FindByName(QString::fromLocal8Bit(argv[i]));
        if (korvel::TTableForm* opened = table ? window.OpenTable(*table) : nullptr)
            extra.push_back(opened);
    }

    QTimer::singleShot(300, &app, [&] {
        // Parameter window below the layer window, further tables to the right.
        form->Container()->move(10, 10);
        sand_form->Container()->move(10, form->Container()->frameGeometry().bottom() + 20);
        int x = sand_form->Container()->frameGeometry().right() + 20;
        int y = 10;
        for (korvel::TTableForm* opened : extra) {
            opened->Container()->move(x, y);
            y = opened->Container()->frameGeometry().bottom() + 10;
        }
        QTimer::singleShot(300, &app, [&] {
            const bool saved = window.grab().save(file);
            QApplication::exit(saved ? 0 : 1);
        });
    });
    return QApplication::exec();
}
