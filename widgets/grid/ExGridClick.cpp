// The grid's mouse buttons: presses on check boxes, radio items, buttons, nodes and links
// in cells, double clicks, right clicks, the header click that sorts, and the drag of the
// selection's corner that fills cells.
#include <algorithm>
#include <vector>

#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Shell.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridUndo.h"
#include "widgets/grid/FloatingFooter.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlText.h"

using namespace platform;

namespace grid {

namespace {

// The drawn button of a cell (its place is kept by the painting), in client pixels.
TRect CellButtonRect(const TCellGraphic& g, const TRect& cell)
{
    const int v = int(g.CellValue);
    const int left = cell.Left + (v & 0xFFFF), top = cell.Top + ((v >> 16) & 0xFFFF);
    return TRect{left, top, left + (g.CellIndex & 0xFFFF), top + ((g.CellIndex >> 16) & 0xFFFF)};
}

bool Inside(const TRect& r, int X, int Y) { return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom; }

bool InGridRect(const TGridRect& r, int c, int row) { return c >= r.Left && c <= r.Right && row >= r.Top && row <= r.Bottom; }

}  // namespace

bool TExStringGrid::HTMLHitTest(int ACol, int ARow, int X, int Y, html::HTMLDrawResult& Result)
{
    const TRect R = CellRect(ACol, ARow);
    const int rc = RemapCol(ACol);
    const std::string text = TBaseGrid::Cells(rc, ARow);
    html::HTMLDrawParams hp;
    // Laid out as painted: mirrored in a right-to-left grid.
    if (GridRightToLeft()) ApplyOrientation();
    hp.Canvas = Canvas();
    hp.Text = text;
    hp.TextRect = TRect{R.Left + XYOffset.X - 1, R.Top + XYOffset.Y, R.Right - XYOffset.X, R.Bottom};
    if (HasCheckBox(rc, ARow)) hp.TextRect.Left += ControlLook().CheckSize();
    hp.HitX = X;
    hp.HitY = Y;
    hp.HitTestOnly = true;
    hp.WordWrap = wordWrap_;
    hp.LinkColor = URLColor;
    hp.PictureCache = pictureCache_.get();
    hp.PictureContainer = pictureContainer_;
    hp.Images = gridImages_;
    return html::HTMLDrawEx(hp, Result);
}

bool TExStringGrid::InSelectionResizer(int X, int Y) const
{
    if (!SelectionResizer) return false;
    const TGridRect s = Selection();
    const TRect r = CellRect(s.Right, s.Bottom);
    if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
    return X >= r.Right - 4 && X <= r.Right + 2 && Y >= r.Bottom - 4 && Y <= r.Bottom + 2;
}

// ---------------------------------------------------------------- presses

void TExStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (EditPress(Button, Shift, X, Y)) return;
    // A press on another cell judges the open editor's value first; a refused one stays.
    if (Button == mbLeft && (EditActive || (InplaceEditor() && InplaceEditor()->Visible()))) {
        const TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= FixedCols() && cell.Y >= FixedRows() && !(cell.X == Col() && cell.Y == Row()) && !CommitEdit())
            return;
    }
    if (Button == mbRight) {
        TBaseGrid::MouseDown(Button, Shift, X, Y);
        RightPress(X, Y);
        return;
    }
    if (Button != mbLeft) {
        TBaseGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Shift & ssDouble) {
        if (!DoubleClickCell(Shift, X, Y)) TBaseGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (OleDragArm(Button, Shift, X, Y)) return;
    const TGridRect before = Selection();
    auto reportSelection = [&] {
        const TGridRect s = Selection();
        if (!(s == before)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    };
    if (SelectPress(Shift, X, Y)) {
        reportSelection();
        return;
    }
    if (ClickPress(Shift, X, Y)) return;
    const TGridCoord cell = MouseCoord(X, Y);
    const TRect R = CellRect(cell.X, cell.Y);
    const TPoint base = cell.X >= 0 && cell.Y >= 0 ? BaseCell(RemapCol(cell.X), cell.Y) : TPoint{-1, -1};
    const int baseCol = RemapColInv(base.X);
    const bool pressedOnCurrent = baseCol == Col() && base.Y == Row() && Selection() == TGridRect{Col(), Row(), Col(), Row()};
    const int left = LeftCol();
    const bool pastView = cell.X >= LeftCol() + VisibleColCount() || cell.Y >= TopRow() + VisibleRowCount();
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (MouseActions.NoAutoRangeScroll && pastView && GridState() == gsSelecting) {
        // A range begun on the cell just past the view does not run on with the view.
        SetGridState(gsNormal);
        KillTimer(1);
    }
    if ((Options() & goRowSelect) && Navigation.KeepHorizScroll && LeftCol() != left) SetLeftCol(left);
    AfterSelectPress(X, Y);
    reportSelection();
    if (cell.X < 0 || cell.Y < 0) return;
    if (OnClickCell) OnClickCell(this, cell.Y, cell.X);
    if (IsMergedCell(base.X, base.Y) && cell.X >= FixedCols() && cell.Y >= FixedRows() && !IsFixed(baseCol, base.Y)) {
        // A press anywhere on a merged block makes its base cell current; a second one edits it.
        if (!(Options() & goRowSelect) && (baseCol != Col() || base.Y != Row()) && SelectCell(baseCol, base.Y))
            FocusCell(baseCol, base.Y, true);
        if (pressedOnCurrent && IsEditable(base.X, base.Y) && !HasStaticEdit(base.X, base.Y) && !EditorMode())
            ShowEditor();
    }
    if (MouseActions.DirectEdit && cell.X >= FixedCols() && cell.Y >= FixedRows() && X > R.Left + 3 &&
        X < R.Right - 3) {
        const int rc = RemapCol(cell.X);
        if (cell.X == Col() && cell.Y == Row() && IsEditable(rc, cell.Y) && !HasStaticEdit(rc, cell.Y) && !EditorMode())
            ShowEditor();
    }
}

bool TExStringGrid::ClickPress(TShiftState Shift, int X, int Y)
{
    click_.ReleaseButton();
    // The selection's corner handle: a drag from it fills cells; the selection stays.
    if (InSelectionResizer(X, Y)) {
        HideInplaceEdit();
        click_.BeginFill(Selection());
        if (CanFocus() && !Focused()) SetFocus();
        return true;
    }
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    click_.pressCell = TPoint{c, r};
    if (c < 0 || r < 0) {
        HideInplaceEdit();
        return FixedRowAlways();
    }
    const TPoint base = BaseCell(RemapCol(c), r);
    const int rc = base.X, dc = RemapColInv(base.X), dr = base.Y;
    const TRect R = CellRect(dc, dr);
    const bool fixedArea = dc < FixedCols() || dr < FixedRows();
    const bool fixed = fixedArea || IsFixed(dc, dr);
    if (fixed) HideInplaceEdit();
    if (fixed && FixedAsButtons && (Options() & goFixedVertLine) && (Options() & goFixedHorzLine)) {
        // A fixed cell drawn as a button goes down until the release.
        TRect e{R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
        if (HandleAllocated()) DrawEdge(Canvas()->Handle(), e, EDGE_SUNKEN, BF_RECT);
        click_.HoldButton(TPoint{dc, dr}, true);
    }

    // Nodes: the fixed row's node expands or contracts all, a row's node its own rows.
    if (dc == 0 && IsNode(dr) && InNodeRect(dr, X - (R.Left + 4 - GridLineWidth()))) {
        if (dr < FixedRows()) {
            if (!MouseActions.NodeAllExpandContract) return false;
            const bool contracted = GetNodeState(dr);
            if (contracted) ExpandAll();
            else ContractAll();
            GetCellGraphic(0, dr)->CellBoolean = !contracted;
            RepaintCell(0, dr);
            return true;
        }
        const int real = RemapRowInv(dr);
        bool allow = true;
        if (GetNodeState(dr)) {
            if (OnBeforeExpandNode) OnBeforeExpandNode(this, dr, real, allow);
            if (allow) {
                ExpandNode(real);
                if (OnExpandNode) OnExpandNode(this, dr, real);
            }
        } else {
            if (OnBeforeContractNode) OnBeforeContractNode(this, dr, real, allow);
            if (allow) {
                ContractNode(real);
                if (OnContractNode) OnContractNode(this, dr, real);
            }
        }
        if (MouseActions.MoveRowOnNodeClick && dr < RowCount()) SetRowEx(dr);
        Invalidate();
        return true;
    }
    if (!fixed && IsRadio(rc, dr) && IsEditable(rc, dr)) {
        HideInplaceEdit();
        HandleRadioClick(rc, dr, X - R.Left, Y - R.Top);
        return true;
    }
    // A button drawn in the cell: held down until the release.
    if (HasButton(rc, dr)) {
        HideInplaceEdit();
        if (!fixed && (dc != Col() || dr != Row()) && SelectCell(dc, dr)) FocusCell(dc, dr, true);
        if (const TCellGraphic* g = GetCellGraphic(rc, dr); g && Inside(CellButtonRect(*g, R), X, Y)) {
            PushButton(dc, dr, true);
            click_.HoldButton(TPoint{dc, dr}, false);
            SetMouseCapture(true);
            if (OnClickCell) OnClickCell(this, dr, dc);
        }
        return true;
    }
    if (dc >= ColCount() || dr >= RowCount()) return false;
    if (!fixedArea && (URLShow || (EnableHTML && TextType(TBaseGrid::Cells(rc, dr), true) == TTextType::ttHTML)) &&
        ClickLink(dc, dr, X, Y))
        return true;
    // Check boxes: a normal cell's, or a header's that checks its whole column.
    bool canEdit = (Options() & goEditing) || MouseActions.RangeSelectAndEdit;
    GetCellReadOnly(rc, dr, canEdit);
    const bool headerCheck = dr < FixedRows() && MouseActions.CheckAllCheck;
    if ((!fixed || headerCheck) && canEdit && HasCheckBox(rc, dr) && IsInCheckBox(dc, dr, X, Y)) {
        HideInplaceEdit();
        if (CanFocus() && !Focused()) SetFocus();
        ToggleCheck(rc, dr, false);
        bool state = false;
        GetCheckBoxState(rc, dr, state);
        if (!fixed && !Navigation.AlwaysEdit && (dc != Col() || dr != Row()) && SelectCell(dc, dr))
            FocusCell(dc, dr, true);
        if (OnCheckBoxClick) OnCheckBoxClick(this, rc, dr, state);
        RepaintCell(dc, dr);
        if (headerCheck) {
            if (state) CheckAll(rc);
            else UnCheckAll(rc);
        }
        if (OnMouseDown) OnMouseDown(this, mbLeft, Shift, X, Y);
        if (OnClick) OnClick(this);
        return true;
    }
    // A cell that answers fixed inside the normal area is only reported (not a fixed footer).
    if (fixed && !fixedArea) {
        const bool footer = FloatingFooter().Visible() && FloatingFooter().FooterStyle() == fsFixedLastRow &&
                            dr == RowCount() - 1;
        if (OnClickCell && !footer) OnClickCell(this, dr, dc);
        return true;
    }
    return false;
}

bool TExStringGrid::ClickLink(int ACol, int ARow, int X, int Y)
{
    const int rc = RemapCol(ACol);
    std::string text = TBaseGrid::Cells(rc, ARow);
    std::string link;
    html::HTMLDrawResult res;
    if (EnableHTML && TextType(text, true) == TTextType::ttHTML) {
        if (!HTMLHitTest(ACol, ARow, X, Y, res)) return false;
        link = res.AnchorValue;
    } else if (URLShow && IsURL(text)) {
        link = text;
    }
    if (!res.ControlID.empty()) {
        if (htmlControl_.htmlControlActive) {
            // The control being edited gives its value back first.
            ControlExit(this);
            text = TBaseGrid::Cells(rc, ARow);
        }
        const std::string type = base::UpperCase(res.ControlType);
        if (type == "BUTTON") {
            htmlControl_.htmlButtonDown = true;
            htmlControl_.htmlButtonCell = TPoint{rc, ARow};
            htmlControl_.htmlButtonPoint = TPoint{X, Y};
            RepaintCell(ACol, ARow);
        } else if (type == "CHECK") {
            const std::string flipped = base::UpperCase(res.ControlValue) == "TRUE" ? "FALSE" : "TRUE";
            if (html::SetControlValue(text, res.ControlID, flipped)) {
                SetCellEx(rc, ARow, text);
                RepaintCell(ACol, ARow);
            }
            res.ControlValue = flipped;
        }
        if (OnControlClick) OnControlClick(this, ARow, rc, res.ControlID, res.ControlType, res.ControlValue);
        ControlEnter(text, type, res.ControlID, res.ControlValue, res.ControlRect, ACol, rc, ARow);
        return true;
    }
    if (link.empty()) return false;
    bool autoHandle = true;
    if (OnAnchorClick) OnAnchorClick(this, ARow, rc, link, autoHandle);
    if (autoHandle) FollowLink(link);
    return true;
}

void TExStringGrid::FollowLink(const std::string& Link)
{
    if (base::UpperCase(Link).rfind("CELL://", 0) == 0) {
        TPoint cell;
        if (!NameToCell(Link.substr(7), cell)) return;
        if (cell.X < FixedCols() || cell.Y < FixedRows() || cell.X >= ColCount() || cell.Y >= RowCount()) return;
        if (SelectCell(cell.X, cell.Y)) FocusCell(cell.X, cell.Y, true);
        ScrollInView(cell.X, cell.Y);
        return;
    }
    // Cell texts may come from files: only web and mail addresses, and only when asked for.
    if (OpenLinks && IsWebLink(Link)) ShellExecute(HandleAllocated() ? Handle() : nullptr, "open", Link, "", "", SW_SHOWNORMAL);
}

void TExStringGrid::RaiseHTMLButton()
{
    if (!htmlControl_.htmlButtonDown) return;
    htmlControl_.htmlButtonDown = false;
    RepaintCell(RemapColInv(htmlControl_.htmlButtonCell.X), htmlControl_.htmlButtonCell.Y);
}

void TExStringGrid::HandleRadioClick(int ACol, int ARow, int X, int Y)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType != ctRadio || !g->RadioItems) return;
    const int dc = RemapColInv(b.X);
    if ((dc != Col() || b.Y != Row()) && SelectCell(dc, b.Y)) FocusCell(dc, b.Y, true);
    TCanvas* cv = Canvas();
    TGridDrawState state = 0;
    TBrush brush;
    TColor colorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wrap = false;
    GetVisualProperties(dc, b.Y, state, false, false, true, brush, colorTo, cv->Font(), ha, va, wrap);
    if (zoom_) cv->Font().SetSize(std::max(1, cv->Font().Size() + zoom_));
    // The items as the painting lays them out from 1 pixel inside the cell.
    const base::TStrings& items = *g->RadioItems;
    const int n = ControlLook().RadioSize(), line = std::max(cv->TextHeight("gh"), 16);
    int at = -1, pos = 1;
    for (int i = 0; i < items.Count() && at < 0; ++i) {
        const int span = g->CellBoolean ? cv->TextWidth(items[i]) + 12 + n : line;
        const int p = g->CellBoolean ? X : Y;
        if (p > pos && p < pos + span) at = i;
        pos += span;
    }
    if (at < 0) return;
    if (g->CellIndex < 0) SetCellEx(b.X, b.Y, items[at]);
    else g->CellIndex = at;
    RepaintCell(dc, b.Y);
    if (OnRadioClick) OnRadioClick(this, b.X, b.Y, at);
}

