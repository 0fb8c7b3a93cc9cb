// Typing, selection, clipboard, indenting and the key command table, through key messages.
#include <gtest/gtest.h>

#include "MemoFixture.h"
#include "platform/controls/Controls.h"
#include "platform/system/Clipboard.h"
#include "widgets/memo/Gutter.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

TEST_F(MemoTest, ShiftArrowsSelectAndAPlainArrowDrops)
{
    SetText({"abcdefgh"});
    Focus();
    memo->SetCursor(2, 0);
    for (int i = 0; i < 3; ++i) Key(VK_RIGHT, ssShift);
    EXPECT_EQ(memo->SelText(), "cde");
    EXPECT_EQ(memo->SelStart(), 2);
    EXPECT_EQ(memo->SelLength(), 3);
    Key(VK_LEFT);
    EXPECT_FALSE(memo->HasSelection());
    EXPECT_EQ(memo->CurX(), 4);
}

TEST_F(MemoTest, CtrlShiftEndSelectsTheWholeText)
{
    SetText({"one", "two", "three"});
    Focus();
    Key(VK_END, ssCtrl | ssShift);
    EXPECT_EQ(memo->SelText(), "one\r\ntwo\r\nthree");
}

TEST_F(MemoTest, TypingPastTheLineEndPadsWithBlanks)
{
    SetText({"abcdefgh"});
    Focus();
    memo->SetCursor(6, 0);
    memo->Lines()->Put(0, "abc");
    Type("x");
    EXPECT_EQ(Text(), "abc   x");
}

TEST_F(MemoTest, EnterKeepsTheIndentation)
{
    SetText({"    one two"});
    Focus();
    memo->SetCursor(8, 0);
    Key(VK_RETURN);
    EXPECT_EQ(Text(), "    one|    two");
    EXPECT_EQ(memo->CurX(), 4);
    EXPECT_EQ(memo->CurY(), 1);
    EXPECT_EQ(memo->UndoList()->Get(0)->FText, "\r    ");
    Key(VK_BACK, ssAlt);  // Alt+Backspace undoes
    EXPECT_EQ(Text(), "    one two");
    Key(VK_BACK, ssAlt | ssShift);  // and with Shift redoes
    EXPECT_EQ(Text(), "    one|    two");
}

TEST_F(MemoTest, KeyCommandTable)
{
    struct Row {
        const char* name;
        std::vector<std::string> text;
        int x, y;
        Word key;
        TShiftState shift;
        const char* result;
        int cx, cy;
    };
    const std::vector<Row> rows = {
        {"backspace joins", {"a", "b", "c", "d", "e", "f"}, 0, 5, VK_BACK, 0, "a|b|c|d|ef", 1, 4},
        {"backspace deletes", {"abc"}, 2, 0, VK_BACK, 0, "ac", 1, 0},
        {"delete at the end of the last line", {"abc"}, 3, 0, VK_DELETE, 0, "abc", 3, 0},
        {"delete", {"abc"}, 0, 0, VK_DELETE, 0, "bc", 0, 0},
        {"tab", {"ab"}, 1, 0, VK_TAB, 0, "a    b", 5, 0},
        {"shift tab moves back", {"abcdefgh"}, 6, 0, VK_TAB, ssShift, "abcdefgh", 2, 0},
        {"ctrl tab does nothing", {"ab"}, 1, 0, VK_TAB, ssCtrl, "ab", 1, 0},
        {"ctrl Y deletes the line", {"a", "b", "c"}, 0, 1, 'Y', ssCtrl, "a|c", 0, 1},
        {"ctrl backspace deletes a word", {"one two"}, 7, 0, VK_BACK, ssCtrl, "one ", 4, 0},
        {"home", {"  abc"}, 4, 0, VK_HOME, 0, "  abc", 0, 0},
        {"end ignores trailing blanks", {"abc  "}, 0, 0, VK_END, 0, "abc  ", 3, 0},
        {"ctrl home", {"a", "bcd"}, 2, 1, VK_HOME, ssCtrl, "a|bcd", 0, 0},
        {"ctrl end", {"a", "bcd"}, 0, 0, VK_END, ssCtrl, "a|bcd", 3, 1},
        {"down", {"abc", "d"}, 2, 0, VK_DOWN, 0, "abc|d ", 2, 1},
        {"left at column 0", {"abc", "d"}, 0, 1, VK_LEFT, 0, "abc|d", 3, 0},
        {"ctrl right moves a word", {"one two"}, 0, 0, VK_RIGHT, ssCtrl, "one two", 4, 0},
        {"escape", {"abc"}, 1, 0, VK_ESCAPE, 0, "abc", 1, 0},
    };
    Focus();
    for (const Row& r : rows) {
        SetText(r.text);
        memo->SetCursor(r.x, r.y);
        Key(r.key, r.shift);
        EXPECT_EQ(Text(), r.result) << r.name;
        EXPECT_EQ(memo->CurX(), r.cx) << r.name;
        EXPECT_EQ(memo->CurY(), r.cy) << r.name;
    }
}

