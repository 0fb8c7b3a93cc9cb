#include "platform/controls/ComCtrls.h"

#include <algorithm>

#include "base/Exception.h"
#include "platform/controls/FrameControl.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"

namespace platform {

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(Left(), Top(), 150, GetSystemMetrics(SM_CYHSCROLL));
    SetColor(clBtnFace);
}

void TProgressBar::SetRange(int min, int max) { Perform(PBM_SETRANGE32, WPARAM(min), LPARAM(std::max(min, max))); }
void TProgressBar::SetPosition(int v) { Perform(PBM_SETPOS, WPARAM(v)); }
void TProgressBar::SetStep(int v) { Perform(PBM_SETSTEP, WPARAM(v)); }
void TProgressBar::StepIt() { Perform(PBM_STEPIT); }
void TProgressBar::StepBy(int delta) { Perform(PBM_DELTAPOS, WPARAM(delta)); }

void TProgressBar::SetSmooth(bool v)
{
    if (v == smooth_) return;
    smooth_ = v;
    Invalidate();
}

void TProgressBar::SetOrientation(TProgressBarOrientation o)
{
    if (o == orientation_) return;
    orientation_ = o;
    Invalidate();
}

void TProgressBar::Dispatch(TMessage& m)
{
    const int old = position_;
    auto move = [&](long long to) {
        position_ = int(std::clamp<long long>(to, min_, max_));
        m.Result = old;
        if (position_ != old) Invalidate();
    };
    switch (m.Msg) {
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
        m.Result = LRESULT(MakeLParam(min_, max_));
        if (m.Msg == PBM_SETRANGE) {
            min_ = m.LParamLo();
            max_ = m.LParamHi();
        } else {
            min_ = int(std::intptr_t(m.WParam));
            max_ = int(m.LParam);
        }
        max_ = std::max(min_, max_);
        position_ = std::clamp(position_, min_, max_);
        Invalidate();
        break;
    }
    case PBM_SETPOS: move(int(std::intptr_t(m.WParam))); break;
    case PBM_DELTAPOS: move((long long)position_ + int(std::intptr_t(m.WParam))); break;
    case PBM_SETSTEP:
        m.Result = step_;
        step_ = int(std::intptr_t(m.WParam));
        break;
    case PBM_STEPIT: {
        // Stepping past the end starts again from the beginning.
        long long next = (long long)position_ + step_;
        if (next > max_) next = min_ + (next - max_);
        if (next < min_) next = max_ - (min_ - next);
        move(next);
        break;
    }
    case PBM_GETRANGE: m.Result = m.WParam ? min_ : max_; break;
    case PBM_GETPOS: m.Result = position_; break;
    case PBM_SETBARCOLOR:
        m.Result = LRESULT(barColor_);
        barColor_ = COLORREF(m.LParam);
        Invalidate();
        break;
    case PBM_SETBKCOLOR:
        m.Result = LRESULT(bkColor_);
        bkColor_ = COLORREF(m.LParam);
        Invalidate();
        break;
    default: TWinControl::Dispatch(m); break;
    }
}

void TProgressBar::WMEraseBkgnd(TWMEraseBkgnd& m) { m.Result = 1; }  // the paint covers everything

