#include "widgets/flat/FlatCheckBox.h"

#include <algorithm>

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/GDI.h"

namespace flat {

using namespace platform;

TFlatCheckBox::TFlatCheckBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    // OnClick follows Checked, not the platform's press and release.
    ControlStyle &= ~unsigned(csClickEvents);
    SetColor(0xE1EAEB);
    SetParentColor(true);
    SetTabStop(true);
    SetBounds(0, 0, 121, 17);
}

TRect TFlatCheckBox::CheckRect() const
{
    const TRect client = ClientRect();
    const int left = layout_ == checkboxLeft ? client.Left + 1 : client.Right - 12;
    return Rect(left, client.Top + 3, left + 11, client.Top + 14);
}

void TFlatCheckBox::SetChecked(bool value)
{
    if (value == checked_) return;
    checked_ = value;
    Click();
    Invalidate();
}

void TFlatCheckBox::SetLayout(TCheckBoxLayout value)
{
    layout_ = value;
    Invalidate();
}

void TFlatCheckBox::SetBiDiMode(TFlatBiDiMode mode) { SetLayout(mode == bdRightToLeft ? checkboxRight : checkboxLeft); }

void TFlatCheckBox::SetColors(int index, TColor value)
{
    TColor* fields[] = {&colorFocused_, &colorDown_, &colorCheck_, &colorBorder_};
    if (index < 0 || index > 3) return;
    *fields[index] = value;
    Invalidate();
}

void TFlatCheckBox::SetExColors(int index, TExColors amount)
{
    TExColors* fields[] = {&exColorFocused_, &exColorDown_, &exColorBorder_};
    if (index < 0 || index > 2) return;
    *fields[index] = std::clamp(amount, 0, 100);
    CalcExColors();
    Invalidate();
}

void TFlatCheckBox::SetUseExColors(bool value)
{
    if (value == useExColors_) return;
    useExColors_ = value;
    SetParentColor(value);
    CalcExColors();
    Invalidate();
}

void TFlatCheckBox::CalcExColors()
{
    if (!useExColors_) return;
    colorFocused_ = CalcAdvancedColor(Color(), colorFocused_, exColorFocused_, lighten);
    colorDown_ = CalcAdvancedColor(Color(), colorDown_, exColorDown_, darken);
    colorBorder_ = CalcAdvancedColor(Color(), colorBorder_, exColorBorder_, darken);
}

void TFlatCheckBox::ColorsChanged()
{
    if (useExColors_) {
        SetParentColor(true);
        CalcExColors();
    }
    Invalidate();
}

void TFlatCheckBox::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TFlatCheckBox::Paint()
{
    if (transparent_) DrawParentImage(this, Canvas());
    DrawCheckRect(Canvas());
    DrawCheckText(Canvas());
}

void TFlatCheckBox::DrawCheckRect(TCanvas* c)
{
    const TRect r = CheckRect();
    const bool lit = focused_ || hot_;
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(down_ && lit ? colorDown_ : lit ? colorFocused_ : Color());
    c->FillRect(r);
    if (checked_) DrawCheckMark(c, r.Left, r.Top, Enabled() ? colorCheck_ : clBtnShadow);
    c->Brush().SetColor(colorBorder_);
    c->FrameRect(r);
}

void TFlatCheckBox::DrawCheckText(TCanvas* c)
{
    TRect r = ClientRect();
    InflateRect(r, -1, -1);
    if (layout_ == checkboxLeft)
        r.Left += 15;
    else
        r.Right -= 15;
    c->Font().Assign(*Font());
    DrawFlatText(c, r, Caption(), DT_WORDBREAK | (layout_ == checkboxLeft ? DT_LEFT : DT_RIGHT), Enabled());
}

void TFlatCheckBox::MouseEnter()
{
    if (!Enabled() || hot_) return;
    hot_ = true;
    Invalidate();
}

void TFlatCheckBox::MouseLeave()
{
    if (!Enabled() || !hot_ || down_) return;
    hot_ = false;
    Invalidate();
}

