// The grid driven with the mouse: range and disjunct selection, whole rows and columns
// from the fixed cells, sizing and moving rows and columns, hover and links.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GridWindows.h"
#include "widgets/grid/HTMLHintWindow.h"

using namespace platform;
using namespace grid;

namespace {

struct SelectTest : ::testing::Test, gridtest::GridWindow {
    std::vector<TGridRect> changes;
    void SetUp() override
    {
        Open(420, 300, 5, 8);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        g->SetOptions(g->Options() | goRangeSelect);
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 8; ++r) g->SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
        g->OnSelectionChanged = [this](TObject*, int l, int t, int r, int b) { changes.push_back({l, t, r, b}); };
        form->Show();
        g->SetFocus();
        ASSERT_TRUE(ProcessUntil([&] { return g->Focused(); }));
    }
    void TearDown() override { Close(); }

    TPoint Mid(int c, int r) const
    {
        const TRect rc = g->CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void Move(TPoint p, TShiftState s = 0) { SendMouse(g, WM_MOUSEMOVE, p.X, p.Y, s); }
    void Press(TPoint p, TShiftState s = 0)
    {
        Move(p, s);
        SendMouse(g, WM_LBUTTONDOWN, p.X, p.Y, s);
    }
    void Release(TPoint p, TShiftState s = 0) { SendMouse(g, WM_LBUTTONUP, p.X, p.Y, s); }
    void Click(TPoint p, TShiftState s = 0)
    {
        Press(p, s);
        Release(p, s);
    }
    // Press at from, move there in steps with the left button held, let go at to.
    void Drag(TPoint from, TPoint to, TShiftState s = 0)
    {
        Press(from, s);
        for (int i = 1; i <= 4; ++i)
            Move({from.X + (to.X - from.X) * i / 4, from.Y + (to.Y - from.Y) * i / 4}, s | ssLeft);
        Release(to, s);
    }
};

TEST_F(SelectTest, DraggingSelectsARangeAndReportsEachChange)
{
    Drag(Mid(1, 1), Mid(3, 4));
    EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 3, 4}));
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), (TGridRect{1, 1, 3, 4}));
    // A click on the cell the selection already is changes nothing and reports nothing.
    Click(Mid(2, 2));
    changes.clear();
    Click(Mid(2, 2));
    EXPECT_TRUE(changes.empty());
    // Shift extends from the anchor.
    Click(Mid(4, 5), ssShift);
    EXPECT_EQ(g->Selection(), (TGridRect{2, 2, 4, 5}));
}

TEST_F(SelectTest, CtrlClicksBuildADisjunctCellList)
{
    g->MouseActions.DisjunctCellSelect = true;
    Click(Mid(1, 1));
    Click(Mid(3, 2), ssCtrl);
    Click(Mid(2, 4), ssCtrl);
    EXPECT_EQ(g->GetSelectedCellsCount(), 3);
    EXPECT_TRUE(g->GetSelectedCells(1, 1));
    EXPECT_TRUE(g->GetSelectedCells(3, 2));
    EXPECT_TRUE(g->GetSelectedCells(2, 4));
    EXPECT_FALSE(g->GetSelectedCells(2, 2));
    EXPECT_EQ(g->GetSelectedCell(1), (TPoint{3, 2}));
    // Listed cells draw in the selection colour, others in the grid's colour.
    g->SelectionColor = clRed;
    auto bmp = PaintToBitmap(g);
    const TPoint in = Mid(3, 2), out = Mid(3, 3);
    EXPECT_EQ(ColorToRGB(bmp->Canvas()->Pixel(in.X - 20, in.Y)), ColorToRGB(clRed));
    EXPECT_NE(ColorToRGB(bmp->Canvas()->Pixel(out.X - 20, out.Y)), ColorToRGB(clRed));
    // Ctrl-clicking a listed cell takes it out; a plain click starts a new list.
    Click(Mid(3, 2), ssCtrl);
    EXPECT_FALSE(g->GetSelectedCells(3, 2));
    EXPECT_EQ(g->GetSelectedCellsCount(), 2);
    Click(Mid(2, 2));
    EXPECT_EQ(g->GetSelectedCellsCount(), 1);
    EXPECT_TRUE(g->GetSelectedCells(2, 2));
    // Shift-click lists the whole rectangle once.
    Click(Mid(3, 3), ssShift);
    EXPECT_EQ(g->GetSelectedCellsCount(), 4);
    Click(Mid(3, 3), ssShift);
    EXPECT_EQ(g->GetSelectedCellsCount(), 4);
}

