#pragma once
// The grid as the cell store its file readers and writers work on: saved texts, looks,
// counts and the save block through the grid's public calls, loaded text through its
// LoadCell, progress to OnFileProgress.
#include "widgets/grid/GridCellStore.h"

namespace grid {

class TExStringGrid;

class TExGridFileCells final : public TGridCellStore {
public:
    explicit TExGridFileCells(TExStringGrid& grid) : g_(grid) {}

    int ColCount() override;
    int RowCount() override;
    int FixedCols() override;
    int FixedRows() override;
    int HiddenCols() override;
    int RealCol(int col) override;
    TGridBlock SaveBlock() override;
    std::string CellText(int col, int row) override;
    bool IsBaseCell(int col, int row) override;
    platform::TPoint Span(int col, int row) override;
    bool IsFixedCell(int col, int row) override;
    void Alignment(int col, int row, platform::TAlignment& h, TVAlignment& v) override;
    void CellLook(int col, int row, platform::TBrush& brush, platform::TFont& font) override;
    platform::TColor FixedColor() override;
    std::string FontName() override;
    bool WordWrap() override;
    bool ShowURLs() override;
    bool FullURLs() override;
    void ExportNotification(TGridExportState state, int row) override;
    void Progress(short percent) override;
    void SetColCount(int n) override;
    void SetRowCount(int n) override;
    void LoadCell(int col, int row, const std::string& text) override;
    int FooterRows() override;
    bool FloatingFooterRow() override;
    std::vector<std::string> TakeLastRow() override;
    void PutLastRow(const std::vector<std::string>& texts) override;
    void Loaded() override;

private:
    TExStringGrid& g_;
};

}  // namespace grid
