#include "widgets/grid/GrdCombo.h"

#include <algorithm>

#include "base/StrUtils.h"
#include "platform/controls/FrameControl.h"
#include "platform/graphics/GDI.h"
#include "widgets/grid/GridDraw.h"

namespace grid {

using namespace platform;

template <class Base>
TFlatCombo<Base>::TFlatCombo(TComponent* AOwner)
    : Base(AOwner), buttonWidth_(GetSystemMetrics(SM_CXVSCROLL) + 4), savedColor_(this->Color()),
      savedParentColor_(this->ParentColor())
{
    this->SetCtl3D(false);
}

template <class Base>
void TFlatCombo<Base>::SetFlat(bool Value)
{
    if (Value == flat_) return;
    flat_ = Value;
    this->SetCtl3D(!Value);
    this->Invalidate();
}

template <class Base>
void TFlatCombo<Base>::SetEtched(bool Value)
{
    if (Value == etched_) return;
    etched_ = Value;
    this->Invalidate();
}

template <class Base>
void TFlatCombo<Base>::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32) return;
    buttonWidth_ = Value;
    PlaceEdit();
    this->Invalidate();
}

template <class Base>
void TFlatCombo<Base>::SetDropWidth(int Value)
{
    dropWidth_ = Value;
    if (Value > 0) this->Perform(CB_SETDROPPEDWIDTH, WPARAM(Value));
}

template <class Base>
bool TFlatCombo<Base>::Is3DBorderControl() const
{
    return (mouseIn_ || this->ComboFocused()) && FocusBorder;
}

template <class Base>
bool TFlatCombo<Base>::Is3DBorderButton() const
{
    return mouseIn_ || this->ComboFocused();
}

