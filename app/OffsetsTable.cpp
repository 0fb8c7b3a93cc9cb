#include "app/OffsetsTable.h"

#include <algorithm>

#include "platform/controls/Grids.h"

namespace app {

void TOffsetGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    if (pending_ && (ACol != editCol_ || ARow != editRow_)) Validate();
    if (!pending_) {
        pending_ = true;
        editCol_ = ACol;
        editRow_ = ARow;
        before_ = Cells(ACol, ARow);
    }
    grid::TExStringGrid::SetEditText(ACol, ARow, Value);
}

void TOffsetGrid::Validate()
{
    if (!pending_ || validating_) return;
    pending_ = false;
    std::string value = Cells(editCol_, editRow_);
    if (value == before_) return;
    validating_ = true;
    bool valid = true;
    if (OnCellValidate) OnCellValidate(this, editCol_, editRow_, value, valid);
    if (editRow_ < RowCount()) SetCellsEx(editCol_, editRow_, valid ? value : before_);
    if (EditorMode() && InplaceEditor() && Col() == editCol_ && Row() == editRow_) InplaceEditor()->UpdateContents();
    validating_ = false;
}

void TOffsetGrid::EndEdit()
{
    if (EditorMode()) HideEditor();
    Validate();
}

void TOffsetGrid::CancelEdit()
{
    if (EditorMode()) grid::TExStringGrid::HideEditor();
    if (pending_ && editRow_ < RowCount()) SetCellsEx(editCol_, editRow_, before_);
    pending_ = false;
}

bool TOffsetGrid::SelectCell(int ACol, int ARow)
{
    Validate();
    return grid::TExStringGrid::SelectCell(ACol, ARow);
}

void TOffsetGrid::HideEditor()
{
    grid::TExStringGrid::HideEditor();
    Validate();
}

bool PlaceNewPoint(const std::vector<double>& X, const std::vector<double>& Z, int p, bool midpoint, TNewPoint& out)
{
    const int n = int(std::min(X.size(), Z.size()));
    if (n == 0) return false;
    p = std::clamp(p, 0, n - 1);
    if (!midpoint) {
        out = {unsigned(p), 0, 0};
        return true;
    }
    // The segment before p; the first point has none, so the one after it.
    const int a = p == 0 ? 0 : p - 1, b = std::min(a + 1, n - 1);
    out.index = unsigned(a == b ? n : b);
    out.x = (X[std::size_t(a)] + X[std::size_t(b)]) / 2;
    out.z = (Z[std::size_t(a)] + Z[std::size_t(b)]) / 2;
    return true;
}

}  // namespace app
