#include "views/node_ranges.h"

#include <algorithm>

#include "entry/grid_table.h"

namespace korvel {

std::vector<TNodeRange> NodeRanges(const std::vector<TNodeRow>& rows) {
    std::vector<TNodeRange> ranges;
    for (size_t i = 0; i < rows.size(); ++i) {
        const TNodeRow& row = rows[i];
        int last = row.To;
        const bool joins_next = row.Mode == kInterpolateToNextLine && i + 1 < rows.size();
        if (joins_next) last = rows[i + 1].To;
        ranges.push_back({static_cast<int>(i), row.From, std::max(last, row.From)});
        if (joins_next) ++i;
    }
    return ranges;
}

std::vector<TNodeRange> NodeRanges(TGridTable& table) {
    std::vector<TNodeRow> rows;
    for (int r = 0; r < table.RowCount(); ++r) {
        rows.push_back({table.Cell(0, r).AsInteger(), table.Cell(1, r).AsInteger(),
                        table.Cell(2, r).AsInteger()});
    }
    return NodeRanges(rows);
}

}  // namespace korvel
