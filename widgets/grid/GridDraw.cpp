#include "widgets/grid/GridDraw.h"

#include <cmath>
#include <cstdint>
#include <sstream>

#include "platform/controls/FrameControl.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Resources.h"
#include "widgets/html/ThemeApi.h"

namespace grid {

using namespace platform;

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

void PenAndBrush(TCanvas& canvas, TColor c)
{
    canvas.Pen().SetColor(c);
    canvas.Brush().SetColor(c);
}

// The node glyphs: a box with a plus (closed) or a minus (open) on a key colour that
// the transparent drawing replaces.
std::string GlyphBmp(int size, bool open)
{
    constexpr TColor key = 0xFF00FF;
    TBitmap b(size, size);
    TCanvas& c = *b.Canvas();
    PenAndBrush(c, key);
    c.Rectangle(0, 0, size, size);
    const int box = size >= 16 ? 9 : size, o = (size - box) / 2;
    c.Pen().SetColor(0x808080);
    c.Brush().SetColor(clWhite);
    c.Rectangle(o, o, o + box, o + box);
    c.Pen().SetColor(clBlack);
    const int mid = o + box / 2;
    c.MoveTo(o + 2, mid);
    c.LineTo(o + box - 2, mid);
    if (!open) {
        c.MoveTo(mid, o + 2);
        c.LineTo(mid, o + box - 2);
    }
    std::ostringstream out;
    b.SaveToStream(out);
    return out.str();
}

// The column-filter mark: a funnel on the key colour.
std::string FilterGlyphBmp()
{
    constexpr TColor key = 0xFF00FF;
    TBitmap b(16, 16);
    TCanvas& c = *b.Canvas();
    PenAndBrush(c, key);
    c.Rectangle(0, 0, 16, 16);
    PenAndBrush(c, clBlack);
    const TPoint funnel[] = {{3, 4}, {12, 4}, {9, 8}, {9, 12}, {6, 13}, {6, 8}};
    c.Polygon(funnel, 6);
    std::ostringstream out;
    b.SaveToStream(out);
    return out.str();
}

void RegisterGlyphs()
{
    static const bool done = [] {
        const struct {
            const char* name;
            int size;
            bool open;
        } glyphs[] = {{"GRDLEAFCLOSE", 16, false}, {"GRDLEAFOPEN", 16, true}, {"XPNODEC", 9, false}, {"XPNODEO", 9, true}};
        for (const auto& g : glyphs) {
            std::string data;
            if (!FindResourceData(HInstance(), RT_BITMAP, g.name, data))
                RegisterResource(HInstance(), RT_BITMAP, g.name, GlyphBmp(g.size, g.open));
        }
        std::string data;
        if (!FindResourceData(HInstance(), RT_BITMAP, "GRDFILT", data))
            RegisterResource(HInstance(), RT_BITMAP, "GRDFILT", FilterGlyphBmp());
        return true;
    }();
    (void)done;
}

}  // namespace

