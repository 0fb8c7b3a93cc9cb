// Circled and pie series.
#include "widgets/chart/ChartPieSeries.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <typeinfo>

#include "base/ScopeGuard.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartProcs.h"
#include "widgets/chart/ChartSeriesStream.h"

namespace chart {

using platform::TComponent;
using platform::TPersistent;

namespace {
constexpr double kPi = std::numbers::pi;

}  // namespace

const double PiDegree = kPi / 180;

TPieShadow::TPieShadow(platform::TNotifyEvent change) : TChartShadow(std::move(change))
{
    DefaultColor = 0xA0A0A0;
    SetColor(0xA0A0A0);
}

namespace {
int Round(double v) { return int(std::nearbyint(v)); }
}  // namespace

// ---------------------------------------------------------------- circled series

TCircledSeries::TCircledSeries(TComponent* owner) : TChartSeries(owner)
{
    LimitToVisibleRange = false;
    XValues().Name = ChartMsg_ValuesAngle;
    gradient_ = std::make_unique<TChartGradient>([this](platform::TObject* s) { CanvasChanged(s); });
}

TCircledSeries::~TCircledSeries()
{
    SetParentProperties(true);
    SavedView3D.reset();
}

void TCircledSeries::Assign(const TPersistent& source)
{
    if (auto* c = dynamic_cast<const TCircledSeries*>(&source)) {
        circled_ = c->circled_;
        SetRotationAngle(c->rotationAngle_);
        customXRadius_ = c->customXRadius_;
        customYRadius_ = c->customYRadius_;
        CircleBackColor = c->CircleBackColor;
        gradient_->Assign(*c->gradient_);
    }
    TChartSeries::Assign(source);
}

bool TCircledSeries::IsCircledKin(const TChartSeries* s) const
{
    return s && (typeid(*s) == typeid(*this) || typeid(*s) == typeid(TCircledSeries));
}

void TCircledSeries::SetCircled(bool v)
{
    SetBooleanProperty(circled_, v);
    if (!ParentChart()) return;
    for (TChartSeries* s : ParentChart()->SeriesList())
        if (s != this && IsCircledKin(s)) {
            auto* c = static_cast<TCircledSeries*>(s);
            c->circled_ = v;
            // A series still being read keeps the radii its stream gives it.
            if (!(c->ComponentState() & csLoading)) c->customXRadius_ = c->customYRadius_ = 0;
        }
}

void TCircledSeries::SetCustomXRadius(int v)
{
    SetIntegerProperty(customXRadius_, v);
    if (ParentChart())
        for (TChartSeries* s : ParentChart()->SeriesList())
            if (IsCircledKin(s)) static_cast<TCircledSeries*>(s)->customXRadius_ = v;
}

void TCircledSeries::SetCustomYRadius(int v)
{
    SetIntegerProperty(customYRadius_, v);
    if (ParentChart())
        for (TChartSeries* s : ParentChart()->SeriesList())
            if (IsCircledKin(s)) static_cast<TCircledSeries*>(s)->customYRadius_ = v;
}

void TCircledSeries::SetRotationAngle(int v)
{
    rotationAngle_ = v % 360;
    RotationRadians = rotationAngle_ * PiDegree;
    Repaint();
}

void TCircledSeries::SetActive(bool v)
{
    TChartSeries::SetActive(v);
    SetParentProperties(!v);
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* chart)
{
    if (!chart) SetBackupProperties();
    if (chart == ParentChart()) return;
    TChartSeries::SetParentChart(chart);
    if (chart) SetParentProperties(false);
}

void TCircledSeries::Removed()
{
    SetBackupProperties();
    TChartSeries::Removed();
}

void TCircledSeries::SetParentProperties(bool restore)
{
    TCustomAxisPanel* c = ParentChart();
    if (!c || c->Destroying() || c->ChartCanvas()->GetSupportsFullRotation()) return;
    if (!restore || (Active() && !Destroying())) {
        if (!SavedView3D) {
            SavedView3D = std::make_unique<TView3DOptions>();
            SavedView3D->Assign(c->View3DOptions());
            InitCustom3DOptions();
        }
    } else {
        SetBackupProperties();
    }
}

void TCircledSeries::SetBackupProperties()
{
    if (!SavedView3D || !ParentChart()) return;
    ParentChart()->View3DOptions().Assign(*SavedView3D);
    SavedView3D.reset();
}

TColor TCircledSeries::CalcCircleBackColor()
{
    TColor c = CircleBackColor;
    if (c == clUseSeriesColor && ParentChart()) c = ParentChart()->IsPrinting ? platform::clWhite : ParentChart()->Color();
    return c;
}

void TCircledSeries::PrepareLegendCanvas(int, TColor& backColor, platform::TBrushStyle&) { backColor = CalcCircleBackColor(); }

void TCircledSeries::AngleToPos(double angle, double xRadius, double yRadius, int& x, int& y) const
{
    x = CenterX + Round(std::cos(angle + RotationRadians) * xRadius);
    y = CenterY - Round(std::sin(angle + RotationRadians) * yRadius);
}

double TCircledSeries::PointToAngle(int x, int y) const
{
    double a;
    if (x == CenterX) a = y < CenterY ? kPi / 2 : -kPi / 2;
    else if (HorizRadius == 0 || VertRadius == 0) a = 0;
    else a = std::atan2(double(CenterY - y) / VertRadius, double(x - CenterX) / HorizRadius);
    if (a < 0) a += 2 * kPi;
    a -= RotationRadians;
    if (a < 0) a += 2 * kPi;
    return a;
}

double TCircledSeries::PointToRadius(int x, int y)
{
    TChartAxis* v = ActiveVertAxis();
    const double m = v ? v->Minimum() : 0, r = v ? v->Maximum() - m : 0;
    if (HorizRadius == 0 || VertRadius == 0) return m;
    return m + std::hypot(r * (x - CenterX) / HorizRadius, r * (y - CenterY) / VertRadius);
}

void TCircledSeries::AdjustCircleRect()
{
    TRect& r = CircleBounds;
    if ((r.Right - r.Left) % 2) --r.Right;
    if ((r.Bottom - r.Top) % 2) --r.Bottom;
    if (r.Right - r.Left < 4) r.Right = r.Left + 4;
    if (r.Bottom - r.Top < 4) r.Bottom = r.Top + 4;
    EllipseWidth = r.Right - r.Left;
    EllipseHeight = r.Bottom - r.Top;
    RectCenter(r, CenterX, CenterY);
}

void TCircledSeries::CalcRadius()
{
    if (customXRadius_ != 0) {
        HorizRadius = customXRadius_;
        EllipseWidth = 2 * customXRadius_;
    } else {
        HorizRadius = EllipseWidth / 2;
    }
    if (customYRadius_ != 0) {
        VertRadius = customYRadius_;
        EllipseHeight = 2 * customYRadius_;
    } else {
        VertRadius = EllipseHeight / 2;
    }
    CircleBounds = {CenterX - HorizRadius, CenterY - VertRadius, CenterX + HorizRadius, CenterY + VertRadius};
}

void TCircledSeries::DoBeforeDrawValues()
{
    TChartSeries::DoBeforeDrawValues();
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    CircleBounds = chart->ChartRect;
    AdjustCircleRect();
    if (Marks().Visible()) {
        TCanvas3D& c = *chart->ChartCanvas();
        int l = Marks().Callout().Length();
        if (Marks().Frame().Visible()) l += 2 * Marks().Frame().Width();
        c.AssignFont(Marks().Font());
        const int h = c.GetFontHeight(), w = c.TextWidth("W") + chart->MaxMarkWidth() + l;
        CircleBounds.Top += l + h;
        CircleBounds.Bottom -= l + h;
        CircleBounds.Left += w;
        CircleBounds.Right -= w;
        AdjustCircleRect();
    } else {
        CheckOtherSeriesMarks();
    }
    CalcRadius();
    if (circled_) {
        // Pixels here are square: round on screen means equal radii.
        if (HorizRadius > VertRadius) {
            CircleBounds.Left += HorizRadius - VertRadius;
            CircleBounds.Right -= HorizRadius - VertRadius;
        } else {
            CircleBounds.Top += VertRadius - HorizRadius;
            CircleBounds.Bottom -= VertRadius - HorizRadius;
        }
        AdjustCircleRect();
        CalcRadius();
    }
}

// ---------------------------------------------------------------- slice lists and the other slice

void TSliceValueList::Put(int i, int v)
{
    if (i < 0) return;
    if (i >= int(items_.size())) items_.resize(std::size_t(i) + 1, 0);
    if (items_[std::size_t(i)] == v) return;
    items_[std::size_t(i)] = v;
    if (owner_) owner_->Repaint();
}

void TSliceValueList::Delete(int i)
{
    if (i >= 0 && i < int(items_.size())) items_.erase(items_.begin() + i);
}

void TSliceValueList::Exchange(int a, int b, int count)
{
    if (items_.empty()) return;
    if (int(items_.size()) < count) items_.resize(std::size_t(count), 0);
    if (a < int(items_.size()) && b < int(items_.size())) std::swap(items_[std::size_t(a)], items_[std::size_t(b)]);
}

TPieOtherSlice::TPieOtherSlice(TChartSeries* owner) : owner_(owner) {}

TPieOtherSlice::~TPieOtherSlice() = default;

std::string TPieOtherSlice::Text() const { return text_.empty() ? ChartMsg_PieOther : text_; }

TChartLegend& TPieOtherSlice::Legend()
{
    if (!legend_) {
        legend_ = std::make_unique<TChartLegend>(dynamic_cast<TCustomChart*>(owner_->ParentChart()));
        legend_->SetVisible(false);
        legend_->Series = owner_;
    }
    return *legend_;
}

bool TPieOtherSlice::IsLegend(const TCustomChartLegend* legend) const
{
    return legend_ && legend == legend_.get();
}

void TPieOtherSlice::SetLegend(const TChartLegend* legend)
{
    if (!legend) {
        legend_.reset();
    } else if (legend != legend_.get()) {
        Legend().Assign(*legend);
    }
    owner_->Repaint();
}

void TPieOtherSlice::Assign(const TPersistent& source)
{
    auto* other = dynamic_cast<const TPieOtherSlice*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    const TPieOtherSlice& o = *other;
    Color = o.Color;
    SetLegend(o.legend_.get());
    Style = o.Style;
    Value = o.Value;
    text_ = o.text_;
}

// ---------------------------------------------------------------- pie series

TPieSeries::TPieSeries(TComponent* owner) : TCircledSeries(owner)
{
    shadow_ = std::make_unique<TPieShadow>([this](platform::TObject* s) { CanvasChanged(s); });
    YValues().Name = ChartMsg_ValuesPie;
    XValues().Name.clear();
    Marks().SetVisible(true);
    Marks().Callout().SetLength(8);
    Marks().Callout().DefaultLength = 8;
    SetColorEachPoint(true);
    StoresXValues = false;
    CircleGradient().SetStartColor(platform::clWhite);
    CircleGradient().SetDirection(gdRadial);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TPieSeries*>(&source)) {
        AngleSize = p->AngleSize;
        AutoMarkPosition = p->AutoMarkPosition;
        Dark3D = p->Dark3D;
        DarkPen = p->DarkPen;
        explodeBiggest_ = p->explodeBiggest_;
        SliceExplode.Assign(p->SliceExplode);
        SliceDepths.Assign(p->SliceDepths);
        UsePatterns = p->UsePatterns;
        otherSlice_.Assign(p->otherSlice_);
        shadow_->Assign(*p->shadow_);
    }
    TCircledSeries::Assign(source);
    SetColorEachPoint(true);
}

