#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "support/TestSupport.h"
#include "support/FilledBitmap.h"

using namespace platform;

namespace {

std::unique_ptr<TBitmap> White(int w, int h) { return testsupport::FilledBitmap(w, h); }

std::vector<TColor> Snapshot(TBitmap& b)
{
    std::vector<TColor> v;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) v.push_back(b.Canvas()->Pixel(x, y));
    return v;
}

struct PixelCase {
    int x, y;
    TColor expected;
};

void ExpectPixels(TBitmap& b, const std::vector<PixelCase>& cases, const char* what)
{
    for (const auto& c : cases)
        EXPECT_EQ(b.Canvas()->Pixel(c.x, c.y), c.expected) << what << " at " << c.x << "," << c.y;
}

}  // namespace

TEST(Canvas, RectangleRightAndBottomEdgesAreExclusive)
{
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    c->Pen().SetColor(clBlack);
    c->Brush().SetColor(clRed);
    c->Rectangle(2, 3, 10, 8);
    ExpectPixels(*b, {{2, 3, clBlack}, {9, 3, clBlack}, {9, 7, clBlack}, {2, 7, clBlack}, {10, 5, clWhite},
                      {5, 8, clWhite}, {1, 3, clWhite}, {2, 2, clWhite}, {5, 5, clRed}, {8, 6, clRed}},
                 "rectangle");
}

TEST(Canvas, RectangleWithoutPenIsOnePixelSmaller)
{
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    c->Pen().SetStyle(psClear);
    c->Brush().SetColor(clBlue);
    c->Rectangle(2, 2, 8, 8);
    ExpectPixels(*b, {{2, 2, clBlue}, {6, 6, clBlue}, {7, 7, clWhite}, {7, 3, clWhite}}, "clear pen");
}

TEST(Canvas, FillAndFrameRect)
{
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    c->Brush().SetColor(clGreen);
    c->FillRect(Rect(2, 2, 5, 6));
    c->Brush().SetColor(clRed);
    c->FrameRect(Rect(10, 10, 15, 14));
    ExpectPixels(*b, {{2, 2, clGreen}, {4, 5, clGreen}, {5, 5, clWhite}, {4, 6, clWhite}, {10, 10, clRed},
                      {14, 13, clRed}, {15, 13, clWhite}, {14, 14, clWhite}, {12, 12, clWhite}},
                 "fill and frame");
}

TEST(Canvas, LineLeavesOutItsLastPixel)
{
    struct Case {
        int x0, y0, x1, y1;
        std::vector<PixelCase> px;
    } cases[] = {
        {1, 1, 8, 1, {{1, 1, clBlack}, {7, 1, clBlack}, {8, 1, clWhite}}},
        {3, 2, 3, 9, {{3, 2, clBlack}, {3, 8, clBlack}, {3, 9, clWhite}}},
        {0, 0, 5, 5, {{0, 0, clBlack}, {4, 4, clBlack}, {5, 5, clWhite}}},
        {9, 9, 4, 9, {{9, 9, clBlack}, {5, 9, clBlack}, {4, 9, clWhite}}},
    };
    for (const auto& k : cases) {
        auto b = White(12, 12);
        b->Canvas()->MoveTo(k.x0, k.y0);
        b->Canvas()->LineTo(k.x1, k.y1);
        EXPECT_EQ(b->Canvas()->PenPos(), Point(k.x1, k.y1));
        ExpectPixels(*b, k.px, "line");
    }
}

TEST(Canvas, LinesToFarPointsDrawTheSamePixelsAsTheirShortTwins)
{
    // The visible part of a line whose ends lie billions of pixels away is the
    // same as that of a short line with the same slope and phase, and costs no
    // more to draw.
    struct Case {
        int fx0, fy0, fx1, fy1;  // far line
        int sx0, sy0, sx1, sy1;  // short twin
        TPenStyle style;
    } cases[] = {
        {3, 2, 2000000003, 1000000002, 3, 2, 203, 102, psSolid},
        {-2000000000, -1000000000, 40, 20, -200, -100, 40, 20, psSolid},
        {-1999999980, 7, 2000000020, 7, -180, 7, 220, 7, psSolid},
        {-1500000000, -2000000000, 1500000000, 2000000000, -150, -200, 150, 200, psSolid},
        {3, 2, 2000000003, 1000000002, 3, 2, 203, 102, psDot},
        {-1999999980, 7, 2000000020, 7, -180, 7, 220, 7, psDashDot},
    };
    for (const auto& k : cases) {
        auto far = White(40, 30), near = White(40, 30);
        for (auto* c : {far->Canvas(), near->Canvas()}) c->Pen().SetStyle(k.style);
        far->Canvas()->MoveTo(k.fx0, k.fy0);
        far->Canvas()->LineTo(k.fx1, k.fy1);
        near->Canvas()->MoveTo(k.sx0, k.sy0);
        near->Canvas()->LineTo(k.sx1, k.sy1);
        EXPECT_EQ(Snapshot(*far), Snapshot(*near)) << k.fx0 << "," << k.fy0 << " to " << k.fx1 << "," << k.fy1;
        EXPECT_NE(Snapshot(*far), Snapshot(*White(40, 30)));
    }
    // Polylines and rectangles take the same path.
    auto b = White(20, 20);
    TPoint pts[] = {{-2000000000, 5}, {2000000000, 5}, {10, -2000000000}};
    b->Canvas()->Rectangle(-2000000000, -2000000000, 15, 15);
    b->Canvas()->Polyline(pts, 3);
    ExpectPixels(*b, {{0, 5, clBlack}, {19, 5, clBlack}, {14, 0, clBlack}, {0, 14, clBlack}, {3, 3, clWhite}},
                 "far polyline and rectangle");
}

TEST(Canvas, PolylineAndDottedPen)
{
    auto b = White(30, 10);
    TCanvas* c = b->Canvas();
    c->Pen().SetStyle(psDot);
    c->MoveTo(0, 1);
    c->LineTo(30, 1);
    int on = 0;
    for (int x = 0; x < 30; ++x) on += c->Pixel(x, 1) == clBlack;
    EXPECT_GT(on, 5);
    EXPECT_LT(on, 25);
    c->Pen().SetStyle(psSolid);
    TPoint pts[] = {{0, 5}, {5, 5}, {5, 9}};
    c->Polyline(pts, 3);
    ExpectPixels(*b, {{0, 5, clBlack}, {5, 5, clBlack}, {5, 8, clBlack}, {5, 9, clWhite}}, "polyline");
}

