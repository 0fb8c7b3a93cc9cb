// Real and display indices: hidden columns stay in the store and leave the view, hidden
// rows move into the hidden-row store; moving, the current row and the export range.
#include <algorithm>

#include "base/ScopeGuard.h"
#include "base/StringList.h"
#include "platform/controls/Controls.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/FloatingFooter.h"

namespace grid {

using namespace platform;

// ---------------------------------------------------------------- mapping

int TExStringGrid::RemapRow(int ARow) const { return indexMap_.RemapRow(ARow); }
int TExStringGrid::RemapRowInv(int ARow) const { return indexMap_.RemapRowInv(ARow); }
int TExStringGrid::RemapCol(int ACol) const { return indexMap_.RemapCol(ACol); }
int TExStringGrid::RemapColInv(int ACol) const { return indexMap_.RemapColInv(ACol); }
bool TExStringGrid::IsHiddenColumn(int ACol) const { return indexMap_.IsHiddenColumn(ACol); }

bool TExStringGrid::IsHiddenRow(int ARow) const { return HiddenRow(ARow) != nullptr; }

bool TExStringGrid::GetVisibleCol(int ACol) const { return indexMap_.Visible(ACol); }

void TExStringGrid::SetVisibleCol(int ACol, bool Visible) { indexMap_.SetVisible(ACol, Visible); }

void TExStringGrid::SetRowEx(int ARow)
{
    SetRow(ARow);
    if (Row() != lastReportedRow_ && OnRowUpdate && updateCount_ == 0) {
        const int old = lastReportedRow_;
        lastReportedRow_ = Row();
        OnRowUpdate(this, old, Row());
    }
}

void TExStringGrid::HideEditorNow()
{
    if (EditorMode()) HideEditor();
}

// ---------------------------------------------------------------- columns

void TExStringGrid::HideColumns(int FromCol, int ToCol)
{
    HideEditorNow();
    for (int c = std::max(FromCol, 0); c <= ToCol; ++c) {
        if (IsHiddenColumn(c) || c >= ColCount() + NumHiddenColumns() || ColCount() < 2) continue;
        const int d = RemapColInv(c);
        if (!indexMap_.HideColumn(c, ColWidths(d))) continue;
        for (int k = d; k <= ColCount() - 2; ++k) SetColWidths(k, ColWidths(k + 1));
        TBaseGrid::SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TExStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    HideEditorNow();
    for (int c = std::max(FromCol, 0); c <= ToCol && c < kMappedColumns; ++c) {
        if (!indexMap_.ShowColumn(c)) continue;
        TBaseGrid::SetColCount(ColCount() + 1);
        for (int k = ColCount() - 1; k >= RemapColInv(c + 1) && k > 0; --k) SetColWidths(k, ColWidths(k - 1));
        SetColWidths(RemapColInv(c), indexMap_.SavedWidth(c));
    }
    Invalidate();
}

void TExStringGrid::UnHideColumnsAll() { UnHideColumns(0, ColCount() + NumHiddenColumns()); }

// ---------------------------------------------------------------- moving cells of rows

void TExStringGrid::RowToStrings(int ARow, base::TStringList& list)
{
    list.Clear();
    const int n = StoreColCount();
    for (int c = 0; c < n; ++c) {
        list.AddObject(GetGridCell(c, ARow), GetGridObject(c, ARow));
        NilCell(c, ARow);
    }
}

void TExStringGrid::StringsToRow(base::TStringList& list, int ARow)
{
    for (int c = 0; c < list.Count(); ++c) {
        ClearPropCell(c, ARow);
        TStringGrid::SetCells(c, ARow, list[c]);
        TStringGrid::SetObjects(c, ARow, static_cast<TObject*>(list.GetObject(c)));
        list.PutObject(c, nullptr);
    }
}

void TExStringGrid::StoreHiddenRow(int ARealRow, int ADisplayRow)
{
    auto item = std::make_unique<TGridItem>();
    item->Idx = ARealRow;
    item->Height = RowHeights(ADisplayRow);
    RowToStrings(ADisplayRow, item->Items());
    indexMap_.InsertHidden(std::move(item));
}

void TExStringGrid::RestoreHiddenRow(TGridItem& Item, int ADisplayRow)
{
    StringsToRow(Item.Items(), ADisplayRow);
    SetRowHeights(ADisplayRow, Item.Height > 0 ? Item.Height : DefaultRowHeight());
}

void TExStringGrid::MoveRowCells(int From, int To)
{
    if (From == To) return;
    const int n = StoreColCount();
    for (int c = 0; c < n; ++c) {
        ClearPropCell(c, To);
        TStringGrid::SetCells(c, To, GetGridCell(c, From));
        TStringGrid::SetObjects(c, To, GetGridObject(c, From));
        NilCell(c, From);
    }
    SetRowHeights(To, RowHeights(From));
}

// ---------------------------------------------------------------- hiding rows

void TExStringGrid::HideRows(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < FromRow) return;
    bool allHidden = true;
    for (int r = FromRow; r <= ToRow; ++r)
        if (!IsHiddenRow(r)) allHidden = false;
    if (allHidden) return;
    const int D = RemapRow(FromRow);
    int k = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        if (IsHiddenRow(r)) continue;
        const int d = D + k;
        if (d >= RowCount()) break;  // beyond the last row
        StoreHiddenRow(r, d);
        ++k;
    }
    if (k == 0) return;
    if (TCellProperties* p = CellProps(1, D); p && p->Control) p->Control->SetVisible(false);
    IRemoveRows(D, k, false);
    VisibleRowsChanged();
}

void TExStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < FromRow || IsHiddenRow(FromRow)) return;
    const int D = RemapRow(FromRow);
    int n = 0;
    for (int r = FromRow; r <= ToRow && D + n < RowCount(); ++r, ++n) {
        if (IsHiddenRow(r)) break;  // the run ends at a row that is hidden already
        StoreHiddenRow(r, D + n);
    }
    if (n > 0) RemoveRowsEx(D, n);
    VisibleRowsChanged();
}

void TExStringGrid::HideRowList(const TIntList& List)
{
    if (List.Count() == 0) return;
    if (NumHiddenRows() > 0) {
        // Real and display rows differ: hide one by one, the totals once at the end.
        const bool held = holdFooter_;
        holdFooter_ = true;
        {
            base::ScopeExit back([this, held] { holdFooter_ = held; });
            for (int i = List.Count() - 1; i >= 0; --i) HideRows(List.Items(i), List.Items(i));
        }
        VisibleRowsChanged();
        return;
    }
    std::vector<bool> listed(std::size_t(RowCount()), false);
    int n = 0;
    for (int i = 0; i < List.Count(); ++i) {
        const int r = List.Items(i);
        if (r < 0 || r >= RowCount() || listed[std::size_t(r)]) continue;
        listed[std::size_t(r)] = true;
        ++n;
    }
    if (n == 0) return;
    BeginUpdate();
    for (int r = 0; r < RowCount(); ++r) {
        if (listed[std::size_t(r)]) StoreHiddenRow(r, r);
    }
    int to = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (listed[std::size_t(r)]) continue;
        MoveRowCells(r, to);
        ++to;
    }
    SetRowCountEx(RowCount() - n);
    EndUpdate();
    VisibleRowsChanged();
}

// ---------------------------------------------------------------- restoring rows

void TExStringGrid::UnHideRow(int ARow) { UnHideRows(ARow, ARow); }

void TExStringGrid::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow)) return;
    BeginUpdate();
    // Ascending, one row each: every record lands exactly where its real index says.
    for (std::size_t i = 0; i < indexMap_.HiddenRows().size();) {
        TGridItem& h = *indexMap_.HiddenRows()[i];
        if (h.Idx < FromRow || h.Idx > ToRow) {
            ++i;
            continue;
        }
        const int d = h.Idx - int(i);
        std::unique_ptr<TGridItem> item = indexMap_.TakeHidden(i);
        InsertRowsAt(d, 1, false);
        RestoreHiddenRow(*item, d);
        if (item->Idx == FromRow)
            if (TCellProperties* p = CellProps(1, d); p && p->Control) {
                const TRect rc = CellRect(1, d);
                p->Control->SetBounds(rc.Left, rc.Top, rc.Width(), rc.Height());
                p->Control->SetVisible(true);
            }
    }
    EndUpdate();
    VisibleRowsChanged();
}

