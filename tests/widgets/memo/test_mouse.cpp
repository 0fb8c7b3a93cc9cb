// Mouse selection, drag and drop, URLs, words, search, marks, block matching and state.
#include <gtest/gtest.h>

#include "MemoFixture.h"
#include "base/Exception.h"
#include "platform/controls/Menus.h"
#include "platform/system/Shell.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

class MouseTest : public MemoTest {
protected:
    TPoint At(int col, int row)
    {
        const TRect c = memo->CellRect(col, row);
        return {c.Left + 1, c.Top + 2};
    }
    void Press(int col, int row, TShiftState s = 0) { SendMouse(memo, WM_LBUTTONDOWN, At(col, row).X, At(col, row).Y, s); }
    void Move(int col, int row) { SendMouse(memo, WM_MOUSEMOVE, At(col, row).X, At(col, row).Y, ssLeft); }
    void Release(int col, int row) { SendMouse(memo, WM_LBUTTONUP, At(col, row).X, At(col, row).Y); }
    void DoubleClick(int col, int row)
    {
        Press(col, row);
        Release(col, row);
        SendMouse(memo, WM_LBUTTONDBLCLK, At(col, row).X, At(col, row).Y);
        Release(col, row);
    }
};

}  // namespace

TEST_F(MouseTest, PressAndDragSelect)
{
    SetText({"hello world", "second line"});
    Press(2, 0);
    EXPECT_EQ(memo->CurX(), 2);
    Move(4, 1);
    Release(4, 1);
    EXPECT_EQ(memo->SelText(), "llo world\r\nseco");
    // A press inside the selection and a release without moving places the caret there.
    Press(6, 0);
    Release(6, 0);
    EXPECT_FALSE(memo->HasSelection());
    EXPECT_EQ(memo->CurX(), 6);
    EXPECT_EQ(memo->CurY(), 0);
}

TEST_F(MouseTest, DoubleClickSelectsAWord)
{
    SetText({"one two three"});
    DoubleClick(4, 0);
    EXPECT_EQ(memo->SelText(), "two");
    DoubleClick(3, 0);  // a blank
    EXPECT_FALSE(memo->HasSelection());
}

TEST_F(MouseTest, DroppingTheSelectionMovesOrCopiesIt)
{
    SetText({"abc def ghi"});
    memo->SetSelection(0, 0, 4, 0);
    memo->DragDrop(memo, At(11, 0).X, At(11, 0).Y);
    EXPECT_EQ(Text(), "def ghiabc ");
    memo->SetSelection(0, 0, 3, 0);
    SetSimulatedShiftState(ssCtrl);
    memo->DragDrop(memo, At(4, 0).X, At(4, 0).Y);
    SetSimulatedShiftState(-1);
    EXPECT_EQ(Text(), "def defghiabc ");
}

TEST_F(MouseTest, AGutterClickMovesTheCaretToItsLine)
{
    SetText({"a", "b", "c"});
    SendMouse(memo, WM_LBUTTONDOWN, 10, At(0, 2).Y);
    EXPECT_EQ(memo->CurY(), 2);
}

TEST_F(MouseTest, AddressesShowTheHandAndOpenOnlyAsAddresses)
{
    std::vector<std::string> opened;
    SetShellExecuteHookForTesting([&](const std::string& verb, const std::string& file) {
        opened.push_back(verb + " " + file);
        return true;
    });
    SetText({"see http://example.org/x now", "www.example.org", "www.;rm -rf ~", "C:/boot.ini"});
    SendMouse(memo, WM_MOUSEMOVE, At(6, 0).X, At(6, 0).Y);
    EXPECT_EQ(memo->Cursor(), crHandPoint);
    SendMouse(memo, WM_MOUSEMOVE, At(1, 0).X, At(1, 0).Y);
    EXPECT_EQ(memo->Cursor(), crIBeam);
    for (int row = 0; row < 4; ++row) {
        Press(row == 0 ? 6 : 1, row);
        Release(row == 0 ? 6 : 1, row);
    }
    SetShellExecuteHookForTesting(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"open http://example.org/x", "open http://www.example.org"}));
    // With a handler the handler gets the run.
    std::string clicked;
    memo->OnURLClick = [&](TObject*, const std::string& url) { clicked = url; };
    Press(1, 2);
    EXPECT_EQ(clicked, "www.;rm");
}

TEST(MemoUrl, WhatMayBeOpened)
{
    struct Row {
        const char* text;
        const char* address;  // "" when refused
    };
    const std::vector<Row> rows = {
        {"http://example.org", "http://example.org"},
        {"https://a.b.c/path?q=1#f", "https://a.b.c/path?q=1#f"},
        {"HTTP://Example.ORG/", "HTTP://Example.ORG/"},
        {"www.example.org/x", "http://www.example.org/x"},
        {"ftp://files.example.org", "ftp://files.example.org"},
        {"mailto:someone@example.org", "mailto:someone@example.org"},
        {"mailto:bad", ""},
        {"www.", ""},
        {"www.;rm", ""},
        {"www.x", ""},
        {"http://", ""},
        {"http://exa mple.org", ""},
        {"http://example.org\\..\\x", ""},
        {"file:///etc/passwd", ""},
        {"/usr/bin/xterm", ""},
        {"www..org", ""},
    };
    for (const Row& r : rows) {
        std::string address;
        const bool ok = TExCustomMemo::IsOpenableURL(r.text, address);
        EXPECT_EQ(ok ? address : std::string(), r.address) << r.text;
    }
}

