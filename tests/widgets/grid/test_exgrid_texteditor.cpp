// The grid's text editor driven by keys: refusals and their beeps, pastes, the length
// limit, auto-completion, line breaks, walking out at the text's ends, and its look.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "base/Locale.h"
#include "base/StringList.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/controls/Edit.h"
#include "platform/system/Beep.h"
#include "platform/system/Clipboard.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExInplaceEdit.h"

using namespace platform;
using namespace grid;

namespace {

struct TextEditorTest : ::testing::Test, gridtest::GridWindow {
    TEditorType type = edNormal;
    int beeps = 0;
    TBeepHook oldBeep;
    base::TFormatSettings oldFormat;
    void SetUp() override
    {
        oldFormat = base::FormatSettings();
        oldBeep = SetBeepHook([this](UINT) { ++beeps; });
        ASSERT_TRUE(OpenEditing(420, 300, 4, 5, false));
        g->OnGetEditorType = [this](TObject*, int, int, TEditorType& t) { t = type; };
    }
    void TearDown() override
    {
        Close();
        SetBeepHook(oldBeep);
        base::SetFormatSettings(oldFormat);
    }
    TExInplaceEdit* Ed() { return dynamic_cast<TExInplaceEdit*>(g->InplaceEditor()); }
    bool Editing() { return Ed() && Ed()->Visible(); }
    void OpenEmpty()
    {
        g->SetCells(g->Col(), g->Row(), "");
        SendKey(g, VK_F2);
        ASSERT_TRUE(Editing());
    }
    // Characters with their key presses and releases, as typing gives them.
    void Type(const std::string& s)
    {
        for (char ch : s) {
            Ed()->Perform(WM_KEYDOWN, WPARAM(std::toupper((unsigned char)ch)), 0);
            SendChar(Ed(), ch);
            Ed()->Perform(WM_KEYUP, WPARAM(std::toupper((unsigned char)ch)), 0);
        }
    }
    void Paste(const std::string& s)
    {
        Clipboard()->SetAsText(s);
        Ed()->Perform(WM_PASTE);
    }
};

}  // namespace

TEST_F(TextEditorTest, RefusedCharactersBeepOnlyWhereTheTypeSays)
{
    struct Case {
        TEditorType t;
        std::string typed, text;
        int beeps;
    };
    for (const Case& k : {Case{edNumeric, "12-x", "12", 2}, Case{edPositiveNumeric, "-3", "3", 1},
                          Case{edFloat, "1x-", "1", 1}, Case{edFloat, "2..5", "2.5", 0}}) {
        SCOPED_TRACE(k.typed);
        type = k.t;
        beeps = 0;
        OpenEmpty();
        Type(k.typed);
        EXPECT_EQ(Ed()->Text(), k.text);
        EXPECT_EQ(beeps, k.beeps);
        SendKey(Ed(), VK_ESCAPE);
    }
}

TEST_F(TextEditorTest, PastesAreFilteredByTheEditorType)
{
    struct Case {
        TEditorType t;
        std::string pasted, text;
    };
    for (const Case& k : {Case{edPositiveNumeric, "-5", ""}, Case{edPositiveNumeric, "12", "12"},
                          Case{edPositiveNumeric, "12a", ""}, Case{edNumeric, "-5", "-5"}, Case{edFloat, "1.5", "1.5"},
                          Case{edFloat, "x", ""}, Case{edUpperCase, "ab", "AB"}, Case{edMixedCase, "aB cD", "Ab Cd"}}) {
        SCOPED_TRACE(k.pasted);
        type = k.t;
        OpenEmpty();
        Paste(k.pasted);
        EXPECT_EQ(Ed()->Text(), k.text);
        SendKey(Ed(), VK_ESCAPE);
    }
    // The events may change or refuse it; a replaced selection leaves the paste selected.
    type = edNormal;
    g->OnClipboardBeforePasteCell = [](TObject*, int, int, std::string& v, bool&) { v = "<" + v + ">"; };
    g->SetCells(1, 1, "abcd");
    SendKey(g, VK_F2);
    Ed()->SetSelStart(1);
    Ed()->SetSelLength(2);
    Paste("x");
    EXPECT_EQ(Ed()->Text(), "a<x>d");
    EXPECT_EQ(Ed()->SelText(), "<x>");
    g->OnClipboardPaste = [](TObject*, bool& allow) { allow = false; };
    Paste("y");
    EXPECT_EQ(Ed()->Text(), "a<x>d");
    // Copy and cut ask first.
    bool asked = false;
    g->OnClipboardCut = [&](TObject* s, bool& allow) {
        asked = s == Ed();
        allow = false;
    };
    Ed()->SelectAll();
    Ed()->Perform(WM_CUT);
    EXPECT_TRUE(asked);
    EXPECT_EQ(Ed()->Text(), "a<x>d");
    SendKey(Ed(), VK_ESCAPE);
    EXPECT_EQ(g->Cells(1, 1), "abcd");
}

