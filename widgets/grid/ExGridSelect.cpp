// The grid's own mouse selection: the disjunct cell list, whole rows and columns dragged
// over the fixed cells, the hover cell of the list-view look, fixed columns sized at their
// border, the sizing hint, and the drag image and arrows of a moved column or row.
#include <algorithm>
#include <utility>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/Messages.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Cursors.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/FloatingFooter.h"
#include "widgets/grid/HTMLHintWindow.h"
#include "widgets/html/HtmlEngine.h"

using namespace platform;

namespace grid {

namespace {

bool operator!=(const TGridRect& a, const TGridRect& b) { return !(a == b); }

// A 32 x 32 two-colour cursor file: the shape in black with a white rim, the rest clear.
std::string CursorFile(const std::function<bool(int, int)>& ink, int hotX, int hotY)
{
    auto inked = [&](int x, int y) { return x >= 0 && y >= 0 && x < 32 && y < 32 && ink(x, y); };
    std::string xorBits(128, '\0'), andBits(128, '\0');
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool black = inked(x, y);
            bool rim = false;
            for (int dy = -1; dy <= 1 && !black; ++dy)
                for (int dx = -1; dx <= 1; ++dx) rim = rim || inked(x + dx, y + dy);
            const std::size_t at = std::size_t((31 - y) * 4 + x / 8);  // rows bottom-up
            const char bit = char(0x80 >> (x % 8));
            if (rim) xorBits[at] = char(xorBits[at] | bit);
            if (!black && !rim) andBits[at] = char(andBits[at] | bit);
        }
    std::string f;
    auto u8 = [&](int v) { f += char(v & 0xFF); };
    auto u16 = [&](int v) { u8(v); u8(v >> 8); };
    auto u32 = [&](int v) { u16(v & 0xFFFF); u16(v >> 16); };
    u16(0), u16(2), u16(1);
    u8(32), u8(32), u8(2), u8(0), u16(hotX), u16(hotY), u32(40 + 8 + 256), u32(22);
    u32(40), u32(32), u32(64), u16(1), u16(1), u32(0), u32(256), u32(0), u32(0), u32(2), u32(0);
    u32(0x000000), u32(0xFFFFFF);
    return f + xorBits + andBits;
}

// A downward arrow: a shaft, then a head narrowing to its tip at (15..16, 26).
bool ArrowInk(int x, int y)
{
    return (x >= 14 && x <= 17 && y >= 4 && y < 18) || (y >= 18 && y <= 26 && std::abs(2 * x - 31) <= 2 * (26 - y) + 1);
}

// The grid's own cursors, made once: down arrow over a column, right arrow over a row,
// a diagonal arrow over the whole grid or the selection's corner.
HCURSOR SelectCursor(TExStringGrid::TMouseSelectMode mode)
{
    static const HCURSOR column = LoadCursorFromData(CursorFile(
        [](int x, int y) { return ArrowInk(x, y); }, 16, 26));
    static const HCURSOR row = LoadCursorFromData(CursorFile(
        [](int x, int y) { return ArrowInk(y, x); }, 26, 16));
    static const HCURSOR all = LoadCursorFromData(CursorFile(
        [](int x, int y) { return (std::abs(x - y) <= 1 && x >= 6 && x < 20) || (x <= 26 && y <= 26 && x + y >= 40); }, 26, 26));
    switch (mode) {
    case TExStringGrid::msColumn: return column;
    case TExStringGrid::msRow: return row;
    case TExStringGrid::msAll:
    case TExStringGrid::msResizer: return all;
    default: return 0;
    }
}
}  // namespace

// ---------------------------------------------------------------- the disjunct cell list

bool TExStringGrid::GetSelectedCells(int ACol, int ARow) const
{
    return select_.HasCell(ACol, ARow);
}

void TExStringGrid::SetSelectedCells(int ACol, int ARow, bool Value)
{
    if (select_.MarkCell(ACol, ARow, Value)) RepaintCell(ACol, ARow);
}

TPoint TExStringGrid::GetSelectedCell(int Index) const { return select_.CellAt(Index); }

int TExStringGrid::GetSelectedCellsCount()
{
    const TGridRect s = Selection();
    if (s.Left == s.Right && s.Top == s.Bottom) return select_.CellCount();
    for (int c = s.Left; c <= s.Right; ++c)
        for (int r = s.Top; r <= s.Bottom; ++r) select_.MarkCell(c, r, true);
    return select_.CellCount();
}

