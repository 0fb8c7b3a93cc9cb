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

namespace {

// A cell packs into one list entry: column in the low 16 bits, row in the high 16 bits.
int PackCell(int c, int r) { return int((unsigned(r) << 16) | (unsigned(c) & 0xFFFFu)); }
TPoint UnpackCell(int v) { return {int(unsigned(v) & 0xFFFFu), int(unsigned(v) >> 16)}; }

}  // namespace

bool TSelectState::HasCell(int c, int r) const { return selectedCells.IndexOf(PackCell(c, r)) >= 0; }

bool TSelectState::MarkCell(int c, int r, bool on)
{
    const int i = selectedCells.IndexOf(PackCell(c, r));
    if (on == (i >= 0)) return false;
    if (on) selectedCells.Add(PackCell(c, r));
    else selectedCells.Delete(i);
    return true;
}

TPoint TSelectState::CellAt(int i) const { return UnpackCell(selectedCells.Items(i)); }

bool TOleDragState::LeftPress(int X, int Y) const { return std::abs(X - olePress.X) > 3 || std::abs(Y - olePress.Y) > 3; }

void TOleDragState::RowsInserted(int row, int count)
{
    if (!oleDragging || oleDragSel.Top < row) return;
    oleDragSel.Top += count;
    oleDragSel.Bottom += count;
}

}  // namespace grid
