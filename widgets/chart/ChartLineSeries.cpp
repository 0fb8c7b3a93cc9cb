// Line, area and point drawing of series; the line and horizontal line series.
#include "widgets/chart/ChartLineSeries.h"

#include <algorithm>
#include <cmath>

#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartProcs.h"

namespace chart {

using namespace platform;

TCustomSeries::TCustomSeries(TComponent* owner) : TCustomLineSeries(owner)
{
    auto change = [this](TObject* s) { CanvasChanged(s); };
    areaBrush_ = std::make_unique<TChartBrush>(change);
    areaLinesPen_ = std::make_unique<TChartPen>(change);
    outline_ = std::make_unique<TChartHiddenPen>(change);
    pointer_ = std::make_unique<TSeriesPointer>(this);
    pointer_->Brush().OnChange = change;
    shadow_ = std::make_unique<TChartShadow>(change);
    gradient_ = std::make_unique<TChartGradient>(change);
    KeepPointBeyondEdge = true;
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TCustomSeries*>(&source)) {
        ClickableLine = s->ClickableLine;
        areaBrush_->Assign(*s->areaBrush_);
        AreaColor = s->AreaColor;
        areaLinesPen_->Assign(*s->areaLinesPen_);
        ColorEachLine = s->ColorEachLine;
        Dark3D = s->Dark3D;
        DrawArea = s->DrawArea;
        ConnectPoints = s->ConnectPoints;
        InvertedStairs = s->InvertedStairs;
        LineHeight = s->LineHeight;
        pointer_->Assign(*s->pointer_);
        stacked_ = s->stacked_;
        Stairs = s->Stairs;
        outline_->Assign(*s->outline_);
        shadow_->Assign(*s->shadow_);
        transparency_ = s->transparency_;
        gradient_->Assign(*s->gradient_);
    }
    TChartSeries::Assign(source);
}

void TCustomSeries::SetParentChart(TCustomAxisPanel* chart)
{
    TChartSeries::SetParentChart(chart);
    pointer_->SetParent(chart);
}

TBrushStyle TCustomSeries::GetLineBrush() { return Brush().Style(); }
TBrushStyle TCustomSeries::GetAreaBrush() const { return areaBrush_->Style(); }
void TCustomSeries::SetAreaBrushStyle(TBrushStyle s) { areaBrush_->SetStyle(s); }
void TCustomSeries::SetLineBrush(TBrushStyle s) { Brush().SetStyle(s); }

void TCustomSeries::SetStacked(TCustomSeriesStack v)
{
    if (stacked_ == v) return;
    stacked_ = v;
    if (ParentChart())
        for (TChartSeries* s : ParentChart()->SeriesList())
            if (auto* c = dynamic_cast<TCustomSeries*>(s)) c->stacked_ = v;
    Repaint();
}

void TCustomSeries::LinePrepareCanvas(TCanvas3D& c, TColor v)
{
    if (c.GetMonochrome()) v = clWhite;
    if (ParentChart() && ParentChart()->View3D()) {
        if (Brush().HasImage() && Brush().Image()->Graphic()) {
            c.Brush().SetBitmap(Brush().Image()->Bitmap());
        } else {
            c.Brush().SetStyle(Brush().Style());
            c.Brush().SetColor(v);
        }
        c.AssignVisiblePen(LinePen());
    } else {
        c.Brush().SetStyle(bsClear);
        c.AssignVisiblePenColor(LinePen(), v);
    }
}

TSeriesPointerStyle TCustomSeries::DoGetPointerStyle(int i)
{
    return OnGetPointerStyle ? OnGetPointerStyle(this, i) : pointer_->Style();
}

void TCustomSeries::DrawPointer(int x, int y, TColor color, int i)
{
    if (!ParentChart()) return;
    pointer_->PrepareCanvas(*ParentChart()->ChartCanvas(), color);
    pointer_->Draw(x, y, color, DoGetPointerStyle(i));
}

