#include "widgets/edit/ExEdBtn.h"

#include <algorithm>

#include "platform/controls/Menus.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/system/VisualStyles.h"
#include "widgets/edit/EditLayout.h"
#include "widgets/edit/EditTheme.h"
#include "widgets/html/ThemeApi.h"

namespace edit {

using namespace platform;

// ---------------------------------------------------------------- the button

void TExSpeedButton::SetEtched(bool v)
{
    etched_ = v;
    Invalidate();
}

void TExSpeedButton::SetFocused(bool v)
{
    focused_ = v;
    Invalidate();
}

void TExSpeedButton::CMMouseEnter(TMessage& m)
{
    TSpeedButton::CMMouseEnter(m);
    mouseInside_ = true;
    Invalidate();
}

void TExSpeedButton::CMMouseLeave(TMessage& m)
{
    TSpeedButton::CMMouseLeave(m);
    mouseInside_ = false;
    Invalidate();
}

namespace {

// The glyph in r, its top-left colour left out, on the button face.
void DrawTransparentGlyph(TCanvas* c, TBitmap* glyph, const TRect& r)
{
    TBitmap work(glyph->Width(), glyph->Height());
    TCanvas* w = work.Canvas();
    w->Brush().SetColor(clBtnFace);
    w->FillRect(Rect(0, 0, work.Width(), work.Height()));
    const TColor key = glyph->Canvas()->Pixel(0, 0);
    w->Brush().SetColor(clBtnFace);
    w->BrushCopy(Rect(0, 0, r.Width(), r.Height()), glyph, Rect(0, 0, r.Width(), r.Height()), key);
    c->CopyRect(r, w, Rect(0, 0, r.Width(), r.Height()));
}

}  // namespace

void TExSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    if (FontControl) c->Font().Assign(*FontControl->Font());
    const bool down = State() == bsDown || State() == bsExclusive;
    TBitmap* glyph = Glyph();
    const bool hasGlyph = glyph && !glyph->Empty();
    const TRect client = Rect(0, 0, Width(), Height());
    auto caption = [&](TRect r) {
        c->Brush().SetStyle(bsClear);
        DrawText(c->Handle(), Caption(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Brush().SetStyle(bsSolid);
    };
    if (NewerSystem() && ThemesInUse(html::ThemeUnit::AEBXPVS)) {
        c->FillRect(client);
        const int state = down ? PBS_PRESSED : mouseInside_ ? PBS_HOT : PBS_NORMAL;
        HWND window = Parent() ? Parent()->Handle() : 0;
        DrawThemedPart(html::ThemeUnit::AEBXPVS, window, L"button", BP_PUSHBUTTON, state, c->Handle(),
                       Rect(0, 0, Width() + 1, Height() + 1));
        TRect r = client;
        InflateRect(r, -2, -2);
        if (hasGlyph) {
            TRect g = Rect(r.Left, r.Top, r.Left + glyph->Width(), r.Top + glyph->Height());
            if (!Caption().empty()) OffsetRect(g, 2, 0);
            else if (glyph->Width() < r.Width()) OffsetRect(g, (r.Width() - glyph->Width()) / 2, 0);
            if (glyph->Height() < r.Height()) OffsetRect(g, 0, (r.Height() - glyph->Height()) / 2);
            if (down) OffsetRect(g, 1, 1);
            DrawTransparentGlyph(c, glyph, g);
            if (!Caption().empty()) caption(Rect(g.Right + 2, g.Top - 1, r.Right, g.Bottom - 1));
        } else if (!Caption().empty()) {
            TRect t = client;
            InflateRect(t, -3, -1);
            if (down) OffsetRect(t, 1, 1);
            caption(t);
        }
        return;
    }
    if (Flat()) {
        c->FillRect(client);
        c->Brush().SetColor(clBtnFace);
        c->FillRect(client);
        TRect e = Rect(0, 0, Width() + 1, Height() + 1);
        DrawEdge(c->Handle(), e, etched_ ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? UINT(BF_FLAT) : 0u));
        TRect r = client;
        if (hasGlyph) {
            InflateRect(r, -3, -3);
            if (down) OffsetRect(r, 1, 1);
            DrawTransparentGlyph(c, glyph, r);
        }
        if (!Caption().empty()) {
            TRect t = client;
            InflateRect(t, -3, -1);
            if (down) OffsetRect(t, 1, 1);
            caption(t);
        }
        return;
    }
    TSpeedButton::Paint();
}

TEditButton::TEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle = (ControlStyle & ~(csAcceptsControls | csSetCaption)) | csFramed | csOpaque;
    button_ = new TExSpeedButton(this);
    button_->SetParent(this);
    TWinControl::SetBounds(0, 0, 16, 25);
    button_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) {
        if (b != mbLeft) return;
        if (ClickHandler) ClickHandler(this);
        if (auto* f = FocusControl; f && f->TabStop() && f->CanFocus() && !f->Focused()) f->SetFocus();
        else if (TabStop() && CanFocus()) SetFocus();
    };
}

