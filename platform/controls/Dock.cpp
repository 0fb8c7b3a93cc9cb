// Docking: dock sites and their clients, the dock drag's target and drop, floating.
#include <QApplication>
#include <QWidget>

#include "base/ScopeGuard.h"
#include "platform/controls/ControlsPrivate.h"

namespace platform {

TFloatingDockSiteClass gDefaultFloatingSite;

namespace {

TRect ScreenBounds(const TControl* c)
{
    if (!c->Parent()) return c->BoundsRect();
    const TPoint o = c->Parent()->ClientToScreen(Point(c->Left(), c->Top()));
    return Bounds(o.X, o.Y, c->Width(), c->Height());
}

bool Within(const TControl* c, const TControl* outer)
{
    for (; c; c = c->Parent())
        if (c == outer) return true;
    return false;
}

// The site that would take client at the mouse: the innermost shown dock site whose
// influence rectangle holds the point and whose GetSiteInfo agrees. The client itself and
// what it holds never count.
TWinControl* FindDockSite(TControl* client, TPoint screen)
{
    TWinControl* best = nullptr;
    int bestDepth = -1;
    std::vector<TWinControl*> sites;
    for (const TWinControl* c : gLive)
        if (c->DockSite && c->Showing() && !Within(c, client)) sites.push_back(const_cast<TWinControl*>(c));
    for (TWinControl* site : sites) {
        TRect influence;
        bool canDock = true;
        site->GetSiteInfo(client, influence, screen, canDock);
        if (!canDock || !PtInRect(influence, screen)) continue;
        int depth = 0;
        for (const TControl* p = site; p->Parent(); p = p->Parent()) ++depth;
        // A site whose window is under the mouse beats one that only reaches it.
        if (PtInRect(ScreenBounds(site), screen)) depth += 1000;
        if (depth > bestDepth) {
            best = site;
            bestDepth = depth;
        }
    }
    return best;
}

TRect FloatRect(TControl* c, TDragDockObject* obj, TPoint screen)
{
    const int w = c->UndockWidth > 0 ? c->UndockWidth : c->Width();
    const int h = c->UndockHeight > 0 ? c->UndockHeight : c->Height();
    const TPoint grab = Point(std::clamp(obj->GrabOffset.X, 0, std::max(0, w - 1)),
                              std::clamp(obj->GrabOffset.Y, 0, std::max(0, h - 1)));
    return Bounds(screen.X - grab.X, screen.Y - grab.Y, w, h);
}

}  // namespace

// ---------------------------------------------------------------- the drag

void DockDragMove(TDragDockObject* obj, TPoint screen)
{
    TControl* client = obj->Control;
    TWinControl* site = FindDockSite(client, screen);
    TWinControl* old = obj->DragTarget;
    if (old && old != site && gLive.count(old)) {
        const TPoint p = old->ScreenToClient(screen);
        bool accept = true;
        old->DockOver(obj, p.X, p.Y, dsDragLeave, accept);
    }
    bool accept = false;
    if (site) {
        const TPoint p = site->ScreenToClient(screen);
        accept = true;
        site->DockOver(obj, p.X, p.Y, site == old ? dsDragMove : dsDragEnter, accept);
    }
    obj->DragTarget = site;
    obj->Floating = !(site && accept);
    if (obj->Floating) obj->DockRect = FloatRect(client, obj, screen);
}

void DockDragFinish(TControl* source, TDragDockObject* obj, bool drop, TPoint screen)
{
    AliveWatch live(source);
    TWinControl* site = obj->DragTarget && gLive.count(obj->DragTarget) ? obj->DragTarget : nullptr;
    if (site) {
        const TPoint p = site->ScreenToClient(screen);
        bool accept = true;
        if (!drop || obj->Floating) site->DockOver(obj, p.X, p.Y, dsDragLeave, accept);
    }
    TObject* target = nullptr;
    if (drop && !obj->Floating && site) {
        TWinControl* host = source->HostDockSite();
        if (host == site || !host || host->DoUnDock(site, source)) {
            const TPoint p = site->ScreenToClient(screen);
            site->DockDrop(obj, p.X, p.Y);
            target = site;
        }
    } else if (drop) {
        TWinControl* host = source->HostDockSite();
        if (host && host->IsFloatingDockSite() && host->DockClientCount() == 1) {
            // Alone in its floating window: the window moves.
            const TRect c = host->ClientRect();
            const TPoint o = host->ClientToScreen(Point(0, 0));
            const TRect r = obj->DockRect;
            host->SetBounds(host->Left() + r.Left - o.X - c.Left, host->Top() + r.Top - o.Y - c.Top, host->Width(),
                            host->Height());
        } else if (source->Floating() && !host) {
            source->SetBounds(obj->DockRect.Left, obj->DockRect.Top, source->Width(), source->Height());
        } else {
            source->ManualFloat(obj->DockRect);
        }
    }
    if (!live.alive) return;
    const TPoint p = target ? static_cast<TControl*>(target)->ScreenToClient(screen) : source->ScreenToClient(screen);
    source->DoEndDock(target, p.X, p.Y);
}

// ---------------------------------------------------------------- clients

bool TControl::Floating() const
{
    if (hostDockSite_) return hostDockSite_->IsFloatingDockSite();
    return floatingAlone_ && !parent_;
}

void TControl::DoStartDock(TDragDockObject*& DragObject)
{
    if (OnStartDock) OnStartDock(this, DragObject);
}

void TControl::DoEndDock(TObject* Target, int X, int Y)
{
    if (OnEndDock) OnEndDock(this, Target, X, Y);
}

void TControl::Dock(TWinControl* NewDockSite, TRect ARect)
{
    TWinControl* prev = hostDockSite_;
    // Leaving the open for a site: the size it had there is the size it floats at later.
    if (NewDockSite && !NewDockSite->IsFloatingDockSite() && (!prev || prev->IsFloatingDockSite())) {
        UndockWidth = Width();
        UndockHeight = Height();
    }
    if (prev != NewDockSite) {
        if (prev) std::erase(prev->dockClients_, this);
        if (NewDockSite) NewDockSite->dockClients_.push_back(this);
    }
    hostDockSite_ = NewDockSite;
    AliveWatch live(this);
    docking_ = true;
    {
        // Left where it was.
        base::ScopeFail undo([&] {
            if (!live.alive) return;
            docking_ = false;
            if (prev != NewDockSite) {
                if (NewDockSite) std::erase(NewDockSite->dockClients_, this);
                if (prev) prev->dockClients_.push_back(this);
            }
            hostDockSite_ = prev;
        });
        if (NewDockSite) {
            floatingAlone_ = false;
            NewDockSite->DoAddDockClient(this, ARect);
        } else {
            // Floats as a window of its own.
            SetParent(nullptr);
            floatingAlone_ = true;
            SetBoundsRect(ARect);
            Show();
        }
    }
    if (!live.alive) return;
    docking_ = false;
    if (prev && prev != NewDockSite && gLive.count(prev)) prev->DoRemoveDockClient(this);
}

bool TControl::ManualFloat(TRect ScreenPos)
{
    if (hostDockSite_ && !hostDockSite_->DoUnDock(nullptr, this)) return false;
    TFloatingDockSiteClass make = FloatingDockSiteClass ? FloatingDockSiteClass : gDefaultFloatingSite;
    TWinControl* site = make ? make(this) : nullptr;
    if (!site) {
        if (!dynamic_cast<TWinControl*>(this)) return false;  // a graphic control needs a window to float in
        Dock(nullptr, ScreenPos);
        return true;
    }
    // The window's client area takes the control's size at the place asked for.
    site->SetBounds(ScreenPos.Left, ScreenPos.Top, ScreenPos.Width(), ScreenPos.Height());
    site->SetClientWidth(ScreenPos.Width());
    site->SetClientHeight(ScreenPos.Height());
    Dock(site, Rect(0, 0, site->ClientWidth(), site->ClientHeight()));
    site->Show();
    return true;
}

bool TControl::ManualDock(TWinControl* NewDockSite, TControl* DropControl, TAlign ControlSide)
{
    if (!NewDockSite) {
        TRect r = ScreenBounds(this);
        if (UndockWidth > 0) r.Right = r.Left + UndockWidth;
        if (UndockHeight > 0) r.Bottom = r.Top + UndockHeight;
        return ManualFloat(r);
    }
    if (hostDockSite_ && hostDockSite_ != NewDockSite && !hostDockSite_->DoUnDock(NewDockSite, this)) return false;
    TDragDockObject obj;
    obj.Control = this;
    obj.DropOnControl = DropControl;
    obj.DropAlign = ControlSide;
    obj.Floating = false;
    obj.DragTarget = NewDockSite;
    obj.DockRect = ScreenBounds(NewDockSite);
    const TPoint o = NewDockSite->ClientToScreen(Point(0, 0));
    obj.DragPos = Point(o.X + NewDockSite->ClientWidth() / 2, o.Y + NewDockSite->ClientHeight() / 2);
    NewDockSite->DockDrop(&obj, obj.DragPos.X - o.X, obj.DragPos.Y - o.Y);
    return hostDockSite_ == NewDockSite;
}

// ---------------------------------------------------------------- sites

void TWinControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Source->DockRect = ScreenBounds(this);
    DoDockOver(Source, X, Y, State, Accept);
}

