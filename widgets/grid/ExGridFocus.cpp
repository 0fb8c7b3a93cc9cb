// The grid's focus, its hover and blink timer, and column scaling with the grid's width.
#include <cmath>

#include "base/StrUtils.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace grid {

namespace {
constexpr UINT kHoverTimer = 111;  // every 500 ms from window creation to destruction

bool HasBlinkTag(const std::string& s)
{
    return base::UpperCase(s).find("<BLI") != std::string::npos;
}
}  // namespace

void TExStringGrid::CreateWnd()
{
    TBaseGrid::CreateWnd();
    SetTimer(kHoverTimer, 500);
    // flat bars chosen before the window existed
    if (scrollType_ != ssNormal) {
        FlatInit();
        FlatUpdate();
    }
}

bool TExStringGrid::HoverTimerTick(UINT id)
{
    if (id != kHoverTimer) return false;
    if (Hovering) {
        // The normal cell under the mouse becomes current.
        TPoint p;
        if (GetCursorPos(p)) {
            p = ShownPoint(ScreenToClient(p));
            const TRect c = ClientRect();
            const TGridCoord cell = MouseCoord(p.X, p.Y);
            if (PtInRect(c, p) && cell.X >= FixedCols() && cell.Y >= FixedRows() && !IsFixed(cell.X, cell.Y) &&
                (cell.X != Col() || cell.Y != Row())) {
                if (CanFocus() && !Focused()) SetFocus();
                SetRow(cell.Y);
                SetCol(cell.X);
            }
        }
    }
    if (EnableBlink) {
        BlinkPhase = !BlinkPhase;
        // Only the cells that blink, in view and in the fixed rows and columns.
        const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
        const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
        auto blink = [&](int c, int r) {
            if (HasBlinkTag(GetCellEx(RemapCol(c), r))) RepaintCell(c, r);
        };
        for (int r = TopRow(); r <= lastRow; ++r)
            for (int c = LeftCol(); c <= lastCol; ++c) blink(c, r);
        for (int r = 0; r < FixedRows(); ++r)
            for (int c = LeftCol(); c <= lastCol; ++c) blink(c, r);
        for (int c = 0; c < FixedCols(); ++c)
            for (int r = TopRow(); r <= lastRow; ++r) blink(c, r);
    }
    return true;
}

void TExStringGrid::WMSetFocus(TWMSetFocus& m)
{
    // The first focus after an editor link's pop-up closed does nothing of the grid's own.
    if (LinkFormClosed) {
        LinkFormClosed = false;
        TCustomControl::WMSetFocus(m);
        return;
    }
    TBaseGrid::WMSetFocus(m);
    const TPoint b = BaseCell(GetRealCol(), Row());
    if (HasCheckBox(b.X, b.Y)) return;
    const bool fromEditor = InplaceEditor() && m.WParam == WPARAM(InplaceEditor());
    const TRect cell = CellRect(Col(), Row());
    if (Navigation.AlwaysEdit && !fromEditor && !IsRectEmpty(cell) && GridState() == gsNormal &&
        (ActiveEditorType == edNormal || !InplaceEditor()) && !EditActive && !inDoneInplaceEdit_)
        ShowEditor();
}

void TExStringGrid::DoEnter()
{
    if (inDoneInplaceEdit_) return;
    TBaseGrid::DoEnter();
    InitValidate(Col(), Row());
}

void TExStringGrid::SynchColumns()
{
    const int w = ClientWidth();
    if (lastWidth_ > 0 && ColumnSize().SynchWithGrid && w != lastWidth_ && !ColumnSize().Stretch()) {
        HideInplaceEdit();
        for (int i = 0; i < ColCount(); ++i)
            SetColWidths(i, int(std::lround(double(ColWidths(i)) * w / lastWidth_)));
    }
    lastWidth_ = w;
}

}  // namespace grid