TEST(Canvas, InvertingModesDrawnTwiceLeaveTheBitmapUnchanged)
{
    struct Case {
        TPenMode mode;
        TBrushStyle brush;
        int penWidth;
    } cases[] = {{pmNotXor, bsClear, 1}, {pmXor, bsClear, 1}, {pmNotXor, bsSolid, 1}, {pmNot, bsClear, 1},
                 {pmXor, bsSolid, 1}, {pmNotXor, bsClear, 3}};
    for (const auto& k : cases) {
        auto b = White(40, 30);
        TCanvas* c = b->Canvas();
        c->Brush().SetColor(clRed);
        c->Ellipse(5, 5, 30, 25);
        c->Pen().SetColor(clBlue);
        c->MoveTo(0, 0);
        c->LineTo(40, 30);
        auto before = Snapshot(*b);
        c->Pen().SetMode(k.mode);
        c->Pen().SetColor(k.mode == pmNotXor ? clBlack : clWhite);  // the colour that changes white
        c->Pen().SetWidth(k.penWidth);
        c->Brush().SetStyle(k.brush);
        if (k.brush == bsSolid) c->Brush().SetColor(clYellow);
        c->Rectangle(3, 4, 33, 21);
        EXPECT_NE(Snapshot(*b), before) << "mode " << k.mode << " drew nothing";
        c->Rectangle(3, 4, 33, 21);
        EXPECT_EQ(Snapshot(*b), before) << "mode " << k.mode << " brush " << k.brush << " width " << k.penWidth;
    }
}

TEST(Canvas, NotXorRectangleOnWhiteDrawsTheComplementOfThePen)
{
    auto b = White(10, 10);
    TCanvas* c = b->Canvas();
    c->Pen().SetMode(pmNotXor);
    c->Pen().SetColor(clBlack);
    c->Brush().SetStyle(bsClear);
    c->Rectangle(1, 1, 6, 6);
    // not (black xor white) = black
    ExpectPixels(*b, {{1, 1, clBlack}, {5, 5, clBlack}, {3, 3, clWhite}, {6, 6, clWhite}}, "not-xor");
}

TEST(Canvas, FocusRectIsDottedAndUndoesItself)
{
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    auto before = Snapshot(*b);
    c->DrawFocusRect(Rect(2, 2, 12, 9));
    EXPECT_NE(c->Pixel(2, 2), c->Pixel(3, 2));
    EXPECT_EQ(c->Pixel(12, 2), clWhite);
    c->DrawFocusRect(Rect(2, 2, 12, 9));
    EXPECT_EQ(Snapshot(*b), before);
}

TEST(Canvas, NestedClipsSaveAndRestore)
{
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    int outer = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, 10, 10);
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 10, 10));
    SaveDC(dc);
    IntersectClipRect(dc, 5, 5, 20, 20);
    EXPECT_EQ(c->ClipRect(), Rect(5, 5, 10, 10));
    c->Brush().SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 20));
    RestoreDC(dc, -1);
    c->Brush().SetColor(clBlue);
    c->FillRect(Rect(0, 0, 5, 20));
    RestoreDC(dc, outer);
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 20, 20));
    c->Brush().SetColor(clGreen);
    c->FillRect(Rect(15, 15, 20, 20));
    ExpectPixels(*b, {{5, 5, clRed}, {9, 9, clRed}, {10, 9, clWhite}, {4, 4, clBlue}, {4, 9, clBlue},
                      {4, 10, clWhite}, {17, 17, clGreen}, {12, 12, clWhite}},
                 "nested clips");
}

// Thin lines under a clip of several rectangles (a hole cut out of the surface) keep
// exactly the pixels of the unclipped line that fall in the clip, solid and dotted.
TEST(Canvas, ThinLinesKeepTheirPixelsInAClipOfSeveralRectangles)
{
    const struct {
        int x0, y0, x1, y1;
        TPenStyle style;
    } lines[] = {{0, 20, 39, 20, psSolid}, {20, 0, 20, 39, psSolid}, {0, 0, 39, 39, psSolid},
                 {39, 3, 2, 36, psSolid},  {5, 0, 25, 39, psDot},   {0, 17, 39, 25, psDot},
                 {0, 12, 39, 12, psDash}};
    for (const auto& l : lines) {
        auto draw = [&](bool clipped) {
            auto b = White(40, 40);
            TCanvas* c = b->Canvas();
            if (clipped) ExcludeClipRect(c->Handle(), 10, 10, 30, 30);
            c->Pen().SetStyle(l.style);
            c->Pen().SetColor(clRed);
            c->MoveTo(l.x0, l.y0);
            c->LineTo(l.x1, l.y1);
            return b;
        };
        auto whole = draw(false), cut = draw(true);
        int kept = 0, hidden = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool inHole = x >= 10 && x < 30 && y >= 10 && y < 30;
                const TColor want = inHole ? clWhite : whole->Canvas()->Pixel(x, y);
                ASSERT_EQ(cut->Canvas()->Pixel(x, y), want) << l.x0 << "," << l.y0 << " at " << x << "," << y;
                if (whole->Canvas()->Pixel(x, y) == clRed) ++(inHole ? hidden : kept);
            }
        EXPECT_GT(kept, 0) << l.x0 << "," << l.y0;
        EXPECT_GT(hidden, 0) << l.x0 << "," << l.y0;
    }
}

// A solid fill keeps to the clip (here with a hole in it), to the surface and to the
// viewport's origin; a rectangle that falls wholly outside the clip leaves every pixel as it was.
TEST(Canvas, FillRectKeepsToClipSurfaceAndOrigin)
{
    const struct {
        TRect fill;
        TPoint origin;
    } cases[] = {{Rect(0, 0, 40, 40), {0, 0}},   {Rect(-5, 8, 50, 14), {0, 0}}, {Rect(2, 2, 30, 30), {6, 4}},
                 {Rect(12, 12, 28, 28), {0, 0}}, {Rect(-10, -10, 5, 5), {-3, 2}}};
    for (const auto& k : cases) {
        auto b = White(40, 40);
        TCanvas* c = b->Canvas();
        HDC dc = c->Handle();
        ExcludeClipRect(dc, 10, 10, 30, 30);
        SetViewportOrgEx(dc, k.origin.X, k.origin.Y, nullptr);
        FillRect(dc, k.fill, RGB(255, 0, 0));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const int lx = x - k.origin.X, ly = y - k.origin.Y;
                const bool filled = lx >= k.fill.Left && lx < k.fill.Right && ly >= k.fill.Top && ly < k.fill.Bottom;
                const bool inHole = x >= 10 && x < 30 && y >= 10 && y < 30;
                ASSERT_EQ(c->Pixel(lx, ly), filled && !inHole ? clRed : clWhite)
                    << k.fill.Left << "," << k.fill.Top << " at " << x << "," << y;
            }
    }
}

TEST(Canvas, ClipRegionsCombine)
{
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    HRGN a = CreateRectRgn(0, 0, 10, 20);
    HRGN e = CreateRectRgn(0, 0, 20, 5);
    EXPECT_EQ(CombineRgn(a, a, e, RGN_DIFF), SIMPLEREGION);
    SelectClipRgn(dc, a);
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, got), 1);
    EXPECT_TRUE(EqualRgn(got, a));
    c->Brush().SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 20));
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetClipRgn(dc, got), 0);
    ExpectPixels(*b, {{2, 2, clWhite}, {2, 6, clRed}, {12, 6, clWhite}}, "region");
    DeleteObject(a);
    DeleteObject(e);
    DeleteObject(got);
}

