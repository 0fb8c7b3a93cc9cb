#include "platform/graphics/TabbedText.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/graphics/GDI.h"

namespace platform {

namespace {

struct Piece {
    int start, length, x;
};

// Splits text at its tabs and places each piece on the next stop past the pen.
// Positions count from the stops' origin; the pen starts at pen0. Returns the pen at the end.
int Layout(HDC dc, const std::string& text, int count, int nTabs, const int* tabs, int pen0, std::vector<Piece>& out,
           int& height)
{
    const int n = count < 0 ? int(text.size()) : std::min(count, int(text.size()));
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    height = tm.tmHeight;
    const int every = nTabs == 1 && tabs && tabs[0] != 0 ? std::abs(tabs[0])
                                                         : std::max(1, 8 * std::max(1, tm.tmAveCharWidth));
    const bool listed = nTabs > 1 && tabs;
    int x = pen0, start = 0, stop = 0;  // stop: index of the next listed stop
    bool rightAlign = false;
    int alignAt = 0;
    for (int i = 0; i <= n; ++i) {
        if (i < n && text[std::size_t(i)] != '\t') continue;
        TSize sz;
        GetTextExtentPoint32(dc, text.substr(std::size_t(start), std::size_t(i - start)), i - start, sz);
        int px = x;
        if (rightAlign) px = std::max(x, alignAt - sz.cx);
        out.push_back({start, i - start, px});
        x = px + sz.cx;
        height = std::max(height, sz.cy);
        if (i == n) break;
        // The next stop past the pen.
        rightAlign = false;
        while (listed && stop < nTabs && std::abs(tabs[stop]) <= x) ++stop;
        if (listed && stop < nTabs) {
            if (tabs[stop] < 0) {
                rightAlign = true;
                alignAt = -tabs[stop];
            } else {
                x = tabs[stop];
            }
            ++stop;
        } else {
            x = (x / every + 1) * every;
        }
        start = i + 1;
    }
    return x;
}

}  // namespace

DWORD TabbedTextOut(HDC dc, int x, int y, const std::string& text, int count, int nTabs, const int* tabs, int origin)
{
    std::vector<Piece> pieces;
    int height = 0;
    const int width = Layout(dc, text, count, nTabs, tabs, x - origin, pieces, height) - (x - origin);
    for (const Piece& p : pieces)
        if (p.length > 0) TextOut(dc, origin + p.x, y, text.substr(std::size_t(p.start), std::size_t(p.length)), p.length);
    return DWORD(std::uint16_t(width)) | (DWORD(std::uint16_t(height)) << 16);
}

DWORD GetTabbedTextExtent(HDC dc, const std::string& text, int count, int nTabs, const int* tabs)
{
    std::vector<Piece> pieces;
    int height = 0;
    const int width = Layout(dc, text, count, nTabs, tabs, 0, pieces, height);
    return DWORD(std::uint16_t(width)) | (DWORD(std::uint16_t(height)) << 16);
}

}  // namespace platform
