// Row and column operations: insert, remove, clear, merge and split along rows and
// columns. Texts and properties travel together; hidden rows keep their real indices.
#include <algorithm>

#include "base/StrUtils.h"
#include "base/StringList.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/FloatingFooter.h"

namespace grid {

using namespace platform;

// ---------------------------------------------------------------- inserting

void TExStringGrid::InsertRowsAt(int ARow, int Count, bool adjustHidden)
{
    if (adjustHidden && NumHiddenRows() > 0) indexMap_.InsertedRows(RemapRowInv(ARow), Count);
    const int oldCount = RowCount();
    SetRowCountEx(oldCount + Count);
    for (int r = RowCount() - 1; r >= ARow + Count; --r) MoveRowCells(r - Count, r);
    for (int r = ARow; r < ARow + Count; ++r) {
        SetRowHeights(r, DefaultRowHeight());
        NilRow(r);
    }
}

void TExStringGrid::InsertRows(int ARow, int Count)
{
    // A row can go before any row or after the last one; counts below 1 do nothing.
    if (ARow < 0 || ARow > RowCount() || Count < 1) return;
    const int width = LastShownWidth();
    InsertRowsAt(ARow, Count, true);
    if (ColCount() > 0) SetColWidths(ColCount() - 1, width);
    if (!destroying_) CellsChanged({0, ARow, ColCount() - 1, RowCount() + ARow});
}

void TExStringGrid::AddRow()
{
    if (FloatingFooter().Visible()) InsertRows(RowCount() - 1, 1);
    else InsertRows(RowCount(), 1);
}

int TExStringGrid::LastShownWidth() const { return ColCount() > 0 ? ColWidths(ColCount() - 1) : 0; }

void TExStringGrid::InsertCols(int ACol, int Count)
{
    if (ACol < 0 || ACol > ColCount() || Count < 1) return;
    const int oldCols = ColCount();
    SetColCountEx(oldCols + Count);
    const int all = ColCount() + NumHiddenColumns();
    for (int i = all - 1; i >= ACol + Count; --i) {
        for (int r = 0; r < RowCount(); ++r) {
            ClearPropCell(i, r);
            TStringGrid::SetCells(i, r, GetGridCell(i - Count, r));
            TStringGrid::SetObjects(i, r, GetGridObject(i - Count, r));
            NilCell(i - Count, r);
        }
        if (i < ColCount()) SetColWidths(i, ColWidths(i - Count));
    }
    indexMap_.InsertedColumns(ACol, Count, all);
    for (int c = ACol; c < ACol + Count; ++c) {
        if (c < ColCount()) SetColWidths(c, DefaultColWidth());
        NilCol(c);
    }
}

// ---------------------------------------------------------------- removing

void TExStringGrid::RenumberHiddenForRemoval(int ARow, int Count)
{
    if (NumHiddenRows() == 0) return;
    std::vector<int> removed;
    for (int i = 0; i < Count; ++i) removed.push_back(RemapRowInv(ARow + i));
    indexMap_.RemovedRows(removed);
}

void TExStringGrid::RemoveRows(int ARow, int Count)
{
    if (ARow < 0 || ARow >= RowCount() || Count < 1) return;
    Count = std::min(Count, RowCount() - ARow);
    ClearPropRect(0, ARow, StoreColCount() - 1, ARow + Count - 1);
    IRemoveRows(ARow, Count, true);
}

void TExStringGrid::RemoveRowsInternal(int ARow, int Count)
{
    if (ARow < 0 || ARow >= RowCount() || Count < 1) return;
    Count = std::min(Count, RowCount() - ARow);
    ClearPropRect(0, ARow, StoreColCount() - 1, ARow + Count - 1);
    IRemoveRows(ARow, Count, true);
}

void TExStringGrid::IRemoveRows(int ARow, int Count, bool AdjustHidden)
{
    if (ARow < 0 || ARow >= RowCount() || Count < 1) return;
    Count = std::min(Count, RowCount() - ARow);
    if (RowCount() - Count < 1) {
        // The platform keeps one row: empty the last one instead of removing it.
        ClearRect(0, ARow, StoreColCount() - 1, ARow + Count - 1);
        Count = RowCount() - 1 - ARow;
        if (Count < 1) return;
    }
    const int width = LastShownWidth();
    const int curRow = Row(), top = TopRow();
    BeginUpdate();
    if (AdjustHidden) RenumberHiddenForRemoval(ARow, Count);
    std::vector<int> heights;
    for (int r = 0; r < RowCount(); ++r) heights.push_back(RowHeights(r));
    for (int r = ARow + Count; r < RowCount(); ++r) MoveRowCells(r, r - Count);
    heights.erase(heights.begin() + ARow, heights.begin() + ARow + Count);
    if (RemovalDropsRowMarks() && ARow < int(rowSelect_.size()))
        rowSelect_.erase(rowSelect_.begin() + ARow, rowSelect_.begin() + std::min<int>(ARow + Count, int(rowSelect_.size())));
    SetRowCountEx(RowCount() - Count);
    for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, heights[std::size_t(r)]);
    if (curRow < fixed_.NormalRowEnd(RowCount())) {
        if (curRow >= FixedRows()) SetRow(curRow);
        SetTopRow(std::min(top, RowCount() - 1));
    } else if (FixedRows() < fixed_.NormalRowEnd(RowCount())) {
        SetRow(fixed_.NormalRowEnd(RowCount()) - 1);
    } else {
        HideSelection();
    }
    if (ColCount() > 0) SetColWidths(ColCount() - 1, width);
    EndUpdate();
    CellsChanged({0, ARow, ColCount() - 1, ARow + Count});
    if (TopRow() >= RowCount() - 1 && RowCount() - 1 >= FixedRows()) SetTopRow(RowCount() - 1);
}

