// Windowed controls: children, alignment, focus and tab order, painting, keys, timers.
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "platform/controls/ControlsPrivate.h"
#include "platform/TestRig.h"
#include "base/ScopeGuard.h"

namespace platform {

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), impl_(std::make_unique<Impl>())
{
    {
        std::lock_guard lock(gLiveMutex);
        gLive.insert(this);
        impl_->serial = ++gLastSerial;
    }
    EnsureMessagePump();
    brush_.SetColor(Color());
}

TWinControl::~TWinControl()
{
    for (TControl* c : dockClients_) c->hostDockSite_ = nullptr;
    dockClients_.clear();
    for (auto& t : impl_->timers) t.second->Stop();
    impl_->timers.clear();
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        controls_.pop_back();
        c->parent_ = nullptr;
        delete c;
    }
    if (gFocused == this) gFocused = nullptr;
    if (gCaret.owner == this) {
        if (gCaret.timer) gCaret.timer->Stop();
        gCaret.owner = nullptr;
    }
    DestroyHandle();
    std::lock_guard lock(gLiveMutex);
    gLive.erase(this);
}

HWND TWinControl::Handle()
{
    if (!impl_->widget) CreateHandle();
    return reinterpret_cast<HWND>(this);
}

bool TWinControl::HandleAllocated() const { return impl_->widget != nullptr; }

void TWinControl::CreateParams(TCreateParams& p)
{
    p.Caption = Text();
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.Style = Parent() ? DWORD(WS_CHILD) : DWORD(0);
}

void TWinControl::CreateHandle()
{
    if (impl_->widget) return;
    EnsurePlatform();
    QWidget* parentWidget = nullptr;
    if (Parent()) {
        Parent()->HandleNeeded();
        parentWidget = Parent()->impl()->widget;
    }
    TCreateParams params;
    CreateParams(params);
    Qt::WindowFlags flags;
    if (!parentWidget) {
        if (TopLevelFlags()) {
            flags = Qt::WindowFlags(TopLevelFlags());
        } else {
            // A window of its own made from creation parameters: pop-ups have no frame.
            flags = Qt::Window;
            if ((params.Style & WS_POPUP) && (params.Style & WS_CAPTION) != WS_CAPTION) flags |= Qt::FramelessWindowHint;
            if (params.ExStyle & WS_EX_TOOLWINDOW) flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool;
            if (params.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
        }
    }
    // Working out the parameters may have needed the window already: keep that one.
    if (impl_->widget) return;
    impl_->widget = NewHostWidget(this, parentWidget, flags);
    QWidget* w = impl_->widget;
    impl_->applyingGeometry = true;
    const int pf = Parent() ? Parent()->FrameWidth() : 0;
    w->setGeometry(Left() + pf, Top() + pf, std::max(1, Width()), std::max(1, Height()));
    impl_->applyingGeometry = false;
    if (!parentWidget) w->setWindowTitle(AnsiToQString(Text()));
    w->setEnabled(Enabled());
    if (Cursor() != crDefault) w->setCursor(CursorFor(Cursor()));
    if (impl_->shape) w->setMask(*impl_->shape);
    // A transparent window lets the parent paint under it first.
    if (parentWidget && (params.ExStyle & WS_EX_TRANSPARENT)) w->setAttribute(Qt::WA_OpaquePaintEvent, false);
    // The backing image is made when something draws or paints (EnsureBacking).
    LayoutScrollBars(this);
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->CreateHandle();
    if (parentWidget) w->setVisible(Visible());
    CreateWnd();
}

void TWinControl::DestroyHandle()
{
    if (!impl_->widget) return;
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->DestroyHandle();
    DestroyWnd();
    if (gCapture == this) SetCaptureControl(nullptr);
    QWidget* w = impl_->widget;
    impl_->widget = nullptr;
    impl_->bars[0] = impl_->bars[1] = nullptr;  // children of the window
    w->hide();
    delete w;
}

void TWinControl::ApplyGeometry()
{
    if (!impl_->widget) return;
    impl_->applyingGeometry = true;
    const int pf = Parent() ? Parent()->FrameWidth() : 0;
    if (!Parent()) {
        impl_->widget->setMinimumSize(Constraints.MinWidth, Constraints.MinHeight);
        impl_->widget->setMaximumSize(Constraints.MaxWidth > 0 ? Constraints.MaxWidth : QWIDGETSIZE_MAX,
                                      Constraints.MaxHeight > 0 ? Constraints.MaxHeight : QWIDGETSIZE_MAX);
    }
    impl_->widget->setGeometry(Left() + pf, Top() + pf, std::max(1, Width()), std::max(1, Height()));
    impl_->applyingGeometry = false;
    // The backing image takes the new size when it is next drawn on or painted: a window
    // laid out many times over before it shows fills one image, not one a step.
    LayoutScrollBars(this);
}

int TWinControl::FrameWidth() const
{
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    int f = borderWidth_;
    if (p.ExStyle & WS_EX_CLIENTEDGE) f += 2;
    if (p.Style & WS_BORDER) f += 1;
    return f;
}

void TWinControl::SetBorderWidth(int w)
{
    w = std::max(0, w);
    if (w == borderWidth_) return;
    borderWidth_ = w;
    RecreateWnd();
}

void TWinControl::RecreateWnd()
{
    // The frame moves the client area: children and bars follow, handlers hear the size.
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->ApplyGeometry();
    LayoutScrollBars(this);
    Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
    Realign();
    Invalidate();
}

void TWinControl::WMNCPaint(TMessage& m)
{
    HDC dc = m.DC();
    if (!dc) return;
    TCreateParams p;
    CreateParams(p);
    TRect r = Rect(0, 0, Width(), Height());
    if (p.Style & WS_BORDER) {
        const COLORREF c = GetSysColor(COLOR_WINDOWFRAME);
        FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, c);
        FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
        FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, c);
        FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, c);
        InflateRect(r, -1, -1);
    }
    if (p.ExStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (borderWidth_ > 0) {
        const COLORREF c = ColorToRGB(Color());
        TRect in = r;
        InflateRect(in, -borderWidth_, -borderWidth_);
        FillRect(dc, {r.Left, r.Top, r.Right, in.Top}, c);
        FillRect(dc, {r.Left, in.Bottom, r.Right, r.Bottom}, c);
        FillRect(dc, {r.Left, in.Top, in.Left, in.Bottom}, c);
        FillRect(dc, {in.Right, in.Top, r.Right, in.Bottom}, c);
    }
    // What the scroll bars leave of the corner between them.
    if (impl_->ScrollShown(SB_VERT) && impl_->ScrollShown(SB_HORZ)) {
        const int f = FrameWidth();
        const TRect c = ClientRect();
        FillRect(dc, {f + c.Right, f + c.Bottom, Width() - f, Height() - f}, GetSysColor(COLOR_BTNFACE));
    }
    m.Result = 0;
}