void TWinControl::DoDockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (OnDockOver) OnDockOver(this, Source, X, Y, State, Accept);
}

void TWinControl::DockDrop(TDragDockObject* Source, int X, int Y)
{
    AliveWatch live(this);
    const LRESULT r = Perform(CM_DOCKCLIENT, WPARAM(Source), MakeLParam(X, Y));
    if (live.alive && r >= 0 && OnDockDrop) OnDockDrop(this, Source, X, Y);
}

void TWinControl::CMDockClient(TCMDockClient& m)
{
    m.Result = 0;
    auto* src = reinterpret_cast<TDragDockObject*>(m.WParam);
    const TPoint o = ClientToScreen(Point(0, 0));
    TRect r = src->DockRect;
    OffsetRect(r, -o.X, -o.Y);
    DisableAlign();
    base::ScopeExit restore([&] { EnableAlign(); });
    src->Control->Dock(this, r);
}

void TWinControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock)
{
    InfluenceRect = ScreenBounds(this);
    InflateRect(InfluenceRect, 10, 10);
    if (OnGetSiteInfo) OnGetSiteInfo(this, Client, InfluenceRect, MousePos, CanDock);
}

void TWinControl::DoAddDockClient(TControl* Client, const TRect& ARect)
{
    Client->SetParent(this);
    Client->SetBoundsRect(ARect);
}

void TWinControl::DoRemoveDockClient(TControl*) {}

bool TWinControl::DoUnDock(TWinControl* NewTarget, TControl* Client)
{
    bool allow = true;
    if (OnUnDock) OnUnDock(this, Client, NewTarget, allow);
    if (!allow) return false;
    Perform(CM_UNDOCKCLIENT, WPARAM(NewTarget), LPARAM(Client));
    return true;
}

}  // namespace platform
