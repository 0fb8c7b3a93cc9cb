#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "LookAt.h"
#include "support/FilledBitmap.h"

using namespace platform;

namespace {

std::unique_ptr<TBitmap> White(int w, int h) { return testsupport::FilledBitmap(w, h); }

// A white bitmap whose canvas draws in tenths of a millimetre, y up, from device (ox, oy).
std::unique_ptr<TBitmap> Metric(int w, int h, int ox, int oy)
{
    auto b = White(w, h);
    SetMapMode(b->Canvas()->Handle(), MM_LOMETRIC);
    SetViewportOrgEx(b->Canvas()->Handle(), ox, oy, nullptr);
    return b;
}

// The device pixel, whatever mapping the canvas is in.
TColor At(TBitmap& b, int x, int y)
{
    const std::uint32_t w = b.ScanLine(y)[x];
    return TColor(((w >> 16) & 0xFF) | (w & 0xFF00) | ((w & 0xFF) << 16));
}

// Device box of the pixels that are not white; empty when there are none.
TRect Inked(TBitmap& b)
{
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (At(b, x, y) != clWhite) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.Right > r.Left ? r : TRect{};
}

void Save(TBitmap& b, const std::string& name) { LookAt(b, "mapping_" + name); }

// A mirrored-x mapping over a w-pixel-wide surface, as a right-to-left window sets it.
void MirrorX(HDC dc, int w, int h)
{
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, w, 0, nullptr);
    SetWindowExtEx(dc, -w, h, nullptr);
    SetViewportExtEx(dc, w, h, nullptr);
}

}  // namespace

TEST(MappingMode, ModesAndExtents)
{
    auto b = White(50, 50);
    HDC dc = b->Canvas()->Handle();
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    TSize we, ve;
    ASSERT_TRUE(GetWindowExtEx(dc, &we));
    ASSERT_TRUE(GetViewportExtEx(dc, &ve));
    EXPECT_EQ(we, (TSize{1, 1}));
    EXPECT_EQ(ve, (TSize{1, 1}));
    // Extents are taken only by the two free modes.
    EXPECT_TRUE(SetWindowExtEx(dc, 10, 10, nullptr));
    GetWindowExtEx(dc, &we);
    EXPECT_EQ(we, (TSize{1, 1}));

    struct Case {
        int mode;
        TSize window, viewport;
    } cases[] = {{MM_LOMETRIC, {254, 254}, {96, -96}},  {MM_HIMETRIC, {2540, 2540}, {96, -96}},
                 {MM_LOENGLISH, {100, 100}, {96, -96}}, {MM_HIENGLISH, {1000, 1000}, {96, -96}},
                 {MM_TWIPS, {1440, 1440}, {96, -96}},   {MM_TEXT, {1, 1}, {1, 1}}};
    for (const Case& c : cases) {
        SetMapMode(dc, c.mode);
        EXPECT_EQ(GetMapMode(dc), c.mode);
        GetWindowExtEx(dc, &we);
        GetViewportExtEx(dc, &ve);
        EXPECT_EQ(we, c.window) << c.mode;
        EXPECT_EQ(ve, c.viewport) << c.mode;
    }
    EXPECT_EQ(SetMapMode(dc, 99), 0);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);

    // Anisotropic takes the extents as set; isotropic lets the viewport give way.
    SetMapMode(dc, MM_ANISOTROPIC);
    EXPECT_TRUE(SetWindowExtEx(dc, 100, 50, &we));
    EXPECT_TRUE(SetViewportExtEx(dc, 200, -400, nullptr));
    EXPECT_FALSE(SetViewportExtEx(dc, 0, 5, nullptr));
    GetViewportExtEx(dc, &ve);
    EXPECT_EQ(ve, (TSize{200, -400}));
    SetMapMode(dc, MM_ISOTROPIC);
    GetViewportExtEx(dc, &ve);
    EXPECT_EQ(ve, (TSize{200, -100})) << "both axes at the smaller scale, signs kept";

    // SaveDC keeps the mapping.
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_LOMETRIC);
    RestoreDC(dc, saved);
    EXPECT_EQ(GetMapMode(dc), MM_ISOTROPIC);
}

