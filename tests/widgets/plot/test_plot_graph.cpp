#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "../../base/FileSizeLimit.h"
#include "support/TestSupport.h"
#include "widgets/plot/PlotGraph.h"

using namespace plot;
using platform::RGB;
using platform::TBitmap;
using PColor = platform::TColor;

namespace {

class PlotEnvironment : public ::testing::Environment {
public:
    void SetUp() override { platform::EnsurePlatform(); }
};
[[maybe_unused]] ::testing::Environment* const gEnv = ::testing::AddGlobalTestEnvironment(new PlotEnvironment);

constexpr PColor kBg = 0xFFFFFF, kGrid = RGB(0, 200, 0), kXAxis = RGB(0, 0, 250), kYAxis = RGB(250, 0, 250),
                 kSeries = RGB(255, 0, 0), kNumb = RGB(120, 60, 0);

// A graph that shows its label texts.
class Graph : public TPlotGraph {
public:
    Graph() : TPlotGraph(nullptr) {}
    using TPlotGraph::Tick;
    using TPlotGraph::XLabel;
    using TPlotGraph::XTicks;
    using TPlotGraph::YLabel;
    using TPlotGraph::YTicks;
};

// A bare plot: white, no numbers, no borders, no grid, so pixels belong to what a test draws.
std::unique_ptr<Graph> Bare(int w, int h, const TRect2D& vis)
{
    auto g = std::make_unique<Graph>();
    g->SetBounds(0, 0, w, h);
    g->SetColorBg(kBg);
    g->SetGridStyle(gsNone);
    g->SetNumbHoriz(false);
    g->SetNumbVert(false);
    g->SetGraphBorder(bstNone);
    g->SetVisRect(vis);
    return g;
}

PColor Px(Graph& g, int x, int y) { return g.Bitmap()->Canvas()->Pixel(x, y); }

int CountColor(Graph& g, PColor c, int l, int t, int r, int b)
{
    int n = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if (Px(g, x, y) == c) ++n;
    return n;
}
int CountColor(Graph& g, PColor c) { return CountColor(g, c, 0, 0, g.Width(), g.Height()); }

// Pixels of text in colour c over the background: antialiased edges blend the two.
int CountText(Graph& g, PColor c, int l, int t, int r, int b)
{
    auto between = [](int v, int a, int z) { return v >= std::min(a, z) && v <= std::max(a, z); };
    int n = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) {
            const PColor p = Px(g, x, y);
            if (p == kBg || p < 0) continue;
            if (between(platform::GetRValue(p), platform::GetRValue(c), platform::GetRValue(kBg)) &&
                between(platform::GetGValue(p), platform::GetGValue(c), platform::GetGValue(kBg)) &&
                between(platform::GetBValue(p), platform::GetBValue(c), platform::GetBValue(kBg)))
                ++n;
        }
    return n;
}
int CountText(Graph& g, PColor c) { return CountText(g, c, 0, 0, g.Width(), g.Height()); }

int CountNotBg(Graph& g, int l, int t, int r, int b) { return (r - l) * (b - t) - CountColor(g, kBg, l, t, r, b); }

// The world-to-pixel mapping written out independently: Round half to even.
long double RoundHalfEven(long double v) { return std::nearbyint(v); }
int MapX(const Graph& g, long double x)
{
    const auto& p = g.PlotRect();
    const auto& v = g.VisRect();
    return p.Left + int(RoundHalfEven((x - v.x1) * (p.Right - p.Left) / (v.x2 - v.x1)));
}
int MapY(const Graph& g, long double y)
{
    const auto& p = g.PlotRect();
    const auto& v = g.VisRect();
    return p.Bottom - int(RoundHalfEven((y - v.y1) * (p.Bottom - p.Top) / (v.y2 - v.y1)));
}

TPoints& AddSeries(TPlotGraph& g, PColor color, TDrawStyle style = dsLines, char symbol = 0)
{
    g.Series().Add();
    TPoints& s = g.Series().GetSeries(g.Series().Count() - 1);
    s.SetColor(plot::TColor(color));
    s.SetDrawStyle(style);
    s.SetPointSymbol(symbol);
    return s;
}

}  // namespace

// ---------------------------------------------------------------- numbers and steps

TEST(PlotGraphMath, RoundIsHalfToEvenAndTruncTowardZero)
{
    const struct { long double v; int round, trunc; } cases[] = {
        {0.5L, 0, 0}, {1.5L, 2, 1}, {2.5L, 2, 2}, {-0.5L, 0, 0}, {-1.5L, -2, -1}, {2.4999L, 2, 2},
        {-2.6L, -3, -2}, {1e30L, INT_MAX, INT_MAX}, {-1e30L, INT_MIN, INT_MIN}, {NAN, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundEven(c.v), c.round) << double(c.v);
        EXPECT_EQ(TruncInt(c.v), c.trunc) << double(c.v);
    }
}

TEST(PlotGraphMath, TickStepRunsTwoAndFive)
{
    const struct { int n; long double step; } cases[] = {
        {0, 10000}, {1, 10000}, {2, 10000}, {3, 5000}, {11, 1000}, {30769, 0.5L}, {100000, 0.5L}, {100001, 0.1L},
    };
    for (const auto& c : cases) EXPECT_EQ(TickStep(c.n), c.step) << c.n;
}

TEST(PlotGraphMath, FirstTickLiesAboveOrJustBelowTheMinimum)
{
    const struct { long double lo, step, first; } cases[] = {
        {0.3L, 0.5L, 0.5L}, {2, 0.5L, 2.5L}, {0, 1, -1}, {-0.3L, 0.5L, -0.5L}, {-2, 1, -3},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstTick(c.lo, c.step), c.first) << double(c.lo);
}

TEST(PlotGraphMath, NumbersGetTheDecimalsOfTheStep)
{
    const struct { long double step; int decimals; } steps[] = {
        {10000, 3}, {0.5L, 3}, {0.001L, 3}, {0.0005L, 4}, {0.0001L, 4}, {0.00005L, 5}, {0.00002L, 5}, {1e-5L, 5},
    };
    for (const auto& c : steps) EXPECT_EQ(StepDecimals(c.step), c.decimals) << double(c.step);
    const struct { long double v; int decimals; const char* text; } numbers[] = {
        {0.4095L, 4, "0.4095"}, {0.4095L, 3, "0.410"}, {-1e-7L, 3, "0.000"}, {-12.25L, 3, "-12.250"},
        {1e13L + 0.0001L, 4, "10000000000000.0001"}, {9999999999999999.0L, 3, "9999999999999999.000"},
        {1e16L, 3, "1E16"}, {-2.5e17L, 3, "-2.5E17"}, {1.25e300L, 5, "1.25E300"},
    };
    for (const auto& c : numbers) EXPECT_EQ(AxisNumber(c.v, c.decimals), c.text) << double(c.v);
    const char sep = base::DecimalSeparator();
    base::SetDecimalSeparator(',');
    EXPECT_EQ(AxisNumber(0.5L, 4), "0,5000");
    base::SetDecimalSeparator(sep);
}

