// The grid as a cell store for its file readers and writers.
#include "widgets/grid/ExGridFileCells.h"

#include "widgets/grid/ExGrid.h"
#include "widgets/grid/FloatingFooter.h"

using namespace platform;

namespace grid {

int TExGridFileCells::ColCount() { return g_.ColCount(); }
int TExGridFileCells::RowCount() { return g_.RowCount(); }
int TExGridFileCells::FixedCols() { return g_.FixedCols(); }
int TExGridFileCells::FixedRows() { return g_.FixedRows(); }
int TExGridFileCells::HiddenCols() { return g_.NumHiddenColumns(); }
int TExGridFileCells::RealCol(int col) { return g_.RemapCol(col); }

TGridBlock TExGridFileCells::SaveBlock()
{
    return {g_.GetSaveStartCol(), g_.GetSaveStartRow(), g_.GetSaveEndCol(), g_.GetSaveEndRow()};
}

std::string TExGridFileCells::CellText(int col, int row)
{
    return g_.IsBaseCell(col, row) ? g_.SaveCell(col, row) : std::string();
}

bool TExGridFileCells::IsBaseCell(int col, int row) { return g_.IsBaseCell(col, row); }
TPoint TExGridFileCells::Span(int col, int row) { return g_.CellSpan(col, row); }
bool TExGridFileCells::IsFixedCell(int col, int row) { return g_.IsFixed(col, row); }

void TExGridFileCells::Alignment(int col, int row, TAlignment& h, TVAlignment& v)
{
    g_.GetCellAlignment(col, row, h, v);
}

void TExGridFileCells::CellLook(int col, int row, TBrush& brush, TFont& font)
{
    if (const TCellProperties* p = g_.CellProps(col, row)) {
        if (p->BrushColor() != clNone) brush.SetColor(p->BrushColor());
        if (p->FontColor != clNone) font.SetColor(p->FontColor);
        if (p->FontStyle) font.SetStyle(p->FontStyle);
        if (!p->FontName.empty()) font.SetName(p->FontName);
    }
    TGridDrawState state = 0;
    g_.GetCellColor(col, row, state, brush, font);
}

TColor TExGridFileCells::FixedColor() { return g_.FixedColor(); }
std::string TExGridFileCells::FontName() { return g_.Font()->Name(); }
bool TExGridFileCells::WordWrap() { return g_.WordWrap(); }
bool TExGridFileCells::ShowURLs() { return g_.URLShow; }
bool TExGridFileCells::FullURLs() { return g_.URLFull; }

void TExGridFileCells::ExportNotification(TGridExportState state, int row) { g_.ExportNotification(state, row); }

void TExGridFileCells::Progress(short percent)
{
    if (g_.OnFileProgress) g_.OnFileProgress(&g_, percent);
}

void TExGridFileCells::SetColCount(int n) { g_.SetColCount(n); }
void TExGridFileCells::SetRowCount(int n) { g_.SetRowCount(n); }
void TExGridFileCells::LoadCell(int col, int row, const std::string& text) { g_.LoadCell(col, row, text); }
int TExGridFileCells::FooterRows() { return g_.FixedFooters(); }
bool TExGridFileCells::FloatingFooterRow() { return g_.FloatingFooter().Visible(); }

std::vector<std::string> TExGridFileCells::TakeLastRow()
{
    std::vector<std::string> texts;
    const int r = g_.RowCount() - 1;
    for (int c = 0; c < g_.GetAllColCount(); ++c) {
        texts.push_back(g_.TBaseGrid::Cells(c, r));
        g_.SetCellEx(c, r, "");
    }
    return texts;
}

void TExGridFileCells::PutLastRow(const std::vector<std::string>& texts)
{
    const int r = g_.RowCount() - 1;
    for (int c = 0; c < int(texts.size()); ++c) g_.SetCellEx(c, r, texts[size_t(c)]);
}

void TExGridFileCells::Loaded()
{
    g_.CellsChanged(TRect{0, 0, g_.ColCount(), g_.RowCount()});
    g_.CellsLoaded();
}

}  // namespace grid
