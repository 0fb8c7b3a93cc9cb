// The grid's keyboard beyond moving and editing: check boxes, radio items and buttons by
// key, Home and End, select-all, the clipboard short-cuts, type-to-find, the characters
// typed on the grid, and the per-cell editing switch of the current cell.
#include <algorithm>
#include <cctype>

#include "base/Locale.h"
#include "platform/system/KeyState.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/FloatingFooter.h"
#include "widgets/html/HtmlText.h"

using namespace platform;

namespace grid {

bool TExStringGrid::KeyDownFirst(Word& Key, TShiftState Shift)
{
    const bool ctrl = Shift & ssCtrl, shift = Shift & ssShift, alt = Shift & ssAlt;
    CaretFromMouse = false;  // a key opens editors with their own caret
    if (Key == VK_F2 && MouseActions.RangeSelectAndEdit && !(Options() & goEditing)) SetOptions(Options() | goEditing);
    const int rc = GetRealCol();
    // F2 on a cell with form controls goes to its first control.
    if (Key == VK_F2 && !shift && !ctrl && !alt && EnableHTML && !html::GetNextControlID(GetCellEx(rc, Row()), "").empty()) {
        AdvanceHTMLEdit(Col(), Row(), "");
        Key = 0;
        return true;
    }
    const TPoint b = BaseCell(rc, Row());
    if ((Key == VK_RETURN || Key == VK_SPACE) && HasStaticEdit(b.X, b.Y)) {
        bool can = (Options() & goEditing) || MouseActions.RangeSelectAndEdit;
        if (can) GetCellReadOnly(b.X, b.Y, can);
        if (can) {
            TCellGraphic* g = GetCellGraphic(b.X, b.Y);
            if (Key == VK_SPACE && HasCheckBox(b.X, b.Y) && ToggleCheck(b.X, b.Y, true)) {
                bool state = false;
                GetCheckBoxState(b.X, b.Y, state);
                if (OnCheckBoxClick) OnCheckBoxClick(this, Col(), Row(), state);
            } else if (Key == VK_SPACE && IsRadio(b.X, b.Y) && ToggleRadio(b.X, b.Y, true)) {
                int idx = -1;
                GetRadioIdx(b.X, b.Y, idx);
                if (OnRadioClick) OnRadioClick(this, Col(), Row(), idx);
            } else if (HasButton(b.X, b.Y) && OnButtonClick) OnButtonClick(this, Col(), Row());
            (void)g;
            RepaintCell(Col(), Row());
        }
    }
    // Home and End to the first and last row or column.
    if ((Key == VK_HOME || Key == VK_END) && !ctrl && !alt && !(FixedRowAlways() && RowCount() == 1)) {
        const bool home = Key == VK_HOME;
        if (Navigation.HomeEndKey == heFirstLastRow) {
            int r = FixedRows();
            if (!home) {
                r = RowCount() - 1 - FixedFooters();
                if (FloatingFooter().Visible() && RowCount() > 2) r = std::max(FixedRows(), r - 1);
            }
            if (r >= FixedRows() && r < RowCount()) {
                const TPoint base = BaseCell(rc, r);
                FocusCell(Col(), base.Y, !(shift && (Options() & goRangeSelect)));
                if (MouseActions.DisjunctRowSelect) {
                    ClearRowSelect();
                    SetRowSelect(Row(), true);
                }
            }
            if (OnKeyDown) OnKeyDown(this, Key, Shift);
            Key = 0;
            return true;
        }
        if (Options() & goRowSelect) {
            const int c = home ? FixedCols() : ColCount() - 1 - FixedRightCols();
            if (c >= FixedCols()) {
                SetLeftCol(home ? FixedCols() : std::max(FixedCols(), c - VisibleColCount() + 1));
                FocusCell(c, Row(), true);
            }
            Key = 0;
            return true;
        }
    }
    return false;
}

void TExStringGrid::KeyDownAfter(Word Key, TShiftState Shift, TPoint CellBefore, int LeftBefore)
{
    const bool ctrl = Shift & ssCtrl, shift = Shift & ssShift, alt = Shift & ssAlt;
    // Disjunct row (column) selection follows the navigation keys; Space toggles.
    const bool nav = Key >= VK_PRIOR && Key <= VK_DOWN;
    if (MouseActions.DisjunctRowSelect && (nav || Key == VK_SPACE)) {
        if (Key == VK_SPACE) SetRowSelect(Row(), !GetRowSelect(Row()));
        else {
            if (!shift && !ctrl) ClearRowSelect();
            if (shift)
                for (int r = std::min(CellBefore.Y, Row()); r <= std::max(CellBefore.Y, Row()); ++r) SetRowSelect(r, true);
            else SetRowSelect(Row(), true);
        }
        Invalidate();
    }
    if (MouseActions.DisjunctColSelect && (nav || Key == VK_SPACE)) {
        if (Key == VK_SPACE) SetColSelect(Col(), !GetColSelect(Col()));
        else {
            if (!shift && !ctrl) ClearColSelect();
            if (shift)
                for (int c = std::min(CellBefore.X, Col()); c <= std::max(CellBefore.X, Col()); ++c) SetColSelect(c, true);
            else SetColSelect(Col(), true);
        }
        Invalidate();
    }
    if ((Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) && (Options() & goRowSelect) &&
        Navigation.KeepHorizScroll)
        SetLeftCol(LeftBefore);
    if (Navigation.AllowClipboardShortCuts && !EditorMode()) {
        auto ask = [&](const std::function<void(TObject*, bool&)>& ev) {
            bool allow = true;
            if (ev) ev(this, allow);
            return allow;
        };
        if ((ctrl && Key == 'X') || (shift && Key == VK_DELETE)) {
            if (ask(OnClipboardCut)) CutSelectionToClipboard();
        } else if ((ctrl && Key == 'V') || (shift && Key == VK_INSERT)) {
            if (ask(OnClipboardPaste)) PasteSelectionFromClipboard();
        } else if (ctrl && (Key == 'C' || Key == VK_INSERT)) {
            if (ask(OnClipboardCopy)) CopySelectionToClipboard();
        }
    }
    if (ctrl && !alt && Key == 'A' && (Options() & (goRowSelect | goRangeSelect))) {
        const int right = ColCount() - 1 - FixedRightCols(), bottom = RowCount() - 1 - FixedFooters();
        if (right >= FixedCols() && bottom >= FixedRows()) SetSelection(TGridRect{FixedCols(), FixedRows(), right, bottom});
    }
}

void TExStringGrid::WMChar(TWMChar& m)
{
    unsigned char ch = (unsigned char)m.CharCode();
    if (Navigation.AllowClipboardShortCuts && GetKeyState(VK_CONTROL) < 0 && (ch == 3 || ch == 22 || ch == 24)) return;
    if (ExcelStyleDecimalSeparator && ch == '.' && (m.LParam & (LPARAM(1) << 22)))
        ch = (unsigned char)base::FormatSettings().DecimalSeparator;
    const int rc = GetRealCol();
    const TPoint b = BaseCell(rc, Row());
    // Cells edited by key and mouse take no characters but Enter.
    if (HasStaticEdit(b.X, b.Y) && ch != 13) return;
    if (MouseActions.RangeSelectAndEdit && ch != 9 && IsEditable(rc, Row()) && !(Options() & goEditing))
        SetOptions(Options() | goEditing);
    if ((Options() & goEditing) && (ch == 8 || ch >= 32)) {
        char k = char(ch);
        if (OnKeyPress) OnKeyPress(this, k);
        if (!k) return;
        ch = (unsigned char)k;
    }
    m.SetCharCode(ch);
    TBaseGrid::WMChar(m);
}

bool TExStringGrid::TypeToFind(char Key)
{
    if ((Options() & goEditing) || !Navigation.AutoGotoWhenSorted) return false;
    if (Navigation.AutoGotoIncremental) {
        if (Key == 8) {
            if (!SearchText.empty()) SearchText.pop_back();
        } else SearchText += Key;
    } else SearchText = std::string(1, Key);
    std::string key = SearchText;
    std::transform(key.begin(), key.end(), key.begin(), [](char c) { return char(std::toupper((unsigned char)c)); });
    if (key.empty()) return true;
    const int c = RemapColInv(SortSettings().Column);
    for (int r = FixedRows(); r < RowCount() - FixedFooters(); ++r) {
        std::string t = GetCellEx(RemapCol(c >= 0 ? c : Col()), r);
        std::transform(t.begin(), t.end(), t.begin(), [](char ch) { return char(std::toupper((unsigned char)ch)); });
        if (t.compare(0, key.size(), key) == 0) {
            SetRowEx(r);
            return true;
        }
    }
    SearchText.clear();
    return true;
}

void TExStringGrid::UpdateActiveCells(int OldCol, int OldRow, int NewCol, int NewRow)
{
    RepaintCell(OldCol, 0);
    RepaintCell(0, OldRow);
    RepaintCell(NewCol, 0);
    RepaintCell(0, NewRow);
}

bool TExStringGrid::SwitchEditing(int ACol, int ARow)
{
    // goEditing follows the target: off on a read-only cell, back on an editable one.
    const int rc = RemapCol(ACol);
    const TPoint b = BaseCell(rc, ARow);
    if (HasStaticEdit(b.X, b.Y)) {
        bool can = true;
        GetCellReadOnly(b.X, b.Y, can);
        EditingSwitchedOff = false;
        if (!(Options() & goEditing) && can) SetOptions(Options() | goEditing);
        return can;
    }
    bool can = (Options() & goEditing) || EditingSwitchedOff;
    if (!can) return false;
    GetCellReadOnly(b.X, b.Y, can);
    if (can) {
        const bool was = EditingSwitchedOff;
        EditingSwitchedOff = false;
        if (was && !(Options() & goEditing)) {
            if (!ValidatePending) InitValidate(ACol, ARow);
            SetOptions(Options() | goEditing);
        }
    } else if (Options() & goEditing) {
        EditingSwitchedOff = true;
        SetOptions(Options() & ~goEditing);
    }
    return can;
}

}  // namespace grid
