// Gradients, shadows, blending, bitmap effects, solid shapes and the message table.
#include <gtest/gtest.h>

#include <set>

#include "ChartTestUtil.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"

using namespace chart;
using namespace platform;
using charttest::Surface;

namespace {
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);
}

TEST(ChartGradient, EveryDirectionReachesItsColoursAtTheEdges)
{
    // Where the start and the end colour lie (x, y inside a 100 × 80 rectangle at 0, 0):
    // the far end gets within one step of its colour.
    struct Case {
        TGradientDirection dir;
        TPoint start, end;
    } cases[] = {
        {gdTopBottom, {50, 79}, {50, 0}},   {gdBottomTop, {50, 0}, {50, 79}},  {gdLeftRight, {99, 40}, {0, 40}},
        {gdRightLeft, {0, 40}, {99, 40}},   {gdFromCenter, {50, 40}, {0, 0}},  {gdFromTopLeft, {99, 79}, {0, 0}},
        {gdFromBottomLeft, {99, 0}, {0, 79}}, {gdRadial, {51, 41}, {0, 0}},    {gdDiagonalUp, {0, 79}, {99, 0}},
        {gdDiagonalDown, {0, 0}, {99, 79}},
    };
    for (const Case& c : cases) {
        Surface s(100, 80);
        s.canvas.GradientFill({0, 0, 100, 80}, clRed, clBlue, c.dir, 50);
        const COLORREF a = s(c.start.X, c.start.Y), b = s(c.end.X, c.end.Y);
        EXPECT_GE(GetRValue(a), 240) << c.dir;
        EXPECT_LE(GetBValue(a), 15) << c.dir;
        EXPECT_GE(GetBValue(b), 240) << c.dir;
        EXPECT_LE(GetRValue(b), 15) << c.dir;
        // No pixel of the rectangle is left unpainted.
        for (int x = 0; x < 100; ++x) EXPECT_NE(s(x, 0), kWhite) << c.dir << " " << x;
        for (int y = 0; y < 80; ++y) EXPECT_NE(s(99, y), kWhite) << c.dir << " " << y;
        s.Keep("gradient" + std::to_string(int(c.dir)));
    }
}

TEST(ChartGradient, BandsAndRings)
{
    Surface flat(50, 1);
    flat.canvas.GradientFill({0, 0, 50, 1}, clRed, clBlue, gdTopBottom, 50);  // nothing along the ramp
    EXPECT_EQ(flat(10, 0), kWhite);

    Surface ring(11, 11);
    ring.canvas.GradientFill({0, 0, 11, 11}, clBlack, clWhite, gdFromCenter, 50);
    // Index 0 (the exchanged start: white) outside, index 2·k on ring k of N = 10.
    const int expect[5] = {255, 255 - 2 * 255 / 10, 255 - 4 * 255 / 10, 255 - 6 * 255 / 10, 255 - 8 * 255 / 10};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(GetRValue(ring(k, 5)), expect[k]) << k;
    EXPECT_EQ(ring(5, 5), kWhite);  // the centre pixel is left as it was

    Surface big(10, 1000);
    big.canvas.GradientFill({0, 0, 10, 1000}, clBlack, clWhite, gdBottomTop, 50);
    std::set<COLORREF> seen;
    for (int y = 0; y < 1000; ++y) seen.insert(big(5, y));
    EXPECT_EQ(seen.size(), 256u);

    Surface same(40, 40);
    same.canvas.GradientFill({0, 0, 40, 40}, clRed, clRed, gdLeftRight, 70);
    EXPECT_EQ(same(0, 0), kRed);
    EXPECT_EQ(same(39, 39), kRed);
}

TEST(ChartGradient, MiddleColourSplitsTheRectangle)
{
    Surface s(100, 101);
    TChartGradient g;
    g.SetStartColor(clWhite);
    g.SetEndColor(clBlue);
    g.SetMidColor(clRed);
    g.Draw(s.canvas, TRect{0, 0, 100, 101});
    EXPECT_EQ(s(50, 0), kBlue);     // top half: red to the end colour, the end at the top
    EXPECT_EQ(s(50, 49), kRed);     // its bottom
    EXPECT_EQ(s(50, 100), kWhite);  // bottom half: the start colour at the bottom
    int changes = 0;
    TChartGradient quiet([&](TObject*) { ++changes; });
    quiet.SetMidColor(clNone);
    EXPECT_EQ(changes, 0);
    quiet.SetMidColor(clRed);
    quiet.SetMidColor(clNone);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(quiet.MidColor(), clNone);
}

