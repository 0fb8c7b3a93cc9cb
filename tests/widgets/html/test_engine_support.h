#pragma once
// A white bitmap to lay out, draw and hit-test mini-HTML in, and pixel queries.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "TestImages.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/PictureContainer.h"

namespace enginetest {

using namespace platform;

struct Ink {
    int left = -1, top = -1, right = -1, bottom = -1;  // inclusive; -1 when nothing
    bool Empty() const { return left < 0; }
};

// Every channel within tol; drawn text never quite reaches its colour.
inline bool Near(TColor a, TColor b, int tol = 80)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tol && std::abs(GetGValue(a) - GetGValue(b)) <= tol &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tol;
}

struct Surface {
    TBitmap bmp;
    explicit Surface(int w = 320, int h = 120) : bmp(w, h)
    {
        TCanvas* c = bmp.Canvas();
        c->Brush().SetColor(clWhite);
        c->FillRect(Rect(0, 0, w, h));
        c->Font().SetName("Arial");
        c->Font().SetSize(10);
        c->Font().SetColor(clBlack);
    }
    TCanvas* C() { return bmp.Canvas(); }
    TColor At(int x, int y) { return bmp.Canvas()->Pixel(x, y); }
    void Clear()
    {
        TCanvas* c = bmp.Canvas();
        c->Brush().SetColor(clWhite);
        c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    }
    int GH() { return C()->TextHeight("gh"); }
    int TW(const std::string& s) { return C()->TextWidth(s); }

    // Bounding box of pixels that are not white, inside r.
    Ink InkIn(TRect r)
    {
        Ink k;
        r.Right = std::min(r.Right, bmp.Width());
        r.Bottom = std::min(r.Bottom, bmp.Height());
        for (int y = std::max(0, r.Top); y < r.Bottom; ++y)
            for (int x = std::max(0, r.Left); x < r.Right; ++x)
                if (At(x, y) != clWhite) {
                    if (k.left < 0 || x < k.left) k.left = x;
                    if (k.right < x) k.right = x;
                    if (k.top < 0 || y < k.top) k.top = y;
                    if (k.bottom < y) k.bottom = y;
                }
        return k;
    }
    Ink AllInk() { return InkIn(Rect(0, 0, bmp.Width(), bmp.Height())); }
    int Count(TRect r, TColor c, int tol = 80)
    {
        int n = 0;
        r.Right = std::min(r.Right, bmp.Width());
        r.Bottom = std::min(r.Bottom, bmp.Height());
        for (int y = std::max(0, r.Top); y < r.Bottom; ++y)
            for (int x = std::max(0, r.Left); x < r.Right; ++x)
                if (Near(At(x, y), c, tol)) ++n;
        return n;
    }
};

struct Call {
    html::HTMLDrawParams p;
    html::HTMLDrawResult r;
    bool hit = false;
    Call(Surface& s, std::string_view text, html::HTMLVariant v = html::HTMLVariant::Grid,
         TRect rect = Rect(0, 0, 300, 100))
    {
        p.Variant = v;
        p.Canvas = s.C();
        p.Text = text;
        p.TextRect = rect;
    }
    // A hit test at (x, y) instead of a paint.
    Call& HitAt(int x, int y)
    {
        p.HitTestOnly = true;
        p.HitX = x;
        p.HitY = y;
        return *this;
    }
    Call& Run()
    {
        hit = html::HTMLDrawEx(p, r);
        return *this;
    }
};

inline html::HTMLDrawResult Measure(Surface& s, std::string_view text, html::HTMLVariant v = html::HTMLVariant::Grid,
                                    TRect rect = Rect(0, 0, 10000, 10000), bool wordWrap = false)
{
    Call c(s, text, v, rect);
    c.p.MeasureOnly = true;
    c.p.WordWrap = wordWrap;
    return c.Run().r;
}

inline bool Draw(Surface& s, std::string_view text, html::HTMLVariant v = html::HTMLVariant::Grid,
                 TRect rect = Rect(0, 0, 300, 100), bool wordWrap = false)
{
    Call c(s, text, v, rect);
    c.p.WordWrap = wordWrap;
    return c.Run().hit;
}

// Stops at the first pixel of the w x h corner where a and b differ.
inline void AssertSamePixels(Surface& a, Surface& b, int w, int h)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
}

// Adds a named w x h bitmap of one colour (0xRRGGBB) to the container.
inline html::TPictureItem* AddBmpPicture(html::TPictureContainer& container, const std::string& name, int w, int h,
                                         std::uint32_t rgb)
{
    html::TPictureItem* item = container.Items()->Add();
    item->Name = name;
    std::istringstream bytes(testimages::MakeBmp(w, h, rgb));
    item->Picture()->LoadFromStream(bytes);
    return item;
}

}  // namespace enginetest