// ---------------------------------------------------------------- stacking and origin

double TCustomSeries::PointOrigin(int i, bool sumAll)
{
    if (!ParentChart()) return 0;
    double r = 0;
    const double own = MandatoryValues().Value(i);
    for (TChartSeries* s : ParentChart()->SeriesList()) {
        if (!sumAll && s == this) break;
        if (!s->Active() || !dynamic_cast<TCustomSeries*>(s) || s->Count() <= i) continue;
        const double v = s->GetOriginValue(i);
        if (own >= 0 ? v > 0 : v < 0) r += v;
    }
    return r;
}

int TCustomSeries::CalcStackedPos(int i, double value)
{
    TChartAxis* axis = MandatoryAxis();
    if (!axis) return 0;
    const double t = PointOrigin(i, false) + value;
    if (stacked_ == cssStack) return std::min(axis->EndPixel, CalcPosValue(t));
    const double s = PointOrigin(i, true);
    return s == 0 ? axis->EndPixel : CalcPosValue(t * 100 / s);
}

int TCustomSeries::GetOriginPos(int i)
{
    if (stacked_ == cssStack || stacked_ == cssStack100) return CalcStackedPos(i, 0);
    if (ValuesVertical()) {
        TChartAxis* a = ActiveVertAxis();
        return a ? (a->Inverted() ? a->StartPixel : a->EndPixel) : 0;
    }
    TChartAxis* a = ActiveHorizAxis();
    return a ? (a->Inverted() ? a->EndPixel : a->StartPixel) : 0;
}

int TCustomSeries::CalcXPos(int i)
{
    if (!ValuesVertical() && (stacked_ == cssStack || stacked_ == cssStack100)) return CalcStackedPos(i, GetxValue(i));
    return TChartSeries::CalcXPos(i);
}

int TCustomSeries::CalcYPos(int i)
{
    if (ValuesVertical() && (stacked_ == cssStack || stacked_ == cssStack100)) return CalcStackedPos(i, GetyValue(i));
    return TChartSeries::CalcYPos(i);
}

double TCustomSeries::StackedExtreme(bool max, double inherited)
{
    if (stacked_ == cssStack100) return max ? 100 : 0;
    if (stacked_ != cssStack) return inherited;
    double r = inherited;
    for (int i = 0; i < Count(); ++i) {
        const double v = PointOrigin(i, false) + MandatoryValues().Value(i);
        r = max ? std::max(r, v) : std::min(r, v);
    }
    return r;
}

double TCustomSeries::MaxYValue()
{
    const double v = TChartSeries::MaxYValue();
    return ValuesVertical() ? StackedExtreme(true, v) : v;
}
double TCustomSeries::MinYValue()
{
    const double v = TChartSeries::MinYValue();
    return ValuesVertical() ? StackedExtreme(false, v) : v;
}
double TCustomSeries::MaxXValue()
{
    const double v = TChartSeries::MaxXValue();
    return ValuesVertical() ? v : StackedExtreme(true, v);
}
double TCustomSeries::MinXValue()
{
    const double v = TChartSeries::MinXValue();
    return ValuesVertical() ? v : StackedExtreme(false, v);
}

void TCustomSeries::CalcZOrder()
{
    if (stacked_ != cssNone && ParentChart()) {
        SetComputedZOrder(ParentChart()->LastZOrder);
        return;
    }
    TChartSeries::CalcZOrder();
}

// ---------------------------------------------------------------- margins and marks

int TCustomSeries::CalcMarkLength() { return Marks().Callout().Length() + Marks().Callout().Distance(); }

