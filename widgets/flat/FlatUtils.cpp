#include "widgets/flat/FlatUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/flat/HslUtils.h"

namespace flat {

using namespace platform;

void Frame3DBorder(TCanvas* canvas, const TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas->Pen().SetWidth(1);
    TRect r = rect;
    --r.Right;
    --r.Bottom;
    for (int i = 0; i < width; ++i) {
        canvas->Pen().SetColor(topColor);
        const TPoint top[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        canvas->Polyline(top, 3);
        canvas->Pen().SetColor(bottomColor);
        const TPoint bottom[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        canvas->Polyline(bottom, 3);
        InflateRect(r, -1, -1);
    }
}

namespace {

COLORREF PixelRGB(std::uint32_t p) { return RGB(int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255)); }

// Calls put(x, y) for every pixel of bitmap that is not of colour key.
template <class Put>
void ForOpaquePixels(TBitmap* bitmap, COLORREF key, Put&& put)
{
    for (int row = 0; row < bitmap->Height(); ++row) {
        const std::uint32_t* src = bitmap->ScanLine(row);
        for (int col = 0; col < bitmap->Width(); ++col)
            if (PixelRGB(src[col]) != key) put(col, row, src[col]);
    }
}

}  // namespace

void DrawTransparentBmp(TCanvas* canvas, int x, int y, TBitmap* bitmap, TColor transparent)
{
    if (!bitmap || bitmap->Empty()) return;
    ForOpaquePixels(bitmap, ColorToRGB(transparent) & 0xFFFFFF,
                    [&](int col, int row, std::uint32_t p) { canvas->SetPixel(x + col, y + row, TColor(PixelRGB(p))); });
}

void DrawParentImage(TControl* control, TCanvas* canvas)
{
    TWinControl* parent = control ? control->Parent() : nullptr;
    if (!parent) return;
    HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    TPoint org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.X - control->Left(), org.Y - control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, WPARAM(dc));
    parent->Perform(WM_PAINT, WPARAM(dc));
    RestoreDC(dc, saved);
    canvas->Refresh();
}

TBitmap* CreateDisabledBitmap(TBitmap* source, TColor maskColor, TColor backColor, TColor highlightColor,
                              TColor shadowColor, bool drawHighlight)
{
    auto result = std::make_unique<TBitmap>(source->Width(), source->Height());
    const int w = source->Width(), h = source->Height();
    const COLORREF key = ColorToRGB(maskColor) & 0xFFFFFF;
    TCanvas* c = result->Canvas();
    c->Brush().SetColor(backColor);
    c->FillRect(Rect(0, 0, w, h));
    // Where the picture is not the mask colour, the brush paints: first the highlight one
    // pixel down and right, then the shadow in place.
    auto stamp = [&](int dx, int dy, TColor color) {
        const TColor rgb = TColor(ColorToRGB(color));
        ForOpaquePixels(source, key, [&](int col, int row, std::uint32_t) {
            if (col + dx < w && row + dy < h) c->SetPixel(col + dx, row + dy, rgb);
        });
    };
    if (drawHighlight) stamp(1, 1, highlightColor);
    stamp(0, 0, shadowColor);
    return result.release();
}

TColor CalcAdvancedColor(TColor base, TColor old, int amount, TColorCalcType type)
{
    if (amount == 0) return old;
    int h, s, l;
    RGBtoHSLRange(TColor(ColorToRGB(base)), h, s, l);
    l += 10;
    // Lightening stops at the top of the scale, so a lighter shade is never darker.
    l = type == darken ? l - amount : l + amount;
    l = std::clamp(l, 0, HSLRange);
    return HSLRangeToRGB(h, s, l);
}

void CalcButtonLayout(TCanvas* canvas, const TRect& client, TPoint offset, TButtonLayout layout, int spacing,
                      int margin, TBitmap* glyph, int glyphCount, const std::string& caption, TRect& textBounds,
                      TPoint& glyphPos)
{
    TButtonGlyph g;
    if (glyph && !glyph->Empty()) {
        g.SetGlyph(glyph);
        g.SetNumGlyphs(std::max(1, glyphCount));
    }
    g.CalcLayout(canvas, client, offset, caption, layout, margin, spacing, glyphPos, textBounds);
}

void DrawFlatText(TCanvas* canvas, TRect r, const std::string& text, UINT flags, bool enabled)
{
    canvas->Brush().SetStyle(bsClear);
    const TColor color = canvas->Font().Color();
    if (!enabled) {
        TRect light = r;
        OffsetRect(light, 1, 1);
        canvas->Font().SetColor(clBtnHighlight);
        DrawText(canvas->Handle(), text, -1, &light, flags);
        canvas->Font().SetColor(clBtnShadow);
    }
    DrawText(canvas->Handle(), text, -1, &r, flags);
    canvas->Font().SetColor(color);
    canvas->Brush().SetStyle(bsSolid);
}

void DrawFlatArrow(TCanvas* c, int x, int y, bool up, bool usable, TColor color)
{
    auto draw = [&](int dx, int dy, TColor fill) {
        c->Pen().SetColor(fill);
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(fill);
        const int a = up ? y + 2 : y, b = up ? y : y + 2;
        const TPoint pts[] = {{x + 4 + dx, a + dy}, {x + 8 + dx, a + dy}, {x + 6 + dx, b + dy}};
        c->Polygon(pts, 3);
    };
    if (usable) {
        draw(0, 0, color);
    } else {
        draw(1, 1, clWhite);
        draw(0, 0, clGray);
    }
}

void DrawCheckMark(TCanvas* c, int x, int y, TColor color)
{
    static const int lines[6][4] = {{2, 4, 6, 8}, {2, 5, 5, 8}, {2, 6, 5, 9}, {8, 2, 4, 6}, {8, 3, 4, 7}, {8, 4, 5, 7}};
    c->Pen().SetColor(color);
    c->Pen().SetWidth(1);
    for (const auto& l : lines) {
        c->MoveTo(x + l[0], y + l[1]);
        c->LineTo(x + l[2], y + l[3]);
    }
}

Word Min(Word a, Word b) { return b < a ? b : a; }

void GetFontMetrics(TFont* font, TEXTMETRIC& tm)
{
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font().Assign(*font);
    GetTextMetrics(scratch.Canvas()->Handle(), tm);
}

int GetFontHeight(TFont* font)
{
    TEXTMETRIC tm;
    GetFontMetrics(font, tm);
    return int(std::nearbyint(tm.tmHeight + tm.tmHeight / 8.0));
}

bool RectInRect(const TRect& r1, const TRect& r2)
{
    TRect dummy;
    return IntersectRect(dummy, r1, r2);
}

}  // namespace flat
