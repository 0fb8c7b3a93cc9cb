// The axis panel: series and axes container.
#include "widgets/chart/ChartAxisPanel.h"

#include "platform/system/Printer.h"

#include <algorithm>
#include <cmath>

#include "base/ScopeGuard.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

TCustomAxisPanel::TCustomAxisPanel(TComponent* owner) : TCustomChartPanelExtended(owner)
{
    SetRepaintEnabled(false);
    axisList_ = std::make_unique<TChartAxes>(this);
    customAxes_ = std::make_unique<TChartCustomAxes>(this);
    bottom_ = new TChartAxis(this);
    bottom_->SetHorizontal(true);
    top_ = new TChartAxis(this);
    top_->SetHorizontal(true);
    left_ = new TChartAxis(this);
    right_ = new TChartAxis(this);
    depth_ = new TChartDepthAxis(this);
    depthTop_ = new TChartDepthAxis(this);
    for (TChartAxis* a : {top_, right_}) {
        a->SetOtherSide(true);
        a->SetZPosition(100);
        a->Grid().SetZ(100);
        a->Grid().DefaultZPosition = 100;
    }
    left_->Title().SetAngle(90);
    left_->Title().DefaultAngle = 90;
    right_->Title().SetAngle(270);
    right_->Title().DefaultAngle = 270;
    depth_->SetOtherSide(true);
    SetRepaintEnabled(true);
}

TCustomAxisPanel::~TCustomAxisPanel()
{
    SetRepaintEnabled(false);
    DestroyTools();
    FreeAllSeries();
    customAxes_->Clear();
    axisList_->Clear();
}

void TCustomAxisPanel::SetChart3DPercent(int v)
{
    if (v < 1 || v > 100) throw base::Exception(ChartFormat(ChartMsg_3dPercent, 1, 100));
    SetIntegerProperty(chart3DPercent_, v);
}

// ---------------------------------------------------------------- series

int TCustomAxisPanel::CountActiveSeries() const
{
    return int(std::count_if(series_.begin(), series_.end(), [](TChartSeries* s) { return s->Active(); }));
}

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* s)
{
    s->SetParentChart(this);
    return s;
}

void TCustomAxisPanel::InternalAddSeries(TChartSeries* s)
{
    if (std::find(series_.begin(), series_.end(), s) != series_.end()) return;
    s->TCustomChartElement::SetParentChart(this);
    series_.push_back(s);
    s->Added();
    BroadcastSeriesEvent(s, seAdd);
    Invalidate();
}

void TCustomAxisPanel::RemoveSeries(int index)
{
    if (index < 0 || index >= SeriesCount()) return;
    TChartSeries* s = series_[std::size_t(index)];
    BroadcastSeriesEvent(s, seRemove);
    s->Removed();
    series_.erase(series_.begin() + index);
    Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* s)
{
    auto it = std::find(series_.begin(), series_.end(), s);
    if (it != series_.end()) RemoveSeries(int(it - series_.begin()));
}

void TCustomAxisPanel::FreeAllSeries(const std::function<bool(const TChartSeries&)>& which)
{
    std::size_t i = 0;
    while (i < series_.size()) {
        TChartSeries* s = series_[i];
        if (which && !which(*s)) {
            ++i;
            continue;
        }
        s->SetParentChart(nullptr);
        delete s;
    }
}

void TCustomAxisPanel::ExchangeSeries(int a, int b)
{
    std::swap(series_[std::size_t(a)], series_[std::size_t(b)]);
    BroadcastSeriesEvent(nullptr, seSwap);
    Invalidate();
}

void TCustomAxisPanel::BroadcastSeriesEvent(TChartSeries* s, TChartSeriesEvent e)
{
    TChartSeriesMessage m;
    m.Event = e;
    m.Series = s;
    BroadcastChartEvent(m);
}

bool TCustomAxisPanel::CheckMouseSeries(int x, int y)
{
    bool any = false;
    for (int i = SeriesCount() - 1; i >= 0; --i)
        if (series_[std::size_t(i)]->Active() && series_[std::size_t(i)]->CheckMouse(x, y)) any = true;
    return any;
}