void TExStringGrid::ClearSelectedCells()
{
    // A grid of fixed cells only has no cell to select.
    if (GetFixedColsEx() < ColCount() && GetFixedRowsEx() < RowCount())
        SetSelection({GetFixedColsEx(), GetFixedRowsEx(), GetFixedColsEx(), GetFixedRowsEx()});
    select_.selectedCells.clear();
    Invalidate();
}

void TExStringGrid::InvalidateGridRect(const TGridRect& ARect)
{
    if (!HandleAllocated()) return;
    const TRect a = CellRect(ARect.Left, ARect.Top), b = CellRect(ARect.Right, ARect.Bottom);
    const TRect u{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom)};
    const TRect shown = ShownRect(u);
    platform::InvalidateRect(Handle(), &shown, false);
}

void TExStringGrid::SetCursorEx(TCursor Value)
{
    SetCursor(Value);
    select_.normalCursor = Value;
}

// ---------------------------------------------------------------- zones under the mouse

TExStringGrid::TMouseSelectMode TExStringGrid::SelectModeAt(int X, int Y, int ACol, int ARow, bool ScrolledUp)
{
    TMouseSelectMode mode = msNone;
    if (InSelectionResizer(X, Y)) mode = msResizer;
    if (ARow >= 0 && ARow < FixedRows() && ACol >= 0) {
        if (ACol < FixedCols()) {
            if (MouseActions.AllSelect) mode = msAll;
        } else if (MouseActions.ColSelect && !InSizeZone(X, Y)) {
            mode = msColumn;
        }
    }
    if (ACol >= 0 && ACol < FixedCols() && ARow >= 0 && (ARow >= FixedRows() || ScrolledUp) && MouseActions.RowSelect &&
        !InSizeZone(X, Y) && !InNodeRect(ARow, X))
        mode = msRow;
    return mode;
}

// ---------------------------------------------------------------- press