TEST_F(SelectTest, RefusedCellsStayOutOfTheDisjunctList)
{
    g->MouseActions.DisjunctCellSelect = true;
    g->OnSelectCell = [](TObject*, int c, int r, bool& can) { can = !(c == 3 && r == 3); };
    Click(Mid(1, 1));
    Click(Mid(3, 3), ssCtrl);
    EXPECT_FALSE(g->GetSelectedCells(3, 3));
    EXPECT_EQ(g->GetSelectedCellsCount(), 1);
}

TEST_F(SelectTest, SelectedCellsCountTakesInTheSelectionOnce)
{
    g->SetSelection({1, 1, 3, 2});
    EXPECT_EQ(g->GetSelectedCellsCount(), 6);
    EXPECT_EQ(g->GetSelectedCellsCount(), 6);
    g->ClearSelectedCells();
    EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 1, 1}));
    EXPECT_EQ(g->GetSelectedCellsCount(), 0);
    g->SetSelectedCells(2, 2, true);
    g->SetRowCount(1);
    EXPECT_NO_THROW(g->ClearSelectedCells());
    EXPECT_EQ(g->GetSelectedCellsCount(), 0);
}

TEST_F(SelectTest, FixedCellsSelectWholeRowsColumnsAndTheGrid)
{
    g->MouseActions.RowSelect = g->MouseActions.ColSelect = g->MouseActions.AllSelect = true;
    struct Case {
        TPoint from, to;
        TGridRect want;
        TExStringGrid::TMouseSelectMode mode;
    } cases[] = {
        {{0, 2}, {0, 2}, {1, 2, 4, 2}, TExStringGrid::msRow},
        {{0, 2}, {0, 5}, {1, 2, 4, 5}, TExStringGrid::msRow},
        {{0, 6}, {0, 3}, {1, 3, 4, 6}, TExStringGrid::msRow},
        {{2, 0}, {2, 0}, {2, 1, 2, 7}, TExStringGrid::msColumn},
        {{3, 0}, {1, 0}, {1, 1, 3, 7}, TExStringGrid::msColumn},
        {{0, 0}, {0, 0}, {1, 1, 4, 7}, TExStringGrid::msAll},
    };
    for (const Case& k : cases) {
        Move(Mid(k.from.X, k.from.Y));
        EXPECT_EQ(g->MouseSelectMode(), k.mode);
        Drag(Mid(k.from.X, k.from.Y), Mid(k.to.X, k.to.Y));
        EXPECT_EQ(g->Selection(), k.want) << k.from.X << "," << k.from.Y;
        EXPECT_EQ(changes.back(), k.want);
    }
    Move(Mid(2, 3));
    EXPECT_EQ(g->MouseSelectMode(), TExStringGrid::msNone);
}

TEST_F(SelectTest, TheCursorShowsWhatAPressWouldSelect)
{
    g->MouseActions.RowSelect = g->MouseActions.ColSelect = g->MouseActions.AllSelect = true;
    g->MouseActions.SizeFixedCol = true;
    struct Case {
        TPoint at;
        std::string shown;
    } cases[] = {
        {Mid(2, 0), "bitmap 32x32 hot 16,26"},
        {Mid(0, 3), "bitmap 32x32 hot 26,16"},
        {Mid(0, 0), "bitmap 32x32 hot 26,26"},
        {{g->ColWidths(0) - 1, Mid(0, 3).Y}, "hsplit"},
        {Mid(2, 3), "arrow"},
    };
    for (const Case& k : cases) {
        // The window picks its cursor before the move reaches the grid: move twice.
        HostMouse(g, hmMove, mbLeft, k.at.X, k.at.Y);
        HostMouse(g, hmMove, mbLeft, k.at.X, k.at.Y);
        EXPECT_EQ(ShownCursor(g), k.shown) << k.at.X << "," << k.at.Y;
    }
}

