// The grid's in-place editing: when the editor may open, validation of the typed value,
// the editing keys, and the moves after Enter and Tab.
#include <algorithm>

#include "base/ScopeGuard.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridCheck.h"
#include "widgets/grid/ExGridUndo.h"
#include "widgets/grid/ExInplaceEdit.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlText.h"

using namespace platform;

namespace grid {

namespace {

// One cell back along a line, or to the end of the line before (the last line from the first).
void StepBack(int& along, int& across, int firstAlong, int endAlong, int firstAcross, int endAcross)
{
    if (along > firstAlong) {
        --along;
        return;
    }
    along = endAlong - 1;
    across = across > firstAcross ? across - 1 : endAcross - 1;
}

// Past a cell of the given extra span, or to the start of the next line; true when it
// wrapped past the last line to the first.
bool StepOn(int& along, int& across, int span, int firstAlong, int endAlong, int firstAcross, int endAcross)
{
    if (along + span + 1 < endAlong) {
        along += span + 1;
        return false;
    }
    along = firstAlong;
    if (across + 1 < endAcross) {
        ++across;
        return false;
    }
    across = firstAcross;
    return true;
}

}  // namespace

bool TExStringGrid::IsTextEditorType(TEditorType t)
{
    switch (t) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: return true;
    default: return false;
    }
}

bool TExStringGrid::IsEditable(int ACol, int ARow)
{
    if (!(Options() & goEditing) && !MouseActions.RangeSelectAndEdit && !EditingSwitchedOff) return false;
    const TPoint b = BaseCell(ACol, ARow);
    bool can = true, fixed = false;
    GetCellReadOnly(b.X, b.Y, can);
    if (!can) return false;
    GetCellFixed(b.X, b.Y, fixed);
    return !fixed;
}

bool TExStringGrid::IsPassword(int ACol, int ARow)
{
    bool pw = false;
    GetCellPassword(ACol, ARow, pw);
    return pw;
}

TInplaceEdit* TExStringGrid::CreateEditor() { return new TExInplaceEdit(this); }

bool TExStringGrid::CanEditShow()
{
    if (Validating || hidingControl_) return false;
    if (EditActive && !IsTextEditorType(ActiveEditorType)) return false;  // a control is open
    if (!TBaseGrid::CanEditShow()) return false;
    const int c = RemapCol(Col());
    const TPoint b = BaseCell(c, Row());
    if (!EditActive) {
        if (HasStaticEdit(b.X, b.Y) || !IsEditable(c, Row())) return false;
        TEditorType t = edNormal;
        GetCellEditor(b.X, b.Y, t);
        if (!IsTextEditorType(t)) {
            // An editor control over the cell; the text editor stays hidden.
            if (!HasEditControl(t)) return false;
            ActiveEditorType = t;
            EditStartText = GetCurrentCell();
            EditActive = true;
            InitValidate(Col(), Row());
            ShowEditControl(RemapColInv(b.X), b.Y);
            EditStarted = true;
            return false;
        }
        ActiveEditorType = t;
        EditStartText = GetCurrentCell();
        EditActive = true;
        InitValidate(Col(), Row());
    }
    EditStarted = true;
    ValidatePending = true;
    return true;
}

void TExStringGrid::InitValidate(int ACol, int ARow)
{
    ValidateCol = ACol;
    ValidateRow = ARow;
    ValidateOldText = GetCellEx(RemapCol(ACol), ARow);
    ValidateOldWideText = DecodeWideStr(ValidateOldText);
}

bool TExStringGrid::Validate(const std::function<void(int c, int r, bool& valid)>& judge)
{
    if (!ValidatePending || Validating) return true;
    ValidatePending = false;
    Validating = true;
    // Cleared on every way out: a throwing handler must not switch validation off.
    struct Guard {
        TExStringGrid* g;
        bool done = false;
        ~Guard()
        {
            g->Validating = false;
            if (!done) g->ValidatePending = true;  // the value was not judged: still due
        }
    } guard{this};
    bool valid = true;
    judge(RemapCol(ValidateCol), ValidateRow, valid);
    guard.done = true;
    if (!valid) ValidatePending = true;
    else InitValidate(Col(), Row());
    return valid;
}

bool TExStringGrid::ValidateCell(const std::string& Value)
{
    return Validate([&](int c, int r, bool& valid) {
        if (Value == ValidateOldText) return;
        std::string v = Value;
        if (cellChecker_ && cellChecker_->AutoCorrect) v = cellChecker_->Correct(c, r, v);
        if (OnCellValidate) OnCellValidate(this, c, r, v, valid);
        if (cellChecker_ && cellChecker_->AutoMarkError) v = cellChecker_->MarkError(c, r, v);
        if (valid) {
            const std::string before = GetCellEx(c, r);
            UpdateEditingCell(c, r, v);
            if (UndoRedo && before != v) UndoRedo->RegisterChange(c, RemapRowInv(r), before, v);
        }
        else SetCellEx(c, r, v != Value ? v : ValidateOldText);  // refused: the old text or the handler's
        CellsChanged(TRect{c, r, c, r});
        ValidateOldText = GetCellEx(c, r);
    });
}

