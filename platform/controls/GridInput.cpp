// The base grid's keys, mouse, sizing and moving of rows and columns, and its editor.
#include <algorithm>
#include <cstdlib>

#include "platform/controls/Grids.h"
#include "platform/graphics/GDI.h"
#include "base/ScopeGuard.h"

namespace platform {

namespace {
constexpr int kSizingMargin = 3;  // pixels either side of an edge that start sizing
constexpr int kMoveThreshold = 4;
}  // namespace

// ---------------------------------------------------------------- the editor

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    SetTabStop(false);
    SetBorderStyle(bsNone);
    SetAutoSize(false);
    TControl::SetVisible(false);
    grid_ = dynamic_cast<TCustomGrid*>(AOwner);
}

void TInplaceEdit::UpdateLoc(const TRect& r)
{
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    BoundsChanged();
}

void TInplaceEdit::Move(const TRect& r)
{
    UpdateLoc(r);
    Show();
    Invalidate();
}

bool TInplaceEdit::PosEqual(const TRect& r) const { return BoundsRect() == r; }

void TInplaceEdit::Hide()
{
    if (!Visible()) return;
    const bool hadFocus = Focused();
    TControl::Hide();
    if (hadFocus && grid_ && grid_->CanFocus()) grid_->SetFocus();
}

void TInplaceEdit::Deselect() { SetSelStart(int(Text().size())); }

void TInplaceEdit::BoundsChanged()
{
    TRect r = Rect(2, 0, std::max(2, ClientWidth() - 2), ClientHeight());
    Perform(EM_SETRECTNP, 0, LPARAM(&r));
}

void TInplaceEdit::UpdateContents()
{
    if (!grid_) return;
    updating_ = true;
    base::ScopeExit restore([&] { updating_ = false; });
    SetEditMask(grid_->GetEditMask(grid_->Col(), grid_->Row()));
    SetMaxLength(grid_->GetEditLimit());
    SetText(grid_->GetEditText(grid_->Col(), grid_->Row()));
}

void TInplaceEdit::Change()
{
    TCustomEdit::Change();
    if (grid_ && !updating_) grid_->UpdateText();
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (!grid_) {
        TCustomEdit::KeyDown(Key, Shift);
        return;
    }
    const int len = int(Text().size());
    const bool all = SelLength() == len && len > 0;
    const bool forward = grid_->Options() & goAlwaysShowEditor;
    bool toGrid = false;
    switch (Key) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: toGrid = true; break;
    case VK_TAB: toGrid = !(Shift & ssAlt); break;
    case VK_LEFT: toGrid = forward && (all || (SelLength() == 0 && SelStart() == 0)); break;
    case VK_RIGHT: toGrid = forward && (all || (SelLength() == 0 && SelStart() == len)); break;
    case VK_HOME: case VK_END: toGrid = forward && all; break;
    case VK_F2:
        Deselect();
        Key = 0;
        return;
    case VK_DELETE:
        if (!grid_->CanEditModify()) Key = 0;
        break;
    default: break;
    }
    if (toGrid) {
        TCustomGrid* g = grid_;
        g->EditorKeyDown(Key, Shift);
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char& Key)
{
    if (!grid_) {
        TCustomEdit::KeyPress(Key);
        return;
    }
    if (Key == '\t') {
        Key = 0;
        return;
    }
    if (Key == '\r' || Key == 27) {
        grid_->KeyPress(Key);
        Key = 0;
        return;
    }
    const bool clipboardKey = Key == 3 || Key == 22 || Key == 24;
    if (!clipboardKey && (!grid_->CanEditAcceptKey(Key) || !grid_->CanEditModify())) {
        Key = 0;
        return;
    }
    TCustomEdit::KeyPress(Key);
}

