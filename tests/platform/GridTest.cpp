// The base grid: counts, geometry, the order of the selection protocol, sizing and moving
// with the mouse, the in-place editor, scrolling.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/controls/Grids.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

// Logs the protocol calls in order; refuses cells listed in veto.
class TLogGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::vector<std::string> log;
    std::vector<TGridCoord> veto;
    bool SelectCell(int c, int r) override
    {
        log.push_back("SelectCell " + std::to_string(c) + "," + std::to_string(r));
        for (const TGridCoord& v : veto)
            if (v.X == c && v.Y == r) return false;
        return TStringGrid::SelectCell(c, r);
    }
    void SizeChanged(int oldCols, int oldRows) override
    {
        log.push_back("SizeChanged " + std::to_string(oldCols) + "," + std::to_string(oldRows));
        TStringGrid::SizeChanged(oldCols, oldRows);
    }
    void ColWidthsChanged() override
    {
        log.push_back("ColWidthsChanged");
        TStringGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override
    {
        log.push_back("RowHeightsChanged");
        TStringGrid::RowHeightsChanged();
    }
    void TopLeftChanged() override
    {
        log.push_back("TopLeftChanged " + std::to_string(LeftCol()) + "," + std::to_string(TopRow()));
        TStringGrid::TopLeftChanged();
    }
};

struct GridFixture : ::testing::Test {
    TForm* form = nullptr;
    TLogGrid* grid = nullptr;
    void SetUp() override
    {
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 400, 300);
        grid = new TLogGrid(form);
        grid->SetParent(form);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetBounds(0, 0, 200, 100);  // 64 + 1 per column, 24 + 1 per row
        grid->SetColCount(10);
        grid->SetRowCount(20);
        grid->OnSelectCell = [this](TObject*, int c, int r, bool&) {
            grid->log.push_back("OnSelectCell " + std::to_string(c) + "," + std::to_string(r));
        };
        form->Show();
        grid->SetFocus();
        grid->log.clear();
    }
    void TearDown() override { form->Free(); }
};

}  // namespace

TEST_F(GridFixture, CountsKeepTheFixedRowsAndColumnsBelowThem)
{
    EXPECT_THROW(grid->SetFixedCols(10), EInvalidGridOperation);
    EXPECT_THROW(grid->SetFixedRows(-1), EInvalidGridOperation);
    EXPECT_EQ(grid->FixedCols(), 1);
    grid->SetFixedCols(3);
    EXPECT_EQ(grid->Col(), 3);  // the current cell leaves the fixed part
    grid->SetColCount(2);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->Col(), 1);
    grid->SetRowCount(0);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->Row(), 0);
}

TEST_F(GridFixture, SizeChangesReachTheirHooks)
{
    grid->SetColCount(12);
    grid->SetRowHeights(3, 40);
    grid->SetColWidths(3, 40);
    grid->SetColWidths(3, 40);  // unchanged: no call
    grid->SetDefaultRowHeight(20);
    EXPECT_EQ(grid->log, (std::vector<std::string>{"SizeChanged 10,20", "RowHeightsChanged", "ColWidthsChanged",
                                                   "RowHeightsChanged"}));
    EXPECT_EQ(grid->RowHeights(3), 20);
}

TEST_F(GridFixture, CellRectIsEmptyOutOfViewAndCutAtTheEdge)
{
    EXPECT_EQ(grid->CellRect(0, 0), Rect(0, 0, 64, 24));
    EXPECT_EQ(grid->CellRect(1, 1), Rect(65, 25, 129, 49));
    EXPECT_EQ(grid->CellRect(3, 1), Rect(195, 25, 200, 49));  // shown in part
    EXPECT_TRUE(IsRectEmpty(grid->CellRect(4, 1)));
    EXPECT_TRUE(IsRectEmpty(grid->CellRect(1, 4)));
    grid->SetLeftCol(3);
    EXPECT_TRUE(IsRectEmpty(grid->CellRect(1, 1)));
    EXPECT_EQ(grid->CellRect(3, 1), Rect(65, 25, 129, 49));
    EXPECT_EQ(grid->CellRect(0, 1), Rect(0, 25, 64, 49));  // fixed cells stay
    EXPECT_EQ(grid->VisibleColCount(), 2);
    EXPECT_EQ(grid->VisibleRowCount(), 3);
}

