// The grid's side of its in-cell editor controls and editor links: laying a control over
// the cell and loading it, taking its value back through validation, the end of editing
// by a key, the combo item list, and the fixed-cell editor.
#include <cctype>
#include <utility>
#include <vector>

#include "base/DateTime.h"
#include "base/Locale.h"
#include "base/ScopeGuard.h"
#include "base/StrUtils.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GridEditorControls.h"
#include "widgets/grid/ExGridUndo.h"
#include "widgets/grid/ExRichEdit.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridEditLink.h"
#include "widgets/grid/GridEditorSetup.h"
#include "widgets/grid/GridEditors.h"

using namespace platform;

namespace grid {

namespace {

// Posted when a control lost the focus without saying to whom: decided once it settled.
constexpr UINT kCheckEditFocus = WM_USER + 0x511;

template <class T>
T* Made(T*& slot, TExStringGrid* g)
{
    if (!slot) {
        slot = new T(g);
        slot->SetVisible(false);
        slot->SetEnabled(false);
        slot->SetParent(g);
    }
    return slot;
}

}  // namespace

TGridSpin* TExStringGrid::GridSpin()
{
    if (!editControls_.spin) Made(editControls_.spin, this)->SetBorderStyle(bsNone);
    return editControls_.spin;
}
TGridCombo* TExStringGrid::GridCombo() { return Made(editControls_.combo, this); }
TGridUniCombo* TExStringGrid::GridUniCombo() { return Made(editControls_.uniCombo, this); }
TGridUniEdit* TExStringGrid::GridUniEdit()
{
    if (!editControls_.uniEdit) Made(editControls_.uniEdit, this)->SetBorderStyle(bsNone);
    return editControls_.uniEdit;
}
TGridEditBtn* TExStringGrid::GridEditBtn()
{
    if (!editControls_.editBtn) {
        Made(editControls_.editBtn, this)->SetBorderStyle(bsNone);
        editControls_.editBtn->SetButtonCaption("...");
    }
    return editControls_.editBtn;
}
TGridUnitEditBtn* TExStringGrid::GridUnitEditBtn()
{
    if (!editControls_.unitEditBtn) {
        Made(editControls_.unitEditBtn, this)->SetBorderStyle(bsNone);
        editControls_.unitEditBtn->SetButtonCaption("...");
    }
    return editControls_.unitEditBtn;
}
TGridCheckBox* TExStringGrid::GridCheckBox() { return Made(editControls_.checkBox, this); }
TGridButton* TExStringGrid::GridButton() { return Made(editControls_.button, this); }
TGridDatePicker* TExStringGrid::GetDateTimePicker() { return Made(editControls_.datePicker, this); }

TGridTransEdit* TExStringGrid::FixedCellEditor()
{
    if (!editControls_.transEdit) {
        editControls_.transEdit = new TGridTransEdit(this);
        editControls_.transEdit->SetBorderStyle(bsNone);
        editControls_.transEdit->SetParent(this);
    }
    return editControls_.transEdit;
}

void TExStringGrid::FreeEditControls()
{
    // Before the grid goes: their exits call into it.
    EditActive = false;
    if (EditLink && EditLink->Grid() == &linkHost_) EditLink->SetGrid(nullptr);
    TWinControl* all[] = {editControls_.spin,        editControls_.combo,    editControls_.uniCombo,
                          editControls_.uniEdit,     editControls_.editBtn,  editControls_.unitEditBtn,
                          editControls_.checkBox,    editControls_.button,   editControls_.transEdit,
                          editControls_.datePicker};
    for (TWinControl* c : all) delete c;
    editControls_ = {};
}

bool TExStringGrid::HasEditControl(TEditorType t)
{
    switch (t) {
    case edCustom: return EditLink != nullptr;
    case edRichEdit: return richEditor_ || !destroying_;  // made when first shown
    case edNone: case edDataCheckBox: return false;
    default: return !IsTextEditorType(t);
    }
}

TWinControl* TExStringGrid::EditorControl()
{
    const TEditorType t = ActiveEditorType;
    if (IsSpinType(t)) return editControls_.spin;
    if (IsComboType(t)) return editControls_.combo;
    if (IsUniComboType(t)) return editControls_.uniCombo;
    if (IsEditBtnType(t)) return editControls_.editBtn;
    if (IsDateType(t)) return editControls_.datePicker;
    switch (t) {
    case edUniEdit: return editControls_.uniEdit;
    case edUnitEditBtn: return editControls_.unitEditBtn;
    case edCheckBox: return editControls_.checkBox;
    case edButton: return editControls_.button;
    case edRichEdit: return RichEditor();
    case edCustom: return EditLink ? EditLink->GetEditControl() : nullptr;
    default: return nullptr;
    }
}

void TExStringGrid::ShowEditorChar(char Ch)
{
    PendingEditChar = Ch;
    base::ScopeExit done([this] { PendingEditChar = 0; });
    TBaseGrid::ShowEditorChar(Ch);
}

// The grid as the editor setup sees it.
class TExStringGrid::TEditorView final : public TGridEditorControls {
public:
    explicit TEditorView(TExStringGrid& grid) : TGridEditorControls(grid), g(grid) {}

