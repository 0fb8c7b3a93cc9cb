// The GDI chart canvas on pixels: 2D primitives, pens and brushes, text, clipping,
// the buffer, geometry helpers and the 3D projection.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "ChartTestUtil.h"
#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"

using namespace chart;
using namespace platform;
using charttest::Surface;

TEST(ChartGeometry, Helpers)
{
    EXPECT_EQ(PolygonBounds(nullptr, 0), (TRect{0, 0, 0, 0}));
    const TPoint p{4, 7};
    EXPECT_EQ(PolygonBounds(&p, 1), (TRect{4, 7, 4, 7}));
    EXPECT_EQ(RectFromPolygon(&p, 1), (TRect{4, 7, 5, 8}));
    int x, y;
    RectCenter({-3, -3, 0, 0}, x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    const TRect r{0, 0, 10, 10};
    for (TPoint q : {TPoint{0, 0}, TPoint{10, 0}, TPoint{10, 10}, TPoint{0, 10}}) EXPECT_TRUE(PointInRect(r, q));
    EXPECT_FALSE(PointInRect(r, 11, 5));
    EXPECT_FALSE(ChartCull({0, 0}, {5, 5}, {10, 10}));
    EXPECT_EQ(OrientRectangle({10, 8, 2, 1}), (TRect{2, 1, 10, 8}));
    EXPECT_EQ(ApplyDark(TColor(RGB(64, 100, 200)), 64), TColor(RGB(0, 36, 136)));
    EXPECT_EQ(ApplyBright(TColor(RGB(250, 0, 10)), 10), TColor(RGB(255, 10, 20)));
    EXPECT_EQ(PointAtDistance({0, 0}, {0, 10}, 3), (TPoint{0, 7}));
    EXPECT_EQ(PointAtDistance({0, 0}, {10, 0}, 3), (TPoint{7, 0}));
}

TEST(ChartGeometry, ConvexHull)
{
    TPointArray sq = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    ASSERT_TRUE(TChartCanvas::ConvexHull(sq));
    EXPECT_EQ(sq, (TPointArray{{10, 10}, {0, 10}, {0, 0}, {10, 0}}));
    TPointArray inner = {{0, 0}, {10, 0}, {5, 5}, {10, 10}, {0, 10}};
    ASSERT_TRUE(TChartCanvas::ConvexHull(inner));
    EXPECT_EQ(inner, (TPointArray{{10, 10}, {0, 10}, {0, 0}, {10, 0}}));
    TPointArray two = {{0, 0}, {1, 1}};
    EXPECT_FALSE(TChartCanvas::ConvexHull(two));
}

TEST(ChartGeometry, PieAnglesAndFrame3D)
{
    double a0, a1;
    TCanvas3D::CalcPieAngles(0, 0, 100, 100, 50, 0, 100, 50, a0, a1);
    EXPECT_DOUBLE_EQ(a0, 90);
    EXPECT_DOUBLE_EQ(a1, 361);
    Surface s;
    TRect r{0, 0, 10, 10};
    s.canvas.Frame3D(r, clWhite, clBlack, 2);
    EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
    EXPECT_EQ(s(9, 5), RGB(0, 0, 0));
    EXPECT_EQ(s(8, 5), RGB(0, 0, 0));
    EXPECT_EQ(s(7, 5), RGB(255, 255, 255));
}

TEST(ChartCanvas2D, PrimitivesOnPixels)
{
    Surface s;
    TChartCanvas3D& c = s.canvas;
    c.Pen().SetColor(clRed);
    c.Line(10, 10, 50, 10);
    EXPECT_EQ(s(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(s(49, 10), RGB(255, 0, 0));
    EXPECT_EQ(s(50, 10), RGB(255, 255, 255));  // last pixel not drawn
    c.DoVertLine(60, 10, 20);
    EXPECT_EQ(s(60, 15), RGB(255, 0, 0));
    c.Brush().SetColor(clBlue);
    c.Rectangle(10, 20, 30, 40);
    EXPECT_EQ(s(10, 30), RGB(255, 0, 0));
    EXPECT_EQ(s(20, 30), RGB(0, 0, 255));
    EXPECT_EQ(s(30, 30), RGB(255, 255, 255));
    c.Brush().SetColor(clLime);
    c.FillRect({40, 20, 50, 30});
    EXPECT_EQ(s(40, 20), RGB(0, 255, 0));
    EXPECT_EQ(s(49, 29), RGB(0, 255, 0));
    EXPECT_EQ(s(50, 29), RGB(255, 255, 255));
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(clYellow);
    c.Ellipse(60, 20, 80, 40);
    EXPECT_EQ(s(70, 30), RGB(255, 255, 0));
    EXPECT_EQ(s(61, 21), RGB(255, 255, 255));
    const TPoint tri[3] = {{100, 20}, {140, 20}, {120, 50}};
    c.Brush().SetColor(clFuchsia);
    c.Polygon(tri, 3);
    EXPECT_EQ(s(120, 30), RGB(255, 0, 255));
    EXPECT_EQ(s(102, 45), RGB(255, 255, 255));
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(clNavy);
    const TPoint line[3] = {{10, 60}, {40, 60}, {40, 90}};
    c.Polyline(line, 3);
    EXPECT_EQ(s(25, 60), RGB(0, 0, 128));
    EXPECT_EQ(s(40, 75), RGB(0, 0, 128));
    c.Brush().SetColor(clTeal);
    c.RoundRect(60, 60, 100, 90, 10, 10);
    EXPECT_EQ(s(80, 75), RGB(0, 128, 128));
    EXPECT_EQ(s(60, 60), RGB(255, 255, 255));  // rounded corner
    c.Brush().SetColor(clMaroon);
    c.Pie(110, 60, 150, 100, 150, 80, 130, 60);  // the upper right quarter
    EXPECT_EQ(s(138, 72), RGB(128, 0, 0));
    EXPECT_EQ(s(122, 88), RGB(255, 255, 255));
    c.Brush().SetColor(clOlive);
    c.Donut(175, 80, 20, 20, 0, M_PI, 50);
    EXPECT_EQ(s(160, 75), RGB(128, 128, 0));
    EXPECT_EQ(s(175, 75), RGB(255, 255, 255));  // the hole
    EXPECT_EQ(s(175, 90), RGB(255, 255, 255));  // the lower half
    c.SetPixel(5, 140, clRed);
    EXPECT_EQ(c.GetPixel(5, 140), TColor(RGB(255, 0, 0)));
    s.Keep("primitives");
}

TEST(ChartCanvas2D, PensAndBrushes)
{
    Surface s;
    TChartCanvas3D& c = s.canvas;
    TChartPen hidden;
    hidden.SetColor(clRed);
    hidden.SetWidth(3);
    hidden.Hide();
    c.Pen().SetColor(clGreen);
    c.AssignVisiblePen(hidden);
    EXPECT_EQ(c.Pen().Style(), psClear);
    EXPECT_EQ(c.Pen().Color(), clGreen);  // everything else as it was

    TChartPen dots;
    dots.SetSmallDots(true);
    dots.SetColor(clBlack);
    c.AssignVisiblePen(dots);
    c.Line(0, 5, 20, 5);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(s(x, 5), x % 2 == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x;
    dots.SetSmallSpace(3);
    c.AssignVisiblePen(dots);
    c.Line(0, 8, 20, 8);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(s(x, 8), x % 4 == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x;

    TChartPen wide;
    wide.SetWidth(3);
    wide.SetColor(clBlue);
    c.AssignVisiblePenColor(wide, clRed);
    c.Line(30, 20, 80, 20);
    EXPECT_EQ(s(50, 21), RGB(255, 0, 0));

    TChartBrush brush;
    brush.SetStyle(bsHorizontal);
    c.Pen().SetStyle(psClear);
    c.AssignBrushColor(brush, clRed, clYellow);
    c.Rectangle(0, 40, 40, 80);
    bool sawRed = false, sawYellow = false;
    for (int y = 41; y < 78; ++y) {
        sawRed |= s(10, y) == RGB(255, 0, 0);
        sawYellow |= s(10, y) == RGB(255, 255, 0);
    }
    EXPECT_TRUE(sawRed);
    EXPECT_TRUE(sawYellow);
    c.AssignBrushColor(brush, clBlue, clNone);
    c.Rectangle(50, 40, 90, 80);
    bool sawWhite = false;
    for (int y = 41; y < 78; ++y) sawWhite |= s(60, y) == RGB(255, 255, 255);
    EXPECT_TRUE(sawWhite);  // gaps stay transparent
    c.SetMonochrome(true);
    c.AssignBrush(brush, clRed);
    EXPECT_EQ(c.Brush().Color(), clWhite);
    s.Keep("pens");
}

TEST(ChartCanvas2D, PenNotifiesOnlyOnChange)
{
    int changes = 0;
    TChartPen pen([&](TObject*) { ++changes; });
    pen.SetVisible(true);
    pen.SetSmallDots(false);
    EXPECT_EQ(changes, 0);
    pen.SetEndStyle(esFlat);
    pen.SetColor(clRed);
    EXPECT_EQ(changes, 2);
    TChartHiddenPen hiddenPen;
    EXPECT_FALSE(hiddenPen.Visible());
    EXPECT_FALSE(hiddenPen.VisibleStored());
    hiddenPen.Show();
    EXPECT_TRUE(hiddenPen.VisibleStored());
    TDottedGrayPen dotted;
    EXPECT_EQ(dotted.Color(), clGray);
    EXPECT_EQ(dotted.Style(), psDot);
    TChartBrush brush;
    EXPECT_EQ(brush.Color(), clUseSeriesColor);

    TView3DOptions a, b;
    int zoomSeen = -1;
    a.OnChangedZoom = [&](int z) { zoomSeen = a.Zoom() * 1000 + z; };
    a.SetZoom(150);
    EXPECT_EQ(zoomSeen, 100 * 1000 + 150);  // raised while the old zoom is stored
    a.SetOrthoAngle(135);
    EXPECT_NEAR(a.CalcOrthoRatio(), 1, 1e-12);
    a.SetOrthogonal(false);
    EXPECT_EQ(a.CalcOrthoRatio(), 1);
    b.Assign(a);
    EXPECT_EQ(b.Zoom(), 150);
    TChartPen notOptions;
    b.Assign(notOptions);  // ignored
    EXPECT_EQ(b.Zoom(), 150);
}

TEST(ChartCanvas2D, TextAndShadow)
{
    Surface s;
    TChartCanvas3D& c = s.canvas;
    TChartFont font;
    font.SetColor(clBlack);
    font.SetSize(14);
    font.Shadow()->SetHorizSize(-3);
    font.Shadow()->SetVertSize(0);
    font.Shadow()->SetColor(clRed);
    c.AssignFont(font);
    const int plainW = s.bmp.Canvas()->TextWidth("Wg");
    EXPECT_EQ(c.TextWidth("Wg"), plainW + 3);
    c.TextOut(20, 20, "Wg");
    // The shadow stays at x, the text moves right by 3: the leftmost ink is red.
    int firstX = -1;
    COLORREF first = 0;
    for (int x = 15; x < 60 && firstX < 0; ++x)
        for (int y = 20; y < 45; ++y)
            if (s(x, y) != RGB(255, 255, 255)) {
                firstX = x;
                first = s(x, y);
                break;
            }
    ASSERT_GE(firstX, 20);
    EXPECT_GT(GetRValue(first), 128);
    EXPECT_LT(GetGValue(first), 128);
    s.Keep("text");
}

TEST(ChartCanvas2D, RotatedLabel)
{
    Surface s;
    TChartCanvas3D& c = s.canvas;
    TChartFont font;
    font.SetSize(16);
    c.AssignFont(font);
    c.RotateLabel(50, 120, "Heel", 90);
    // Upwards from the point: ink above y = 120 in a narrow column right of x = 50.
    int ink = 0, inkBelow = 0, inkWide = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            if (s(x, y) == RGB(255, 255, 255)) continue;
            if (y > 121) ++inkBelow;
            else if (x > 80 || x < 45) ++inkWide;
            else ++ink;
        }
    EXPECT_GT(ink, 30);
    EXPECT_EQ(inkBelow, 0);
    EXPECT_EQ(inkWide, 0);
    EXPECT_EQ(c.Font().Escapement(), 0);  // the font is given back
    s.Keep("rotated");
}

TEST(ChartCanvas2D, ClipsNestPerCanvas)
{
    Surface s, other;
    TChartCanvas3D& c = s.canvas;
    c.Pen().SetStyle(psClear);
    c.ClipRectangle({10, 10, 100, 100});
    other.canvas.ClipRectangle({0, 0, 5, 5});  // another canvas's clip does not interfere
    c.ClipRectangle({50, 50, 150, 150});
    c.UnClipRectangle();
    other.canvas.UnClipRectangle();
    c.Brush().SetColor(clBlue);
    c.FillRect({0, 0, 200, 150});
    EXPECT_EQ(s(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(s(20, 20), RGB(0, 0, 255));  // the first clip is in force
    EXPECT_EQ(s(120, 120), RGB(255, 255, 255));
    c.UnClipRectangle();
    c.UnClipRectangle();  // one too many: harmless
    c.FillRect({0, 0, 200, 150});
    EXPECT_EQ(s(150, 140), RGB(0, 0, 255));

    Surface e;
    e.canvas.ClipEllipse({0, 0, 100, 100});
    e.canvas.Brush().SetColor(clRed);
    e.canvas.FillRect({0, 0, 200, 150});
    e.canvas.UnClipRectangle();
    EXPECT_EQ(e(50, 50), RGB(255, 0, 0));
    EXPECT_EQ(e(3, 3), RGB(255, 255, 255));
    e.canvas.ClipCube({100, 10, 150, 60}, 0, 0);  // 2D: (Left + 1, Top + 1, Right, Bottom - 1)
    e.canvas.Brush().SetColor(clBlue);
    e.canvas.FillRect({0, 0, 200, 150});
    e.canvas.UnClipRectangle();
    EXPECT_EQ(e(100, 30), RGB(255, 255, 255));
    EXPECT_EQ(e(101, 11), RGB(0, 0, 255));
    EXPECT_EQ(e(149, 58), RGB(0, 0, 255));
    EXPECT_EQ(e(120, 59), RGB(255, 255, 255));
}

TEST(ChartCanvas2D, ClipCanvasKeepsTheClipBeforeItOnAPlatformCanvas)
{
    Surface s;
    TCanvas& c = *s.bmp.Canvas();
    SetWindowOrgEx(c.Handle(), -10, -5, nullptr);  // logical (0, 0) is device (10, 5)
    auto fill = [&](TColor color) {
        c.Brush().SetColor(color);
        c.FillRect({-10, -5, 190, 145});
    };
    ClipCanvas(c, {0, 0, 100, 100});
    ClipCanvas(c, {50, 50, 150, 150});
    c.Pen().SetColor(clLime);
    c.MoveTo(7, 8);
    fill(clBlue);
    // Pixels are read in logical coordinates too.
    EXPECT_EQ(s(55, 60), RGB(0, 0, 255));  // in both
    EXPECT_EQ(s(99, 99), RGB(0, 0, 255));
    EXPECT_EQ(s(101, 90), RGB(255, 255, 255));  // outside the first clip
    EXPECT_EQ(s(20, 20), RGB(255, 255, 255));   // outside the second
    UnClipCanvas(c);
    EXPECT_EQ(c.PenPos(), (TPoint{7, 8}));  // only the clip goes back
    EXPECT_EQ(c.Pen().Color(), clLime);
    fill(clRed);
    EXPECT_EQ(s(20, 20), RGB(255, 0, 0));  // the first clip is in force again
    EXPECT_EQ(s(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(s(-1, 20), RGB(255, 255, 255));
    EXPECT_EQ(s(101, 90), RGB(255, 255, 255));
    UnClipCanvas(c);
    UnClipCanvas(c);  // none kept: all clipping goes
    fill(clYellow);
    EXPECT_EQ(s(170, 130), RGB(255, 255, 0));
    EXPECT_EQ(s(-8, -4), RGB(255, 255, 0));

    Surface r;
    ClipRoundRectangle(r.canvas, {0, 0, 100, 100}, 60);
    r.canvas.Brush().SetColor(clRed);
    r.canvas.FillRect({0, 0, 200, 150});
    r.canvas.UnClipRectangle();
    EXPECT_EQ(r(50, 50), RGB(255, 0, 0));
    EXPECT_EQ(r(50, 1), RGB(255, 0, 0));
    EXPECT_EQ(r(2, 2), RGB(255, 255, 255));  // the corner is round
    EXPECT_EQ(r(120, 50), RGB(255, 255, 255));
    EXPECT_EQ(r.canvas.ClipDepth(), 0);
}

TEST(ChartCanvasBuffer, RedrawCopiesTheBufferUntilInvalidated)
{
    EnsurePlatform();
    TBitmap window(100, 80);
    TChartCanvas3D c;
    c.SetCanvas(window.Canvas());
    EXPECT_FALSE(c.ReDrawBitmap());
    const TRect r = c.InitWindow(window.Canvas(), nullptr, clWhite, false, {10, 10, 60, 50});
    EXPECT_EQ(r, (TRect{0, 0, 50, 40}));
    c.Brush().SetColor(clRed);
    c.FillRect(r);
    c.ShowImage(window.Canvas(), window.Canvas(), {10, 10, 60, 50});
    EXPECT_EQ(COLORREF(window.Canvas()->Pixel(10, 10)), RGB(255, 0, 0));
    EXPECT_EQ(COLORREF(window.Canvas()->Pixel(5, 5)), RGB(0, 0, 0) | COLORREF(window.Canvas()->Pixel(5, 5)));
    window.Canvas()->Brush().SetColor(clWhite);
    window.Canvas()->FillRect({0, 0, 100, 80});
    EXPECT_TRUE(c.ReDrawBitmap());  // copied at (0, 0)
    EXPECT_EQ(COLORREF(window.Canvas()->Pixel(0, 0)), RGB(255, 0, 0));
    c.Invalidate();
    EXPECT_FALSE(c.ReDrawBitmap());

    c.SetUseBuffer(false);
    EXPECT_EQ(c.Bitmap(), nullptr);
    EXPECT_EQ(c.InitWindow(window.Canvas(), nullptr, clWhite, false, {10, 10, 60, 50}), (TRect{10, 10, 60, 50}));
    c.ShowImage(window.Canvas(), window.Canvas(), {10, 10, 60, 50});
    EXPECT_FALSE(c.ReDrawBitmap());
}

namespace {
struct Projected {
    TPoint3D in;
    TPoint out;
};
}  // namespace

TEST(ChartProjection, TwoDPassesPointsUnchanged)
{
    Surface s;
    EXPECT_EQ(s.canvas.Calculate3DPosition(10, 20, 500), (TPoint{10, 20}));
    int x = 10, y = 20;
    s.canvas.Calculate2DPosition(x, y, 500);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
}

TEST(ChartProjection, OrthogonalTable)
{
    Surface s;
    TView3DOptions o;
    struct Case {
        int angle;
        TPoint3D in;
        TPoint out;
    } cases[] = {{45, {100, 100, 10}, {110, 90}}, {135, {100, 100, 10}, {90, 90}}, {90, {100, 100, 10}, {110, 90}},
                 {45, {120, 80, 0}, {120, 80}},  {45, {100, 100, -20}, {80, 120}}};
    for (const Case& c : cases) {
        o.SetOrthoAngle(c.angle);
        s.canvas.InitWindow(s.bmp.Canvas(), &o, clWhite, true, {0, 0, 200, 200});
        s.canvas.Projection(0, {}, {0, 0, 200, 200});
        EXPECT_EQ(s.canvas.Calculate3DPosition(c.in), c.out) << c.angle;
        int x = c.out.X, y = c.out.Y;
        s.canvas.Calculate2DPosition(x, y, c.in.Z);
        EXPECT_EQ((TPoint{x, y}), (TPoint{c.in.X, c.in.Y}));
    }
}

TEST(ChartProjection, RotatedTable)
{
    Surface s;
    TView3DOptions o;
    o.SetOrthogonal(false);
    o.SetElevation(0);
    o.SetRotation(0);
    o.SetPerspective(0);
    o.SetZoom(200);
    s.canvas.InitWindow(s.bmp.Canvas(), &o, clWhite, true, {0, 0, 200, 200});
    s.canvas.Projection(100, {}, {0, 0, 200, 200});
    // No angles: (x − XC)·k + XO whatever the depth.
    const Projected flat[] = {{{100, 100, 0}, {100, 100}}, {{110, 90, 70}, {120, 80}}, {{50, 150, 30}, {0, 200}}};
    for (const Projected& p : flat) EXPECT_EQ(s.canvas.Calculate3DPosition(p.in), p.out);

    o.SetZoom(100);
    o.SetRotation(270);  // −270° about the vertical axis turns depth into X
    s.canvas.InitWindow(s.bmp.Canvas(), &o, clWhite, true, {0, 0, 200, 200});
    s.canvas.Projection(100, {}, {0, 0, 200, 200});
    // x' = 0, z' = z − 50: u = z'·sin(−270°) = z'.
    const Projected turned[] = {{{100, 100, 50}, {100, 100}}, {{100, 100, 80}, {130, 100}}, {{100, 60, 20}, {70, 60}}};
    for (const Projected& p : turned) EXPECT_EQ(s.canvas.Calculate3DPosition(p.in), p.out);

    o.SetPerspective(15);
    s.canvas.InitWindow(s.bmp.Canvas(), &o, clWhite, true, {0, 0, 0, 0});
    s.canvas.Projection(100, {}, {0, 0, 0, 0});  // width 0 uses 1
    // (10, 10, 10) lies in the eye's plane there: it is drawn just in front of the eye.
    const TPoint p = s.canvas.Calculate3DPosition(10, 10, 10);
    EXPECT_LT(std::llabs(static_cast<long long>(p.X)), 100000);
    EXPECT_LT(p.X, 0);  // left of the centre, as u = z' = -40 puts it
    EXPECT_LT(std::llabs(static_cast<long long>(p.Y)), 100000);
}

TEST(ChartProjection, FrontPlaneNests)
{
    Surface s;
    TView3DOptions o;
    o.SetOrthogonal(false);
    o.SetElevation(0);
    o.SetRotation(270);
    o.SetPerspective(0);
    s.canvas.InitWindow(s.bmp.Canvas(), &o, clWhite, true, {0, 0, 200, 200});
    s.canvas.Projection(100, {}, {0, 0, 200, 200});
    s.canvas.FrontPlaneBegin();
    s.canvas.FrontPlaneBegin();
    EXPECT_EQ(s.canvas.Calculate3DPosition(100, 100, 80), (TPoint{100, 100}));
    s.canvas.FrontPlaneEnd();
    EXPECT_FALSE(s.canvas.Is3D());
    s.canvas.FrontPlaneEnd();
    EXPECT_TRUE(s.canvas.Is3D());
    EXPECT_EQ(s.canvas.Calculate3DPosition(100, 100, 80), (TPoint{130, 100}));
}

TEST(ChartCanvas2D, OutlinedAndGradientLetters)
{
    Surface s;
    TChartCanvas3D& c = s.canvas;
    TChartFont font;
    font.SetSize(28);
    font.SetStyle(fsBold);
    font.SetColor(clNone);
    font.OutLine()->SetColor(clRed);
    font.OutLine()->Show();
    c.AssignFont(font);
    c.TextOut(10, 10, "HI");
    int red = 0, other = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF p = s(x, y);
            if (p == RGB(255, 0, 0)) ++red;
            else if (p != RGB(255, 255, 255)) ++other;
        }
    EXPECT_GT(red, 40);
    EXPECT_EQ(other, 0);  // colour clNone: outlined, unfilled letters
    Surface g;
    TChartFont gf;
    gf.SetSize(28);
    gf.SetStyle(fsBold);
    gf.Gradient()->SetVisible(true);
    gf.Gradient()->SetStartColor(clBlue);
    gf.Gradient()->SetEndColor(clLime);
    g.canvas.AssignFont(gf);
    g.canvas.TextOut(10, 10, "HI");
    int blue = 0, lime = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF p = g(x, y);
            blue += GetBValue(p) > 200 && GetGValue(p) < 60;
            lime += GetGValue(p) > GetBValue(p) + 60;  // towards the end colour at the top
        }
    EXPECT_GT(blue, 10);
    EXPECT_GT(lime, 10);
    s.Keep("outline");
    g.Keep("gradienttext");
}

TEST(ChartCanvasPens, AWidePenEndsAndTurnsAsItsEndStyleSays)
{
    // A 24-pixel line from (40,100) right to (120,100), then up to (120,40): its free end
    // is at the left, its outer corner at the lower right.
    auto red = [](COLORREF p) { return GetRValue(p) > 200 && GetGValue(p) < 80 && GetBValue(p) < 80; };
    auto white = [](COLORREF p) { return GetRValue(p) > 200 && GetGValue(p) > 200 && GetBValue(p) > 200; };
    struct Probe {
        int x, y;
        bool inked;
    };
    struct Case {
        TPenEndStyle style;
        const char* name;
        std::vector<Probe> probes;
    } cases[] = {
        // flat end, mitred corner
        {esFlat, "flat", {{32, 100, false}, {30, 90, false}, {131, 111, true}}},
        // square end half a width long, bevelled corner
        {esSquare, "square", {{32, 100, true}, {30, 90, true}, {129, 109, false}, {124, 104, true}}},
        // round end and round corner
        {esRound, "round", {{32, 100, true}, {30, 90, false}, {126, 106, true}, {130, 110, false}}},
    };
    for (const Case& c : cases) {
        Surface s(200, 150);
        TChartPen pen;
        pen.SetColor(clRed);
        pen.SetWidth(24);
        pen.SetEndStyle(c.style);
        s.canvas.AssignVisiblePen(pen);
        const TPoint line[3] = {{40, 100}, {120, 100}, {120, 40}};
        s.canvas.Polyline(line, 3);
        s.Keep(std::string("endstyle_") + c.name);
        EXPECT_TRUE(red(s(80, 100))) << c.name << ": the line itself";
        for (const Probe& p : c.probes)
            EXPECT_TRUE(p.inked ? red(s(p.x, p.y)) : white(s(p.x, p.y)))
                << c.name << " at (" << p.x << "," << p.y << ")";
    }
}
