// What the editor draws: the log styler's colours, word wrap and the gutter, on pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "MemoFixture.h"
#include "platform/graphics/Graphics.h"
#include "widgets/memo/Gutter.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

// Saves the picture when KORVELO_SNAPSHOTS names a folder, to look at by eye.
void Snapshot(TBitmap& b, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS")) b.SaveToFile(std::string(dir) + "/" + name + ".bmp");
}

// Pixels inside r within a small distance of colour c (text is smoothed at its edges).
int Count(TBitmap& b, const TRect& r, TColor c)
{
    int n = 0;
    const COLORREF want = ColorToRGB(c);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const COLORREF p = ColorToRGB(b.Canvas()->Pixel(x, y));
            if (std::abs(GetRValue(p) - GetRValue(want)) <= 40 && std::abs(GetGValue(p) - GetGValue(want)) <= 40 &&
                std::abs(GetBValue(p) - GetBValue(want)) <= 40)
                ++n;
        }
    return n;
}

class LogMemoTest : public MemoTest {
protected:
    void SetUp() override
    {
        MemoTest::SetUp();
        styler = new TExHTMLMemoStyler(owner.get());
        memo->SetBounds(0, 0, 520, 160);
        SetupLogMemo(*memo, *styler);
    }
    // The columns x0 .. x1 - 1 of text row `row`, in pixels.
    TRect Cells(int row, int x0, int x1)
    {
        TRect a = memo->CellRect(x0, row), b = memo->CellRect(x1 - 1, row);
        return Rect(a.Left, a.Top, b.Right, b.Bottom);
    }
    TExHTMLMemoStyler* styler = nullptr;
};

}  // namespace

TEST_F(LogMemoTest, ErrorNoteAndQuotedTextTakeTheirColours)
{
    memo->Lines()->Clear();
    memo->Lines()->Add("ERROR: cannot read \"hull.txt\"");
    memo->Lines()->Add("NOTE it's done");
    memo->Lines()->Add("next line WARNING");
    auto bmp = PaintToBitmap(memo);
    Snapshot(*bmp, "log_colours");
    EXPECT_GT(Count(*bmp, Cells(0, 0, 5), clRed), 20);     // ERROR in red
    EXPECT_GT(Count(*bmp, Cells(0, 5, 6), clTeal), 0);     // the colon in teal
    EXPECT_EQ(Count(*bmp, Cells(0, 7, 18), clRed), 0);     // plain text is black
    EXPECT_GT(Count(*bmp, Cells(0, 7, 18), clBlack), 20);
    EXPECT_GT(Count(*bmp, Cells(0, 19, 29), clBlue), 20);  // "hull.txt" in blue
    EXPECT_GT(Count(*bmp, Cells(1, 0, 4), clBlue), 20);    // NOTE in blue
    const TColor quote = clBackground;
    EXPECT_GT(Count(*bmp, Cells(1, 7, 14), quote), 10);    // from the apostrophe on
    // The quote ends with its line: the next line is black again.
    EXPECT_EQ(Count(*bmp, Cells(2, 0, 17), quote), 0);
    EXPECT_GT(Count(*bmp, Cells(2, 0, 4), clBlack), 10);
    EXPECT_EQ(Count(*bmp, Cells(2, 10, 17), clRed), 0);    // WARNING stays black
    // No stray line below the log: the gutter numbers three lines only.
    EXPECT_EQ(memo->Lines()->Count(), 3);
}

TEST_F(LogMemoTest, ScrollingToALaterLineKeepsTheCarriedState)
{
    memo->SetWordWrap(wwNone);
    styler->BracketEndsAtLineEnd = false;  // a styler whose quotes run on
    memo->Lines()->Clear();
    memo->Lines()->Add("start 'open");
    for (int i = 0; i < 60; ++i) memo->Lines()->Add("inside");
    memo->Lines()->Add("close' after");
    auto first = PaintToBitmap(memo);
    memo->SetTopLine(45);
    auto later = PaintToBitmap(memo);
    Snapshot(*later, "log_scrolled");
    EXPECT_GT(Count(*later, Cells(0, 0, 6), clBackground), 10);  // still inside the quote
    memo->SetTopLine(61);  // past the end: half a page is kept in view
    const int row = 61 - memo->TopLine();
    ASSERT_GT(row, 0);
    auto end = PaintToBitmap(memo);
    EXPECT_GT(Count(*end, Cells(row, 0, 6), clBackground), 10);
    EXPECT_GT(Count(*end, Cells(row, 7, 12), clBlack), 10);  // after the closing quote
    // An edit far above changes what the cached states said.
    memo->Lines()->Put(0, "start open");
    memo->SetTopLine(45);
    auto edited = PaintToBitmap(memo);
    EXPECT_EQ(Count(*edited, Cells(0, 0, 6), clBackground), 0);
    EXPECT_GT(Count(*edited, Cells(0, 0, 6), clBlack), 10);
}