void TProgressBar::PaintWindow(HDC dc)
{
    TRect r = ClientRect();
    DrawEdge(dc, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    const COLORREF back = bkColor_ == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : bkColor_;
    const COLORREF bar = barColor_ == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : barColor_;
    FillRect(dc, r, back);
    InflateRect(r, -1, -1);  // a pixel of background round the bar
    if (max_ <= min_) return;
    const bool horizontal = orientation_ == pbHorizontal;
    const int length = horizontal ? r.Width() : r.Height();
    const int filled = int((long long)(position_ - min_) * length / (max_ - min_));
    if (smooth_) {
        FillRect(dc, horizontal ? Rect(r.Left, r.Top, r.Left + filled, r.Bottom) : Rect(r.Left, r.Bottom - filled, r.Right, r.Bottom),
                 bar);
        return;
    }
    // Blocks two thirds as long as the bar is thick, 2 pixels apart.
    const int block = std::max(2, (horizontal ? r.Height() : r.Width()) * 2 / 3);
    for (int at = 0; at < filled; at += block + 2) {
        const int end = std::min(at + block, length);
        FillRect(dc, horizontal ? Rect(r.Left + at, r.Top, r.Left + end, r.Bottom) : Rect(r.Left, r.Bottom - end, r.Right, r.Bottom - at),
                 bar);
    }
}

// ---------------------------------------------------------------- status bar

void TStatusPanel::Changed() { owner_->Panels().Changed(); }

void TStatusPanel::SetText(const std::string& s)
{
    if (s == text_) return;
    text_ = s;
    Changed();
}

void TStatusPanel::SetWidth(int w)
{
    if (w == width_) return;
    width_ = w;
    Changed();
}

void TStatusPanel::SetAlignment(TAlignment a)
{
    if (a == alignment_) return;
    alignment_ = a;
    Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel b)
{
    if (b == bevel_) return;
    bevel_ = b;
    Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle s)
{
    if (s == style_) return;
    style_ = s;
    Changed();
}

int TStatusPanel::Index() const
{
    const TStatusPanels& p = owner_->Panels();
    for (int i = 0; i < p.Count(); ++i)
        if (p.Items(i) == this) return i;
    return -1;
}

TStatusPanel* TStatusPanels::Items(int i) const
{
    if (i < 0 || i >= Count()) throw base::EInvalidOperation("List index out of bounds (" + std::to_string(i) + ")");
    return items_[std::size_t(i)].get();
}

TStatusPanel* TStatusPanels::Add()
{
    items_.push_back(std::make_unique<TStatusPanel>(owner_));
    Changed();
    return items_.back().get();
}

void TStatusPanels::Delete(int i)
{
    Items(i);
    items_.erase(items_.begin() + i);
    Changed();
}

void TStatusPanels::Clear()
{
    items_.clear();
    Changed();
}

void TStatusPanels::EndUpdate()
{
    if (updating_ > 0 && --updating_ == 0) Changed();
}

void TStatusPanels::Changed()
{
    if (updating_ == 0) owner_->Invalidate();
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), panels_(std::make_unique<TStatusPanels>(this)),
      canvas_(std::make_unique<TControlCanvas>(this))
{
    ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque;
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

TCanvas* TStatusBar::Canvas() { return canvas_.get(); }

void TStatusBar::SetSimplePanel(bool v)
{
    if (v == simplePanel_) return;
    simplePanel_ = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& s)
{
    if (s == simpleText_) return;
    simpleText_ = s;
    Invalidate();
}

void TStatusBar::SetSizeGrip(bool v)
{
    if (v == sizeGrip_) return;
    sizeGrip_ = v;
    Invalidate();
}

TRect TStatusBar::PanelRect(int i) const
{
    const TRect client = ClientRect();
    if (simplePanel_) return Rect(client.Left, client.Top + 2, client.Right, client.Bottom);
    panels_->Items(i);
    int left = 0;
    for (int k = 0; k < i; ++k) left += panels_->Items(k)->Width();
    // The last panel reaches the right end; panels stand 2 pixels apart.
    const bool last = i == panels_->Count() - 1;
    const int right = last ? client.Right : left + panels_->Items(i)->Width() - 2;
    return Rect(left, client.Top + 2, std::max(left, right), client.Bottom);
}

int TStatusBar::PanelAt(TPoint p) const
{
    if (simplePanel_) return -1;
    for (int i = 0; i < panels_->Count(); ++i)
        if (PtInRect(PanelRect(i), p)) return i;
    return -1;
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect)
{
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

void TStatusBar::PaintWindow(HDC dc)
{
    canvas_->PaintOn(dc, [this] {
        TCanvas* c = canvas_.get();
        const TRect client = ClientRect();
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(Color());
        c->FillRect(client);
        c->Font().Assign(*Font());
        auto text = [&](TRect r, const std::string& s, TAlignment a) {
            static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
            InflateRect(r, -2, 0);
            c->Brush().SetStyle(bsClear);
            DrawText(c->Handle(), s, -1, &r, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS | kAlign[a]);
        };
        if (simplePanel_) {
            text(PanelRect(0), simpleText_, taLeftJustify);
        } else {
            for (int i = 0; i < panels_->Count(); ++i) {
                TStatusPanel* p = panels_->Items(i);
                TRect r = PanelRect(i);
                if (p->Bevel() != pbNone)
                    DrawEdge(c->Handle(), r, p->Bevel() == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
                InflateRect(r, -1, -1);
                if (p->Style() == psOwnerDraw) {
                    DrawPanel(p, r);
                    continue;
                }
                text(r, p->Text(), p->Alignment());
            }
        }
        if (sizeGrip_) {
            // Diagonal ridges in the bottom-right corner.
            for (int k = 0; k < 3; ++k) {
                const int d = 4 * k + 3;
                for (int j = 0; j < 2; ++j) {
                    c->Pen().SetColor(j == 0 ? clBtnShadow : clBtnHighlight);
                    c->MoveTo(client.Right - 1, client.Bottom - d - 1 + j);
                    c->LineTo(client.Right - d - 1 + j, client.Bottom - 1);
                }
            }
        }
    });
}

// ---------------------------------------------------------------- tool bar

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    SetBounds(Left(), Top(), 23, 22);
}

TToolButton::~TToolButton()
{
    if (TToolBar* bar = ToolBar()) bar->RemoveButton(this);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

int TToolButton::Index() const
{
    if (TToolBar* bar = ToolBar())
        for (int i = 0; i < bar->ButtonCount(); ++i)
            if (bar->Buttons(i) == this) return i;
    return -1;
}

void TToolButton::SetParent(TWinControl* p)
{
    if (TToolBar* old = ToolBar()) old->RemoveButton(this);
    TGraphicControl::SetParent(p);
    if (TToolBar* bar = ToolBar()) bar->InsertButton(this);
}

void TToolButton::SetImageIndex(int i)
{
    if (i == imageIndex_) return;
    imageIndex_ = i;
    Invalidate();
}

void TToolButton::SetStyle(TToolButtonStyle s)
{
    if (s == style_) return;
    style_ = s;
    if ((s == tbsSeparator || s == tbsDivider) && !ToolBar()) SetWidth(8);
    if (TToolBar* bar = ToolBar()) {
        if (s == tbsSeparator || s == tbsDivider) SetWidth(8);
        bar->ArrangeButtons();
    }
    Invalidate();
}

void TToolButton::SetDown(bool v)
{
    if (v == down_) return;
    down_ = v;
    // A grouped check button going down releases its group.
    if (v && Grouped && style_ == tbsCheck)
        if (TToolBar* bar = ToolBar()) {
            const int me = Index();
            for (int dir : {-1, 1})
                for (int i = me + dir; i >= 0 && i < bar->ButtonCount(); i += dir) {
                    TToolButton* b = bar->Buttons(i);
                    if (b->Style() != tbsCheck || !b->Grouped) break;
                    if (b->down_) {
                        b->down_ = false;
                        b->Invalidate();
                    }
                }
        }
    Invalidate();
}

void TToolButton::Click()
{
    if (style_ == tbsCheck) {
        if (!down_) SetDown(true);
        else if (!Grouped || AllowAllUp) SetDown(false);
    }
    TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TGraphicControl::MouseDown(b, s, x, y);
    if (b != mbLeft || !Enabled() || style_ == tbsSeparator || style_ == tbsDivider) return;
    tracking_ = true;
    pressed_ = true;
    Invalidate();
}

void TToolButton::MouseMove(TShiftState s, int x, int y)
{
    TGraphicControl::MouseMove(s, x, y);
    if (!tracking_) return;
    const bool inside = PtInRect(ClientRect(), {x, y});
    if (inside != pressed_) {
        pressed_ = inside;
        Invalidate();
    }
}

void TToolButton::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft && tracking_) {
        tracking_ = false;
        pressed_ = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(b, s, x, y);
}

void TToolButton::CMMouseEnter(TMessage& m)
{
    TGraphicControl::CMMouseEnter(m);
    if (Enabled() && !hot_) {
        hot_ = true;
        Invalidate();
    }
}

void TToolButton::CMMouseLeave(TMessage& m)
{
    TGraphicControl::CMMouseLeave(m);
    if (hot_) {
        hot_ = false;
        Invalidate();
    }
}

void TToolButton::CMTextChanged(TMessage& m)
{
    TGraphicControl::CMTextChanged(m);
    if (TToolBar* bar = ToolBar(); bar && bar->ShowCaptions()) bar->Invalidate();
}

void TToolButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    TToolBar* bar = ToolBar();
    if (style_ == tbsSeparator) return;
    if (style_ == tbsDivider) {
        TRect line = Rect(r.Width() / 2 - 1, r.Top, r.Width() / 2 + 1, r.Bottom);
        DrawEdge(c->Handle(), line, EDGE_ETCHED, BF_LEFT);
        return;
    }
    const bool flat = bar && bar->Flat();
    const bool sunk = pressed_ || down_;
    if (down_ && !pressed_) {
        c->Brush().SetBitmap(LatchPattern());
        c->FillRect(r);
        c->Brush().SetBitmap(nullptr);
    }
    if (sunk) {
        TRect e = r;
        DrawEdge(c->Handle(), e, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!flat || (hot_ && Enabled())) {
        TRect e = r;
        DrawEdge(c->Handle(), e, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    }
    const int shift = sunk ? 1 : 0;
    const bool captions = bar && bar->ShowCaptions() && !Caption().empty();
    c->Font().Assign(*Font());
    const int textHeight = captions ? c->TextHeight("W") : 0;
    TImageList* images = bar ? (!Enabled() && bar->DisabledImages() ? bar->DisabledImages() : bar->Images()) : nullptr;
    if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
        const int x = (r.Width() - images->Width()) / 2 + shift;
        const int y = (r.Height() - images->Height() - (captions ? textHeight + 2 : 0)) / 2 + shift;
        images->Draw(c, x, y, imageIndex_, Enabled() || images == bar->DisabledImages());
    }
    if (captions) {
        TRect t = Rect(r.Left + shift, r.Bottom - textHeight - 3 + shift, r.Right + shift, r.Bottom - 3 + shift);
        c->Brush().SetStyle(bsClear);
        if (!Enabled()) c->Font().SetColor(clGrayText);
        DrawText(c->Handle(), Caption(), -1, &t, DT_CENTER | DT_SINGLELINE);
    }
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this))
{
    ControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 150, 29);
    SetAlign(alTop);
}

// The buttons go with the window's children, which no longer see the bar as parent.
TToolBar::~TToolBar() = default;

TCanvas* TToolBar::Canvas() { return canvas_.get(); }

void TToolBar::SetImages(TImageList* list)
{
    if (images_) images_->RemoveFreeNotification(this);
    images_ = list;
    if (list) list->FreeNotification(this);
    Invalidate();
}

void TToolBar::SetDisabledImages(TImageList* list)
{
    if (disabledImages_) disabledImages_->RemoveFreeNotification(this);
    disabledImages_ = list;
    if (list) list->FreeNotification(this);
    Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == images_) images_ = nullptr;
    if (AComponent == disabledImages_) disabledImages_ = nullptr;
}