void TPieSeries::SetParentChart(TCustomAxisPanel* chart)
{
    TCircledSeries::SetParentChart(chart);
    if (!Destroying() && otherSlice_.HasLegend()) otherSlice_.Legend().SetParent(chart);
}

void TPieSeries::Removed()
{
    TCircledSeries::Removed();
    if (otherSlice_.HasLegend()) otherSlice_.Legend().SetParent(nullptr);
}

void TPieSeries::InitCustom3DOptions()
{
    TView3DOptions& o = ParentChart()->View3DOptions();
    o.SetOrthogonal(false);
    o.SetRotation(360);
    o.SetElevation(315);
    o.SetPerspective(0);
    o.SetTilt(0);
}

bool TPieSeries::Is3D() const { return ParentChart() && ParentChart()->View3D(); }

int TPieSeries::PieCount() const
{
    if (!ParentChart()) return 0;
    int n = 0;
    for (TChartSeries* s : ParentChart()->SeriesList()) n += s->Active() && typeid(*s) == typeid(*this) ? 1 : 0;
    return n;
}

int TPieSeries::CalcXPos(int i) { return IsOtherSlicePoint(i) ? 0 : TChartSeries::CalcXPos(i); }

double TPieSeries::MaxXValue() { return ActiveHorizAxis() ? ActiveHorizAxis()->Maximum() : 0; }
double TPieSeries::MinXValue() { return ActiveHorizAxis() ? ActiveHorizAxis()->Minimum() : 0; }
double TPieSeries::MaxYValue() { return ActiveVertAxis() ? ActiveVertAxis()->Maximum() : 0; }
double TPieSeries::MinYValue() { return ActiveVertAxis() ? ActiveVertAxis()->Minimum() : 0; }

