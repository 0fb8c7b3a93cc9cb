// Value lists and point labels.
#include "widgets/chart/ChartValues.h"

#include <algorithm>
#include <cctype>

#include "base/StrUtils.h"
#include "platform/forms/Dialogs.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartProcs.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

using namespace platform;

int ChartDefaultCapacity = 1000;

TChartValueList::TChartValueList(TChartSeries* owner, const std::string& name) : Name(name), owner_(owner)
{
    if (owner_) owner_->ValueLists().Add(this);
    ClearValues();
}

TChartValueList::~TChartValueList() = default;

void TChartValueList::Assign(const TPersistent& source)
{
    auto* l = dynamic_cast<const TChartValueList*>(&source);
    if (!l) return;
    Order = l->Order;
    dateTime_ = l->dateTime_;
    valueSource_ = l->valueSource_;
}

void TChartValueList::ClearValues()
{
    count_ = 0;
    TChartValues().swap(ValueArray);
    stale_ = true;
}

void TChartValueList::Grow(int needed)
{
    if (needed <= int(ValueArray.size())) return;
    std::size_t cap = ValueArray.size();
    while (int(cap) < needed) cap += std::size_t(std::max(1, ChartDefaultCapacity));
    ValueArray.resize(cap);
}

void TChartValueList::Check(int index) const
{
    if (index < 0 || index >= count_) throw ChartException(ChartFormat(ChartMsg_SeriesDelete, index, count_ - 1));
}

void TChartValueList::InsertChartValue(int index, double value)
{
    index = std::clamp(index, 0, count_);
    Grow(count_ + 1);
    std::move_backward(ValueArray.begin() + index, ValueArray.begin() + count_, ValueArray.begin() + count_ + 1);
    ValueArray[std::size_t(index)] = value;
    ++count_;
    stale_ = true;
}

int TChartValueList::AddChartValue(double value)
{
    PendingValue = value;
    return AddChartValue();
}

int TChartValueList::AddChartValue()
{
    const int n = count_;
    const double v = PendingValue;
    int index = n;
    if (Order != loNone && n > 0 &&
        !((Order == loAscending && v >= ValueArray[std::size_t(n - 1)]) ||
          (Order == loDescending && v <= ValueArray[std::size_t(n - 1)]))) {
        int a = n - 1;
        if (Order == loAscending)
            while (a >= 0 && ValueArray[std::size_t(a)] > v) --a;
        else
            while (a >= 0 && ValueArray[std::size_t(a)] < v) --a;
        index = a + 1;
    }
    InsertChartValue(index, v);
    return index;
}

void TChartValueList::Delete(int index)
{
    Check(index);
    ValueArray.erase(ValueArray.begin() + index);
    ValueArray.push_back(0);
    --count_;
    stale_ = true;
}

void TChartValueList::Delete(int start, int quantity)
{
    if (quantity <= 0) return;
    Check(start);
    Check(start + quantity - 1);
    std::move(ValueArray.begin() + start + quantity, ValueArray.begin() + count_, ValueArray.begin() + start);
    count_ -= quantity;
    stale_ = true;
}

void TChartValueList::Scroll()
{
    if (count_ < 2) return;
    std::rotate(ValueArray.begin(), ValueArray.begin() + 1, ValueArray.begin() + count_);
}

double TChartValueList::Value(int index) const
{
    Check(index);
    return ValueArray[std::size_t(index)];
}

void TChartValueList::SetValue(int index, double value)
{
    Check(index);
    ValueArray[std::size_t(index)] = value;
    stale_ = true;
    if (owner_) owner_->NotifyValue(veModify, index);
}

void TChartValueList::Put(int index, double value)
{
    Check(index);
    ValueArray[std::size_t(index)] = value;
    stale_ = true;
}

int TChartValueList::Locate(double value) const { return Locate(value, 0, count_ - 1); }

int TChartValueList::Locate(double value, int first, int last) const
{
    if (last < first) return -1;
    first = std::max(0, first);
    last = std::min(count_ - 1, last);
    for (int i = first; i <= last; ++i)
        if (ValueArray[std::size_t(i)] == value) return i;
    return -1;
}

std::string TChartValueList::ToString(int index) const { return base::FloatToStr(Value(index)); }

void TChartValueList::RecalcStats()
{
    if (count_ > int(ValueArray.size())) count_ = int(ValueArray.size());
    if (count_ <= 0) {
        min_ = max_ = total_ = totalAbs_ = 0;
        stale_ = false;
        return;
    }
    RecalcStats(0);
}

void TChartValueList::RecalcStats(int start)
{
    if (count_ <= 0) return;
    if (start == 0) {
        min_ = max_ = total_ = ValueArray[0];
        totalAbs_ = std::abs(ValueArray[0]);
        start = 1;
    }
    for (int i = start; i < count_; ++i) {
        const double v = ValueArray[std::size_t(i)];
        if (v < min_) min_ = v;
        else if (v > max_) max_ = v;
        total_ += v;
        totalAbs_ += std::abs(v);
    }
    stale_ = false;
}

