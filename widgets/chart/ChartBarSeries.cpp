// Bar series: slot layout, stacking, the thirteen bar shapes and their click tests.
#include "widgets/chart/ChartBarSeries.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartProcs.h"

namespace chart {

using platform::TComponent;
using platform::TPersistent;

namespace {
int Round(double v) { return int(std::nearbyint(v)); }
}  // namespace

TBarSeriesGradient::TBarSeriesGradient(platform::TNotifyEvent change) : TChartGradient(std::move(change))
{
    SetVisible(true);
}

void TBarSeriesGradient::Assign(const TPersistent& source)
{
    if (auto* g = dynamic_cast<const TBarSeriesGradient*>(&source)) relative_ = g->relative_;
    TChartGradient::Assign(source);
}

// ---------------------------------------------------------------- settings

TCustomBarSeries::TCustomBarSeries(TComponent* owner) : TChartSeries(owner)
{
    auto change = [this](platform::TObject* s) { CanvasChanged(s); };
    gradient_ = std::make_unique<TBarSeriesGradient>(change);
    tickLines_ = std::make_unique<TChartHiddenPen>(change);
    Marks().SetVisible(true);
    Marks().Callout().SetLength(20);
    Marks().Callout().DefaultLength = 20;
    MandatoryValues().Name = ChartMsg_ValuesBar;
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::Assign(const TPersistent& source)
{
    if (auto* b = dynamic_cast<const TCustomBarSeries*>(&source)) {
        AutoMarkPosition = b->AutoMarkPosition;
        BarWidthPercent = b->BarWidthPercent;
        BarStyle = b->BarStyle;
        BevelSize = b->BevelSize;
        CustomBarSize = b->CustomBarSize;
        Dark3D = b->Dark3D;
        DepthPercent = b->DepthPercent;
        gradient_->Assign(*b->gradient_);
        multiBar_ = b->multiBar_;
        OffsetPercent = b->OffsetPercent;
        YOrigin = b->YOrigin;
        sideMargins_ = b->sideMargins_;
        StackGroup = b->StackGroup;
        tickLines_->Assign(*b->tickLines_);
        Transparency = b->Transparency;
        UseYOrigin = b->UseYOrigin;
    }
    TChartSeries::Assign(source);
}

bool TCustomBarSeries::SameClass(const TChartSeries* s) const { return s && typeid(*s) == typeid(*this); }

TCanvas3D& TCustomBarSeries::Canvas() const { return *ParentChart()->ChartCanvas(); }
bool TCustomBarSeries::Is3D() const { return ParentChart() && ParentChart()->View3D(); }

int TCustomBarSeries::SeriesIndex() const
{
    if (!ParentChart()) return 0;
    const auto& l = ParentChart()->SeriesList();
    return int(std::find(l.begin(), l.end(), this) - l.begin());
}

void TCustomBarSeries::SetOtherBars(bool copy)
{
    if (!ParentChart()) return;
    if (copy) {
        for (TChartSeries* s : ParentChart()->SeriesList())
            if (SameClass(s)) {
                auto* b = static_cast<TCustomBarSeries*>(s);
                b->multiBar_ = multiBar_;
                b->sideMargins_ = sideMargins_;
                // A running total draws every point on one position.
                b->LimitToVisibleRange = multiBar_ != mbSelfStack;
            }
        return;
    }
    for (TChartSeries* s : ParentChart()->SeriesList())
        if (SameClass(s)) {
            auto* b = static_cast<TCustomBarSeries*>(s);
            multiBar_ = b->multiBar_;
            sideMargins_ = b->sideMargins_;
            return;
        }
}

void TCustomBarSeries::SetMultiBar(TMultiBar v)
{
    if (v == multiBar_) return;
    multiBar_ = v;
    SetOtherBars(true);
    Repaint();
}

void TCustomBarSeries::SetSideMargins(bool v)
{
    SetBooleanProperty(sideMargins_, v);
    SetOtherBars(true);
}

void TCustomBarSeries::SetParentChart(TCustomAxisPanel* chart)
{
    TChartSeries::SetParentChart(chart);
    SetOtherBars(false);
}

TBarStyle TCustomBarSeries::GetBarStyle(int i)
{
    TBarStyle s = BarStyle;
    if (OnGetBarStyle) OnGetBarStyle(this, i, s);
    return s;
}

// ---------------------------------------------------------------- layout

void TCustomBarSeries::DoBeforeDrawChart()
{
    SlotIndex = 1;
    PointsBefore = 0;
    SlotCount = 0;
    MaxBarPoints = -1;
    if (!ParentChart()) return;
    std::vector<int> groups;
    bool found = false;
    for (TChartSeries* s : ParentChart()->SeriesList()) {
        if (!s->Active() || !SameClass(s)) continue;
        found = found || s == this;
        const int n = s->Count();
        if (MaxBarPoints == -1 || MaxBarPoints < n) MaxBarPoints = n + (sideMargins_ ? 1 : 0);
        switch (multiBar_) {
        case mbNone:
        case mbSelfStack: SlotCount = 1; break;
        case mbSide:
        case mbSideAll:
            ++SlotCount;
            if (!found) ++SlotIndex;
            break;
        case mbStacked:
        case mbStacked100: {
            const int g = static_cast<TCustomBarSeries*>(s)->StackGroup;
            if (std::find(groups.begin(), groups.end(), g) == groups.end()) {
                groups.push_back(g);
                ++SlotCount;
                if (!found) ++SlotIndex;
            }
            break;
        }
        }
        if (!found) PointsBefore += n;
    }
    if (multiBar_ == mbStacked || multiBar_ == mbStacked100) {
        const auto it = std::find(groups.begin(), groups.end(), StackGroup);
        if (it != groups.end()) SlotIndex = int(it - groups.begin()) + 1;
    }
    if (ParentChart()->MaxPointsPerPage() > 0) MaxBarPoints = ParentChart()->MaxPointsPerPage();
}

void TCustomBarSeries::InternalApplyBarMargin(int& a, int& b)
{
    TChartAxis* axis = PositionAxis();
    if (CustomBarSize != 0) {
        BarSize = CustomBarSize;
    } else if (MaxBarPoints <= 0 || SlotCount <= 0 || !axis) {
        // No slot to share: no bar size (and no division by a zero slot count).
        BarSize = 0;
    } else {
        const int p = axis->PixelSize;
        const int w = AutoBarSize ? Round(p / (2 + axis->Maximum() - axis->Minimum())) : p / MaxBarPoints;
        BarSize = Round(BarWidthPercent * 0.01 * w) / SlotCount;
        if (BarSize % 2 == 1) ++BarSize;
    }
    const int margin = BarMargin();
    a += margin;
    b += margin;
}

int TCustomBarSeries::BarMargin() const
{
    const int margin = BarSize * (multiBar_ == mbSideAll ? 1 : SlotCount);
    return sideMargins_ ? margin : margin / 2;
}

int TCustomBarSeries::ApplyBarOffset(int p) const { return OffsetPercent != 0 ? p + Round(OffsetPercent * BarSize * 0.01) : p; }

int TCustomBarSeries::BarEdge(int i)
{
    int p;
    switch (multiBar_) {
    case mbSideAll: p = PosPixel(i + PointsBefore) - BarSize / 2; break;
    case mbSelfStack: p = PosPixel(SeriesIndex()) - BarSize / 2; break;
    default:
        p = PosPixel(NotMandatoryValues().Value(i));
        if (multiBar_ == mbNone) p -= BarSize / 2;
        else p += Round((SlotIndex - SlotCount * 0.5 - 1) * BarSize);
        break;
    }
    return ApplyBarOffset(p);
}

double TCustomBarSeries::PointOrigin(int i, bool sumAll)
{
    if (multiBar_ == mbSelfStack) {
        double r = 0;
        for (int k = 0; k < i; ++k) r += MandatoryValues().Value(k);
        return r;
    }
    if ((multiBar_ != mbStacked && multiBar_ != mbStacked100) || !ParentChart()) return YOrigin;
    double r = 0;
    const double own = MandatoryValues().Value(i);
    for (TChartSeries* s : ParentChart()->SeriesList()) {
        if (!sumAll && s == this) break;
        if (!s->Active() || !SameClass(s) || s->Count() <= i) continue;
        if (static_cast<TCustomBarSeries*>(s)->StackGroup != StackGroup) continue;
        const double v = s->MandatoryValues().Value(i);
        if (own >= 0 ? v > 0 : v < 0) r += v;
    }
    return r;
}

int TCustomBarSeries::ValueEnd(int i)
{
    if (multiBar_ == mbNone || multiBar_ == mbSide || multiBar_ == mbSideAll)
        return CalcPosValue(MandatoryValues().Value(i));
    double t = PointOrigin(i, false) + MandatoryValues().Value(i);
    if (multiBar_ == mbStacked100) {
        const double s = PointOrigin(i, true);
        // All values zero: an empty bar at the axis' zero.
        if (s == 0) return CalcPosValue(0);
        t = t * 100 / s;
    }
    return CalcPosValue(t);
}

int TCustomBarSeries::GetOriginPos(int i)
{
    int edge = 0;
    if (ValuesVertical()) edge = ActiveVertAxis() ? ActiveVertAxis()->EndPixel : 0;
    else edge = ActiveHorizAxis() ? ActiveHorizAxis()->StartPixel : 0;
    return InternalGetOriginPos(i, edge);
}

int TCustomBarSeries::InternalGetOriginPos(int i, int defaultPixel)
{
    const double t = PointOrigin(i, false);
    switch (multiBar_) {
    case mbStacked:
    case mbSelfStack: return CalcPosValue(t);
    case mbStacked100: {
        const double s = PointOrigin(i, true);
        return s == 0 ? CalcPosValue(0) : CalcPosValue(t * 100 / s);
    }
    default: break;
    }
    return UseYOrigin ? CalcPosValue(t) : defaultPixel;
}

double TCustomBarSeries::ValueMax(double m)
{
    if (multiBar_ == mbStacked100) m = 100;
    else if (multiBar_ == mbSelfStack) m = MandatoryValues().Total();
    else if (multiBar_ == mbStacked)
        for (int i = 0; i < Count(); ++i) m = std::max(m, PointOrigin(i, false) + MandatoryValues().Value(i));
    return UseYOrigin ? std::max(m, YOrigin) : m;
}

double TCustomBarSeries::ValueMin(double m)
{
    if (multiBar_ == mbStacked100) m = 0;
    else if (multiBar_ == mbStacked || multiBar_ == mbSelfStack)
        for (int i = 0; i < Count(); ++i) m = std::min(m, PointOrigin(i, false) + MandatoryValues().Value(i));
    return UseYOrigin ? std::min(m, YOrigin) : m;
}

double TCustomBarSeries::PositionMax(double m)
{
    if (multiBar_ == mbSideAll) return Count() + PointsBefore - 1;
    if (multiBar_ == mbSelfStack) return SeriesIndex();
    return m;
}

double TCustomBarSeries::PositionMin(double m) { return multiBar_ == mbSelfStack ? SeriesIndex() : m; }

void TCustomBarSeries::CalcZOrder()
{
    if (multiBar_ != mbNone && ParentChart())
        for (TChartSeries* s : ParentChart()->SeriesList()) {
            if (s == this) break;
            if (s->Active() && SameClass(s)) {
                SetComputedZOrder(s->GetZOrder());
                return;
            }
        }
    TChartSeries::CalcZOrder();
}

void TCustomBarSeries::CalcDepthPositions()
{
    TChartSeries::CalcDepthPositions();
    if (DepthPercent == 0) return;
    const int d = Round((100 - DepthPercent) * (EndZ - StartZ) * 0.005);
    StartZ += d;
    EndZ -= d;
}

void TCustomBarSeries::CalcFirstLastVisibleIndex()
{
    if (ParentChart() && ParentChart()->MaxPointsPerPage() == 1) {
        const int i = ParentChart()->Page() - 1;
        FirstShownIndex = LastShownIndex = i < Count() ? i : -1;
        return;
    }
    TChartSeries::CalcFirstLastVisibleIndex();
}

int TCustomBarSeries::NumSampleValues()
{
    if (ParentChart() && ParentChart()->SeriesCount() > 1)
        for (TChartSeries* s : ParentChart()->SeriesList())
            if (s != this && dynamic_cast<TCustomBarSeries*>(s) && s->Count() > 0) return s->Count();
    return 6;
}

void TCustomBarSeries::PrepareForGallery(bool enabled)
{
    TChartSeries::PrepareForGallery(enabled);
    BarWidthPercent = 85;
    BarStyle = bsRectGradient;
    gradient_->SetVisible(true);
    SetMultiBar(mbNone);
}

// ---------------------------------------------------------------- drawing

void TCustomBarSeries::SetPenBrushBar(TColor c)
{
    TCanvas3D& canvas = Canvas();
    canvas.AssignVisiblePen(BarPen());
    const TColor back = BarBrush().Color() == clUseSeriesColor ? ParentChart()->Color() : BarBrush().Color();
    ParentChart()->SetBrushCanvas(c, BarBrush(), back);
}

void TCustomBarSeries::BarRectangle(TColor c, int left, int top, int right, int bottom)
{
    TCanvas3D& canvas = Canvas();
    if (canvas.Brush().Style() == platform::bsSolid) {
        const int w = BarPen().Visible() ? BarPen().Width() : 0;
        auto usePenOfBrush = [&] {
            canvas.Pen().SetColor(c);
            if (canvas.Pen().Style() == platform::psClear) canvas.Pen().SetStyle(platform::psSolid);
        };
        if (left == right || top == bottom) {
            usePenOfBrush();
            canvas.Line(left, top, right, bottom);
            return;
        }
        if (std::abs(right - left) < w || std::abs(bottom - top) < w) {
            usePenOfBrush();
            canvas.Brush().SetStyle(platform::bsClear);
        }
    }
    canvas.Rectangle(left, top, right, bottom);
}

void TCustomBarSeries::DrawValue(int i)
{
    BarColor = GetValueColor(i);
    if (BarColor == platform::clNone) return;
    const bool fixedSize = BarWidthPercent != 100 || CustomBarSize != 0;
    TRect& r = BarRect;
    const bool penHidden = !BarPen().Visible();
    if (ValuesVertical()) {
        r.Left = CalcXPos(i);
        const bool inv = ActiveHorizAxis() && ActiveHorizAxis()->Inverted();
        const int next = inv ? i - 1 : i + 1;
        r.Right = fixedSize || next < 0 || next >= Count() ? r.Left + BarSize + 1 : CalcXPos(next);
        r.Top = CalcYPos(i);
        r.Bottom = GetOriginPos(i);
        if (penHidden) {
            if (r.Top >= r.Bottom) ++r.Top;
            else ++r.Bottom;
            ++r.Right;
        }
    } else {
        r.Top = CalcYPos(i);
        const bool inv = ActiveVertAxis() && ActiveVertAxis()->Inverted();
        const int prev = inv ? i + 1 : i - 1;
        r.Bottom = fixedSize || prev < 0 || prev >= Count() ? r.Top + BarSize + 1 : CalcYPos(prev);
        r.Right = CalcXPos(i);
        r.Left = GetOriginPos(i);
        if (penHidden) {
            if (r.Left >= r.Right) {
                ++r.Left;
                --r.Right;
            } else {
                ++r.Right;
            }
            ++r.Bottom;
        }
    }
    const int a = ValuesVertical() ? r.Top : r.Left, b = ValuesVertical() ? r.Bottom : r.Right;
    TChartBlend* blend = nullptr;
    if (Transparency > 0) {
        TRect br = r;
        if (Is3D()) UnionRect(br, Canvas().CalcRect3D(r, StartZ), Canvas().CalcRect3D(r, EndZ));
        blend = Canvas().BeginBlending(br, Transparency);
    }
    DrawBar(i, std::min(a, b), std::max(a, b));
    if (Transparency > 0) Canvas().EndBlending(blend);
}

TColor TCustomBarSeries::CalcGradientColor(int i)
{
    if (!gradient_->Relative()) return BarColor;
    TChartValueList& l = MandatoryValues();
    const double lo = UseYOrigin ? YOrigin : l.MinValue(), hi = l.MaxValue();
    const double r = hi == lo ? 1 : (l.Value(i) - lo) / (hi - lo);
    const TColor s = gradient_->StartColor(), e = BarColor;
    auto mix = [&](int shift) {
        const int a = int((s >> shift) & 0xFF), b = int((e >> shift) & 0xFF);
        return TColor(std::clamp(a + Round(r * (b - a)), 0, 255)) << shift;
    };
    return mix(0) | mix(8) | mix(16);
}

void TCustomBarSeries::BarGradient(int i, TRect r)
{
    gradient_->SetEndColor(CalcGradientColor(i));
    const int w = BarPen().Visible() ? BarPen().Width() : 0;
    TCanvas3D& c = Canvas();
    if (Is3D() && !ParentChart()->View3DOptions().Orthogonal()) {
        TFourPoints p = c.FourPointsFromRect(r, StartZ);
        if (w) {
            p[0].X += w, p[0].Y += w;
            p[1].X -= w, p[1].Y += w;
            p[2].X -= w, p[2].Y -= w;
            p[3].X += w, p[3].Y -= w;
        }
        gradient_->Draw(c, p);
        return;
    }
    if (w) r = {r.Left + 1, r.Top + 1, r.Right - (Is3D() ? w - 1 : w), r.Bottom - (Is3D() ? w - 1 : w)};
    if (Is3D()) r = c.CalcRect3D(r, StartZ);
    gradient_->Draw(c, r, 0);
}

void TCustomBarSeries::DrawBevel()
{
    if (Is3D() && !ParentChart()->View3DOptions().Orthogonal()) return;
    TRect r = BarRect;
    if (BarPen().Visible()) {
        const int w = BarPen().Width();
        r = {r.Left + w, r.Top + w, r.Right - w, r.Bottom - w};
        if (Is3D()) ++r.Right, ++r.Bottom;
    }
    Canvas().Frame3D(r, ApplyBright(BarColor, DarkerColorQuantity), ApplyDark(BarColor, DarkColorQuantity), BevelSize);
}

void TCustomBarSeries::DrawTickLines(int start, int end, TBarStyle style)
{
    if (!tickLines_->Visible()) return;
    TChartAxis* a = MandatoryAxis();
    if (!a) return;
    Canvas().AssignVisiblePen(*tickLines_);
    for (int t : a->TickPixels)
        if (start < t && t < end) DrawTickLine(t, style);
}

void TCustomBarSeries::DrawBar(int i, int start, int end)
{
    SetPenBrushBar(BarColor);
    const TBarStyle style = GetBarStyle(i);
    TCanvas3D& c = Canvas();
    const TRect r = BarRect;
    const bool vertical = ValuesVertical(), is3D = Is3D();
    // One drawing for both orientations: (position, value) to pixels.
    auto at = [vertical](int pos, int val) { return vertical ? TPoint{pos, val} : TPoint{val, pos}; };
    const int p0 = vertical ? r.Left : r.Top, p1 = vertical ? r.Right : r.Bottom, mid = (p0 + p1) / 2;
    const int vmid = (start + end) / 2;
    // The value end of the bar: the top of a vertical bar, the right of a horizontal one.
    const int tip = vertical ? start : end, foot = vertical ? end : start;
    const TPoint a = at(p0, start), b = at(p1, end);
    const TRect box{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
    case bsCilinder:
    case bsSlantCube:
        if (is3D && style != bsCilinder && style != bsSlantCube) {
            c.Cube(box.Left, box.Right, box.Top, box.Bottom, StartZ, EndZ, Dark3D);
        } else if (is3D) {
            const int keep = ChartNumCylinderSides;
            if (style == bsSlantCube) ChartNumCylinderSides = 4;
            c.Cylinder(vertical, box.Left, box.Top, box.Right, box.Bottom, StartZ, EndZ, Dark3D);
            ChartNumCylinderSides = keep;
        } else {
            BarRectangle(BarColor, box.Left, box.Top, box.Right, box.Bottom);
            if (style == bsSlantCube) {
                if (vertical) c.DoVertLine(mid, start, end);
                else c.DoHorizLine(start, end, mid);
            }
        }
        break;
    case bsPyramid:
    case bsCone:
    case bsInvPyramid:
    case bsInvCone: {
        const bool inv = style == bsInvPyramid || style == bsInvCone;
        const int apex = inv ? foot : tip, base = inv ? tip : foot;
        if (!is3D) {
            const TPoint t[3] = {at(p0, base), at(mid, apex), at(p1, base)};
            c.Polygon(t, 3);
            break;
        }
        const TPoint u = vertical ? at(p0, apex) : at(p0, base), v = vertical ? at(p1, base) : at(p1, apex);
        if (style == bsCone || style == bsInvCone)
            c.Cone(vertical, u.X, u.Y, v.X, v.Y, StartZ, EndZ, Dark3D, ConePercent);
        else
            c.Pyramid(vertical, u.X, u.Y, v.X, v.Y, StartZ, EndZ, Dark3D);
        break;
    }
    case bsEllipse:
        if (is3D) c.EllipseWithZ(box.Left, box.Top, box.Right, box.Bottom, MiddleZ);
        else c.Ellipse(box.Left, box.Top, box.Right, box.Bottom);
        break;
    case bsArrow:
    case bsInvArrow: {
        const bool inv = style == bsInvArrow;
        c.Arrow(true, at(mid, inv ? tip : foot), at(mid, inv ? foot : tip), p1 - p0, (p1 - p0) / 2, MiddleZ);
        break;
    }
    case bsDiamond: {
        const TPoint d[4] = {at(mid, start), at(p1, vmid), at(mid, end), at(p0, vmid)};
        if (is3D) c.PolygonWithZ(d, 4, MiddleZ);
        else c.Polygon(d, 4);
        break;
    }
    }
    if (style == bsRectGradient) BarGradient(i, box);
    else if (style == bsBevel) DrawBevel();
    DrawTickLines(start, end, style);
}

int TCustomBarSeries::Clicked(int x, int y)
{
    if (FirstShownIndex < 0 || LastShownIndex < 0) return -1;
    for (int i = FirstShownIndex; i <= std::min(LastShownIndex, Count() - 1); ++i)
        if (InternalClicked(i, {x, y})) return i;
    return -1;
}

bool TCustomBarSeries::InternalClicked(int i, TPoint p)
{
    if (GetValueColor(i) == platform::clNone) return false;
    if (Is3D()) Canvas().Calculate2DPosition(p.X, p.Y, StartZ);
    // Work in (position, value) coordinates so both orientations share the tests.
    const bool vertical = ValuesVertical();
    const TPoint q = vertical ? p : TPoint{p.Y, p.X};
    const int p0 = BarEdge(i), p1 = p0 + BarSize;
    if (q.X < p0 || q.X > p1) return false;
    int v0 = ValueEnd(i), v1 = GetOriginPos(i);
    if (v0 > v1) std::swap(v0, v1);
    const TBarStyle style = GetBarStyle(i);
    // Where the apex is: the smaller value pixel for vertical bars, the larger for horizontal.
    const int lowEnd = vertical ? v0 : v1, highEnd = vertical ? v1 : v0;
    switch (style) {
    case bsPyramid:
    case bsCone: return PointInTriangle(q, p0, p1, highEnd, lowEnd);
    case bsInvPyramid:
    case bsInvCone: return PointInTriangle(q, p0, p1, lowEnd, highEnd);
    case bsEllipse: return PointInEllipse(q, p0, v0, p1, v1);
    case bsDiamond: {
        const int x = (p0 + p1) / 2, mid = (v0 + v1) / 2;
        const TPoint d[4] = {{x, v0}, {p1, mid}, {x, v1}, {p0, mid}};
        return PointInPolygon(q, d, 3);
    }
    default: return v0 <= q.Y && q.Y <= v1;
    }
}

int TCustomBarSeries::CalcMarkLength(int i)
{
    if (Count() == 0 || !Marks().Visible() || !ParentChart()) return 0;
    Canvas().AssignFont(Marks().Font());
    int l = InternalCalcMarkLength(i) + Marks().Callout().Length();
    if (Marks().Frame().Visible()) l += 2 * Marks().Frame().Width();
    return l;
}

void TCustomBarSeries::PrepareLegendCanvas(int, TColor& backColor, platform::TBrushStyle& brushStyle)
{
    if (!ParentChart()) return;
    Canvas().AssignVisiblePen(BarPen());
    brushStyle = BarBrush().Style();
    backColor = BarBrush().Color() == clUseSeriesColor ? ParentChart()->Color() : BarBrush().Color();
}

void TCustomBarSeries::DrawLegendShape(int index, const TRect& r)
{
    if (BarBrush().HasImage() && ParentChart()) Canvas().AssignBrush(BarBrush(), LegendItemColor(index));
    TChartSeries::DrawLegendShape(index, r);
}

std::vector<std::string> TCustomBarSeries::CreateSubGallery(bool stack)
{
    std::vector<std::string> n{ChartMsg_Normal, ChartMsg_Colors, ChartMsg_Pyramid,
                               ChartMsg_Ellipse, ChartMsg_InvPyramid, ChartMsg_Gradient};
    if (stack) n.insert(n.end(), {ChartMsg_Stack, ChartMsg_Stack100, ChartMsg_SelfStack});
    n.insert(n.end(), {ChartMsg_Sides, ChartMsg_SideAll});
    return n;
}

void TCustomBarSeries::SetSubGallery(int index, bool stack)
{
    if (index >= 6 && !stack) index += 3;
    switch (index) {
    case 1: SetColorEachPoint(true); break;
    case 2: BarStyle = bsPyramid; break;
    case 3: BarStyle = bsEllipse; break;
    case 4: BarStyle = bsInvPyramid; break;
    case 5: BarStyle = bsRectGradient; break;
    case 6: SetMultiBar(mbStacked); break;
    case 7: SetMultiBar(mbStacked100); break;
    case 8: SetMultiBar(mbSelfStack); break;
    case 9: SetMultiBar(mbSide); break;
    case 10: SetMultiBar(mbSideAll); break;
    default: break;
    }
    Repaint();
}

// ---------------------------------------------------------------- vertical bars

void TBarSeries::SetCustomBarWidth(int v)
{
    if (v == CustomBarSize) return;
    CustomBarSize = v;
    Repaint();
}

void THorizBarSeries::SetCustomBarHeight(int v)
{
    if (v == CustomBarSize) return;
    CustomBarSize = v;
    Repaint();
}

TBarSeries::TBarSeries(TComponent* owner) : TCustomBarSeries(owner) { Gradient().SetDirection(gdTopBottom); }

void TBarSeries::CalcHorizMargins(int& left, int& right)
{
    left = right = 0;
    InternalApplyBarMargin(left, right);
}

void TBarSeries::CalcVerticalMargins(int& top, int& bottom)
{
    top = bottom = 0;
    int l = CalcMarkLength(0);
    if (l <= 0) return;
    ++l;
    const bool inv = ActiveVertAxis() && ActiveVertAxis()->Inverted();
    if (UseYOrigin && TChartSeries::MinYValue() < YOrigin) (inv ? top : bottom) += l;
    if (!UseYOrigin || TChartSeries::MaxYValue() > YOrigin) (inv ? bottom : top) += l;
}

int TBarSeries::InternalCalcMarkLength(int) { return Canvas().GetFontHeight(); }

bool TBarSeries::DrawSeriesForward(int i)
{
    const bool inv = ActiveVertAxis() && ActiveVertAxis()->Inverted();
    switch (MultiBar()) {
    case mbStacked:
    case mbSelfStack: return (YValues().Value(i) >= YOrigin) != inv;
    case mbStacked100: return !inv;
    default: return TCustomBarSeries::DrawSeriesForward(i);
    }
}

bool TBarSeries::MoreSameZOrder() { return MultiBar() == mbSideAll ? false : TCustomBarSeries::MoreSameZOrder(); }

void TBarSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    const int distance = Marks().Callout().Distance();
    int l = Marks().Callout().Length() + distance;
    const int h = BarSize / 2;
    if (GetOriginPos(i) < p.ArrowStart.Y) {
        p.ArrowStart.Y += distance;
        l = -l - p.BoxHeight;
    } else {
        p.ArrowStart.Y -= distance;
    }
    p.BoxTopLeft.X += h;
    p.ArrowEnd.X += h;
    p.ArrowStart.X += h;
    p.BoxTopLeft.Y -= l;
    p.ArrowEnd.Y -= l;
    if (AutoMarkPosition) Marks().AntiOverlap(FirstShownIndex, i, p);
    TCustomBarSeries::DrawMark(i, text, p);
}


void TBarSeries::DrawTickLine(int t, TBarStyle style)
{
    const TRect& r = BarRect;
    TCanvas3D& c = Canvas();
    const int w = r.Right - r.Left;
    if (style == bsArrow) {
        c.HorizLine3D(r.Left + w / 4, r.Right - w / 4, t, MiddleZ);
        return;
    }
    if (style != bsRectangle && style != bsRectGradient && style != bsBevel) return;
    c.HorizLine3D(r.Left, r.Right, t, StartZ);
    if (!Is3D()) return;
    const TPoint right[3] = {c.Calculate3DPosition(r.Right, r.Top, StartZ), c.Calculate3DPosition(r.Right, r.Top, EndZ),
                             c.Calculate3DPosition(r.Right, r.Bottom, EndZ)};
    const TPoint left[3] = {c.Calculate3DPosition(r.Left, r.Bottom, StartZ), c.Calculate3DPosition(r.Left, r.Bottom, EndZ),
                            c.Calculate3DPosition(r.Left, r.Top, EndZ)};
    if (!ChartCull(right)) c.ZLine3D(r.Right, t, StartZ, EndZ);
    else if (!ChartCull(left)) c.ZLine3D(r.Left, t, StartZ, EndZ);
}

// ---------------------------------------------------------------- horizontal bars

THorizBarSeries::THorizBarSeries(TComponent* owner) : TCustomBarSeries(owner)
{
    Gradient().SetDirection(gdLeftRight);
    SetHorizontal();
    XValues().Order = loNone;
    YValues().Order = loAscending;
    MandatoryValues().Name = ChartMsg_ValuesBar;
}

void THorizBarSeries::CalcVerticalMargins(int& top, int& bottom)
{
    top = bottom = 0;
    InternalApplyBarMargin(top, bottom);
}

void THorizBarSeries::CalcHorizMargins(int& left, int& right)
{
    left = right = 0;
    int l = CalcMarkLength(-1);
    if (l > 0) ++l;
    const bool inv = ActiveHorizAxis() && ActiveHorizAxis()->Inverted();
    if (UseYOrigin && TChartSeries::MinXValue() < YOrigin) (inv ? right : left) += l;
    if (!UseYOrigin || TChartSeries::MaxXValue() > YOrigin) (inv ? left : right) += l;
}

int THorizBarSeries::InternalCalcMarkLength(int i) { return i == -1 ? MaxMarkWidth() : Marks().TextWidth(i); }

bool THorizBarSeries::DrawSeriesForward(int i)
{
    const bool inv = ActiveHorizAxis() && ActiveHorizAxis()->Inverted();
    switch (MultiBar()) {
    case mbNone: return TCustomBarSeries::DrawSeriesForward(i);
    case mbSide:
    case mbSideAll: return false;
    case mbStacked:
    case mbSelfStack: return (MandatoryValues().Value(i) >= 0) != inv;
    case mbStacked100: return !inv;
    }
    return true;
}

void THorizBarSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    const int distance = Marks().Callout().Distance();
    int l = Marks().Callout().Length() + distance;
    const int h = BarSize / 2;
    const bool leftOfOrigin = CalcXPos(i) < GetOriginPos(i);
    if (leftOfOrigin) l = -l - p.BoxWidth;
    p.BoxTopLeft.X += l + p.BoxWidth / 2;
    p.BoxTopLeft.Y += h + p.BoxHeight / 2;
    p.ArrowEnd.X += l;
    p.ArrowEnd.Y += h;
    p.ArrowStart.Y += h;
    p.ArrowStart.X += leftOfOrigin ? -distance : distance;
    TCustomBarSeries::DrawMark(i, text, p);
}


void THorizBarSeries::DrawTickLine(int t, TBarStyle style)
{
    const TRect& r = BarRect;
    const int h = r.Bottom - r.Top;
    if (style == bsArrow) Canvas().VertLine3D(t, r.Top + h / 4, r.Bottom - h / 4, MiddleZ);
    else if (style == bsRectangle || style == bsRectGradient || style == bsBevel) Canvas().VertLine3D(t, r.Top, r.Bottom, StartZ);
}

}  // namespace chart
