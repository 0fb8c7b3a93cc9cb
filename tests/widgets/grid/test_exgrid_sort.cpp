// Sorting rows by a column and back, filtering rows and finding cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GridWindow.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
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

TEST_F(SortTest, IndexedSortNeedsIndexesAndFollowsEachKeysDirection)
{
    g->InitSortXRef();
    EXPECT_THROW(
        {
            try {
                g->QSortIndexed();
            } catch (const EExGridError& e) {
                EXPECT_STREQ(e.what(), "No indexes specified for indexed sort");
                throw;
            }
        },
        EExGridError);
    EXPECT_EQ(Column(0), "bolt,nut,Axle,cam,bolt");  // nothing changed
    g->SortIndexes().AddIndex(0, true);   // name up
    g->SortIndexes().AddIndex(1, false);  // then quantity down
    g->SortSettings().Full = true;
    g->QSortIndexed();
    EXPECT_EQ(Column(0), "Axle,bolt,bolt,cam,nut");
    EXPECT_EQ(Column(1), "100,12,2,7.5,-3");
    EXPECT_EQ(g->SortIndexes().Count(), 2);  // kept
}

TEST_F(SortTest, GroupSortOrdersTheChildrenOfEachExpandedNodeApart)
{
    g->SetRowCount(9);
    const char* names[] = {"", "G1", "c", "a", "b", "G2", "z", "y", "x"};
    for (int r = 1; r < 9; ++r) g->SetCells(1, r, names[r]);
    g->AddNode(1, 4);  // rows 1..4
    g->AddNode(5, 4);  // rows 5..8
    g->SortSettings().Column = 1;
    g->SortSettings().Direction = sdAscending;
    g->QSortGroup();
    EXPECT_EQ(Column(1), "G1,a,b,c,G2,x,y,z");
    EXPECT_TRUE(g->IsNode(1));
    EXPECT_TRUE(g->IsNode(5));
    // a contracted node's rows are left alone
    g->ContractNode(5);
    g->SortSettings().Direction = sdDescending;
    g->QSortGroup();
    g->ExpandNode(5);
    EXPECT_EQ(Column(1), "G1,c,b,a,G2,x,y,z");
}

TEST_F(SortTest, FilterActiveHidesFailingRowsAndShowsThemAgain)
{
    g->SetFixedRows(1);
    TFilterData& f = g->Filter().Add();
    f.Column = 1;
    f.Condition = ">5";
    g->SetFilterActive(true);
    EXPECT_TRUE(g->FilterActive());
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(Column(0), "bolt,Axle,cam");
    EXPECT_EQ(g->Cells(0, 0), "Name");  // the fixed row stays
    EXPECT_EQ(g->FixedRows(), 1);
    g->SetFilterActive(true);  // no change: applied once
    EXPECT_EQ(g->RowCount(), 4);
    g->SetFilterActive(false);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(Column(0), "bolt,nut,Axle,cam,bolt");
    EXPECT_EQ(g->FixedRows(), 1);
}

TEST_F(SortTest, SortStylesCompareByTheirOwnRules)
{
    struct Case {
        TSortStyle style;
        std::vector<std::string> texts;
        std::string want;  // ascending, joined by ","
    } cases[] = {
        {ssAlphabetic, {"b", "B", "a"}, "B,a,b"},
        {ssAlphaNoCase, {"b", "C", "a"}, "a,b,C"},
        {ssNumeric, {"10", "9", "-1"}, "-1,9,10"},
        {ssFinancial, {"1,200", "999", "12"}, "12,999,1,200"},
        {ssHTML, {"<b>c</b>", "b", "<i>a</i>"}, "<i>a</i>,b,<b>c</b>"},
        {ssShortDateEU, {"02/01/2000", "01/02/2000", "31/12/1999"}, "31/12/1999,02/01/2000,01/02/2000"},
        {ssShortDateUS, {"02/01/2000", "01/02/2000", "12/31/1999"}, "12/31/1999,01/02/2000,02/01/2000"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.want);
        g->SetRowCount(4);
        for (int r = 1; r < 4; ++r) g->SetCells(2, r, k.texts[std::size_t(r - 1)]);
        g->OnGetFormat = [&](TObject*, int, TSortStyle& s, std::string&, std::string&) { s = k.style; };
        g->SortSettings().Column = 2;
        g->SortSettings().Direction = sdAscending;
        g->QSort();
        EXPECT_EQ(Column(2), k.want);
    }
}

