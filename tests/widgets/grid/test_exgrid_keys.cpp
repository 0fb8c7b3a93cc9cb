// The grid's keyboard: the change events of the current cell, the per-cell editing
// switch, check boxes, radio items and buttons by key, Home and End, select-all, the
// clipboard short-cuts, type-to-find and the characters typed on the grid.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/controls/Mask.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/controls/Edit.h"
#include "platform/system/Clipboard.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;
using namespace grid;

namespace {

struct KeysTest : ::testing::Test, gridtest::GridWindow {
    std::vector<std::string> events;
    void SetUp() override
    {
        ASSERT_TRUE(OpenEditing(420, 300, 4, 6, true));
    }
    void TearDown() override { Close(); }
    bool Editing() { return g->InplaceEditor() && g->InplaceEditor()->Visible(); }
};

}  // namespace

TEST_F(KeysTest, TheChangingEventsMayRefuseAMoveAndTheRowUpdateFollowsIt)
{
    bool allowRow = true;
    g->OnRowChanging = [&](TObject*, int o, int n, bool& allow) {
        events.push_back("row " + std::to_string(o) + ">" + std::to_string(n));
        allow = allowRow;
    };
    g->OnColChanging = [&](TObject*, int o, int n, bool&) {
        events.push_back("col " + std::to_string(o) + ">" + std::to_string(n));
    };
    g->OnRowUpdate = [&](TObject*, int o, int n) { events.push_back("update " + std::to_string(o) + ">" + std::to_string(n)); };
    SendKey(g, VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    SendKey(g, VK_RIGHT);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->EditStartText, "22");
    allowRow = false;
    SendKey(g, VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"row 1>2", "update -1>2", "col 1>2", "row 2>3"}));
}

TEST_F(KeysTest, MovingOntoAReadOnlyCellSwitchesEditingOffAndBackOn)
{
    g->OnCanEditCell = [](TObject*, int r, int, bool& can) { can = r != 2; };
    SendKey(g, VK_DOWN);
    EXPECT_FALSE(g->Options() & goEditing);
    EXPECT_TRUE(g->EditingSwitchedOff);
    SendChar(g, '5');
    EXPECT_FALSE(Editing());
    SendKey(g, VK_DOWN);
    EXPECT_TRUE(g->Options() & goEditing);
    EXPECT_FALSE(g->EditingSwitchedOff);
    SendChar(g, '5');
    ASSERT_TRUE(ProcessUntil([&] { return Editing(); }, 200));
    SendKey(g->InplaceEditor(), VK_ESCAPE);
}

