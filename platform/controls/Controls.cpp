// The control base and its canvas: message records in, handlers named as the class library names them out.
#include <QWidget>

#include <algorithm>

#include "platform/controls/ControlsPrivate.h"
#include "base/ScopeGuard.h"

namespace platform {

// ---------------------------------------------------------------- TControlCanvas

TControlCanvas::TControlCanvas(TControl* c) : control_(c) {}
TControlCanvas::~TControlCanvas() = default;

void TControlCanvas::SetDC(DeviceContext* dc)
{
    inPaint_ = dc != nullptr;
    AttachDC(dc);
}

void TControlCanvas::PaintOn(DeviceContext* dc, const std::function<void()>& paint)
{
    SetDC(dc);
    base::ScopeExit restore([&] { SetDC(nullptr); });
    paint();
}

void TControlCanvas::FreeHandle()
{
    if (!inPaint_) AttachDC(nullptr);
}

void TControlCanvas::CreateHandle()
{
    TWinControl* host = control_->HostWindow();
    if (!host) return;
    host->HandleNeeded();
    auto* d = host->impl();
    d->EnsureBacking(host);
    if (!windowDC_) windowDC_ = std::make_unique<DeviceContext>();
    DeviceContext& dc = *windowDC_;
    dc.ResetState();
    dc.image = &d->backing;
    dc.window = host->Handle();
    const int f = host->FrameWidth();
    TPoint off = control_->OffsetInHost();
    dc.viewportOrg = QPoint(off.X + f, off.Y + f);
    const TRect client = host->ClientRect();
    dc.deviceBounds = host == control_ ? QRect(f, f, client.Width(), client.Height())
                                       : QRect(off.X + f, off.Y + f, control_->Width(), control_->Height()) &
                                             QRect(f, f, client.Width(), client.Height());
    dc.onDraw = [host](const QRect& r) {
        if (gLive.count(host)) host->impl()->ScreenDrawn(r);
    };
    AttachDC(&dc);
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this](TObject*) {
        parentFont_ = false;
        NotifyFontChanged();
    };
}

TControl::~TControl()
{
    for (AliveWatch* w = gWatches; w; w = w->next)
        if (w->control == this) w->alive = false;
    if (gCapture == this) SetCaptureControl(nullptr);
    if (gMouseControl == this) gMouseControl = nullptr;
    if (gLastMouseControl == this) gLastMouseControl = nullptr;
    if (gDrag.target == this) gDrag.target = nullptr;
    if (gDrag.source == this) {
        if (gDrag.ownObject) delete gDrag.object;
        gDrag = DragRun();
    }
    if (gControlGoneHook) gControlGoneHook(this);
    if (hostDockSite_) {
        TWinControl* host = hostDockSite_;
        hostDockSite_ = nullptr;
        std::erase(host->dockClients_, this);
    }
    if (parent_) parent_->RemoveControl(this);
}

void TControl::NotifyFontChanged() { Perform(CM_FONTCHANGED); }

void TControl::SetParent(TWinControl* p)
{
    if (p == parent_) return;
    if (p == this) throw base::EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (p) p->InsertControl(this);
    // Put elsewhere than in its dock site, a docked control leaves the site.
    if (hostDockSite_ && !docking_) {
        bool inSite = false;
        for (TControl* q = p; q && !inSite; q = q->Parent()) inSite = q == hostDockSite_;
        if (!inSite) {
            TWinControl* host = hostDockSite_;
            hostDockSite_ = nullptr;
            std::erase(host->dockClients_, this);
            host->DoRemoveDockClient(this);
        }
    }
}

TPoint TControl::OffsetInHost() const
{
    if (dynamic_cast<const TWinControl*>(this)) return {0, 0};
    TPoint o{left_, top_};
    return o;
}

TWinControl* TControl::HostWindow() const { return parent_; }

TPoint TControl::ClientOrigin() const
{
    if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->impl()->widget) {
        const int f = w->FrameWidth();
        QPoint g = w->impl()->widget->mapToGlobal(QPoint(f, f));
        return {g.x(), g.y()};
    }
    const int own = dynamic_cast<const TWinControl*>(this) ? static_cast<const TWinControl*>(this)->FrameWidth() : 0;
    if (!parent_) return {left_ + own, top_ + own};
    TPoint p = parent_->ClientOrigin();
    return {p.X + left_ + own, p.Y + top_ + own};
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetBounds(int l, int t, int w, int h)
{
    if (Constraints.MaxWidth > 0) w = std::min(w, Constraints.MaxWidth);
    if (Constraints.MaxHeight > 0) h = std::min(h, Constraints.MaxHeight);
    w = std::max({0, w, Constraints.MinWidth});
    h = std::max({0, h, Constraints.MinHeight});
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    const bool sized = w != width_ || h != height_, moved = l != left_ || t != top_;
    if (parent_ && visible_) parent_->InvalidateRect(BoundsRect());
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    if (parent_ && !parent_->aligning_) {
        anchorRight_ = parent_->ClientWidth() - (left_ + width_);
        anchorBottom_ = parent_->ClientHeight() - (top_ + height_);
    }
    if (parent_ && visible_) parent_->InvalidateRect(BoundsRect());
    if (sized) Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
    if (moved) Perform(WM_MOVE, 0, MakeLParam(left_, top_));
    if (parent_ && !parent_->aligning_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool v)
{
    if (v == visible_) return;
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v);
    if (parent_) {
        parent_->InvalidateRect(BoundsRect());
        if (align_ != alNone) parent_->Realign();
    }
}