TEST_F(GridFixture, MouseToCellCountsALineWithTheCellBeforeIt)
{
    struct Case {
        int x, y, col, row;
    } cases[] = {{0, 0, 0, 0},   {63, 23, 0, 0},  {64, 24, 0, 0},  {65, 25, 1, 1},
                 {129, 49, 1, 1}, {130, 50, 2, 2}, {199, 99, 3, 3}, {200, 10, -1, -1}};
    for (const Case& c : cases) {
        const TGridCoord g = grid->MouseCoord(c.x, c.y);
        EXPECT_EQ(g.X, c.col) << c.x << "," << c.y;
        EXPECT_EQ(g.Y, c.row) << c.x << "," << c.y;
    }
    grid->SetColCount(2);
    int col = 0, row = 0;
    grid->MouseToCell(150, 10, col, row);  // past the last column
    EXPECT_EQ(col, -1);
    EXPECT_EQ(row, -1);
}

TEST_F(GridFixture, KeysAskSelectCellThenScrollTheCurrentCellIntoView)
{
    SendKey(grid, VK_DOWN);
    SendKey(grid, VK_DOWN);
    SendKey(grid, VK_DOWN);  // row 4 is below the three rows shown
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_FALSE(IsRectEmpty(grid->CellRect(1, 4)));
    EXPECT_EQ(grid->log,
              (std::vector<std::string>{"SelectCell 1,2", "OnSelectCell 1,2", "SelectCell 1,3", "OnSelectCell 1,3",
                                        "SelectCell 1,4", "OnSelectCell 1,4", "TopLeftChanged 1,2"}));
    // A refused cell keeps the current one.
    grid->log.clear();
    grid->veto = {{2, 4}};
    SendKey(grid, VK_RIGHT);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->log, (std::vector<std::string>{"SelectCell 2,4"}));
    // Ctrl+End, Ctrl+Home, page keys.
    SendKey(grid, VK_END, ssCtrl);
    EXPECT_EQ(grid->Col(), 9);
    EXPECT_EQ(grid->Row(), 19);
    EXPECT_FALSE(IsRectEmpty(grid->CellRect(9, 19)));
    SendKey(grid, VK_PRIOR);
    EXPECT_EQ(grid->Row(), 16);
    SendKey(grid, VK_HOME, ssCtrl);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(GridFixture, AClickSelectsTheCellAndShiftClickExtendsTheSelection)
{
    ClickAt(grid, 140, 60);  // cell (2, 2)
    EXPECT_EQ(grid->log, (std::vector<std::string>{"SelectCell 2,2", "OnSelectCell 2,2"}));
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 2, 2}));
    ClickAt(grid, 70, 30, ssShift);  // (1, 1)
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
    // Dragging over cells extends it too.
    SendMouse(grid, WM_LBUTTONDOWN, 70, 30);
    SendMouse(grid, WM_MOUSEMOVE, 140, 80, ssLeft);
    SendMouse(grid, WM_LBUTTONUP, 140, 80);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 3}));
    // Past the bottom edge the selection grows a row at a time and the view follows.
    SendMouse(grid, WM_LBUTTONDOWN, 70, 30);
    SendMouse(grid, WM_MOUSEMOVE, 70, 120, ssLeft);
    SendMouse(grid, WM_MOUSEMOVE, 70, 120, ssLeft);
    SendMouse(grid, WM_LBUTTONUP, 70, 120);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 5}));
    EXPECT_EQ(grid->TopRow(), 3);
    // Tab goes through the columns and on to the next row.
    grid->SetOptions(grid->Options() | goTabs);
    grid->SetCol(9);
    SendKey(grid, VK_TAB);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 6);
    SendKey(grid, VK_TAB, ssShift);
    EXPECT_EQ(grid->Col(), 9);
    EXPECT_EQ(grid->Row(), 5);
    grid->SetOptions(grid->Options() | goRowSelect);
    EXPECT_EQ(grid->Selection().Left, 1);
    EXPECT_EQ(grid->Selection().Right, 9);
}

