// The grid's cell store: merged blocks, properties, display texts, copies and index checks.
#include <gtest/gtest.h>

#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"
#include "GridWindow.h"
#include "widgets/grid/ExUtil.h"

using namespace platform;
using namespace grid;

namespace {

struct StoreTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(500, 300, 6, 6);
        g->SetFixedRows(1);
        g->SetFixedCols(1);
    }
    void TearDown() override { Close(); }
    std::string Triple(int c, int r)
    {
        const TCellProperties* p = g->CellProps(c, r);
        if (!p) return "none";
        return std::string(p->IsBaseCell ? "T" : "F") + "," + std::to_string(p->CellSpanX) + "," +
               std::to_string(p->CellSpanY);
    }
};

}  // namespace

TEST_F(StoreTest, NewGridDefaults)
{
    EXPECT_EQ(g->FloatFormat, "%.2f");
    EXPECT_EQ(g->DefaultRowHeight(), 21);
    EXPECT_EQ(g->SelectionColor, TColor(0x00EACAB6));
    EXPECT_EQ(g->GridLineColor(), clSilver);
    EXPECT_EQ(g->GetVersion(), "2.8.7.2");
    EXPECT_EQ(g->GetCheckTrue(1, 1), "Y");
    EXPECT_FALSE(g->HasCombo(1, 1));
    EXPECT_FALSE(g->GetFilter(1));
    EXPECT_EQ(g->ControlLook().CheckSize(), 15);
    EXPECT_EQ(g->ControlLook().RadioSize(), 10);
    EXPECT_EQ(g->ControlLook().ControlStyle(), csWinXP);
    EXPECT_EQ(g->ControlLook().ProgressMarginX(), 2);
    g->SetFixedRowAlways(true);
    g->SetFixedRows(0);
    EXPECT_EQ(g->FixedRows(), 1);
    g->SetFixedColAlways(true);
    g->SetColCount(5);
    EXPECT_EQ(g->TBaseGrid::FixedCols(), 1);
}

TEST_F(StoreTest, MergedBlockReadsAndWritesAtItsBaseCell)
{
    g->MergeCells(1, 0, 3, 1);
    EXPECT_EQ(Triple(1, 0), "T,2,0");
    EXPECT_EQ(Triple(2, 0), "F,1,0");
    EXPECT_EQ(Triple(3, 0), "F,2,0");
    const TRect a = g->GetCellRect(1, 0), c = g->GetCellRect(3, 0);
    for (int col = 1; col <= 3; ++col) {
        EXPECT_TRUE(g->IsMergedCell(col, 0));
        const TRect r = g->CellRect(col, 0);
        EXPECT_EQ(r.Left, a.Left);
        EXPECT_EQ(r.Right, c.Right);
    }
    g->SetCellEx(3, 0, "Header");
    EXPECT_EQ(g->GetGridCell(1, 0), "Header");
    EXPECT_EQ(g->GetGridCell(3, 0), "");
    for (int col = 1; col <= 3; ++col) EXPECT_EQ(g->GetCellEx(col, 0), "Header");

    g->SplitCells(2, 0);
    for (int col = 1; col <= 3; ++col) EXPECT_EQ(Triple(col, 0), "T,-1,-1");
    EXPECT_EQ(g->GetCellEx(1, 0), "Header");
    EXPECT_EQ(g->GetCellEx(2, 0), "");
}

TEST_F(StoreTest, SpansExtentsAndMergesOverMerges)
{
    struct Case {
        int c, r;
        TPoint span, ext;
    };
    g->MergeCells(1, 1, 3, 2);
    const Case cases[] = {{1, 1, {2, 1}, {2, 1}}, {3, 2, {2, 1}, {0, 0}}, {2, 1, {2, 1}, {1, 1}}, {5, 5, {0, 0}, {0, 0}}};
    for (const Case& k : cases) {
        EXPECT_EQ(g->CellSpan(k.c, k.r).X, k.span.X) << k.c << "," << k.r;
        EXPECT_EQ(g->CellSpan(k.c, k.r).Y, k.span.Y) << k.c << "," << k.r;
        EXPECT_EQ(g->CellExt(k.c, k.r).X, k.ext.X) << k.c << "," << k.r;
        EXPECT_EQ(g->CellExt(k.c, k.r).Y, k.ext.Y) << k.c << "," << k.r;
    }
    g->SetCellEx(2, 2, "block");
    // A larger block laid over the first: every cell follows the new block.
    g->MergeCells(1, 1, 4, 3);
    EXPECT_EQ(Triple(1, 1), "T,3,2");
    EXPECT_EQ(Triple(4, 3), "F,3,2");
    EXPECT_EQ(g->GetCellEx(4, 3), "block");
    EXPECT_EQ(g->BaseCell(3, 2).X, 1);
    // A 1 x 1 merge is no merge.
    g->MergeCells(5, 5, 1, 1);
    EXPECT_FALSE(g->IsMergedCell(5, 5));
    EXPECT_TRUE(g->ColSpanIdentical(1, 1));
    EXPECT_FALSE(g->RowSpanIdentical(4, 5));
}