void TInplaceEdit::WMGetDlgCode(TWMGetDlgCode& m)
{
    TCustomEdit::WMGetDlgCode(m);
    m.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    if (grid_ && (grid_->Options() & goTabs)) m.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::WMKillFocus(TWMKillFocus& m)
{
    TCustomEdit::WMKillFocus(m);
    if (grid_) grid_->UpdateText();
}

// ---------------------------------------------------------------- the grid's editor protocol

bool TCustomGrid::CanEditShow()
{
    return (options_ & (goEditing | goRowSelect)) == goEditing && editorMode_ && HandleAllocated() &&
           ((options_ & goAlwaysShowEditor) || Focused() || (inplaceEdit_ && inplaceEdit_->Focused()));
}

bool TCustomGrid::CanEditAcceptKey(char) { return true; }
bool TCustomGrid::CanEditModify() { return true; }
std::string TCustomGrid::GetEditText(int, int) { return {}; }
void TCustomGrid::SetEditText(int, int, const std::string&) {}
std::string TCustomGrid::GetEditMask(int, int) { return {}; }
int TCustomGrid::GetEditLimit() { return 0; }

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

void TCustomGrid::SetEditorMode(bool v)
{
    if (v) ShowEditor();
    else HideEditor();
}

void TCustomGrid::ShowEditor()
{
    editorMode_ = true;
    UpdateEdit();
}

void TCustomGrid::ShowEditorChar(char Ch)
{
    ShowEditor();
    if (inplaceEdit_ && inplaceEdit_->Visible()) {
        inplaceEdit_->SelectAll();  // the character replaces the text
        PostMessage(inplaceEdit_->Handle(), WM_CHAR, WPARAM((unsigned char)Ch), 0);
    }
}

void TCustomGrid::HideEditor()
{
    editorMode_ = false;
    if (inplaceEdit_ && inplaceEdit_->Visible()) {
        UpdateText();
        inplaceEdit_->Hide();
        InvalidateCell(current_.X, current_.Y);
    }
}

void TCustomGrid::UpdateText()
{
    if (inplaceEdit_ && inplaceEdit_->Visible() && inplaceEdit_->Text() != GetEditText(current_.X, current_.Y))
        SetEditText(current_.X, current_.Y, inplaceEdit_->Text());
}

void TCustomGrid::UpdateEdit()
{
    if (!CanEditShow()) return;
    if (!inplaceEdit_) {
        inplaceEdit_ = CreateEditor();
        inplaceEdit_->SetGrid(this);
        inplaceEdit_->SetParent(this);
        inplaceEdit_->Font()->Assign(*Font());
    }
    const TRect r = EditorRect(current_.X, current_.Y);
    if (!inplaceEdit_->Visible() || !inplaceEdit_->PosEqual(r)) {
        editStartText_ = GetEditText(current_.X, current_.Y);
        inplaceEdit_->UpdateContents();
        if (IsRectEmpty(r)) inplaceEdit_->UpdateLoc(r);
        else inplaceEdit_->Move(r);
        InvalidateCell(current_.X, current_.Y);
    }
    if (Focused() && inplaceEdit_->Visible()) inplaceEdit_->SetFocus();
}

void TCustomGrid::InvalidateEditor()
{
    if (!inplaceEdit_ || !inplaceEdit_->Visible()) return;
    const TRect r = EditorRect(current_.X, current_.Y);
    if (IsRectEmpty(r)) {
        inplaceEdit_->UpdateLoc(r);
        return;
    }
    if (!inplaceEdit_->PosEqual(r)) inplaceEdit_->UpdateLoc(r);
}

// ---------------------------------------------------------------- keys

void TCustomGrid::WMGetDlgCode(TWMGetDlgCode& m)
{
    m.Result = DLGC_WANTARROWS;
    if (options_ & goTabs) m.Result |= DLGC_WANTTAB;
    if (options_ & goEditing) m.Result |= DLGC_WANTCHARS | DLGC_WANTALLKEYS;
}

void TCustomGrid::WMChar(TWMChar& m)
{
    const unsigned char ch = (unsigned char)m.CharCode();
    if ((options_ & goEditing) && (ch == 8 || ch >= 32)) {
        ShowEditorChar(char(ch));
        return;
    }
    TCustomControl::WMChar(m);
}

void TCustomGrid::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == '\r' && (options_ & goEditing) && !(options_ & goAlwaysShowEditor)) {
        if (editorMode_) HideEditor();
        else ShowEditor();
        Key = 0;
    } else if (Key == 27 && editorMode_) {
        if (inplaceEdit_ && inplaceEdit_->Visible() && inplaceEdit_->Text() != editStartText_) {
            SetEditText(current_.X, current_.Y, editStartText_);
            inplaceEdit_->UpdateContents();
        }
        if (!(options_ & goAlwaysShowEditor)) HideEditor();
        Key = 0;
    }
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (!Key) return;
    const bool ctrl = Shift & ssCtrl;
    TGridCoord cur = current_, tl = topLeft_;
    const int pageRows = std::max(1, VisibleRowCount()), pageCols = std::max(1, VisibleColCount());
    const bool rowSelect = options_ & goRowSelect;
    bool handled = true;
    switch (Key) {
    case VK_UP:
        if (ctrl) --tl.Y;
        else --cur.Y;
        break;
    case VK_DOWN:
        if (ctrl) ++tl.Y;
        else ++cur.Y;
        break;
    case VK_LEFT:
        if (rowSelect || ctrl) tl.X -= ctrl ? pageCols : 1;
        else --cur.X;
        break;
    case VK_RIGHT:
        if (rowSelect || ctrl) tl.X += ctrl ? pageCols : 1;
        else ++cur.X;
        break;
    case VK_NEXT:
        if (ctrl) cur.Y = Layout(true).LastFull();
        else {
            cur.Y += pageRows;
            tl.Y += pageRows;
        }
        break;
    case VK_PRIOR:
        if (ctrl) cur.Y = topLeft_.Y;
        else {
            cur.Y -= pageRows;
            tl.Y -= pageRows;
        }
        break;
    case VK_HOME:
        if (rowSelect || ctrl) cur.Y = fixedRows_;
        if (!rowSelect) cur.X = fixedCols_;
        break;
    case VK_END:
        if (rowSelect || ctrl) cur.Y = rowCount_ - 1;
        if (!rowSelect) cur.X = colCount_ - 1;
        break;
    case VK_TAB: {
        if (!(options_ & goTabs) || (Shift & ssAlt)) {
            handled = false;
            break;
        }
        // The next column with a tab stop, across rows.
        const bool back = Shift & ssShift;
        int c = cur.X, r = cur.Y;
        for (int guard = 0; guard < colCount_ * 2; ++guard) {
            c += back ? -1 : 1;
            if (c >= colCount_) {
                c = fixedCols_;
                r = r + 1 < rowCount_ ? r + 1 : fixedRows_;
            } else if (c < fixedCols_) {
                c = colCount_ - 1;
                r = r - 1 >= fixedRows_ ? r - 1 : rowCount_ - 1;
            }
            if (TabStops(c)) break;
        }
        cur = {c, r};
        Shift &= ~unsigned(ssShift);
        break;
    }
    case VK_F2:
        EditorMode() ? void() : ShowEditor();
        break;
    default: handled = false; break;
    }
    if (!handled) return;
    cur.X = std::clamp(cur.X, fixedCols_, colCount_ - 1);
    cur.Y = std::clamp(cur.Y, fixedRows_, rowCount_ - 1);
    if (!(tl == topLeft_)) MoveTopLeft(tl.X, tl.Y);
    if (!(cur == current_)) {
        const bool extend = (Shift & ssShift) && (options_ & goRangeSelect);
        FocusCell(cur.X, cur.Y, !extend);
    }
    Key = 0;
}

