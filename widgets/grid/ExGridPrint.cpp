// Printing and print preview: the print job's range, pages and printer around a run of
// the print layout, which sees the grid through TPrintView.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/Printer.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridPrintLayout.h"
#include "widgets/html/HtmlEngine.h"

using namespace platform;

namespace grid {

// The grid as its print layout sees it.
class TExStringGrid::TPrintView final : public TGridPrintSource {
public:
    explicit TPrintView(TExStringGrid& grid) : g(grid) {}

    int ColCount() const override { return g.ColCount(); }
    int RowCount() const override { return g.RowCount(); }
    int FixedCols() const override { return g.FixedCols(); }
    int FixedRows() const override { return g.FixedRows(); }
    int FixedFooters() const override { return g.FixedFooters(); }
    int ColWidth(int c) const override { return g.ColWidths(c); }
    int RowHeight(int r) const override { return g.RowHeights(r); }
    int RealCol(int c) const override { return g.RemapCol(c); }
    bool RowSelected(int r) override
    {
        if (g.MouseActions.DisjunctRowSelect) return g.GetRowSelect(g.MouseActions.RowSelectPersistent ? g.RemapRowInv(r) : r);
        const TGridRect s = g.Selection();
        return r >= s.Top && r <= s.Bottom;
    }
    bool ColSelected(int c) override
    {
        if (g.MouseActions.DisjunctColSelect) return g.GetColSelect(c);
        const TGridRect s = g.Selection();
        return c >= s.Left && c <= s.Right;
    }
    bool IsMergedCell(int rc, int r) const override { return g.IsMergedCell(rc, r); }
    bool IsXMergedCell(int rc, int r) const override { return g.IsXMergedCell(rc, r); }
    bool IsYMergedCell(int rc, int r) const override { return g.IsYMergedCell(rc, r); }
    TPoint BaseCell(int rc, int r) const override { return g.BaseCell(rc, r); }
    TPoint CellSpan(int rc, int r) const override { return g.CellSpan(rc, r); }

    TPrintTextRules TextRules() const override
    {
        TPrintTextRules t;
        t.enableHTML = g.EnableHTML;
        t.wordWrap = g.WordWrap();
        t.multiline = g.Multilinecells;
        t.enhTextSize = g.EnhTextSize;
        t.shortURLs = g.URLShow && !g.URLFull;
        t.passwordChar = g.PasswordChar;
        t.xyOffset = g.XYOffset;
        return t;
    }
    std::string CellText(int rc, int r, TTextType& kind) override
    {
        kind = TTextType::ttText;
        const TCellType t = g.GetCellType(rc, r);
        if (t == ctDataCheckBox || t == ctDataImage || t == ctVirtCheckBox) return {};
        std::string s = g.GetFormattedCell(rc, r);
        if (s.empty()) return s;
        kind = TextType(s, g.EnableHTML);
        if (kind == TTextType::ttFormula) g.CalcCell(rc, r, s);
        return s;
    }
    bool IsPassword(int rc, int r) override
    {
        bool password = false;
        g.GetCellPassword(rc, r, password);
        return password;
    }
    void CellLook(int c, int r, TPrintCellLook& l) override
    {
        TGridDrawState st{};
        g.GetVisualProperties(c, r, st, true, false, true, l.brush, l.colorTo, l.font, l.ha, l.va, l.wrap);
    }
    int Rotation(int rc, int r) override
    {
        int angle = 0;
        return g.IsRotated(rc, r, angle) ? angle : 0;
    }
    TSize RichTextSize(int rc, int r) override { return g.RichTextSize(rc, r, false, 0); }
    void DrawRichText(int rc, int r, TCanvas* cv, const TRect& R) override { g.RTFPaint(rc, r, cv, R, false); }
    void HTMLSources(html::HTMLDrawParams& p) override
    {
        p.PictureCache = g.PictureCache();
        p.PictureContainer = g.PictureContainer();
        p.Images = g.GridImages();
        p.LinkColor = g.URLColor;
    }
    TCellGraphic* CellGraphic(int rc, int r) override { return g.GetCellGraphic(rc, r); }
    TSize GraphicSize(int rc, int r) override
    {
        const TCellGraphic* gr = g.GetCellGraphic(rc, r);
        if (gr && gr->CellType == ctNode) return {std::max(g.GetNodeLevel(r), 1) * g.CellNode().NodeIndent(), 9};
        const TPoint cs = g.CellSize(g.RemapColInv(rc), r);
        return g.GetPrintGraphicSize(rc, r, cs.X, cs.Y, 1.0);
    }
    int ChildIndent(int r) override
    {
        if (!g.HasNodes() || r < g.FixedRows() || g.GetCellGraphic(0, r)) return 0;
        return g.NodeIndent(r);
    }
    void DrawGraphic(TCanvas* cv, TCellGraphic& gr, int rc, int r, const TRect& R, TAlignment ha,
                     double scale) override
    {
        g.DrawCellGraphic(cv, gr, rc, r, R, ha, false, scale);
    }
    bool DrawTreeLines(TCanvas* cv, int r, const TRect& R) override
    {
        if (!g.HasNodes() || r < g.FixedRows() || !g.CellNode().ShowTree()) return false;
        g.DrawTreeLines(cv, r, R);
        return true;
    }
    void CellBorder(int rc, int r, TPen& pen, TCellBorders& sides) override { g.GetCellPrintBorder(rc, r, pen, sides); }

