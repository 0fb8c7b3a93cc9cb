// Point, area and horizontal area series.
#include "widgets/chart/ChartPointSeries.h"

#include <algorithm>
#include <typeinfo>

#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPointer.h"

namespace chart {

using platform::TComponent;
using platform::TPersistent;

// ---------------------------------------------------------------- point series

TPointSeries::TPointSeries(TComponent* owner) : TCustomSeries(owner)
{
    SetFixed();
    Marks().Callout().SetLength(0);
    Marks().Callout().DefaultLength = 0;
}

void TPointSeries::SetFixed()
{
    Pointer().SetVisible(true);
    DrawArea = false;
    ConnectPoints = false;
    ClickableLine = false;
}

void TPointSeries::Assign(const TPersistent& source)
{
    TCustomSeries::Assign(source);
    SetFixed();
}

void TPointSeries::SetColorEachPoint(bool v)
{
    TCustomSeries::SetColorEachPoint(v);
    if (v) Pointer().SetColor(clUseSeriesColor);
}

void TPointSeries::PrepareForGallery(bool enabled)
{
    TCustomSeries::PrepareForGallery(enabled);
    const int size = ParentChart() && ParentChart()->Width() < 50 ? 4 : 6;
    Pointer().SetSize(size);
    if (ParentChart() && ParentChart()->SeriesCount() > 1 && ParentChart()->GetSeries(1) == this)
        Pointer().SetStyle(psTriangle);
}

std::vector<std::string> TPointSeries::CreateSubGallery() const
{
    std::vector<std::string> names{ChartMsg_Normal, ChartMsg_Colors, ChartMsg_Marks,
                                   ChartMsg_Hollow, ChartMsg_NoBorder, ChartMsg_Gradient};
    if (CanDoExtra())
        names.insert(names.end(), {ChartMsg_Point2D, ChartMsg_Triangle, ChartMsg_Star, ChartMsg_Circle,
                                   ChartMsg_DownTri, ChartMsg_Cross, ChartMsg_Diamond});
    return names;
}

void TPointSeries::SetSubGallery(int index)
{
    TSeriesPointer& p = Pointer();
    if (index >= 6 && !CanDoExtra()) return;
    switch (index) {
    case 1: SetColorEachPoint(true); break;
    case 2: Marks().SetVisible(true); break;
    case 3: p.Brush().SetStyle(platform::bsClear); break;
    case 4: p.Pen().SetVisible(false); break;
    case 5: p.Gradient().SetVisible(true); break;
    case 6: p.SetDraw3D(false); break;
    case 7: p.SetStyle(psTriangle); break;
    case 8: p.SetStyle(psStar); break;
    case 9:
        p.SetStyle(psCircle);
        p.SetSize(8);
        break;
    case 10: p.SetStyle(psDownTriangle); break;
    case 11: p.SetStyle(psCross); break;
    case 12: p.SetStyle(psDiamond); break;
    default: break;
    }
}

// ---------------------------------------------------------------- area series

TAreaSeries::TAreaSeries(TComponent* owner) : TCustomSeries(owner)
{
    DrawArea = true;
    FunctionResultAsPoint = false;
    Pointer().TChartCustomShapeBrushPen::SetVisible(false);
}

void TAreaSeries::Assign(const TPersistent& source)
{
    TCustomSeries::Assign(source);
    DrawArea = true;
    ConnectPoints = true;
    auto* a = dynamic_cast<const TAreaSeries*>(&source);
    if (a) {
        useYOrigin_ = a->useYOrigin_;
        yOrigin_ = a->yOrigin_;
    } else {
        Pointer().TChartCustomShapeBrushPen::SetVisible(false);
    }
}

TMultiArea TAreaSeries::MultiArea() const
{
    switch (Stacked()) {
    case cssStack: return maStacked;
    case cssStack100: return maStacked100;
    default: return maNone;
    }
}

void TAreaSeries::SetMultiArea(TMultiArea v)
{
    if (v == MultiArea()) return;
    SetStacked(v == maStacked ? cssStack : v == maStacked100 ? cssStack100 : cssNone);
}

int TAreaSeries::GetOriginPos(int i)
{
    if (useYOrigin_) return CalcPosValue(yOrigin_);
    return TCustomSeries::GetOriginPos(i);
}

double TAreaSeries::MaxYValue()
{
    const double v = TCustomSeries::MaxYValue();
    return useYOrigin_ && ValuesVertical() ? std::max(v, yOrigin_) : v;
}

double TAreaSeries::MinYValue()
{
    const double v = TCustomSeries::MinYValue();
    return useYOrigin_ && ValuesVertical() ? std::min(v, yOrigin_) : v;
}

double TAreaSeries::MaxXValue()
{
    const double v = TCustomSeries::MaxXValue();
    return useYOrigin_ && !ValuesVertical() ? std::max(v, yOrigin_) : v;
}

double TAreaSeries::MinXValue()
{
    const double v = TCustomSeries::MinXValue();
    return useYOrigin_ && !ValuesVertical() ? std::min(v, yOrigin_) : v;
}

bool TAreaSeries::DrawSeriesForward(int i)
{
    if (MultiArea() != maNone) {
        TChartAxis* a = MandatoryAxis();
        return !(a && a->Inverted());
    }
    return TCustomSeries::DrawSeriesForward(i);
}

void TAreaSeries::PrepareLegendCanvas(int, TColor& backColor, platform::TBrushStyle& brushStyle)
{
    TCanvas3D* c = ParentChart() ? ParentChart()->ChartCanvas() : nullptr;
    if (!c) return;
    backColor = GetAreaBrushColor(c->Brush().Color());
    c->AssignVisiblePen(AreaLinesPen());
    brushStyle = AreaChartBrush().Style();
}

void TAreaSeries::DrawLegendShape(int index, const TRect& r)
{
    TCanvas3D* c = ParentChart() ? ParentChart()->ChartCanvas() : nullptr;
    if (c && Gradient().Visible()) {
        Gradient().Draw(*c, r);
        return;
    }
    TCustomSeries::DrawLegendShape(index, r);
}

void TAreaSeries::PrepareForGallery(bool enabled)
{
    TCustomSeries::PrepareForGallery(enabled);
    Gradient().SetVisible(true);
    Gradient().SetEndColor(SeriesColor());
}

std::vector<std::string> TAreaSeries::CreateSubGallery() const
{
    return {ChartMsg_Normal, ChartMsg_Stairs, ChartMsg_Marks, ChartMsg_Colors, ChartMsg_Hollow,
            ChartMsg_NoLines, ChartMsg_Stack, ChartMsg_Stack100, ChartMsg_Points, ChartMsg_Gradient};
}

void TAreaSeries::SetSubGallery(int index)
{
    switch (index) {
    case 1: Stairs = true; break;
    case 2: Marks().SetVisible(true); break;
    case 3: SetColorEachPoint(true); break;
    case 4: AreaChartBrush().SetStyle(platform::bsClear); break;
    case 5: AreaLinesPen().SetVisible(false); break;
    case 6: SetMultiArea(maStacked); break;
    case 7: SetMultiArea(maStacked100); break;
    case 8: Pointer().SetVisible(true); break;
    case 9: Gradient().SetVisible(true); break;
    default: break;
    }
    Repaint();
}

// ---------------------------------------------------------------- horizontal area series

THorizAreaSeries::THorizAreaSeries(TComponent* owner) : TAreaSeries(owner)
{
    SetHorizontal();
    XValues().Order = loNone;
    YValues().Order = loAscending;
    Gradient().SetDirection(gdRightLeft);
}

void THorizAreaSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    const int l = Marks().Callout().Length() + Marks().Callout().Distance();
    const int w = p.BoxWidth, h = p.BoxHeight;
    p.BoxTopLeft.Y = p.ArrowEnd.Y - h / 2;
    p.BoxTopLeft.X += w / 2 + l;
    p.ArrowEnd.X += l;
    p.ArrowStart.X += Marks().Callout().Distance();
    TCustomSeries::DrawMark(i, text, p);
}

}  // namespace chart