void TExStringGrid::UpdateEditingCell(int ACol, int ARow, const std::string& Value)
{
    SetEditText(RemapColInv(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TExStringGrid::RestoreCache()
{
    SetCellEx(GetRealCol(), Row(), EditStartText);
    RepaintCell(Col(), Row());
}

bool TExStringGrid::CommitEdit()
{
    if (EditActive && !IsTextEditorType(ActiveEditorType)) return CommitEditControl();
    TInplaceEdit* ed = InplaceEditor();
    if (!ed || !ed->Visible() || advance_.discarding) return true;
    if (Validating) return false;
    const std::string text = ed->Text();
    const int c = Col(), r = Row();
    if (text == GetEditText(c, r)) return true;  // unchanged: nothing to judge
    if (ValidateCol != c || ValidateRow != r) InitValidate(c, r);
    const std::string before = GetCellEx(RemapCol(c), r);
    ValidatePending = true;
    if (ValidateCell(text)) {
        const std::string now = GetEditText(c, r);
        if (ed->Text() != now) ed->SetText(now);
        return true;
    }
    // Refused: the cell keeps its text; the editor keeps the value (or the handler's) to mend.
    if (GetCellEx(RemapCol(c), r) != before) ed->SetText(GetEditText(c, r));
    if (HandleAllocated() && CanFocus() && ed->Visible()) ed->SetFocus();
    return false;
}

void TExStringGrid::CancelInplaceEdit()
{
    TInplaceEdit* ed = InplaceEditor();
    if (!ed || !ed->Visible()) return;
    // The editor gets the cell's text back and closes without judging anything.
    advance_.discarding = true;
    {
        base::ScopeExit done([this] { advance_.discarding = false; });
        ed->SetText(GetEditText(Col(), Row()));
        TBaseGrid::HideEditor();
    }
    EditActive = false;
    if (ValidatePending) RestoreCache();
    ValidatePending = false;
}

void TExStringGrid::UpdateText()
{
    // The cell is written only by validation; the editor's changes are reported.
    TInplaceEdit* ed = InplaceEditor();
    if (ed && ed->Visible() && OnEditChange) OnEditChange(this, GetRealCol(), Row(), ed->Text());
}

void TExStringGrid::HideEditor()
{
    if (EditActive && !IsTextEditorType(ActiveEditorType)) HideEditControl(Col(), Row());
    else CommitEdit();
    TBaseGrid::HideEditor();
    EditActive = false;
}

void TExStringGrid::ShowInplaceEdit()
{
    const TPoint b = BaseCell(GetRealCol(), Row());
    if (!HasStaticEdit(b.X, b.Y)) ShowEditor();
}

void TExStringGrid::HideInplaceEdit()
{
    if (!EditorMode()) return;
    HideEditor();
    SelectCell(Col(), Row());
}

void TExStringGrid::DoneEditing()
{
    if (OnEditingDone) OnEditingDone(this);
}

bool TExStringGrid::SelectCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const bool moving = ACol != Col() || ARow != Row();
    if (moving && !CommitEdit()) return false;
    bool allow = true;
    if (ARow != Row() && OnRowChanging) OnRowChanging(this, Row(), ARow, allow);
    if (ACol != Col() && OnColChanging) OnColChanging(this, Col(), ACol, allow);
    if (moving && !advance_.advancing && OnCellChanging) OnCellChanging(this, Row(), Col(), ARow, ACol, allow);
    if (!allow || (ACol == 0 && nodeCount_ > 0 && !(Options() & goRowSelect))) return false;
    const int oldCol = Col(), oldRow = Row();
    if (moving) SwitchEditing(ACol, ARow);
    if (moving && IsFixed(ACol, ARow)) return false;
    if (!TBaseGrid::SelectCell(ACol, ARow)) return false;
    if (moving && !RowIndicator().Empty() && FixedCols() > 0) {
        RepaintCell(0, oldRow);
        RepaintCell(0, ARow);
    }
    if (ActiveCellShow && moving) UpdateActiveCells(oldCol, oldRow, ACol, ARow);
    if (ARow != lastReportedRow_ && OnRowUpdate && updateCount_ == 0 && moving) {
        const int last = lastReportedRow_;
        lastReportedRow_ = ARow;
        OnRowUpdate(this, last, ARow);
    }
    if (moving) EditStartText = GetCellEx(RemapCol(ACol), ARow);
    return true;
}

// ---------------------------------------------------------------- keys

void TExStringGrid::KeyDown(Word& Key, TShiftState Shift)
{
    const int leftBefore = LeftCol();
    const TPoint before{Col(), Row()};
    if (KeyDownFirst(Key, Shift)) return;
    const Word key = Key;
    GridKeyDown(Key, Shift);
    KeyDownAfter(key, Shift, before, leftBefore);
}

void TExStringGrid::GridKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_TAB && (Options() & goTabs) && !(Shift & ssAlt)) {
        TabEdit(Shift & ssShift);
        Key = 0;
        return;
    }
    if (Navigation.SkipFixedCells && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) &&
        !(Shift & ssCtrl)) {
        // Over neighbours that answer fixed to the next cell that does not, or nowhere.
        const int dx = Key == VK_LEFT ? -1 : Key == VK_RIGHT ? 1 : 0, dy = Key == VK_UP ? -1 : Key == VK_DOWN ? 1 : 0;
        const int endCol = ColCount() - FixedRightCols(), endRow = RowCount() - FixedFooters();
        int c = Col() + dx, r = Row() + dy;
        if (c >= FixedCols() && c < endCol && r >= FixedRows() && r < endRow && IsFixed(c, r)) {
            while (c >= FixedCols() && c < endCol && r >= FixedRows() && r < endRow && IsFixed(c, r)) {
                c += dx;
                r += dy;
            }
            if (c >= FixedCols() && c < endCol && r >= FixedRows() && r < endRow) FocusCell(c, r, true);
            Key = 0;
            return;
        }
    }
    if (Key == VK_F2 && !EditorMode() && html::HasHTMLControl(GetCellEx(GetRealCol(), Row()))) {
        // F2 on a cell with form controls goes to its first control.
        AdvanceHTMLEdit(Col(), Row(), "");
        Key = 0;
        return;
    }
    const bool plain = !(Shift & (ssCtrl | ssShift | ssAlt));
    const int lastNormal = RowCount() - 1 - FixedFooters();
    if (Key == VK_DOWN && plain && Navigation.AppendOnArrowDown && Row() == lastNormal && !EditorMode())
        InsertRows(lastNormal + 1, 1);
    if (Key == VK_INSERT && plain && Navigation.AllowInsertRow && !EditorMode()) {
        if (QueryInsertRow(Row())) {
            if (fixed_.fixedRowAlways && lastNormal < FixedRows()) {
                // Only the kept fixed row: the new row goes under it, never above the header.
                DoInsertRow(RowCount() - FixedFooters());
                SetRow(FixedRows());
            } else if (Navigation.InsertPosition == pInsertBefore) DoInsertRow(Row());
            else {
                DoInsertRow(Row() + 1);
                SetRow(Row() + 1);
            }
            CalcFooter(-1);
        }
        Key = 0;
        return;
    }
    if (Key == VK_DELETE && !(Shift & ssAlt) && Navigation.AllowDeleteRow && !EditorMode() &&
        lastNormal >= FixedRows()) {
        bool allow = true;
        if (OnCanDeleteRow) OnCanDeleteRow(this, Row(), allow);
        if (allow) {
            DoDeleteRow(Row());
            InitValidate(Col(), Row());
            CalcFooter(-1);
        }
        Key = 0;
        return;
    }
    TBaseGrid::KeyDown(Key, Shift);
}

