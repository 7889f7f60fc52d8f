// Korvel2015: analysis of flexible retaining walls, interactive program.
// Usage: Korvel2015 [data file]
#include <QApplication>

#include "main/main_form.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel2015"));
    QApplication::setApplicationDisplayName(QStringLiteral("KORVEL 2015"));
    QApplication::setOrganizationName(QStringLiteral("Tavlor"));
    korvel::TMainForm window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    window.Startup(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