TEST_F(MemoTest, TypingOverASelectionReplacesItInTwoUndoSteps)
{
    SetText({"hello world"});
    Focus();
    memo->SetSelection(0, 0, 5, 0);
    Type("X");
    EXPECT_EQ(Text(), "X world");
    memo->Undo();
    EXPECT_EQ(Text(), " world");
    memo->Undo();
    EXPECT_EQ(Text(), "hello world");
    EXPECT_EQ(memo->SelText(), "hello");
}

TEST_F(MemoTest, ClipboardKeys)
{
    SetText({"abc def"});
    Focus();
    memo->SetSelection(0, 0, 3, 0);
    Key('C', ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), "abc");
    Key('X', ssCtrl);
    EXPECT_EQ(Text(), " def");
    Key(VK_END);
    Key('V', ssCtrl);
    EXPECT_EQ(Text(), " defabc");
    Key('A', ssCtrl);
    EXPECT_EQ(memo->SelText(), " defabc");
    Key(VK_INSERT, ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), " defabc");
}

TEST_F(MemoTest, PasteSplitsLinesAndNormalisesLineBreaks)
{
    SetText({"abcd"});
    Focus();
    memo->SetCursor(2, 0);
    Clipboard()->SetAsText("a\nb");
    memo->PasteFromClipBoard();
    EXPECT_EQ(Text(), "aba|bcd");
    SetText({"abcd"});
    memo->SetCursor(2, 0);
    Clipboard()->SetAsText("1\r\n2\r\n3");
    Key(VK_INSERT, ssShift);
    EXPECT_EQ(Text(), "ab1|2|3cd");
    EXPECT_EQ(memo->CurX(), 1);
    EXPECT_EQ(memo->CurY(), 2);
}

TEST_F(MemoTest, ReadOnlyMovesAndCopiesButDoesNotEdit)
{
    SetText({"abc", "def"});
    Focus();
    memo->ReadOnly = true;
    Key(VK_RIGHT, ssShift);
    Key('C', ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), "a");
    Type("zz");
    Key(VK_RETURN);
    Key(VK_DELETE);
    Key(VK_BACK);
    Key('V', ssCtrl);
    Key('X', ssCtrl);
    Key('Y', ssCtrl);
    memo->MenuCommand(7);
    EXPECT_EQ(Text(), "abc|def");
    Key(VK_DOWN);
    EXPECT_EQ(memo->CurY(), 1);
}

TEST_F(MemoTest, InsertTogglesOverwriteUnlessRefused)
{
    SetText({"abc"});
    Focus();
    Key(VK_INSERT);
    EXPECT_TRUE(memo->Overwrite());
    Type("X");
    EXPECT_EQ(Text(), "Xbc");
    memo->OnOverwriteToggle = [](TObject*, bool& allow) { allow = false; };
    Key(VK_INSERT);
    EXPECT_TRUE(memo->Overwrite());
}

TEST_F(MemoTest, BlockIndentAddsAndRemovesBlanks)
{
    SetText({"a", "  b", "c"});
    memo->BlockIndent(2, 0, 2);
    EXPECT_EQ(Text(), "  a|    b|  c");
    memo->BlockIndent(0, 1, -3);
    EXPECT_EQ(Text(), "a| b|  c");
    EXPECT_FALSE(memo->CanUndo());
}

TEST_F(MemoTest, SmartTabGoesToTheNextWordAbove)
{
    SetText({"x", "alpha   beta", ""});
    memo->SmartTabs = true;
    Focus();
    memo->SetCursor(0, 2);
    Key(VK_TAB);
    EXPECT_EQ(memo->CurX(), 8);
}

TEST_F(MemoTest, TheDesktopCaretBlinkTimeIsLeftAlone)
{
    SetCaretBlinkTime(700);
    SetText({"abc"});
    Focus();
    SendMessage(memo->Handle(), WM_KEYDOWN, 'X', 0);  // held down
    EXPECT_EQ(GetCaretBlinkTime(), 700u);
    SendMessage(memo->Handle(), WM_KEYUP, 'X', 0);
    owner->RemoveComponent(memo);
    auto* other = new TExMemo(owner.get());
    other->SetBounds(0, 0, 100, 50);
    other->SetFocus();
    EXPECT_EQ(GetCaretBlinkTime(), 700u);
    memo->Free();
    memo = other;
    SetCaretBlinkTime(530);
}