    void EditorCell(int ACol, int ARow, TEditorCell& cell) override
    {
        cell.col = g.RemapCol(ACol);
        cell.row = ARow;
        cell.box = g.ShownRect(g.TCustomGrid::CellRect(ACol, ARow));
        TBrush brush;
        cell.font.Assign(*g.Font());
        TColor colorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TGridDrawState state = 0;
        brush.SetColor(g.Color());
        g.GetVisualProperties(ACol, ARow, state, false, false, true, brush, colorTo, cell.font, ha, va, ww);
        cell.color = brush.Color();
        cell.text = g.GetEditText(ACol, ARow);
        cell.type = g.ActiveEditorType;
        cell.flat = g.Look == glSoft || g.Look == glStudio || g.Look == glXP || g.Look == glListView;
    }
    TEditorRules EditorRules() override
    {
        TEditorRules r;
        r.excelDecimalSeparator = g.ExcelStyleDecimalSeparator;
        r.comboDefaultIndex = g.ComboDefaultIndex;
        r.autoComboDropSize = g.Navigation.AutoComboDropSize;
        r.directComboDrop = g.MouseActions.DirectComboDrop;
        r.directDateDrop = g.MouseActions.DirectDateDrop;
        r.maxEditLength = g.MaxEditLength;
        r.xyOffset = g.XYOffset;
        return r;
    }
    std::string StoredText(int col, int row) override { return g.GetCellEx(col, row); }
    std::u16string WideText(int col, int row) override { return g.GetWideCells(col, row); }
    TWinControl* ShowRichEditor(int col, int row, const TRect& box) override
    {
        g.ShowRichEditor(col, row, box);
        return g.RichEditor();
    }
    TEditLink* Link() override { return g.EditLink; }
    TEditLinkHost* LinkHost() override { return &g.linkHost_; }
    void AdjustLink(int col, int row, TEditLink* link) override
    {
        if (g.OnGetEditorProp) g.OnGetEditorProp(&g, col, row, link);
    }
    void SetActiveControl(TWinControl* control) override { g.ActiveEditControl = control; }
    char TakePendingChar() override { return std::exchange(g.PendingEditChar, char(0)); }

private:
    TExStringGrid& g;
};

void TExStringGrid::ShowEditControl(int ACol, int ARow)
{
    ValidatePending = true;
    TEditorView view(*this);
    TEditorSetup(view, ACol, ARow).Show();
}

std::string TExStringGrid::EditControlText()
{
    const TEditorType t = ActiveEditorType;
    if (t == edFloatSpinEdit) {
        try {
            return FloatCellText(GridSpin()->FloatValue());
        } catch (const EExGridError&) {
            return GridSpin()->Text();  // a format the grid cannot use keeps the typed text
        }
    }
    if (t == edDateSpinEdit) return DateCellText(GridSpin()->DateValue());
    if (IsSpinType(t)) return GridSpin()->Text();
    if (IsComboType(t)) return GridCombo()->Text();
    if (IsEditBtnType(t)) return GridEditBtn()->Text();
    if (t == edUnitEditBtn) return GridUnitEditBtn()->CellText();
    if (t == edUniEdit) return EncodeWideStr(GridUniEdit()->Text());
    if (IsUniComboType(t)) return EncodeWideStr(GridUniCombo()->Text());
    if (t == edCustom && EditLink) return EditLink->GetEditorValue();
    if (t == edRichEdit) return RichToString(RichEditor());
    if (IsDateType(t)) {
        TGridDatePicker* p = GetDateTimePicker();
        if (!p->Checked()) return std::string();
        return t == edTimeEdit ? base::TimeToStr(p->DateTime()) : base::DateToStr(p->DateTime());
    }
    return GetCellEx(GetRealCol(), Row());
}

void TExStringGrid::LoadEditControl()
{
    const TEditorType t = ActiveEditorType;
    const int rc = GetRealCol(), r = Row();
    const std::string text = GetEditText(Col(), r);
    TCustomEdit* edit = nullptr;
    if (IsSpinType(t)) (edit = GridSpin())->SetText(text);
    else if (IsEditBtnType(t)) (edit = GridEditBtn())->SetText(text);
    else if (t == edUnitEditBtn) GridUnitEditBtn()->SetCellText(text);
    else if (t == edUniEdit) {
        GridUniEdit()->SetText(GetWideCells(rc, r));
        edit = GridUniEdit();
    }
    else if (IsComboType(t)) {
        TGridCombo* c = GridCombo();
        if (!SelectEqual(*c, c->Items(), GetCellEx(rc, r)) || c->Style() != csDropDownList) c->SetText(text);
    } else if (IsUniComboType(t)) {
        TGridUniCombo* c = GridUniCombo();
        const WideString wide = GetWideCells(rc, r);
        if (!SelectEqual(*c, c->Items(), wide) || c->Style() != csDropDownList) c->SetText(wide);
    } else if (t == edCustom && EditLink) EditLink->SetEditorValue(text);
    else if (t == edRichEdit) CellToRich(rc, r, RichEditor());
    else if (IsDateType(t)) GetDateTimePicker()->LoadFromCell(GetCellEx(rc, r));
    if (edit) {
        edit->SetSelStart(int(edit->TCustomEdit::Text().size()));
        edit->Invalidate();
    }
}

bool TExStringGrid::CommitEditControl()
{
    const TEditorType t = ActiveEditorType;
    if (!EditActive || IsTextEditorType(t) || t == edCheckBox || t == edButton) return true;
    if (Validating) return false;
    const int c = Col(), r = Row(), rc = RemapCol(c);
    if (ValidateCol != c || ValidateRow != r) InitValidate(c, r);
    ValidatePending = true;
    const std::string before = GetCellEx(rc, r);
    bool valid;
    if (IsWideType(t)) valid = ValidateCellWide(DecodeWideStr(EditControlText()));
    else valid = ValidateCell(EditControlText());
    // A kept value, or the handler's replacement, shows as the cell holds it; a refused
    // one stays in the control to be mended.
    if (valid || GetCellEx(rc, r) != before) LoadEditControl();
    TWinControl* ctl = EditorControl();
    if (!valid && !hidingControl_ && ctl && ctl->Visible() && ctl->CanFocus() && !ctl->Focused()) ctl->SetFocus();
    return valid;
}

void TExStringGrid::HideEditControl(int ACol, int ARow)
{
    (void)ACol;
    (void)ARow;
    PendingEditChar = 0;
    const TEditorType t = ActiveEditorType;
    if (!EditActive || IsTextEditorType(t)) return;
    TWinControl* ctl = EditorControl();
    hidingControl_ = true;
    {
        base::ScopeFail undo([&] {
            hidingControl_ = false;
            EditActive = false;
            if (ctl) ctl->Hide();
        });
        if (!advance_.discarding) CommitEditControl();
    }
    EditActive = false;
    ActiveEditControl = nullptr;
    const bool hadFocus = ctl && (ctl->Focused() || (FindFocusedControl() && ctl->ContainsControl(FindFocusedControl())));
    // The grid takes the focus while the control is still closing: it opens no editor then.
    {
        base::ScopeExit done([this] { hidingControl_ = false; });
        if (hadFocus && CanFocus()) SetFocus();
    }
    if (t == edCustom && EditLink) {
        if (EditLink->EditStyle != esPopup) EditLink->SetVisible(false);
        EditLink->RestoreWinProc();
        // The pop-up goes with the edit: no window stays behind.
        if (EditLink->EditStyle == esPopup && EditLink->PopupForm()) EditLink->PopupForm()->Hide();
    } else if (ctl) {
        if (auto* cb = dynamic_cast<TCustomComboBox*>(ctl)) cb->SetDroppedDown(false);
        ctl->SetEnabled(false);
        ctl->Hide();
    }
    DoneEditing();
}

void TExStringGrid::ShowCellEdit()
{
    if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_F2, 0);
}

