// The grid's line-oriented text files: CSV (written and read), plain text in padded
// columns and fixed-width columns. The formats are GridCSV's and GridPlainText's; here
// the files are read, and written whole or not at all.
#include "base/FileUtils.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridFileCells.h"
#include "widgets/grid/GridCSV.h"
#include "widgets/grid/GridFiles.h"
#include "widgets/grid/GridPlainText.h"

namespace grid {

std::string TExStringGrid::ExportCell(int ACol, int ARow)
{
    if (!IsBaseCell(ACol, ARow)) return {};
    return SaveCell(ACol, ARow);
}

std::string TExStringGrid::CSVText()
{
    TExGridFileCells cells(*this);
    return WriteGridCSV(cells, *this);
}

void TExStringGrid::OutputToCSV(const std::string& FileName, bool Append)
{
    WriteExportFile(FileName, CSVText(), Append, "Cannot Create file ");
}

void TExStringGrid::InputFromCSV(const std::string& FileName, bool Insert)
{
    std::string data;
    if (!base::ReadFile(FileName, data)) throw EExGridError("Cannot open file " + FileName);
    TExGridFileCells cells(*this);
    const std::string problem = ReadGridCSV(cells, data, *this, Insert);
    if (!problem.empty()) throw EExGridError("Cannot load file " + FileName + ": it has " + problem);
}

void TExStringGrid::SaveToASCII(const std::string& FileName)
{
    TExGridFileCells cells(*this);
    WriteExportFile(FileName, WriteGridPlainText(cells), false, "Cannot create file ");
}

void TExStringGrid::SaveToFixed(const std::string& FileName, TIntList& Widths)
{
    TExGridFileCells cells(*this);
    WriteExportFile(FileName, WriteGridFixedWidth(cells, Widths), false, "Cannot Create file ");
}

void TExStringGrid::LoadFromFixed(const std::string& FileName, TIntList& Positions)
{
    std::string data;
    if (!base::ReadFile(FileName, data)) throw EExGridError("File " + FileName + " not found");
    TExGridFileCells cells(*this);
    const std::string problem = ReadGridFixedWidth(cells, data, Positions);
    if (!problem.empty()) throw EExGridError("Cannot load file " + FileName + ": it has " + problem);
}

}  // namespace grid
