#include "widgets/grid/GridIndexMap.h"

#include <algorithm>
#include <iterator>

#include "widgets/grid/ExObj.h"

namespace grid {

TGridIndexMap::TGridIndexMap() { std::fill(std::begin(visibleCols_), std::end(visibleCols_), true); }

TGridIndexMap::~TGridIndexMap() = default;

// ---------------------------------------------------------------- rows

int TGridIndexMap::RemapRow(int ARow) const
{
    int n = 0;
    for (const auto& h : hiddenRows_) {
        if (h->Idx >= ARow) break;  // ascending
        ++n;
    }
    return ARow - n;
}

int TGridIndexMap::RemapRowInv(int ARow) const
{
    if (ARow < 0) return -1;
    // Walk the records in order: each hidden index at or below the running result pushes it on.
    int r = ARow;
    for (const auto& h : hiddenRows_) {
        if (h->Idx <= r) ++r;
        else break;
    }
    return r;
}

TGridItem* TGridIndexMap::FindHiddenRow(int ARow) const
{
    for (auto it = hiddenRows_.rbegin(); it != hiddenRows_.rend(); ++it)
        if ((*it)->Idx == ARow) return it->get();
    return nullptr;
}

void TGridIndexMap::InsertHidden(std::unique_ptr<TGridItem> Item)
{
    auto at = std::upper_bound(hiddenRows_.begin(), hiddenRows_.end(), Item->Idx,
                               [](int idx, const std::unique_ptr<TGridItem>& h) { return idx < h->Idx; });
    hiddenRows_.insert(at, std::move(Item));
}

std::unique_ptr<TGridItem> TGridIndexMap::TakeHidden(std::size_t Index)
{
    std::unique_ptr<TGridItem> item = std::move(hiddenRows_[Index]);
    hiddenRows_.erase(hiddenRows_.begin() + std::ptrdiff_t(Index));
    return item;
}

void TGridIndexMap::InsertedRows(int Real, int Count)
{
    for (auto& h : hiddenRows_)
        if (h->Idx >= Real) h->Idx += Count;
}

void TGridIndexMap::RemovedRows(const std::vector<int>& Removed)
{
    for (auto& h : hiddenRows_) {
        const int below = int(std::lower_bound(Removed.begin(), Removed.end(), h->Idx) - Removed.begin());
        h->Idx -= below;
    }
}

// ---------------------------------------------------------------- columns

int TGridIndexMap::RemapCol(int ACol) const
{
    if (ACol >= kMappedColumns || hiddenColCount_ == 0 || ACol < 0) return ACol;
    int shown = -1;
    for (int j = 0; j < kMappedColumns; ++j)
        if (visibleCols_[j] && ++shown == ACol) return j;
    // Past the shown columns: the real columns beyond the map follow on.
    return ACol + hiddenColCount_;
}

int TGridIndexMap::RemapColInv(int ACol) const
{
    if (hiddenColCount_ == 0 || ACol <= 0) return ACol;
    int n = 0;
    for (int j = 0; j < ACol && j < kMappedColumns; ++j)
        if (!visibleCols_[j]) ++n;
    return ACol - n;
}

void TGridIndexMap::SetVisible(int ACol, bool Visible)
{
    if (ACol >= 0 && ACol < kColumnSlots) visibleCols_[ACol] = Visible;
}

void TGridIndexMap::SetSavedWidth(int ACol, int Width)
{
    if (ACol >= 0 && ACol < kColumnSlots) savedWidths_[ACol] = short(Width);
}

bool TGridIndexMap::HideColumn(int ACol, int Width)
{
    if (ACol < 0 || ACol >= kMappedColumns || !visibleCols_[ACol]) return false;
    savedWidths_[ACol] = short(Width);
    visibleCols_[ACol] = false;
    ++hiddenColCount_;
    return true;
}

bool TGridIndexMap::ShowColumn(int ACol)
{
    if (ACol < 0 || ACol >= kMappedColumns || visibleCols_[ACol]) return false;
    visibleCols_[ACol] = true;
    --hiddenColCount_;
    return true;
}

void TGridIndexMap::InsertedColumns(int ACol, int Count, int All)
{
    for (int i = All - 1; i >= ACol + Count; --i)
        if (i < kColumnSlots) visibleCols_[i] = visibleCols_[i - Count];
    for (int c = ACol; c < ACol + Count; ++c)
        if (c >= 0 && c < kColumnSlots) visibleCols_[c] = true;
}

void TGridIndexMap::RemovedColumns(int ACol, int Count, int End)
{
    for (int i = ACol; i < End; ++i)
        if (i + Count < kColumnSlots) visibleCols_[i] = visibleCols_[i + Count];
}

void TGridIndexMap::MovedColumn(int From, int To)
{
    if (From < 0 || To < 0 || From >= kMappedColumns || To >= kMappedColumns) return;
    auto move = [&](auto* a) {
        auto v = a[From];
        if (From < To) std::copy(a + From + 1, a + To + 1, a + From);
        else std::copy_backward(a + To, a + From, a + From + 1);
        a[To] = v;
    };
    move(visibleCols_);
    move(savedWidths_);
}

}  // namespace grid
