#include "widgets/grid/GridFiles.h"

#include "base/FileUtils.h"
#include "widgets/grid/GridTypes.h"

namespace grid {

std::string LoadLimitProblem(std::size_t cols, std::size_t rows, std::size_t cellLength)
{
    if (cols > kMaxLoadCols)
        return "more than " + std::to_string(kMaxLoadCols) + " columns, the most a grid takes";
    if (rows > kMaxLoadRows)
        return "more than " + std::to_string(kMaxLoadRows) + " rows, the most a grid takes";
    if (cols * rows > kMaxLoadCells)
        return "more than " + std::to_string(kMaxLoadCells) + " cells, the most a grid takes";
    if (cellLength > kMaxCellLength)
        return "a cell of more than " + std::to_string(kMaxCellLength) + " characters, the most a cell takes";
    return {};
}

void WriteExportFile(const std::string& FileName, std::string_view data, bool Append, const std::string& failText)
{
    std::string all;
    if (Append && base::FileExists(FileName)) {
        if (!base::ReadFile(FileName, all))
            throw EExGridError(failText + FileName + ". Cannot read \"" + FileName + "\" to append to it");
        all.append(data);
        data = all;
    }
    std::string why;
    if (!base::WriteFileAtomic(FileName, data, &why))
        throw EExGridError(failText + FileName + (why.empty() ? std::string() : ". " + why));
}

}  // namespace grid
