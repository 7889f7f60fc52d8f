// Opens a data file in the main window, runs the analysis, opens the deflection
// graph and stays for a number of seconds, so a screenshot can be taken:
// korvel_main_shot file.kv5d [seconds]. Messages go to standard output.
#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include "main/main_form.h"
#include "main/main_prompts.h"

namespace {

class TPrintingPrompts : public korvel::TMainPrompts {
  public:
    void Information(QWidget*, const QString& text) override {
        QTextStream(stdout) << "message: "
                            << QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')) << '\n';
    }
    TAnswer Confirm(QWidget*, const QString&, bool) override { return TAnswer::kNo; }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel2015"));
    QApplication::setOrganizationName(QStringLiteral("Tavlor"));
    if (argc < 2) return 2;
    TPrintingPrompts prompts;
    korvel::TMainPrompts::SetCurrent(&prompts);
    korvel::TMainForm form;
    form.setGeometry(0, 0, 1280, 1000);
    form.show();
    form.OpenByPath(QString::fromLocal8Bit(argv[1]));
    form.CompRunClick();
    form.ShowPlot(korvel::TGraphKind::kDef);
    const int seconds = argc > 2 ? atoi(argv[2]) : 5;
    QTimer::singleShot(seconds * 1000, &app, [] { QApplication::exit(0); });
    const int code = QApplication::exec();
    korvel::TMainPrompts::SetCurrent(nullptr);
    return code;
}