bool TExStringGrid::SelectPress(TShiftState Shift, int X, int Y)
{
    select_.leftDown = true;
    MovedSinceDown = ColSizedSinceDown = RowSizedSinceDown = false;
    select_.pressPoint = {X, Y};
    select_.pressLeftCol = LeftCol();
    select_.selectAnchor = -1;
    select_.moveIndex = -1;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    // The cell whose far edge a sizing drag moves, and the press's offset to its corner.
    int sc = -1, sr = -1;
    if (r == 0) MouseToCell(X - 5, Y, sc, sr);
    else if (c == 0) MouseToCell(X, Y - 4, sc, sr);
    else MouseToCell(X - 5, Y - 4, sc, sr);
    select_.sizingStartCell = {sc, sr};
    if (sc >= 0 && sr >= 0) {
        const TRect rc = CellRect(sc, sr);
        select_.sizingOfs = {X - rc.Right, Y - rc.Bottom};
    } else {
        select_.sizingOfs = {0, 0};
    }
    if (c < 0 || r < 0) return false;
    if (select_.fixedColSizing) {
        select_.fixedColSizingActive = true;
        select_.fixedColSizingX = X;
        DrawFixedSizingLine(X);
        return true;
    }
    if (MouseActions.DisjunctRowSelect && r >= FixedRows()) {
        if (!(Shift & ssCtrl)) ClearRowSelect();
        else select_.disjunctToggle = GetRowSelect(MouseActions.RowSelectPersistent ? RemapRowInv(r) : r);
    }
    if (MouseActions.DisjunctColSelect && c >= FixedCols()) {
        if (!(Shift & ssCtrl)) ClearColSelect();
        else select_.disjunctToggle = GetColSelect(c);
    }
    selectMode_ = SelectModeAt(X, Y, c, r, false);
    if (r < FixedRows() && c >= FixedCols()) {
        select_.moveIndex = c;
        select_.grabOfs = {X - CellRect(c, r).Left, Y - CellRect(c, r).Top};
    } else if (c < FixedCols() && r >= FixedRows()) {
        select_.moveIndex = r;
        select_.grabOfs = {X - CellRect(c, r).Left, Y - CellRect(c, r).Top};
    }
    if (!(Options() & goRangeSelect) || ColCount() <= FixedCols() || RowCount() <= FixedRows()) return false;
    TGridRect whole{-1, -1, -1, -1};
    if (MouseActions.AllSelect && c < FixedCols() && r < FixedRows() && selectMode_ == msAll) {
        whole = {FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
    } else if (MouseActions.RowSelect && c < FixedCols() && r >= FixedRows() && selectMode_ == msRow) {
        select_.selectAnchor = r;
        whole = {FixedCols(), r, ColCount() - 1, r};
    } else if (MouseActions.ColSelect && r < FixedRows() && c >= FixedCols() && selectMode_ == msColumn) {
        select_.selectAnchor = c;
        whole = {c, FixedRows(), c, RowCount() - 1};
    }
    if (whole.Left < 0) return false;
    HideInplaceEdit();
    if (CanFocus() && !Focused()) SetFocus();
    const int left = LeftCol(), top = TopRow();
    SetSelection(whole);
    SetLeftCol(left);
    SetTopRow(top);
    select_.moveIndex = -1;
    return true;
}

void TExStringGrid::AfterSelectPress(int X, int Y)
{
    (void)X;
    (void)Y;
    if (GridState() != gsColMoving && GridState() != gsRowMoving) select_.moveIndex = -1;
    select_.dropTarget = {-1, -1};
}

// ---------------------------------------------------------------- fixed-column sizing

void TExStringGrid::DrawFixedSizingLine(int X)
{
    if (!HandleAllocated()) return;
    int bottom = 0;
    for (int r = 0; r < RowCount(); ++r) bottom = std::max(bottom, CellRect(0, r).Bottom);
    bottom = std::max(bottom, ClientHeight());
    HDC dc = Canvas()->Handle();
    const int old = SetROP2(dc, R2_NOT);
    MoveToEx(dc, X, 0, nullptr);
    LineTo(dc, X, bottom);
    SetROP2(dc, old);
}

// ---------------------------------------------------------------- moving: drag image and arrows

void TExStringGrid::HideMoveFeedback()
{
    for (TArrowDirection d : {arrUp, arrDown, arrLeft, arrRight})
        if (arrows_[d]) arrows_[d]->SetVisible(false);
    if (popupButton_) popupButton_->SetVisible(false);
}

void TExStringGrid::ShowDragImage()
{
    TPopupButton* b = PopupButton();
    if (Look == glStudio) {
        SetStudioGradFrom(0xC0C0C0);
        SetStudioGradTo(clWhite);
    }
    b->GradFrom = Look == glStudio || Look == glXP ? gradFrom_ : clNone;
    b->GradTo = Look == glStudio || Look == glXP ? gradTo_ : clNone;
    b->Images = gridImages_;
    b->SetVisible(true);
}

void TExStringGrid::MoveFeedback(int X, int Y, int ACol, int ARow)
{
    const bool cols = GridState() == gsColMoving;
    if (std::abs(X - select_.pressPoint.X) + std::abs(Y - select_.pressPoint.Y) < 3) return;
    TPopupButton* b = PopupButton();
    if (cols && select_.moveIndex >= FixedCols()) {
        b->Caption = GetCellEx(RemapCol(select_.moveIndex), 0);
        b->SetWidth(ColWidths(select_.moveIndex));
        b->SetHeight(RowHeights(0));
    } else if (!cols && select_.moveIndex >= FixedRows()) {
        b->Caption = GetCellEx(RemapCol(0), select_.moveIndex);
        b->SetWidth(ColWidths(0));
        b->SetHeight(RowHeights(select_.moveIndex));
    }
    const TRect image = ShownRect({X - select_.grabOfs.X, Y - select_.grabOfs.Y, X - select_.grabOfs.X + b->Width(), Y - select_.grabOfs.Y + b->Height()});
    const TPoint at = ClientToScreen({image.Left, image.Top});
    b->SetBounds(at.X, at.Y, b->Width(), b->Height());
    if (!b->Visible()) ShowDragImage();
    b->Invalidate();
    if (Screen && Screen->Cursor() != crDrag) Screen->SetCursor(crDrag);

    // The arrows mark where the column or row lands.
    if (cols) {
        if (ACol >= 0) select_.dropTarget = {ACol, ARow};
        const int t = select_.dropTarget.X;
        const bool shown = t >= FixedCols() && t >= LeftCol() && t <= LeftCol() + VisibleColCount();
        TArrowWindow* up = ArrowWindow(arrUp);
        TArrowWindow* down = ArrowWindow(arrDown);
        if (shown) {
            const TRect rc = CellRect(t, 0);
            const int x = t < select_.moveIndex ? rc.Left - 5 : rc.Right - 5;
            // (a right-to-left grid shows them at the mirrored edge)
            const TRect ub = ShownRect({x, rc.Bottom, x + 11, rc.Bottom + 10}), db = ShownRect({x, rc.Top - 8, x + 10, rc.Top + 1});
            const TPoint u = ClientToScreen({ub.Left, ub.Top}), d = ClientToScreen({db.Left, db.Top});
            up->SetBounds(u.X, u.Y, 11, 10);
            down->SetBounds(d.X, d.Y, 10, 9);
        }
        up->SetVisible(shown);
        down->SetVisible(shown);
    } else if (!(FloatingFooter().Active() && ARow == RowCount() - 1)) {
        if (ARow >= 0) select_.dropTarget = {ACol, ARow};
        const int t = select_.dropTarget.Y;
        const bool shown = t >= FixedRows() && t >= TopRow() && t <= TopRow() + VisibleRowCount();
        TArrowWindow* left = ArrowWindow(arrLeft);
        TArrowWindow* right = ArrowWindow(arrRight);
        if (shown) {
            const TRect first = CellRect(0, t);
            const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
            const int rightEdge = std::min(ClientWidth(), CellRect(lastCol, t).Right);
            const int y = t < select_.moveIndex ? first.Top - 5 : first.Bottom - 5;
            // Mirrored right to left: the arrow pointing left is then at the row's start.
            TRect lb = ShownRect({first.Left - 10, y, first.Left - 1, y + 11}), rb = ShownRect({rightEdge, y, rightEdge + 9, y + 11});
            if (GridRightToLeft()) std::swap(lb, rb);
            const TPoint l = ClientToScreen({lb.Left, lb.Top}), r = ClientToScreen({rb.Left, rb.Top});
            left->SetBounds(l.X, l.Y, 9, 11);
            right->SetBounds(r.X, r.Y, 9, 11);
        }
        left->SetVisible(shown);
        right->SetVisible(shown);
    }

    // Past the fixed part or the far edge the view scrolls by one column or row.
    if (cols) {
        if (X < FixedColsWidth() && LeftCol() > FixedCols()) {
            SetLeftCol(LeftCol() - 1);
            Invalidate();
        } else if (X > ClientWidth() && LeftCol() + VisibleColCount() < ColCount()) {
            SetLeftCol(LeftCol() + 1);
            Invalidate();
        }
    } else {
        if (Y < FixedRowsHeight() && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            Invalidate();
        } else if (Y > ClientHeight() && TopRow() + VisibleRowCount() < RowCount()) {
            SetTopRow(TopRow() + 1);
            Invalidate();
        }
    }
}

// ---------------------------------------------------------------- the sizing hint

void TExStringGrid::ShowSizingHint(int X, int Y)
{
    std::string text;
    TPoint at;
    if (select_.fixedColSizingActive) {
        text = "cw=<b>" + std::to_string(select_.fixedColSizingX) + "</b>";
        const TRect rc = CellRect(0, 0);
        at = {rc.Left, rc.Top};
    } else if (GridState() == gsColSizing) {
        const TPoint cell = select_.sizingStartCell.X < 0 ? TPoint{ColCount() - 1, 0} : select_.sizingStartCell;
        const TRect rc = CellRect(cell.X, cell.Y);
        text = "cw=<b>" + std::to_string(X - rc.Left - select_.sizingOfs.X) + "</b>";
        at = {rc.Left, rc.Top};
    } else {
        const TPoint cell = select_.sizingStartCell.Y < 0 ? TPoint{0, RowCount() - 1} : select_.sizingStartCell;
        const TRect rc = CellRect(cell.X, cell.Y);
        text = "rh=<b>" + std::to_string(Y - rc.Top - select_.sizingOfs.Y) + "</b>";
        at = {rc.Left, rc.Top};
    }
    if (!select_.sizingHint) select_.sizingHint = new THTMLHintWindow(this);
    const TPoint s = ClientToScreen(at);
    TRect r = select_.sizingHint->CalcHintRect(200, text, nullptr);
    r = {s.X, s.Y, s.X + r.Width(), s.Y + r.Height()};
    select_.sizingHint->SetColor(HintColor);
    select_.sizingHint->ActivateHint(r, text);
    select_.sizingHintShown = true;
}

void TExStringGrid::HideSizingHint()
{
    if (select_.sizingHint && select_.sizingHintShown) select_.sizingHint->ReleaseHandle();
    select_.sizingHintShown = false;
}

// ---------------------------------------------------------------- links under the mouse

void TExStringGrid::TrackAnchor(int X, int Y, int ACol, int ARow, bool& CursorSet)
{
    std::string anchor;
    if (ACol >= 0 && ARow >= 0) {
        const std::string text = TBaseGrid::Cells(RemapCol(ACol), ARow);
        const TTextType kind = TextType(text, EnableHTML);
        if (URLShow && kind != TTextType::ttHTML && IsURL(text)) {
            SetCursor(crHandPoint);
            CursorSet = true;
        }
        html::HTMLDrawResult res;
        if (kind == TTextType::ttHTML && HTMLHitTest(ACol, ARow, X, Y, res)) anchor = res.AnchorValue;
    }
    if (!anchor.empty()) {
        SetCursor(crHandPoint);
        CursorSet = true;
        if (anchor != select_.currentAnchor) {
            select_.currentAnchor = anchor;
            if (OnAnchorEnter) OnAnchorEnter(this, ARow, ACol, anchor);
        }
    } else if (!select_.currentAnchor.empty()) {
        select_.currentAnchor.clear();
        if (OnAnchorExit) OnAnchorExit(this, ARow, ACol, "");
    }
}

// ---------------------------------------------------------------- move

void TExStringGrid::SelectMove(TShiftState Shift, int X, int Y)
{
    if (select_.leftDown && MouseActions.RangeSelectAndEdit) SetOptions(Options() & ~TGridOptions(goEditing));
    const TGridRect before = Selection();
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);

    if (Look == glListView && !(select_.hoverCell == TPoint{c, r})) {
        if (select_.hoverCell.X >= 0 && select_.hoverCell.Y >= 0 && IsFixed(select_.hoverCell.X, select_.hoverCell.Y))
            RepaintCell(select_.hoverCell.X, select_.hoverCell.Y);
        select_.hoverCell = {c, r};
        if (c >= 0 && r >= 0 && IsFixed(c, r)) RepaintCell(c, r);
    }

    // Whole rows or columns dragged over the fixed cells.
    select_.scrolledUp = false;
    if (select_.selectAnchor >= 0 && MouseActions.RowSelect && selectMode_ == msRow) {
        if (r >= FixedRows() && r < RowCount() - FixedFooters()) {
            const int to = std::max(FixedRows(), r), left = LeftCol(), top = TopRow();
            SetSelection({FixedCols(), std::min(select_.selectAnchor, to), ColCount() - 1, std::max(select_.selectAnchor, to)});
            SetLeftCol(left);
            SetTopRow(top);
        }
        if (Y > ClientHeight() - 4 && TopRow() + VisibleRowCount() < RowCount()) {
            SetTopRow(TopRow() + 1);
        } else if (FixedRows() > 0 && RowCount() > 0 && Y < RowHeights(0) && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            select_.scrolledUp = true;
        }
    }
    if (select_.selectAnchor >= 0 && MouseActions.ColSelect && selectMode_ == msColumn && c >= 0) {
        const int to = std::max(FixedCols(), c), left = LeftCol(), top = TopRow();
        SetSelection({std::min(select_.selectAnchor, to), FixedRows(), std::max(select_.selectAnchor, to), RowCount() - 1});
        SetLeftCol(left);
        SetTopRow(top);
    }

    // The border of a fixed column, where it can be sized.
    select_.fixedColSizing = false;
    {
        int x = 0;
        const int line = TStringGrid::GridLineWidth();
        for (int i = 0; i < FixedCols(); ++i) {
            if (std::abs(x + ColWidths(i) - X) < 3 && c >= 0 && r >= 0) {
                select_.fixedColSizingIndex = i;
                select_.fixedColSizing = MouseActions.SizeFixedCol;
            }
            x += ColWidths(i) + line;
        }
    }
    if (select_.fixedColSizingActive) {
        DrawFixedSizingLine(select_.fixedColSizingX);
        select_.fixedColSizingX = X;
        DrawFixedSizingLine(X);
    }

    bool cursorSet = false;
    const TGridState st = GridState();
    if (st == gsColSizing) ColSizedSinceDown = true;
    if (st == gsRowSizing) RowSizedSinceDown = true;
    if ((st == gsColMoving || st == gsRowMoving) && select_.moveIndex >= 0) {
        bool allow = true;
        if (st == gsColMoving && OnColumnMove) OnColumnMove(this, select_.moveIndex, allow);
        if (st == gsRowMoving && OnRowMove) OnRowMove(this, select_.moveIndex, allow);
        if (!allow) {
            SetGridState(gsNormal);
            KillTimer(1);
            HideMoveFeedback();
            if (Screen && Screen->Cursor() == crDrag) Screen->SetCursor(crDefault);
        } else if (EnhRowColMove && !select_.fixedColSizingActive) {
            MoveFeedback(X, Y, c, r);
            cursorSet = true;
        }
    }
    selectMode_ = SelectModeAt(X, Y, c, r, select_.scrolledUp);
    if (selectMode_ != msNone) {
        cursorSet = true;
        select_.cursorSetInternally = true;
    }

    // Panning shows cursors of its own.
    if (pan_.panning) cursorSet = true;
    else TrackAnchor(X, Y, c, r, cursorSet);

    if (!cursorSet && Cursor() != select_.normalCursor) {
        select_.cursorSetInternally = true;
        SetCursor(select_.normalCursor);
    }

    if (hint_.hintCell.X >= 0 && !(hint_.hintCell == TPoint{c, r})) {
        if (Application) Application->CancelHint();
        hint_.hintCell = {-1, -1};
    }

    if (GridState() == gsSelecting && SelectionRectangle && Selection() != select_.lastSelRect) {
        if (select_.lastSelRect.Left >= 0) InvalidateGridRect(select_.lastSelRect);
        InvalidateGridRect(Selection());
        select_.lastSelRect = Selection();
    }

    TBaseGrid::MouseMove(Shift, X, Y);

    if (Navigation.KeepHorizScroll && select_.leftDown && GridState() != gsColMoving && LeftCol() != select_.pressLeftCol) {
        StartUpdate();
        SetLeftCol(select_.pressLeftCol);
        ResetUpdate();
    }

    if (HintShowSizing && (GridState() == gsColSizing || GridState() == gsRowSizing || select_.fixedColSizingActive))
        ShowSizingHint(X, Y);

    if (EnhRowColMove) Update();
    if (Selection() != before) {
        const TGridRect s = Selection();
        SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    }
}

