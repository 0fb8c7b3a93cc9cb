#include "widgets/edit/ExToolBtn.h"

#include <cmath>

#include "base/ScopeGuard.h"
#include "platform/controls/FrameControl.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Thread.h"
#include "widgets/html/ThemeApi.h"
#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

namespace {

int Red(TColor c) { return int(c & 0xFF); }
int Green(TColor c) { return int((c >> 8) & 0xFF); }
int Blue(TColor c) { return int((c >> 16) & 0xFF); }
TColor RGB(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }
int Round(double v) { return int(std::nearbyint(v)); }  // halves to even

}  // namespace

void DrawButtonGradient(TCanvas* c, TColor from, TColor to, int steps, const TRect& r, bool horizontal, TColor border)
{
    if (steps <= 0) steps = 1;
    from = ColorToRGB(from);
    to = ColorToRGB(to);
    const int extent = horizontal ? r.Width() : r.Height();
    for (int i = 0; i < steps; ++i) {
        const TColor band = RGB(Red(from) + Round(double(i) * (Red(to) - Red(from)) / steps),
                                Green(from) + Round(double(i) * (Green(to) - Green(from)) / steps),
                                Blue(from) + Round(double(i) * (Blue(to) - Blue(from)) / steps));
        c->Pen().SetColor(band);
        c->Brush().SetColor(band);
        const int start = Round(double(i) * extent / steps), size = Round(double(extent) / steps) + 1;
        if (horizontal) c->Rectangle(r.Left + start, r.Top, std::min(r.Left + start + size, r.Right), r.Bottom);
        else c->Rectangle(r.Left, r.Top + start, r.Right, std::min(r.Top + start + size, r.Bottom));
    }
    if (border != clNone) {
        c->Brush().SetStyle(bsClear);
        c->Pen().SetColor(border);
        c->Rectangle(r);
        c->Brush().SetStyle(bsSolid);
    }
}

TExToolButton::TExToolButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 23, 22);
    SetParentFont(true);
    SetColor(clBtnFace);
    ControlStyle = csCaptureMouse | csDoubleClicks;
}

TExToolButton::~TExToolButton() = default;

std::string TExToolButton::GetVersion() const { return html::VersionText(GetVersionNr()); }

// ---------------------------------------------------------------- properties

void TExToolButton::SetGroupIndex(int v)
{
    if (v == groupIndex_) return;
    groupIndex_ = v;
    UpdateExclusive();
}

void TExToolButton::SetAllowAllUp(bool v)
{
    if (v == allowAllUp_) return;
    allowAllUp_ = v;
    UpdateExclusive();
}

void TExToolButton::SetDown(bool v)
{
    if (groupIndex_ == 0 && style_ == tasButton) v = false;
    if (style_ == tasCheck) {
        down_ = v;
        Repaint();
        return;
    }
    if (v == down_ || (down_ && !allowAllUp_)) return;
    down_ = v;
    if (v) {
        if (state_ == bsUp) Invalidate();
        state_ = bsExclusive;
        UpdateExclusive();
    } else {
        state_ = bsUp;
        Repaint();
    }
}

void TExToolButton::UpdateExclusive()
{
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(groupIndex_), reinterpret_cast<LPARAM>(static_cast<TControl*>(this)), 0};
    Parent()->Broadcast(m);
}

void TExToolButton::Dispatch(TMessage& m)
{
    if (m.Msg == CM_BUTTONPRESSED) {
        auto* sender = dynamic_cast<TExToolButton*>(reinterpret_cast<TControl*>(m.LParam));
        if (int(m.WParam) == groupIndex_ && sender && sender != this) {
            if (sender->Down() && down_) {
                down_ = false;
                state_ = bsUp;
                Invalidate();
            }
            allowAllUp_ = sender->AllowAllUp();
        }
        return;
    }
    if (m.Msg == CM_DIALOGCHAR) {
        if (IsAccel(Word(m.WParam), Caption()) && Enabled() && Showing()) {
            Click();
            m.Result = 1;
        }
        return;
    }
    if (m.Msg == CM_FONTCHANGED || m.Msg == CM_TEXTCHANGED || m.Msg == CM_SYSCOLORCHANGE) Invalidate();
    if ((m.Msg == CM_SYSFONTCHANGED) && autoThemeAdapt_) ThemeAdapt();
    TGraphicControl::Dispatch(m);
}