bool TControl::Showing() const
{
    if (!visible_) return false;
    if (parent_) return parent_->Showing();
    if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->impl()->widget && w->impl()->widget->isVisible();
    return false;
}

void TControl::SetEnabled(bool e)
{
    if (e == enabled_) return;
    enabled_ = e;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor c)
{
    if (c == color_) return;
    color_ = c;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v)
{
    parentColor_ = v;
    if (v && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::SetParentFont(bool v)
{
    parentFont_ = v;
    if (v) ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_) return;
    auto keep = font_.OnChange;
    font_.OnChange = nullptr;
    font_.Assign(parent_->font_);
    font_.OnChange = keep;
    NotifyFontChanged();
}

void TControl::SetText(const std::string& s)
{
    if (s == text_) return;
    text_ = s;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool v)
{
    showHint_ = v;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool v)
{
    parentShowHint_ = v;
    if (v && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor c)
{
    if (c == cursor_) return;
    cursor_ = c;
    Perform(CM_CURSORCHANGED);
}

void TControl::CMCursorChanged(TMessage&)
{
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) {
        if (cursor_ == crDefault) w->impl()->widget->unsetCursor();
        else w->impl()->widget->setCursor(CursorFor(cursor_));
    }
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (parentColor_ && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::CMParentFontChanged(TMessage&) { ParentFontChanged(); }

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (parentShowHint_ && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetAlign(TAlign a)
{
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors a) { anchors_ = a; }

bool TControl::MouseCapture() const { return gCapture == this; }

void TControl::SetMouseCapture(bool v)
{
    if (v) SetCaptureControl(this);
    else if (gCapture == this) SetCaptureControl(nullptr);
}

void TControl::Invalidate()
{
    if (parent_ && visible_) parent_->InvalidateRect(BoundsRect());
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (parent_) parent_->Update();
}

void TControl::BringToFront()
{
    if (!parent_) {
        if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) w->impl()->widget->raise();
        return;
    }
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) w->impl()->widget->raise();
    Invalidate();
}

void TControl::SendToBack()
{
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.insert(v.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) w->impl()->widget->lower();
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l)
{
    TMessage m{msg, w, l, 0};
    if (WindowProc) WindowProc(m);
    else WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m)
{
    if (IsMouseMsg(m.Msg) && m.Msg != WM_MOUSEWHEEL) {
        gLastMouseControl = this;
        gLastMouseScreen = ClientToScreen(m.Pos());
    }
    if (gDrag.source == this && IsMouseMsg(m.Msg) && DragMouse(this, m)) return;
    if (IsMouseMsg(m.Msg)) {
        switch (m.Msg) {
        case WM_MOUSEMOVE: {
            if (gMouseControl != this) {
                AliveWatch live(this);
                TControl* old = gMouseControl;
                gMouseControl = this;
                if (old) old->Perform(CM_MOUSELEAVE);
                if (!live.alive) return;
                Perform(CM_MOUSEENTER);
                if (!live.alive) return;
            }
            if (TWinControl* host = HostWindow(); host && host->impl()->widget) {
                // The window may pick the cursor itself; else this control's own shows.
                SetCursorTarget(host->impl()->widget);
                AliveWatch live(this);
                const LRESULT picked = host->Perform(WM_SETCURSOR, WPARAM(host->Handle()), MakeLParam(HTCLIENT, WM_MOUSEMOVE));
                if (!live.alive) return;
                if (!picked && host->impl()->widget) {
                    if (cursor_ == crDefault) host->impl()->widget->unsetCursor();
                    else host->impl()->widget->setCursor(CursorFor(cursor_));
                }
            }
            if (gHintMouseHook) gHintMouseHook(this, m.Pos());
            break;
        }
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            if (!(ControlStyle & csDoubleClicks)) m.Msg -= 1;  // a plain press
            break;
        default: break;
        }
    }
    if (hostDockSite_ && (m.Msg == CM_TEXTCHANGED || m.Msg == CM_VISIBLECHANGED)) {
        // The dock site hears of its client's caption and visibility after the client.
        AliveWatch live(this);
        Dispatch(m);
        if (!live.alive || !hostDockSite_) return;
        TDockNotifyRec rec{m.Msg, m.WParam, m.LParam};
        hostDockSite_->Perform(CM_DOCKNOTIFICATION, WPARAM(this), LPARAM(&rec));
        return;
    }
    Dispatch(m);
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(m); break;
    case WM_LBUTTONUP: WMLButtonUp(m); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); break;
    case WM_RBUTTONDOWN: WMRButtonDown(m); break;
    case WM_RBUTTONUP: WMRButtonUp(m); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); break;
    case WM_MBUTTONDOWN: WMMButtonDown(m); break;
    case WM_MBUTTONUP: WMMButtonUp(m); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(m); break;
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_MOUSEWHEEL: WMMouseWheel(m); break;
    case WM_CANCELMODE: WMCancelMode(m); break;
    case WM_SIZE: WMSize(m); break;
    case WM_MOVE: WMMove(m); break;
    case WM_PAINT: WMPaint(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_HINTSHOW: CMHintShow(m); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); break;
    case CM_COLORCHANGED: CMColorChanged(m); break;
    case CM_FONTCHANGED: CMFontChanged(m); break;
    case CM_TEXTCHANGED: CMTextChanged(m); break;
    case CM_CURSORCHANGED: CMCursorChanged(m); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); break;
    case CM_HITTEST: CMHitTest(m); break;
    default: DefaultHandler(m); break;
    }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseButtonMessage(TMessage& m, TMouseButton b, bool down, bool dbl)
{
    const TShiftState shift = KeysToShiftState(m.Keys()) | (dbl ? unsigned(ssDouble) : 0u);
    // A handler may free the control (a click that closes what it sits on).
    AliveWatch live(this);
    if (down) {
        if (gCapture && gCapture != this) gCapture->Perform(WM_CANCELMODE);
        if (!live.alive) return;
        if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
        if (dbl) {
            if (b == mbLeft && (ControlStyle & csClickEvents)) DblClick();
            if (!live.alive) return;
        } else if (b == mbLeft && (ControlStyle & csClickEvents)) {
            ControlState |= csClicked;
        }
        if (!(ControlStyle & csNoStdEvents)) MouseDown(b, shift, m.XPos(), m.YPos());
        if (!live.alive) return;
        if (b == mbLeft && !dbl && DragMode == dmAutomatic && !Dragging()) BeginDrag(false);
        return;
    }
    if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
    if (b == mbLeft && (ControlState & csClicked)) {
        ControlState &= ~csClicked;
        if (PtInRect(ClientRect(), m.Pos())) Click();
        if (!live.alive) return;
    }
    if (!(ControlStyle & csNoStdEvents)) MouseUp(b, shift, m.XPos(), m.YPos());
}