void TExStringGrid::KeyPress(char& Key)
{
    TInplaceEdit* ed = InplaceEditor();
    const bool editing = ed && ed->Visible();
    if (Key == 27) {
        if (editing) CancelInplaceEdit();
        Key = 0;
        return;
    }
    if (!editing && ((unsigned char)Key >= 32 || Key == 8) && TypeToFind(Key)) {
        Key = 0;
        return;
    }
    const TPoint b = BaseCell(GetRealCol(), Row());
    if (Key == '\r' && !editing && Focused() && HasStaticEdit(b.X, b.Y)) {
        AdvanceEdit(Col(), Row(), false, false, true, false);
        Key = 0;
        return;
    }
    if (Key == '\r' && editing) {
        if (!CommitEdit()) {
            Key = 0;
            return;
        }
        HideEditor();
        DoneEditing();
        AdvanceEdit(Col(), Row(), false, false, !(GetKeyState(VK_SHIFT) < 0), false);
        Key = 0;
        return;
    }
    TBaseGrid::KeyPress(Key);
}

// ---------------------------------------------------------------- moving the editing cell

int TExStringGrid::FixedColsVis() const { return FixedCols() == 0 && nodeCount_ > 0 ? 1 : FixedCols(); }

int TExStringGrid::NumFixedRightVis() const
{
    if (NumHiddenColumns() == 0) return FixedRightCols();
    int n = 0;
    const int all = ColCount() + NumHiddenColumns();
    for (int c = all - FixedRightCols(); c < all; ++c) n += !IsHiddenColumn(c);
    return n;
}