TEST(MappingMode, PointsBetweenLogicalAndDevice)
{
    auto b = Metric(10, 10, 10, 20);
    HDC dc = b->Canvas()->Handle();
    struct Case {
        TPoint logical, device;
    } cases[] = {{{0, 0}, {10, 20}}, {{254, -254}, {106, 116}}, {{127, 0}, {58, 20}}, {{0, 254}, {10, -76}}};
    for (const Case& c : cases) {
        TPoint p = c.logical;
        ASSERT_TRUE(LPtoDP(dc, &p, 1));
        EXPECT_EQ(p.X, c.device.X);
        EXPECT_EQ(p.Y, c.device.Y);
        ASSERT_TRUE(DPtoLP(dc, &p, 1));
        EXPECT_EQ(p.X, c.logical.X);
        EXPECT_EQ(p.Y, c.logical.Y);
    }
    MirrorX(dc, 100, 40);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    TPoint pts[] = {{0, 0}, {30, 10}, {100, 40}};
    LPtoDP(dc, pts, 3);
    EXPECT_EQ(pts[0].X, 100);
    EXPECT_EQ(pts[1].X, 70);
    EXPECT_EQ(pts[1].Y, 10);
    EXPECT_EQ(pts[2].X, 0);
    EXPECT_FALSE(LPtoDP(nullptr, pts, 1));
}

// One inch square drawn in tenths of a millimetre lands on 96 device pixels, below the origin.
TEST(MappingMode, MetricShapesLandOnTheirPixels)
{
    auto b = Metric(140, 140, 10, 10);
    TCanvas* c = b->Canvas();
    c->Brush().SetColor(clRed);
    c->FillRect(Rect(0, 0, 254, -254));
    EXPECT_EQ(Inked(*b), (TRect{10, 10, 106, 106}));

    struct Draw {
        const char* what;
        std::function<void()> draw;
        TRect device;
    } cases[] = {
        {"FillRect", [&] { platform::FillRect(c->Handle(), {0, 0, 127, -254}, RGB(0, 0, 255)); }, {10, 10, 58, 106}},
        {"Rectangle", [&] { c->Pen().SetColor(clBlack); c->Rectangle(0, 0, 254, -127); }, {10, 10, 106, 58}},
        {"Ellipse", [&] { c->Ellipse(0, 0, 254, -254); }, {10, 10, 106, 106}},
        {"LineTo", [&] { c->MoveTo(0, -127); c->LineTo(254, -127); }, {10, 58, 106, 59}},
        {"Polygon", [&] {
             const TPoint t[] = {{0, 0}, {254, 0}, {0, -254}};
             c->Polygon(t, 3);
         }, {10, 10, 107, 107}},  // a polygon's outline takes its corners
    };
    for (const Draw& d : cases) {
        auto fresh = White(140, 140);
        c = fresh->Canvas();
        HDC h = c->Handle();
        SetMapMode(h, MM_LOMETRIC);
        SetViewportOrgEx(h, 10, 10, nullptr);
        c->Brush().SetColor(clRed);
        d.draw();
        EXPECT_EQ(Inked(*fresh), d.device) << d.what;
        Save(*fresh, std::string("metric_") + d.what);
    }
}

TEST(MappingMode, MirroredAxisDrawsFromTheOtherSide)
{
    auto b = White(100, 40);
    TCanvas* c = b->Canvas();
    MirrorX(c->Handle(), 100, 40);
    c->Brush().SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 10));
    EXPECT_EQ(Inked(*b), (TRect{80, 0, 100, 10}));
    c->Pen().SetColor(clBlue);
    c->MoveTo(20, 20);
    c->LineTo(50, 20);
    EXPECT_EQ(At(*b, 79, 20), clBlue);
    EXPECT_EQ(At(*b, 51, 20), clBlue);
    EXPECT_EQ(At(*b, 50, 20), clWhite) << "the end point is left out, as without a mapping";
    EXPECT_EQ(At(*b, 80, 20), clBlue) << "the start point is drawn";
}