void TExStringGrid::RemoveRowsEx(int ARow, int Count)
{
    // The rows' cells have moved elsewhere (hidden rows): their indices stay real.
    IRemoveRows(ARow, Count, false);
}

void TExStringGrid::RemoveCols(int ACol, int Count)
{
    if (ACol < 0 || ACol >= ColCount() || Count < 1) return;
    Count = std::min(Count, ColCount() - ACol);
    if (Count >= ColCount()) Count = ColCount() - 1;  // the platform keeps one column
    if (Count < 1) return;
    ClearCols(ACol, Count);
    indexMap_.RemovedColumns(ACol, Count, ColCount() - Count);
    for (int i = ACol; i < ColCount() - Count; ++i) {
        for (int r = 0; r < RowCount(); ++r) {
            ClearPropCell(i, r);
            TStringGrid::SetCells(i, r, GetGridCell(i + Count, r));
            TStringGrid::SetObjects(i, r, GetGridObject(i + Count, r));
            NilCell(i + Count, r);
        }
        SetColWidths(i, ColWidths(i + Count));
    }
    SetColCountEx(ColCount() - Count);
    CellsChanged({ACol, 0, ACol + Count, RowCount() - 1});
}

void TExStringGrid::MergeCols(int ACol1, int ACol2)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCellEx(ACol1, r, base::Trim(GetCellEx(ACol1, r) + " " + GetCellEx(ACol2, r)));
    RemoveCols(ACol2, 1);
}

void TExStringGrid::RemoveDuplicates(int ACol, bool)
{
    const int c = RemapCol(ACol);
    BeginUpdate();
    std::vector<std::string> kept;
    for (int r = FixedRows(); r < fixed_.NormalRowEnd(RowCount());) {
        const std::string s = base::LowerCase(GetCellEx(c, r));
        if (std::find(kept.begin(), kept.end(), s) != kept.end() && RowCount() > 1) {
            RemoveRowsInternal(r, 1);
        } else {
            kept.push_back(s);
            ++r;
        }
    }
    EndUpdate();
}