TEST(Canvas, TextExtentAndDrawTextMeasuring)
{
    auto b = White(200, 100);
    TCanvas* c = b->Canvas();
    c->Font().SetName("Arial");
    c->Font().SetSize(10);
    const int w = c->TextWidth("Hello world"), h = c->TextHeight("Hello world");
    EXPECT_GT(w, 40);
    EXPECT_GE(h, 13);
    EXPECT_LE(h, 18);
    HDC dc = c->Handle();
    struct Case {
        std::string text;
        UINT flags;
        int width;   // box width
        int expectW; // -1: the given text's own width
        int lines;
    } cases[] = {
        {"Hello world", DT_SINGLELINE, 500, w, 1},
        {"Hello world", DT_WORDBREAK, w + 2, w, 1},
        {"Hello world", DT_WORDBREAK, w - 5, std::max(c->TextWidth("Hello"), c->TextWidth("world")), 2},
        {"one\ntwo\r\nthree", 0, 500, c->TextWidth("three"), 3},
        {"&File", DT_SINGLELINE, 500, c->TextWidth("File"), 1},
        {"&File", DT_SINGLELINE | DT_NOPREFIX, 500, c->TextWidth("&File"), 1},
        {"a&&b", DT_SINGLELINE, 500, c->TextWidth("a&b"), 1},
    };
    for (const auto& k : cases) {
        TRect r = Rect(10, 20, 10 + k.width, 25);
        int got = DrawText(dc, k.text, -1, &r, k.flags | DT_CALCRECT);
        EXPECT_EQ(r.Width(), k.expectW) << k.text;
        EXPECT_EQ(r.Height(), h * k.lines) << k.text;
        EXPECT_EQ(got, h * k.lines) << k.text;
        EXPECT_EQ(r.Left, 10);
        EXPECT_EQ(r.Top, 20);
    }
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, tm));
    TRect r = Rect(0, 0, 500, 10);
    DrawText(dc, "a\tb", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.Width(), 8 * tm.tmAveCharWidth + c->TextWidth("b"));
}

// A text measured again in the same font measures the same; any change of the font (or of the
// spacing between characters) measures afresh, also when the text was measured before.
TEST(Canvas, TextExtentFollowsEachChangeOfTheFont)
{
    auto b = White(100, 40);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    const std::string text = "Hullform";
    auto width = [&] { return c->TextWidth(text); };
    c->Font().SetName("Arial");
    c->Font().SetSize(10);
    const int plain = width();
    struct Case {
        const char* what;
        std::function<void()> change, undo;
    } cases[] = {
        {"bold", [&] { c->Font().SetStyle(fsBold); }, [&] { c->Font().SetStyle(0); }},
        {"size", [&] { c->Font().SetSize(20); }, [&] { c->Font().SetSize(10); }},
        {"name", [&] { c->Font().SetName("Courier New"); }, [&] { c->Font().SetName("Arial"); }},
        {"spacing", [&] { SetTextCharacterExtra(dc, 3); }, [&] { SetTextCharacterExtra(dc, 0); }},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(width(), plain) << k.what;
        k.change();
        const int changed = width();
        EXPECT_NE(changed, plain) << k.what;
        EXPECT_EQ(width(), changed) << k.what;
        k.undo();
        EXPECT_EQ(width(), plain) << k.what;
        k.change();
        EXPECT_EQ(width(), changed) << k.what;
        k.undo();
    }
    // The height is the font's, whatever text is measured.
    EXPECT_EQ(c->TextExtent("Wg").cy, c->TextExtent(text).cy);
}

TEST(Canvas, DrawTextVerticalPlacementReturnsTheTextBottom)
{
    auto b = White(100, 60);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    const int h = c->TextHeight("X");
    TRect r = Rect(0, 0, 100, 60);
    EXPECT_EQ(DrawText(dc, "X", -1, &r, DT_SINGLELINE | DT_VCENTER), (60 - h) / 2 + h);
    EXPECT_EQ(DrawText(dc, "X", -1, &r, DT_SINGLELINE | DT_BOTTOM), 60);
    EXPECT_EQ(DrawText(dc, "X", -1, &r, DT_SINGLELINE), h);
}

TEST(Canvas, EndEllipsisDrawsTheCutTextWithDots)
{
    std::string longText;
    while (longText.size() < 10000) longText += "Wide WORDS and narrow ones, ";
    for (const std::string& text : {std::string("A rather long caption that does not fit"), longText}) {
        auto drawn = White(120, 20);
        TCanvas* c = drawn->Canvas();
        c->Brush().SetStyle(bsClear);
        const int box = 80;
        TRect r = Rect(0, 0, box, 20);
        DrawText(c->Handle(), text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);

        // The longest start that fits with the dots; 80 pixels never hold 100 characters.
        std::string cut = text.substr(0, 100);
        while (!cut.empty() && c->TextWidth(cut + "...") > box) cut.pop_back();
        auto expected = White(120, 20);
        expected->Canvas()->Brush().SetStyle(bsClear);
        expected->Canvas()->TextOut(0, 0, cut + "...");
        EXPECT_EQ(Snapshot(*drawn), Snapshot(*expected)) << text.size();
        EXPECT_LT(cut.size(), text.size());

        TRect m = Rect(0, 0, box, 20);
        DrawText(c->Handle(), text, -1, &m, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
        EXPECT_LE(m.Width(), box);
        EXPECT_EQ(m.Width(), c->TextWidth(cut + "..."));
    }
}

TEST(Canvas, TextOutDrawsFontColourAndOpaqueBackground)
{
    auto b = White(100, 30);
    TCanvas* c = b->Canvas();
    c->Font().SetColor(clRed);
    c->Font().SetStyle(fsBold);
    c->Brush().SetColor(clYellow);
    c->TextOut(2, 2, "WWW");
    const TSize ext = c->TextExtent("WWW");
    EXPECT_EQ(c->Pixel(2, 2), clYellow);  // the cell's corner is background
    EXPECT_EQ(c->Pixel(2 + ext.cx, 2), clWhite);
    int red = 0;
    for (int y = 2; y < 2 + ext.cy; ++y)
        for (int x = 2; x < 2 + ext.cx; ++x) red += c->Pixel(x, y) == clRed;
    EXPECT_GT(red, 10);
    // Windows-1252 text is drawn as Unicode: the euro sign is a glyph, not a box of '?'.
    EXPECT_NE(c->TextWidth("\x80"), c->TextWidth("?"));
}

// Runs of text drawn one after another on a canvas: each is placed and clipped as drawn
// alone, whatever the runs before it, a change of clip, a copy of the bitmap or its new size.
TEST(Canvas, TextRunsInTurnKeepToTheirPlaceClipCopyAndSize)
{
    auto b = White(200, 60);
    TCanvas* c = b->Canvas();
    c->Font().SetColor(clRed);
    c->Brush().SetColor(clYellow);
    const TSize ext = c->TextExtent("WW");
    auto inked = [&](TBitmap& bmp, int x, int y) {
        int n = 0;
        for (int py = y; py < y + ext.cy && py < bmp.Height(); ++py)
            for (int px = x; px < x + ext.cx && px < bmp.Width(); ++px) n += bmp.Canvas()->Pixel(px, py) != clWhite;
        return n;
    };
    c->TextOut(150, 30, "WW");
    EXPECT_GT(inked(*b, 150, 30), 10);
    HDC dc = c->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, 100, 60);
    c->TextOut(10, 5, "WW");
    c->TextOut(120, 5, "WW");
    RestoreDC(dc, saved);
    EXPECT_GT(inked(*b, 10, 5), 10);   // inside the new clip
    EXPECT_EQ(inked(*b, 120, 5), 0);   // outside it

    TBitmap copy;
    copy.Assign(*b);
    c->TextOut(10, 35, "WW");
    EXPECT_GT(inked(*b, 10, 35), 10);
    EXPECT_EQ(inked(copy, 10, 35), 0);  // the copy keeps what it had
    EXPECT_GT(inked(copy, 10, 5), 10);

    b->SetSize(300, 60);
    c->TextOut(250, 30, "WW");
    EXPECT_GT(inked(*b, 250, 30), 10);
    EXPECT_GT(inked(*b, 150, 30), 10);
}

