#include "widgets/edit/PopupEditors.h"

#include <algorithm>
#include <cstdint>

#include "base/DateTime.h"
#include "base/StrUtils.h"

#include "platform/graphics/GDI.h"

namespace edit {

using namespace platform;

namespace {

void FocusParent(TWinControl* c)
{
    if (c->Parent() && c->Parent()->CanFocus()) c->Parent()->SetFocus();
}

// Enter: the value is committed once, the editor closes, then the Enter handler runs.
void CommitOnReturn(TWinControl* c, TPopupEditorLink& link, const std::string& value)
{
    const bool commit = !link.Cancelled && link.OnCommit;
    link.Cancelled = true;
    if (commit) link.OnCommit(c, link.Href, value);
    FocusParent(c);
    c->Hide();
    if (link.OnReturn) link.OnReturn(c);
}

// Esc: closed with nothing committed, now or by the focus loss that follows.
void CancelEditor(TWinControl* c, TPopupEditorLink& link)
{
    link.Cancelled = true;
    FocusParent(c);
    c->Hide();
    if (link.OnCancel) link.OnCancel(c);
}

}  // namespace

void TPopupEdit::Change()
{
    TEdit::Change();
    if (!GrowWithText) return;
    Canvas()->Font().Assign(*Font());
    const int w = Canvas()->TextWidth(Text()) + 16;
    if (w > Width()) SetWidth(w);
}

void TPopupEdit::WMKillFocus(TWMKillFocus& m)
{
    TEdit::WMKillFocus(m);
    if (!Link.Cancelled && Link.OnCommit && Visible()) {
        Link.Cancelled = true;  // once
        Link.OnCommit(this, Link.Href, Text());
    }
    Hide();
}

void TPopupEdit::WMKeyDown(TWMKeyDown& m)
{
    if (m.CharCode() == VK_RETURN) {
        m.SetCharCode(0);
        CommitOnReturn(this, Link, Text());
        return;
    }
    if (m.CharCode() == VK_ESCAPE) CancelEditor(this, Link);
    TEdit::WMKeyDown(m);
}

void TPopupEdit::WMChar(TWMChar& m)
{
    if (m.CharCode() == 13 || m.CharCode() == 27) return;  // no beep
    TEdit::WMChar(m);
}

void TPopupEdit::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) m.Result = 1;
    else TEdit::CMWantSpecialKey(m);
}

int TPopupSpinEdit::Value() const
{
    long long v = 0;
    return base::TryStrToInt(base::Trim(Text()), v) && v >= INT32_MIN && v <= INT32_MAX ? int(v) : 0;
}

void TPopupSpinEdit::SetValue(int v)
{
    SetText(std::to_string(v));
    SelectAll();
}

void TPopupSpinEdit::WMKeyDown(TWMKeyDown& m)
{
    if (m.CharCode() == VK_UP || m.CharCode() == VK_DOWN) {
        const long long next = (long long)Value() + (m.CharCode() == VK_UP ? 1 : -1);
        SetValue(int(std::clamp<long long>(next, INT32_MIN, INT32_MAX)));
        return;
    }
    TPopupEdit::WMKeyDown(m);
}

void TPopupSpinEdit::KeyPress(char& Key)
{
    if (!(Key == 8 || Key == '-' || (Key >= '0' && Key <= '9') || Key < 32)) Key = 0;
    TPopupEdit::KeyPress(Key);
}

// ---------------------------------------------------------------- mask edit

bool TPopupMaskEdit::Commit()
{
    try {
        ValidateEdit();
    } catch (const EDBEditError&) {
        return false;  // silently: the editor stays as it is
    }
    if (Link.OnCommit) Link.OnCommit(this, Link.Href, Text());
    return true;
}

void TPopupMaskEdit::Close()
{
    FocusParent(this);
    Hide();
}

void TPopupMaskEdit::WMKillFocus(TWMKillFocus& m)
{
    TMaskEdit::WMKillFocus(m);
    if (!Link.Cancelled && Visible()) {
        Link.Cancelled = true;  // once
        Commit();
    }
    Hide();
}

void TPopupMaskEdit::CMExit(TMessage& m)
{
    // The editor checks its text itself when it loses the focus (an incomplete one commits
    // nothing, silently): the mask edit's refusal to let the focus go does not apply.
    SetModified(false);
    TMaskEdit::CMExit(m);
}

void TPopupMaskEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TMaskEdit::KeyDown(Key, Shift);
    if (Key == VK_RETURN) {
        if (!Commit()) return;
        Link.Cancelled = true;
        Close();
        Key = 0;
        if (Link.OnReturn) Link.OnReturn(this);
    } else if (Key == VK_ESCAPE) {
        Reset();  // abandoned
        Key = 0;
        CancelEditor(this, Link);
    }
}

void TPopupMaskEdit::WMChar(TWMChar& m)
{
    if (m.CharCode() == 13 || m.CharCode() == 27) return;  // no beep
    TMaskEdit::WMChar(m);
}

void TPopupMaskEdit::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) m.Result = 1;
    else TMaskEdit::CMWantSpecialKey(m);
}

// ---------------------------------------------------------------- date picker

std::string TPopupDatePicker::ValueText() const
{
    return Kind() == dtkTime ? base::TimeToStr(Time()) : base::DateToStr(Date());
}

void TPopupDatePicker::ReInit() { RecreateWnd(); }

int TPopupDatePicker::FittingWidth()
{
    Canvas()->Font().Assign(*Font());
    int digit = 0;
    for (char d = '0'; d <= '9'; ++d) digit = std::max(digit, Canvas()->TextWidth(std::string(1, d)));
    int text = 0;
    for (char c : DisplayText()) text += c >= '0' && c <= '9' ? digit : Canvas()->TextWidth(std::string(1, c));
    const int button = Kind() == dtkDate && DateMode() == dmComboBox ? GetSystemMetrics(SM_CXVSCROLL) : 14;
    // The text starts 2 pixels in; 4 more keep it off the button; the frame on both sides.
    return 2 + text + 4 + button + (Width() - ClientWidth());
}

void TPopupDatePicker::WMKillFocus(TWMKillFocus& m)
{
    TDateTimePicker::WMKillFocus(m);
    if (DroppedDown()) return;  // the calendar took the focus
    if (!Link.Cancelled && Visible() && Link.OnCommit) {
        Link.Cancelled = true;  // once
        Link.OnCommit(this, Link.Href, ValueText());
    }
    Hide();
}

void TPopupDatePicker::WMGetDlgCode(TWMGetDlgCode& m)
{
    TDateTimePicker::WMGetDlgCode(m);
    m.Result |= DLGC_WANTALLKEYS;
}

void TPopupDatePicker::KeyDown(Word& Key, TShiftState Shift)
{
    TDateTimePicker::KeyDown(Key, Shift);
    if (Key == VK_RETURN) {
        Key = 0;
        CommitOnReturn(this, Link, ValueText());
    } else if (Key == VK_ESCAPE) {
        CancelEditor(this, Link);
    }
}

// ---------------------------------------------------------------- list

void TPopupListBox::SizeDropDownWidth()
{
    Canvas()->Font().Assign(*Font());
    int w = 0;
    for (int i = 0; i < Items().Count(); ++i) w = std::max(w, Canvas()->TextWidth(Items().Get(i)) + 10);
    if (Items().Count() * ItemHeight() > ClientHeight()) w += GetSystemMetrics(SM_CXVSCROLL);
    SetWidth(w);
}

void TPopupListBox::Close()
{
    FocusParent(this);
    Hide();
}

void TPopupListBox::WMGetDlgCode(TWMGetDlgCode& m)
{
    TListBox::WMGetDlgCode(m);
    m.Result |= DLGC_WANTALLKEYS;
}

void TPopupListBox::KeyDown(Word& Key, TShiftState Shift)
{
    TListBox::KeyDown(Key, Shift);
    if (Key == VK_RETURN) {
        if (ItemIndex() >= 0 && Link.OnCommit) Link.OnCommit(this, Link.Href, Items().Get(ItemIndex()));
        Close();
        if (Link.OnReturn) Link.OnReturn(this);
    } else if (Key == VK_ESCAPE) {
        Close();
        if (Link.OnCancel) Link.OnCancel(this);
    }
}

void TPopupListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    Close();
    if (ItemIndex() >= 0 && Link.OnCommit) Link.OnCommit(this, Link.Href, Items().Get(ItemIndex()));
}

}  // namespace edit
