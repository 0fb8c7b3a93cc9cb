// Cell hints: placement and text for comment, normal and fixed cells, the application's
// own hint hook and the hint colour, asked for through the hint-show message.
#include <gtest/gtest.h>

#include "GridWindow.h"
#include "platform/Messages.h"
#include "platform/controls/Controls.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/HTMLHintWindow.h"

using namespace platform;
using namespace grid;

namespace {

struct HintTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(400, 300, 5, 5);
        g->SetCells(2, 2, "<b>bold</b> text");
        g->AddComment(3, 1, "a note");
        g->HintColor = clYellow;
    }
    void TearDown() override { Close(); }
    // The hint asked for with the mouse in the middle of cell (c, r).
    THintInfo Ask(int c, int r)
    {
        const TRect R = g->CellRect(c, r);
        THintInfo info;
        info.HintControl = g;
        info.CursorPos = TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
        info.HintStr = "own";
        g->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    }
};

}  // namespace

TEST_F(HintTest, PlacementAndText)
{
    struct Case {
        const char* what;
        bool showCells, htmlHint;
        int c, r;
        std::string text;
        bool atTop, atRight;
    };
    const Case cases[] = {
        {"comment cell", false, false, 3, 1, "a note", false, true},
        {"plain cell, option off", false, false, 2, 2, "own", false, false},
        {"cell text without markup", true, false, 2, 2, "bold text", true, false},
        {"cell text with markup", true, true, 2, 2, "<b>bold</b> text", true, false},
        {"fixed cell stays below", true, false, 0, 2, "own", false, false},
    };
    for (const Case& k : cases) {
        g->HintShowCells = k.showCells;
        g->HTMLHint = k.htmlHint;
        const THintInfo info = Ask(k.c, k.r);
        const TRect R = g->CellRect(k.c, k.r);
        const TPoint want = k.atRight ? TPoint{R.Right, R.Top} : TPoint{R.Left, k.atTop ? R.Top : R.Bottom + 6};
        EXPECT_EQ(info.HintStr, k.text) << k.what;
        EXPECT_EQ(info.HintPos, g->ClientToScreen(want)) << k.what;
        EXPECT_EQ(info.HintColor, clYellow) << k.what;
        EXPECT_EQ(g->HintCell(), (TPoint{k.c, k.r})) << k.what;
    }
}

TEST_F(HintTest, LargeTextAndTheApplicationsHook)
{
    g->SetCells(1, 3, std::string(200, 'w'));
    g->HintShowLargeText = true;
    THintInfo info = Ask(1, 3);
    EXPECT_EQ(info.HintStr, std::string(200, 'w'));
    EXPECT_EQ(info.HintPos, g->ClientToScreen(TPoint{g->CellRect(1, 3).Left, g->CellRect(1, 3).Top}));

    info = Ask(2, 3);  // an empty cell fits
    EXPECT_EQ(info.HintStr, "own");

    g->OnGridHint = [](TObject*, int ARow, int ACol, std::string& s) { s += " @" + std::to_string(ACol) + "," + std::to_string(ARow); };
    EXPECT_EQ(Ask(3, 1).HintStr, "a note @3,1");
}

TEST_F(HintTest, HTMLHintWindowStaysOnScreenAndDrawsItsText)
{
    THTMLHintWindow w(nullptr);
    const std::string text = "<b>Bold</b> and plain";
    const int sw = Screen->Width(), sh = Screen->Height();
    w.ActivateHint(TRect{sw - 20, sh - 5, sw - 20, sh - 5}, text);
    ASSERT_GT(w.TextWidth(), 20);
    ASSERT_GT(w.TextHeight(), 5);
    EXPECT_EQ(w.Text(), text);
    EXPECT_EQ(w.BoundsRect(), (TRect{sw - 2 - w.TextWidth() - 16, sh - 2 - w.TextHeight() - 4, sw - 2, sh - 2}));
    EXPECT_EQ(w.CalcHintRect(1008, text, nullptr), (TRect{0, 0, w.TextWidth(), w.TextHeight()}));

    const auto bmp = PaintToBitmap(&w);
    int dark = 0;
    for (int y = 1; y < bmp->GetHeight() - 1; ++y)
        for (int x = 1; x < bmp->GetWidth() - 1; ++x) {
            const uint32_t p = bmp->ScanLine(y)[x];
            dark += ((p >> 16) & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
        }
    EXPECT_GT(dark, 20);
    w.ReleaseHandle();
}

TEST_F(HintTest, UseHTMLHintsChangesTheApplicationsHintWindow)
{
    g->SetShowHint(true);
    g->HintShowCells = true;
    g->SetUseHTMLHints(true);
    const TRect R = g->CellRect(2, 2);
    ASSERT_TRUE(Application->ActivateHintFor(g, TPoint{R.Left + 3, R.Top + 3}));
    EXPECT_NE(dynamic_cast<THTMLHintWindow*>(Application->HintWindow()), nullptr);
    EXPECT_EQ(Application->HintWindow()->Text(), "bold text");
    Application->HideHint();
    g->SetUseHTMLHints(false);
    EXPECT_FALSE(g->UseHTMLHints());
    ASSERT_TRUE(Application->ActivateHintFor(g, TPoint{R.Left + 3, R.Top + 3}));
    EXPECT_EQ(dynamic_cast<THTMLHintWindow*>(Application->HintWindow()), nullptr);
    Application->HideHint();
}

TEST_F(HintTest, AnchorHintNamesTheLinkUnderTheMouse)
{
    g->EnableHTML = true;
    g->AnchorHint = true;
    g->SetColWidths(2, 300);
    g->SetCells(2, 2, "<a href=\"http://x.org/\">LINKLINKLINK</a>");
    int seenCol = -1;
    g->OnAnchorHint = [&](TObject*, int, int ACol, std::string& a) {
        seenCol = ACol;
        a = "go " + a;
    };
    const TRect R = g->CellRect(2, 2);
    THintInfo info;
    info.CursorPos = TPoint{R.Left + 8, (R.Top + R.Bottom) / 2};
    info.HintStr = "own";
    bool show = true;
    g->ShowHintProc(info.HintStr, show, info);
    EXPECT_EQ(info.HintStr, "go http://x.org/");
    EXPECT_EQ(seenCol, 2);

    info.CursorPos = TPoint{R.Right - 3, (R.Top + R.Bottom) / 2};  // past the link
    info.HintStr = "own";
    g->ShowHintProc(info.HintStr, show, info);
    EXPECT_EQ(info.HintStr, "own");
}
