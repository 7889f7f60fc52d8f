#include "report/report_reader.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace korvel {
namespace {

// Where the engine's header puts each section's date; the title line follows it.
constexpr const char* kSectionMark = "Time and Date of Analysis";
constexpr const char* kResultsMark = "     RESULTS -- ITERATION";
constexpr const char* kEndMark = "     END OF ANALYSIS";

bool IsErrorLine(const QString& line) {
    return line.contains(QLatin1String("ERROR STOP --")) ||
           line.contains(QLatin1String("ERROR --")) ||
           line.contains(QLatin1String("TOO MUCH DATA FOR AVAILABLE STORAGE"));
}

QString Squeezed(const QString& line) {
    return line.simplified();
}

// A units-line field by its columns, blanks trimmed (the short SI labels carry
// their own blank: " KN- M").
QString Field(const QString& line, int from, int width) {
    return line.mid(from, width).trimmed();
}

bool ParseRow(const QString& line, TStationRow& row) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != 8) return false;
    bool ok = false;
    row.Station = words[0].toInt(&ok);
    if (!ok) return false;
    double* values[] = {&row.X,     &row.Deflection, &row.Slope, &row.Moment,
                        &row.Shear, &row.Reaction,   &row.EI};
    for (int i = 0; i < 7; ++i) {
        *values[i] = words[i + 1].toDouble(&ok);
        if (!ok) return false;
    }
    return true;
}

TExtreme Largest(const TReportSection& s, double TStationRow::*member) {
    TExtreme e;
    for (const TStationRow& r : s.Rows) {
        if (std::abs(r.*member) > std::abs(e.Value)) e = {r.*member, r.X};
    }
    return e;
}

}  // namespace

QString TReportRun::FirstError() const {
    for (const TReportSection& s : Sections) {
        if (!s.Errors.isEmpty()) return s.Errors.first();
    }
    return {};
}

TExtreme MaxDeflection(const TReportSection& s) {
    return Largest(s, &TStationRow::Deflection);
}
TExtreme MaxMoment(const TReportSection& s) {
    return Largest(s, &TStationRow::Moment);
}
TExtreme MaxShear(const TReportSection& s) {
    return Largest(s, &TStationRow::Shear);
}
TExtreme MaxReaction(const TReportSection& s) {
    return Largest(s, &TStationRow::Reaction);
}

TSignedExtremes SignedExtremes(const TReportSection& s, double TStationRow::*member,
                               int first_station, const std::vector<int>& skip) {
    TSignedExtremes e;
    for (const TStationRow& r : s.Rows) {
        if (r.Station < first_station) continue;
        if (std::find(skip.begin(), skip.end(), r.Station) != skip.end()) continue;
        const double v = r.*member;
        if (!e.Any || v > e.Max.Value) e.Max = {v, r.X};
        if (!e.Any || v < e.Min.Value) e.Min = {v, r.X};
        e.Any = true;
    }
    return e;
}

bool ResultsValid(const TReportSection& s) {
    return !s.HasResults || (s.Closed && !s.OffCurves && s.ExceededStations == 0);
}

QStringList ResultProblems(const TReportSection& s) {
    QStringList out;
    if (!s.HasResults) return out;
    if (!s.Closed) {
        out << QStringLiteral(
                   "The solution did not close within the deflection closure tolerance after %1 "
                   "iteration%2.")
                   .arg(s.Iterations)
                   .arg(s.Iterations == 1 ? "" : "s");
    }
    if (s.ExceededStations > 0) {
        out << QStringLiteral(
                   "The maximum allowable deflection was exceeded at %1 station%2; the iteration "
                   "stopped there.")
                   .arg(s.ExceededStations)
                   .arg(s.ExceededStations == 1 ? "" : "s");
    }
    if (s.OffCurves) {
        out << QStringLiteral(
            "The deflection ran off the p-y curves: the soil resistance beyond their last points "
            "is extrapolated.");
    }
    return out;
}