void TPieSeries::SetExplodeBiggest(int v)
{
    SetIntegerProperty(explodeBiggest_, v);
    CalcExplodeBiggest();
}

void TPieSeries::ClearLists()
{
    TChartSeries::ClearLists();
    SliceExplode.Clear();
    SliceDepths.Clear();
}

void TPieSeries::Delete(int i)
{
    TChartSeries::Delete(i);
    SliceExplode.Delete(i);
    SliceDepths.Delete(i);
}

void TPieSeries::SwapValueIndex(int a, int b)
{
    TChartSeries::SwapValueIndex(a, b);
    SliceExplode.Exchange(a, b, Count());
    SliceDepths.Exchange(a, b, Count());
}

bool TPieSeries::DrawingOtherLegend() const
{
    return CurrentLegend && otherSlice_.IsLegend(CurrentLegend);
}

// The other slice's legend lists the grouped points, any other legend the rest.
int TPieSeries::CountLegendItems()
{
    const bool grouped = DrawingOtherLegend();
    int n = 0;
    for (int i = 0; i < Count(); ++i) n += BelongsToOtherSlice(i) == grouped ? 1 : 0;
    return n;
}

int TPieSeries::LegendToValueIndex(int n)
{
    const bool grouped = DrawingOtherLegend();
    int k = -1;
    for (int i = 0; i < Count(); ++i)
        if (BelongsToOtherSlice(i) == grouped && ++k == n) return i;
    return n;
}

