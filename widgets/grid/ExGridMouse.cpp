// The grid's wheel: the current row moves by the wheel step, Ctrl zooms.
#include <algorithm>

#include "base/ScopeGuard.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace grid {

bool TExStringGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled || WheelDelta == 0) return true;
    const int step = std::max(1, WheelScrollLines());
    if ((Shift & ssCtrl) && IntelliZoom) {
        const int d = WheelDelta < 0 ? step : -step;
        Zoom(d);
        return true;
    }
    if (!EnableWheel || (FixedRowAlways() && RowCount() == 1)) return true;
    const int last = RowCount() - FixedFooters() - 1;
    if (last < FixedRows()) return true;
    const int row = std::clamp(Row() + (WheelDelta < 0 ? step : -step), FixedRows(), last);
    if (Col() < FixedCols() && FixedCols() < ColCount()) SetCol(FixedCols());
    const int left = LeftCol();
    StartUpdate();
    {
        base::ScopeExit done([this] { ResetUpdate(); });
        if (row != Row()) SetRowEx(row);
    }
    if ((Options() & goRowSelect) && Navigation.KeepHorizScroll) SetLeftCol(left);
    return true;
}

}  // namespace grid