bool TExStringGrid::DoubleClickCell(TShiftState Shift, int X, int Y)
{
    (void)Shift;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) {
        if (FixedRowAlways()) return true;
        c = ColCount() - 1;
        r = 0;
    }
    if (r < FixedRows() && (Options() & goColSizing)) {
        // On a header edge the column left of it is sized to its contents.
        const TRect R = CellRect(c, r);
        int col = -1;
        if (X - R.Left < 4 && c - 1 >= FixedCols()) col = c - 1;
        else if (R.Right - X < 4 && c >= FixedCols()) col = c;
        if (col >= 0) {
            click_.skipNextUp = true;
            bool allow = true;
            if (OnColumnSize) OnColumnSize(this, col, allow);
            if (allow) {
                SizeToWidth(col, false);
                if (OnEndColumnSize) OnEndColumnSize(this, col);
            }
            return true;
        }
    }
    TBaseGrid::MouseDown(mbLeft, Shift, X, Y);
    if (OnDblClickCell) OnDblClickCell(this, r, c);
    const TPoint b = BaseCell(RemapCol(c), r);
    if (MouseActions.RangeSelectAndEdit && c >= FixedCols() && r >= FixedRows() && IsEditable(b.X, b.Y) &&
        !HasStaticEdit(b.X, b.Y)) {
        SetOptions(Options() | goEditing);
        const int dc = RemapColInv(b.X);
        if ((dc != Col() || b.Y != Row()) && SelectCell(dc, b.Y)) FocusCell(dc, b.Y, true);
        ShowEditor();
    }
    return true;
}