TRect TWinControl::ClientRect() const
{
    const int f = FrameWidth();
    TRect r = Rect(0, 0, std::max(0, Width() - 2 * f), std::max(0, Height() - 2 * f));
    if (impl_->ScrollShown(SB_VERT)) r.Right = std::max(0, r.Right - impl_->BarThickness(SB_VERT));
    if (impl_->ScrollShown(SB_HORZ)) r.Bottom = std::max(0, r.Bottom - impl_->BarThickness(SB_HORZ));
    return r;
}

void TWinControl::SetBounds(int l, int t, int w, int h)
{
    const TRect before = BoundsRect();
    // Store first so that handlers of WM_SIZE see the new size in the window too.
    TControl::SetBounds(l, t, w, h);
    if (BoundsRect() == before) return;
    const bool sized = before.Width() != Width() || before.Height() != Height();
    ApplyGeometry();
    if (sized) {
        Realign();
        Invalidate();
    }
}

void TWinControl::SetVisible(bool v)
{
    TControl::SetVisible(v);
    if (impl_->widget) impl_->widget->setVisible(v);
    else if (v && (!Parent() || Parent()->HandleAllocated())) {
        CreateHandle();
        if (!Parent()) impl_->widget->show();
    }
}

void TWinControl::SetEnabled(bool e)
{
    TControl::SetEnabled(e);
    if (impl_->widget) impl_->widget->setEnabled(e);
}

void TWinControl::SetText(const std::string& s)
{
    TControl::SetText(s);
    if (impl_->widget && impl_->widget->isWindow()) impl_->widget->setWindowTitle(AnsiToQString(s));
}