void TFlatCheckBox::CMMouseEnter(TMessage& m)
{
    TCustomControl::CMMouseEnter(m);
    MouseEnter();
}

void TFlatCheckBox::CMMouseLeave(TMessage& m)
{
    TCustomControl::CMMouseLeave(m);
    MouseLeave();
}

void TFlatCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !Enabled()) return;
    if (CanFocus()) SetFocus();
    down_ = true;
    // A press reaches the box only from the pointer, which is over it.
    hot_ = true;
    Invalidate();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TFlatCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !Enabled()) return;
    down_ = false;
    if (hot_) SetChecked(!checked_);
    // Released outside, the box is no longer under the pointer.
    if (!PtInRect(ClientRect(), Point(X, Y))) MouseLeave();
    Invalidate();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TFlatCheckBox::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && focused_) {
        SetChecked(!checked_);
        return;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TFlatCheckBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGCHAR:
        if (IsAccel(m.CharCode(), Caption()) && CanFocus()) {
            SetFocus();
            SetChecked(!checked_);
            m.Result = 1;
            return;
        }
        break;
    case CN_COMMAND:
        if (m.WParamHi() == 0) Click();
        return;
    case CM_SYSCOLORCHANGE: ColorsChanged(); break;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

void TFlatCheckBox::CMParentColorChanged(TMessage& m)
{
    TCustomControl::CMParentColorChanged(m);
    ColorsChanged();
}

void TFlatCheckBox::WMSetFocus(TWMSetFocus& m)
{
    TCustomControl::WMSetFocus(m);
    if (!Enabled()) return;
    focused_ = true;
    Invalidate();
}

void TFlatCheckBox::WMKillFocus(TWMKillFocus& m)
{
    TCustomControl::WMKillFocus(m);
    if (!Enabled()) return;
    focused_ = false;
    hot_ = false;
    Invalidate();
}

void TFlatCheckBox::DoEnter()
{
    TCustomControl::DoEnter();
    focused_ = true;
    Invalidate();
}

void TFlatCheckBox::DoExit()
{
    TCustomControl::DoExit();
    focused_ = false;
    Invalidate();
}

void TFlatCheckBox::CMEnabledChanged(TMessage& m)
{
    if (!Enabled()) {
        hot_ = false;
        down_ = false;
    }
    TCustomControl::CMEnabledChanged(m);
}

void TFlatCheckBox::WMSize(TWMSize& m)
{
    TCustomControl::WMSize(m);
    if (transparent_) Invalidate();
}

void TFlatCheckBox::WMMove(TWMMove& m)
{
    TCustomControl::WMMove(m);
    if (transparent_) Invalidate();
}

TFlatPanel::TFlatPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    ControlStyle |= csAcceptsControls | csOpaque;
    SetBevelOuter(bvNone);
    SetParentColor(true);
    SetBounds(0, 0, 185, 41);
}

void TFlatPanel::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TFlatPanel::SetColors(int index, TColor value)
{
    if (index == 0)
        colorHighLight_ = value;
    else if (index == 1)
        colorShadow_ = value;
    else
        return;
    Invalidate();
}

void TFlatPanel::Paint()
{
    const TRect client = ClientRect();
    TBitmap image(client.Width(), client.Height());
    TCanvas* c = image.Canvas();
    if (transparent_) {
        DrawParentImage(this, c);
    } else {
        c->Brush().SetColor(Color());
        c->FillRect(client);
    }
    Frame3DBorder(c, client, colorHighLight_, colorShadow_, 1);
    c->Font().Assign(*Font());
    const UINT align = Alignment() == taLeftJustify ? DT_LEFT : Alignment() == taRightJustify ? DT_RIGHT : DT_CENTER;
    DrawFlatText(c, client, Caption(), DT_SINGLELINE | DT_VCENTER | align, Enabled());
    Canvas()->Draw(0, 0, &image);
}

}  // namespace flat