// ---------------------------------------------------------------- release

void TExStringGrid::SelectRelease(TShiftState Shift, int X, int Y)
{
    (void)Shift;
    select_.leftDown = false;
    HideMoveFeedback();
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (select_.fixedColSizingActive) {
        select_.fixedColSizingActive = false;
        DrawFixedSizingLine(select_.fixedColSizingX);
        const int i = select_.fixedColSizingIndex;
        int before = 0;
        for (int k = 0; k < i; ++k) before += ColWidths(k) + TStringGrid::GridLineWidth();
        int w = std::max(0, X - before);
        SetColWidths(i, w);
        if (OnEndColumnSize) OnEndColumnSize(this, i);
        const int old = w;
        UpdateColSize(i, w);
        if (w != old) SetColWidths(i, std::max(0, w));
    }
    HideSizingHint();

    if (MouseActions.DisjunctRowSelect && c >= 0 && r >= FixedRows() && !(c == 0 && IsNode(RemapRowInv(r)))) {
        const TGridRect s = Selection();
        SelectRows(s.Top, s.Bottom - s.Top + 1);
        if (select_.disjunctToggle) SetRowSelect(MouseActions.RowSelectPersistent ? RemapRowInv(r) : r, false);
    }
    if (MouseActions.DisjunctColSelect && c >= FixedCols() && r >= 0) {
        const TGridRect s = Selection();
        SelectCols(s.Left, s.Right - s.Left + 1);
        if (select_.disjunctToggle) SetColSelect(c, false);
    }
    select_.disjunctToggle = false;

    const TGridState st = GridState();
    if (EnhRowColMove && (st == gsColMoving || st == gsRowMoving) && select_.moveIndex >= 0) {
        if (Screen && Screen->Cursor() == crDrag) Screen->SetCursor(crDefault);
        KillTimer(1);
        SetGridState(gsNormal);
        if (st == gsColMoving && c >= FixedCols() && c != select_.moveIndex) MoveColumn(select_.moveIndex, c);
        if (st == gsRowMoving && r >= FixedRows() && r != select_.moveIndex) MoveRow(select_.moveIndex, r);
    }
    select_.selectAnchor = -1;
    select_.moveIndex = -1;
    select_.dropTarget = {-1, -1};
}