namespace {

struct NumbersCase {
    int w, h;
    TRect2D vis;
    TBorderStyle border, graphBorder;
};

// A plot with numbers on both axes, painted.
std::unique_ptr<Graph> Numbered(const NumbersCase& c)
{
    auto g = Bare(c.w, c.h, c.vis);
    g->SetNumbHoriz(true);
    g->SetNumbVert(true);
    g->SetGridStyle(gsFull);
    g->SetColorNumb(kNumb);
    g->SetBorderStyle(c.border);
    g->SetGraphBorder(c.graphBorder);
    g->Paint();
    return g;
}

// Where the numbers of each axis may go.
platform::TRect Area(const Graph& g)
{
    const int in = g.BorderStyle() == bstNone ? 0 : 1;
    return platform::Rect(in, in, g.Width() - 1 - in, g.Height() - 1 - in);
}
platform::TRect YRoom(const Graph& g)
{
    return platform::Rect(Area(g).Left, Area(g).Top, g.PlotRect().Left, g.PlotRect().Bottom);
}
platform::TRect XRoom(const Graph& g)
{
    return platform::Rect(Area(g).Left, g.PlotRect().Bottom + 1, Area(g).Right, Area(g).Bottom);
}

struct Label {
    std::string text;
    platform::TRect rect;
};

// Every number of both axes with the rectangle it takes when drawn.
std::vector<Label> Labels(Graph& g)
{
    platform::TBitmap probe(1, 1);
    platform::TCanvas& m = *probe.Canvas();
    const int th = m.TextHeight("Xy");
    const auto& p = g.PlotRect();
    std::vector<Label> labels;
    for (const auto& k : g.YTicks(g.VisRect(), th)) {
        const auto sz = m.TextExtent(k.text);
        const int x = p.Left - sz.cx - 3, y = k.pos - th / 2;
        labels.push_back({k.text, platform::Rect(x, y, x + sz.cx, y + sz.cy)});
    }
    for (const auto& k : g.XTicks(m)) {
        const auto sz = m.TextExtent(k.text);
        const int x = k.pos - sz.cx / 2, y = p.Bottom + 4;
        labels.push_back({k.text, platform::Rect(x, y, x + sz.cx, y + sz.cy)});
    }
    return labels;
}

bool Inside(const platform::TRect& r, const platform::TRect& room)
{
    return r.Left >= room.Left && r.Top >= room.Top && r.Right <= room.Right && r.Bottom <= room.Bottom;
}

const NumbersCase kNumbersCases[] = {
    {300, 200, {-10, -10, 10, 10}, bstNone, bstNone},
    {300, 200, {-5000, -5000, 5000, 5000}, bstNone, bstLowered},
    {250, 180, {-7, -3, 13, 9}, bstSingle, bstLowered},
    {400, 260, {0, -20000, 10, -14000}, bstNone, bstNone},
    {400, 260, {-1, -9999.5L, 9, -9990.5L}, bstRaised, bstSingle},
    {400, 260, {0.4L, 0.4L, 0.41L, 0.41L}, bstNone, bstLowered},
    {900, 160, {2.3L, 2.3L, 2.31L, 2.31L}, bstNone, bstNone},
    {400, 260, {1e17L, 1e17L, 1e17L + 5000, 1e17L + 5000}, bstNone, bstNone},
};

}  // namespace

TEST(PlotGraphNumbers, EachNumberIsDrawnWholeOrLeftOut)
{
    int left = 0;
    for (const auto& c : kNumbersCases) {
        auto g = Numbered(c);
        SCOPED_TRACE(double(c.vis.x1));
        // What each number looks like drawn alone, uncut, in the same place.
        platform::TBitmap ref(c.w, c.h);
        platform::TCanvas& r = *ref.Canvas();
        r.Brush().SetColor(kBg);
        r.FillRect(platform::Rect(0, 0, c.w, c.h));
        r.Brush().SetStyle(platform::bsClear);
        r.Font().SetColor(kNumb);
        int whole = 0;
        for (const Label& l : Labels(*g)) {
            SCOPED_TRACE(l.text);
            const bool fits = Inside(l.rect, YRoom(*g)) || Inside(l.rect, XRoom(*g));
            if (fits) {
                ++whole;
                r.TextOut(l.rect.Left, l.rect.Top, l.text);
                for (int y = l.rect.Top; y < l.rect.Bottom; ++y)
                    for (int x = l.rect.Left; x < l.rect.Right; ++x)
                        ASSERT_EQ(Px(*g, x, y), ref.Canvas()->Pixel(x, y)) << x << "," << y;
            } else {
                ++left;
                // Nothing of it, in either room.
                const auto& in = l.rect.Top > g->PlotRect().Bottom ? XRoom(*g) : YRoom(*g);
                EXPECT_EQ(CountText(*g, kNumb, std::max(l.rect.Left, in.Left), std::max(l.rect.Top, in.Top),
                                    std::min(l.rect.Right, in.Right), std::min(l.rect.Bottom, in.Bottom)),
                          0);
            }
        }
        EXPECT_GT(whole, 4);
    }
    EXPECT_GT(left, 5);
}

TEST(PlotGraphNumbers, RoomForTheWidestNumber)
{
    // Every number left of the plot whose rows fit is drawn: none lacks width.
    for (const auto& c : kNumbersCases) {
        auto g = Numbered(c);
        SCOPED_TRACE(double(c.vis.y1));
        const auto room = YRoom(*g);
        int drawn = 0;
        for (const Label& l : Labels(*g)) {
            if (l.rect.Top > g->PlotRect().Bottom || l.rect.Top < room.Top || l.rect.Bottom > room.Bottom) continue;
            EXPECT_GE(l.rect.Left, room.Left) << l.text;
            ++drawn;
        }
        EXPECT_GT(drawn, 2);
    }
    // Narrow numbers keep the usual room.
    auto g = Numbered(kNumbersCases[0]);
    platform::TBitmap probe(1, 1);
    EXPECT_EQ(g->PlotRect().Left, 4 + probe.Canvas()->TextWidth("88888,888"));
}

TEST(PlotGraphNumbers, NeighbouringNumbersDiffer)
{
    for (const auto& c : kNumbersCases) {
        auto g = Numbered(c);
        SCOPED_TRACE(double(c.vis.x1));
        std::set<std::string> ys, xs;
        platform::TBitmap probe(1, 1);
        const auto yt = g->YTicks(g->VisRect(), probe.Canvas()->TextHeight("Xy"));
        const auto xt = g->XTicks(*probe.Canvas());
        for (const auto& k : yt) EXPECT_TRUE(ys.insert(k.text).second) << k.text;
        for (const auto& k : xt) EXPECT_TRUE(xs.insert(k.text).second) << k.text;
        // From 1e16 on, the exponent form.
        for (const auto& k : yt) EXPECT_EQ(k.text.find('E') != std::string::npos, std::fabs(k.value) >= 1e16L);
    }
}