void TCustomSeries::InternalCalcMargin(bool sameSide, bool horizontal, int& a, int& b)
{
    if (horizontal) pointer_->CalcHorizMargins(a, b);
    else pointer_->CalcVerticalMargins(a, b);
    if (ConnectPoints) {
        if (Stairs) {
            a = std::max(a, LinePen().Width());
            b = std::max(b, LinePen().Width());
        }
        if (outline_->Visible()) {
            a = std::max(a, outline_->Width());
            b = std::max(b, outline_->Width());
        }
    }
    if (sameSide && Marks().Visible()) {
        const int l = CalcMarkLength();
        if (ValuesVertical()) a = std::max(b, l);
        else b = std::max(a, l);
    }
}

void TCustomSeries::CalcHorizMargins(int& left, int& right)
{
    TChartSeries::CalcHorizMargins(left, right);
    InternalCalcMargin(!ValuesVertical(), true, left, right);
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom)
{
    TChartSeries::CalcVerticalMargins(top, bottom);
    InternalCalcMargin(ValuesVertical(), false, top, bottom);
    if (LineHeight > 0 && !DrawArea && ParentChart() && ParentChart()->View3D()) bottom = std::max(bottom, LineHeight);
}

void TCustomSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    Marks().ZPosition = StartZ;
    if (ValuesVertical()) Marks().ApplyArrowLength(p);
    TChartSeries::DrawMark(i, text, p);
}

// ---------------------------------------------------------------- drawing

int TCustomSeries::EdgeY(int j, double v)
{
    const int i = j + 1;
    const double dx = GetxValue(i) - GetxValue(j);
    if (dx == 0) return CalcYPos(j);
    const double y0 = GetyValue(j), y1 = GetyValue(i);
    double y;
    TChartAxis* a = MandatoryAxis();
    if (a && a->Logarithmic() && y0 > 0 && y1 > 0)
        y = std::exp(std::log(y0) + (std::log(y1) - std::log(y0)) * (v - GetxValue(j)) / dx);
    else
        y = y0 + (v - GetxValue(j)) * (y1 - y0) / dx;
    return CalcYPosValue(y);
}

void TCustomSeries::DrawValue(int i)
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    TCanvas3D& cv = *chart->ChartCanvas();
    const TColor c = GetValueColor(i);
    const int x = CalcXPos(i), y = CalcYPos(i);
    if (cv.Pen().Color() != clBlack) cv.Pen().SetColor(clBlack);
    if (cv.Brush().Color() != c) cv.Brush().SetColor(c);
    if (PrevColor == clNone) {
        PrevX = x;
        PrevY = y;
    }
    OriginPixel = GetOriginPos(i);
    const bool isLast = DrawValuesForward() ? i == LastShownIndex : i == FirstShownIndex;
    if (i == FirstDisplayedIndex()) {
        if (Dark3D) DarkSlope = chart->SeriesDepth == 0 ? 1 : std::fabs(double(chart->SeriesRise) / chart->SeriesDepth);
        if (i == FirstShownIndex && i > 0) {
            if (DrawArea) {
                PrevX = CalcXPos(i - 1);
                PrevY = CalcYPos(i - 1);
                PrevOriginPixel = GetOriginPos(i - 1);
            } else {
                TChartAxis* h = ActiveHorizAxis();
                PrevX = h && h->Inverted() ? chart->ChartRect.Right : chart->ChartRect.Left;
                PrevY = Stairs || !h ? CalcYPos(i - 1) : EdgeY(i - 1, h->CalcPosPoint(PrevX));
            }
            if (!IsNull(i - 1)) DrawSegment(x, y, c, i, isLast, false);
        }
        if (isLast && c != clNone && pointer_->Visible()) DrawPointer(x, y, c, i);
    } else {
        DrawSegment(x, y, c, i, isLast, true);
    }
    PrevX = x;
    PrevY = y;
    PrevOriginPixel = OriginPixel;
    PrevColor = c;
}