void TWinControl::InsertControl(TControl* c)
{
    controls_.push_back(c);
    c->parent_ = this;
    c->anchorRight_ = ClientWidth() - (c->left_ + c->width_);
    c->anchorBottom_ = ClientHeight() - (c->top_ + c->height_);
    if (c->parentFont_) c->ParentFontChanged();
    if (c->parentColor_) {
        c->color_ = Color();
        c->Perform(CM_COLORCHANGED);
    }
    if (c->parentShowHint_) c->showHint_ = ShowHint();
    if (auto* wc = dynamic_cast<TWinControl*>(c)) {
        if (wc->impl_->widget) {
            if (impl_->widget) {
                wc->impl_->widget->setParent(impl_->widget);
                wc->impl_->widget->setVisible(wc->Visible());
            } else {
                wc->DestroyHandle();
            }
        } else if (impl_->widget) {
            wc->CreateHandle();
        }
    }
    if (c->Align() != alNone) Realign();
    c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c)
{
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    c->Invalidate();
    controls_.erase(it);
    c->parent_ = nullptr;
    if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->DestroyHandle();
    if (c->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* c) const
{
    for (const TControl* p = c; p; p = p->Parent())
        if (p == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (PtInRect(c->BoundsRect(), p)) {
            TMessage hit{CM_HITTEST, 0, MakeLParam(p.X - c->Left(), p.Y - c->Top()), 0};
            c->WindowProc(hit);
            if (hit.Result) return c;
        }
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m)
{
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WindowProc(m);
        if (m.Result) return;
    }
}

int TWinControl::TabOrder() const
{
    if (!Parent()) return -1;
    int n = 0;
    for (TControl* c : Parent()->controls_) {
        if (c == this) return n;
        if (dynamic_cast<TWinControl*>(c)) ++n;
    }
    return -1;
}

void TWinControl::SetTabOrder(int v)
{
    if (!Parent()) return;
    auto& list = Parent()->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    int n = 0;
    auto it = list.begin();
    for (; it != list.end(); ++it) {
        if (!dynamic_cast<TWinControl*>(*it)) continue;
        if (n == v) break;
        ++n;
    }
    list.insert(it, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list)
{
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            list.push_back(wc);
            wc->GetTabOrderList(list);
        }
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (gFocused == this) return;
    HandleNeeded();
    QWidget* w = impl_->widget;
    if (w->window()->isActiveWindow()) {
        w->setFocus(Qt::OtherFocusReason);
        if (gFocused == this) return;
    }
    // Inactive or off-screen windows get no focus events from the host: move the focus here.
    TWinControl* old = gFocused;
    if (old) old->Perform(WM_KILLFOCUS, WPARAM(this));
    Perform(WM_SETFOCUS, WPARAM(old));
    if (gLive.count(this) && impl_->widget) impl_->widget->setFocus(Qt::OtherFocusReason);
}

void ShowWithoutActivating(TWinControl* c)
{
    c->HandleNeeded();
    if (QWidget* w = HostWidget(c)) {
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->show();
        w->raise();
    }
    c->TControl::SetVisible(true);
}

bool TWinControl::Focused() const { return gFocused == this; }

void TWinControl::EnableAlign()
{
    if (alignLevel_ > 0 && --alignLevel_ == 0) Realign();
}

void TWinControl::Realign()
{
    if (alignLevel_ > 0 || aligning_) return;
    TRect r = ClientRect();
    AdjustClientRect(r);
    aligning_ = true;
    base::ScopeExit restore([&] { aligning_ = false; });
    AlignControls(nullptr, r);
}

void TWinControl::AlignControls(TControl*, TRect& r)
{
    auto take = [&](TAlign a) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop: return x->Top() < y->Top();
            case alBottom: return x->Top() + x->Height() > y->Top() + y->Height();
            case alLeft: return x->Left() < y->Left();
            case alRight: return x->Left() + x->Width() > y->Left() + y->Width();
            default: return false;
            }
        });
        return list;
    };
    for (TControl* c : take(alTop)) {
        c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
        r.Top += c->Height();
    }
    for (TControl* c : take(alBottom)) {
        c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
        r.Bottom -= c->Height();
    }
    for (TControl* c : take(alLeft)) {
        c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
        r.Left += c->Width();
    }
    for (TControl* c : take(alRight)) {
        c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
        r.Right -= c->Width();
    }
    for (TControl* c : take(alClient)) c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    // Right and bottom anchors keep their distance to the parent's edges.
    for (TControl* c : controls_) {
        if (c->Align() != alNone || (c->anchorRight_ < 0 && c->anchorBottom_ < 0)) continue;
        const TAnchors a = c->Anchors();
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if ((a & akRight) && c->anchorRight_ >= 0) {
            if (a & akLeft) w = std::max(0, ClientWidth() - c->anchorRight_ - l);
            else l = ClientWidth() - c->anchorRight_ - w;
        }
        if ((a & akBottom) && c->anchorBottom_ >= 0) {
            if (a & akTop) h = std::max(0, ClientHeight() - c->anchorBottom_ - t);
            else t = ClientHeight() - c->anchorBottom_ - h;
        }
        c->SetBounds(l, t, w, h);
    }
}

