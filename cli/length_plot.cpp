#include "length_plot.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "graphs/length_study_plot.h"
#include "run_files.h"

namespace korvel::cli {
namespace {

constexpr int kWidth = 900;        // pixels
constexpr int kGraphHeight = 560;  // pixels, one graph; the two stand one above the other
constexpr double kDotsPerInch = 96.0;

// Qt's notice that it picked a runtime folder of its own is no news to the user
// of korvel-run; everything else goes on as Qt would print it.
QtMessageHandler previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (previousHandler) previousHandler(type, context, message);
}

// The painter measures text, which needs a GUI application; korvel-run has none.
void EnsureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(QuietHandler);
    static int argc = 1;
    static char name[] = "korvel-run";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends: Qt's own teardown at exit is not needed here.
    new QGuiApplication(argc, argv);
}

// The usable lengths and their values, a curve per section.
TLengthStudyCurves CurvesOf(const std::vector<StudyRow>& rows, std::optional<size_t> critical) {
    TLengthStudyCurves c;
    size_t sections = 0;
    for (const StudyRow& r : rows) {
        for (const StudySection& s : r.sections) {
            if (c.LengthUnit.isEmpty()) c.LengthUnit = QString::fromStdString(s.summary.lengthUnit);
            if (c.MomentUnit.isEmpty()) c.MomentUnit = QString::fromStdString(s.summary.momentUnit);
        }
        if (r.usable) sections = std::max(sections, r.sections.size());
    }
    c.Head.resize(sections);
    c.Moment.resize(sections);
    for (const StudyRow& r : rows) {
        if (!r.usable) continue;
        c.Lengths.push_back(r.length);
        for (size_t k = 0; k < sections; ++k) {
            const bool has = k < r.sections.size();
            c.Head[k].push_back(has ? r.sections[k].headDeflection : 0.0);
            c.Moment[k].push_back(has ? r.sections[k].summary.moment.value : 0.0);
        }
    }
    if (critical) c.Critical = rows[*critical].length;
    return c;
}

void Paint(QPainter& p, const std::vector<StudyRow>& rows, std::optional<size_t> critical) {
    PaintLengthStudy(p, CurvesOf(rows, critical), QSizeF(kWidth, 2 * kGraphHeight), kDotsPerInch);
}

}  // namespace

bool SaveStudyPlot(const std::string& path, const std::vector<StudyRow>& rows,
                   std::optional<size_t> critical, std::string& error) {
    if (std::none_of(rows.begin(), rows.end(), [](const StudyRow& r) { return r.usable; })) {
        error = "no length was analysed to the end: nothing to plot";
        return false;
    }
    EnsureGuiApplication();
    const QString name = QString::fromStdString(path);
    // Drawn into memory first: the file is written whole or not at all.
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    if (name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&bytes);
        svg.setSize(QSize(kWidth, 2 * kGraphHeight));
        svg.setViewBox(QRect(0, 0, kWidth, 2 * kGraphHeight));
        svg.setResolution(static_cast<int>(kDotsPerInch));
        svg.setTitle(QStringLiteral("Wall length study"));
        QPainter p;
        if (!p.begin(&svg)) {
            error = "cannot write " + path;
            return false;
        }
        Paint(p, rows, critical);
        p.end();
    } else {
        QImage image(kWidth, 2 * kGraphHeight, QImage::Format_RGB32);
        const int dotsPerMetre = static_cast<int>(std::lround(kDotsPerInch / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        {
            QPainter p(&image);
            Paint(p, rows, critical);
        }
        if (!image.save(&bytes, "PNG")) {
            error = "cannot write " + path;
            return false;
        }
    }
    return runfiles::WriteOutputFile(path, bytes.data().toStdString(), error);
}

}  // namespace korvel::cli
