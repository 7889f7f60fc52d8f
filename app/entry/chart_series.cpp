#include "entry/chart_series.h"

#include <algorithm>
#include <cmath>

#include "entry/grid_table_chart.h"

namespace korvel {
namespace {

// A constant curve's second point is drawn this much higher, so the line shows.
constexpr double kConstantLift = 1.001;
// Range of a constant curve: these factors of its value.
constexpr double kConstantLow = 0.9;
constexpr double kConstantHigh = 1.1;
// Limits of the plain label pattern.
constexpr double kLargeLabel = 100000.0;
constexpr double kSmallLabel = 0.001;

bool IsRealColumn(const TGridTableChart& table, int column) {
    if (column < 0 || column >= table.ColumnCount()) return false;
    const TColumnKind kind = table.Column(column).Kind();
    return kind == TColumnKind::kFloat || kind == TColumnKind::kInt;
}

double ValueAt(const TGridTableChart& table, int column, int row) {
    const TGridColumn& c = table.Column(column);
    if (c.Kind() == TColumnKind::kInt) return static_cast<const TIntColumn&>(c).Value(row);
    return static_cast<double>(static_cast<const TFloatColumn&>(c).Value(row));
}

QString FirstCaption(const TGridTableChart& table, int column) {
    if (column < 0 || column >= table.ColumnCount()) return {};
    const QStringList& captions = table.Column(column).Captions;
    return captions.isEmpty() ? QString() : captions.first();
}

QString GroupThousands(const QString& digits) {
    QString grouped;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) grouped += u',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

TChartSeriesData ChartSeriesOf(const TGridTableChart& table) {
    TChartSeriesData data;
    const int x = table.Chart.XColumn;
    const int y = table.Chart.YColumn;
    data.XTitle = FirstCaption(table, x);
    data.YTitle = FirstCaption(table, y);
    const int rows = table.RowCount();
    if (IsRealColumn(table, x) && IsRealColumn(table, y)) {
        for (int row = 0; row < rows; ++row)
            data.Main.emplace_back(ValueAt(table, x, row), ValueAt(table, y, row));
    }
    data.HasSecond = table.ColumnCount() == 3 && x == 0 && y == 1 && IsRealColumn(table, 2);
    if (data.HasSecond) {
        for (int row = 0; row < rows; ++row)
            data.Second.emplace_back(ValueAt(table, 0, row), ValueAt(table, 2, row));
        data.LegendNames = {FirstCaption(table, 1), FirstCaption(table, 2)};
    }
    if (data.Main.size() > 1 &&
        std::all_of(data.Main.begin(), data.Main.end(),
                    [&](const QPointF& p) { return p.y() == data.Main.front().y(); })) {
        const double value = data.Main.front().y();
        data.Main[1].setY(value * kConstantLift);
        if (value == 0) {
            data.FixedY = std::pair{-1.0, 1.0};
        } else {
            const double a = kConstantLow * value;
            const double b = kConstantHigh * value;
            data.FixedY = std::pair{std::min(a, b), std::max(a, b)};
        }
    }
    return data;
}

QString AxisLabelPattern(double minimum, double maximum) {
    const double lo = std::fabs(minimum);
    const double hi = std::fabs(maximum);
    if (lo == 0 && hi == 0) return QString::fromLatin1(kPlainAxisPattern);
    if (lo > kLargeLabel || hi > kLargeLabel || (lo < kSmallLabel && hi < kSmallLabel))
        return QString::fromLatin1(kExponentAxisPattern);
    return QString::fromLatin1(kPlainAxisPattern);
}

QString FormatAxisLabel(const QString& pattern, double value) {
    if (pattern == QLatin1String(kExponentAxisPattern)) {
        if (value == 0) return QStringLiteral("0.0E0");
        // d.ddd, then up to two trailing zeros dropped (one decimal always stays).
        QString text = QString::number(value, 'e', 3);  // "-1.235e+05"
        const qsizetype e = text.indexOf(u'e');
        QString mantissa = text.left(e);
        const int exponent = text.mid(e + 1).toInt();
        while (mantissa.endsWith(u'0') && !mantissa.endsWith(QStringLiteral(".0")))
            mantissa.chop(1);
        return mantissa + u'E' + QString::number(exponent);
    }
    QString text = QString::number(std::fabs(value), 'f', 3);
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    const qsizetype point = text.indexOf(u'.');
    const QString whole = point < 0 ? text : text.left(point);
    const QString decimals = point < 0 ? QString() : text.mid(point);
    const QString body = GroupThousands(whole) + decimals;
    return (value < 0 && body != QLatin1String("0")) ? u'-' + body : body;
}

TAxisTicks NiceAxisTicks(double minimum, double maximum) {
    if (!(maximum > minimum)) {
        const double pad = minimum == 0 ? 1.0 : std::fabs(minimum) * 0.1;
        minimum -= pad;
        maximum += pad;
    }
    const double rough = (maximum - minimum) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double leading = rough / power;
    double step = power;
    if (leading > 5) {
        step = 10 * power;
    } else if (leading > 2) {
        step = 5 * power;
    } else if (leading > 1) {
        step = 2 * power;
    }
    TAxisTicks ticks;
    ticks.Step = step;
    ticks.Minimum = std::floor(minimum / step + 1e-9) * step;
    ticks.Maximum = std::ceil(maximum / step - 1e-9) * step;
    return ticks;
}

}  // namespace korvel
