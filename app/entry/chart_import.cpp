#include "entry/chart_import.h"

#include "entry/grid_table.h"
#include "entry/number_format.h"

namespace korvel {
namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool EndsWord(QChar c) {
    return IsBlank(c) || c == u',' || c == u'\r';
}

}  // namespace

QStringList SplitNumbers(const QString& line) {
    QStringList words;
    qsizetype at = 0;
    const qsizetype n = line.size();
    while (at < n && IsBlank(line[at])) ++at;
    while (at < n && words.size() < kMaxNumbersPerLine) {
        const qsizetype start = at;
        while (at < n && !EndsWord(line[at])) ++at;
        const QString word = line.mid(start, at - start);
        long double value = 0;
        if (word.isEmpty() || !ParseDecimal(word.toStdString(), value)) break;
        words.append(word);
        // Separators: blanks, at most one comma, blanks.
        while (at < n && IsBlank(line[at])) ++at;
        if (at < n && line[at] == u',') ++at;
        while (at < n && IsBlank(line[at])) ++at;
        if (at < n && line[at] == u'\r') break;
    }
    return words;
}

QStringList SplitTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype at = 0; at < n; ++at) {
        if (text[at] != u'\r' && text[at] != u'\n') continue;
        lines.append(text.mid(start, at - start));
        if (text[at] == u'\r' && at + 1 < n && text[at + 1] == u'\n') ++at;
        start = at + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

int ImportRows(TGridTable& table, const QStringList& lines) {
    const int columns = table.ColumnCount();
    int filled = 0;
    for (const QString& line : lines) {
        if (table.MaxRows() > 0 && filled >= table.MaxRows()) break;
        const QStringList words = SplitNumbers(line);
        if (words.size() != columns) continue;
        if (filled >= table.RowCount()) table.AddRowGroup();
        for (int c = 0; c < columns; ++c) table.Cell(c, filled).SetAsString(words[c]);
        ++filled;
    }
    if (filled > 0) {
        table.SetRowCount(filled);
        if (filled < table.MinRows()) table.SetRowCount(table.MinRows());
        table.SetModified(true);
    }
    return filled;
}

}  // namespace korvel
