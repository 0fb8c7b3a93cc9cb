#include "platform/controls/FrameControl.h"

#include <algorithm>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"

namespace platform {
namespace {

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c)
{
    if (r > l && b > t) FillRect(dc, Rect(l, t, r, b), c);
}

// One-pixel frame inside r.
void Frame(HDC dc, const TRect& r, COLORREF c)
{
    Fill(dc, r.Left, r.Top, r.Right, r.Top + 1, c);
    Fill(dc, r.Left, r.Bottom - 1, r.Right, r.Bottom, c);
    Fill(dc, r.Left, r.Top, r.Left + 1, r.Bottom, c);
    Fill(dc, r.Right - 1, r.Top, r.Right, r.Bottom, c);
}

// The tick of a checked box, 7 by 7, centred in r.
void Tick(HDC dc, const TRect& r, COLORREF c)
{
    static const int dy[7] = {2, 3, 4, 3, 2, 1, 0};
    int x0 = r.Left + (r.Width() - 7) / 2, y0 = r.Top + (r.Height() - 7) / 2;
    for (int i = 0; i < 7; ++i) Fill(dc, x0 + i, y0 + dy[i], x0 + i + 1, y0 + dy[i] + 3, c);
}

void Disc(HDC dc, const TRect& r, COLORREF c)
{
    // Scan lines of a circle inside r.
    const double cx = (r.Left + r.Right - 1) / 2.0, cy = (r.Top + r.Bottom - 1) / 2.0;
    const double rad = std::min(r.Width(), r.Height()) / 2.0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        double d = y - cy, h2 = rad * rad - d * d;
        if (h2 < 0) continue;
        int half = 0;
        while ((half + 0.5) * (half + 0.5) <= h2) ++half;
        int l = int(cx + 0.5) - half, rr = int(cx + 0.5) + half;
        Fill(dc, std::max(l, r.Left), y, std::min(rr, r.Right), y + 1, c);
    }
}

void Arrow(HDC dc, const TRect& r, UINT dir, COLORREF c)
{
    const int size = std::max(2, std::min(r.Width(), r.Height()) / 4);
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    for (int i = 0; i < size; ++i) {
        int half = size - 1 - i;
        switch (dir) {
        case DFCS_SCROLLUP: Fill(dc, cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1, c); break;
        case DFCS_SCROLLLEFT: Fill(dc, cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1, c); break;
        case DFCS_SCROLLRIGHT: Fill(dc, cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1, c); break;
        default: Fill(dc, cx - half, cy - size / 2 + i, cx + half + 1, cy - size / 2 + i + 1, c); break;
        }
    }
}

void Button(HDC dc, TRect r, UINT state)
{
    Fill(dc, r.Left, r.Top, r.Right, r.Bottom, GetSysColor(COLOR_BTNFACE));
    if (state & DFCS_FLAT) {
        Frame(dc, r, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawEdge(dc, r, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
}

}  // namespace

bool DrawFrameControl(HDC dc, TRect* rect, UINT type, UINT state)
{
    if (!dc || !rect) return false;
    const TRect r = *rect;
    const COLORREF text = GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    if (type == DFC_BUTTON) {
        const UINT kind = state & 0xFF;
        if (kind == DFCS_BUTTONPUSH) {
            Button(dc, r, state);
            if (state & DFCS_ADJUSTRECT) InflateRect(*rect, -2, -2);  // inside the edges
            return true;
        }
        const int side = std::min(r.Width(), r.Height());
        TRect box = Bounds(r.Left, r.Top + (r.Height() - side) / 2, side, side);
        const COLORREF inner = GetSysColor((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW);
        if (kind & DFCS_BUTTONRADIO) {
            Disc(dc, box, GetSysColor((state & DFCS_FLAT) ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW));
            TRect in = box;
            InflateRect(in, -1, -1);
            Disc(dc, in, inner);
            if (state & DFCS_CHECKED) {
                TRect dot = box;
                InflateRect(dot, -side / 3, -side / 3);
                Disc(dc, dot, text);
            }
            return true;
        }
        if (state & DFCS_FLAT) {
            Frame(dc, box, GetSysColor(COLOR_BTNSHADOW));
        } else {
            TRect e = box;
            DrawEdge(dc, e, EDGE_SUNKEN, BF_RECT);
        }
        Fill(dc, box.Left + ((state & DFCS_FLAT) ? 1 : 2), box.Top + ((state & DFCS_FLAT) ? 1 : 2),
             box.Right - ((state & DFCS_FLAT) ? 1 : 2), box.Bottom - ((state & DFCS_FLAT) ? 1 : 2), inner);
        if (state & DFCS_CHECKED) Tick(dc, box, text);
        return true;
    }
    if (type == DFC_SCROLL) {
        Button(dc, r, state);
        UINT dir = state & 0xFF;
        Arrow(dc, r, dir == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : dir, text);
        return true;
    }
    return false;
}

TBitmap* LatchPattern()
{
    static TBitmap* pattern = [] {
        auto* b = new TBitmap(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) b->Canvas()->SetPixel(x, y, ((x + y) & 1) ? clBtnHighlight : clBtnFace);
        return b;
    }();
    return pattern;
}

}  // namespace platform