TEST_F(SelectTest, TheNormalCursorComesBackAndPanningKeepsItsOwn)
{
    g->URLShow = true;
    g->SetCells(2, 2, "http://example.org");
    g->SetCursorEx(crCross);
    Move(Mid(2, 2));
    EXPECT_EQ(g->Cursor(), crHandPoint);
    Move(Mid(3, 3));
    EXPECT_EQ(g->Cursor(), crCross);
    const TPoint p = Mid(3, 3);
    SendMouse(g, WM_MBUTTONDOWN, p.X, p.Y);
    SendMouse(g, WM_MBUTTONUP, p.X, p.Y);
    ASSERT_TRUE(g->Panning());
    const TCursor pan = g->Cursor();
    EXPECT_NE(pan, crCross);
    Move({p.X + 1, p.Y});
    EXPECT_NE(g->Cursor(), crCross);
    SendMouse(g, WM_MBUTTONDOWN, p.X, p.Y);
    SendMouse(g, WM_MBUTTONUP, p.X, p.Y);
}

TEST_F(SelectTest, ARowHeaderDragScrollsAtTheBottomEdge)
{
    g->SetRowCount(40);
    g->MouseActions.RowSelect = true;
    Press(Mid(0, 2));
    const int x = Mid(0, 2).X, bottom = g->ClientHeight() - 2;
    for (int i = 0; i < 5; ++i) Move({x, bottom}, ssLeft);
    EXPECT_EQ(g->TopRow(), 6);
    int c = -1, r = -1;
    g->MouseToCell(x, bottom, c, r);
    Release({x, bottom});
    // Each move selects to the row under the mouse, then scrolls on by one.
    EXPECT_EQ(g->Selection(), (TGridRect{1, 2, 4, r - 1}));
}

TEST_F(SelectTest, CtrlClicksOnRowHeadersMarkSeparateRows)
{
    g->MouseActions.RowSelect = g->MouseActions.DisjunctRowSelect = true;
    Click(Mid(0, 2));
    Click(Mid(0, 5), ssCtrl);
    EXPECT_TRUE(g->GetRowSelect(2));
    EXPECT_TRUE(g->GetRowSelect(5));
    EXPECT_FALSE(g->GetRowSelect(3));
    EXPECT_TRUE(g->IsSelected(2, 2));
    Click(Mid(0, 2), ssCtrl);
    EXPECT_FALSE(g->GetRowSelect(2));
    EXPECT_TRUE(g->GetRowSelect(5));
    Click(Mid(0, 3));
    EXPECT_EQ(g->GetRowSelectCount(), 1);
    EXPECT_TRUE(g->GetRowSelect(3));
}

TEST_F(SelectTest, DraggingAHeaderEdgeSizesTheColumnAsAllowed)
{
    g->SetOptions(g->Options() | goColSizing);
    std::vector<int> asked;
    bool allow = true;
    g->OnColumnSize = [&](TObject*, int c, bool& a) {
        asked.push_back(c);
        a = allow;
    };
    const int w = g->ColWidths(2);
    const TRect h = g->CellRect(2, 0);
    Drag({h.Right - 1, h.Top + 5}, {h.Right + 29, h.Top + 5});
    EXPECT_EQ(g->ColWidths(2), w + 30);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), 2);
    EXPECT_TRUE(g->ColSizedSinceDown);
    // Refused: nothing changes.
    allow = false;
    const TRect h2 = g->CellRect(2, 0);
    Drag({h2.Right - 1, h2.Top + 5}, {h2.Right - 21, h2.Top + 5});
    EXPECT_EQ(g->ColWidths(2), w + 30);
    // Let go right of the grid: the sizing is abandoned.
    allow = true;
    const TRect h1 = g->CellRect(1, 0);
    Drag({h1.Right - 1, h1.Top + 5}, {g->ClientWidth() + 40, h1.Top + 5});
    EXPECT_EQ(g->ColWidths(1), w);
    EXPECT_EQ(g->GridState(), gsNormal);
}