// Moving the caret pads and trims lines with blanks, which leaves every scan state as it
// was: the states known below stay. Text that changes above drops them.
TEST_F(LogMemoTest, CaretMovesKeepTheKnownStyleStates)
{
    memo->SetWordWrap(wwNone);
    styler->BracketEndsAtLineEnd = false;
    memo->Lines()->Clear();
    memo->Lines()->Add("start 'open");
    for (int i = 0; i < 200; ++i) memo->Lines()->Add("inside");
    memo->Lines()->Add("close' after");
    memo->SetTopLine(150);
    (void)PaintToBitmap(memo);
    TStyle known;
    ASSERT_TRUE(memo->GetLineStyle(140, known));
    EXPECT_EQ(known.InBracket, 1);

    memo->SetCursor(30, 5);  // past the end of the line: padded with blanks
    EXPECT_EQ(memo->Lines()->Get(5), "inside" + std::string(24, ' '));
    memo->SetCursor(0, 7);  // and trimmed when the caret leaves it
    EXPECT_EQ(memo->Lines()->Get(5), "inside");
    Key(VK_END, ssCtrl);
    Key(VK_HOME, ssCtrl);
    Key(VK_END, ssCtrl);
    TStyle kept;
    EXPECT_TRUE(memo->GetLineStyle(140, kept));
    EXPECT_EQ(kept, known);
    EXPECT_TRUE(memo->GetLineStyle(20, kept));

    memo->Lines()->Put(3, "inside'");  // closes the quote above
    EXPECT_FALSE(memo->GetLineStyle(140, kept));
    memo->SetTopLine(150);
    (void)PaintToBitmap(memo);
    ASSERT_TRUE(memo->GetLineStyle(140, kept));
    EXPECT_EQ(kept.InBracket, 0);
}

TEST_F(LogMemoTest, LongLogLinesWrapFromTheStartAndAreNumberedOnce)
{
    memo->Lines()->Clear();
    std::string lng;
    for (int i = 0; i < 15; ++i) lng += "abcdefghi ";
    memo->Lines()->Add("first");
    memo->Lines()->Add(lng);
    memo->Lines()->Add("last");
    const int w = std::min(memo->GetVisible(0) - 1, memo->RightMargin());
    ASSERT_GT(w, 20);
    EXPECT_GT(memo->Lines()->Count(), 3);
    EXPECT_TRUE(memo->Wrapped(2));
    for (int i = 0; i < memo->Lines()->Count(); ++i) EXPECT_LE(memo->Lines()->LineLength(i), w) << i;
    std::vector<int> numbers;
    memo->OnGutterDraw = [&](TObject*, TCanvas*, int line, const TRect&) { numbers.push_back(line); };
    auto bmp = PaintToBitmap(memo);
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2}));
    memo->OnGutterDraw = nullptr;
    Snapshot(*bmp, "log_wrapped");
    // The continuation row has text but no number in the gutter.
    TRect gutterRow2 = Rect(0, memo->CellRect(0, 2).Top, memo->Gutter()->GutterWidth() - 2, memo->CellRect(0, 2).Bottom);
    EXPECT_EQ(Count(*bmp, gutterRow2, clBlack), 0);
    EXPECT_GT(Count(*bmp, Cells(2, 0, 9), clBlack), 10);
}

