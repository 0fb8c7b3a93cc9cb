// The chart control: pipeline order, titles, legend check boxes, zoom, undo, panning,
// the wheel and clicks, on a chart with several line series and a custom axis.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "ChartOnHost.h"
#include "ChartTestUtil.h"
#include "platform/TestRig.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartPalettes.h"
#include "widgets/chart/ChartPen.h"
#include "support/TestSupport.h"

#include <fstream>
#include <sstream>

using namespace chart;
using namespace platform;

namespace {

class ChartControl : public ::testing::Test, public charttest::ChartOnHost {
protected:
    void SetUp() override
    {
        chart->Title().SetCaption("Hydrostatics");
        chart->Title().Font().SetStyle(fsBold);
        chart->Legend().SetCheckBoxes(true);
        chart->Zoom.Animated = false;
        const TColor colours[3] = {clRed, clBlue, clGreen};
        for (int k = 0; k < 3; ++k) {
            auto* s = new TLineSeries(host.get());
            s->SetTitle("Curve " + std::to_string(k + 1));
            s->SetSeriesColor(colours[k]);
            chart->AddSeries(s);
            for (int i = 0; i <= 20; ++i) s->AddXY(i, (k + 1) * i);
            series.push_back(s);
        }
        custom = chart->CustomAxes().Add();
        custom->SetHorizontal(true);
        custom->SetPosUnits(muPixels);
        custom->SetPositionPercent(-30);
        custom->Axis().SetColor(clFuchsia);
        chart->SetMarginUnits(muPixels);
        chart->SetMarginBottom(40);
        series[2]->SetCustomHorizAxis(custom);
    }
    void TearDown() override { host.reset(); }

    void Paint(const char* keep = nullptr)
    {
        bmp.Canvas()->Brush().SetColor(clWhite);
        bmp.Canvas()->Brush().SetStyle(bsSolid);
        bmp.Canvas()->FillRect({0, 0, 400, 300});
        chart->Draw(bmp.Canvas(), {0, 0, 400, 300});
        if (const char* dir = std::getenv("CHART_TEST_OUT"); dir && keep)
            bmp.SaveToFile(std::string(dir) + "/" + keep + ".bmp");
    }
    int Count(COLORREF c)
    {
        int n = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) n += COLORREF(bmp.Canvas()->Pixel(x, y)) == c;
        return n;
    }
    void Drag(UINT down, UINT move, UINT up, int x0, int y0, int x1, int y1)
    {
        SendMouse(chart, down, x0, y0);
        SendMouse(chart, move, (x0 + x1) / 2, (y0 + y1) / 2);
        SendMouse(chart, move, x1, y1);
        SendMouse(chart, up, x1, y1);
    }

    TChartAxis* custom = nullptr;
    std::vector<TLineSeries*> series;
    TBitmap bmp{400, 300};
};

}  // namespace

TEST_F(ChartControl, PipelineOrderTitlesLegendAndSeries)
{
    std::vector<std::string> order;
    chart->OnBeforeDrawAxes = [&](TObject*) { order.push_back("axes"); };
    chart->OnBeforeDrawSeries = [&](TObject*) { order.push_back("series"); };
    chart->OnAfterDraw = [&](TObject*) { order.push_back("after"); };
    Paint("control");
    EXPECT_EQ(order, (std::vector<std::string>{"axes", "series", "after"}));
    // The legend sits on the right, the chart rectangle ends left of it.
    const TRect legend = chart->Legend().GetRectLegend();
    EXPECT_GT(legend.Left, 250);
    EXPECT_LT(chart->ChartRect.Right, legend.Left);
    EXPECT_EQ(chart->Legend().ItemCount, 3);
    // Every series shows; the custom axis lies below the bottom axis.
    EXPECT_GT(Count(RGB(255, 0, 0)), 50);
    EXPECT_GT(Count(RGB(0, 0, 255)), 50);
    EXPECT_GT(Count(RGB(0, 128, 0)), 50);
    EXPECT_EQ(custom->AxisLinePos, chart->BottomAxis().AxisLinePos + 30);
    EXPECT_GT(Count(RGB(255, 0, 255)), 50);
    // The title takes room at the top.
    EXPECT_GT(chart->ChartRect.Top, chart->Title().ShapeBounds.Bottom);
}

