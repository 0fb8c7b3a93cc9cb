// The grid's in-place editing driven by keys: opening the editor, Enter and Tab moving on
// as the options say, Escape, and validation of the typed value.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridUndo.h"
#include "widgets/grid/ExInplaceEdit.h"

using namespace platform;
using namespace grid;

namespace {

struct EditTest : ::testing::Test, gridtest::GridWindow {
    std::vector<std::string> validated;
    void SetUp() override
    {
        ASSERT_TRUE(OpenEditing(420, 300, 4, 5, true));
    }
    void TearDown() override { Close(); }
    TInplaceEdit* Ed() { return g->InplaceEditor(); }
    bool Editing() { return Ed() && Ed()->Visible(); }
    // A character typed on the grid opens the editor with it.
    void TypeOnGrid(char ch)
    {
        SendChar(g, ch);
        ASSERT_TRUE(ProcessUntil([&] { return Editing() && Ed()->Text() == std::string(1, ch); }, 500));
    }
    void Type(const std::string& s)
    {
        for (char ch : s) SendChar(Ed(), ch);
    }
    // Accepts numbers only, as the offsets table does.
    void NumbersOnly()
    {
        g->OnCellValidate = [&](TObject*, int c, int r, std::string& v, bool& ok) {
            validated.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
            char* end = nullptr;
            std::strtod(v.c_str(), &end);
            ok = !v.empty() && end && *end == 0;
        };
    }
};

}  // namespace

TEST_F(EditTest, ACharacterOpensTheEditorWithItAndF2WithTheCellText)
{
    TypeOnGrid('7');
    EXPECT_EQ(Ed()->Text(), "7");
    EXPECT_EQ(g->Cells(1, 1), "11");  // nothing reaches the cell while typing
    SendKey(Ed(), VK_ESCAPE);
    EXPECT_FALSE(Editing());
    SendKey(g, VK_F2);
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Ed()->Text(), "11");
    EXPECT_TRUE(dynamic_cast<TExInplaceEdit*>(Ed()));
}

TEST_F(EditTest, EscapeRestoresTheOldTextAndValidatesNothing)
{
    NumbersOnly();
    TypeOnGrid('9');
    Type("9");
    SendKey(Ed(), VK_ESCAPE);
    EXPECT_FALSE(Editing());
    EXPECT_EQ(g->Cells(1, 1), "11");
    EXPECT_TRUE(validated.empty());
    SendKey(g, VK_F2);
    EXPECT_EQ(Ed()->Text(), "11");
}

TEST_F(EditTest, EnterKeepsAValidatedValueAndMovesAsTheOptionsSay)
{
    NumbersOnly();
    struct Case {
        bool advance;
        TAdvanceDirection dir;
        int col, row;
    };
    for (const Case k : {Case{false, adLeftRight, 1, 1}, Case{true, adLeftRight, 2, 1}, Case{true, adTopBottom, 1, 2}}) {
        SCOPED_TRACE(std::to_string(k.advance) + "/" + std::to_string(k.dir));
        g->SetCol(1);
        g->SetRow(1);
        g->Navigation.AdvanceOnEnter = k.advance;
        g->Navigation.AdvanceDirection = k.dir;
        validated.clear();
        TypeOnGrid('4');
        Type(".5");
        SendKey(Ed(), VK_RETURN);
        EXPECT_FALSE(Editing());
        EXPECT_EQ(g->Cells(1, 1), "4.5");
        EXPECT_EQ(validated, std::vector<std::string>{"1,1=4.5"});
        EXPECT_EQ(g->Col(), k.col);
        EXPECT_EQ(g->Row(), k.row);
        g->SetCells(1, 1, "11");
    }
}

TEST_F(EditTest, ARefusedValueStaysInTheEditorAndTheCellKeepsItsText)
{
    NumbersOnly();
    g->Navigation.AdvanceOnEnter = true;
    TypeOnGrid('x');
    SendKey(Ed(), VK_RETURN);
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Ed()->Text(), "x");
    EXPECT_EQ(g->Cells(1, 1), "11");
    EXPECT_EQ(g->Col(), 1);
    EXPECT_TRUE(g->ValidatePending);
    // Leaving by Down or by a click elsewhere is refused as well, and validated again.
    SendKey(Ed(), VK_DOWN);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(Editing());
    g->SetRow(3);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(validated.size(), 3u);
    // Mended, it is kept.
    Ed()->SetText("2e3");
    SendKey(Ed(), VK_RETURN);
    EXPECT_FALSE(Editing());
    EXPECT_EQ(g->Cells(1, 1), "2e3");
    EXPECT_EQ(g->Col(), 2);
}

TEST_F(EditTest, AHandlersReplacementGoesToTheCellAndTheEditor)
{
    g->OnCellValidate = [](TObject*, int, int, std::string& v, bool& ok) {
        ok = v == "x";
        if (!ok) v = "x";
    };
    TypeOnGrid('q');
    SendKey(Ed(), VK_RETURN);
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Ed()->Text(), "x");
    EXPECT_EQ(g->Cells(1, 1), "x");
}