double TChartValueList::GetMaxValue()
{
    if (stale_) RecalcStats();
    return max_;
}
double TChartValueList::GetMinValue()
{
    if (stale_) RecalcStats();
    return min_;
}
double TChartValueList::GetTotal()
{
    if (stale_) RecalcStats();
    return total_;
}
double TChartValueList::GetTotalABS()
{
    if (stale_) RecalcStats();
    return totalAbs_;
}

void TChartValueList::Exchange(int a, int b)
{
    Check(a);
    Check(b);
    std::swap(ValueArray[std::size_t(a)], ValueArray[std::size_t(b)]);
    stale_ = true;
    if (owner_) owner_->NotifyValue(veModify, a);
}

void TChartValueList::FillSequence()
{
    for (int i = 0; i < count_; ++i) ValueArray[std::size_t(i)] = i;
    stale_ = true;
    if (owner_) owner_->NotifyValue(veModify, 0);
}

int TChartValueList::CompareValueIndex(int a, int b) const
{
    const double x = ValueArray[std::size_t(a)], y = ValueArray[std::size_t(b)];
    const int r = x < y ? -1 : x > y ? 1 : 0;
    return Order == loDescending ? -r : r;
}

void TChartValueList::Sort()
{
    if (Order == loNone || count_ < 2) return;
    ChartSort(0, count_ - 1, [this](int a, int b) { return CompareValueIndex(a, b); },
              [this](int a, int b) {
                  if (owner_) owner_->SwapValueIndex(a, b);
                  else std::swap(ValueArray[std::size_t(a)], ValueArray[std::size_t(b)]);
              });
}

void TChartValueList::SetDateTime(bool v)
{
    if (dateTime_ == v) return;
    dateTime_ = v;
    if (owner_) owner_->Repaint();
}

void TChartValueList::InitDateTime(bool v) { dateTime_ = DefaultDateTime = v; }

void TChartValueList::SetValueSource(const std::string& v)
{
    if (valueSource_ == v) return;
    valueSource_ = v;
}

void TChartValueList::ReadMultiplier(double value)
{
    if (value != 1)
        ShowMessageUser("Error: Multiplier property is obsolete.\r\nEnable the multiplier option in the chart engine's "
                        "build definitions and rebuild.");
}

void ShowMessageUser(const std::string& text) { MessageDlg(text.substr(0, 1023), mtError, mbOK); }

// ---------------------------------------------------------------- TChartValueLists

int TChartValueLists::IndexOf(const TChartValueList* l) const
{
    auto it = std::find(items_.begin(), items_.end(), l);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TChartValueLists::Remove(TChartValueList* l)
{
    auto it = std::find(items_.begin(), items_.end(), l);
    if (it != items_.end()) items_.erase(it);
}

void TChartValueLists::Clear()
{
    std::vector<TChartValueList*> old;
    old.swap(items_);
    for (TChartValueList* l : old) delete l;
}

// ---------------------------------------------------------------- TLabelsList

std::string TLabelsList::GetLabel(int i) const { return HasLabel(i) ? *items_[std::size_t(i)] : std::string(); }

void TLabelsList::SetLabel(int i, const std::string& text)
{
    if (i < 0) return;
    if (text.empty()) {
        if (i < Count()) items_[std::size_t(i)].reset();
    } else {
        if (i >= Count()) items_.resize(std::size_t(i) + 1);
        items_[std::size_t(i)] = std::make_unique<std::string>(text);
    }
    if (owner_) owner_->Repaint();
}

void TLabelsList::InsertLabel(int i, const std::string& text)
{
    if (i < 0) return;
    if (text.empty() && items_.empty()) return;
    if (i > Count()) items_.resize(std::size_t(i));
    items_.insert(items_.begin() + i, text.empty() ? nullptr : std::make_unique<std::string>(text));
}

void TLabelsList::DeleteLabel(int i)
{
    if (i >= 0 && i < Count()) items_.erase(items_.begin() + i);
}

void TLabelsList::DeleteLabels(int start, int quantity)
{
    if (start < 0 || start >= Count() || quantity <= 0) return;
    items_.erase(items_.begin() + start, items_.begin() + std::min(Count(), start + quantity));
}

void TLabelsList::Exchange(int a, int b)
{
    const int n = std::max(a, b) + 1;
    if (n > Count()) items_.resize(std::size_t(n));
    std::swap(items_[std::size_t(a)], items_[std::size_t(b)]);
}

int TLabelsList::IndexOfLabel(const std::string& text, bool caseSensitive) const
{
    auto upper = [](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        return s;
    };
    const std::string want = caseSensitive ? text : upper(text);
    for (int i = 0; i < Count(); ++i) {
        const std::string l = GetLabel(i);
        if ((caseSensitive ? l : upper(l)) == want) return i;
    }
    return -1;
}

void TLabelsList::Assign(const TLabelsList& other)
{
    items_.clear();
    for (int i = 0; i < other.Count(); ++i) InsertLabel(i, other.GetLabel(i));
}

}  // namespace chart
