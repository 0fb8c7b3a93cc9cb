#pragma once
// The print layout of a grid and what it asks of the grid: TGridPrintSource is the narrow
// view of a grid the layout measures and draws cells through (its shape, merged blocks,
// cell texts, looks and graphics, and the handlers it raises); TGridPrintLayout runs a
// print job's range through it onto a canvas, page after page.
#include <string>

#include "platform/Classes.h"
#include "platform/Types.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGridEvents.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridPrintJob.h"
#include "widgets/grid/GridTypes.h"
#include "widgets/grid/PrintSettings.h"

namespace html {
struct HTMLDrawParams;
}

namespace grid {

// A cell's colours, font and alignment on paper.
struct TPrintCellLook {
    platform::TBrush brush;
    platform::TFont font;
    platform::TColor colorTo = platform::clNone;
    platform::TAlignment ha = platform::taLeftJustify;
    TVAlignment va = vtaTop;
    bool wrap = false;
};

// How the grid's texts are laid out, the same for every cell.
struct TPrintTextRules {
    bool enableHTML = true, wordWrap = true, multiline = false, enhTextSize = false;
    bool shortURLs = false;  // URLs print without their protocol
    char passwordChar = '*';
    platform::TPoint xyOffset{2, 2};  // the text's offset in a cell, pixels
};

// The grid as the layout sees it. c is a display column, rc a real column, r a display row;
// sizes are screen pixels.
class TGridPrintSource {
public:
    virtual ~TGridPrintSource() = default;

    // ---- shape
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual int FixedCols() const = 0;
    virtual int FixedRows() const = 0;
    virtual int FixedFooters() const = 0;
    virtual int ColWidth(int c) const = 0;
    virtual int RowHeight(int r) const = 0;
    virtual int RealCol(int c) const = 0;
    // Whether a row or column is selected, for printing the selected ones only.
    virtual bool RowSelected(int r) = 0;
    virtual bool ColSelected(int c) = 0;
    virtual bool IsMergedCell(int rc, int r) const = 0;
    virtual bool IsXMergedCell(int rc, int r) const = 0;
    virtual bool IsYMergedCell(int rc, int r) const = 0;
    virtual platform::TPoint BaseCell(int rc, int r) const = 0;
    virtual platform::TPoint CellSpan(int rc, int r) const = 0;

    // ---- content and look
    virtual TPrintTextRules TextRules() const = 0;
    // The cell's text as shown (formatted, a formula computed) and its kind; nothing for
    // cells that show no text (check boxes and images of data cells).
    virtual std::string CellText(int rc, int r, TTextType& kind) = 0;
    virtual bool IsPassword(int rc, int r) = 0;
    virtual void CellLook(int c, int r, TPrintCellLook& look) = 0;
    virtual int Rotation(int rc, int r) = 0;  // degrees, 0 when not turned
    virtual platform::TSize RichTextSize(int rc, int r) = 0;
    virtual void DrawRichText(int rc, int r, platform::TCanvas* canvas, const platform::TRect& rect) = 0;
    // The pictures, images and link colour markup is drawn with.
    virtual void HTMLSources(html::HTMLDrawParams& params) = 0;
    virtual TCellGraphic* CellGraphic(int rc, int r) = 0;
    // The graphic's size as printed (a node: its row's indentation).
    virtual platform::TSize GraphicSize(int rc, int r) = 0;
    // The indentation of column 0 of a row under a node (0 when there is none).
    virtual int ChildIndent(int r) = 0;
    virtual void DrawGraphic(platform::TCanvas* canvas, TCellGraphic& graphic, int rc, int r,
                             const platform::TRect& rect, platform::TAlignment ha, double scale) = 0;
    // Draws the tree lines of row r into rect; false when the grid shows no tree there.
    virtual bool DrawTreeLines(platform::TCanvas* canvas, int r, const platform::TRect& rect) = 0;
    virtual void CellBorder(int rc, int r, platform::TPen& pen, TCellBorders& sides) = 0;

    // ---- what measured sizes depend on: each grows with a change
    virtual unsigned long long ContentVersion() const = 0;
    virtual unsigned long long LookVersion() const = 0;

    // ---- the handlers the layout raises, with their sender, and the row about to print
    virtual const TExGridEvents& Events() const = 0;
    virtual platform::TObject* Sender() = 0;
    virtual void RowNotice(int r, bool partOfGrid) = 0;
};

class TGridPrintLayout {
public:
    // Lays out Job.Range of Source in Job's page onto Canvas and returns the number of pages;
    // prPreview and prPrint also draw the pages Job.FromPage .. Job.ToPage (Pages is the
    // total a page number shows). Keeps the column widths and offsets, the fit-to-page
    // scale and the measured cell sizes in Job.
    static int Run(TGridPrintSource& Source, TGridPrintJob& Job, platform::TCanvas* Canvas, TPrintMethod Method,
                   int Pages, bool SelectedOnly);
};

// Where text of extent e turned by angle degrees starts in R, aligned as asked.
platform::TPoint RotatedStart(const platform::TRect& R, int angle, platform::TSize e, platform::TAlignment ha,
                              TVAlignment va);

}  // namespace grid