void TCustomSeries::DrawSegment(int x, int y, TColor c, int i, bool isLast, bool withPointers)
{
    TCustomAxisPanel& chart = *ParentChart();
    TCanvas3D& cv = *chart.ChartCanvas();
    const bool is3D = chart.View3D();
    if ((PrevX != x || PrevY != y) && c != clNone) {
        if (is3D && (DrawArea || ConnectPoints)) {
            cv.AssignVisiblePen(LinePen());
            const TColor f = ColorEachLine || DrawArea ? GetAreaBrushColor(c) : SeriesColor();
            cv.Brush().SetStyle(Brush().Style());
            cv.Brush().SetColor(f);
            if (Stairs) {
                // the riser of a vertical series and the tread of a horizontal one are darker
                const auto dark = [&](bool on) { cv.Brush().SetColor(Dark3D && on ? ApplyDark(f, DarkColorQuantity) : f); };
                if (ValuesVertical() && !InvertedStairs) {
                    cv.RectangleY(PrevX, PrevY, x, StartZ, EndZ);
                    dark(true);
                    cv.RectangleZ(x, y, PrevY, StartZ, EndZ);
                } else if (ValuesVertical()) {
                    dark(true);
                    cv.RectangleZ(PrevX, PrevY, y, StartZ, EndZ);
                    dark(false);
                    cv.RectangleY(x, y, PrevX, StartZ, EndZ);
                } else if (!InvertedStairs) {
                    cv.RectangleZ(PrevX, PrevY, y, StartZ, EndZ);
                    dark(true);
                    cv.RectangleY(PrevX, y, x, StartZ, EndZ);
                } else {
                    dark(true);
                    cv.RectangleY(PrevX, PrevY, x, StartZ, EndZ);
                    dark(false);
                    cv.RectangleZ(x, PrevY, y, StartZ, EndZ);
                }
                cv.Brush().SetColor(f);
            } else {
                cv.Plane3D({PrevX, PrevY}, {x, y}, StartZ, EndZ);
            }
        }
        if (DrawArea) {
            const TColor b = GetAreaBrushColor(c);
            cv.Brush().SetColor(b);
            if (areaLinesPen_->Color() != clUseSeriesColor && areaLinesPen_->Visible()) cv.AssignVisiblePen(*areaLinesPen_);
            else cv.AssignVisiblePenColor(*areaLinesPen_, c);
            FillSegment(x, y, isLast);
        } else if (!is3D && ConnectPoints) {
            LinePrepareCanvas(cv, ColorEachPoint() && ColorEachLine ? c : SeriesColor());
            if (Stairs) {
                if (InvertedStairs) cv.DoVertLine(PrevX, PrevY, y);
                else cv.DoHorizLine(PrevX, x, PrevY);
                cv.LineTo(x, y);
            } else {
                cv.Line(PrevX, PrevY, x, y);
            }
        }
    }
    if (withPointers && pointer_->Visible()) {
        if (PrevColor != clNone) DrawPointer(PrevX, PrevY, PrevColor, i - 1);
        if (isLast && c != clNone) DrawPointer(x, y, c, i);
    }
}

