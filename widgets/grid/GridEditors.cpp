// The grid's in-cell editor controls: keys handed back to the grid, commits through the
// grid's validation, spin and combo events, and the combos' auto-completion.
#include "widgets/grid/GridEditors.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <type_traits>
#include <vector>

#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Beep.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExInplaceEdit.h"

using namespace platform;

namespace grid {

namespace {

class EInvalidCast : public base::Exception {
public:
    using base::Exception::Exception;
};

// Editing ends and the grid takes the focus.
void CloseToGrid(TExStringGrid* g)
{
    g->HideInplaceEdit();
    if (g->CanFocus()) g->SetFocus();
}

// The keys that end editing in a control. With commit, Tab, Enter, Up and Down have the
// value validated first, and a refused one keeps the control open.
void HandBack(TExStringGrid* g, Word& Key, TShiftState Shift, bool commit)
{
    const Word key = Key;
    Key = 0;
    if (commit && (key == VK_TAB || key == VK_RETURN || key == VK_UP || key == VK_DOWN) && !g->CommitEditControl())
        return;
    if (key == VK_TAB && (g->Options() & goTabs)) {
        CloseToGrid(g);
        g->TabEdit(Shift & ssShift);
        return;
    }
    if (key == VK_ESCAPE) g->CancelEditControl(Shift);
    else g->DoneInplaceEdit(key, Shift);
}

bool OneOf(Word key, std::initializer_list<Word> keys) { return std::find(keys.begin(), keys.end(), key) != keys.end(); }

void WantKeys(TExStringGrid* g, TWMGetDlgCode& m)
{
    m.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    if (g->Options() & goTabs) m.Result |= DLGC_WANTTAB;
}

// The focus went to newFocus: the grid closes the control unless it went inside it.
void FocusLeft(TExStringGrid* g, TWinControl* self, TWMKillFocus& m)
{
    auto* to = reinterpret_cast<TWinControl*>(m.WParam);
    if (to == self || (to && self->ContainsControl(to))) return;
    g->EditControlExit(self, to);
}

}  // namespace

TExStringGrid* OwnerGrid(TComponent* AOwner)
{
    auto* g = dynamic_cast<TExStringGrid*>(AOwner);
    if (!g) throw EInvalidCast("Invalid class typecast");
    return g;
}

template <class Base>
void TGridEditorOf<Base>::WMGetDlgCode(TWMGetDlgCode& m)
{
    Base::WMGetDlgCode(m);
    WantKeys(grid_, m);
}

template <class Base>
void TGridEditorOf<Base>::WMKillFocus(TWMKillFocus& m)
{
    Base::WMKillFocus(m);
    FocusLeft(grid_, this, m);
}

template class TGridEditorOf<TGrdSpinEdit>;
template class TGridEditorOf<TGrdUniEdit>;
template class TGridEditorOf<TGrdEditBtn>;
template class TGridEditorOf<TGrdUnitEditBtn>;
template class TGridEditorOf<TCheckBox>;
template class TGridEditorOf<TButton>;
template class TGridEditorOf<TDateTimePicker>;
template class TGridEditorOf<TGRDComboBox>;
template class TGridEditorOf<TGRDUniComboBox>;

// ---------------------------------------------------------------- spin

TGridSpin::TGridSpin(TComponent* AOwner) : TGridEditorOf(AOwner)
{
    MaxValue = 100;
    MinValue = 0;
    Increment = 1;
}

void TGridSpin::SpinEvent(bool up, bool integerOnly)
{
    TExStringGrid* g = grid_;
    const int c = g->Col(), r = g->GetRealRow();
    if (integerOnly || SpinType() == sptNormal) {
        if (g->OnSpinClick) g->OnSpinClick(g, c, r, Value(), up);
    } else if (SpinType() == sptFloat) {
        if (g->OnFloatSpinClick) g->OnFloatSpinClick(g, c, r, FloatValue(), up);
    } else if (SpinType() == sptDate) {
        if (g->OnDateSpinClick) g->OnDateSpinClick(g, c, r, DateValue(), up);
    } else if (g->OnTimeSpinClick) g->OnTimeSpinClick(g, c, r, TimeValue(), up);
}

void TGridSpin::UpClick()
{
    TGrdSpinEdit::UpClick();
    SpinEvent(true, false);
}

void TGridSpin::DownClick()
{
    TGrdSpinEdit::DownClick();
    SpinEvent(false, false);
}

void TGridSpin::WMKeyDown(TWMKeyDown& m)
{
    Word key = m.CharCode();
    const TShiftState shift = KeyDataToShiftState(m.KeyData());
    if (OneOf(key, {VK_PRIOR, VK_NEXT, VK_HOME, VK_END})) {
        if (SpinType() == sptNormal) {
            const long long v = Value();
            if (key == VK_PRIOR && v + Increment <= MaxValue) SetValue(int(v + Increment));
            if (key == VK_NEXT && v - Increment >= MinValue) SetValue(int(v - Increment));
            if (key == VK_END) SetValue(MinValue);
            if (key == VK_HOME) SetValue(MaxValue);
        } else if (SpinType() == sptFloat) {
            const double v = FloatValue();
            if (key == VK_PRIOR && v + IncrementFloat <= MaxFloatValue) SetFloatValue(v + IncrementFloat);
            if (key == VK_NEXT && v - IncrementFloat >= MinFloatValue) SetFloatValue(v - IncrementFloat);
            if (key == VK_END) SetFloatValue(MinFloatValue);
            if (key == VK_HOME) SetFloatValue(MaxFloatValue);
        }
        SpinEvent(key == VK_PRIOR || key == VK_HOME, true);
        m.SetCharCode(0);
        return;
    }
    if (OneOf(key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN})) {
        HandBack(grid_, key, shift, true);
        m.SetCharCode(0);
        return;
    }
    TGrdSpinEdit::WMKeyDown(m);
}