TEST_F(SortTest, CheckBoxAndImageStylesSortByStateAndImageKey)
{
    g->SetRowCount(4);
    g->AddCheckBox(2, 1, true, false);
    g->AddCheckBox(2, 2, false, false);
    g->AddCheckBox(2, 3, true, false);
    g->SetCells(0, 1, "on1");
    g->SetCells(0, 2, "off");
    g->SetCells(0, 3, "on2");
    g->OnGetFormat = [&](TObject*, int, TSortStyle& s, std::string&, std::string&) { s = ssCheckBox; };
    g->SortSettings().Column = 2;
    g->QSort();
    EXPECT_EQ(Column(0), "off,on1,on2");
    // image keys: bitmaps shared by two cells give equal keys; cells without images -1
    TBitmap shared, other;
    g->AddBitmap(2, 1, &shared, false, haLeft, vaTop);
    g->AddBitmap(2, 2, &other, false, haLeft, vaTop);
    g->AddBitmap(2, 3, &shared, false, haLeft, vaTop);
    EXPECT_EQ(g->GetCellImageIdx(2, 1), g->GetCellImageIdx(2, 3));
    EXPECT_NE(g->GetCellImageIdx(2, 1), g->GetCellImageIdx(2, 2));
    EXPECT_EQ(g->GetCellImageIdx(1, 1), -1);
    g->OnGetFormat = [&](TObject*, int, TSortStyle& s, std::string&, std::string&) { s = ssImages; };
    g->QSort();
    const bool sharedFirst = g->GetCellImageIdx(2, 1) == g->GetCellImageIdx(2, 2);
    EXPECT_EQ(g->GetCellImageIdx(2, sharedFirst ? 1 : 2), g->GetCellImageIdx(2, sharedFirst ? 2 : 3));
    EXPECT_LE(g->GetCellImageIdx(2, 1), g->GetCellImageIdx(2, 3));
}

TEST_F(SortTest, FindWrapsAfterTheLastMatchAndFindsEmptyCellsAndWideText)
{
    using G = TExStringGrid;
    g->FindFirst("BOLT", 0);
    g->FindNext();
    EXPECT_EQ(g->FindNext(), (TPoint{-1, -1}));
    EXPECT_EQ(g->FindNext(), (TPoint{0, 1}));  // starts again from the first cell
    EXPECT_EQ(g->FindFirst("\"\"", 0), (TPoint{2, 2}));  // the first empty normal cell
    g->SetFixedFooters(1);
    EXPECT_EQ(g->FindFirst("bolt", G::fnMatchFull | G::fnMatchCase), (TPoint{0, 1}));
    EXPECT_EQ(g->FindNext(), (TPoint{-1, -1}));  // the footer row is left out
    EXPECT_EQ(g->FindFirst("<B>A", G::fnIgnoreHTMLTags), (TPoint{-1, -1}));
    g->SetCells(2, 3, "<b>abc</b>");
    EXPECT_EQ(g->FindFirst("ABC", G::fnIgnoreHTMLTags | G::fnMatchFull), (TPoint{2, 3}));
    g->SetWideCells(2, 4, u"\u0416\u0436x");
    EXPECT_EQ(g->FindWide(TPoint{-1, -1}, u"\u0436x", 0), (TPoint{2, 4}));
    EXPECT_EQ(g->FindWide(TPoint{-1, -1}, u"\u0436x", G::fnMatchStart), (TPoint{-1, -1}));
    EXPECT_EQ(g->FindWide(TPoint{-1, -1}, u"\u0416\u0436x", G::fnMatchFull), (TPoint{2, 4}));
}

TEST_F(SortTest, RangeSortsSortLineAndSearch)
{
    g->SortSettings().Direction = sdAscending;
    g->QuickSort(0, 2, 4);  // only rows 2..4
    EXPECT_EQ(Column(0), "bolt,Axle,cam,nut,bolt");
    g->SortIndexes().AddIndex(1, false);  // quantity down
    g->QuickSortIndexed(1, 5);
    EXPECT_EQ(Column(1), "100,12,7.5,2,-3");
    EXPECT_EQ(g->CompareLineIndexed(0, 1, 2), -1);
    EXPECT_EQ(g->CompareLineIndexed(0, 2, 1), 1);
    // SortLine swaps a pair out of the last sort's order and says so
    EXPECT_TRUE(g->SortLine(1, 1, 2));  // ascending: 100 before 12 is out of order
    EXPECT_EQ(g->Cells(1, 1), "12");
    EXPECT_FALSE(g->SortLine(1, 1, 2));
    // lookup in column 1 while the sort column is not shown
    EXPECT_EQ(g->Search("10"), 2);
    EXPECT_EQ(g->Search("X"), -1);
    g->SortSettings().SetShow(true);
    g->SortSettings().Column = 0;
    g->SetCells(0, 3, "<b>Cam</b>");
    EXPECT_EQ(g->Search("CA"), 3);  // tags stripped, any case
}

TEST_F(SortTest, ImageStyleSortsByTheImageIndexBothWays)
{
    TImageList images(8, 8);
    g->SetImages(&images);
    const int index[] = {0, 2, 0, 1, 3, 0};  // by row; row 2 gets no image (key -1)
    for (int r = 1; r < 6; ++r)
        if (r != 2) g->AddImageIdx(2, r, index[r], haLeft, vaTop);
    g->OnGetFormat = [&](TObject*, int, TSortStyle& s, std::string&, std::string&) { s = ssImages; };
    g->SortSettings().Column = 2;
    g->SortSettings().Direction = sdAscending;
    g->QSort();
    EXPECT_EQ(Column(0), "nut,bolt,Axle,bolt,cam");
    g->SortSettings().Direction = sdDescending;
    g->QSort();
    EXPECT_EQ(Column(0), "cam,bolt,Axle,bolt,nut");
    int i = -1;
    EXPECT_TRUE(g->GetImageIdx(2, 1, i));
    EXPECT_EQ(i, 3);  // the graphics move with their rows
}
