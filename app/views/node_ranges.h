// Node ranges of the station tables with a "Constant or Interpolate?" column
// (springs SoilStrength, concentrated loads BoundCond): each row covers its
// "From Node No." to its "To Node No." (only the from-node when the to-node is
// smaller); an interpolating row runs on to the next row's to-node, and that
// next row is then not used by itself.
#pragma once

#include <vector>

namespace korvel {

class TGridTable;

struct TNodeRange {
    int Row = 0;    // the row whose values apply
    int First = 0;  // first node
    int Last = 0;   // last node, >= First
};

// Item 2 of the "Constant or Interpolate?" column.
constexpr int kInterpolateToNextLine = 2;

struct TNodeRow {
    int Mode = 1;  // 1 constant, 2 interpolate to the next line's end node
    int From = 0;
    int To = 0;
};

std::vector<TNodeRange> NodeRanges(const std::vector<TNodeRow>& rows);
// Columns 0 (mode), 1 (from node), 2 (to node) of table.
std::vector<TNodeRange> NodeRanges(TGridTable& table);

}  // namespace korvel
