#pragma once
// The grid's print job: the print settings, the range and pages of the job under way,
// the page on paper and on the drawing canvas, the printer while it prints, the font
// scale of fit-to-page, the column widths and offsets of the last layout, and the cell
// sizes one layout keeps for the next.
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/Types.h"
#include "platform/controls/Grids.h"
#include "widgets/grid/GridLimits.h"

namespace platform {
class TPrinter;
}

namespace grid {

class TPrintSettings;

// Cell sizes measured for printing, kept from one layout to the next while nothing they
// depend on has changed: a print job, or a preview page after page, measures the grid once.
struct PrintMeasures {
    unsigned long long content = 0, look = 0;
    std::size_t settings = 0;
    int cols = 0, rows = 0;
    double k = 0;
    std::vector<platform::TSize> sizes;
};

class TGridPrintJob {
public:
    TGridPrintJob();
    ~TGridPrintJob();
    TGridPrintJob(const TGridPrintJob&) = delete;
    TGridPrintJob& operator=(const TGridPrintJob&) = delete;

    TPrintSettings& Settings() const { return *settings_; }

    // The last layout's column widths and left offsets (0.1 mm); a column outside the
    // tables raises EExGridError, setting one there does nothing.
    int ColWidth(int ACol) const;
    int ColOffset(int ACol) const;
    void SetColWidth(int ACol, int Width);
    void SetColOffset(int ACol, int Offset);

    // The pages a job prints, as OnPrintStart left them for NrOfPages counted pages:
    // false when nothing is to be printed.
    bool PagesValid(int NrOfPages) const { return FromPage != 0 && ToPage != 0 && ToPage >= FromPage && NrOfPages != 0; }
    // Whether page PageNr lies in FromPage .. ToPage.
    bool PageInRange(int PageNr) const { return PageNr >= FromPage && PageNr <= ToPage; }
    // Preview one page only.
    void SetPreviewPage(int Page) { FromPage = ToPage = Page; }

    // Font heights in units for a point size (with the fit-to-page scale), and back.
    int MapFontHeight(int Size) const;
    static int MapFontSize(int Height);

    // Cell sizes an earlier layout measured; taken (and so given up) by the next one.
    std::shared_ptr<PrintMeasures> TakeMeasures() { return std::move(measures_); }
    void KeepMeasures(std::shared_ptr<PrintMeasures> m) { measures_ = std::move(m); }
    bool HasMeasures() const { return measures_ != nullptr; }

    platform::TGridRect Range{};      // display cells of the job
    int FromPage = 1, ToPage = 1, PageCount = 0;
    platform::TRect PageRect{};       // the printer page in 0.1 mm
    platform::TRect DeviceRect{};     // the page on the drawing canvas, in its pixels
    platform::TPrinter* Target = nullptr;  // while a job prints
    double FontScale = 1.0;

private:
    std::unique_ptr<TPrintSettings> settings_;
    int colWidths_[kColumnSlots] = {}, colOffsets_[kColumnSlots] = {};
    std::shared_ptr<PrintMeasures> measures_;
};

}  // namespace grid
