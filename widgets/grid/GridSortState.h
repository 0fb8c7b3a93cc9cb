#pragma once
// The grid's sort, filter and find state: the sort index and column order, the sort
// keys, the pre-sort order and swaps of the last sort, the filter switch, and the last
// search with its place; with the rules that work on this state alone: matching a cell,
// the sort index both ways, the column order and keys after a move (GridSortState.cpp).
#include <string>

#include "platform/Types.h"
#include "widgets/grid/ExObj.h"

namespace grid {

// The last search and where it found.
struct TFindState {
    platform::TPoint findPos{-1, -1};
    std::string findText;  // upper case unless the case must match
    std::u16string findWideText;
    unsigned findParams = 0;

    // The parameters a match depends on (the grid's find parameters of the same values).
    static constexpr unsigned kMatchCase = 1, kMatchFull = 2, kMatchRegular = 4, kMatchStart = 16,
                              kIgnoreTags = 512;

    // A new search for text.
    void SetText(const std::string& text, unsigned params);
    // Whether a cell's text matches the search: found in it (at its start, or the whole
    // text, as asked), or by a pattern; "\"\"" finds empty cells.
    bool Matches(std::string cell) const;
    bool Matches(const std::u16string& cell) const;
};

// Sort order, column order, sort keys and the bookkeeping of the last sort.
struct TSortState {
    TIntList sortIndex, columnOrder;
    TSortIndexList sortKeys;
    TIntList preSortOrder;
    int swapCount = 0;
    int lastSortSign = 0;

    // The row a sorted row came from, and the row where an original row went (the row
    // count past the end when it is not in the index).
    int SortedRow(int row) const { return row >= 0 && row < sortIndex.Count() ? sortIndex.Items(row) : row; }
    int UnsortedRow(int row) const
    {
        const int i = sortIndex.IndexOf(row);
        return i < 0 ? sortIndex.Count() : i;
    }
    // Columns in their first order, and the order after a column moved.
    void ResetColumnOrder(int cols);
    void ColumnMoved(int from, int to);
    // Where column c stands after the column at from moved to to.
    static int FollowColumn(int c, int from, int to);
    // The sort keys stay on the columns they named.
    void KeysFollow(int from, int to);
    // The rows a sort swapped: counted, and swapped in the pre-sort order when it has them.
    void Swapped(int row1, int row2);
};

// The filter switch and the fixed rows it kept.
struct TFilterState {
    bool filterActive = false;
    int filterFixedRows = 0;

    // Switches the filter; false when it was so already. Switching on keeps the fixed rows
    // to give back when it goes off.
    bool Switch(bool on, int fixedRows)
    {
        if (on == filterActive) return false;
        filterActive = on;
        if (on) filterFixedRows = fixedRows;
        return true;
    }
};

}  // namespace grid
