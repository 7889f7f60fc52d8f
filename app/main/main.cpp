// Korvel2015: analysis of flexible retaining walls, interactive program.
// Usage: Korvel2015 [data file]
#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "main/command_line.h"
#include "main/main_form.h"
#include "main/program_files.h"

int main(int argc, char* argv[]) {
    // --help and --version answer before Qt looks for a display.
    if (const auto text = korvel::InformationRequested(argc, argv)) {
        return std::fputs(text->c_str(), stdout) < 0 ? 1 : 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel2015"));
    QApplication::setApplicationDisplayName(QStringLiteral("KORVEL 2015"));
    QApplication::setOrganizationName(QStringLiteral("Tavlor"));
    // The installed desktop entry and icon (korvel.desktop, icon "korvel").
    QApplication::setDesktopFileName(QStringLiteral("korvel"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("korvel"),
                         QIcon(korvel::InstalledIconFor(QCoreApplication::applicationDirPath()))));
    korvel::TMainForm window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    window.Startup(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