void TExStringGrid::RightPress(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return;
    const bool normal = c >= FixedCols() && r >= FixedRows();
    if (MouseActions.SelectOnRigthClick && normal && !(c == Col() && r == Row()) && SelectCell(c, r))
        FocusCell(c, r, true);
    if (OnRightClickCell) OnRightClickCell(this, r, c);
    // A link cell is edited from the right button: the left one follows the link.
    const int rc = RemapCol(c);
    if (URLShow && URLEdit && normal && IsURL(GetCellEx(rc, r)) && IsEditable(rc, r)) {
        if (!(c == Col() && r == Row()) && SelectCell(c, r)) FocusCell(c, r, true);
        if (c == Col() && r == Row()) ShowEditor();
    }
}

// ---------------------------------------------------------------- moves and releases

void TExStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    if (oleDrag_.oleArmed && (Shift & ssLeft) && OleDragStart(X, Y)) return;
    if (pan_.panning) pan_.panMouse = TPoint{X, Y};
    if (click_.fillDrag) {
        // The selection grows from the one the drag began with to the cell under the mouse.
        int c = -1, r = -1;
        MouseToCell(X, Y, c, r);
        if (c >= 0 && r >= 0) {
            c = std::clamp(c, FixedCols(), ColCount() - 1);
            r = std::clamp(r, FixedRows(), RowCount() - 1);
            const TGridRect o = click_.fillOrigin;
            const TGridRect s{std::min(o.Left, c), std::min(o.Top, r), std::max(o.Right, c), std::max(o.Bottom, r)};
            if (!(s == Selection())) SetSelection(s);
        }
        TCustomControl::MouseMove(Shift, X, Y);
        return;
    }
    SelectMove(Shift, X, Y);
}

void TExStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (oleDrag_.oleArmed && Button == mbLeft) OleDragPressLate();  // a click on the selection after all
    const TGridRect before = Selection();
    auto reportSelection = [&] {
        const TGridRect s = Selection();
        if (!(s == before)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    };
    if (Button != mbLeft) {
        if (!SelectUp(Button, Shift, X, Y)) TBaseGrid::MouseUp(Button, Shift, X, Y);
        reportSelection();
        return;
    }
    const bool skip = click_.TakeSkipUp();
    RaiseHTMLButton();
    if (click_.ButtonHeld()) {
        // The held button rises and is clicked wherever the release lands.
        const TPoint held = click_.pressedButton;
        const bool fixedHeld = click_.ReleaseButton();
        const int rc = RemapCol(held.X);
        bool canEdit = true;
        if (!ControlLook().NoDisabledButtonLook()) GetCellReadOnly(rc, held.Y, canEdit);
        SelectRelease(Shift, X, Y);
        if (fixedHeld) RepaintCell(held.X, held.Y);
        else PushButton(held.X, held.Y, false);
        SetMouseCapture(false);
        if (canEdit && OnButtonClick) OnButtonClick(this, rc, held.Y);
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        return;
    }
    const TGridState state = GridState();
    const TPoint press = click_.TakePressCell();
    if (SelectUp(Button, Shift, X, Y)) return;
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    reportSelection();
    if (click_.fillDrag) {
        EndFillDrag();
        return;
    }
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c >= 0 && r >= 0) {
        // A release on a cell's button belongs to that button.
        const TPoint b = BaseCell(RemapCol(c), r);
        const TCellGraphic* g = HasButton(b.X, b.Y) ? GetCellGraphic(b.X, b.Y) : nullptr;
        if (g && Inside(CellButtonRect(*g, CellRect(RemapColInv(b.X), b.Y)), X, Y)) return;
    }
    const bool moved = (state == gsColMoving || state == gsRowMoving) && !(press.X == c && press.Y == r);
    if (skip || moved || state == gsColSizing || state == gsRowSizing || c < 0 || r < 0) return;
    if (c < FixedCols() && !SortSettings().FixedCols) return;
    const int rc = RemapCol(c);
    bool checked = false;
    int idx = -1;
    if (HasCheckBox(rc, r) && GetCheckBoxState(rc, r, checked)) {
        if (OnCheckBoxMouseUp) OnCheckBoxMouseUp(this, rc, r, checked);
    } else if (IsRadio(rc, r) && GetRadioIdx(rc, r, idx)) {
        if (OnRadioMouseUp) OnRadioMouseUp(this, rc, r, idx);
    }
    const TRect R = CellRect(c, r);
    if (r == 0 && (Options() & goColSizing) && (X - R.Left < 4 || R.Right - X < 4)) return;
    if (GetFilter(rc) && R.Right - X < 16) return;
    if (press.Y == SortSettings().Row() && r == SortSettings().Row() && press.X == c && FixedRows() > 0 &&
        RowCount() > 2 && SortSettings().Show())
        ClickSort(c, Shift);
}