void TCustomSeries::FillSegment(int x, int y, bool isLast)
{
    TCustomAxisPanel& chart = *ParentChart();
    TCanvas3D& cv = *chart.ChartCanvas();
    const TColor b = cv.Brush().Color();
    TColor k = areaBrush_->Color() == clUseSeriesColor ? SeriesColor() : areaBrush_->Color();
    if (areaBrush_->HasImage() && k == b) k = clWhite;
    chart.SetBrushCanvas(b, *areaBrush_, k);
    const bool vertical = ValuesVertical();
    const bool is3D = chart.View3D();
    const bool fullRotation = cv.GetSupportsFullRotation();
    // the side that closes the band at the last point
    if (is3D && isLast) {
        if (vertical) cv.RectangleZ(x, y, OriginPixel, StartZ, EndZ);
        else cv.RectangleY(x, y, OriginPixel, StartZ, EndZ);
    }
    const int transparency = GetTransparency();
    TChartGradient& gradient = GetGradient();
    if (Stairs) {
        const TRect r = OrientRectangle(
            vertical ? (InvertedStairs ? TRect{PrevX, OriginPixel, x + 1, y} : TRect{PrevX, PrevOriginPixel, x + 1, PrevY})
                     : (InvertedStairs ? TRect{OriginPixel, PrevY + 1, x + 1, y}
                                       : TRect{PrevOriginPixel, PrevY + 1, PrevX + 1, y}));
        TChartBlend* blend = transparency > 0 ? cv.BeginBlending(is3D ? cv.RectFromRectZ(r, StartZ) : r, transparency)
                                              : nullptr;
        if (is3D) {
            cv.RectangleWithZ(r, StartZ);
            if (fullRotation) cv.RectangleWithZ(r, EndZ);
        } else if (gradient.Visible()) {
            gradient.Draw(cv, r, 0);
            if (cv.Pen().Style() != psClear) {
                cv.Brush().SetStyle(bsClear);
                cv.Rectangle(r);
            }
        } else {
            cv.Rectangle(r);
        }
        if (blend) cv.EndBlending(blend);
        if (LinePen().Visible() && !areaLinesPen_->Visible()) {
            cv.AssignVisiblePen(LinePen());
            if (vertical && !InvertedStairs) {
                cv.LineWithZ(PrevX, PrevY, x, PrevY, StartZ);
                cv.LineWithZ(x - 1, PrevY, x - 1, y, StartZ);
            } else if (vertical) {
                cv.LineWithZ(PrevX, y, x, y, StartZ);
                cv.LineWithZ(PrevX, PrevY, PrevX, y, StartZ);
            } else if (!InvertedStairs) {
                cv.LineWithZ(PrevX, PrevY, PrevX, y, StartZ);
                cv.LineWithZ(PrevX, y, x, y, StartZ);
            } else {
                cv.LineWithZ(x, PrevY, x, y, StartZ);
                cv.LineWithZ(PrevX, PrevY, x, PrevY, StartZ);
            }
        }
        return;
    }
    TPointArray p;
    if (vertical) p = {{PrevX, PrevOriginPixel}, {PrevX, PrevY}, {x, y}, {x, OriginPixel}};
    else p = {{PrevOriginPixel, PrevY}, {PrevX, PrevY}, {x, y}, {OriginPixel, y}};
    const TFourPoints four{p[0], p[1], p[2], p[3]};
    TChartBlend* blend = nullptr;
    if (transparency > 0) {
        const TRect box = RectFromPolygon(p.data(), 4);
        blend = cv.BeginBlending(is3D ? cv.CalcRect3D(box, StartZ) : box, transparency);
    }
    if (is3D) {
        const int rotation = chart.View3DOptions().Rotation();
        const int z = rotation > 90 && rotation < 270 ? EndZ : StartZ;
        if (gradient.Visible()) gradient.Draw(cv, four, z);
        else cv.PlaneWithZ(four, z);
    } else if (gradient.Visible()) {
        TPointArray q = p;
        cv.ClipPolygon(q.data(), 4);
        const int pmax = CalcPosValue(MandatoryValues().MaxValue()), pmin = CalcPosValue(MandatoryValues().MinValue());
        gradient.Draw(cv, vertical ? TRect{PrevX, pmax, x, pmin} : TRect{pmin, PrevY, pmax, y}, 0);
        cv.UnClipRectangle();
        cv.Brush().SetStyle(bsClear);
        if (cv.Pen().Style() != psClear) {
            if (vertical) cv.DoVertLine(PrevX, PrevY, PrevOriginPixel);
            else cv.DoHorizLine(PrevOriginPixel, PrevX, PrevY);
        }
    } else {
        cv.Polygon(p);
    }
    if (blend) cv.EndBlending(blend);
    if (fullRotation) cv.PlaneWithZ(four, EndZ);
    if (LinePen().Visible()) {
        cv.AssignVisiblePen(LinePen());
        cv.LineWithZ(PrevX, PrevY, x, y, StartZ);
    }
}