void TPieSeries::CalcFirstLastVisibleIndex()
{
    if (otherSlice_.Style != poNone) {
        FirstShownIndex = Count() > 0 ? 0 : -1;
        LastShownIndex = Count() - 1;
        return;
    }
    CalcFirstLastPage(FirstShownIndex, LastShownIndex);
    if (LastShownIndex < FirstShownIndex || FirstShownIndex < 0) {
        FirstShownIndex = Count() > 0 ? 0 : -1;
        LastShownIndex = Count() - 1;
    }
}

void TPieSeries::WriteData(std::vector<unsigned char>& out)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (IsOtherSlicePoint(i)) TChartSeries::Delete(i);
    TChartSeries::WriteData(out);
}

void TPieSeries::CheckOrder()
{
    XValues().Order = loAscending;
    Repaint();
}

int TPieSeries::AddSampleValues(int n, bool)
{
    const std::string* names[] = {&ChartMsg_PieSample1, &ChartMsg_PieSample2, &ChartMsg_PieSample3,
                                  &ChartMsg_PieSample4, &ChartMsg_PieSample5, &ChartMsg_PieSample6,
                                  &ChartMsg_PieSample7, &ChartMsg_PieSample8};
    int last = -1;
    for (int i = 0; i < n; ++i) last = Add(RandomValue(1000) + 1, *names[i % 8]);
    return last;
}

void TPieSeries::PrepareForGallery(bool enabled)
{
    TCircledSeries::PrepareForGallery(enabled);
    FillSampleValues(8);
    if (ParentChart()) ParentChart()->SetChart3DPercent(75);
    Marks().Callout().SetLength(0);
    Marks().SetDrawEvery(1);
    CircleGradient().SetVisible(true);
    DisableRotation();
    SetColorEachPoint(enabled);
}

void TPieSeries::DisableRotation()
{
    if (!ParentChart()) return;
    TView3DOptions& o = ParentChart()->View3DOptions();
    o.SetOrthogonal(false);
    o.SetRotation(0);
    o.SetElevation(305);
}

