// Chart pens, brushes and 3D view options.
#include "widgets/chart/ChartPen.h"

#include <cmath>

#include "platform/controls/Controls.h"

namespace chart {

using namespace platform;

TChartPen::TChartPen(TNotifyEvent ownerChange) { OnChange = std::move(ownerChange); }

void TChartPen::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TChartPen*>(&source)) {
        visible_ = p->visible_;
        smallDots_ = p->smallDots_;
        smallSpace_ = p->smallSpace_;
        endStyle_ = p->endStyle_;
    }
    TPen::Assign(source);
}

void TChartPen::SetEndStyle(TPenEndStyle v) { Change(endStyle_, v); }
void TChartPen::SetSmallDots(bool v) { Change(smallDots_, v); }
void TChartPen::SetSmallSpace(int v) { Change(smallSpace_, v); }
void TChartPen::SetVisible(bool v) { Change(visible_, v); }

TChartHiddenPen::TChartHiddenPen(TNotifyEvent ownerChange) : TChartPen(std::move(ownerChange))
{
    defaultVisible_ = false;
    TNotifyEvent keep = std::move(OnChange);
    SetVisible(false);
    OnChange = std::move(keep);
}

namespace {
template <class Pen>
void Defaults(Pen& p, TColor color, TPenStyle style)
{
    TNotifyEvent keep = std::move(p.OnChange);
    p.SetColor(color);
    p.SetStyle(style);
    p.OnChange = std::move(keep);
}
}  // namespace

TDottedGrayPen::TDottedGrayPen(TNotifyEvent ownerChange) : TChartPen(std::move(ownerChange)) { Defaults(*this, clGray, psDot); }
TDarkGrayPen::TDarkGrayPen(TNotifyEvent ownerChange) : TChartPen(std::move(ownerChange)) { Defaults(*this, clGray, psSolid); }
TWhitePen::TWhitePen(TNotifyEvent ownerChange) : TChartPen(std::move(ownerChange)) { Defaults(*this, clWhite, psSolid); }

// ---------------------------------------------------------------- TChartBrush

TChartBrush::TChartBrush(TNotifyEvent ownerChange)
{
    SetColor(clUseSeriesColor);
    OnChange = std::move(ownerChange);
}

TChartBrush::~TChartBrush() { SetBitmap(nullptr); }

void TChartBrush::Assign(const TPersistent& source)
{
    if (auto* b = dynamic_cast<const TChartBrush*>(&source)) {
        if (b->image_) Image()->Assign(*b->image_);
        else if (image_) Image()->SetGraphic(nullptr);
    }
    TBrush::Assign(source);
}

void TChartBrush::Clear()
{
    SetImage(nullptr);
    SetStyle(bsClear);
}

TPicture* TChartBrush::GetImage()
{
    if (!image_) {
        image_ = std::make_unique<TPicture>();
        image_->OnChange = [this](TObject*) { Changed(); };
    }
    return image_.get();
}

void TChartBrush::SetImage(const TPicture* picture)
{
    if (picture) Image()->Assign(*picture);
    else image_.reset();
    Changed();
}

// ---------------------------------------------------------------- TView3DOptions

TView3DOptions::TView3DOptions(TControl* parent) : parent_(parent) {}

void TView3DOptions::Assign(const TPersistent& source)
{
    auto* o = dynamic_cast<const TView3DOptions*>(&source);
    if (!o) return;
    elevation_ = o->elevation_;
    fontZoom_ = o->fontZoom_;
    horizOffset_ = o->horizOffset_;
    orthogonal_ = o->orthogonal_;
    orthoAngle_ = o->orthoAngle_;
    perspective_ = o->perspective_;
    rotation_ = o->rotation_;
    tilt_ = o->tilt_;
    vertOffset_ = o->vertOffset_;
    zoom_ = o->zoom_;
    zoomText_ = o->zoomText_;
}

void TView3DOptions::Repaint()
{
    if (parent_) parent_->Invalidate();
}

void TView3DOptions::SetHorizOffset(int v)
{
    if (Set(horizOffset_, v) && OnScrolled) OnScrolled(true);
}

void TView3DOptions::SetVertOffset(int v)
{
    if (Set(vertOffset_, v) && OnScrolled) OnScrolled(false);
}

void TView3DOptions::SetZoom(int v)
{
    if (zoom_ == v) return;
    if (OnChangedZoom) OnChangedZoom(v);
    zoom_ = v;
    Repaint();
}

double TView3DOptions::CalcOrthoRatio() const
{
    if (!orthogonal_) return 1;
    const int a = orthoAngle_ > 90 ? 180 - orthoAngle_ : orthoAngle_;
    return std::tan(a * M_PI / 180.0);
}

}  // namespace chart
