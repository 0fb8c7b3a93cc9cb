// Line and horizontal line series drawn through the chart's pipeline.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ChartTestUtil.h"
#include "TestChart.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPointSeries.h"

using namespace chart;
using namespace platform;
using charttest::TestChart;

using LineChart = charttest::ChartOnBitmap;

TEST(ChartLineSeries, DrawsSegmentsSymbolsAndBreaksAtNulls)
{
    LineChart f;
    auto* s = new TLineSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clBlue);
    s->Pointer().SetVisible(true);
    s->Pointer().SetSize(3);
    for (int i = 0; i <= 10; ++i) {
        if (i == 5) s->AddNullXY(i, 50);
        else s->AddXY(i, i * 10);
    }
    f.Paint("lines");
    // Midway between points 1 and 2 the blue line passes.
    const int x = (s->CalcXPos(1) + s->CalcXPos(2)) / 2, y = (s->CalcYPos(1) + s->CalcYPos(2)) / 2;
    bool blue = false;
    for (int dy = -1; dy <= 1; ++dy) blue |= f.Px(x, y + dy) == RGB(0, 0, 255);
    EXPECT_TRUE(blue);
    // No line across the null point, and no symbol on it.
    const int xn = (s->CalcXPos(4) + s->CalcXPos(6)) / 2, yn = (s->CalcYPos(4) + s->CalcYPos(6)) / 2;
    for (int dy = -2; dy <= 2; ++dy) EXPECT_NE(f.Px(xn, yn + dy), RGB(0, 0, 255));
    // A symbol at point 3: a filled square in the series colour with a black frame.
    EXPECT_EQ(f.Px(s->CalcXPos(3) + 1, s->CalcYPos(3) + 1), RGB(0, 0, 255));
    EXPECT_EQ(f.Px(s->CalcXPos(3) - 3, s->CalcYPos(3)), RGB(0, 0, 0));
    // Clicks: on a point, on a segment (its first point), nowhere.
    EXPECT_EQ(s->Clicked(s->CalcXPos(7), s->CalcYPos(7)), 7);
    EXPECT_EQ(s->Clicked(x, y), 1);
    EXPECT_EQ(s->Clicked(x, y - 40), -1);
}

TEST(ChartLineSeries, HorizontalSeriesKeepsTheOrderOfAdding)
{
    LineChart f;
    auto* s = new THorizLineSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clRed);
    const double pts[][2] = {{5, 1}, {1, 2}, {4, 3}, {2, 4}};
    for (auto& p : pts) s->AddXY(p[0], p[1]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s->XValues()[i], pts[i][0]);
    EXPECT_FALSE(s->Pointer().Visible());
    f.Paint("horizlines");
    EXPECT_EQ(s->FirstShownIndex, 0);
    EXPECT_EQ(s->LastShownIndex, 3);
    // The draught axis runs upwards: the first point lies lowest.
    EXPECT_GT(s->CalcYPos(0), s->CalcYPos(3));
    const int x = (s->CalcXPos(0) + s->CalcXPos(1)) / 2, y = (s->CalcYPos(0) + s->CalcYPos(1)) / 2;
    bool red = false;
    for (int d = -1; d <= 1; ++d) red |= f.Px(x + d, y) == RGB(255, 0, 0) || f.Px(x, y + d) == RGB(255, 0, 0);
    EXPECT_TRUE(red);
}

TEST(ChartLineSeries, PointerSizeAndMargins)
{
    TLineSeries s;
    EXPECT_THROW(s.Pointer().SetHorizSize(0), base::Exception);
    s.Pointer().SetVisible(true);
    s.Pointer().SetSize(2);
    int l = 0, r = 0;
    s.CalcHorizMargins(l, r);
    EXPECT_EQ(l, 3);
    EXPECT_EQ(r, 3);
}

TEST(ChartPointers, GeometryOnPixels)
{
    charttest::Surface s(40, 40);
    TLineSeries series;
    TSeriesPointer p(&series);
    p.Pen().SetColor(clBlack);
    p.Brush().SetColor(clRed);
    struct Case {
        TSeriesPointerStyle style;
        std::vector<TPoint> ink, blank;
    } cases[] = {
        {psRectangle, {{6, 6}, {14, 14}, {10, 10}}, {{5, 10}, {15, 10}, {10, 15}}},
        {psTriangle, {{6, 14}, {14, 14}, {10, 7}}, {{6, 6}, {14, 6}}},
        {psDiagCross, {{6, 6}, {14, 14}, {14, 6}, {6, 14}}, {{10, 6}, {6, 10}}},
        {psCross, {{10, 6}, {10, 14}, {6, 10}, {14, 10}}, {{6, 6}, {14, 14}}},
        {psSmallDot, {{10, 10}}, {{9, 10}, {11, 10}, {10, 9}}},
        {psNothing, {}, {{10, 10}}},
    };
    for (const Case& c : cases) {
        s.bmp.Canvas()->Brush().SetColor(clWhite);
        s.bmp.Canvas()->Brush().SetStyle(bsSolid);
        s.bmp.Canvas()->FillRect({0, 0, 40, 40});
        p.PrepareCanvas(s.canvas, clRed);
        p.DrawPointer(s.canvas, false, 10, 10, 4, 4, clRed, c.style);
        for (TPoint q : c.ink) EXPECT_NE(s(q.X, q.Y), RGB(255, 255, 255)) << c.style << " " << q.X << "," << q.Y;
        for (TPoint q : c.blank) EXPECT_EQ(s(q.X, q.Y), RGB(255, 255, 255)) << c.style << " " << q.X << "," << q.Y;
    }
    int l = 2, r = 10;
    p.CalcHorizMargins(l, r);
    EXPECT_EQ(l, 5);
    EXPECT_EQ(r, 10);
}