void TWinControl::Invalidate()
{
    if (impl_->widget) {
        impl_->invalid |= QRect(0, 0, Width(), Height());
        if (!impl_->redrawOff) impl_->widget->update();
    }
}

void TWinControl::InvalidateRect(const TRect& r)
{
    if (impl_->widget && !IsRectEmpty(r)) {
        const int f = FrameWidth();
        const QRect q = ToQRect(r).translated(f, f);
        impl_->invalid |= q;
        if (!impl_->redrawOff) impl_->widget->update(q);
    }
}

void TWinControl::Update()
{
    if (impl_->widget && impl_->widget->isVisible() && !impl_->redrawOff && !impl_->invalid.isEmpty())
        impl_->widget->repaint(impl_->invalid);
}

bool TWinControl::RedrawEnabled() const { return !impl_->redrawOff; }

bool TWinControl::SetTimer(UINT id, UINT interval)
{
    auto& t = impl_->timers[id];
    if (!t) {
        t = std::make_unique<TClockTimer>();
        t->OnTimeout = [this, id] { Guarded([&] { Perform(WM_TIMER, id); }); };
    }
    t->Start(int(std::max<UINT>(interval, 1)));
    return true;
}

bool TWinControl::KillTimer(UINT id) { return impl_->timers.erase(id) > 0; }

bool TWinControl::IsControlMouseMsg(TMessage& m)
{
    if (m.Msg == WM_MOUSEWHEEL) return false;
    TControl* target = nullptr;
    if (gCapture) {
        if (gCapture->Parent() == this && !dynamic_cast<TWinControl*>(gCapture)) target = gCapture;
    } else {
        target = ControlAtPos(m.Pos(), false);
    }
    if (!target) return false;
    TMessage t{m.Msg, m.WParam, MakeLParam(m.XPos() - target->Left(), m.YPos() - target->Top()), 0};
    target->WindowProc(t);
    m.Result = t.Result;
    return true;
}

void TWinControl::WndProc(TMessage& m)
{
    if (gMouseActivateHook && (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                               m.Msg == WM_LBUTTONDBLCLK)) {
        AliveWatch live(this);
        gMouseActivateHook(this);
        if (!live.alive) return;
    }
    if (IsMouseMsg(m.Msg) && IsControlMouseMsg(m)) return;
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(m); break;
    case WM_NCPAINT: WMNCPaint(m); break;
    case WM_SETFOCUS: WMSetFocus(m); break;
    case WM_KILLFOCUS: WMKillFocus(m); break;
    case WM_KEYDOWN: WMKeyDown(m); break;
    case WM_KEYUP: WMKeyUp(m); break;
    case WM_CHAR: WMChar(m); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(m); break;
    case WM_SYSKEYUP: WMSysKeyUp(m); break;
    case WM_SYSCHAR: WMChar(m); break;
    case WM_TIMER: WMTimer(m); break;
    case WM_HSCROLL: WMHScroll(m); break;
    case WM_VSCROLL: WMVScroll(m); break;
    case WM_GETDLGCODE: WMGetDlgCode(m); break;
    case WM_SETCURSOR: WMSetCursor(m); break;
    case WM_NCHITTEST: WMNCHitTest(m); break;
    case CM_ENTER: CMEnter(m); break;
    case CM_EXIT: CMExit(m); break;
    case CM_DIALOGKEY: CMDialogKey(m); break;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(m); break;
    case CM_DOCKCLIENT: CMDockClient(m); break;
    case CM_UNDOCKCLIENT: CMUnDockClient(m); break;
    case CM_DOCKNOTIFICATION: CMDockNotification(m); break;
    default: TControl::Dispatch(m); break;
    }
}