void TPieSeries::GalleryChanged3D(bool flag)
{
    TCircledSeries::GalleryChanged3D(flag);
    DisableRotation();
    SetCircled(!ParentChart() || !ParentChart()->View3D());
}

void TPieSeries::DoBeforeDrawChart()
{
    TCircledSeries::DoBeforeDrawChart();
    if (GetPieValues().Order != loNone) GetPieValues().Sort();
    for (int i = Count() - 1; i >= 0; --i)
        if (IsOtherSlicePoint(i)) TChartSeries::Delete(i);
    XValues().FillSequence();
    if (otherSlice_.Style == poNone) return;
    double total = 0;
    for (int i = 0; i < Count(); ++i) total += std::fabs(GetPieValues().Value(i));
    if (total <= 0) return;
    double s = 0;
    bool any = false;
    for (int i = 0; i < Count(); ++i) {
        const double a = std::fabs(GetPieValues().Value(i));
        const double v = otherSlice_.Style == poBelowPercent ? a * 100 / total : a;
        if (v < otherSlice_.Value) {
            s += a;
            XValues().Put(i, -1);
            any = true;
        }
    }
    if (any) {
        BeginUpdate();
        AddXY(kOtherSliceX, s, otherSlice_.Text(), otherSlice_.Color);
        EndUpdate();
    }
}

void TPieSeries::DoBeforeDrawValues()
{
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    SavedChartRect = chart->ChartRect;
    rectSaved_ = true;
    const int n = PieCount();
    if (MultiPie == mpAutomatic && n >= 2) {
        int k = 0;
        for (TChartSeries* s : chart->SeriesList()) {
            if (s == this) break;
            k += s->Active() && typeid(*s) == typeid(*this) ? 1 : 0;
        }
        const int cols = Round(std::sqrt(double(n))), rows = Round(std::sqrt(double(n)) + 0.5);
        const TRect r = chart->ChartRect;
        const int w = (r.Right - r.Left) / cols, h = (r.Bottom - r.Top) / rows;
        const TRect cell{r.Left + (k % cols) * w, r.Top + (k / cols) * h, r.Left + (k % cols) * w + w,
                         r.Top + (k / cols) * h + h};
        chart->ChartRect = chart->ChartCanvas()->CalcRect3D(cell, 0);
    }
    TCircledSeries::DoBeforeDrawValues();
}

void TPieSeries::DoAfterDrawValues()
{
    if (rectSaved_ && ParentChart()) ParentChart()->ChartRect = SavedChartRect;
    rectSaved_ = false;
    TCircledSeries::DoAfterDrawValues();
}

void TPieSeries::CalcAngles()
{
    SliceAngles.assign(std::size_t(Count()), TPieAngle{});
    double t = 0;
    const bool all = otherSlice_.Style != poNone || FirstShownIndex < 0;
    for (int i = 0; i < Count(); ++i)
        if ((all || (i >= FirstShownIndex && i <= LastShownIndex)) && !BelongsToOtherSlice(i))
            t += std::fabs(GetPieValues().Value(i));
    const double full = AngleSize * kPi / 180, f = t == 0 ? 0 : full / t;
    double sum = 0, prevEnd = 0;
    bool first = true;
    for (int j = std::max(0, FirstShownIndex); j >= 0 && j <= LastShownIndex && j < Count(); ++j) {
        TPieAngle& a = SliceAngles[std::size_t(j)];
        a.StartAngle = first ? 0 : prevEnd;
        first = false;
        if (t == 0) {
            a.EndAngle = full;
        } else {
            if (!BelongsToOtherSlice(j)) sum += std::fabs(GetPieValues().Value(j));
            a.EndAngle = sum != t ? sum * f : full;
        }
        if (a.EndAngle > a.StartAngle + full) a.EndAngle = a.StartAngle + full;
        a.MidAngle = (a.StartAngle + a.EndAngle) / 2;
        prevEnd = a.EndAngle;
    }
}

void TPieSeries::CalcExplodeBiggest()
{
    if (explodeBiggest_ <= 0 || Count() == 0) return;
    int best = -1;
    const bool paged = ParentChart() && ParentChart()->MaxPointsPerPage() > 0;
    const int from = paged ? std::max(0, FirstShownIndex) : 0, to = paged ? LastShownIndex : Count() - 1;
    for (int i = from; i <= to && i < Count(); ++i)
        if (best < 0 || GetPieValues().Value(i) > GetPieValues().Value(best)) best = i;
    if (best >= 0) SliceExplode.Put(best, explodeBiggest_);
}