TEST_F(MemoTest, UrlRunsOfALine)
{
    EXPECT_EQ(memo->ExtractURL("a,\"b\""), (std::vector<std::string>{"a", ",\"", "b", "\""}));
    memo->SetUrlAware(false);
    EXPECT_EQ(memo->ExtractURL("a, b"), (std::vector<std::string>{"a, b"}));
}

TEST_F(MemoTest, WordsAroundPositions)
{
    SetText({"call(foo.bar, 12)"});
    EXPECT_EQ(memo->WordAtXY(6, 0), "call(foo.bar,");  // without a styler only blanks bound words
    EXPECT_EQ(memo->TokenAtXY(6, 0), "foo");
    EXPECT_EQ(memo->FullWordAtXY(6, 0), "call(foo.bar,");
    EXPECT_EQ(memo->WordAtXY(6, 5), "");
    memo->SetCursor(7, 0);
    EXPECT_EQ(memo->WordTillCursor(), "call(fo");
    EXPECT_EQ(memo->FullWordAtCursor(), "foo.bar,");
}

TEST_F(MemoTest, FindTextDownUpAndWholeWords)
{
    SetText({"Alpha beta", "BETA betamax", "beta"});
    EXPECT_EQ(memo->FindText("beta", frDown), 6);
    EXPECT_EQ(memo->SelText(), "beta");
    EXPECT_EQ(memo->FindText("beta", frDown), 12);  // the next one, in capitals
    EXPECT_EQ(memo->SelText(), "BETA");
    EXPECT_EQ(memo->FindText("beta", frDown | frMatchCase), 17);
    memo->SetCursor(0, 1);
    EXPECT_EQ(memo->FindText("betamax", frDown | frWholeWord), 17);
    memo->SetCursor(0, 1);
    EXPECT_EQ(memo->FindText("beta", frDown | frWholeWord | frMatchCase), 26);
    EXPECT_EQ(memo->FindText("gamma", frDown), -1);
    EXPECT_FALSE(memo->HasSelection());
    memo->SetCursor(0, 0);
    EXPECT_EQ(memo->FindTextPos("beta", frDown | frWholeWord), 6);
    EXPECT_EQ(memo->CurX(), 0);
    EXPECT_EQ(memo->FindText("", frDown), -1);
}

TEST_F(MemoTest, ContextMenuItemsFollowTheState)
{
    SetText({"abc"});
    std::vector<TMemoMenuItem> items = memo->ContextMenuItems();
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[3].Caption, "Copy\tCtrl-C");
    EXPECT_FALSE(items[0].Enabled);  // nothing to undo
    EXPECT_FALSE(items[3].Enabled);
    EXPECT_FALSE(items[4].Enabled);
    EXPECT_FALSE(items[6].Enabled);
    EXPECT_TRUE(items[8].Enabled);
    memo->MenuCommand(4);
    EXPECT_EQ(memo->SelText(), "abc");
    EXPECT_TRUE(memo->ContextMenuItems()[3].Enabled);
    memo->MenuCommand(7);
    EXPECT_EQ(Text(), "");
    memo->MenuCommand(5);
    EXPECT_EQ(Text(), "abc");
}

TEST_F(MemoTest, BookmarksAndErrorMarks)
{
    SetText(std::vector<std::string>(20, "text"));
    EXPECT_FALSE(memo->HasBookmarks());
    memo->ClearBookmarks();
    memo->SetBookmarks(3, 10);
    EXPECT_TRUE(memo->Bookmark(10));
    memo->SetBookmarks(3, 12);
    EXPECT_FALSE(memo->Bookmark(10));
    EXPECT_TRUE(memo->Bookmark(12));
    memo->GotoBookmark(3);
    EXPECT_EQ(memo->CurY(), 12);
    EXPECT_THROW(memo->SetBookmarks(10, 1), base::Exception);
    EXPECT_THROW(memo->GetBookmarks(-1), base::Exception);
    memo->ClearBookmarks();
    EXPECT_FALSE(memo->HasBookmarks());
    EXPECT_FALSE(memo->Bookmark(12));

    memo->SetError(2, 1, 2);
    memo->SetError(2, 5, 1);
    memo->ClearWordError(2, 3);  // no mark there
    EXPECT_EQ(memo->Lines()->GetLineProp(2)->FErrorPos.size(), 2u);
    memo->ClearWordError(2, 1);
    EXPECT_EQ(memo->Lines()->GetLineProp(2)->FErrorPos, std::vector<int>{5});
    EXPECT_THROW(memo->SetError(50, 0, 1), base::EListError);
    memo->ClearErrors();
    EXPECT_TRUE(memo->Lines()->GetLineProp(2)->FErrorPos.empty());
}