TEST(PlotGraph, DefaultLabelsHaveThreeDecimals)
{
    Graph g;
    EXPECT_EQ(g.XLabel(0.5L), "0.500");
    EXPECT_EQ(g.YLabel(-12.25L), "-12.250");
    g.SetOnXLabeling([](platform::TObject*, Extended v, std::string& s) {
        EXPECT_TRUE(s.empty());
        s = "<" + std::to_string(int(v)) + ">";
    });
    EXPECT_EQ(g.XLabel(3), "<3>");
}

// ---------------------------------------------------------------- properties and state

TEST(PlotGraph, NewControlIsSixtyByFortyAndRendersOnFirstPaint)
{
    Graph g;
    EXPECT_EQ(g.Width(), 60);
    EXPECT_EQ(g.Height(), 40);
    EXPECT_TRUE(g.Dirty());
    EXPECT_EQ(g.Bitmap(), nullptr);
    g.Paint();
    EXPECT_FALSE(g.Dirty());
    ASSERT_NE(g.Bitmap(), nullptr);
    EXPECT_EQ(g.Bitmap()->Width(), 60);
    EXPECT_EQ(g.Bitmap()->Height(), 40);
    g.SetBounds(0, 0, 80, 50);
    g.Paint();  // a new size makes the next paint render
    EXPECT_EQ(g.Bitmap()->Width(), 80);
    EXPECT_EQ(g.Bitmap()->Height(), 50);
}

TEST(PlotGraph, SetVisRectIgnoresEmptyAndOrdersCorners)
{
    Graph g;
    g.Paint();
    int events = 0;
    g.OnVisChange = [&](platform::TObject*) { ++events; };
    g.SetVisRect(Rect2D(0, 5, 0, 7));
    g.SetVisRect(Rect2D(1, NAN, 2, 3));
    EXPECT_EQ(events, 0);
    EXPECT_EQ(double(g.VisRect().x1), -10);
    g.SetVisRect(Rect2D(4, 3, 1, 1));
    EXPECT_EQ(events, 1);
    // Ordered, then widened by the render that SetVisRect runs at once.
    EXPECT_FALSE(g.Dirty());
    EXPECT_EQ(double(g.VisRect().x1), 1);
    EXPECT_EQ(double(g.VisRect().y1), 1);
    EXPECT_EQ(double(g.VisRect().x2), 4);
    EXPECT_EQ(double(g.VisRect().y2), 3);
}

TEST(PlotGraph, SettersGiveNoticesOnlyOnChange)
{
    Graph g;
    int changes = 0;
    g.OnChange = [&](platform::TObject*) { ++changes; };
    g.SetAspectRatio(1);  // current value
    g.SetAspectRatio(0);  // refused
    g.SetColorGrid(platform::clGray);
    g.SetGridStyle(gsFull);
    EXPECT_EQ(changes, 0);
    g.SetAspectRatio(2);
    g.SetColorGrid(kGrid);
    g.SetQuadrant(egqAll);  // always
    g.SetQuadrant(egqAll);
    g.SetBgImage("x.bmp");  // raises OnChange even under the solid style
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(double(g.AspectRatio()), 2);
}

TEST(PlotGraph, SetSeriesTakesOnlyAnotherList)
{
    Graph g;
    TSeries& own = g.Series();
    TSeries other;
    int changes = 0;
    g.OnChange = [&](platform::TObject*) { ++changes; };
    g.SetSeries(nullptr);
    g.SetSeries(&own);
    EXPECT_EQ(changes, 0);
    g.SetSeries(&other);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(&g.Series(), &other);
    g.SetSeries(&own);  // the control still owns its first list
    EXPECT_EQ(&g.Series(), &own);
}

TEST(PlotGraph, EndUpdateRepaintsOnlyAtTheOutermostLevel)
{
    Graph g;
    g.Paint();
    g.BeginUpdate();
    g.BeginUpdate();
    g.Series().Add();
    EXPECT_TRUE(g.Dirty());
    g.EndUpdate();
    EXPECT_TRUE(g.Dirty());
    g.EndUpdate();
    EXPECT_FALSE(g.Dirty());
}

TEST(PlotGraph, SeriesChangesMarkDirtyAndRaiseOnChange)
{
    Graph g;
    g.Paint();
    int changes = 0;
    g.OnChange = [&](platform::TObject*) { ++changes; };
    TPoints& s = AddSeries(g, kSeries);
    EXPECT_TRUE(g.Dirty());
    g.Paint();
    s.AddSimple(1, 1);
    EXPECT_TRUE(g.Dirty());
    EXPECT_GE(changes, 2);
}

TEST(PlotGraph, GetGraphCoordsInvertsTheMappingInsideThePlotOnly)
{
    auto g = Bare(201, 101, Rect2D(-10, -5, 10, 5));
    g->Paint();
    const auto p = g->PlotRect();
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.Right, 200);
    EXPECT_EQ(p.Bottom, 100);
    Extended wx = 99, wy = 99;
    EXPECT_FALSE(g->GetGraphCoords(p.Right, 50, wx, wy));
    EXPECT_FALSE(g->GetGraphCoords(50, p.Bottom, wx, wy));
    EXPECT_FALSE(g->GetGraphCoords(-1, 50, wx, wy));
    EXPECT_EQ(double(wx), 99);
    ASSERT_TRUE(g->GetGraphCoords(150, 25, wx, wy));
    EXPECT_DOUBLE_EQ(double(wx), 5);
    EXPECT_DOUBLE_EQ(double(wy), 2.5);
    ASSERT_TRUE(g->GetGraphCoords(0, 0, wx, wy));
    EXPECT_DOUBLE_EQ(double(wx), -10);
    EXPECT_DOUBLE_EQ(double(wy), 5);
}

// ---------------------------------------------------------------- zoom limits and aspect ratio

TEST(PlotGraph, AdjustZoomKeepsRatioAndRangeLimits)
{
    struct Case {
        bool maintain;
        TRect2D in;
        TRect2D out;
    };
    const Case cases[] = {
        {true, Rect2D(0, 0, 10, 10), Rect2D(-5, 0, 15, 10)},       // plot twice as wide as high
        {true, Rect2D(0, 0, 40, 10), Rect2D(0, -5, 40, 15)},       // too wide: taller
        {true, Rect2D(0, 0, 20, 10), Rect2D(0, 0, 20, 10)},        // already right
        {false, Rect2D(0, 0, 10, 10), Rect2D(0, 0, 10, 10)},       // ratio not kept
        {false, Rect2D(1, 0, 1.004L, 5), Rect2D(0.997L, 0, 1.007L, 5)},  // at least 0.01 wide
        {false, Rect2D(0, 0, 5, 30000), Rect2D(0, 10000, 5, 20000)},    // at most 10000 high
    };
    for (const Case& c : cases) {
        auto g = Bare(201, 101, c.in);
        g->SetMaintainRatio(c.maintain);  // stores only: render again
        g->Render(static_cast<platform::TCanvas*>(nullptr));
        const TRect2D v = g->VisRect();
        EXPECT_NEAR(double(v.x1), double(c.out.x1), 1e-9);
        EXPECT_NEAR(double(v.y1), double(c.out.y1), 1e-9);
        EXPECT_NEAR(double(v.x2), double(c.out.x2), 1e-9);
        EXPECT_NEAR(double(v.y2), double(c.out.y2), 1e-9);
    }
}

