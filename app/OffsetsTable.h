#pragma once
// The offsets table: a grid whose in-place edits are checked when they end, before the
// cell keeps them.
#include <functional>
#include <string>

#include "widgets/grid/ExGrid.h"

namespace app {

// Value may be rewritten by the handler; Valid false puts the cell's old text back.
using TCellValidateEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value, bool& Valid)>;

class TOffsetGrid : public grid::TExStringGrid {
public:
    using grid::TExStringGrid::TExStringGrid;

    TCellValidateEvent OnCellValidate;

    // Ends an edit in progress: checked and kept, or put back.
    void EndEdit();
    // Drops an edit in progress: the cell shows its old text again.
    void CancelEdit();

    bool SelectCell(int ACol, int ARow) override;
    void HideEditor() override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;

private:
    void Validate();
    bool pending_ = false, validating_ = false;
    int editCol_ = 0, editRow_ = 0;
    std::string before_;
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