// ---------------------------------------------------------------- mouse

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs)
{
    State = gsNormal;
    Index = -1;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0) return;
    // Edges of columns in the fixed rows, edges of rows in the fixed columns.
    auto near = [&](const Axis& a, int pos, int& index, int& edge) {
        for (int i = 0; i < a.count; ++i) {
            const int s = a.Start(i);
            if (s < 0) continue;
            const int e = s + a.Size(i) + a.line / 2;
            if (std::abs(pos - e) <= kSizingMargin) {
                index = i;
                edge = e;
                return true;
            }
            if (s > pos + kSizingMargin) break;
        }
        return false;
    };
    int edge = 0;
    if ((options_ & goColSizing) && cell.Y < fixedRows_ && near(Layout(false), X, Index, edge)) {
        State = gsColSizing;
        SizingPos = edge;
        SizingOfs = edge - X;
    } else if ((options_ & goRowSizing) && cell.X < fixedCols_ && near(Layout(true), Y, Index, edge)) {
        State = gsRowSizing;
        SizingPos = edge;
        SizingOfs = edge - Y;
    }
}

void TCustomGrid::DrawSizingLine(int pos)
{
    if (!HandleAllocated()) return;
    HDC dc = Canvas()->Handle();
    const int old = SetROP2(dc, R2_NOT);
    const TRect c = ClientRect();
    if (gridState_ == gsColSizing) {
        MoveToEx(dc, pos, 0, nullptr);
        LineTo(dc, pos, c.Bottom);
    } else {
        MoveToEx(dc, 0, pos, nullptr);
        LineTo(dc, c.Right, pos);
    }
    SetROP2(dc, old);
    sizingLineShown_ = !sizingLineShown_;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    clickedCurrent_ = false;
    if (CanFocus() && !Focused() && !(inplaceEdit_ && inplaceEdit_->Focused())) {
        SetFocus();
        if (!Focused() && !(inplaceEdit_ && inplaceEdit_->Focused())) {  // the focus went elsewhere
            TCustomControl::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    if (Button == mbLeft && !(Shift & ssDouble)) {
        pressPos_ = {X, Y};
        TGridState st;
        int index, pos, ofs;
        CalcSizingState(X, Y, st, index, pos, ofs);
        if (st != gsNormal) {
            gridState_ = st;
            sizingIndex_ = index;
            sizingPos_ = pos;
            sizingOfs_ = ofs;
            DrawSizingLine(sizingPos_);
        } else {
            const TGridCoord cell = MouseCoord(X, Y);
            if (cell.X >= 0) {
                if (cell.Y < fixedRows_ && cell.X >= fixedCols_ && (options_ & goColMoving)) {
                    gridState_ = gsColMoving;
                    moveIndex_ = movePos_ = cell.X;
                } else if (cell.X < fixedCols_ && cell.Y >= fixedRows_ && (options_ & goRowMoving)) {
                    gridState_ = gsRowMoving;
                    moveIndex_ = movePos_ = cell.Y;
                } else if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
                    clickedCurrent_ = cell == current_;
                    if (!clickedCurrent_) HideEditor();
                    const bool extend = (Shift & ssShift) && (options_ & goRangeSelect);
                    MoveCurrent(cell.X, cell.Y, !extend, true);
                    gridState_ = gsSelecting;
                }
            }
        }
    }
    lastMouse_ = {X, Y};
    if (gridState_ == gsSelecting || gridState_ == gsColMoving || gridState_ == gsRowMoving) SetTimer(1, 60);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::WMTimer(TWMTimer& m)
{
    if (m.TimerID() != 1) {
        TCustomControl::WMTimer(m);
        return;
    }
    const int X = lastMouse_.X, Y = lastMouse_.Y;
    const TRect c = ClientRect();
    const bool outside = X < 0 || Y < 0 || X >= c.Right || Y >= c.Bottom;
    switch (gridState_) {
    case gsSelecting:
        if (outside) MouseMoveCell(X, Y);
        break;
    case gsColMoving:
    case gsRowMoving: {
        const bool cols = gridState_ == gsColMoving;
        const Axis a = Layout(!cols);
        const int pos = cols ? X : Y;
        int first = a.first;
        if (pos >= a.extent) ++first;
        else if (pos < a.FixedExtent()) --first;
        else break;
        if (cols) MoveTopLeft(first, topLeft_.Y);
        else MoveTopLeft(topLeft_.X, first);
        const Axis now = Layout(!cols);
        movePos_ = pos >= a.extent ? now.LastFull() : now.first;
        break;
    }
    default: KillTimer(1); break;
    }
}

void TCustomGrid::MouseMoveCell(int X, int Y)
{
    // Past an edge of the view the selection reaches one cell further, which scrolls.
    auto beyond = [](const Axis& a, int pos) {
        if (pos >= a.extent) return std::min(a.count - 1, a.LastFull() + 1);
        if (pos < a.FixedExtent() && a.first > a.fixed) return a.first - 1;
        const int at = a.At(pos);
        return at >= a.fixed ? at : (at >= 0 ? a.first : -1);
    };
    const TGridCoord cell{beyond(Layout(false), X), beyond(Layout(true), Y)};
    if (cell.X < fixedCols_ || cell.Y < fixedRows_) return;
    if (!(options_ & goRangeSelect) || (cell == current_)) {
        if (!(options_ & goRangeSelect) && !(cell == current_)) MoveCurrent(cell.X, cell.Y, true, true);
        return;
    }
    MoveCurrent(cell.X, cell.Y, false, true);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    lastMouse_ = {X, Y};
    switch (gridState_) {
    case gsSelecting:
        if (Shift & ssLeft) MouseMoveCell(X, Y);
        break;
    case gsColSizing:
    case gsRowSizing: {
        const int pos = (gridState_ == gsColSizing ? X : Y) + sizingOfs_;
        if (pos != sizingPos_) {
            DrawSizingLine(sizingPos_);  // off
            sizingPos_ = pos;
            DrawSizingLine(sizingPos_);
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        const bool cols = gridState_ == gsColMoving;
        if (std::abs((cols ? X - pressPos_.X : Y - pressPos_.Y)) < kMoveThreshold && movePos_ == moveIndex_) break;
        const Axis a = Layout(!cols);
        const int at = a.At(cols ? X : Y);
        if (at >= a.fixed) movePos_ = at;
        break;
    }
    default: break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridState st = gridState_;
    gridState_ = gsNormal;
    KillTimer(1);
    switch (st) {
    case gsColSizing:
    case gsRowSizing: {
        if (sizingLineShown_) DrawSizingLine(sizingPos_);
        const bool cols = st == gsColSizing;
        sizingPos_ = (cols ? X : Y) + sizingOfs_;
        const Axis a = Layout(!cols);
        const int start = a.Start(sizingIndex_);
        if (start >= 0) {
            const int size = std::max(0, sizingPos_ - start - a.line / 2);
            if (cols) SetColWidths(sizingIndex_, size);
            else SetRowHeights(sizingIndex_, size);
        }
        break;
    }
    case gsColMoving:
        if (movePos_ >= 0 && movePos_ != moveIndex_) MoveColumn(moveIndex_, movePos_);
        break;
    case gsRowMoving:
        if (movePos_ >= 0 && movePos_ != moveIndex_) MoveRow(moveIndex_, movePos_);
        break;
    case gsSelecting:
        // A click on the current cell opens the editor.
        if (clickedCurrent_ && Button == mbLeft && (options_ & goEditing) && MouseCoord(X, Y) == current_)
            ShowEditor();
        break;
    default: break;
    }
    clickedCurrent_ = false;
    moveIndex_ = movePos_ = sizingIndex_ = -1;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::WMCancelMode(TWMCancelMode& m)
{
    if (sizingLineShown_) DrawSizingLine(sizingPos_);
    gridState_ = gsNormal;
    KillTimer(1);
    TCustomControl::WMCancelMode(m);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
    if (current_.Y < rowCount_ - 1) SetRow(current_.Y + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
    if (current_.Y > fixedRows_) SetRow(current_.Y - 1);
    return true;
}

// ---------------------------------------------------------------- focus

void TCustomGrid::WMSetFocus(TWMSetFocus& m)
{
    TCustomControl::WMSetFocus(m);
    InvalidateSelection(Selection());
    if (!inplaceEdit_ || WPARAM(inplaceEdit_) != m.WParam) {
        if (options_ & goAlwaysShowEditor) editorMode_ = true;
        UpdateEdit();
    }
}

void TCustomGrid::WMKillFocus(TWMKillFocus& m)
{
    TCustomControl::WMKillFocus(m);
    InvalidateSelection(Selection());
}

}  // namespace platform