// ---------------------------------------------------------------- backgrounds

TEST(PlotGraphBackground, SolidFillsTheControl)
{
    auto g = Bare(50, 30, Rect2D(-1, -1, 1, 1));
    g->SetColorBg(RGB(10, 20, 30));
    g->Paint();
    EXPECT_EQ(CountColor(*g, RGB(10, 20, 30)), 50 * 30);
}

// Only a gradient or an image needs a background picture of the control's size; a solid
// background makes none, and one is made when the style changes.
TEST(PlotGraphBackground, OnlyGradientsAndImagesMakeABackgroundPicture)
{
    auto g = Bare(50, 30, Rect2D(-1, -1, 1, 1));
    g->SetColorBg(RGB(10, 20, 30));
    g->Paint();
    EXPECT_EQ(g->BackgroundBitmap(), nullptr);
    EXPECT_EQ(CountColor(*g, RGB(10, 20, 30)), 50 * 30);
    g->SetColorBg2(RGB(10, 20, 200));
    g->SetBgStyle(bgsLineHoriz);
    g->Paint();
    ASSERT_NE(g->BackgroundBitmap(), nullptr);
    EXPECT_EQ(g->BackgroundBitmap()->Width(), 50);
    EXPECT_EQ(g->BackgroundBitmap()->Height(), 30);
    EXPECT_NE(Px(*g, 5, 0), Px(*g, 5, 29));
}

TEST(PlotGraphBackground, DefaultColourIsTheButtonFace)
{
    Graph g;
    g.SetGridStyle(gsNone);
    g.SetNumbHoriz(false);
    g.SetNumbVert(false);
    g.SetGraphBorder(bstNone);
    g.Paint();
    EXPECT_EQ(Px(g, 5, 5), PColor(platform::ColorToRGB(platform::clBtnFace)));
}

TEST(PlotGraphBackground, GradientsStepInTwentyBitFixedPoint)
{
    // 256 lines from 0 to 255: step 255 * 2^20 / 256, so line i shows floor(i * 0.99609375).
    for (TBgStyle style : {bgsLineHoriz, bgsLineVert}) {
        const bool rows = style == bgsLineHoriz;
        auto g = Bare(rows ? 20 : 256, rows ? 256 : 20, Rect2D(-1, -1, 1, 1));
        g->SetColorBg(RGB(0, 255, 10));
        g->SetColorBg2(RGB(255, 0, 10));
        g->SetBgStyle(style);
        g->Paint();
        for (int i : {0, 1, 128, 200, 255}) {
            const int up = int(std::floor(i * 0.99609375));
            const PColor want = RGB(up, 255 - (i == 0 ? 0 : int(std::ceil(i * 0.99609375))), 10);
            const PColor got = rows ? Px(*g, 7, i) : Px(*g, i, 7);
            EXPECT_EQ(platform::GetRValue(got), platform::GetRValue(want)) << i;
            EXPECT_EQ(platform::GetGValue(got), platform::GetGValue(want)) << i;
            EXPECT_EQ(platform::GetBValue(got), 10) << i;
        }
        // Lines run across the whole control.
        EXPECT_EQ(rows ? Px(*g, 0, 128) : Px(*g, 128, 0), rows ? Px(*g, 19, 128) : Px(*g, 128, 19));
    }
}

TEST(PlotGraphBackground, GradientIsRebuiltWhenItsColourChanges)
{
    auto g = Bare(20, 64, Rect2D(-1, -1, 1, 1));
    g->SetColorBg(RGB(0, 0, 0));
    g->SetColorBg2(RGB(0, 0, 0));
    g->SetBgStyle(bgsLineHoriz);
    g->Paint();
    EXPECT_EQ(Px(*g, 3, 63), RGB(0, 0, 0));
    g->SetColorBg2(RGB(0, 0, 128));
    g->Paint();
    EXPECT_EQ(Px(*g, 3, 63), RGB(0, 0, 126));  // 63 * (128 * 2^20 div 64) >> 20
}

namespace {
std::string WriteImage(const testsupport::TempDir& dir, const std::string& name, int w, int h, PColor c)
{
    TBitmap b(w, h);
    b.Canvas()->Brush().SetColor(c);
    b.Canvas()->FillRect(platform::Rect(0, 0, w, h));
    const std::string path = dir.file(name);
    b.SaveToFile(path);
    return path;
}
}  // namespace

TEST(PlotGraphBackground, ReferenceImageCoversItsWorldRectangle)
{
    testsupport::TempDir dir("plotctl");
    const std::string file = WriteImage(dir, "ref.bmp", 16, 16, RGB(0, 0, 200));
    auto g = Bare(201, 201, Rect2D(-10, -10, 10, 10));
    g->SetBgImageRect(Rect2D(0, 0, 5, 5));
    g->SetBgStyle(bgsImageMap);
    g->SetBgImage(file);
    g->Paint();
    g->SetVisRect(Rect2D(-10, -10, 10, 10));  // maps with the plot rectangle of the render before
    const int l = MapX(*g, 0), r = MapX(*g, 5), t = MapY(*g, 5), b = MapY(*g, 0);
    EXPECT_EQ(Px(*g, (l + r) / 2, (t + b) / 2), RGB(0, 0, 200));
    EXPECT_EQ(Px(*g, l + 1, t + 1), RGB(0, 0, 200));
    EXPECT_EQ(Px(*g, l - 2, (t + b) / 2), kBg);
    EXPECT_EQ(Px(*g, (l + r) / 2, b + 2), kBg);
    EXPECT_EQ(Px(*g, MapX(*g, -5), MapY(*g, -5)), kBg);
}

TEST(PlotGraphBackground, StretchedAndTiledImagesCoverTheControl)
{
    testsupport::TempDir dir("plotctl");
    const std::string file = WriteImage(dir, "tile.bmp", 7, 5, RGB(200, 100, 0));
    for (TBgStyle style : {bgsImageStretch, bgsImageTile}) {
        auto g = Bare(40, 30, Rect2D(-1, -1, 1, 1));
        g->SetBgImage(file);
        g->SetBgStyle(style);
        g->Paint();
        EXPECT_EQ(CountColor(*g, RGB(200, 100, 0)), 40 * 30) << int(style);
    }
}

TEST(PlotGraphBackground, MissingImageGivesThePlainColour)
{
    auto g = Bare(40, 30, Rect2D(-1, -1, 1, 1));
    g->SetColorBg(RGB(1, 2, 3));
    g->Paint();
    g->SetColorBg(RGB(9, 8, 7));
    testsupport::TempDir dir("plotctl");
    g->SetBgImage(dir.file("no-such-image.bmp"));
    g->SetBgStyle(bgsImageStretch);
    g->Paint();
    EXPECT_EQ(CountColor(*g, RGB(9, 8, 7)), 40 * 30);
    g->Series().Add();  // later renders too
    g->Paint();
    EXPECT_EQ(CountColor(*g, RGB(9, 8, 7)), 40 * 30);
}