// Node blocks stay together: a grid with nodes sorts inside each node.
void TExStringGrid::SortByClick(int ARealCol)
{
    if (HasNodes()) {
        SortSettings().Column = ARealCol;
        QSortGroup();
    }
    else QSort(ARealCol);
}

void TExStringGrid::ClickSort(int ACol, TShiftState Shift)
{
    TSortSettings& s = SortSettings();
    const int rc = RemapCol(ACol);
    bool doSort = true;
    if (OnCanSort) OnCanSort(this, rc, doSort);
    if (!doSort) {
        RepaintCell(ACol, s.Row());
        return;
    }
    HideInplaceEdit();
    if (PreSortOrder().Count() != RowCount()) InitSortXRef();
    if (s.AutoColumnMerge) UndoColumnMerge();
    const int left = LeftCol();
    BeginUpdate();
    if (s.IndexShow) {
        // Several sort columns: Shift adds this one or turns it round, a plain click makes
        // it the only one (turned round when it was among them).
        TSortIndexList& keys = SortIndexes();
        const int at = keys.FindIndex(rc);
        const bool ascending = s.InitSortDirection == sdAscending;
        if (Shift & ssShift) {
            if (at >= 0) keys.ToggleIndex(rc);
            else keys.AddIndex(rc, ascending);
        } else {
            const bool up = at >= 0 ? keys.SortDirections(at) : ascending;
            keys.Clear();
            keys.AddIndex(rc, up);
        }
        s.Column = keys.SortColumns(0);
        s.Direction = keys.SortDirections(0) ? sdDescending : sdAscending;
        QSortIndexed();
    } else if (s.Column == rc) {
        const bool wasInit = s.Direction == s.InitSortDirection;
        if (s.UndoSort && !wasInit) {
            QUnSort();
            s.Column = -1;
            s.Direction = s.InitSortDirection;
        } else {
            s.Direction = s.Direction == sdAscending ? sdDescending : sdAscending;
            SortByClick(rc);
        }
    } else {
        s.Column = rc;
        s.Direction = s.InitSortDirection;
        SortByClick(rc);
    }
    EndUpdate();
    if ((Options() & goRowSelect) && Navigation.KeepHorizScroll) SetLeftCol(left);
    if (s.AutoColumnMerge) ApplyColumnMerge();
    Invalidate();
    if (OnClickSort) OnClickSort(this, s.Column);
}

