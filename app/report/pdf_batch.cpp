#include "report/pdf_batch.h"

#include <QGuiApplication>

#include "report/report_export.h"

namespace korvel {
namespace {

QtMessageHandler previous_handler = nullptr;

// A batch run as root or from a service has no per-user runtime folder; Qt's
// note about that says nothing about the report, so it is left out of the
// runner's output. Everything else goes on as before.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (previous_handler) previous_handler(type, context, text);
}

}  // namespace

struct TPdfSession::TState {
    int argc = 1;
    char name[16] = "korvel-run";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
};

TPdfSession::TPdfSession() : state_(std::make_unique<TState>()) {
    if (QGuiApplication::instance()) return;
    // Pages need fonts and painting, not a screen: without a display the
    // offscreen platform serves, and a batch run never waits for one.
    const bool display =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !display)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previous_handler = qInstallMessageHandler(FilterMessages);
    state_->app = std::make_unique<QGuiApplication>(state_->argc, state_->argv);
}

TPdfSession::~TPdfSession() = default;

bool TPdfSession::Write(const std::string& data_file, const std::string& paper,
                        std::string& pdf_path, std::string& message,
                        const design::TDesignChoices* design) {
    const QString data = QString::fromStdString(data_file);
    const QString pdf = ReportPdfPath(data);
    pdf_path = pdf.toStdString();
    const TPaper chosen =
        paper == "a4" ? TPaper::kA4 : (paper == "letter" ? TPaper::kLetter : TPaper::kAuto);
    const TPdfExportResult result = ExportReportPdf(data, pdf, chosen, design);
    message = result.Message.toStdString();
    return result.Written;
}

}  // namespace korvel