    unsigned long long ContentVersion() const override { return g.ContentVersion(); }
    unsigned long long LookVersion() const override { return g.lookVersion_; }

    const TExGridEvents& Events() const override { return g; }
    TObject* Sender() override { return &g; }
    void RowNotice(int r, bool partOfGrid) override { g.ExportNotification(partOfGrid ? esExportSelRow : esExportNewRow, r); }

private:
    TExStringGrid& g;
};

// ---------------------------------------------------------------- grid operations

void TExStringGrid::SetPrintSettings(const TPrintSettings& v) { printJob_.Settings().Assign(v); }

int TExStringGrid::MapFontHeight(int Size) const { return printJob_.MapFontHeight(Size); }

int TExStringGrid::MapFontSize(int Height) const { return TGridPrintJob::MapFontSize(Height); }

namespace {

bool InGrid(const TGridRect& r, int cols, int rows)
{
    return r.Left >= 0 && r.Top >= 0 && r.Right < cols && r.Bottom < rows && r.Left <= r.Right && r.Top <= r.Bottom;
}

void CheckRange(const TGridRect& r, int cols, int rows)
{
    if (!InGrid(r, cols, rows)) throw EExGridError("Print range is outside the grid");
}

}  // namespace

int TExStringGrid::BuildPages(TCanvas* Canvas, TPrintMethod Method, int Pages, bool SelectedOnly)
{
    if (!Canvas || !InGrid(printJob_.Range, ColCount(), RowCount())) return 0;
    const int saved = SaveDC(Canvas->Handle());
    struct Restore {
        TExStringGrid& g;
        HDC dc;
        int saved;
        ~Restore()
        {
            g.printJob_.FontScale = 1.0;
            RestoreDC(dc, saved);
        }
    } restore{*this, Canvas->Handle(), saved};
    if (Method == prPreview || Method == prPrint)
        IntersectClipRect(Canvas->Handle(), printJob_.DeviceRect.Left, printJob_.DeviceRect.Top, printJob_.DeviceRect.Right,
                          printJob_.DeviceRect.Bottom);
    TPrintView view(*this);
    return TGridPrintLayout::Run(view, printJob_, Canvas, Method, Pages, SelectedOnly);
}

void TExStringGrid::PrivatePrintRect(const TGridRect& GridRect, bool SelectedOnly)
{
    CheckRange(GridRect, ColCount(), RowCount());
    ExportNotification(esExportStart, -1);
    printJob_.Range = GridRect;
    TPrinter* printer = Printer();
    const TPrinterOrientation oldOrientation = printer->Orientation();
    printer->SetOrientation(PrintSettings().Orientation);
    struct Reset {
        TPrinter* p;
        TPrinterOrientation o;
        TExStringGrid& g;
        ~Reset()
        {
            // only a job this print began is ended here
            if (g.printJob_.Target && p->Printing()) p->Abort();
            g.printJob_.Target = nullptr;
            if (!p->Printing()) p->SetOrientation(o);
        }
    } reset{printer, oldOrientation, *this};
    const int ppi = printer->PixelsPerInch();
    const int pw = printer->PageWidth(), ph = printer->PageHeight();
    printJob_.PageRect = {0, 0, int(std::lround(254.0 / ppi * pw)), int(std::lround(254.0 / ppi * ph))};
    printJob_.DeviceRect = {0, 0, pw, ph};
    TBitmap measure(1, 1);
    const int n = BuildPages(measure.Canvas(), prCalcPrint, -1, SelectedOnly);
    printJob_.FromPage = 1;
    printJob_.ToPage = n;
    if (OnPrintStart) OnPrintStart(this, n, printJob_.FromPage, printJob_.ToPage);
    if (!printJob_.PagesValid(n)) return;
    printJob_.PageCount = printJob_.ToPage;
    printer->Title = PrintSettings().JobName;
    printer->BeginDoc();
    printJob_.Target = printer;  // from here on a failure aborts the job
    BuildPages(printer->Canvas(), prPrint, n, SelectedOnly);
    printer->EndDoc();
    printJob_.Target = nullptr;
    ExportNotification(esExportDone, -1);
}

void TExStringGrid::Print() { PrivatePrintRect({0, 0, ColCount() - 1, RowCount() - 1}, false); }
void TExStringGrid::PrintSelection() { PrivatePrintRect(Selection(), false); }
void TExStringGrid::PrintRect(const TGridRect& GridRect) { PrivatePrintRect(GridRect, false); }
void TExStringGrid::PrintSelectedRows() { PrivatePrintRect({0, 0, ColCount() - 1, RowCount() - 1}, true); }
void TExStringGrid::PrintSelectedCols() { PrivatePrintRect({0, 0, ColCount() - 1, RowCount() - 1}, true); }

void TExStringGrid::PrivatePrintPreviewRect(TCanvas* Canvas, const TRect& Rect, const TGridRect& GridRect,
                                            bool SelectedOnly)
{
    CheckRange(GridRect, ColCount(), RowCount());
    printJob_.Range = GridRect;
    printJob_.DeviceRect = Rect;
    const int from = printJob_.FromPage, to = printJob_.ToPage;
    printJob_.PageCount = BuildPages(Canvas, prCalcPreview, -1, SelectedOnly);
    printJob_.FromPage = from;
    printJob_.ToPage = to;
    BuildPages(Canvas, prPreview, printJob_.PageCount, SelectedOnly);
}

void TExStringGrid::PrintPreview(TCanvas* Canvas, const TRect& Rect)
{
    PrivatePrintPreviewRect(Canvas, Rect, {0, 0, ColCount() - 1, RowCount() - 1}, false);
}
void TExStringGrid::PrintPreviewRect(TCanvas* Canvas, const TRect& Rect, const TGridRect& GridRect)
{
    PrivatePrintPreviewRect(Canvas, Rect, GridRect, false);
}
void TExStringGrid::PrintPreviewSelection(TCanvas* Canvas, const TRect& Rect)
{
    PrivatePrintPreviewRect(Canvas, Rect, Selection(), false);
}
void TExStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Rect)
{
    PrivatePrintPreviewRect(Canvas, Rect, {0, 0, ColCount() - 1, RowCount() - 1}, true);
}
void TExStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Rect)
{
    PrivatePrintPreviewRect(Canvas, Rect, {0, 0, ColCount() - 1, RowCount() - 1}, true);
}

