#pragma once
// The grid's sort, filter and find state: the sort index and column order, the sort
// keys, the pre-sort order and swaps of the last sort, the filter switch, and the last
// search with its place.
#include <string>

#include "platform/Types.h"
#include "widgets/grid/ExObj.h"

namespace grid {

// The last search and where it found.
struct TFindState {
    platform::TPoint findPos{-1, -1};
    std::string findText;
    std::u16string findWideText;
    unsigned findParams = 0;
};

// Sort order, column order, sort keys and the bookkeeping of the last sort.
struct TSortState {
    TIntList sortIndex, columnOrder;
    TSortIndexList sortKeys;
    TIntList preSortOrder;
    int swapCount = 0;
    int lastSortSign = 0;
};

// The filter switch and the fixed rows it kept.
struct TFilterState {
    bool filterActive = false;
    int filterFixedRows = 0;
};

}  // namespace grid