TEST_F(GridFixture, DraggingAColumnEdgeInTheFixedRowSizesTheColumn)
{
    grid->SetOptions(grid->Options() | goColSizing | goRowSizing);
    SendMouse(grid, WM_LBUTTONDOWN, 129, 10);  // the right edge of column 1
    SendMouse(grid, WM_MOUSEMOVE, 150, 10, ssLeft);
    SendMouse(grid, WM_MOUSEMOVE, 170, 10, ssLeft);
    SendMouse(grid, WM_LBUTTONUP, 170, 10);
    EXPECT_EQ(grid->ColWidths(1), 64 + 41);
    EXPECT_EQ(grid->CellRect(2, 1).Left, 65 + 105 + 1);
    // Rows by their bottom edge in the fixed column.
    SendMouse(grid, WM_LBUTTONDOWN, 10, 49);
    SendMouse(grid, WM_LBUTTONUP, 10, 39);
    EXPECT_EQ(grid->RowHeights(1), 14);
    // Without the option an edge is an ordinary press.
    grid->SetOptions(grid->Options() & ~unsigned(goColSizing));
    SendMouse(grid, WM_LBUTTONDOWN, 64, 10);
    SendMouse(grid, WM_LBUTTONUP, 90, 10);
    EXPECT_EQ(grid->ColWidths(0), 64);
}

TEST_F(GridFixture, MovingARowByItsFixedCellCarriesItsCells)
{
    grid->SetOptions(grid->Options() | goRowMoving);
    grid->SetCells(1, 1, "one");
    grid->SetCells(1, 2, "two");
    grid->SetCells(0, 3, "head 3");
    grid->SetRowHeights(1, 30);
    std::vector<std::string> moved;
    grid->OnRowMoved = [&](TObject*, int from, int to) {
        moved.push_back(std::to_string(from) + ">" + std::to_string(to));
    };
    // Row 1 (y 25..55) onto row 3 (y 82..106).
    SendMouse(grid, WM_LBUTTONDOWN, 10, 30);
    SendMouse(grid, WM_MOUSEMOVE, 10, 60, ssLeft);
    SendMouse(grid, WM_MOUSEMOVE, 10, 90, ssLeft);
    SendMouse(grid, WM_LBUTTONUP, 10, 90);
    EXPECT_EQ(moved, (std::vector<std::string>{"1>3"}));
    EXPECT_EQ(grid->Cells(1, 1), "two");
    EXPECT_EQ(grid->Cells(0, 2), "head 3");
    EXPECT_EQ(grid->Cells(1, 3), "one");
    EXPECT_EQ(grid->RowHeights(3), 30);
    // Held past the bottom edge, the timer scrolls on and the row goes to the last row shown.
    moved.clear();
    SendMouse(grid, WM_LBUTTONDOWN, 10, 30);
    SendMouse(grid, WM_MOUSEMOVE, 10, 60, ssLeft);
    SendMouse(grid, WM_MOUSEMOVE, 10, 140, ssLeft);
    grid->Perform(WM_TIMER, 1);
    grid->Perform(WM_TIMER, 1);
    EXPECT_EQ(grid->TopRow(), 3);
    SendMouse(grid, WM_LBUTTONUP, 10, 140);
    EXPECT_EQ(moved, (std::vector<std::string>{"1>4"}));  // rows 3 (30 high) and 4 show whole
    EXPECT_EQ(grid->Cells(1, 4), "two");
    grid->MoveRow(4, 1);
    grid->SetTopRow(1);
    // Deleting a row moves it to the end and drops it.
    grid->DeleteRow(1);
    EXPECT_EQ(grid->RowCount(), 19);
    EXPECT_EQ(grid->Cells(0, 1), "head 3");
    EXPECT_EQ(grid->Cells(1, 2), "one");
    grid->MoveColumn(1, 2);
    EXPECT_EQ(grid->Cells(2, 2), "one");
}