void TPieSeries::CalcExplodedRadius(int i, int& rx, int& ry) const
{
    const double f = 1 + SliceExplode.Get(i) / 100.0;
    rx = Round(HorizRadius * f);
    ry = Round(VertRadius * f);
}

void TPieSeries::CalcExplodedOffset(int i, int& dx, int& dy) const
{
    dx = dy = 0;
    const int e = SliceExplode.Get(i);
    if (!Exploded || SliceExplode.Empty() || e <= 0 || i >= int(SliceAngles.size())) return;
    double a = SliceAngles[std::size_t(i)].MidAngle;
    if (ParentChart() && ParentChart()->ChartCanvas()->GetSupportsFullRotation()) a += AngleSize * kPi / 45 + kPi;
    a += RotationRadians;
    dx = Round(std::cos(a) * HorizRadius * e / 100);
    dy = Round(std::sin(a) * e / 100 * VertRadius);
}

int TPieSeries::SliceEndZ(int i) const
{
    if (i >= SliceDepths.Count()) return EndZ;
    return StartZ + Round(SliceDepths.Get(i) * (EndZ - StartZ) * 0.01);
}

platform::TBrushStyle TPieSeries::SliceBrushStyle(int i) const
{
    static const platform::TBrushStyle hatches[6] = {platform::bsHorizontal, platform::bsVertical,
                                                     platform::bsFDiagonal,  platform::bsBDiagonal,
                                                     platform::bsCross,      platform::bsDiagCross};
    if (UsePatterns || (ParentChart() && ParentChart()->Monochrome())) return hatches[i % 6];
    return platform::bsSolid;
}

void TPieSeries::DrawAllValues()
{
    if (!ParentChart() || FirstShownIndex < 0) return;
    if (explodeBiggest_ > 0) CalcExplodeBiggest();
    int biggest = -1;
    for (int i = FirstShownIndex; i <= LastShownIndex; ++i)
        if (SliceExplode.Get(i) > 0 && (biggest < 0 || SliceExplode.Get(i) > SliceExplode.Get(biggest))) biggest = i;
    CalcAngles();
    Exploded = biggest >= 0 || !SliceDepths.Empty();
    if (biggest >= 0) {
        int dx, dy;
        CalcExplodedOffset(biggest, dx, dy);
        // The whole offset on each side, so the moved slice stays inside the chart.
        CircleBounds.Left += std::abs(dx);
        CircleBounds.Right -= std::abs(dx);
        CircleBounds.Top += std::abs(dy);
        CircleBounds.Bottom -= std::abs(dy);
        AdjustCircleRect();
        CalcRadius();
    }
    AngleToPos(0, HorizRadius, VertRadius, FirstEdgeX, FirstEdgeY);
    shadow_->DrawEllipse(*ParentChart()->ChartCanvas(), CircleBounds, EndZ - 10);
    if (!Is3D() || (!Exploded && DonutPercent <= 0) || ParentChart()->ChartCanvas()->GetSupportsFullRotation()) {
        for (int i = FirstShownIndex; i <= LastShownIndex; ++i) DrawValue(i);
    } else {
        // Slices far from the viewer first.
        SortedSlices.clear();
        for (int i = FirstShownIndex; i <= LastShownIndex; ++i) SortedSlices.push_back(i);
        std::stable_sort(SortedSlices.begin(), SortedSlices.end(),
                         [&](int a, int b) { return CompareSlice(a, b) < 0; });
        for (int i : SortedSlices) DrawValue(i);
    }
    DrawOtherSliceLegend();
}

// The grouped points' own legend, drawn over the laid-out chart: the room it takes
// is given back so that the series after this one keep their rectangle.
void TPieSeries::DrawOtherSliceLegend()
{
    if (!otherSlice_.HasLegend()) return;
    TChartLegend& legend = otherSlice_.Legend();
    auto* chart = dynamic_cast<TCustomChart*>(ParentChart());
    if (!chart || legend.Parent() != chart || !legend.Visible()) return;
    const TRect rect = chart->ChartRect;
    CurrentLegend = &legend;
    base::ScopeExit restore([&] {
        CurrentLegend = nullptr;
        chart->ChartRect = rect;
        chart->ReCalcWidthHeight();
    });
    legend.DrawLegend();
}

