#include "widgets/edit/ExCombo.h"

#include "platform/controls/FrameControl.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/GDI.h"
#include "platform/system/VisualStyles.h"
#include "widgets/edit/EditTheme.h"
#include "widgets/html/ThemeApi.h"
#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

TExCustomCombo::TExCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), label_(this), buttonWidth_(GetSystemMetrics(SM_CXVSCROLL) + 2)
{
    SetCtl3D(false);
    TControl::SetColor(clWindow);
}

TExCustomCombo::~TExCustomCombo() = default;

std::string TExCustomCombo::GetVersion() const { return html::VersionText(GetVersionNr()); }

// ---------------------------------------------------------------- properties

void TExCustomCombo::SetFlat(bool f)
{
    if (f == flat_) return;
    flat_ = f;
    SetCtl3D(!f);
    if (!flatParentColor_ || !f) TControl::SetColor(designColor_);
    else if (Parent()) TControl::SetColor(Parent()->Color());
    Invalidate();
}

void TExCustomCombo::SetEtched(bool v)
{
    if (v == etched_) return;
    etched_ = v;
    Invalidate();
}

void TExCustomCombo::SetButtonWidth(int w)
{
    if (w < 14 || w > 32) return;
    buttonWidth_ = w;
    Invalidate();
}

void TExCustomCombo::SetDropWidth(int w)
{
    dropWidth_ = w;
    if (w > 0) Perform(CB_SETDROPPEDWIDTH, WPARAM(w));
}

void TExCustomCombo::SetFlatLineColor(TColor c)
{
    flatLineColor_ = c;
    Invalidate();
}

void TExCustomCombo::SetFlatParentColor(bool v)
{
    flatParentColor_ = v;
    Invalidate();
}

void TExCustomCombo::SetColor(TColor c)
{
    TControl::SetColor(c);
    designColor_ = c;
}

void TExCustomCombo::SetEnabled(bool e)
{
    const bool changed = e != Enabled();
    TCustomComboBox::SetEnabled(e);
    if (changed) label_.SetEnabled(e);
}

void TExCustomCombo::SetBounds(int l, int t, int w, int h)
{
    TCustomComboBox::SetBounds(l, t, w, h);
    label_.Place();
}

void TExCustomCombo::SetParent(TWinControl* p)
{
    TCustomComboBox::SetParent(p);
    label_.SetParent(p);
}

void TExCustomCombo::SetVisible(bool v)
{
    TCustomComboBox::SetVisible(v);
    label_.SetVisible(v);
}

void TExCustomCombo::SetLabelCaption(const std::string& s) { label_.SetCaption(s); }

void TExCustomCombo::SetLabelPosition(TLabelPosition p)
{
    label_.Position = p;
    label_.Place();
}

void TExCustomCombo::SetLabelMargin(int m)
{
    label_.Margin = m;
    label_.Place();
}

void TExCustomCombo::SetLabelTransparent(bool v)
{
    label_.Transparent = v;
    label_.Place();
}

void TExCustomCombo::SetLabelAlwaysEnabled(bool v)
{
    label_.AlwaysEnabled = v;
    label_.Place();
}

// ---------------------------------------------------------------- painting

bool TExCustomCombo::Raised() const { return mouseInside_ || Focused() || ComboFocused(); }

