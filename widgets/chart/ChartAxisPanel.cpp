// The axis panel: series and axes container.
#include "widgets/chart/ChartAxisPanel.h"

#include <algorithm>

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
    FreeAllSeries();
    customAxes_->Clear();
    axisList_->Clear();
}

void TCustomAxisPanel::SetChart3DPercent(int v)
{
    if (v < 1 || v > 100) throw base::Exception(ChartFormat(ChartMsg_3dPercent, 1, 100));
    SetIntegerProperty(chart3DPercent_, v);
}

void TCustomAxisPanel::DrawLegendShape(const TRect& r)
{
    ChartCanvas()->Rectangle(r);
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

std::string SeriesTitleOrName(const TChartSeries& s) { return s.Title().empty() ? s.Name() : s.Title(); }

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
        for (int i = 0; i < s->Labels().Count(); ++i) w = std::max(w, MultiLineTextWidth(s->XLabel(i), lines));
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