void TExStringGrid::HideCellEdit() { HideEditControl(Col(), Row()); }

void TExStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift)
{
    struct Restore {
        TExStringGrid* g;
        bool always;
        ~Restore()
        {
            g->Navigation.AlwaysEdit = always;
            g->inDoneInplaceEdit_ = false;
        }
    } restore{this, Navigation.AlwaysEdit};
    inDoneInplaceEdit_ = true;
    HideInplaceEdit();
    if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
        Word k = Key;
        KeyDown(k, Shift);
    }
    Navigation.AlwaysEdit = false;
    if (CanFocus()) SetFocus();
    if (Key == VK_RETURN) AdvanceEdit(Col(), Row(), false, true, true, false);
}

void TExStringGrid::CancelEditControl(TShiftState Shift)
{
    LoadEditControl();
    advance_.discarding = true;
    base::ScopeExit done([this] { advance_.discarding = false; });
    DoneInplaceEdit(VK_ESCAPE, Shift);
}

void TExStringGrid::EditControlExit(TWinControl* Control, TWinControl* NewFocus)
{
    (void)Control;
    if (!EditActive || IsTextEditorType(ActiveEditorType) || inDoneInplaceEdit_ || hidingControl_) return;
    // Back to the grid itself: the move of the current cell judges the value.
    if (NewFocus == this) return;
    if (!NewFocus) {
        if (HandleAllocated()) PostMessage(Handle(), kCheckEditFocus, 0, 0);
        return;
    }
    HideInplaceEdit();
}

