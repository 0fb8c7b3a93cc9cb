#include "widgets/edit/PopupEditors.h"

#include <algorithm>
#include <cstdint>

#include "base/DateTime.h"
#include "base/StrUtils.h"

#include "platform/forms/Forms.h"
#include "platform/forms/WindowActivation.h"
#include "platform/graphics/GDI.h"

namespace edit {

using namespace platform;

namespace {

// A top-level tool window: no child of the tree, so nothing of it is cut at its edges.
void PopupParams(TCreateParams& params)
{
    params.Style = (params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
    params.ExStyle |= WS_EX_TOOLWINDOW;
}

TWinControl* TreeOf(TWinControl* c)
{
    if (auto* e = dynamic_cast<TPopupEdit*>(c)) return e->Link.Tree;
    if (auto* e = dynamic_cast<TPopupMaskEdit*>(c)) return e->Link.Tree;
    if (auto* e = dynamic_cast<TPopupDatePicker*>(c)) return e->Link.Tree;
    if (auto* e = dynamic_cast<TPopupListBox*>(c)) return e->Link.Tree;
    return c->Parent();
}

// The focus back to the tree, the editor hidden, and the tree's window active again (the
// editor's own window had the keyboard).
void BackToTree(TWinControl* c)
{
    TWinControl* tree = TreeOf(c);
    if (tree && tree->CanFocus()) tree->SetFocus();
    c->Hide();
    if (tree && tree->CanFocus()) ActivateWindowOf(tree);
}

// Enter: the value is committed once, the editor closes, then the Enter handler runs.
void CommitOnReturn(TWinControl* c, TPopupEditorLink& link, const std::string& value)
{
    const bool commit = !link.Cancelled && link.OnCommit;
    link.Cancelled = true;
    if (commit) link.OnCommit(c, link.Href, value);
    BackToTree(c);
    if (link.OnReturn) link.OnReturn(c);
}

// Esc: closed with nothing committed, now or by the focus loss that follows.
void CancelEditor(TWinControl* c, TPopupEditorLink& link)
{
    link.Cancelled = true;
    BackToTree(c);
    if (link.OnCancel) link.OnCancel(c);
}

}  // namespace

void PlacePopup(TWinControl* editor, int left, int top, int width, int anchorTop)
{
    const TRect area = Screen->WorkAreaRect();
    const int w = std::min(width, area.Width()), h = editor->Height();
    if (left + w > area.Right) left = area.Right - w;
    left = std::max(left, int(area.Left));
    if (top + h > area.Bottom) top = std::min(anchorTop, int(area.Bottom)) - h;
    top = std::max(top, int(area.Top));
    editor->SetBounds(left, top, w, h);
}

void TPopupEdit::CreateParams(TCreateParams& params)
{
    TEdit::CreateParams(params);
    PopupParams(params);
}

void TPopupMaskEdit::CreateParams(TCreateParams& params)
{
    TMaskEdit::CreateParams(params);
    PopupParams(params);
}

void TPopupDatePicker::CreateParams(TCreateParams& params)
{
    TDateTimePicker::CreateParams(params);
    PopupParams(params);
}

void TPopupListBox::CreateParams(TCreateParams& params)
{
    TListBox::CreateParams(params);
    PopupParams(params);
}

void TPopupEdit::Change()
{
    TEdit::Change();
    if (!GrowWithText) return;
    Canvas()->Font().Assign(*Font());
    const int w = Canvas()->TextWidth(Text()) + 16;
    if (w <= Width()) return;
    // Kept on the screen: a grown edit that would pass its right side moves left.
    const TRect area = Screen->WorkAreaRect();
    SetBounds(std::max(int(area.Left), std::min(Left(), int(area.Right) - w)), Top(), w, Height());
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

TPopupSpinEdit::TPopupSpinEdit(TComponent* AOwner) : TPopupEdit(AOwner)
{
    button_ = new grid::TGrdSpinButton(this);
    button_->SetBounds(0, 0, 15, 17);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnUpClick = [this](TObject*) { Step(1); };
    button_->OnDownClick = [this](TObject*) { Step(-1); };
}

void TPopupSpinEdit::Step(int delta)
{
    SetValue(int(std::clamp<long long>((long long)Value() + delta, INT32_MIN, INT32_MAX)));
}

void TPopupSpinEdit::SetEditRect()
{
    if (!HandleAllocated()) return;
    TRect r = Rect(0, 0, std::max(0, ClientWidth() - button_->Width() - 2), ClientHeight());
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TPopupSpinEdit::CreateWnd()
{
    TPopupEdit::CreateWnd();
    SetEditRect();
}

void TPopupSpinEdit::WMSize(TWMSize& m)
{
    TPopupEdit::WMSize(m);
    button_->SetBounds(std::max(0, ClientWidth() - button_->Width()), 0, button_->Width(), ClientHeight());
    SetEditRect();
}

void TPopupSpinEdit::WMKeyDown(TWMKeyDown& m)
{
    if (m.CharCode() == VK_UP || m.CharCode() == VK_DOWN) {
        Step(m.CharCode() == VK_UP ? 1 : -1);
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
    BackToTree(this);
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
    BackToTree(this);
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
