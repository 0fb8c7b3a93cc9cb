#pragma once
// The grid's CSV files: the writer of a cell store's save block and the reader into it,
// with the separator guessed when none is set. Both work on text; the grid reads and
// writes the files.
#include <string>

#include "widgets/grid/GridCellStore.h"

namespace grid {

// The CSV text of the save block: one record per row, ended by CR LF.
std::string WriteGridCSV(TGridCellStore& cells, const TGridFileOptions& options);

// The separator of a CSV text from its first two records, counting only outside quoted
// fields; 0 when none is found.
char FindCSVDelimiter(const std::string& data);

// Reads CSV text into the store from its first save column, at its first save row or,
// with insert, after its last row. Gives why the text is refused ("more than 16384
// columns, the most a grid takes"), the store then unchanged; empty when it was taken.
std::string ReadGridCSV(TGridCellStore& cells, const std::string& data, const TGridFileOptions& options, bool insert);

}  // namespace grid