void TExCustomCombo::DrawBorders(HDC dc, TPoint origin)
{
    if (!flat_) return;
    TRect r = Rect(origin.X, origin.Y, origin.X + Width(), origin.Y + Height());
    const COLORREF own = ColorToRGB(Color());
    auto frame = [&](TRect& f, COLORREF c) {
        FillRect(dc, Rect(f.Left, f.Top, f.Right, f.Top + 1), c);
        FillRect(dc, Rect(f.Left, f.Bottom - 1, f.Right, f.Bottom), c);
        FillRect(dc, Rect(f.Left, f.Top, f.Left + 1, f.Bottom), c);
        FillRect(dc, Rect(f.Right - 1, f.Top, f.Right, f.Bottom), c);
        InflateRect(f, -1, -1);
    };
    const TRect outer = r;
    if (FocusBorder && Raised()) {
        DrawEdge(dc, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        frame(r, ColorToRGB(clBtnFace));
    } else {
        const COLORREF pc = ColorToRGB(Parent() ? Parent()->Color() : clBtnFace);
        frame(r, pc);
        frame(r, pc);
    }
    frame(r, own);
    if (flatLineColor_ != clNone)
        FillRect(dc, Rect(outer.Left - 2 < origin.X ? origin.X : outer.Left - 2, outer.Bottom - 1, outer.Right - 18, outer.Bottom),
                 ColorToRGB(flatLineColor_));
    if (Style() == csSimple || ThemesInUse(html::ThemeUnit::ACXPVS)) return;
    TRect b = Rect(origin.X + ClientWidth() - buttonWidth_ - 2, origin.Y, outer.Right, outer.Bottom);
    InflateRect(b, -2, -2);
    if ((Raised() && Enabled()) || DroppedDown()) {
        DrawEdge(dc, b, etched_ ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (DroppedDown() ? UINT(BF_FLAT) : 0u));
    } else {
        FillRect(dc, Rect(b.Left, b.Top + 1, b.Right - 1, b.Bottom - 1), ColorToRGB(clBtnFace));
    }
}

void TExCustomCombo::Paint()
{
    TCustomComboBox::Paint();
    if (!flat_) return;
    TCanvas* c = Canvas();
    if (Style() != csSimple) {
        TRect b = Rect(ClientWidth() - buttonWidth_, 0, ClientWidth(), ClientHeight());
        InflateRect(b, -1, -1);
        c->Brush().SetColor(Color());
        c->FillRect(Rect(b.Left - 1, 0, ClientWidth(), ClientHeight()));
        const bool down = DroppedDown() && (GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0);
        const int state = down ? 3 : buttonHot_ && !DroppedDown() ? 2 : 1;
        if (!DrawThemedPart(html::ThemeUnit::ACXPVS, Handle(), L"combobox", CP_DROPDOWNBUTTON, state, c->Handle(), b))
            DrawFrameControl(c->Handle(), &b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    }
    const int fw = FrameWidth();
    DrawBorders(c->Handle(), Point(-fw, -fw));
}

void TExCustomCombo::WMNCPaint(TMessage& m)
{
    TCustomComboBox::WMNCPaint(m);
    if (flat_ && m.DC()) DrawBorders(m.DC(), Point(0, 0));
}

// ---------------------------------------------------------------- mouse and focus

void TExCustomCombo::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomComboBox::MouseMove(Shift, X, Y);
    const bool hot = X > ClientWidth() - buttonWidth_ && X < ClientWidth();
    if (hot != buttonHot_) {
        buttonHot_ = hot;
        Invalidate();
    }
}

void TExCustomCombo::CMMouseEnter(TMessage& m)
{
    TCustomComboBox::CMMouseEnter(m);
    if (!mouseInside_ && Enabled()) {
        mouseInside_ = true;
        Invalidate();
    }
    if (AutoFocus && CanFocus()) SetFocus();
}

void TExCustomCombo::CMMouseLeave(TMessage& m)
{
    TCustomComboBox::CMMouseLeave(m);
    if (mouseInside_ && Enabled()) mouseInside_ = false;
    buttonHot_ = false;
    Invalidate();
}

void TExCustomCombo::CMEnter(TMessage& m)
{
    TCustomComboBox::CMEnter(m);
    Invalidate();
}

void TExCustomCombo::CMExit(TMessage& m)
{
    TCustomComboBox::CMExit(m);
    Invalidate();
}

void TExCustomCombo::CMEnabledChanged(TMessage& m)
{
    if (flat_) {
        if (!Enabled()) {
            savedParentColor_ = ParentColor();
            savedColor_ = Color();
            SetParentColor(true);
        } else {
            SetParentColor(savedParentColor_);
            TControl::SetColor(savedColor_);
        }
    }
    TCustomComboBox::CMEnabledChanged(m);
}

void TExCustomCombo::CNCommand(TMessage& m)
{
    TCustomComboBox::CNCommand(m);
    const Word code = m.WParamHi();
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) Invalidate();
    if (code == CBN_CLOSEUP && OnDropUp) OnDropUp(this);
}

}  // namespace edit