namespace {
// A picture of one colour written by an outside tool in the format its extension names.
std::string ConvertImage(const testsupport::TempDir& dir, const std::string& name, const char* colour)
{
    const std::string path = dir.file(name);
    const std::string cmd = std::string("convert -size 12x10 xc:'") + colour + "' '" + path + "' 2>/dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return path;
}

bool Near(PColor a, PColor b)
{
    auto d = [](int x, int y) { return std::abs(x - y) <= 6; };
    return d(platform::GetRValue(a), platform::GetRValue(b)) && d(platform::GetGValue(a), platform::GetGValue(b)) &&
           d(platform::GetBValue(a), platform::GetBValue(b));
}
}  // namespace

// Every format the import window offers shows in the body plan, not only BMP.
TEST(PlotGraphBackground, ReferenceImageOfEveryOfferedFormatShows)
{
    REQUIRE_TOOL("convert", "imagemagick");
    testsupport::TempDir dir("plotctl");
    for (const char* name : {"ref.png", "ref.jpg", "ref.jpeg", "ref.gif", "ref.bmp"}) {
        const std::string file = ConvertImage(dir, name, "#2040C0");
        auto g = Bare(40, 30, Rect2D(-1, -1, 1, 1));
        g->SetBgImage(file);
        g->SetBgStyle(bgsImageStretch);
        EXPECT_EQ(g->BgImageError(), "") << name;
        g->Paint();
        EXPECT_TRUE(Near(Px(*g, 20, 15), RGB(0x20, 0x40, 0xC0))) << name << " " << std::hex << Px(*g, 20, 15);
        EXPECT_TRUE(Near(Px(*g, 1, 1), RGB(0x20, 0x40, 0xC0))) << name;
    }
}

// A picture that cannot be shown says why; the body plan keeps its plain colour.
TEST(PlotGraphBackground, UnreadableReferenceImageTellsWhy)
{
    testsupport::TempDir dir("plotctl");
    const std::string text = dir.file("text.png");
    { std::ofstream(text) << "not a picture"; }
    const std::string fifo = dir.file("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string file;
        const char* reason;
    } cases[] = {
        {text, "Invalid graphic format"},
        {fifo, "not a regular file"},
        {dir.file("missing.png"), "No such file"},
    };
    for (const Case& c : cases) {
        auto g = Bare(40, 30, Rect2D(-1, -1, 1, 1));
        g->SetColorBg(RGB(9, 8, 7));
        g->SetBgImage(c.file);
        g->SetBgStyle(bgsImageStretch);
        g->Paint();
        EXPECT_EQ(CountColor(*g, RGB(9, 8, 7)), 40 * 30) << c.file;
        EXPECT_NE(g->BgImageError().find(c.reason), std::string::npos) << g->BgImageError();
        EXPECT_NE(g->BgImageError().find(c.file), std::string::npos) << g->BgImageError();
    }
}

// The reference picture is read again when its file changes, so the body plan follows it.
TEST(PlotGraphBackground, ChangedReferenceImageShowsItsNewPicture)
{
    testsupport::TempDir dir("plotctl");
    const std::string file = WriteImage(dir, "ref.bmp", 8, 8, RGB(0, 0, 200));
    auto g = Bare(40, 30, Rect2D(-1, -1, 1, 1));
    g->SetBgImage(file);
    g->SetBgStyle(bgsImageStretch);
    g->Paint();
    EXPECT_EQ(Px(*g, 20, 15), RGB(0, 0, 200));
    WriteImage(dir, "ref.bmp", 9, 8, RGB(0, 150, 0));
    g->Series().Add();  // a new render
    g->Paint();
    EXPECT_EQ(Px(*g, 20, 15), RGB(0, 150, 0));
}

// ---------------------------------------------------------------- borders, grid, axes, numbers

TEST(PlotGraphFrame, BordersFrameTheControlAndThePlot)
{
    auto g = Bare(60, 40, Rect2D(-1, -1, 1, 1));
    g->SetColorBorder(RGB(5, 5, 5));
    g->SetBorderStyle(bstSingle);
    g->SetGraphBorder(bstSingle);
    g->Paint();
    // Control border on (0, 0, 59, 39); the plot shrinks by one for each border.
    EXPECT_EQ(Px(*g, 0, 0), RGB(5, 5, 5));
    EXPECT_EQ(Px(*g, 59, 39), RGB(5, 5, 5));
    EXPECT_EQ(Px(*g, 30, 39), RGB(5, 5, 5));
    const auto p = g->PlotRect();
    EXPECT_EQ(p.Left, 2);
    EXPECT_EQ(p.Top, 2);
    EXPECT_EQ(p.Right, 57);
    EXPECT_EQ(p.Bottom, 37);
    EXPECT_EQ(Px(*g, 1, 20), RGB(5, 5, 5));   // graph border round the plot grown by one
    EXPECT_EQ(Px(*g, 58, 20), RGB(5, 5, 5));
    EXPECT_EQ(Px(*g, 2, 20), kBg);
    EXPECT_EQ(Px(*g, 30, 30), kBg);
}

TEST(PlotGraphFrame, LoweredBorderIsShadowTopLeftAndHighlightBottomRight)
{
    platform::SetSysColorOverride(platform::COLOR_BTNSHADOW, RGB(64, 64, 64));
    platform::SetSysColorOverride(platform::COLOR_BTNHIGHLIGHT, RGB(250, 250, 250));
    auto g = Bare(60, 40, Rect2D(-1, -1, 1, 1));
    g->SetBorderStyle(bstLowered);
    g->SetColorBg(RGB(0, 0, 0));
    g->Paint();
    EXPECT_EQ(Px(*g, 0, 20), RGB(64, 64, 64));
    EXPECT_EQ(Px(*g, 30, 0), RGB(64, 64, 64));
    EXPECT_EQ(Px(*g, 59, 20), RGB(250, 250, 250));
    EXPECT_EQ(Px(*g, 30, 39), RGB(250, 250, 250));
    g->SetBorderStyle(bstRaised);
    g->Paint();
    EXPECT_EQ(Px(*g, 0, 20), RGB(250, 250, 250));
    EXPECT_EQ(Px(*g, 59, 20), RGB(64, 64, 64));
    platform::ClearSysColorOverrides();
}