void TExToolButton::SetDropDownMenu(TPopupMenu* menu)
{
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TExToolButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == dropDownMenu_) dropDownMenu_ = nullptr;
}

void TExToolButton::SetLayout(TButtonLayout v)
{
    if (v == layout_) return;
    layout_ = v;
    Invalidate();
}

void TExToolButton::SetSpacing(int v)
{
    if (v == spacing_) return;
    spacing_ = v;
    Invalidate();
}

void TExToolButton::SetMargin(int v)
{
    if (v == margin_ || v < -1) return;
    margin_ = v;
    Invalidate();
}

void TExToolButton::SetFlat(bool v)
{
    if (v == flat_) return;
    flat_ = v;
    Invalidate();
}

void TExToolButton::SetStyle(TExToolButtonStyle v)
{
    style_ = v;
    Invalidate();
}

void TExToolButton::SetRounded(bool v)
{
    rounded_ = v;
    Invalidate();
}

void TExToolButton::SetDropDownButton(bool v)
{
    dropDownButton_ = v;
    Invalidate();
}

void TExToolButton::SetColorTo(TColor c)
{
    colorTo_ = c;
    Invalidate();
}

void TExToolButton::SetColorChecked(TColor c)
{
    colorChecked_ = c;
    Invalidate();
}

void TExToolButton::SetColorCheckedTo(TColor c)
{
    colorCheckedTo_ = c;
    Invalidate();
}

void TExToolButton::SetBorderColor(TColor c)
{
    borderColor_ = c;
    Invalidate();
}

// ---------------------------------------------------------------- glyphs

TBitmap* TExToolButton::Glyph() { return glyph_.Glyph(); }
TBitmap* TExToolButton::GlyphDisabled() { return glyphDisabled_.Glyph(); }

void TExToolButton::SetGlyph(const TBitmap* b)
{
    glyph_.SetGlyph(b);
    if (b && !b->Empty() && (!glyphDisabled_.Glyph() || glyphDisabled_.Glyph()->Empty())) {
        TBitmap grey;
        grey.Assign(*b);
        for (int y = 0; y < grey.Height(); ++y) {
            std::uint32_t* row = grey.ScanLine(y);
            for (int x = 0; x < grey.Width(); ++x) {
                const std::uint32_t p = row[x];
                const int level = ((int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF)) / 3) / 2 + 96;
                row[x] = (p & 0xFF000000u) | std::uint32_t(level) | std::uint32_t(level) << 8 | std::uint32_t(level) << 16;
            }
        }
        glyphDisabled_.SetGlyph(&grey);
    }
    if (shaded_) MakeShade();
    Invalidate();
}

void TExToolButton::SetGlyphDisabled(const TBitmap* b) { glyphDisabled_.SetGlyph(b); }
void TExToolButton::SetGlyphHot(const TBitmap* b) { glyphHot_.SetGlyph(b); }
void TExToolButton::SetGlyphDown(const TBitmap* b) { glyphDown_.SetGlyph(b); }

void TExToolButton::SetShaded(bool v)
{
    shaded_ = v;
    if (v) MakeShade();
}

void TExToolButton::MakeShade()
{
    TBitmap* g = glyph_.Glyph();
    if (!g || g->Empty()) return;
    TBitmap shade;
    shade.Assign(*g);
    const int h = shade.Height();
    const std::uint32_t transparent = shade.ScanLine(h - 1)[0];
    const std::uint32_t grey = 0x00808080u | 0xFF000000u;
    for (int y = 0; y < h; ++y) {
        std::uint32_t* row = shade.ScanLine(y);
        for (int x = 0; x < shade.Width(); ++x)
            if ((row[x] & 0xFFFFFFu) != (transparent & 0xFFFFFFu)) row[x] = grey;
    }
    shade_.SetGlyph(&shade);
}