// Clip rectangles are given in logical units and read back in them.
TEST(MappingMode, ClipRectanglesAreMapped)
{
    auto b = Metric(140, 140, 10, 10);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    IntersectClipRect(dc, 0, 0, 127, -127);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (TRect{0, -127, 127, 0}));
    c->Brush().SetColor(clGreen);
    c->FillRect(Rect(-500, 500, 500, -500));
    EXPECT_EQ(Inked(*b), (TRect{10, 10, 58, 58}));
    ExcludeClipRect(dc, 0, 0, 64, -64);
    c->Brush().SetColor(clRed);
    c->FillRect(Rect(-500, 500, 500, -500));
    EXPECT_EQ(At(*b, 12, 12), clGreen);
    EXPECT_EQ(At(*b, 50, 50), clRed);
}

// Text keeps reading left to right, top to bottom: under a y-up metric mapping and under a
// mirrored x axis it is the same picture as unmapped text at the mapped point, in the font
// scaled from logical units.
TEST(MappingMode, TextStaysUpright)
{
    const std::string text = "Rg 42";
    auto plain = White(200, 80);
    {
        TCanvas* c = plain->Canvas();
        c->Font().SetHeight(-48);
        c->Brush().SetStyle(bsClear);
        c->TextOut(20, 10, text);
    }
    ASSERT_FALSE(Inked(*plain).Right == 0);
    Save(*plain, "text_plain");

    auto metric = White(200, 80);
    {
        TCanvas* c = metric->Canvas();
        HDC dc = c->Handle();
        SetMapMode(dc, MM_LOMETRIC);
        SetViewportOrgEx(dc, 20, 10, nullptr);
        c->Font().SetHeight(-127);  // half an inch: 48 pixels
        c->Brush().SetStyle(bsClear);
        c->TextOut(0, 0, text);
        const TSize e = c->TextExtent(text);
        auto device = std::make_unique<TBitmap>(1, 1);
        device->Canvas()->Font().SetHeight(-48);
        const TSize d = device->Canvas()->TextExtent(text);
        EXPECT_NEAR(e.cx, d.cx * 254.0 / 96, 3) << "extents in logical units";
        EXPECT_NEAR(e.cy, d.cy * 254.0 / 96, 3);
        TEXTMETRIC tm;
        GetTextMetrics(dc, tm);
        EXPECT_NEAR(tm.tmHeight, d.cy * 254.0 / 96, 3);
    }
    Save(*metric, "text_metric");

    auto mirrored = White(200, 80);
    {
        TCanvas* c = mirrored->Canvas();
        MirrorX(c->Handle(), 200, 80);
        c->Font().SetHeight(-48);
        c->Brush().SetStyle(bsClear);
        SetTextAlign(c->Handle(), TA_RIGHT);  // the text's logical right end at x: its device left
        c->TextOut(180, 10, text);            // device x 20
    }
    Save(*mirrored, "text_mirrored");
    for (TBitmap* other : {metric.get(), mirrored.get()})
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 200; ++x)
                ASSERT_EQ(At(*other, x, y), At(*plain, x, y)) << x << "," << y;
}

TEST(MappingMode, DrawTextLaysOutOnTheDevice)
{
    auto b = White(200, 100);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    MirrorX(dc, 200, 100);
    c->Font().SetHeight(-20);
    c->Brush().SetStyle(bsClear);
    TRect r{0, 0, 100, 40};  // device 100..200
    DrawText(dc, "Start", -1, &r, DT_LEFT | DT_SINGLELINE);
    const TRect ink = Inked(*b);
    EXPECT_LE(ink.Right, 200);
    EXPECT_GT(ink.Right, 195) << "the logical left side is the device's right one";
    auto other = White(200, 100);
    HDC odc = other->Canvas()->Handle();
    MirrorX(odc, 200, 100);
    other->Canvas()->Font().SetHeight(-20);
    other->Canvas()->Brush().SetStyle(bsClear);
    DrawText(other->Canvas()->Handle(), "End", -1, &r, DT_RIGHT | DT_SINGLELINE);
    const TRect end = Inked(*other);
    EXPECT_GE(end.Left, 100);
    EXPECT_LT(end.Left, 104);
    TRect run{10, 0, 10, 0};
    DrawText(other->Canvas()->Handle(), "Run", -1, &run, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(run.Right, run.Left) << "a measured run grows the logical way, as its text runs";
    EXPECT_GT(run.Bottom, run.Top);

    SetMapMode(dc, MM_LOMETRIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    TRect calc{0, 0, 0, 0};
    const int h = DrawText(dc, "Wide text", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(h, 0);
    EXPECT_GT(calc.Right, 0);
    EXPECT_EQ(calc.Bottom, -h) << "the measured box grows down the page, to lower y";
}

// Pictures are placed on the mapped rectangle and never mirrored.
TEST(MappingMode, BlockTransfersAreMappedUpright)
{
    TBitmap src(20, 10);
    src.Canvas()->Brush().SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 10, 10));
    src.Canvas()->Brush().SetColor(clBlue);
    src.Canvas()->FillRect(Rect(10, 0, 20, 10));
    auto b = White(100, 40);
    TCanvas* c = b->Canvas();
    MirrorX(c->Handle(), 100, 40);
    c->Draw(0, 0, &src);
    EXPECT_EQ(Inked(*b), (TRect{80, 0, 100, 10}));
    EXPECT_EQ(At(*b, 81, 5), clRed);
    EXPECT_EQ(At(*b, 98, 5), clBlue);

    auto m = White(100, 100);
    HDC dc = m->Canvas()->Handle();
    SetMapMode(dc, MM_LOMETRIC);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, 254, -127, src.Canvas()->Handle(), 0, 0, 20, 10, SRCCOPY);
    EXPECT_EQ(Inked(*m), (TRect{0, 0, 96, 48}));
    EXPECT_EQ(At(*m, 2, 2), clRed);
    EXPECT_EQ(At(*m, 94, 2), clBlue);
}