TEST_F(TextEditorTest, TheLengthLimitMixedCaseAndTheKeypadSeparator)
{
    g->MaxEditLength = 3;
    OpenEmpty();
    Type("abcd");
    EXPECT_EQ(Ed()->Text(), "abc");
    SendKey(Ed(), VK_BACK);
    EXPECT_EQ(Ed()->Text(), "ab");
    Ed()->SetSelStart(0);
    Ed()->SetSelLength(1);
    Type("z");
    EXPECT_EQ(Ed()->Text(), "zb");
    SendKey(Ed(), VK_ESCAPE);
    g->MaxEditLength = 0;
    type = edMixedCase;
    OpenEmpty();
    Type("ab CD");
    EXPECT_EQ(Ed()->Text(), "Ab Cd");
    SendKey(Ed(), VK_ESCAPE);
    base::TFormatSettings f = base::FormatSettings();
    f.DecimalSeparator = ',';
    base::SetFormatSettings(f);
    g->ExcelStyleDecimalSeparator = true;
    type = edNormal;
    OpenEmpty();
    SendKey(Ed(), VK_DECIMAL);
    SendChar(Ed(), '.');
    EXPECT_EQ(Ed()->Text(), ",.");
    SendKey(Ed(), VK_ESCAPE);
}

TEST_F(TextEditorTest, LookupCompletesFromTheListAndBackspaceDoesNot)
{
    base::TStringList items;
    items.Add("Alpha");
    items.Add("alpine");
    g->SetLookupItems(&items);
    g->Lookup = true;
    OpenEmpty();
    Type("al");
    EXPECT_EQ(Ed()->Text(), "alpha");
    EXPECT_EQ(Ed()->SelText(), "pha");
    SendKey(Ed(), VK_BACK);
    EXPECT_EQ(Ed()->Text(), "al");
    Type("p");
    EXPECT_EQ(Ed()->Text(), "alpha");
    // With history, a new text joins the list when the editor is left.
    g->LookupHistory = true;
    Ed()->SetText("beta");
    SendKey(Ed(), VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "beta");
    EXPECT_GE(g->LookupItems().IndexOf("beta"), 0);
}

TEST_F(TextEditorTest, LineFeedOnEnterBreaksLinesAndCtrlEnterEnds)
{
    g->Navigation.LineFeedOnEnter = true;
    g->SetRow(2);
    OpenEmpty();
    Type("ab");
    SendKey(Ed(), VK_RETURN);
    Type("cd");
    EXPECT_EQ(Ed()->Text(), "ab\ncd");
    // Up on the second line moves the caret, not the current cell.
    SendKey(Ed(), VK_UP);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(Editing());
    EXPECT_EQ(Ed()->SelStart(), 2);
    SendKey(Ed(), VK_RETURN, ssCtrl);
    EXPECT_FALSE(Editing());
    EXPECT_EQ(g->Cells(1, 2), "ab\ncd");
}

TEST_F(TextEditorTest, WalkingOutOfTheTextMovesTheEditToTheNextCell)
{
    g->Navigation.CursorWalkEditor = true;
    g->SetCells(2, 1, "next");
    OpenEmpty();
    Type("x");
    SendKey(Ed(), VK_RIGHT);
    EXPECT_EQ(g->Cells(1, 1), "x");
    EXPECT_EQ(g->Col(), 2);
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Ed()->Text(), "next");
    Ed()->SetSelStart(0);
    SendKey(Ed(), VK_LEFT);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_TRUE(Editing());
    SendKey(Ed(), VK_ESCAPE);
}