TEST_F(StoreTest, PropertiesObjectsAndRanges)
{
    TObject o;
    g->SetObjectEx(2, 2, &o);
    EXPECT_EQ(g->GetCellEx(2, 2), "");
    EXPECT_EQ(g->GetObjectEx(2, 2), &o);
    EXPECT_EQ(g->GetColors(3, 3), clNone);
    EXPECT_FALSE(g->HasCellProperties(3, 3));
    EXPECT_FALSE(g->GetReadOnly(3, 3));
    EXPECT_TRUE(g->HasCellProperties(3, 3));
    g->ClearPropRect(4, 0, 3, 5);  // last column before the first
    EXPECT_TRUE(g->HasCellProperties(3, 3));
    g->ClearPropRect(0, 0, 5, 5);
    EXPECT_FALSE(g->HasCellProperties(3, 3));
}

TEST_F(StoreTest, IndicesOutsideTheStoreAreRefused)
{
    EXPECT_THROW(g->SetCellEx(-1, 0, "x"), EExGridError);
    EXPECT_THROW(g->SetCellEx(0, 6, "x"), EExGridError);
    EXPECT_THROW(g->MergeCells(4, 4, 3, 3), EExGridError);
    EXPECT_EQ(g->GetCellEx(-1, 2), "");
    EXPECT_EQ(g->GetCellEx(40, 2), "");
    EXPECT_EQ(g->GetCellProperties(40, 40), nullptr);
}

TEST_F(StoreTest, CopiedRowsAndColumnsOwnTheirProperties)
{
    g->SetCellEx(1, 1, "a");
    g->SetColors(1, 1, clRed);
    g->MergeCells(2, 1, 2, 1);
    g->CopyRows(3, 1);
    g->CopyCols(5, 1);
    ASSERT_NE(g->CellProps(1, 3), g->CellProps(1, 1));
    EXPECT_EQ(g->GetColors(1, 3), clRed);
    EXPECT_EQ(g->GetCellEx(5, 1), "a");
    g->ClearPropCell(1, 1);  // the copies live on
    EXPECT_EQ(g->GetColors(1, 3), clRed);
    EXPECT_EQ(g->GetColors(5, 1), clRed);
    EXPECT_TRUE(g->IsMergedCell(3, 3));
}

TEST_F(StoreTest, DisplayTextEvents)
{
    int calls = 0;
    g->OnGetDisplText = [&](TObject*, int, int, std::string& v) {
        ++calls;
        v = "<" + v + ">";
    };
    g->SetCellEx(1, 1, "x");
    EXPECT_EQ(g->GetCellEx(1, 1), "<x>");
    g->DisplTextRowLimit = 1;
    EXPECT_EQ(g->GetCellEx(1, 1), "x");
    EXPECT_EQ(calls, 1);
    g->DisplTextRowLimit = 6;
    g->OnGetDisplText = nullptr;
    g->OnGetDisplWideText = [](TObject*, int, int, std::u16string& w) { w += u"!"; };
    EXPECT_EQ(g->GetCellEx(1, 1).rfind("|\\", 0), 0u);
    EXPECT_EQ(DecodeWideStr(g->GetCellEx(1, 1)), u"x!");
}

TEST_F(StoreTest, ArrowRightLeavesAMergedBlock)
{
    g->MergeCells(1, 2, 2, 1);
    g->SetCol(1);
    g->SetRow(2);
    Word key = VK_RIGHT;
    g->KeyDown(key, 0);
    EXPECT_EQ(g->Col(), 3);
    key = VK_LEFT;
    g->KeyDown(key, 0);
    EXPECT_EQ(g->Col(), 1);  // the block's base cell
}

TEST_F(StoreTest, DroppedRowsFreeTheirProperties)
{
    g->SetColors(2, 5, clRed);
    g->SetRowCount(4);
    g->SetRowCount(6);
    EXPECT_FALSE(g->HasCellProperties(2, 5));
}