TEST_F(MemoTest, GutterGradientAndLineNumbers)
{
    SetText({"one", "two"});
    memo->Gutter()->SetGutterColor(clBlack);
    memo->Gutter()->SetGutterColorTo(clWhite);
    auto bmp = PaintToBitmap(memo);
    Snapshot(*bmp, "gutter");
    const int y = memo->CellRect(0, 5).Top;  // a row without a number
    const TColor left = bmp->Canvas()->Pixel(2, y), right = bmp->Canvas()->Pixel(40, y);
    EXPECT_LT(GetRValue(ColorToRGB(left)), 16);
    EXPECT_GT(GetRValue(ColorToRGB(right)), 200);
    // Flat with GutterColorTo clNone.
    memo->Gutter()->SetGutterColorTo(clNone);
    memo->Gutter()->SetGutterColor(clYellow);
    auto flat = PaintToBitmap(memo);
    EXPECT_EQ(ColorToRGB(flat->Canvas()->Pixel(2, y)), ColorToRGB(clYellow));
    EXPECT_EQ(ColorToRGB(flat->Canvas()->Pixel(40, y)), ColorToRGB(clYellow));
    // Numbers from 1, right-aligned by their digit count.
    int x = 0;
    EXPECT_EQ(memo->FormatLineNumber(x, 7), "7");
    EXPECT_EQ(x, 24);
    EXPECT_EQ(memo->FormatLineNumber(x, 123), "123");
    EXPECT_EQ(x, 8);
    memo->Gutter()->SetShowLeadingZeros(true);
    EXPECT_EQ(memo->FormatLineNumber(x, 12), "0012");
    EXPECT_EQ(x, 0);
    TRect row0 = Rect(0, memo->CellRect(0, 0).Top, 44, memo->CellRect(0, 0).Bottom);
    EXPECT_GT(Count(*flat, row0, clBlack), 5);
}

TEST_F(MemoTest, SelectionAndErrorMarksOnPixels)
{
    SetText({"hello world"});
    Focus();
    memo->SetSelection(0, 0, 5, 0);
    memo->SetError(0, 6, 5);
    auto bmp = PaintToBitmap(memo);
    Snapshot(*bmp, "selection");
    TRect a = memo->CellRect(0, 0), b = memo->CellRect(4, 0);
    EXPECT_GT(Count(*bmp, Rect(a.Left, a.Top, b.Right, b.Bottom), clNavy), 40);
    TRect e1 = memo->CellRect(6, 0), e2 = memo->CellRect(10, 0);
    EXPECT_GT(Count(*bmp, Rect(e1.Left, e1.Bottom - 4, e2.Right, e1.Bottom), clRed), 5);
    // Without focus a hidden selection is not drawn.
    memo->Perform(WM_KILLFOCUS, 0);
    owner->InsertComponent(new TComponent(nullptr));
    TExMemo other(nullptr);
    other.SetBounds(0, 0, 10, 10);
    other.SetFocus();
    auto unfocused = PaintToBitmap(memo);
    EXPECT_EQ(Count(*unfocused, Rect(a.Left, a.Top, b.Right, b.Bottom), clNavy), 0);
}

TEST_F(LogMemoTest, AFilledLogHasItsLinesAndNoMore)
{
    memo->Lines()->Clear();
    for (int i = 0; i < 5; ++i) memo->Lines()->Add("line " + std::to_string(i));
    EXPECT_EQ(memo->Lines()->Count(), 5);
    memo->MovePage(1, ssCtrl);
    EXPECT_EQ(memo->Lines()->Count(), 5);
    EXPECT_EQ(memo->CurY(), 4);
    auto bmp = PaintToBitmap(memo);
    EXPECT_EQ(memo->Lines()->Count(), 5);
    for (int i = 5; i < 200; ++i) memo->Lines()->Add("line " + std::to_string(i));
    memo->MovePage(1, ssCtrl);  // the caret far down, the scroll bar shown
    memo->Lines()->Clear();
    EXPECT_EQ(memo->Lines()->Count(), 0);
    for (int i = 0; i < 5; ++i) memo->Lines()->Add("line " + std::to_string(i));
    EXPECT_EQ(memo->Lines()->Count(), 5);
    EXPECT_EQ(memo->Lines()->Get(0), "line 0");
}

TEST_F(LogMemoTest, ResizingRewrapsAtTheNewWidth)
{
    memo->Lines()->Clear();
    std::string lng;
    for (int i = 0; i < 12; ++i) lng += "word" + std::to_string(i) + " ";
    memo->Lines()->Add(lng);
    const int before = memo->Lines()->Count();
    memo->SetBounds(0, 0, 260, 160);
    const int w = std::min(memo->GetVisible(0) - 1, memo->RightMargin());
    EXPECT_GT(memo->Lines()->Count(), before);
    for (int i = 0; i < memo->Lines()->Count(); ++i) EXPECT_LE(memo->Lines()->LineLength(i), w);
    memo->SetBounds(0, 0, 900, 160);
    EXPECT_EQ(memo->Lines()->Count(), 1);
    EXPECT_EQ(memo->Lines()->Get(0), lng);
}