TEST_F(SelectTest, DraggingARowEdgeSizesTheRowWithAHint)
{
    g->SetOptions(g->Options() | goRowSizing);
    g->HintShowSizing = true;
    std::vector<int> asked;
    g->OnRowSize = [&](TObject*, int r, bool&) { asked.push_back(r); };
    const int h = g->RowHeights(3);
    const TRect rc = g->CellRect(0, 3);
    const TPoint from{rc.Left + 10, rc.Bottom - 1};
    Press(from);
    Move({from.X, from.Y + 15}, ssLeft);
    ASSERT_TRUE(g->SizingHintShown());
    EXPECT_EQ(g->SizingHintWindow()->Text(), "rh=<b>" + std::to_string(h + 15) + "</b>");
    Release({from.X, from.Y + 15});
    EXPECT_FALSE(g->SizingHintShown());
    EXPECT_EQ(g->RowHeights(3), h + 15);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), 3);
}

TEST_F(SelectTest, AFixedColumnIsSizedAtItsBorder)
{
    g->MouseActions.SizeFixedCol = true;
    std::vector<int> ended;
    g->OnEndColumnSize = [&](TObject*, int c) { ended.push_back(c); };
    const int edge = g->ColWidths(0);
    Drag({edge - 1, Mid(0, 3).Y}, {100, Mid(0, 3).Y});
    EXPECT_EQ(g->ColWidths(0), 100);
    EXPECT_EQ(ended, std::vector<int>{0});
    // The application may correct the width it ends with.
    g->OnUpdateColumnSize = [](TObject*, int, int& w) { w = 90; };
    Drag({99, Mid(0, 3).Y}, {120, Mid(0, 3).Y});
    EXPECT_EQ(g->ColWidths(0), 90);
}

TEST_F(SelectTest, AFailingSizingHandlerReachesTheApplication)
{
    g->MouseActions.SizeFixedCol = true;
    g->SetOptions(g->Options() | goColSizing);
    g->OnEndColumnSize = [](TObject*, int) { throw std::runtime_error("end of sizing failed"); };
    g->OnColumnSize = [](TObject*, int c, bool&) {
        if (c == 3) throw std::runtime_error("column 3 may not be sized");
    };
    std::vector<std::string> reported;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    const int y = Mid(0, 3).Y, edge = g->ColWidths(0);
    HostMouse(g, hmMove, mbLeft, edge - 1, y);
    HostMouse(g, hmPress, mbLeft, edge - 1, y);
    HostMouse(g, hmMove, mbLeft, 90, y);
    HostMouse(g, hmRelease, mbLeft, 90, y);
    const TRect h = g->CellRect(3, 0);
    HostMouse(g, hmPress, mbLeft, h.Right - 1, h.Top + 5);
    HostMouse(g, hmRelease, mbLeft, h.Right - 1, h.Top + 5);
    Application->OnException = saved;
    EXPECT_EQ(g->ColWidths(0), 90);
    EXPECT_EQ(reported, (std::vector<std::string>{"end of sizing failed", "column 3 may not be sized"}));
}

TEST_F(SelectTest, MovingAColumnShowsItsImageAndArrowsThenMovesIt)
{
    g->SetOptions(g->Options() | goColMoving);
    std::vector<int> asked;
    g->OnColumnMove = [&](TObject*, int c, bool&) { asked.push_back(c); };
    const TPoint from = Mid(1, 0), to = Mid(3, 0);
    Press(from);
    Move({from.X + 20, from.Y}, ssLeft);
    Move(to, ssLeft);
    EXPECT_TRUE(g->PopupButton()->Visible());
    EXPECT_EQ(g->PopupButton()->Caption, "1,0");
    EXPECT_EQ(g->PopupButton()->Width(), g->ColWidths(1));
    EXPECT_TRUE(g->ArrowWindow(arrUp)->Visible());
    EXPECT_TRUE(g->ArrowWindow(arrDown)->Visible());
    // Right of the moved column: the arrows stand at the target's right edge.
    const TPoint edge = g->ClientToScreen({g->CellRect(3, 0).Right - 5, g->CellRect(3, 0).Bottom});
    EXPECT_EQ(g->ArrowWindow(arrUp)->Left(), edge.X);
    EXPECT_EQ(g->ArrowWindow(arrUp)->Top(), edge.Y);
    EXPECT_EQ(ShownCursor(g), "drag");
    Release(to);
    EXPECT_FALSE(g->PopupButton()->Visible());
    EXPECT_FALSE(g->ArrowWindow(arrUp)->Visible());
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), 1);
    EXPECT_TRUE(g->MovedSinceDown);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(g->Cells(3, r), "1," + std::to_string(r));
        EXPECT_EQ(g->Cells(1, r), "2," + std::to_string(r));
    }
    EXPECT_NE(ShownCursor(g), "drag");
}