void TExStringGrid::RemoveSelectedRows()
{
    BeginUpdate();
    if (!MouseActions.DisjunctRowSelect) SelectToRowSelect(true);
    for (int r = FixedRows(); r < fixed_.NormalRowEnd(RowCount());) {
        const int i = MouseActions.RowSelectPersistent ? RemapRowInv(r) : r;
        if (i < int(rowSelect_.size()) && rowSelect_[std::size_t(i)] && RowCount() > 1) {
            if (!RemovalDropsRowMarks()) rowSelect_.erase(rowSelect_.begin() + i);
            RemoveRowsInternal(r, 1);
        } else {
            ++r;
        }
    }
    EndUpdate();
}

void TExStringGrid::RemoveUnSelectedRows()
{
    BeginUpdate();
    for (int r = FixedRows(); r < fixed_.NormalRowEnd(RowCount());) {
        const int i = MouseActions.RowSelectPersistent ? RemapRowInv(r) : r;
        const bool sel = i < int(rowSelect_.size()) && rowSelect_[std::size_t(i)];
        if (!sel && RowCount() > 1) {
            if (i < int(rowSelect_.size()) && !RemovalDropsRowMarks()) rowSelect_.erase(rowSelect_.begin() + i);
            RemoveRowsInternal(r, 1);
        } else {
            ++r;
        }
    }
    EndUpdate();
}

void TExStringGrid::HideSelectedRows()
{
    BeginUpdate();
    for (int r = FixedRows(); r < RowCount();) {
        const int real = RemapRowInv(r);
        if (real < int(rowSelect_.size()) && rowSelect_[std::size_t(real)] && RowCount() > 1) HideRows(real, real);
        else ++r;
    }
    EndUpdate();
}

void TExStringGrid::HideUnSelectedRows()
{
    BeginUpdate();
    for (int r = FixedRows(); r < RowCount();) {
        const int real = RemapRowInv(r);
        if (!(real < int(rowSelect_.size()) && rowSelect_[std::size_t(real)]) && RowCount() > 1) HideRows(real, real);
        else ++r;
    }
    EndUpdate();
}

// ---------------------------------------------------------------- clearing

void TExStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol2 < ACol1 || ARow2 < ARow1) return;
    ARow1 = std::max(ARow1, 0);
    ACol1 = std::max(ACol1, 0);
    ARow2 = std::min(ARow2, RowCount() - 1);
    ACol2 = std::min(ACol2, StoreColCount() - 1);
    // only the cells the store holds: the rest are empty already
    for (int r = ARow1; r <= std::min(ARow2, StoredRowCount() - 1); ++r)
        for (int c = ACol1; c <= std::min(ACol2, StoredColCount(r) - 1); ++c) {
            ClearPropCell(c, r);
            if (!destroying_ && !GetGridCell(c, r).empty()) TStringGrid::SetCells(c, r, std::string());
        }
    if (!destroying_) CellsChanged({RemapColInv(ACol1), ARow1, RemapColInv(ACol2), ARow2});
}

void TExStringGrid::ClearRows(int ARow, int Count)
{
    if (RowCount() > 0 && ColCount() > 0 && Count > 0) ClearRect(0, ARow, StoreColCount() - 1, ARow + Count - 1);
}

void TExStringGrid::ClearCols(int ACol, int Count)
{
    if (RowCount() > 0 && ColCount() > 0 && Count > 0) ClearRect(ACol, 0, ACol + Count - 1, RowCount() - 1);
}

void TExStringGrid::ClearNormalRows(int ARow, int Count)
{
    if (RowCount() > 0 && ColCount() > 0 && Count > 0)
        ClearRect(FixedCols(), ARow, fixed_.NormalColEnd(StoreColCount()) - 1, ARow + Count - 1);
}