void TGridSpin::KeyPress(char& Key)
{
    if (Key == '\t' || Key == '\r') Key = 0;
    else TGrdSpinEdit::KeyPress(Key);
}

// ---------------------------------------------------------------- combos

template <class Base>
TGridComboOf<Base>::TGridComboOf(TComponent* AOwner) : TGridEditorOf<Base>(AOwner)
{
    this->SetButtonWidth(16);
}

template <class Base>
void TGridComboOf<Base>::SizeDropDownWidth()
{
    TCustomComboBox& base = *this;
    int w = base.Width();
    const bool scroll = base.Items().Count() > base.DropDownCount();
    TCanvas* canvas = this->grid_->Canvas();
    canvas->Font().Assign(*this->grid_->Font());
    for (int i = 0; i < base.Items().Count(); ++i) {
        const int t = canvas->TextWidth(base.Items().Get(i));
        if (scroll && w - 25 < t) w = t + 25;
        if (!scroll && w - 5 < t) w = t + 8;
    }
    base.SetDroppedWidth(w);
}

template <class Base>
void TGridComboOf<Base>::KeyDown(Word& Key, TShiftState Shift)
{
    LookupOn = Key != VK_BACK && Key != VK_DELETE;
    const bool list = this->Style() == csDropDownList || this->DroppedDown();
    const bool back = (Shift & ssAlt) && Key == VK_DOWN
                          ? false
                          : list ? OneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT})
                                 : OneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
    if (!back) {
        Base::KeyDown(Key, Shift);
        return;
    }
    if (list && this->DroppedDown() && Key != VK_ESCAPE) this->SetDroppedDown(false);
    HandBack(this->grid_, Key, Shift, true);
}

template <class Base>
void TGridComboOf<Base>::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key != VK_RETURN) Base::KeyUp(Key, Shift);
    DoChange();
}

template <class Base>
void TGridComboOf<Base>::KeyPress(char& Key)
{
    if (Key == '\r' && OnReturnKey) OnReturnKey(this);
    if (Key == '\r' || Key == '\t') Key = 0;
    Base::KeyPress(Key);
}

