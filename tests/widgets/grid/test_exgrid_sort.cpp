// Sorting rows by a column and back, filtering rows and finding cells.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GridWindow.h"
#include "base/DateTime.h"
#include "base/Locale.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/FloatingFooter.h"

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

TEST_F(SortTest, RowSortsKeepTiesInOrderAndStartAtTheirIndexEntry)
{
    // without Full only the sort column counts: the two bolts keep their order either way
    g->SortSettings().Full = false;
    g->InitSortXRef();
    struct Case {
        TSortDirection dir;
        std::string want;  // column 1 afterwards
    } cases[] = {{sdAscending, "100,12,2,7.5,-3"}, {sdDescending, "-3,7.5,12,2,100"}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.want);
        g->SortSettings().Direction = k.dir;
        g->QuickSortRows(0, 1, 5);
        EXPECT_EQ(Column(1), k.want);
        g->QuickSortRowsRef(0, 1, 5);  // back to the order before any sort
        EXPECT_EQ(Column(1), "12,-3,100,7.5,2");
    }
    // the indexed sort from entry 1 leaves entry 0 out
    g->SortSettings().Full = true;
    g->SortIndexes().AddIndex(0, true);
    g->SortIndexes().AddIndex(1, false);  // quantity down
    g->QuickSortRowsIndexed(1, 1, 5);
    EXPECT_EQ(Column(1), "100,12,7.5,2,-3");
    g->QuickSortRowsIndexed(0, 1, 5);
    EXPECT_EQ(Column(0), "Axle,bolt,bolt,cam,nut");
    EXPECT_EQ(Column(1), "100,12,2,7.5,-3");
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

TEST_F(SortTest, DatesReadWithTheDateFormatInForce)
{
    const base::TFormatSettings saved = base::FormatSettings();
    struct Case {
        const char* format;
        bool automatic;  // style chosen from the cell, else ssDate
        std::vector<std::string> texts;
        std::string want;
    } cases[] = {
        {"mm/dd/yyyy", false, {"02/01/2000", "01/02/2000", "12/31/1999"}, "12/31/1999,01/02/2000,02/01/2000"},
        {"mm/dd/yyyy", true, {"02/01/2000", "01/02/2000", "12/31/1999"}, "12/31/1999,01/02/2000,02/01/2000"},
        {"dd/mm/yyyy", false, {"02/01/2000", "01/02/2000", "31/12/1999"}, "31/12/1999,02/01/2000,01/02/2000"},
        {"dd/mm/yyyy", true, {"02/01/2000", "01/02/2000", "31/12/1999"}, "31/12/1999,02/01/2000,01/02/2000"},
        {"yyyy/mm/dd", false, {"2000/02/01", "2000/01/02", "1999/12/31"}, "1999/12/31,2000/01/02,2000/02/01"},
        // a time after the date counts; a text that is no date counts as 0
        {"mm/dd/yyyy", false, {"01/02/2000 10:00", "01/02/2000 09:30", "x"}, "x,01/02/2000 09:30,01/02/2000 10:00"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.format) + (k.automatic ? " automatic" : " ssDate"));
        base::SetShortDateFormat(k.format);
        g->SetRowCount(4);
        for (int r = 1; r < 4; ++r) g->SetCells(2, r, k.texts[std::size_t(r - 1)]);
        g->SortSettings().AutoFormat = true;
        g->OnGetFormat = nullptr;
        if (!k.automatic) g->OnGetFormat = [](TObject*, int, TSortStyle& s, std::string&, std::string&) { s = ssDate; };
        g->SortSettings().Column = 2;
        g->SortSettings().Direction = sdAscending;
        g->QSort();
        EXPECT_EQ(Column(2), k.want);
    }
    base::SetFormatSettings(saved);
}