void TWinControl::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case CM_COLORCHANGED:
        brush_.SetColor(Color());
        for (TControl* c : controls_) c->Perform(CM_PARENTCOLORCHANGED);
        break;
    case CM_FONTCHANGED:
        for (TControl* c : controls_) c->Perform(CM_PARENTFONTCHANGED);
        break;
    case WM_SETREDRAW:
        impl_->redrawOff = m.WParam == 0;
        // What was invalidated meanwhile paints now.
        if (!impl_->redrawOff && impl_->widget && !impl_->invalid.isEmpty()) impl_->widget->update(impl_->invalid.boundingRect());
        break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        // Default and cancel buttons, accelerators: the first control that takes it.
        Broadcast(m);
        break;
    default: break;
    }
    TControl::DefaultHandler(m);
}

void TWinControl::WMPaint(TWMPaint& m) { PaintHandler(m); }

void TWinControl::PaintHandler(TWMPaint& m)
{
    HDC dc = m.DC() ? m.DC() : impl_->paintDC;
    if (!dc) return;
    int saved = SaveDC(dc);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
}

HDC BeginPaint(HWND h, PAINTSTRUCT& ps)
{
    ps = PAINTSTRUCT{};
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return nullptr;
    ps.hdc = c->impl()->paintDC;
    if (!ps.hdc) {
        ps.hdc = GetDC(h);
        ps.fOwnDC = true;
    }
    if (ps.hdc) GetClipBox(ps.hdc, &ps.rcPaint);
    return ps.hdc;
}

bool EndPaint(HWND h, const PAINTSTRUCT& ps)
{
    if (ps.fOwnDC && ps.hdc) ReleaseDC(h, ps.hdc);
    return true;
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto it = controls_.begin();
    if (first) it = std::find(controls_.begin(), controls_.end(), first);
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        TRect clip;
        GetClipBox(dc, &clip);
        TRect dummy;
        if (!IntersectRect(dummy, clip, c->BoundsRect())) continue;
        int saved = SaveDC(dc);
        TPoint org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.X + c->Left(), org.Y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, WPARAM(dc));
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintTo(HDC dc, int x, int y)
{
    if (!dc) return;
    int saved = SaveDC(dc);
    TPoint org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.X + x, org.Y + y, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    if (impl_->shape) {
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        shape->rgn = impl_->shape->translated(dc->ToDevice(0, 0));
        ExtSelectClipRgn(dc, shape, RGN_AND);
        DeleteObject(shape);
    }
    const int f = FrameWidth();
    if (f > 0 || (impl_->ScrollShown(SB_VERT) && impl_->ScrollShown(SB_HORZ))) Perform(WM_NCPAINT, WPARAM(dc));
    // The scroll bars, as the host draws them.
    for (QScrollBar* bar : impl_->bars)
        if (bar && bar->isVisibleTo(impl_->widget) && dc->image) {
            QPainter p(dc->image);
            p.setClipRegion(dc->EffectiveClip());
            bar->render(&p, dc->ToDevice(bar->x(), bar->y()), QRegion(), QWidget::DrawWindowBackground);
        }
    SetViewportOrgEx(dc, org.X + x + f, org.Y + y + f, nullptr);
    const TRect client = ClientRect();
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    Perform(WM_ERASEBKGND, WPARAM(dc));
    Perform(WM_PAINT, WPARAM(dc));
    if (!impl_->glFrame.isNull() && dc->image) {
        QPainter p(dc->image);
        p.setClipRegion(dc->EffectiveClip());
        p.drawImage(dc->ToDevice(0, 0), impl_->glFrame);
    }
    RestoreDC(dc, saved);
    // The children of a shaped window show only inside its shape.
    const int inner = impl_->shape ? SaveDC(dc) : 0;
    if (impl_->shape) {
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        shape->rgn = impl_->shape->translated(dc->ToDevice(x, y));
        ExtSelectClipRgn(dc, shape, RGN_AND);
        DeleteObject(shape);
    }
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->Visible())
            wc->PaintTo(dc, x + f + wc->Left(), y + f + wc->Top());
    if (inner) RestoreDC(dc, inner);
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& m)
{
    HDC dc = m.DC();
    if (dc && !(Parent() && TransparentStyle(this))) FillRect(dc, ClientRect(), ColorToRGB(Color()));
    m.Result = 1;
}

