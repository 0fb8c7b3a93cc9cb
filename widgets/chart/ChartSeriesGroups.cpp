// Series lists and groups.
#include "widgets/chart/ChartSeriesGroups.h"

#include <algorithm>

#include "widgets/chart/ChartSeries.h"

namespace chart {

void TCustomSeriesList::Remove(TChartSeries* s) { std::erase(items_, s); }

bool TCustomSeriesList::Contains(const TChartSeries* s) const
{
    return std::find(items_.begin(), items_.end(), s) != items_.end();
}

void TCustomSeriesList::ClearValues()
{
    for (TChartSeries* s : items_) s->Clear();
}

void TCustomSeriesList::FillSampleValues(int n)
{
    for (TChartSeries* s : items_) s->FillSampleValues(n);
}

void TSeriesGroup::SetSeries(const TCustomSeriesList& list)
{
    series_.Clear();
    for (int i = 0; i < list.Count(); ++i) series_.Add(list.Get(i));
}

TSeriesGroupActive TSeriesGroup::GetActive() const
{
    int active = 0;
    for (int i = 0; i < series_.Count(); ++i) active += series_.Get(i)->Active() ? 1 : 0;
    if (active == series_.Count()) return gaYes;
    return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive v)
{
    if (v == gaSome || v == GetActive()) return;
    for (int i = 0; i < series_.Count(); ++i) series_.Get(i)->SetActive(v == gaYes);
}

TSeriesGroup& TSeriesGroups::Add()
{
    items_.push_back(std::make_unique<TSeriesGroup>(chart_));
    return *items_.back();
}

int TSeriesGroups::Contains(const TChartSeries* s) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[std::size_t(i)]->Series().Contains(s)) return i;
    return -1;
}

bool TChartSeriesList::AllActive() const
{
    return std::all_of(items_.begin(), items_.end(), [](TChartSeries* s) { return s->Active(); });
}

void TChartSeriesList::SetAllActive(bool v)
{
    for (TChartSeries* s : items_) s->SetActive(v);
}

TSeriesGroup& TChartSeriesList::AddGroup(const std::string& name)
{
    TSeriesGroup& g = groups_.Add();
    g.Name = name;
    return g;
}

}  // namespace chart