// A pen wider than a pixel is as wide as its logical width.
TEST(MappingMode, WidePensScale)
{
    auto b = Metric(140, 140, 10, 70);
    TCanvas* c = b->Canvas();
    c->Pen().SetWidth(53);  // 20 pixels
    c->Pen().SetColor(clBlack);
    c->MoveTo(0, 0);
    c->LineTo(254, 0);
    const TRect ink = Inked(*b);
    EXPECT_NEAR(ink.Bottom - ink.Top, 20, 1);
}

// A path is collected in logical units and filled, or made a region, on its mapped pixels.
TEST(MappingMode, PathsAreMapped)
{
    auto b = Metric(140, 140, 10, 10);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    c->Brush().SetColor(clRed);
    c->Pen().SetStyle(psClear);
    ASSERT_TRUE(BeginPath(dc));
    const TPoint square[] = {{0, 0}, {254, 0}, {254, -254}, {0, -254}};
    Polygon(dc, square, 4);
    ASSERT_TRUE(EndPath(dc));
    HRGN rgn = PathToRegion(dc);
    ASSERT_TRUE(rgn);
    TRect box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box, (TRect{10, 10, 106, 106}));
    DeleteObject(rgn);
    BeginPath(dc);
    Polygon(dc, square, 4);
    EndPath(dc);
    FillPath(c->Handle());  // the canvas hands its brush to the DC
    const TRect ink = Inked(*b);
    EXPECT_NEAR(ink.Left, 10, 1);
    EXPECT_NEAR(ink.Top, 10, 1);
    EXPECT_NEAR(ink.Right, 106, 1);
    EXPECT_NEAR(ink.Bottom, 106, 1);
}

// On a mirrored x axis a text's box runs the logical way from its point, so words set one
// after the other in logical units read in that order from the right, each upright.
TEST(MappingMode, MirroredTextRunsKeepTheirPlaces)
{
    auto b = White(200, 40);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    MirrorX(dc, 200, 40);
    c->Font().SetHeight(-20);
    c->Brush().SetStyle(bsClear);
    const TSize one = c->TextExtent("Bold");
    c->TextOut(10, 5, "Bold");
    const TRect first = Inked(*b);
    EXPECT_LE(first.Right, 190) << "left of the mapped point";
    EXPECT_GE(first.Left, 190 - one.cx - 1);
    c->TextOut(10 + one.cx + 5, 5, "and");
    const TRect both = Inked(*b);
    EXPECT_LT(both.Left, first.Left - 5) << "the second word lies further left";
    EXPECT_EQ(both.Right, first.Right);
    // TA_UPDATECP moves the pen the logical way by the text's width
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 20, 20, nullptr);
    c->TextOut(0, 0, "Bold");
    TPoint pen;
    MoveToEx(dc, 0, 0, &pen);
    EXPECT_NEAR(pen.X, 20 + one.cx, 1);
    SetTextAlign(dc, TA_LEFT);
}