TEST(PlotGraphFrame, GridStylesDrawTheirLines)
{
    struct Case {
        TGridStyle style;
        bool xAxis, yAxis, hGrid, vGrid;
    };
    const Case cases[] = {
        {gsNone, false, false, false, false},  {gsXAxis, true, false, false, false},
        {gsYAxis, false, true, false, false},  {gsAxises, true, true, false, false},
        {gsXGrid, true, false, true, false},   {gsYGrid, false, true, false, true},
        {gsFull, true, true, true, true},
    };
    for (const Case& c : cases) {
        auto g = Bare(201, 201, Rect2D(-10, -10, 10, 10));
        g->SetColorGrid(kGrid);
        g->SetColorXAxis(kXAxis);
        g->SetColorYAxis(kYAxis);
        g->SetGridStyle(c.style);
        g->Paint();
        const auto p = g->PlotRect();
        // Grid rows and columns use Trunc of the scaled distance from the minimum.
        const int axisRow = p.Bottom - int(std::trunc(10.0L * (p.Bottom - p.Top) / 20));
        const int axisCol = p.Left + int(std::trunc(10.0L * (p.Right - p.Left) / 20));
        EXPECT_EQ(Px(*g, axisCol + 10, axisRow) == kXAxis, c.xAxis) << int(c.style);
        EXPECT_EQ(Px(*g, axisCol, axisRow + 10) == kYAxis, c.yAxis) << int(c.style);
        EXPECT_EQ(CountColor(*g, kGrid, p.Left, p.Top, p.Right + 1, p.Bottom + 1) > 0, c.hGrid || c.vGrid)
            << int(c.style);
        // Lines run from L to R + 1, the last pixel left out: the whole plot width.
        const int width = p.Right - p.Left + 1;
        if (c.xAxis) {
            EXPECT_EQ(CountNotBg(*g, p.Left, axisRow, p.Right + 1, axisRow + 1), width);
        }
        if (c.xAxis && !c.yAxis) {
            EXPECT_EQ(CountColor(*g, kXAxis, p.Left, axisRow, p.Right + 1, axisRow + 1), width);
        }
        int fullRows = 0;
        for (int y = p.Top; y <= p.Bottom; ++y)
            if (y != axisRow && CountColor(*g, kGrid, p.Left, y, p.Right + 1, y + 1) >= width - 1) ++fullRows;
        EXPECT_EQ(fullRows > 2, c.hGrid) << int(c.style);
    }
}

TEST(PlotGraphFrame, TicksFollowTheStepAndLabelsComeFromTheEvents)
{
    auto g = Bare(300, 400, Rect2D(0, 0, 10, 10));
    std::vector<long double> ys, xs;
    g->SetOnYLabeling([&](platform::TObject*, Extended v, std::string& s) {
        ys.push_back(v);
        s = "y";
    });
    g->SetOnXLabeling([&](platform::TObject*, Extended v, std::string& s) {
        xs.push_back(v);
        s = "1.5";
    });
    g->SetNumbVert(true);
    g->SetNumbHoriz(true);
    g->SetGridStyle(gsFull);
    g->Paint();
    const auto p = g->PlotRect();
    // The text height of "Xy" decides N; check the step against the rule.
    platform::TBitmap probe(1, 1);
    const int th = probe.Canvas()->TextHeight("Xy");
    const long double stepY = TickStep(RoundEven((long double)(p.Bottom - p.Top) / 10 * 10000 / th));
    ASSERT_GE(ys.size(), 3u);
    // The first tick lies below the minimum and is skipped by its pixel row.
    EXPECT_EQ(FirstTick(0, stepY), -stepY);
    EXPECT_EQ(ys.front(), 0);
    for (std::size_t i = 1; i < ys.size(); ++i) EXPECT_NEAR(double(ys[i] - ys[i - 1]), double(stepY), 1e-12);
    EXPECT_LE(double(ys.back()), 10.0);
    EXPECT_GT(double(ys.back() + stepY), 10.0);
    // The x events first give the template from x1 and x2 ("1.5" -> "8.8"), then one call per tick.
    ASSERT_GE(xs.size(), 4u);
    EXPECT_EQ(double(xs[0]), 0.0);
    EXPECT_EQ(double(xs[1]), 10.0);
    const long double stepX =
        TickStep(RoundEven((long double)(p.Right - p.Left) / 10 * 10000 / probe.Canvas()->TextWidth("8.8")));
    for (std::size_t i = 3; i < xs.size(); ++i) EXPECT_NEAR(double(xs[i] - xs[i - 1]), double(stepX), 1e-12);
}

TEST(PlotGraphFrame, NumbersAndAxisLabelsAreDrawnInTheirColours)
{
    auto g = Bare(300, 200, Rect2D(-10, -10, 10, 10));
    g->SetNumbVert(true);
    g->SetNumbHoriz(true);
    g->SetGridStyle(gsAxises);
    g->SetColorNumb(kNumb);
    g->SetColorXAxis(kXAxis);
    g->SetColorYAxis(kYAxis);
    g->Paint();
    const auto p = g->PlotRect();
    platform::TBitmap probe(1, 1);
    EXPECT_EQ(p.Bottom, 199 - probe.Canvas()->TextHeight("Xy") - 4);
    EXPECT_EQ(p.Left, 4 + probe.Canvas()->TextWidth("88888,888"));
    EXPECT_GT(CountText(*g, kNumb, 0, 0, p.Left, p.Bottom), 50);                 // left numbers
    EXPECT_GT(CountText(*g, kNumb, p.Left, p.Bottom + 1, 300, 200), 50);          // numbers below
    EXPECT_EQ(CountNotBg(*g, 0, 0, p.Left, p.Bottom + 1), CountText(*g, kNumb, 0, 0, p.Left, p.Bottom + 1));
    EXPECT_EQ(CountText(*g, kNumb, p.Left + 1, p.Top, p.Right + 1, p.Bottom + 1), 0);  // none inside
    g->SetAxisXLabel("XX");  // stores only
    g->SetAxisYLabel("ZZ");
    g->Render(static_cast<platform::TCanvas*>(nullptr));
    const int axisRow = p.Bottom - int(std::trunc(10.0L * (p.Bottom - p.Top) / 20));
    const int axisCol = p.Left + int(std::trunc(10.0L * (p.Right - p.Left) / 20));
    // Axis labels: above the right end of the x-axis, right of the top of the y-axis.
    EXPECT_GT(CountText(*g, kXAxis, p.Right - 40, axisRow - 30, p.Right, axisRow - 2), 10);
    EXPECT_GT(CountText(*g, kYAxis, axisCol + 3, p.Top + 3, axisCol + 40, p.Top + 30), 10);
}

TEST(PlotGraphFrame, NoGridNoNumbersStillDrawsTheGraphBorder)
{
    auto g = Bare(60, 40, Rect2D(-1, -1, 1, 1));
    g->SetColorBorder(RGB(1, 1, 1));
    g->SetGraphBorder(bstSingle);
    int calls = 0;
    g->SetOnYLabeling([&](platform::TObject*, Extended, std::string&) { ++calls; });
    g->Paint();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(Px(*g, 0, 0), RGB(1, 1, 1));
    EXPECT_EQ(CountColor(*g, RGB(1, 1, 1)), 2 * 60 + 2 * 38);
}

// ---------------------------------------------------------------- series

