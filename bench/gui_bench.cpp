// korvel-gui-bench: times the interactive program on one data file, the way a
// user meets it: from main() to the main window shown with the file open (as
// "Korvel2015 FILE" opens it), and from "&Run Analysis" to the graphs being
// available, as the median of repeated runs in one process.
//   korvel-gui-bench [--runs N] FILE.kv5d     (N runs, 5 by default; 0: start only)
// The file is copied to a temporary folder first: a run saves the project and
// writes its results beside it, and a staged file is split into stage files
// there. Times are wall-clock milliseconds; the process start before main() is
// left to an outer clock (see README "Performance"). Exit code 0 when every run
// completed with its graphs enabled, 1 otherwise, 2 on wrong arguments.
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QTextStream>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "graphs/graph_kind.h"
#include "main/main_form.h"
#include "main/main_prompts.h"

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;

double Milliseconds(TClock::time_point from, TClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

// Message boxes would stop the clock on a modal loop: messages are recorded
// instead, and a question is answered No.
class TBenchPrompts : public korvel::TMainPrompts {
  public:
    void Information(QWidget*, const QString& text) override { Last = text; }
    TAnswer Confirm(QWidget*, const QString&, bool) override { return TAnswer::kNo; }
    QString Last;
};

// Runs the event loop until the window is exposed (drawn) or timeout_ms passed.
bool WaitExposed(QWidget& widget, int timeout_ms) {
    const TClock::time_point end = TClock::now() + std::chrono::milliseconds(timeout_ms);
    while (TClock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const QWindow* window = widget.windowHandle();
        if (window && window->isExposed()) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    const TClock::time_point entry = TClock::now();
    int runs = 5;
    std::string given;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            runs = std::max(0, std::atoi(argv[++i]));
        } else if (!a.starts_with("-")) {
            given = a;
        } else {
            std::fprintf(stderr, "usage: korvel-gui-bench [--runs N] FILE.kv5d\n");
            return 2;
        }
    }
    std::error_code error;
    if (given.empty() || !fs::is_regular_file(given, error)) {
        std::fprintf(stderr, "korvel-gui-bench: no data file \"%s\"\n", given.c_str());
        return 2;
    }
    // A fresh folder of our own: a predictable name in /tmp could be someone's link.
    std::string pattern = (fs::temp_directory_path() / "korvel-gui-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "korvel-gui-bench: cannot create a working folder\n");
        return 2;
    }
    const fs::path folder = pattern;
    const fs::path data = folder / fs::path(given).filename();
    fs::copy_file(given, data, fs::copy_options::overwrite_existing);
    const TClock::time_point copied = TClock::now();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel2015"));
    QApplication::setApplicationDisplayName(QStringLiteral("KORVEL 2015"));
    QApplication::setOrganizationName(QStringLiteral("Tavlor"));
    TBenchPrompts prompts;
    korvel::TMainPrompts::SetCurrent(&prompts);
    const TClock::time_point application = TClock::now();

    int code = 0;
    {
        // It loads the engine library from this program's folder, the build's bin/.
        korvel::TMainForm form;
        const TClock::time_point constructed = TClock::now();
        form.show();
        form.Startup(QString::fromStdString(data.string()));
        const TClock::time_point opened = TClock::now();
        const bool exposed = WaitExposed(form, 10000);
        const TClock::time_point shown = TClock::now();

        QTextStream out(stdout);
        out << "file: " << QString::fromStdString(fs::path(given).filename().string()) << '\n';
        out << QStringLiteral(
                   "start: %1 ms from main() to the window shown with the file open "
                   "(copy %2, application %3, window %4, file open %5, first paint %6)\n")
                   .arg(Milliseconds(entry, shown), 0, 'f', 1)
                   .arg(Milliseconds(entry, copied), 0, 'f', 1)
                   .arg(Milliseconds(copied, application), 0, 'f', 1)
                   .arg(Milliseconds(application, constructed), 0, 'f', 1)
                   .arg(Milliseconds(constructed, opened), 0, 'f', 1)
                   .arg(Milliseconds(opened, shown), 0, 'f', 1);
        if (!exposed) {
            out << "error: the window was not exposed within 10 s\n";
            code = 1;
        }

        QAction* run = form.findChild<QAction*>(QStringLiteral("CompRun"));
        const QString graph =
            QStringLiteral("Tool%1").arg(korvel::GraphIndex(korvel::TGraphKind::kDef));
        QAction* deflection = form.findChild<QAction*>(graph);
        std::vector<double> times;
        for (int i = 0; i < runs && code == 0 && run && deflection; ++i) {
            prompts.Last.clear();
            const TClock::time_point start = TClock::now();
            run->trigger();
            // The window repaints after the run (children closed, buttons enabled).
            QCoreApplication::processEvents();
            times.push_back(Milliseconds(start, TClock::now()));
            if (!form.PlotDataLoaded() || !deflection->isEnabled() ||
                !prompts.Last.startsWith(QStringLiteral("Computations are completed"))) {
                out << "error: run " << i + 1 << " did not give the graphs: "
                    << QString(prompts.Last).replace(QLatin1Char('\r'), QLatin1Char(' ')) << '\n';
                code = 1;
            }
        }
        if (!run || !deflection) {
            out << "error: no action \"CompRun\" or \"" << graph << "\"\n";
            code = 1;
        }
        if (!times.empty()) {
            out << QStringLiteral(
                       "run: %1 ms from \"&Run Analysis\" to the graphs available "
                       "(median of %2, min %3, max %4)\n")
                       .arg(Median(times), 0, 'f', 1)
                       .arg(times.size())
                       .arg(*std::min_element(times.begin(), times.end()), 0, 'f', 1)
                       .arg(*std::max_element(times.begin(), times.end()), 0, 'f', 1);
        }
        if (code == 0 && !times.empty()) {
            // The user's next click: the deflection graph's window, drawn.
            const TClock::time_point start = TClock::now();
            deflection->trigger();
            QCoreApplication::processEvents();
            out << QStringLiteral("graph: %1 ms to open the deflection graph after the run\n")
                       .arg(Milliseconds(start, TClock::now()), 0, 'f', 1);
        }
    }
    korvel::TMainPrompts::SetCurrent(nullptr);
    fs::remove_all(folder, error);
    return code;
}
