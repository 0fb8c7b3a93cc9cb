#include "widgets/edit/ExMaskEdit.h"

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/GDI.h"
#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

TExMaskEdit::TExMaskEdit(TComponent* AOwner) : TMaskEdit(AOwner), label_(this) {}

TExMaskEdit::~TExMaskEdit() = default;

std::string TExMaskEdit::GetVersion() const { return html::VersionText(GetVersionNr()); }

void TExMaskEdit::CreateParams(TCreateParams& params)
{
    TMaskEdit::CreateParams(params);
    params.Style &= ~DWORD(ES_RIGHT | ES_CENTER);
    if (PasswordChar() == 0) params.Style |= ES_MULTILINE;
    if (alignement_ == taRightJustify) params.Style |= ES_RIGHT | ES_MULTILINE;
    else if (alignement_ == taCenter) params.Style |= ES_CENTER | ES_MULTILINE;
}

void TExMaskEdit::CreateWnd()
{
    TMaskEdit::CreateWnd();
    SetTextArea();
}

void TExMaskEdit::SetAlignement(TAlignment a)
{
    if (a == alignement_) return;
    alignement_ = a;
    RecreateWnd();
}

// ---------------------------------------------------------------- label

void TExMaskEdit::SetLabelCaption(const std::string& s) { label_.SetCaption(s); }

void TExMaskEdit::SetLabelPosition(TLabelPosition p)
{
    label_.Position = p;
    label_.Place();
}

void TExMaskEdit::SetLabelMargin(int m)
{
    label_.Margin = m;
    label_.Place();
}

void TExMaskEdit::SetLabelTransparent(bool v)
{
    label_.Transparent = v;
    label_.Place();
}

void TExMaskEdit::SetLabelAlwaysEnabled(bool v)
{
    label_.AlwaysEnabled = v;
    if (Label()) Label()->SetEnabled(v || Enabled());
}

void TExMaskEdit::SetBounds(int l, int t, int w, int h)
{
    TMaskEdit::SetBounds(l, t, w, h);
    label_.Place();
    SetTextArea();
}

void TExMaskEdit::SetParent(TWinControl* p)
{
    TMaskEdit::SetParent(p);
    label_.SetParent(p);
}

void TExMaskEdit::SetVisible(bool v)
{
    TMaskEdit::SetVisible(v);
    label_.SetVisible(v);
}

// ---------------------------------------------------------------- colours and look

void TExMaskEdit::SetColor(TColor c)
{
    TControl::SetColor(c);
    if (loading_) loadColor_ = c;
    else normalColor_ = c;
}

void TExMaskEdit::SetEnabled(bool e)
{
    const bool was = Enabled();
    TMaskEdit::SetEnabled(e);
    label_.SetEnabled(e);  // on every assignment
    if (was == e) return;
    if (e) {
        TControl::SetColor(normalColor_);
    } else {
        normalColor_ = Color();
        TControl::SetColor(disabledColor_);
    }
}

void TExMaskEdit::SetDisabledColor(TColor c)
{
    disabledColor_ = c;
    if (!Enabled()) TControl::SetColor(c);
    Invalidate();
}

void TExMaskEdit::SetFlat(bool v)
{
    look_.flat = v;
    if (v) {
        if (!loading_ && FlatParentColor && Parent()) TControl::SetColor(Parent()->Color());
        SetBorderStyle(bsNone);
    } else {
        TControl::SetColor(clWindow);
        SetBorderStyle(savedBorder_);
    }
    SetTextArea();
    Invalidate();
}

