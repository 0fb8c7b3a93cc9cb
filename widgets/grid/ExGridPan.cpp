// Zoom of the grid's sizes and fonts, and intelli-pan: the middle button marks a focus
// point and a timer moves the current cell towards the mouse until the next press or key.
#include <algorithm>

#include "platform/Messages.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace grid {

namespace {

constexpr UINT kPanTimer = 999;
constexpr int kFocusMarkSize = TPanState::kMarkSize;

}  // namespace

void TExStringGrid::Zoom(int Delta)
{
    if (zoom_ + Delta < -10 || zoom_ + Delta > 10) return;
    zoom_ += Delta;
    // A size that would reach 0 or less stays as it is.
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) + Delta > 0) SetColWidths(c, ColWidths(c) + Delta);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) + Delta > 0) SetRowHeights(r, RowHeights(r) + Delta);
    Invalidate();
}

void TExStringGrid::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_MBUTTONDOWN:
        if (!pan_.panning) {
            if (IntelliPan != ipNone && RowCount() > FixedRows()) {
                TBaseGrid::WndProc(m);
                StartPan(m.XPos(), m.YPos());
                return;
            }
            break;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
        if (pan_.panning) StopPan();
        break;
    case WM_MBUTTONUP:
        if (pan_.panning) {
            // The button's release lets the capture go; panning keeps it.
            TBaseGrid::WndProc(m);
            if (pan_.panning) SetMouseCapture(true);
            return;
        }
        break;
    case WM_CANCELMODE:
        if (pan_.panning) StopPan();
        if (click_.fillDrag) click_.fillDrag = false;
        RaiseHTMLButton();
        if (click_.ButtonHeld()) {
            // The held button rises without a click.
            const TPoint held = click_.pressedButton;
            if (click_.ReleaseButton()) RepaintCell(held.X, held.Y);
            else PushButton(held.X, held.Y, false);
        }
        break;
    default: break;
    }
    TBaseGrid::WndProc(m);
}

void TExStringGrid::WMTimer(TWMTimer& m)
{
    if (HoverTimerTick(m.TimerID())) return;
    if (m.TimerID() == kPanTimer) {
        if (pan_.panning) PanStep();
        else KillTimer(kPanTimer);
        return;
    }
    TBaseGrid::WMTimer(m);
}

void TExStringGrid::StartPan(int X, int Y)
{
    pan_.Start(TPoint{X, Y}, Cursor(), ShowHint());
    SetCursor(crSizeAll);
    SetTimer(kPanTimer, 10);
    SetMouseCapture(true);
    SetShowHint(false);
    DrawIntelliFocusPoint();
}

void TExStringGrid::StopPan()
{
    pan_.panning = false;
    SetMouseCapture(false);
    KillTimer(kPanTimer);
    SetCursor(pan_.panOldCursor);
    SetShowHint(pan_.panOldShowHint);
    EraseIntelliFocusPoint();
}

void TExStringGrid::PanStep()
{
    const TPoint d = pan_.Direction(IntelliPan != ipVertical, IntelliPan != ipHorizontal);
    const TRect reach{GetFixedColsEx(), GetFixedRowsEx(), ColCount() - FixedRightCols() - 1,
                      RowCount() - FixedFooters() - 1};
    if (reach.Bottom < reach.Top || reach.Right < reach.Left) return;
    const TPoint next = TPanState::Step(TPoint{Col(), Row()}, d, reach);
    const int col = next.X, row = next.Y;
    // The view scrolls when the cell leaves it: the mark goes with the old picture (the
    // painting draws it again while panning).
    const bool leaves = col < LeftCol() || col >= LeftCol() + VisibleColCount() || row < TopRow() ||
                        row >= TopRow() + VisibleRowCount();
    if (leaves) EraseIntelliFocusPoint();
    if ((col != Col() || row != Row()) && SelectCell(col, row)) FocusCell(col, row, true);
    SetCursor(TPanState::CursorFor(d));
    DrawIntelliFocusPoint();
}

void TExStringGrid::DrawIntelliFocusPoint()
{
    if (!HandleAllocated()) return;
    // A ring with a dot, and arrow heads along the directions the pan may take; mirrored
    // as the cells are in a right-to-left grid.
    if (GridRightToLeft()) ApplyOrientation();
    TCanvas* cv = Canvas();
    const int x = pan_.panFocus.X, y = pan_.panFocus.Y, m = kFocusMarkSize / 2;
    cv->Pen().SetColor(clBlack);
    cv->Pen().SetWidth(1);
    cv->Brush().SetColor(clWhite);
    cv->Brush().SetStyle(bsSolid);
    cv->Ellipse(x + 4, y + 4, x + kFocusMarkSize - 4, y + kFocusMarkSize - 4);
    cv->Brush().SetColor(clBlack);
    cv->Ellipse(x + m - 2, y + m - 2, x + m + 2, y + m + 2);
    auto head = [&](int cx, int cy, int ux, int uy) {
        const TPoint pts[3] = {{cx + ux * 3, cy + uy * 3}, {cx - ux - uy * 3, cy - uy - ux * 3},
                               {cx - ux + uy * 3, cy - uy + ux * 3}};
        cv->Polygon(pts, 3);
    };
    if (IntelliPan != ipHorizontal) {
        head(x + m, y + 8, 0, -1);
        head(x + m, y + kFocusMarkSize - 8, 0, 1);
    }
    if (IntelliPan != ipVertical) {
        head(x + 8, y + m, -1, 0);
        head(x + kFocusMarkSize - 8, y + m, 1, 0);
    }
}

void TExStringGrid::EraseIntelliFocusPoint()
{
    if (!HandleAllocated()) return;
    const TRect r = ShownRect(pan_.MarkRect());
    platform::InvalidateRect(Handle(), &r, false);
}

}  // namespace grid