// Runs are drawn from glyphs kept from their first drawing; a run with a mnemonic mark is
// shaped by the painter as it is drawn. Both must put the same pixels above the mark's row,
// the first time and when drawn again, in every face and at any place.
TEST(Canvas, KeptGlyphRunsDrawAsTheRunsShapedAtOnce)
{
    const char* texts[] = {"Hydrostatics at heel 0 deg: LCF 4.61 m, TPC 0.146 t/cm",
                           "  spaces before and after  ", "fi ffl AV To Wa Ty", "\xe4\xf6\xfc \xdf \xe9 \xa9 1/2"};
    const struct {
        const char* face;
        int height;
        TFontStyles style;
    } fonts[] = {{"Courier New", -13, {}}, {"Arial", -13, {}}, {"Arial", -17, fsBold}, {"Times New Roman", -15, fsItalic}};
    auto canvas = [](const auto& f) {
        auto b = White(460, 30);
        b->Canvas()->Font().SetName(f.face);
        b->Canvas()->Font().SetHeight(f.height);
        b->Canvas()->Font().SetStyle(f.style);
        b->Canvas()->Font().SetColor(clNavy);
        return b;
    };
    for (const auto& f : fonts)
        for (const char* text : texts)
            for (int x : {0, 3}) {
                SCOPED_TRACE(std::string(f.face) + " " + std::to_string(f.height) + " \"" + text + "\" at " +
                             std::to_string(x));
                auto shaped = canvas(f);
                // "&" before the first character marks it.
                TRect r = Rect(x, 2, 460, 30);
                DrawText(shaped->Canvas()->Handle(), "&" + std::string(text), -1, &r, DT_SINGLELINE | DT_NOCLIP);
                TEXTMETRIC tm{};
                GetTextMetrics(shaped->Canvas()->Handle(), tm);
                for (const char* time : {"first", "again"}) {
                    SCOPED_TRACE(time);
                    auto kept = canvas(f);
                    kept->Canvas()->TextOut(x, 2, text);
                    int differing = 0, inked = 0;
                    for (int y = 0; y < 2 + tm.tmAscent + 1; ++y)
                        for (int px = 0; px < 460; ++px) {
                            differing += kept->Canvas()->Pixel(px, y) != shaped->Canvas()->Pixel(px, y);
                            inked += kept->Canvas()->Pixel(px, y) != clWhite;
                        }
                    EXPECT_EQ(differing, 0);
                    EXPECT_GT(inked, 20);
                }
            }
}

TEST(Canvas, SystemColoursAndNone)
{
    SetSysColorOverride(COLOR_BTNFACE, RGB(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(1, 2, 3));
    ClearSysColorOverrides();
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(unsigned(clBtnFace), 0x8000000Fu);
    auto b = White(4, 4);
    b->Canvas()->Brush().SetColor(clWindow);
    b->Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(COLORREF(b->Canvas()->Pixel(1, 1)), GetSysColor(COLOR_WINDOW));
}

TEST(Canvas, BlitRasterOperations)
{
    auto src = White(10, 10);
    src->Canvas()->Brush().SetColor(clRed);
    src->Canvas()->FillRect(Rect(0, 0, 5, 10));
    struct Case {
        DWORD rop;
        TColor onRed, onWhite;  // result where the source is red / white, over a green destination
    } cases[] = {
        {SRCCOPY, clRed, clWhite},       {SRCPAINT, clYellow, clWhite}, {SRCAND, clBlack, clLime},
        {SRCINVERT, clYellow, clFuchsia}, {NOTSRCCOPY, clAqua, clBlack}, {DSTINVERT, clFuchsia, clFuchsia},
        {BLACKNESS, clBlack, clBlack},   {WHITENESS, clWhite, clWhite},
    };
    for (const auto& k : cases) {
        auto dst = White(10, 10);
        dst->Canvas()->Brush().SetColor(clLime);
        dst->Canvas()->FillRect(Rect(0, 0, 10, 10));
        BitBlt(dst->Canvas()->Handle(), 0, 0, 10, 10, src->Canvas()->Handle(), 0, 0, k.rop);
        EXPECT_EQ(dst->Canvas()->Pixel(2, 2), k.onRed) << std::hex << k.rop;
        EXPECT_EQ(dst->Canvas()->Pixel(7, 2), k.onWhite) << std::hex << k.rop;
    }
}

TEST(Canvas, StretchDrawAndCopyRect)
{
    auto src = White(2, 2);
    src->Canvas()->SetPixel(0, 0, clRed);
    src->Canvas()->SetPixel(1, 1, clBlue);
    auto dst = White(10, 10);
    dst->Canvas()->StretchDraw(Rect(2, 2, 6, 6), src.get());
    ExpectPixels(*dst, {{2, 2, clRed}, {3, 3, clRed}, {4, 4, clBlue}, {5, 5, clBlue}, {4, 2, clWhite},
                        {6, 6, clWhite}},
                 "stretch");
    auto copy = White(10, 10);
    copy->Canvas()->CopyRect(Rect(0, 0, 4, 4), dst->Canvas(), Rect(2, 2, 6, 6));
    ExpectPixels(*copy, {{0, 0, clRed}, {3, 3, clBlue}, {4, 4, clWhite}}, "copy");
}

TEST(Canvas, TransparentBitmapKeepsTheTarget)
{
    auto sprite = White(4, 4);
    sprite->Canvas()->SetPixel(1, 1, clRed);
    sprite->SetTransparent(true);
    EXPECT_EQ(sprite->TransparentColor(), clWhite);
    auto dst = White(6, 6);
    dst->Canvas()->Brush().SetColor(clBlue);
    dst->Canvas()->FillRect(Rect(0, 0, 6, 6));
    dst->Canvas()->Draw(1, 1, sprite.get());
    ExpectPixels(*dst, {{2, 2, clRed}, {1, 1, clBlue}, {4, 4, clBlue}}, "transparent");
}

TEST(Bitmap, ScanLineIsBGRAWords)
{
    auto b = White(3, 2);
    b->Canvas()->SetPixel(1, 1, RGB(10, 20, 30));
    std::uint32_t* row = b->ScanLine(1);
    EXPECT_EQ(row[1] & 0xFFFFFF, 0x0A141Eu);
    row[2] = 0xFF000000u | 0x00FF00u;
    EXPECT_EQ(b->Canvas()->Pixel(2, 1), clLime);
    EXPECT_THROW(b->ScanLine(2), base::ERangeError);
}

TEST(Bitmap, ResizeKeepsPixelsAndFillsWhite)
{
    TBitmap b(2, 2);
    b.Canvas()->SetPixel(0, 0, clRed);
    b.SetSize(4, 3);
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixel(3, 2), clWhite);
    EXPECT_EQ(b.Canvas()->Pixel(4, 2), -1);
}

