#pragma once
// What the grid's text readers and writers share: the most a load or a paste may put into
// a grid, and writing an export whole with the system's reason on failure.
#include <cstddef>
#include <string>
#include <string_view>

namespace grid {

// A load or paste beyond these is refused with EExGridError before any cell changes.
constexpr std::size_t kMaxLoadCols = 16384;
constexpr std::size_t kMaxLoadRows = 1048576;
constexpr std::size_t kMaxCellLength = 32767;
// Columns times rows: every whole-grid walk costs this much.
constexpr std::size_t kMaxLoadCells = std::size_t(1) << 24;

// What is too much of cols columns, rows rows (or of the two together) or a cell of
// cellLength characters ("more than 16384 columns, the most a grid takes"); empty when
// they fit.
std::string LoadLimitProblem(std::size_t cols, std::size_t rows, std::size_t cellLength);

// Writes data to FileName whole or not at all (with Append, after what the file holds);
// on failure raises EExGridError with failText, the file name and the system's reason.
void WriteExportFile(const std::string& FileName, std::string_view data, bool Append, const std::string& failText);

}  // namespace grid
