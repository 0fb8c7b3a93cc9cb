#include "widgets/grid/GridPrintJob.h"

#include "widgets/grid/GridTypes.h"
#include "widgets/grid/PrintSettings.h"

namespace grid {

TGridPrintJob::TGridPrintJob() : settings_(std::make_unique<TPrintSettings>()) {}

TGridPrintJob::~TGridPrintJob() = default;

namespace {

void CheckColumn(int ACol)
{
    if (ACol < 0 || ACol >= kMappedColumns) throw EExGridError("Columns is not in valid range");
}

}  // namespace

int TGridPrintJob::ColWidth(int ACol) const
{
    CheckColumn(ACol);
    return colWidths_[ACol];
}

int TGridPrintJob::ColOffset(int ACol) const
{
    CheckColumn(ACol);
    return colOffsets_[ACol];
}

void TGridPrintJob::SetColWidth(int ACol, int Width)
{
    if (ACol >= 0 && ACol < kColumnSlots) colWidths_[ACol] = Width;
}

void TGridPrintJob::SetColOffset(int ACol, int Offset)
{
    if (ACol >= 0 && ACol < kColumnSlots) colOffsets_[ACol] = Offset;
}

int TGridPrintJob::MapFontHeight(int Size) const { return -int(Size * 254.0 / 72.0 * FontScale); }

int TGridPrintJob::MapFontSize(int Height) { return int(Height * 72.0 / 254.0); }

}  // namespace grid