void TExStringGrid::UnHideRowsAll() { UnHideRowList(); }

void TExStringGrid::UnHideRowList()
{
    const int n = NumHiddenRows();
    if (n == 0) return;
    BeginUpdate();
    const int oldCount = RowCount();
    SetRowCountEx(oldCount + n);
    int s = oldCount - 1, k = n - 1;
    for (int d = RowCount() - 1; d >= 0; --d) {
        if (k >= 0 && indexMap_.HiddenRows()[std::size_t(k)]->Idx == d) {
            RestoreHiddenRow(*indexMap_.HiddenRows()[std::size_t(k)], d);
            --k;
        } else if (s >= 0 && s < d) {
            MoveRowCells(s, d);
            --s;
        } else {
            --s;
        }
    }
    indexMap_.ClearHiddenRows();
    DisplTextRowLimit = RowCount();
    EndUpdate();
    VisibleRowsChanged();
}

void TExStringGrid::VisibleRowsChanged()
{
    CellControlsUpdate();
    if (!holdFooter_) CalcFooter(-1);
}

// ---------------------------------------------------------------- selection and view

void TExStringGrid::HideSelection()
{
    // The platform keeps its selection inside the grid: the painting shows none meanwhile.
    savedSelection_ = Selection();
    selectionHidden_ = true;
    Invalidate();
}

void TExStringGrid::UnHideSelection()
{
    selectionHidden_ = false;
    if (savedSelection_.Top < RowCount() && savedSelection_.Left < ColCount()) {
        SetSelection(savedSelection_);
        return;
    }
    int c = FixedCols(), r = FixedRows();
    if (fixed_.fixedColAlways && TBaseGrid::FixedCols() == ColCount()) c = 0;
    if (fixed_.fixedRowAlways && TBaseGrid::FixedRows() == RowCount()) r = 0;
    c = std::min(c, ColCount() - 1);
    r = std::min(r, RowCount() - 1);
    SetSelection({c, r, c, r});
}

void TExStringGrid::ScrollInView(int ACol, int ARow)
{
    if (ACol >= ColCount() || ARow >= RowCount() || ACol < 0 || ARow < 0) return;
    int left = LeftCol(), top = TopRow();
    if (ACol < LeftCol() || ACol >= LeftCol() + VisibleColCount()) {
        SetCol(ACol);
        left = std::max(ACol - VisibleColCount() / 2, FixedCols());
    }
    if (ARow < TopRow() || ARow >= TopRow() + VisibleRowCount()) {
        SetRowEx(ARow);
        top = std::max(ARow - VisibleRowCount() / 2, FixedRows());
    }
    left = std::max(std::min(left, ColCount() - VisibleColCount() + FixedCols()), FixedCols());
    top = std::max(std::min(top, RowCount() - VisibleRowCount() + FixedRows()), FixedRows());
    SetLeftCol(std::min(left, ColCount() - 1));
    SetTopRow(std::min(top, RowCount() - 1));
}

void TExStringGrid::MoveColumn(int FromIndex, int ToIndex) { TBaseGrid::MoveColumn(FromIndex, ToIndex); }

void TExStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    // The floating footer keeps the last row.
    if (FloatingFooter().Active() && ToIndex == RowCount() - 1) return;
    TBaseGrid::MoveRow(FromIndex, ToIndex);
}

// ---------------------------------------------------------------- export range

int TExStringGrid::GetSaveStartCol() const { return SaveFixedCells ? 0 : FixedCols(); }
int TExStringGrid::GetSaveStartRow() const { return SaveFixedCells ? 0 : FixedRows(); }
int TExStringGrid::GetSaveEndCol() const { return SaveFixedCells ? ColCount() - 1 : fixed_.NormalColEnd(ColCount()) - 1; }
int TExStringGrid::GetSaveEndRow() const { return SaveFixedCells ? RowCount() - 1 : fixed_.NormalRowEnd(RowCount()) - 1; }
int TExStringGrid::GetSaveColCount() const
{
    return SaveFixedCells ? ColCount() : ColCount() - FixedCols() - fixed_.fixedRightCols;
}
int TExStringGrid::GetSaveRowCount() const
{
    return SaveFixedCells ? RowCount() : RowCount() - FixedRows() - fixed_.fixedFooters;
}

}  // namespace grid
