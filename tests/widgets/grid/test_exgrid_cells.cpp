// Typed cells, row and column operations with their properties and blocks, and the
// grid's support and option objects.
#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "base/Locale.h"
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/TestRig.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"
#include "GridWindow.h"
#include "widgets/grid/ExObj.h"

using namespace platform;
using namespace grid;

namespace {

struct CellsTest : ::testing::Test, gridtest::GridWindow {
    char dec = '.', thou = ',';
    std::string dateFmt;
    void SetUp() override
    {
        dec = base::DecimalSeparator();
        thou = base::ThousandSeparator();
        dateFmt = base::ShortDateFormat();
        base::SetDecimalSeparator('.');
        base::SetThousandSeparator(',');
        Open(500, 300, 5, 6);
    }
    void TearDown() override
    {
        Close();
        base::SetDecimalSeparator(dec);
        base::SetThousandSeparator(thou);
        base::SetShortDateFormat(dateFmt);
    }
};

}  // namespace

TEST_F(CellsTest, NumbersReadBackOrRaiseWithTheirMessages)
{
    struct Case {
        const char* text;
        bool isInt;
        int i;
        bool isFloat;
        double f;
    };
    const Case cases[] = {
        {"", true, 0, true, 0},          {"-", true, 0, true, 0},          {"42", true, 42, true, 42},
        {"-7", true, -7, true, -7},      {"1,000", false, 0, true, 1000},  {"12.5", false, 0, true, 12.5},
        {"(1,000.50)", false, 0, true, -1000.5}, {"abc12", false, 0, false, 0}, {"12abc", false, 0, false, 0},
        {"abc", false, 0, false, 0},     {"1e3", false, 0, true, 1000},
    };
    for (const Case& k : cases) {
        g->SetCellEx(1, 1, k.text);
        if (k.isInt) EXPECT_EQ(g->GetInts(1, 1), k.i) << k.text;
        else {
            try {
                g->GetInts(1, 1);
                ADD_FAILURE() << k.text;
            } catch (const EExGridError& e) {
                EXPECT_STREQ(e.what(), "Cell does not contain integer value");
            }
        }
        if (k.isFloat) EXPECT_DOUBLE_EQ(g->GetFloats(1, 1), k.f) << k.text;
        else {
            try {
                g->GetFloats(1, 1);
                ADD_FAILURE() << k.text;
            } catch (const EExGridError& e) {
                EXPECT_STREQ(e.what(), "Cell does not contain a float value");
            }
        }
    }
}

TEST_F(CellsTest, FloatsWriteInTheFormatWithTheUsersSeparator)
{
    base::SetDecimalSeparator(',');
    base::SetThousandSeparator('.');
    g->FloatFormat = "%.3f";
    g->SetFloats(2, 2, 1.5);
    EXPECT_EQ(g->GetCellEx(2, 2), "1,500");
    EXPECT_DOUBLE_EQ(g->GetFloats(2, 2), 1.5);
    g->SetCellEx(2, 2, "(1.000,50)");
    EXPECT_DOUBLE_EQ(g->GetFloats(2, 2), -1000.5);
    g->SetAllFloats(2, 3, 2.25);
    EXPECT_EQ(g->Cells(2, 3), "2,250");
    for (const char* bad : {"%d", "%s", "%.2f %f", "abc"}) {
        g->FloatFormat = bad;
        EXPECT_THROW(g->SetFloats(2, 2, 1), EExGridError) << bad;
    }
    g->SetInts(1, 1, -12);
    EXPECT_EQ(g->GetCellEx(1, 1), "-12");
}

TEST_F(CellsTest, DatesAndTimes)
{
    base::SetShortDateFormat("dd/mm/yyyy");
    g->SetDates(1, 1, base::EncodeDate(2005, 3, 14));
    EXPECT_EQ(g->GetCellEx(1, 1), base::DateToStr(base::EncodeDate(2005, 3, 14)));
    EXPECT_DOUBLE_EQ(g->GetDates(1, 1), base::EncodeDate(2005, 3, 14));
    g->SetCellEx(1, 1, "31/02/2005");
    EXPECT_THROW(g->GetDates(1, 1), base::EConvertError);
    g->SetCellEx(1, 1, "12:30");
    EXPECT_NEAR(g->GetTimes(1, 1), base::EncodeTime(12, 30, 0, 0), 1e-9);
    g->SetCellEx(1, 1, "25:00");
    EXPECT_THROW(g->GetTimes(1, 1), base::EConvertError);
}

TEST_F(CellsTest, ErrorsOfRangesAndVersion)
{
    try {
        g->GetPrintColWidth(512);
        ADD_FAILURE();
    } catch (const EExGridError& e) {
        EXPECT_STREQ(e.what(), "Columns is not in valid range");
    }
    EXPECT_THROW(g->SetRowSelect(6, true), EExGridError);
    EXPECT_THROW(g->GetColSelect(5), EExGridError);
    g->SetFixedRows(1);
    g->SortSettings().SetSortRow(0);
    EXPECT_THROW(g->SortSettings().SetSortRow(1), base::Exception);
}

