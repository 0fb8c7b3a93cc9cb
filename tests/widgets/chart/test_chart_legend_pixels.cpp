// The legend's drawing in each of its ways, pixel for pixel: the painted chart, the legend's
// rectangle and counts, and the chart's rectangle it leaves reduce to a checksum kept
// beside each case.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ChartOnHost.h"
#include "platform/TestRig.h"
#include "support/PixelHash.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartPen.h"

using namespace chart;
using namespace platform;

namespace {

struct LegendPixels : ::testing::Test {
    std::unique_ptr<charttest::ChartOnHost> on;
    TChart* chart = nullptr;
    std::vector<TLineSeries*> series;
    std::vector<std::string> calls;
    void Make(int count)
    {
        series.clear();
        calls.clear();
        on = std::make_unique<charttest::ChartOnHost>();
        chart = on->chart;
        const TColor colours[] = {clRed, clBlue, clGreen, clMaroon, clNavy, clOlive, clPurple, clTeal};
        for (int k = 0; k < count; ++k) {
            auto* s = new TLineSeries(on->host.get());
            s->SetTitle(k == 1 ? "Displacement" : "Curve " + std::to_string(k + 1));
            s->SetSeriesColor(colours[k % 8]);
            chart->AddSeries(s);
            for (int i = 0; i <= 12; ++i) s->AddXY(i, (k + 1) * i + (i % 3));
            series.push_back(s);
        }
    }
    void TearDown() override { on.reset(); }
    TCustomChartLegend& L() { return chart->Legend(); }

    testsupport::PixelHash Shot(const std::string& name)
    {
        TBitmap bmp(400, 300);
        bmp.Canvas()->Brush().SetColor(clWhite);
        bmp.Canvas()->FillRect({0, 0, 400, 300});
        chart->Draw(bmp.Canvas(), {0, 0, 400, 300});
        testsupport::PixelHash h;
        h.Bitmap(bmp);
        testsupport::KeepPicture(bmp, name);
        const TRect r = L().GetRectLegend(), c = chart->ChartRect;
        for (int v : {r.Left, r.Top, r.Right, r.Bottom, c.Left, c.Top, c.Right, c.Bottom, L().ItemCount, L().RowCount,
                      L().ColumnCount, L().LastItem, L().SymbolWidthPx, int(L().TitleShown)})
            h.Number(std::uint64_t(std::int64_t(v)));
        for (const std::string& s : calls) h.Text(s);
        return h;
    }
};

struct LegendCase {
    const char* name;
    int series;
    std::function<void(LegendPixels&)> setup;
    std::uint64_t hash;
};

}  // namespace