void TExMaskEdit::SetTextArea()
{
    if (!HandleAllocated()) return;
    const TRect c = ClientRect();
    const TRect r = look_.flat ? Rect(2, 4, c.Right - 2, c.Bottom - 4) : Rect(0, 0, c.Right, c.Bottom);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TExMaskEdit::WMSize(TWMSize& m)
{
    TMaskEdit::WMSize(m);
    SetTextArea();
}

void TExMaskEdit::SetFlatLineColor(TColor c)
{
    look_.lineColor = c;
    Invalidate();
}

void TExMaskEdit::SetSoftBorder(bool v)
{
    look_.softBorder = v;
    Invalidate();
}

void TExMaskEdit::SetFocusBorder(bool v)
{
    look_.focusBorder = v;
    Invalidate();
}

void TExMaskEdit::SetModifiedFlag(bool v)
{
    if (ShowModified) Font()->SetColor(v ? ModifiedColor : normalFontColor_);
    SetModified(v);
}

void TExMaskEdit::Loaded()
{
    normalFontColor_ = Font()->Color();
    savedBorder_ = BorderStyle();
    loading_ = true;
    SetFlat(look_.flat);
    loading_ = false;
    if (!Enabled() && Label() && !label_.AlwaysEnabled) Label()->SetEnabled(false);
    normalColor_ = loadColor_;
    TControl::SetColor(loadColor_);
    if (look_.flat && FlatParentColor && Parent()) TControl::SetColor(Parent()->Color());
    if (!Enabled()) TControl::SetColor(disabledColor_);
    label_.Place();
}

void TExMaskEdit::PaintWindow(HDC dc)
{
    TMaskEdit::PaintWindow(dc);
    auto* canvas = static_cast<TControlCanvas*>(Canvas());
    canvas->PaintOn(dc, [&] {
        TFlatLook look = look_;
        look.focused = Focused();
        if (look.flat) {
            const TRect r = FormatRect();
            DrawFlatLook(canvas, this, look, r.Left - 2, Width(), r.Top - 4);
        } else {
            DrawEditBorder(canvas, this, look);
        }
    });
}

// ---------------------------------------------------------------- keys and focus

void TExMaskEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = 0;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, KeyDataOf(VK_TAB));
        return;
    }
    if (Key == VK_ESCAPE && alignement_ != taLeftJustify) {
        if (CanUndo) SetEditText(focusInText_);
        if (Parent()) PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, KeyDataOf(VK_ESCAPE));
    }
    TMaskEdit::KeyDown(Key, Shift);
}

void TExMaskEdit::KeyUp(Word& Key, TShiftState Shift)
{
    TMaskEdit::KeyUp(Key, Shift);
    const std::string text = Text();
    // Complete: every required place filled (the text alone cannot tell when the mask
    // drops its literals and trailing blanks), with the caret at the end.
    if (!IsMasked() || Mask().FirstMissing(EditText()) >= 0 || SelStart() < int(EditText().size())) return;
    bool accept = true;
    if (OnMaskComplete) OnMaskComplete(this, text, accept);
    if (AutoTab && accept && HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, KeyDataOf(VK_TAB));
}

void TExMaskEdit::KeyPress(char& Key)
{
    if (Key == 13 && ReturnIsTab) {
        Key = 0;
        return;
    }
    TMaskEdit::KeyPress(Key);
    if (Key != 0 && ShowModified) Font()->SetColor(ModifiedColor);
}

void TExMaskEdit::CMEnter(TMessage& m)
{
    TMaskEdit::CMEnter(m);
    if (IsMasked() && SelectFirstChar) {
        SetSelStart(0);
        SetSelLength(1);
    }
}

void TExMaskEdit::WMSetFocus(TWMSetFocus& m)
{
    TMaskEdit::WMSetFocus(m);
    if (loading_) return;
    TControl::SetColor(FocusColor);
    focusInText_ = EditText();
    Font()->SetColor(FocusFontColor);
    if (AutoSelect) SelectAll();
}

void TExMaskEdit::WMKillFocus(TWMKillFocus& m)
{
    TMaskEdit::WMKillFocus(m);
    TControl::SetColor(normalColor_);
    Font()->SetColor(normalFontColor_);
}

// ---------------------------------------------------------------- mouse

void TExMaskEdit::CMMouseEnter(TMessage& m)
{
    TMaskEdit::CMMouseEnter(m);
    if (AutoFocus && CanFocus()) SetFocus();
    if (Enabled()) {
        look_.mouseInside = true;
        if (look_.focusBorder) Invalidate();
    }
}

void TExMaskEdit::CMMouseLeave(TMessage& m)
{
    TMaskEdit::CMMouseLeave(m);
    if (Enabled()) {
        look_.mouseInside = false;
        if (look_.focusBorder) Invalidate();
    }
}

}  // namespace edit