TEST_F(EditTest, AnUnchangedValueIsNotValidated)
{
    NumbersOnly();
    SendKey(g, VK_F2);
    Ed()->Deselect();
    Type("5");
    SendKey(Ed(), VK_BACK);
    SendKey(Ed(), VK_RETURN);
    EXPECT_FALSE(Editing());
    EXPECT_TRUE(validated.empty());
}

TEST_F(EditTest, AThrowingValidationLeavesValidationWorking)
{
    int calls = 0;
    g->OnCellValidate = [&](TObject*, int, int, std::string&, bool& ok) {
        if (++calls == 1) throw std::runtime_error("bad handler");
        ok = false;
    };
    TypeOnGrid('1');
    EXPECT_THROW(g->CommitEdit(), std::runtime_error);
    EXPECT_FALSE(g->Validating);
    EXPECT_EQ(g->Cells(1, 1), "11");
    EXPECT_FALSE(g->CommitEdit());  // judged again, and refused
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(g->Cells(1, 1), "11");
}

TEST_F(EditTest, TabMovesAlongRowsOrColumnsAndValidates)
{
    NumbersOnly();
    g->SetOptions(g->Options() | goTabs);
    TypeOnGrid('8');
    SendKey(Ed(), VK_TAB);
    EXPECT_EQ(g->Cells(1, 1), "8");
    EXPECT_EQ(g->Col(), 2);
    g->SetCol(3);
    SendKey(g, VK_TAB);  // past the row's end: the next row's first cell
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
    SendKey(g, VK_TAB, ssShift);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 1);
    g->Navigation.TabAdvanceDirection = adTopBottom;
    SendKey(g, VK_TAB);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 2);
}

TEST_F(EditTest, AdvanceSkipsReadOnlyCellsAndStopsWhenNoneIsEditable)
{
    g->Navigation.AdvanceOnEnter = true;
    bool none = false;
    g->OnCanEditCell = [&](TObject*, int, int c, bool& can) { can = !none && c != 2; };
    g->AdvanceEdit(1, 1, false, false, true, false);
    EXPECT_EQ(g->Col(), 3);
    none = true;
    g->AdvanceEdit(3, 1, false, false, true, false);  // returns after one pass
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 1);
    none = false;
    g->Navigation.AdvanceInsert = true;
    g->SetRow(4);
    g->AdvanceEdit(3, 4, false, false, true, false);  // past the last cell: a new row
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->Row(), 5);
    EXPECT_EQ(g->Col(), 1);
}

TEST_F(EditTest, EditorTypesFilterTypedCharacters)
{
    struct Case {
        TEditorType t;
        std::string typed, expected;
    };
    for (const Case& k : {Case{edNumeric, "-1a2-", "-12"}, Case{edPositiveNumeric, "-5x7", "57"},
                          Case{edFloat, "-1.5e-3x.", "-1.5e-3"}, Case{edUpperCase, "ab", "AB"},
                          Case{edLowerCase, "AB", "ab"}, Case{edMixedCase, "ab cd", "Ab Cd"}}) {
        std::string text;
        for (char ch : k.typed) {
            const char out = TExInplaceEdit::FilterKey(k.t, ch, text, int(text.size()), '.');
            if (out) text += out;
        }
        EXPECT_EQ(text, k.expected) << int(k.t);
    }
    g->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edPositiveNumeric; };
    SendKey(g, VK_F2);
    ASSERT_TRUE(Editing());
    Ed()->SelectAll();
    Type("-4a2");
    EXPECT_EQ(Ed()->Text(), "42");
}

TEST_F(EditTest, ReadOnlyCellsAndTheNoneEditorOpenNothing)
{
    g->SetReadOnly(1, 1, true);
    SendKey(g, VK_F2);
    EXPECT_FALSE(Editing());
    g->SetReadOnly(1, 1, false);
    g->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edNone; };
    SendKey(g, VK_F2);
    EXPECT_FALSE(Editing());
}

TEST_F(EditTest, OneWheelNotchMovesTheCurrentRowOnceAndCtrlZooms)
{
    g->SetRowCount(40);
    g->SetRow(1);
    const int step = std::max(1, WheelScrollLines());
    const TRect r = g->CellRect(1, 1);
    HostWheel(g, r.Left + 3, r.Top + 3, -120);
    EXPECT_EQ(g->Row(), 1 + step);
    HostWheel(g, r.Left + 3, r.Top + 3, 120);
    EXPECT_EQ(g->Row(), 1);
    HostWheel(g, r.Left + 3, r.Top + 3, 120);  // at the first normal row already
    EXPECT_EQ(g->Row(), 1);
    // Ctrl: the zoom level steps by the wheel step and stays within -10..10.
    int last = 0;
    for (int i = 0; i < 6; ++i) {
        HostWheel(g, r.Left + 3, r.Top + 3, -120, ssCtrl);
        EXPECT_LE(g->ZoomOffset(), 10);
        EXPECT_GE(g->ZoomOffset(), last);
        last = g->ZoomOffset();
    }
    EXPECT_EQ(g->ZoomOffset(), 10 / step * step);
    EXPECT_EQ(g->Row(), 1);
    g->EnableWheel = false;
    HostWheel(g, r.Left + 3, r.Top + 3, -120);
    EXPECT_EQ(g->Row(), 1);
}