void DrawLine(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas.Pen().SetColor(color);
    canvas.Pen().SetWidth(1);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

void DrawGradient(TCanvas& canvas, TColor from, TColor to, int steps, const TRect& r, bool horizontal)
{
    if (to == clNone) {
        PenAndBrush(canvas, TColor(ColorToRGB(from)));
        canvas.Rectangle(r);
        return;
    }
    if (steps <= 0) steps = 1;
    const COLORREF a = ColorToRGB(from), b = ColorToRGB(to);
    const double dr = double(GetRValue(b) - GetRValue(a)) / steps;
    const double dg = double(GetGValue(b) - GetGValue(a)) / steps;
    const double db = double(GetBValue(b) - GetBValue(a)) / steps;
    const double band = double(horizontal ? r.Width() : r.Height()) / steps;
    const int width = RoundEven(band);
    for (int i = 0; i < steps; ++i) {
        const TColor c = RGB(RoundEven(GetRValue(a) + i * dr), RoundEven(GetGValue(a) + i * dg),
                             RoundEven(GetBValue(a) + i * db));
        PenAndBrush(canvas, c);
        const int offset = static_cast<uint16_t>(RoundEven(i * band));
        if (horizontal) canvas.Rectangle(r.Left + offset, r.Top, r.Left + offset + width + 1, r.Bottom);
        else canvas.Rectangle(r.Left, r.Top + offset, r.Right, r.Top + offset + width + 1);
    }
}

void DrawProgressLin(TCanvas& canvas, TRect r, TColor doneColor, TColor doneTextColor, TColor restColor,
                     TColor restTextColor, int percentage, int marginX, int marginY)
{
    const TColor remembered = canvas.Brush().Color();
    PenAndBrush(canvas, doneColor);
    canvas.Font().SetColor(doneTextColor);
    r = TRect{r.Left + marginX, r.Top + marginY, r.Right - marginX, r.Bottom - marginY};
    TRect done = r;
    done.Right = r.Left + RoundEven(r.Width() * percentage / 100.0);
    const std::string label = std::to_string(percentage) + "%";
    const TSize size = canvas.TextExtent(label);
    const int x = r.Left + (r.Width() - size.cx) / 2, y = r.Top + (r.Height() - size.cy) / 2;
    canvas.TextRect(done, x, y, label);

    PenAndBrush(canvas, restColor);
    canvas.Font().SetColor(restTextColor);
    canvas.TextRect(TRect{done.Right, r.Top, r.Right, r.Bottom}, x, y, label);

    canvas.Brush().SetColor(clBlack);
    canvas.Pen().SetColor(remembered);
    canvas.FrameRect(TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
    canvas.Brush().SetColor(remembered);
    canvas.FrameRect(TRect{r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2});
}

void DrawProgressPie(TCanvas& canvas, const TRect& r, TColor fillColor, int percentage)
{
    constexpr TColor grey = 0x808080;
    canvas.Pen().SetColor(grey);
    canvas.Pen().SetWidth(1);
    canvas.Ellipse(r);
    const int w = r.Width(), h = r.Height();
    const int cx = r.Left + w / 2, cy = r.Top + h / 2;
    canvas.MoveTo(cx, r.Top);
    canvas.LineTo(cx, cy);
    const double angle = percentage / 100.0 * 2 * M_PI;
    const TPoint end{cx + RoundEven((w + 1) * 0.5 * std::sin(angle)), cy - RoundEven((h + 1) * 0.5 * std::cos(angle))};
    canvas.LineTo(end.X, end.Y);
    // At 0 % both radii lie on one line and the fill would cover the whole pie.
    if (percentage <= 0) return;
    canvas.Brush().SetColor(fillColor);
    if (GetDeviceCaps(canvas.Handle(), HORZRES) > 0) {
        canvas.FloodFill(cx + 1, r.Top + 1, grey, fsBorder);
    } else {
        // a printer has no pixels to fill: the sector, clockwise from twelve o'clock
        const TPoint top{cx, r.Top};
        if (percentage >= 100) canvas.Ellipse(r);
        else canvas.Pie(r.Left, r.Top, r.Right, r.Bottom, end.X, end.Y, top.X, top.Y);
    }
}

void DrawErrorLines(TControl*, TCanvas& canvas, const std::string& text, const TRect& r, int offsetY, int start,
                    int length)
{
    const int n = static_cast<int>(text.size());
    auto xOf = [&](int index) { return canvas.TextWidth(text.substr(0, static_cast<size_t>(index))); };
    const int sx = start >= n ? xOf(n) + 4 : xOf(start < 0 ? 0 : start);
    const int sy = 0;
    const int ex = start + length >= n ? xOf(n > 0 ? n - 1 : 0) + 4 : xOf(start + length - 1);
    const int ey = sy;

    canvas.Pen().SetColor(0x0000FF);
    canvas.Pen().SetWidth(2);
    canvas.MoveTo(r.Left + sx, r.Top + sy + offsetY + 3);
    int d = 3, x = sx;
    for (; x <= ex; x += 3) {
        d = 3 - d;
        canvas.LineTo(r.Left + x + 3, r.Top + ey + offsetY + d);
    }
    d = 3 - d;
    canvas.LineTo(r.Left + x + 3, r.Top + ey + offsetY + d);
}

bool DrawThemedPart(HDC dc, HWND window, const wchar_t* cls, int part, int state, const TRect& r)
{
    html::ThemeApi& api = html::ExXPVS();
    if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return false;
    const HTHEME theme = api.OpenThemeData(window, cls);
    api.DrawThemeBackground(theme, dc, part, state, &r, nullptr);
    api.CloseThemeData(theme);
    return true;
}

void FrameRectDC(HDC dc, const TRect& r, COLORREF color)
{
    if (IsRectEmpty(r)) return;
    FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, color);
    FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, color);
    FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, color);
    FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, color);
}

void DrawComboButton(TCanvas& canvas, HWND window, const TRect& r, bool themed)
{
    TRect b{r.Right - 16 - 2, r.Top + 1, r.Right - 2, r.Bottom - 1};
    if (themed && DrawThemedPart(canvas.Handle(), window, L"combobox", 1, 1, b)) return;
    DrawFrameControl(canvas.Handle(), &b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
}

TColor DarkenColor(TColor color)
{
    const COLORREF c = ColorToRGB(color);
    return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}

void DrawBitmapTransp(TCanvas& canvas, TBitmap& bitmap, TColor background, const TRect& r)
{
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (w <= 0 || h <= 0) return;
    TBitmap temp(w, h);
    temp.Canvas()->Brush().SetColor(background);
    const TRect all{0, 0, w, h};
    temp.Canvas()->BrushCopy(all, &bitmap, all, bitmap.Canvas()->Pixel(0, 0));
    canvas.Draw(r.Left, r.Top, &temp);
}

void DrawBitmapResourceTransp(TCanvas& canvas, TColor background, const TRect& r, const std::string& name)
{
    RegisterGlyphs();
    std::string data;
    if (!FindResourceData(HInstance(), RT_BITMAP, name, data)) return;
    TBitmap bitmap;
    std::istringstream in(data);
    try {
        bitmap.LoadFromStream(in);
    } catch (const EInvalidGraphic&) {
        return;
    }
    DrawBitmapTransp(canvas, bitmap, background, r);
}

}  // namespace grid