TEST_F(ChartControl, LegendCheckBoxSwitchesASeriesOff)
{
    Paint();
    const int blueBefore = Count(RGB(0, 0, 255));
    const TRect legend = chart->Legend().GetRectLegend();
    const int h = chart->Legend().CalcItemHeight();
    const int y = legend.Top + 1 + h + h / 2;  // the second item
    EXPECT_EQ(chart->Legend().Clicked(legend.Left + 8, y), 1);
    SendMouse(chart, WM_LBUTTONDOWN, legend.Left + 8, y);
    SendMouse(chart, WM_LBUTTONUP, legend.Left + 8, y);
    EXPECT_FALSE(series[1]->Active());
    Paint("legendoff");
    EXPECT_LT(Count(RGB(0, 0, 255)), blueBefore - 100);  // the title and the legend symbol stay
    EXPECT_EQ(chart->Legend().ItemCount, 3);  // still listed, unchecked
}

TEST_F(ChartControl, ZoomByDragAndUndo)
{
    Paint();
    TChartAxis& b = chart->BottomAxis();
    const double min0 = b.Minimum(), max0 = b.Maximum();
    const TRect& r = chart->ChartRect;
    const int x0 = r.Left + 40, y0 = r.Top + 30;
    Drag(WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, x0, y0, x0 + 16, y0 + 30);  // 16 pixels: nothing
    EXPECT_TRUE(b.Automatic());
    Drag(WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, x0, y0, x0 + 60, y0 + 40);
    EXPECT_FALSE(b.Automatic());
    EXPECT_NEAR(b.Minimum(), b.CalcPosPoint(x0), 1e-9);
    EXPECT_GT(b.Minimum(), min0);
    EXPECT_LT(b.Maximum(), max0);
    EXPECT_TRUE(chart->Zoomed);
    Paint();
    Drag(WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, x0 + 60, y0 + 40, x0, y0);  // up-left undoes
    EXPECT_TRUE(b.Automatic());
    EXPECT_FALSE(chart->Zoomed);
    Paint();
    EXPECT_EQ(b.Minimum(), min0);
    EXPECT_EQ(b.Maximum(), max0);
}

TEST_F(ChartControl, PanWithTheRightButtonAndWheel)
{
    Paint();
    TChartAxis& b = chart->BottomAxis();
    TChartAxis& l = chart->LeftAxis();
    const double min0 = b.Minimum();
    const double perPixel = (b.Maximum() - b.Minimum()) / b.PixelSize;
    const TRect& r = chart->ChartRect;
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    SendMouse(chart, WM_RBUTTONDOWN, x, y);
    SendMouse(chart, WM_MOUSEMOVE, x - 10, y);
    SendMouse(chart, WM_RBUTTONUP, x - 10, y);
    EXPECT_NEAR(b.Minimum(), min0 + 10 * perPixel, 1e-9);
    Paint();
    const double lmin = l.Minimum(), lmax = l.Maximum();
    HostWheel(chart, x, y, -120);
    EXPECT_NEAR(l.Minimum(), lmin + (lmax - lmin) * 0.03, 1e-9);
    EXPECT_NEAR(l.Maximum(), lmax + (lmax - lmin) * 0.03, 1e-9);
}

