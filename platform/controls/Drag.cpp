// Dragging within the application: the drag run, targets under the mouse, the drop.
#include <QApplication>
#include <QWidget>

#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/DragImageList.h"

namespace platform {

// ---------------------------------------------------------------- dragging

namespace {

TControl* ControlAtScreen(TPoint screen)
{
    TWinControl* top = nullptr;
    if (QWidget* w = QApplication::widgetAt(screen.X, screen.Y)) {
        for (; w && !top; w = w->parentWidget()) top = HostWidgetOwner(w);
    }
    if (!top)
        for (const TWinControl* c : gLive)
            if (!c->Parent() && c->impl()->widget && c->impl()->widget->isVisible() &&
                PtInRect(c->ClientRect(), c->ScreenToClient(screen)))
                top = const_cast<TWinControl*>(c);
    if (!top) return nullptr;
    TControl* hit = top;
    while (auto* wc = dynamic_cast<TWinControl*>(hit)) {
        TControl* inner = wc->ControlAtPos(wc->ScreenToClient(screen), false, true);
        if (!inner) break;
        hit = inner;
    }
    return hit;
}

void SetDragCursor(TCursor c)
{
    TWinControl* host = gDrag.source ? gDrag.source->HostWindow() : nullptr;
    if (!host || !host->impl()->widget) return;
    if (c == crDefault) host->impl()->widget->unsetCursor();
    else host->impl()->widget->setCursor(CursorFor(c));
}

void FinishDrag(bool drop, TPoint screen)
{
    DragRun run = gDrag;
    gDrag = DragRun();
    TControl* source = run.source;
    if (!source) return;
    if (run.images) run.images->EndDrag();
    if (source->MouseCapture()) source->SetMouseCapture(false);
    SetDragCursor(source->Cursor());
    if (run.dock) {
        auto* obj = static_cast<TDragDockObject*>(run.object);
        if (run.started) DockDragFinish(source, obj, drop, screen);
        if (run.ownObject) delete run.object;
        return;
    }
    TObject* dragged = run.ownObject || !run.object ? static_cast<TObject*>(source) : run.object;
    TControl* target = run.started ? run.target : nullptr;
    TPoint local{};
    if (target) {
        local = target->ScreenToClient(screen);
        if (!drop || !run.accepted) {
            bool accept = false;
            target->DragOver(dragged, local.X, local.Y, dsDragLeave, accept);
        }
    }
    const bool dropped = drop && target && run.accepted;
    if (dropped) target->DragDrop(dragged, local.X, local.Y);
    if (run.started) {
        TPoint sp = source->ScreenToClient(screen);
        if (dropped) source->DoEndDrag(target, local.X, local.Y);
        else source->DoEndDrag(nullptr, sp.X, sp.Y);
    }
    if (run.ownObject) delete run.object;
}

}  // namespace

bool DragMouse(TControl* c, TMessage& m)
{
    const TPoint screen = c->ClientToScreen(m.Pos());
    if (!gDrag.started) {
        if (m.Msg == WM_MOUSEMOVE && (std::abs(screen.X - gDrag.start.X) > gDrag.threshold ||
                                      std::abs(screen.Y - gDrag.start.Y) > gDrag.threshold)) {
            gDrag.started = true;
        } else {
            if (m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP) FinishDrag(false, screen);
            return false;  // an ordinary move or release until the drag starts
        }
    }
    TObject* dragged = gDrag.ownObject || !gDrag.object ? static_cast<TObject*>(c) : gDrag.object;
    if (gDrag.object) gDrag.object->DragPos = screen;
    if (gDrag.dock) {
        if (m.Msg == WM_MOUSEMOVE) DockDragMove(static_cast<TDragDockObject*>(gDrag.object), screen);
        else if (m.Msg == WM_LBUTTONUP) FinishDrag(true, screen);
        return true;
    }
    if (m.Msg == WM_MOUSEMOVE) {
        if (gDrag.images) {
            if (gDrag.images->Dragging()) gDrag.images->DragMove(screen.X, screen.Y);
            else gDrag.images->BeginDrag(screen.X, screen.Y);
        }
        TControl* target = ControlAtScreen(screen);
        if (target != gDrag.target) {
            if (gDrag.target) {
                TPoint p = gDrag.target->ScreenToClient(screen);
                bool accept = false;
                gDrag.target->DragOver(dragged, p.X, p.Y, dsDragLeave, accept);
            }
            gDrag.target = target;
            gDrag.accepted = false;
            if (target) {
                TPoint p = target->ScreenToClient(screen);
                bool accept = bool(target->OnDragOver);
                target->DragOver(dragged, p.X, p.Y, dsDragEnter, accept);
                gDrag.accepted = accept;
            }
        } else if (target) {
            TPoint p = target->ScreenToClient(screen);
            bool accept = bool(target->OnDragOver);
            target->DragOver(dragged, p.X, p.Y, dsDragMove, accept);
            gDrag.accepted = accept;
        }
        SetDragCursor(gDrag.accepted ? c->DragCursor : crNoDrop);
        return true;
    }
    if (m.Msg == WM_LBUTTONUP) {
        FinishDrag(true, screen);
        return true;
    }
    return true;  // other buttons do nothing while dragging
}

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    if (gDrag.source) return;
    gDrag = DragRun();
    gDrag.source = this;
    gDrag.threshold = Threshold < 0 ? 5 : Threshold;
    GetCursorPos(gDrag.start);
    // Where the last mouse message pointed: the press that starts the drag, also when a
    // control starts the drag of another (a tab dragging out its page's control).
    if (gLastMouseControl) gDrag.start = gLastMouseScreen;
    TDragObject* obj = nullptr;
    if (DragKind == dkDock) {
        gDrag.dock = true;
        TDragDockObject* dock = nullptr;
        DoStartDock(dock);
        obj = dock;
        if (gDrag.source && !obj) {
            obj = new TDragDockObject;
            gDrag.ownObject = true;
        }
    } else {
        DoStartDrag(obj);
    }
    if (!gDrag.source) {  // cancelled meanwhile
        if (gDrag.ownObject) delete obj;
        return;
    }
    if (obj) {
        gDrag.object = obj;
    } else {
        gDrag.object = new TDragObject;
        gDrag.ownObject = true;
    }
    gDrag.object->Control = this;
    gDrag.object->DragPos = gDrag.start;
    if (gDrag.dock) {
        auto* dock = static_cast<TDragDockObject*>(gDrag.object);
        const TPoint origin = ClientToScreen(Point(0, 0));
        dock->GrabOffset = Point(gDrag.start.X - origin.X, gDrag.start.Y - origin.Y);
    }
    gDrag.started = Immediate;
    if (TDragImageList* images = GetDragImages(); images && images->Count() > 0) {
        gDrag.images = images;
        if (Immediate) images->BeginDrag(gDrag.start.X, gDrag.start.Y);
    }
    SetMouseCapture(true);
}

void CancelDrag()
{
    if (gDrag.source) gDrag.source->EndDrag(false);
}

void TControl::EndDrag(bool Drop)
{
    if (gDrag.source != this) return;
    TPoint p;
    GetCursorPos(p);
    if (gDrag.object) p = gDrag.object->DragPos;
    FinishDrag(Drop, p);
}

bool TControl::Dragging() const { return gDrag.source == this; }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

}  // namespace platform