TEST_F(KeysTest, SpaceAndEnterWorkCheckBoxesRadioItemsAndButtons)
{
    g->AddCheckBox(1, 1, false, false);
    base::TStrings* items = g->CreateRadio(2, 1, 0, 0);
    items->Add("a");
    items->Add("b");
    g->AddButton(3, 1, 40, 16, "go", haLeft, vaTop);
    g->OnCheckBoxClick = [&](TObject*, int c, int r, bool s) { events.push_back("check " + std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off")); };
    g->OnRadioClick = [&](TObject*, int c, int, int i) { events.push_back("radio " + std::to_string(c) + ":" + std::to_string(i)); };
    g->OnButtonClick = [&](TObject*, int c, int) { events.push_back("button " + std::to_string(c)); };
    SendKey(g, VK_SPACE);
    bool state = false;
    g->GetCheckBoxState(1, 1, state);
    EXPECT_TRUE(state);
    SendChar(g, 'x');  // a cell worked by key takes no characters
    EXPECT_FALSE(Editing());
    g->SetCol(2);
    SendKey(g, VK_SPACE);
    g->SetCol(3);
    SendKey(g, VK_RETURN);
    EXPECT_EQ(events, (std::vector<std::string>{"check 1,1 on", "radio 2:1", "button 3"}));
}

TEST_F(KeysTest, HomeEndSelectAllAndTheClipboardShortCuts)
{
    g->Navigation.HomeEndKey = heFirstLastRow;
    g->SetRow(3);
    SendKey(g, VK_END);
    EXPECT_EQ(g->Row(), 5);
    SendKey(g, VK_HOME);
    EXPECT_EQ(g->Row(), 1);
    g->SetOptions(g->Options() | goRangeSelect);
    SendKey(g, 'A', ssCtrl);
    const TGridRect all = g->Selection();
    EXPECT_EQ(all.Left, 1);
    EXPECT_EQ(all.Top, 1);
    EXPECT_EQ(all.Right, 3);
    EXPECT_EQ(all.Bottom, 5);
    g->Navigation.AllowClipboardShortCuts = true;
    g->SetSelection(TGridRect{1, 1, 2, 1});
    bool allow = false;
    g->OnClipboardCopy = [&](TObject*, bool& a) { a = allow; };
    Clipboard()->SetAsText("before");
    SendKey(g, 'C', ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), "before");
    allow = true;
    SendKey(g, 'C', ssCtrl);
    EXPECT_EQ(Clipboard()->AsText().substr(0, 5), "11\t21");
    EXPECT_FALSE(Editing());  // the control character of Ctrl+C opened nothing
}

TEST_F(KeysTest, TypeToFindGoesToTheFirstRowStartingWithTheTypedText)
{
    g->SetOptions(g->Options() & ~goEditing);
    const char* names[] = {"Alpha", "Beta", "Bravo", "Charlie", "Delta"};
    for (int r = 1; r < 6; ++r) g->SetCells(1, r, names[r - 1]);
    g->SortSettings().Column = 1;
    g->Navigation.AutoGotoWhenSorted = true;
    g->Navigation.AutoGotoIncremental = true;
    SendChar(g, 'b');
    EXPECT_EQ(g->Row(), 2);
    SendChar(g, 'r');
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->SearchText, "br");
    SendChar(g, 'x');  // no match: the prefix starts again
    EXPECT_EQ(g->SearchText, "");
    SendChar(g, 'd');
    EXPECT_EQ(g->Row(), 5);
    g->Perform(WM_KEYUP, VK_HOME, 0);
    EXPECT_EQ(g->SearchText, "d");
    g->Perform(WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(g->SearchText, "");
}

TEST_F(KeysTest, OnKeyPressMayChangeTheCharacterThatOpensTheEditor)
{
    g->OnKeyPress = [](TObject*, char& k) {
        if (k == 'a') k = 'A';
        if (k == 'q') k = 0;
    };
    SendChar(g, 'q');
    EXPECT_FALSE(Editing());
    SendChar(g, 'a');
    ASSERT_TRUE(ProcessUntil([&] { return Editing() && g->InplaceEditor()->Text() == "A"; }, 200));
    SendKey(g->InplaceEditor(), VK_ESCAPE);
    // With AlwaysEdit, releasing an arrow key opens the editor on the new cell.
    g->Navigation.AlwaysEdit = true;
    SendKey(g, VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(Editing());
    SendKey(g->InplaceEditor(), VK_ESCAPE);
}

TEST_F(KeysTest, EnterPastTheLastCellAppendsARowOnlyWhenAllowed)
{
    g->Navigation.AdvanceOnEnter = true;
    g->Navigation.AdvanceInsert = true;
    bool allow = false;
    g->OnCanAddRow = [&](TObject*, bool& can) { can = allow; };
    g->OnAutoAddRow = [&](TObject*, int r) { events.push_back("added " + std::to_string(r)); };
    g->SetCol(3);
    g->SetRow(5);
    SendKey(g, VK_F2);
    SendKey(g->InplaceEditor(), VK_RETURN);
    EXPECT_EQ(g->RowCount(), 6);  // refused: round to the first normal cell
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    allow = true;
    g->SetCol(3);
    g->SetRow(5);
    SendKey(g, VK_F2);
    SendKey(g->InplaceEditor(), VK_RETURN);
    EXPECT_EQ(g->RowCount(), 7);
    EXPECT_EQ(g->Row(), 6);
    EXPECT_EQ(events, std::vector<std::string>{"added 6"});
}

TEST_F(KeysTest, ColumnsScaleWithTheGridsWidthAndBlinkingFlipsEveryTick)
{
    g->ColumnSize().SynchWithGrid = true;
    g->SetColWidths(1, 68);
    const int before = g->ClientWidth();
    g->SetBounds(0, 0, g->Width() + 100, g->Height());
    const int after = g->ClientWidth();
    EXPECT_EQ(g->ColWidths(1), int(std::lround(68.0 * after / before)));
    // The hover and blink timer.
    EXPECT_TRUE(g->BlinkVisible());
    g->EnableBlink = true;
    const bool first = g->BlinkVisible();
    g->Perform(WM_TIMER, 111, 0);
    EXPECT_NE(g->BlinkVisible(), first);
    g->Perform(WM_TIMER, 111, 0);
    EXPECT_EQ(g->BlinkVisible(), first);
}

TEST_F(KeysTest, WithAlwaysEditTheEditorOpensWhenTheGridGetsTheFocus)
{
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(0, 280, 50, 18);
    other->SetFocus();
    g->Navigation.AlwaysEdit = true;
    g->SetFocus();
    EXPECT_TRUE(Editing());
    SendKey(g->InplaceEditor(), VK_ESCAPE);
    // The first focus after an editor link's pop-up closed is passed over.
    other->SetFocus();
    g->LinkFormClosed = true;
    g->SetFocus();
    EXPECT_FALSE(Editing());
    EXPECT_FALSE(g->LinkFormClosed);
}

TEST_F(KeysTest, F2EntersAnHTMLCellsFormControlsAndTabAndEnterLeaveThem)
{
    g->SetColWidths(2, 260);
    g->SetRowHeights(2, 30);
    g->SetCells(2, 2, "<CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"1\" WIDTH=\"60\"> <CONTROL TYPE=\"EDIT\" ID=\"b\" VALUE=\"2\" WIDTH=\"60\">");
    g->OnControlEditDone = [&](TObject*, int, int, const std::string& id, const std::string&, const std::string& v) {
        events.push_back(id + "=" + v);
    };
    g->Repaint();
    g->SetCol(2);
    g->SetRow(2);
    SendKey(g, VK_F2);
    ASSERT_TRUE(g->HTMLControlActive());
    auto* ed = g->ControlEdit();
    EXPECT_EQ(ed->Text(), "1");
    EXPECT_FALSE(Editing());
    ed->SetText("x");
    SendKey(ed, VK_TAB);
    ASSERT_TRUE(g->HTMLControlActive());
    EXPECT_EQ(ed->Text(), "2");
    ed->SetText("y");
    SendKey(ed, VK_RETURN);
    EXPECT_FALSE(g->HTMLControlActive());
    EXPECT_TRUE(g->Focused());
    EXPECT_EQ(events, (std::vector<std::string>{"a=x", "b=y"}));
    EXPECT_NE(g->Cells(2, 2).find("VALUE=\"y\""), std::string::npos);
}

TEST_F(KeysTest, DisjunctRowsFollowTheArrowsShiftExtendsAndSpaceToggles)
{
    g->SetOptions(g->Options() & ~goEditing);
    g->MouseActions.DisjunctRowSelect = true;
    SendKey(g, VK_DOWN);
    EXPECT_EQ(g->GetRowSelectCount(), 1);
    EXPECT_TRUE(g->GetRowSelect(2));
    SendKey(g, VK_DOWN, ssShift);
    SendKey(g, VK_DOWN, ssShift);
    EXPECT_EQ(g->GetRowSelectCount(), 3);
    EXPECT_TRUE(g->GetRowSelect(4));
    SendKey(g, VK_SPACE);
    EXPECT_FALSE(g->GetRowSelect(4));
    SendKey(g, VK_UP);
    EXPECT_EQ(g->GetRowSelectCount(), 1);
    EXPECT_TRUE(g->GetRowSelect(3));
}

TEST_F(KeysTest, TheUpdateLockHoldsRepaintingUntilTheLastEndUpdate)
{
    Application->ProcessMessages();
    const int painted = g->PaintCount();
    g->BeginUpdate();
    g->BeginUpdate();
    g->SetCells(1, 1, "changed");
    g->Invalidate();
    g->EndUpdate();
    Application->ProcessMessages();
    EXPECT_EQ(g->PaintCount(), painted);
    EXPECT_EQ(g->UpdateCount(), 1);
    g->EndUpdate();
    ASSERT_TRUE(ProcessUntil([&] { return g->PaintCount() > painted; }, 500));
    EXPECT_EQ(g->UpdateCount(), 0);
    // At 0 already, EndUpdate repaints as well.
    const int again = g->PaintCount();
    g->EndUpdate();
    EXPECT_TRUE(ProcessUntil([&] { return g->PaintCount() > again; }, 500));
}

TEST_F(KeysTest, TheFixedCellQueryTakesRealColumnsPastHiddenOnes)
{
    g->HideColumn(2);  // display column 2 now shows real column 3
    g->OnIsFixedCell = [](TObject*, int, int c, bool& f) { f = c == 3; };
    SendKey(g, VK_RIGHT);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_TRUE(g->IsFixed(2, 1));
}

TEST_F(KeysTest, WithNodesAndNoFixedColumnsTheNodeColumnIsPassedOver)
{
    g->SetFixedCols(0);
    g->AddNode(1, 2);
    g->SetOptions(g->Options() | goTabs);
    g->SetCol(3);
    g->SetRow(1);
    SendKey(g, VK_TAB);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
    g->SetCol(0);  // the node column cannot become current
    EXPECT_EQ(g->Col(), 1);
}

TEST_F(KeysTest, AdvancingOntoCheckBoxesAndButtonsDoesNotWorkThem)
{
    // Moving the cursor never changes a value or runs a button's action.
    g->Navigation.AdvanceOnEnter = true;
    g->Navigation.AdvanceDirection = adTopBottom;
    g->AddCheckBox(1, 2, false, false);
    g->AddButton(1, 3, 40, 16, "go", haLeft, vaTop);
    g->OnCheckBoxClick = [&](TObject*, int, int, bool) { events.push_back("check"); };
    g->OnButtonClick = [&](TObject*, int, int) { events.push_back("button"); };
    SendChar(g, '7');
    ASSERT_TRUE(ProcessUntil([&] { return Editing() && g->InplaceEditor()->Text() == "7"; }, 500));
    SendKey(g->InplaceEditor(), VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "7");
    EXPECT_EQ(g->Row(), 2);
    bool state = true;
    ASSERT_TRUE(g->GetCheckBoxState(1, 2, state));
    EXPECT_FALSE(state);
    g->AdvanceEdit(g->Col(), g->Row(), false, false, true, false);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_TRUE(events.empty());
}

TEST_F(KeysTest, InsertOnAGridOfOnlyItsFixedRowAddsTheRowBelowTheHeader)
{
    // With the fixed row kept and no normal rows, the new row goes under the header and
    // becomes current, wherever new rows normally go.
    for (TInsertPosition where : {pInsertAfter, pInsertBefore}) {
        SCOPED_TRACE(int(where));
        g->SetFixedRowAlways(true);
        g->SetRowCount(1);
        g->SetCells(1, 0, "head");
        g->Navigation.AllowInsertRow = true;
        g->Navigation.InsertPosition = where;
        std::vector<int> inserted;
        g->OnAutoInsertRow = [&](TObject*, int r) { inserted.push_back(r); };
        SendKey(g, VK_INSERT);
        EXPECT_EQ(g->RowCount(), 2);
        EXPECT_EQ(g->TBaseGrid::FixedRows(), 1);
        EXPECT_EQ(g->Cells(1, 0), "head");
        EXPECT_EQ(g->Cells(1, 1), "");
        EXPECT_EQ(g->Row(), 1);
        EXPECT_EQ(inserted, std::vector<int>{1});
        // With normal rows the position option decides again.
        g->SetCells(1, 1, "a");
        SendKey(g, VK_INSERT);
        EXPECT_EQ(g->RowCount(), 3);
        EXPECT_EQ(g->Cells(1, 0), "head");
        EXPECT_EQ(g->Cells(1, where == pInsertAfter ? 1 : 2), "a");
        EXPECT_EQ(g->Row(), where == pInsertAfter ? 2 : 1);
    }
}