void TCustomSeries::DrawAllValues()
{
    if (shadow_->Size() != 0 && ActiveHorizAxis() && ActiveVertAxis()) {
        const TColor keepColor = SeriesColor();
        const bool keepPointer = pointer_->Visible();
        TChartAxis& h = *ActiveHorizAxis();
        TChartAxis& v = *ActiveVertAxis();
        ChangeInternalColor(shadow_->Color());
        pointer_->TChartCustomShapeBrushPen::SetVisible(false);
        h.StartPixel += shadow_->HorizSize();
        h.EndPixel += shadow_->HorizSize();
        v.StartPixel += shadow_->VertSize();
        v.EndPixel += shadow_->VertSize();
        PrevColor = clNone;
        TChartSeries::DrawAllValues();
        h.StartPixel -= shadow_->HorizSize();
        h.EndPixel -= shadow_->HorizSize();
        v.StartPixel -= shadow_->VertSize();
        v.EndPixel -= shadow_->VertSize();
        pointer_->TChartCustomShapeBrushPen::SetVisible(keepPointer);
        ChangeInternalColor(keepColor);
    }
    if (outline_->Visible()) {
        TChartPen keep;
        keep.Assign(LinePen());
        const TColor keepColor = SeriesColor();
        struct Restore {
            TCustomSeries& s;
            TChartPen& pen;
            TColor color;
            ~Restore()
            {
                s.LinePen().Assign(pen);
                s.ChangeInternalColor(s.ParentChart() && s.ParentChart()->View3D() ? color : pen.Color());
            }
        } restore{*this, keep, keepColor};
        TNotifyEvent change = std::move(LinePen().OnChange);
        LinePen().Assign(*outline_);
        LinePen().SetWidth(2 * keep.Width() + outline_->Width() + 1);
        LinePen().OnChange = std::move(change);
        ChangeInternalColor(outline_->Color());
        PrevColor = clNone;
        TChartSeries::DrawAllValues();
    }
    PrevColor = clNone;
    TChartSeries::DrawAllValues();
}

// ---------------------------------------------------------------- legend and clicks

void ChartPointerDrawLegend(TSeriesPointer& pointer, TColor color, const TRect& r, bool drawPen)
{
    auto* chart = dynamic_cast<TCustomAxisPanel*>(pointer.Parent());
    if (!chart) return;
    TCanvas3D& cv = *chart->ChartCanvas();
    pointer.PrepareCanvas(cv, color);
    // A legend symbol pen of its own replaces the pointer's.
    if (chart->LegendPen) {
        cv.AssignVisiblePen(*chart->LegendPen);
        drawPen = chart->LegendPen->Visible();
    }
    const int h = drawPen ? r.Width() / 3 : r.Width() / 2 + 1, v = drawPen ? r.Height() / 3 : r.Height() / 2 + 1;
    pointer.DrawPointer(cv, false, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, std::min(pointer.HorizSize(), h),
                        std::min(pointer.VertSize(), v), color, pointer.Style());
}

void TCustomSeries::DrawLegendShape(int index, const TRect& r)
{
    if (!ParentChart()) return;
    TCanvas3D& cv = *ParentChart()->ChartCanvas();
    const TColor k = index == -1 ? SeriesColor() : LegendItemColor(index);
    auto lineSymbol = [&] {
        LinePrepareCanvas(cv, k);
        if (ParentChart()->View3D()) cv.Rectangle(r);
        else cv.DoHorizLine(r.Left, r.Right, (r.Top + r.Bottom) / 2);
    };
    if (pointer_->Visible()) {
        if (ConnectPoints) lineSymbol();
        ChartPointerDrawLegend(*pointer_, k, r, GetLinePen().Visible());
    } else if (ConnectPoints && !DrawArea) {
        lineSymbol();
    } else {
        TChartSeries::DrawLegendShape(index, r);
    }
}

