// Calculated series: the data-source links of a series, the period logic of functions,
// and loading sources.
#include "widgets/chart/ChartFunctions.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartProcs.h"
#include "widgets/chart/ChartSeries.h"
#include "widgets/chart/ChartSeriesStream.h"

namespace chart {

namespace {

constexpr double kMaxRanges = 1e6;

int RoundEven(double v) { return int(std::nearbyint(v)); }

}  // namespace

// Walks the sources without recursion, each series once, so a long or looping chain
// costs what it holds.
bool FeedsInto(const TChartSeries* target, platform::TComponent* from)
{
    std::vector<platform::TComponent*> todo{from};
    std::vector<const TChartSeries*> seen;
    while (!todo.empty()) {
        auto* s = dynamic_cast<TChartSeries*>(todo.back());
        todo.pop_back();
        if (!s || std::find(seen.begin(), seen.end(), s) != seen.end()) continue;
        if (s == target) return true;
        seen.push_back(s);
        for (platform::TComponent* c : s->DataSources()) todo.push_back(c);
    }
    return false;
}

// ---------------------------------------------------------------- the chart's side

bool TCustomAxisPanel::IsValidDataSource(TChartSeries* series, platform::TComponent* c)
{
    if (auto* s = dynamic_cast<TChartSeries*>(c)) return s != series && series->IsValidSeriesSource(*s);
    if (auto* src = dynamic_cast<TChartSeriesSource*>(c)) return src->Available(this);
    return false;
}

// Walks the sources without recursion (see FeedsInto), so a long chain costs what it holds.
void TCustomAxisPanel::CheckOtherSeries(TChartSeries* dest, TChartSeries* source)
{
    if (source && FeedsInto(dest, source)) throw ChartException(ChartMsg_CircularSeries);
}

void TCustomAxisPanel::RemovedDataSource(TChartSeries* series, platform::TComponent* c)
{
    if (auto* src = dynamic_cast<TChartSeriesSource*>(c); src && src->Series() == series) src->SetSeries(nullptr);
}

// ---------------------------------------------------------------- data sources of a series

void TChartSeries::SetDataSource(platform::TComponent* c)
{
    if (!c) ClearDataSources();
    else InternalSetDataSource(c, true);
}

bool TChartSeries::IsValidSeriesSource(const TChartSeries& s) const { return !function_ || function_->IsValidSource(s); }

int TChartSeries::InternalSetDataSource(platform::TComponent* c, bool replace)
{
    if (!parentChart_) throw ChartException(ChartMsg_SeriesSetDataSource);
    if (!parentChart_->IsValidDataSource(this, c))
        throw ChartException(ChartFormat(ChartMsg_SeriesInvDataSource, c ? c->Name().c_str() : ""));
    if (dataSources_.IndexOf(c) >= 0) return -1;
    if (auto* series = dynamic_cast<TChartSeries*>(c)) parentChart_->CheckOtherSeries(this, series);
    if (replace) ClearDataSources();
    const int index = InternalAddDataSource(c);
    CheckDataSource();
    return index;
}

int TChartSeries::InternalAddDataSource(platform::TComponent* c)
{
    if (!c) return -1;
    const int index = dataSources_.InheritedAdd(c);
    OwnData = false;
    if (auto* s = dynamic_cast<TChartSeries*>(c)) s->AddLinkedSeries(this);
    else if (auto* src = dynamic_cast<TChartSeriesSource*>(c); src && src->Series() != this) src->SetSeries(this);
    return index;
}

void TChartSeries::InternalRemoveDataSource(platform::TComponent* c)
{
    if (Destroying()) return;
    if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(this);
    if (parentChart_ && c) parentChart_->RemovedDataSource(this, c);
    CheckDataSource();
}

void TChartSeries::AddLinkedSeries(TChartSeries* s)
{
    if (std::find(LinkedSeries.begin(), LinkedSeries.end(), s) == LinkedSeries.end()) LinkedSeries.push_back(s);
}

void TChartSeries::RemoveLinkedSeries(TChartSeries* s) { std::erase(LinkedSeries, s); }

void TChartSeries::RemoveAllLinkedSeries()
{
    for (platform::TComponent* c : dataSources_)
        if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(this);
}

// ---------------------------------------------------------------- the list of sources

int TDataSourcesList::IndexOf(const platform::TComponent* c) const
{
    auto it = std::find(begin(), end(), c);
    return it == end() ? -1 : int(it - begin());
}

int TDataSourcesList::Add(platform::TComponent* c) { return series_->InternalSetDataSource(c, false); }

int TDataSourcesList::InheritedAdd(platform::TComponent* c)
{
    push_back(c);
    return Count() - 1;
}

void TDataSourcesList::Remove(platform::TComponent* c)
{
    const int i = IndexOf(c);
    if (i >= 0) Delete(i);
}

void TDataSourcesList::Delete(int i)
{
    platform::TComponent* c = Get(i);
    erase(begin() + i);
    // Without its first source the series keeps none of the others.
    if (i == 0) Clear();
    series_->InternalRemoveDataSource(c);
}

void TDataSourcesList::Clear()
{
    if (empty()) return;
    series_->RemoveAllLinkedSeries();
    std::vector<platform::TComponent*> old(begin(), end());
    InheritedClear();
    if (TCustomAxisPanel* chart = series_->ParentChart())
        for (auto it = old.rbegin(); it != old.rend(); ++it) chart->RemovedDataSource(series_, *it);
    if (!series_->OwnData) series_->Clear();
}

void TChartSeries::SetColorSource(const std::string& name)
{
    if (colorSource_ == name) return;
    colorSource_ = name;
    CheckDataSource();
}

void TChartSeries::SetLabelsSource(const std::string& name)
{
    if (xLabelsSource_ == name) return;
    xLabelsSource_ = name;
    CheckDataSource();
}

void TChartSeries::CheckDataSource()
{
    if (updateCount_ > 0 || !parentChart_) return;
    if (platform::TComponent* c = GetDataSource()) {
        if (auto* s = dynamic_cast<TChartSeries*>(c)) AddValues(*s);
        else if (auto* src = dynamic_cast<TChartSeriesSource*>(c)) src->Refresh();
    } else if (function_ && function_->ComputesWithoutSource) {
        BeginUpdate();
        Clear();
        function_->AddPoints(nullptr);
        EndUpdate();
    } else if (Count() == 0 && !OwnData && CanAddRandomPoints()) {
        FillSampleValues(NumSampleValues());
    }
}

void TChartSeries::SetFunction(TChartFunction* f)
{
    if (f == function_) return;
    TChartFunction* old = function_;
    function_ = f;
    if (old) {
        old->ForgetParent();
        delete old;
    }
    if (f && f->ParentSeries() != this) f->SetParentSeries(this);
    CheckDataSource();
}

// ---------------------------------------------------------------- functions

TChartFunction::TChartFunction(platform::TComponent* owner) : TComponent(owner) {}

TChartFunction::~TChartFunction()
{
    if (parent_) {
        TChartSeries* p = parent_;
        parent_ = nullptr;
        if (p->SeriesFunction() == this) p->ReleaseFunction();
    }
}

void TChartFunction::Assign(const platform::TPersistent& source)
{
    if (auto* f = dynamic_cast<const TChartFunction*>(&source)) {
        period_ = f->period_;
        periodStyle_ = f->periodStyle_;
        periodAlign_ = f->periodAlign_;
        return;
    }
    TComponent::Assign(source);
}

void TChartFunction::CheckPeriod(double v, TFunctionPeriodStyle style) const
{
    // NaN and infinite periods give no group size or range end either.
    if (!(v >= 0) || !std::isfinite(v)) throw ChartException(ChartMsg_FunctionPeriod);
    // A group of round(v) = 0 points would never move on.
    if (v > 0 && v < 0.5 && style == psNumPoints) throw ChartException(ChartMsg_FunctionPeriodNoPoints);
}

void TChartFunction::SetPeriod(double v)
{
    CheckPeriod(v, periodStyle_);
    if (v == period_) return;
    period_ = v;
    ReCalculate();
}

void TChartFunction::SetPeriodStyle(TFunctionPeriodStyle v)
{
    if (v == periodStyle_) return;
    CheckPeriod(period_, v);
    periodStyle_ = v;
    ReCalculate();
}

void TChartFunction::SetPeriodAlign(TFunctionPeriodAlign v)
{
    if (v == periodAlign_) return;
    periodAlign_ = v;
    ReCalculate();
}

// ---------------------------------------------------------------- the component stream

platform::TComponent* TChartFunction::GetParentComponent() const { return parent_; }

void TChartFunction::SetParentComponent(platform::TComponent* Parent)
{
    if (auto* s = dynamic_cast<TChartSeries*>(Parent)) SetParentSeries(s);
}

void TChartFunction::GetPublished(platform::TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Enumeration("PeriodAlign", {"paFirst", "paCenter", "paLast"}, [this] { return int(periodAlign_); },
                  [this](int v) { periodAlign_ = TFunctionPeriodAlign(v); })
        .SetDefault(paCenter);
    L.Enumeration("PeriodStyle", {"psNumPoints", "psRange"}, [this] { return int(periodStyle_); },
                  [this](int v) { periodStyle_ = TFunctionPeriodStyle(v); })
        .SetDefault(psNumPoints);
}

void TChartFunction::DefineProperties(platform::TFiler* Filer)
{
    TComponent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Period",
        [this](platform::TReader& r) {
            const double v = r.ReadFloat();
            if (!(v >= 0) || !std::isfinite(v)) throw platform::EReadError("Invalid property value");
            period_ = v;
        },
        [this](platform::TWriter& w) { w.WriteFloat(period_); }, period_ != startPeriod_);
}

