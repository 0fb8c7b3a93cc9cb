#pragma once
// Lists of series and named groups of series that are shown and hidden together.
#include <memory>
#include <string>
#include <vector>

namespace chart {

class TChartSeries;
class TCustomAxisPanel;

class TCustomSeriesList {
public:
    explicit TCustomSeriesList(TCustomAxisPanel* owner = nullptr) : owner_(owner) {}
    TChartSeries* Get(int i) const { return items_[std::size_t(i)]; }
    void Put(int i, TChartSeries* s) { items_[std::size_t(i)] = s; }
    int Count() const { return int(items_.size()); }
    void Add(TChartSeries* s) { items_.push_back(s); }
    void Remove(TChartSeries* s);
    bool Contains(const TChartSeries* s) const;
    void Clear() { items_.clear(); }
    void ClearValues();
    void FillSampleValues(int n);
    TCustomAxisPanel* Owner() const { return owner_; }

protected:
    std::vector<TChartSeries*> items_;

private:
    TCustomAxisPanel* owner_;
};

enum TSeriesGroupActive { gaYes, gaNo, gaSome };

class TSeriesGroup {
public:
    explicit TSeriesGroup(TCustomAxisPanel* chart) : series_(chart) {}
    std::string Name;
    TCustomSeriesList& Series() { return series_; }
    void SetSeries(const TCustomSeriesList& list);
    void Add(TChartSeries* s) { series_.Add(s); }
    TSeriesGroupActive GetActive() const;
    void SetActive(TSeriesGroupActive v);
    void Show() { SetActive(gaYes); }
    void Hide() { SetActive(gaNo); }

private:
    TCustomSeriesList series_;
};

class TSeriesGroups {
public:
    explicit TSeriesGroups(TCustomAxisPanel* chart) : chart_(chart) {}
    int Count() const { return int(items_.size()); }
    TSeriesGroup& Items(int i) const { return *items_[std::size_t(i)]; }
    TSeriesGroup& Add();
    // The index of the first group holding the series, or -1.
    int Contains(const TChartSeries* s) const;

private:
    TCustomAxisPanel* chart_;
    std::vector<std::unique_ptr<TSeriesGroup>> items_;
};

class TChartSeriesList : public TCustomSeriesList {
public:
    explicit TChartSeriesList(TCustomAxisPanel* owner = nullptr) : TCustomSeriesList(owner), groups_(owner) {}
    TSeriesGroups& Groups() { return groups_; }
    bool AllActive() const;
    void SetAllActive(bool v);
    TSeriesGroup& AddGroup(const std::string& name);

private:
    TSeriesGroups groups_;
};

}  // namespace chart