void TExStringGrid::Dispatch(TMessage& m)
{
    if (m.Msg != kCheckEditFocus) {
        TBaseGrid::Dispatch(m);
        return;
    }
    if (!EditActive || IsTextEditorType(ActiveEditorType) || inDoneInplaceEdit_) return;
    TWinControl* focus = FindFocusedControl();
    TWinControl* ctl = EditorControl();
    if (focus == this || (ctl && focus && (focus == ctl || ctl->ContainsControl(focus)))) return;
    HideInplaceEdit();
}

std::string TExStringGrid::EllipsClick(const std::string& S)
{
    std::string s = S;
    if (OnEllipsClick) OnEllipsClick(this, GetRealCol(), Row(), s);
    return s;
}

void TExStringGrid::ComboChange(TObject* Sender)
{
    auto* combo = dynamic_cast<TCustomComboBox*>(Sender);
    if (!combo) return;
    const int i = combo->ItemIndex();
    const std::string text = i >= 0 ? combo->Items().Get(i) : std::string();
    if (OnComboChange) OnComboChange(this, Col(), GetRowEx(), i, text);
    if (OnComboObjectChange)
        OnComboObjectChange(this, Col(), GetRowEx(), i, text,
                            i >= 0 ? static_cast<TObject*>(combo->Items().GetObject(i)) : nullptr);
}

void TExStringGrid::ComboCloseUp()
{
    if (OnComboCloseUp) OnComboCloseUp(this, Row(), Col());
}

// Typing in the combo's edit: no item is selected.
void TExStringGrid::ComboEditChange(const std::string& Text)
{
    if (OnComboChange) OnComboChange(this, Col(), GetRowEx(), -1, Text);
}

void TExStringGrid::ClearComboString() { GridCombo()->Items().Clear(); }
void TExStringGrid::AddComboString(const std::string& S) { GridCombo()->Items().Add(S); }

void TExStringGrid::AddComboStringObject(const std::string& S, TObject* AObject)
{
    TListItems& items = GridCombo()->Items();
    items.PutObject(items.Add(S), AObject);
}

bool TExStringGrid::RemoveComboString(const std::string& S)
{
    TListItems& items = GridCombo()->Items();
    const int i = items.IndexOf(S);
    if (i < 0) return false;
    items.Delete(i);
    return true;
}

bool TExStringGrid::SetComboSelectionString(const std::string& S)
{
    const int i = GridCombo()->Items().IndexOf(S);
    if (i < 0) return false;
    ComboDefaultIndex = i;
    return true;
}

int TExStringGrid::GetComboCount() { return GridCombo()->Items().Count(); }