int TPieSeries::CompareSlice(int a, int b) const
{
    const double full = AngleSize * PiDegree, quarter = full / 4;
    auto distance = [&](int i) {
        double v = SliceAngles[std::size_t(i)].MidAngle + RotationRadians;
        if (v > full) v -= full;
        double d = v <= quarter ? quarter - v : v - quarter;
        if (d > kPi) d = full - d;
        return d;
    };
    const double da = distance(a), db = distance(b);
    return da < db ? -1 : da > db ? 1 : 0;
}

void TPieSeries::PreparePiePen(int i)
{
    TCanvas3D& c = *ParentChart()->ChartCanvas();
    if (DarkPen <= 0) c.AssignVisiblePen(PiePen());
    else c.AssignVisiblePenColor(PiePen(), ApplyDark(GetValueColor(i), 255 - DarkPen));
}

void TPieSeries::DrawValue(int i)
{
    if (EllipseWidth < 5 || EllipseHeight < 5 || BelongsToOtherSlice(i) || i >= int(SliceAngles.size())) return;
    TCustomAxisPanel& chart = *ParentChart();
    TCanvas3D& c = *chart.ChartCanvas();
    const TColor color = chart.Monochrome() ? platform::clBlack : GetValueColor(i);
    if (color == platform::clNone) {
        c.Brush().SetStyle(platform::bsClear);
    } else {
        chart.SetBrushCanvas(color, Brush(), CalcCircleBackColor());
        c.Brush().SetStyle(SliceBrushStyle(i));
        if (CircleGradient().Visible()) CircleGradient().SetEndColor(color);
    }
    PreparePiePen(i);
    DrawPie(i);
}

void TPieSeries::DrawPie(int i)
{
    TCanvas3D& c = *ParentChart()->ChartCanvas();
    int dx, dy;
    CalcExplodedOffset(i, dx, dy);
    const TPieAngle& a = SliceAngles[std::size_t(i)];
    if (Is3D()) {
        c.Pie3D(CenterX + dx, CenterY - dy, HorizRadius, VertRadius, StartZ, SliceEndZ(i), a.StartAngle + RotationRadians,
                a.EndAngle + RotationRadians, Dark3D, Exploded, DonutPercent,
                CircleGradient().Visible() ? &CircleGradient() : nullptr);
    } else if (DonutPercent <= 0) {
        AngleToPos(a.EndAngle, HorizRadius, VertRadius, LastEdgeX, LastEdgeY);
        if (LastEdgeX != FirstEdgeX || LastEdgeY != FirstEdgeY || Count() == 1 || a.EndAngle - a.StartAngle > 1) {
            const TRect& r = CircleBounds;
            c.Pie(r.Left + dx, r.Top - dy, r.Right + dx, r.Bottom - dy, FirstEdgeX + dx, FirstEdgeY - dy, LastEdgeX + dx,
                  LastEdgeY - dy);
            FirstEdgeX = LastEdgeX;
            FirstEdgeY = LastEdgeY;
        }
    } else {
        c.Donut(CenterX + dx, CenterY - dy, HorizRadius, VertRadius, a.StartAngle + RotationRadians,
                a.EndAngle + RotationRadians, DonutPercent);
    }
}

void TPieSeries::DrawCircleGradient()
{
    if (!CircleGradient().Visible() || !ParentChart()) return;
    if (Is3D() && !ParentChart()->View3DOptions().Orthogonal()) return;
    TCanvas3D& c = *ParentChart()->ChartCanvas();
    TRect r{CenterX - EllipseWidth / 2, CenterY - EllipseHeight / 2, CenterX + EllipseWidth / 2, CenterY + EllipseHeight / 2};
    if (Is3D()) r = c.CalcRect3D(r, EndZ);
    c.ClipEllipse(r);
    CircleGradient().Draw(c, r);
    c.UnClipRectangle();
}