bool TExStringGrid::SelectUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridState st = GridState();
    if (Button == mbLeft) SelectRelease(Shift, X, Y);
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if ((st == gsColSizing && X > ClientWidth()) || (st == gsRowSizing && Y > ClientHeight())) {
        // Let go outside the grid: the sizing is abandoned.
        TWMCancelMode m{};
        TCustomGrid::WMCancelMode(m);
        return true;
    }
    if (MouseActions.DisjunctCellSelect && Button == mbLeft && c >= 0 && r >= 0) {
        const TPoint B = BaseCell(c, r);
        if (!IsFixed(B.X, B.Y)) {
            bool canSelect = true;
            if (OnSelectCell) OnSelectCell(this, B.X, B.Y, canSelect);
            if (!canSelect) return true;
            if (Shift & ssCtrl) {
                SetSelectedCells(B.X, B.Y, !GetSelectedCells(B.X, B.Y));
            } else {
                for (int i = 0; i < select_.CellCount(); ++i) RepaintCell(GetSelectedCell(i).X, GetSelectedCell(i).Y);
                select_.selectedCells.clear();
                select_.MarkCell(B.X, B.Y, true);
            }
            const TGridRect s = Selection();
            if (s.Left != s.Right || s.Top != s.Bottom) {
                for (int cc = s.Left; cc <= s.Right; ++cc)
                    for (int rr = s.Top; rr <= s.Bottom; ++rr)
                        if (!(cc == B.X && rr == B.Y)) select_.MarkCell(cc, rr, true);
                for (int i = 0; i < select_.CellCount(); ++i) RepaintCell(GetSelectedCell(i).X, GetSelectedCell(i).Y);
            }
            RepaintCell(c, r);
        }
    }
    return GridState() == gsColMoving && Button == mbRight;
}

