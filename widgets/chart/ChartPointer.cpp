// Point symbols.
#include "widgets/chart/ChartPointer.h"

#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

using namespace platform;

TSeriesPointer::TSeriesPointer(TChartSeries* series)
    : TChartCustomShapeBrushPen(series ? series->ParentChart() : nullptr), series_(series)
{
    gradient_ = std::make_unique<TChartGradient>([this](TObject* s) { CanvasChanged(s); });
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TSeriesPointer*>(&source)) {
        dark3D_ = p->dark3D_;
        draw3D_ = p->draw3D_;
        gradient_->Assign(*p->gradient_);
        horizSize_ = p->horizSize_;
        inflateMargins_ = p->inflateMargins_;
        style_ = p->style_;
        transparency_ = p->transparency_;
        vertSize_ = p->vertSize_;
    }
    TChartCustomShapeBrushPen::Assign(source);
}

void TSeriesPointer::SetHorizSize(int v)
{
    if (v <= 0) throw ChartException(ChartMsg_CheckPointerSize);
    Set(horizSize_, v);
}

void TSeriesPointer::SetVertSize(int v)
{
    if (v <= 0) throw ChartException(ChartMsg_CheckPointerSize);
    Set(vertSize_, v);
}

TColor TSeriesPointer::GetColor() { return Brush().Color(); }
int TSeriesPointer::GetStartZ() const { return series_ ? series_->StartZ : 0; }
int TSeriesPointer::GetMiddleZ() const { return series_ ? series_->MiddleZ : 0; }
int TSeriesPointer::GetEndZ() const { return series_ ? series_->EndZ : 0; }
void TSeriesPointer::SetColor(TColor c) { Brush().SetColor(c); }

void TSeriesPointer::CalcHorizMargins(int& left, int& right)
{
    if (!Visible() || !inflateMargins_) return;
    left = std::max(left, horizSize_ + 1);
    right = std::max(right, horizSize_ + 1);
}

void TSeriesPointer::CalcVerticalMargins(int& top, int& bottom)
{
    if (!Visible() || !inflateMargins_) return;
    top = std::max(top, vertSize_ + 1);
    bottom = std::max(bottom, vertSize_ + 1);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& canvas, TColor color)
{
    if (Pen().Visible()) canvas.AssignVisiblePenColor(Pen(), Pen().Color() == clUseSeriesColor ? color : Pen().Color());
    else canvas.Pen().SetStyle(psClear);
    TColor c = Brush().Color();
    if (c == clUseSeriesColor) c = Brush().Style() == bsSolid ? color : clBlack;
    canvas.AssignBrushColor(Brush(), c, color);
}

void TSeriesPointer::Draw(int x, int y, TColor color, TSeriesPointerStyle style)
{
    if (!parent_) return;
    auto* chart = dynamic_cast<TCustomAxisPanel*>(parent_);
    DrawPointer(*parent_->ChartCanvas(), chart && chart->View3D(), x, y, horizSize_, vertSize_, color, style);
}

void TSeriesPointer::DrawPointer(TCanvas3D& c, bool is3D, int x, int y, int h, int v, TColor color,
                                 TSeriesPointerStyle style)
{
    const int left = x - h, right = x + h, top = y - v, bottom = y + v;
    const int sz = GetStartZ(), mz = GetMiddleZ(), ez = GetEndZ();
    TChartBlend* blend = nullptr;
    if (transparency_ > 0) blend = c.BeginBlending(c.RectFromRectZ({left, top, right + 1, bottom + 1}, sz), transparency_);
    auto poly = [&](std::initializer_list<TPoint> pts) {
        TPointArray p(pts);
        if (is3D) c.PolygonWithZ(p.data(), int(p.size()), sz);
        else c.Polygon(p);
    };
    auto line = [&](int x0, int y0, int x1, int y1) {
        if (is3D) c.LineWithZ(x0, y0, x1, y1, sz);
        else c.Line(x0, y0, x1, y1);
    };
    switch (style) {
    case psRectangle:
        if (is3D && draw3D_) c.Cube(left, right, top, bottom, sz, ez, dark3D_);
        else if (is3D) c.RectangleWithZ({left, top, right + 1, bottom + 1}, sz);
        else c.Rectangle(left, top, right + 1, bottom + 1);
        break;
    case psCircle:
        if (is3D) c.EllipseWithZ(left, top, right, bottom, sz);
        else c.Ellipse(left, top, right, bottom);
        break;
    case psTriangle:
    case psDownTriangle: {
        const int vv = style == psTriangle ? v : -v;
        if (is3D && draw3D_) c.Pyramid(true, left, y - vv, right, y + vv, sz, ez, dark3D_);
        else poly({{left, y + vv}, {right, y + vv}, {x, y - vv}});
        break;
    }
    case psCross:
        line(x, top, x, bottom + 1);
        line(left, y, right + 1, y);
        break;
    case psDiagCross:
        line(left, top, right + 1, bottom + 1);
        line(right, top, left - 1, bottom + 1);
        break;
    case psStar:
        line(x, top, x, bottom + 1);
        line(left, y, right + 1, y);
        line(left, top, right + 1, bottom + 1);
        line(right, top, left - 1, bottom + 1);
        break;
    case psDiamond: poly({{left, y}, {x, top}, {right, y}, {x, bottom}}); break;
    case psSmallDot:
        if (is3D) c.SetPixel3D(x, y, mz, c.Brush().Color());
        else c.SetPixel(x, y, c.Brush().Color());
        break;
    case psNothing: break;
    case psLeftTriangle: poly({{left, y}, {right, bottom}, {right, top}}); break;
    case psRightTriangle: poly({{right, y}, {left, bottom}, {left, top}}); break;
    }
    if (gradient_->Visible() && style != psNothing && style != psCross && style != psDiagCross && style != psStar &&
        style != psSmallDot) {
        const int w = Pen().Visible() ? Pen().Width() : 0;
        if (!FullGradient) {
            TNotifyEvent keep = std::move(gradient_->OnChange);
            gradient_->SetEndColor(color);
            gradient_->OnChange = std::move(keep);
        }
        TRect r{left + w, top + w, right, bottom};
        if (is3D) r = c.CalcRect3D(r, sz);
        if (style == psCircle) c.ClipEllipse(r);
        else c.ClipRectangle(r);
        gradient_->Draw(c, r, 0);
        c.UnClipRectangle();
    }
    if (blend) c.EndBlending(blend);
}