template <class Base>
void TGridComboOf<Base>::DoChange()
{
    if (!LookupOn || !this->grid_->Lookup || !this->EditControl()) return;
    using Str = std::decay_t<decltype(this->Text())>;
    std::vector<Str> items, extra;
    for (int i = 0; i < this->Items().Count(); ++i) items.push_back(this->Items().Get(i));
    // The 8-bit combo also completes from the grid's lookup list, selecting no item then.
    if constexpr (std::is_same_v<Str, std::string>)
        for (int i = 0; i < this->grid_->LookupItems().Count(); ++i) extra.push_back(this->grid_->LookupItems().Get(i));
    const int caret = this->SelStart();
    const Str text = this->Text();
    const Str typed = text.substr(0, std::size_t(std::clamp(caret, 0, int(text.size()))));
    Str out;
    const int index = LookupMatch(items, typed, this->grid_->LookupCaseSensitive, out);
    if (index < 0 && LookupMatch(extra, typed, this->grid_->LookupCaseSensitive, out) < 0) return;
    if (index >= 0) this->SetItemIndex(index);
    this->SetText(out);
    this->SetSelStart(caret);
    this->SetSelLength(int(out.size()) - caret);
}

template <class Base>
void TGridComboOf<Base>::Left(TWinControl* focus)
{
    if (focus == this || this->ContainsControl(focus)) return;
    if (this->grid_->LookupHistory && !this->Text().empty() && this->Items().IndexOf(this->Text()) < 0)
        this->Items().Add(this->Text());
    this->grid_->EditControlExit(this, focus);
}

template <class Base>
bool TGridComboOf<Base>::Wheel(TMessage& m)
{
    if (m.Msg != WM_MOUSEWHEEL) return false;
    TCustomComboBox& base = *this;
    const int n = base.Items().Count(), i = base.ItemIndex();
    if (short(m.WParamHi()) < 0) {
        if (i < n - 1) base.SetItemIndex(i + 1);
    } else if (i > 0) base.SetItemIndex(i - 1);
    if (base.ItemIndex() >= 0) this->grid_->ComboChange(this);
    m.Result = 1;
    return true;
}

template <class Base>
void TGridComboOf<Base>::WndProc(TMessage& m)
{
    if (!Wheel(m)) Base::WndProc(m);
}

template <class Base>
void TGridComboOf<Base>::ComboWndProc(TMessage& m, TWinControl* Child)
{
    if (Wheel(m)) return;
    if (m.Msg == WM_KEYUP) {
        Word key = m.CharCode();
        KeyUp(key, KeyDataToShiftState(m.KeyData()));
        return;
    }
    Base::ComboWndProc(m, Child);
    if (m.Msg == WM_KILLFOCUS) Left(reinterpret_cast<TWinControl*>(m.WParam));
    if (m.Msg == WM_SETFOCUS) this->grid_->PlaceCaretFromMouse(dynamic_cast<TCustomEdit*>(Child));
}

template <class Base>
void TGridComboOf<Base>::CNCommand(TMessage& m)
{
    switch (m.WParamHi()) {
    case CBN_SELCHANGE: this->grid_->ComboChange(this); break;
    case CBN_CLOSEUP: this->grid_->ComboCloseUp(); break;
    case CBN_EDITCHANGE: this->grid_->ComboEditChange(this->platform::TCustomComboBox::Text()); break;
    default: break;
    }
    Base::CNCommand(m);
}

template <class Base>
void TGridComboOf<Base>::WMKillFocus(TWMKillFocus& m)
{
    Base::WMKillFocus(m);  // not the shared exit: the combo keeps its history first
    Left(reinterpret_cast<TWinControl*>(m.WParam));
}

template class TGridComboOf<TGRDComboBox>;
template class TGridComboOf<TGRDUniComboBox>;

// ---------------------------------------------------------------- wide edit

TGridUniEdit::TGridUniEdit(TComponent* AOwner) : TGridEditorOf(AOwner) {}

void TGridUniEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (OneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN})) HandBack(grid_, Key, Shift, true);
    else TGrdUniEdit::KeyDown(Key, Shift);
}

void TGridUniEdit::KeyPress(char& Key)
{
    if (Key == '\t' || Key == '\r') Key = 0;
    else TGrdUniEdit::KeyPress(Key);
}

void TGridUniEdit::WMSetFocus(TWMSetFocus& m)
{
    TGrdUniEdit::WMSetFocus(m);
    if (!grid_->Navigation.EditSelectAll) SetSelStart(int(TCustomEdit::Text().size()));
}

// ---------------------------------------------------------------- edits with a button

TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TGridEditorOf(AOwner)
{
    OnClickBtn = [this](TObject* Sender) { ExtClick(Sender); };
}

