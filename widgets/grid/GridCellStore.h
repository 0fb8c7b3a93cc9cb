#pragma once
// What the grid's file readers and writers (GridCSV, GridPlainText, GridHTMLWriter,
// GridXMLWriter) see of a grid: the options its files are written and read with, and a
// narrow cell store (counts, the save block, saved texts and looks of cells, the calls
// that place loaded text). The grid gives a store over itself (ExGridFileCells.h); the
// functions need no window.
#include <string>
#include <vector>

#include "platform/Types.h"
#include "platform/controls/Controls.h"
#include "widgets/grid/GridOptions.h"
#include "widgets/grid/GridTypes.h"

namespace platform {
class TBrush;
class TFont;
}

namespace grid {

enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow };

// The options the grid's files are written and read with (public fields of the grid).
struct TGridFileOptions {
    char Delimiter = 0;  // 0: a comma when writing, found from the file when reading
    bool TildeCSV = false, QuoteEmptyCells = true, AlwaysQuote = false, OemConvert = false;
    bool SaveFixedCells = true, SaveHiddenCells = false;
    // The saved text of a cell: formatted, and with its markup (read by the grid's SaveCell).
    bool SaveFormatted = true, SaveHTMLTags = true;
    THTMLSettings HTMLSettings;
};

// A block of cells, both ends included.
struct TGridBlock {
    int col0 = 0, row0 = 0, col1 = -1, row1 = -1;
};

// The cells a reader or writer works on. Columns are real columns unless said otherwise;
// rows are display rows.
class TGridCellStore {
public:
    virtual ~TGridCellStore() = default;

    // Display columns and rows, the fixed ones among them and the real columns hidden.
    virtual int ColCount() = 0;
    virtual int RowCount() = 0;
    virtual int FixedCols() = 0;
    virtual int FixedRows() = 0;
    virtual int HiddenCols() { return 0; }
    // The real column of display column col.
    virtual int RealCol(int col) { return col; }
    // The block the writers save; the readers start at its first column and row.
    virtual TGridBlock SaveBlock() = 0;

    // The saved text of a cell; empty for a cell that a merged block covers.
    virtual std::string CellText(int col, int row) = 0;
    // Whether a cell starts its merged block (a cell in none does), and the further
    // columns (X) and rows (Y) the block spans.
    virtual bool IsBaseCell(int col, int row) { (void)col, (void)row; return true; }
    virtual platform::TPoint Span(int col, int row) { (void)col, (void)row; return {0, 0}; }
    // Whether display column col of a row is drawn as a fixed cell.
    virtual bool IsFixedCell(int col, int row) { return col < FixedCols() || row < FixedRows(); }
    virtual void Alignment(int col, int row, platform::TAlignment& h, TVAlignment& v)
    {
        (void)col, (void)row;
        h = platform::taLeftJustify;
        v = vtaTop;
    }
    // The colours, style and face a cell sets over the brush and font given.
    virtual void CellLook(int col, int row, platform::TBrush& brush, platform::TFont& font)
    {
        (void)col, (void)row, (void)brush, (void)font;
    }
    // The look of the page: the fixed cells' colour, the font's face, wrapping and links.
    virtual platform::TColor FixedColor() { return platform::clBtnFace; }
    virtual std::string FontName() { return {}; }
    virtual bool WordWrap() { return false; }
    virtual bool ShowURLs() { return false; }
    virtual bool FullURLs() { return false; }

    // Raised by the writers before the first row, before each row and after the last.
    virtual void ExportNotification(TGridExportState state, int row) { (void)state, (void)row; }
    // A CSV reader's or writer's progress in per cent, each time it changes.
    virtual void Progress(short percent) { (void)percent; }

    // Placing loaded text.
    virtual void SetColCount(int n) = 0;
    virtual void SetRowCount(int n) = 0;
    virtual void LoadCell(int col, int row, const std::string& text) = 0;
    // Fixed footer rows, kept below what is loaded.
    virtual int FooterRows() { return 0; }
    // Whether the last row is a shown floating footer's: its texts move below a load.
    virtual bool FloatingFooterRow() { return false; }
    // The last row's texts over all real columns, that row emptied; and back.
    virtual std::vector<std::string> TakeLastRow() { return {}; }
    virtual void PutLastRow(const std::vector<std::string>& texts) { (void)texts; }
    // After a load: every cell may have changed.
    virtual void Loaded() {}
};

}  // namespace grid
