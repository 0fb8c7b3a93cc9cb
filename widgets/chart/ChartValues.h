#pragma once
// The columns of a series' data (ordered lists of doubles with lazily computed
// statistics) and the sparse list of point labels.
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"

namespace chart {

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };
using TChartValues = std::vector<double>;
// Storage grows in steps of this many values.
extern int ChartDefaultCapacity;

class TChartValueList : public platform::TPersistent {
public:
    TChartValueList(TChartSeries* owner, const std::string& name);
    ~TChartValueList() override;
    void Assign(const platform::TPersistent& source) override;
    void GetPublished(platform::TPropertyList& L) override;
    void DefineProperties(platform::TFiler* Filer) override;

    virtual int AddChartValue(double value);
    int AddChartValue();
    virtual void ClearValues();
    virtual void InsertChartValue(int index, double value);
    virtual void Delete(int index);
    void Delete(int start, int quantity);
    virtual void Scroll();

    int Count() const { return count_; }
    int Capacity() const { return int(ValueArray.size()); }
    // Reads and writes outside 0..Count-1 raise ChartException.
    double Value(int index) const;
    double operator[](int index) const { return Value(index); }
    void SetValue(int index, double value);
    // Stores without telling the owner.
    void Put(int index, double value);
    double First() const { return Value(0); }
    double Last() const { return Value(count_ - 1); }
    int Locate(double value) const;
    int Locate(double value, int first, int last) const;
    std::string ToString(int index) const;
    // The statistics, recomputed first when stale.
    double GetMaxValue();
    double GetMinValue();
    double GetTotal();
    double GetTotalABS();
    double MaxValue() { return GetMaxValue(); }
    double MinValue() { return GetMinValue(); }
    double Total() { return GetTotal(); }
    double TotalABS() { return GetTotalABS(); }
    double Range() { return MaxValue() - MinValue(); }
    void RecalcStats();
    void RecalcStats(int start);
    bool StatsStale() const { return stale_; }

    void Exchange(int a, int b);
    void FillSequence();
    int CompareValueIndex(int a, int b) const;
    void Sort();

    bool DateTime() const { return dateTime_; }
    void SetDateTime(bool v);
    void InitDateTime(bool v);
    bool IsDateStored() const { return dateTime_ != DefaultDateTime; }
    std::string Name;
    TChartListOrder Order = loNone;
    double PendingValue = 0;
    const std::string& ValueSource() const { return valueSource_; }
    void SetValueSource(const std::string& v);
    TChartSeries* Owner() const { return owner_; }
    // Reads the obsolete multiplier property of old streams: only 1 is accepted silently.
    void ReadMultiplier(double value);

private:
    void Grow(int needed);
    void Check(int index) const;
    TChartSeries* owner_;
    // The storage; its length is the capacity.
    TChartValues ValueArray;
    int count_ = 0;
    bool stale_ = true, dateTime_ = false, DefaultDateTime = false;
    double min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
    std::string valueSource_;
};

// The value lists of one series; it owns them.
class TChartValueLists {
public:
    ~TChartValueLists() { Clear(); }
    TChartValueList* Get(int i) const { return items_[std::size_t(i)]; }
    TChartValueList* operator[](int i) const { return Get(i); }
    int Count() const { return int(items_.size()); }
    void Add(TChartValueList* l) { items_.push_back(l); }
    int IndexOf(const TChartValueList* l) const;
    void Remove(TChartValueList* l);
    void Put(int i, TChartValueList* l) { items_[std::size_t(i)] = l; }
    void Clear();

private:
    std::vector<TChartValueList*> items_;
};

// Shows a message in an error box; texts longer than 1023 characters are cut.
void ShowMessageUser(const std::string& text);

// Point labels, kept sparsely: a missing entry and an index past the end read empty.
class TLabelsList {
public:
    explicit TLabelsList(TChartSeries* owner) : owner_(owner) {}
    std::string GetLabel(int i) const;
    void SetLabel(int i, const std::string& text);
    void InsertLabel(int i, const std::string& text);
    void DeleteLabel(int i);
    void DeleteLabels(int start, int quantity);
    void Exchange(int a, int b);
    int IndexOfLabel(const std::string& text, bool caseSensitive = true) const;
    void Assign(const TLabelsList& other);
    void Clear() { items_.clear(); }
    int Count() const { return int(items_.size()); }
    bool HasLabel(int i) const { return i >= 0 && i < Count() && items_[std::size_t(i)] != nullptr; }

private:
    TChartSeries* owner_;
    std::vector<std::unique_ptr<std::string>> items_;
};

}  // namespace chart