TEST_F(SortTest, CaseInsensitiveStylesCompareAsEachStyleSays)
{
    auto wide = [](const std::u16string& s) { return s; };
    struct Case {
        TSortStyle style;
        std::vector<std::u16string> texts;  // written as wide cells
        std::u16string want;
    } cases[] = {
        // locale-aware, case ignored: Cyrillic and accented letters by the alphabet
        {ssUnicode, {u"\u0411\u044b\u043a", u"\u0430\u0442\u043e\u043c", u"\u0432\u0430\u043b"},
         u"\u0430\u0442\u043e\u043c,\u0411\u044b\u043a,\u0432\u0430\u043b"},
        {ssUnicode, {u"zoo", u"\u00c9tape", u"apple"}, u"apple,\u00c9tape,zoo"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.style));
        g->SetRowCount(4);
        for (int r = 1; r < 4; ++r) g->SetWideCells(2, r, wide(k.texts[std::size_t(r - 1)]));
        g->OnGetFormat = [&](TObject*, int, TSortStyle& s, std::string&, std::string&) { s = k.style; };
        g->SortSettings().Column = 2;
        g->SortSettings().Direction = sdAscending;
        g->QSort();
        std::u16string got;
        for (int r = 1; r < 4; ++r) got += g->GetWideCells(2, r) + (r < 3 ? u"," : u"");
        EXPECT_TRUE(got == k.want);
    }
    // the narrow styles on Windows-1252 texts
    struct Narrow {
        TSortStyle style;
        std::vector<std::string> texts;
        std::string want;
    } narrow[] = {
        {ssAnsiAlphaNoCase, {"zoo", "\xC9tape", "apple"}, "apple,\xC9tape,zoo"},
        {ssAnsiAlphaNoCase, {"b", "A", "C"}, "A,b,C"},
        {ssAnsiAlphaCase, {"zoo", "\xC9tape", "apple"}, "apple,\xC9tape,zoo"},
        {ssAnsiAlphaCase, {"b", "B", "a"}, "a,b,B"},  // case only breaks the tie
        {ssAlphaNoCase, {"zoo", "\xC9tape", "apple"}, "apple,zoo,\xC9tape"},  // a to z only
    };
    for (const Narrow& k : narrow) {
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

TEST_F(SortTest, NormalCellsOnlyKeepsTheRowLabels)
{
    g->SetFixedCols(1);
    for (int r = 1; r < 6; ++r) g->SetCells(0, r, "L" + std::to_string(r));
    g->SortSettings().Column = 1;
    g->SortSettings().Direction = sdAscending;
    g->SortSettings().NormalCellsOnly = true;
    g->QSort();
    EXPECT_EQ(Column(1), "-3,2,7.5,12,100");
    EXPECT_EQ(Column(0), "L1,L2,L3,L4,L5");
    g->QUnSort();
    EXPECT_EQ(Column(1), "12,-3,100,7.5,2");
    EXPECT_EQ(Column(0), "L1,L2,L3,L4,L5");
    g->SortSettings().NormalCellsOnly = false;  // the labels go with their rows
    g->QSort();
    EXPECT_EQ(Column(0), "L2,L5,L4,L1,L3");
}

TEST_F(SortTest, CurrentRowAndRowUpdateAfterSort)
{
    struct Case {
        bool moveRow;
        int wantRow;       // the current row after sorting by name, "Axle" having been current at 3
        bool wantUpdate;   // OnRowUpdate raised
    } cases[] = {{true, 1, false}, {false, 3, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.moveRow);
        g->QUnSort();
        ASSERT_EQ(g->Cells(0, 3), "Axle");
        g->SetRow(3);
        g->Navigation.MoveRowOnSort = k.moveRow;
        std::vector<std::pair<int, int>> updates;
        g->OnRowUpdate = [&](TObject*, int o, int n) { updates.emplace_back(o, n); };
        g->SortSettings().Column = 0;
        g->SortSettings().Direction = sdAscending;
        g->InitSortXRef();
        g->QSort();
        EXPECT_EQ(Column(0), "Axle,bolt,bolt,cam,nut");
        EXPECT_EQ(g->Row(), k.wantRow);
        if (k.wantUpdate) {
            ASSERT_EQ(updates.size(), 1u);  // also when the current row keeps its index
            EXPECT_EQ(updates[0], std::make_pair(3, 3));
        } else {
            EXPECT_TRUE(updates.empty());
        }
        g->OnRowUpdate = nullptr;
    }
}

TEST_F(SortTest, FooterTotalsFollowTheVisibleRows)
{
    g->SetRowCount(7);  // the last row holds the totals
    g->FloatingFooter().SetVisible(true);
    g->FloatingFooter().SetColumnCalc(1, acSUM);
    g->CalcFooter(-1);
    EXPECT_DOUBLE_EQ(g->GetFloats(1, 6), 118.5);
    TFilterData& f = g->Filter().Add();
    f.Column = 1;
    f.Condition = ">5";
    struct Step {
        const char* what;
        std::function<void()> act;
        double want;
    } steps[] = {
        {"filter on", [&] { g->SetFilterActive(true); }, 119.5},
        {"filter off", [&] { g->SetFilterActive(false); }, 118.5},
        {"hide a row", [&] { g->HideRow(3); }, 18.5},
        {"show it", [&] { g->UnHideRow(3); }, 118.5},
        {"hide two", [&] { TIntList l; l.Add(1); l.Add(5); g->HideRowList(l); }, 104.5},
        {"show all", [&] { g->UnHideRowsAll(); }, 118.5},
        {"filter hiding every row", [&] { f.Condition = ">1000"; g->SetFilterActive(true); }, 0},
        {"and off", [&] { g->SetFilterActive(false); }, 118.5},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_DOUBLE_EQ(g->GetFloats(1, g->RowCount() - 1), s.want);
    }
    EXPECT_EQ(g->RowCount(), 7);
}