namespace {

std::string Shell(const std::string& cmd) { return testsupport::RunCapture(cmd); }

// Pixels as ImageMagick reads them: (x, y) -> 0x00BBGGRR.
std::map<std::pair<int, int>, TColor> MagickPixels(const std::string& file)
{
    std::map<std::pair<int, int>, TColor> px;
    std::istringstream in(Shell("convert '" + file + "' -depth 8 txt:- 2>/dev/null"));
    std::string line;
    while (std::getline(in, line)) {
        int x, y, r, g, b;
        if (std::sscanf(line.c_str(), "%d,%d: (%d,%d,%d", &x, &y, &r, &g, &b) == 5) px[{x, y}] = TColor(RGB(r, g, b));
    }
    return px;
}

}  // namespace

TEST(Bitmap, SavedBmpReadsBackInImageMagick)
{
    REQUIRE_TOOL("convert", "imagemagick");
    REQUIRE_TOOL("identify", "imagemagick");
    auto b = White(7, 5);  // odd width: rows are padded
    TCanvas* c = b->Canvas();
    c->SetPixel(0, 0, RGB(255, 0, 0));
    c->SetPixel(6, 4, RGB(1, 2, 3));
    c->SetPixel(3, 2, RGB(10, 200, 30));
    c->Pen().SetColor(clNavy);
    c->MoveTo(0, 4);
    c->LineTo(3, 4);
    testsupport::TempDir scratch;
    const std::string file = scratch.file("saved.bmp");
    b->SaveToFile(file);
    auto px = MagickPixels(file);
    ASSERT_EQ(px.size(), 35u);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(px[std::make_pair(x, y)], c->Pixel(x, y)) << x << "," << y;
    EXPECT_NE(Shell("identify -format '%wx%h' '" + file + "'").find("7x5"), std::string::npos);

    TBitmap back;
    back.LoadFromFile(file);
    EXPECT_EQ(Snapshot(back), Snapshot(*b));
}

TEST(Bitmap, LoadsEveryBmpDepthThatImageMagickWrites)
{
    REQUIRE_TOOL("convert", "imagemagick");
    testsupport::TempDir scratch;
    const std::string dir = scratch.str();
    const std::string src = dir + "/src.png";
    Shell("convert -seed 3 -size 37x9 plasma: -fill '#00FF00' -draw 'point 3,3' -fill white -draw 'point 36,8' '" +
          src + "'");
    struct Case {
        const char* name;
        const char* args;
        int bits;
    } cases[] = {
        {"p1.bmp", "-monochrome -compress None BMP3:", 1},
        {"p4.bmp", "-colors 12 -type palette -compress None BMP3:", 4},
        {"p8.bmp", "-colors 100 -type palette -compress None BMP3:", 8},
        {"r8.bmp", "-colors 100 -type palette -compress RLE BMP3:", 8},
        {"t24.bmp", "-type truecolor -compress None BMP3:", 24},
        {"t32.bmp", "-type TrueColorAlpha BMP:", 32},
    };
    for (const auto& k : cases) {
        const std::string file = dir + "/" + k.name;
        Shell(std::string("convert '") + src + "' " + k.args + "'" + file + "'");
        std::ifstream in(file, std::ios::binary);
        std::string head(30, '\0');
        in.read(head.data(), 30);
        ASSERT_EQ(int((unsigned char)head[28]), k.bits) << k.name << " was not written with the intended depth";
        TBitmap b;
        ASSERT_NO_THROW(b.LoadFromFile(file)) << k.name;
        auto px = MagickPixels(file);
        ASSERT_EQ(int(px.size()), b.Width() * b.Height()) << k.name;
        int wrong = 0;
        for (const auto& kv : px) wrong += b.Canvas()->Pixel(kv.first.first, kv.first.second) != kv.second;
        EXPECT_EQ(wrong, 0) << k.name;
    }
}

TEST(Bitmap, RejectsWhatIsNotABmp)
{
    testsupport::TempDir scratch;
    const std::string dir = scratch.str();
    const std::string cases[] = {"", "BM", "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX",
                                 std::string("BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xff\xff\xff\x7f\1\0\0\0\1\0\x18\0", 30)};
    for (const auto& bytes : cases) {
        std::ofstream(dir + "/bad.bmp", std::ios::binary) << bytes;
        TBitmap b;
        EXPECT_THROW(b.LoadFromFile(dir + "/bad.bmp"), EInvalidGraphic);
    }
    TBitmap b;
    EXPECT_THROW(b.LoadFromFile(dir + "/missing.bmp"), base::EInOutError);
}

namespace {

void Le(std::string& s, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s.push_back(char((v >> (8 * i)) & 255));
}

// A BMP file header and a 40-byte information header; the caller appends the rest.
std::string BmpHead(std::int32_t w, std::int32_t h, int bits, std::uint32_t compression, std::uint32_t clrUsed,
                    std::uint32_t offBits, std::uint32_t hdrSize = 40)
{
    std::string s = "BM";
    Le(s, 0, 4);
    Le(s, 0, 4);
    Le(s, offBits, 4);
    Le(s, hdrSize, 4);
    Le(s, std::uint32_t(w), 4);
    Le(s, std::uint32_t(h), 4);
    Le(s, 1, 2);
    Le(s, std::uint32_t(bits), 2);
    Le(s, compression, 4);
    Le(s, 0, 4);
    Le(s, 0, 4);
    Le(s, 0, 4);
    Le(s, clrUsed, 4);
    Le(s, 0, 4);
    return s;
}

}  // namespace