void TEditButton::SetBounds(int l, int t, int w, int h)
{
    (void)w;
    TWinControl::SetBounds(l, t, ButtonWidth, h);
    button_->SetBounds(0, 0, ButtonWidth, h);
}

void TEditButton::WMSize(TWMSize& m)
{
    TWinControl::WMSize(m);
    button_->SetBounds(0, 0, ButtonWidth, Height());
}

// ---------------------------------------------------------------- the edit

TExEditBtn::TExEditBtn(TComponent* AOwner) : TExEdit(AOwner)
{
    holder_ = new TEditButton(this);
    holder_->SetBounds(0, 0, 15, 17);
    holder_->SetParent(this);
    holder_->FocusControl = this;
    holder_->Button()->FontControl = this;
    holder_->ClickHandler = [this](TObject* s) { BtnClick(s); };
    SetText("");
    ControlStyle &= ~csSetCaption;
    RightReserve = 18;
    LeftReserve = 0;
}

TExEditBtn::~TExEditBtn() = default;

std::string TExEditBtn::GetCaption() const { return holder_->Button()->Caption(); }

void TExEditBtn::SetCaption(const std::string& s) { holder_->Button()->SetCaption(s); }

TBitmap* TExEditBtn::GetGlyph() const { return holder_->Button()->Glyph(); }

void TExEditBtn::SetGlyph(const TBitmap* b) { holder_->Button()->SetGlyph(b); }

int TExEditBtn::ButtonWidth() const { return holder_ ? holder_->ButtonWidth : 16; }

void TExEditBtn::SetButtonWidth(int w)
{
    holder_->ButtonWidth = w;
    if (HandleAllocated()) ResizeControl();
}

void TExEditBtn::SetButtonHint(const std::string& s)
{
    if (s == buttonHint_) return;
    buttonHint_ = s;
    holder_->SetHint(s);
    holder_->SetShowHint(!s.empty());
}

void TExEditBtn::SetFlat(bool v)
{
    if (v == Flat()) return;
    holder_->Button()->SetFlat(v);
    TExEdit::SetFlat(v);
    if (HandleAllocated()) ResizeControl();
}

void TExEditBtn::SetEtched(bool v)
{
    if (v == etched_) return;
    etched_ = v;
    holder_->Button()->SetEtched(v);
    Invalidate();
}

void TExEditBtn::BtnClick(TObject* Sender)
{
    (void)Sender;
    if (OnClickBtn) OnClickBtn(this);
}

int TExEditBtn::GetMinHeight() { return EditMinHeight(this); }

void TExEditBtn::ResizeControl()
{
    if (laying_) return;
    laying_ = true;
    const int minHeight = GetMinHeight();
    if (Height() < minHeight) {
        laying_ = false;
        SetHeight(minHeight);
        return;
    }
    const int W = Width(), H = Height(), bw = ButtonWidth();
    if (Ctl3D()) {
        const int b = Flat() ? 3 : BorderStyle() != bsNone ? 4 : 2;
        holder_->SetBounds(W - bw - b, Flat() ? 2 : 0, bw, H - b - 1);
    } else {
        holder_->SetBounds(W - bw - 2, 1, bw, H - 3);
    }
    SetEditRect();
    Invalidate();
    laying_ = false;
}

void TExEditBtn::SetEditRect()
{
    const bool border = BorderStyle() != bsNone;
    SetTextArea(this, border ? 1 : 2, border ? 1 : 4, holder_->Width() + unitSpace_ + 4);
}

void TExEditBtn::SetFlatRect(bool flat)
{
    if (flat) TExEdit::SetFlatRect(true);
    else SetEditRect();
}

void TExEditBtn::CreateWnd()
{
    TExEdit::CreateWnd();
    ResizeControl();
}

void TExEditBtn::WMSize(TWMSize& m)
{
    TExEdit::WMSize(m);
    ResizeControl();
}

void TExEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    TExEdit::KeyDown(Key, Shift);
    if (Key == VK_F4 && !(Shift & (ssCtrl | ssAlt)) && OnClickBtn) OnClickBtn(this);
}

void TExEditBtn::WMKeyDown(TWMKeyDown& m)
{
    const bool ctrlEnter = m.CharCode() == VK_RETURN && GetKeyState(VK_CONTROL) < 0;
    TExEdit::WMKeyDown(m);
    if (ctrlEnter) PostMessage(Handle(), WM_KEYDOWN, VK_UP, KeyDataOf(VK_UP));
}

void TExEditBtn::WMCut(TMessage& m)
{
    if (!EditorEnabled || ReadOnly()) return;
    TExEdit::WMCut(m);
}

void TExEditBtn::WMPaste(TMessage& m)
{
    if (!EditorEnabled || ReadOnly()) return;
    TExEdit::WMPaste(m);
}

void TExEditBtn::DoEnter()
{
    if (AutoSelect && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TExEdit::DoEnter();
    SetEditRect();
    UpdateButtonBorder();
}

void TExEditBtn::DoExit()
{
    TExEdit::DoExit();
    UpdateButtonBorder();
}

void TExEditBtn::CMMouseEnter(TMessage& m)
{
    TExEdit::CMMouseEnter(m);
    UpdateButtonBorder();
}

void TExEditBtn::CMMouseLeave(TMessage& m)
{
    TExEdit::CMMouseLeave(m);
    UpdateButtonBorder();
}

void TExEditBtn::UpdateButtonBorder()
{
    if (Flat()) holder_->Button()->SetFocused(MouseInside() || Focused());
}

// ---------------------------------------------------------------- unit selector

namespace {

constexpr UINT kUnitCommand = WM_COMMAND;

}  // namespace

TUnitExEditBtn::TUnitExEditBtn(TComponent* AOwner) : TExEditBtn(AOwner)
{
    unitSpace_ = 20;
}

TUnitExEditBtn::~TUnitExEditBtn() = default;

void TUnitExEditBtn::SetUnits(const base::TStrings* list)
{
    if (!list) return;
    units_.Clear();
    for (int i = 0; i < list->Count(); ++i) units_.Add(list->Get(i));
}

void TUnitExEditBtn::SetUnitID(const std::string& s)
{
    unitID_ = s;
    Invalidate();
}

void TUnitExEditBtn::SetUnitSize(int n)
{
    unitSpace_ = n;
    SetEditRect();
    Invalidate();
}

void TUnitExEditBtn::BtnClick(TObject* Sender)
{
    if (!menu_) menu_ = new TPopupMenu(this);
    menu_->Items()->Clear();
    for (int i = 0; i < units_.Count(); ++i) {
        auto* item = new TMenuItem(menu_);
        item->SetCaption(units_.Get(i));
        // The choice arrives after the click, as the menu's command.
        item->OnClick = [this, i](TObject*) { PostMessage(Handle(), kUnitCommand, WPARAM(i + 1), 0); };
        menu_->Items()->Add(item);
    }
    const TPoint at = ClientToScreen(Point(ClientWidth() - 15, ClientHeight()));
    menu_->Popup(at.X, at.Y);
    if (OnClickBtn) OnClickBtn(Sender);
}

void TUnitExEditBtn::Dispatch(TMessage& m)
{
    if (m.Msg == kUnitCommand && m.LParam == 0) {
        const int k = int(m.WParamLo());
        if (k >= 1 && k <= units_.Count()) {
            SetUnitID(units_.Get(k - 1));
            if (OnUnitChanged) OnUnitChanged(this, unitID_);
        }
        return;
    }
    TExEditBtn::Dispatch(m);
}

void TUnitExEditBtn::PaintWindow(HDC dc)
{
    TExEditBtn::PaintWindow(dc);
    auto* canvas = static_cast<TControlCanvas*>(Canvas());
    canvas->PaintOn(dc, [&] {
        canvas->Font().Assign(*Font());
        if (!Enabled()) canvas->Font().SetColor(clGrayText);
        canvas->Brush().SetStyle(bsClear);
        const int x = ClientWidth() - ButtonHolder()->Width() - unitSpace_ - 3;
        TRect r = Rect(x, 2, x + unitSpace_, ClientHeight());
        DrawText(canvas->Handle(), unitID_, -1, &r, DT_EDITCONTROL);
        canvas->Brush().SetStyle(bsSolid);
    });
}

}  // namespace edit
