// Fast line series.
#include "widgets/chart/ChartFastLine.h"

#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartBarSeries.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPieSeries.h"
#include "widgets/chart/ChartPointSeries.h"
#include "widgets/chart/ChartProcs.h"
#include "widgets/chart/ChartRegistry.h"

namespace chart {

using platform::TComponent;
using platform::TPersistent;

TFastLineSeries::TFastLineSeries(TComponent* owner) : TCustomLineSeries(owner)
{
    FunctionResultAsPoint = false;
    KeepPointBeyondEdge = true;
}

void TFastLineSeries::Assign(const TPersistent& source)
{
    if (auto* f = dynamic_cast<const TFastLineSeries*>(&source)) {
        AutoRepaint = f->AutoRepaint;
        drawAll_ = f->drawAll_;
        fastPen_ = f->fastPen_;
        ignoreNulls_ = f->ignoreNulls_;
        invertedStairs_ = f->invertedStairs_;
        stairs_ = f->stairs_;
    }
    TCustomLineSeries::Assign(source);
}

void TFastLineSeries::SetPen(const TChartPen& pen)
{
    LinePen().Assign(pen);
    SetSeriesColor(LinePen().Color());
}

void TFastLineSeries::SetSeriesColor(TColor c)
{
    TCustomLineSeries::SetSeriesColor(c);
    LinePen().SetColor(SeriesColor());
}

bool TFastLineSeries::Is3D() const { return ParentChart() && ParentChart()->View3D(); }

void TFastLineSeries::CalcPosition(int i, int& x, int& y)
{
    x = CalcXPosValue(GetxValue(i));
    y = CalcYPosValue(GetyValue(i));
}

void TFastLineSeries::PrepareCanvas()
{
    TCanvas3D& c = *ParentChart()->ChartCanvas();
    c.AssignVisiblePen(LinePen());
    c.Brush().SetStyle(platform::bsClear);
    c.SetBackMode(cbmTransparent);
}

void TFastLineSeries::PrepareLegendCanvas(int, TColor&, platform::TBrushStyle&)
{
    if (ParentChart()) PrepareCanvas();
}

void TFastLineSeries::DrawLegendShape(int, const TRect& r)
{
    if (ParentChart()) ParentChart()->ChartCanvas()->DoHorizLine(r.Left, r.Right, (r.Top + r.Bottom) / 2);
}

void TFastLineSeries::CalcHorizMargins(int& left, int& right)
{
    const int w = LinePen().Width();
    left = right = w - (w - 2) / 2;
}

void TFastLineSeries::CalcVerticalMargins(int& top, int& bottom)
{
    const int w = LinePen().Width();
    top = bottom = w - (w - 2) / 2;
}

void TFastLineSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    Marks().ApplyArrowLength(p);
    TCustomLineSeries::DrawMark(i, text, p);
}

void TFastLineSeries::DoMove(int x, int y)
{
    TCanvas3D& c = *ParentChart()->ChartCanvas();
    if (Is3D()) c.MoveTo3D(x, y, MiddleZ);
    else c.MoveTo(x, y);
}

void TFastLineSeries::DoLine(int x, int y)
{
    TCanvas3D& c = *ParentChart()->ChartCanvas();
    if (Is3D()) c.LineTo3D(x, y, MiddleZ);
    else c.LineTo(x, y);
}

void TFastLineSeries::DrawAllValues()
{
    if (!ParentChart() || FirstShownIndex < 0 || LastShownIndex < FirstShownIndex) return;
    PrepareCanvas();
    const int f = FirstShownIndex;
    CalcPosition(f > 0 ? f - 1 : f, LastX, LastY);
    DoMove(LastX, LastY);
    if (f > 0) DrawValue(f);
    for (int i = f + 1; i <= LastShownIndex; ++i) DrawValue(i);
}

void TFastLineSeries::DrawValue(int i)
{
    int x, y;
    CalcPosition(i, x, y);
    if (x == LastX && (!drawAll_ || y == LastY)) return;
    if (ignoreNulls_ || GetValueColor(i) != platform::clNone) {
        if (stairs_) {
            if (invertedStairs_) DoLine(LastX, y);
            else DoLine(x, LastY);
        }
        DoLine(x, y);
    } else {
        DoMove(x, y);
    }
    LastX = x;
    LastY = y;
}

void TFastLineSeries::NotifyNewValue(TChartSeries* sender, int index)
{
    if (AutoRepaint || !ParentChart()) {
        TCustomLineSeries::NotifyNewValue(sender, index);
        return;
    }
    if (OnAfterAdd) OnAfterAdd(sender, index);
    NotifyValue(veAdd, index);
    CalcPosition(index > 0 ? index - 1 : 0, LastX, LastY);
    ParentChart()->ChartCanvas()->AssignVisiblePen(LinePen());
    DoMove(LastX, LastY);
    DrawValue(index);
}

int TFastLineSeries::Clicked(int x, int y)
{
    if (FirstShownIndex < 0 || LastShownIndex < 0) return -1;
    if (ParentChart()) ParentChart()->ChartCanvas()->Calculate2DPosition(x, y, MiddleZ);
    int px = 0, py = 0;
    for (int i = FirstShownIndex; i <= LastShownIndex; ++i) {
        const int cx = CalcXPos(i), cy = CalcYPos(i);
        if (cx == x && cy == y) return i;
        if (i > FirstShownIndex && PointInLine({x, y}, px, py, cx, cy)) return i - 1;
        px = cx;
        py = cy;
    }
    return -1;
}

std::vector<std::string> TFastLineSeries::CreateSubGallery()
{
    return {ChartMsg_Normal, ChartMsg_Marks, ChartMsg_Dotted, ChartMsg_Stairs};
}

void TFastLineSeries::SetSubGallery(int index)
{
    switch (index) {
    case 1: Marks().SetVisible(true); break;
    case 2: LinePen().SetSmallDots(true); break;
    case 3: SetStairs(true); break;
    default: break;
    }
}

void RegisterChartStandardSeries()
{
    const std::string* page = &ChartMsg_GalleryStandard;
    RegisterChartSeries(SeriesClass<TLineSeries>(), &ChartMsg_GalleryLine, page, 2);
    RegisterChartSeries(SeriesClass<TBarSeries>(), &ChartMsg_GalleryBar, page, 2);
    RegisterChartSeries(SeriesClass<THorizBarSeries>(), &ChartMsg_GalleryHorizBar, page, 2);
    RegisterChartSeries(SeriesClass<TAreaSeries>(), &ChartMsg_GalleryArea, page, 2);
    RegisterChartSeries(SeriesClass<TPointSeries>(), &ChartMsg_GalleryPoint, page, 2);
    RegisterChartSeries(SeriesClass<TPieSeries>(), &ChartMsg_GalleryPie, page, 1);
    RegisterChartSeries(SeriesClass<TFastLineSeries>(), &ChartMsg_GalleryFastLine, page, 2);
    RegisterChartSeries(SeriesClass<THorizLineSeries>(), &ChartMsg_GalleryHorizLine, page, 1);
    RegisterChartSeries(SeriesClass<THorizAreaSeries>(), &ChartMsg_GalleryHorizArea, page, 1);
}

}  // namespace chart