void TExStringGrid::SetPreviewPage(int Page)
{
    printJob_.SetPreviewPage(Page);
}

void TExStringGrid::PrintDrawRect(TCanvas* Canvas, const TRect& Rect, const TGridRect& GridRect)
{
    CheckRange(GridRect, ColCount(), RowCount());
    printJob_.Range = GridRect;
    const TRect clip = Canvas->ClipRect();
    printJob_.DeviceRect = {Rect.Left, Rect.Top, std::min(Rect.Right, clip.Right), std::min(Rect.Bottom, clip.Bottom)};
    printJob_.FromPage = printJob_.ToPage = printJob_.PageCount = 1;
    BuildPages(Canvas, prPrint, 1, false);
}

void TExStringGrid::PrintDraw(TCanvas* Canvas, const TRect& Rect)
{
    PrintDrawRect(Canvas, Rect, {0, 0, ColCount() - 1, RowCount() - 1});
}

// ---------------------------------------------------------------- text measurement

int TExStringGrid::MaxLinesInRow(int ARow)
{
    int most = 1;
    if (!Multilinecells) return most;
    for (int c = 0; c < ColCount(); ++c) {
        const std::string s = GetCellEx(RemapCol(c), ARow);
        most = std::max(most, 1 + int(std::count(s.begin(), s.end(), '\r')));
    }
    return most;
}

int TExStringGrid::MaxLinesInGrid()
{
    int most = 1;
    if (!Multilinecells) return most;
    for (int r = 0; r < RowCount(); ++r) most = std::max(most, MaxLinesInRow(r));
    return most;
}

int TExStringGrid::MaxCharsInCol(int ACol)
{
    int most = 0;
    for (int r = 0; r < RowCount(); ++r)
        for (const std::string& line : TextLines(SaveCell(ACol, r), Multilinecells))
            most = std::max(most, int(line.size()));
    return most;
}

void TExStringGrid::CalcTextPos(TRect& R, int Angle, const std::string& Text, TAlignment HAlign, TVAlignment VAlign)
{
    const TSize e = Canvas()->TextExtent(Text);
    R = {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
    const TPoint p = RotatedStart(R, Angle, e, HAlign, VAlign);
    R.Left = p.X;
    R.Top = p.Y;
}

}  // namespace grid
