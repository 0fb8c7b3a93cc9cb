#include "widgets/plot/PlotData.h"

#include <climits>

#include "base/Exception.h"
#include "base/ScopeGuard.h"

namespace plot {

TRect2D Rect2D(Extended x1, Extended y1, Extended x2, Extended y2) {
    return TRect2D{x1, y1, x2, y2};
}

// ---- TPoints ----

void TPoints::Changed() {
    if (OnChange) OnChange(*this);
}

// The capacity changes only once the new array exists, so a failed allocation
// leaves the series as it was.
void TPoints::Reallocate(int newCapacity) {
    if (newCapacity <= 0) {
        capacity_ = 0;
        std::vector<TPoint2D>().swap(points_);
        return;
    }
    std::vector<TPoint2D> fresh(static_cast<std::size_t>(newCapacity));
    for (int i = 0; i < count_ && i < newCapacity; ++i) fresh[i] = points_[i];
    points_.swap(fresh);
    capacity_ = newCapacity;
}

void TPoints::Grow() {
    if (count_ < capacity_) return;
    const long long wanted = static_cast<long long>(capacity_) + allocBy_;
    if (wanted > INT_MAX) throw base::EOutOfMemory("Out of memory");
    Reallocate(static_cast<int>(wanted));
}

void TPoints::AddSimple(Extended X, Extended Y) {
    Grow();
    points_[count_] = TPoint2D{X, Y};
    ++count_;
    Changed();
}

void TPoints::Add(Extended X, Extended Y) {
    if (count_ == 0 || X > points_[count_ - 1].x) {
        AddSimple(X, Y);
        return;
    }
    int lo = 0;
    int hi = count_ - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (points_[mid].x >= X)
            hi = mid;
        else
            lo = mid + 1;
    }
    if (points_[lo].x == X) {
        points_[lo].y = Y;
    } else {
        Grow();
        for (int i = count_; i > lo; --i) points_[i] = points_[i - 1];
        points_[lo] = TPoint2D{X, Y};
        ++count_;
    }
    Changed();
}

TPoint2D TPoints::GetPoints(int Index) const {
    if (Index < 0 || Index >= count_) throw base::Exception();
    return points_[Index];
}

void TPoints::Delete(int Index) {
    if (Index < 0 || Index >= count_) throw base::Exception("Index is greater than Count!");
    for (int i = Index; i < count_ - 1; ++i) points_[i] = points_[i + 1];
    --count_;
    if (static_cast<long long>(capacity_) - 2LL * allocBy_ > count_) Reallocate(capacity_ - allocBy_);
    Changed();
}

void TPoints::Clear() {
    count_ = 0;
    Reallocate(0);
    Changed();
}

void TPoints::SetAllocBy(int Value) {
    if (Value > 0) allocBy_ = Value;
}

void TPoints::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    Changed();
}

void TPoints::SetCaption(const std::string& Value) {
    if (Value == caption_) return;
    caption_ = Value;
    Changed();
}

void TPoints::SetFunc(const std::string& Value) {
    func_ = Value;
    std::string filtered;
    filtered.reserve(Value.size());
    for (const char c : Value) {
        if ((c >= '(' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '^')
            filtered += c;
    }
    filteredFunc_ = std::move(filtered);
    Changed();
}

void TPoints::SetDrawStyle(TDrawStyle Value) {
    if (Value == drawStyle_) return;
    drawStyle_ = Value;
    Changed();
}

void TPoints::SetVisible(bool Value) {
    if (Value == visible_) return;
    visible_ = Value;
    Changed();
}

void TPoints::SetPointSymbol(char Value) {
    pointSymbol_ = Value;
    Changed();
}

void TPoints::SetFuncDomX1(Extended Value) {
    funcDomX1_ = Value;
    Changed();
}

void TPoints::SetFuncDomX2(Extended Value) {
    funcDomX2_ = Value;
    Changed();
}

// ---- TSeries ----

TSeries::~TSeries() {
    for (TPoints* p : items_) delete p;
}

void TSeries::Changed() {
    if (updateCount_ != 0)
        changed_ = true;
    else if (OnChange)
        OnChange(*this);
}

void TSeries::Add() {
    auto* p = new TPoints();
    p->OnChange = [this](TPoints& sender) { PointsChange(sender); };
    {
        base::ScopeFail undo([&] { delete p; });
        items_.push_back(p);
    }
    items_.shrink_to_fit();
    Changed();
}

TPoints& TSeries::GetSeries(int Index) const {
    if (Index < 0 || Index >= Count()) throw base::Exception();
    return *items_[Index];
}

void TSeries::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw base::Exception();
    delete items_[Index];
    items_.erase(items_.begin() + Index);
    items_.shrink_to_fit();
    Changed();
}

void TSeries::Clear() {
    for (TPoints* p : items_) delete p;
    std::vector<TPoints*>().swap(items_);
    Changed();
}

void TSeries::BringToFront(int Index) {
    if (Index < 0 || Index >= Count()) return;
    TPoints* p = items_[Index];
    items_.erase(items_.begin() + Index);
    items_.push_back(p);
}

void TSeries::PointsChange(TPoints& /*Sender*/) {
    Changed();
}

// Only the outermost BeginUpdate starts a fresh batch, so a change made before a
// nested BeginUpdate is still announced when the outermost EndUpdate closes it.
void TSeries::BeginUpdate() {
    if (updateCount_ == 0) changed_ = false;
    ++updateCount_;
}

void TSeries::EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
    if (updateCount_ == 0 && changed_) {
        changed_ = false;
        if (OnChange) OnChange(*this);
    }
}

}  // namespace plot