TEST_F(MemoTest, OffsetsCountNoLineBreakInsideAWrappedLine)
{
    memo->SetWordWrap(wwRightMargin);
    memo->SetRightMargin(10);
    memo->Lines()->Clear();
    memo->Lines()->Add("aaaa bbbb cccc");  // wraps as it is added
    ASSERT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(Text(), "aaaa |bbbb cccc");
    EXPECT_TRUE(memo->Wrapped(1));
    EXPECT_EQ(memo->TextFromPos(2, 1), 7);
    memo->SetSelection(4, 1, 4, 1);
    EXPECT_EQ(memo->SelStart(), 9);
    memo->SetSelLength(0);
    EXPECT_FALSE(memo->HasSelection());
    EXPECT_EQ(memo->SelText(), "");
    memo->SetSelection(0, 0, 4, 1);
    EXPECT_EQ(memo->SelText(), "aaaa bbbb");
}

TEST_F(MemoTest, TypingInAWrappedLineRewrapsIt)
{
    memo->SetWordWrap(wwRightMargin);
    memo->SetRightMargin(10);
    SetText({"aaaa bbbb"});
    Focus();
    memo->SetCursor(9, 0);
    Type(" cc");
    EXPECT_EQ(Text(), "aaaa |bbbb cc");
    EXPECT_EQ(memo->CurY(), 1);
    EXPECT_EQ(memo->CurX(), 7);
    memo->Undo();
    EXPECT_EQ(Text(), "aaaa bbbb");
    memo->SetWordWrap(wwNone);
    EXPECT_EQ(Text(), "aaaa bbbb");
}

TEST_F(MemoTest, EditsRewrapTheirParagraphAsAWholeRewrapWould)
{
    memo->SetWordWrap(wwRightMargin);
    memo->SetRightMargin(12);
    SetText({"one two three four five", "short", "six seven eight nine ten"});
    Focus();
    auto check = [&](const char* what) {
        const std::string now = Text();
        memo->UpdateWrap();
        EXPECT_EQ(Text(), now) << what;
    };
    memo->SetCursor(4, 0);
    Type("xxxxxx ");
    check("typing");
    Key(VK_BACK);
    Key(VK_BACK);
    check("backspace");
    memo->SetSelection(2, 1, 3, 3);
    memo->DeleteSelection();
    check("selection across paragraphs");
    memo->InsertText("a b c d e f g h i j k\r\nl m n o p q r s t");
    check("pasted lines");
    memo->Undo();
    check("undo");
    memo->SetWordWrap(wwNone);
    EXPECT_EQ(memo->Lines()->Count(), 3);
}

TEST_F(MemoTest, PagesHomeAndWordMoves)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i) lines.push_back("word" + std::to_string(i) + " next");
    SetText(lines);
    Focus();
    const int rows = memo->EditorRect().Height() / memo->CharHeight() - 1;
    Key(VK_NEXT);
    EXPECT_EQ(memo->CurY(), rows);
    Key(VK_NEXT, ssShift);
    EXPECT_EQ(memo->CurY(), 2 * rows);
    EXPECT_EQ(memo->SelStart(), memo->TextFromPos(0, rows));
    Key(VK_PRIOR, ssCtrl);
    EXPECT_EQ(memo->CurY(), 0);
    EXPECT_FALSE(memo->HasSelection());
    memo->SetCursor(9, 3);
    Key(VK_LEFT, ssCtrl);
    EXPECT_EQ(memo->CurX(), 6);
    memo->EnhancedHomeKey = true;
    memo->SetCursor(9, 3);
    Key(VK_HOME);
    EXPECT_EQ(memo->CurX(), 6);
}

TEST_F(MemoTest, ProgrammaticInsertion)
{
    SetText({""});
    EXPECT_EQ(memo->AddString("first"), 0);
    EXPECT_EQ(memo->AddString("second"), 1);
    EXPECT_EQ(Text(), "first|second");
    memo->InsertString(1, "middle");
    EXPECT_EQ(Text(), "first|middle|second");
    SetText({"  x"});
    memo->SetCursor(2, 0);
    memo->InsertTemplate(std::string("if (") + char(7) + ")\r{\r}");
    EXPECT_EQ(Text(), "  if ()|  {|  }x");
    EXPECT_EQ(memo->CurX(), 6);
    EXPECT_EQ(memo->CurY(), 0);
}

TEST_F(MemoTest, AutoCorrectReplacesAWordWhenItEnds)
{
    SetText({""});
    Focus();
    memo->AutoCorrect().OldValue = {"teh"};
    memo->AutoCorrect().NewValue = {"the"};
    Type("teh cat");
    EXPECT_EQ(Text(), "the cat");
    std::string seen;
    memo->OnWordComplete = [&](TObject*, const std::string& word, std::string& repl) {
        seen = word;
        if (word == "cat") repl = "dog";
    };
    Type(" ");
    EXPECT_EQ(seen, "cat");
    EXPECT_EQ(Text(), "the dog ");
}

TEST_F(MemoTest, ThemeAdaptWithoutASchemeUsesWhiteToButtonFace)
{
    memo->ThemeAdapt();
    EXPECT_EQ(memo->Gutter()->GutterColor(), clWhite);
    EXPECT_EQ(memo->Gutter()->GutterColorTo(), clBtnFace);
}