TEST(Bitmap, MalformedBmpHeadersAreRefusedWithoutReadingPastTheData)
{
    const std::string pal2(8, '\x7f');  // two palette entries
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"header longer than the file", BmpHead(2, 2, 24, 0, 0, 54, 400) + std::string(16, '\0')},
        {"palette cut short", BmpHead(2, 2, 8, 0, 256, 54 + 1024) + std::string(40, '\0')},
        {"pixels cut short", BmpHead(4, 4, 24, 0, 0, 54) + std::string(10, '\0')},
        {"pixels start past the end", BmpHead(1, 1, 24, 0, 0, 5000) + std::string(4, '\0')},
        {"bit fields without their masks", BmpHead(1, 1, 32, 3, 0, 54)},
        {"negative width", BmpHead(-2, 2, 24, 0, 0, 54) + std::string(16, '\0')},
        {"height at the integer limit", BmpHead(1, std::int32_t(0x80000000u), 24, 0, 0, 54) + std::string(4, '\0')},
        {"two bits per pixel", BmpHead(1, 1, 2, 0, 0, 54 + 16) + std::string(20, '\0')},
        {"JPEG compression", BmpHead(1, 1, 24, 4, 0, 54) + std::string(4, '\0')},
        {"RLE8 on 4 bits", BmpHead(1, 1, 4, 1, 2, 62) + pal2 + std::string(4, '\0')},
        {"RLE8 literal run past the end", BmpHead(4, 4, 8, 1, 2, 62) + pal2 + std::string("\0\x40\1\1", 4)},
        {"huge size, nothing behind it", BmpHead(65535, 65535, 24, 0, 0, 54) + std::string(4, '\0')},
        {"huge RLE size, one run", BmpHead(65535, 65535, 8, 1, 2, 62) + pal2 + std::string("\2\1\0\1", 4)},
        {"core header, palette cut short", [] {
             std::string s = "BM";
             Le(s, 0, 4);
             Le(s, 0, 4);
             Le(s, 26 + 768, 4);
             Le(s, 12, 4);
             Le(s, 2, 2);
             Le(s, 2, 2);
             Le(s, 1, 2);
             Le(s, 8, 2);
             return s + std::string(30, '\0');
         }()},
    };
    for (const Case& k : cases) {
        TBitmap b;
        std::istringstream in(k.bytes);
        EXPECT_THROW(b.LoadFromStream(in), EInvalidGraphic) << k.name;
    }
}

TEST(Bitmap, RleRunsAndMovesThatLeaveThePictureAreClipped)
{
    // 4 x 2 pixels, 8 bits, two colours: a run longer than the row, a move far past the
    // picture, then a run that would lie outside it.
    const std::string pal = std::string("\0\0\xff\0", 4) + std::string("\xff\0\0\0", 4);  // red, blue
    const std::string runs = std::string("\x09\1", 2) + std::string("\0\2\xf0\x70", 4) + std::string("\3\0", 2) +
                             std::string("\0\1", 2);
    TBitmap b;
    std::istringstream in(BmpHead(4, 2, 8, 1, 2, 62) + pal + runs);
    ASSERT_NO_THROW(b.LoadFromStream(in));
    ASSERT_EQ(b.Width(), 4);
    ASSERT_EQ(b.Height(), 2);
    // The bottom row (first in the file) is blue; the run does not wrap into the next row.
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Canvas()->Pixel(x, 1), clBlue) << x;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Canvas()->Pixel(x, 0), clBlack) << x;
}

TEST(Canvas, DrawTextAlignsEachLine)
{
    auto b = White(200, 60);
    TCanvas* c = b->Canvas();
    HDC dc = c->Handle();
    const int w = c->TextWidth("Mid");
    struct Case {
        UINT flags;
        int left;  // expected first column of ink at most this far right of the box's left
    } cases[] = {{DT_LEFT, 0}, {DT_CENTER, (100 - w) / 2}, {DT_RIGHT, 100 - w}};
    for (const auto& k : cases) {
        auto img = White(200, 60);
        TRect r = Rect(50, 0, 150, 30);
        img->Canvas()->Brush().SetStyle(bsClear);
        DrawText(img->Canvas()->Handle(), "Mid", -1, &r, k.flags | DT_SINGLELINE);
        int first = -1, last = -1;
        for (int x = 0; x < 200 && first < 0; ++x)
            for (int y = 0; y < 30; ++y)
                if (img->Canvas()->Pixel(x, y) != clWhite) {
                    first = x;
                    break;
                }
        for (int x = 199; x >= 0 && last < 0; --x)
            for (int y = 0; y < 30; ++y)
                if (img->Canvas()->Pixel(x, y) != clWhite) {
                    last = x;
                    break;
                }
        ASSERT_GE(first, 0);
        EXPECT_GE(first, 50 + k.left) << k.flags;
        EXPECT_LE(first, 50 + k.left + 3) << k.flags;
        EXPECT_LT(last, 50 + k.left + w) << k.flags;
    }
    (void)dc;
}

TEST(Canvas, EscapementTurnsTheText)
{
    auto flat = White(100, 100);
    flat->Canvas()->TextOut(50, 50, "WWWWW");
    auto turned = White(100, 100);
    turned->Canvas()->Font().SetEscapement(900);  // upwards
    turned->Canvas()->Brush().SetStyle(bsClear);
    turned->Canvas()->TextOut(50, 90, "WWWWW");
    int inkAbove = 0, inkRight = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (turned->Canvas()->Pixel(x, y) != clWhite) {
                if (y < 80) ++inkAbove;
                if (x > 75) ++inkRight;
            }
    EXPECT_GT(inkAbove, 20);
    EXPECT_EQ(inkRight, 0);
}

TEST(Canvas, HatchBrushLeavesGapsAndPaintsBackgroundWhenOpaque)
{
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    c->Brush().SetColor(clBlack);
    c->Brush().SetStyle(bsCross);
    HDC dc = c->Handle();
    SetBkMode(dc, TRANSPARENT);
    c->FillRect(Rect(0, 0, 20, 20));
    int black = 0, white = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) (c->Pixel(x, y) == clBlack ? black : white)++;
    EXPECT_GT(black, 20);
    EXPECT_GT(white, 200);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 0, 0));
    c->FillRect(Rect(0, 0, 20, 20));
    int red = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) red += c->Pixel(x, y) == clRed;
    EXPECT_GT(red, 200);
}