TEST(ChartShadow, SmoothAndSolid)
{
    Surface s;
    TChartShadow sh;
    sh.SetColor(clBlack);
    sh.SetSize(4);
    sh.Draw(s.canvas, {10, 10, 110, 30});
    // Four lines below the box, each 64 levels brighter, the first starting at L + 4.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetRValue(s(60, 30 + i)), 64 * i) << i;
    EXPECT_EQ(s(13, 30), kWhite);
    EXPECT_EQ(s(14, 30), RGB(0, 0, 0));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetRValue(s(110 + i, 20)), 64 * i) << i;

    Surface t;
    sh.SetSmooth(false);
    sh.Draw(t.canvas, {10, 10, 110, 30});
    // (L+4, B, R+4, B+5) and (R, T+4, R+5, B+5), drawn without a pen.
    EXPECT_EQ(t(14, 30), RGB(0, 0, 0));
    EXPECT_EQ(t(112, 33), RGB(0, 0, 0));
    EXPECT_EQ(t(13, 30), kWhite);
    EXPECT_EQ(t(110, 13), kWhite);
    EXPECT_EQ(t(110, 14), RGB(0, 0, 0));

    Surface none;
    TChartShadow off;
    off.SetColor(clBlack);
    off.Draw(none.canvas, {10, 10, 110, 30});
    EXPECT_EQ(none(60, 31), kWhite);
}

