#include "widgets/frame/ExMenuUtil.h"

#include <algorithm>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"

namespace frame {

using namespace platform;

EInvalidPropertyIndex::EInvalidPropertyIndex(int index)
    : base::Exception("Invalid property index " + std::to_string(index) + ".")
{
}

bool RectInRect(const TRect& r1, const TRect& r2)
{
    return PtInRect(r2, r1.TopLeft()) && PtInRect(r2, r1.BottomRight());
}

TPoint CenterPoint(const TRect& r) { return Point(r.Left + (r.Right - r.Left) / 2, r.Top + (r.Bottom - r.Top) / 2); }

void CenterRect(TRect& r, int w, int h)
{
    r.Right = (r.Left + r.Right + w) / 2;
    r.Bottom = (r.Top + r.Bottom + h) / 2;
    r.Left = r.Right - w;
    r.Top = r.Bottom - h;
}

TRect BitmapRect(TBitmap* bitmap) { return bitmap ? Rect(0, 0, bitmap->Width(), bitmap->Height()) : NilRect; }

void ColorToRGBVal(TColor color, int& r, int& g, int& b)
{
    const COLORREF c = ColorToRGB(color);
    r = int(c & 255);
    g = int((c >> 8) & 255);
    b = int((c >> 16) & 255);
}

std::uint32_t ColorTo24bitScanLineElement(TColor color)
{
    int r, g, b;
    ColorToRGBVal(color, r, g, b);
    return std::uint32_t(b) | (std::uint32_t(g) << 8) | (std::uint32_t(r) << 16);
}

std::uint32_t ColorTo32bitScanLineElement(TColor color)
{
    const std::uint32_t c = std::uint32_t(color);
    return (c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
}

std::unique_ptr<TFont> CreateRotatedFont(const TFont& font, int angle)
{
    auto f = std::make_unique<TFont>();
    f->Assign(font);
    f->SetEscapement(angle * 10);
    return f;
}

bool SupportsLayeredWindows() { return false; }

bool SetWindowLayered(HWND, bool) { return true; }

// ---------------------------------------------------------------- gradients

namespace {

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2, TColor c)
{
    canvas->Pen().SetColor(c);
    canvas->Pen().SetWidth(1);
    canvas->Pen().SetStyle(psSolid);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

void Fill(TCanvas* canvas, const TRect& r, TColor c)
{
    canvas->Brush().SetStyle(bsSolid);
    canvas->Brush().SetColor(c);
    canvas->FillRect(r);
}

TColor Mix(int r0, int g0, int b0, int dr, int dg, int db, int d, int n)
{
    return TColor(platform::RGB((r0 + dr * d / n) & 255, (g0 + dg * d / n) & 255, (b0 + db * d / n) & 255));
}

}  // namespace

void DrawGradient(TCanvas* canvas, TRect r, TColor from, TColor to, TGradientDirection direction)
{
    if (to == clNone) to = from;
    const TColor f = TColor(ColorToRGB(from)), t = TColor(ColorToRGB(to));
    if (f == t) {
        Fill(canvas, r, f);
        return;
    }
    int r0, g0, b0, r1, g1, b1;
    ColorToRGBVal(f, r0, g0, b0);
    ColorToRGBVal(t, r1, g1, b1);
    const int dr = r1 - r0, dg = g1 - g0, db = b1 - b0;
    if (direction == gdVertical) {
        const int h = RectHeight(r);
        for (int y = r.Top; h > 0 && y < r.Bottom; ++y)
            Line(canvas, r.Left, y, r.Left + RectWidth(r), y, Mix(r0, g0, b0, dr, dg, db, y - r.Top, h));
    } else {
        const int w = RectWidth(r);
        for (int x = r.Left; w > 0 && x < r.Right; ++x)
            Line(canvas, x, r.Top, x, r.Bottom, Mix(r0, g0, b0, dr, dg, db, x - r.Left, w));
    }
}

void DrawGradientClipped(TCanvas* canvas, TRect r, TRect clip, TColor from, TColor to, TGradientDirection direction)
{
    TRect s;
    IntersectRect(s, r, clip);
    if (RectWidth(s) <= 0 || RectHeight(s) <= 0) return;
    if (to == clNone) to = from;
    int r0, g0, b0, r1, g1, b1;
    ColorToRGBVal(from, r0, g0, b0);
    ColorToRGBVal(to, r1, g1, b1);
    const int dr = r1 - r0, dg = g1 - g0, db = b1 - b0;
    TColor a, b;
    if (direction == gdHorizontal) {
        const int w = std::max(1, RectWidth(r));
        a = Mix(r0, g0, b0, dr, dg, db, s.Left - r.Left, w);
        b = Mix(r0, g0, b0, dr, dg, db, s.Right - r.Left, w);
    } else {
        const int h = std::max(1, RectHeight(r));
        a = Mix(r0, g0, b0, dr, dg, db, s.Top - r.Top, h);
        b = Mix(r0, g0, b0, dr, dg, db, s.Bottom - r.Top, h);
    }
    DrawGradient(canvas, s, a, b, direction);
}

void DrawFramedGradient(TCanvas* canvas, TRect r, TColor from, TColor to, TGradientDirection direction, TColor border,
                        bool fill)
{
    if (fill && from != clNone) DrawGradient(canvas, r, from, to, direction);
    if (border != clNone) {
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(border);
        canvas->FrameRect(r);
    }
}

void DrawGradientEx(TCanvas* canvas, TRect r, TColor from, TColor to, TGradientDirection direction,
                    TGradientType type, int gw, int margin)
{
    if (to == clNone) to = from;
    if (direction == gdVertical) {
        r.Top += margin;
        r.Bottom -= margin;
        if (type == gtBoth) gw *= 2;
        const int t = r.Top, b = r.Bottom;
        if (RectHeight(r) <= gw) {
            gw = RectHeight(r);
        } else {
            switch (type) {
            case gtLeft: Fill(canvas, Rect(r.Left, t, r.Right, b - gw), to); break;
            case gtRight: Fill(canvas, Rect(r.Left, t + gw, r.Right, b), to); break;
            case gtBoth: Fill(canvas, Rect(r.Left, t + gw / 2, r.Right, b - gw / 2), from); break;
            }
        }
        if (gw > 0) {
            switch (type) {
            case gtLeft: DrawGradient(canvas, Rect(r.Left, b - gw, r.Right, b), to, from, direction); break;
            case gtRight: DrawGradient(canvas, Rect(r.Left, t, r.Right, t + gw), from, to, direction); break;
            case gtBoth:
                DrawGradient(canvas, Rect(r.Left, t, r.Right, t + gw / 2), to, from, direction);
                DrawGradient(canvas, Rect(r.Left, b - gw / 2, r.Right, b), from, to, direction);
                break;
            }
        }
    } else {
        r.Left += margin;
        r.Right -= margin;
        const int l = r.Left, rr = r.Right;
        if (RectWidth(r) <= gw) {
            gw = RectWidth(r);
        } else {
            switch (type) {
            case gtLeft: Fill(canvas, Rect(l + gw, r.Top, rr, r.Bottom), to); break;
            case gtRight: Fill(canvas, Rect(l, r.Top, rr - gw, r.Bottom), to); break;
            case gtBoth: Fill(canvas, Rect(l + gw / 2, r.Top, rr - gw / 2, r.Bottom), from); break;
            }
        }
        if (gw > 0) {
            switch (type) {
            case gtLeft: DrawGradient(canvas, Rect(l, r.Top, l + gw, r.Bottom), from, to, direction); break;
            case gtRight: DrawGradient(canvas, Rect(rr - gw, r.Top, rr, r.Bottom), to, from, direction); break;
            case gtBoth:
                DrawGradient(canvas, Rect(l, r.Top, l + gw / 2, r.Bottom), to, from, direction);
                DrawGradient(canvas, Rect(rr - gw / 2, r.Top, rr, r.Bottom), from, to, direction);
                break;
            }
        }
    }
}

void DrawFadeLine(TCanvas* canvas, TRect r1, TRect r2, TColor color, int fadeWidth, bool gap)
{
    const int y = std::max(r2.Top, r1.Top);
    const int mid = r2.Left + RectWidth(r2) / 2;
    int cr, cg, cb;
    ColorToRGBVal(color, cr, cg, cb);
    auto plot = [&](int x) {
        TColor c = TColor(ColorToRGB(color));
        const int fromLeft = x - r2.Left, fromRight = r2.Right - x;
        if (fadeWidth > 0 && (fromLeft < fadeWidth || fromRight < fadeWidth)) {
            const int d = fromLeft < fadeWidth ? fromLeft : fromRight;
            int pr, pg, pb;
            ColorToRGBVal(canvas->Pixel(x, y), pr, pg, pb);
            c = TColor(platform::RGB(pr + (cr - pr) * d / fadeWidth, pg + (cg - pg) * d / fadeWidth,
                                     pb + (cb - pb) * d / fadeWidth));
        }
        canvas->SetPixel(x, y, c);
    };
    const int end1 = gap ? std::min(mid, r1.Left) - 1 : mid;
    const int start2 = gap ? std::max(mid, r1.Right) : mid;
    for (int x = r2.Left; x < end1; ++x) plot(x);
    for (int x = start2; x < r2.Right; ++x) plot(x);
}

}  // namespace frame