TEST_F(ChartControl, BackgroundClickFiresOnce)
{
    Paint();
    int clicks = 0;
    chart->OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) {
        ++clicks;
        chart->MouseCancelled = false;  // let the default action follow
    };
    chart->AllowPanning = pmNone;
    chart->Zoom.Allow = false;
    const TRect& r = chart->ChartRect;
    SendMouse(chart, WM_LBUTTONDOWN, r.Left + 5, r.Top + 5);
    SendMouse(chart, WM_LBUTTONUP, r.Left + 5, r.Top + 5);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ChartControl, AFailedDrawingLeavesTheChartAlive)
{
    chart->OnBeforeDrawSeries = [](TObject*) { throw base::Exception("boom"); };
    EXPECT_THROW(Paint(), base::Exception);
    EXPECT_TRUE(chart->RepaintEnabled());
    EXPECT_EQ(chart->ChartCanvas()->ReferenceCanvas(), chart->Canvas());
    chart->OnBeforeDrawSeries = nullptr;
    Paint();
    EXPECT_GT(Count(RGB(255, 0, 0)), 50);
}

TEST_F(ChartControl, LegendFirstValueFollowsItsMessage)
{
    try {
        chart->Legend().SetFirstValue(0);
        FAIL();
    } catch (const LegendException& e) {
        EXPECT_STREQ(e.what(), "First Legend Value must be > 0");
    }
    chart->Legend().SetFirstValue(1);
    EXPECT_EQ(chart->Legend().FirstValue(), 1);
    EXPECT_EQ(chart->AxisTitleOrName(*custom), "Bottom Axis");
    custom->SetOtherSide(true);
    EXPECT_EQ(chart->AxisTitleOrName(*custom), "Top Axis");
}