TEST_F(EditTest, UndoAndRedoRoundTripValidatedEditsAndANewEditGoesBehindTheUndoneOnes)
{
    auto* undo = new TExGridUndoRedo(form);
    undo->SetGrid(g);
    NumbersOnly();
    auto edit = [&](int c, int r, const std::string& v) {
        g->SetCol(c);
        g->SetRow(r);
        SendKey(g, VK_F2);
        ASSERT_TRUE(Editing());
        Ed()->SetText(v);
        SendKey(Ed(), VK_RETURN);
    };
    edit(1, 1, "1");
    edit(2, 2, "2");
    edit(3, 3, "bad");  // refused: nothing to undo
    SendKey(Ed(), VK_ESCAPE);
    edit(3, 3, "3");
    ASSERT_EQ(undo->Count(), 3);
    undo->Undo();
    undo->Undo();
    EXPECT_EQ(g->Cells(2, 2), "22");
    EXPECT_EQ(g->Cells(3, 3), "33");
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
    undo->Redo();
    EXPECT_EQ(g->Cells(2, 2), "2");
    EXPECT_TRUE(undo->CanRedo());
    edit(1, 4, "4");  // a new change goes behind the undone "3"; the position moves to the end
    EXPECT_FALSE(undo->CanRedo());
    EXPECT_EQ(undo->Count(), 4);
    undo->Redo();
    EXPECT_EQ(g->Cells(3, 3), "33");
    // Kept on real rows: hiding a row above does not send the undo elsewhere.
    g->HideRow(2);
    undo->Undo();
    EXPECT_EQ(g->Cells(1, 4), "14");
    EXPECT_EQ(g->Cells(1, 3), "13");
    undo->Undo();  // the undone "3": its cell already holds its old text
    EXPECT_EQ(g->Cells(3, 3), "33");
    EXPECT_TRUE(undo->CanUndo());
    g->UnHideRow(2);
    undo->MaxLevel = 1;
    edit(3, 1, "5");
    EXPECT_EQ(undo->Count(), 1);
    undo->Reset();
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_FALSE(undo->CanRedo());
}

TEST_F(EditTest, AClickElsewhereValidatesFirstAndARefusalKeepsTheCell)
{
    NumbersOnly();
    TypeOnGrid('z');
    const TRect other = g->CellRect(2, 3);
    ClickAt(g, other.Left + 4, other.Top + 4);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Ed()->Text(), "z");
    EXPECT_EQ(g->Cells(1, 1), "11");
    Ed()->SetText("6");
    ClickAt(g, other.Left + 4, other.Top + 4);
    EXPECT_EQ(g->Cells(1, 1), "6");
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_FALSE(Editing());
}

TEST_F(EditTest, InsertDeleteAndDownAtTheEndChangeRowsWhenTheOptionsAllow)
{
    SendKey(g, VK_INSERT);
    SendKey(g, VK_DELETE);
    EXPECT_EQ(g->RowCount(), 5);  // options off: nothing
    g->Navigation.AllowInsertRow = g->Navigation.AllowDeleteRow = g->Navigation.AppendOnArrowDown = true;
    g->SetRow(2);
    SendKey(g, VK_INSERT);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->Cells(1, 2), "");
    EXPECT_EQ(g->Cells(1, 3), "12");
    g->Navigation.InsertPosition = pInsertAfter;
    SendKey(g, VK_INSERT);
    EXPECT_EQ(g->RowCount(), 7);
    EXPECT_EQ(g->Row(), 3);
    bool allow = false;
    g->OnCanDeleteRow = [&](TObject*, int, bool& a) { a = allow; };
    SendKey(g, VK_DELETE);
    EXPECT_EQ(g->RowCount(), 7);
    allow = true;
    SendKey(g, VK_DELETE);
    SendKey(g, VK_DELETE);
    EXPECT_EQ(g->RowCount(), 5);  // the two new rows went first, then the current one
    EXPECT_EQ(g->Cells(1, 2), "");
    EXPECT_EQ(g->Cells(1, 3), "13");
    g->SetRow(4);
    SendKey(g, VK_DOWN);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->Row(), 5);
}

TEST_F(EditTest, ArrowKeysSkipCellsThatAnswerFixed)
{
    g->OnIsFixedCell = [](TObject*, int, int c, bool& f) { f = c == 2; };
    SendKey(g, VK_RIGHT);
    EXPECT_EQ(g->Col(), 3);
    SendKey(g, VK_LEFT);
    EXPECT_EQ(g->Col(), 1);
    g->OnIsFixedCell = [](TObject*, int, int c, bool& f) { f = c >= 2; };
    SendKey(g, VK_RIGHT);  // nothing beyond: it stays
    EXPECT_EQ(g->Col(), 1);
    // Without skipping, a cell that answers fixed cannot become current at all.
    g->Navigation.SkipFixedCells = false;
    SendKey(g, VK_RIGHT);
    EXPECT_EQ(g->Col(), 1);
}