TEST(Picture, LoadsByExtensionAndRefusesUnknownOnes)
{
    testsupport::TempDir scratch;
    const std::string dir = scratch.str();
    TBitmap b(4, 3);
    b.Canvas()->SetPixel(1, 1, clBlue);
    b.SaveToFile(dir + "/pic.bmp");
    TPicture p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.LoadFromFile(dir + "/pic.bmp");
    EXPECT_EQ(p.Width(), 4);
    EXPECT_EQ(p.Height(), 3);
    EXPECT_EQ(p.Bitmap()->Canvas()->Pixel(1, 1), clBlue);
    EXPECT_EQ(changes, 1);
    std::ofstream(dir + "/pic.xyz") << "x";
    EXPECT_THROW(p.LoadFromFile(dir + "/pic.xyz"), EInvalidGraphic);
    auto dst = White(10, 10);
    dst->Canvas()->StretchDraw(Rect(0, 0, 8, 6), p.Graphic());
    EXPECT_EQ(dst->Canvas()->Pixel(2, 2), clBlue);
}

TEST(Canvas, ScreenDCMeasuresText)
{
    HDC dc = GetDC(nullptr);
    TSize s;
    ASSERT_TRUE(GetTextExtentPoint32(dc, "Hullform", -1, s));
    EXPECT_GT(s.cx, 20);
    EXPECT_GT(s.cy, 8);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CYCURSOR), 32);
}

TEST(Canvas, TextRectClipsAndFillsItsRectangle)
{
    auto b = White(100, 40);
    TCanvas* c = b->Canvas();
    c->Brush().SetColor(clYellow);
    c->Font().SetColor(clBlack);
    c->TextRect(Rect(10, 5, 30, 25), 12, 6, "WWWWWWWWWW");
    EXPECT_EQ(c->Pixel(10, 5), clYellow);   // the whole rectangle is background
    EXPECT_EQ(c->Pixel(29, 24), clYellow);
    for (int y = 0; y < 40; ++y)
        for (int x = 30; x < 100; ++x) ASSERT_EQ(c->Pixel(x, y), clWhite) << x << "," << y;  // clipped
    int ink = 0;
    for (int y = 5; y < 25; ++y)
        for (int x = 10; x < 30; ++x) ink += c->Pixel(x, y) != clYellow;
    EXPECT_GT(ink, 5);
}

TEST(Canvas, EmptyTextMeasuresNothing)
{
    auto b = White(10, 10);
    TRect r = Rect(3, 4, 50, 50);
    EXPECT_EQ(DrawText(b->Canvas()->Handle(), "", -1, &r, DT_CALCRECT | DT_WORDBREAK), 0);
    EXPECT_EQ(r, Rect(3, 4, 3, 4));
}

TEST(Canvas, RecordingCanvasWritesDownEachCallWithItsState)
{
    TRecordingCanvas c(100, 50);
    c.Pen().SetColor(clRed);
    c.MoveTo(1, 2);
    c.LineTo(5, 6);
    c.Brush().SetColor(clYellow);
    c.Rectangle(0, 0, 10, 10);
    c.FillRect(Rect(1, 1, 3, 3));
    c.Font().SetName("Arial");
    c.Font().SetColor(clBlue);
    c.Font().SetStyle(fsBold);
    c.Font().SetSize(10);
    c.TextOut(3, 4, "abc");
    TPoint tri[] = {{0, 0}, {5, 0}, {0, 5}};
    c.Polygon(tri, 3);  // recorded once, not as its fill and outline
    HDC dc = c.Handle();
    SaveDC(dc);
    IntersectClipRect(dc, 10, 10, 20, 20);
    RestoreDC(dc, -1);
    TRect r = Rect(0, 0, 100, 20);
    DrawText(dc, "one\ntwo", -1, &r, 0);
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 100, 50));
    const std::vector<std::string> expected = {
        "MoveTo 1,2",
        "LineTo 1,2 5,6 pen=0000ff/1/0/13",
        "Rectangle 0,0,10,10 pen=0000ff/1/0/13 brush=00ffff/0",
        "FillRect 1,1,3,3 color=00ffff brush=00ffff/0",
        "Text 3,4 'abc' color=ff0000 font=Liberation Sans/-13/1",
        "Polygon 3 pen=0000ff/1/0/13 brush=00ffff/0",
        "SaveDC",
        "Clip 10,10,20,20",
        "RestoreDC -1",
    };
    ASSERT_GE(c.Calls().size(), expected.size() + 2);
    EXPECT_EQ(std::vector<std::string>(c.Calls().begin(), c.Calls().begin() + long(expected.size())), expected);
    EXPECT_EQ(c.Calls()[expected.size()].substr(0, 13), "Text 0,0 'one");
    EXPECT_EQ(c.Calls()[expected.size() + 1].substr(0, 9), "Text 0,15");
}

TEST(Canvas, PieFillsTheSliceBetweenItsRays)
{
    auto b = White(41, 41);
    TCanvas* c = b->Canvas();
    c->Brush().SetColor(clRed);
    c->Pen().SetColor(clBlack);
    // From the ray to the right, counter-clockwise to the ray upwards: the top-right quarter.
    c->Pie(0, 0, 41, 41, 40, 20, 20, 0);
    EXPECT_EQ(c->Pixel(28, 12), clRed);
    EXPECT_EQ(c->Pixel(12, 12), clWhite);
    EXPECT_EQ(c->Pixel(28, 28), clWhite);
    EXPECT_EQ(c->Pixel(12, 28), clWhite);
    auto a = White(41, 41);
    a->Canvas()->Arc(0, 0, 41, 41, 20, 0, 40, 20);  // the other three quarters, outline only
    EXPECT_EQ(a->Canvas()->Pixel(20, 20), clWhite);
    int left = 0, topRight = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            if (a->Canvas()->Pixel(x, y) != clWhite) (x < 18 ? left : (x > 22 && y < 18 ? topRight : left))++;
    EXPECT_GT(left, 20);
    EXPECT_EQ(topRight, 0);
}

TEST(Canvas, TextAlignMovesTheReferencePoint)
{
    TRecordingCanvas c(200, 100);
    const TSize s = c.TextExtent("abc");
    HDC dc = c.Handle();
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    struct Case {
        UINT align;
        int x, y;
    } cases[] = {{TA_LEFT | TA_TOP, 100, 50},
                 {TA_RIGHT | TA_BOTTOM, 100 - s.cx, 50 - s.cy},
                 {TA_CENTER | TA_BASELINE, 100 - s.cx / 2, 50 - tm.tmAscent}};
    for (const auto& k : cases) {
        c.ClearCalls();
        SetTextAlign(dc, k.align);
        c.TextOut(100, 50, "abc");
        ASSERT_EQ(c.Calls().size(), 1u);
        EXPECT_EQ(c.Calls()[0].substr(0, c.Calls()[0].find(" '")),
                  "Text " + std::to_string(k.x) + "," + std::to_string(k.y))
            << k.align;
    }
    // TA_UPDATECP writes at the current position and moves it past the text.
    SetTextAlign(dc, TA_UPDATECP);
    c.MoveTo(7, 8);
    c.TextOut(0, 0, "abc");
    EXPECT_EQ(c.PenPos(), Point(7 + s.cx, 8));
}