void TGridEditBtn::ExtClick(TObject*)
{
    SetText(grid_->EllipsClick(Text()));
    SelectAll();
    Invalidate();
}

void TGridEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    if (!Key) return;
    if (!(Shift & ssCtrl) && OneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})) {
        HandBack(grid_, Key, Shift, true);
        return;
    }
    if (Key == VK_F4) BtnClick();
}

void TGridEditBtn::KeyPress(char& Key)
{
    if (Key == '\r') {
        Key = 0;
        return;
    }
    const TEditorType t = grid_->ActiveEditorType;
    const unsigned char k = (unsigned char)Key;
    if ((t == edNumericEditBtn || t == edFloatEditBtn) && k >= 32) {
        const char dec = base::DecimalSeparator();
        if (t == edFloatEditBtn && Key == base::ThousandSeparator() && Key != dec) {
            Key = 0;
            return;
        }
        std::string rest = Text();
        const int start = std::min(SelStart(), int(rest.size()));
        rest.erase(std::size_t(start), std::size_t(std::max(0, SelLength())));
        const char in = TExInplaceEdit::FilterKey(t == edNumericEditBtn ? edNumeric : edFloat, Key, rest, start, dec);
        if (!in) {
            if (t == edNumericEditBtn || Key == '-') MessageBeep(0);
            Key = 0;
            return;
        }
    }
    TGrdEditBtn::KeyPress(Key);
}

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner) : TGridEditorOf(AOwner) {}

void TGridUnitEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    if (OneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})) HandBack(grid_, Key, Shift, true);
    else TGrdUnitEditBtn::KeyDown(Key, Shift);
}

void TGridUnitEditBtn::KeyPress(char& Key)
{
    if (Key == '\r') Key = 0;
    else TGrdUnitEditBtn::KeyPress(Key);
}

// ---------------------------------------------------------------- check box and button

TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TGridEditorOf(AOwner) {}

void TGridCheckBox::KeyDown(Word& Key, TShiftState Shift)
{
    if (!OneOf(Key, {VK_RETURN, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        TCheckBox::KeyDown(Key, Shift);
        return;
    }
    const Word key = Key;
    Key = 0;
    TExStringGrid* g = grid_;
    CloseToGrid(g);
    if (key == VK_RETURN) g->AdvanceEdit(g->Col(), g->Row(), false, false, true, false);
    else if (key == VK_UP || key == VK_DOWN) {
        Word k = key;
        g->KeyDown(k, Shift);
    }
}

void TGridCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        Toggle();
        pressToggled_ = true;
    }
    TCheckBox::MouseDown(Button, Shift, X, Y);
}

void TGridCheckBox::Click()
{
    if (pressToggled_) pressToggled_ = false;
    else TCheckBox::Click();
}

void TGridCheckBox::WMGetDlgCode(TWMGetDlgCode& m)
{
    TCheckBox::WMGetDlgCode(m);
    m.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

void TGridCheckBox::WMKillFocus(TWMKillFocus& m)
{
    pressToggled_ = false;
    TGridEditorOf::WMKillFocus(m);
}

TGridButton::TGridButton(TComponent* AOwner) : TGridEditorOf(AOwner) {}

void TGridButton::Click() { SetCaption(grid_->EllipsClick(Caption())); }

void TGridButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key != VK_ESCAPE) {
        TButton::KeyDown(Key, Shift);
        return;
    }
    Key = 0;
    TExStringGrid* g = grid_;
    CloseToGrid(g);
    g->RestoreCache();
    g->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
}