TEST_F(GridFixture, ACharacterOpensTheEditorAndTheTextIsStoredAsItIsTyped)
{
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetCells(1, 1, "old");
    SendChar(grid, '7');
    Application->ProcessMessages();
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_TRUE(grid->InplaceEditor()->Visible());
    EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), grid->CellRect(1, 1));
    EXPECT_EQ(grid->Cells(1, 1), "7");
    SendChar(grid->InplaceEditor(), '8');
    EXPECT_EQ(grid->Cells(1, 1), "78");
    // Enter closes the editor and keeps the text.
    SendKey(grid->InplaceEditor(), VK_RETURN);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_FALSE(grid->InplaceEditor()->Visible());
    EXPECT_EQ(grid->Cells(1, 1), "78");
    // Escape puts back what the cell held when the editor opened.
    SendKey(grid, VK_F2);
    EXPECT_TRUE(grid->InplaceEditor()->Visible());
    EXPECT_EQ(grid->InplaceEditor()->SelLength(), 2);  // all of it
    SendKey(grid->InplaceEditor(), VK_END);
    SendChar(grid->InplaceEditor(), 'x');
    EXPECT_EQ(grid->Cells(1, 1), "78x");
    SendKey(grid->InplaceEditor(), VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 1), "78");
    EXPECT_FALSE(grid->EditorMode());
    // Down in the editor moves the current cell; the editor closes, its text staying in
    // the cell it was opened on.
    grid->SetCells(1, 2, "below");
    grid->SetEditorMode(true);
    SendKey(grid->InplaceEditor(), VK_DOWN);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(grid->InplaceEditor()->Visible());
    EXPECT_EQ(grid->Cells(1, 1), "78");
    EXPECT_EQ(grid->Cells(1, 2), "below");
}

namespace {
class TKeyFilterGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    bool CanEditAcceptKey(char k) override { return k >= '0' && k <= '9'; }
    int GetEditLimit() override { return 3; }
};
}  // namespace

TEST_F(GridFixture, TheEditorAsksTheGridAboutKeysAndLimits)
{
    auto* g = new TKeyFilterGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 120, 200, 100);
    g->SetOptions(g->Options() | goEditing);
    g->SetFocus();
    g->SetEditorMode(true);
    ASSERT_NE(g->InplaceEditor(), nullptr);
    for (char ch : std::string("1a2345")) SendChar(g->InplaceEditor(), ch);
    EXPECT_EQ(g->Cells(1, 1), "123");
}

TEST_F(GridFixture, ScrollBarsMoveTheViewByLinePageAndThumb)
{
    grid->SetScrollBars(ssBoth);
    const int maxTop = 20 - grid->VisibleRowCount();
    HostScroll(grid, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(grid->TopRow(), 2);
    HostScroll(grid, SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(grid->TopRow(), 2 + grid->VisibleRowCount());
    HostScroll(grid, SB_VERT, SB_THUMBTRACK, 127);
    EXPECT_EQ(grid->TopRow(), maxTop);
    EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), 127);
    HostScroll(grid, SB_VERT, SB_TOP);
    EXPECT_EQ(grid->TopRow(), 1);
    // Thumb tracking moves the view while the thumb moves only with the option.
    TMessage track{WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 64), 0, 0};
    grid->WindowProc(track);
    EXPECT_EQ(grid->TopRow(), 1);
    grid->SetOptions(grid->Options() | goThumbTracking);
    grid->WindowProc(track);
    EXPECT_EQ(grid->TopRow(), 1 + 64 * (maxTop - 1) / 127);
    // A range and page of the derived grid's own stay while the view scrolls.
    SCROLLINFO own;
    own.fMask = SIF_RANGE | SIF_PAGE;
    own.nMax = 200;
    own.nPage = 74;
    SetScrollInfo(grid->Handle(), SB_VERT, own, true);
    HostScroll(grid, SB_VERT, SB_LINEDOWN);
    SCROLLINFO now;
    now.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(grid->Handle(), SB_VERT, now);
    EXPECT_EQ(now.nMax, 200);
    EXPECT_EQ(now.nPage, 74u);
    // The view scrolls; the current cell stays.
    EXPECT_EQ(grid->Row(), 1);
    HostScroll(grid, SB_HORZ, SB_LINEDOWN);
    EXPECT_EQ(grid->LeftCol(), 2);
}

TEST_F(GridFixture, ThePaintedGridShowsItsScrollBarsAndTheCornerBetweenThem)
{
    grid->SetScrollBars(ssBoth);
    grid->SetCells(1, 1, "1.250");
    const TRect c = grid->ClientRect();
    ASSERT_EQ(c, Rect(0, 0, 200 - GetSystemMetrics(SM_CXVSCROLL), 100 - GetSystemMetrics(SM_CYHSCROLL)));
    auto bmp = PaintToBitmap(grid);
    if (const char* keep = std::getenv("KORVELO_KEEP_GRID_BMP")) bmp->SaveToFile(keep);
    // The corner takes the face colour; the bars are drawn over the window colour's place.
    EXPECT_EQ(bmp->Canvas()->Pixel(198, 98), ColorToRGB(clBtnFace));
    int notWindow = 0;
    for (int y = 0; y < c.Bottom; ++y)
        if (bmp->Canvas()->Pixel(c.Right + 8, y) != TColor(ColorToRGB(clWindow))) ++notWindow;
    EXPECT_EQ(notWindow, c.Bottom);
}

