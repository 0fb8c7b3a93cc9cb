#include "widgets/grid/GridFiles.h"

namespace grid {

std::string LoadLimitProblem(std::size_t cols, std::size_t rows, std::size_t cellLength)
{
    if (cols > kMaxLoadCols)
        return "more than " + std::to_string(kMaxLoadCols) + " columns, the most a grid takes";
    if (rows > kMaxLoadRows)
        return "more than " + std::to_string(kMaxLoadRows) + " rows, the most a grid takes";
    if (cellLength > kMaxCellLength)
        return "a cell of more than " + std::to_string(kMaxCellLength) + " characters, the most a cell takes";
    return {};
}

}  // namespace grid