void TChartFunction::Loaded()
{
    TComponent::Loaded();
    CheckPeriod(period_, periodStyle_);
}

namespace {

// The function classes a stream may hold.
struct RegisterFunctions {
    RegisterFunctions()
    {
        platform::RegisterClass("TChartFunction", [](platform::TComponent* owner) -> platform::TComponent* {
            return new TChartFunction(owner);
        });
        platform::RegisterClass("TChartMovingFunction", [](platform::TComponent* owner) -> platform::TComponent* {
            return new TChartMovingFunction(owner);
        });
    }
} registerFunctions;

}  // namespace

void TChartFunction::SetParentSeries(TChartSeries* s)
{
    if (s == parent_) return;
    TChartSeries* old = parent_;
    parent_ = s;
    if (old && old->SeriesFunction() == this) old->ReleaseFunction();
    if (s) s->SetFunction(this);
}

void TChartFunction::EndUpdate()
{
    if (!updating_) return;
    updating_ = false;
    ReCalculate();
}

void TChartFunction::ReCalculate()
{
    if (!updating_ && parent_) parent_->CheckDataSource();
}

TChartValueList& TChartFunction::ValueList(TChartSeries& source)
{
    const std::string& name = parent_->MandatoryValues().ValueSource();
    if (!name.empty())
        if (TChartValueList* l = source.GetYValueList(name)) return *l;
    return source.MandatoryValues();
}

