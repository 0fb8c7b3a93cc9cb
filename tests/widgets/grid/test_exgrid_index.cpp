// Real and display indices through hiding, restoring, inserting, removing and moving;
// cells by real index.
#include <gtest/gtest.h>

#include "base/StringList.h"
#include "platform/TestRig.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"
#include "GridWindow.h"

using namespace platform;
using namespace grid;

namespace {

struct IndexTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(500, 400, 5, 10);
        g->SetFixedRows(1);
        g->SetFixedCols(0);
        for (int r = 0; r < 10; ++r) {
            g->SetRowHeights(r, 20 + r);
            for (int c = 0; c < 5; ++c) g->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
        }
    }
    void TearDown() override { Close(); }
    // Real rows as the view shows them, from column 0 of each display row.
    std::string Shown()
    {
        std::string s;
        for (int d = 0; d < g->RowCount(); ++d) s += g->GetCellEx(0, d).substr(2) + " ";
        return s;
    }
};

}  // namespace

TEST_F(IndexTest, HiddenColumnsMapBothWays)
{
    for (int d = 0; d < 5; ++d) EXPECT_EQ(g->RemapCol(d), d);
    g->SetColWidths(2, 40);
    g->SetColWidths(3, 70);
    g->HideColumn(2);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->RemapCol(2), 3);
    EXPECT_EQ(g->RemapColInv(3), 2);
    EXPECT_EQ(g->ColWidths(2), 70);
    EXPECT_TRUE(g->IsHiddenColumn(2));
    EXPECT_EQ(g->GetAllColCount(), 5);
    EXPECT_EQ(g->GetAllColWidths(2), 40);
    // A column past the shown ones maps to the real column beyond, never to 0.
    EXPECT_EQ(g->RemapCol(4), 5);
    g->UnHideColumn(2);
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->ColWidths(2), 40);
    EXPECT_EQ(g->ColWidths(3), 70);
    g->SetColCount(1);
    g->HideColumn(0);  // the only shown column stays
    EXPECT_EQ(g->ColCount(), 1);
}

TEST_F(IndexTest, HiddenRowsMapBothWaysAndComeBackInPlace)
{
    g->HideRows(3, 5);
    EXPECT_EQ(g->RowCount(), 7);
    EXPECT_EQ(g->RemapRow(6), 3);
    EXPECT_EQ(g->RemapRowInv(3), 6);
    EXPECT_TRUE(g->IsHiddenRow(4));
    EXPECT_EQ(g->Cells(1, 4), "1:4");
    g->SetCells(1, 4, "hidden");
    EXPECT_EQ(g->Cells(1, 6), "1:6");
    g->SetCells(1, 7, "shown");
    EXPECT_EQ(g->GetCellEx(1, 4), "shown");
    g->UnHideRowsAll();
    EXPECT_EQ(Shown(), "0 1 2 3 4 5 6 7 8 9 ");
    EXPECT_EQ(g->Cells(1, 4), "hidden");
    for (int r = 0; r < 10; ++r) EXPECT_EQ(g->RowHeights(r), 20 + r);
}

TEST_F(IndexTest, HidingAroundAHiddenRowKeepsTheStoreAscending)
{
    g->HideRow(4);
    g->HideRows(2, 6);
    EXPECT_EQ(Shown(), "0 1 7 8 9 ");
    for (int r : {2, 3, 4, 5, 6}) EXPECT_EQ(g->Cells(0, r), "0:" + std::to_string(r));
    g->UnHideRows(2, 3);
    EXPECT_EQ(Shown(), "0 1 2 3 7 8 9 ");
    g->UnHideRowList();
    EXPECT_EQ(Shown(), "0 1 2 3 4 5 6 7 8 9 ");
}