void TExStringGrid::ClearNormalCols(int ACol, int Count)
{
    if (RowCount() > 0 && ColCount() > 0 && Count > 0)
        ClearRect(ACol, FixedRows(), ACol + Count - 1, fixed_.NormalRowEnd(RowCount()) - 1);
}

void TExStringGrid::ClearNormalCells()
{
    if (FixedCols() == 0 && HasNodes()) RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(FixedCols(), FixedRows(), fixed_.NormalColEnd(StoreColCount()) - 1, fixed_.NormalRowEnd(RowCount()) - 1);
}

void TExStringGrid::Clear()
{
    if (!destroying_ && HasNodes()) RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0) ClearRect(0, 0, StoreColCount() - 1, RowCount() - 1);
}

void TExStringGrid::ClearSelection()
{
    if (MouseActions.DisjunctRowSelect) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            const int i = MouseActions.RowSelectPersistent ? RemapRowInv(r) : r;
            if (i < int(rowSelect_.size()) && rowSelect_[std::size_t(i)]) ClearRows(r, 1);
        }
    } else if (MouseActions.DisjunctColSelect) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (c < int(colSelect_.size()) && colSelect_[std::size_t(c)]) ClearCols(c, 1);
    } else {
        const TGridRect s = Selection();
        ClearRect(s.Left, s.Top, s.Right, s.Bottom);
    }
}

// ---------------------------------------------------------------- merging along a column or a row

void TExStringGrid::MergeColumnCells(int ACol, bool First)
{
    const int last = fixed_.NormalRowEnd(RowCount()) - 1;
    int start = FixedRows();
    for (int r = FixedRows() + 1; r <= last + 1; ++r) {
        const bool same = r <= last && GetCellEx(ACol, r) == GetCellEx(ACol, r - 1) &&
                          (First || RowSpanIdentical(r, r - 1));
        if (same) continue;
        if (start <= last && (r - start > 1 || r <= last)) MergeCells(ACol, start, 1, r - start);
        start = r;
    }
}

void TExStringGrid::MergeRowCells(int ARow, bool First)
{
    const int last = fixed_.NormalColEnd(ColCount()) - 1;
    int start = FixedCols();
    for (int c = FixedCols() + 1; c <= last + 1; ++c) {
        const bool same = c <= last && GetCellEx(c, ARow) == GetCellEx(c - 1, ARow) &&
                          (First || ColSpanIdentical(c, c - 1));
        if (same) continue;
        if (start <= last && (c - start > 1 || c <= last)) MergeCells(start, ARow, c - start, 1);
        start = c;
    }
}

void TExStringGrid::SplitColumnCells(int ACol)
{
    for (int r = 0; r < fixed_.NormalRowEnd(RowCount());) {
        if (IsMergedCell(ACol, r)) {
            const TRect f = FullCell(ACol, r);
            SplitCells(ACol, r);
            r = f.Bottom + 1;
        } else {
            ++r;
        }
    }
}

void TExStringGrid::SplitRowCells(int ARow)
{
    for (int c = 0; c < fixed_.NormalColEnd(ColCount());) {
        if (IsMergedCell(c, ARow)) {
            const TRect f = FullCell(c, ARow);
            SplitCells(c, ARow);
            c = f.Right + 1;
        } else {
            ++c;
        }
    }
}

void TExStringGrid::SplitAllCells()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < StoreColCount(); ++c)
            if (IsMergedCell(c, r)) SplitCells(c, r);
}

// ---------------------------------------------------------------- queries

bool TExStringGrid::IsWideCell(int ACol, int ARow) { return GetCellEx(ACol, ARow).rfind("|\\", 0) == 0; }

bool TExStringGrid::IsCell(const std::string& Text, int& ACol, int& ARow) const
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < StoreColCount(); ++c)
            if (GetGridCell(c, r) == Text) {
                ACol = c;
                ARow = r;
                return true;
            }
    return false;
}

}  // namespace grid