TEST_F(SelectTest, RefusedOrRightClickedMovesLeaveColumnsAndRows)
{
    g->SetOptions(g->Options() | goColMoving | goRowMoving);
    g->OnColumnMove = [](TObject*, int, bool& a) { a = false; };
    Drag(Mid(1, 0), Mid(3, 0));
    EXPECT_EQ(g->Cells(1, 1), "1,1");
    EXPECT_FALSE(g->PopupButton()->Visible());
    // A right release while a column moves is swallowed: the move goes on.
    g->OnColumnMove = nullptr;
    Press(Mid(1, 0));
    Move(Mid(2, 0), ssLeft);
    SendMouse(g, WM_RBUTTONDOWN, Mid(2, 0).X, Mid(2, 0).Y, ssLeft);
    SendMouse(g, WM_RBUTTONUP, Mid(2, 0).X, Mid(2, 0).Y, ssLeft);
    EXPECT_EQ(g->GridState(), gsColMoving);
    Release(Mid(2, 0));
    EXPECT_EQ(g->Cells(2, 1), "1,1");
}

TEST_F(SelectTest, ACancelledMoveLeavesTheColumnsWhereTheyWere)
{
    g->SetOptions(g->Options() | goColMoving);
    Press(Mid(1, 0));
    Move(Mid(3, 0), ssLeft);
    ASSERT_TRUE(g->PopupButton()->Visible());
    g->Perform(WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(g->PopupButton()->Visible());
    EXPECT_FALSE(g->ArrowWindow(arrUp)->Visible());
    EXPECT_EQ(g->GridState(), gsNormal);
    EXPECT_NE(ShownCursor(g), "drag");
    Release(Mid(3, 0));
    EXPECT_EQ(g->Cells(1, 1), "1,1");
}

TEST_F(SelectTest, AMovedColumnTakesItsSortMarkAndItsHiddenRowTexts)
{
    g->SetOptions(g->Options() | goColMoving);
    g->SortSettings().Column = 3;
    g->SortSettings().IndexShow = true;
    g->SortIndexes().AddIndex(1, true);
    g->SortIndexes().AddIndex(4, false);
    g->HideRow(5);
    Drag(Mid(1, 0), Mid(3, 0));
    EXPECT_EQ(g->SortSettings().Column, 2);
    EXPECT_EQ(g->SortIndexes().SortColumns(0), 3);
    EXPECT_EQ(g->SortIndexes().SortColumns(1), 4);
    EXPECT_TRUE(g->SortIndexes().SortDirections(1));
    g->UnHideRow(5);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(g->Cells(3, r), "1," + std::to_string(r));
        EXPECT_EQ(g->Cells(2, r), "3," + std::to_string(r));
    }
}

TEST_F(SelectTest, MovingARowShowsTheSideArrowsThenMovesIt)
{
    g->SetOptions(g->Options() | goRowMoving);
    std::vector<int> asked;
    g->OnRowMove = [&](TObject*, int r, bool&) { asked.push_back(r); };
    const TPoint from = Mid(0, 5), to = Mid(0, 2);
    Press(from);
    Move({from.X, from.Y - 10}, ssLeft);
    Move(to, ssLeft);
    EXPECT_TRUE(g->PopupButton()->Visible());
    EXPECT_EQ(g->PopupButton()->Caption, "0,5");
    EXPECT_TRUE(g->ArrowWindow(arrLeft)->Visible());
    EXPECT_TRUE(g->ArrowWindow(arrRight)->Visible());
    // Above the moved row: the arrows stand at the target's top edge.
    EXPECT_EQ(g->ArrowWindow(arrLeft)->Top(), g->ClientToScreen({0, g->CellRect(0, 2).Top - 5}).Y);
    Release(to);
    EXPECT_EQ(asked.front(), 5);
    EXPECT_EQ(g->Cells(1, 2), "1,5");
    EXPECT_EQ(g->Cells(1, 3), "1,2");
    EXPECT_FALSE(g->ArrowWindow(arrLeft)->Visible());
}

