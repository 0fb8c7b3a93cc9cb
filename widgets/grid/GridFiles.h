#pragma once
// The most a load or a paste may put into a grid.
#include <cstddef>
#include <string>

namespace grid {

// A load or paste beyond these is refused with EExGridError before any cell changes.
constexpr std::size_t kMaxLoadCols = 16384;
constexpr std::size_t kMaxLoadRows = 1048576;
constexpr std::size_t kMaxCellLength = 32767;

// What is too much of cols columns, rows rows or a cell of cellLength characters ("more
// than 16384 columns, the most a grid takes"); empty when they fit.
std::string LoadLimitProblem(std::size_t cols, std::size_t rows, std::size_t cellLength);

}  // namespace grid