TEST_F(IndexTest, MappingStaysExactThroughInsertAndRemove)
{
    struct Step {
        const char* what;
        std::function<void(TExStringGrid&)> act;
        const char* shown;   // real rows in view
        int hiddenReal;      // where the hidden row 5 sits now
    };
    g->HideRow(5);
    const Step steps[] = {
        {"insert above", [](TExStringGrid& x) { x.InsertRows(2, 2); }, "0 1 - - 2 3 4 6 7 8 9 ", 7},
        {"remove above", [](TExStringGrid& x) { x.RemoveRows(2, 2); }, "0 1 2 3 4 6 7 8 9 ", 5},
        {"insert below", [](TExStringGrid& x) { x.InsertRows(6, 1); }, "0 1 2 3 4 6 - 7 8 9 ", 5},
        {"remove across", [](TExStringGrid& x) { x.RemoveRows(4, 2); }, "0 1 2 3 - 7 8 9 ", 4},
    };
    for (const Step& s : steps) {
        s.act(*g);
        std::string shown;
        for (int d = 0; d < g->RowCount(); ++d) {
            const std::string t = g->GetCellEx(0, d);
            shown += (t.empty() ? "-" : t.substr(2)) + " ";
        }
        EXPECT_EQ(shown, s.shown) << s.what;
        EXPECT_TRUE(g->IsHiddenRow(s.hiddenReal)) << s.what;
        EXPECT_EQ(g->Cells(0, s.hiddenReal), "0:5") << s.what;
    }
    g->UnHideRowsAll();
    EXPECT_EQ(g->GetCellEx(0, 4), "0:5");
}

TEST_F(IndexTest, WritingByRealIndexWithAHiddenColumn)
{
    g->HideColumn(0);
    g->SetCells(2, 3, "x");
    EXPECT_EQ(g->GetGridCell(2, 3), "x");
    EXPECT_EQ(g->GetCellEx(g->RemapCol(1), 3), "x");
    g->Clear();  // hidden columns are emptied too
    EXPECT_EQ(g->GetGridCell(0, 3), "");
}

TEST_F(IndexTest, RowUpdateFiresOnChangeOutsideUpdates)
{
    std::vector<int> seen;
    g->OnRowUpdate = [&](TObject*, int, int n) { seen.push_back(n); };
    g->SetRowEx(3);
    g->SetRowEx(3);
    g->BeginUpdate();
    g->SetRowEx(4);
    g->EndUpdate();
    g->SetRowEx(5);
    EXPECT_EQ(seen, (std::vector<int>{3, 5}));
}

TEST_F(IndexTest, SelectionHidesAndComesBack)
{
    g->SetSelection({1, 2, 3, 4});
    g->HideSelection();
    EXPECT_TRUE(g->SelectionHidden());
    g->UnHideSelection();
    EXPECT_FALSE(g->SelectionHidden());
    EXPECT_EQ(g->Selection(), (TGridRect{1, 2, 3, 4}));
    g->HideSelection();
    g->SetRowCount(2);
    g->UnHideSelection();
    EXPECT_EQ(g->Selection(), (TGridRect{0, 1, 0, 1}));
}

TEST_F(IndexTest, ColumnOrderIsRecordedAndRestored)
{
    g->SetColumnOrder();
    g->ResetColumnOrder();
    EXPECT_EQ(g->GetCellEx(1, 1), "1:1");
    g->MoveColumn(1, 2);
    EXPECT_EQ(g->GetCellEx(2, 1), "1:1");
    g->ResetColumnOrder();
    EXPECT_EQ(g->GetCellEx(1, 1), "1:1");
    EXPECT_EQ(g->GetCellEx(2, 1), "2:1");
}

TEST_F(IndexTest, SortedRowIndexes)
{
    for (int v : {3, 1, 2, 0}) g->SortIndexList().Add(v);
    EXPECT_EQ(g->UnSortedRowIndex(7), 4);
    EXPECT_EQ(g->UnSortedRowIndex(2), 2);
    EXPECT_EQ(g->SortedRowIndex(0), 3);
}

TEST_F(IndexTest, ControlsOnCellsFollowRealIndices)
{
    auto* ctl = new TPanel(form);
    g->HideColumn(0);
    g->HideRow(2);
    g->SetCellControls(2, 4, ctl);  // real column 2, real row 4
    EXPECT_EQ(g->GetCellControls(2, 4), ctl);
    g->CellControlsUpdate();
    const TRect r = g->GetCellRect(g->RemapColInv(2), g->RemapRow(4));
    EXPECT_EQ(ctl->Left(), r.Left);
    EXPECT_EQ(ctl->Top(), r.Top);
    EXPECT_TRUE(ctl->Visible());
    g->HideRow(4);
    EXPECT_FALSE(ctl->Visible());
}

TEST_F(IndexTest, LoadedSetsTheSizingLimitsAndShowsHeaders)
{
    base::TStringList h;
    h.SetText("A\nB\n");
    g->ColumnHeaders().Assign(h);
    g->Loaded();
    EXPECT_EQ(g->GetCellEx(1, 0), "B");
    EXPECT_EQ(g->MinColWidth, 10);
    EXPECT_EQ(g->MinRowHeight, g->DefaultRowHeight());
}