void TPieSeries::DrawLegendShape(int index, const TRect& r)
{
    TCanvas3D* c = ParentChart() ? ParentChart()->ChartCanvas() : nullptr;
    const TColor color = ParentChart() && ParentChart()->Monochrome() ? platform::clBlack : GetValueColor(index);
    if (c && CircleGradient().Visible() && color != platform::clNone) {
        CircleGradient().SetEndColor(color);
        CircleGradient().Draw(*c, r);
        PreparePiePen(index);
        c->Brush().SetStyle(platform::bsClear);
        c->Rectangle(r);
        return;
    }
    TCircledSeries::DrawLegendShape(index, r);
}

void TPieSeries::PrepareLegendCanvas(int index, TColor& backColor, platform::TBrushStyle& brushStyle)
{
    backColor = CalcCircleBackColor();
    if (ParentChart()) PreparePiePen(index);
    brushStyle = SliceBrushStyle(index);
}

int TPieSeries::Clicked(int x, int y)
{
    const int inherited = TCircledSeries::Clicked(x, y);
    return inherited != -1 ? inherited : CalcClickedPie(x, y);
}

int TPieSeries::CalcClickedPie(int x, int y)
{
    if (SliceAngles.empty() || HorizRadius <= 0 || VertRadius <= 0) return -1;
    if (ParentChart()) ParentChart()->ChartCanvas()->Calculate2DPosition(x, y, StartZ);
    for (int i = 0; i < int(SliceAngles.size()); ++i) {
        if (BelongsToOtherSlice(i)) continue;
        const TPieAngle& a = SliceAngles[std::size_t(i)];
        if (a.EndAngle <= a.StartAngle) continue;
        // Only inside the slice's own (possibly exploded) ellipse, not its bounding box.
        int dx, dy;
        CalcExplodedOffset(i, dx, dy);
        const double u = double(x - CenterX - dx) / HorizRadius, v = double(y - CenterY + dy) / VertRadius;
        if (u * u + v * v > 1) continue;
        double angle = std::atan2(-v, u);
        if (angle < 0) angle += 2 * kPi;
        angle -= RotationRadians;
        while (angle < 0) angle += 2 * kPi;
        if (a.StartAngle <= angle && angle <= a.EndAngle) return i;
    }
    return -1;
}

void TPieSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    if (BelongsToOtherSlice(i) || i >= int(SliceAngles.size())) return;
    int rx, ry;
    CalcExplodedRadius(i, rx, ry);
    double angle = SliceAngles[std::size_t(i)].MidAngle;
    const bool full = ParentChart()->ChartCanvas()->GetSupportsFullRotation();
    if (full) angle += 3 * kPi / 2;
    Marks().ZPosition = full ? StartZ : SliceEndZ(i);
    p.ArrowStartFixed = true;
    const int distance = Marks().Callout().Distance(), l = Marks().Callout().Length() + distance;
    AngleToPos(angle, rx + l, ry + l, p.ArrowEnd.X, p.ArrowEnd.Y);
    AngleToPos(angle, rx + distance, ry + distance, p.ArrowStart.X, p.ArrowStart.Y);
    p.BoxTopLeft.X = p.ArrowEnd.X > CenterX ? p.ArrowEnd.X : p.ArrowEnd.X - p.BoxWidth;
    p.BoxTopLeft.Y = p.ArrowEnd.Y > CenterY ? p.ArrowEnd.Y : p.ArrowEnd.Y - p.BoxHeight;
    if (AutoMarkPosition) Marks().AntiOverlap(FirstShownIndex, i, p);
    TCircledSeries::DrawMark(i, text, p);
}

std::vector<std::string> TPieSeries::CreateSubGallery()
{
    return {ChartMsg_Normal, ChartMsg_Patterns, ChartMsg_Exploded, ChartMsg_Shadow,
            ChartMsg_Marks,  ChartMsg_SemiPie,  ChartMsg_NoBorder, ChartMsg_DarkPen};
}

void TPieSeries::SetSubGallery(int index)
{
    switch (index) {
    case 1: UsePatterns = true; break;
    case 2: SetExplodeBiggest(30); break;
    case 3:
        Shadow().SetHorizSize(10);
        Shadow().SetVertSize(10);
        break;
    case 4:
        Marks().SetVisible(true);
        Clear();
        Add(30, "A");
        Add(70, "B");
        break;
    case 5: AngleSize = 180; break;
    case 6: PiePen().SetVisible(false); break;
    case 7: DarkPen = 32; break;
    default: break;
    }
    Repaint();
}

}  // namespace chart