void TGridButton::KeyUp(Word& Key, TShiftState Shift)
{
    if (!OneOf(Key, {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        TButton::KeyUp(Key, Shift);
        return;
    }
    // Ends editing by hand: the grid gets the arrow as if typed on it.
    const Word key = Key;
    Key = 0;
    TExStringGrid* g = grid_;
    CloseToGrid(g);
    g->Perform(WM_KEYDOWN, key, 0);
    g->Perform(WM_KEYUP, key, 0);
}

void TGridButton::WMGetDlgCode(TWMGetDlgCode& m)
{
    TButton::WMGetDlgCode(m);
    m.Result |= DLGC_WANTARROWS;
}

// ---------------------------------------------------------------- date and time

TGridDatePicker::TGridDatePicker(TComponent* AOwner) : TGridEditorOf(AOwner) {}

void TGridDatePicker::DropDown()
{
    dropped_ = true;
    TDateTimePicker::DropDown();
}

void TGridDatePicker::CloseUp()
{
    dropped_ = false;
    TDateTimePicker::CloseUp();
}

void TGridDatePicker::LoadFromCell(const std::string& Text)
{
    base::TDateTime v = 0;
    const bool ok = Kind() == dtkTime ? TryStrToTimeLocale(Text, v) : TryStrToDateLocale(Text, v);
    if (Kind() == dtkTime && ok) SetDateTime(std::floor(base::Now()) + v);
    else SetDateTime(ok ? v : base::Now());
}

void TGridDatePicker::KeyDown(Word& Key, TShiftState Shift)
{
    if (dropped_ || !OneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END})) {
        TDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) LoadFromCell(grid_->GetCellEx(grid_->GetRealCol(), grid_->Row()));
    HandBack(grid_, Key, Shift, true);
}

void TGridDatePicker::WMNCPaint(TMessage& m)
{
    TDateTimePicker::WMNCPaint(m);
    if (!m.DC()) return;
    HDC dc = m.DC();
    const TColor c = ColorToRGB(clWindow);
    for (int i = 0; i < 2; ++i) {
        const int w = Width() - 2 * i, h = Height() - 2 * i;
        FillRect(dc, Rect(i, i, i + w, i + 1), c);
        FillRect(dc, Rect(i, i + h - 1, i + w, i + h), c);
        FillRect(dc, Rect(i, i, i + 1, i + h), c);
        FillRect(dc, Rect(i + w - 1, i, i + w, i + h), c);
    }
}

// ---------------------------------------------------------------- fixed cells

TGridTransEdit::TGridTransEdit(TComponent* AOwner) : TCustomEdit(AOwner), grid_(dynamic_cast<TExStringGrid*>(AOwner))
{
    TControl::SetVisible(false);
}

bool TGridTransEdit::StopEdit()
{
    if (!grid_) {
        Hide();
        return true;
    }
    std::string value = Text();
    bool valid = true;
    const int c = grid_->RemapCol(Col);
    if (grid_->OnCellValidate) grid_->OnCellValidate(grid_, c, Row, value, valid);
    if (!valid) {
        if (value != Text()) SetText(value);
        if (Visible() && CanFocus() && !Focused()) SetFocus();
        return false;
    }
    if (grid_->OnEditingDone) grid_->OnEditingDone(grid_);
    grid_->SetCellEx(c, Row, value);
    Hide();
    return true;
}

void TGridTransEdit::DoExit()
{
    TCustomEdit::DoExit();
    if (Visible()) StopEdit();
}

void TGridTransEdit::KeyPress(char& Key)
{
    if (Key == '\r') Key = 0;
    TCustomEdit::KeyPress(Key);
}

// ---------------------------------------------------------------- form controls of HTML cells

TControlEdit::TControlEdit(TComponent* AOwner) : TMaskEdit(AOwner), grid_(OwnerGrid(AOwner)) {}

void TControlEdit::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    if (m.CharCode() == VK_RETURN) m.Result = 0;
    else if (m.CharCode() == VK_TAB) m.Result = 1;
    else TMaskEdit::CMWantSpecialKey(m);
}

namespace {
// Enter and Tab end a form control's edit; true when the key was one of them.
bool ControlKey(TExStringGrid* g, TObject* control, char& Key)
{
    if (Key != '\r' && Key != '\t') return false;
    const char k = Key;
    Key = 0;
    g->ControlEditKey(control, k);
    return true;
}
}  // namespace

void TControlEdit::KeyPress(char& Key)
{
    if (!ControlKey(grid_, this, Key)) TMaskEdit::KeyPress(Key);
}

TControlCombo::TControlCombo(TComponent* AOwner) : TComboBox(AOwner), grid_(OwnerGrid(AOwner)) {}

void TControlCombo::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    if (m.CharCode() == VK_TAB) m.Result = 1;
    else TComboBox::CMWantSpecialKey(m);
}

void TControlCombo::KeyPress(char& Key)
{
    if (!ControlKey(grid_, this, Key)) TComboBox::KeyPress(Key);
}

}  // namespace grid