void TWinControl::CMHitTest(TMessage& m)
{
    const TPoint p{short(m.LParam & 0xFFFF), short((m.LParam >> 16) & 0xFFFF)};
    m.Result = !impl_->shape || impl_->shape->contains(QPoint(p.X, p.Y));
}

void TWinControl::WMSetFocus(TWMSetFocus&)
{
    gFocused = this;
    TopOf(this)->ChildFocused(this);
    Perform(CM_ENTER);
}

void TWinControl::WMKillFocus(TWMKillFocus&)
{
    if (gFocused == this) gFocused = nullptr;
    Perform(CM_EXIT);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

void TWinControl::WMKeyDown(TWMKeyDown& m)
{
    Word key = m.CharCode();
    if (key == VK_ESCAPE && gDrag.source) {
        gDrag.source->EndDrag(false);
        return;
    }
    if (gMenuKeyHook && gMenuKeyHook(this, m.Msg, key, m.KeyData())) {
        m.SetCharCode(0);
        return;
    }
    if (!gLive.count(this)) return;
    const TShiftState shift = KeyDataToShiftState(m.KeyData());
    TWinControl* top = TopOf(this);
    // Navigation keys the control does not want go to the form first; a key the form
    // uses (Result != 0) goes no further.
    const UINT mask = key == VK_TAB                          ? UINT(DLGC_WANTTAB)
                      : key >= VK_LEFT && key <= VK_DOWN     ? UINT(DLGC_WANTARROWS)
                      : key == VK_RETURN || key == VK_ESCAPE ? UINT(DLGC_WANTALLKEYS)
                                                             : 0u;
    if (mask && top != this && Perform(CM_WANTSPECIALKEY, key, m.KeyData()) == 0 && gLive.count(this) &&
        !(UINT(Perform(WM_GETDLGCODE)) & mask) && top->Perform(CM_DIALOGKEY, key, m.KeyData()) != 0) {
        m.SetCharCode(0);
        return;
    }
    if (!gLive.count(this)) return;
    if (top != this && top->WantsKeyPreview()) top->KeyDown(key, shift);
    if (key && gLive.count(this)) KeyDown(key, shift);
    m.SetCharCode(key);
}

void TWinControl::WMKeyUp(TWMKeyUp& m)
{
    Word key = m.CharCode();
    if (gMenuKeyHook && gMenuKeyHook(this, m.Msg, key, m.KeyData())) {
        m.SetCharCode(0);
        return;
    }
    const TShiftState shift = KeyDataToShiftState(m.KeyData());
    TWinControl* top = TopOf(this);
    if (top != this && top->WantsKeyPreview()) top->KeyUp(key, shift);
    if (key && gLive.count(this)) KeyUp(key, shift);
    m.SetCharCode(key);
}

void TWinControl::WMChar(TWMChar& m)
{
    char c = char(m.CharCode());
    TWinControl* top = TopOf(this);
    // An open menu takes the characters.
    if (gMenuKeyHook && m.Msg == WM_CHAR && gMenuKeyHook(this, m.Msg, m.CharCode(), m.LParam)) {
        m.SetCharCode(0);
        return;
    }
    // Alt with a letter: the control whose caption has it as accelerator, else the menu bar.
    if (m.Msg == WM_SYSCHAR && (top->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0 ||
                                (gLive.count(this) && gMenuKeyHook && gMenuKeyHook(this, m.Msg, m.CharCode(), m.LParam)))) {
        m.SetCharCode(0);
        return;
    }
    if (top != this && top->WantsKeyPreview()) top->KeyPress(c);
    if (c && gLive.count(this)) KeyPress(c);
    m.SetCharCode(Word((unsigned char)c));
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

}  // namespace platform