TEST_F(MemoTest, BlockMatchingFindsTheEnclosingBraces)
{
    TExWebMemoStyler styler;
    memo->SetSyntaxStyles(&styler);
    SetText({"f {", "  x", "}", "g"});
    memo->SetCursor(0, 0);
    memo->SetCursor(1, 1);
    EXPECT_EQ(memo->BlockMatchStart().Line, 2);
    EXPECT_EQ(memo->BlockMatchStart().Col, 0);
    EXPECT_EQ(memo->BlockMatchEnd().Line, 0);
    EXPECT_EQ(memo->BlockMatchEnd().Col, 2);
    memo->SetCursor(0, 3);
    EXPECT_EQ(memo->BlockMatchStart().Line, -1);
    memo->SetSyntaxStyles(nullptr);
}

TEST_F(MemoTest, MemoStateRoundTrips)
{
    SetText({"abc", "def", "ghi"});
    memo->SetCursor(2, 1);
    memo->SetSelection(0, 0, 1, 2);
    TExMemoSavePos saved;
    memo->GetMemoState(saved);
    memo->SetCursor(0, 0);
    memo->ResetMemoState(saved);
    EXPECT_EQ(memo->CurX(), 2);
    EXPECT_EQ(memo->CurY(), 1);
    EXPECT_EQ(memo->SelText(), "abc\r\ndef\r\ng");
}

TEST_F(MemoTest, AttachingALogStylerLowerCasesItsKeywords)
{
    TExHTMLMemoStyler styler;
    SetupLogStyler(styler);
    memo->SetSyntaxStyles(&styler);
    EXPECT_TRUE(memo->UseStyler());
    EXPECT_EQ(styler.AllStyles().Items(0)->KeyWords().Get(0), "error");
    EXPECT_EQ(styler.AllStyles().Items(4)->KeyWords().Get(0), "note");
    EXPECT_TRUE(styler.AllStyles().Items(0)->HasKeyword("ERROR"));
    memo->SetSyntaxStyles(nullptr);
    EXPECT_FALSE(memo->UseStyler());
    memo->SetCaseSensitive(true);
    TExHTMLMemoStyler cased;
    SetupLogStyler(cased);
    memo->SetSyntaxStyles(&cased);
    EXPECT_EQ(cased.AllStyles().Items(0)->KeyWords().Get(0), "ERROR");
    EXPECT_TRUE(cased.AllStyles().Items(0)->HasKeyword("Error"));
    memo->SetSyntaxStyles(nullptr);
}

TEST_F(MemoTest, AStylerThatGoesIsForgotten)
{
    auto* styler = new TExHTMLMemoStyler(nullptr);
    memo->SetSyntaxStyles(styler);
    delete styler;
    EXPECT_EQ(memo->SyntaxStyles(), nullptr);
    EXPECT_FALSE(memo->UseStyler());
    PaintToBitmap(memo);
}

TEST_F(MouseTest, DraggingTheSelectionWithTheMouseMovesIt)
{
    SetText({"abc def ghi"});
    memo->Hide();
    memo->Show();
    ASSERT_TRUE(ProcessUntil([&] { return memo->Showing(); }, 200));
    memo->SetSelection(0, 0, 3, 0);
    Press(1, 0);  // inside the selection: a drag may start
    Move(5, 0);
    Move(10, 0);
    Release(10, 0);
    EXPECT_EQ(Text(), " def ghabci");
}

TEST_F(MemoTest, RightClickShowsTheBuiltInMenuWhoseItemsRunTheCommands)
{
    SetText({"alpha beta"});
    memo->SetSelection(0, 0, 5, 0);
    platform::SendMouse(memo, platform::WM_RBUTTONDOWN, 200, 10);
    platform::SendMouse(memo, platform::WM_RBUTTONUP, 200, 10);
    platform::TPopupMenu* menu = memo->ContextMenu();
    ASSERT_NE(menu, nullptr);
    platform::TMenuItem* items = menu->Items();
    ASSERT_EQ(items->Count(), 9);
    EXPECT_EQ(items->Items(0)->Caption(), "Undo");
    EXPECT_FALSE(items->Items(0)->Enabled());
    EXPECT_TRUE(items->Items(2)->IsLine());
    EXPECT_EQ(items->Items(3)->Caption(), "Copy\tCtrl-C");
    EXPECT_TRUE(items->Items(3)->Enabled());
    menu->CloseMenu();
    items->Items(6)->Click();  // Delete
    EXPECT_EQ(Text(), " beta");
    platform::SendMouse(memo, platform::WM_RBUTTONUP, 200, 10);  // the menu is rebuilt with the current states
    EXPECT_TRUE(memo->ContextMenu()->Items()->Items(0)->Enabled());
    EXPECT_FALSE(memo->ContextMenu()->Items()->Items(3)->Enabled());
    memo->ContextMenu()->CloseMenu();
}