void TChartFunction::AddFunctionXY(bool sourceVertical, double value, double position)
{
    if (sourceVertical) parent_->AddXY(position, value);
    else parent_->AddXY(value, position);
}

void TChartFunction::CalculatePeriod(TChartSeries& source, double position, int first, int last)
{
    AddFunctionXY(source.ValuesVertical(), Calculate(source, first, last), position);
}

void TChartFunction::CalculateAllPoints(TChartSeries& source, TChartValueList& list)
{
    const double v = Calculate(source, -1, -1);
    const double lo = list.MinValue(), mid = lo + list.Range() * 0.5;
    if (!parent_->FunctionResultAsPoint) {
        AddFunctionXY(source.ValuesVertical(), v, lo);
        AddFunctionXY(source.ValuesVertical(), v, list.MaxValue());
    } else if (parent_->ValuesVertical()) {
        AddFunctionXY(source.ValuesVertical(), v, mid);
    } else if (source.ValuesVertical()) {
        parent_->AddXY(v, mid);
    } else {
        parent_->AddXY(mid, v);
    }
}

void TChartFunction::CalculateByPeriod(TChartSeries& source, TChartValueList& list)
{
    const int n = source.Count();
    const bool byPoints = periodStyle_ == psNumPoints;
    const int group = RoundEven(period_);
    if (byPoints && group < 1) return;
    if (!byPoints && !(period_ > 0)) return;
    // Ranges so short that their count explodes (most of them empty) give nothing.
    if (!byPoints && (list.MaxValue() - list[0]) / period_ > kMaxRanges) return;
    TChartAxis* axis = parent_->ActiveHorizAxis();
    const TDateTimeStep step = FindDateTimeStep(period_);
    int f = 0;
    double t = list[0];
    while (f <= n - 1) {
        int l;
        double start, end;
        if (byPoints) {
            l = group + f - 1;
            start = list[f];
            end = l < n ? list[l] : 0;
        } else {
            start = t;
            const double before = t;
            if (axis && list.DateTime()) axis->IncDecDateTime(true, t, period_, step);
            else t += period_;
            // A period too small to move the range on ends the calculation.
            if (!(t > before)) return;
            end = t - 0.001 * period_;
            l = f;
            while (l < n - 1 && list[l + 1] < t) ++l;
        }
        const bool holdsPoint = byPoints || list[f] < t;
        if (l < n) {
            const double position = periodAlign_ == paFirst ? start : periodAlign_ == paLast ? end : (start + end) / 2;
            if (holdsPoint) CalculatePeriod(source, position, f, l);
            else AddFunctionXY(source.ValuesVertical(), 0, position);
        }
        if (holdsPoint) f = l + 1;
    }
}

