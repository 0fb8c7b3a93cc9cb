#pragma once
// The grid's plain-text files: padded columns (written only) and fixed-width columns
// (written and read) of a cell store. Lines end with CR LF; the grid reads and writes
// the files.
#include <string>

#include "widgets/grid/GridCellStore.h"

namespace grid {

class TIntList;

// Every row, fixed ones included, in columns as wide as their longest line plus one blank,
// each cell aligned as it is drawn; further lines of a cell continue under its column.
std::string WriteGridPlainText(TGridCellStore& cells);

// The save block in columns of the given widths, one per save column: a text is cut or
// padded with blanks to its width. Widths the list lacks are added to it: the column's
// longest line plus one.
std::string WriteGridFixedWidth(TGridCellStore& cells, TIntList& widths);

// Reads fixed-width lines into the store from its first save column and row. positions
// are the 1-based starts of the columns plus the end of the last; a list that does not
// start at 1 or ascend raises EExGridError. Gives why the text is refused (too many rows
// or columns for a grid), the store then unchanged; empty when it was taken.
std::string ReadGridFixedWidth(TGridCellStore& cells, const std::string& data, const TIntList& positions);

}  // namespace grid
