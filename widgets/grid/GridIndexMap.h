#pragma once
// Real and display indices of the grid. It owns the hidden rows (the records of their
// cells, ascending by real row) and the hidden-column map over the first kMappedColumns
// real columns, with the width each column had when it was hidden.
#include <cstddef>
#include <memory>
#include <vector>

#include "widgets/grid/GridLimits.h"

namespace grid {

class TGridItem;

class TGridIndexMap {
public:
    using TRowRecords = std::vector<std::unique_ptr<TGridItem>>;

    TGridIndexMap();
    ~TGridIndexMap();
    TGridIndexMap(const TGridIndexMap&) = delete;
    TGridIndexMap& operator=(const TGridIndexMap&) = delete;

    // ---- rows
    const TRowRecords& HiddenRows() const { return hiddenRows_; }
    int HiddenRowCount() const { return int(hiddenRows_.size()); }
    // Real row to display row (a hidden row maps to the display row after it), and back.
    int RemapRow(int ARow) const;
    int RemapRowInv(int ARow) const;
    // The record of a hidden real row; null when the row is shown.
    TGridItem* FindHiddenRow(int ARow) const;
    // Keeps the records ascending; a record with an index already present goes after it.
    void InsertHidden(std::unique_ptr<TGridItem> Item);
    // Takes the record at position Index out of the list.
    std::unique_ptr<TGridItem> TakeHidden(std::size_t Index);
    void ClearHiddenRows() { hiddenRows_.clear(); }
    // Real rows were inserted at Real: hidden rows from there on move down by Count.
    void InsertedRows(int Real, int Count);
    // The real rows Removed (ascending) leave the grid: hidden rows after them move up.
    void RemovedRows(const std::vector<int>& Removed);

    // ---- columns
    int HiddenColCount() const { return hiddenColCount_; }
    // Display column to real column, and back.
    int RemapCol(int ACol) const;
    int RemapColInv(int ACol) const;
    bool IsHiddenColumn(int ACol) const { return ACol >= 0 && ACol < kMappedColumns && !visibleCols_[ACol]; }
    // The map's own flag (true outside it); setting it does not count the column hidden.
    bool Visible(int ACol) const { return ACol >= 0 && ACol < kColumnSlots ? visibleCols_[ACol] : true; }
    void SetVisible(int ACol, bool Visible);
    // The width kept for a real column (0 outside the map).
    int SavedWidth(int ACol) const { return ACol >= 0 && ACol < kColumnSlots ? savedWidths_[ACol] : 0; }
    void SetSavedWidth(int ACol, int Width);
    // Counts a mapped, shown column hidden with its width; false when it cannot be.
    bool HideColumn(int ACol, int Width);
    // Counts a hidden column shown again; false when it was not hidden.
    bool ShowColumn(int ACol);
    // Count real columns were inserted at ACol of All real columns: the flags after it
    // move along and the new ones are shown.
    void InsertedColumns(int ACol, int Count, int All);
    // Count real columns at ACol were removed; End is the first column not refilled.
    void RemovedColumns(int ACol, int Count, int End);
    // A real column moved from From to To: its flag and kept width move along.
    void MovedColumn(int From, int To);

private:
    TRowRecords hiddenRows_;
    int hiddenColCount_ = 0;
    bool visibleCols_[kColumnSlots];
    short savedWidths_[kColumnSlots] = {};
};

}  // namespace grid