TEST(Canvas, StretchBltWithNegativeExtentsMirrors)
{
    auto src = White(4, 1);
    src->Canvas()->SetPixel(0, 0, clRed);
    src->Canvas()->SetPixel(3, 0, clBlue);
    auto dst = White(6, 2);
    StretchBlt(dst->Canvas()->Handle(), 4, 0, -4, 1, src->Canvas()->Handle(), 0, 0, 4, 1, SRCCOPY);
    ExpectPixels(*dst, {{0, 0, clBlue}, {3, 0, clRed}, {4, 0, clWhite}}, "mirrored");
    StretchBlt(dst->Canvas()->Handle(), 0, 1, 4, 1, src->Canvas()->Handle(), 4, 0, -4, 1, SRCCOPY);
    ExpectPixels(*dst, {{0, 1, clBlue}, {3, 1, clRed}}, "source mirrored");
}

TEST(GraphicsObjects, TellOnChangeOnlyWhenAValueChanges)
{
    TFont f;
    TPen p;
    TBrush b;
    int changes = 0;
    f.OnChange = p.OnChange = b.OnChange = [&](TObject*) { ++changes; };
    struct Case {
        const char* name;
        std::function<void()> set;
    };
    const Case cases[] = {
        {"font name", [&] { f.SetName("Arial"); }},     {"font height", [&] { f.SetHeight(-20); }},
        {"font style", [&] { f.SetStyle(fsBold); }},    {"font colour", [&] { f.SetColor(clRed); }},
        {"escapement", [&] { f.SetEscapement(900); }},  {"pitch", [&] { f.SetPitch(fpFixed); }},
        {"pen colour", [&] { p.SetColor(clBlue); }},    {"pen width", [&] { p.SetWidth(3); }},
        {"pen style", [&] { p.SetStyle(psDot); }},      {"pen mode", [&] { p.SetMode(pmXor); }},
        {"brush style", [&] { b.SetStyle(bsCross); }},
    };
    for (const Case& c : cases) {
        changes = 0;
        c.set();
        EXPECT_EQ(changes, 1) << c.name;
        c.set();  // the same value again
        EXPECT_EQ(changes, 1) << c.name;
    }
    changes = 0;
    f.SetName("");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(f.Name(), "Arial");
}

TEST(CanvasFill, FloodFillStopsAtTheBorderOrCoversTheSurfaceColour)
{
    EnsurePlatform();
    TBitmap b(20, 20);
    TCanvas& c = *b.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(TRect{0, 0, 20, 20});
    c.Pen().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);
    c.Rectangle(5, 5, 15, 15);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clRed);
    c.FloodFill(10, 10, clBlack, fsBorder);
    EXPECT_EQ(c.Pixel(10, 10), clRed);
    EXPECT_EQ(c.Pixel(6, 6), clRed);
    EXPECT_EQ(c.Pixel(5, 5), clBlack);
    EXPECT_EQ(c.Pixel(2, 2), clWhite);
    c.Brush().SetColor(clBlue);
    c.FloodFill(0, 0, clWhite, fsSurface);
    EXPECT_EQ(c.Pixel(2, 2), clBlue);
    EXPECT_EQ(c.Pixel(10, 10), clRed);
}

TEST(CanvasFill, BrushCopyReplacesTheKeyColourWithTheBrush)
{
    EnsurePlatform();
    TBitmap src(3, 1), dst(3, 1);
    src.Canvas()->SetPixel(0, 0, clLime);
    src.Canvas()->SetPixel(1, 0, clBlue);
    src.Canvas()->SetPixel(2, 0, clLime);
    dst.Canvas()->Brush().SetColor(clYellow);
    dst.Canvas()->BrushCopy(TRect{0, 0, 3, 1}, &src, TRect{0, 0, 3, 1}, clLime);
    EXPECT_EQ(dst.Canvas()->Pixel(0, 0), clYellow);
    EXPECT_EQ(dst.Canvas()->Pixel(1, 0), clBlue);
    EXPECT_EQ(dst.Canvas()->Pixel(2, 0), clYellow);
}

TEST(CanvasFill, ABitmapSizedHeightFirstDrawsLikeOneSizedAtOnce)
{
    EnsurePlatform();
    TBitmap b;
    b.SetHeight(2);
    b.SetWidth(3);
    b.Canvas()->Brush().SetColor(clRed);
    b.Canvas()->FillRect(TRect{0, 0, 3, 2});
    TBitmap dst(5, 5);
    dst.Canvas()->Brush().SetColor(clWhite);
    dst.Canvas()->FillRect(TRect{0, 0, 5, 5});
    dst.Canvas()->Draw(1, 1, &b);
    EXPECT_EQ(dst.Canvas()->Pixel(1, 1), clRed);
    EXPECT_EQ(dst.Canvas()->Pixel(3, 2), clRed);
    EXPECT_EQ(dst.Canvas()->Pixel(4, 3), clWhite);
}

TEST(CanvasFill, SolidRectanglesMatchTheGeneralPathPixelForPixel)
{
    EnsurePlatform();
    // The same rectangles drawn under a one-rectangle clip (the direct path) and under
    // that clip less one corner pixel, which makes it a region of several rectangles
    // (the general path).
    auto draw = [](bool split, bool brush) {
        auto b = std::make_unique<TBitmap>(40, 30);
        HDC dc = b->Canvas()->Handle();
        b->Canvas()->Brush().SetColor(clWhite);
        b->Canvas()->FillRect(TRect{0, 0, 40, 30});
        HRGN clip = CreateRectRgn(2, 3, 35, 27);
        if (split) {
            HRGN hole = CreateRectRgn(34, 26, 35, 27);
            CombineRgn(clip, clip, hole, RGN_DIFF);
            DeleteObject(hole);
        }
        SelectClipRgn(dc, clip);
        DeleteObject(clip);
        b->Canvas()->Pen().SetColor(clRed);
        b->Canvas()->Brush().SetStyle(brush ? bsSolid : bsClear);
        b->Canvas()->Brush().SetColor(clBlue);
        const TRect rects[] = {{5, 5, 12, 12}, {0, 0, 40, 30}, {30, 20, 38, 29}, {10, 14, 11, 20},
                               {14, 4, 20, 5},  {25, 8, 18, 15}, {6, 22, 6, 26}};
        for (const TRect& r : rects) b->Canvas()->Rectangle(r);
        return b;
    };
    for (bool brush : {true, false}) {
        auto fast = draw(false, brush), general = draw(true, brush);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if (x != 34 || y != 26) {
                    ASSERT_EQ(fast->Canvas()->Pixel(x, y), general->Canvas()->Pixel(x, y)) << x << "," << y << " " << brush;
                }
    }
}