// ---------------------------------------------------------------- axes

void TCustomAxisPanel::FixAxisVisibility()
{
    axisVisibility_.clear();
    for (int i = 0; i < axisList_->Count(); ++i)
        axisVisibility_.push_back({axisList_->Get(i), CalcIsAxisVisible(*axisList_->Get(i))});
}

bool TCustomAxisPanel::IsAxisVisible(const TChartAxis& a) const
{
    for (auto& e : axisVisibility_)
        if (e.first == &a) return e.second;
    return CalcIsAxisVisible(a);
}

bool TCustomAxisPanel::CalcIsAxisVisible(const TChartAxis& a) const
{
    if (!axisVisible_ || !a.Visible()) return false;
    if (a.IsDepthAxis) return View3D();
    bool anyActive = false;
    for (TChartSeries* s : series_) {
        if (!s->Active()) continue;
        anyActive = true;
        if (!s->UseAxis()) return false;
        if (s->AssociatedToAxis(&a)) return true;
    }
    return !anyActive;
}

bool TCustomAxisPanel::NoActiveSeries(const TChartAxis& a) const
{
    return std::none_of(series_.begin(), series_.end(),
                        [&](TChartSeries* s) { return s->Active() && s->AssociatedToAxis(&a); });
}

TChartSeries* TCustomAxisPanel::GetAxisSeries(const TChartAxis& a) const
{
    TChartSeries* any = nullptr;
    for (TChartSeries* s : series_) {
        if (!s->AssociatedToAxis(&a)) continue;
        if (s->Active()) return s;
        if (!any) any = s;
    }
    return any;
}

TChartSeries* TCustomAxisPanel::GetAxisSeriesMaxPoints(const TChartAxis& a) const
{
    const bool none = NoActiveSeries(a);
    TChartSeries* best = nullptr;
    for (TChartSeries* s : series_) {
        if (!s->AssociatedToAxis(&a) || (!none && !s->Active())) continue;
        if (!best || s->Count() > best->Count()) best = s;
    }
    return best;
}

double TCustomAxisPanel::InternalMinMax(TChartAxis& a, bool isMin, bool isX)
{
    if (a.IsDepthAxis) {
        if (a.CalcLabelStyle() == talValue) {
            bool first = true;
            double r = 0;
            for (TChartSeries* s : series_) {
                if (!s->Active()) continue;
                const double v = isMin ? s->MinZValue() : s->MaxZValue();
                if (first || (isMin ? v < r : v > r)) r = v;
                first = false;
            }
            return r;
        }
        return isMin ? -0.5 : LastZOrder + 0.5;
    }
    TChartSeries* axisSeries = GetAxisSeries(a);
    const bool independent = !axisSeries || axisSeries->ValuesVertical() ? isX : !isX;
    if (maxPointsPerPage_ > 0 && independent) {
        TChartSeries* s = GetAxisSeriesMaxPoints(a);
        if (!s || s->Count() == 0) return 0;
        int first, last;
        s->CalcFirstLastPage(first, last);
        TChartValueList& l = isX ? s->XValues() : s->YValues();
        if (isMin) return l.Value(first);
        double hi = l.Value(last);
        const int n = last - first + 1;
        if (!scaleLastPage_ && n < maxPointsPerPage_) {
            const double lo = l.Value(first);
            hi = hi == lo ? lo + double(maxPointsPerPage_) / n : lo + (hi - lo) * maxPointsPerPage_ / n;
        }
        return hi;
    }
    const bool none = NoActiveSeries(a);
    bool first = true;
    double r = 0;
    for (TChartSeries* s : series_) {
        if ((!s->Active() && !none) || s->Count() == 0) continue;
        const bool bound = isX ? (s->HorizAxis() == aBothHorizAxis || s->ActiveHorizAxis() == &a)
                               : (s->VertAxis() == aBothVertAxis || s->ActiveVertAxis() == &a);
        if (!bound) continue;
        const double v = isX ? (isMin ? s->MinXValue() : s->MaxXValue()) : (isMin ? s->MinYValue() : s->MaxYValue());
        if (first || (isMin ? v < r : v > r)) r = v;
        first = false;
    }
    return r;
}

