#include <gtest/gtest.h>

#include "platform/TestRig.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/GridDraw.h"

using namespace platform;
using namespace grid;

namespace {

// A white bitmap to draw on.
struct Surface {
    explicit Surface(int w = 60, int h = 40) : bmp(w, h)
    {
        EnsurePlatform();
        c().Brush().SetColor(clWhite);
        c().FillRect(TRect{0, 0, w, h});
    }
    TCanvas& c() { return *bmp.Canvas(); }
    TColor At(int x, int y) { return c().Pixel(x, y); }
    TBitmap bmp;
};

}  // namespace

TEST(GridDrawing, GradientBandsRoundHalvesToEvenAndOverlapByOnePixel)
{
    Surface s;
    DrawGradient(s.c(), clBlack, 0x0000FF, 2, TRect{0, 0, 10, 10}, true);
    EXPECT_EQ(s.At(0, 5), 0x000000);
    EXPECT_EQ(s.At(4, 5), 0x000000);
    EXPECT_EQ(s.At(5, 5), 0x000080);  // the second band starts at 5 and covers the first's edge
    EXPECT_EQ(s.At(10, 5), 0x000080);  // it ends at 11
    EXPECT_EQ(s.At(11, 5), clWhite);

    Surface v;
    DrawGradient(v.c(), clBlack, clWhite, 0, TRect{0, 0, 10, 10}, false);  // 0 steps: one band
    EXPECT_EQ(v.At(5, 5), clBlack);
    EXPECT_EQ(v.At(5, 10), clBlack);

    Surface n;
    DrawGradient(n.c(), clRed, clNone, 64, TRect{2, 2, 8, 8}, true);
    EXPECT_EQ(n.At(2, 2), clRed);
    EXPECT_EQ(n.At(7, 7), clRed);
    EXPECT_EQ(n.At(8, 8), clWhite);
}

TEST(GridDrawing, ProgressBarSwitchesColoursWhereTheBarEnds)
{
    struct Case {
        int percent;
        TColor left, right;
    } cases[] = {{0, clBlue, clBlue}, {50, clRed, clBlue}, {100, clRed, clRed}};
    for (const Case& k : cases) {
        Surface s(104, 24);
        DrawProgressLin(s.c(), TRect{0, 0, 104, 24}, clRed, clWhite, clBlue, clBlack, k.percent, 2, 2);
        EXPECT_EQ(s.At(3, 3), k.left) << k.percent;
        EXPECT_EQ(s.At(100, 20), k.right) << k.percent;
        EXPECT_EQ(s.At(1, 1), clBlack) << k.percent;  // the inner frame
    }
}

TEST(GridDrawing, ProgressPieFillsTheSectorFromTwelveOClock)
{
    Surface half(41, 41);
    half.c().Brush().SetColor(clWhite);
    DrawProgressPie(half.c(), TRect{0, 0, 41, 41}, clRed, 50);
    EXPECT_EQ(half.At(30, 20), clRed);    // right half filled
    EXPECT_EQ(half.At(10, 20), clWhite);  // left half not

    Surface full(41, 41);
    full.c().Brush().SetColor(clWhite);
    DrawProgressPie(full.c(), TRect{0, 0, 41, 41}, clRed, 100);
    EXPECT_EQ(full.At(10, 20), clRed);
    EXPECT_EQ(full.At(30, 20), clRed);

    Surface none(41, 41);
    none.c().Brush().SetColor(clWhite);
    DrawProgressPie(none.c(), TRect{0, 0, 41, 41}, clRed, 0);
    EXPECT_EQ(none.At(10, 20), clWhite);  // 0 % shows an empty pie, not a full one
    EXPECT_EQ(none.At(30, 20), clWhite);
}

TEST(GridDrawing, DarkenHalvesEachComponent)
{
    EXPECT_EQ(DarkenColor(clWhite), 0x7F7F7F);
    EXPECT_EQ(DarkenColor(RGB(10, 21, 255)), RGB(5, 10, 127));
}

TEST(GridDrawing, TransparentBitmapsShowTheBackgroundWhereTheKeyColourWas)
{
    Surface s;
    TBitmap b(4, 4);
    b.Canvas()->Brush().SetColor(clFuchsia);
    b.Canvas()->FillRect(TRect{0, 0, 4, 4});
    b.Canvas()->SetPixel(2, 2, clBlue);
    DrawBitmapTransp(s.c(), b, clYellow, TRect{10, 10, 50, 50});
    EXPECT_EQ(s.At(10, 10), clYellow);
    EXPECT_EQ(s.At(12, 12), clBlue);
    EXPECT_EQ(s.At(14, 14), clWhite);  // drawn at the bitmap's size only

    Surface g;
    DrawBitmapResourceTransp(g.c(), clYellow, TRect{0, 0, 16, 16}, "XPNODEC");
    EXPECT_EQ(g.At(0, 0), clYellow);
    EXPECT_EQ(g.At(4, 2), clBlack);  // the plus's upright
    EXPECT_EQ(g.At(9, 9), clWhite);  // outside the 9 x 9 glyph
    DrawBitmapResourceTransp(g.c(), clYellow, TRect{20, 0, 36, 16}, "NO-SUCH-GLYPH");
    EXPECT_EQ(g.At(20, 0), clWhite);
}

TEST(GridDrawing, ErrorLinesZigzagUnderTheMarkedCharacters)
{
    Surface s(200, 30);
    const std::string text = "one two three";
    DrawErrorLines(nullptr, s.c(), text, TRect{0, 0, 200, 30}, 10, 4, 3);
    // The 2-pixel pen reaches one pixel past each end of the zigzag.
    const int from = s.c().TextWidth("one ") - 1, to = s.c().TextWidth("one tw") + 3 + 3 + 1;
    int red = 0, outside = 0;
    for (int x = 0; x < 200; ++x)
        for (int y = 10; y < 16; ++y)
            if (s.At(x, y) == 0x0000FF) (x >= from && x <= to ? red : outside)++;
    EXPECT_GT(red, 6);
    EXPECT_EQ(outside, 0);
}

TEST(GridDrawing, ComboButtonSitsAtTheRightEdge)
{
    Surface s(100, 20);
    DrawComboButton(s.c(), nullptr, TRect{0, 0, 100, 20}, false);
    EXPECT_NE(s.At(90, 10), clWhite);
    EXPECT_EQ(s.At(50, 10), clWhite);
    EXPECT_EQ(s.At(99, 10), clWhite);  // 2 pixels left of the edge
}
