// The mouse state's own rules: the way and step of intelli-pan, and when a press on the
// selection becomes a drag.
#include "widgets/grid/GridMouseState.h"

#include <algorithm>
#include <cstdlib>

using namespace platform;

namespace grid {

TPoint TPanState::Direction(bool horizontal, bool vertical) const
{
    const TPoint p = panMouse;
    const int dx = p.X < panFocus.X - kDeadZone ? -1 : p.X > panFocus.X + kDeadZone ? 1 : 0;
    const int dy = p.Y < panFocus.Y - kDeadZone ? -1 : p.Y > panFocus.Y + kDeadZone ? 1 : 0;
    return {horizontal ? dx : 0, vertical ? dy : 0};
}

TPoint TPanState::Step(TPoint cell, TPoint d, const TRect& reach)
{
    int col = std::clamp(cell.X, reach.Left, reach.Right), row = std::clamp(cell.Y, reach.Top, reach.Bottom);
    if ((d.X < 0 && col > reach.Left) || (d.X > 0 && col < reach.Right)) col += d.X;
    if ((d.Y < 0 && row > reach.Top) || (d.Y > 0 && row < reach.Bottom)) row += d.Y;
    return {col, row};
}

TCursor TPanState::CursorFor(TPoint d)
{
    static constexpr TCursor kCursors[3][3] = {{crSizeNWSE, crSizeNS, crSizeNESW},
                                               {crSizeWE, crSizeAll, crSizeWE},
                                               {crSizeNESW, crSizeNS, crSizeNWSE}};
    return kCursors[std::clamp(d.Y, -1, 1) + 1][std::clamp(d.X, -1, 1) + 1];
}

bool TSelectState::HasCell(int c, int r) const
{
    return std::find(selectedCells.begin(), selectedCells.end(), TPoint{c, r}) != selectedCells.end();
}

bool TSelectState::MarkCell(int c, int r, bool on)
{
    const auto it = std::find(selectedCells.begin(), selectedCells.end(), TPoint{c, r});
    if (on == (it != selectedCells.end())) return false;
    if (on) selectedCells.push_back({c, r});
    else selectedCells.erase(it);
    return true;
}

TPoint TSelectState::CellAt(int i) const
{
    if (i < 0 || i >= CellCount())
        throw base::EListError("List index out of bounds (" + std::to_string(i) + ")");
    return selectedCells[size_t(i)];
}

bool TOleDragState::LeftPress(int X, int Y) const { return std::abs(X - olePress.X) > 3 || std::abs(Y - olePress.Y) > 3; }

void TOleDragState::RowsInserted(int row, int count)
{
    if (!oleDragging || oleDragSel.Top < row) return;
    oleDragSel.Top += count;
    oleDragSel.Bottom += count;
}

}  // namespace grid