void TExStringGrid::AdvanceEdit(int ACol, int ARow, bool Force, bool OpenEditor, bool Forward, bool Recursive)
{
    if (!Navigation.AdvanceOnEnter && !Force) return;
    if (MouseActions.RangeSelectAndEdit) SetOptions(Options() | goEditing);
    if (!Recursive) advance_.advanceOrigin = {ACol, ARow};
    const int firstCol = FixedColsVis(), firstRow = FixedRows();
    const int endCol = ColCount() - NumFixedRightVis(), endRow = RowCount() - FixedFooters();
    if (firstCol >= endCol || firstRow >= endRow) return;
    const bool lr = Navigation.AdvanceDirection == adLeftRight;
    int c = ACol, r = ARow;
    // One pass over the normal cells at most: a grid without an editable cell stays put.
    const int cells = (endCol - firstCol) * (endRow - firstRow);
    for (int step = 0; step < cells; ++step) {
        const TPoint span = CellSpan(RemapCol(c), r);
        if (Forward && lr) {
            if (c + std::max(0, span.X) + 1 >= endCol) {
                c = firstCol;
                if (r + 1 < endRow) ++r;
                else {
                    const bool add = Navigation.AdvanceInsert && QueryAddRow();
                    if (!add) r = firstRow;  // round to the first normal row
                    else {
                        AddRow();
                        r = RowCount() - 1 - FixedFooters();
                        if (OnAutoAddRow) OnAutoAddRow(this, r);
                        // A new row with nothing to edit: the current cell goes down to it and stays.
                        bool editable = false;
                        for (int k = firstCol; k < ColCount() && !editable; ++k) editable = IsEditable(RemapCol(k), r);
                        if (!editable) {
                            FocusCell(c, r, true);
                            return;
                        }
                    }
                }
            } else c += std::max(0, span.X) + 1;
        } else if (Forward) {
            if (r + std::max(0, span.Y) + 1 >= endRow) {
                r = firstRow;
                if (c + 1 < endCol) ++c;
                else if (Navigation.AdvanceInsert) {
                    SetColCount(ColCount() + 1);
                    c = ColCount() - 1 - FixedRightCols();
                    if (OnAutoInsertCol) OnAutoInsertCol(this, c);
                } else c = firstCol;
                Invalidate();
            } else r += std::max(0, span.Y) + 1;
        } else if (lr) StepBack(c, r, firstCol, endCol, firstRow, endRow);
        else StepBack(r, c, firstRow, endRow, firstCol, endCol);
        if (!IsEditable(RemapCol(c), r)) continue;
        bool allow = true;
        if (OnCellChanging) OnCellChanging(this, advance_.advanceOrigin.Y, advance_.advanceOrigin.X, r, c, allow);
        if (!allow) return;
        advance_.advancing = true;
        {
            base::ScopeExit done([this] { advance_.advancing = false; });
            FocusCell(c, r, true);
        }
        if (OpenEditor && Col() == c && Row() == r) ShowEditor();
        return;
    }
}

void TExStringGrid::TabEdit(bool Backward)
{
    if (OnKeyDown) {
        Word k = VK_TAB;
        OnKeyDown(this, k, Backward ? TShiftState(ssShift) : TShiftState(0));
        if (k != VK_TAB) return;
    }
    const int firstCol = FixedColsVis(), firstRow = FixedRows();
    const int endCol = ColCount() - NumFixedRightVis(), endRow = RowCount() - FixedFooters();
    if (firstCol >= endCol || firstRow >= endRow) return;
    int c = Col(), r = Row();
    const TPoint span = CellSpan(RemapCol(c), r);
    bool leave = false;
    if (Navigation.TabAdvanceDirection == adLeftRight) {
        if (Backward) StepBack(c, r, firstCol, endCol, firstRow, endRow);
        else leave = StepOn(c, r, std::max(0, span.X), firstCol, endCol, firstRow, endRow);
    } else {
        if (Backward) StepBack(r, c, firstRow, endRow, firstCol, endCol);
        else leave = StepOn(r, c, std::max(0, span.Y), firstRow, endRow, firstCol, endCol);
    }
    leave = leave && Navigation.TabToNextAtEnd;
    FocusCell(c, r, true);
    if (leave && Parent() && Parent()->HandleAllocated()) PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
    if (Navigation.AlwaysEdit && CanFocus()) SetFocus();
}

}  // namespace grid