void TChartFunction::DoCalculation(TChartSeries& source, TChartValueList& list)
{
    if (period_ != 0) CalculateByPeriod(source, list);
    else CalculateAllPoints(source, list);
}

void TChartFunction::PrepareForGallery(TCustomAxisPanel& chart)
{
    for (TChartSeries* s : chart.SeriesList()) s->PrepareForGallery(true);
}

void TChartFunction::AddPoints(TChartSeries* source)
{
    if (updating_ || !source || !parent_) return;
    const auto& sources = parent_->DataSources();
    if (sources.size() > 1) {
        TChartSeries* s = source;
        for (platform::TComponent* c : sources)
            if (auto* cs = dynamic_cast<TChartSeries*>(c); cs && cs->Count() > s->Count()) s = cs;
        for (int a = 0; a < s->Count(); ++a) {
            double x = s->NotMandatoryValues()[a];
            double y = CalculateMany(sources, a);
            if (!s->ValuesVertical()) std::swap(x, y);
            parent_->AddXY(x, y, s->GetXLabel(a));
        }
    } else if (source->Count() > 0) {
        DoCalculation(*source, source->NotMandatoryValues());
    }
}

TChartMovingFunction::TChartMovingFunction(platform::TComponent* owner) : TChartFunction(owner)
{
    period_ = startPeriod_ = 1;
}

void TChartMovingFunction::DoCalculation(TChartSeries& source, TChartValueList& list)
{
    const int p = RoundEven(period_);
    if (p < 1) return;
    for (int i = p - 1; i < source.Count(); ++i)
        AddFunctionXY(source.ValuesVertical(), Calculate(source, i - p + 1, i), list[i]);
}

// ---------------------------------------------------------------- loading sources

TChartSeriesSource::~TChartSeriesSource()
{
    Close();
    if (series_) {
        TChartSeries* s = series_;
        series_ = nullptr;
        s->RemoveFreeNotification(this);
        s->RemoveDataSource(this);
    }
}

void TChartSeriesSource::SetActive(bool v)
{
    if (v == active_) return;
    if (series_) {
        if (v && !Loading) Load();
        else if (!v && !Destroying() && !series_->Destroying()) series_->Clear();
    }
    active_ = v;
}

void TChartSeriesSource::Close()
{
    if (!Loading && !Destroying()) SetActive(false);
    else active_ = false;
}

void TChartSeriesSource::Refresh()
{
    if (active_ && !Loading) Load();
}

void TChartSeriesSource::Loaded()
{
    TComponent::Loaded();
    Refresh();
}

bool TChartSeriesSource::HasSeries(const TChartSeries& s) const
{
    const platform::TComponent* c = s.GetDataSource();
    return c && typeid(*c) == typeid(*this);
}

void TChartSeriesSource::SetSeries(TChartSeries* s)
{
    if (s == series_) return;
    Close();
    TChartSeries* old = series_;
    if (old) old->RemoveFreeNotification(this);
    series_ = s;
    if (s) {
        s->FreeNotification(this);
        if (s->GetDataSource() != this) s->SetDataSource(this);
    } else if (old && old->GetDataSource() == this) {
        old->SetDataSource(nullptr);
    }
}

void TChartSeriesSource::Notification(platform::TComponent* c, TOperation op)
{
    TComponent::Notification(c, op);
    if (op == opRemove && c == series_) {
        series_ = nullptr;
        active_ = false;
    }
}

std::vector<TChartSourceClass>& ChartSources()
{
    static std::vector<TChartSourceClass> sources;
    return sources;
}

}  // namespace chart