void TExStringGrid::CMMouseLeave(TMessage& m)
{
    TBaseGrid::CMMouseLeave(m);
    if (Look == glListView && select_.hoverCell.X >= 0 && select_.hoverCell.Y >= 0 && IsFixed(select_.hoverCell.X, select_.hoverCell.Y))
        RepaintCell(select_.hoverCell.X, select_.hoverCell.Y);
}

void TExStringGrid::WMCancelMode(TWMCancelMode& m)
{
    const TGridState st = GridState();
    if (EnhRowColMove && (st == gsColMoving || st == gsRowMoving)) {
        if (Screen && Screen->Cursor() == crDrag) Screen->SetCursor(crDefault);
        HideMoveFeedback();
        KillTimer(1);
        SetGridState(gsNormal);
        select_.moveIndex = -1;
    }
    if (select_.fixedColSizingActive) {
        select_.fixedColSizingActive = false;
        DrawFixedSizingLine(select_.fixedColSizingX);
    }
    HideSizingHint();
    TBaseGrid::WMCancelMode(m);
}

void TExStringGrid::WMSetCursor(TWMSetCursor& m)
{
    const HCURSOR c = select_.fixedColSizing ? CursorHandle(crHSplit) : SelectCursor(selectMode_);
    if (c && (m.LParam & 0xFFFF) == HTCLIENT) {
        platform::SetCursor(c);
        m.Result = 1;
        return;
    }
    TBaseGrid::WMSetCursor(m);
}

// ---------------------------------------------------------------- sizing

void TExStringGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    int c = -1, r = -1;
    MouseToCell(X - 6, Y, c, r);
    if (c >= 0 && r >= 0 && r < FixedRows() && OnColumnSize) {
        bool allow = true;
        OnColumnSize(this, c, allow);
        if (!allow) State = gsNormal;
    }
    MouseToCell(X, Y - 6, c, r);
    if (c >= 0 && r >= 0 && c < FixedCols() && OnRowSize) {
        bool allow = true;
        OnRowSize(this, r, allow);
        if (!allow) State = gsNormal;
    }
}

void TExStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    TBaseGrid::RowMoved(FromIndex, ToIndex);
    if (EnhRowColMove) MovedSinceDown = true;
}

}  // namespace grid