TEST(PlotGraphSeries, PointsLandOnTheMappedPixels)
{
    auto g = Bare(241, 181, Rect2D(-3, -2, 9, 7));
    TPoints& s = AddSeries(*g, kSeries);
    s.AddSimple(-1.5L, 1.25L);
    s.AddSimple(6.3L, 1.25L);
    g->Paint();
    const int y = MapY(*g, 1.25L), xa = MapX(*g, -1.5L), xb = MapX(*g, 6.3L);
    EXPECT_EQ(Px(*g, xa, y), kSeries);
    EXPECT_EQ(Px(*g, xb - 1, y), kSeries);
    EXPECT_EQ(Px(*g, xb, y), kBg);  // the last pixel of a line is not drawn
    EXPECT_EQ(Px(*g, xa - 1, y), kBg);
    EXPECT_EQ(Px(*g, xa, y - 1), kBg);
    EXPECT_EQ(CountColor(*g, kSeries), xb - xa);
}

TEST(PlotGraphSeries, LinesAreClippedToThePlot)
{
    auto g = Bare(200, 150, Rect2D(-10, -10, 10, 10));
    g->SetNumbVert(true);
    g->SetNumbHoriz(true);
    TPoints& s = AddSeries(*g, kSeries);
    s.AddSimple(-1000, -3);
    s.AddSimple(1000, -3);
    s.AddSimple(1000, -1000);
    s.AddSimple(-1000, 1000);
    g->Paint();
    const auto p = g->PlotRect();
    EXPECT_GT(CountColor(*g, kSeries, p.Left, p.Top, p.Right + 1, p.Bottom + 1), 100);
    EXPECT_EQ(CountColor(*g, kSeries, 0, 0, p.Left, 150), 0);
    EXPECT_EQ(CountColor(*g, kSeries, 0, p.Bottom + 1, 200, 150), 0);
    EXPECT_EQ(Px(*g, MapX(*g, 0), MapY(*g, -3)), kSeries);
}

TEST(PlotGraphSeries, HiddenSeriesAndOnePointLinesDrawNothing)
{
    auto g = Bare(100, 100, Rect2D(-10, -10, 10, 10));
    TPoints& a = AddSeries(*g, kSeries);
    a.AddSimple(0, 0);  // one point, no symbol
    TPoints& b = AddSeries(*g, kSeries, dsPoints);  // points without a symbol
    b.AddSimple(1, 1);
    b.AddSimple(2, 2);
    TPoints& c = AddSeries(*g, kSeries);
    c.AddSimple(-5, -5);
    c.AddSimple(5, 5);
    c.SetVisible(false);
    g->Paint();
    EXPECT_EQ(CountColor(*g, kSeries), 0);
    a.SetPointSymbol('+');  // with a symbol the one point shows
    g->Paint();
    EXPECT_GT(CountText(*g, kSeries), 0);
}

TEST(PlotGraphSeries, SymbolsAreCentredOnTheirPointsInsideTheYRange)
{
    auto g = Bare(200, 200, Rect2D(0, 0, 10, 10));
    TPoints& s = AddSeries(*g, kSeries, dsPoints, '+');
    s.AddSimple(5, 5);
    s.AddSimple(-1, 5);   // left of x1: no symbol
    s.AddSimple(5, 11);   // above y2: none
    s.AddSimple(10.5L, 2);  // right of x2: drawn, then clipped away
    g->Paint();
    platform::TBitmap probe(1, 1);
    const platform::TSize e = probe.Canvas()->TextExtent("+");
    const int x = MapX(*g, 5) - e.cx / 2, y = MapY(*g, 5) - e.cy / 2;
    const int inside = CountText(*g, kSeries, x, y, x + e.cx, y + e.cy);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(CountNotBg(*g, 0, 0, 200, 200), inside);
}

TEST(PlotGraphSeries, CircleSymbolsAndIndexNumbers)
{
    auto g = Bare(300, 300, Rect2D(0, 0, 30, 30));
    TPoints& s = AddSeries(*g, RGB(0, 0, 255), dsNumber, 'C');
    s.AddSimple(5, 5);
    s.AddSimple(15, 15);
    s.AddSimple(25, 5);
    g->Paint();
    const PColor green = RGB(0, 128, 0), red = RGB(255, 0, 0);
    for (int i = 0; i < 3; ++i) {
        const auto pt = s.GetPoints(i);
        const int x = MapX(*g, pt.x), y = MapY(*g, pt.y);
        EXPECT_GT(CountColor(*g, green, x - 2, y - 2, x + 2, y + 2), 0) << i;
        // The index is written at the point, except for the last one.
        const int digits = CountText(*g, red, x + 2, y + 2, x + 20, y + 20);
        if (i < 2) {
            EXPECT_GT(digits, 3) << i;
        } else {
            EXPECT_EQ(digits, 0);
        }
    }
    // With dsLines the circles come without numbers.
    s.SetDrawStyle(dsLines);
    g->Paint();
    EXPECT_EQ(CountText(*g, red), 0);
    EXPECT_GT(CountColor(*g, green), 0);
}

TEST(PlotGraphSeries, QuadrantsCutTheClip)
{
    struct Case {
        TEGQuadrant q;
        TRect2D vis;
        bool ul, ur, ll, lr;  // where a full-size cross of lines shows
    };
    const Case cases[] = {
        {egqAll, Rect2D(-10, -10, 10, 10), true, true, true, true},
        {egqFirst, Rect2D(-10, -10, 10, 10), false, true, false, false},
        {egqSecond, Rect2D(-10, -10, 10, 10), true, false, false, false},
        {egqThird, Rect2D(-10, -10, 10, 10), false, false, true, false},
        {egqFourth, Rect2D(-10, -10, 10, 10), false, false, false, true},
        {egqRight, Rect2D(-10, -10, 10, 10), false, true, false, true},
        {egqLeft, Rect2D(-10, -10, 10, 10), true, false, true, false},
        {egqFirst, Rect2D(-10, -10, -1, 10), false, false, false, false},
        {egqLeft, Rect2D(1, 0, 5, 4), false, false, false, false},
        {egqFirst, Rect2D(1, 1, 5, 5), true, true, true, true},
    };
    for (const Case& c : cases) {
        auto g = Bare(201, 201, c.vis);
        g->SetQuadrant(c.q);
        // Two diagonals through the whole view.
        TPoints& a = AddSeries(*g, kSeries);
        a.AddSimple(c.vis.x1 - 1, c.vis.y1 - 1);
        a.AddSimple(c.vis.x2 + 1, c.vis.y2 + 1);
        TPoints& b = AddSeries(*g, kSeries);
        b.AddSimple(c.vis.x1 - 1, c.vis.y2 + 1);
        b.AddSimple(c.vis.x2 + 1, c.vis.y1 - 1);
        g->Paint();
        const int m = 100;
        const bool ul = CountColor(*g, kSeries, 0, 0, m - 5, m - 5) > 0;
        const bool ur = CountColor(*g, kSeries, m + 5, 0, 201, m - 5) > 0;
        const bool ll = CountColor(*g, kSeries, 0, m + 5, m - 5, 201) > 0;
        const bool lr = CountColor(*g, kSeries, m + 5, m + 5, 201, 201) > 0;
        EXPECT_EQ(ul, c.ul) << int(c.q);
        EXPECT_EQ(ur, c.ur) << int(c.q);
        EXPECT_EQ(ll, c.ll) << int(c.q);
        EXPECT_EQ(lr, c.lr) << int(c.q);
    }
}

