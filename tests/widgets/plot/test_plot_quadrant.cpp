#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "widgets/plot/PlotGraph.h"

using namespace plot;
using PColor = platform::TColor;

namespace {

constexpr PColor kWhite = 0xFFFFFF, kInk = platform::RGB(255, 0, 0);

// Bounding box of the ink after a zigzag of horizontal lines covers every plot row.
platform::TRect Painted(TEGQuadrant q, const TRect2D& vis, int w, int h)
{
    platform::EnsurePlatform();
    TPlotGraph g(nullptr);
    g.SetBounds(0, 0, w, h);
    g.SetColorBg(kWhite);
    g.SetGridStyle(gsNone);
    g.SetNumbHoriz(false);
    g.SetNumbVert(false);
    g.SetGraphBorder(bstNone);
    g.SetVisRect(vis);
    g.SetQuadrant(q);
    g.Series().Add();
    TPoints& s = g.Series().GetSeries(0);
    s.SetColor(plot::TColor(kInk));
    const Extended dy = (vis.y2 - vis.y1) / (h - 1);
    bool right = false;
    for (int r = -2; r <= h + 1; ++r) {
        const Extended y = vis.y1 + r * dy;
        const Extended a = right ? vis.x2 + 1 : vis.x1 - 1, b = right ? vis.x1 - 1 : vis.x2 + 1;
        s.AddSimple(a, y);
        s.AddSimple(b, y);
        right = !right;
    }
    g.Paint();
    platform::TRect box{w, h, -1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (g.Bitmap()->Canvas()->Pixel(x, y) == kInk) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

int RoundE(long double v) { return int(std::nearbyint(v)); }

}  // namespace

// Clip edges of every quadrant, written out from the cut rules for a view that is not
// centred on the origin.
TEST(PlotQuadrant, ClipEdgesFollowTheCutRules)
{
    const TRect2D v = Rect2D(-3, -7, 9, 5);
    const int w = 121, h = 81;  // plot (0, 0, 120, 80), clip (0, 0, 121, 81)
    const long double W = 121, H = 81;
    const int cutL = 121 - RoundE(W * v.x2 / (v.x2 - v.x1)) - 1;
    const int cutR2 = RoundE(-v.x1 * W / (v.x2 - v.x1)) + 1;
    const int cutR = RoundE(-v.x1 * W / (v.x2 - v.x1));
    const int cutB1 = RoundE(H * v.y2 / (v.y2 - v.y1));
    const int cutT = 81 - RoundE(-v.y1 * H / (v.y2 - v.y1));
    const struct {
        TEGQuadrant q;
        platform::TRect clip;
    } cases[] = {
        {egqAll, {0, 0, 121, 81}},
        {egqFirst, {cutL, 0, 121, cutB1}},
        {egqSecond, {0, 0, cutR2, cutB1 + 1}},
        {egqThird, {0, cutT, cutR, 81}},
        {egqFourth, {cutL, cutT, 121, 81}},
        {egqRight, {cutL, 0, 121, 81}},
        {egqLeft, {0, 0, cutR, 81}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Painted(c.q, v, w, h), c.clip) << int(c.q);
    }
}
