#pragma once
// The offsets table: a grid whose in-place edits are checked when they end, before the
// cell keeps them.
#include <functional>
#include <string>

#include "widgets/grid/ExGrid.h"

namespace app {

// The offsets table's grid: a typed value reaches a cell only after OnCellValidate
// accepted it; a refused one leaves the cell's text as it was.
class TOffsetGrid : public grid::TExStringGrid {
public:
    using grid::TExStringGrid::TExStringGrid;

    // Ends an edit in progress: checked and kept, or dropped.
    void EndEdit();
    // Drops an edit in progress: the cell keeps its text.
    void CancelEdit() { CancelInplaceEdit(); }
};

// Where "Insert Point" puts a new point in a frame of n points whose current point is p:
// the index it takes and its offsets. With midpoint, the point halves the segment before
// p (after it for the first point); otherwise it is (0, 0) before p. False when n is 0
// and nothing can be said of neighbours; the caller then adds a first point.
struct TNewPoint {
    unsigned index = 0;
    double x = 0, z = 0;
};
bool PlaceNewPoint(const std::vector<double>& X, const std::vector<double>& Z, int p, bool midpoint, TNewPoint& out);

}  // namespace app