void TExStringGrid::EndFillDrag()
{
    click_.fillDrag = false;
    const TGridRect from = click_.fillOrigin, to = Selection();
    if (OnSelectionResize) OnSelectionResize(this, from, to);
    // The first selection's cells repeat over the new one; the clipboard is not used, and
    // every cell is judged as a typed value would be.
    const int w = from.Right - from.Left + 1, h = from.Bottom - from.Top + 1;
    if (w <= 0 || h <= 0) return;
    std::vector<std::string> block(std::size_t(w) * std::size_t(h));
    for (int r = from.Top; r <= from.Bottom; ++r)
        for (int c = from.Left; c <= from.Right; ++c)
            block[std::size_t((r - from.Top) * w + (c - from.Left))] = GetCellEx(RemapCol(c), r);
    bool changed = false;
    for (int r = to.Top; r <= to.Bottom; ++r)
        for (int c = to.Left; c <= to.Right; ++c) {
            if (InGridRect(from, c, r)) continue;
            const int rc = RemapCol(c);
            if (!ClipEditable(rc, r) || !IsBaseCell(rc, r)) continue;
            const int sc = ((c - from.Left) % w + w) % w, sr = ((r - from.Top) % h + h) % h;
            std::string v = block[std::size_t(sr * w + sc)];
            bool valid = true;
            if (OnCellValidate) OnCellValidate(this, rc, r, v, valid);
            if (!valid) continue;
            const std::string before = GetCellEx(rc, r);
            if (before == v) continue;
            PasteInCell(c, r, v);
            if (UndoRedo) UndoRedo->RegisterChange(rc, RemapRowInv(r), before, v);
            changed = true;
        }
    if (changed) CellsChanged(TRect{RemapCol(to.Left), to.Top, RemapCol(to.Right), to.Bottom});
    Invalidate();
}

}  // namespace grid