namespace {
std::string Lower(std::string s)
{
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

using charttest::ReadFile;
using charttest::SvgText;

TEST_F(ChartControl, SavedBitmapIsReadByImageMagick)
{
    REQUIRE_TOOL("identify", "imagemagick");
    testsupport::TempDir dir("chartexport");
    const std::string file = dir.file("chart.bmp");
    chart->SetBufferedDisplay(true);
    chart->SaveToBitmapFile(file);
    EXPECT_TRUE(chart->BufferedDisplay());
    int rc = -1;
    const std::string out = testsupport::RunCapture("identify '" + file + "' 2>&1", &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_NE(out.find("BMP"), std::string::npos) << out;
    EXPECT_NE(out.find("400x300"), std::string::npos) << out;
    TBitmap back;
    back.LoadFromFile(file);
    int red = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) red += COLORREF(back.Canvas()->Pixel(x, y)) == RGB(255, 0, 0);
    EXPECT_GT(red, 50);
    EXPECT_THROW(chart->SaveToBitmapFile(dir.file("missing/chart.bmp")), base::Exception);
}

TEST_F(ChartControl, EmfExportShowsTitlesLabelsAndColours)
{
    REQUIRE_TOOL("emf2svg-conv", "emf2svg");
    testsupport::TempDir dir("chartexport");
    chart->LeftAxis().Title().SetCaption("Displacement");
    const std::string emf = dir.file("chart.emf"), svg = dir.file("chart.svg");
    chart->SaveToMetafileEnh(emf);
    ASSERT_EQ(std::system(("emf2svg-conv -i '" + emf + "' -o '" + svg + "' >/dev/null 2>&1").c_str()), 0);
    const std::string out = ReadFile(svg);
    const std::string text = SvgText(out);
    for (const char* t : {"Hydrostatics", "Displacement", "Curve 1", "Curve 3", "20", "60"})
        EXPECT_NE(text.find(t), std::string::npos) << t;
    for (const char* c : {"#FF0000", "#0000FF", "#008000", "#FF00FF"}) EXPECT_NE(out.find(c), std::string::npos) << c;
    EXPECT_FALSE(chart->ChartCanvas()->Metafiling);
}

TEST_F(ChartControl, WmfExportShowsTitlesLabelsAndColours)
{
    REQUIRE_TOOL("wmf2svg", "libwmf-bin");
    testsupport::TempDir dir("chartexport");
    const std::string wmf = dir.file("chart.wmf"), svg = dir.file("chart.svg");
    chart->SaveToMetafile(wmf);
    ASSERT_EQ(std::system(("wmf2svg -o '" + svg + "' '" + wmf + "' >/dev/null 2>&1").c_str()), 0);
    const std::string out = Lower(ReadFile(svg));
    std::string text = SvgText(out);
    std::erase(text, ' ');  // this reader writes one element per letter
    for (const char* t : {"hydrostatics", "curve1", "curve3"}) EXPECT_NE(text.find(t), std::string::npos) << t;
    for (const char* c : {"stroke:red", "stroke:blue", "stroke:green", "stroke:fuchsia"})
        EXPECT_NE(out.find(c), std::string::npos) << c;
}

TEST_F(ChartControl, PalettesColourSeriesWithoutTheirOwn)
{
    auto* a = new TLineSeries(host.get());
    auto* b = new TLineSeries(host.get());
    chart->FreeAllSeries();
    chart->AddSeries(a);
    chart->AddSeries(b);
    b->SetSeriesColor(clRed);
    TColorPalettes::ApplyPalette(*chart, 9);
    EXPECT_EQ(a->SeriesColor(), TColor(0xFE9B82));
    EXPECT_EQ(b->SeriesColor(), clRed);  // its own colour stays
    EXPECT_EQ(chart->ColorPaletteIndex, 9);
    TColorPalettes::ApplyPalette(*chart, 12);
    EXPECT_TRUE(chart->ChartPalette.empty());
    EXPECT_EQ(chart->ColorPaletteIndex, 12);
    EXPECT_EQ(ColorPalettes.Count(), 10);
    EXPECT_EQ(ColorPalettes.Names()[9], "Win. XP");
    chart->PrintProportional = false;
    EXPECT_EQ(chart->ChartPrintRect(4960, 7015), (TRect{744, 1052, 4216, 5963}));
    chart->SetBounds(0, 0, 600, 300);
    chart->PrintProportional = true;
    chart->ChartPrintRect(4960, 7015);
    EXPECT_EQ(chart->PrintMargins[1], 37);
    EXPECT_EQ(chart->PrintMargins[0], 15);
}

TEST_F(ChartControl, LegendTitleSitsAboveTheItems)
{
    Paint();
    const int firstTop = chart->Legend().FirstItemTop();
    chart->Legend().Title().SetCaption("Curves");
    Paint("legendtitle");
    EXPECT_TRUE(chart->Legend().TitleShown);
    EXPECT_GT(chart->Legend().FirstItemTop(), firstTop);
    const TRect t = chart->Legend().Title().ShapeBounds;
    int ink = 0;
    for (int y = t.Top; y < t.Bottom; ++y)
        for (int x = t.Left; x < t.Right; ++x) ink += COLORREF(bmp.Canvas()->Pixel(x, y)) == RGB(0, 0, 0);
    EXPECT_GT(ink, 20);
    const int h = chart->Legend().CalcItemHeight();
    EXPECT_EQ(chart->Legend().Clicked(chart->Legend().GetRectLegend().Left + 8, chart->Legend().FirstItemTop() + 1 + h / 2), 0);
}

TEST_F(ChartControl, LegendColumnsAreMeasuredOrKeepTheirSetWidths)
{
    TCustomChartLegend& L = chart->Legend();
    Paint();
    // Measured: the widest title among the items.
    int widest = 0;
    chart->ChartCanvas()->AssignFont(L.Font());
    for (TLineSeries* s : series) widest = std::max(widest, chart->ChartCanvas()->TextWidth(s->Title()));
    EXPECT_EQ(L.ColumnWidths[0], widest);
    EXPECT_EQ(L.ColumnWidths[1], 0);
    const int measured = L.GetRectLegend().Right - L.GetRectLegend().Left;

    // Set: the widths stay as set and the box follows them.
    L.AutoColumnWidths = false;
    L.ColumnWidths[0] = widest + 60;
    L.ColumnWidths[1] = 0;
    Paint("legendcolumns");
    EXPECT_EQ(L.ColumnWidths[0], widest + 60);
    const int wider = L.GetRectLegend().Right - L.GetRectLegend().Left;
    EXPECT_GE(wider - measured, 60);
    EXPECT_LT(chart->ChartRect.Right, 400 - wider);
}

TEST_F(ChartControl, LegendEventsChangeTextsAndPlaces)
{
    chart->OnGetLegendText = [](TCustomAxisPanel*, int, int index, std::string& text) {
        if (index == 0) text = "Displacement";
    };
    int moved = 0;
    chart->OnGetLegendPos = [&](TCustomChart*, int, int&, int& y, int&) {
        ++moved;
        y += 0;
    };
    Paint();
    EXPECT_EQ(chart->FormattedLegend(0), "Displacement");
    EXPECT_EQ(chart->FormattedLegend(1), "Curve 2");
    EXPECT_EQ(moved, 3);
}

TEST_F(ChartControl, ASeriesNeverTakesADefaultColourLostOnTheBackground)
{
    // The panel colour, white, a near-white grey, black: the colours the series get.
    const TColor backs[] = {clBtnFace, clWhite, TColor(RGB(245, 245, 245)), clBlack};
    for (TColor back : backs) {
        chart->FreeAllSeries();
        chart->SetColor(back);
        std::vector<TColor> got;
        for (int i = 0; i < 8; ++i) {
            auto* s = new TLineSeries(chart);
            chart->AddSeries(s);
            got.push_back(s->SeriesColor());
        }
        const COLORREF b = ColorToRGB(back);
        for (std::size_t i = 0; i < got.size(); ++i) {
            const COLORREF c = ColorToRGB(got[i]);
            const int far = std::max({std::abs(GetRValue(c) - GetRValue(b)), std::abs(GetGValue(c) - GetGValue(b)),
                                      std::abs(GetBValue(c) - GetBValue(b))});
            EXPECT_GT(far, 24) << "series " << i << " on " << std::hex << b;
            for (std::size_t j = 0; j < i; ++j) EXPECT_NE(got[i], got[j]) << i << " " << j;
        }
        // The first four keep the palette's order.
        EXPECT_EQ(got[0], clRed);
        EXPECT_EQ(got[3], clBlue);
    }
    // The fifth colour of the palette is white: on the grey panel the next one is taken.
    chart->FreeAllSeries();
    chart->SetColor(clBtnFace);
    if (ColorToRGB(clBtnFace) != ColorToRGB(clWhite)) {
        for (int i = 0; i < 5; ++i) chart->AddSeries(new TLineSeries(chart));
        EXPECT_EQ(chart->GetSeries(4)->SeriesColor(), clGray);
    }
}

TEST_F(ChartControl, WheelStepsRaiseTheirEventsAndScrollUnlessTheWheelHandlerTookThem)
{
    Paint();
    TChartAxis& l = chart->LeftAxis();
    const TRect& r = chart->ChartRect;
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    std::vector<std::string> heard;
    chart->OnMouseWheelDown = [&](TCustomChart*, TShiftState, TPoint, bool& handled) {
        heard.push_back("down");
        handled = true;
    };
    chart->OnMouseWheelUp = [&](TCustomChart*, TShiftState, TPoint, bool&) { heard.push_back("up"); };
    struct Case {
        int delta;
        bool wheelHandlerTakes;
        const char* heard;
        double shift;  // of the left axis, in parts of its range
    };
    const Case cases[] = {{-120, false, "down", 0.03}, {120, false, "up", -0.03}, {-120, true, "", 0}};
    for (const Case& c : cases) {
        heard.clear();
        chart->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) { handled = c.wheelHandlerTakes; };
        const double lmin = l.Minimum(), lmax = l.Maximum();
        HostWheel(chart, x, y, c.delta);
        EXPECT_EQ(heard.empty() ? std::string() : heard.front(), c.heard) << c.delta;
        EXPECT_NEAR(l.Minimum(), lmin + (lmax - lmin) * c.shift, 1e-9) << c.delta;
    }
}