int TCustomAxisPanel::GetMaxValuesCount() const
{
    int n = 0;
    for (TChartSeries* s : series_)
        if (s->Active()) n = std::max(n, s->Count());
    return n;
}

int TCustomAxisPanel::NumPages()
{
    if (maxPointsPerPage_ < 1 || series_.empty()) return 1;
    const bool vertical = series_.front()->ValuesVertical();
    auto pages = [&](const TChartAxis& a) {
        int most = 0;
        for (TChartSeries* s : series_)
            if (s->Active() && s->AssociatedToAxis(&a)) most = std::max(most, s->Count());
        return most == 0 ? 1 : (most + maxPointsPerPage_ - 1) / maxPointsPerPage_;
    };
    return vertical ? std::max(pages(*top_), pages(*bottom_)) : std::max(pages(*left_), pages(*right_));
}

void TCustomAxisPanel::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TCustomAxisPanel*>(&source)) {
        auto& from = const_cast<TCustomAxisPanel&>(*p);
        chart3DPercent_ = from.chart3DPercent_;
        axisBehind_ = from.axisBehind_;
        axisVisible_ = from.axisVisible_;
        BottomAxis().Assign(from.BottomAxis());
        clipPoints_ = from.clipPoints_;
        ChartPalette = from.ChartPalette;
        CustomAxes().Assign(from.CustomAxes());
        LeftAxis().Assign(from.LeftAxis());
        DepthAxis().Assign(from.DepthAxis());
        DepthTopAxis().Assign(from.DepthTopAxis());
        maxPointsPerPage_ = from.maxPointsPerPage_;
        page_ = from.page_;
        RightAxis().Assign(from.RightAxis());
        scaleLastPage_ = from.scaleLastPage_;
        TopAxis().Assign(from.TopAxis());
        view3DWalls_ = from.view3DWalls_;
    }
    TCustomChartPanelExtended::Assign(source);
}

void TCustomAxisPanel::PrintPages(int fromPage, int toPage)
{
    TPrinter* printer = Printer();
    if (!Name().empty()) printer->Title = Name();
    printer->BeginDoc();
    const int saved = page_;
    base::ScopeFail abort([printer] {
        printer->Abort();
        if (printer->Printing()) printer->EndDoc();
    });
    {
        base::ScopeExit back([this, saved] { SetPage(saved); });
        if (toPage == 0) toPage = NumPages();
        if (fromPage == 0) fromPage = 1;
        const TRect r = ChartPrintRect();
        for (int page = fromPage; page <= toPage; ++page) {
            SetPage(page);
            PrintPartial(r);
            if (page < toPage) printer->NewPage();
        }
    }
    printer->EndDoc();
}