TEST_F(TextEditorTest, RightAlignedCellsAndPasswordCellsShowSo)
{
    g->SetAlignments(1, 1, taRightJustify);
    g->SetCells(1, 1, "42");
    SendKey(g, VK_F2);
    ASSERT_TRUE(Editing());
    EXPECT_TRUE(Ed()->VAlign());
    EXPECT_EQ(Ed()->Alignment(), taRightJustify);
    EXPECT_EQ(Ed()->PasswordChar(), 0);
    SendKey(Ed(), VK_ESCAPE);
    type = edPassword;
    g->SetCol(2);
    SendKey(g, VK_F2);
    ASSERT_TRUE(Editing());
    EXPECT_FALSE(Ed()->VAlign());
    EXPECT_EQ(Ed()->PasswordChar(), '*');
    // A double click in the editor is the cell's.
    std::string clicked;
    g->OnDblClickCell = [&](TObject*, int r, int c) { clicked = std::to_string(c) + "," + std::to_string(r); };
    SendMouse(Ed(), WM_LBUTTONDBLCLK, 3, 3);
    EXPECT_EQ(clicked, "2,1");
    SendKey(Ed(), VK_ESCAPE);
}

TEST_F(TextEditorTest, APressPlacesTheCaretWithCaretPositioningAndTypingWidensTheColumn)
{
    g->MouseActions.CaretPositioning = true;
    g->SetCells(1, 1, "abcdefgh");
    const TRect cell = g->CellRect(1, 1);
    const TPoint at{cell.Left + cell.Width() / 2, cell.Top + cell.Height() / 2};
    ClickAt(g, at.X, at.Y);
    ASSERT_TRUE(Editing());
    const int expected = Ed()->CharFromPos(Ed()->ScreenToClient(g->ClientToScreen(at)));
    EXPECT_GT(expected, 0);
    EXPECT_LT(expected, 8);
    EXPECT_EQ(Ed()->SelStart(), expected);
    EXPECT_EQ(Ed()->SelLength(), 0);
    EXPECT_FALSE(g->CaretFromMouse);
    SendKey(Ed(), VK_ESCAPE);
    // With SizeWhileTyping.Width the column widens to the text being typed.
    g->SizeWhileTyping.Width = true;
    const int width = g->ColWidths(1);
    OpenEmpty();
    Type("a long text that does not fit the column");
    EXPECT_GT(g->ColWidths(1), width);
    SendKey(Ed(), VK_ESCAPE);
}

TEST_F(TextEditorTest, LeavingForAnotherWindowJudgesTheValueOnceAndClosesTheEditor)
{
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(0, 280, 60, 18);
    std::vector<std::string> judged;
    g->OnCellValidate = [&](TObject*, int, int, std::string& v, bool& ok) {
        judged.push_back(v);
        ok = v != "bad";
    };
    g->SetCells(1, 1, "old");
    SendKey(g, VK_F2);
    Ed()->SetText("bad");
    other->SetFocus();
    EXPECT_FALSE(Editing());
    EXPECT_EQ(g->Cells(1, 1), "old");
    EXPECT_EQ(judged, std::vector<std::string>{"bad"});
    g->SetFocus();
    SendKey(g, VK_F2);
    Ed()->SetText("good");
    other->SetFocus();
    EXPECT_FALSE(Editing());
    EXPECT_EQ(g->Cells(1, 1), "good");
    EXPECT_FALSE(g->ValidatePending);
}

TEST_F(TextEditorTest, TheEditorTakesItsCellsColourAndFont)
{
    g->SetColors(1, 1, clYellow);
    g->SetFontStyles(1, 1, fsBold);
    g->SetCells(1, 1, "x");
    SendKey(g, VK_F2);
    ASSERT_TRUE(Editing());
    EXPECT_EQ(ColorToRGB(Ed()->Color()), ColorToRGB(clYellow));
    EXPECT_TRUE(Ed()->Font()->Style() & fsBold);
    SendKey(Ed(), VK_ESCAPE);
}