TEST(ChartPointers, MarksCalloutLiftsTheBox)
{
    TLineSeries series;
    TMarksCallout& c = series.Marks().Callout();
    EXPECT_EQ(c.Length(), 8);
    c.SetDistance(2);
    TSeriesMarkPosition p;
    p.BoxTopLeft = {0, 100};
    p.ArrowEnd = {0, 100};
    p.ArrowStart = {0, 100};
    c.ApplyArrowLength(p);
    EXPECT_EQ(p.BoxTopLeft.Y, 90);
    EXPECT_EQ(p.ArrowEnd.Y, 90);
    EXPECT_EQ(p.ArrowStart.Y, 98);
    EXPECT_EQ(series.CalcMarkLength(), 10);
}

TEST(ChartPointers, MarksOfAHorizontalSeriesSitBesideTheirPoints)
{
    LineChart f;
    auto* s = new THorizLineSeries();
    f.chart.AddSeries(s);
    s->AddXY(2, 1);
    s->AddXY(8, 2);
    s->Marks().SetVisible(true);
    s->Marks().SetStyle(smsValue);
    f.Paint("horizmarks");
    const TSeriesMarkPosition* m = s->Marks().Positions.Get(1);
    ASSERT_NE(m, nullptr);
    EXPECT_GT(m->BoxTopLeft.X, s->CalcXPos(1));  // right of the point
    EXPECT_LT(m->BoxTopLeft.Y, s->CalcYPos(1));
    EXPECT_GT(m->BoxTopLeft.Y + m->BoxHeight, s->CalcYPos(1));  // centred on it
}

TEST(ChartPointers, LegendSymbolTakesAThirdOfTheBoxWithAPen)
{
    LineChart f;
    auto* s = new TLineSeries();
    f.chart.AddSeries(s);
    s->AddXY(0, 1);
    s->Pointer().SetVisible(true);
    s->Pointer().SetSize(12);
    s->Pointer().Pen().SetColor(clRed);
    s->Pointer().Brush().SetColor(clRed);
    TChartPen hidden;
    hidden.SetVisible(false);
    struct Case {
        const char* what;
        bool drawPen;
        TChartPen* legendPen;
        int halfSize;
    } cases[] = {
        {"with the line pen", true, nullptr, 10},
        {"without a pen", false, nullptr, 12},
        {"the legend's hidden symbol pen", true, &hidden, 12},
    };
    const TRect box{100, 100, 130, 130};
    for (const Case& c : cases) {
        f.chart.OnAfterDraw = [&](TObject*) {
            TCanvas3D& cv = *f.chart.ChartCanvas();
            cv.Brush().SetColor(clWhite);
            cv.Brush().SetStyle(bsSolid);
            cv.Pen().SetStyle(psClear);
            cv.Rectangle({90, 90, 141, 141});
            f.chart.LegendPen = c.legendPen;
            ChartPointerDrawLegend(s->Pointer(), clRed, box, c.drawPen);
            f.chart.LegendPen = nullptr;
        };
        f.Paint();
        int red = 0;
        for (int x = 90; x < 140; ++x) red += f.Px(x, 115) == RGB(255, 0, 0);
        EXPECT_NEAR(red, 2 * c.halfSize, 1) << c.what;
    }
}

TEST(ChartLineSeries, BrushStylesAndTransparencyThroughTheSeriesInterface)
{
    TLineSeries line;
    line.SetAreaBrushStyle(bsCross);
    EXPECT_EQ(line.AreaChartBrush().Style(), bsCross);
    EXPECT_EQ(line.GetAreaBrush(), bsCross);
    line.SetLineBrush(bsClear);
    EXPECT_EQ(line.Brush().Style(), bsClear);
    EXPECT_EQ(line.GetLineBrush(), bsClear);
    EXPECT_EQ(&line.GetLinePen(), &line.Pen());
    // A point series keeps its transparency in its symbols, also when set as any series.
    TPointSeries points;
    TCustomSeries& any = points;
    any.SetTransparency(30);
    EXPECT_EQ(points.Pointer().Transparency(), 30);
    EXPECT_EQ(any.GetTransparency(), 30);
}