TEST(ChartBlend, MixesWithIntegerArithmetic)
{
    Surface s;
    s.canvas.Brush().SetColor(clBlack);
    s.canvas.FillRect({0, 0, 50, 50});
    TChartBlend* b = s.canvas.BeginBlending({0, 0, 100, 50}, 50);
    s.canvas.Brush().SetColor(clWhite);
    s.canvas.FillRect({0, 0, 50, 50});
    s.canvas.Brush().SetColor(clBlack);
    s.canvas.FillRect({50, 0, 100, 50});
    s.canvas.EndBlending(b);
    EXPECT_EQ(s(10, 10), RGB(127, 128, 128));  // white drawn over black
    EXPECT_EQ(s(60, 10), RGB(127, 127, 127));  // black drawn over white
    EXPECT_EQ(s(60, 60), kWhite);

    Surface m;
    m.canvas.Metafiling = true;
    b = m.canvas.BeginBlending({0, 0, 50, 50}, 50);
    m.canvas.Brush().SetColor(clBlack);
    m.canvas.FillRect({0, 0, 50, 50});
    m.canvas.EndBlending(b);
    EXPECT_EQ(m(10, 10), RGB(0, 0, 0));  // opaque while a metafile is drawn

    TBitmap a(10, 10), dst(20, 20);
    a.Canvas()->Brush().SetColor(clBlack);
    a.Canvas()->FillRect({0, 0, 10, 10});
    dst.Canvas()->Brush().SetColor(clWhite);
    dst.Canvas()->FillRect({0, 0, 20, 20});
    ChartBlendBitmaps(0, a, dst, {-5, -5});
    EXPECT_EQ(charttest::Px(dst, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(charttest::Px(dst, 10, 10), kWhite);
}

TEST(ChartBlend, ShadowWithTransparencyIsCutAtTheBounds)
{
    Surface s(100, 60);
    TChartShadow sh;
    sh.SetColor(clBlack);
    sh.SetSmooth(false);
    sh.SetSize(20);
    sh.SetTransparency(50);
    sh.Draw(s.canvas, {60, 10, 90, 40});
    EXPECT_EQ(s(85, 50), RGB(127, 127, 127));
    EXPECT_EQ(s(99, 30), RGB(127, 127, 127));
}

TEST(ChartBitmaps, GrayScaleAndSmoothStretch)
{
    TBitmap b(2, 2);
    b.Canvas()->Brush().SetColor(clRed);
    b.Canvas()->FillRect({0, 0, 2, 2});
    TBitmap c;
    c.Assign(b);
    ChartGrayScale(&b, false, 1);
    EXPECT_EQ(charttest::Px(b, 0, 0), RGB(76, 76, 76));
    ChartGrayScale(&c, true, 0);
    EXPECT_EQ(charttest::Px(c, 1, 1), RGB(170, 170, 170));

    TBitmap thin(1, 100), dst(20, 20), src(10, 10);
    try {
        SmoothStretch(&thin, &dst);
        FAIL();
    } catch (const base::Exception& e) {
        EXPECT_STREQ(e.what(), "SmoothStretch: Source bitmap too small");
    }
    src.Canvas()->Brush().SetColor(clBlack);
    src.Canvas()->FillRect({0, 0, 10, 10});
    for (auto option : {ssBestQuality, ssBestPerformance}) {
        SmoothStretch(&src, &dst, option);
        for (int y = 0; y < 20; y += 3)
            for (int x = 0; x < 20; x += 3) EXPECT_EQ(charttest::Px(dst, x, y), RGB(0, 0, 0));
    }
    src.Canvas()->Brush().SetColor(clWhite);
    src.Canvas()->FillRect({0, 0, 10, 10});
    SmoothStretch(&src, &dst);
    EXPECT_GE(GetRValue(charttest::Px(dst, 7, 7)), 250);  // the weights sum to about 1024
}

TEST(ChartSolids, CubeIn2D)
{
    Surface s;
    s.canvas.Pen().SetStyle(psClear);
    s.canvas.Brush().SetColor(clBlue);
    s.canvas.Cube(10, 60, 10, 50, 0, 20, true);
    EXPECT_EQ(s(30, 30), kBlue);  // only the front, undarkened
    EXPECT_EQ(s(60, 30), kWhite);

    Surface outline;
    outline.canvas.Brush().SetStyle(bsClear);
    outline.canvas.Pen().SetColor(clRed);
    outline.canvas.Cube(10, 60, 10, 50, 0, 20, false);
    EXPECT_EQ(outline(10, 30), kRed);
    EXPECT_EQ(outline(30, 30), kWhite);

    Surface e;
    e.canvas.Pen().SetStyle(psClear);
    e.canvas.Brush().SetColor(clRed);
    e.canvas.EllipseWithZ(0, 0, 9, 9, 5);  // the platform ellipse (0, 0, 10, 10)
    Surface plain;
    plain.canvas.Pen().SetStyle(psClear);
    plain.canvas.Brush().SetColor(clRed);
    plain.canvas.Ellipse(0, 0, 10, 10);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(e(x, y), plain(x, y)) << x << "," << y;
    EXPECT_EQ(e(5, 5), kRed);
}

TEST(ChartSolids, ThreeDShapesDraw)
{
    Surface s(300, 200);
    TView3DOptions o;
    o.SetOrthogonal(false);
    o.SetPerspective(0);
    TChartCanvas3D& c = s.canvas;
    c.InitWindow(s.bmp.Canvas(), &o, clWhite, true, {0, 0, 300, 200});
    c.Projection(40, {}, {0, 0, 300, 200});
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clRed);
    c.Cube(20, 80, 40, 120, 0, 40, true);
    c.Brush().SetColor(clLime);
    c.Cylinder(true, 100, 40, 140, 120, 0, 40, true);
    c.Brush().SetColor(clBlue);
    c.Cone(true, 160, 40, 200, 120, 0, 40, true, 0);
    c.Brush().SetColor(clYellow);
    c.Pyramid(true, 220, 40, 270, 120, 0, 40, true);
    c.Brush().SetColor(clFuchsia);
    c.Pie3D(60, 160, 40, 25, 0, 15, 0, 4, true, true, 0, nullptr);
    c.Brush().SetColor(clAqua);
    c.Arrow(true, {150, 170}, {250, 150}, 16, 12, 0);
    c.Sphere(280, 170, 10, 12);
    s.Keep("solids");
    EXPECT_EQ(GetRValue(s(50, 80)), 255);
    EXPECT_EQ(GetGValue(s(120, 100)) > 100, true);
    int blue = 0;
    for (int y = 40; y < 125; ++y) blue += GetBValue(s(180, y)) > 60 && GetRValue(s(180, y)) == 0 ? 1 : 0;
    EXPECT_GT(blue, 0);
    TPointArray none = {};
    EXPECT_FALSE(TChartCanvas::ConvexHull(none));
}

TEST(ChartMessages, TableAndFilter)
{
    EXPECT_EQ(ChartMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(ChartMsg_GalleryHorizLine, "Horizontal\rLine");
    EXPECT_EQ(ChartMsg_EmptyChartFile, "Empty *.kch file");
    EXPECT_EQ(ChartDefaultFilterExtension(), "(*.kch)|*.kch");
    EXPECT_EQ(ChartFormat(ChartMsg_SeriesDelete, 12, 9), "Series Delete: ValueIndex 12 out of bounds (0 to 9).");
    // The placeholders take their values in order, whatever their type.
    const std::string longText(300, 'x');
    struct Case {
        std::string got, want;
    } cases[] = {
        {ChartFormat(ChartMsg_DefaultPercentOf, std::string("12 %"), "Ship"), "12 % of Ship"},
        {ChartFormat(ChartMsg_SureToDelete, longText), "Delete " + longText + " ?"},
        {ChartFormat(ChartMsg_PageOfPages, 2L, std::size_t(7)), "Page 2 of 7"},
        {ChartFormat("%5d|%-4s|%.2f|%%", -3, "ab", 2.5), "   -3|ab  |2.50|%"},
        {ChartFormat("%d and %d", 4), "4 and "},
        {ChartFormat(ChartMsg_AxisLabelSep), "Labels Separation % must be greater than 0"},
        {ChartFormat("%s", static_cast<const char*>(nullptr)), ""},
        {ChartFormat("%d%", 1.9), "1%"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
    const std::string keep = ChartMsg_AxisLogBase;
    ChartMsg_AxisLogBase = "Base?";
    EXPECT_EQ(ChartMsg_AxisLogBase, "Base?");
    ChartMsg_AxisLogBase = keep;
    EXPECT_EQ(GetDefaultFontName, "Arial");
    EXPECT_EQ(GetDefaultFontSize, 8);
    TChartFont f;
    EXPECT_EQ(f.Name(), "Arial");
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Color(), clBlack);
}