bool TExStringGrid::ValidateCellWide(const std::u16string& Value)
{
    return Validate([&](int c, int r, bool& valid) {
        if (Value == ValidateOldWideText) return;
        std::u16string v = Value;
        if (OnCellValidateWide) OnCellValidateWide(this, c, r, v, valid);
        if (OnCellValidate) {
            // The narrow handler sees the text on the 8-bit page; a change it makes is taken.
            const std::string narrow = WideToAnsi(v);
            std::string s = narrow;
            OnCellValidate(this, c, r, s, valid);
            if (s != narrow) v = AnsiToWide(s);
        }
        const std::u16string before = GetWideCells(c, r);
        if (valid || v != Value) SetWideCells(c, r, v);  // refused as typed: the cell stays as it was
        if (valid && UndoRedo && before != v) UndoRedo->RegisterChange(c, RemapRowInv(r), EncodeWideStr(before), EncodeWideStr(v));
        CellsChanged(TRect{c, r, c, r});
        ValidateOldWideText = GetWideCells(c, r);
    });
}

void TExStringGrid::SubclassProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE && (Options() & goTabs)) {
        Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
        return;
    }
    if (linkHost_.SavedProc()) linkHost_.SavedProc()(Message);
}

void TExStringGrid::KeyUp(Word& Key, TShiftState Shift)
{
    const Word key = Key;
    // Moves, Insert and Delete end a type-to-find prefix (Home does not).
    if ((key >= VK_PRIOR && key <= VK_END) || (key >= VK_LEFT && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE)
        SearchText.clear();
    TBaseGrid::KeyUp(Key, Shift);
    if (Navigation.AlwaysEdit && ((key >= VK_LEFT && key <= VK_DOWN) || (key == VK_TAB && (Options() & goTabs))))
        ShowInplaceEdit();
}

void TExStringGrid::ControlEditKey(TObject* Sender, char Key)
{
    const TPoint cell = htmlControl_.htmlControlCell;
    const std::string id = htmlControl_.htmlControlID;
    ControlExit(Sender);
    if (Key == '\r' || Navigation.AdvanceAuto) {
        if (CanFocus()) SetFocus();
        if (Key == '\t') AdvanceEdit(Col(), Row(), true, false, true, false);
        return;
    }
    AdvanceHTMLEdit(RemapColInv(cell.X), cell.Y, id);
}

// ---------------------------------------------------------------- fixed cells

void TExStringGrid::StartFixedEdit(int ACol, int ARow)
{
    TGridTransEdit* e = FixedCellEditor();
    if (e->Visible() && !e->StopEdit()) return;
    bool can = true;
    GetCellReadOnly(RemapCol(ACol), ARow, can);
    if (!can) return;
    const TRect r = ShownRect(TCustomGrid::CellRect(ACol, ARow));
    if (IsRectEmpty(r)) return;
    e->SetBounds(r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2);
    e->SetText(GetCellEx(RemapCol(ACol), ARow));
    e->Col = ACol;
    e->Row = ARow;
    e->Show();
    if (e->CanFocus()) e->SetFocus();
}

void TExStringGrid::PlaceCaretFromMouse(TCustomEdit* edit)
{
    if (!CaretFromMouse || !edit) return;
    const TPoint p = edit->ScreenToClient(ClientToScreen(caretPoint_));
    if (!PtInRect(edit->ClientRect(), p)) return;
    edit->SetSelStart(edit->CharFromPos(p));
    CaretFromMouse = false;
}

bool TExStringGrid::EditPress(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && MouseActions.CaretPositioning) {
        CaretFromMouse = true;
        caretPoint_ = TPoint{X, Y};
    }
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0) return false;
    const bool dbl = Shift & ssDouble;
    auto asked = [&](TGridFixedCellEdit how) {
        return (how == fceDblClick && dbl && Button == mbLeft) || (how == fceLeftClick && !dbl && Button == mbLeft) ||
               (how == fceRightClick && Button == mbRight);
    };
    const bool fixedRow = cell.Y < FixedRows(), fixedCol = cell.X < FixedCols();
    if ((fixedRow && asked(MouseActions.FixedRowsEdit)) || (fixedCol && asked(MouseActions.FixedColsEdit))) {
        StartFixedEdit(cell.X, cell.Y);
        return true;
    }
    return false;
}

}  // namespace grid