// ---------------------------------------------------------------- looks

void TExToolButton::SetLook(int n)
{
    struct Look {
        TColor color, colorTo, hot, hotTo, down, downTo, checked, checkedTo, borderDown, borderHot;
        bool rounded;
    };
    static const Look blue = {0x00FDEADA, 0x00E4AE88, 0x00CCF4FF, 0x0091D0FF, 0x004E91FE, 0x008ED3FF,
                              0x008ED3FF, 0x0055ADFF, 0x00000000, 0x00000000, false};
    static const Look looks[] = {
        {0x00EDF1F1, 0x00DFEBEB, 0x00FAFCFC, 0x00E5ECED, 0x00E0E6E7, 0x00D8E0E1, 0x00FFFFFF, clNone, 0x00AF987A,
         0x00C3CECE, true},
        {clBtnFace, clNone, 0x00EED2C1, clNone, 0x00E2B598, clNone, 0x00E8E6E1, clNone, 0x00C56A31, 0x00C56A31, false},
        blue,
        {0x00CFF0EA, 0x008CC0B1, blue.hot, blue.hotTo, blue.down, blue.downTo, blue.checked, blue.checkedTo,
         0x00000000, 0x00000000, false},
        {0x00ECE2E1, 0x00B39698, blue.hot, blue.hotTo, blue.down, blue.downTo, blue.checked, blue.checkedTo,
         0x00000000, 0x00000000, false},
        {clBtnFace, clNone, clBtnFace, clNone, 0x00D8D3D2, clNone, 0x00CAC7C7, clNone, clNone, clNone, false},
        {0x00CAFFFF, 0x00A6FFFF, 0x00A8F0FD, 0x007CE9FC, 0x004DE0FB, 0x007AE9FC, 0x00B5E6F2, 0x009CDDED, 0x00808080,
         0x00808080, false},
    };
    if (n < 0 || n > 6) return;
    const Look& l = looks[n];
    SetColor(l.color);
    colorTo_ = l.colorTo;
    ColorHot = l.hot;
    ColorHotTo = l.hotTo;
    ColorDown = l.down;
    ColorDownTo = l.downTo;
    colorChecked_ = l.checked;
    colorCheckedTo_ = l.checkedTo;
    BorderDownColor = l.borderDown;
    BorderHotColor = l.borderHot;
    borderColor_ = clNone;
    rounded_ = l.rounded;
    flat_ = true;
    Invalidate();
}

void TExToolButton::SetAutoThemeAdapt(bool v)
{
    autoThemeAdapt_ = v;
    if (v) ThemeAdapt();
}

void TExToolButton::ThemeAdapt()
{
    int scheme = 0;
    try {
        scheme = html::CurrentXPColorScheme();
    } catch (const std::exception&) {
        scheme = 0;  // no scheme to follow
    }
    SetLook(scheme == 1 ? 2 : scheme == 2 ? 3 : scheme == 3 ? 4 : 1);
}

// ---------------------------------------------------------------- mouse

void TExToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    if (dropDownButton_ && X > ClientWidth() - 12) {
        state_ = bsUp;
        mouseInside_ = false;
        Repaint();
        if (OnDropDown) OnDropDown(this);
        if (dropDownMenu_) {
            const TPoint at = ClientToScreen(Point(0, Height()));
            dropDownMenu_->Popup(at.X, at.Y);
        }
        return;
    }
    if (!down_) {
        state_ = bsDown;
        Invalidate();
    }
    if (style_ == tasCheck) {
        state_ = bsDown;
        Repaint();
    }
    dragging_ = true;
}

void TExToolButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (dragging_) {
        TButtonState s = down_ ? bsExclusive : bsUp;
        if (Inside(X, Y)) s = down_ ? bsExclusive : bsDown;
        if (style_ == tasCheck && down_) s = bsDown;
        if (s != state_) {
            state_ = s;
            Invalidate();
        }
    } else if (!Inside(X, Y)) {
        UpdateTracking();
    }
}

void TExToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!dragging_ || Button != mbLeft) return;
    dragging_ = false;
    const bool inside = Inside(X, Y);
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseInside_ = false;
        if (style_ == tasCheck) {
            down_ = !down_;
            state_ = bsUp;
        }
        if (inside) Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_) Repaint();
    } else if (down_) {
        state_ = bsExclusive;
        Repaint();
    }
    if (inside) Click();
    UpdateTracking();
}

void TExToolButton::Click() { TGraphicControl::Click(); }

void TExToolButton::UpdateTracking()
{
    if (!flat_ || !Enabled() || !Parent()) return;
    TPoint p;
    GetCursorPos(p);
    const bool over = Parent()->ControlAtPos(Parent()->ScreenToClient(p), false) == this;
    mouseInside_ = !over;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TExToolButton::CMMouseEnter(TMessage& m)
{
    TGraphicControl::CMMouseEnter(m);
    if (flat_ && Enabled() && !mouseInside_ && DragMode != dmAutomatic && !GetCapture()) {
        mouseInside_ = true;
        Repaint();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExToolButton::CMMouseLeave(TMessage& m)
{
    TGraphicControl::CMMouseLeave(m);
    if (flat_ && Enabled() && mouseInside_ && !dragging_) {
        mouseInside_ = false;
        Invalidate();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExToolButton::CMEnabledChanged(TMessage& m)
{
    UpdateTracking();
    Repaint();
    TGraphicControl::CMEnabledChanged(m);
}

void TExToolButton::WMLButtonDblClk(TWMMouse& m)
{
    TGraphicControl::WMLButtonDblClk(m);
    if (down_ && OnDblClick) OnDblClick(this);
}

// ---------------------------------------------------------------- painting

void TExToolButton::Paint()
{
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    TRect r = Rect(0, 0, Width(), Height());
    if (Enabled()) {
        if (state_ == bsDisabled) state_ = down_ && groupIndex_ ? bsExclusive : bsUp;
    } else {
        state_ = bsDisabled;
        dragging_ = false;
    }
    const TButtonState drawn = style_ == tasCheck && down_ ? bsDown : state_;
    const bool pressed = drawn == bsDown || drawn == bsExclusive;
    const bool hot = mouseInside_ && Enabled();
    c->Pen().SetWidth(1);
    if (!flat_) {
        DrawFrameControl(c->Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? UINT(DFCS_PUSHED) : 0u));
    } else {
        if (BorderDownColor == clNone || rounded_) InflateRect(r, -1, -1);
        auto face = [&](TColor from, TColor to, TColor pen) {
            if (to == clNone) {
                c->Brush().SetColor(from);
                c->Pen().SetColor(pen == clNone ? from : pen);
                c->Rectangle(r);
            } else {
                DrawButtonGradient(c, from, to, 16, r, false, pen);
            }
        };
        auto roundOutline = [&](TColor pen) {
            InflateRect(r, 1, 1);
            c->Brush().SetStyle(bsClear);
            c->Pen().SetColor(pen);
            c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
            c->Brush().SetStyle(bsSolid);
        };
        if (!hot) {
            if (down_ && style_ == tasCheck) {
                face(colorChecked_, colorCheckedTo_, BorderDownColor);
            } else {
                if (colorTo_ == clNone) {
                    c->Brush().SetColor(Color());
                    c->FillRect(r);
                } else {
                    DrawButtonGradient(c, Color(), colorTo_, 16, r, false,
                                       rounded_ ? clNone : down_ ? BorderDownColor : borderColor_);
                }
                if (borderColor_ != clNone) {
                    if (rounded_) {
                        roundOutline(borderColor_);
                    } else {
                        c->Brush().SetStyle(bsClear);
                        c->Pen().SetColor(borderColor_);
                        c->Rectangle(r);
                        c->Brush().SetStyle(bsSolid);
                    }
                }
            }
        } else {
            TColor from = ColorHot, to = ColorHotTo, pen = BorderHotColor;
            if (drawn == bsDown && !(down_ && style_ == tasCheck && state_ != bsDown)) {
                from = ColorDown;
                to = ColorDownTo;
                pen = BorderDownColor;
            } else if (down_ && style_ == tasCheck) {
                from = colorChecked_;
                to = colorCheckedTo_;
                pen = BorderDownColor;
            }
            face(from, to, rounded_ ? clNone : pen);
            const TColor line = drawn == bsDown ? BorderDownColor : BorderHotColor;
            if (rounded_) roundOutline(line);
            if (dropDownButton_ && line != clNone) {
                c->Pen().SetColor(line);
                c->MoveTo(r.Right - 12, r.Top);
                c->LineTo(r.Right - 12, r.Bottom);
            }
        }
        InflateRect(r, -1, -1);
    }
    TPoint offset{0, 0};
    if (pressed) {
        if (state_ == bsExclusive && (!flat_ || !hot)) {
            TRect f = r;
            InflateRect(f, 1, 1);
            if (colorCheckedTo_ == clNone) {
                c->Brush().SetColor(colorChecked_);
                c->FillRect(f);
            } else {
                DrawButtonGradient(c, colorChecked_, colorCheckedTo_, 16, f, false, down_ ? BorderDownColor : borderColor_);
            }
        }
        if (!flat_) offset = {1, 1};
    } else if (flat_ && hot) {
        offset = {-1, -1};
    }
    if (dropDownButton_) {
        const int mid = (r.Top + r.Bottom) / 2;
        const TPoint arrow[] = {{r.Right - 8, mid - 1}, {r.Right - 4, mid - 1}, {r.Right - 6, mid + 1}};
        c->Brush().SetColor(Font()->Color());
        c->Pen().SetColor(Font()->Color());
        c->Polygon(arrow, 3);
        r.Right -= 12;
    }
    auto has = [](TButtonGlyph& g) { return g.Glyph() && !g.Glyph()->Empty(); };
    TButtonGlyph* glyph = &glyph_;
    if (!Enabled()) {
        if (has(glyphDisabled_)) glyph = &glyphDisabled_;
    } else if (hot && !pressed) {
        if (has(glyphHot_)) glyph = &glyphHot_;
    } else if (pressed && has(glyphDown_)) {
        glyph = &glyphDown_;
    }
    TPoint glyphPos;
    TRect text;
    glyph->CalcLayout(c, r, offset, Caption(), layout_, margin_, spacing_, glyphPos, text);
    if (has(*glyph)) {
        if (hot && shaded_ && drawn != bsDown && has(shade_)) shade_.DrawGlyph(c, glyphPos.X + 2, glyphPos.Y + 2, bsUp);
        glyph->DrawGlyph(c, glyphPos.X, glyphPos.Y, bsUp);
    }
    if (!Caption().empty()) {
        if (flat_ && hot && !pressed) OffsetRect(text, 1, 1);
        c->Brush().SetStyle(bsClear);
        const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (!Enabled()) {
            TRect shifted = text;
            OffsetRect(shifted, 1, 1);
            c->Font().SetColor(clBtnHighlight);
            DrawText(c->Handle(), Caption(), -1, &shifted, flags);
            c->Font().SetColor(clBtnShadow);
        }
        DrawText(c->Handle(), Caption(), -1, &text, flags);
        c->Brush().SetStyle(bsSolid);
    }
}

// ---------------------------------------------------------------- repeat button

TExRepeatButton::TExRepeatButton(TComponent* AOwner) : TExToolButton(AOwner) {}

TExRepeatButton::~TExRepeatButton() = default;

void TExRepeatButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExToolButton::MouseDown(Button, Shift, X, Y);
    if (!timer_) {
        timer_ = new TTimer(this);
        timer_->OnTimer = [this](TObject*) { Tick(); };
    }
    timer_->SetInterval(UINT(InitRepeatPause));
    timer_->SetEnabled(true);
}

void TExRepeatButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExToolButton::MouseUp(Button, Shift, X, Y);
    if (timer_) timer_->SetEnabled(false);
}

void TExRepeatButton::Tick()
{
    timer_->SetInterval(UINT(RepeatPause));
    if (state_ == bsDown && MouseCapture()) {
        base::ScopeFail stop([this] { timer_->SetEnabled(false); });
        Click();
    }
}

}  // namespace edit
