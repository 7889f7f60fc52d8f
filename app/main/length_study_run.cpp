#include "main/length_study_run.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

#include "project/program_data.h"
#include "project/wall_length_rules.h"

namespace korvel {

QString CheckLengthStudyInput(const TLengthStudyInput& input,
                              const std::vector<SectionOutline>& sections) {
    const LengthRange range = MakeLengthRange(input.From, input.To, input.Step, kMaxStudyLengths);
    QString error = QString::fromStdString(range.error);
    if (error.isEmpty()) {
        if (!(input.TolerancePercent > 0.0) || !(input.TolerancePercent < 100.0))
            return QStringLiteral("The tolerance must be a percentage above 0 and below 100.");
        error =
            QString::fromStdString(CheckStudyLengths(range.lengths, sections, kMaxStudyIncrements));
        if (error.isEmpty()) return {};
    }
    error.replace(QLatin1String("FROM"), QLatin1String("From"))
        .replace(QLatin1String("TO"), QLatin1String("To"))
        .replace(QLatin1String("STEP"), QLatin1String("Step"));
    error[0] = error[0].toUpper();
    return error + QLatin1Char('.');
}

std::vector<SectionOutline> StudySections(const TProgramData& project) {
    return {OutlineOf(project)};
}

QString KorvelRunPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/korvel-run");
}

QStringList LengthStudyArguments(const TLengthStudyInput& input, const QString& jsonPath,
                                 const QString& dataFile) {
    const auto n = [](double v) { return QString::number(v, 'g', 12); };
    return {QStringLiteral("--lengths"),
            n(input.From) + QLatin1Char(':') + n(input.To) + QLatin1Char(':') + n(input.Step),
            QStringLiteral("--tolerance"),
            n(input.TolerancePercent),
            QStringLiteral("--json"),
            jsonPath,
            QStringLiteral("-j"),
            QStringLiteral("2"),
            dataFile};
}

QString TStudySectionResult::Ending() const {
    QString ending = ExceededStations > 0 ? QStringLiteral("max deflection exceeded")
                     : Closed             ? QStringLiteral("closed")
                                          : QStringLiteral("not closed");
    if (OffCurves) ending += QStringLiteral(", off curves");
    return ending;
}

double TLengthStudyResult::LongestLength() const {
    double longest = 0.0;
    for (const TStudyLengthResult& r : Rows) longest = std::max(longest, r.RequestedLength);
    return longest;
}

bool ReadLengthStudyJson(const QByteArray& json, TLengthStudyResult& result, QString& error) {
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject()) {
        error = QStringLiteral("The study's results cannot be read: %1.").arg(parse.errorString());
        return false;
    }
    const QJsonObject top = document.object();
    if (!top.value(QLatin1String("rows")).isArray()) {
        error = QStringLiteral("The study's results hold no lengths.");
        return false;
    }
    result = TLengthStudyResult();
    result.TolerancePercent = top.value(QLatin1String("tolerance_percent")).toDouble(1.0);
    for (const QJsonValue& note : top.value(QLatin1String("notes")).toArray())
        result.Notes << note.toString();
    for (const QJsonValue& value : top.value(QLatin1String("rows")).toArray()) {
        const QJsonObject row = value.toObject();
        TStudyLengthResult r;
        r.Length = row.value(QLatin1String("length")).toDouble();
        r.RequestedLength = row.value(QLatin1String("requested_length")).toDouble(r.Length);
        r.Status = row.value(QLatin1String("status")).toString();
        r.Usable = row.value(QLatin1String("usable")).toBool();
        for (const QJsonValue& sv : row.value(QLatin1String("sections")).toArray()) {
            const QJsonObject s = sv.toObject();
            const auto number = [&s](const char* key) {
                return s.value(QLatin1String(key)).toDouble();
            };
            const auto extreme = [&s](const char* key, const char* part) {
                return s.value(QLatin1String(key)).toObject().value(QLatin1String(part)).toDouble();
            };
            TStudySectionResult x;
            x.Iterations = s.value(QLatin1String("iterations")).toInt();
            x.Closed = s.value(QLatin1String("closed")).toBool();
            x.OffCurves = s.value(QLatin1String("off_curves")).toBool();
            x.ExceededStations = s.value(QLatin1String("exceeded_stations")).toInt();
            x.Embedment = number("embedment");
            x.HeadDeflection = number("head_deflection");
            x.ToeDeflection = number("toe_deflection");
            x.MaxMoment = extreme("max_moment", "value");
            x.MomentDepth = extreme("max_moment", "depth");
            x.MaxShear = extreme("max_shear", "value");
            x.ShearDepth = extreme("max_shear", "depth");
            for (const QJsonValue& f : s.value(QLatin1String("tieback_forces")).toArray())
                x.TiebackForces.push_back(f.toDouble());
            if (result.LengthUnit.isEmpty()) {
                result.LengthUnit = s.value(QLatin1String("length_unit")).toString();
                result.ForceUnit = s.value(QLatin1String("force_unit")).toString();
                result.MomentUnit = s.value(QLatin1String("moment_unit")).toString();
            }
            r.Sections.push_back(x);
        }
        result.Rows.push_back(r);
    }
    const QJsonValue critical = top.value(QLatin1String("critical_length"));
    if (critical.isDouble()) {
        for (size_t i = 0; i < result.Rows.size(); ++i) {
            if (result.Rows[i].Length == critical.toDouble()) {
                result.Critical = i;
                break;
            }
        }
    }
    return true;
}

}  // namespace korvel