TEST(PlotGraphSeries, FunctionCurvesFollowTheirDomain)
{
    auto g = Bare(201, 201, Rect2D(-10, -10, 10, 10));
    TPoints& f = AddSeries(*g, kSeries);
    f.SetFunc("x / 2");
    g->Paint();
    const int y0 = MapY(*g, 0);
    EXPECT_EQ(Px(*g, MapX(*g, 0), y0), kSeries);
    EXPECT_EQ(Px(*g, MapX(*g, 4), MapY(*g, 2)), kSeries);
    EXPECT_GT(CountColor(*g, kSeries, 0, 0, MapX(*g, -1), 201), 0);
    f.SetFuncDomX1(0);
    g->Paint();
    EXPECT_EQ(CountColor(*g, kSeries, 0, 0, MapX(*g, 0) - 1, 201), 0);
    EXPECT_GT(CountColor(*g, kSeries, MapX(*g, 1), 0, 201, 201), 0);
    f.SetFuncDomX1(-1e4000L);
    f.SetFuncDomX2(0);
    g->Paint();
    EXPECT_EQ(CountColor(*g, kSeries, MapX(*g, 0) + 2, 0, 201, 201), 0);
    EXPECT_GT(CountColor(*g, kSeries, 0, 0, MapX(*g, -1), 201), 0);
}

TEST(PlotGraphSeries, FunctionJumpsAndBadTextsBreakTheCurve)
{
    auto g = Bare(201, 201, Rect2D(-10, -10, 10, 10));
    TPoints& bad = AddSeries(*g, RGB(0, 0, 255));
    bad.SetFunc("x +* (");  // does not compile: skipped
    TPoints& f = AddSeries(*g, kSeries);
    f.SetFunc("1 / x");  // jumps far outside the view at zero
    g->Paint();
    EXPECT_EQ(CountColor(*g, RGB(0, 0, 255)), 0);
    // No near-vertical line joins the two branches across the x-axis.
    const int col = MapX(*g, 0);
    EXPECT_EQ(CountColor(*g, kSeries, col - 1, MapY(*g, 5), col + 2, MapY(*g, -5)), 0);
    EXPECT_GT(CountColor(*g, kSeries, MapX(*g, 1), 0, 201, 201), 0);
}

TEST(PlotGraphSeries, FunctionDotsSetSinglePixels)
{
    auto g = Bare(201, 201, Rect2D(-10, -10, 10, 10));
    TPoints& f = AddSeries(*g, kSeries, dsPoints);
    f.SetFunc("3");
    g->Paint();
    const int row = MapY(*g, 3);
    EXPECT_EQ(CountColor(*g, kSeries), CountColor(*g, kSeries, 0, row, 201, row + 1));
    EXPECT_EQ(CountColor(*g, kSeries), 201);
}

TEST(PlotGraphSeries, HugeWorldValuesNeitherHangNorOverflow)
{
    // Near 1e22 neighbouring values lie 1024 apart: a tick step of 500 no longer advances.
    auto g = Bare(120, 400, Rect2D(1e22L, 1e22L, 1e22L + 4096, 1e22L + 4096));
    g->SetGridStyle(gsFull);
    g->SetNumbVert(true);
    g->SetNumbHoriz(true);
    TPoints& s = AddSeries(*g, kSeries, dsLines, 'C');
    s.AddSimple(-1e300L, 0);
    s.AddSimple(1e300L, 1e22L + 2048);
    g->Paint();
    EXPECT_FALSE(g->Dirty());
    // A line to points billions of pixels away is cut, not walked.
    auto h = Bare(100, 100, Rect2D(-1, -1, 1, 1));
    TPoints& far = AddSeries(*h, kSeries);
    far.AddSimple(-1e12L, 0);
    far.AddSimple(1e12L, 0);
    h->Paint();
    EXPECT_EQ(CountColor(*h, kSeries), 100);
}

// ---------------------------------------------------------------- files

TEST(PlotGraphExport, SavedBitmapHasTheControlsSize)
{
    auto g = Bare(123, 77, Rect2D(-10, -10, 10, 10));
    g->SetGridStyle(gsFull);
    REQUIRE_TOOL("identify", "imagemagick");
    testsupport::TempDir dir("plotctl");
    const std::string path = dir.file("save.bmp");
    g->SaveAsBmp(path);
    TBitmap back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Width(), 123);
    EXPECT_EQ(back.Height(), 77);
    int rc = -1;
    const std::string out = testsupport::RunCapture("identify -format '%w %h %m' '" + path + "' 2>/dev/null", &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(out.substr(0, 10), "123 77 BMP");  // BMP3: version 3 header
}

TEST(PlotGraphExport, SaveFailureReachesTheCaller)
{
    auto g = Bare(20, 20, Rect2D(-1, -1, 1, 1));
    testsupport::TempDir dir("plotctl");
    EXPECT_THROW(g->SaveAsBmp(dir.file("no/such/dir/x.bmp")), base::EInOutError);
    EXPECT_FALSE(g->Dirty());
}

// A view saved over a file that cannot be replaced, or onto a disk that fills up, keeps
// the old file whole and says why.
TEST(PlotGraphExport, FailedSaveKeepsTheOldFileAndSaysWhy)
{
    auto g = Bare(200, 100, Rect2D(-1, -1, 1, 1));
    testsupport::TempDir dir("plotctl");
    const std::string path = dir.file("view.bmp");
    { std::ofstream(path) << "old view"; }
    auto saveMessage = [&] {
        try {
            g->SaveAsBmp(path);
        } catch (const base::EInOutError& e) {
            return std::string(e.what());
        }
        return std::string("(saved)");
    };
    std::string msg;
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.Active());
        msg = saveMessage();
    }
    EXPECT_NE(msg.find("File too large"), std::string::npos) << msg;
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    msg = saveMessage();
    EXPECT_NE(msg.find("read-only"), std::string::npos) << msg;
    std::ifstream in(path);
    std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(back, "old view");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}


TEST(PlotGraph, PaintCopiesTheBitmapIntoItsWindow)
{
    platform::TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 200, 150);
    auto g = Bare(120, 80, Rect2D(-10, -10, 10, 10));
    g->SetParent(&parent);
    g->SetBounds(30, 20, 120, 80);
    TPoints& s = AddSeries(*g, kSeries);
    s.AddSimple(-5, 2);
    s.AddSimple(5, 2);
    TBitmap shot(200, 150);
    parent.PaintTo(shot.Canvas(), 0, 0);
    EXPECT_FALSE(g->Dirty());
    EXPECT_EQ(shot.Canvas()->Pixel(30 + MapX(*g, 0), 20 + MapY(*g, 2)), kSeries);
    EXPECT_EQ(shot.Canvas()->Pixel(30 + 3, 20 + 3), kBg);
    EXPECT_EQ(shot.Canvas()->Pixel(30 + MapX(*g, 0), 20 + MapY(*g, 2) + 1), kBg);
    g->SetParent(nullptr);
}
