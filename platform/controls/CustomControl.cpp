// Custom-drawn windowed controls and windowless graphic controls, each with its canvas.
#include "platform/controls/ControlsPrivate.h"

namespace platform {

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this))
{
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_->PaintOn(dc, [this] { Paint(); });
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this))
{
    ControlStyle |= csReplicatable;
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::SetBounds(int l, int t, int w, int h)
{
    TControl::SetBounds(l, t, w, h);
    canvas_->FreeHandle();  // the window canvas follows the control
}

void TGraphicControl::SetParent(TWinControl* p)
{
    TControl::SetParent(p);
    canvas_->FreeHandle();
}

void TGraphicControl::WMPaint(TWMPaint& m)
{
    HDC dc = m.DC();
    if (!dc) return;
    canvas_->PaintOn(dc, [this] { Paint(); });
}

}  // namespace platform