TEST_F(GridFixture, TheWheelMovesTheCurrentRowAndTheViewFollows)
{
    for (int i = 0; i < 5; ++i) grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), MakeLParam(10, 10));
    EXPECT_EQ(grid->Row(), 6);
    EXPECT_FALSE(IsRectEmpty(grid->CellRect(1, 6)));
    grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, 120), MakeLParam(10, 10));
    EXPECT_EQ(grid->Row(), 5);
}

TEST_F(GridFixture, PaintDrawsEveryVisibleCellWithItsState)
{
    std::vector<std::string> drawn;
    grid->OnDrawCell = [&](TObject*, int c, int r, TRect, TGridDrawState s) {
        drawn.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + std::to_string(s));
    };
    grid->SetCells(1, 1, "cell");
    grid->SetCells(2, 0, "head");
    auto bmp = PaintToBitmap(grid);
    // Four rows (the last in part) of four columns (the last in part).
    ASSERT_EQ(drawn.size(), 16u);
    EXPECT_EQ(drawn[0], "0,0:4");
    EXPECT_EQ(drawn[5], "1,1:3");  // the current cell: selected and focused
    EXPECT_EQ(drawn[6], "2,1:0");
    EXPECT_EQ(drawn[4], "0,1:4");
    // Lines and colours: the normal line is silver, a selected cell without focus drawing keeps the window colour.
    EXPECT_EQ(bmp->Canvas()->Pixel(64, 40), clBlack);   // fixed column's line
    EXPECT_EQ(bmp->Canvas()->Pixel(129, 40), clSilver);  // normal line
    EXPECT_EQ(bmp->Canvas()->Pixel(150, 40), ColorToRGB(clWindow));
    if (const char* keep = std::getenv("KORVELO_KEEP_GRID_BMP")) bmp->SaveToFile(keep);
    // Grid line width 0: the cells abut.
    grid->SetGridLineWidth(0);
    EXPECT_EQ(grid->CellRect(1, 1), Rect(64, 24, 128, 48));
}

TEST_F(GridFixture, RowsAndColsAreStringListsOfTheCells)
{
    grid->SetColCount(3);
    base::TStringList values;
    values.SetCommaText("a,b,c");
    grid->Rows(2)->Assign(values);
    EXPECT_EQ(grid->Cells(0, 2), "a");
    EXPECT_EQ(grid->Cells(2, 2), "c");
    EXPECT_EQ(grid->Cols(1)->Get(2), "b");
    grid->Cols(1)->Put(5, "down");
    EXPECT_EQ(grid->Cells(1, 5), "down");
    TObject tag;
    grid->SetObjects(2, 7, &tag);
    EXPECT_EQ(grid->Rows(7)->GetObject(2), &tag);
    EXPECT_THROW(grid->Rows(7)->Get(3), base::EStringListError);
    EXPECT_THROW(grid->SetCells(-1, 0, "x"), EInvalidGridOperation);
    // Columns beyond the count keep their cells; rows beyond it go.
    grid->SetCells(4, 1, "kept");
    EXPECT_EQ(grid->Cells(4, 1), "kept");
    grid->SetRowCount(5);
    grid->SetColCount(2);
    grid->SetRowCount(8);
    grid->SetColCount(5);
    EXPECT_EQ(grid->Cells(1, 5), "");
    EXPECT_EQ(grid->Objects(2, 7), nullptr);
    EXPECT_EQ(grid->Cells(2, 2), "c");
    EXPECT_EQ(grid->Cells(4, 1), "kept");
}

TEST(StringGridStore, ACellsTextCopiedIntoACellThatGrowsTheStore)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    auto* g = new TStringGrid(form);
    g->SetColCount(3);
    g->SetRowCount(3);
    g->SetCells(0, 0, std::string(40, 'x'));
    g->SetCells(2, 0, g->Cells(0, 0));  // the row grows under the reference
    g->SetCells(0, 2, g->Cells(0, 0));  // so does the list of rows
    EXPECT_EQ(g->Cells(2, 0), std::string(40, 'x'));
    EXPECT_EQ(g->Cells(0, 2), std::string(40, 'x'));
    form->Free();
}
