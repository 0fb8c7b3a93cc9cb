// Sorting rows by a column and back, filtering rows and finding cells.
#include <gtest/gtest.h>

#include "GridWindow.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;
using namespace grid;

namespace {

struct SortTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(500, 300, 3, 6);
        g->SetFixedCols(0);
        const char* rows[][3] = {{"Name", "Qty", "Note"}, {"bolt", "12", "b"}, {"nut", "-3", ""},
                                 {"Axle", "100", "a"}, {"cam", "7.5", "c"}, {"bolt", "2", "d"}};
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c) g->SetCells(c, r, rows[r][c]);
    }
    void TearDown() override { Close(); }
    std::string Column(int c)
    {
        std::string s;
        for (int r = 1; r < g->RowCount(); ++r) s += g->GetCellEx(c, r) + (r + 1 < g->RowCount() ? "," : "");
        return s;
    }
};

}  // namespace

TEST_F(SortTest, ByColumnBothWaysAndBack)
{
    struct Case {
        int col;
        TSortDirection dir;
        bool blanksLast;
        std::string want;  // column 0 afterwards
    } cases[] = {
        {1, sdAscending, false, "nut,bolt,cam,bolt,Axle"},   // numbers as numbers
        {1, sdDescending, false, "Axle,bolt,cam,bolt,nut"},
        {0, sdAscending, false, "Axle,bolt,bolt,cam,nut"},   // bytes: capitals first, ties by the next column
        {2, sdAscending, true, "Axle,bolt,cam,bolt,nut"},    // the empty cell last
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.want);
        g->SortSettings().Column = k.col;
        g->SortSettings().Direction = k.dir;
        g->SortSettings().IgnoreBlanks = k.blanksLast;
        g->SortSettings().BlankPos = k.blanksLast ? blLast : blFirst;
        g->InitSortXRef();
        g->QSort();
        EXPECT_EQ(Column(0), k.want);
        EXPECT_EQ(g->Cells(0, 0), "Name");  // the fixed row stays
        g->QUnSort();
        EXPECT_EQ(Column(0), "bolt,nut,Axle,cam,bolt");
        EXPECT_EQ(Column(1), "12,-3,100,7.5,2");
    }
}

TEST_F(SortTest, FilterHidesFailingRows)
{
    TFilterData& f = g->Filter().Add();
    f.Column = 1;
    f.Condition = ">5";
    std::vector<short> progress;
    g->OnFilterProgress = [&](TObject*, short p) { progress.push_back(p); };
    g->ApplyFilter();
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(Column(0), "bolt,Axle,cam");
    EXPECT_EQ(progress.back(), 100);
    g->UnHideRowsAll();
    TFilterData& o = g->Filter().Add();
    o.Column = 0;
    o.Condition = "n*";
    o.Operation = foOR;
    EXPECT_FALSE(g->MatchFilter(2));  // the first condition stops at a failure
    g->Filter().Items(0).Operation = foNONE;
    EXPECT_TRUE(g->MatchFilter(2));   // -3 fails, "nut" matches
    EXPECT_TRUE(g->MatchFilter(3));
    EXPECT_FALSE(g->MatchFilter(5));
}

TEST_F(SortTest, FindWalksTheCells)
{
    using G = TExStringGrid;
    EXPECT_EQ(g->FindFirst("BOLT", 0), (TPoint{0, 1}));
    EXPECT_EQ(g->FindNext(), (TPoint{0, 5}));
    EXPECT_EQ(g->FindNext(), (TPoint{-1, -1}));
    EXPECT_EQ(g->FindFirst("bolt", G::fnMatchCase | G::fnMatchFull), (TPoint{0, 1}));
    EXPECT_EQ(g->FindFirst("BOLT", G::fnMatchCase), (TPoint{-1, -1}));
    EXPECT_EQ(g->FindFirst("c", G::fnDirectionLeftRight | G::fnMatchStart), (TPoint{0, 4}));
    EXPECT_EQ(g->FindFirst("c", G::fnMatchStart), (TPoint{0, 4}));
    EXPECT_EQ(g->FindFirst("Name", G::fnMatchFull), (TPoint{-1, -1}));  // fixed row left out
    EXPECT_EQ(g->FindFirst("Name", G::fnMatchFull | G::fnIncludeFixed), (TPoint{0, 0}));
    EXPECT_EQ(g->FindFirst("1*", G::fnMatchRegular | G::fnDirectionLeftRight | G::fnAutoGoto), (TPoint{1, 1}));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->FindFirst("BOLT", G::fnBackward), (TPoint{0, 5}));
}