TEST_F(CellsTest, InsertRowsCarriesBlocksAndProperties)
{
    g->MergeCells(1, 0, 3, 1);
    g->SetCellEx(1, 0, "Report");
    g->SetColors(4, 0, clRed);
    g->InsertRows(0, 1);
    EXPECT_EQ(g->RowCount(), 7);
    EXPECT_EQ(g->GetCellEx(3, 1), "Report");
    EXPECT_TRUE(g->IsMergedCell(2, 1));
    EXPECT_EQ(g->GetColors(4, 1), clRed);
    EXPECT_FALSE(g->HasCellProperties(1, 0));
    EXPECT_EQ(g->RowHeights(0), g->DefaultRowHeight());
    g->MergeCells(1, 0, 3, 1);
    g->SetCellEx(1, 0, "Next");
    EXPECT_EQ(g->GetCellEx(2, 0), "Next");
    EXPECT_EQ(g->GetCellEx(2, 1), "Report");
    // Guards: past the end and counts below 1 do nothing; the end itself appends.
    g->InsertRows(8, 1);
    g->InsertRows(2, 0);
    EXPECT_EQ(g->RowCount(), 7);
    g->InsertRows(7, 2);
    EXPECT_EQ(g->RowCount(), 9);
}

TEST_F(CellsTest, RemoveAndClearFreeWhatTheyDrop)
{
    for (int r = 0; r < 6; ++r) g->SetCellEx(0, r, std::to_string(r));
    g->SetColors(1, 2, clRed);
    g->SetColors(1, 3, clBlue);
    g->RemoveRows(6, 1);  // the row count itself is no row
    g->RemoveRows(7, 1);
    EXPECT_EQ(g->RowCount(), 6);
    g->RemoveRows(2, 1);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->GetCellEx(0, 2), "3");
    EXPECT_EQ(g->GetColors(1, 2), clBlue);
    g->RemoveRows(3, 99);  // the count is clamped
    EXPECT_EQ(g->RowCount(), 3);
    g->SetColWidths(2, 33);
    g->MergeCells(1, 0, 2, 2);
    g->ClearRect(0, 0, 4, 2);
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(g->ColWidths(2), 33);
    EXPECT_FALSE(g->HasCellProperties(1, 0));
    EXPECT_EQ(g->GetCellEx(0, 1), "");
}

TEST_F(CellsTest, ColumnsInsertRemoveAndMergeAlongThem)
{
    g->SetCellEx(1, 1, "b");
    g->SetColors(1, 1, clRed);
    g->InsertCols(1, 1);
    EXPECT_EQ(g->ColCount(), 6);
    EXPECT_EQ(g->GetCellEx(2, 1), "b");
    EXPECT_EQ(g->GetColors(2, 1), clRed);
    EXPECT_FALSE(g->HasCellProperties(1, 1));
    g->RemoveCols(1, 1);
    EXPECT_EQ(g->GetCellEx(1, 1), "b");
    const char* col[] = {"h", "A", "A", "B", "B", "B"};
    for (int r = 0; r < 6; ++r) g->SetCellEx(3, r, col[r]);
    g->SetFixedRows(1);
    g->MergeColumnCells(3, true);
    EXPECT_EQ(g->CellSpan(3, 1).Y, 1);
    EXPECT_EQ(g->CellSpan(3, 5).Y, 2);
    g->SplitColumnCells(3);
    EXPECT_FALSE(g->IsMergedCell(3, 1));
    const char* dup[] = {"h", "abc", "ABC", "x", "y", "z"};
    for (int r = 0; r < 6; ++r) g->SetCellEx(4, r, dup[r]);
    g->RemoveDuplicates(4, false);
    EXPECT_EQ(g->RowCount(), 5);
    int c = -1, r = -1;
    EXPECT_TRUE(g->IsCell("B", c, r));
    EXPECT_EQ(r, 2);
}

TEST_F(CellsTest, RowColourNoneDropsTheCellsProperties)
{
    g->SetFixedCols(1);
    g->SetAlignments(2, 2, taRightJustify);
    g->SetRowColor(2, clYellow);
    EXPECT_EQ(g->GetColors(3, 2), clYellow);
    EXPECT_EQ(g->GetColors(0, 2), clNone);
    g->SetRowColor(2, clNone);
    EXPECT_EQ(g->GetAlignments(2, 2), taLeftJustify);
    EXPECT_FALSE(g->HasCellProperties(3, 2));
}

TEST_F(CellsTest, HeadersMarksAndFills)
{
    g->SetColCount(2);
    g->SetFixedRows(1);
    base::TStringList h;
    h.SetText("One\nTwo\\nlines\nThree\n");
    g->SetColumnHeaders(h);
    EXPECT_EQ(g->GetCellEx(0, 0), "One");
    EXPECT_EQ(g->GetCellEx(1, 0), "Two\rlines");
    g->SetCellEx(1, 2, "hull length");
    g->HilightInCell(false, 1, 2, "length");
    EXPECT_NE(g->GetCellEx(1, 2), "hull length");
    g->UnHilightInCell(1, 2);
    EXPECT_EQ(g->GetCellEx(1, 2), "hull length");
    g->LinearFill(false);
    EXPECT_EQ(g->GetCellEx(1, 3), "1:3");
    g->SelectRows(3, 2);
    EXPECT_EQ(g->Selection(), (TGridRect{g->FixedCols(), 3, 1, 4}));
}