TEST_F(LegendPixels, EveryWayOfTheLegendDrawsAsBefore)
{
    using F = LegendPixels;
    const std::vector<LegendCase> cases = {
        {"right", 3, nullptr, 0xd3a8df36e1d79a8aull},
        {"left", 3, [](F& f) { f.L().SetAlignment(laLeft); }, 0xa2c2229f8fca9e61ull},
        {"top", 3, [](F& f) { f.L().SetAlignment(laTop); }, 0xbef63ae48e91505bull},
        {"bottom, sized", 3,
         [](F& f) {
             f.L().SetAlignment(laBottom);
             f.L().OnLegendSizing = [](TCustomChartLegend*, int& size) { size += 6; };
         }, 0x95ebe4e1237b4df1ull},
        {"right with check boxes, one off", 3,
         [](F& f) {
             f.L().SetCheckBoxes(true);
             f.series[1]->SetActive(false);
         }, 0xd180a1eec09d4d4cull},
        {"bottom with radio boxes", 3,
         [](F& f) {
             f.L().SetAlignment(laBottom);
             f.L().SetCheckBoxes(true);
             f.L().SetCheckBoxesStyle(cbsRadio);
         }, 0xd493dd0decf8d893ull},
        {"left with check boxes", 2,
         [](F& f) {
             f.L().SetAlignment(laLeft);
             f.L().SetCheckBoxes(true);
         }, 0xf86b8000848833adull},
        {"an inactive series left out", 3, [](F& f) { f.series[0]->SetActive(false); }, 0xc4b8e7919576efa9ull},
        {"title", 3, [](F& f) { f.L().Title().SetCaption("Curves of form"); }, 0xdf01e388259c1404ull},
        {"title with a frame and shadow at the bottom", 3,
         [](F& f) {
             f.L().SetAlignment(laBottom);
             f.L().Title().SetCaption("Curves");
             f.L().Title().SetTransparent(false);
             f.L().Title().SetColor(clYellow);
             if (f.L().Title().Shadow()) f.L().Title().Shadow()->SetVertSize(3);
         }, 0xa88f416e4c0840d8ull},
        {"values", 2, [](F& f) { f.L().SetLegendStyle(lsValues); }, 0x00114be03c865cacull},
        {"values at the right of their column", 2,
         [](F& f) {
             f.L().SetLegendStyle(lsValues);
             f.L().SetTextStyle(ltsRightValue);
         }, 0xa752a916519961f4ull},
        {"values with X and percent", 1,
         [](F& f) {
             f.L().SetLegendStyle(lsValues);
             f.L().SetTextStyle(ltsXAndPercent);
             f.L().FontSeriesColor = true;
         }, 0x7f3792203ef7c8f8ull},
        {"values plain at the bottom", 1,
         [](F& f) {
             f.L().SetLegendStyle(lsValues);
             f.L().SetTextStyle(ltsPlain);
             f.L().SetAlignment(laBottom);
             f.L().MaxNumRows = 2;
         }, 0x66b557f6830369d9ull},
        {"values of the second page", 1,
         [](F& f) {
             f.chart->SetMaxPointsPerPage(5);
             f.chart->SetPage(2);
             f.L().SetLegendStyle(lsValues);
         }, 0x62d978adadfa37c5ull},
        {"last values", 3,
         [](F& f) {
             f.L().SetLegendStyle(lsLastValues);
             f.L().SetTextStyle(ltsXAndValue);
         }, 0xdc983697b02bc9b5ull},
        {"inverted, series colours", 3,
         [](F& f) {
             f.L().Inverted = true;
             f.L().FontSeriesColor = true;
         }, 0x4a020fdff886fc25ull},
        {"symbol at the right, continuous, squared", 3,
         [](F& f) {
             f.L().Symbol().Position = spRight;
             f.L().Symbol().Continuous = true;
             f.L().Symbol().Squared = true;
         }, 0x947fef76bc83db57ull},
        {"symbol in pixels with its own pen", 3,
         [](F& f) {
             f.L().Symbol().WidthUnits = lcsPixels;
             f.L().Symbol().Width = 30;
             f.L().Symbol().DefaultPen = false;
             f.L().Symbol().Pen().SetColor(clFuchsia);
         }, 0x5db829e10e5630a0ull},
        {"no symbol", 3, [](F& f) { f.L().Symbol().Visible = false; }, 0x1919437d5800bcaaull},
        {"dividing lines, spaced", 3,
         [](F& f) {
             f.L().DividingLines().SetVisible(true);
             f.L().DividingLines().SetColor(clBlue);
             f.L().VertSpacing = 4;
         }, 0xc8ce6173d757d509ull},
        {"dividing lines at the top", 3,
         [](F& f) {
             f.L().SetAlignment(laTop);
             f.L().DividingLines().SetVisible(true);
         }, 0x9b5c76cde76ddc8full},
        {"many series in one row at the bottom", 8,
         [](F& f) {
             f.L().SetAlignment(laBottom);
             f.L().MaxNumRows = 1;
         }, 0x99bf836412885c5dull},
        {"many series at the right, top position", 8, [](F& f) { f.L().TopPos = 40; }, 0xbdc4c190c297d8b7ull},
        {"custom position", 3,
         [](F& f) {
             f.L().SetCustomPosition(true);
             f.L().SetLeft(60);
             f.L().SetTop(40);
         }, 0xb773fa4f84166753ull},
        {"chart not resized, margins", 3,
         [](F& f) {
             f.L().ResizeChart = false;
             f.L().HorizMargin = 12;
         }, 0x3ebf926e6f821639ull},
        {"margin at the top", 3,
         [](F& f) {
             f.L().SetAlignment(laTop);
             f.L().VertMargin = 9;
         }, 0xc56ac48b8c821601ull},
        {"bevelled frame", 3,
         [](F& f) {
             f.L().SetBevel(bvRaised);
             f.L().SetBevelWidth(3);
         }, 0x817fae8b9296b818ull},
        {"no item in the legend", 2,
         [](F& f) {
             for (TLineSeries* s : f.series) s->SetShowInLegend(false);
         }, 0x447b57080ba0f00dull},
        {"the application's rectangle, places and symbols", 3,
         [](F& f) {
             f.chart->OnGetLegendRect = [&f](TCustomChart*, TRect& r) {
                 r.Left -= 10;
                 f.calls.push_back("rect " + std::to_string(r.Left) + "," + std::to_string(r.Top));
             };
             f.chart->OnGetLegendPos = [&f](TCustomChart*, int i, int& x, int& y, int& xc) {
                 y += 2 * i;
                 f.calls.push_back("pos " + std::to_string(i) + ":" + std::to_string(x) + "," + std::to_string(y) + "," +
                                   std::to_string(xc));
             };
             f.L().Symbol().OnDraw = [&f](TObject*, TChartSeries* s, int i, const TRect& r) {
                 f.calls.push_back("symbol " + std::to_string(i) + (s ? " series " : " none ") +
                                   std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
                                   "," + std::to_string(r.Bottom));
             };
         }, 0xa473ba33366ddd20ull},
    };
    for (const LegendCase& k : cases) {
        SCOPED_TRACE(k.name);
        Make(k.series);
        if (k.setup) k.setup(*this);
        const testsupport::PixelHash h = Shot(k.name);
        EXPECT_PIXELS(h, k.hash, k.name);
        TearDown();
    }
}

TEST_F(LegendPixels, SideAndGradientAndSymbolPen)
{
    Make(2);
    for (TLegendAlignment a : {laLeft, laRight, laTop, laBottom}) {
        L().SetAlignment(a);
        EXPECT_EQ(L().GetVertical(), a == laLeft || a == laRight);
    }
    // The default gradient is the legend's own kind, silver to white from the right.
    auto* g = dynamic_cast<TChartLegendGradient*>(&L().Gradient());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Direction(), gdRightLeft);
    EXPECT_EQ(g->StartColor(), clSilver);
    EXPECT_EQ(g->EndColor(), clWhite);
    L().PrepareSymbolPen();
    EXPECT_EQ(chart->LegendPen, nullptr);  // the series' own pens
    L().Symbol().DefaultPen = false;
    L().PrepareSymbolPen();
    EXPECT_EQ(chart->LegendPen, &L().Symbol().Pen());
}