TEST_F(SelectTest, TheListViewLookHoversFixedCells)
{
    g->Look = glListView;
    Move(Mid(2, 0));
    EXPECT_EQ(g->HoverCell(), (TPoint{2, 0}));
    Move(Mid(3, 3));
    EXPECT_EQ(g->HoverCell(), (TPoint{3, 3}));
}

TEST_F(SelectTest, LinksUnderTheMouseRaiseEnterOnceAndExitWithNoText)
{
    g->SetCells(2, 2, "<a href=\"hull\">hull</a>");
    std::vector<std::string> log;
    g->OnAnchorEnter = [&](TObject*, int r, int c, const std::string& a) {
        log.push_back("enter " + std::to_string(c) + "," + std::to_string(r) + " " + a);
    };
    g->OnAnchorExit = [&](TObject*, int, int, const std::string& a) { log.push_back("exit '" + a + "'"); };
    const TRect rc = g->CellRect(2, 2);
    Move({rc.Left + 6, rc.Top + 8});
    Move({rc.Left + 8, rc.Top + 8});
    EXPECT_EQ(g->Cursor(), crHandPoint);
    Move(Mid(3, 4));
    EXPECT_EQ(log, (std::vector<std::string>{"enter 2,2 hull", "exit ''"}));
    EXPECT_EQ(g->Cursor(), crDefault);
}

TEST_F(SelectTest, DraggingToARangeTurnsEditingOffWithRangeSelectAndEdit)
{
    g->MouseActions.RangeSelectAndEdit = true;
    g->SetOptions(g->Options() | goEditing);
    Drag(Mid(1, 1), Mid(2, 3));
    EXPECT_FALSE(g->Options() & goEditing);
    EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 2, 3}));
}

TEST(GridResize, AFailingFormHandlerReachesTheApplicationAndTheColumnIsStillStretched)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 300, 200);
    form->OnResize = [](TObject*) { throw std::runtime_error("form resize failed"); };
    auto* g = new TExStringGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 280, 180);
    g->SetColCount(3);
    std::vector<std::string> reported;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    g->ColumnSize().SetStretch(true);
    g->GridResize(form);
    Application->OnException = saved;
    EXPECT_EQ(reported, std::vector<std::string>{"form resize failed"});
    EXPECT_EQ(g->ColWidths(0) + g->ColWidths(1) + g->ColWidths(2), g->ClientWidth() - 1);
    form->Free();
}

// Each grid on a form hooks the form's OnResize in front of the handler it found. Freed in
// any order, each takes only itself out: the grids left keep following the form, the
// form's own handler runs once per resize, and no freed grid is called.
TEST(GridResize, GridsFreedInAnyOrderLeaveTheRestOfTheChain)
{
    EnsurePlatform();
    for (int n : {2, 3}) {
        std::vector<int> order(std::size_t(n), 0);
        std::iota(order.begin(), order.end(), 0);
        do {
            TForm* form = Construct<TForm>(Application);
            form->SetBounds(0, 0, 400, 300);
            int formCalls = 0;
            form->OnResize = [&](TObject*) { ++formCalls; };
            std::vector<TExStringGrid*> grids;
            for (int k = 0; k < n; ++k) {
                auto* g = new TExStringGrid(form);
                g->SetParent(form);
                g->SetBounds(0, 0, 100, 100);
                g->SizeWithForm = true;
                grids.push_back(g);
            }
            int width = 400;
            std::string freed;
            for (int k : order) {
                grids[std::size_t(k)]->Free();
                grids[std::size_t(k)] = nullptr;
                freed += std::to_string(k);
                width += 10;
                form->SetBounds(0, 0, width, 300);
                const int before = formCalls;
                ASSERT_TRUE(form->OnResize) << "freed " << freed;
                form->OnResize(form);
                EXPECT_EQ(formCalls, before + 1) << "freed " << freed;
                for (TExStringGrid* g : grids)
                    if (g) {
                        EXPECT_EQ(g->Width(), 100 + width - 400) << "freed " << freed;
                    }
            }
            form->Free();
        } while (std::next_permutation(order.begin(), order.end()));
    }
}

}  // namespace
