// Colour conversions and the drawing helpers of the flat controls.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include <cmath>

#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/GDI.h"
#include "widgets/flat/FlatUtils.h"
#include "widgets/flat/HslUtils.h"

using namespace flat;
using namespace flattest;

TEST(Hsl, RoundTripsOverATableOfColours)
{
    const TColor colours[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00,
                              0x808080, 0xC0C0C0, 0x8396A0, 0xE1EAEB, 0x9CDEF7, 0x123456, 0xFEDCBA, 0x010203};
    for (TColor c : colours) {
        double h, s, l;
        RGBtoHSL(c, h, s, l);
        EXPECT_EQ(HSLtoRGB(h, s, l), c) << std::hex << c;
    }
    // On the 240 scale the round trip lands within the scale's resolution.
    for (TColor c : colours) {
        int h, s, l;
        RGBtoHSLRange(c, h, s, l);
        const COLORREF back = COLORREF(HSLRangeToRGB(h, s, l));
        EXPECT_NEAR(GetRValue(back), GetRValue(COLORREF(c)), 3) << std::hex << c;
        EXPECT_NEAR(GetGValue(back), GetGValue(COLORREF(c)), 3) << std::hex << c;
        EXPECT_NEAR(GetBValue(back), GetBValue(COLORREF(c)), 3) << std::hex << c;
    }
}

TEST(Hsl, IntegerScale)
{
    struct Case {
        TColor colour;
        int h, s, l;
    } cases[] = {{0x0000FF, 0, 240, 120}, {0x00FF00, 80, 240, 120}, {0xFF0000, 159, 240, 120},
                 {0xFFFFFF, 0, 0, 240}, {0x000000, 0, 0, 0}, {0x808080, 0, 0, 120}};
    for (const Case& c : cases) {
        int h, s, l;
        RGBtoHSLRange(c.colour, h, s, l);
        EXPECT_EQ(h, c.h) << std::hex << c.colour;
        EXPECT_EQ(s, c.s) << std::hex << c.colour;
        EXPECT_EQ(l, c.l) << std::hex << c.colour;
    }
}

TEST(AdvancedColor, ShadesOnTheLightnessScale)
{
    EXPECT_EQ(CalcAdvancedColor(clWhite, 0x123456, 0, darken), 0x123456);
    int h, s, l;
    RGBtoHSLRange(CalcAdvancedColor(clWhite, 0, 40, darken), h, s, l);
    EXPECT_EQ(l, 210);
    // A lighter shade is never darker than its base, and white stays white.
    for (TColor base : {TColor(0xE1EAEB), TColor(0x8396A0), TColor(clWhite)}) {
        int hb, sb, lb;
        RGBtoHSLRange(base, hb, sb, lb);
        RGBtoHSLRange(CalcAdvancedColor(base, 0, 50, lighten), h, s, l);
        EXPECT_GE(l, lb) << std::hex << base;
    }
    EXPECT_EQ(CalcAdvancedColor(clWhite, 0, 30, lighten), clWhite);
}

TEST(FlatUtils, SmallHelpers)
{
    EXPECT_EQ(Min(3, 7), 3);
    EXPECT_EQ(Min(7, 3), 3);
    EXPECT_TRUE(RectInRect(Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
    EXPECT_FALSE(RectInRect(Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
    EnsurePlatform();
    TFont f;
    f.SetHeight(-16);
    TEXTMETRIC tm;
    GetFontMetrics(&f, tm);
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_EQ(GetFontHeight(&f), int(std::nearbyint(tm.tmHeight * 9 / 8.0)));
}

TEST(FlatUtils, Frame3DBorderDrawsNestedFrames)
{
    EnsurePlatform();
    TBitmap b(10, 10);
    b.Canvas()->Brush().SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 10, 10));
    Frame3DBorder(b.Canvas(), Rect(0, 0, 10, 10), clRed, clBlue, 0);
    EXPECT_EQ(Count(b, Rect(0, 0, 10, 10), clWhite), 100);
    Frame3DBorder(b.Canvas(), Rect(0, 0, 10, 10), clRed, clBlue, 2);
    for (int i : {0, 1}) {
        EXPECT_EQ(At(b, i, 5), COLORREF(clRed));
        EXPECT_EQ(At(b, 5, i), COLORREF(clRed));
        EXPECT_EQ(At(b, 9 - i, 5), COLORREF(clBlue));
        EXPECT_EQ(At(b, 5, 9 - i), COLORREF(clBlue));
    }
    EXPECT_EQ(At(b, 5, 5), COLORREF(clWhite));
}

TEST(FlatUtils, TransparentAndDisabledBitmaps)
{
    EnsurePlatform();
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush().SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->SetPixel(1, 1, clBlack);
    TBitmap target(6, 6);
    target.Canvas()->Brush().SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 6, 6));
    DrawTransparentBmp(target.Canvas(), 1, 1, &glyph, clFuchsia);
    EXPECT_EQ(At(target, 2, 2), COLORREF(clBlack));
    EXPECT_EQ(Count(target, Rect(0, 0, 6, 6), clWhite), 35);

    std::unique_ptr<TBitmap> d(CreateDisabledBitmap(&glyph, clFuchsia, clSilver, clWhite, clGray, true));
    EXPECT_EQ(At(*d, 1, 1), COLORREF(clGray));
    EXPECT_EQ(At(*d, 2, 2), COLORREF(clWhite));
    EXPECT_EQ(Count(*d, Rect(0, 0, 4, 4), clSilver), 14);
}

TEST_F(FlatTest, ParentImageShowsWhatLiesBehind)
{
    TBitmap b(20, 20);
    b.Canvas()->Brush().SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 20, 20));
    TPanel orphan(nullptr);
    DrawParentImage(&orphan, b.Canvas());
    EXPECT_EQ(Count(b, Rect(0, 0, 20, 20), clWhite), 400);
    // The form paints a red square at (20, 20); a control at (15, 15) has it at (5, 5).
    form->OnPaint = [this](TObject*) {
        form->Canvas()->Brush().SetColor(clRed);
        form->Canvas()->FillRect(Rect(20, 20, 30, 30));
    };
    TPanel probe(form);
    probe.SetParent(form);
    probe.SetBounds(15, 15, 20, 20);
    DrawParentImage(&probe, b.Canvas());
    EXPECT_EQ(At(b, 2, 2), COLORREF(0xE1EAEB));
    EXPECT_EQ(At(b, 5, 5), COLORREF(clRed));
    EXPECT_EQ(At(b, 14, 14), COLORREF(clRed));
    EXPECT_EQ(At(b, 16, 16), COLORREF(0xE1EAEB));
}