void TCustomAxisPanel::SetPage(int v)
{
    v = std::min(v, NumPages());
    if (v < 1) v = 1;
    if (v == page_) return;
    page_ = v;
    Invalidate();
    TChartChangePage e;
    BroadcastChartEvent(e);
    if (OnPageChange) OnPageChange(this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int v)
{
    if (v < 0) throw ChartException(ChartMsg_MaxPointsPerPage);
    SetIntegerProperty(maxPointsPerPage_, v);
    if (NumPages() < page_) SetPage(NumPages());
    TChartChangePage e;
    BroadcastChartEvent(e);
}

// ---------------------------------------------------------------- colours

TColor TCustomAxisPanel::GetDefaultColor(int index) const
{
    if (!ChartPalette.empty()) {
        const int n = int(ChartPalette.size());
        return ChartPalette[std::size_t(((index % n) + n) % n)];
    }
    return chart::GetDefaultColor(index);
}

TColor TCustomAxisPanel::GetFreeSeriesColor(bool checkBackground, TChartSeries* series)
{
    const int n = ChartPalette.empty() ? int(ColorPalette.size()) : int(ChartPalette.size());
    for (int i = 0; i < n - 1; ++i) {
        const TColor c = GetDefaultColor(i);
        if (IsFreeSeriesColor(c, checkBackground, series)) return c;
    }
    return GetDefaultColor(n - 1);
}

void TCustomAxisPanel::ColorPaletteChanged()
{
    for (TChartSeries* s : series_)
        if (!s->IsColorStored()) s->ChangeInternalColor(GetFreeSeriesColor(true, s));
}

// ---------------------------------------------------------------- legend texts

TChartSeries* TCustomAxisPanel::SeriesLegend(int index, bool onlyActive) const
{
    int k = 0;
    for (TChartSeries* s : series_) {
        if (!s->ShowInLegend() || (onlyActive && !s->Active())) continue;
        if (k++ == index) return s;
    }
    return nullptr;
}

std::string SeriesTitleOrName(const TChartSeries& s)
{
    if (!s.Title().empty()) return s.Title();
    if (!s.Name().empty() || !s.ParentChart()) return s.Name();
    const auto& list = s.ParentChart()->SeriesList();
    const auto it = std::find(list.begin(), list.end(), &s);
    return ChartMsg_Series + std::to_string(it - list.begin() + 1);
}

std::string TCustomAxisPanel::SeriesTitleLegend(int index, bool onlyActive) const
{
    TChartSeries* s = SeriesLegend(index, onlyActive);
    return s ? SeriesTitleOrName(*s) : std::string();
}

int TCustomAxisPanel::MultiLineTextWidth(const std::string& text, int& lineCount)
{
    lineCount = 0;
    int w = 0;
    std::size_t start = 0;
    TCanvas3D& c = *ChartCanvas();
    while (start <= text.size()) {
        const std::size_t at = text.find(ChartLineSeparator, start);
        const std::string piece = text.substr(start, at == std::string::npos ? std::string::npos : at - start);
        if (at == std::string::npos && piece.empty() && lineCount > 0) break;
        w = std::max(w, c.TextWidth(piece));
        ++lineCount;
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return w;
}

int TCustomAxisPanel::MaxTextWidth()
{
    int w = 0, lines;
    for (TChartSeries* s : series_)
        for (int i = 0; i < s->Labels().Count(); ++i) w = std::max(w, MultiLineTextWidth(s->GetXLabel(i), lines));
    return w;
}

int TCustomAxisPanel::MaxMarkWidth()
{
    int w = 0;
    for (TChartSeries* s : series_)
        if (s->Active()) w = std::max(w, s->MaxMarkWidth());
    return w;
}

}  // namespace chart

// ---------------------------------------------------------------- drawing pipeline

namespace chart {

void TCustomAxisPanel::CalcInvertedRotation()
{
    if (!View3D()) {
        InvertedRotation = false;
        return;
    }
    TView3DOptions& o = View3DOptions();
    InvertedRotation = o.Orthogonal() ? o.OrthoAngle() > 90 : o.Rotation() < 180;
}

bool TCustomAxisPanel::DrawBackWallAfter(int z)
{
    const TFourPoints p = ChartCanvas()->FourPointsFromRect(ChartRect, z);
    return !ChartCull(p[0], p[1], p[2]);
}

void TCustomAxisPanel::DrawLegendShape(const TRect& r)
{
    TCanvas3D& c = *ChartCanvas();
    c.Rectangle(r);
    if (c.Brush().Color() != LegendColor) return;
    const TColor pen = c.Pen().Color();
    if (c.Brush().Color() == clBlack) c.Pen().SetColor(clWhite);
    c.Brush().SetStyle(bsClear);
    c.Rectangle(r);
    c.Pen().SetColor(pen);
}

void TCustomAxisPanel::CalcSize3DWalls()
{
    if (!View3D()) {
        SeriesDepth = SeriesRise = Depth3D = Rise3D = 0;
        return;
    }
    double p = chart3DPercent_ * 0.001;
    if (!View3DOptions().Orthogonal()) p *= 2;
    SeriesDepth = int(std::nearbyint(ChartRectWidth * p));
    const double r = View3DOptions().CalcOrthoRatio();
    if (r > 1) SeriesDepth = int(std::nearbyint(SeriesDepth / r));
    SeriesRise = int(std::nearbyint(SeriesDepth * r));
    const int c = SeparateDepths ? std::max(1, LastZOrder + 1) : 1;
    Rise3D = c * SeriesRise;
    Depth3D = c * SeriesDepth;
}

bool TCustomAxisPanel::ClipSeries()
{
    if (!CanClip()) return false;
    const TRect r{ChartRect.Left, ChartRect.Top, ChartRect.Right, ChartRect.Bottom + 1};
    ChartCanvas()->ClipCube(r, 0, Depth3D);
    return true;
}

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries& s)
{
    if (s.Count() == 0 || !s.Marks().Visible()) return;
    const bool clip = s.Marks().Clip() && ClipSeries();
    s.DrawMarks();
    if (clip) ChartCanvas()->UnClipRectangle();
}

void TCustomAxisPanel::DrawAxes()
{
    if (!axisVisible_) return;
    BroadcastToolEvent(cteBeforeDrawAxes);
    DoOnBeforeDrawAxes();
    const bool frontFaces = View3D() && DrawBackWallAfter(0);
    for (int i = 0; i < axisList_->Count(); ++i) {
        TChartAxis* a = axisList_->Get(i);
        if (!IsAxisVisible(*a)) continue;
        if (a == bottom_ && frontFaces) continue;
        a->Draw(true);
    }
}

void TCustomAxisPanel::DrawAllSeries()
{
    std::vector<TChartSeries*> order;
    for (TChartSeries* s : series_)
        if (s->Active()) order.push_back(s);
    if (depth_->Inverted() != (View3D() && DrawBackWallAfter(Depth3D))) std::reverse(order.begin(), order.end());
    for (TChartSeries* s : order) {
        if (!View3D() || !s->MoreSameZOrder()) {
            s->CalcFirstLastVisibleIndex();
            if (s->FirstShownIndex == -1) continue;
            s->DoBeforeDrawValues();
            const bool clipped = s->UseAxis() && clipPoints_ && ClipSeries();
            s->DrawAllValues();
            if (clipped) ChartCanvas()->UnClipRectangle();
            DrawSeriesMarks(*s);
            s->DoAfterDrawValues();
            continue;
        }
        if (!s->FirstInZOrder()) continue;
        const auto at = std::find(series_.begin(), series_.end(), s);
        std::vector<TChartSeries*> group;
        for (auto it = at; it != series_.end(); ++it)
            if ((*it)->Active() && (*it)->GetZOrder() == s->GetZOrder()) group.push_back(*it);
        int first = -1, last = -1;
        bool clipped = false;
        for (TChartSeries* g : group) {
            g->CalcFirstLastVisibleIndex();
            if (g->FirstShownIndex != -1) {
                first = first == -1 ? g->FirstShownIndex : std::max(first, g->FirstShownIndex);
                last = std::max(last, g->LastShownIndex);
            }
            g->DoBeforeDrawValues();
            if (clipPoints_ && !clipped) clipped = ClipSeries();
        }
        if (first != -1) {
            const bool forward = s->DrawValuesForward();
            for (int k = 0; k <= last - first; ++k) {
                const int v = forward ? first + k : last - k;
                const bool backwards = v < s->Count() && !s->DrawSeriesForward(v);
                for (std::size_t j = 0; j < group.size(); ++j) {
                    TChartSeries* g = group[backwards ? group.size() - 1 - j : j];
                    if (g->Count() > v) g->DrawValue(v);
                }
            }
        }
        if (clipped) ChartCanvas()->UnClipRectangle();
        for (TChartSeries* g : group)
            if (g->FirstShownIndex != -1) {
                DrawSeriesMarks(*g);
                g->DoAfterDrawValues();
            }
    }
}

void TCustomAxisPanel::InternalDraw(const TRect& rect)
{
    const bool repaint = RepaintEnabled();
    SetRepaintEnabled(false);
    // The repaint switch comes back however the drawing ends.
    struct Restore {
        TCustomAxisPanel& p;
        bool v;
        ~Restore() { p.SetRepaintEnabled(v); }
    } restore{*this, repaint};
    TCanvas3D& c = *ChartCanvas();
    CalcInvertedRotation();
    if (!c.GetSupportsFullRotation()) PanelPaint(rect);
    BroadcastToolEvent(cteBeforeDraw);
    DoOnBeforeDrawChart();
    for (TChartSeries* s : series_)
        if (s->Active()) s->DoBeforeDrawChart();
    if (!c.GetSupportsFullRotation()) DrawTitlesAndLegend(true);
    LastZOrder = 0;
    if (SeparateDepths && View3D()) {
        LastZOrder = -1;
        for (TChartSeries* s : series_)
            if (s->Active()) s->CalcZOrder();
    }
    if (!depth_->Inverted())
        for (TChartSeries* s : series_)
            if (s->Active()) s->SetComputedZOrder(SeparateDepths && View3D() ? LastZOrder - s->GetZOrder() : 0);
    CalcWallsRect();
    axisVisibility_.clear();
    for (int i = 0; i < axisList_->Count(); ++i) {
        TChartAxis* a = axisList_->Get(i);
        axisVisibility_.push_back({a, CalcIsAxisVisible(*a)});
        a->AdjustMaxMin();
    }
    for (int i = 0; i < axisList_->Count(); ++i) axisList_->Get(i)->InternalCalcPositions();
    TRect r = ChartRect;
    for (int i = 0; i < axisList_->Count(); ++i) {
        TChartAxis* a = axisList_->Get(i);
        if (!IsAxisVisible(*a)) continue;
        TRect t = r;
        a->CalcRect(t, i < 5);
        TRect both;
        if (IntersectRect(both, r, t)) r = both;
    }
    ChartRect = r;
    ReCalcWidthHeight();
    for (int i = 0; i < axisList_->Count(); ++i) axisList_->Get(i)->InternalCalcPositions();
    for (TChartSeries* s : series_)
        if (s->Active()) s->CalcDepthPositions();
    for (int i = 0; i < axisList_->Count(); ++i) {
        TChartAxis* a = axisList_->Get(i);
        TRect m{0, 0, 0, 0};
        for (TChartSeries* s : series_) {
            if (!s->Active() || !s->AssociatedToAxis(a)) continue;
            int lo = 0, hi = 0;
            if (a->Horizontal()) {
                s->CalcHorizMargins(lo, hi);
                if (a->AutomaticMinimum()) m.Left = std::max(m.Left, lo);
                if (a->AutomaticMaximum()) m.Right = std::max(m.Right, hi);
            } else {
                s->CalcVerticalMargins(lo, hi);
                if (a->AutomaticMaximum()) m.Top = std::max(m.Top, lo);
                if (a->AutomaticMinimum()) m.Bottom = std::max(m.Bottom, hi);
            }
        }
        const bool offsets = a->MinimumOffset() != 0 || a->MaximumOffset() != 0;
        if (offsets) {
            int minSide = a->MinimumOffset(), maxSide = a->MaximumOffset();
            if (a->Inverted()) std::swap(minSide, maxSide);
            if (a->Horizontal()) {
                m.Left += minSide;
                m.Right += maxSide;
            } else {
                m.Bottom += minSide;
                m.Top += maxSide;
            }
        }
        a->AdjustMaxMinRect(m);
        if (offsets) a->LabelsLinePos = a->InflateAxisPos(a->AxisLinePos, a->SizeTickAxis());
    }
    c.Projection(Depth3D, DrawBounds, ChartRect);
    DrawWalls();
    if (axisBehind_) DrawAxes();
    BroadcastToolEvent(cteBeforeDrawSeries);
    DoOnBeforeDrawSeries();
    DrawAllSeries();
    BroadcastToolEvent(cteAfterDrawSeries);
    if (!axisBehind_) DrawAxes();
    DrawTitlesAndLegend(false);
    if (Zoom.Active) DrawZoomRectangle();
    c.ResetState();
    BroadcastToolEvent(cteAfterDraw);
    DoOnAfterDraw();
}

}  // namespace chart