QString SolutionEnding(const TReportSection& s) {
    if (!s.HasResults)
        return QStringLiteral("no results: the run ended before this section was solved");
    const QString after =
        QStringLiteral(" after %1 iteration%2").arg(s.Iterations).arg(s.Iterations == 1 ? "" : "s");
    QString text = s.Closed ? QStringLiteral("closed") + after
                            : QStringLiteral("not closed within the tolerance") + after;
    if (s.ExceededStations > 0) {
        text += QStringLiteral("; maximum allowable deflection exceeded at %1 stations")
                    .arg(s.ExceededStations);
    }
    if (s.OffCurves) text += QStringLiteral("; deflection off the p-y curves");
    return text;
}

TReportRun ParseReport(const QString& text) {
    TReportRun run;
    const QStringList lines = text.split(QLatin1Char('\n'));
    enum { kBody, kHeading, kResultsHead, kRows } state = kBody;
    QString previous;
    bool in_warning = false;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.contains(QLatin1String(kSectionMark))) {
            run.Sections.emplace_back();
            state = kHeading;
            in_warning = false;
            continue;
        }
        if (line.startsWith(QLatin1String(kEndMark))) {
            run.Complete = true;
            state = kBody;
            continue;
        }
        if (run.Sections.empty()) continue;
        TReportSection& s = run.Sections.back();
        const QString trimmed = line.trimmed();
        if (state == kHeading) {
            // The title line is the first one after the date that is not blank.
            static const QRegularExpression rule(QStringLiteral("^-+$"));
            if (trimmed.startsWith(QLatin1String("Date:"))) {
                static const QRegularExpression date(
                    QStringLiteral("^Date:\\s+(.*\\S)\\s+Time:\\s+(\\S+)"));
                const QRegularExpressionMatch m = date.match(trimmed);
                if (m.hasMatch()) s.Analysed = m.captured(1) + QStringLiteral(", ") + m.captured(2);
                continue;
            }
            if (trimmed.isEmpty() || rule.match(trimmed).hasMatch()) continue;
            s.Heading = Squeezed(line);
            state = kBody;
            continue;
        }
        if (line.startsWith(QLatin1String(kResultsMark))) {
            s.HasResults = true;
            s.Iterations = line.mid(static_cast<int>(qstrlen(kResultsMark))).trimmed().toInt();
            state = kResultsHead;
            in_warning = false;
            continue;
        }
        if (IsErrorLine(line)) {
            s.Errors << Squeezed(line);
            in_warning = false;
            continue;
        }
        if (state == kResultsHead) {
            if (line.contains(QLatin1String("DEFLECTION OFF Q - W CURVES"))) s.OffCurves = true;
            if (line.contains(QLatin1String("SOLUTION NOT CLOSED"))) s.Closed = false;
            const int at = static_cast<int>(line.indexOf(QLatin1String("EXCEEDED AT ***")));
            if (at >= 0) s.ExceededStations = line.mid(at + 15, 4).trimmed().toInt();
            if (line.startsWith(QLatin1String("   ------"))) {
                // The line above is the units line, in fixed columns.
                s.Units = {Field(previous, 12, 3), Field(previous, 24, 3), Field(previous, 46, 6),
                           Field(previous, 59, 4), Field(previous, 71, 4), Field(previous, 82, 10)};
                state = kRows;
            }
            previous = line;
            continue;
        }
        if (state == kRows) {
            TStationRow row;
            if (ParseRow(line, row)) {
                s.Rows.push_back(row);
                continue;
            }
            state = kBody;
        }
        // Warnings run from their line to the next blank line.
        if (line.contains(QLatin1String("WARNING"))) {
            s.Warnings << Squeezed(line);
            in_warning = true;
            continue;
        }
        if (in_warning) {
            if (trimmed.isEmpty()) {
                in_warning = false;
            } else {
                s.Warnings.last() += QLatin1Char(' ') + Squeezed(line);
            }
        }
    }
    return run;
}

TReportRun ReadReport(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ParseReport(QString::fromUtf8(file.readAll()));
}

}  // namespace korvel
