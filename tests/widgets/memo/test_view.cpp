// Caret, view and scrolling: the caret setters, the top line, the wheel and the scroll bar.
#include <gtest/gtest.h>

#include "MemoFixture.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

std::vector<std::string> Numbered(int n)
{
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i) v.push_back("line " + std::to_string(i));
    return v;
}

}  // namespace

TEST_F(MemoTest, CaretPastTheEndPadsAndLeavingTheLineTrims)
{
    SetText({"", "x"});
    memo->SetCurX(10);
    EXPECT_EQ(memo->Lines()->Get(0), std::string(10, ' '));
    memo->AutoExpand = false;
    memo->SetCurY(1);
    EXPECT_EQ(memo->Lines()->Get(0), "");
    memo->SetCurX(5);
    EXPECT_EQ(memo->CurX(), 1);
    EXPECT_EQ(memo->Lines()->Get(1), "x");
}

TEST_F(MemoTest, ColumnMinusOneGoesToTheEndOfTheLineAbove)
{
    SetText({"a", "bb", "ccc", "d"});
    memo->SetCursor(0, 3);
    memo->SetCurX(-1);
    EXPECT_EQ(memo->CurY(), 2);
    EXPECT_EQ(memo->CurX(), 3);
    memo->SetCursor(2, 0);
    memo->SetCurX(-1);
    EXPECT_EQ(memo->CurY(), 0);
    EXPECT_EQ(memo->CurX(), 0);
}

TEST_F(MemoTest, TopLinePastTheEndKeepsHalfAPage)
{
    SetText(Numbered(100));
    const int vis = memo->GetVisible(1);
    ASSERT_GT(vis, 2);
    memo->SetTopLine(95);
    EXPECT_EQ(memo->TopLine(), 100 - vis / 2);
    memo->SetTopLine(50);
    EXPECT_EQ(memo->TopLine(), 50);
    memo->SetTopLine(-3);
    EXPECT_EQ(memo->TopLine(), 50);
}

TEST_F(MemoTest, TheWheelScrollsByFourLines)
{
    SetText(Numbered(100));
    memo->SetTopLine(3);
    memo->DoMouseWheelUp(0, {0, 0});
    EXPECT_EQ(memo->TopLine(), 0);
    memo->SetTopLine(10);
    memo->DoMouseWheelUp(0, {0, 0});
    EXPECT_EQ(memo->TopLine(), 6);
    memo->DoMouseWheelDown(0, {0, 0});
    EXPECT_EQ(memo->TopLine(), 10);
}

TEST_F(MemoTest, TheScrollBarMovesTheView)
{
    SetText(Numbered(100));
    HostScroll(memo, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(memo->TopLine(), 1);
    HostScroll(memo, SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(memo->TopLine(), 1 + memo->GetVisible(1));
    HostScroll(memo, SB_VERT, SB_BOTTOM);
    EXPECT_EQ(memo->TopLine() + memo->GetVisible(1), 100);  // the last line at the bottom
    HostScroll(memo, SB_VERT, SB_THUMBTRACK, 40);
    EXPECT_EQ(memo->TopLine(), 40);
    HostScroll(memo, SB_VERT, SB_TOP);
    EXPECT_EQ(memo->TopLine(), 0);
}

TEST_F(MemoTest, MovingTheCaretKeepsItInView)
{
    SetText(Numbered(100));
    Focus();
    Key(VK_END, ssCtrl);
    EXPECT_EQ(memo->CurY(), 99);
    EXPECT_EQ(memo->GetVisible(3), 99);
    Key(VK_HOME, ssCtrl);
    EXPECT_EQ(memo->TopLine(), 0);
    std::string lng(300, 'x');
    SetText({lng});
    memo->SetCurX(250);
    EXPECT_LE(memo->LeftCol(), 250);
    EXPECT_GE(memo->GetVisible(2), 250);
}

TEST_F(MemoTest, PositionsAndCells)
{
    SetText(Numbered(10));
    const TRect r = memo->EditorRect();
    const int cw = memo->CharWidth(), ch = memo->CharHeight();
    ASSERT_GT(cw, 0);
    const TPoint c = memo->CharFromPos(r.Left + 3 * cw + 1, r.Top + 2 * ch + 1);
    EXPECT_EQ(c.X, 2);  // the line first
    EXPECT_EQ(c.Y, 3);  // then the column
    const TPoint cell = memo->CellFromPos(r.Left + 3 * cw + 1, r.Top + 2 * ch + 1);
    EXPECT_EQ(cell.X, 3);
    EXPECT_EQ(cell.Y, 2);
    EXPECT_EQ(memo->CellRect(1, 1).Top, r.Top + ch + 1);
}

TEST_F(MemoTest, AProportionalFontBecomesFixedSys)
{
    TFont f;
    f.SetName("DejaVu Sans");
    f.SetHeight(-13);
    memo->SetMemoFont(f);
    EXPECT_EQ(memo->Font()->Name(), "FixedSys");
    TFont mono;
    mono.SetName("Courier New");
    memo->SetMemoFont(mono);
    EXPECT_EQ(memo->Font()->Name(), "Courier New");
}

TEST_F(MemoTest, VersionIsReadOnlyText)
{
    EXPECT_EQ(memo->Version(), "1.6.0.9");
    EXPECT_EQ(memo->GetVersionString(), "1.6.0.9 Januari, 2005");
}

TEST_F(MemoTest, DraggingTheThumbOffersTheRowAsAHint)
{
    SetText(Numbered(100));
    memo->ScrollHint = true;
    std::vector<std::string> hints;
    memo->OnScrollHint = [&](TObject*, int row, std::string& hint) {
        hints.push_back(hint);
        hint += " of 100";
        EXPECT_EQ(row, 41);
    };
    HostScroll(memo, SB_VERT, SB_THUMBTRACK, 40);
    EXPECT_EQ(hints, std::vector<std::string>{"Row : 41"});
    EXPECT_EQ(memo->TopLine(), 40);
}

TEST_F(MemoTest, TheCursorIsTheArrowOverTheGutter)
{
    SetText({"text"});
    const TRect c = memo->CellRect(1, 0);
    SendMouse(memo, WM_MOUSEMOVE, 10, c.Top + 2);
    EXPECT_EQ(memo->Cursor(), crArrow);
    SendMouse(memo, WM_MOUSEMOVE, c.Left + 1, c.Top + 2);
    EXPECT_EQ(memo->Cursor(), crIBeam);
}

TEST_F(MemoTest, TheGetSelectionMessageAnswersStartAndEnd)
{
    SetText({"abc", "def"});
    memo->SetSelection(1, 0, 2, 1);
    DWORD start = 0, end = 0;
    memo->Perform(0x00B0, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 7u);
}
