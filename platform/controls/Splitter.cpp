#include "platform/controls/Splitter.h"

#include <algorithm>

namespace platform {

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

// The cursor follows the direction the splitter moves in, unless someone chose another.
void TSplitter::UpdateCursor()
{
    if (Cursor() != crHSplit && Cursor() != crVSplit) return;
    SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
}

void TSplitter::Paint()
{
    UpdateCursor();
    Canvas()->Brush().SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// The control on the side the splitter is aligned to: the one touching the pixel
// just before it (after it for right and bottom alignment).
TControl* TSplitter::FindControl() const
{
    if (!Parent()) return nullptr;
    TPoint p{Left(), Top()};
    switch (Align()) {
    case alLeft: --p.X; break;
    case alRight: p.X += Width(); break;
    case alTop: --p.Y; break;
    case alBottom: p.Y += Height(); break;
    default: return nullptr;
    }
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled()) continue;
        TRect r = c->BoundsRect();
        if (r.Width() == 0) {
            if (Align() == alLeft || Align() == alTop) --r.Left;
            else ++r.Right;
        }
        if (r.Height() == 0) {
            if (Align() == alLeft || Align() == alTop) --r.Top;
            else ++r.Bottom;
        }
        if (PtInRect(r, p)) return c;
    }
    return nullptr;
}

int TSplitter::NewSizeAt(int X, int Y) const
{
    const bool horizontal = Align() == alLeft || Align() == alRight;
    const int split = horizontal ? X - downPos_.X : Y - downPos_.Y;
    int size = 0;
    switch (Align()) {
    case alLeft: size = control_->Width() + split; break;
    case alRight: size = control_->Width() - split; break;
    case alTop: size = control_->Height() + split; break;
    case alBottom: size = control_->Height() - split; break;
    default: break;
    }
    return std::clamp(size, minSize_, std::max(minSize_, maxSize_));
}

void TSplitter::ApplySize(int size)
{
    const bool horizontal = Align() == alLeft || Align() == alRight;
    if (size == (horizontal ? control_->Width() : control_->Height())) return;
    if (horizontal) control_->SetWidth(size);
    else control_->SetHeight(size);
    if (OnMoved) OnMoved(this);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    control_ = FindControl();
    downPos_ = {X, Y};
    if (!control_) return;
    // A control freed during the drag must not be resized afterwards.
    FreeNotification(control_);
    // The room left by the other controls aligned along the same direction.
    const bool horizontal = Align() == alLeft || Align() == alRight;
    maxSize_ = (horizontal ? Parent()->ClientWidth() : Parent()->ClientHeight()) - minSize_;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (!c->Visible()) continue;
        if (horizontal && (c->Align() == alLeft || c->Align() == alRight)) maxSize_ -= c->Width();
        if (!horizontal && (c->Align() == alTop || c->Align() == alBottom)) maxSize_ -= c->Height();
    }
    maxSize_ += horizontal ? control_->Width() : control_->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    UpdateCursor();
    TGraphicControl::MouseMove(Shift, X, Y);
    // The splitter follows the resized control, so the press point stays valid in
    // its own coordinates.
    if (control_ && (Shift & ssLeft)) ApplySize(NewSizeAt(X, Y));
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !control_) return;
    ApplySize(NewSizeAt(X, Y));
    RemoveFreeNotification(control_);
    control_ = nullptr;
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == control_) control_ = nullptr;
    TGraphicControl::Notification(AComponent, Operation);
}

}  // namespace platform