void TToolBar::SetButtonWidth(int w)
{
    if (w == buttonWidth_) return;
    buttonWidth_ = std::max(1, w);
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int h)
{
    if (h == buttonHeight_) return;
    buttonHeight_ = std::max(1, h);
    ArrangeButtons();
}

void TToolBar::SetFlat(bool v)
{
    if (v == flat_) return;
    flat_ = v;
    Invalidate();
}

void TToolBar::SetShowCaptions(bool v)
{
    if (v == showCaptions_) return;
    showCaptions_ = v;
    Invalidate();
}

void TToolBar::SetIndent(int v)
{
    if (v == indent_) return;
    indent_ = std::max(0, v);
    ArrangeButtons();
}

void TToolBar::InsertButton(TToolButton* b)
{
    if (std::find(buttons_.begin(), buttons_.end(), b) == buttons_.end()) buttons_.push_back(b);
    ArrangeButtons();
}

void TToolBar::RemoveButton(TToolButton* b)
{
    std::erase(buttons_, b);
    ArrangeButtons();
}

void TToolBar::ArrangeButtons()
{
    if (arranging_) return;
    arranging_ = true;
    int x = indent_;
    for (TToolButton* b : buttons_) {
        if (!b->Visible()) continue;
        const bool gap = b->Style() == tbsSeparator || b->Style() == tbsDivider;
        const int w = gap ? b->Width() : buttonWidth_;
        b->SetBounds(x, 2, w, buttonHeight_);
        x += w;
    }
    arranging_ = false;
}

void TToolBar::AlignControls(TControl* aControl, TRect& rect)
{
    TWinControl::AlignControls(aControl, rect);
    ArrangeButtons();
}

void TToolBar::PaintWindow(HDC dc)
{
    TRect r = ClientRect();
    FillRect(dc, r, ColorToRGB(Color()));
}

}  // namespace platform