// ---------------------------------------------------------------- callouts

bool ChartCheckMarkArrowColor = false;

TCallout::TCallout(TChartSeries* series) : TSeriesPointer(series)
{
    arrow_ = std::make_unique<TWhitePen>([this](TObject* s) { CanvasChanged(s); });
    FullGradient = true;
    Change3D(false);
    Brush().SetColor(clBlack);
}

TCallout::~TCallout() = default;

void TCallout::SetArrow(const TChartPen& pen) { arrow_->Assign(pen); }

void TCallout::Assign(const TPersistent& source)
{
    if (auto* c = dynamic_cast<const TCallout*>(&source)) {
        distance_ = c->distance_;
        SetArrow(*c->arrow_);
        arrowHead_ = c->arrowHead_;
        arrowHeadSize_ = c->arrowHeadSize_;
    }
    TSeriesPointer::Assign(source);
}

void TCallout::SetArrowHead(TArrowHeadStyle v)
{
    if (StoreChanged(arrowHead_, v)) Repaint();
}
void TCallout::SetArrowHeadSize(int v)
{
    if (StoreChanged(arrowHeadSize_, v)) Repaint();
}
void TCallout::SetDistance(int v)
{
    if (StoreChanged(distance_, v)) Repaint();
}

void TCallout::Draw(TColor color, TPoint from, TPoint to, int z)
{
    if (!parent_) return;
    TCanvas3D& c = *parent_->ChartCanvas();
    auto* chart = dynamic_cast<TCustomAxisPanel*>(parent_);
    const bool is3D = chart && chart->View3D();
    if (arrow_->Visible()) {
        c.Brush().SetStyle(bsClear);
        PrepareCanvas(c, GetColor());
        TColor pen = arrow_->Color();
        if (ChartCheckMarkArrowColor && (pen == color || pen == parent_->Color()))
            pen = parent_->Color() == clBlack ? clWhite : clBlack;
        c.AssignVisiblePenColor(*arrow_, pen);
        if (arrowHead_ == ahNone) {
            if (is3D) c.LineWithZ(from, to, z);
            else c.Line(from, to);
        } else {
            c.Arrow(arrowHead_ == ahSolid, to, from, arrowHeadSize_, arrowHeadSize_, z);
        }
    }
    if (arrowHead_ == ahNone && Visible()) {
        PrepareCanvas(c, GetColor());
        const TPoint p = is3D ? c.Calculate3DPosition(from, z) : from;
        DrawPointer(c, false, p.X, p.Y, HorizSize(), VertSize(), Brush().Color(), Style());
    }
}

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series)
{
    TChartCustomShapeBrushPen::SetVisible(false);
    TNotifyEvent keep = std::move(Arrow().OnChange);
    Arrow().SetColor(clWhite);
    Arrow().OnChange = std::move(keep);
}

void TMarksCallout::Assign(const TPersistent& source)
{
    if (auto* m = dynamic_cast<const TMarksCallout*>(&source)) length_ = m->length_;
    TCallout::Assign(source);
}

void TMarksCallout::SetLength(int v)
{
    if (Series()) Series()->SetIntegerProperty(length_, v);
    else length_ = v;
}

void TMarksCallout::ApplyArrowLength(TSeriesMarkPosition& p) const
{
    const int d = length_ + Distance();
    p.BoxTopLeft.Y -= d;
    p.ArrowEnd.Y -= d;
    p.ArrowStart.Y -= Distance();
}

}  // namespace chart