void TControl::WMLButtonDown(TWMMouse& m) { MouseButtonMessage(m, mbLeft, true, false); }
void TControl::WMLButtonUp(TWMMouse& m) { MouseButtonMessage(m, mbLeft, false, false); }
void TControl::WMLButtonDblClk(TWMMouse& m) { MouseButtonMessage(m, mbLeft, true, true); }
void TControl::WMRButtonDown(TWMMouse& m) { MouseButtonMessage(m, mbRight, true, false); }
void TControl::WMRButtonUp(TWMMouse& m)
{
    AliveWatch live(this);
    MouseButtonMessage(m, mbRight, false, false);
    if (live.alive && gContextMenuHook) gContextMenuHook(this, ClientToScreen(m.Pos()));
}
void TControl::WMRButtonDblClk(TWMMouse& m) { MouseButtonMessage(m, mbRight, true, true); }
void TControl::WMMButtonDown(TWMMouse& m) { MouseButtonMessage(m, mbMiddle, true, false); }
void TControl::WMMButtonUp(TWMMouse& m) { MouseButtonMessage(m, mbMiddle, false, false); }
void TControl::WMMButtonDblClk(TWMMouse& m) { MouseButtonMessage(m, mbMiddle, true, true); }

void TControl::WMMouseMove(TWMMouseMove& m)
{
    if (!(ControlStyle & csNoStdEvents)) MouseMove(KeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::WMMouseWheel(TWMMouseWheel& m)
{
    if (DoMouseWheel(KeysToShiftState(m.Keys()), m.WheelDelta(), m.Pos())) {
        m.Result = 1;
        return;
    }
    if (parent_) m.Result = parent_->Perform(m.Msg, m.WParam, m.LParam);
}

void TControl::WMCancelMode(TWMCancelMode&)
{
    if (MouseCapture()) {
        SetMouseCapture(false);
        ControlState &= ~csClicked;
    }
}

void TControl::WMSize(TWMSize&) { Resize(); }
void TControl::WMMove(TWMMove&) {}
void TControl::CMMouseEnter(TMessage& m) { DefaultHandler(m); }
void TControl::CMMouseLeave(TMessage& m) { DefaultHandler(m); }

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::Click()
{
    if (OnClick) OnClick(this);
}
void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}
bool TControl::DoMouseWheel(TShiftState s, int delta, TPoint pos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, s, delta, pos, handled);
    if (!handled) handled = delta < 0 ? DoMouseWheelDown(s, pos) : DoMouseWheelUp(s, pos);
    return handled;
}
bool TControl::DoMouseWheelDown(TShiftState, TPoint) { return false; }
bool TControl::DoMouseWheelUp(TShiftState, TPoint) { return false; }
void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

}  // namespace platform
