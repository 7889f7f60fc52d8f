#include "entry/grid_block.h"

#include <QRegularExpression>

#include "entry/entry_errors.h"
#include "entry/grid_table.h"
#include "entry/grid_table_state.h"

namespace korvel {
namespace {

// "Row 3, column Thickness (ft)" for the grid row and the table column.
QString CellName(const TGridTable& table, int column, int row) {
    QString caption = table.HeaderLines(column).join(u' ').simplified();
    if (caption.isEmpty()) caption = QString::number(column + 1);
    return QStringLiteral("Row %1, column %2").arg(table.GroupNumber(row)).arg(caption);
}

// Enters text into a cell as a typed entry would; a choice may also be given by
// its item text (what the grid shows).
void EnterCell(TGridTable& table, int column, int row, const QString& text) {
    const TGridColumn& c = table.Column(column);
    if (c.Kind() == TColumnKind::kTable) {
        if (!text.trimmed().isEmpty()) throw EAssignError("This cell holds a table of its own.");
        return;
    }
    if (c.Kind() == TColumnKind::kEnum) {
        const QStringList& items = static_cast<const TEnumColumn&>(c).Items;
        for (int i = 0; i < items.size(); ++i) {
            if (items[i].compare(text.trimmed(), Qt::CaseInsensitive) == 0) {
                table.Cell(column, row).SetAsInteger(i + 1);
                return;
            }
        }
    }
    table.Cell(column, row).SetAsString(c.Kind() == TColumnKind::kString ? text : text.trimmed());
}

// Runs change over the table; on a refusal the table gets its rows back and the
// error goes on.
template <typename TChange>
void AllOrNothing(TGridTable& table, TChange change) {
    const TTableState before = CaptureTableState(table);
    try {
        change();
    } catch (const EKorvelError&) {
        RestoreTableState(table, before);
        throw;
    }
}

}  // namespace

QList<QStringList> ParseBlockText(const QString& text) {
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(u'\r', u'\n');
    if (body.endsWith(u'\n')) body.chop(1);
    QList<QStringList> cells;
    if (body.isEmpty()) return cells;
    for (const QString& line : body.split(u'\n')) cells.append(line.split(u'\t'));
    return cells;
}

QString BlockText(TGridTable& table, const std::vector<int>& columns, int top, int bottom, int left,
                  int right) {
    QStringList lines;
    for (int row = top; row <= bottom; ++row) {
        QStringList line;
        for (int g = left; g <= right; ++g) {
            const int column = columns[static_cast<size_t>(g)];
            line.append(table.Column(column).Kind() == TColumnKind::kTable
                            ? QString()
                            : table.Cell(column, row).AsString());
        }
        lines.append(line.join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

void PasteBlock(TGridTable& table, const std::vector<int>& columns, int top, int left,
                const QList<QStringList>& cells) {
    if (cells.isEmpty()) return;
    qsizetype width = 0;
    for (const QStringList& line : cells) width = std::max(width, line.size());
    if (left + width > static_cast<qsizetype>(columns.size())) {
        throw EAssignError(QStringLiteral("The block has %1 columns: from column %2 the table "
                                          "has only %3.")
                               .arg(width)
                               .arg(left + 1)
                               .arg(static_cast<qsizetype>(columns.size()) - left));
    }
    const int needed = top + static_cast<int>(cells.size());
    if (table.MaxRows() > 0 && needed > table.MaxRows()) {
        throw EAssignError(
            QStringLiteral("The block has %1 rows: from row %2 the table holds only %3.")
                .arg(cells.size())
                .arg(top + 1)
                .arg(table.MaxRows() - top));
    }
    AllOrNothing(table, [&] {
        if (needed > table.RowCount()) table.SetRowCount(needed);
        for (int r = 0; r < static_cast<int>(cells.size()); ++r) {
            const QStringList& line = cells[r];
            for (int g = 0; g < static_cast<int>(line.size()); ++g) {
                const int column = columns[static_cast<size_t>(left + g)];
                try {
                    EnterCell(table, column, top + r, line[g]);
                } catch (const EKorvelError& error) {
                    throw EAssignError(
                        QStringLiteral("%1: \"%2\" cannot be entered.\r%3")
                            .arg(CellName(table, column, top + r), line[g], error.Message()));
                }
            }
        }
    });
}

void ClearBlock(TGridTable& table, const std::vector<int>& columns, int top, int bottom, int left,
                int right) {
    AllOrNothing(table, [&] {
        for (int row = top; row <= bottom; ++row) {
            for (int g = left; g <= right; ++g) {
                const int column = columns[static_cast<size_t>(g)];
                TGridColumn& c = table.Column(column);
                try {
                    switch (c.Kind()) {
                        case TColumnKind::kInt:
                            table.Cell(column, row)
                                .SetAsInteger(static_cast<const TIntColumn&>(c).Default);
                            break;
                        case TColumnKind::kFloat:
                            table.Cell(column, row)
                                .SetAsFloat(static_cast<const TFloatColumn&>(c).Default);
                            break;
                        case TColumnKind::kString:
                            table.Cell(column, row)
                                .SetAsString(static_cast<const TStringColumn&>(c).DefaultText);
                            break;
                        case TColumnKind::kEnum:
                        case TColumnKind::kTable:
                            break;
                    }
                } catch (const EKorvelError& error) {
                    throw EAssignError(CellName(table, column, row) + QStringLiteral(": ") +
                                       error.Message());
                }
            }
        }
    });
}

}  // namespace korvel