bool TCustomSeries::ClickedPointer(int i, int px, int py, int x, int y)
{
    PreparePointer(i);
    if (DoGetPointerStyle(i) == psNothing) return false;
    return std::abs(px - x) < pointer_->HorizSize() && std::abs(py - y) < pointer_->VertSize();
}

int TCustomSeries::Clicked(int x, int y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart) chart->ChartCanvas()->Calculate2DPosition(x, y, StartZ);
    if (FirstShownIndex < 0 || LastShownIndex < 0) return -1;
    const int s = ClickableLine ? std::max(0, FirstShownIndex - 1) : FirstShownIndex;
    int px = 0, py = 0;
    const TPoint p{x, y};
    for (int i = s; i <= LastShownIndex && i < Count(); ++i) {
        const int X = CalcXPos(i), Y = CalcYPos(i);
        if (pointer_->Visible() && ClickedPointer(i, X, Y, x, y)) {
            if (OnClickPointer) OnClickPointer(this, i, x, y);
            return i;
        }
        if (X == x && Y == y) return i;
        if (i > s && ClickableLine) {
            bool hit;
            if (chart && chart->View3D()) {
                const TPoint q[4] = {{X, Y}, {X + chart->SeriesDepth, Y - chart->SeriesRise},
                                     {px + chart->SeriesDepth, py - chart->SeriesRise}, {px, py}};
                hit = PointInPolygon(p, q, 3);
            } else if (Stairs) {
                hit = InvertedStairs ? PointInLine(p, px, py, px, Y) || PointInLine(p, px, Y, X, Y)
                                     : PointInLine(p, px, py, X, py) || PointInLine(p, X, py, X, Y);
            } else {
                hit = PointInLine(p, px, py, X, Y);
            }
            if (!hit && DrawArea) {
                const TPoint q[4] = {{px, py}, {X, Y}, {X, GetOriginPos(i)}, {px, GetOriginPos(i - 1)}};
                hit = PointInPolygon(p, q, 3);
            }
            if (hit) return i - 1;
        }
        px = X;
        py = Y;
    }
    return -1;
}

// ---------------------------------------------------------------- line series

TLineSeries::TLineSeries(TComponent* owner) : TCustomSeries(owner)
{
    ConnectPoints = true;
    Pointer().TChartCustomShapeBrushPen::SetVisible(false);
}

void TLineSeries::Assign(const TPersistent& source)
{
    TCustomSeries::Assign(source);
    if (!dynamic_cast<const TLineSeries*>(&source)) Pointer().TChartCustomShapeBrushPen::SetVisible(false);
    DrawArea = false;
    ConnectPoints = true;
}

void TLineSeries::PrepareLegendCanvas(int, TColor&, TBrushStyle& brushStyle)
{
    if (ParentChart()) ParentChart()->ChartCanvas()->AssignVisiblePen(LinePen());
    brushStyle = LineBrush();
}

THorizLineSeries::THorizLineSeries(TComponent* owner) : TLineSeries(owner)
{
    SetHorizontal();
    LimitToVisibleRange = false;
    XValues().Order = loNone;
    YValues().Order = loAscending;
}

void THorizLineSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    const int distance = Marks().Callout().Distance(), l = Marks().Callout().Length() + distance;
    const int w = p.BoxWidth, h = p.BoxHeight;
    const bool left = GetOriginPos(i) > p.ArrowStart.X;
    const int d = left ? -l - w : l;
    p.BoxTopLeft.X += d + w / 2;
    p.BoxTopLeft.Y += h / 2;
    p.ArrowEnd.X += d;
    p.ArrowStart.X += left ? -distance : distance;
    TCustomSeries::DrawMark(i, text, p);
}

}  // namespace chart
