#include "graphs/graph_units.h"

namespace korvel {
namespace {

// Replaces the first occurrence; true when there was one.
bool ReplaceFirst(QString& text, const QString& token, const QString& by) {
    const qsizetype at = text.indexOf(token);
    if (at < 0) return false;
    text.replace(at, token.size(), by);
    return true;
}

}  // namespace

QString GraphUnitText(const QString& unit_text, int units) {
    QString text = unit_text;
    if (units == 1) {
        if (!ReplaceFirst(text, QStringLiteral("F2"), QStringLiteral("tons")) &&
            !ReplaceFirst(text, QStringLiteral("F1"), QStringLiteral("kips"))) {
            text.replace(QLatin1Char('F'), QStringLiteral("lbs"));
        }
        if (!ReplaceFirst(text, QStringLiteral("L2"), QStringLiteral("ft")) &&
            !ReplaceFirst(text, QStringLiteral("L1"), QStringLiteral("in"))) {
            text.replace(QLatin1Char('L'), QStringLiteral("in"));
        }
    } else if (units == 2) {
        text.replace(QStringLiteral("F2"), QStringLiteral("kN"));
        text.replace(QStringLiteral("F1"), QStringLiteral("kN"));
        text.replace(QLatin1Char('F'), QStringLiteral("kN"));
        text.replace(QStringLiteral("L2"), QStringLiteral("m"));
        text.replace(QStringLiteral("L1"), QStringLiteral("mm"));
        text.replace(QLatin1Char('L'), QStringLiteral("m"));
    }
    return text;
}

QString GraphAxisCaption(const QString& caption, const QString& unit_text, int units) {
    if (unit_text.isEmpty()) return caption;
    return caption + QStringLiteral(" (") + GraphUnitText(unit_text, units) + QLatin1Char(')');
}

}  // namespace korvel