TEST_F(CellsTest, ControlsOnCellsAreCounted)
{
    auto* ctl = new TPanel(form);
    g->SetCellControls(1, 1, ctl);
    EXPECT_EQ(g->GetCellControls(1, 1), ctl);
    EXPECT_EQ(g->CellControlCount(), 1);
    g->SetCellControls(1, 1, nullptr);
    EXPECT_EQ(g->CellControlCount(), 0);
    EXPECT_EQ(g->GetCellControls(1, 1), nullptr);
    g->CellControlsUpdate();
}

TEST(GridSupport, IntListsRaiseChangesAndReadText)
{
    TIntList l(3, 4);
    int changes = 0;
    l.OnChange = [&](TIntList*, int c, int r) {
        EXPECT_EQ(c, 3);
        EXPECT_EQ(r, 4);
        ++changes;
    };
    l.SetStrValue("3,-1,20");
    EXPECT_EQ(l.StrValue(), "3,-1,20");
    EXPECT_EQ(changes, 3);
    l.Insert(0, 9);
    EXPECT_EQ(changes, 3);
    l.Delete(0);
    l.SetItems(0, 5);
    EXPECT_EQ(changes, 5);
    EXPECT_THROW(l.SetStrValue("1,x"), base::EConvertError);

    TSortIndexList s;
    s.AddIndex(5, false);
    s.AddIndex(2, true);
    EXPECT_EQ(s.FindIndex(5), 0);
    EXPECT_TRUE(s.SortDirections(0));
    s.ToggleIndex(5);
    EXPECT_FALSE(s.SortDirections(0));
    EXPECT_EQ(s.FindIndex(7), -1);

    TControlList cl;
    EXPECT_EQ(cl.ControlIndex(1, 1), -1);
    cl.AddControl(1, 1, nullptr);
    EXPECT_EQ(cl.ControlIndex(1, 1), 0);
    cl.RemoveControl(0);
    EXPECT_EQ(cl.Count(), 0);

    TFilePicture p;
    TBitmap b(4, 4);
    p.DrawPicture(*b.Canvas(), {0, 0, 4, 4});  // no file: nothing
    EXPECT_THROW(p.SetFileName("/nonexistent/picture.bmp"), base::Exception);
    EXPECT_EQ(p.Filename(), "");
}

TEST_F(CellsTest, FiltersNotifiersAndBands)
{
    TFilterData& f = g->Filter().GetColFilter(3);
    EXPECT_EQ(&g->Filter().GetColFilter(3), &f);
    EXPECT_EQ(g->Filter().Count(), 1);
    TGridChangeNotifier n;
    struct Counter : TGridChangeNotifier {
        int calls = 0;
        void CellsChanged(const TRect&) override { ++calls; }
    } counter;
    std::vector<std::string> order;
    g->OnCellsChanged = [&](TObject*, const TRect&) { order.push_back("event"); };
    g->RegisterNotifier(&counter);
    g->RegisterNotifier(&counter);
    g->InsertRows(1, 1);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(order.size(), 1u);
    g->UnRegisterNotifier(&counter);
    EXPECT_EQ(g->Bands().TotalLength(), 2);
    g->Bands().SetPrimaryLength(3);
    EXPECT_EQ(g->Bands().TotalLength(), 4);
}

TEST_F(CellsTest, SortSwapsAndThumbTracking)
{
    for (int r = 0; r < 6; ++r) {
        g->SetCellEx(0, r, "a" + std::to_string(r));
        g->SetCellEx(1, r, "b" + std::to_string(r));
        g->PreSortOrder().Add(r);
    }
    g->FollowedRow = 2;
    g->SortSwapRows(2, 4);
    EXPECT_EQ(g->GetCellEx(0, 2), "a4");
    EXPECT_EQ(g->GetCellEx(1, 4), "b2");
    EXPECT_EQ(g->PreSortOrder().Items(2), 4);
    EXPECT_EQ(g->FollowedRow, 4);
    EXPECT_EQ(g->SwapCount(), 1);
    g->SortSettings().SingleColumn = true;
    g->SortSettings().Column = 1;
    g->SortSwapRows(2, 4);
    EXPECT_EQ(g->GetCellEx(1, 2), "b2");
    EXPECT_EQ(g->GetCellEx(0, 2), "a4");  // only the sort column moved back

    g->SetRowCount(200);
    g->ScrollSynch = true;
    TMessage m{};
    m.Msg = WM_VSCROLL;
    m.WParam = MakeWParam(SB_THUMBTRACK, 127);
    g->WMVScroll(m);
    EXPECT_EQ(g->TopRow(), 200 - g->VisibleRowCount());
}
