// Cell hints: placement and text for comment, normal and fixed cells, the application's
// own hint hook and the hint colour, asked for through the hint-show message.
#include <gtest/gtest.h>

#include "GridWindow.h"
#include "platform/Messages.h"
#include "platform/controls/Controls.h"
#include "widgets/grid/ExGrid.h"

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