template <class Base>
void TFlatCombo<Base>::RedrawBorders()
{
    if (this->HandleAllocated()) RedrawWindow(this->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

template <class Base>
void TFlatCombo<Base>::CMEnter(TMessage& m)
{
    Base::CMEnter(m);
    RedrawBorders();
}

template <class Base>
void TFlatCombo<Base>::CMExit(TMessage& m)
{
    Base::CMExit(m);
    RedrawBorders();
}

template <class Base>
void TFlatCombo<Base>::CMMouseEnter(TMessage& m)
{
    Base::CMMouseEnter(m);
    if (!mouseIn_ && this->Enabled()) {
        mouseIn_ = true;
        RedrawBorders();
    }
    if (AutoFocus && this->CanFocus()) this->SetFocus();
}

template <class Base>
void TFlatCombo<Base>::CMMouseLeave(TMessage& m)
{
    Base::CMMouseLeave(m);
    if (mouseIn_ && this->Enabled()) {
        mouseIn_ = false;
        RedrawBorders();
    }
}

template <class Base>
void TFlatCombo<Base>::CMEnabledChanged(TMessage& m)
{
    if (flat_) {
        if (this->Enabled()) {
            this->SetColor(savedColor_);
            this->SetParentColor(savedParentColor_);
        } else {
            savedColor_ = this->Color();
            savedParentColor_ = this->ParentColor();
            this->SetParentColor(true);
        }
    }
    Base::CMEnabledChanged(m);
}

template <class Base>
void TFlatCombo<Base>::WMNCPaint(TMessage& m)
{
    Base::WMNCPaint(m);
    if (flat_ && m.DC()) DrawBorders(m.DC());
}

template <class Base>
void TFlatCombo<Base>::CNCommand(TMessage& m)
{
    Base::CNCommand(m);
    const Word code = m.WParamHi();
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
        const int cw = this->ClientWidth();
        this->InvalidateRect(Rect(cw - buttonWidth_, 0, cw, this->ClientHeight()));
    }
}

template <class Base>
void TFlatCombo<Base>::SetBounds(int l, int t, int w, int h)
{
    Base::SetBounds(l, t, w, h);
    // Two pixels more than the platform's one row, for the flat borders' rings.
    if (flat_ && this->Style() != csSimple) this->TWinControl::SetBounds(l, t, this->Width(), this->Height() + 2);
    PlaceEdit();
}

template <class Base>
void TFlatCombo<Base>::WMSize(TWMSize& m)
{
    Base::WMSize(m);
    PlaceEdit();
}

template <class Base>
void TFlatCombo<Base>::PlaceEdit()
{
    // Inside the borders and left of the wider button.
    TWinControl* edit = this->EditControl();
    if (!flat_ || !edit || this->Style() == csSimple) return;
    const int cw = this->ClientWidth(), ch = this->ClientHeight();
    edit->SetBounds(2, 2, std::max(0, cw - buttonWidth_ - 4), std::max(0, ch - 4));
}

// ---------------------------------------------------------------- painting

template <class Base>
void TFlatCombo<Base>::Paint()
{
    Base::Paint();  // the background and the platform's content
    if (!flat_) return;
    HDC dc = this->Canvas()->Handle();
    const int f = this->FrameWidth();
    // The Parts' rectangles are in window coordinates: shift the client canvas to them.
    int saved = SaveDC(dc);
    SetWindowOrgEx(dc, f, f, nullptr);
    if (this->Style() != csSimple) {
        const int cw = this->ClientWidth();
        FillRect(dc, Rect(cw - buttonWidth_ + f, f, cw + f, this->ClientHeight() + f), ColorToRGB(this->Color()));
        DrawButton(dc);
    }
    RestoreDC(dc, saved);
    saved = SaveDC(dc);
    SetWindowOrgEx(dc, f, f, nullptr);
    DrawBorders(dc);
    RestoreDC(dc, saved);
}

template <class Base>
void TFlatCombo<Base>::DrawButton(HDC dc)
{
    const int cw = this->ClientWidth(), ch = this->ClientHeight();
    TRect r = Rect(cw - buttonWidth_, 0, this->Width(), this->Height());
    if (IsWinXP) {
        InflateRect(r, -1, -1);
        const bool pressed = GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
        DrawThemedPart(dc, this->Handle(), L"combobox", 1, pressed ? 3 : 1, r);
        return;
    }
    if (kWide) {
        InflateRect(r, -1, -1);
    } else {
        r.Top += 1;
        r.Bottom -= 1;
        OffsetRect(r, -2, 1);
    }
    DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    ExcludeClipRect(dc, cw - buttonWidth_ - 4, 0, cw + 2, ch);
}

template <class Base>
void TFlatCombo<Base>::DrawBorders(HDC dc)
{
    if (!flat_) return;
    const int saved = SaveDC(dc);
    DrawControlBorder(dc);
    if (this->Style() != csSimple) DrawButtonBorder(dc);
    RestoreDC(dc, saved);
}

template <class Base>
void TFlatCombo<Base>::DrawControlBorder(HDC dc)
{
    const bool raised = Is3DBorderControl();
    const TWinControl* parent = this->Parent();
    const COLORREF outer = raised ? GetSysColor(COLOR_BTNFACE) : ColorToRGB(parent ? parent->Color() : clBtnFace);
    const COLORREF inner = ColorToRGB(this->Color());
    TRect r = Rect(0, 0, this->Width(), this->Height());
    if (raised) {
        DrawEdge(dc, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else {
        FrameRectDC(dc, r, outer);
        InflateRect(r, -1, -1);
    }
    FrameRectDC(dc, r, outer);
    InflateRect(r, -1, -1);
    FrameRectDC(dc, r, inner);
}

template <class Base>
void TFlatCombo<Base>::DrawButtonBorder(HDC dc)
{
    if (!kWide && IsWinXP) return;
    const int cw = this->ClientWidth(), ch = this->ClientHeight();
    ExcludeClipRect(dc, cw - buttonWidth_ + 4, 4, cw - 4, ch - 4);
    TRect r = Rect(cw - buttonWidth_ - (kWide ? 2 : 4), 0, this->Width(), this->Height());
    InflateRect(r, -2, -2);
    const UINT edge = etched_ ? EDGE_ETCHED : EDGE_RAISED;
    if (!kWide) {
        TRect e = Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 2);
        DrawEdge(dc, e, edge, BF_RECT);
    } else if (Is3DBorderButton()) {
        TRect e = r;
        DrawEdge(dc, e, edge, BF_RECT | (this->DroppedDown() ? UINT(BF_FLAT) : 0u));
    } else {
        FillRect(dc, Rect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1), GetSysColor(COLOR_BTNFACE));
    }
    ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
}

template class TFlatCombo<TCustomComboBox>;
template class TFlatCombo<TCustomUNIComboBox>;

unsigned TGRDCustomCombo::GetVersionNr() const { return (1u << 24) | (2u << 16) | (0u << 8) | 0u; }

std::string TGRDComboBox::Version() const
{
    const unsigned v = GetVersionNr();
    return base::Format("%u.%u.%u.%u", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

}  // namespace grid
